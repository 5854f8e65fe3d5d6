#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "memo/memo_store.h"

namespace {

TEST(MemoList, KeepsRowsInOrderWithOneBasedIndices) {
  MemoList list;
  list.assign({makeFirstRunMemo(kWhite)});
  list.append(makeNewRowMemo(1));
  list.append(makeNewRowMemo(2));
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list.at(2).textColor, 1);

  list.update(3, [](MemoItem& m) { m.text = "third"; });
  list.remove(2);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list.at(2).text, "third");
  EXPECT_EQ(list.at(1), makeFirstRunMemo(kWhite));
  EXPECT_EQ(list.serialize(), serializeMemoList(list.snapshot()));
}

TEST(MemoList, OutOfRangeIndicesChangeNothing) {
  MemoList list;
  list.assign({makeNewRowMemo(kWhite)});
  list.remove(0);
  list.remove(2);
  list.replace(5, makeFirstRunMemo(0));
  list.update(0, [](MemoItem& m) { m.text = "x"; });
  EXPECT_EQ(list.snapshot(), std::vector<MemoItem>{makeNewRowMemo(kWhite)});
  EXPECT_EQ(list.at(9), MemoItem{});
}

TEST(MemoList, SnapshotsStayWholeWhileAnotherThreadChangesTheList) {
  MemoList list;
  list.assign({makeNewRowMemo(kWhite)});
  std::atomic<bool> stop{false};
  std::thread reader([&] {
    while (!stop) {
      for (const MemoItem& m : list.snapshot()) {
        ASSERT_EQ(m.remindAt.size(), 19u);
        ASSERT_TRUE(m.timerOn == "假" || m.timerOn == "真");
      }
    }
  });
  for (int i = 0; i < 2000; ++i) {
    list.append(makeNewRowMemo(i));
    list.update(list.size(), [](MemoItem& m) { m.timerOn = "真"; });
    if (list.size() > 40) list.remove(2);
  }
  stop = true;
  reader.join();
  EXPECT_EQ(list.size(), 40u);
}

}  // namespace
