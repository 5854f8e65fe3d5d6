// Edit controls with an optional fill, border and back image, and their text
// lying directly on that background.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "skin/control_base_win.h"

// Colours are COLORREF values; kNoColour switches the fill or the border off.
inline constexpr std::int32_t kNoColour = -1;
inline constexpr std::int32_t kDefaultEditBorder = 0x7B8084;

class PngEditBox : public PngControlBase {
 public:
  void bindEdit(HWND window);
  // Alpha is clamped to 0..255; without one the stored alpha stays.
  void setBackColor(std::int32_t colour, std::optional<int> alpha = {}) const;
  void setBorderColor(std::int32_t colour, std::optional<int> alpha = {}) const;
  void setTextColor(std::int32_t colour) const;
  void setBackImage(Gdiplus::GpImage* image) const;
  // The decoded image is the edit box's, disposed when replaced or destroyed.
  void setBackImageFromBytes(std::span<const std::uint8_t> bytes) const;
  void setBackType(int backType) const;
  std::string text() const;
};

LRESULT CALLBACK editBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
