// Layered windows whose every pixel the toolkit composes: a PNG background
// and the faces of the toolkit children, pushed with UpdateLayeredWindow,
// with a caret line of its own for the focused edit box.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "skin/native_handles_win.h"

class SurfaceFrame;

class PngLayeredWindow {
 public:
  // True when bound: the window becomes WS_EX_LAYERED alone, gets a caret and
  // its 500 ms caret timer (once per window).
  bool bindSurface(HWND window);
  // The background, drawn stretched over the whole window; owned by the caller.
  bool setBackImage(Gdiplus::GpImage* image);
  // Decodes the bytes; the decoded image is the surface's and is disposed
  // when another one replaces it or the window is destroyed.
  bool setBackImageFromBytes(std::span<const std::uint8_t> bytes);
  // Takes new toolkit children over and composes the window. From another
  // thread the request is handed to the window's own thread.
  void refresh() const;
  void move(std::optional<int> left = {}, std::optional<int> top = {}, std::optional<int> width = {},
            std::optional<int> height = {}, bool noRedraw = false) const;
  HWND window() const { return window_; }
  bool isWindow() const;
  LRESULT sendMessage(UINT message, WPARAM wParam, LPARAM lParam) const;

 private:
  HWND window_ = nullptr;
};

inline constexpr UINT_PTR kCaretTimerId = 64;

// Composes the background and every typed child's face and pushes the result.
// With a dirty rectangle (client pixels) only that part is composed and pushed
// again, when the frame already holds a whole composition of this size.
void composeSurface(HWND window, const RECT* dirty = nullptr);
// Pushes the surface's last composition, with the caret line when caret is
// true; a dirty rectangle limits the push to that part and the caret's.
void pushToScreen(HWND window, bool caret, const RECT* dirty = nullptr);
void CALLBACK caretTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);
LRESULT CALLBACK layeredEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK layeredButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The focused edit box on a surface, process-wide; written on the window thread.
struct SurfaceFocus {
  HWND surface = nullptr;
  HWND edit = nullptr;
  int caretPhase = 0;
};
const SurfaceFocus& surfaceFocus();

// The last composition of a surface, for tests and benchmarks; nullptr before one.
const SurfaceFrame* surfaceFrame(HWND window);
