#include "settings_window/settings_window_win.h"

#include "host/date_time.h"
#include "strip/strip_win.h"

int settingsRow = 0;

namespace {

constexpr int kPointerGap = 10;  // the window's right edge and top stand this far from the pointer
constexpr int kNoClockRow = 100;  // what the row lookup gives for a sender that is no clock button

bool rowExists(int row) { return row >= 1 && row <= strip().rowCount; }

std::size_t editedRow() { return static_cast<std::size_t>(settingsRow); }

ControlRef controlOf(int window, const char* name) { return findControl(window, name).value_or(ControlRef{}); }

// The time box raising the event and the date label of the same window.
struct TimeFieldParts {
  TimeBoxControl box;
  DateLabelControl label;
};

TimeFieldParts timeFieldOfSender() {
  const ControlRef box = eventSender();
  return {TimeBoxControl(box), DateLabelControl(controlOf(box.window, kDateLabelName))};
}

}  // namespace

std::string TimeBoxControl::text() const { return controlText(box_); }
int TimeBoxControl::selectionStart() const { return ::selectionStart(box_); }
void TimeBoxControl::setSelectionStart(int start) { ::setSelectionStart(box_, start); }
void TimeBoxControl::setSelectionCount(int count) { ::setSelectionCount(box_, count); }
std::string TimeBoxControl::selectedText() const { return ::selectedText(box_); }
void TimeBoxControl::replaceSelection(std::string_view replacement) { ::replaceSelection(box_, replacement); }

void DateLabelControl::setCaption(std::string_view caption) { setControlText(label_, caption); }

WindowTemplate reminderSettingsTemplate() {
  WindowTemplate form;
  form.title = kSettingsTitle;
  form.width = kSettingsWidth;
  form.height = kSettingsHeight;
  form.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  form.controls = {
      {kReminderSwitch, ControlKind::kCheckBox, 18, 20, 191, 24, "启动此条定时提醒(请设定时间)"},
      {kTimeBoxName, ControlKind::kTimeBox, 16, 53, 128, 24, "", true, 0, 19},
      {kDateLabelName, ControlKind::kLabel, 181, 40, 168, 24, ""},
      {kFrameGroup, ControlKind::kGroupBox, 16, 92, 344, 60, " 提醒方式设定 "},
      {kRedFrameRadio, ControlKind::kRadioButton, 63, 24, 92, 24, "红色外框闪烁", true, 0, 0, kFrameGroup, true},
      {kYellowFrameRadio, ControlKind::kRadioButton, 197, 24, 92, 24, "黄色外框闪烁", true, 0, 0, kFrameGroup},
      {kColourCaption, ControlKind::kLabel, 137, 190, 154, 24, "单独修改此条文字显示颜色："},
      {kRowColourPicker, ControlKind::kColourPicker, 296, 189, 67, 24, ""},
  };
  return form;
}

void addTimeFieldHandlers(WindowHandlers& handlers) {
  handlers.spinnerPressed[kTimeBoxName] = [](int direction) {
    auto parts = timeFieldOfSender();
    stepTimeField(parts.box, parts.label, direction);
  };
  handlers.keyPressed[kTimeBoxName] = [](int keyCode, int modifiers) {
    auto parts = timeFieldOfSender();
    return handleTimeKey(parts.box, parts.label, keyCode, modifiers);
  };
  handlers.mouseReleased[kTimeBoxName] = [] {
    auto parts = timeFieldOfSender();
    snapTimeSelection(parts.box);
    return false;  // the box ends its own click
  };
  // Dragging must not stretch the selection over several fields.
  handlers.mouseMoved[kTimeBoxName] = [] { return true; };
}

WindowHandlers reminderSettingsHandlers() {
  WindowHandlers handlers;
  handlers.created = populateReminderSettings;
  handlers.willBeDestroyed = saveReminderSettings;
  handlers.clicked[kReminderSwitch] = onReminderSwitch;
  handlers.clicked[kYellowFrameRadio] = onYellowFrameChosen;
  handlers.clicked[kRedFrameRadio] = onRedFrameChosen;
  handlers.colourChosen[kRowColourPicker] = onRowColorChosen;
  addTimeFieldHandlers(handlers);
  return handlers;
}

void openReminderSettings() {
  StripState& s = strip();
  settingsRow = kNoClockRow - 1;
  const ControlRef sender = eventSender();
  const auto firstRowClock = findControl(s.window, kClockButton);
  if (firstRowClock && sender == *firstRowClock) settingsRow = 0;
  for (std::size_t k = 1; k <= s.clockControls.size(); ++k) {
    if (sender == s.clockControls[k - 1]) {
      settingsRow = static_cast<int>(k);
      break;
    }
  }
  settingsRow += 1;
  // A sender that is no clock button names no row: nothing to edit.
  if (settingsRow == kNoClockRow || !rowExists(settingsRow)) return;
  loadWindow(reminderSettingsTemplate(), reminderSettingsHandlers(), s.window, true);
}

void populateReminderSettings(int window) {
  const POINT pointer = pointerPosition();
  // No correction keeps it on the screen: near an edge it opens partly off it.
  moveWindow(window, pointer.x - kSettingsWidth - kPointerGap, pointer.y + kPointerGap);

  const MemoItem memo = strip().memos.at(editedRow());
  const ControlRef timeBox = controlOf(window, kTimeBoxName);
  if (isTrue(memo.timerOn)) {
    setChecked(controlOf(window, kReminderSwitch), true);
    setControlText(timeBox, memo.remindAt);
    setPickerColour(controlOf(window, kRowColourPicker), memo.textColor);
    if (isTrue(memo.yellowFrame)) {
      setChecked(controlOf(window, kYellowFrameRadio), true);
      setChecked(controlOf(window, kRedFrameRadio), false);
    }
  } else {
    setControlText(timeBox, "");
    setControlText(timeBox, formatTimeText(presentLocalTime()));
    setPickerColour(controlOf(window, kRowColourPicker), memo.textColor);
  }
}

void onReminderSwitch() {
  if (!rowExists(settingsRow)) return;
  StripState& s = strip();
  const bool on = isChecked(eventSender());
  s.memos.update(editedRow(), [on](MemoItem& memo) { memo.timerOn = on ? kTrue : kFalse; });
  // The images decoded at start-up: the same looks, nothing decoded per click.
  rowClock(editedRow()).setImages(on ? s.clockOnImage.get() : s.clockOffImage.get(), s.clockHoverImage.get(),
                                  s.clockPressedImage.get());
  // Ends a red or yellow frame the reminder loop may have left on the row.
  if (!on) rowBar(editedRow()).setBackImage(s.normalBarImage.get());
  s.stripSurface.refresh();
}

void onYellowFrameChosen() {
  if (isChecked(eventSender())) strip().memos.update(editedRow(), [](MemoItem& memo) { memo.yellowFrame = kTrue; });
}

void onRedFrameChosen() {
  if (isChecked(eventSender())) strip().memos.update(editedRow(), [](MemoItem& memo) { memo.yellowFrame = kFalse; });
}

void onRowColorChosen() {
  if (!rowExists(settingsRow)) return;
  const std::int32_t colour = pickerColour(eventSender());
  if (colour < 0) return;  // nothing chosen
  StripState& s = strip();
  rowEdit(editedRow()).setTextColor(colour);
  s.memos.update(editedRow(), [colour](MemoItem& memo) { memo.textColor = colour; });
  s.stripSurface.refresh();
}

void saveReminderSettings(int window) {
  // Stored as it stands, also with the reminder off or a date that does not exist.
  const std::string time = controlText(controlOf(window, kTimeBoxName));
  strip().memos.update(editedRow(), [&time](MemoItem& memo) { memo.remindAt = time; });
  writeSetting(kKeyMemoItems, strip().memos.serialize());
}
