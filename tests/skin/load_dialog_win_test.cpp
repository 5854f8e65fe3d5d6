// Toolkit start-up, the "OrvexLoadDialog" class and its window procedure, on
// real windows driven with real input.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <iterator>
#include <vector>

#include "skin/image_loading_win.h"
#include "skin/load_dialog_win.h"
#include "skin/toolkit_start_win.h"
#include "tests/skin/png_fixtures.h"

namespace {

TEST(StartToolkit, StartsGdiplusOnceAndKeepsItRunning) {
  // The test main started the toolkit already.
  const ULONG_PTR token = gdiplusToken();
  ASSERT_NE(token, 0u);
  startToolkit();
  EXPECT_EQ(gdiplusToken(), token);
  Gdiplus::GpBitmap* bitmap = nullptr;
  ASSERT_EQ(Gdiplus::DllExports::GdipCreateBitmapFromScan0(4, 4, 0, PixelFormat32bppARGB, nullptr, &bitmap),
            Gdiplus::Ok);
  Gdiplus::DllExports::GdipDisposeImage(bitmap);
}

TEST(StartToolkit, TimeFrameDimensionIsParsedFromItsText) {
  const GUID expected{0x6AEDBD6D, 0x3FB5, 0x418A, {0x83, 0xA6, 0x7F, 0x45, 0x22, 0x9D, 0xC8, 0x72}};
  EXPECT_EQ(std::memcmp(&timeFrameDimension(), &expected, sizeof expected), 0);
}

TEST(StartToolkit, LoadDialogClassIsRegisteredWithItsAttributes) {
  WNDCLASSEXA found{};
  found.cbSize = sizeof found;
  ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "OrvexLoadDialog", &found));
  EXPECT_EQ(found.style, 3u);
  EXPECT_EQ(found.lpfnWndProc, &loadDialogProc);
  EXPECT_EQ(found.cbClsExtra, 0);
  EXPECT_EQ(found.cbWndExtra, 0);
  EXPECT_EQ(found.hIcon, nullptr);
  EXPECT_EQ(found.hCursor, LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_EQ(found.hbrBackground, reinterpret_cast<HBRUSH>(16));
  EXPECT_EQ(found.lpszMenuName, nullptr);
  // Registering again finds the class in place.
  EXPECT_TRUE(registerLoadDialogClass());
}

// Messages that reached a loading-dialog window, logged in front of its procedure.
std::vector<UINT> gLog;
std::atomic<int> gReportsAnswered{0};
constexpr UINT kWorkerReport = WM_APP + 1;

LRESULT CALLBACK loggingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_NCLBUTTONDOWN:
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
    case WM_DESTROY:
      gLog.push_back(message);
      break;
    case kWorkerReport:
      ++gReportsAnswered;
      break;
    default:
      break;
  }
  return CallWindowProcA(loadDialogProc, window, message, wParam, lParam);
}

bool logged(UINT message) { return std::find(gLog.begin(), gLog.end(), message) != gLog.end(); }

void pumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  } while (GetTickCount() - start < milliseconds);
}

class LoadDialogWindow : public testing::Test {
 protected:
  void SetUp() override {
    gLog.clear();
    gReportsAnswered = 0;
    // Away from the top-left corner, where Wine shows its tray.
    window_ = CreateWindowExA(0, kLoadDialogClassName, "", WS_POPUP | WS_VISIBLE, kLeft, kTop, 200, 120, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(loggingProc));
    SetForegroundWindow(window_);
    pumpFor(50);
  }
  void TearDown() override {
    if (IsWindow(window_)) DestroyWindow(window_);
  }

  static constexpr int kLeft = 400;
  static constexpr int kTop = 300;
  HWND window_ = nullptr;
};

INPUT mouseInput(DWORD flags, int x = 0, int y = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  if (flags & MOUSEEVENTF_ABSOLUTE) {
    input.mi.dx = MulDiv(x, 65536, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = MulDiv(y, 65536, GetSystemMetrics(SM_CYSCREEN));
  }
  return input;
}

// Presses the left button at a screen point, drags by (dx, dy) and lets go,
// as a user would; a watchdog ends a move loop that never sees the release.
bool dragWithMouse(POINT from, int dx, int dy) {
  const DWORD moveTo = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  INPUT inputs[] = {
      mouseInput(moveTo, from.x, from.y),
      mouseInput(MOUSEEVENTF_LEFTDOWN),
      mouseInput(moveTo, from.x + dx / 2, from.y + dy / 2),
      mouseInput(moveTo, from.x + dx, from.y + dy),
      mouseInput(MOUSEEVENTF_LEFTUP),
  };
  const DWORD mainThread = GetCurrentThreadId();
  HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::atomic<bool> fired{false};
  struct Watch {
    DWORD thread;
    HANDLE done;
    std::atomic<bool>* fired;
  } watch{mainThread, done, &fired};
  HANDLE watchdog = CreateThread(
      nullptr, 0,
      [](void* p) -> DWORD {
        auto* w = static_cast<Watch*>(p);
        if (WaitForSingleObject(w->done, 5000) == WAIT_TIMEOUT) {
          *w->fired = true;
          PostThreadMessageA(w->thread, WM_KEYDOWN, VK_ESCAPE, 0);
        }
        return 0;
      },
      &watch, 0, nullptr);
  const UINT sent = SendInput(static_cast<UINT>(std::size(inputs)), inputs, sizeof(INPUT));
  pumpFor(300);
  SetEvent(done);
  WaitForSingleObject(watchdog, INFINITE);
  CloseHandle(watchdog);
  CloseHandle(done);
  return sent == std::size(inputs) && !fired;
}

TEST_F(LoadDialogWindow, HitMoveOfExactlyOneDragsTheWindowByItsClientArea) {
  struct Case {
    const char* name;
    bool set;
    LONG_PTR value;
    bool moves;
  };
  const Case cases[] = {
      {"absent", false, 0, false},
      {"0", true, 0, false},
      {"1", true, 1, true},
      {"2", true, 2, false},
      {"1 in the high half", true, static_cast<LONG_PTR>(0x100000001LL), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetWindowPos(window_, HWND_TOP, kLeft, kTop, 0, 0, SWP_NOSIZE);
    SetForegroundWindow(window_);
    RemovePropA(window_, kPropHitMove);
    if (c.set) SetPropA(window_, kPropHitMove, reinterpret_cast<HANDLE>(c.value));
    pumpFor(30);
    gLog.clear();

    ASSERT_TRUE(dragWithMouse({kLeft + 50, kTop + 40}, 30, 20)) << "the drag did not finish";
    RECT rect;
    GetWindowRect(window_, &rect);
    // Every case got the press itself.
    EXPECT_TRUE(logged(WM_LBUTTONDOWN));
    EXPECT_EQ(logged(WM_ENTERSIZEMOVE), c.moves);
    EXPECT_EQ(logged(WM_EXITSIZEMOVE), c.moves);
    if (c.moves) {
      EXPECT_EQ(rect.left, kLeft + 30);
      EXPECT_EQ(rect.top, kTop + 20);
    } else {
      EXPECT_EQ(rect.left, kLeft);
      EXPECT_EQ(rect.top, kTop);
    }
  }
}

TEST_F(LoadDialogWindow, DestroyingWithoutCleanUpPropertiesIsPlainDefaultProcessing) {
  SetPropA(window_, "Unrelated", reinterpret_cast<HANDLE>(7));
  SendMessageA(window_, WM_DESTROY, 0, 0);
  EXPECT_EQ(GetPropA(window_, "Unrelated"), reinterpret_cast<HANDLE>(7));
  RemovePropA(window_, "Unrelated");
  EXPECT_TRUE(DestroyWindow(window_));
  EXPECT_FALSE(IsWindow(window_));
  EXPECT_EQ(std::count(gLog.begin(), gLog.end(), UINT{WM_DESTROY}), 2);
}

TEST_F(LoadDialogWindow, DestroyFreesTheImageAndBlockItOwnsOnceAndTakesThePropertiesOff) {
  UniqueGpImage image = loadImageFromBytes(kSixPixelsPng);
  ASSERT_TRUE(image);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 64);
  ASSERT_NE(block, nullptr);
  SetPropA(window_, kPropImage, image.release());
  SetPropA(window_, kPropStream, block);

  // A stray WM_DESTROY frees them; the real one later must not free them again.
  SendMessageA(window_, WM_DESTROY, 0, 0);
  EXPECT_EQ(GetPropA(window_, kPropImage), nullptr);
  EXPECT_EQ(GetPropA(window_, kPropStream), nullptr);
  SetLastError(0);
  EXPECT_EQ(GlobalSize(block), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_TRUE(DestroyWindow(window_));
}

struct Worker {
  HWND window;
  int reports;
  int delivered;
};

DWORD WINAPI reportingWorker(void* p) {
  auto* worker = static_cast<Worker*>(p);
  for (int i = 0; i < worker->reports; ++i) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(worker->window, kWorkerReport, 0, 0, SMTO_BLOCK, 3000, &result)) ++worker->delivered;
    Sleep(20);
  }
  return 42;
}

TEST_F(LoadDialogWindow, DestroyWaitsForTheWorkerWhileAnsweringItsMessages) {
  Worker worker{window_, 5, 0};
  HANDLE thread = CreateThread(nullptr, 0, reportingWorker, &worker, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  HANDLE ours = nullptr;
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &ours, 0, FALSE,
                              DUPLICATE_SAME_ACCESS));
  SetPropA(window_, kPropThread, thread);

  const DWORD start = GetTickCount();
  EXPECT_TRUE(DestroyWindow(window_));
  const DWORD took = GetTickCount() - start;

  // The worker ran to its end (not killed) before the window went away.
  EXPECT_EQ(WaitForSingleObject(ours, 0), WAIT_OBJECT_0);
  DWORD exitCode = 0;
  GetExitCodeThread(ours, &exitCode);
  EXPECT_EQ(exitCode, 42u);
  EXPECT_EQ(worker.delivered, 5);
  EXPECT_EQ(gReportsAnswered.load(), 5);
  EXPECT_LT(took, 2000u);
  // The window closed its handle.
  DWORD flags = 0;
  EXPECT_FALSE(GetHandleInformation(thread, &flags));
  CloseHandle(ours);
}

}  // namespace
