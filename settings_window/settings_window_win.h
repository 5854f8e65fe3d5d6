// The reminder settings window "定时提醒设定": one memo's reminder switch and
// time, the frame colour of its flash and the text colour of its row.
#pragma once

#include <string>
#include <string_view>

#include "host/form_runtime_win.h"
#include "settings_window/time_field.h"

inline constexpr const char* kSettingsTitle = "定时提醒设定";
inline constexpr int kSettingsWidth = 380;
inline constexpr int kSettingsHeight = 250;

// Template control names.
inline constexpr const char* kReminderSwitch = "启用定时";
inline constexpr const char* kTimeBoxName = "时间编辑框";
inline constexpr const char* kDateLabelName = "标签3";
inline constexpr const char* kFrameGroup = "分组框1";
inline constexpr const char* kRedFrameRadio = "红框单选框";
inline constexpr const char* kYellowFrameRadio = "黄框单选框";
inline constexpr const char* kColourCaption = "标签2";
inline constexpr const char* kRowColourPicker = "颜色选择器1";

// The 1-based strip row, and memo, the window edits. Set by each clock button
// click before the window opens; kept after it closes.
extern int settingsRow;

WindowTemplate reminderSettingsTemplate();
// Every handler of the window; the time box's alone through addTimeFieldHandlers.
WindowHandlers reminderSettingsHandlers();
void addTimeFieldHandlers(WindowHandlers& handlers);

// Clicked handler of every row's clock button: opens the window modally over
// the strip for the sender's row.
void openReminderSettings();
void populateReminderSettings(int window);
void onReminderSwitch();
void onYellowFrameChosen();
void onRedFrameChosen();
void onRowColorChosen();
void saveReminderSettings(int window);

// The time field's view of a real time box and date label.
class TimeBoxControl final : public TimeBox {
 public:
  explicit TimeBoxControl(ControlRef box) : box_(box) {}
  std::string text() const override;
  int selectionStart() const override;
  void setSelectionStart(int start) override;
  void setSelectionCount(int count) override;
  std::string selectedText() const override;
  void replaceSelection(std::string_view replacement) override;

 private:
  ControlRef box_;
};

class DateLabelControl final : public DateLabel {
 public:
  explicit DateLabelControl(ControlRef label) : label_(label) {}
  void setCaption(std::string_view caption) override;

 private:
  ControlRef label_;
};
