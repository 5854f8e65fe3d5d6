#include <gtest/gtest.h>

#include "host/date_time.h"

namespace {

DateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  auto value = dateTimeFromParts({y, mo, d, h, mi, s});
  EXPECT_TRUE(value.has_value());
  return value.value_or(kEarliestDateTime);
}

TEST(DateTime, CountsDaysFrom18991230WithTheNegativeRule) {
  struct Case {
    DateTimeParts parts;
    DateTime value;
  };
  const Case cases[] = {
      {{1899, 12, 30, 0, 0, 0}, 0.0},
      {{1899, 12, 31, 0, 0, 0}, 1.0},
      {{1899, 12, 30, 6, 0, 0}, 0.25},
      {{1899, 12, 29, 6, 0, 0}, -1.25},
      {{1899, 12, 29, 0, 0, 0}, -1.0},
      {{1900, 1, 1, 12, 0, 0}, 2.5},
      {{2011, 1, 1, 12, 0, 0}, 40544.5},
      {{100, 1, 1, 0, 0, 0}, kEarliestDateTime},
      {{9999, 12, 31, 0, 0, 0}, kLatestDateTime},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(dateTimeFromParts(c.parts), c.value);
    EXPECT_EQ(dateTimeParts(c.value), c.parts);
  }
}

TEST(DateTime, PartsRoundTripAtWholeSeconds) {
  for (const DateTimeParts& p : {DateTimeParts{2011, 1, 1, 12, 0, 1}, DateTimeParts{1899, 12, 29, 23, 59, 59},
                                 DateTimeParts{100, 1, 1, 0, 0, 1}, DateTimeParts{9999, 12, 31, 23, 59, 59},
                                 DateTimeParts{2020, 2, 29, 0, 0, 59}, DateTimeParts{1600, 3, 1, 1, 2, 3}}) {
    SCOPED_TRACE(formatTimeText(p));
    EXPECT_EQ(dateTimeParts(at(p.year, p.month, p.day, p.hour, p.minute, p.second)), p);
  }
}

TEST(DateTime, RejectsPartsOutsideTheCalendar) {
  for (const DateTimeParts& p : {DateTimeParts{2011, 13, 1}, DateTimeParts{2011, 0, 1}, DateTimeParts{2011, 4, 31},
                                 DateTimeParts{2011, 2, 29}, DateTimeParts{1900, 2, 29}, DateTimeParts{99, 12, 31},
                                 DateTimeParts{10000, 1, 1}, DateTimeParts{2011, 1, 0}, DateTimeParts{2011, 1, 1, 24},
                                 DateTimeParts{2011, 1, 1, 0, 60}, DateTimeParts{2011, 1, 1, 0, 0, 60}}) {
    SCOPED_TRACE(formatTimeText(p));
    EXPECT_FALSE(dateTimeFromParts(p).has_value());
  }
  EXPECT_TRUE(dateTimeFromParts({2000, 2, 29}).has_value());
}

TEST(TextToDateTime, ReadsPartsSeparatorsAndUnits) {
  struct Case {
    const char* text;
    DateTime value;
  };
  const DateTime noon = at(2011, 1, 1, 12);
  const Case cases[] = {
      {"2011-01-01-12:00:00", noon},
      {"2011-1-1-12:0:0", noon},
      {"2011.01.01.12.00.00", noon},
      {"2011/01/01/12/00/00", noon},
      {"2011:01:01:12:00:00", noon},
      {"2011-01-01 12:00:00", noon},
      {"2011年1月1日12时0分0秒", noon},
      {"2011年1月1日12时", noon},
      {"2011-01-01-12:00:00秒", noon},
      {"2011-01-01", at(2011, 1, 1)},
      {"2011-01-01-", at(2011, 1, 1)},
      {"2011-05-03-09:30:07", at(2011, 5, 3, 9, 30, 7)},
      {"20110101", at(2011, 1, 1)},
      {"2012-02-29-00:00:00", at(2012, 2, 29)},
      {"9999-12-31-23:59:59", at(9999, 12, 31, 23, 59, 59)},
      {"0100-01-01-00:00:01", at(100, 1, 1, 0, 0, 1)},
      // Failures: all give 100-01-01 00:00:00.
      {"", kEarliestDateTime},
      {"abc", kEarliestDateTime},
      {"2011", kEarliestDateTime},
      {"2011-13-01", kEarliestDateTime},
      {"2011-04-31", kEarliestDateTime},
      {"2011-02-29-12:00:00", kEarliestDateTime},
      {"2011-02-30-12:00:00", kEarliestDateTime},
      {"2011-01-01-24:00:00", kEarliestDateTime},
      {"2011-01-01-12:60:00", kEarliestDateTime},
      {"2011-01-01-12:00:00x", kEarliestDateTime},
      {"2011-01-01-12:00:00 ", kEarliestDateTime},
      {"2011-01-01 abc", kEarliestDateTime},
      {" 2011-01-01", kEarliestDateTime},
      {"2011年1月1日12时0分0秒x", kEarliestDateTime},
      {"0099-12-31", kEarliestDateTime},
      {"2011-01-01-12:00:000", kEarliestDateTime},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(textToDateTime(c.text), c.value);
  }
}

TEST(DateTimeToText, DropsTrailingZeroParts) {
  struct Case {
    DateTime value;
    const char* text;
  };
  const Case cases[] = {
      {at(2011, 1, 1, 12), "2011年1月1日12时"},
      {at(2011, 1, 1), "2011年1月1日"},
      {at(2011, 1, 1, 12, 30), "2011年1月1日12时30分"},
      {at(2011, 1, 1, 12, 0, 5), "2011年1月1日12时0分5秒"},
      {at(2011, 1, 1, 0, 5), "2011年1月1日0时5分"},
      {at(2012, 2, 29, 12), "2012年2月29日12时"},
      {kEarliestDateTime, "100年1月1日"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(dateTimeToText(c.value), c.text);
  }
}

TEST(FormatTimeText, PadsEveryPartButTheYear) {
  EXPECT_EQ(formatTimeText({2011, 1, 1, 12, 0, 0}), "2011-01-01-12:00:00");
  EXPECT_EQ(formatTimeText({2026, 12, 31, 9, 5, 7}), "2026-12-31-09:05:07");
  EXPECT_EQ(formatTimeText({100, 1, 1, 0, 0, 0}), "100-01-01-00:00:00");
}

TEST(PresentTime, IsAValidLocalDateTime) {
  const DateTimeParts now = presentLocalTime();
  EXPECT_GE(now.year, 2024);
  auto value = dateTimeFromParts(now);
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(textToDateTime(formatTimeText(now)), *value);
  EXPECT_NEAR(presentDateTime(), *value, 2.0 / 86400);
}

}  // namespace
