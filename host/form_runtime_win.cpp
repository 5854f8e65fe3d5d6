#include "host/form_runtime_win.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <utility>

#include "skin/native_handles_win.h"

namespace {

constexpr UINT kTrayMessage = WM_APP + 1;
constexpr UINT kTrayIconId = 1;
constexpr UINT_PTR kBalloonTimer = 0xBA11;
constexpr UINT kBalloonShownMs = 3000;
constexpr const char* kFormClass = "MemoStripForm";
constexpr UINT_PTR kTimeBoxSubclass = 1;
constexpr UINT_PTR kContainerSubclass = 2;
constexpr int kSwatchItemHeight = 16;
constexpr int kComboFrameHeight = 6;  // a drop-down list's field is its item plus this frame

// The colours a picker offers, 0x00BBGGRR, white first.
constexpr std::int32_t kPickerPalette[] = {
    0xFFFFFF, 0x000000, 0x0000FF, 0x00FFFF, 0x00FF00, 0xFF0000, 0xFFFF00, 0xFF00FF,
    0x000080, 0x008080, 0x008000, 0x808000, 0x800000, 0x800080, 0x808080, 0xC0C0C0,
};

struct Control {
  HWND handle = nullptr;
  std::string name;  // the template control's; copies keep it
  ControlKind kind = ControlKind::kButton;
  HWND balloon = nullptr;  // balloon tip controls: their tooltip window, made on first use
  HWND spinner = nullptr;  // time boxes: the up-down control beside the edit box
  int writtenStart = 0;    // edit selections: the start and count last written
  int writtenCount = 0;
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

// As dispatch, for handlers with arguments.
template <class... Args>
void dispatchWith(const std::map<std::string, std::function<void(Args...)>, std::less<>>& table,
                  const std::string& name, ControlRef sender, Args... args) {
  auto it = table.find(name);
  if (it == table.end() || !it->second) return;
  const std::function<void(Args...)> handler = it->second;
  const ControlRef outer = std::exchange(currentSender, sender);
  handler(args...);
  currentSender = outer;
}

// As dispatch, for handlers that answer whether they consumed a message;
// false when there is no handler.
template <class... Args>
bool askHandler(const std::map<std::string, std::function<bool(Args...)>, std::less<>>& table,
                const std::string& name, ControlRef sender, Args... args) {
  auto it = table.find(name);
  if (it == table.end() || !it->second) return false;
  const std::function<bool(Args...)> handler = it->second;
  const ControlRef outer = std::exchange(currentSender, sender);
  const bool consumed = handler(args...);
  currentSender = outer;
  return consumed;
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
    const ControlKind kind = form.controls[i].kind;
    const bool edit = kind == ControlKind::kEdit || kind == ControlKind::kTimeBox;
    const WORD code = HIWORD(wParam);
    if (kind == ControlKind::kColourPicker) {
      // Arrow keys on the closed list and picks from the open one; CB_SETCURSEL sends nothing.
      if (code == CBN_SELCHANGE) dispatch(form.handlers.colourChosen, name, sender);
    } else if (edit) {
      if (code == EN_KILLFOCUS) dispatch(form.handlers.lostFocus, name, sender);
      if (code == EN_CHANGE) dispatch(form.handlers.textChanged, name, sender);
    } else if (code == BN_CLICKED) {
      dispatch(form.handlers.clicked, name, sender);
    }
  }
}

// A spinner press: the time box's handler gets the direction, and the nonzero
// answer keeps the up-down from changing its own position.
bool onNotify(int window, Form& form, const NMHDR& header) {
  if (header.code != UDN_DELTAPOS) return false;
  auto found = form.controlIds.find(header.hwndFrom);
  if (found == form.controlIds.end()) return false;
  const Control& control = form.controls[static_cast<std::size_t>(found->second - 1)];
  if (control.kind != ControlKind::kTimeBox) return false;
  const int delta = reinterpret_cast<const NMUPDOWN&>(header).iDelta;
  const std::string name = control.name;
  dispatchWith(form.handlers.spinnerPressed, name, ControlRef{window, found->second}, delta > 0 ? +1 : -1);
  return true;
}

void drawColourItem(const DRAWITEMSTRUCT& item) {
  RECT area = item.rcItem;
  FillRect(item.hDC, &area, GetSysColorBrush((item.itemState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (item.itemID != static_cast<UINT>(-1)) {
    RECT swatch = area;
    InflateRect(&swatch, -3, -2);
    const UniqueGdiObject brush(CreateSolidBrush(static_cast<COLORREF>(item.itemData & 0xFFFFFF)));
    FillRect(item.hDC, &swatch, static_cast<HBRUSH>(brush.get()));
    FrameRect(item.hDC, &swatch, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &area);
}

int modifierState(int keyCode, LPARAM keyData) {
  const auto down = [](int key) { return GetKeyState(key) < 0; };
  int state = 0;
  if (keyCode != VK_CONTROL && down(VK_CONTROL)) state |= kKeyModifierCtrl;
  if (keyCode != VK_SHIFT && down(VK_SHIFT)) state |= kKeyModifierShift;
  // The key data's context bit says Alt was held for a system key.
  if (keyCode != VK_MENU && (down(VK_MENU) || (HIWORD(keyData) & KF_ALTDOWN))) state |= kKeyModifierAlt;
  return state;
}

// TranslateMessage has already posted the characters of the key being handled.
void dropCharactersOf(HWND edit) {
  MSG pending;
  while (PeekMessageA(&pending, edit, WM_CHAR, WM_DEADCHAR, PM_REMOVE)) {
  }
  while (PeekMessageA(&pending, edit, WM_SYSCHAR, WM_SYSDEADCHAR, PM_REMOVE)) {
  }
}

DWORD_PTR packRef(ControlRef ref) {
  return (static_cast<DWORD_PTR>(static_cast<std::uint32_t>(ref.window)) << 32) |
         static_cast<std::uint32_t>(ref.control);
}

ControlRef unpackRef(DWORD_PTR packed) {
  return {static_cast<int>(packed >> 32), static_cast<int>(packed & 0xFFFFFFFFu)};
}

// Keys and mouse messages of a time box go to its handlers before the box sees them.
LRESULT CALLBACK timeBoxInputProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR packed) {
  const ControlRef box = unpackRef(packed);
  Form* form = findForm(box.window);
  Control* control = findControlEntry(box);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(edit, timeBoxInputProc, kTimeBoxSubclass);
  } else if (form && control) {
    const std::string name = control->name;
    switch (message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN: {
        const int key = static_cast<int>(wParam);
        if (askHandler(form->handlers.keyPressed, name, box, key, modifierState(key, lParam))) {
          dropCharactersOf(edit);
          return 0;
        }
        break;
      }
      case WM_LBUTTONUP:
        if (askHandler(form->handlers.mouseReleased, name, box)) return 0;
        break;
      case WM_MOUSEMOVE:
        if (askHandler(form->handlers.mouseMoved, name, box)) return 0;
        break;
      default:
        break;
    }
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

// A group box holding controls: their notifications go on to the window,
// which a plain group box would swallow.
LRESULT CALLBACK containerProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
      return SendMessageA(GetParent(box), message, wParam, lParam);
    case WM_NCDESTROY:
      RemoveWindowSubclass(box, containerProc, kContainerSubclass);
      break;
    default:
      break;
  }
  return DefSubclassProc(box, message, wParam, lParam);
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
    case WM_NOTIFY:
      if (onNotify(window, *form, *reinterpret_cast<const NMHDR*>(lParam))) return TRUE;
      break;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      auto found = form->controlIds.find(item.hwndItem);
      if (item.CtlType == ODT_COMBOBOX && found != form->controlIds.end() &&
          form->controls[static_cast<std::size_t>(found->second - 1)].kind == ControlKind::kColourPicker) {
        drawColourItem(item);
        return TRUE;
      }
      break;
    }
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

int spinnerWidth() { return GetSystemMetrics(SM_CXVSCROLL); }

// A time box's spinner keeps to the right end of its box.
void placeSpinner(const Control& box) {
  if (!box.spinner) return;
  RECT rect{};
  GetWindowRect(box.handle, &rect);
  MapWindowPoints(nullptr, GetParent(box.handle), reinterpret_cast<POINT*>(&rect), 2);
  SetWindowPos(box.spinner, nullptr, rect.right, rect.top, spinnerWidth(), rect.bottom - rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

Control createControl(HWND parent, const ControlTemplate& control, ControlRef ref) {
  const char* cls = "Button";
  DWORD style = WS_CHILD | (control.visible ? WS_VISIBLE : 0) | control.style;
  DWORD exStyle = 0;
  int width = control.width;
  int height = control.height;
  switch (control.kind) {
    case ControlKind::kButton: style |= BS_PUSHBUTTON; break;
    case ControlKind::kCheckBox: style |= BS_AUTOCHECKBOX; break;
    case ControlKind::kRadioButton: style |= BS_AUTORADIOBUTTON; break;
    case ControlKind::kGroupBox: style |= BS_GROUPBOX; break;
    case ControlKind::kEdit: cls = "Edit"; style |= ES_AUTOHSCROLL; break;
    case ControlKind::kLabel: cls = "Static"; break;
    case ControlKind::kBalloonTip: return {nullptr, control.name, control.kind};  // no window until shown
    case ControlKind::kTimeBox:
      cls = "Edit";
      // ES_NOHIDESEL: the selected field stays visible while the spinner has the focus.
      style |= ES_AUTOHSCROLL | ES_READONLY | ES_CENTER | ES_NOHIDESEL;
      exStyle = WS_EX_CLIENTEDGE;
      width = std::max(width - spinnerWidth(), 0);
      break;
    case ControlKind::kColourPicker:
      cls = "ComboBox";
      style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | WS_VSCROLL | WS_TABSTOP;
      // A combo box's height includes its open list.
      height += kSwatchItemHeight * static_cast<int>(std::size(kPickerPalette)) + 2;
      break;
  }
  HWND handle = CreateWindowExA(exStyle, cls, control.text.c_str(), style, control.left, control.top, width,
                                height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(ref.control)),
                                GetModuleHandleA(nullptr), nullptr);
  Control made{handle, control.name, control.kind};
  if (!handle) return made;
  SendMessageA(handle, WM_SETFONT, reinterpret_cast<WPARAM>(controlFont()), FALSE);
  const bool checkable = control.kind == ControlKind::kCheckBox || control.kind == ControlKind::kRadioButton;
  if (checkable && control.checked) SendMessageA(handle, BM_SETCHECK, BST_CHECKED, 0);
  const bool edit = control.kind == ControlKind::kEdit || control.kind == ControlKind::kTimeBox;
  if (edit && control.textLimit > 0) {
    SendMessageA(handle, EM_LIMITTEXT, static_cast<WPARAM>(control.textLimit), 0);
  }
  switch (control.kind) {
    case ControlKind::kTimeBox:
      // No buddy: an up-down selects all of its buddy edit's text when a press
      // ends, which would lose the selected field. Placed at the box's right end.
      made.spinner = CreateWindowExA(0, UPDOWN_CLASSA, nullptr,
                                     WS_CHILD | (control.visible ? WS_VISIBLE : 0) | UDS_NOTHOUSANDS,
                                     control.left + width, control.top, spinnerWidth(), height, parent, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
      SendMessageA(made.spinner, UDM_SETRANGE32, 0, 100);
      SetWindowSubclass(handle, timeBoxInputProc, kTimeBoxSubclass, packRef(ref));
      break;
    case ControlKind::kColourPicker:
      SendMessageA(handle, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), std::max(control.height - kComboFrameHeight, 1));
      SendMessageA(handle, CB_SETITEMHEIGHT, 0, kSwatchItemHeight);
      for (std::int32_t colour : kPickerPalette) SendMessageA(handle, CB_ADDSTRING, 0, colour);
      break;
    case ControlKind::kGroupBox:
      SetWindowSubclass(handle, containerProc, kContainerSubclass, 0);
      break;
    default:
      break;
  }
  return made;
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
    HWND parent = handle;
    if (!control.container.empty()) {
      for (const Control& earlier : entry.controls) {
        if (earlier.name == control.container && earlier.kind == ControlKind::kGroupBox && earlier.handle) {
          parent = earlier.handle;
        }
      }
    }
    const Control made = createControl(parent, control, ControlRef{id, controlId});
    entry.controls.push_back(made);
    if (made.handle) entry.controlIds[made.handle] = controlId;
    if (made.spinner) entry.controlIds[made.spinner] = controlId;
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
  // Their extra parts (spinner, colour list) are not copied.
  if (source->kind == ControlKind::kTimeBox || source->kind == ControlKind::kColourPicker) return std::nullopt;
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
  HWND spinner = std::exchange(entry->spinner, nullptr);
  if (Form* form = findForm(control.window)) {
    form->controlIds.erase(handle);
    form->controlIds.erase(spinner);
  }
  DestroyWindow(handle);
  if (spinner) DestroyWindow(spinner);
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
  Control* entry = findControlEntry(control);
  if (!entry || !entry->handle) return;
  // A time box's width includes its spinner.
  if (entry->spinner && width) width = std::max(*width - spinnerWidth(), 0);
  setPosition(entry->handle, GetParent(entry->handle), left, top, width, height);
  placeSpinner(*entry);
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
  Control* entry = findControlEntry(control);
  if (!entry) return;
  for (HWND handle : {entry->handle, entry->spinner}) {
    if (handle) ShowWindow(handle, visible ? SW_SHOWNA : SW_HIDE);
  }
}

namespace {

// The window's text as the edit control holds it, by character.
std::wstring wideText(HWND handle) {
  const int length = GetWindowTextLengthW(handle);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(handle, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

std::pair<DWORD, DWORD> editSelection(HWND handle) {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageA(handle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

void applySelection(const Control& edit) {
  const int length = GetWindowTextLengthW(edit.handle);
  if (edit.writtenStart < 0) {
    SendMessageA(edit.handle, EM_SETSEL, static_cast<WPARAM>(length), length);
    return;
  }
  const int start = std::min(edit.writtenStart, length);
  const int end = start + std::clamp(edit.writtenCount, 0, length - start);
  SendMessageA(edit.handle, EM_SETSEL, static_cast<WPARAM>(start), end);
}

}  // namespace

int selectionStart(ControlRef edit) {
  HWND handle = controlHandle(edit);
  return handle ? static_cast<int>(editSelection(handle).first) : 0;
}

int selectionCount(ControlRef edit) {
  HWND handle = controlHandle(edit);
  if (!handle) return 0;
  const auto [start, end] = editSelection(handle);
  return static_cast<int>(end - start);
}

void setSelectionStart(ControlRef edit, int start) {
  Control* entry = findControlEntry(edit);
  if (!entry || !entry->handle) return;
  entry->writtenStart = start;
  applySelection(*entry);
}

void setSelectionCount(ControlRef edit, int count) {
  Control* entry = findControlEntry(edit);
  if (!entry || !entry->handle) return;
  entry->writtenCount = count;
  applySelection(*entry);
}

std::string selectedText(ControlRef edit) {
  HWND handle = controlHandle(edit);
  if (!handle) return {};
  const auto [start, end] = editSelection(handle);
  const std::wstring text = wideText(handle);
  if (start >= end || end > text.size()) return {};
  const std::wstring part = text.substr(start, end - start);
  const int bytes = WideCharToMultiByte(CP_ACP, 0, part.data(), static_cast<int>(part.size()), nullptr, 0,
                                        nullptr, nullptr);
  std::string result(static_cast<std::size_t>(std::max(bytes, 0)), '\0');
  WideCharToMultiByte(CP_ACP, 0, part.data(), static_cast<int>(part.size()), result.data(), bytes, nullptr,
                      nullptr);
  return result;
}

void replaceSelection(ControlRef edit, std::string_view replacement) {
  if (HWND handle = controlHandle(edit)) {
    SendMessageA(handle, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(std::string(replacement).c_str()));
  }
}

bool isChecked(ControlRef button) {
  HWND handle = controlHandle(button);
  return handle && SendMessageA(handle, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void setChecked(ControlRef button, bool checked) {
  if (HWND handle = controlHandle(button)) {
    SendMessageA(handle, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

std::int32_t pickerColour(ControlRef picker) {
  HWND handle = controlHandle(picker);
  if (!handle) return -1;
  const LRESULT chosen = SendMessageA(handle, CB_GETCURSEL, 0, 0);
  if (chosen == CB_ERR) return -1;
  return static_cast<std::int32_t>(SendMessageA(handle, CB_GETITEMDATA, static_cast<WPARAM>(chosen), 0));
}

void setPickerColour(ControlRef picker, std::int32_t colour) {
  HWND handle = controlHandle(picker);
  if (!handle) return;
  const LRESULT count = SendMessageA(handle, CB_GETCOUNT, 0, 0);
  LRESULT found = CB_ERR;
  for (LRESULT i = 0; i < count && found == CB_ERR; ++i) {
    if (static_cast<std::int32_t>(SendMessageA(handle, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)) == colour) {
      found = i;
    }
  }
  if (found == CB_ERR) found = SendMessageA(handle, CB_ADDSTRING, 0, colour);
  SendMessageA(handle, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

POINT pointerPosition() {
  POINT point{};
  GetCursorPos(&point);
  return point;
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
