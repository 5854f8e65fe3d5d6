// Figures for the layered surface under Wine: the bare push of a 208 x 846
// frame and, as ratios to it from the same run, a full 41-row refresh, one
// keystroke, one caret tick and one decode of the 41-row background.
// Usage: skin_bench.exe ASSETS_DIR
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "skin/edit_box_win.h"
#include "skin/image_button_win.h"
#include "skin/image_loading_win.h"
#include "skin/layered_surface_win.h"
#include "skin/picture_box_win.h"
#include "skin/surface_frame_win.h"
#include "skin/toolkit_start_win.h"

namespace {

struct Figures {
  double median;
  double p90;
};

double nowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

Figures measure(int runs, const std::function<void()>& work) {
  work();  // warm up
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double start = nowMs();
    work();
    times.push_back(nowMs() - start);
  }
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], times[times.size() * 9 / 10]};
}

std::vector<std::uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void report(const char* name, Figures f, const Figures* floor) {
  std::printf("%-34s median %7.3f ms   p90 %7.3f ms", name, f.median, f.p90);
  if (floor) std::printf("   %.2f x bare push", f.median / floor->median);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: skin_bench ASSETS_DIR\n");
    return 2;
  }
  const std::string assets = std::string(argv[1]) + "\\strip\\";
  startToolkit();
  const auto backgroundBytes = readFile(assets + "background_41.png");
  UniqueGpImage background = loadImageFromBytes(backgroundBytes);
  UniqueGpImage bar = loadImageFromBytes(readFile(assets + "bar_normal.png"));
  UniqueGpImage clock = loadImageFromBytes(readFile(assets + "clock_off.png"));
  UniqueGpImage remove = loadImageFromBytes(readFile(assets + "delete_hover.png"));
  if (!background || !bar || !clock || !remove) {
    std::fprintf(stderr, "skin_bench: cannot read the strip images in %s\n", assets.c_str());
    return 1;
  }

  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "Static", "", WS_POPUP, 400, 60, 208, 846, nullptr, nullptr,
                                nullptr, nullptr);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  PngLayeredWindow surface;
  surface.bindSurface(window);
  surface.setBackImage(background.get());
  HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
  std::vector<HWND> edits;
  for (int row = 0; row < 41; ++row) {
    const int top = 26 + 20 * row;
    HWND barWindow = CreateWindowExA(0, "Button", "", WS_CHILD | WS_VISIBLE, 0, top, 208, 20, window, nullptr,
                                     nullptr, nullptr);
    PngPictureBox().bindPicture(barWindow, bar.get());
    HWND edit = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 6, top + 1, 170, 20, window,
                                nullptr, nullptr, nullptr);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowTextA(edit, "一二三四五六七八九十甲乙丙");
    PngEditBox box;
    box.bindEdit(edit);
    box.setBackColor(kNoColour);
    box.setBorderColor(kNoColour);
    box.setTextColor(0xFFFFFF);
    edits.push_back(edit);
    PngButton clockButton;
    clockButton.create(window, 171, top + 1, 18, 18, "reminder");
    clockButton.setImages(clock.get());
    PngButton deleteButton;
    deleteButton.create(window, 189, top + 2, 16, 16, "delete");
    deleteButton.setImages(remove.get());
  }
  surface.refresh();
  pump();

  const SurfaceFrame* frame = surfaceFrame(window);
  if (!frame) {
    std::fprintf(stderr, "skin_bench: nothing was composed\n");
    return 1;
  }
  const Figures push = measure(60, [&] { frame->push(window); });
  const Figures refresh = measure(40, [&] { surface.refresh(); });
  SetFocus(edits[20]);
  pump();
  bool typed = false;
  const Figures keystroke = measure(40, [&] {
    SendMessageA(edits[20], WM_CHAR, typed ? VK_BACK : 'a', 0);
    typed = !typed;
  });
  const Figures caret = measure(60, [&] { caretTimerProc(window, WM_TIMER, kCaretTimerId, 0); });
  const Figures decode = measure(30, [&] { loadImageFromBytes(backgroundBytes); });

  report("bare push 208x846", push, nullptr);
  report("refresh, 41 rows", refresh, &push);
  report("keystroke to pushed frame", keystroke, &push);
  report("caret tick", caret, &push);
  report("decode 208x846 background", decode, &push);
  DestroyWindow(window);
  DeleteObject(font);
  return 0;
}
