#include "skin/fonts_win.h"

#include <cmath>
#include <cstring>
#include <string>

#include "skin/image_loading_win.h"

namespace gp = Gdiplus::DllExports;

PngFontFamily PngFontFamily::copy() const {
  PngFontFamily result;
  Gdiplus::GpFontFamily* clone = nullptr;
  if (family_ && gp::GdipCloneFontFamily(family_.get(), &clone) == Gdiplus::Ok) result.setHandle(clone);
  return result;
}

Gdiplus::GpStatus PngFontFamily::create(std::string_view name) {
  const std::wstring wide = toWide(name);
  Gdiplus::GpFontFamily* family = nullptr;
  const Gdiplus::GpStatus status = gp::GdipCreateFontFamilyFromName(wide.c_str(), nullptr, &family);
  setHandle(status == Gdiplus::Ok ? family : nullptr);
  return status;
}

void PngFontFamily::setHandle(Gdiplus::GpFontFamily* family) {
  // Handing back the held family must not delete it.
  if (family != family_.get()) family_.reset(family);
}

PngFont PngFont::copy() const {
  PngFont result;
  Gdiplus::GpFont* clone = nullptr;
  if (font_ && gp::GdipCloneFont(font_.get(), &clone) == Gdiplus::Ok) result.setHandle(clone);
  return result;
}

Gdiplus::GpStatus PngFont::create(std::string_view familyName, Gdiplus::REAL size, INT style,
                                  Gdiplus::Unit unit) {
  PngFontFamily family;
  family.create(familyName);
  Gdiplus::GpFont* font = nullptr;
  const Gdiplus::GpStatus status = gp::GdipCreateFont(family.handle(), size, style, unit, &font);
  setHandle(status == Gdiplus::Ok ? font : nullptr);
  return status;
}

Gdiplus::GpStatus PngFont::createFromDC(HDC dc) {
  Gdiplus::GpFont* font = nullptr;
  const Gdiplus::GpStatus status = gp::GdipCreateFontFromDC(dc, &font);
  setHandle(status == Gdiplus::Ok ? font : nullptr);
  return status;
}

Gdiplus::GpFont* PngFont::createFromWindow(HWND window) {
  return createFromHandle(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
}

Gdiplus::GpFont* PngFont::createFromHandle(HFONT gdiFont) {
  if (!gdiFont) return nullptr;
  LOGFONTA logFont{};
  GetObjectA(gdiFont, sizeof logFont, &logFont);

  INT style = Gdiplus::FontStyleRegular;
  // Only semi-bold and bold count; heavier weights stay regular.
  if (logFont.lfWeight == FW_SEMIBOLD || logFont.lfWeight == FW_BOLD) style |= Gdiplus::FontStyleBold;
  if (logFont.lfItalic == 1) style |= Gdiplus::FontStyleItalic;
  if (logFont.lfUnderline == 1) style |= Gdiplus::FontStyleUnderline;
  if (logFont.lfStrikeOut == 1) style |= Gdiplus::FontStyleStrikeout;

  // The face name need not be terminated inside its 32 bytes.
  const std::string_view face(logFont.lfFaceName, strnlen(logFont.lfFaceName, LF_FACESIZE));
  PngFontFamily family;
  family.create(face);

  // Negative heights are em sizes, positive ones cell heights; both become the
  // em size in pixels. In floating point, so that LONG_MIN does not overflow.
  const auto size = static_cast<Gdiplus::REAL>(std::fabs(static_cast<double>(logFont.lfHeight)));
  Gdiplus::GpFont* font = nullptr;
  const Gdiplus::GpStatus status = gp::GdipCreateFont(family.handle(), size, style, Gdiplus::UnitPixel, &font);
  setHandle(status == Gdiplus::Ok ? font : nullptr);
  return handle();
}

void PngFont::setHandle(Gdiplus::GpFont* font) {
  if (font != font_.get()) font_.reset(font);
}

Gdiplus::GpStatus PngFont::fontStyle(INT& style) const { return gp::GdipGetFontStyle(font_.get(), &style); }

Gdiplus::GpStatus PngFont::fontSize(Gdiplus::REAL& size) const { return gp::GdipGetFontSize(font_.get(), &size); }

Gdiplus::GpStatus PngFont::fontUnit(Gdiplus::Unit& unit) const { return gp::GdipGetFontUnit(font_.get(), &unit); }

Gdiplus::GpStatus PngFont::fontHeight(const Gdiplus::GpGraphics* graphics, Gdiplus::REAL& height) const {
  return gp::GdipGetFontHeight(font_.get(), graphics, &height);
}

PngStringFormat PngStringFormat::copy() const {
  PngStringFormat result;
  Gdiplus::GpStringFormat* clone = nullptr;
  if (format_ && gp::GdipCloneStringFormat(format_.get(), &clone) == Gdiplus::Ok) result.setHandle(clone);
  return result;
}

void PngStringFormat::create(INT flags, LANGID language) {
  Gdiplus::GpStringFormat* format = nullptr;
  const Gdiplus::GpStatus status = gp::GdipCreateStringFormat(flags, language, &format);
  setHandle(status == Gdiplus::Ok ? format : nullptr);
}

void PngStringFormat::setAlign(Gdiplus::StringAlignment align) {
  gp::GdipSetStringFormatAlign(format_.get(), align);
}

void PngStringFormat::setLineAlign(Gdiplus::StringAlignment align) {
  gp::GdipSetStringFormatLineAlign(format_.get(), align);
}

void PngStringFormat::setAligns(Gdiplus::StringAlignment align, Gdiplus::StringAlignment lineAlign) {
  setAlign(align);
  setLineAlign(lineAlign);
}

void PngStringFormat::setHandle(Gdiplus::GpStringFormat* format) {
  if (format != format_.get()) format_.reset(format);
}
