// Figures for the memo store and the due check over a 1,000-memo list.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "memo/memo_store.h"
#include "reminder/due_check.h"

namespace {

std::vector<MemoItem> thousandMemos() {
  std::vector<MemoItem> memos;
  for (int i = 0; i < 1000; ++i) {
    MemoItem memo = makeNewRowMemo(kWhite);
    memo.text = "第" + integerToText(i) + "条备忘录内容";
    memo.timerOn = i % 3 == 0 ? kTrue : kFalse;
    memo.remindAt = i % 2 ? "2011-05-03-09:30:00" : "2030-01-01-00:00:00";
    memo.textColor = i * 997;
    memos.push_back(memo);
  }
  return memos;
}

void ParseMemoList1000(benchmark::State& state) {
  const std::string value = serializeMemoList(thousandMemos());
  for (auto _ : state) benchmark::DoNotOptimize(parseMemoList(value, kWhite));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(value.size()));
}
BENCHMARK(ParseMemoList1000);

void SerializeMemoList1000(benchmark::State& state) {
  const auto memos = thousandMemos();
  for (auto _ : state) benchmark::DoNotOptimize(serializeMemoList(memos));
}
BENCHMARK(SerializeMemoList1000);

void FindDueMemos1000(benchmark::State& state) {
  const auto memos = thousandMemos();
  const DateTime now = presentDateTime();
  for (auto _ : state) benchmark::DoNotOptimize(findDueMemos(memos, now));
}
BENCHMARK(FindDueMemos1000);

void SettingsWrite1000(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() / "memo_bench";
  std::filesystem::create_directories(dir);
  SettingsFile settings((dir / "settings.dpk").string());
  settings.write(kKeyStartX, "100");
  settings.write(kKeyStartY, "100");
  const std::string value = serializeMemoList(thousandMemos());
  for (auto _ : state) benchmark::DoNotOptimize(settings.write(kKeyMemoItems, value));
  std::filesystem::remove_all(dir);
}
BENCHMARK(SettingsWrite1000)->Unit(benchmark::kMicrosecond);

}  // namespace
