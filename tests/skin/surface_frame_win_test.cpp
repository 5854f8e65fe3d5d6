#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "skin/surface_frame_win.h"

using namespace Gdiplus::DllExports;

namespace {

// Channels may differ by one level of rounding.
bool nearPixel(std::uint32_t a, std::uint32_t b) {
  for (int shift = 0; shift < 32; shift += 8) {
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 1) return false;
  }
  return true;
}

TEST(SurfaceFrame, BlendsPremultipliedSourceOver) {
  struct Case {
    std::uint32_t source;
    std::uint32_t below;
    std::uint32_t result;
  };
  const Case cases[] = {
      {0x00000000, 0xFF123456, 0xFF123456},  // transparent leaves the pixel
      {0xFF00FF00, 0xFF123456, 0xFF00FF00},  // opaque replaces it
      {0x80800000, 0x00000000, 0x80800000},  // over nothing stays as it is
      {0x80800000, 0xFF0000FF, 0xFF80007F},  // half red over opaque blue
      {0x40404040, 0x80808080, 0xA0A0A0A0},
      {0xFFFFFFFF, 0x00000000, 0xFFFFFFFF},
  };
  SurfaceFrame frame;
  ASSERT_TRUE(frame.ensureSize(1, 1));
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.source << " over " << c.below);
    frame.pixels()[0] = c.below;
    frame.blend({&c.source, 1, 1, 1}, 0, 0);
    EXPECT_PRED2(nearPixel, frame.pixels()[0], c.result) << std::hex << frame.pixels()[0];
  }
}

TEST(SurfaceFrame, ClipsSourcesAtEveryEdge) {
  SurfaceFrame frame;
  ASSERT_TRUE(frame.ensureSize(4, 3));
  const std::vector<std::uint32_t> square(9, 0xFF0000FF);
  struct Case {
    int x, y;
    std::vector<int> covered;  // indices of frame pixels the 3x3 square covers
  };
  const Case cases[] = {
      {-2, -2, {0}},
      {3, 2, {11}},
      {-1, 1, {4, 5, 8, 9}},
      {2, -1, {2, 3, 6, 7}},
      {5, 0, {}},
      {0, -3, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
    frame.clear();
    frame.blend({square.data(), 3, 3, 3}, c.x, c.y);
    std::vector<int> covered;
    for (int i = 0; i < 12; ++i) {
      if (frame.pixels()[i]) covered.push_back(i);
    }
    EXPECT_EQ(covered, c.covered);
    frame.clear();
    frame.copy({square.data(), 3, 3, 3}, c.x, c.y);
    covered.clear();
    for (int i = 0; i < 12; ++i) {
      if (frame.pixels()[i]) covered.push_back(i);
    }
    EXPECT_EQ(covered, c.covered);
  }
}

TEST(SurfaceFrame, KeepsItsPixelsUntilTheSizeChanges) {
  SurfaceFrame frame;
  EXPECT_FALSE(frame.ensureSize(0, 5));
  ASSERT_TRUE(frame.ensureSize(3, 2));
  frame.pixels()[5] = 0xFFABCDEF;
  std::uint32_t* before = frame.pixels();
  ASSERT_TRUE(frame.ensureSize(3, 2));
  EXPECT_EQ(frame.pixels(), before);
  EXPECT_EQ(frame.pixels()[5], 0xFFABCDEFu);
  ASSERT_TRUE(frame.ensureSize(2, 2));
  EXPECT_EQ(frame.width(), 2);
  EXPECT_EQ(frame.height(), 2);
}

TEST(SurfaceFrame, GdiPlusDrawsIntoTheSamePremultipliedPixels) {
  SurfaceFrame frame;
  ASSERT_TRUE(frame.ensureSize(8, 8));
  frame.clear();
  UniqueGpBrush brush;
  GdipCreateSolidFill(0x80FF0000, reinterpret_cast<Gdiplus::GpSolidFill**>(brush.put()));
  ASSERT_EQ(GdipFillRectangleI(frame.graphics(), brush.get(), 2, 2, 4, 4), Gdiplus::Ok);
  const std::uint32_t opaqueBlue = 0xFF0000FF;
  frame.blend({&opaqueBlue, 1, 1, 1}, 0, 0);  // flushes the GDI+ drawing first
  EXPECT_EQ(frame.pixels()[0], opaqueBlue);
  EXPECT_EQ(frame.pixels()[1], 0u);
  EXPECT_PRED2(nearPixel, frame.pixels()[3 * 8 + 3], 0x80800000u) << std::hex << frame.pixels()[3 * 8 + 3];
}

TEST(SurfaceFrame, ClipLimitsClearBlendAndGdiPlusAlike) {
  SurfaceFrame frame;
  ASSERT_TRUE(frame.ensureSize(8, 8));
  const std::uint32_t grey = 0xFF808080;
  const std::vector<std::uint32_t> row(8, grey);
  frame.blend({row.data(), 8, 8, 0}, 0, 0);
  const RECT clip{2, 2, 5, 5};
  frame.setClip(&clip);
  frame.clear();
  const std::uint32_t blue = 0xFF0000FF;
  const std::vector<std::uint32_t> blues(8 * 8, blue);
  frame.blend({blues.data(), 8, 8, 8}, 0, 0);
  UniqueGpBrush brush;
  GdipCreateSolidFill(0xFFFF0000, reinterpret_cast<Gdiplus::GpSolidFill**>(brush.put()));
  GdipFillRectangleI(frame.graphics(), brush.get(), 4, 0, 4, 8);
  frame.setClip(nullptr);
  frame.blend({&grey, 1, 1, 1}, 7, 7);  // flushes the GDI+ drawing

  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool inside = x >= 2 && x < 5 && y >= 2 && y < 5;
      const std::uint32_t want = !inside ? grey : x == 4 ? 0xFFFF0000 : blue;
      ASSERT_EQ(frame.pixels()[y * 8 + x], want) << x << ", " << y;
    }
  }
}

TEST(LockedImagePixels, GivesPremultipliedPixelsOfAnyBitmap) {
  UniqueGpImage argb;
  GdipCreateBitmapFromScan0(2, 1, 0, PixelFormat32bppARGB, nullptr,
                            reinterpret_cast<Gdiplus::GpBitmap**>(argb.put()));
  auto* bitmap = static_cast<Gdiplus::GpBitmap*>(argb.get());
  GdipBitmapSetPixel(bitmap, 0, 0, 0x80FF0000);
  GdipBitmapSetPixel(bitmap, 1, 0, 0xFF00FF00);
  LockedImagePixels locked(argb.get());
  ASSERT_TRUE(locked.view().has_value());
  EXPECT_EQ(locked.view()->width, 2);
  EXPECT_EQ(locked.view()->height, 1);
  EXPECT_PRED2(nearPixel, locked.view()->pixels[0], 0x80800000u);
  EXPECT_EQ(locked.view()->pixels[1], 0xFF00FF00u);

  EXPECT_FALSE(LockedImagePixels(nullptr).view().has_value());
}

TEST(SurfaceFrame, PushShowsOpaquePixelsOnTheScreen) {
  UniqueWindow window(CreateWindowExA(WS_EX_LAYERED | WS_EX_TOOLWINDOW, "Static", "", WS_POPUP, 600, 500, 20, 10,
                                      nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(window);
  SurfaceFrame frame;
  ASSERT_TRUE(frame.ensureSize(20, 10));
  for (int i = 0; i < 200; ++i) frame.pixels()[i] = i % 20 < 10 ? 0xFFFF0000 : 0x00000000;
  frame.push(window.get());
  ShowWindow(window.get(), SW_SHOWNOACTIVATE);
  frame.push(window.get());
  MSG msg;
  for (int i = 0; i < 20; ++i) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(10);
  }
  WindowDc screen(nullptr);
  EXPECT_EQ(GetPixel(screen.get(), 603, 505), RGB(255, 0, 0));
  EXPECT_NE(GetPixel(screen.get(), 613, 505), RGB(255, 0, 0)) << "transparent pixels show what lies below";
}

}  // namespace
