#include <gtest/gtest.h>

#include "about/about_logic.h"

namespace {

TEST(OnlineStatus, AsksForTheContactsStatusPath) {
  EXPECT_EQ(onlineStatusPath(12345), "/pa?p=2:12345:41");
  EXPECT_EQ(chatLink(12345).substr(chatLink(12345).size() - 5), "12345");
}

TEST(OnlineStatus, OnlineOnlyWhenBytes13And14AreTheOnlineMark) {
  const std::string head = "0123456789abc";  // 13 bytes before the mark
  struct Case {
    std::string answer;
    bool online;
  };
  const Case cases[] = {
      {head + "\xB9\xE2", true},
      {head + "\xB9\xE2 and more", true},
      {"", false},
      {head, false},
      {head + "\xB9", false},
      {head + "\xB9\xE3", false},
      {"x" + head + "\xB9\xE2", false},
      {std::string(13, '\0') + "\xB9\xE2", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.answer));
    EXPECT_EQ(answerSaysOnline(c.answer), c.online);
  }
}

TEST(StartWithSystem, QuotesPathsWithSpaces) {
  EXPECT_EQ(runValueFor("C:\\memo\\memo.exe"), "C:\\memo\\memo.exe");
  EXPECT_EQ(runValueFor("C:\\Program Files\\memo\\memo.exe"), "\"C:\\Program Files\\memo\\memo.exe\"");
}

TEST(StartWithSystem, AsksUnlessTheValueStartsThisExecutable) {
  using Step = StartWithSystemStep;
  struct Case {
    std::optional<std::string> value;
    const char* path;
    Step step;
  };
  const Case cases[] = {
      {std::nullopt, "C:\\memo\\memo.exe", Step::kAskWriteOnYes},
      {"C:\\memo\\memo.exe", "C:\\memo\\memo.exe", Step::kNothing},
      {"C:\\MEMO\\memo.exe", "C:\\memo\\memo.exe", Step::kAskWriteOrDelete},
      {"D:\\old\\memo.exe", "C:\\memo\\memo.exe", Step::kAskWriteOrDelete},
      {"", "C:\\memo\\memo.exe", Step::kAskWriteOrDelete},
      {"\"C:\\my memo\\memo.exe\"", "C:\\my memo\\memo.exe", Step::kNothing},
      // An unquoted path with a space is what the fix replaces.
      {"C:\\my memo\\memo.exe", "C:\\my memo\\memo.exe", Step::kAskWriteOrDelete},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value.value_or("(missing)"));
    EXPECT_EQ(startWithSystemStep(c.value, c.path), c.step);
  }
}

}  // namespace
