// Images decoded from memory, the memory stream under them and ANSI-to-UTF-16
// conversion, on real GDI+ objects.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "skin/image_loading_win.h"
#include "tests/skin/png_fixtures.h"

namespace gp = Gdiplus::DllExports;

namespace {

std::span<const std::uint8_t> bytesOf(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

struct Pixels {
  UINT width = 0;
  UINT height = 0;
  std::vector<Gdiplus::ARGB> argb;
  Gdiplus::ARGB at(UINT x, UINT y) const { return argb[y * width + x]; }
};

// How a straight 0xAARRGGBB colour is held once premultiplied.
Gdiplus::ARGB premultiplied(Gdiplus::ARGB c) {
  const Gdiplus::ARGB a = c >> 24;
  auto scale = [a](Gdiplus::ARGB v) { return (v * a + 127) / 255; };
  return (a << 24) | (scale((c >> 16) & 0xFF) << 16) | (scale((c >> 8) & 0xFF) << 8) | scale(c & 0xFF);
}

// Channels may differ by one level of rounding.
bool samePixel(Gdiplus::ARGB a, Gdiplus::ARGB b) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (d < -1 || d > 1) return false;
  }
  return true;
}

// The image's pixels as held, premultiplied 0xAARRGGBB values.
Pixels readPixels(Gdiplus::GpImage* image) {
  Pixels pixels;
  gp::GdipGetImageWidth(image, &pixels.width);
  gp::GdipGetImageHeight(image, &pixels.height);
  const INT w = static_cast<INT>(pixels.width);
  const INT h = static_cast<INT>(pixels.height);
  const Gdiplus::GpRect area(0, 0, w, h);
  Gdiplus::BitmapData data{};
  auto* bitmap = static_cast<Gdiplus::GpBitmap*>(image);
  if (gp::GdipBitmapLockBits(bitmap, &area, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &data) !=
      Gdiplus::Ok) {
    ADD_FAILURE() << "the image's pixels cannot be read";
    return pixels;
  }
  pixels.argb.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  for (INT y = 0; y < h; ++y) {
    std::memcpy(&pixels.argb[static_cast<std::size_t>(y) * pixels.width],
                static_cast<const BYTE*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride,
                pixels.width * 4);
  }
  gp::GdipBitmapUnlockBits(bitmap, &data);
  return pixels;
}

TEST(ToWide, GivesTheUtf16UnitsOfCodePage936Texts) {
  struct Case {
    const char* name;
    std::string_view text;
    std::wstring expected;
  };
  const Case cases[] = {
      {"empty", "", {}},
      {"latin", "abc", {L'a', L'b', L'c'}},
      {"CJK literal", "宋体", {0x5B8B, 0x4F53}},
      {"CJK bytes", "\xB1\xB8\xCD\xFC", {0x5907, 0x5FD8}},
      {"mixed", "青岚碧溪备忘条v2.0", {0x9752, 0x5C9A, 0x78A7, 0x6EAA, 0x5907, 0x5FD8, 0x6761, L'v', L'2', L'.', L'0'}},
      {"stops at the first zero byte", std::string_view("ab\0cd", 5), {L'a', L'b'}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::wstring wide = toWide(c.text);
    EXPECT_EQ(wide, c.expected);
    EXPECT_EQ(wide.c_str()[wide.size()], L'\0');
  }
}

TEST(ToWide, ByteSizesWithTheTerminatorAreTwiceTheCharactersPlusOne) {
  EXPECT_EQ((toWide("").size() + 1) * sizeof(wchar_t), 2u);
  EXPECT_EQ((toWide("abc").size() + 1) * sizeof(wchar_t), 8u);
  // Four code page 936 bytes are two characters.
  ASSERT_EQ(std::string_view("宋体").size(), 4u);
  EXPECT_EQ((toWide("宋体").size() + 1) * sizeof(wchar_t), 6u);
}

TEST(PngMemoryStream, CreateCopiesTheBytesIntoABlockOfItsOwn) {
  std::vector<std::uint8_t> source(kSixPixelsPng, kSixPixelsPng + sizeof kSixPixelsPng);
  PngMemoryStream memory;
  IStream* stream = memory.create(source);
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(memory.stream(), stream);
  std::fill(source.begin(), source.end(), std::uint8_t{0xEE});

  EXPECT_EQ(memory.size(), sizeof kSixPixelsPng);
  const std::vector<std::uint8_t> expected(kSixPixelsPng, kSixPixelsPng + sizeof kSixPixelsPng);
  EXPECT_EQ(memory.bytes(), expected);

  std::vector<std::uint8_t> read(sizeof kSixPixelsPng + 16);
  ULONG got = 0;
  // Asked for more than there is, the stream reads to its end.
  ASSERT_TRUE(SUCCEEDED(stream->Read(read.data(), static_cast<ULONG>(read.size()), &got)));
  ASSERT_EQ(got, sizeof kSixPixelsPng);
  read.resize(got);
  EXPECT_EQ(read, expected);
}

TEST(PngMemoryStream, EmptyBytesGiveAnEmptyStream) {
  PngMemoryStream memory;
  IStream* stream = memory.create({});
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(memory.size(), 0u);
  EXPECT_TRUE(memory.bytes().empty());
  char c = 0;
  ULONG got = 1;
  stream->Read(&c, 1, &got);
  EXPECT_EQ(got, 0u);
}

TEST(PngMemoryStream, ReleaseDropsItsStreamReferenceAndTheBlock) {
  PngMemoryStream memory;
  IStream* stream = memory.create(bytesOf("some bytes"));
  ASSERT_NE(stream, nullptr);
  stream->AddRef();
  memory.release();
  EXPECT_EQ(memory.stream(), nullptr);
  EXPECT_EQ(memory.size(), 0u);
  EXPECT_TRUE(memory.bytes().empty());
  // Ours was the last reference left.
  EXPECT_EQ(stream->Release(), 0u);
  memory.release();  // holding nothing, releasing again frees nothing
}

TEST(PngMemoryStream, SecondCreateReplacesTheFirst) {
  PngMemoryStream memory;
  IStream* first = memory.create(bytesOf("first"));
  ASSERT_NE(first, nullptr);
  first->AddRef();
  ASSERT_NE(memory.create(bytesOf("second!")), nullptr);
  EXPECT_EQ(first->Release(), 0u);
  EXPECT_EQ(memory.size(), 7u);
  const std::vector<std::uint8_t> expected{'s', 'e', 'c', 'o', 'n', 'd', '!'};
  EXPECT_EQ(memory.bytes(), expected);
}

TEST(PngMemoryStream, MovingHandsOverTheStreamOnce) {
  PngMemoryStream source;
  IStream* stream = source.create(bytesOf("moved"));
  ASSERT_NE(stream, nullptr);

  PngMemoryStream target(std::move(source));
  EXPECT_EQ(source.stream(), nullptr);
  EXPECT_EQ(source.size(), 0u);
  EXPECT_EQ(target.stream(), stream);
  EXPECT_EQ(target.size(), 5u);

  PngMemoryStream other;
  IStream* replaced = other.create(bytesOf("replaced"));
  ASSERT_NE(replaced, nullptr);
  replaced->AddRef();
  other = std::move(target);
  EXPECT_EQ(replaced->Release(), 0u);
  EXPECT_EQ(other.stream(), stream);
  EXPECT_EQ(target.stream(), nullptr);
  const std::vector<std::uint8_t> expected{'m', 'o', 'v', 'e', 'd'};
  EXPECT_EQ(other.bytes(), expected);
}

TEST(PngMemoryStream, GrowableStreamKeepsWhatIsWrittenInMemoryItOwns) {
  PngMemoryStream memory;
  IStream* stream = memory.createGrowable();
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(memory.size(), 0u);
  ULONG written = 0;
  ASSERT_EQ(stream->Write("abcdef", 6, &written), S_OK);
  ASSERT_EQ(written, 6u);
  // The block may be rounded up; its start is what was written.
  ASSERT_GE(memory.size(), 6u);
  const std::vector<std::uint8_t> bytes = memory.bytes();
  ASSERT_GE(bytes.size(), 6u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "abcdef");
  memory.release();
  EXPECT_EQ(memory.size(), 0u);
}

TEST(LoadImageFromBytes, BytesThatDoNotDecodeGiveNoImage) {
  const std::span<const std::uint8_t> png(kHalfRedPng);
  struct Case {
    const char* name;
    std::span<const std::uint8_t> bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"a text file", bytesOf("Memo list\r\nbuy milk\r\n")},
      {"PNG signature only", png.first(8)},
      {"PNG cut after its header", png.first(33)},
      {"PNG cut inside its pixel data", png.first(120)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(loadImageFromBytes(c.bytes));
  }
}

TEST(LoadImageFromBytes, HalfTransparentRedStripImageHasItsSizeAndPixels) {
  UniqueGpImage image = loadImageFromBytes(kHalfRedPng);
  ASSERT_TRUE(image);
  Gdiplus::ImageType type{};
  gp::GdipGetImageType(image.get(), &type);
  EXPECT_EQ(type, Gdiplus::ImageTypeBitmap);
  Gdiplus::REAL w = 0;
  Gdiplus::REAL h = 0;
  ASSERT_EQ(gp::GdipGetImageDimension(image.get(), &w, &h), Gdiplus::Ok);
  EXPECT_EQ(w, 208.0f);
  EXPECT_EQ(h, 46.0f);

  const Pixels pixels = readPixels(image.get());
  ASSERT_EQ(pixels.argb.size(), 208u * 46u);
  const auto wrong = std::find_if(pixels.argb.begin(), pixels.argb.end(),
                                  [](Gdiplus::ARGB p) { return !samePixel(p, premultiplied(0x7FFF0000u)); });
  EXPECT_EQ(wrong, pixels.argb.end()) << "pixel " << (wrong - pixels.argb.begin()) << " is " << std::hex
                                      << (wrong == pixels.argb.end() ? 0u : *wrong);
}

TEST(LoadImageFromBytes, PixelsKeepTheirPlacesChannelsAndAlpha) {
  UniqueGpImage image = loadImageFromBytes(kSixPixelsPng);
  ASSERT_TRUE(image);
  const Pixels pixels = readPixels(image.get());
  ASSERT_EQ(pixels.width, 3u);
  ASSERT_EQ(pixels.height, 2u);
  const Gdiplus::ARGB expected[2][3] = {{0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu},
                                        {0x00000000u, 0x40102030u, 0xBFC86432u}};
  for (UINT y = 0; y < 2; ++y) {
    for (UINT x = 0; x < 3; ++x) {
      SCOPED_TRACE(testing::Message() << "pixel (" << x << ", " << y << ")");
      EXPECT_PRED2(samePixel, pixels.at(x, y), premultiplied(expected[y][x])) << std::hex << pixels.at(x, y);
    }
  }
}

TEST(LoadImageFromBytes, IndexedAndOpaquePngsBecomePremultipliedArgb) {
  struct Case {
    const char* name;
    std::span<const std::uint8_t> bytes;
    Gdiplus::ARGB expected[2][3];
  };
  const Case cases[] = {
      {"indexed", kSixPixelsIndexedPng,
       {{0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu}, {0x00FFFFFFu, 0x00FFFFFFu, 0xFFC86432u}}},
      {"RGB without alpha", kSixPixelsRgbPng,
       {{0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu}, {0xFF000000u, 0xFF102030u, 0xFFC86432u}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UniqueGpImage image = loadImageFromBytes(c.bytes);
    ASSERT_TRUE(image);
    Gdiplus::PixelFormat format = 0;
    gp::GdipGetImagePixelFormat(image.get(), &format);
    EXPECT_EQ(format, PixelFormat32bppPARGB);
    const Pixels pixels = readPixels(image.get());
    ASSERT_EQ(pixels.argb.size(), 6u);
    for (UINT y = 0; y < 2; ++y) {
      for (UINT x = 0; x < 3; ++x) {
        EXPECT_PRED2(samePixel, pixels.at(x, y), premultiplied(c.expected[y][x]))
            << "pixel (" << x << ", " << y << ") is " << std::hex << pixels.at(x, y);
      }
    }
  }
}

TEST(LoadImageFromBytes, ImageDoesNotDependOnTheBytesItCameFrom) {
  auto bytes = std::make_unique<std::vector<std::uint8_t>>(kSixPixelsPng, kSixPixelsPng + sizeof kSixPixelsPng);
  UniqueGpImage image = loadImageFromBytes(*bytes);
  ASSERT_TRUE(image);
  std::fill(bytes->begin(), bytes->end(), std::uint8_t{0});
  bytes.reset();
  // Freed blocks get reused by the next loads.
  for (int i = 0; i < 8; ++i) ASSERT_TRUE(loadImageFromBytes(kHalfRedPng));

  const Pixels pixels = readPixels(image.get());
  ASSERT_EQ(pixels.argb.size(), 6u);
  EXPECT_EQ(pixels.at(2, 0), 0xFF0000FFu);
  EXPECT_PRED2(samePixel, pixels.at(2, 1), premultiplied(0xBFC86432u));
  // Drawing it works too, long after its stream is gone.
  Gdiplus::GpBitmap* target = nullptr;
  ASSERT_EQ(gp::GdipCreateBitmapFromScan0(3, 2, 0, PixelFormat32bppARGB, nullptr, &target), Gdiplus::Ok);
  UniqueGpImage targetOwner(target);
  Gdiplus::GpGraphics* graphics = nullptr;
  ASSERT_EQ(gp::GdipGetImageGraphicsContext(target, &graphics), Gdiplus::Ok);
  UniqueGpGraphics graphicsOwner(graphics);
  EXPECT_EQ(gp::GdipDrawImageRectI(graphics, image.get(), 0, 0, 3, 2), Gdiplus::Ok);
  graphicsOwner.reset();
  Gdiplus::ARGB drawn = 0;
  gp::GdipBitmapGetPixel(target, 0, 0, &drawn);
  EXPECT_EQ(drawn, 0xFFFF0000u);
}

TEST(LoadImageFromBytes, StripBackgroundOf41RowsLoadsAndItsMedianTimeIsReported) {
  constexpr int kRuns = 51;
  // <chrono> does not build with a code page 936 execution character set.
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> milliseconds;
  for (int i = 0; i < kRuns; ++i) {
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    UniqueGpImage image = loadImageFromBytes(kStripBackgroundPng);
    QueryPerformanceCounter(&end);
    milliseconds.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 /
                           static_cast<double>(frequency.QuadPart));
    ASSERT_TRUE(image);
    if (i == 0) {
      const Pixels pixels = readPixels(image.get());
      ASSERT_EQ(pixels.width, 208u);
      ASSERT_EQ(pixels.height, 846u);
      EXPECT_EQ(pixels.at(0, 423), 0xFF142850u);
      EXPECT_PRED2(samePixel, pixels.at(100, 30), premultiplied(0xFBD1E4F5u));
      EXPECT_PRED2(samePixel, pixels.at(3, 400), premultiplied(0xD47CB2E2u));
    }
  }
  std::sort(milliseconds.begin(), milliseconds.end());
  const double median = milliseconds[kRuns / 2];
  std::printf("loadImageFromBytes 208 x 846 PNG (%zu bytes): median %.3f ms over %d runs (min %.3f, max %.3f)\n",
              sizeof kStripBackgroundPng, median, kRuns, milliseconds.front(), milliseconds.back());
  RecordProperty("median_microseconds", static_cast<int>(median * 1000));
}

}  // namespace
