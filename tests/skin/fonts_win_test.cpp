// GDI+ fonts, string formats and font families made the way the layered
// surface makes them, checked through GDI+ itself.
#include <gtest/gtest.h>

#include <string>

#include "skin/fonts_win.h"

namespace gp = Gdiplus::DllExports;

namespace {

// The face the system draws memos with; Wine maps it to an installed CJK font.
constexpr char kFace[] = "宋体";

UniqueFont gdiFont(LONG height, LONG weight = FW_NORMAL, BYTE italic = 0, BYTE underline = 0, BYTE strikeOut = 0,
                   const char* face = kFace) {
  LOGFONTA logFont{};
  logFont.lfHeight = height;
  logFont.lfWeight = weight;
  logFont.lfItalic = italic;
  logFont.lfUnderline = underline;
  logFont.lfStrikeOut = strikeOut;
  logFont.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(logFont.lfFaceName, face, LF_FACESIZE);
  return UniqueFont(CreateFontIndirectA(&logFont));
}

INT styleOf(const PngFont& font) {
  INT style = -1;
  EXPECT_EQ(font.fontStyle(style), Gdiplus::Ok);
  return style;
}

Gdiplus::REAL sizeOf(const PngFont& font) {
  Gdiplus::REAL size = -1;
  EXPECT_EQ(font.fontSize(size), Gdiplus::Ok);
  return size;
}

Gdiplus::Unit unitOf(const PngFont& font) {
  Gdiplus::Unit unit = Gdiplus::UnitWorld;
  EXPECT_EQ(font.fontUnit(unit), Gdiplus::Ok);
  return unit;
}

TEST(PngFontFromGdiFont, OnlyWeights600And700AreBold) {
  const struct {
    LONG weight;
    INT style;
  } cases[] = {{100, 0}, {400, 0}, {500, 0}, {599, 0}, {600, 1}, {700, 1}, {701, 0}, {800, 0}, {900, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "weight " << c.weight);
    UniqueFont source = gdiFont(-16, c.weight);
    ASSERT_TRUE(source);
    PngFont font;
    ASSERT_NE(font.createFromHandle(source.get()), nullptr);
    EXPECT_EQ(styleOf(font), c.style);
  }
}

TEST(PngFontFromGdiFont, ItalicUnderlineAndStrikeOutCombine) {
  const struct {
    const char* name;
    LONG weight;
    BYTE italic, underline, strikeOut;
    INT style;
  } cases[] = {
      {"italic", FW_NORMAL, 1, 0, 0, Gdiplus::FontStyleItalic},
      {"underline", FW_NORMAL, 0, 1, 0, Gdiplus::FontStyleUnderline},
      {"strike-out", FW_NORMAL, 0, 0, 1, Gdiplus::FontStyleStrikeout},
      {"italic and underline", FW_NORMAL, 1, 1, 0, 6},
      {"bold italic", FW_BOLD, 1, 0, 0, 3},
      {"everything", FW_SEMIBOLD, 1, 1, 1, 15},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    UniqueFont source = gdiFont(-16, c.weight, c.italic, c.underline, c.strikeOut);
    PngFont font;
    ASSERT_NE(font.createFromHandle(source.get()), nullptr);
    EXPECT_EQ(styleOf(font), c.style);
  }
}

TEST(PngFontFromGdiFont, HeightOfEitherSignIsTheEmSizeInPixels) {
  const struct {
    LONG height;
    Gdiplus::REAL size;
  } cases[] = {{-16, 16}, {16, 16}, {-12, 12}, {12, 12}, {-37, 37}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "height " << c.height);
    UniqueFont source = gdiFont(c.height);
    PngFont font;
    ASSERT_NE(font.createFromHandle(source.get()), nullptr);
    EXPECT_EQ(sizeOf(font), c.size);
    EXPECT_EQ(unitOf(font), Gdiplus::UnitPixel);
  }
}

TEST(PngFontFromGdiFont, NullHandleGivesNullAndKeepsTheHeldFont) {
  UniqueFont source = gdiFont(-16, FW_BOLD);
  PngFont font;
  Gdiplus::GpFont* held = font.createFromHandle(source.get());
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(font.createFromHandle(nullptr), nullptr);
  EXPECT_EQ(font.handle(), held);
  EXPECT_EQ(styleOf(font), Gdiplus::FontStyleBold);
}

TEST(PngFontFromGdiFont, FaceUnknownToGdiplusLeavesNoFont) {
  UniqueFont known = gdiFont(-16);
  UniqueFont unknown = gdiFont(-16, FW_NORMAL, 0, 0, 0, "No Such Face Anywhere");
  PngFont font;
  ASSERT_NE(font.createFromHandle(known.get()), nullptr);
  EXPECT_EQ(font.createFromHandle(unknown.get()), nullptr);
  EXPECT_EQ(font.handle(), nullptr);
  Gdiplus::REAL size = 0;
  EXPECT_EQ(font.fontSize(size), Gdiplus::InvalidParameter);
}

TEST(PngFontFromWindow, UsesTheFontTheWindowWasGiven) {
  UniqueWindow label(CreateWindowExA(0, "STATIC", "memo", WS_POPUP, 500, 500, 100, 30, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr));
  ASSERT_TRUE(label);
  UniqueFont source = gdiFont(-20, FW_BOLD, 0, 1);
  SendMessageA(label.get(), WM_SETFONT, reinterpret_cast<WPARAM>(source.get()), FALSE);
  PngFont font;
  ASSERT_NE(font.createFromWindow(label.get()), nullptr);
  EXPECT_EQ(sizeOf(font), 20.0f);
  EXPECT_EQ(unitOf(font), Gdiplus::UnitPixel);
  EXPECT_EQ(styleOf(font), Gdiplus::FontStyleBold | Gdiplus::FontStyleUnderline);
}

TEST(PngFontFromWindow, WindowWithoutAFontGivesNullAndKeepsTheHeldFont) {
  UniqueWindow label(CreateWindowExA(0, "STATIC", "memo", WS_POPUP, 500, 500, 100, 30, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr));
  ASSERT_TRUE(label);
  ASSERT_EQ(SendMessageA(label.get(), WM_GETFONT, 0, 0), 0);
  PngFont font;
  ASSERT_EQ(font.create(kFace, 9, Gdiplus::FontStyleItalic, Gdiplus::UnitPoint), Gdiplus::Ok);
  Gdiplus::GpFont* held = font.handle();
  EXPECT_EQ(font.createFromWindow(label.get()), nullptr);
  EXPECT_EQ(font.handle(), held);
  EXPECT_EQ(sizeOf(font), 9.0f);
}

TEST(PngFont, CreateByNameGivesTheSizeStyleAndUnitAsked) {
  PngFont font;
  ASSERT_EQ(font.create(kFace, 12.5f, Gdiplus::FontStyleBold | Gdiplus::FontStyleItalic, Gdiplus::UnitPoint),
            Gdiplus::Ok);
  EXPECT_EQ(sizeOf(font), 12.5f);
  EXPECT_EQ(styleOf(font), 3);
  EXPECT_EQ(unitOf(font), Gdiplus::UnitPoint);
}

TEST(PngFont, SecondCreateReplacesTheFirstFont) {
  PngFont font;
  ASSERT_EQ(font.create(kFace, 10, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel), Gdiplus::Ok);
  Gdiplus::GpFont* first = font.handle();
  ASSERT_EQ(font.create(kFace, 20, Gdiplus::FontStyleUnderline, Gdiplus::UnitPixel), Gdiplus::Ok);
  EXPECT_NE(font.handle(), first);
  EXPECT_EQ(sizeOf(font), 20.0f);
  EXPECT_EQ(styleOf(font), Gdiplus::FontStyleUnderline);
}

TEST(PngFont, FailedCreateDeletesTheHeldFontAndHoldsNothing) {
  PngFont font;
  ASSERT_EQ(font.create(kFace, 10, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel), Gdiplus::Ok);
  EXPECT_NE(font.create("No Such Face Anywhere", 10, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel), Gdiplus::Ok);
  EXPECT_EQ(font.handle(), nullptr);
}

TEST(PngFont, FromDcTakesTheFontSelectedIntoIt) {
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  UniqueFont source = gdiFont(-20, FW_BOLD);
  SelectGuard selected(dc.get(), source.get());
  PngFont font;
  ASSERT_EQ(font.createFromDC(dc.get()), Gdiplus::Ok);
  ASSERT_NE(font.handle(), nullptr);
  // Wine derives the em size from the realised font's metrics and gets 21.
  EXPECT_NEAR(sizeOf(font), 20.0f, 1.0f);
  EXPECT_EQ(styleOf(font), Gdiplus::FontStyleBold);
}

TEST(PngFont, HeightOnAGraphicsIsALineAtLeastTheEmSize) {
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  Gdiplus::GpGraphics* raw = nullptr;
  ASSERT_EQ(gp::GdipCreateFromHDC(dc.get(), &raw), Gdiplus::Ok);
  UniqueGpGraphics graphics(raw);
  UniqueFont source = gdiFont(-16);
  PngFont font;
  ASSERT_NE(font.createFromHandle(source.get()), nullptr);
  Gdiplus::REAL height = 0;
  ASSERT_EQ(font.fontHeight(graphics.get(), height), Gdiplus::Ok);
  EXPECT_GE(height, 16.0f);
  EXPECT_LE(height, 32.0f);
}

TEST(PngFont, HoldingNothingPassesNullToGdiplus) {
  const PngFont font;
  INT style = 0;
  Gdiplus::REAL size = 0;
  Gdiplus::Unit unit{};
  EXPECT_EQ(font.fontStyle(style), Gdiplus::InvalidParameter);
  EXPECT_EQ(font.fontSize(size), Gdiplus::InvalidParameter);
  EXPECT_EQ(font.fontUnit(unit), Gdiplus::InvalidParameter);
}

TEST(PngFont, CopyHoldsItsOwnFontThatOutlivesTheOriginal) {
  PngFont copy;
  Gdiplus::GpFont* original = nullptr;
  {
    PngFont font;
    ASSERT_EQ(font.create(kFace, 14, Gdiplus::FontStyleItalic, Gdiplus::UnitPixel), Gdiplus::Ok);
    original = font.handle();
    copy = font.copy();
    EXPECT_EQ(font.handle(), original);
  }
  ASSERT_NE(copy.handle(), nullptr);
  EXPECT_NE(copy.handle(), original);
  EXPECT_EQ(sizeOf(copy), 14.0f);
  EXPECT_EQ(styleOf(copy), Gdiplus::FontStyleItalic);
  EXPECT_EQ(PngFont().copy().handle(), nullptr);
}

TEST(PngFont, MovingHandsTheFontOver) {
  PngFont font;
  ASSERT_EQ(font.create(kFace, 11, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel), Gdiplus::Ok);
  Gdiplus::GpFont* held = font.handle();
  PngFont moved(std::move(font));
  EXPECT_EQ(font.handle(), nullptr);
  EXPECT_EQ(moved.handle(), held);
  EXPECT_EQ(sizeOf(moved), 11.0f);
}

TEST(PngStringFormat, SetAlignsSetsHorizontalThenVerticalAlignment) {
  const struct {
    Gdiplus::StringAlignment align, lineAlign;
  } cases[] = {
      {Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter},
      {Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentFar},
      {Gdiplus::StringAlignmentFar, Gdiplus::StringAlignmentNear},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.align << ", " << c.lineAlign);
    PngStringFormat format;
    format.create(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsNoFitBlackBox);
    ASSERT_NE(format.handle(), nullptr);
    format.setAligns(c.align, c.lineAlign);
    Gdiplus::StringAlignment align{};
    Gdiplus::StringAlignment lineAlign{};
    ASSERT_EQ(gp::GdipGetStringFormatAlign(format.handle(), &align), Gdiplus::Ok);
    ASSERT_EQ(gp::GdipGetStringFormatLineAlign(format.handle(), &lineAlign), Gdiplus::Ok);
    EXPECT_EQ(align, c.align);
    EXPECT_EQ(lineAlign, c.lineAlign);
  }
}

TEST(PngStringFormat, CreateTakesFlagsAndLanguageWithZeroDefaults) {
  PngStringFormat format;
  format.create(0x1004, MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
  INT flags = 0;
  ASSERT_EQ(gp::GdipGetStringFormatFlags(format.handle(), &flags), Gdiplus::Ok);
  EXPECT_EQ(flags, 0x1004);

  Gdiplus::GpStringFormat* first = format.handle();
  format.create();
  EXPECT_NE(format.handle(), first);
  ASSERT_EQ(gp::GdipGetStringFormatFlags(format.handle(), &flags), Gdiplus::Ok);
  EXPECT_EQ(flags, 0);
}

TEST(PngStringFormat, CopyKeepsTheAlignmentsInAFormatOfItsOwn) {
  PngStringFormat copy;
  {
    PngStringFormat format;
    format.create(0x1004);
    format.setAligns(Gdiplus::StringAlignmentFar, Gdiplus::StringAlignmentCenter);
    copy = format.copy();
    EXPECT_NE(copy.handle(), format.handle());
  }
  ASSERT_NE(copy.handle(), nullptr);
  Gdiplus::StringAlignment align{};
  Gdiplus::StringAlignment lineAlign{};
  ASSERT_EQ(gp::GdipGetStringFormatAlign(copy.handle(), &align), Gdiplus::Ok);
  ASSERT_EQ(gp::GdipGetStringFormatLineAlign(copy.handle(), &lineAlign), Gdiplus::Ok);
  EXPECT_EQ(align, Gdiplus::StringAlignmentFar);
  EXPECT_EQ(lineAlign, Gdiplus::StringAlignmentCenter);
}

TEST(PngFontFamily, CreateFindsAnInstalledFamilyByItsAnsiName) {
  PngFontFamily family;
  ASSERT_EQ(family.create(kFace), Gdiplus::Ok);
  ASSERT_NE(family.handle(), nullptr);
  WCHAR name[LF_FACESIZE] = {};
  EXPECT_EQ(gp::GdipGetFamilyName(family.handle(), name, LANG_NEUTRAL), Gdiplus::Ok);
  EXPECT_NE(name[0], L'\0');
}

TEST(PngFontFamily, UnknownNameFailsAndDropsTheHeldFamily) {
  PngFontFamily family;
  ASSERT_EQ(family.create(kFace), Gdiplus::Ok);
  EXPECT_EQ(family.create("No Such Face Anywhere"), Gdiplus::FontFamilyNotFound);
  EXPECT_EQ(family.handle(), nullptr);
}

TEST(PngFontFamily, CopyStaysUsableAfterTheOriginalIsDropped) {
  PngFontFamily copy;
  {
    PngFontFamily family;
    ASSERT_EQ(family.create(kFace), Gdiplus::Ok);
    copy = family.copy();
  }
  ASSERT_NE(copy.handle(), nullptr);
  PngFont font;
  Gdiplus::GpFont* raw = nullptr;
  ASSERT_EQ(gp::GdipCreateFont(copy.handle(), 12, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel, &raw), Gdiplus::Ok);
  font.setHandle(raw);
  EXPECT_EQ(sizeOf(font), 12.0f);
}

}  // namespace
