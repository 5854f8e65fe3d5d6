// The form runtime: windows made from templates, their controls named by
// (window id, control id), and the events handlers take, on Win32. It runs on
// one window thread; ids are never reused within a run.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

// kTimeBox: a one-line, read-only, centred edit box with a spinner beside it
// whose presses only raise an event. kColourPicker: a drop-down list of colours.
enum class ControlKind {
  kButton,
  kEdit,
  kLabel,
  kCheckBox,
  kRadioButton,
  kGroupBox,
  kBalloonTip,
  kTimeBox,
  kColourPicker
};

// Key modifier bits as key handlers get them; a modifier key's own press does
// not count itself.
enum KeyModifier { kKeyModifierCtrl = 1, kKeyModifierShift = 2, kKeyModifierAlt = 4 };

struct ControlTemplate {
  std::string name;
  ControlKind kind = ControlKind::kButton;
  int left = 0, top = 0, width = 0, height = 0;
  std::string text;
  bool visible = true;
  DWORD style = 0;      // extra style bits for the kind's window class
  int textLimit = 0;    // edit boxes: at most this many bytes; 0 for the class default
  // The group box, earlier in the template, that holds this control; its
  // position is then in the group box's coordinates. Empty: the window.
  std::string container{};
  bool checked = false;  // check boxes and radio buttons: checked when made
};

struct WindowTemplate {
  std::string title;
  int left = 0, top = 0, width = 0, height = 0;
  bool visible = true;
  DWORD style = WS_POPUP;
  DWORD exStyle = 0;
  // A press on the window itself, not on a control, moves it like a caption.
  bool dragByBackground = false;
  std::vector<ControlTemplate> controls;
};

struct ControlRef {
  int window = 0;
  int control = 0;
  friend bool operator==(const ControlRef&, const ControlRef&) = default;
};

// Tray mouse actions as the handlers get them.
enum TrayAction { kTrayLeftUp = 1, kTrayDoubleClick = 2, kTrayRightUp = 3 };

// The handlers of one window. Control events are keyed by the template
// control's name, so a copy reaches the same handler as its template; the
// handler tells them apart by eventSender().
struct WindowHandlers {
  std::function<void(int window)> created;
  std::function<void(int window)> willBeDestroyed;
  std::function<void(int window)> positionChanged;
  std::function<void(int window)> deactivated;
  std::function<void(int window)> sessionEnding;
  std::function<void(int window, int action)> trayEvent;
  std::map<std::string, std::function<void()>, std::less<>> clicked;
  std::map<std::string, std::function<void()>, std::less<>> lostFocus;
  std::map<std::string, std::function<void()>, std::less<>> textChanged;
  // Time boxes: a spinner press, +1 up and -1 down; the box's text is not touched.
  std::map<std::string, std::function<void(int direction)>, std::less<>> spinnerPressed;
  // Time boxes: a key press (virtual-key code, KeyModifier bits); true consumes
  // it, and the box then sees neither the key nor a character made from it.
  std::map<std::string, std::function<bool(int keyCode, int modifiers)>, std::less<>> keyPressed;
  // Time boxes: the left button released or the mouse moved over the box; true
  // consumes the message.
  std::map<std::string, std::function<bool()>, std::less<>> mouseReleased;
  std::map<std::string, std::function<bool()>, std::less<>> mouseMoved;
  // Colour pickers: the user picked a colour from the list.
  std::map<std::string, std::function<void()>, std::less<>> colourChosen;
  // Raw messages the window's procedure does not know; true when handled.
  std::function<bool(int window, UINT message, WPARAM wParam, LPARAM lParam)> otherMessage;
};

// Creates the window and its controls hidden, runs `created`, then shows the
// window when its template says so. A modal load disables the owner and
// returns after the window has closed. Returns the new window id (0 on failure).
int loadWindow(const WindowTemplate& form, WindowHandlers handlers, int owner = 0, bool modal = false);

// Destroys a window: its `willBeDestroyed` handler runs first. The message
// loop ends when no window is left.
void destroyWindow(int window);
// Runs the message loop until the last window is gone; returns 0.
int runMessageLoop();

HWND windowHandle(int window);
int windowOf(HWND handle);  // 0 for windows the runtime did not make
HWND controlHandle(ControlRef control);
// The template control of that name in the window.
std::optional<ControlRef> findControl(int window, std::string_view name);
// A new control of the same kind and settings in the same window, reaching
// the same handlers. Invisible when the original is.
std::optional<ControlRef> copyControl(ControlRef original);
void destroyControl(ControlRef control);
// The control whose event is being handled.
ControlRef eventSender();

// Window geometry in screen pixels, control geometry in the window's client
// pixels; values not given stay.
void moveWindow(int window, std::optional<int> left, std::optional<int> top, std::optional<int> width = {},
                std::optional<int> height = {});
RECT windowRect(int window);
void moveControl(ControlRef control, std::optional<int> left, std::optional<int> top,
                 std::optional<int> width = {}, std::optional<int> height = {});
RECT controlRect(ControlRef control);
std::string controlText(ControlRef control);
void setControlText(ControlRef control, std::string_view text);
void setControlVisible(ControlRef control, bool visible);
// Selection of an edit box or time box, in characters (bytes for single-byte
// text). The start reads as the caret when nothing is selected. Writing the
// start or the count selects from the start and the count last written; a
// negative start puts the caret at the end, a start past the end is clamped.
int selectionStart(ControlRef edit);
int selectionCount(ControlRef edit);
void setSelectionStart(ControlRef edit, int start);
void setSelectionCount(ControlRef edit, int count);
std::string selectedText(ControlRef edit);
void replaceSelection(ControlRef edit, std::string_view replacement);

// Check boxes and radio buttons. Checking a radio button leaves the others of
// its group as they are.
bool isChecked(ControlRef button);
void setChecked(ControlRef button, bool checked);

// Colour pickers: the chosen colour (0x00BBGGRR), -1 when none is. Setting a
// colour the list lacks adds it to the list; no colour-chosen event follows.
std::int32_t pickerColour(ControlRef picker);
void setPickerColour(ControlRef picker, std::int32_t colour);

// The mouse pointer in screen pixels.
POINT pointerPosition();

// Always-on-top on, then off: lifts the window above others without activating it.
void raiseWindow(int window);

// The window's tray icon; it comes back by itself when the shell restarts.
bool setTrayIcon(int window, HICON icon, std::string_view tip);
void clearTrayIcon(int window);
// A balloon from the balloon tip control, pointing at a screen point.
void showBalloon(ControlRef balloon, POINT at, std::string_view text, int iconNumber);
// IDYES or IDNO.
int askYesNo(std::string_view question, UINT style);
