#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/form_runtime_win.h"

namespace {

void pumpMessages() {
  MSG msg;
  for (int round = 0; round < 3; ++round) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(2);
  }
}

WindowTemplate sampleTemplate() {
  WindowTemplate form;
  form.title = "样板";
  form.left = 500;
  form.top = 400;
  form.width = 207;
  form.height = 46;
  form.controls = {
      {"添加按钮", ControlKind::kButton, 144, 1, 32, 15, ""},
      {"编辑框1", ControlKind::kEdit, 6, 27, 170, 20, "请输入...", true, 0, 26},
      {"删除按钮", ControlKind::kButton, 189, 28, 16, 16, "", false},
      {"气球提示框1", ControlKind::kBalloonTip, 56, 0, 16, 16, ""},
  };
  return form;
}

// Each test ends with no window left, so the runtime's loop state is clean.
class FormRuntime : public testing::Test {
 protected:
  void TearDown() override {
    for (int window : opened_) destroyWindow(window);
    pumpMessages();
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // posted when the last window went
  }
  int open(WindowHandlers handlers = {}, WindowTemplate form = sampleTemplate()) {
    const int window = loadWindow(form, std::move(handlers));
    opened_.push_back(window);
    pumpMessages();
    return window;
  }
  std::vector<int> opened_;
};

TEST_F(FormRuntime, CreatedRunsInsideTheLoadWithControlsMadeAndTheWindowHidden) {
  bool ran = false;
  WindowHandlers handlers;
  handlers.created = [&](int window) {
    ran = true;
    EXPECT_FALSE(IsWindowVisible(windowHandle(window))) << "built while hidden";
    auto edit = findControl(window, "编辑框1");
    ASSERT_TRUE(edit.has_value());
    EXPECT_EQ(controlText(*edit), "请输入...");
  };
  const int window = open(std::move(handlers));
  EXPECT_TRUE(ran);
  ASSERT_NE(window, 0);
  EXPECT_TRUE(IsWindowVisible(windowHandle(window)));
  EXPECT_EQ(windowRect(window).left, 500);
  EXPECT_EQ(windowRect(window).right - windowRect(window).left, 207);

  char cls[32];
  GetClassNameA(controlHandle(*findControl(window, "编辑框1")), cls, sizeof cls);
  EXPECT_STREQ(cls, "Edit");
  EXPECT_EQ(SendMessageA(controlHandle(*findControl(window, "编辑框1")), EM_GETLIMITTEXT, 0, 0), 26);
  EXPECT_FALSE(IsWindowVisible(controlHandle(*findControl(window, "删除按钮"))));
  EXPECT_EQ(controlHandle(*findControl(window, "气球提示框1")), nullptr) << "no window of its own";
  EXPECT_FALSE(findControl(window, "nothing").has_value());
}

TEST_F(FormRuntime, CopiesKeepTheirSettingsAndReachTheTemplatesHandler) {
  std::vector<ControlRef> senders;
  WindowHandlers handlers;
  handlers.clicked["添加按钮"] = [&] { senders.push_back(eventSender()); };
  const int window = open(std::move(handlers));
  const ControlRef original = *findControl(window, "添加按钮");
  auto copy = copyControl(original);
  ASSERT_TRUE(copy.has_value());
  EXPECT_NE(*copy, original);
  moveControl(*copy, std::nullopt, 27);
  const RECT moved = controlRect(*copy);
  EXPECT_EQ(moved.left, 144);
  EXPECT_EQ(moved.top, 27);
  EXPECT_EQ(moved.right - moved.left, 32);

  SendMessageA(controlHandle(original), BM_CLICK, 0, 0);
  SendMessageA(controlHandle(*copy), BM_CLICK, 0, 0);
  EXPECT_EQ(senders, (std::vector<ControlRef>{original, *copy}));

  auto hiddenCopy = copyControl(*findControl(window, "删除按钮"));
  ASSERT_TRUE(hiddenCopy.has_value());
  EXPECT_FALSE(IsWindowVisible(controlHandle(*hiddenCopy)));
  setControlVisible(*hiddenCopy, true);
  EXPECT_TRUE(IsWindowVisible(controlHandle(*hiddenCopy)));

  auto editCopy = copyControl(*findControl(window, "编辑框1"));
  ASSERT_TRUE(editCopy.has_value());
  EXPECT_EQ(SendMessageA(controlHandle(*editCopy), EM_GETLIMITTEXT, 0, 0), 26);
  EXPECT_EQ(SendMessageA(controlHandle(*editCopy), WM_GETFONT, 0, 0),
            SendMessageA(controlHandle(*findControl(window, "编辑框1")), WM_GETFONT, 0, 0));

  destroyControl(*copy);
  EXPECT_EQ(controlHandle(*copy), nullptr);
  EXPECT_EQ(controlHandle(*editCopy) != nullptr, true) << "other ids stay valid";
}

TEST_F(FormRuntime, EditEventsNameTheirSender) {
  std::vector<std::string> events;
  WindowHandlers handlers;
  handlers.textChanged["编辑框1"] = [&] { events.push_back("changed:" + controlText(eventSender())); };
  handlers.lostFocus["编辑框1"] = [&] { events.push_back("lost:" + controlText(eventSender())); };
  const int window = open(std::move(handlers));
  const ControlRef edit = *findControl(window, "编辑框1");
  SetFocus(controlHandle(edit));
  setControlText(edit, "十点开会");
  SetFocus(controlHandle(*findControl(window, "添加按钮")));
  EXPECT_EQ(events, (std::vector<std::string>{"changed:十点开会", "lost:十点开会"}));
}

TEST_F(FormRuntime, WindowEventsReachTheirHandlers) {
  std::vector<std::string> events;
  WindowHandlers handlers;
  handlers.positionChanged = [&](int window) {
    events.push_back("moved to " + std::to_string(windowRect(window).left));
  };
  handlers.trayEvent = [&](int, int action) { events.push_back("tray " + std::to_string(action)); };
  handlers.sessionEnding = [&](int) { events.push_back("session ends"); };
  const int window = open(std::move(handlers));
  events.clear();
  moveWindow(window, 520, std::nullopt);
  for (LPARAM mouse : {WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP, WM_MOUSEMOVE}) {
    SendMessageA(windowHandle(window), WM_APP + 1, 1, mouse);
  }
  SendMessageA(windowHandle(window), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(events, (std::vector<std::string>{"moved to 520", "tray 1", "tray 2", "tray 3", "session ends"}));
  EXPECT_EQ(windowRect(window).top, 400);
}

TEST_F(FormRuntime, DeactivationIsReported) {
  int deactivated = 0;
  WindowHandlers handlers;
  handlers.deactivated = [&](int) { ++deactivated; };
  const int first = open(std::move(handlers));
  SetActiveWindow(windowHandle(first));
  pumpMessages();
  const int before = deactivated;
  WindowTemplate other = sampleTemplate();
  other.left = 800;
  const int second = open({}, other);
  SetActiveWindow(windowHandle(second));
  pumpMessages();
  EXPECT_GT(deactivated, before);
}

TEST_F(FormRuntime, TheBackgroundDragsTheWindowAndControlsDoNot) {
  WindowTemplate form = sampleTemplate();
  form.dragByBackground = true;
  const int window = open({}, form);
  EXPECT_EQ(SendMessageA(windowHandle(window), WM_NCHITTEST, 0, MAKELPARAM(500 + 100, 400 + 10)), HTCAPTION);
  WindowTemplate still = sampleTemplate();
  still.left = 800;
  const int plain = open({}, still);
  EXPECT_EQ(SendMessageA(windowHandle(plain), WM_NCHITTEST, 0, MAKELPARAM(800 + 100, 400 + 10)), HTCLIENT);
}

TEST_F(FormRuntime, DestroyRunsWillBeDestroyedFirstAndTheLastWindowEndsTheLoop) {
  std::vector<std::string> events;
  WindowHandlers handlers;
  handlers.willBeDestroyed = [&](int window) {
    events.push_back(IsWindow(windowHandle(window)) ? "destroying, still a window" : "too late");
  };
  const int window = loadWindow(sampleTemplate(), std::move(handlers));
  ASSERT_NE(window, 0);
  PostMessageA(windowHandle(window), WM_CLOSE, 0, 0);  // DefWindowProc destroys it
  EXPECT_EQ(runMessageLoop(), 0) << "returns once no window is left";
  EXPECT_EQ(events, (std::vector<std::string>{"destroying, still a window"}));
  EXPECT_EQ(windowHandle(window), nullptr);
}

TEST_F(FormRuntime, AModalLoadDisablesTheOwnerAndReturnsAfterTheClose) {
  const int owner = open();
  bool ownerWasEnabled = true;
  WindowHandlers handlers;
  handlers.created = [&](int window) { PostMessageA(windowHandle(window), WM_CLOSE, 0, 0); };
  handlers.willBeDestroyed = [&](int) { ownerWasEnabled = IsWindowEnabled(windowHandle(owner)); };
  WindowTemplate dialog = sampleTemplate();
  dialog.style = WS_POPUP | WS_CAPTION;
  const int modal = loadWindow(dialog, std::move(handlers), owner, true);
  EXPECT_NE(modal, 0);
  EXPECT_EQ(windowHandle(modal), nullptr) << "closed before the load returned";
  EXPECT_FALSE(ownerWasEnabled);
  EXPECT_TRUE(IsWindowEnabled(windowHandle(owner)));
}

TEST_F(FormRuntime, TrayIconIsAddedAndRemoved) {
  const int window = open();
  HICON icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  EXPECT_TRUE(setTrayIcon(window, icon, "青岚碧溪备忘条v2.0"));
  EXPECT_TRUE(setTrayIcon(window, icon, "another tip")) << "a second set modifies the icon";
  // The shell restarted: the icon is added again without failing.
  SendMessageA(windowHandle(window), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  clearTrayIcon(window);
  EXPECT_FALSE(setTrayIcon(window, nullptr, "no icon"));
}

TEST_F(FormRuntime, ABalloonAppearsAtThePointAndGoesAway) {
  const int window = open();
  const ControlRef balloon = *findControl(window, "气球提示框1");
  showBalloon(balloon, {1260, 996}, "备忘条提醒您：时间到了！", 0);
  pumpMessages();
  HWND tip = FindWindowExA(nullptr, nullptr, "tooltips_class32", nullptr);
  bool shown = false;
  for (; tip; tip = FindWindowExA(nullptr, tip, "tooltips_class32", nullptr)) {
    if (IsWindowVisible(tip) && GetWindow(tip, GW_OWNER) == windowHandle(window)) shown = true;
  }
  EXPECT_TRUE(shown);
  showBalloon(balloon, {1260, 996}, "again", 0);  // a second balloon reuses the window
}

}  // namespace
