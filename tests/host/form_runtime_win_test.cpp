#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include <string>
#include <vector>

#include "host/form_runtime_win.h"
#include "skin/native_handles_win.h"
#include "tests/support/pump_messages_win.h"

namespace {

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

// The newer kinds together: a time box, radio buttons in a group box, a check
// box, a colour picker and a plain edit box.
WindowTemplate controlsTemplate() {
  WindowTemplate form;
  form.title = "控件";
  form.left = 300;
  form.top = 300;
  form.width = 380;
  form.height = 250;
  form.controls = {
      {"时间框", ControlKind::kTimeBox, 16, 53, 128, 24, "2011-01-01-12:00:00", true, 0, 19},
      {"分组", ControlKind::kGroupBox, 16, 92, 344, 60, " 分组 "},
      {"甲", ControlKind::kRadioButton, 63, 24, 92, 24, "甲", true, 0, 0, "分组", true},
      {"乙", ControlKind::kRadioButton, 197, 24, 92, 24, "乙", true, 0, 0, "分组"},
      {"勾选", ControlKind::kCheckBox, 18, 20, 191, 24, "勾选"},
      {"颜色", ControlKind::kColourPicker, 296, 189, 67, 24, ""},
      {"编辑", ControlKind::kEdit, 16, 190, 100, 20, "十点开会"},
  };
  return form;
}

HWND spinnerOf(int window) { return FindWindowExA(windowHandle(window), nullptr, UPDOWN_CLASSA, nullptr); }

LPARAM keyData(int key, bool altContext) {
  const LPARAM scan = MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
  return 1 | (scan << 16) | (altContext ? (LPARAM{1} << 29) : 0);
}

// Makes the keys down in the thread's keyboard state, for GetKeyState.
void holdKeys(const std::vector<int>& keys) {
  BYTE state[256] = {};
  for (int key : keys) state[key] = 0x80;
  SetKeyboardState(state);
}

TEST_F(FormRuntime, ATimeBoxIsAReadOnlyCentredEditWithAManualSpinner) {
  std::vector<int> directions;
  WindowHandlers handlers;
  handlers.spinnerPressed["时间框"] = [&](int direction) {
    directions.push_back(direction);
    EXPECT_EQ(eventSender(), *findControl(eventSender().window, "时间框"));
  };
  const int window = open(std::move(handlers), controlsTemplate());
  const ControlRef box = *findControl(window, "时间框");
  HWND edit = controlHandle(box);
  char cls[32];
  GetClassNameA(edit, cls, sizeof cls);
  EXPECT_STREQ(cls, "Edit");
  const LONG_PTR style = GetWindowLongPtrA(edit, GWL_STYLE);
  for (LONG_PTR bit : {ES_READONLY, ES_CENTER, ES_NOHIDESEL}) {
    SCOPED_TRACE(bit);
    EXPECT_EQ(style & bit, bit);
  }
  EXPECT_EQ(style & ES_MULTILINE, 0);
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 19);

  HWND spinner = spinnerOf(window);
  ASSERT_NE(spinner, nullptr);
  const auto spinnerAt = [&] {
    RECT rect{};
    GetWindowRect(spinner, &rect);
    MapWindowPoints(nullptr, windowHandle(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  };
  EXPECT_EQ(spinnerAt().left, controlRect(box).right) << "the spinner sits at the box's right end";
  // Wine's up-down comes out a pixel narrower than the width it is given.
  EXPECT_NEAR(spinnerAt().right, 16 + 128, 1) << "the two fill the template's width";
  EXPECT_EQ(spinnerAt().top, 53);
  EXPECT_EQ(controlRect(box).left, 16);
  moveControl(box, 30, 60);
  EXPECT_EQ(spinnerAt().left, controlRect(box).right) << "and goes where the box goes";
  EXPECT_EQ(spinnerAt().top, 60);
  moveControl(box, 16, 53);
  setControlVisible(box, false);
  EXPECT_FALSE(IsWindowVisible(spinner));
  setControlVisible(box, true);
  EXPECT_TRUE(IsWindowVisible(spinner));

  SendMessageA(edit, EM_SETSEL, 5, 7);
  const LRESULT position = SendMessageA(spinner, UDM_GETPOS32, 0, 0);
  RECT client{};
  GetClientRect(spinner, &client);
  for (int y : {client.bottom / 4, client.bottom * 3 / 4}) {
    SendMessageA(spinner, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.right / 2, y));
    SendMessageA(spinner, WM_LBUTTONUP, 0, MAKELPARAM(client.right / 2, y));
  }
  pumpMessages();
  EXPECT_EQ(directions, (std::vector<int>{+1, -1}));
  EXPECT_EQ(controlText(box), "2011-01-01-12:00:00") << "the spinner never writes the box";
  EXPECT_EQ(SendMessageA(spinner, UDM_GETPOS32, 0, 0), position) << "nor moves its own position";
  EXPECT_EQ(selectionStart(box), 5) << "and the box's selection stays";
  EXPECT_EQ(selectionCount(box), 2);
}

TEST_F(FormRuntime, TimeBoxKeysComeWithModifiersAndConsumedOnesMakeNoCharacter) {
  struct Press {
    int key;
    std::vector<int> held;
    bool system;  // WM_SYSKEYDOWN with the Alt context bit
    int modifiers;
  };
  const std::vector<Press> presses = {
      {'A', {}, false, 0},
      {'A', {VK_SHIFT}, false, kKeyModifierShift},
      {'A', {VK_CONTROL}, false, kKeyModifierCtrl},
      {'A', {VK_CONTROL, VK_SHIFT}, false, kKeyModifierCtrl | kKeyModifierShift},
      {'A', {VK_MENU}, true, kKeyModifierAlt},
      {'A', {}, true, kKeyModifierAlt},          // the context bit alone
      {VK_SHIFT, {VK_SHIFT}, false, 0},          // a modifier's own press does not count
      {VK_CONTROL, {VK_CONTROL, VK_SHIFT}, false, kKeyModifierShift},
      {'B', {}, false, 0},                       // not consumed: the box gets its character
      {VK_UP, {}, false, 0},
  };
  std::vector<std::pair<int, int>> seen;
  WindowHandlers handlers;
  handlers.keyPressed["时间框"] = [&](int key, int modifiers) {
    seen.emplace_back(key, modifiers);
    return key != 'B';
  };
  const int window = open(std::move(handlers), controlsTemplate());
  const ControlRef box = *findControl(window, "时间框");
  HWND edit = controlHandle(box);
  // Writable, so that any character that got through would show in the text.
  SendMessageA(edit, EM_SETREADONLY, FALSE, 0);
  setControlText(box, "x");
  setSelectionStart(box, -1);
  SetFocus(edit);
  for (const Press& press : presses) {
    SCOPED_TRACE(press.key);
    holdKeys(press.held);
    PostMessageA(edit, press.system ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<WPARAM>(press.key),
                 keyData(press.key, press.system));
    pumpMessages();
  }
  holdKeys({});
  std::vector<std::pair<int, int>> expected;
  for (const Press& press : presses) expected.emplace_back(press.key, press.modifiers);
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(controlText(box), "xb") << "only the key that was not consumed typed";
}

TEST_F(FormRuntime, ConsumedMouseMovesCannotDragASelectionAndTheReleaseReachesTheBox) {
  bool consumeMoves = true;
  std::vector<int> startsAtRelease;
  WindowHandlers handlers;
  handlers.mouseMoved["时间框"] = [&] { return consumeMoves; };
  handlers.mouseReleased["时间框"] = [&] {
    startsAtRelease.push_back(selectionStart(eventSender()));
    return false;
  };
  const int window = open(std::move(handlers), controlsTemplate());
  const ControlRef box = *findControl(window, "时间框");
  HWND edit = controlHandle(box);
  RECT client{};
  GetClientRect(edit, &client);
  const LPARAM leftEnd = MAKELPARAM(1, client.bottom / 2);
  const LPARAM rightEnd = MAKELPARAM(client.right - 1, client.bottom / 2);

  const auto drag = [&] {
    SendMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, leftEnd);
    SendMessageA(edit, WM_MOUSEMOVE, MK_LBUTTON, rightEnd);
    SendMessageA(edit, WM_LBUTTONUP, 0, rightEnd);
  };
  drag();
  EXPECT_EQ(selectionStart(box), 0);
  EXPECT_EQ(selectionCount(box), 0) << "the move never reached the box";
  EXPECT_NE(GetCapture(), edit) << "the box ended its click";
  consumeMoves = false;  // the same drag with the moves let through selects
  drag();
  EXPECT_EQ(selectionStart(box), 0);
  EXPECT_GT(selectionCount(box), 10);
  EXPECT_NE(GetCapture(), edit);
  EXPECT_EQ(startsAtRelease, (std::vector<int>{0, 0}));
}

TEST_F(FormRuntime, EditSelectionFollowsTheLastWrittenStartAndCount) {
  const int window = open({}, controlsTemplate());
  const ControlRef box = *findControl(window, "时间框");
  enum Op { kStart, kCount };
  struct Step {
    Op op;
    int value;
    int start;
    int count;
    const char* selected;
  };
  const Step steps[] = {
      {kStart, 5, 5, 0, ""},
      {kCount, 2, 5, 2, "01"},
      {kStart, 8, 8, 2, "01"},   // the count written last stays
      {kStart, 0, 0, 2, "20"},
      {kCount, 4, 0, 4, "2011"},
      {kStart, -1, 19, 0, ""},   // caret at the end
      {kCount, 2, 19, 0, ""},    // still from the end
      {kStart, 25, 19, 0, ""},   // clamped to the end
      {kStart, 17, 17, 2, "00"},
      {kCount, 30, 17, 2, "00"}, // no further than the end
      {kStart, 11, 11, 8, "12:00:00"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(testing::Message() << (step.op == kStart ? "start " : "count ") << step.value);
    if (step.op == kStart) {
      setSelectionStart(box, step.value);
    } else {
      setSelectionCount(box, step.value);
    }
    EXPECT_EQ(selectionStart(box), step.start);
    EXPECT_EQ(selectionCount(box), step.count);
    EXPECT_EQ(selectedText(box), step.selected);
  }

  // A selection the user made backwards reads from its lower end; a caret alone reads as the start.
  SendMessageA(controlHandle(box), EM_SETSEL, 9, 5);
  EXPECT_EQ(selectionStart(box), 5);
  EXPECT_EQ(selectionCount(box), 4);
  SendMessageA(controlHandle(box), EM_SETSEL, 7, 7);
  EXPECT_EQ(selectionStart(box), 7);
  EXPECT_EQ(selectedText(box), "");

  setSelectionStart(box, 0);
  setSelectionCount(box, 4);
  replaceSelection(box, "2020");
  EXPECT_EQ(controlText(box), "2020-01-01-12:00:00") << "a read-only box is still written by the program";
  EXPECT_EQ(selectionStart(box), 4);
  EXPECT_EQ(selectionCount(box), 0);

  const ControlRef edit = *findControl(window, "编辑");
  setSelectionStart(edit, 1);
  setSelectionCount(edit, 2);
  EXPECT_EQ(selectedText(edit), "点开") << "double-byte characters come back whole";
}

TEST_F(FormRuntime, RadioButtonsSitInTheirGroupBoxAndTheirClicksReachTheHandlers) {
  std::vector<ControlRef> clicks;
  WindowHandlers handlers;
  for (const char* name : {"甲", "乙", "勾选"}) handlers.clicked[name] = [&] { clicks.push_back(eventSender()); };
  const int window = open(std::move(handlers), controlsTemplate());
  const ControlRef first = *findControl(window, "甲");
  const ControlRef second = *findControl(window, "乙");
  const ControlRef check = *findControl(window, "勾选");
  EXPECT_EQ(GetParent(controlHandle(first)), controlHandle(*findControl(window, "分组")));
  EXPECT_EQ(controlRect(second).left, 197);
  EXPECT_EQ(controlRect(second).top, 24);
  RECT onScreen{};
  GetWindowRect(controlHandle(second), &onScreen);
  POINT client{0, 0};
  ClientToScreen(windowHandle(window), &client);
  EXPECT_EQ(onScreen.left - client.x, 16 + 197) << "placed in the group box's coordinates";
  EXPECT_EQ(onScreen.top - client.y, 92 + 24);
  EXPECT_TRUE(isChecked(first)) << "checked in the template";
  EXPECT_FALSE(isChecked(second));
  EXPECT_FALSE(isChecked(check));

  SendMessageA(controlHandle(second), BM_CLICK, 0, 0);
  EXPECT_TRUE(isChecked(second));
  EXPECT_FALSE(isChecked(first));
  SendMessageA(controlHandle(first), BM_CLICK, 0, 0);
  EXPECT_TRUE(isChecked(first));
  EXPECT_FALSE(isChecked(second)) << "the radio buttons form one group";
  SendMessageA(controlHandle(check), BM_CLICK, 0, 0);
  EXPECT_TRUE(isChecked(check));
  EXPECT_TRUE(isChecked(first)) << "the check box is not in the group";
  EXPECT_EQ(clicks, (std::vector<ControlRef>{second, first, check}));

  setChecked(second, true);
  EXPECT_TRUE(isChecked(second));
  EXPECT_TRUE(isChecked(first)) << "writing one radio button leaves the others";
  setChecked(check, false);
  EXPECT_FALSE(isChecked(check));
  EXPECT_EQ(clicks.size(), 3u) << "writing raises no click";
}

std::uint32_t pixelAt(const std::vector<std::uint32_t>& pixels, int width, int x, int y) {
  return pixels[static_cast<std::size_t>(y * width + x)] & 0xFFFFFF;
}

TEST_F(FormRuntime, AColourPickerOffersColoursShowsTheChosenOneAndReportsPicks) {
  std::vector<std::int32_t> chosen;
  WindowHandlers handlers;
  handlers.colourChosen["颜色"] = [&] { chosen.push_back(pickerColour(eventSender())); };
  const int window = open(std::move(handlers), controlsTemplate());
  const ControlRef picker = *findControl(window, "颜色");
  HWND combo = controlHandle(picker);
  const LONG_PTR style = GetWindowLongPtrA(combo, GWL_STYLE);
  EXPECT_EQ(style & 3, CBS_DROPDOWNLIST);
  EXPECT_TRUE(style & CBS_OWNERDRAWFIXED);
  EXPECT_EQ(controlRect(picker).bottom - controlRect(picker).top, 24) << "the closed field keeps the template's height";
  EXPECT_EQ(pickerColour(picker), -1) << "nothing chosen yet";
  const LRESULT offered = SendMessageA(combo, CB_GETCOUNT, 0, 0);
  EXPECT_GE(offered, 16);
  std::vector<std::int32_t> colours;
  for (LRESULT i = 0; i < offered; ++i) {
    colours.push_back(static_cast<std::int32_t>(SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)));
  }
  for (std::int32_t colour : {0xFFFFFF, 0x000000, 0x0000FF, 0x00FFFF}) {
    SCOPED_TRACE(colour);
    EXPECT_NE(std::find(colours.begin(), colours.end(), colour), colours.end());
  }

  setPickerColour(picker, 0x0000FF);
  EXPECT_EQ(pickerColour(picker), 0x0000FF);
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), offered);
  setPickerColour(picker, 0x123456);
  EXPECT_EQ(pickerColour(picker), 0x123456) << "a colour the list lacks is added";
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), offered + 1);
  setPickerColour(picker, 0x123456);
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), offered + 1) << "and only once";
  EXPECT_TRUE(chosen.empty()) << "setting the colour is no pick";

  // The field shows a swatch of the chosen colour.
  setPickerColour(picker, 0x0000FF);
  RECT field{};
  GetClientRect(combo, &field);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), field.right, -field.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  std::vector<std::uint32_t> pixels;
  {
    const SelectGuard selected(dc.get(), bitmap.get());
    SendMessageA(combo, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    GdiFlush();
    const auto* raw = static_cast<const std::uint32_t*>(bits);
    pixels.assign(raw, raw + field.right * field.bottom);
  }
  EXPECT_EQ(pixelAt(pixels, field.right, 10, field.bottom / 2), 0xFF0000u) << "red, as the DIB holds it (0xRRGGBB)";

  // Down on the closed list picks the next colour.
  const auto at = std::find(colours.begin(), colours.end(), 0x0000FF);
  ASSERT_NE(at + 1, colours.end());
  SetFocus(combo);
  SendMessageA(combo, WM_KEYDOWN, VK_DOWN, 0);
  pumpMessages();
  EXPECT_EQ(chosen, (std::vector<std::int32_t>{*(at + 1)}));
  EXPECT_EQ(pickerColour(picker), *(at + 1));
}

TEST_F(FormRuntime, PointerPositionIsTheCursor) {
  SetCursorPos(321, 234);
  const POINT at = pointerPosition();
  EXPECT_EQ(at.x, 321);
  EXPECT_EQ(at.y, 234);
}

}  // namespace
