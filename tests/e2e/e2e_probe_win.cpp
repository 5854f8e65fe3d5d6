// A small stand-in for the program, for the e2e driver's own test: a layered
// window with an ANSI edit box that keeps its state in 配置.dpk beside the exe,
// as the program does. Dragging the window's free area moves it.
// With --controls TITLE it instead prints the child controls of the window of
// that title, one a line, and ends: control id, class, screen rectangle, check
// state (buttons) or selection (edit boxes), text, tab-separated, in GBK.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr char kSection[] = "各项配置";
constexpr char kTextKey[] = "条目内容";
constexpr int kEditId = 1;

std::string settingsPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string result(path);
  return result.substr(0, result.find_last_of('\\') + 1) + "配置.dpk";
}

void saveText(HWND edit) {
  char text[256] = {};
  GetWindowTextA(edit, text, sizeof text);
  WritePrivateProfileStringA(kSection, kTextKey, text, settingsPath().c_str());
}

void savePosition(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  const std::string path = settingsPath();
  WritePrivateProfileStringA(kSection, "启动X坐标", std::to_string(rect.left).c_str(), path.c_str());
  WritePrivateProfileStringA(kSection, "启动Y坐标", std::to_string(rect.top).c_str(), path.c_str());
}

LRESULT CALLBACK probeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      // As the toolkit's windows do: a press on the free area starts the system's move loop.
      ReleaseCapture();
      SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
      return 0;
    case WM_EXITSIZEMOVE:
      savePosition(window);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kEditId && HIWORD(wParam) == EN_CHANGE) saveText(reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

// Messages to another process's controls: only those whose results come back in the return value.
BOOL CALLBACK printControl(HWND control, LPARAM) {
  char cls[64] = {};
  GetClassNameA(control, cls, sizeof cls);
  DWORD_PTR length = 0;
  SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &length);
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(control, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                      1000, &copied);
  text.resize(copied);
  std::string state = "-";
  DWORD_PTR answer = 0;
  if (lstrcmpiA(cls, "Button") == 0) {
    SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer);
    state = "check=" + std::to_string(answer);
  } else if (lstrcmpiA(cls, "Edit") == 0) {
    SendMessageTimeoutA(control, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer);
    state = "sel=" + std::to_string(LOWORD(answer)) + "," + std::to_string(HIWORD(answer));
  }
  RECT rect{};
  GetWindowRect(control, &rect);
  std::printf("%d\t%s\t%ld,%ld,%ld,%ld\t%s\t%s\n", GetDlgCtrlID(control), cls, rect.left, rect.top, rect.right,
              rect.bottom, state.c_str(), text.c_str());
  return TRUE;
}

int printControls(const char* title) {
  HWND window = FindWindowA(nullptr, title);
  if (!window) return 1;
  EnumChildWindows(window, printControl, 0);
  std::fflush(stdout);
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (__argc == 3 && std::strcmp(__argv[1], "--controls") == 0) return printControls(__argv[2]);
  const std::string path = settingsPath();
  const int left = static_cast<int>(GetPrivateProfileIntA(kSection, "启动X坐标", 300, path.c_str()));
  const int top = static_cast<int>(GetPrivateProfileIntA(kSection, "启动Y坐标", 500, path.c_str()));
  char text[256] = {};
  GetPrivateProfileStringA(kSection, kTextKey, "", text, sizeof text, path.c_str());

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = probeProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  windowClass.lpszClassName = "E2eProbe";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(WS_EX_LAYERED | WS_EX_TOOLWINDOW, "E2eProbe", "e2e probe", WS_POPUP, left, top, 300,
                                60, nullptr, nullptr, instance, nullptr);
  SetLayeredWindowAttributes(window, 0, 255, LWA_ALPHA);
  HWND edit = CreateWindowExA(0, "Edit", text, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10, 280, 20, window,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), instance, nullptr);
  SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  ShowWindow(window, SW_SHOW);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
