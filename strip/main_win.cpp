// The program: one strip per settings file, its window and the message loop.
#include <cstdio>
#include <functional>

#include "strip/strip_win.h"

namespace {

// A second start for the same settings file raises the running strip instead,
// so two strips never overwrite each other's memos.
bool anotherStripRuns() {
  const std::string name = "Local\\MemoStrip." + integerToText(static_cast<std::int64_t>(
                                                    std::hash<std::string>{}(settingsFilePath()) & 0x7FFFFFFF));
  HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());  // held until the process ends
  if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
  if (mutex) CloseHandle(mutex);
  if (HWND running = FindWindowA("MemoStripForm", kStripTitle)) {
    SetWindowPos(running, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(running, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (anotherStripRuns()) return 0;
  startToolkit();
  if (!loadWindow(stripTemplate(), stripHandlers())) return 1;
  const int result = runMessageLoop();
  strip().reminder.stop();
  return result;
}
