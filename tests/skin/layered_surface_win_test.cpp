#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "skin/child_faces_win.h"
#include "skin/control_base_win.h"
#include "skin/layered_surface_win.h"
#include "skin/owned_images_win.h"
#include "skin/picture_box_win.h"
#include "skin/surface_frame_win.h"
#include "tests/skin/surface_test_support_win.h"

using namespace surface_test;

namespace {

constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kHalfRed = 0x80800000;  // premultiplied

bool closeTo(std::uint32_t a, std::uint32_t b, int tolerance = 2) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int da = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(da) > tolerance) return false;
  }
  return true;
}

void setImageProperty(HWND window, const char* name, const UniqueGpImage& image) {
  writeProperty(window, name, reinterpret_cast<intptr_t>(image.get()));
}

class LayeredSurface : public testing::Test {
 protected:
  void SetUp() override {
    window_ = makeSurfaceWindow(700, 300, 100, 60);
    ASSERT_TRUE(window_);
    ASSERT_TRUE(surface_.bindSurface(window_.get()));
    ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
    pumpMessages();
  }

  std::uint32_t pixel(int x, int y) const {
    const SurfaceFrame* frame = surfaceFrame(window_.get());
    if (!frame) {
      ADD_FAILURE() << "no composition";
      return 0xDEADBEEF;
    }
    return frame->view().pixels[y * frame->width() + x];
  }

  // A child that carries toolkit properties set by hand, as the kinds' bind
  // operations would leave them.
  HWND typedChild(const char* cls, int kind, int x, int y, int width, int height) {
    HWND child = makeChild(window_.get(), cls, x, y, width, height);
    writeProperty(child, kPropType, kind);
    return child;
  }

  UniqueWindow window_;
  PngLayeredWindow surface_;
};

TEST_F(LayeredSurface, BindMakesTheWindowLayeredAloneWithOneCaretTimer) {
  EXPECT_EQ(GetWindowLongPtrA(window_.get(), GWL_EXSTYLE), WS_EX_LAYERED) << "WS_EX_TOOLWINDOW is cleared";
  EXPECT_EQ(readProperty(window_.get(), kPropTime), 64);
  EXPECT_TRUE(PngLayeredWindow().bindSurface(window_.get()));
  EXPECT_EQ(readProperty(window_.get(), kPropTime), 64);
  EXPECT_FALSE(PngLayeredWindow().bindSurface(reinterpret_cast<HWND>(0x1234)));
}

TEST_F(LayeredSurface, WithNothingToDrawItPushesATransparentWindow) {
  surface_.refresh();
  for (int y = 0; y < 60; y += 7) {
    for (int x = 0; x < 100; x += 9) ASSERT_EQ(pixel(x, y), 0u) << x << ", " << y;
  }
}

TEST_F(LayeredSurface, ComposesBackgroundAndPictureInPremultipliedPixels) {
  auto background = solidImage(100, 60, kBlue);
  auto picture = solidImage(20, 10, kHalfRed);
  HWND box = typedChild("Static", kKindPicture, 10, 10, 30, 20);
  setImageProperty(box, kPropBackImage, picture);
  ASSERT_TRUE(surface_.setBackImage(background.get()));
  surface_.refresh();

  EXPECT_EQ(pixel(5, 5), kBlue);
  EXPECT_TRUE(closeTo(pixel(15, 15), 0xFF80007F)) << std::hex << pixel(15, 15);  // half red over blue
  EXPECT_EQ(pixel(35, 15), kBlue) << "the box's own size, not the image's, is not filled";

  // Fitted and centred: 20x10 in 30x20 stays 20x10 at (15, 15).
  writeProperty(box, kPropBackType, kBackFitCentre);
  surface_.refresh();
  EXPECT_EQ(pixel(12, 12), kBlue);
  EXPECT_TRUE(closeTo(pixel(16, 16), 0xFF80007F));
  // Stretched over the whole box.
  writeProperty(box, kPropBackType, kBackStretch);
  surface_.refresh();
  EXPECT_TRUE(closeTo(pixel(38, 28), 0xFF80007F));
}

TEST_F(LayeredSurface, DrawsAnOversizedImageCutAtTheChildsEdges) {
  auto big = solidImage(40, 40, kHalfRed);
  HWND box = typedChild("Static", kKindPicture, 10, 10, 20, 20);
  setImageProperty(box, kPropBackImage, big);
  surface_.refresh();
  EXPECT_TRUE(closeTo(pixel(29, 29), kHalfRed));
  EXPECT_EQ(pixel(30, 30), 0u);
}

TEST_F(LayeredSurface, HiddenTypedChildrenAreDrawnAndUntypedOnesAreNot) {
  auto picture = solidImage(10, 10, kBlue);
  HWND hidden = typedChild("Static", kKindPicture, 0, 0, 10, 10);
  ShowWindow(hidden, SW_HIDE);
  setImageProperty(hidden, kPropBackImage, picture);
  HWND plain = makeChild(window_.get(), "Static", 20, 0, 10, 10);
  setImageProperty(plain, kPropBackImage, picture);
  surface_.refresh();
  EXPECT_EQ(pixel(5, 5), kBlue);
  EXPECT_EQ(pixel(25, 5), 0u);
}

TEST_F(LayeredSurface, TakesEachTypedChildOverOnce) {
  HWND button = typedChild("Button", kKindButton, 0, 0, 10, 10);
  const LONG_PTR buttonClassProc = GetWindowLongPtrA(button, GWLP_WNDPROC);
  HWND edit = typedChild("Edit", kKindEdit, 20, 0, 30, 20);
  // A child still in its ordinary toolkit procedure gets its old one back first.
  const LONG_PTR editClassProc = GetWindowLongPtrA(edit, GWLP_WNDPROC);
  writeProperty(edit, kPropWndProc, editClassProc);
  SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
  HWND plain = makeChild(window_.get(), "Static", 60, 0, 10, 10);
  const LONG_PTR plainProc = GetWindowLongPtrA(plain, GWLP_WNDPROC);

  surface_.refresh();
  surface_.refresh();
  EXPECT_EQ(GetWindowLongPtrA(button, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(layeredButtonProc));
  EXPECT_EQ(readProperty(button, kPropChildWndProc), buttonClassProc);
  EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(layeredEditProc));
  EXPECT_EQ(readProperty(edit, kPropChildWndProc), editClassProc);
  EXPECT_EQ(readProperty(edit, kPropWndProc), 0);
  EXPECT_EQ(GetWindowLongPtrA(plain, GWLP_WNDPROC), plainProc);

  HWND later = typedChild("Button", kKindButton, 0, 20, 10, 10);
  surface_.refresh();
  EXPECT_EQ(GetWindowLongPtrA(later, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(layeredButtonProc));
}

int paintsSeen = 0;
WNDPROC editClassProc = nullptr;
LRESULT CALLBACK countingEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) ++paintsSeen;
  return CallWindowProcA(editClassProc, window, message, wParam, lParam);
}

TEST_F(LayeredSurface, TakenOverChildrenAreNeitherInvalidatedNorPainted) {
  HWND bar = makeChild(window_.get(), "Static", 0, 0, 40, 10);
  PngPictureBox picture;
  picture.bindPicture(bar);
  HWND edit = typedChild("Edit", kKindEdit, 0, 0, 40, 10);
  surface_.refresh();
  pumpMessages();

  auto image = solidImage(40, 10, kBlue);
  picture.setBackImage(image.get());
  EXPECT_FALSE(GetUpdateRect(bar, nullptr, FALSE)) << "only the surface's composition is seen";
  EXPECT_FALSE(GetUpdateRect(window_.get(), nullptr, FALSE));

  // The edit's class procedure sits behind the toolkit's: count what reaches it.
  editClassProc = reinterpret_cast<WNDPROC>(readProperty(edit, kPropChildWndProc));
  writeProperty(edit, kPropChildWndProc, reinterpret_cast<intptr_t>(countingEditProc));
  InvalidateRect(edit, nullptr, TRUE);
  UpdateWindow(edit);
  EXPECT_EQ(paintsSeen, 0);
  EXPECT_FALSE(GetUpdateRect(edit, nullptr, FALSE)) << "validated all the same";
  writeProperty(edit, kPropChildWndProc, reinterpret_cast<intptr_t>(editClassProc));
}

TEST_F(LayeredSurface, ButtonStatesFollowMouseAndEnableMessages) {
  auto normal = solidImage(10, 10, 0xFF000010);
  auto hover = solidImage(10, 10, 0xFF000020);
  auto pressed = solidImage(10, 10, 0xFF000030);
  auto disabled = solidImage(10, 10, 0xFF000040);
  HWND button = typedChild("Button", kKindButton, 0, 0, 10, 10);
  setImageProperty(button, kPropNormalImage, normal);
  setImageProperty(button, kPropOverlImage, hover);
  setImageProperty(button, kPropDownImage, pressed);
  setImageProperty(button, kPropDisableImage, disabled);
  surface_.refresh();

  struct Step {
    const char* name;
    UINT message;
    WPARAM wParam;
    intptr_t state;
    std::uint32_t shown;
  };
  const Step steps[] = {
      {"mouse over", WM_MOUSEMOVE, 0, kDrawHover, 0xFF000020},
      {"moving within keeps hover", WM_MOUSEMOVE, 0, kDrawHover, 0xFF000020},
      {"press", WM_LBUTTONDOWN, MK_LBUTTON, kDrawPressed, 0xFF000030},
      {"moving while pressed", WM_MOUSEMOVE, MK_LBUTTON, kDrawPressed, 0xFF000030},
      {"release after press", WM_LBUTTONUP, 0, kDrawHover, 0xFF000020},
      {"leave", WM_MOUSELEAVE, 0, kDrawNormal, 0xFF000010},
      {"release without press", WM_LBUTTONUP, 0, kDrawNormal, 0xFF000010},
      {"disabled", WM_ENABLE, FALSE, kDrawDisabled, 0xFF000040},
      {"enabled", WM_ENABLE, TRUE, kDrawNormal, 0xFF000010},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    SendMessageA(button, step.message, step.wParam, 0);
    EXPECT_EQ(readProperty(button, kPropDrawState), step.state);
    EXPECT_EQ(pixel(5, 5), step.shown);
  }

  // A state without its own image shows the normal one.
  writeProperty(button, kPropOverlImage, 0);
  SendMessageA(button, WM_MOUSEMOVE, 0, 0);
  EXPECT_EQ(pixel(5, 5), 0xFF000010u);
}

TEST_F(LayeredSurface, EditBoxFaceHasFillBorderAndOpaqueText) {
  HWND edit = typedChild("Edit", kKindEdit, 10, 10, 80, 24);
  UniqueFont font(CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体"));
  SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  SetWindowTextA(edit, "测试文字");
  writeProperty(edit, kPropBackColor, RGB(0, 0, 255));  // blue in COLORREF terms
  writeProperty(edit, kPropBackAlpha, 128);
  writeProperty(edit, kPropOrderColor, RGB(0, 255, 0));
  writeProperty(edit, kPropOrderAlpha, 255);
  writeProperty(edit, kPropTextColor, RGB(255, 255, 255));
  surface_.refresh();

  EXPECT_TRUE(closeTo(pixel(50, 12), 0x80000080)) << std::hex << pixel(50, 12);  // half blue fill
  EXPECT_EQ(pixel(10, 20), 0xFF00FF00u) << "border";
  EXPECT_EQ(pixel(5, 5), 0u) << "outside the box";
  int opaqueWhite = 0;
  for (int y = 13; y < 31; ++y) {
    for (int x = 13; x < 88; ++x) opaqueWhite += pixel(x, y) == 0xFFFFFFFF;
  }
  EXPECT_GT(opaqueWhite, 20) << "the text is drawn opaque in its colour";

  // Without fill and border only the text remains; alpha 0 fill is invisible.
  writeProperty(edit, kPropBackColor, -1);
  writeProperty(edit, kPropOrderColor, -1);
  surface_.refresh();
  EXPECT_EQ(pixel(50, 12), 0u);
  EXPECT_EQ(pixel(10, 20), 0u);

  // An empty text draws nothing at all.
  SetWindowTextA(edit, "");
  surface_.refresh();
  for (int y = 10; y < 34; ++y) {
    for (int x = 10; x < 90; ++x) ASSERT_EQ(pixel(x, y), 0u);
  }
}

TEST_F(LayeredSurface, TypingRecomposesWithTheNewText) {
  HWND edit = typedChild("Edit", kKindEdit, 0, 0, 100, 24);
  UniqueFont font(CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体"));
  SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  writeProperty(edit, kPropBackColor, -1);
  writeProperty(edit, kPropOrderColor, -1);
  writeProperty(edit, kPropTextColor, RGB(255, 255, 255));
  surface_.refresh();
  auto inked = [&] {
    int n = 0;
    for (int y = 0; y < 24; ++y) {
      for (int x = 0; x < 100; ++x) n += pixel(x, y) != 0;
    }
    return n;
  };
  EXPECT_EQ(inked(), 0);
  SendMessageA(edit, WM_CHAR, 'W', 0);
  const int one = inked();
  EXPECT_GT(one, 0);
  SendMessageA(edit, WM_CHAR, 'W', 0);
  EXPECT_GT(inked(), one);
}

TEST_F(LayeredSurface, TypingRecomposesOnlyTheEditBoxKeepingWhatLiesAboveIt) {
  auto blue = solidImage(100, 60, kBlue);
  ASSERT_TRUE(surface_.setBackImage(blue.get()));
  HWND edit = typedChild("Edit", kKindEdit, 0, 0, 60, 24);
  writeProperty(edit, kPropBackColor, RGB(0, 255, 0));
  writeProperty(edit, kPropBackAlpha, 255);
  writeProperty(edit, kPropOrderColor, -1);
  // Created after the edit box, so drawn above it, overlapping its right end.
  auto redImage = solidImage(20, 10, 0xFFFF0000);
  HWND above = typedChild("Static", kKindPicture, 50, 5, 20, 10);
  setImageProperty(above, kPropBackImage, redImage);
  auto blackImage = solidImage(20, 20, 0xFF000000);
  HWND elsewhere = typedChild("Static", kKindPicture, 70, 30, 20, 20);
  surface_.refresh();
  ASSERT_EQ(pixel(75, 35), kBlue) << "no image yet";

  // Changed behind the surface's back: only a composition of its area shows it.
  setImageProperty(elsewhere, kPropBackImage, blackImage);
  SendMessageA(edit, WM_CHAR, 'W', 0);
  EXPECT_EQ(pixel(75, 35), kBlue) << "outside the edit box nothing is composed";
  EXPECT_EQ(pixel(5, 20), 0xFF00FF00u) << "the edit box's face";
  EXPECT_EQ(pixel(55, 10), 0xFFFF0000u) << "the picture above the edit box stays above";
  EXPECT_EQ(pixel(65, 10), 0xFFFF0000u) << "also where it reaches past the edit box";
  surface_.refresh();
  EXPECT_EQ(pixel(75, 35), 0xFF000000u) << "a refresh composes everything";
}

TEST_F(LayeredSurface, CaretLineBlinksOnTicksAndHidesOnEveryComposition) {
  auto white = solidImage(100, 60, 0xFFFFFFFF);
  ASSERT_TRUE(surface_.setBackImage(white.get()));
  HWND edit = typedChild("Edit", kKindEdit, 10, 10, 80, 24);
  writeProperty(edit, kPropBackColor, -1);
  writeProperty(edit, kPropOrderColor, -1);
  surface_.refresh();
  SetFocus(edit);
  pumpMessages();
  ASSERT_EQ(surfaceFocus().edit, edit);
  ASSERT_EQ(surfaceFocus().surface, window_.get());
  EXPECT_EQ(surfaceFocus().caretPhase, 0);

  POINT caret{};
  GetCaretPos(&caret);
  const int lineX = 10 + caret.x + 5;
  const int lineY = 10 + (24 - 12) / 2;
  WindowDc screen(nullptr);
  auto onScreen = [&](int x, int y) { return GetPixel(screen.get(), 700 + x, 300 + y); };
  const COLORREF before = onScreen(lineX, lineY + 5);

  caretTimerProc(window_.get(), WM_TIMER, kCaretTimerId, 0);
  EXPECT_EQ(surfaceFocus().caretPhase, 1);
  EXPECT_EQ(onScreen(lineX, lineY + 5), RGB(0, 0, 0));
  EXPECT_EQ(pixel(lineX, lineY + 5), 0xFFFFFFFFu) << "the kept composition has no line";

  caretTimerProc(window_.get(), WM_TIMER, kCaretTimerId, 0);
  EXPECT_EQ(surfaceFocus().caretPhase, 0);
  EXPECT_EQ(onScreen(lineX, lineY + 5), before);

  caretTimerProc(window_.get(), WM_TIMER, kCaretTimerId, 0);
  SendMessageA(edit, WM_KEYDOWN, VK_END, 0);  // any composition pushes without the line
  EXPECT_EQ(onScreen(lineX, lineY + 5), before);

  SetFocus(nullptr);
  EXPECT_EQ(surfaceFocus().edit, nullptr);
  caretTimerProc(window_.get(), WM_TIMER, kCaretTimerId, 0);
  EXPECT_EQ(onScreen(lineX, lineY + 5), before) << "no focus, no line";
}

TEST_F(LayeredSurface, RefreshFromAnotherThreadComposesOnTheWindowsThread) {
  auto picture = solidImage(10, 10, kBlue);
  HWND box = typedChild("Static", kKindPicture, 0, 0, 10, 10);
  setImageProperty(box, kPropBackImage, picture);
  EXPECT_EQ(surfaceFrame(window_.get()), nullptr);
  std::thread([this] { surface_.refresh(); }).join();
  EXPECT_EQ(surfaceFrame(window_.get()), nullptr) << "nothing composed on the other thread";
  pumpMessages();
  ASSERT_NE(surfaceFrame(window_.get()), nullptr);
  EXPECT_EQ(pixel(5, 5), kBlue);
}

TEST_F(LayeredSurface, ComposesAHiddenSurfaceWhenItIsShown) {
  ShowWindow(window_.get(), SW_HIDE);
  auto background = solidImage(100, 60, kBlue);
  ASSERT_TRUE(surface_.setBackImage(background.get()));
  surface_.refresh();
  EXPECT_EQ(surfaceFrame(window_.get()), nullptr);
  ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
  pumpMessages();
  EXPECT_EQ(pixel(50, 30), kBlue);
}

TEST_F(LayeredSurface, StretchesABackgroundOfAnotherSizeAndFollowsItsReplacement) {
  auto blue = solidImage(50, 30, kBlue);
  ASSERT_TRUE(surface_.setBackImage(blue.get()));
  surface_.refresh();
  EXPECT_EQ(pixel(0, 0), kBlue);
  // GDI+ blends the outermost pixels with the transparent outside.
  EXPECT_EQ(pixel(95, 55), kBlue) << "stretched to the window's size";
  surface_.refresh();
  EXPECT_EQ(pixel(60, 40), kBlue) << "the kept stretch gives the same frame";

  // The replacement may be decoded where the first one lay; its pixels count.
  blue.reset();
  auto red = solidImage(50, 30, 0xFFFF0000);
  ASSERT_TRUE(surface_.setBackImage(red.get()));
  surface_.refresh();
  EXPECT_EQ(pixel(95, 55), 0xFFFF0000u);
  surface_.move(std::nullopt, std::nullopt, 80, 40);
  surface_.refresh();
  EXPECT_EQ(pixel(76, 36), 0xFFFF0000u) << "a new window size stretches anew";
}

TEST_F(LayeredSurface, DecodedBackgroundsAreDisposedWhenReplaced) {
  auto blue = solidImage(100, 60, kBlue);
  const auto bytes = pngBytes(blue.get());
  ASSERT_FALSE(bytes.empty());
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(surface_.setBackImageFromBytes(bytes));
  EXPECT_EQ(decodedImageCount(window_.get()), 1u);
  EXPECT_EQ(pixel(50, 30), kBlue);
  EXPECT_FALSE(surface_.setBackImageFromBytes(std::vector<std::uint8_t>{'n', 'o'}));
  EXPECT_FALSE(surface_.setBackImage(nullptr));
  EXPECT_EQ(pixel(50, 30), kBlue) << "a failed set keeps the background";

  auto caller = solidImage(100, 60, kHalfRed);
  ASSERT_TRUE(surface_.setBackImage(caller.get()));
  EXPECT_EQ(decodedImageCount(window_.get()), 0u) << "the decoded image it replaced is gone";

  ASSERT_TRUE(surface_.setBackImageFromBytes(bytes));
  HWND raw = window_.get();
  window_.reset();
  EXPECT_EQ(decodedImageCount(raw), 0u);
}

TEST_F(LayeredSurface, DestroyedChildrenLeaveNoProperties) {
  HWND button = typedChild("Button", kKindButton, 0, 0, 10, 10);
  HWND box = typedChild("Static", kKindPicture, 20, 0, 10, 10);
  surface_.refresh();
  DestroyWindow(button);
  DestroyWindow(box);
  EXPECT_EQ(GetPropA(button, kPropType), nullptr);
  EXPECT_EQ(GetPropA(box, kPropChildWndProc), nullptr);
}

TEST_F(LayeredSurface, MoveKeepsWhatIsNotGiven) {
  surface_.move(std::nullopt, std::nullopt, 120, 70);
  RECT r;
  GetWindowRect(window_.get(), &r);
  EXPECT_EQ(r.left, 700);
  EXPECT_EQ(r.top, 300);
  EXPECT_EQ(r.right - r.left, 120);
  surface_.move(710);
  GetWindowRect(window_.get(), &r);
  EXPECT_EQ(r.left, 710);
  EXPECT_EQ(r.top, 300);
  EXPECT_EQ(r.bottom - r.top, 70);
}

TEST(ToArgb, SwapsColourBytesAndPutsAlphaOnTop) {
  EXPECT_EQ(toArgb(255, 128), 0x80FF0000u);
  EXPECT_EQ(toArgb(RGB(1, 2, 3), 255), 0xFF010203u);
  EXPECT_EQ(toArgb(0xAA000000 | RGB(1, 2, 3), 0), 0x00010203u) << "the colour's top byte is ignored";
  EXPECT_EQ(toArgb(0, 0x1FF), 0xFF000000u) << "alpha's high bits are lost";
}

}  // namespace
