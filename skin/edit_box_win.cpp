#include "skin/edit_box_win.h"

#include <algorithm>

#include "skin/image_loading_win.h"
#include "skin/owned_images_win.h"

using namespace Gdiplus::DllExports;

namespace {

void storeColour(HWND window, const char* colourProperty, const char* alphaProperty, std::int32_t colour,
                 std::optional<int> alpha) {
  writeProperty(window, colourProperty, colour);
  if (alpha) writeProperty(window, alphaProperty, std::clamp(*alpha, 0, 255));
  // A hidden box gets its frame painted when it is shown.
  if (IsWindowVisible(window)) SendMessageA(window, WM_NCPAINT, 0, 0);
  InvalidateRect(window, nullptr, TRUE);
}

// The back image into the window DC, placed by the back type.
void drawBackImage(HWND window, HDC dc, Gdiplus::GpImage* image, int width, int height) {
  UniqueGpGraphics graphics;
  GdipCreateFromHDC(dc, graphics.put());
  Gdiplus::REAL imageWidth = 0, imageHeight = 0;
  GdipGetImageDimension(image, &imageWidth, &imageHeight);
  Gdiplus::REAL x = 0, y = 0, w = imageWidth, h = imageHeight;
  const intptr_t backType = readProperty(window, kPropBackType);
  if (backType == kBackStretch) {
    w = static_cast<Gdiplus::REAL>(width);
    h = static_cast<Gdiplus::REAL>(height);
  } else if (backType == kBackFitCentre) {
    const BoxSize fitted = fitInside(static_cast<int>(imageWidth), static_cast<int>(imageHeight), width, height);
    x = static_cast<Gdiplus::REAL>((width - fitted.width) / 2);
    y = static_cast<Gdiplus::REAL>((height - fitted.height) / 2);
    w = static_cast<Gdiplus::REAL>(fitted.width);
    h = static_cast<Gdiplus::REAL>(fitted.height);
  }
  if (w - static_cast<Gdiplus::REAL>(width) > 1e-7f || h - static_cast<Gdiplus::REAL>(height) > 1e-7f) {
    GdipDrawImagePointRect(graphics.get(), image, x, y, 0, 0, static_cast<Gdiplus::REAL>(width),
                           static_cast<Gdiplus::REAL>(height), Gdiplus::UnitPixel);
  } else {
    GdipDrawImageRect(graphics.get(), image, x, y, w, h);
  }
}

// Fill, back image and border straight into the window DC; what ends up under
// the client area becomes the cache that erasing restores.
void paintFrame(HWND window) {
  WindowDc dc(window, true);
  RECT windowRect{}, client{};
  GetWindowRect(window, &windowRect);
  GetClientRect(window, &client);
  const int width = windowRect.right - windowRect.left;
  const int height = windowRect.bottom - windowRect.top;
  const int offsetX = (width - client.right) / 2;
  const int offsetY = (height - client.bottom) / 2;
  const RECT box{0, 0, width, height};

  if (const intptr_t fill = readProperty(window, kPropBackColor); fill != kNoColour) {
    UniqueGdiObject brush(CreateSolidBrush(static_cast<COLORREF>(fill)));
    FillRect(dc.get(), &box, static_cast<HBRUSH>(brush.get()));
  }
  if (auto* image = reinterpret_cast<Gdiplus::GpImage*>(readProperty(window, kPropBackImage))) {
    drawBackImage(window, dc.get(), image, width, height);
  }
  if (const intptr_t border = readProperty(window, kPropOrderColor); border != kNoColour) {
    UniqueGdiObject brush(CreateSolidBrush(static_cast<COLORREF>(border)));
    FrameRect(dc.get(), &box, static_cast<HBRUSH>(brush.get()));
  }

  UniqueMemoryDc memory(CreateCompatibleDC(dc.get()));
  HBITMAP cache = CreateCompatibleBitmap(dc.get(), client.right, client.bottom);
  {
    SelectGuard select(memory.get(), cache);
    BitBlt(memory.get(), 0, 0, client.right, client.bottom, dc.get(), offsetX, offsetY, SRCCOPY);
  }
  storeCacheBitmap(window, cache);
}

void restoreBackground(HWND window, HDC dc) {
  if (auto cache = reinterpret_cast<HBITMAP>(readProperty(window, kPropCacheBitmap))) {
    RECT client{};
    GetClientRect(window, &client);
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    SelectGuard select(memory.get(), cache);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
  }
  InvalidateRect(window, nullptr, FALSE);
}

}  // namespace

void PngEditBox::bindEdit(HWND window) {
  if (!bind(window)) return;
  writeProperty(window, kPropType, kKindEdit);
  writeProperty(window, kPropBackColor, 0xFFFFFF);
  writeProperty(window, kPropBackAlpha, 255);
  writeProperty(window, kPropOrderColor, kDefaultEditBorder);
  writeProperty(window, kPropOrderAlpha, 255);
  writeProperty(window, kPropTextColor, 0);
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  subclassWindow(window, editBoxProc);
  refreshInParent(window);
}

void PngEditBox::setBackColor(std::int32_t colour, std::optional<int> alpha) const {
  storeColour(window_, kPropBackColor, kPropBackAlpha, colour, alpha);
}

void PngEditBox::setBorderColor(std::int32_t colour, std::optional<int> alpha) const {
  storeColour(window_, kPropOrderColor, kPropOrderAlpha, colour, alpha);
}

void PngEditBox::setTextColor(std::int32_t colour) const {
  writeProperty(window_, kPropTextColor, colour);
  InvalidateRect(window_, nullptr, TRUE);
}

void PngEditBox::setBackImage(Gdiplus::GpImage* image) const {
  storeCallerImage(window_, kPropBackImage, image);
  if (IsWindowVisible(window_)) SendMessageA(window_, WM_NCPAINT, 0, 0);
  refreshInParent(window_);
}

void PngEditBox::setBackImageFromBytes(std::span<const std::uint8_t> bytes) const {
  keepDecodedImage(window_, kPropBackImage, loadImageFromBytes(bytes));
  if (IsWindowVisible(window_)) SendMessageA(window_, WM_NCPAINT, 0, 0);
  refreshInParent(window_);
}

void PngEditBox::setBackType(int backType) const {
  writeProperty(window_, kPropBackType, backType);
  InvalidateRect(window_, nullptr, TRUE);
}

std::string PngEditBox::text() const { return windowText(window_); }

LRESULT CALLBACK editBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCPAINT:
      paintFrame(window);
      return 1;
    case WM_ERASEBKGND:
      restoreBackground(window, reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_GETDLGCODE:
    case WM_PASTE:
    case WM_CUT:
    case WM_LBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_VSCROLL:
    case WM_HSCROLL:
      InvalidateRect(window, nullptr, TRUE);
      break;
    case WM_NCDESTROY:
      return releaseAtNcDestroy(window, message, wParam, lParam);
    default:
      break;
  }
  return callPreviousProc(window, message, wParam, lParam);
}
