#include "memo/memo_store.h"

std::size_t MemoList::size() const {
  std::lock_guard lock(mutex_);
  return items_.size();
}

MemoItem MemoList::at(std::size_t index) const {
  std::lock_guard lock(mutex_);
  if (index < 1 || index > items_.size()) return {};
  return items_[index - 1];
}

void MemoList::replace(std::size_t index, MemoItem item) {
  std::lock_guard lock(mutex_);
  if (index >= 1 && index <= items_.size()) items_[index - 1] = std::move(item);
}

void MemoList::append(MemoItem item) {
  std::lock_guard lock(mutex_);
  items_.push_back(std::move(item));
}

void MemoList::remove(std::size_t index) {
  std::lock_guard lock(mutex_);
  if (index >= 1 && index <= items_.size()) items_.erase(items_.begin() + (index - 1));
}

void MemoList::assign(std::vector<MemoItem> items) {
  std::lock_guard lock(mutex_);
  items_ = std::move(items);
}

std::vector<MemoItem> MemoList::snapshot() const {
  std::lock_guard lock(mutex_);
  return items_;
}

std::string MemoList::serialize() const {
  std::lock_guard lock(mutex_);
  return serializeMemoList(items_);
}
