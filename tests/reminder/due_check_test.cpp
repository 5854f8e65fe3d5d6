#include <gtest/gtest.h>

#include "reminder/due_check.h"

namespace {

using Indices = std::vector<std::size_t>;

MemoItem reminder(const char* timerOn, const char* remindAt) { return {"m", timerOn, remindAt, "假", 0}; }

DateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return dateTimeFromParts({y, mo, d, h, mi, s}).value();
}

TEST(DueCheck, AMemoIsDueOnlyWhileOnAndStrictlyBeforeNow) {
  struct Case {
    const char* name;
    MemoItem memo;
    DateTime now;
    bool due;
  };
  const DateTime noon = at(2011, 1, 1, 12);
  const Case cases[] = {
      {"time equal to now is not due", reminder("真", "2011-01-01-12:00:00"), noon, false},
      {"one second later it is due", reminder("真", "2011-01-01-12:00:00"), at(2011, 1, 1, 12, 0, 1), true},
      {"long after it stays due", reminder("真", "2011-01-01-12:00:00"), at(2026, 12, 11), true},
      {"a later time is not due", reminder("真", "2011-01-01-12:00:01"), noon, false},
      {"switched off", reminder("假", "2000-01-01-00:00:00"), noon, false},
      {"trailing space means off", reminder("真 ", "2000-01-01-00:00:00"), noon, false},
      {"empty time is due at once", reminder("真", ""), noon, true},
      {"no such day is due at once", reminder("真", "2011-02-30-12:00:00"), noon, true},
      {"capped at the latest date, never due", reminder("真", "9999-12-31-23:59:59"), at(9999, 12, 31, 23, 59, 59),
       false},
      {"empty time is not due at the earliest moment", reminder("真", ""), kEarliestDateTime, false},
      {"empty time is due a second later", reminder("真", ""), at(100, 1, 1, 0, 0, 1), true},
      {"before 1899-12-30 times count forward", reminder("真", "1899-12-29-06:00:00"), at(1899, 12, 29, 6, 0, 1),
       true},
      {"before 1899-12-30, earlier hour first", reminder("真", "1899-12-29-06:00:01"), at(1899, 12, 29, 6), false},
      {"across 1899-12-30", reminder("真", "1899-12-29-23:59:59"), at(1899, 12, 30), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(findDueMemos({c.memo}, c.now), c.due ? Indices{1} : Indices{});
  }
}

TEST(DueCheck, ReturnsAscendingOneBasedIndices) {
  const std::vector<MemoItem> memos = {reminder("真", "2011-01-01-12:00:00"), reminder("真", "2030-01-01-00:00:00"),
                                       reminder("真", "2011-01-01-11:00:00"), reminder("假", "")};
  const DateTime now = at(2026, 12, 11, 9);
  EXPECT_EQ(findDueMemos(memos, now), (Indices{1, 3}));
  EXPECT_EQ(findDueMemos(memos, now), (Indices{1, 3}));
  EXPECT_EQ(findDueMemos({}, now), Indices{});
}

TEST(DueCheck, ClampsNowIntoTheRange) {
  EXPECT_EQ(findDueMemos({reminder("真", "9999-12-30-00:00:00")}, 1e12), Indices{1});
  EXPECT_EQ(findDueMemos({reminder("真", "")}, -1e12), Indices{});
  EXPECT_EQ(linearSeconds(-1.25), -64800);
  EXPECT_GT(linearSeconds(-1.25), linearSeconds(-1.0)) << "06:00 comes after midnight";
}

}  // namespace
