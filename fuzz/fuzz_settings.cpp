// Feeds arbitrary bytes to every reader of the settings file and checks the
// properties that must hold for any input.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "host/date_time.h"
#include "memo/memo_store.h"
#include "memo/profile_text.h"
#include "reminder/due_check.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// A value the profile format stores exactly: no line break, no blank at either
// end, not wrapped in one pair of quotes.
bool storesExactly(const std::string& v) {
  if (v.find_first_of("\r\n") != std::string::npos) return false;
  if (!v.empty() && (isBlank(v.front()) || isBlank(v.back()))) return false;
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) return false;
  return v.size() <= kMaxSettingValueBytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The input is a value (up to a lone backslash pair such as "\\|") and then a file.
  FuzzedDataProvider input(data, size);
  const std::string value = input.ConsumeRandomLengthString(2048);
  const std::string contents = input.ConsumeRemainingBytesAsString();

  // The file as found on disk.
  const char* keys[] = {kKeyStartX, kKeyStartY, kKeyTextColor, kKeyMemoItems};
  std::string before[4];
  for (int i = 0; i < 4; ++i) {
    before[i] = profileRead(contents, kSettingsSection, keys[i], kMaxSettingValueBytes);
    check(before[i].size() <= kMaxSettingValueBytes);
  }
  const std::vector<MemoItem> memos = parseMemoList(before[3], kWhite);
  check(!memos.empty());
  const std::string serialized = serializeMemoList(memos);
  // Every item ends in a digit and "\\", so a reload finds as many memos.
  check(parseMemoList(serialized, kWhite).size() == memos.size());
  findDueMemos(memos, presentDateTime());

  // A write changes its own key and no other.
  const std::string written = profileWrite(contents, kSettingsSection, kKeyMemoItems, value);
  if (storesExactly(value)) {
    check(profileRead(written, kSettingsSection, kKeyMemoItems, kMaxSettingValueBytes) == value);
  }
  for (int i = 0; i < 3; ++i) {
    check(profileRead(written, kSettingsSection, keys[i], kMaxSettingValueBytes) == before[i]);
  }

  // Numbers and date-times from any text.
  const std::int32_t number = textToInteger(value);
  check(textToInteger(integerToText(number)) == number);
  const DateTime when = textToDateTime(value);
  check(when >= kEarliestDateTime && when <= 2958466.0);
  if (when != kEarliestDateTime) check(textToDateTime(formatTimeText(dateTimeParts(when))) == when);
  dateTimeToText(when);
  return 0;
}
