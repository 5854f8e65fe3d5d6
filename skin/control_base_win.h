// The base of the skin controls: a small object that holds one control's
// window handle, and the routines every control kind shares. All per-control
// state lives in window properties (skin/property_names.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "skin/native_handles_win.h"
#include "skin/property_names.h"

// Width and height of an image placed in a box.
struct BoxSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const BoxSize&, const BoxSize&) = default;
};

class PngControlBase {
 public:
  PngControlBase() = default;
  // Copies drive the same control; dropping one leaves the control as it is.
  PngControlBase(const PngControlBase&) = default;
  PngControlBase& operator=(const PngControlBase&) = default;
  virtual ~PngControlBase() = default;

  // False, with the old handle kept, when `control` is not a window.
  virtual bool bind(HWND control);
  virtual HWND handle() const;
  virtual void setProperty(const char* name, intptr_t value) const;
  // 0 when the property is absent.
  virtual intptr_t property(const char* name) const;
  virtual void send(UINT message, WPARAM wParam, LPARAM lParam) const;
  // Placement with the lowest bit 0 centres the tip under the control; only
  // the first call for a control sets the placement.
  virtual void setToolTip(const std::string& text, int placement = 1) const;
  // Values left out keep the control's current ones (parent client coordinates).
  virtual void move(std::optional<int> left = {}, std::optional<int> top = {},
                    std::optional<int> width = {}, std::optional<int> height = {},
                    bool noRedraw = false) const;
  virtual HWND window() const;
  virtual bool isWindow() const;
  virtual void invalidate() const;
  virtual LRESULT sendMessage(UINT message, WPARAM wParam, LPARAM lParam) const;

 protected:
  HWND window_ = nullptr;
};

// Property access on any window; absent properties read as 0.
intptr_t readProperty(HWND window, const char* name);
void writeProperty(HWND window, const char* name, intptr_t value);
void removeProperty(HWND window, const char* name);

// The window's text as ANSI bytes; empty for none.
std::string windowText(HWND window);

// The parent a control paints over: 0 for top-level windows, whose GetParent
// is their owner.
HWND parentOf(HWND window);

// Installs `procedure` unless the window was subclassed by the toolkit before;
// the replaced procedure goes to "PngControl_WndProc". True when installed.
bool subclassWindow(HWND window, WNDPROC procedure);
// Forwards to the procedure in "PngControl_WndProc" (DefWindowProcA without one).
LRESULT callPreviousProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Installed on the parents of bound controls.
LRESULT CALLBACK parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// (style & ~remove) | add; false and nothing done when that changes nothing.
// SetWindowPos runs only when `extraPositionFlags` is not 0.
bool changeStyle(HWND window, DWORD remove, DWORD add, UINT extraPositionFlags = 0);
bool changeExStyle(HWND window, DWORD remove, DWORD add, UINT extraPositionFlags = 0);

// Invalidates the parent's area under the control, then the control, both
// without erasing.
void refreshInParent(HWND control);

// Copies what `dc` shows in the control's size into a new cache bitmap, which
// replaces (and deletes) the old one. Returns the new bitmap, owned by the control.
HBITMAP snapshotBackground(HWND control, HDC dc);
// Stores `bitmap` as the control's cache bitmap and deletes the one it replaces.
void storeCacheBitmap(HWND control, HBITMAP bitmap);

// The image of a button draw state; a missing one falls back to the normal image.
Gdiplus::GpImage* stateImage(HWND control, intptr_t drawState);

// Draws the cache bitmap and `image` (placed by "PngControl_BackType") off
// screen and copies the result to `dc`, or to the control's window DC when
// `dc` is 0. Draws nothing while the control has no cache bitmap.
void composeOverCache(HWND control, HDC dc, Gdiplus::GpImage* image);

// Shrinks an image to fit the box keeping its proportions; never enlarges.
BoxSize fitInside(int imageWidth, int imageHeight, int boxWidth, int boxHeight);

// For the kinds' procedures at WM_NCDESTROY, after forwarding the message:
// deletes the cache bitmap, drops the control's tooltip tool and removes every
// toolkit property.
void releaseControlProperties(HWND control);

// The process's tooltip window; 0 before the first setToolTip.
HWND toolTipWindow();
