#include "skin/picture_box_win.h"

#include "skin/image_loading_win.h"
#include "skin/owned_images_win.h"

HWND PngPictureBox::create(HWND parent, int left, int top, int width, int height) {
  HWND window = CreateWindowExA(WS_EX_TRANSPARENT, "Static", kPictureBoxText, WS_CHILD | WS_VISIBLE | SS_NOTIFY,
                                left, top, width, height, parent, nullptr, nullptr, nullptr);
  if (!window) return nullptr;
  bindPicture(window);
  return window;
}

void PngPictureBox::bindPicture(HWND window, Gdiplus::GpImage* image) {
  if (!bind(window)) return;
  writeProperty(window, kPropType, kKindPicture);
  SetWindowTextA(window, kPictureBoxText);
  subclassWindow(window, pictureBoxProc);
  if (image) setBackImage(image);
}

void PngPictureBox::setBackImage(Gdiplus::GpImage* image) const {
  storeCallerImage(window_, kPropBackImage, image);
  refreshInParent(window_);
}

void PngPictureBox::setBackImageFromBytes(std::span<const std::uint8_t> bytes) const {
  keepDecodedImage(window_, kPropBackImage, loadImageFromBytes(bytes));
  refreshInParent(window_);
}

void PngPictureBox::setBackType(int backType) const { writeProperty(window_, kPropBackType, backType); }

LRESULT CALLBACK pictureBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      snapshotBackground(window, dc);
      composeOverCache(window, dc, reinterpret_cast<Gdiplus::GpImage*>(readProperty(window, kPropBackImage)));
      EndPaint(window, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_NCDESTROY:
      return releaseAtNcDestroy(window, message, wParam, lParam);
    default:
      return callPreviousProc(window, message, wParam, lParam);
  }
}
