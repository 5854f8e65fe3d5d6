#include "reminder/due_check.h"

#include <algorithm>
#include <cmath>

std::int64_t linearSeconds(DateTime value) {
  // Before 1899-12-30 the fraction counts forward, so -1.25 lies at -0.75.
  // Clamping after that keeps 100-01-01 00:00:01 later than the earliest moment.
  if (value < 0) value = 2 * std::trunc(value) - value;
  value = std::clamp(value, kEarliestDateTime, kLatestDateTime);
  return std::llround(value * 86400.0);
}

std::vector<std::size_t> findDueMemos(const std::vector<MemoItem>& memos, DateTime now) {
  std::vector<std::size_t> due;
  const std::int64_t nowKey = linearSeconds(now);
  for (std::size_t i = 0; i < memos.size(); ++i) {
    if (!isTrue(memos[i].timerOn)) continue;
    if (linearSeconds(textToDateTime(memos[i].remindAt)) < nowKey) due.push_back(i + 1);
  }
  return due;
}
