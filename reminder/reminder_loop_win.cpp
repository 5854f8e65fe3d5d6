#include "reminder/reminder_loop_win.h"

#include <cstring>

#include "reminder/due_check.h"

WPARAM packMoment(DateTime moment) {
  static_assert(sizeof(WPARAM) == sizeof(DateTime));
  WPARAM packed = 0;
  std::memcpy(&packed, &moment, sizeof moment);
  return packed;
}

DateTime momentOf(WPARAM packed) {
  DateTime moment = 0;
  std::memcpy(&moment, &packed, sizeof moment);
  return moment;
}

void ReminderLoop::start(HWND strip, const MemoList& memos) {
  if (thread_.joinable()) return;
  stopping_ = false;
  thread_ = std::thread([this, strip, &memos] { run(strip, memos); });
}

void ReminderLoop::stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

bool ReminderLoop::sleepFor(int milliseconds) {
  std::unique_lock lock(mutex_);
  return !wake_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return stopping_; });
}

void ReminderLoop::run(HWND strip, const MemoList& memos) {
  for (;;) {
    // The wall clock at every cycle, so a time passed while asleep counts at once.
    const DateTime now = presentDateTime();
    if (!findDueMemos(memos.snapshot(), now).empty()) {
      PostMessageA(strip, kMsgFlashDueRows, packMoment(now), 0);
      if (!sleepFor(kReminderPauseMs)) return;
      PostMessageA(strip, kMsgRestoreDueRows, packMoment(now), 0);
    }
    if (!sleepFor(kReminderPauseMs)) return;
    SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
  }
}
