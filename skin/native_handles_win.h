// Owners for the native objects the toolkit creates: the closer is part of the
// type, copies are forbidden, moves hand the object over.
#pragma once

#include <windows.h>
// gdiplus.h expects min and max from windows.h's macros, which NOMINMAX removes.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <utility>

template <class Traits>
class UniqueNative {
 public:
  using Handle = typename Traits::Handle;

  UniqueNative() = default;
  explicit UniqueNative(Handle handle) : handle_(handle) {}
  UniqueNative(const UniqueNative&) = delete;
  UniqueNative& operator=(const UniqueNative&) = delete;
  UniqueNative(UniqueNative&& other) noexcept : handle_(other.release()) {}
  UniqueNative& operator=(UniqueNative&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueNative() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }
  Handle release() { return std::exchange(handle_, Handle{}); }
  void reset(Handle handle = Handle{}) {
    Handle old = std::exchange(handle_, handle);
    if (old != Handle{}) Traits::close(old);
  }
  // For out-parameters of creation functions: frees the current object first.
  Handle* put() {
    reset();
    return &handle_;
  }

 private:
  Handle handle_{};
};

// Traits whose closer is a plain function of the handle.
template <class H, auto Close>
struct CloseWith {
  using Handle = H;
  static void close(Handle h) { Close(h); }
};

struct ComStreamTraits {
  using Handle = IStream*;
  static void close(Handle h) { h->Release(); }
};

using UniqueGdiObject = UniqueNative<CloseWith<HGDIOBJ, DeleteObject>>;
using UniqueBitmap = UniqueNative<CloseWith<HBITMAP, DeleteObject>>;
using UniqueMemoryDc = UniqueNative<CloseWith<HDC, DeleteDC>>;
using UniqueFont = UniqueNative<CloseWith<HFONT, DeleteObject>>;
using UniqueGlobalMemory = UniqueNative<CloseWith<HGLOBAL, GlobalFree>>;
using UniqueWindow = UniqueNative<CloseWith<HWND, DestroyWindow>>;
using UniqueGpImage = UniqueNative<CloseWith<Gdiplus::GpImage*, Gdiplus::DllExports::GdipDisposeImage>>;
using UniqueGpGraphics = UniqueNative<CloseWith<Gdiplus::GpGraphics*, Gdiplus::DllExports::GdipDeleteGraphics>>;
using UniqueGpBrush = UniqueNative<CloseWith<Gdiplus::GpBrush*, Gdiplus::DllExports::GdipDeleteBrush>>;
using UniqueGpPen = UniqueNative<CloseWith<Gdiplus::GpPen*, Gdiplus::DllExports::GdipDeletePen>>;
using UniqueGpFont = UniqueNative<CloseWith<Gdiplus::GpFont*, Gdiplus::DllExports::GdipDeleteFont>>;
using UniqueGpFontFamily = UniqueNative<CloseWith<Gdiplus::GpFontFamily*, Gdiplus::DllExports::GdipDeleteFontFamily>>;
using UniqueGpStringFormat =
    UniqueNative<CloseWith<Gdiplus::GpStringFormat*, Gdiplus::DllExports::GdipDeleteStringFormat>>;
using UniqueComStream = UniqueNative<ComStreamTraits>;
// A DC borrowed from a window, released with the window it came from.
class WindowDc {
 public:
  explicit WindowDc(HWND window, bool wholeWindow = false)
      : window_(window), dc_(wholeWindow ? GetWindowDC(window) : GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back when it ends.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};
