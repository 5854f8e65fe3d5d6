#include <gtest/gtest.h>

#include "skin/owned_images_win.h"
#include "skin/picture_box_win.h"
#include "tests/skin/control_test_support_win.h"
#include "tests/skin/surface_test_support_win.h"

using namespace control_test;

namespace {

constexpr COLORREF kParentFill = RGB(40, 80, 120);

class PictureBox : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    parent_ = makeParent(true, 0);
    SetPropA(parent_, kFillProperty, reinterpret_cast<HANDLE>(static_cast<intptr_t>(kParentFill)));
  }
  void repaint() {
    InvalidateRect(parent_, nullptr, TRUE);
    pumpMessages();
  }
  HWND parent_ = nullptr;
};

TEST_F(PictureBox, CreateMakesANamedStaticBox) {
  PngPictureBox box;
  HWND window = box.create(parent_, 10, 10, 40, 20);
  ASSERT_NE(window, nullptr);
  char cls[32] = {};
  GetClassNameA(window, cls, sizeof cls);
  EXPECT_STREQ(cls, "Static");
  char text[64] = {};
  GetWindowTextA(window, text, sizeof text);
  EXPECT_STREQ(text, "翠羽真彩控件.图片框");
  EXPECT_EQ(readProperty(window, kPropType), kKindPicture);
  EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(pictureBoxProc));
  EXPECT_EQ(PngPictureBox().create(reinterpret_cast<HWND>(0x1234), 0, 0, 5, 5), nullptr);
}

TEST_F(PictureBox, WithoutAnImageItShowsExactlyTheParent) {
  PngPictureBox box;
  HWND window = box.create(parent_, 10, 10, 40, 20);
  repaint();
  for (auto [x, y] : {std::pair{0, 0}, {39, 19}, {20, 10}}) {
    EXPECT_TRUE(pixelNear(windowPixel(window, x, y), rgbOf(kParentFill), x, y, 0));
  }
}

TEST_F(PictureBox, AlphaBlendsOverTheParentAndSwapsLeaveNoTrace) {
  PngPictureBox box;
  HWND window = box.create(parent_, 10, 10, 40, 20);
  auto opaqueRed = makeImage(40, 20, [](int, int) { return 0xFFFF0000; });
  auto halfWhiteRightHalf = makeImage(40, 20, [](int x, int) { return x < 20 ? 0u : 0x80FFFFFF; });
  box.setBackImage(opaqueRed.get());
  pumpMessages();
  EXPECT_TRUE(pixelNear(windowPixel(window, 5, 5), 0xFF0000, 5, 5));

  box.setBackImage(halfWhiteRightHalf.get());
  pumpMessages();
  EXPECT_TRUE(pixelNear(windowPixel(window, 5, 5), rgbOf(kParentFill), 5, 5)) << "no red left behind";
  const DWORD blended = (((40 + 255) / 2) << 16) | (((80 + 255) / 2) << 8) | ((120 + 255) / 2);
  EXPECT_TRUE(pixelNear(windowPixel(window, 30, 5), blended, 30, 5));

  box.setBackImage(nullptr);
  pumpMessages();
  EXPECT_TRUE(pixelNear(windowPixel(window, 30, 5), rgbOf(kParentFill), 30, 5));
}

TEST_F(PictureBox, ABarImageKeepsItsOwnSizeAtTheTopLeft) {
  PngPictureBox box;
  HWND window = box.create(parent_, 10, 10, 208, 20);
  auto bar = makeImage(207, 20, [](int, int) { return 0xFF00FF00; });
  box.setBackImage(bar.get());
  pumpMessages();
  EXPECT_TRUE(pixelNear(windowPixel(window, 206, 10), 0x00FF00, 206, 10));
  EXPECT_TRUE(pixelNear(windowPixel(window, 207, 10), rgbOf(kParentFill), 207, 10)) << "last column shows the parent";

  box.setBackType(kBackStretch);
  EXPECT_TRUE(pixelNear(windowPixel(window, 207, 10), rgbOf(kParentFill), 207, 10)) << "not before a repaint";
  repaint();
  EXPECT_TRUE(pixelNear(windowPixel(window, 207, 10), 0x00FF00, 207, 10));
}

TEST_F(PictureBox, AButtonMadeAPictureStillClicks) {
  HWND button = addChild(parent_, "Button", 0, 10, 40, 40, 20, 7);
  auto image = makeImage(40, 20, [](int, int) { return 0xFF0000FF; });
  PngPictureBox box;
  box.bindPicture(button, image.get());
  pumpMessages();
  EXPECT_TRUE(pixelNear(windowPixel(button, 5, 5), 0x0000FF, 5, 5)) << "painted as a picture";
  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  auto clicked = lastLogged(parent_, WM_COMMAND);
  ASSERT_TRUE(clicked.has_value());
  EXPECT_EQ(LOWORD(clicked->wParam), 7);
}

TEST_F(PictureBox, DecodedImagesAreDisposedWhenReplacedOrDestroyed) {
  PngPictureBox box;
  HWND window = box.create(parent_, 10, 10, 40, 20);
  auto blue = surface_test::solidImage(40, 20, 0xFF0000FF);
  const auto png = surface_test::pngBytes(blue.get());
  for (int i = 0; i < 4; ++i) box.setBackImageFromBytes(png);
  EXPECT_EQ(decodedImageCount(window), 1u);
  pumpMessages();
  EXPECT_TRUE(pixelNear(windowPixel(window, 5, 5), 0x0000FF, 5, 5));
  DestroyWindow(window);
  EXPECT_EQ(decodedImageCount(window), 0u);
}

}  // namespace
