// Date-times as days since 1899-12-30 00:00 local time, the time of day as the
// fraction; before that day the fraction still counts forward from midnight
// (-1.25 is 1899-12-29 06:00). Whole seconds throughout.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using DateTime = double;

inline constexpr DateTime kEarliestDateTime = -657434.0;  // 100-01-01 00:00:00
inline constexpr DateTime kLatestDateTime = 2958465.0;    // 9999-12-31 00:00:00

struct DateTimeParts {
  int year = 100;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;

  bool operator==(const DateTimeParts&) const = default;
};

// Nothing when a part lies outside its calendar range (month 13, 31 April,
// year 99 or 10000, hour 24).
std::optional<DateTime> dateTimeFromParts(const DateTimeParts& parts);
DateTimeParts dateTimeParts(DateTime value);

// Year, month, day, hour, minute, second, each part followed by one of
// "-./:", its unit (年 月 日 时 分) or, after the day, a space; the text may
// end early and may end with 秒. Unreadable or non-existent: 100-01-01 00:00:00.
DateTime textToDateTime(std::string_view text);

// "2011年1月1日" followed by "12时30分5秒", "12时30分" or "12时" when the
// trailing parts are not zero.
std::string dateTimeToText(DateTime value);

// "2011-01-01-12:00:00": the year as it is, every other part with two digits.
std::string formatTimeText(const DateTimeParts& parts);

DateTimeParts presentLocalTime();
DateTime presentDateTime();
