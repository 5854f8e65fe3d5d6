#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings_window/settings_window_win.h"
#include "tests/support/pump_messages_win.h"

namespace {

// A settings window with only the time box's handlers: nothing touches the strip.
class SettingsWindow : public testing::Test {
 protected:
  void SetUp() override {
    WindowHandlers handlers;
    addTimeFieldHandlers(handlers);
    window_ = loadWindow(reminderSettingsTemplate(), std::move(handlers));
    ASSERT_NE(window_, 0);
    pumpMessages();
  }
  void TearDown() override {
    destroyWindow(window_);
    pumpMessages();
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }
  ControlRef control(const char* name) const { return findControl(window_, name).value_or(ControlRef{}); }

  int window_ = 0;
};

TEST_F(SettingsWindow, TheTemplateHasItsEightControlsWhereTheyBelong) {
  struct Expected {
    const char* name;
    const char* cls;
    RECT rect;  // in the parent's client coordinates: the group box's for the radio buttons
    const char* text;
    bool checked;
  };
  const Expected controls[] = {
      {kReminderSwitch, "Button", {18, 20, 209, 44}, "启动此条定时提醒(请设定时间)", false},
      {kTimeBoxName, "Edit", {16, 53, 0, 77}, "", false},  // right: the spinner takes the end
      {kDateLabelName, "Static", {181, 40, 349, 64}, "", false},
      {kFrameGroup, "Button", {16, 92, 360, 152}, " 提醒方式设定 ", false},
      {kRedFrameRadio, "Button", {63, 24, 155, 48}, "红色外框闪烁", true},
      {kYellowFrameRadio, "Button", {197, 24, 289, 48}, "黄色外框闪烁", false},
      {kColourCaption, "Static", {137, 190, 291, 214}, "单独修改此条文字显示颜色：", false},
      {kRowColourPicker, "ComboBox", {296, 189, 363, 213}, "", false},
  };
  const RECT frame = windowRect(window_);
  EXPECT_EQ(frame.right - frame.left, kSettingsWidth);
  EXPECT_EQ(frame.bottom - frame.top, kSettingsHeight);
  char title[64] = {};
  GetWindowTextA(windowHandle(window_), title, sizeof title);
  EXPECT_STREQ(title, "定时提醒设定");
  for (const Expected& expected : controls) {
    SCOPED_TRACE(expected.name);
    const ControlRef ref = control(expected.name);
    ASSERT_NE(controlHandle(ref), nullptr);
    char cls[32] = {};
    GetClassNameA(controlHandle(ref), cls, sizeof cls);
    EXPECT_STREQ(cls, expected.cls);
    const RECT rect = controlRect(ref);
    EXPECT_EQ(rect.left, expected.rect.left);
    EXPECT_EQ(rect.top, expected.rect.top);
    if (expected.rect.right) {
      EXPECT_EQ(rect.right, expected.rect.right);
    }
    EXPECT_EQ(rect.bottom, expected.rect.bottom);
    if (std::string(expected.cls) != "ComboBox") {
      EXPECT_EQ(controlText(ref), expected.text);
    }
    if (std::string(expected.cls) == "Button") {
      EXPECT_EQ(isChecked(ref), expected.checked);
    }
  }
  EXPECT_EQ(GetParent(controlHandle(control(kRedFrameRadio))), controlHandle(control(kFrameGroup)));
  EXPECT_EQ(SendMessageA(controlHandle(control(kTimeBoxName)), EM_GETLIMITTEXT, 0, 0), 19);
}

TEST_F(SettingsWindow, KeysInTheTimeBoxStepAndMoveBetweenFields) {
  struct Case {
    const char* name;
    const char* text;
    int selectFrom, selectTo;  // the selection a click left
    std::vector<int> keys;
    const char* after;
    int from, to;
    const char* label;
  };
  const Case cases[] = {
      {"year 2020 up wraps", "2020-12-31-23:59:59", 0, 4, {VK_UP}, "2011-12-31-23:59:59", 0, 4,
       "2011年12月31日23时59分59秒"},
      {"month 01 down wraps", "2011-01-01-12:00:00", 5, 7, {VK_DOWN}, "2011-12-01-12:00:00", 5, 7, "2011年12月1日12时"},
      {"31 April", "2011-04-30-12:00:00", 8, 10, {VK_UP}, "2011-04-31-12:00:00", 8, 10, kNoSuchDate},
      {"29 February of a leap year", "2012-02-28-12:00:00", 8, 10, {VK_UP}, "2012-02-29-12:00:00", 8, 10,
       "2012年2月29日12时"},
      {"Right from the second to the year", "2011-01-01-12:00:05", 17, 19, {VK_RIGHT}, "2011-01-01-12:00:05", 0, 4,
       ""},
      {"Left from the year to the second", "2011-01-01-12:00:05", 0, 4, {VK_LEFT}, "2011-01-01-12:00:05", 17, 19, ""},
      {"Right through every field", "2011-01-01-12:00:05", 0, 4, {VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RIGHT},
       "2011-01-01-12:00:05", 14, 16, ""},
      {"a caret alone steps its field", "2011-01-01-12:30:00", 0, 0, {VK_UP}, "2012-01-01-12:30:00", 0, 4,
       "2012年1月1日12时30分"},
      {"Backspace and Delete do nothing", "2011-01-01-12:00:00", 5, 7, {VK_BACK, VK_DELETE}, "2011-01-01-12:00:00", 5,
       7, ""},
  };
  const ControlRef box = control(kTimeBoxName);
  HWND edit = controlHandle(box);
  SetFocus(edit);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    setControlText(box, c.text);
    setControlText(control(kDateLabelName), "");
    SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(c.selectFrom), c.selectTo);
    for (int key : c.keys) {
      PostMessageA(edit, WM_KEYDOWN, static_cast<WPARAM>(key), 1 | (MapVirtualKeyA(key, MAPVK_VK_TO_VSC) << 16));
      pumpMessages();
    }
    EXPECT_EQ(controlText(box), c.after);
    DWORD from = 0, to = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(static_cast<int>(from), c.from);
    EXPECT_EQ(static_cast<int>(to), c.to);
    EXPECT_EQ(controlText(control(kDateLabelName)), c.label);
  }
}

TEST_F(SettingsWindow, TheSpinnerStepsTheSelectedFieldAndAClickSelectsAWholeField) {
  const ControlRef box = control(kTimeBoxName);
  HWND edit = controlHandle(box);
  setControlText(box, "2011-09-30-12:00:00");
  SendMessageA(edit, EM_SETSEL, 6, 6);  // where a click on the month left the caret
  SendMessageA(edit, WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(selectedText(box), "09") << "the release selects the month";
  HWND spinner = FindWindowExA(windowHandle(window_), nullptr, UPDOWN_CLASSA, nullptr);
  ASSERT_NE(spinner, nullptr);
  RECT client{};
  GetClientRect(spinner, &client);
  const LPARAM up = MAKELPARAM(client.right / 2, client.bottom / 4);
  SendMessageA(spinner, WM_LBUTTONDOWN, MK_LBUTTON, up);
  SendMessageA(spinner, WM_LBUTTONUP, 0, up);
  EXPECT_EQ(controlText(box), "2011-10-30-12:00:00");
  EXPECT_EQ(selectedText(box), "10");
  EXPECT_EQ(controlText(control(kDateLabelName)), "2011年10月30日12时");
}

TEST(OpenReminderSettings, ASenderThatIsNoClockButtonOpensNothing) {
  // Outside any event the sender is no control; were a window to open, this closes it.
  SetTimer(nullptr, 0, 1000, [](HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (HWND opened = FindWindowA(nullptr, kSettingsTitle)) DestroyWindow(opened);
  });
  openReminderSettings();
  EXPECT_EQ(settingsRow, 100);
  EXPECT_EQ(FindWindowA(nullptr, kSettingsTitle), nullptr);
}

}  // namespace
