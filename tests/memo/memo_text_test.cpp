#include <gtest/gtest.h>

#include <limits>

#include "memo/memo_store.h"

namespace {

std::string bytes(std::initializer_list<unsigned char> list) { return std::string(list.begin(), list.end()); }

TEST(Literals, FlagsAreCodePage936Bytes) {
  // The fuzz build is compiled by clang, which keeps UTF-8 literals; every
  // build that ships or runs these tests uses code page 936.
  EXPECT_EQ(std::string(kTrue), bytes({0xD5, 0xE6}));
  EXPECT_EQ(std::string(kFalse), bytes({0xBC, 0xD9}));
  EXPECT_EQ(std::string(kSettingsFileName), bytes({0xC5, 0xE4, 0xD6, 0xC3, '.', 'd', 'p', 'k'}));
}

TEST(Flags, OnlyTheExactTrueBytesAreOn) {
  EXPECT_TRUE(isTrue("真"));
  for (const char* off : {"假", " 真", "真 ", "TRUE", "", "真真"}) {
    SCOPED_TRACE(off);
    EXPECT_FALSE(isTrue(off));
  }
}

TEST(SplitText, CutsByTheSplittingRule) {
  struct Case {
    std::string text;
    char delimiter;
    std::vector<std::string> pieces;
  };
  const Case cases[] = {
      {"", '\\', {}},
      {"a", '\\', {"a"}},
      {"a\\", '\\', {"a"}},
      {"a\\b", '\\', {"a", "b"}},
      {"\\", '\\', {""}},
      {"\\\\", '\\', {"", ""}},
      {"\\a", '\\', {"", "a"}},
      {"a\\\\b\\", '\\', {"a", "", "b"}},
      {"a&&b", '&', {"a", "", "b"}},
      {"x&y&&", '&', {"x", "y", ""}},
      // 0x5C as the trail byte of a double-byte character is not a delimiter.
      {bytes({'a', 0x81, 0x5C, 'b', '\\', 'c'}), '\\', {bytes({'a', 0x81, 0x5C, 'b'}), "c"}},
      {bytes({0x81, '&', '&', 'x'}), '&', {bytes({0x81, '&'}), "x"}},
      // A lead byte at the very end stands alone.
      {bytes({'a', '\\', 0xB0}), '\\', {"a", bytes({0xB0})}},
      {"请在此输入&假&&假&0", '&', {"请在此输入", "假", "", "假", "0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    EXPECT_EQ(splitText(c.text, c.delimiter), c.pieces);
  }
}

TEST(TextToInteger, ReadsTheLeadingNumberAndTruncatesTowardZero) {
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  struct Case {
    std::string text;
    std::int32_t value;
  };
  const Case cases[] = {
      {"", 0},
      {"abc", 0},
      {"0", 0},
      {"12.9", 12},
      {"-3.7", -3},
      {"255.9", 255},
      {"-20", -20},
      {"+7", 7},
      {"  \t42xyz", 42},
      {"16777215", 16777215},
      {".5", 0},
      {"5.", 5},
      {"1e3", 1000},
      {"2.5E2", 250},
      {"1e", 1},
      {"1e+", 1},
      {"-", 0},
      {"+.", 0},
      {"0x10", 0},
      {"inf", 0},
      {"nan", 0},
      {"1e99", kMax},
      {"-1e99", kMin},
      {"1e-999", 0},
      {"2147483647", kMax},
      {"2147483648", kMax},
      {"-2147483648", kMin},
      {"99999999999999999999", kMax},
      // Full-width digits, sign, point and space count as their ASCII forms.
      {bytes({0xA3, 0xB1, 0xA3, 0xB2}), 12},
      {bytes({0xA3, 0xAD, 0xA3, 0xB5}), -5},
      {bytes({0xA1, 0xA1, 0xA3, 0xB3, 0xA3, 0xAE, 0xA3, 0xB9}), 3},
      {bytes({'1', 0xA3, 0xB0}), 10},
      // Any other double-byte character ends the number.
      {bytes({'7', 0xB0, 0xA1, '1'}), 7},
      {bytes({0xA3}), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    EXPECT_EQ(textToInteger(c.text), c.value);
  }
}

TEST(WithoutItemDelimiters, DropsOnlySingleByteDelimiters) {
  struct Case {
    std::string text;
    std::string kept;
  };
  const Case cases[] = {
      {"plain", "plain"},
      {"a&b\\c", "abc"},
      {"&&\\", ""},
      {"十点&开会", "十点开会"},
      // 0x5C as a trail byte belongs to its character and stays.
      {bytes({0x81, 0x5C, '\\', 0x81, '&'}), bytes({0x81, 0x5C, 0x81, '&'})},
      {bytes({'x', 0xB0}), bytes({'x', 0xB0})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    EXPECT_EQ(withoutItemDelimiters(c.text), c.kept);
  }
}

TEST(IntegerToText, WritesPlainDecimal) {
  EXPECT_EQ(integerToText(0), "0");
  EXPECT_EQ(integerToText(16777215), "16777215");
  EXPECT_EQ(integerToText(-20), "-20");
  EXPECT_EQ(integerToText(std::numeric_limits<std::int32_t>::min()), "-2147483648");
}

}  // namespace
