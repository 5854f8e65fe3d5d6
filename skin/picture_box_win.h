// One image with per-pixel alpha over whatever lies behind the control.
#pragma once

#include <span>

#include "skin/control_base_win.h"

inline constexpr const char* kPictureBoxText = "翠羽真彩控件.图片框";

class PngPictureBox : public PngControlBase {
 public:
  // A new static control bound as a picture box; 0 when it cannot be made.
  HWND create(HWND parent, int left, int top, int width, int height);
  void bindPicture(HWND window, Gdiplus::GpImage* image = nullptr);
  // The caller keeps the image alive while the box may show it. Safe from any
  // thread: it stores a property and invalidates.
  void setBackImage(Gdiplus::GpImage* image) const;
  // The decoded image is the box's, disposed when replaced or destroyed.
  void setBackImageFromBytes(std::span<const std::uint8_t> bytes) const;
  void setBackType(int backType) const;
};

LRESULT CALLBACK pictureBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
