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

struct GdiObjectTraits {
  using Handle = HGDIOBJ;
  static void close(Handle h) { DeleteObject(h); }
};
struct BitmapTraits {
  using Handle = HBITMAP;
  static void close(Handle h) { DeleteObject(h); }
};
struct MemoryDcTraits {
  using Handle = HDC;
  static void close(Handle h) { DeleteDC(h); }
};
struct FontTraits {
  using Handle = HFONT;
  static void close(Handle h) { DeleteObject(h); }
};
struct GlobalMemoryTraits {
  using Handle = HGLOBAL;
  static void close(Handle h) { GlobalFree(h); }
};
struct WindowTraits {
  using Handle = HWND;
  static void close(Handle h) { DestroyWindow(h); }
};

struct GpImageTraits {
  using Handle = Gdiplus::GpImage*;
  static void close(Handle h) { Gdiplus::DllExports::GdipDisposeImage(h); }
};
struct GpGraphicsTraits {
  using Handle = Gdiplus::GpGraphics*;
  static void close(Handle h) { Gdiplus::DllExports::GdipDeleteGraphics(h); }
};
struct GpBrushTraits {
  using Handle = Gdiplus::GpBrush*;
  static void close(Handle h) { Gdiplus::DllExports::GdipDeleteBrush(h); }
};
struct GpPenTraits {
  using Handle = Gdiplus::GpPen*;
  static void close(Handle h) { Gdiplus::DllExports::GdipDeletePen(h); }
};
struct GpFontTraits {
  using Handle = Gdiplus::GpFont*;
  static void close(Handle h) { Gdiplus::DllExports::GdipDeleteFont(h); }
};
struct GpFontFamilyTraits {
  using Handle = Gdiplus::GpFontFamily*;
  static void close(Handle h) { Gdiplus::DllExports::GdipDeleteFontFamily(h); }
};
struct GpStringFormatTraits {
  using Handle = Gdiplus::GpStringFormat*;
  static void close(Handle h) { Gdiplus::DllExports::GdipDeleteStringFormat(h); }
};
struct ComStreamTraits {
  using Handle = IStream*;
  static void close(Handle h) { h->Release(); }
};

using UniqueGdiObject = UniqueNative<GdiObjectTraits>;
using UniqueBitmap = UniqueNative<BitmapTraits>;
using UniqueMemoryDc = UniqueNative<MemoryDcTraits>;
using UniqueFont = UniqueNative<FontTraits>;
using UniqueGlobalMemory = UniqueNative<GlobalMemoryTraits>;
using UniqueWindow = UniqueNative<WindowTraits>;
using UniqueGpImage = UniqueNative<GpImageTraits>;
using UniqueGpGraphics = UniqueNative<GpGraphicsTraits>;
using UniqueGpBrush = UniqueNative<GpBrushTraits>;
using UniqueGpPen = UniqueNative<GpPenTraits>;
using UniqueGpFont = UniqueNative<GpFontTraits>;
using UniqueGpFontFamily = UniqueNative<GpFontFamilyTraits>;
using UniqueGpStringFormat = UniqueNative<GpStringFormatTraits>;
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
