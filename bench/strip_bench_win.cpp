// The strip measured from inside its own process, with the settings file
// beside this executable:
//   strip_bench startup       milliseconds from entry to the first frame pushed
//                             to the screen (the composition of the finished strip)
//   strip_bench soak SECONDS  adds a row and deletes it again, over and over,
//                             through the strip's own click handlers while its
//                             reminders flash; prints GDI objects and private
//                             memory at the start and every 10 s
// Prints figures only; run by bench/strip_bench.sh.
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "skin/layered_surface_win.h"
#include "strip/strip_win.h"

namespace {

double milliseconds() {
  LARGE_INTEGER counter{}, frequency{};
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Wine's GetGuiResources answers 0; its GDI handle table lies in the PEB, as
// on older Windows, one 24-byte entry per handle with a non-zero type byte.
unsigned gdiObjects() {
  if (DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return counted;
  struct Entry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t user;
  };
  static_assert(sizeof(Entry) == 24);
  const auto* peb = reinterpret_cast<const unsigned char*>(NtCurrentTeb()->ProcessEnvironmentBlock);
  const auto* table = *reinterpret_cast<const Entry* const*>(peb + 0xF8);  // GdiSharedHandleTable
  if (!table) return 0;
  unsigned used = 0;
  for (int i = 0; i < 0x10000; ++i) used += table[i].type != 0;
  return used;
}

// Wine reports no private bytes; the Linux process it runs in is this process.
std::size_t privateKilobytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof counters) &&
      counters.PrivateUsage) {
    return counters.PrivateUsage / 1024;
  }
  std::size_t kilobytes = 0;
  if (FILE* file = std::fopen("Z:\\proc\\self\\smaps_rollup", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, file)) {
      std::size_t value = 0;
      if (std::sscanf(line, "Private_Clean: %zu", &value) == 1 || std::sscanf(line, "Private_Dirty: %zu", &value) == 1) {
        kilobytes += value;
      }
    }
    std::fclose(file);
  }
  return kilobytes;
}

void clickFromStrip(HWND button) {
  SendMessageA(windowHandle(strip().window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

struct Soak {
  double end = 0;
  double nextReport = 0;
  double started = 0;
  int cycles = 0;
  HWND addButton = nullptr;
} soak;

void report(const char* when) {
  std::printf("%-6s %6.1f s  GDI objects %5u  private memory %7zu KB  rows %d\n", when,
              (milliseconds() - soak.started) / 1000.0, gdiObjects(), privateKilobytes(), strip().rowCount);
  std::fflush(stdout);
}

void CALLBACK soakTick(HWND, UINT, UINT_PTR, DWORD) {
  StripState& s = strip();
  if (milliseconds() >= soak.end) {
    report("end");
    std::printf("add/delete cycles: %d\n", soak.cycles);
    destroyWindow(s.window);
    return;
  }
  if (s.rowCount == 41) {
    clickFromStrip(soak.addButton);
  } else if (!s.deleteControls.empty()) {
    clickFromStrip(controlHandle(s.deleteControls.back()));
    ++soak.cycles;
  }
  if (milliseconds() >= soak.nextReport) {
    report("during");
    soak.nextReport += 10000;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const double entry = milliseconds();
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode != "startup" && mode != "soak") {
    std::fprintf(stderr, "usage: strip_bench startup | soak SECONDS\n");
    return 2;
  }
  startToolkit();
  const int window = loadWindow(stripTemplate(), stripHandlers());
  if (!window) return 1;
  // A hidden strip composes when it is shown, from a posted request.
  MSG msg;
  while (!surfaceFrame(windowHandle(window)) && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (mode == "startup") {
    std::printf("%.2f\n", milliseconds() - entry);
    destroyWindow(window);
  } else {
    soak.started = milliseconds();
    soak.end = soak.started + 1000.0 * std::atof(argc > 2 ? argv[2] : "60");
    soak.nextReport = soak.started + 10000;
    soak.addButton = controlHandle(findControl(window, kAddButton).value_or(ControlRef{}));
    report("start");
    SetTimer(nullptr, 0, 100, soakTick);
  }
  const int result = runMessageLoop();
  strip().reminder.stop();
  return result;
}
