// Which memos are due: reminder on and its time strictly before now.
#pragma once

#include <cstddef>
#include <vector>

#include "host/date_time.h"
#include "memo/memo_store.h"

// 1-based indices in ascending order. An empty or unreadable time is the
// earliest date-time, so such a memo is due at once.
std::vector<std::size_t> findDueMemos(const std::vector<MemoItem>& memos, DateTime now);

// The ordering key of a date-time: clamped to the supported range, made linear
// across 1899-12-30 and counted in whole seconds.
std::int64_t linearSeconds(DateTime value);
