// Real windows for the control tests: a parent class that paints a known
// colour and answers the messages the toolkit forwards, message logs, a 32-bit
// DIB to render into, and GDI+ images made pixel by pixel.
#pragma once

#include "skin/control_base_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>


namespace control_test {

struct LoggedMessage {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  UINT positionFlags;  // WINDOWPOS flags of WM_WINDOWPOSCHANGING, else 0
};

// One log for the test's thread; every test window runs on it.
inline std::vector<LoggedMessage>& messageLog() {
  static std::vector<LoggedMessage> log;
  return log;
}

inline void logMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  UINT flags = 0;
  if (message == WM_WINDOWPOSCHANGING && lParam) {
    flags = reinterpret_cast<const WINDOWPOS*>(lParam)->flags;
  }
  messageLog().push_back({window, message, wParam, lParam, flags});
}

inline int countLogged(HWND window, UINT message) {
  int n = 0;
  for (const LoggedMessage& m : messageLog()) n += (m.window == window && m.message == message);
  return n;
}

inline std::optional<LoggedMessage> lastLogged(HWND window, UINT message) {
  std::optional<LoggedMessage> found;
  for (const LoggedMessage& m : messageLog()) {
    if (m.window == window && m.message == message) found = m;
  }
  return found;
}

// What the parent class answers, so a forwarded message can be told from one
// the toolkit answered itself.
inline constexpr COLORREF kParentTextColour = RGB(0x11, 0x22, 0x33);
inline constexpr LRESULT kParentNotifyAnswer = 0x5C;
inline constexpr LRESULT kParentAppAnswer = 0x5A5A;
inline constexpr UINT kAppMessage = WM_APP + 1;
// The parent fills its client area with this property's colour (white unset).
inline constexpr char kFillProperty[] = "Test_Fill";

inline HBRUSH parentBrush() {
  static HBRUSH brush = CreateSolidBrush(RGB(0x20, 0x40, 0x60));
  return brush;
}

inline LRESULT CALLBACK parentClassProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      logMessage(w, message, wParam, lParam);
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      HANDLE fill = GetPropA(w, kFillProperty);
      UniqueGdiObject brush(CreateSolidBrush(fill ? static_cast<COLORREF>(reinterpret_cast<intptr_t>(fill))
                                                  : RGB(255, 255, 255)));
      RECT client;
      GetClientRect(w, &client);
      FillRect(dc, &client, static_cast<HBRUSH>(brush.get()));
      EndPaint(w, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      logMessage(w, message, wParam, lParam);
      return 1;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR: {
      logMessage(w, message, wParam, lParam);
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, kParentTextColour);
      SetBkMode(dc, OPAQUE);
      return reinterpret_cast<LRESULT>(parentBrush());
    }
    case WM_NOTIFY:
      logMessage(w, message, wParam, lParam);
      return kParentNotifyAnswer;
    case WM_COMMAND:
    case WM_NCDESTROY:
    case WM_WINDOWPOSCHANGING:
    case WM_STYLECHANGED:
      logMessage(w, message, wParam, lParam);
      break;
    case kAppMessage:
      logMessage(w, message, wParam, lParam);
      return kParentAppAnswer;
    default:
      break;
  }
  return DefWindowProcA(w, message, wParam, lParam);
}

inline const char* parentClassName() {
  static const char* name = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = parentClassProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = "SkinTestParent";
    RegisterClassA(&wc);
    return "SkinTestParent";
  }();
  return name;
}

// A logging layer put over a window's procedure by the test itself.
inline constexpr char kLoggerPreviousProperty[] = "Test_LoggerPrevious";

inline LRESULT CALLBACK loggerProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  logMessage(w, message, wParam, lParam);
  auto previous = reinterpret_cast<WNDPROC>(GetPropA(w, kLoggerPreviousProperty));
  if (message == WM_NCDESTROY) RemovePropA(w, kLoggerPreviousProperty);
  return CallWindowProcA(previous, w, message, wParam, lParam);
}

inline void installLogger(HWND w) {
  LONG_PTR previous = SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(loggerProc));
  SetPropA(w, kLoggerPreviousProperty, reinterpret_cast<HANDLE>(previous));
}

// The paint of a picture-like kind, the way the kinds use the shared routines.
inline LRESULT CALLBACK paintingKindProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      snapshotBackground(w, dc);
      composeOverCache(w, dc, static_cast<Gdiplus::GpImage*>(GetPropA(w, kPropBackImage)));
      EndPaint(w, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_NCDESTROY: {
      const LRESULT result = callPreviousProc(w, message, wParam, lParam);
      releaseControlProperties(w);
      return result;
    }
    default:
      return callPreviousProc(w, message, wParam, lParam);
  }
}

inline void pumpMessages() {
  // Paint messages can cause more paint messages; drain a few rounds.
  for (int round = 0; round < 4; ++round) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  }
}

// Fixture: one top-level parent away from Wine's tray corner and its children.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { messageLog().clear(); }
  void TearDown() override {
    windows_.clear();
    messageLog().clear();
    // The tooltip window outlives the test; start the next one without tools.
    if (HWND tip = toolTipWindow()) {
      TTTOOLINFOA tool{};
      tool.cbSize = sizeof(tool);
      while (SendMessageA(tip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool))) {
        SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
      }
    }
  }

  HWND makeParent(bool visible, DWORD extraStyle = WS_CLIPCHILDREN) {
    HWND w = CreateWindowExA(0, parentClassName(), "parent",
                             WS_POPUP | extraStyle | (visible ? WS_VISIBLE : 0), 300, 300, 320,
                             200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    windows_.emplace_back(w);
    if (visible) {
      UpdateWindow(w);
      pumpMessages();
    }
    return w;
  }

  static HWND addChild(HWND parent, const char* className, DWORD style, int x, int y, int width,
                       int height, int id = 0, const char* text = "") {
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
  }

  std::vector<UniqueWindow> windows_;
};

inline std::string describe(DWORD rgb) {
  std::ostringstream s;
  s << ((rgb >> 16) & 0xFF) << "," << ((rgb >> 8) & 0xFF) << "," << (rgb & 0xFF);
  return s.str();
}

// A 32-bit top-down DIB section selected into a memory DC.
class Dib32 {
 public:
  Dib32(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<DWORD*>(bits);
    dc_.reset(CreateCompatibleDC(nullptr));
    selected_.emplace(dc_.get(), bitmap_.get());
  }
  HDC dc() const { return dc_.get(); }
  bool valid() const { return bits_ != nullptr && dc_; }
  // 0x00RRGGBB.
  DWORD pixel(int x, int y) const {
    GdiFlush();
    return bits_[y * width_ + x] & 0xFFFFFF;
  }
  // For failure messages: every pixel of a row or a column.
  std::string dumpRow(int y) const {
    std::string out;
    for (int x = 0; x < width_; ++x) out += describe(pixel(x, y)) + " ";
    return out;
  }
  std::string dumpColumn(int x) const {
    std::string out;
    for (int y = 0; y < height_; ++y) out += describe(pixel(x, y)) + " ";
    return out;
  }
  void fill(COLORREF colour) {
    UniqueGdiObject brush(CreateSolidBrush(colour));
    const RECT all{0, 0, width_, height_};
    FillRect(dc_.get(), &all, static_cast<HBRUSH>(brush.get()));
    GdiFlush();
  }

 private:
  int width_;
  int height_;
  DWORD* bits_ = nullptr;
  UniqueBitmap bitmap_;
  UniqueMemoryDc dc_;
  std::optional<SelectGuard> selected_;
};

// 0x00RRGGBB from a COLORREF (0x00BBGGRR).
constexpr DWORD rgbOf(COLORREF c) {
  return (static_cast<DWORD>(GetRValue(c)) << 16) | (static_cast<DWORD>(GetGValue(c)) << 8) |
         GetBValue(c);
}


inline bool nearRgb(DWORD a, DWORD b, int tolerance) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int ca = static_cast<int>((a >> shift) & 0xFF);
    const int cb = static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(ca - cb) > tolerance) return false;
  }
  return true;
}

// Fails with the pixel's place and both colours.
inline ::testing::AssertionResult pixelNear(DWORD actual, DWORD expected, int x, int y,
                                            int tolerance = 3) {
  if (nearRgb(actual, expected, tolerance)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "pixel (" << x << "," << y << ") is " << describe(actual)
                                       << ", expected " << describe(expected);
}

// A GDI+ 32bpp ARGB bitmap whose pixels come from `colour` (0xAARRGGBB).
inline UniqueGpImage makeImage(int width, int height,
                               const std::function<Gdiplus::ARGB(int, int)>& colour) {
  Gdiplus::GpBitmap* bitmap = nullptr;
  Gdiplus::DllExports::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr,
                                                 &bitmap);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) Gdiplus::DllExports::GdipBitmapSetPixel(bitmap, x, y, colour(x, y));
  }
  return UniqueGpImage(bitmap);
}

// A bitmap compatible with `dc`, filled with one colour.
inline UniqueBitmap makeSolidBitmap(HDC dc, int width, int height, COLORREF colour) {
  UniqueBitmap bitmap(CreateCompatibleBitmap(dc, width, height));
  UniqueMemoryDc memory(CreateCompatibleDC(dc));
  {
    SelectGuard selected(memory.get(), bitmap.get());
    UniqueGdiObject brush(CreateSolidBrush(colour));
    const RECT all{0, 0, width, height};
    FillRect(memory.get(), &all, static_cast<HBRUSH>(brush.get()));
  }
  return bitmap;
}

// Reads a pixel of what a window shows through its own DC.
inline DWORD windowPixel(HWND w, int x, int y) {
  WindowDc dc(w);
  return rgbOf(GetPixel(dc.get(), x, y));
}

}  // namespace control_test
