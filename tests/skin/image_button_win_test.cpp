#include <gtest/gtest.h>

#include "skin/image_button_win.h"
#include "skin/owned_images_win.h"
#include "tests/skin/control_test_support_win.h"
#include "tests/skin/surface_test_support_win.h"

using namespace control_test;

namespace {

constexpr COLORREF kParentFill = RGB(40, 80, 120);

Gdiplus::ARGB opaque(COLORREF c) { return 0xFF000000 | rgbOf(c); }

class ImageButton : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    parent_ = makeParent(true);
    SetPropA(parent_, kFillProperty, reinterpret_cast<HANDLE>(static_cast<intptr_t>(kParentFill)));
    window_ = addChild(parent_, "Button", 0, 10, 10, 20, 20);
    normal_ = solid(RGB(255, 0, 0));
    hover_ = solid(RGB(0, 255, 0));
    pressed_ = solid(RGB(0, 0, 255));
    disabled_ = solid(RGB(128, 128, 128));
  }

  static UniqueGpImage solid(COLORREF c) {
    return makeImage(20, 20, [c](int, int) { return opaque(c); });
  }

  void bindWithAllLooks() {
    button_.bindButton(window_, normal_.get());
    button_.setImages(std::nullopt, hover_.get(), pressed_.get(), disabled_.get());
    InvalidateRect(parent_, nullptr, TRUE);
    pumpMessages();
  }

  DWORD shown() { return windowPixel(window_, 10, 10); }

  HWND parent_ = nullptr;
  HWND window_ = nullptr;
  PngButton button_;
  UniqueGpImage normal_, hover_, pressed_, disabled_;
};

TEST_F(ImageButton, BindMakesAnOwnerDrawnToolkitButton) {
  const LONG_PTR classProc = GetWindowLongPtrA(window_, GWLP_WNDPROC);
  button_.bindButton(window_, normal_.get());
  EXPECT_EQ(readProperty(window_, kPropType), kKindButton);
  EXPECT_EQ(readProperty(window_, kPropNormalImage), reinterpret_cast<intptr_t>(normal_.get()));
  EXPECT_EQ(GetWindowLongPtrA(window_, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  EXPECT_EQ(GetWindowLongPtrA(window_, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(buttonProc));
  EXPECT_EQ(readProperty(window_, kPropWndProc), classProc);
  PngButton().bindButton(window_);
  EXPECT_EQ(readProperty(window_, kPropWndProc), classProc) << "the first saved procedure stays";
  EXPECT_EQ(readProperty(window_, kPropNormalImage), reinterpret_cast<intptr_t>(normal_.get()));

  PngButton created;
  HWND made = created.create(parent_, 40, 10, 20, 20, "add");
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(readProperty(made, kPropType), kKindButton);
  EXPECT_EQ(PngButton().create(reinterpret_cast<HWND>(0x1234), 0, 0, 5, 5, ""), nullptr);
}

TEST_F(ImageButton, DrawStateFollowsItsTransitionTable) {
  bindWithAllLooks();
  EXPECT_TRUE(pixelNear(shown(), rgbOf(RGB(255, 0, 0)), 10, 10));

  struct Step {
    const char* name;
    UINT message;
    WPARAM wParam;
    intptr_t state;
  };
  const Step steps[] = {
      {"mouse over", WM_MOUSEMOVE, 0, kDrawHover},
      {"moving within", WM_MOUSEMOVE, 0, kDrawHover},
      {"pushed by BM_SETSTATE", BM_SETSTATE, 1, kDrawPressed},
      {"moving while pressed", WM_MOUSEMOVE, 0, kDrawPressed},
      {"focus while pressed", WM_SETFOCUS, 0, kDrawHover},
      {"released by BM_SETSTATE while focused", BM_SETSTATE, 0, kDrawHover},
      {"focus lost while hovered", WM_KILLFOCUS, 0, kDrawNormal},
      {"released by BM_SETSTATE without focus", BM_SETSTATE, 0, kDrawNormal},
      {"focus while normal", WM_SETFOCUS, 0, kDrawNormal},
      {"leave", WM_MOUSELEAVE, 0, kDrawNormal},
      {"disabled", WM_ENABLE, FALSE, kDrawDisabled},
      {"mouse over while disabled", WM_MOUSEMOVE, 0, kDrawHover},
      {"enabled", WM_ENABLE, TRUE, kDrawNormal},
  };
  const COLORREF looks[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(128, 128, 128)};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    SendMessageA(window_, step.message, step.wParam, 0);
    EXPECT_EQ(readProperty(window_, kPropDrawState), step.state);
    EXPECT_TRUE(pixelNear(shown(), rgbOf(looks[step.state]), 10, 10)) << "redrawn at once";
  }
}

TEST_F(ImageButton, AClickShowsPressedThenHover) {
  bindWithAllLooks();
  SendMessageA(window_, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  SendMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(readProperty(window_, kPropDrawState), kDrawPressed);
  SendMessageA(window_, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(readProperty(window_, kPropDrawState), kDrawHover);
  EXPECT_TRUE(pixelNear(shown(), rgbOf(RGB(0, 255, 0)), 10, 10));
  auto clicked = lastLogged(parent_, WM_COMMAND);
  ASSERT_TRUE(clicked.has_value()) << "the click still reaches the parent";
  EXPECT_EQ(HIWORD(clicked->wParam), BN_CLICKED);
}

TEST_F(ImageButton, MissingLooksFallBackToTheNormalImage) {
  button_.bindButton(window_, normal_.get());
  InvalidateRect(parent_, nullptr, TRUE);
  pumpMessages();
  for (WPARAM pushed : {1, 0}) {
    SendMessageA(window_, BM_SETSTATE, pushed, 0);
    EXPECT_TRUE(pixelNear(shown(), rgbOf(RGB(255, 0, 0)), 10, 10));
  }
  SendMessageA(window_, WM_ENABLE, FALSE, 0);
  EXPECT_TRUE(pixelNear(shown(), rgbOf(RGB(255, 0, 0)), 10, 10));
}

TEST_F(ImageButton, SetImagesChangesOnlyTheLooksGiven) {
  bindWithAllLooks();
  button_.setImages();
  EXPECT_EQ(readProperty(window_, kPropOverlImage), reinterpret_cast<intptr_t>(hover_.get()));
  button_.setImages(std::nullopt, normal_.get());
  EXPECT_EQ(readProperty(window_, kPropNormalImage), reinterpret_cast<intptr_t>(normal_.get()));
  EXPECT_EQ(readProperty(window_, kPropOverlImage), reinterpret_cast<intptr_t>(normal_.get()));
  EXPECT_EQ(readProperty(window_, kPropDownImage), reinterpret_cast<intptr_t>(pressed_.get()));
  EXPECT_EQ(readProperty(window_, kPropDisableImage), reinterpret_cast<intptr_t>(disabled_.get()));
}

TEST_F(ImageButton, DecodedLooksDoNotPileUp) {
  bindWithAllLooks();
  auto blue = surface_test::solidImage(20, 20, 0xFF0000FF);
  const auto png = surface_test::pngBytes(blue.get());
  for (int i = 0; i < 5; ++i) button_.setImagesFromBytes(png, png, png);
  EXPECT_EQ(decodedImageCount(window_), 3u);

  const std::vector<std::uint8_t> junk = {'n', 'o', 't'};
  button_.setImagesFromBytes(std::nullopt, junk);
  EXPECT_EQ(readProperty(window_, kPropOverlImage), 0) << "an undecodable look is removed";
  EXPECT_EQ(decodedImageCount(window_), 2u);
  SendMessageA(window_, WM_MOUSEMOVE, 0, 0);
  EXPECT_TRUE(pixelNear(shown(), 0x0000FF, 10, 10)) << "hover falls back to the normal image";

  button_.setImages(normal_.get());
  EXPECT_EQ(decodedImageCount(window_), 1u) << "the decoded normal image it replaced is disposed";
  DestroyWindow(window_);
  EXPECT_EQ(decodedImageCount(window_), 0u);
  EXPECT_EQ(GetPropA(window_, kPropType), nullptr);
}

LRESULT CALLBACK destroyingParentProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) DestroyWindow(reinterpret_cast<HWND>(lParam));
  return DefWindowProcA(w, message, wParam, lParam);
}

TEST(ImageButtonClick, AHandlerMayDestroyItsButton) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = destroyingParentProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "DestroyingParent";
  RegisterClassA(&wc);
  UniqueWindow parent(CreateWindowExA(0, "DestroyingParent", "", WS_POPUP | WS_VISIBLE, 300, 300, 100, 100,
                                      nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
  HWND window = CreateWindowExA(0, "Button", "", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, parent.get(), nullptr,
                                nullptr, nullptr);
  PngButton button;
  button.bindButton(window);
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(decodedImageCount(window), 0u);
}

}  // namespace
