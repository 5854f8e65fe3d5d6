// Push buttons drawn entirely from up to four images: normal, hover, pressed
// and disabled, over a snapshot of what the parent painted beneath them.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "skin/control_base_win.h"

using ImageBytes = std::span<const std::uint8_t>;

class PngButton : public PngControlBase {
 public:
  // A new bound button; 0 when no window was made. The caption is never drawn.
  HWND create(HWND parent, int left, int top, int width, int height, const std::string& caption);
  void bindButton(HWND window, Gdiplus::GpImage* normal = nullptr);
  // Only the looks given change; images are the caller's and never disposed here.
  void setImages(std::optional<Gdiplus::GpImage*> normal = {}, std::optional<Gdiplus::GpImage*> hover = {},
                 std::optional<Gdiplus::GpImage*> pressed = {},
                 std::optional<Gdiplus::GpImage*> disabled = {}) const;
  // Decodes each look given; an undecodable one removes that look. The decoded
  // images are the button's, disposed when replaced or when it is destroyed.
  void setImagesFromBytes(std::optional<ImageBytes> normal = {}, std::optional<ImageBytes> hover = {},
                          std::optional<ImageBytes> pressed = {}, std::optional<ImageBytes> disabled = {}) const;
  void setBackType(int backType) const;
};

// Stores a new draw state and redraws when it changed, or always when forced.
void setDrawState(HWND window, intptr_t state, bool force);
LRESULT CALLBACK buttonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
