// Field-by-field editing of a reminder time text "YYYY-MM-DD-hh:mm:ss" in a
// read-only box, with the date in words on a label beside it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The box as the host shows it. Writing the start or the count selects from the
// start and the count last written; a start of -1 or past the end puts the caret
// at the end; reading the start gives the caret when nothing is selected.
class TimeBox {
 public:
  virtual ~TimeBox() = default;
  virtual std::string text() const = 0;
  virtual int selectionStart() const = 0;
  virtual void setSelectionStart(int start) = 0;
  virtual void setSelectionCount(int count) = 0;
  virtual std::string selectedText() const = 0;
  virtual void replaceSelection(std::string_view replacement) = 0;
};

class DateLabel {
 public:
  virtual ~DateLabel() = default;
  virtual void setCaption(std::string_view caption) = 0;
};

inline constexpr const char* kNoSuchDate = "此日期不存在，请重新选择";

enum TimeKeyModifier { kModifierCtrl = 1, kModifierShift = 2, kModifierAlt = 4 };

enum TimeKeyCode {
  kKeyBackspace = 8,
  kKeyLeft = 37,
  kKeyUp = 38,
  kKeyRight = 39,
  kKeyDown = 40,
  kKeyDelete = 46,
};

struct TimeField {
  int start;   // first character
  int length;  // characters
  int minimum;
  int maximum;
  const char* belowMinimum;  // what a step below the range gives
  const char* aboveMaximum;
};

// The field a caret position belongs to: a field owns its characters and the
// position just after them (0-4 year, 5-7 month, ..., 17-19 second).
std::optional<TimeField> timeFieldAt(int caret);

// Steps the selected field by direction (+1 or -1) with wrap-around, then
// refreshes the label. A selection that is not one whole field is first snapped
// to the field at the caret.
void stepTimeField(TimeBox& box, DateLabel& label, int direction);

// Selects the whole field the caret is in; changes nothing outside every field.
void snapTimeSelection(TimeBox& box);

// The box's text in words, or kNoSuchDate when it names no existing date-time.
void refreshDateLabel(const TimeBox& box, DateLabel& label);

// A key press in the box. True when it is consumed: the box must not see it.
bool handleTimeKey(TimeBox& box, DateLabel& label, int keyCode, int modifiers);
