#include "settings_window/time_field.h"

#include "host/date_time.h"
#include "memo/memo_store.h"

namespace {

constexpr TimeField kFields[] = {
    {0, 4, 2011, 2020, "2020", "2011"},  // year
    {5, 2, 1, 12, "12", "01"},           // month
    {8, 2, 1, 31, "31", "01"},           // day, whatever the month
    {11, 2, 0, 23, "23", "00"},          // hour
    {14, 2, 0, 59, "59", "00"},          // minute
    {17, 2, 0, 59, "59", "00"},          // second
};

constexpr int kTextEnd = 19;

bool selectionIsWholeField(const TimeBox& box, const TimeField& field) {
  return box.selectionStart() == field.start && box.selectedText().size() == static_cast<std::size_t>(field.length);
}

std::string steppedValue(const TimeField& field, int value) {
  if (value < field.minimum) return field.belowMinimum;
  if (value > field.maximum) return field.aboveMaximum;
  std::string text = integerToText(value);
  if (text.size() == 1) text.insert(text.begin(), '0');
  return text;
}

}  // namespace

std::optional<TimeField> timeFieldAt(int caret) {
  if (caret < 0) return std::nullopt;
  for (const TimeField& field : kFields) {
    if (caret <= field.start + field.length) return field;
  }
  return std::nullopt;
}

void snapTimeSelection(TimeBox& box) {
  auto field = timeFieldAt(box.selectionStart());
  if (!field) return;
  box.setSelectionStart(field->start);
  box.setSelectionCount(field->length);
}

void stepTimeField(TimeBox& box, DateLabel& label, int direction) {
  auto field = timeFieldAt(box.selectionStart());
  if (field && !selectionIsWholeField(box, *field)) snapTimeSelection(box);

  const int start = box.selectionStart();
  field = timeFieldAt(start);
  if (field) {
    const int value = textToInteger(box.selectedText()) + direction;
    const std::string replacement = steppedValue(*field, value);
    box.replaceSelection(replacement);
    box.setSelectionStart(start);
    box.setSelectionCount(static_cast<int>(replacement.size()));
  }
  refreshDateLabel(box, label);
}

void refreshDateLabel(const TimeBox& box, DateLabel& label) {
  const std::string caption = dateTimeToText(textToDateTime(box.text()));
  label.setCaption(caption == "100年1月1日" ? kNoSuchDate : caption);
}

bool handleTimeKey(TimeBox& box, DateLabel& label, int keyCode, int modifiers) {
  if (keyCode == kKeyBackspace || keyCode == kKeyDelete || modifiers != 0) return true;
  switch (keyCode) {
    case kKeyUp:
      stepTimeField(box, label, +1);
      return true;
    case kKeyDown:
      stepTimeField(box, label, -1);
      return true;
    case kKeyRight: {
      const int caret = box.selectionStart();
      box.setSelectionStart(caret < 5 ? caret + 5 : caret + 3);
      // Past the second the start is clamped to the end: wrap to the year.
      if (box.selectionStart() == kTextEnd) box.setSelectionStart(0);
      box.setSelectionCount(2);
      snapTimeSelection(box);
      return true;
    }
    case kKeyLeft:
      // From the year, -1 puts the caret at the end, which is the second's.
      box.setSelectionStart(box.selectionStart() - 1);
      box.setSelectionCount(2);
      snapTimeSelection(box);
      return true;
    default:
      return false;
  }
}
