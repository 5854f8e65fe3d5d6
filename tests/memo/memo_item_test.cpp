#include <gtest/gtest.h>

#include "memo/memo_store.h"

namespace {

MemoItem memo(std::string text, std::string timerOn, std::string remindAt, std::string yellowFrame,
              std::int32_t color) {
  return {std::move(text), std::move(timerOn), std::move(remindAt), std::move(yellowFrame), color};
}

TEST(MemoTemplates, HoldTheirFixedFields) {
  EXPECT_EQ(makeFirstRunMemo(255), memo("      青岚映辉   碧溪奔腾 ", "假", "", "假", 255));
  EXPECT_EQ(makeNewRowMemo(kWhite), memo("请在此输入", "假", "2011-01-01-12:00:00", "假", 16777215));
}

TEST(ParseMemoList, ReadsItemsByTheSplittingRule) {
  const MemoItem first = memo("a", "假", "", "假", 0);
  struct Case {
    const char* value;
    std::vector<MemoItem> memos;
  };
  const Case cases[] = {
      {"a&假&&假&0\\", {first}},
      {"a&假&&假&0", {first}},
      {"a&假&&假&0&zzz\\", {first}},
      {"a&假&&假&0\\b&真&2011-01-01-12:00:00&真&255\\",
       {first, memo("b", "真", "2011-01-01-12:00:00", "真", 255)}},
      {"  &假&&假&abc\\", {memo("  ", "假", "", "假", 0)}},
      // A text with "&" shifts the fields: the colour comes from the old frame text.
      {"x&y&假&2011-01-01-12:00:00&假&16777215\\", {memo("x", "y", "假", "2011-01-01-12:00:00", 0)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(parseMemoList(c.value, kWhite), c.memos);
  }
}

TEST(ParseMemoList, AnEmptyValueGivesOneFirstRunMemo) {
  for (const char* value : {"", "\\", "\\\\", "\\\\\\"}) {
    SCOPED_TRACE(value);
    EXPECT_EQ(parseMemoList(value, 123), std::vector<MemoItem>{makeFirstRunMemo(123)});
  }
}

TEST(ParseMemoList, ShortItemsKeepTheirTextAndTakeNewRowValues) {
  // A cut tail or a text that held "\" leaves items with fewer than five fields.
  const std::vector<MemoItem> expected = {
      memo("a", "真", "2011-05-03-09:30:00", "真", 255),
      memo("cut", "真", "2011-01-01-12:00:00", "假", 77),
      memo("b", "假", "2011-01-01-12:00:00", "假", 77),
  };
  EXPECT_EQ(parseMemoList("a&真&2011-05-03-09:30:00&真&255\\\\cut&真\\b\\", 77), expected);
}

TEST(SerializeMemoList, WritesFiveFieldsPerItemEachEndedByBackslash) {
  EXPECT_EQ(serializeMemoList({}), "");
  EXPECT_EQ(serializeMemoList({makeNewRowMemo(kWhite)}), "请在此输入&假&2011-01-01-12:00:00&假&16777215\\");
  EXPECT_EQ(serializeMemoList({memo("a", "假", "", "假", 16777215), memo("b", "真", "2011-05-03-09:30:00", "真", 255)}),
            "a&假&&假&16777215\\b&真&2011-05-03-09:30:00&真&255\\");
  EXPECT_EQ(serializeMemoList({memo("neg", "假", "", "假", -1)}), "neg&假&&假&-1\\");
}

TEST(SerializeMemoList, RoundTripsWhatTheSystemWrote) {
  const char* stored[] = {
      "请在此输入&假&2011-01-01-12:00:00&假&16777215\\",
      "a&假&&假&16777215\\b&真&2011-05-03-09:30:00&真&255\\ c &真 &x&假&0\\",
      "青岚映辉   碧溪奔腾 &假&&假&16777215\\",
  };
  for (const char* value : stored) {
    SCOPED_TRACE(value);
    EXPECT_EQ(serializeMemoList(parseMemoList(value, kWhite)), value);
  }
}

}  // namespace
