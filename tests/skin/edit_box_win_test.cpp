#include <gtest/gtest.h>

#include "skin/edit_box_win.h"
#include "tests/skin/control_test_support_win.h"

using namespace control_test;

namespace {

class EditBox : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    parent_ = makeParent(true, 0);
    // No WS_BORDER: the edit control would draw that border over the frame itself.
    window_ = addChild(parent_, "Edit", 0, 10, 10, 120, 24);
  }
  HWND parent_ = nullptr;
  HWND window_ = nullptr;
  PngEditBox edit_;
};

TEST_F(EditBox, BindSetsTheDefaults) {
  edit_.bindEdit(window_);
  struct Expected {
    const char* property;
    intptr_t value;
  };
  const Expected defaults[] = {
      {kPropType, kKindEdit},       {kPropBackColor, 0xFFFFFF}, {kPropBackAlpha, 255},
      {kPropOrderColor, 0x7B8084},  {kPropOrderAlpha, 255},     {kPropTextColor, 0},
  };
  for (const Expected& e : defaults) {
    SCOPED_TRACE(e.property);
    EXPECT_EQ(readProperty(window_, e.property), e.value);
  }
  EXPECT_EQ(GetWindowLongPtrA(window_, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(editBoxProc));
}

TEST_F(EditBox, AlphasAreClampedAndKeptWhenNotGiven) {
  edit_.bindEdit(window_);
  struct Step {
    std::optional<int> alpha;
    intptr_t stored;
  };
  const Step steps[] = {{100, 100}, {std::nullopt, 100}, {300, 255}, {-5, 0}, {std::nullopt, 0}};
  for (const Step& step : steps) {
    edit_.setBackColor(RGB(1, 2, 3), step.alpha);
    EXPECT_EQ(readProperty(window_, kPropBackAlpha), step.stored);
    edit_.setBorderColor(kNoColour, step.alpha);
    EXPECT_EQ(readProperty(window_, kPropOrderAlpha), step.stored);
  }
  EXPECT_EQ(readProperty(window_, kPropBackColor), RGB(1, 2, 3));
  EXPECT_EQ(readProperty(window_, kPropOrderColor), -1);
}

TEST_F(EditBox, FramePaintingFillsAndBordersTheWholeWindow) {
  edit_.bindEdit(window_);
  edit_.setBackColor(RGB(255, 255, 255));  // sends the frame painting
  pumpMessages();
  WindowDc dc(window_, true);
  RECT r;
  GetWindowRect(window_, &r);
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  EXPECT_TRUE(pixelNear(rgbOf(GetPixel(dc.get(), 0, 0)), rgbOf(0x7B8084), 0, 0, 0));
  EXPECT_TRUE(pixelNear(rgbOf(GetPixel(dc.get(), w - 1, h - 1)), rgbOf(0x7B8084), w - 1, h - 1, 0));
  EXPECT_TRUE(pixelNear(rgbOf(GetPixel(dc.get(), w / 2, h / 2)), 0xFFFFFF, w / 2, h / 2, 0));
  EXPECT_NE(readProperty(window_, kPropCacheBitmap), 0) << "the background under the text is cached";

  edit_.setBackColor(RGB(0, 0, 255));
  edit_.setBorderColor(RGB(255, 0, 0));
  pumpMessages();
  EXPECT_TRUE(pixelNear(rgbOf(GetPixel(dc.get(), 0, 0)), 0xFF0000, 0, 0, 0));
  EXPECT_TRUE(pixelNear(rgbOf(GetPixel(dc.get(), w / 2, 2)), 0x0000FF, w / 2, 2, 0));
}

TEST_F(EditBox, AHiddenBoxGetsItsFramePaintedWhenShown) {
  ShowWindow(window_, SW_HIDE);
  edit_.bindEdit(window_);
  edit_.setBackColor(RGB(0, 0, 255));
  EXPECT_EQ(readProperty(window_, kPropCacheBitmap), 0) << "nothing painted while hidden";
  ShowWindow(window_, SW_SHOW);
  pumpMessages();
  WindowDc dc(window_, true);
  RECT r;
  GetWindowRect(window_, &r);
  EXPECT_TRUE(pixelNear(rgbOf(GetPixel(dc.get(), 0, 0)), rgbOf(0x7B8084), 0, 0, 0));
  EXPECT_TRUE(pixelNear(rgbOf(GetPixel(dc.get(), 4, 4)), 0x0000FF, 4, 4, 0));
  EXPECT_NE(readProperty(window_, kPropCacheBitmap), 0);
}

TEST_F(EditBox, TextIsTheControlsCurrentText) {
  edit_.bindEdit(window_);
  EXPECT_EQ(edit_.text(), "");
  SetWindowTextA(window_, "请在此输入");
  EXPECT_EQ(edit_.text(), "请在此输入");
}

TEST_F(EditBox, TheParentAnswersItsColourMessagesWithItsTextColour) {
  edit_.bindEdit(window_);
  edit_.setTextColor(RGB(200, 10, 20));
  WindowDc dc(window_);
  const LRESULT brush = SendMessageA(parent_, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.get()),
                                     reinterpret_cast<LPARAM>(window_));
  EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(GetTextColor(dc.get()), RGB(200, 10, 20));
  EXPECT_EQ(GetBkMode(dc.get()), TRANSPARENT);
}

}  // namespace
