#include "memo/memo_store.h"

MemoItem makeFirstRunMemo(std::int32_t defaultTextColor) {
  return {kFirstRunText, kFalse, "", kFalse, defaultTextColor};
}

MemoItem makeNewRowMemo(std::int32_t defaultTextColor) {
  return {kNewRowText, kFalse, kNewRowRemindAt, kFalse, defaultTextColor};
}

MemoItem parseMemoItem(std::string_view itemText, std::int32_t defaultTextColor) {
  MemoItem memo = makeNewRowMemo(defaultTextColor);
  auto fields = splitText(itemText, '&');
  if (fields.size() > 0) memo.text = std::move(fields[0]);
  if (fields.size() > 1) memo.timerOn = std::move(fields[1]);
  if (fields.size() > 2) memo.remindAt = std::move(fields[2]);
  if (fields.size() > 3) memo.yellowFrame = std::move(fields[3]);
  if (fields.size() > 4) memo.textColor = textToInteger(fields[4]);
  return memo;
}

std::string serializeMemoList(const std::vector<MemoItem>& memos) {
  std::string value;
  for (const MemoItem& memo : memos) {
    value.append(memo.text).push_back('&');
    value.append(memo.timerOn).push_back('&');
    value.append(memo.remindAt).push_back('&');
    value.append(memo.yellowFrame).push_back('&');
    value.append(integerToText(memo.textColor)).push_back('\\');
  }
  return value;
}

std::vector<MemoItem> parseMemoList(std::string_view value, std::int32_t defaultTextColor) {
  std::vector<MemoItem> memos;
  for (const std::string& item : splitText(value, '\\')) {
    if (item.empty()) continue;  // "\\" holds no memo
    memos.push_back(parseMemoItem(item, defaultTextColor));
  }
  if (memos.empty()) memos.push_back(makeFirstRunMemo(defaultTextColor));
  return memos;
}
