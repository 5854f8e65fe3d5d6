// The reminder thread: every cycle it checks the memo list against the wall
// clock and asks the strip's window thread to flash the due rows, then to put
// their plain bars back two seconds later. It touches no window and no row
// itself; the window thread re-checks at the cycle's moment on its own rows.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include "host/date_time.h"
#include "memo/memo_store.h"

#include <windows.h>

// Posted to the strip window with the cycle's moment in wParam (see momentOf).
inline constexpr UINT kMsgFlashDueRows = WM_APP + 20;
inline constexpr UINT kMsgRestoreDueRows = WM_APP + 21;

WPARAM packMoment(DateTime moment);
DateTime momentOf(WPARAM packed);

class ReminderLoop {
 public:
  ReminderLoop() = default;
  ReminderLoop(const ReminderLoop&) = delete;
  ReminderLoop& operator=(const ReminderLoop&) = delete;
  ~ReminderLoop() { stop(); }

  void start(HWND strip, const MemoList& memos);
  // Ends the thread at its next wait and joins it.
  void stop();

 private:
  void run(HWND strip, const MemoList& memos);
  // False when stopped during the wait.
  bool sleepFor(int milliseconds);

  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::thread thread_;
};

// 2000 ms after the flash and 2000 ms between cycles.
inline constexpr int kReminderPauseMs = 2000;
