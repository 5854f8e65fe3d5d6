// Delivers what is queued for this thread's windows, a few rounds apart so
// that messages posted while handling others arrive too.
#pragma once

#include <windows.h>

inline void pumpMessages() {
  MSG msg;
  for (int round = 0; round < 3; ++round) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(2);
  }
}
