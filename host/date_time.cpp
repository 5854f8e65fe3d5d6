#include "host/date_time.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kEpochFromUnixDays = -25569;  // 1899-12-30 counted from 1970-01-01

// Proleptic Gregorian day numbers, counted from 1970-01-01.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yearOfEra = static_cast<unsigned>(y - era * 400);
  const unsigned dayOfYear = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

void civilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned dayOfEra = static_cast<unsigned>(z - era * 146097);
  const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned mp = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2));
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool startsWith(std::string_view text, std::size_t pos, std::string_view prefix) {
  return text.substr(pos, prefix.size()) == prefix;
}

}  // namespace

std::optional<DateTime> dateTimeFromParts(const DateTimeParts& p) {
  if (p.year < 100 || p.year > 9999 || p.month < 1 || p.month > 12 || p.day < 1 ||
      p.day > daysInMonth(p.year, p.month) || p.hour < 0 || p.hour > 23 || p.minute < 0 ||
      p.minute > 59 || p.second < 0 || p.second > 59) {
    return std::nullopt;
  }
  const std::int64_t days = daysFromCivil(p.year, p.month, p.day) - kEpochFromUnixDays;
  const double fraction = static_cast<double>(p.hour * 3600 + p.minute * 60 + p.second) / kSecondsPerDay;
  return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

DateTimeParts dateTimeParts(DateTime value) {
  const double whole = std::trunc(value);
  auto days = static_cast<std::int64_t>(whole);
  auto seconds = static_cast<std::int64_t>(std::llround(std::fabs(value - whole) * kSecondsPerDay));
  if (seconds >= kSecondsPerDay) {
    seconds -= kSecondsPerDay;
    ++days;
  }
  DateTimeParts parts;
  civilFromDays(days + kEpochFromUnixDays, parts.year, parts.month, parts.day);
  parts.hour = static_cast<int>(seconds / 3600);
  parts.minute = static_cast<int>(seconds / 60 % 60);
  parts.second = static_cast<int>(seconds % 60);
  return parts;
}

DateTime textToDateTime(std::string_view text) {
  static constexpr int kMaxDigits[6] = {4, 2, 2, 2, 2, 2};
  static constexpr std::string_view kUnits[5] = {"年", "月", "日", "时", "分"};
  int values[6] = {0, 0, 0, 0, 0, 0};
  std::size_t pos = 0;
  for (int part = 0; part < 6 && pos < text.size(); ++part) {
    for (int digits = 0; digits < kMaxDigits[part] && pos < text.size() && isDigit(text[pos]); ++digits) {
      values[part] = values[part] * 10 + (text[pos++] - '0');
    }
    if (part == 5 || pos == text.size()) break;
    const char c = text[pos];
    if (c == '-' || c == '.' || c == '/' || c == ':' || (part == 2 && c == ' ')) {
      ++pos;
    } else if (startsWith(text, pos, kUnits[part])) {
      pos += kUnits[part].size();
    }
  }
  const std::string_view rest = text.substr(pos);
  if (!rest.empty() && rest != "秒") return kEarliestDateTime;
  auto value = dateTimeFromParts({values[0], values[1], values[2], values[3], values[4], values[5]});
  return value ? *value : kEarliestDateTime;
}

std::string dateTimeToText(DateTime value) {
  const DateTimeParts p = dateTimeParts(value);
  char buffer[96];
  int n = std::snprintf(buffer, sizeof buffer, "%d年%d月%d日", p.year, p.month, p.day);
  if (p.second != 0) {
    n += std::snprintf(buffer + n, sizeof buffer - n, "%d时%d分%d秒", p.hour, p.minute, p.second);
  } else if (p.minute != 0) {
    n += std::snprintf(buffer + n, sizeof buffer - n, "%d时%d分", p.hour, p.minute);
  } else if (p.hour != 0) {
    n += std::snprintf(buffer + n, sizeof buffer - n, "%d时", p.hour);
  }
  return std::string(buffer, static_cast<std::size_t>(n));
}

std::string formatTimeText(const DateTimeParts& p) {
  char buffer[64];
  int n = std::snprintf(buffer, sizeof buffer, "%d-%02d-%02d-%02d:%02d:%02d", p.year, p.month, p.day, p.hour,
                        p.minute, p.second);
  return std::string(buffer, static_cast<std::size_t>(n));
}

DateTimeParts presentLocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
          local.tm_sec == 60 ? 59 : local.tm_sec};
}

DateTime presentDateTime() {
  auto value = dateTimeFromParts(presentLocalTime());
  return value ? *value : kEarliestDateTime;
}
