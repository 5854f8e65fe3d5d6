#include "host/form_runtime_win.h"

#include <commctrl.h>

#include <memory>
#include <unordered_map>
#include <utility>

namespace {

constexpr UINT kTrayMessage = WM_APP + 1;
constexpr UINT kTrayIconId = 1;
constexpr UINT_PTR kBalloonTimer = 0xBA11;
constexpr UINT kBalloonShownMs = 3000;
constexpr const char* kFormClass = "MemoStripForm";

struct Control {
  HWND handle = nullptr;
  std::string name;  // the template control's; copies keep it
  ControlKind kind = ControlKind::kButton;
  HWND balloon = nullptr;  // balloon tip controls: their tooltip window, made on first use
};

struct Form {
  HWND handle = nullptr;
  WindowHandlers handlers;
  std::vector<Control> controls;  // control id n is element n - 1
  std::unordered_map<HWND, int> controlIds;  // notifications name their control by handle
  bool dragByBackground = false;
  HICON trayIcon = nullptr;
  std::string trayTip;
};

std::map<int, Form>& forms() {
  static auto* all = new std::map<int, Form>;  // window thread only
  return *all;
}

int nextWindowId = 1;
ControlRef currentSender;

Form* findForm(int window) {
  auto it = forms().find(window);
  return it == forms().end() ? nullptr : &it->second;
}

Control* findControlEntry(ControlRef ref) {
  Form* form = findForm(ref.window);
  if (!form || ref.control < 1 || ref.control > static_cast<int>(form->controls.size())) return nullptr;
  return &form->controls[static_cast<std::size_t>(ref.control - 1)];
}

HFONT controlFont() {
  static HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "宋体");
  return font;  // lives as long as the process
}

UINT taskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageA("TaskbarCreated");
  return message;
}

bool addTrayIcon(const Form& form, DWORD action) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = form.handle;
  data.uID = kTrayIconId;
  data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  data.uCallbackMessage = kTrayMessage;
  data.hIcon = form.trayIcon;
  lstrcpynA(data.szTip, form.trayTip.c_str(), sizeof data.szTip);
  return Shell_NotifyIconA(action, &data) != FALSE;
}

void removeTrayIcon(Form& form) {
  if (!form.trayIcon) return;
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = form.handle;
  data.uID = kTrayIconId;
  Shell_NotifyIconA(NIM_DELETE, &data);
  form.trayIcon = nullptr;
}

// Runs a handler found in the form with the sender set. The handler is copied
// first: it may destroy its own window, and with it the handler table.
void dispatch(const std::map<std::string, std::function<void()>, std::less<>>& table, const std::string& name,
              ControlRef sender) {
  auto it = table.find(name);
  if (it == table.end() || !it->second) return;
  const std::function<void()> handler = it->second;
  const ControlRef outer = std::exchange(currentSender, sender);
  handler();
  currentSender = outer;
}

template <class Handler, class... Args>
void call(const Handler& handler, Args... args) {
  if (!handler) return;
  const Handler copy = handler;
  copy(args...);
}

std::pair<int, Form*> formOfHandle(HWND handle) {
  for (auto& [id, form] : forms()) {
    if (form.handle == handle) return {id, &form};
  }
  return {0, nullptr};
}

void onCommand(int window, Form& form, WPARAM wParam, LPARAM lParam) {
  const auto child = reinterpret_cast<HWND>(lParam);
  if (!child) return;
  auto found = form.controlIds.find(child);
  if (found == form.controlIds.end()) return;
  {
    const std::size_t i = static_cast<std::size_t>(found->second - 1);
    const ControlRef sender{window, found->second};
    const std::string name = form.controls[i].name;
    switch (HIWORD(wParam)) {
      case BN_CLICKED:
        if (form.controls[i].kind != ControlKind::kEdit) dispatch(form.handlers.clicked, name, sender);
        break;
      case EN_KILLFOCUS:
        if (form.controls[i].kind == ControlKind::kEdit) dispatch(form.handlers.lostFocus, name, sender);
        break;
      case EN_CHANGE:
        if (form.controls[i].kind == ControlKind::kEdit) dispatch(form.handlers.textChanged, name, sender);
        break;
      default:
        break;
    }
  }
}

int trayActionOf(LPARAM mouseMessage) {
  switch (static_cast<UINT>(mouseMessage)) {
    case WM_LBUTTONUP: return kTrayLeftUp;
    case WM_LBUTTONDBLCLK: return kTrayDoubleClick;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU: return kTrayRightUp;
    default: return 0;
  }
}

LRESULT CALLBACK formProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  auto [window, form] = formOfHandle(handle);
  if (!form) return DefWindowProcA(handle, message, wParam, lParam);
  switch (message) {
    case WM_COMMAND:
      onCommand(window, *form, wParam, lParam);
      return 0;
    case WM_MOVE:
      call(form->handlers.positionChanged, window);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) call(form->handlers.deactivated, window);
      return 0;
    case WM_NCHITTEST: {
      const LRESULT hit = DefWindowProcA(handle, message, wParam, lParam);
      return form->dragByBackground && hit == HTCLIENT ? HTCAPTION : hit;
    }
    case kTrayMessage:
      if (int action = trayActionOf(lParam)) call(form->handlers.trayEvent, window, action);
      return 0;
    case WM_TIMER:
      if (wParam == kBalloonTimer) {
        KillTimer(handle, kBalloonTimer);
        for (Control& control : form->controls) {
          if (!control.balloon) continue;
          TTTOOLINFOA tool{};
          tool.cbSize = sizeof tool;
          tool.hwnd = handle;
          tool.uId = 1;
          SendMessageA(control.balloon, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
        }
        return 0;
      }
      break;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) call(form->handlers.sessionEnding, window);
      return 0;
    case WM_DESTROY:
      call(form->handlers.willBeDestroyed, window);
      if (Form* still = findForm(window)) {
        removeTrayIcon(*still);
        for (Control& control : still->controls) {
          if (control.balloon) DestroyWindow(control.balloon);
          control.balloon = nullptr;
        }
      }
      return 0;
    case WM_NCDESTROY:
      forms().erase(window);
      if (forms().empty()) PostQuitMessage(0);
      return DefWindowProcA(handle, message, wParam, lParam);
    default:
      if (message == taskbarCreatedMessage() && form->trayIcon) {
        addTrayIcon(*form, NIM_ADD);  // the shell restarted and forgot the icon
        return 0;
      }
      break;
  }
  if (form->handlers.otherMessage) {
    const auto handler = form->handlers.otherMessage;
    if (handler(window, message, wParam, lParam)) return 0;
  }
  return DefWindowProcA(handle, message, wParam, lParam);
}

void registerFormClass() {
  static const bool registered = [] {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = formProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    return RegisterClassExA(&wc) != 0;
  }();
  (void)registered;
}

HWND createControl(HWND parent, const ControlTemplate& control, int id) {
  const char* cls = "Button";
  DWORD style = WS_CHILD | (control.visible ? WS_VISIBLE : 0) | control.style;
  switch (control.kind) {
    case ControlKind::kButton: style |= BS_PUSHBUTTON; break;
    case ControlKind::kCheckBox: style |= BS_AUTOCHECKBOX; break;
    case ControlKind::kRadioButton: style |= BS_AUTORADIOBUTTON; break;
    case ControlKind::kGroupBox: style |= BS_GROUPBOX; break;
    case ControlKind::kEdit: cls = "Edit"; style |= ES_AUTOHSCROLL; break;
    case ControlKind::kLabel: cls = "Static"; break;
    case ControlKind::kBalloonTip: return nullptr;  // no window until a balloon is shown
  }
  HWND handle = CreateWindowExA(0, cls, control.text.c_str(), style, control.left, control.top, control.width,
                                control.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleA(nullptr), nullptr);
  if (!handle) return nullptr;
  SendMessageA(handle, WM_SETFONT, reinterpret_cast<WPARAM>(controlFont()), FALSE);
  if (control.kind == ControlKind::kEdit && control.textLimit > 0) {
    SendMessageA(handle, EM_LIMITTEXT, static_cast<WPARAM>(control.textLimit), 0);
  }
  return handle;
}

void setPosition(HWND handle, HWND relativeTo, std::optional<int> left, std::optional<int> top,
                 std::optional<int> width, std::optional<int> height) {
  RECT rect{};
  GetWindowRect(handle, &rect);
  if (relativeTo) MapWindowPoints(nullptr, relativeTo, reinterpret_cast<POINT*>(&rect), 2);
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (!left && !top) flags |= SWP_NOMOVE;
  if (!width && !height) flags |= SWP_NOSIZE;
  SetWindowPos(handle, nullptr, left.value_or(rect.left), top.value_or(rect.top),
               width.value_or(rect.right - rect.left), height.value_or(rect.bottom - rect.top), flags);
}

}  // namespace

int loadWindow(const WindowTemplate& form, WindowHandlers handlers, int owner, bool modal) {
  registerFormClass();
  HWND ownerHandle = windowHandle(owner);
  const int id = nextWindowId++;
  HWND handle = CreateWindowExA(form.exStyle, kFormClass, form.title.c_str(), form.style & ~WS_VISIBLE, form.left,
                                form.top, form.width, form.height, ownerHandle, nullptr, GetModuleHandleA(nullptr),
                                nullptr);
  if (!handle) return 0;
  Form& entry = forms()[id];
  entry.handle = handle;
  entry.handlers = std::move(handlers);
  entry.dragByBackground = form.dragByBackground;
  for (std::size_t i = 0; i < form.controls.size(); ++i) {
    const ControlTemplate& control = form.controls[i];
    const int controlId = static_cast<int>(i) + 1;
    HWND made = createControl(handle, control, controlId);
    entry.controls.push_back({made, control.name, control.kind});
    if (made) entry.controlIds[made] = controlId;
  }

  // Built while hidden: nothing composed during construction is ever seen.
  call(entry.handlers.created, id);
  if (!findForm(id)) return id;  // the created handler closed it
  if (modal && ownerHandle) EnableWindow(ownerHandle, FALSE);
  if (form.visible) ShowWindow(handle, SW_SHOW);
  if (!modal) return id;

  MSG msg;
  while (findForm(id)) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // leave the outer loop too
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (ownerHandle && IsWindow(ownerHandle)) {
    EnableWindow(ownerHandle, TRUE);
    SetActiveWindow(ownerHandle);
  }
  return id;
}

void destroyWindow(int window) {
  if (HWND handle = windowHandle(window)) DestroyWindow(handle);
}

int runMessageLoop() {
  if (forms().empty()) return 0;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

HWND windowHandle(int window) {
  Form* form = findForm(window);
  return form ? form->handle : nullptr;
}

int windowOf(HWND handle) { return formOfHandle(handle).first; }

HWND controlHandle(ControlRef control) {
  Control* entry = findControlEntry(control);
  return entry ? entry->handle : nullptr;
}

std::optional<ControlRef> findControl(int window, std::string_view name) {
  Form* form = findForm(window);
  if (!form) return std::nullopt;
  for (std::size_t i = 0; i < form->controls.size(); ++i) {
    if (form->controls[i].name == name) return ControlRef{window, static_cast<int>(i) + 1};
  }
  return std::nullopt;
}

std::optional<ControlRef> copyControl(ControlRef original) {
  Control* source = findControlEntry(original);
  Form* form = findForm(original.window);
  if (!source || !form || !source->handle) return std::nullopt;
  HWND from = source->handle;
  char cls[64] = {};
  GetClassNameA(from, cls, sizeof cls);
  RECT rect{};
  GetWindowRect(from, &rect);
  MapWindowPoints(nullptr, form->handle, reinterpret_cast<POINT*>(&rect), 2);
  const std::string text = controlText(original);
  const int id = static_cast<int>(form->controls.size()) + 1;
  HWND copy = CreateWindowExA(static_cast<DWORD>(GetWindowLongPtrA(from, GWL_EXSTYLE)), cls, text.c_str(),
                              static_cast<DWORD>(GetWindowLongPtrA(from, GWL_STYLE)), rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, form->handle,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  if (!copy) return std::nullopt;
  SendMessageA(copy, WM_SETFONT, SendMessageA(from, WM_GETFONT, 0, 0), FALSE);
  if (source->kind == ControlKind::kEdit) {
    SendMessageA(copy, EM_LIMITTEXT, static_cast<WPARAM>(SendMessageA(from, EM_GETLIMITTEXT, 0, 0)), 0);
  }
  const Control entry{copy, source->name, source->kind};  // `source` dangles once the vector grows
  form->controls.push_back(entry);
  form->controlIds[copy] = id;
  return ControlRef{original.window, id};
}

void destroyControl(ControlRef control) {
  Control* entry = findControlEntry(control);
  if (!entry || !entry->handle) return;
  HWND handle = std::exchange(entry->handle, nullptr);
  if (Form* form = findForm(control.window)) form->controlIds.erase(handle);
  DestroyWindow(handle);
}

ControlRef eventSender() { return currentSender; }

void moveWindow(int window, std::optional<int> left, std::optional<int> top, std::optional<int> width,
                std::optional<int> height) {
  if (HWND handle = windowHandle(window)) setPosition(handle, nullptr, left, top, width, height);
}

RECT windowRect(int window) {
  RECT rect{};
  if (HWND handle = windowHandle(window)) GetWindowRect(handle, &rect);
  return rect;
}

void moveControl(ControlRef control, std::optional<int> left, std::optional<int> top, std::optional<int> width,
                 std::optional<int> height) {
  if (HWND handle = controlHandle(control)) setPosition(handle, GetParent(handle), left, top, width, height);
}

RECT controlRect(ControlRef control) {
  RECT rect{};
  if (HWND handle = controlHandle(control)) {
    GetWindowRect(handle, &rect);
    MapWindowPoints(nullptr, GetParent(handle), reinterpret_cast<POINT*>(&rect), 2);
  }
  return rect;
}

std::string controlText(ControlRef control) {
  HWND handle = controlHandle(control);
  if (!handle) return {};
  const int length = GetWindowTextLengthA(handle);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(handle, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

void setControlText(ControlRef control, std::string_view text) {
  if (HWND handle = controlHandle(control)) SetWindowTextA(handle, std::string(text).c_str());
}

void setControlVisible(ControlRef control, bool visible) {
  if (HWND handle = controlHandle(control)) ShowWindow(handle, visible ? SW_SHOWNA : SW_HIDE);
}

void raiseWindow(int window) {
  HWND handle = windowHandle(window);
  if (!handle) return;
  constexpr UINT kKeep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  SetWindowPos(handle, HWND_TOPMOST, 0, 0, 0, 0, kKeep);
  SetWindowPos(handle, HWND_NOTOPMOST, 0, 0, 0, 0, kKeep);
}

bool setTrayIcon(int window, HICON icon, std::string_view tip) {
  Form* form = findForm(window);
  if (!form || !icon) return false;
  const bool replacing = form->trayIcon != nullptr;
  form->trayIcon = icon;
  form->trayTip = std::string(tip);
  return addTrayIcon(*form, replacing ? NIM_MODIFY : NIM_ADD);
}

void clearTrayIcon(int window) {
  if (Form* form = findForm(window)) removeTrayIcon(*form);
}

void showBalloon(ControlRef balloon, POINT at, std::string_view text, int iconNumber) {
  Control* entry = findControlEntry(balloon);
  Form* form = findForm(balloon.window);
  if (!entry || !form) return;
  TTTOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  tool.hwnd = form->handle;
  tool.uId = 1;
  std::string shown(text);
  tool.lpszText = shown.data();
  if (!entry->balloon) {
    entry->balloon = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                     WS_POPUP | TTS_BALLOON | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form->handle, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
    SendMessageA(entry->balloon, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  } else {
    SendMessageA(entry->balloon, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  SendMessageA(entry->balloon, TTM_SETTITLEA, static_cast<WPARAM>(iconNumber), reinterpret_cast<LPARAM>(""));
  SendMessageA(entry->balloon, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
  SendMessageA(entry->balloon, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  SetTimer(form->handle, kBalloonTimer, kBalloonShownMs, nullptr);
}

int askYesNo(std::string_view question, UINT style) {
  return MessageBoxA(GetActiveWindow(), std::string(question).c_str(), nullptr, style | MB_YESNO);
}
