#include "skin/load_dialog_win.h"

#include "skin/native_handles_win.h"

namespace {

void waitForWorker(HANDLE thread) {
  if (GetThreadId(thread) == GetCurrentThreadId()) return;
  // Answer messages sent to this thread while waiting: a worker reporting to
  // the window with SendMessage would otherwise never end.
  for (;;) {
    const DWORD woke = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE);
    if (woke != WAIT_OBJECT_0 + 1) return;
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

// Takes a property off the window, so that nothing reads it after it is freed.
HANDLE takeProperty(HWND window, const char* name) { return RemovePropA(window, name); }

void freeOwnedResources(HWND window) {
  // The worker may still use the image and the block: it ends first.
  if (HANDLE thread = takeProperty(window, kPropThread)) {
    waitForWorker(thread);
    CloseHandle(thread);
  }
  if (auto* image = static_cast<Gdiplus::GpImage*>(takeProperty(window, kPropImage)))
    Gdiplus::DllExports::GdipDisposeImage(image);
  if (HGLOBAL block = takeProperty(window, kPropStream)) GlobalFree(block);
}

}  // namespace

bool registerLoadDialogClass() {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_VREDRAW | CS_HREDRAW;
  windowClass.lpfnWndProc = loadDialogProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kLoadDialogClassName;
  return RegisterClassExA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

LRESULT CALLBACK loadDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      freeOwnedResources(window);
      break;
    case WM_LBUTTONDOWN: {
      const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
      if (GetPropA(window, kPropHitMove) == reinterpret_cast<HANDLE>(1)) {
        // As if the caption were pressed: the system's move loop follows the mouse.
        ReleaseCapture();
        SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
      }
      return result;
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
