#include <gtest/gtest.h>

#include <algorithm>

#include "settings_window/time_field.h"

namespace {

// A box with the host's selection rules, so the field logic can run without a window.
class ModelBox : public TimeBox {
 public:
  explicit ModelBox(std::string text) : text_(std::move(text)) {}

  std::string text() const override { return text_; }
  int selectionStart() const override { return start_; }
  void setSelectionStart(int start) override {
    lastStart_ = (start < 0 || start > end()) ? end() : start;
    select();
  }
  void setSelectionCount(int count) override {
    lastCount_ = std::max(count, 0);
    select();
  }
  std::string selectedText() const override { return text_.substr(start_, count_); }
  void replaceSelection(std::string_view replacement) override {
    text_.replace(start_, count_, replacement);
    start_ += static_cast<int>(replacement.size());
    count_ = 0;
  }

  // The selection a click or a caret move of the user leaves.
  void place(int start, int count) {
    start_ = start;
    count_ = count;
  }
  int count() const { return count_; }

 private:
  int end() const { return static_cast<int>(text_.size()); }
  void select() {
    start_ = lastStart_;
    count_ = std::min(lastCount_, end() - start_);
  }

  std::string text_;
  int start_ = 0;
  int count_ = 0;
  int lastStart_ = 0;
  int lastCount_ = 0;
};

class ModelLabel : public DateLabel {
 public:
  void setCaption(std::string_view caption) override { caption_ = caption; }
  std::string caption_;
};

struct Selection {
  int start;
  int count;
  bool operator==(const Selection&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Selection& s) {
  return out << "(" << s.start << ", " << s.count << ")";
}

Selection selectionOf(const ModelBox& box) { return {box.selectionStart(), box.count()}; }

TEST(ModelBox, FollowsTheHostSelectionRules) {
  ModelBox box("2011-01-01-12:00:00");
  box.setSelectionStart(5);
  EXPECT_EQ(selectionOf(box), (Selection{5, 0}));
  box.setSelectionCount(2);
  EXPECT_EQ(box.selectedText(), "01");
  box.setSelectionStart(8);
  EXPECT_EQ(selectionOf(box), (Selection{8, 2})) << "the count last written stays";
  box.setSelectionStart(-1);
  EXPECT_EQ(selectionOf(box), (Selection{19, 0}));
  box.setSelectionStart(25);
  EXPECT_EQ(box.selectionStart(), 19);
}

TEST(TimeFieldAt, EachFieldOwnsThePositionJustAfterIt) {
  const int starts[] = {0, 0, 0, 0, 0, 5, 5, 5, 8, 8, 8, 11, 11, 11, 14, 14, 14, 17, 17, 17};
  for (int caret = 0; caret <= 19; ++caret) {
    SCOPED_TRACE(caret);
    auto field = timeFieldAt(caret);
    ASSERT_TRUE(field.has_value());
    EXPECT_EQ(field->start, starts[caret]);
    EXPECT_EQ(field->length, caret <= 4 ? 4 : 2);
  }
  EXPECT_FALSE(timeFieldAt(20).has_value());
  EXPECT_FALSE(timeFieldAt(-1).has_value());
}

TEST(StepTimeField, StepsTheSelectedFieldWithWrapAround) {
  struct Case {
    const char* before;
    int fieldStart;
    int direction;
    const char* after;
  };
  const Case cases[] = {
      {"2020-01-01-12:00:00", 0, +1, "2011-01-01-12:00:00"},
      {"2011-01-01-12:00:00", 0, -1, "2020-01-01-12:00:00"},
      {"2015-01-01-12:00:00", 0, +1, "2016-01-01-12:00:00"},
      {"2024-01-01-12:00:00", 0, +1, "2011-01-01-12:00:00"},
      {"2024-01-01-12:00:00", 0, -1, "2011-01-01-12:00:00"},
      {"2005-01-01-12:00:00", 0, +1, "2020-01-01-12:00:00"},
      {"2005-01-01-12:00:00", 0, -1, "2020-01-01-12:00:00"},
      {"2011-12-01-12:00:00", 5, +1, "2011-01-01-12:00:00"},
      {"2011-01-01-12:00:00", 5, -1, "2011-12-01-12:00:00"},
      {"2011-09-01-12:00:00", 5, +1, "2011-10-01-12:00:00"},
      {"2011-10-01-12:00:00", 5, -1, "2011-09-01-12:00:00"},
      {"2011-02-31-12:00:00", 8, +1, "2011-02-01-12:00:00"},
      {"2011-04-01-12:00:00", 8, -1, "2011-04-31-12:00:00"},
      {"2011-01-28-12:00:00", 8, +1, "2011-01-29-12:00:00"},
      {"2011-01-01-23:00:00", 11, +1, "2011-01-01-00:00:00"},
      {"2011-01-01-00:00:00", 11, -1, "2011-01-01-23:00:00"},
      {"2011-01-01-12:59:00", 14, +1, "2011-01-01-12:00:00"},
      {"2011-01-01-12:00:00", 14, -1, "2011-01-01-12:59:00"},
      {"2011-01-01-12:00:59", 17, +1, "2011-01-01-12:00:00"},
      {"2011-01-01-12:00:00", 17, -1, "2011-01-01-12:00:59"},
      {"2011-01-01-12:00:08", 17, +1, "2011-01-01-12:00:09"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.before) + " at " + std::to_string(c.fieldStart));
    ModelBox box(c.before);
    ModelLabel label;
    const int length = c.fieldStart == 0 ? 4 : 2;
    box.place(c.fieldStart, length);
    stepTimeField(box, label, c.direction);
    EXPECT_EQ(box.text(), c.after);
    EXPECT_EQ(selectionOf(box), (Selection{c.fieldStart, length})) << "the field stays selected";
  }
}

TEST(StepTimeField, SelectsTheFieldAtTheCaretFirst) {
  ModelBox box("2011-01-01-12:00:00");
  ModelLabel label;
  box.place(0, 0);  // a freshly filled box
  stepTimeField(box, label, +1);
  EXPECT_EQ(box.text(), "2012-01-01-12:00:00");
  EXPECT_EQ(selectionOf(box), (Selection{0, 4}));

  box.place(13, 0);  // after Home or End: the caret just after the hour
  stepTimeField(box, label, +1);
  EXPECT_EQ(box.text(), "2012-01-01-13:00:00");
  EXPECT_EQ(selectionOf(box), (Selection{11, 2}));
}

TEST(StepTimeField, OutsideEveryFieldOnlyRefreshesTheLabel) {
  ModelBox box("2011-01-01-12:00:00xx");
  ModelLabel label;
  box.place(20, 1);
  stepTimeField(box, label, +1);
  EXPECT_EQ(box.text(), "2011-01-01-12:00:00xx");
  EXPECT_EQ(selectionOf(box), (Selection{20, 1}));
  EXPECT_EQ(label.caption_, kNoSuchDate);
}

TEST(RefreshDateLabel, ShowsTheTimeInWordsOrThatTheDateDoesNotExist) {
  struct Case {
    const char* text;
    const char* caption;
  };
  const Case cases[] = {
      {"2011-01-01-12:00:00", "2011年1月1日12时"},
      {"2011-01-01-00:00:00", "2011年1月1日"},
      {"2011-01-01-12:30:00", "2011年1月1日12时30分"},
      {"2011-01-01-12:00:05", "2011年1月1日12时0分5秒"},
      {"2012-02-29-12:00:00", "2012年2月29日12时"},
      {"2011-02-29-12:00:00", kNoSuchDate},
      {"2011-04-31-12:00:00", kNoSuchDate},
      {"", kNoSuchDate},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ModelBox box(c.text);
    ModelLabel label;
    refreshDateLabel(box, label);
    EXPECT_EQ(label.caption_, c.caption);
  }
}

TEST(StepTimeField, RefreshesTheLabel) {
  ModelBox box("2011-01-01-11:00:00");
  ModelLabel label;
  EXPECT_EQ(label.caption_, "") << "empty until the first step";
  box.place(11, 2);
  stepTimeField(box, label, +1);
  EXPECT_EQ(label.caption_, "2011年1月1日12时");
}

TEST(SnapTimeSelection, SelectsTheWholeFieldUnderTheCaret) {
  struct Case {
    int caret;
    Selection selection;
  };
  const Case cases[] = {{0, {0, 4}},    {2, {0, 4}},    {4, {0, 4}},    {5, {5, 2}},    {7, {5, 2}},
                        {10, {8, 2}},   {11, {11, 2}},  {16, {14, 2}},  {17, {17, 2}},  {19, {17, 2}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caret);
    ModelBox box("2011-01-01-12:00:00");
    box.place(c.caret, 0);
    snapTimeSelection(box);
    EXPECT_EQ(selectionOf(box), c.selection);
  }
  ModelBox longer("2011-01-01-12:00:00xx");
  longer.place(21, 0);
  snapTimeSelection(longer);
  EXPECT_EQ(selectionOf(longer), (Selection{21, 0}));
}

TEST(HandleTimeKey, ArrowsMoveBetweenFieldsAndWrap) {
  const Selection year{0, 4}, month{5, 2}, day{8, 2}, hour{11, 2}, minute{14, 2}, second{17, 2};
  struct Walk {
    int key;
    std::vector<Selection> order;
  };
  const Walk walks[] = {
      {kKeyRight, {year, month, day, hour, minute, second, year}},
      {kKeyLeft, {year, second, minute, hour, day, month, year}},
  };
  ModelBox box("2011-01-01-12:00:00");
  ModelLabel label;
  for (const Walk& walk : walks) {
    box.place(0, 4);
    for (std::size_t i = 1; i < walk.order.size(); ++i) {
      SCOPED_TRACE(testing::Message() << (walk.key == kKeyRight ? "Right" : "Left") << " step " << i);
      EXPECT_TRUE(handleTimeKey(box, label, walk.key, 0));
      EXPECT_EQ(selectionOf(box), walk.order[i]);
    }
  }
  EXPECT_EQ(box.text(), "2011-01-01-12:00:00");
  EXPECT_EQ(label.caption_, "") << "moving does not touch the label";
}

TEST(HandleTimeKey, UpAndDownStepAndOtherKeysFollowTheTable) {
  struct Case {
    const char* name;
    int key;
    int modifiers;
    bool consumed;
    const char* text;
  };
  const Case cases[] = {
      {"Up", kKeyUp, 0, true, "2011-02-01-12:00:00"},
      {"Down", kKeyDown, 0, true, "2011-12-01-12:00:00"},
      {"Shift+Up", kKeyUp, kModifierShift, true, "2011-01-01-12:00:00"},
      {"Ctrl+Right", kKeyRight, kModifierCtrl, true, "2011-01-01-12:00:00"},
      {"Alt+Down", kKeyDown, kModifierAlt, true, "2011-01-01-12:00:00"},
      {"Alt+A", 'A', kModifierAlt, true, "2011-01-01-12:00:00"},
      {"Backspace", kKeyBackspace, 0, true, "2011-01-01-12:00:00"},
      {"Delete", kKeyDelete, 0, true, "2011-01-01-12:00:00"},
      {"a letter reaches the box", 'A', 0, false, "2011-01-01-12:00:00"},
      {"Shift alone reaches the box", 16, 0, false, "2011-01-01-12:00:00"},
      {"Home reaches the box", 36, 0, false, "2011-01-01-12:00:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ModelBox box("2011-01-01-12:00:00");
    ModelLabel label;
    box.place(5, 2);
    EXPECT_EQ(handleTimeKey(box, label, c.key, c.modifiers), c.consumed);
    EXPECT_EQ(box.text(), c.text);
    EXPECT_EQ(selectionOf(box), (Selection{5, 2}));
  }
}

}  // namespace
