// The about window on real windows under Wine: its template, one window at a
// time, and its images going with it.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "about/about_window_win.h"
#include "skin/toolkit_start_win.h"
#include "tests/support/pump_messages_win.h"

namespace {

// Committed private memory. Wine reports PrivateUsage as 0; PagefileUsage is the same figure on Windows.
std::size_t committedBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  return counters.PagefileUsage;
}

std::vector<HWND> topLevelWindowsTitled(const std::string& title) {
  struct Search {
    std::string title;
    std::vector<HWND> found;
  } search{title, {}};
  EnumWindows(
      [](HWND window, LPARAM parameter) {
        auto& s = *reinterpret_cast<Search*>(parameter);
        char text[64] = {};
        GetWindowTextA(window, text, sizeof text);
        if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId() && IsWindowVisible(window) &&
            s.title == text) {
          s.found.push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class AboutWindow : public testing::Test {
 protected:
  static void SetUpTestSuite() { startToolkit(); }
  void TearDown() override {
    if (int window = aboutWindow()) destroyWindow(window);
    pumpMessages();
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // posted when the last window went
  }
};

TEST_F(AboutWindow, OpensWithoutOwnerAndReturnsAtOnceWithItsFourButtons) {
  const int window = openAboutWindow();
  ASSERT_NE(window, 0);
  EXPECT_EQ(aboutWindow(), window);
  HWND handle = windowHandle(window);
  EXPECT_TRUE(IsWindowVisible(handle));
  EXPECT_EQ(GetWindow(handle, GW_OWNER), nullptr);
  EXPECT_TRUE(GetWindowLongPtrA(handle, GWL_EXSTYLE) & WS_EX_LAYERED);
  RECT rect{};
  GetWindowRect(handle, &rect);
  EXPECT_EQ(rect.left, 50);
  EXPECT_EQ(rect.top, 50);
  EXPECT_EQ(rect.right - rect.left, 427);
  EXPECT_EQ(rect.bottom - rect.top, 284);

  struct Button {
    const char* name;
    RECT rect;
    const char* text;
  };
  const Button buttons[] = {
      {kAboutCloseButton, {367, -5, 428, 30}, "关闭"},
      {kProductCentreButton, {52, 204, 374, 224}, "产品中心"},
      {kColourButton, {206, 238, 222, 254}, "更改文本颜色"},
      {kOnlineButton, {344, 240, 422, 265}, "在线咨询"},
  };
  for (const Button& b : buttons) {
    SCOPED_TRACE(b.name);
    const auto control = findControl(window, b.name);
    ASSERT_TRUE(control);
    const RECT at = controlRect(*control);
    EXPECT_EQ(at.left, b.rect.left);
    EXPECT_EQ(at.top, b.rect.top);
    EXPECT_EQ(at.right, b.rect.right);
    EXPECT_EQ(at.bottom, b.rect.bottom);
    EXPECT_EQ(controlText(*control), b.text);  // never drawn; read by screen readers
  }
}

TEST_F(AboutWindow, OpeningAgainRaisesTheOpenWindow) {
  const int first = openAboutWindow();
  pumpMessages();
  EXPECT_EQ(openAboutWindow(), first);
  pumpMessages();
  EXPECT_EQ(topLevelWindowsTitled(kAboutTitle).size(), 1u);
}

TEST_F(AboutWindow, ClosingReleasesTheWindowAndItsImages) {
  auto openAndClose = [] {
    const int window = openAboutWindow();
    pumpMessages();
    destroyWindow(window);
    pumpMessages();
  };
  for (int i = 0; i < 3; ++i) openAndClose();  // first-use allocations settle
  EXPECT_EQ(aboutWindow(), 0);
  EXPECT_TRUE(topLevelWindowsTitled(kAboutTitle).empty());

  const std::size_t before = committedBytes();
  for (int i = 0; i < 40; ++i) openAndClose();
  const std::size_t after = committedBytes();
  // Each window decodes about 640 KB of images: kept, 40 windows would hold 25 MB.
  EXPECT_LT(after, before + 8u * 1024 * 1024) << "grew by " << (after - before) / 1024 << " KB";
}

}  // namespace
