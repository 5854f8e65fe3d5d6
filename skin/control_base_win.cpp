#include "skin/control_base_win.h"

#include "skin/property_mirror_win.h"

#include <commctrl.h>

namespace gp = Gdiplus::DllExports;

namespace {

// Created and used on the window thread only.
HWND g_toolTip = nullptr;

int rectWidth(const RECT& r) { return r.right - r.left; }
int rectHeight(const RECT& r) { return r.bottom - r.top; }

Gdiplus::REAL real(int value) { return static_cast<Gdiplus::REAL>(value); }

}  // namespace

intptr_t readProperty(HWND window, const char* name) {
  if (auto mirrored = mirroredProperty(window, name)) return *mirrored;
  return reinterpret_cast<intptr_t>(GetPropA(window, name));
}

void writeProperty(HWND window, const char* name, intptr_t value) {
  if (SetPropA(window, name, reinterpret_cast<HANDLE>(value))) mirrorProperty(window, name, value);
}

void removeProperty(HWND window, const char* name) {
  RemovePropA(window, name);
  mirrorRemoval(window, name);
}

std::string windowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

HWND parentOf(HWND window) {
  if (!(GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) return nullptr;
  return GetParent(window);
}

bool PngControlBase::bind(HWND control) {
  if (!control || !IsWindow(control)) return false;
  HWND parent = parentOf(control);
  // A parent that is a toolkit control already paints for itself.
  if (parent && readProperty(parent, kPropType) == kKindNone) subclassWindow(parent, parentProc);
  changeStyle(control, WS_CLIPSIBLINGS, 0);
  changeExStyle(control, 0, WS_EX_TRANSPARENT);
  // The parent must paint under its transparent children.
  if (parent) changeStyle(parent, WS_CLIPCHILDREN, 0);
  window_ = control;
  return true;
}

HWND PngControlBase::handle() const { return window_; }

void PngControlBase::setProperty(const char* name, intptr_t value) const {
  writeProperty(window_, name, value);
}

intptr_t PngControlBase::property(const char* name) const { return readProperty(window_, name); }

void PngControlBase::send(UINT message, WPARAM wParam, LPARAM lParam) const {
  SendMessageA(window_, message, wParam, lParam);
}

void PngControlBase::setToolTip(const std::string& text, int placement) const {
  // An unbound object would register a tool for no window.
  if (!IsWindow(window_)) return;
  if (!IsWindow(g_toolTip)) {
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    g_toolTip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, "", 0, 0, 0, 0, 0, nullptr,
                                nullptr, nullptr, nullptr);
    // A maximum width makes the tip wrap and honour line breaks.
    SendMessageA(g_toolTip, TTM_SETMAXTIPWIDTH, 0, 1024);
  }
  TTTOOLINFOA tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = window_;
  tool.uId = 0;
  // The tooltip copies the text; it never writes through this pointer.
  tool.lpszText = const_cast<char*>(text.c_str());
  if (readProperty(window_, kPropToolTips) == 0) {
    writeProperty(window_, kPropToolTips, 1);
    tool.uFlags = TTF_SUBCLASS | ((placement & 1) == 0 ? TTF_CENTERTIP : 0u);
    GetClientRect(window_, &tool.rect);
    SendMessageA(g_toolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  } else {
    SendMessageA(g_toolTip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void PngControlBase::move(std::optional<int> left, std::optional<int> top,
                          std::optional<int> width, std::optional<int> height,
                          bool noRedraw) const {
  UINT flags = SWP_NOZORDER;
  if (noRedraw) flags |= SWP_NOREDRAW;
  if (!left && !top) flags |= SWP_NOMOVE;
  if (!width && !height) flags |= SWP_NOSIZE;
  RECT r{};
  GetWindowRect(window_, &r);
  POINT corner{r.left, r.top};
  if (HWND parent = parentOf(window_)) ScreenToClient(parent, &corner);
  SetWindowPos(window_, nullptr, left.value_or(corner.x), top.value_or(corner.y),
               width.value_or(rectWidth(r)), height.value_or(rectHeight(r)), flags);
}

HWND PngControlBase::window() const { return window_; }

bool PngControlBase::isWindow() const { return IsWindow(window_) == TRUE; }

void PngControlBase::invalidate() const { InvalidateRect(window_, nullptr, FALSE); }

LRESULT PngControlBase::sendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return SendMessageA(window_, message, wParam, lParam);
}

bool subclassWindow(HWND window, WNDPROC procedure) {
  if (!procedure || !IsWindow(window) || readProperty(window, kPropWndProc)) return false;
  const LONG_PTR previous =
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
  if (previous == 0) return false;
  writeProperty(window, kPropWndProc, previous);
  return true;
}

LRESULT callPreviousProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto previous = reinterpret_cast<WNDPROC>(readProperty(window, kPropWndProc));
  // The procedure is gone once the layered surface took the control over or
  // the window was released; CallWindowProcA on 0 would be undefined.
  if (!previous) return DefWindowProcA(window, message, wParam, lParam);
  return CallWindowProcA(previous, window, message, wParam, lParam);
}

LRESULT CALLBACK parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header && header->code == NM_CUSTOMDRAW &&
          readProperty(header->hwndFrom, kPropType) == kKindButton) {
        HWND button = header->hwndFrom;
        composeOverCache(button, nullptr, stateImage(button, readProperty(button, kPropDrawState)));
      }
      return callPreviousProc(window, message, wParam, lParam);
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC: {
      HWND control = reinterpret_cast<HWND>(lParam);
      HDC dc = reinterpret_cast<HDC>(wParam);
      const intptr_t kind = readProperty(control, kPropType);
      if (kind == kKindNone) break;
      if (kind == kKindEdit) {
        SetTextColor(dc, static_cast<COLORREF>(readProperty(control, kPropTextColor)));
      }
      // Text straight over what the control restored from its cache.
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    case WM_COMMAND: {
      HWND control = reinterpret_cast<HWND>(lParam);
      const WORD code = HIWORD(wParam);
      // Erase so that no stale glyphs stay on the transparent edit box.
      if (readProperty(control, kPropType) == kKindEdit &&
          (code == EN_VSCROLL || code == EN_HSCROLL || code == EN_CHANGE)) {
        InvalidateRect(control, nullptr, TRUE);
      }
      break;
    }
    case WM_NCDESTROY: {
      const LRESULT result = callPreviousProc(window, message, wParam, lParam);
      removeProperty(window, kPropWndProc);
      forgetMirroredWindow(window);  // a later window may get this handle
      return result;
    }
    default:
      break;
  }
  return callPreviousProc(window, message, wParam, lParam);
}

namespace {

bool changeLong(HWND window, int index, DWORD remove, DWORD add, UINT extraPositionFlags) {
  if (!IsWindow(window)) return false;
  const DWORD current = static_cast<DWORD>(GetWindowLongA(window, index));
  const DWORD wanted = (current & ~remove) | add;
  if (wanted == current) return false;
  SetWindowLongA(window, index, static_cast<LONG>(wanted));
  if (extraPositionFlags != 0) {
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | extraPositionFlags);
  }
  return true;
}

}  // namespace

bool changeStyle(HWND window, DWORD remove, DWORD add, UINT extraPositionFlags) {
  return changeLong(window, GWL_STYLE, remove, add, extraPositionFlags);
}

bool changeExStyle(HWND window, DWORD remove, DWORD add, UINT extraPositionFlags) {
  return changeLong(window, GWL_EXSTYLE, remove, add, extraPositionFlags);
}

void refreshInParent(HWND control) {
  // A layered surface shows only its composition, which its owner refreshes:
  // repainting a taken-over child there costs a paint pass nobody sees.
  if (readProperty(control, kPropChildWndProc)) return;
  // Showing a window paints it whole: nothing hidden needs invalidating.
  if (!IsWindowVisible(control)) return;
  RECT r{};
  GetWindowRect(control, &r);
  if (HWND parent = parentOf(control)) {
    POINT corner{r.left, r.top};
    ScreenToClient(parent, &corner);
    const RECT under{corner.x, corner.y, corner.x + rectWidth(r), corner.y + rectHeight(r)};
    InvalidateRect(parent, &under, FALSE);
  }
  InvalidateRect(control, nullptr, FALSE);
}

void storeCacheBitmap(HWND control, HBITMAP bitmap) {
  auto old = reinterpret_cast<HBITMAP>(readProperty(control, kPropCacheBitmap));
  if (bitmap) {
    writeProperty(control, kPropCacheBitmap, reinterpret_cast<intptr_t>(bitmap));
  } else {
    removeProperty(control, kPropCacheBitmap);
  }
  if (old && old != bitmap) DeleteObject(old);
}

HBITMAP snapshotBackground(HWND control, HDC dc) {
  RECT r{};
  GetWindowRect(control, &r);
  UniqueBitmap fresh(CreateCompatibleBitmap(dc, rectWidth(r), rectHeight(r)));
  if (fresh) {
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    SelectGuard selected(memory.get(), fresh.get());
    BitBlt(memory.get(), 0, 0, rectWidth(r), rectHeight(r), dc, 0, 0, SRCCOPY);
  }
  HBITMAP result = fresh.release();
  storeCacheBitmap(control, result);
  return result;
}

Gdiplus::GpImage* stateImage(HWND control, intptr_t drawState) {
  const char* name = nullptr;
  switch (drawState) {
    case kDrawHover: name = kPropOverlImage; break;
    case kDrawPressed: name = kPropDownImage; break;
    case kDrawDisabled: name = kPropDisableImage; break;
    default: break;
  }
  intptr_t image = name ? readProperty(control, name) : 0;
  if (!image) image = readProperty(control, kPropNormalImage);
  return reinterpret_cast<Gdiplus::GpImage*>(image);
}

void composeOverCache(HWND control, HDC dc, Gdiplus::GpImage* image) {
  auto cache = reinterpret_cast<HBITMAP>(readProperty(control, kPropCacheBitmap));
  if (!cache) return;
  RECT r{};
  GetWindowRect(control, &r);
  const int width = rectWidth(r);
  const int height = rectHeight(r);
  if (width <= 0 || height <= 0) return;

  std::optional<WindowDc> windowDc;
  if (!dc) {
    windowDc.emplace(control, true);
    dc = windowDc->get();
  }
  if (!dc) return;
  UniqueMemoryDc memory(CreateCompatibleDC(dc));
  UniqueBitmap offscreen(CreateCompatibleBitmap(dc, width, height));
  SelectGuard selected(memory.get(), offscreen.get());
  {
    UniqueGpGraphics graphics;
    gp::GdipCreateFromHDC(memory.get(), graphics.put());
    Gdiplus::GpBitmap* background = nullptr;
    gp::GdipCreateBitmapFromHBITMAP(cache, nullptr, &background);
    UniqueGpImage backgroundOwner(background);
    gp::GdipDrawImageRect(graphics.get(), background, 0, 0, real(width), real(height));
    backgroundOwner.reset();

    if (image) {
      Gdiplus::REAL imageWidth = 0;
      Gdiplus::REAL imageHeight = 0;
      gp::GdipGetImageDimension(image, &imageWidth, &imageHeight);
      Gdiplus::REAL x = 0;
      Gdiplus::REAL y = 0;
      Gdiplus::REAL w = imageWidth;
      Gdiplus::REAL h = imageHeight;
      switch (readProperty(control, kPropBackType)) {
        case kBackStretch:
          w = real(width);
          h = real(height);
          break;
        case kBackFitCentre: {
          const BoxSize fit = fitInside(static_cast<int>(imageWidth), static_cast<int>(imageHeight),
                                        width, height);
          x = real((width - fit.width) / 2);
          y = real((height - fit.height) / 2);
          w = real(fit.width);
          h = real(fit.height);
          break;
        }
        default:
          break;
      }
      gp::GdipDrawImageRect(graphics.get(), image, x, y, w, h);
    }
    // Deleting the graphics flushes whatever GDI+ still holds back.
  }
  BitBlt(dc, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
}

BoxSize fitInside(int imageWidth, int imageHeight, int boxWidth, int boxHeight) {
  // Negative sizes count as empty, which also keeps both divisors positive.
  const auto clampToZero = [](int v) { return v < 0 ? 0 : v; };
  const int iw = clampToZero(imageWidth);
  const int ih = clampToZero(imageHeight);
  const int bw = clampToZero(boxWidth);
  const int bh = clampToZero(boxHeight);
  int w = iw;
  int h = ih;
  if (iw > bw) {
    w = bw;
    h = static_cast<int>(static_cast<double>(ih) * bw / iw);
  }
  if (h > bh) {
    w = static_cast<int>(static_cast<double>(w) * bh / h);
    h = bh;
  }
  return {w, h};
}

void releaseControlProperties(HWND control) {
  storeCacheBitmap(control, nullptr);
  // A stale tool would answer for a later window that reuses this handle.
  if (readProperty(control, kPropToolTips) != 0 && IsWindow(g_toolTip)) {
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = control;
    tool.uId = 0;
    SendMessageA(g_toolTip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  for (const char* name : kControlPropertyNames) RemovePropA(control, name);
  forgetMirroredWindow(control);
}

HWND toolTipWindow() { return g_toolTip; }
