#include "skin/image_button_win.h"

#include "skin/image_loading_win.h"
#include "skin/owned_images_win.h"

namespace {

constexpr const char* kLookProperties[] = {kPropNormalImage, kPropOverlImage, kPropDownImage, kPropDisableImage};

void redraw(HWND window) {
  composeOverCache(window, nullptr, stateImage(window, readProperty(window, kPropDrawState)));
}

void paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  snapshotBackground(window, dc);
  composeOverCache(window, dc, stateImage(window, readProperty(window, kPropDrawState)));
  EndPaint(window, &ps);
}

}  // namespace

HWND PngButton::create(HWND parent, int left, int top, int width, int height, const std::string& caption) {
  HWND window = CreateWindowExA(WS_EX_TRANSPARENT, "Button", caption.c_str(), WS_CHILD | WS_VISIBLE, left, top,
                                width, height, parent, nullptr, nullptr, nullptr);
  if (!window) return nullptr;
  bindButton(window);
  return window;
}

void PngButton::bindButton(HWND window, Gdiplus::GpImage* normal) {
  if (!bind(window)) return;
  writeProperty(window, kPropType, kKindButton);
  if (normal) storeCallerImage(window, kPropNormalImage, normal);
  changeStyle(window, 0, BS_OWNERDRAW);
  subclassWindow(window, buttonProc);
  refreshInParent(window);
}

void PngButton::setImages(std::optional<Gdiplus::GpImage*> normal, std::optional<Gdiplus::GpImage*> hover,
                          std::optional<Gdiplus::GpImage*> pressed,
                          std::optional<Gdiplus::GpImage*> disabled) const {
  const std::optional<Gdiplus::GpImage*> looks[] = {normal, hover, pressed, disabled};
  for (int i = 0; i < 4; ++i) {
    if (looks[i]) storeCallerImage(window_, kLookProperties[i], *looks[i]);
  }
}

void PngButton::setImagesFromBytes(std::optional<ImageBytes> normal, std::optional<ImageBytes> hover,
                                   std::optional<ImageBytes> pressed, std::optional<ImageBytes> disabled) const {
  const std::optional<ImageBytes> looks[] = {normal, hover, pressed, disabled};
  for (int i = 0; i < 4; ++i) {
    if (looks[i]) keepDecodedImage(window_, kLookProperties[i], loadImageFromBytes(*looks[i]));
  }
}

void PngButton::setBackType(int backType) const { writeProperty(window_, kPropBackType, backType); }

void setDrawState(HWND window, intptr_t state, bool force) {
  if (state != readProperty(window, kPropDrawState)) {
    writeProperty(window, kPropDrawState, state);
    redraw(window);
  } else if (force) {
    redraw(window);
  }
}

LRESULT CALLBACK buttonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const intptr_t state = readProperty(window, kPropDrawState);
  switch (message) {
    case WM_SETFOCUS:
      writeProperty(window, kPropIsFoucs, 1);
      if (state == kDrawPressed) setDrawState(window, kDrawHover, true);
      return 0;
    case WM_KILLFOCUS:
      writeProperty(window, kPropIsFoucs, 0);
      if (state == kDrawHover) setDrawState(window, kDrawNormal, true);
      return 0;
    case WM_PAINT:
      paint(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_NCPAINT:
      return 0;
    case WM_NCDESTROY:
      return releaseAtNcDestroy(window, message, wParam, lParam);
    default:
      break;
  }

  const LRESULT result = callPreviousProc(window, message, wParam, lParam);
  if (!IsWindow(window)) return result;  // a click handler may destroy its button
  switch (message) {
    case WM_ENABLE:
      setDrawState(window, wParam ? kDrawNormal : kDrawDisabled, true);
      break;
    case BM_SETSTATE: {
      const intptr_t pushed = wParam == 1 ? kDrawPressed
                              : readProperty(window, kPropIsFoucs) ? kDrawHover
                                                                   : kDrawNormal;
      setDrawState(window, pushed, false);
      redraw(window);
      break;
    }
    case WM_MOUSEMOVE:
      if (state != kDrawHover && state != kDrawPressed) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
        setDrawState(window, kDrawHover, true);
      }
      break;
    case WM_LBUTTONDOWN:
      setDrawState(window, kDrawPressed, true);
      break;
    case WM_LBUTTONUP:
      // By the state the release arrived in; the click it sent out may have
      // passed a BM_SETSTATE through here since.
      setDrawState(window, state == kDrawPressed ? kDrawHover : kDrawNormal, true);
      break;
    case WM_MOUSELEAVE:
      setDrawState(window, kDrawNormal, true);
      break;
    default:
      break;
  }
  return result;
}
