#include "skin/layered_surface_win.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "skin/child_faces_win.h"
#include "skin/control_base_win.h"
#include "skin/image_loading_win.h"
#include "skin/owned_images_win.h"
#include "skin/property_mirror_win.h"
#include "skin/surface_frame_win.h"

namespace {

constexpr UINT_PTR kSurfaceSubclassId = 0x504E47;  // one subclass per surface window
constexpr int kCaretHeight = 12;

// The background drawn at the window's size when the image has another size:
// stretching it is most of a composition's cost under Wine, and the strip
// stretches a background at every refresh. Dropped whenever a background is set.
struct ScaledBackground {
  Gdiplus::GpImage* source = nullptr;
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

struct SurfaceState {
  SurfaceFrame frame;
  ScaledBackground scaledBackground;
  // The direct children, kept between compositions: listing them is a round
  // trip to the window server per child under Wine. WM_PARENTNOTIFY drops it.
  std::optional<std::vector<HWND>> children;
  // Where the screen shows a caret line that the frame no longer holds.
  std::optional<RECT> caretOnScreen;
  bool composed = false;        // the frame holds a finished composition
  bool composeWhenShown = false;  // a composition was skipped while hidden
};

// Window thread only: surfaces are composed on their own thread.
std::map<HWND, std::unique_ptr<SurfaceState>>& surfaces() {
  static auto* states = new std::map<HWND, std::unique_ptr<SurfaceState>>;
  return *states;
}

SurfaceState* findState(HWND window) {
  auto it = surfaces().find(window);
  return it == surfaces().end() ? nullptr : it->second.get();
}

SurfaceFocus focus;

// A new background may sit where the old one was freed: never trust the pointer alone.
void forgetScaledBackground(HWND window) {
  if (SurfaceState* state = findState(window)) state->scaledBackground = {};
}

UINT refreshRequestMessage() {
  static const UINT message = RegisterWindowMessageA("PngControl_RefreshRequest");
  return message;
}

// Direct children in the window manager's order. EnumChildWindows fetches the
// list at once, where each GetWindow step is a round trip to the window server.
std::vector<HWND> childrenOf(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM list) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  std::erase_if(children, [window](HWND child) { return GetParent(child) != window; });
  return children;
}

template <class Visit>
void forEachChild(HWND window, Visit&& visit) {
  SurfaceState* state = findState(window);
  if (!state) {
    for (HWND child : childrenOf(window)) visit(child);
    return;
  }
  if (!state->children) state->children = childrenOf(window);
  const std::vector<HWND> children = *state->children;  // a visit may create or destroy children
  for (HWND child : children) {
    if (IsWindow(child)) visit(child);
  }
}

LRESULT callChildPrevious(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto previous = reinterpret_cast<WNDPROC>(readProperty(window, kPropChildWndProc));
  return previous ? CallWindowProcA(previous, window, message, wParam, lParam)
                  : DefWindowProcA(window, message, wParam, lParam);
}

// Releases what the toolkit keeps for a child when it is destroyed.
LRESULT destroyChild(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (focus.edit == window) focus = {};
  forgetRenderedText(window);
  releaseDecodedImages(window);
  const LRESULT result = callChildPrevious(window, message, wParam, lParam);
  releaseControlProperties(window);
  return result;
}

// Nothing a child paints on a layered surface is ever seen: the surface's
// composition is. Validating instead spares the class's own painting, which
// every image change would otherwise start (a flashing strip repaints 41 bars).
LRESULT skipInvisiblePaint(HWND window, UINT message) {
  if (message == WM_ERASEBKGND) return 1;
  PAINTSTRUCT ps;
  BeginPaint(window, &ps);
  EndPaint(window, &ps);
  return 0;
}

// Picture boxes on a surface are only drawn: the mouse passes through them to
// the controls below (a row's bar lies over its edit box and buttons) or to
// the surface. This also keeps their clean-up at destruction.
LRESULT CALLBACK layeredPictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCHITTEST) return HTTRANSPARENT;
  if (message == WM_PAINT || message == WM_ERASEBKGND) return skipInvisiblePaint(window, message);
  if (message == WM_NCDESTROY) return destroyChild(window, message, wParam, lParam);
  return callChildPrevious(window, message, wParam, lParam);
}

void takeOverChildren(HWND window) {
  forEachChild(window, [](HWND child) {
    const intptr_t kind = readProperty(child, kPropType);
    if (kind == kKindNone) return;
    if (intptr_t ordinary = readProperty(child, kPropWndProc)) {
      SetWindowLongPtrA(child, GWLP_WNDPROC, ordinary);
      removeProperty(child, kPropWndProc);
    }
    if (readProperty(child, kPropChildWndProc)) return;
    WNDPROC procedure = kind == kKindButton ? layeredButtonProc
                        : kind == kKindEdit ? layeredEditProc
                                            : layeredPictureProc;
    writeProperty(child, kPropChildWndProc,
                  SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
  });
}

void refreshNow(HWND window) {
  // A hidden surface is taken over and composed when it is shown: building a
  // window of many rows then costs one pass, not one per row.
  if (!IsWindowVisible(window)) {
    auto& slot = surfaces()[window];
    if (!slot) slot = std::make_unique<SurfaceState>();
    slot->composeWhenShown = true;
    return;
  }
  takeOverChildren(window);
  composeSurface(window);
}

void releaseSurface(HWND window) {
  KillTimer(window, kCaretTimerId);
  if (focus.surface == window) focus = {};
  surfaces().erase(window);
  releaseDecodedImages(window);
  removeProperty(window, kPropBackImage);
  removeProperty(window, kPropTime);
  forgetMirroredWindow(window);
}

LRESULT CALLBACK surfaceSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR) {
  if (message == refreshRequestMessage()) {
    refreshNow(window);
    return 0;
  }
  switch (message) {
    case WM_PARENTNOTIFY:
      if (LOWORD(wParam) == WM_CREATE || LOWORD(wParam) == WM_DESTROY) {
        if (SurfaceState* state = findState(window)) state->children.reset();
      }
      break;
    case WM_SHOWWINDOW:
      if (wParam) {
        if (SurfaceState* state = findState(window); state && state->composeWhenShown) {
          PostMessageA(window, refreshRequestMessage(), 0, 0);
        }
      }
      break;
    case WM_NCDESTROY:
      releaseSurface(window);
      RemoveWindowSubclass(window, surfaceSubclassProc, kSurfaceSubclassId);
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

void drawCaretLine(HWND surface, HWND edit, SurfaceFrame& frame, std::vector<std::uint32_t>& saved,
                   int& lineX, int& lineY) {
  RECT rect{};
  GetWindowRect(edit, &rect);
  POINT corner{rect.left, rect.top};
  ScreenToClient(surface, &corner);
  POINT caret{};
  GetCaretPos(&caret);
  lineX = corner.x + caret.x + 5;
  lineY = corner.y + (rect.bottom - rect.top - kCaretHeight) / 2;
  saved.clear();
  for (int row = 0; row < kCaretHeight; ++row) {
    const int y = lineY + row;
    if (lineX < 0 || lineX >= frame.width() || y < 0 || y >= frame.height()) continue;
    std::uint32_t& pixel = frame.pixels()[y * frame.width() + lineX];
    saved.push_back(pixel);
    pixel = 0xFF000000;  // opaque black
  }
}

void restoreCaretLine(SurfaceFrame& frame, const std::vector<std::uint32_t>& saved, int lineX, int lineY) {
  std::size_t next = 0;
  for (int row = 0; row < kCaretHeight; ++row) {
    const int y = lineY + row;
    if (lineX < 0 || lineX >= frame.width() || y < 0 || y >= frame.height()) continue;
    frame.pixels()[y * frame.width() + lineX] = saved[next++];
  }
}

}  // namespace

const SurfaceFocus& surfaceFocus() { return focus; }

const SurfaceFrame* surfaceFrame(HWND window) {
  SurfaceState* state = findState(window);
  return state && state->composed ? &state->frame : nullptr;
}

bool PngLayeredWindow::bindSurface(HWND window) {
  if (!IsWindow(window)) return false;
  window_ = window;
  SetWindowLongPtrA(window, GWL_EXSTYLE, WS_EX_LAYERED);
  CreateCaret(window, nullptr, 1, kCaretHeight);
  if (!readProperty(window, kPropTime)) {
    SetTimer(window, kCaretTimerId, 500, caretTimerProc);
    writeProperty(window, kPropTime, static_cast<intptr_t>(kCaretTimerId));
  }
  SetWindowSubclass(window, surfaceSubclassProc, kSurfaceSubclassId, 0);
  if (!findState(window)) surfaces()[window] = std::make_unique<SurfaceState>();
  return true;
}

bool PngLayeredWindow::setBackImage(Gdiplus::GpImage* image) {
  if (!IsWindow(window_) || !image) return false;
  storeCallerImage(window_, kPropBackImage, image);
  forgetScaledBackground(window_);
  composeSurface(window_);
  return true;
}

bool PngLayeredWindow::setBackImageFromBytes(std::span<const std::uint8_t> bytes) {
  UniqueGpImage image = loadImageFromBytes(bytes);
  if (!IsWindow(window_) || !image) return false;
  keepDecodedImage(window_, kPropBackImage, std::move(image));
  forgetScaledBackground(window_);
  composeSurface(window_);
  return true;
}

void PngLayeredWindow::refresh() const {
  if (!IsWindow(window_)) return;
  if (GetWindowThreadProcessId(window_, nullptr) != GetCurrentThreadId()) {
    // Compositions of one surface run on its own thread only, one at a time.
    PostMessageA(window_, refreshRequestMessage(), 0, 0);
    return;
  }
  refreshNow(window_);
}

void PngLayeredWindow::move(std::optional<int> left, std::optional<int> top, std::optional<int> width,
                            std::optional<int> height, bool noRedraw) const {
  UINT flags = SWP_NOZORDER;
  if (noRedraw) flags |= SWP_NOREDRAW;
  if (!left && !top) flags |= SWP_NOMOVE;
  if (!width && !height) flags |= SWP_NOSIZE;
  RECT rect{};
  GetWindowRect(window_, &rect);
  SetWindowPos(window_, nullptr, left.value_or(rect.left), top.value_or(rect.top),
               width.value_or(rect.right - rect.left), height.value_or(rect.bottom - rect.top), flags);
}

bool PngLayeredWindow::isWindow() const { return IsWindow(window_) == TRUE; }

LRESULT PngLayeredWindow::sendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return SendMessageA(window_, message, wParam, lParam);
}

using namespace Gdiplus::DllExports;

namespace {

bool scaleBackground(ScaledBackground& kept, Gdiplus::GpImage* image, int width, int height) {
  kept = {};
  UniqueGpImage scaled;
  GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppPARGB, nullptr,
                            reinterpret_cast<Gdiplus::GpBitmap**>(scaled.put()));
  if (!scaled) return false;
  {
    UniqueGpGraphics graphics;
    if (GdipGetImageGraphicsContext(scaled.get(), graphics.put()) != Gdiplus::Ok) return false;
    if (GdipDrawImageRectI(graphics.get(), image, 0, 0, width, height) != Gdiplus::Ok) return false;
  }
  LockedImagePixels locked(scaled.get());
  const auto& view = locked.view();
  if (!view) return false;
  kept.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int row = 0; row < height; ++row) {
    std::copy_n(view->pixels + static_cast<std::ptrdiff_t>(row) * view->stride, width,
                kept.pixels.begin() + static_cast<std::ptrdiff_t>(row) * width);
  }
  kept.source = image;
  kept.width = width;
  kept.height = height;
  return true;
}

void drawBackground(SurfaceState& state, Gdiplus::GpImage* image, int width, int height) {
  UINT imageWidth = 0, imageHeight = 0;
  GdipGetImageWidth(image, &imageWidth);
  GdipGetImageHeight(image, &imageHeight);
  ScaledBackground& kept = state.scaledBackground;
  const bool ownSize = static_cast<int>(imageWidth) == width && static_cast<int>(imageHeight) == height;
  const bool keptFits = kept.source == image && kept.width == width && kept.height == height;
  if (ownSize || (!keptFits && !scaleBackground(kept, image, width, height))) {
    drawImageInto(state.frame, image, 0, 0, width, height);
    return;
  }
  state.frame.blend({kept.pixels.data(), width, height, width}, 0, 0);
}

}  // namespace

namespace {

RECT clientRectOf(HWND surface, HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, surface, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

void composeSurface(HWND window, const RECT* dirty) {
  RECT rect{};
  if (!IsWindow(window) || !GetWindowRect(window, &rect)) return;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  auto& slot = surfaces()[window];
  if (!slot) slot = std::make_unique<SurfaceState>();
  SurfaceState& state = *slot;
  // Nobody sees a hidden window: compose when it is shown.
  if (!IsWindowVisible(window)) {
    state.composeWhenShown = true;
    return;
  }
  state.composeWhenShown = false;
  const bool partial = dirty && state.composed && state.frame.width() == width && state.frame.height() == height;
  if (!partial) state.composed = false;
  if (!state.frame.ensureSize(width, height)) return;

  // A part is composed like the whole, clipped: the children that overlap it
  // are drawn again in their order, so whatever lies above the change stays above.
  state.frame.setClip(partial ? dirty : nullptr);
  state.frame.clear();
  if (auto* background = reinterpret_cast<Gdiplus::GpImage*>(readProperty(window, kPropBackImage))) {
    drawBackground(state, background, width, height);
  }
  forEachChild(window, [&](HWND child) {
    if (readProperty(child, kPropType) == kKindNone) return;
    RECT overlap{};
    const RECT face = clientRectOf(window, child);
    if (partial && !IntersectRect(&overlap, &face, dirty)) return;
    drawChildFace(window, child, state.frame);
  });
  state.frame.setClip(nullptr);
  state.composed = true;
  pushToScreen(window, false, partial ? dirty : nullptr);
}

void pushToScreen(HWND window, bool caret, const RECT* dirty) {
  SurfaceState* state = findState(window);
  if (!state || !state->composed || !IsWindow(window)) return;
  // A caret line left on the screen goes with this push.
  std::optional<RECT> area;
  if (dirty) {
    area = *dirty;
    if (state->caretOnScreen) UnionRect(&*area, &*area, &*state->caretOnScreen);
  }
  state->caretOnScreen.reset();
  if (!caret || !focus.edit) {
    state->frame.push(window, area ? &*area : nullptr);
    return;
  }
  std::vector<std::uint32_t> saved;
  int lineX = 0, lineY = 0;
  drawCaretLine(window, focus.edit, state->frame, saved, lineX, lineY);
  const RECT line{lineX, lineY, lineX + 1, lineY + kCaretHeight};
  if (area) UnionRect(&*area, &*area, &line);
  state->frame.push(window, area ? &*area : nullptr);
  restoreCaretLine(state->frame, saved, lineX, lineY);
  state->caretOnScreen = line;
}

void CALLBACK caretTimerProc(HWND window, UINT, UINT_PTR, DWORD) {
  if (window != focus.surface || !focus.edit || !surfaceFrame(window)) return;
  focus.caretPhase = 1 - focus.caretPhase;
  // Only the caret's column changes.
  const RECT none{0, 0, 0, 0};
  pushToScreen(window, focus.caretPhase == 1, &none);
}

LRESULT CALLBACK layeredEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND surface = GetParent(window);
  switch (message) {
    case WM_SETFOCUS:
      focus = {surface, window, 0};
      break;
    case WM_KILLFOCUS:
      focus = {};
      break;
    case WM_NCPAINT:
      return 0;  // its frame is composed with its face
    case WM_PAINT:
    case WM_ERASEBKGND:
      // Invalidated with every bar it lies under; its own painting is never seen.
      return skipInvisiblePaint(window, message);
    case WM_CHAR:
    case WM_IME_CHAR:
    case WM_SETTEXT:
    case WM_CUT:
    case WM_PASTE:
    case WM_KEYDOWN:
    case WM_LBUTTONUP:
      break;
    case WM_NCDESTROY:
      return destroyChild(window, message, wParam, lParam);
    default:
      return callChildPrevious(window, message, wParam, lParam);
  }
  const LRESULT result = callChildPrevious(window, message, wParam, lParam);
  // An edit box's face stays inside its own rectangle.
  const RECT face = clientRectOf(surface, window);
  composeSurface(surface, &face);
  return result;
}

LRESULT CALLBACK layeredButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const intptr_t state = readProperty(window, kPropDrawState);
  intptr_t next = state;
  switch (message) {
    case WM_MOUSEMOVE:
      if (state == kDrawHover || state == kDrawPressed) return callChildPrevious(window, message, wParam, lParam);
      {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
      }
      next = kDrawHover;
      break;
    case WM_MOUSELEAVE:
      next = kDrawNormal;
      break;
    case WM_LBUTTONDOWN:
      next = kDrawPressed;
      break;
    case WM_LBUTTONUP:
      next = state == kDrawPressed ? kDrawHover : kDrawNormal;
      break;
    case WM_ENABLE:
      next = wParam ? kDrawNormal : kDrawDisabled;
      break;
    case WM_PAINT:
    case WM_ERASEBKGND:
      return skipInvisiblePaint(window, message);
    case WM_NCDESTROY:
      return destroyChild(window, message, wParam, lParam);
    default:
      return callChildPrevious(window, message, wParam, lParam);
  }
  writeProperty(window, kPropDrawState, next);
  const RECT face = clientRectOf(GetParent(window), window);
  composeSurface(GetParent(window), &face);
  return callChildPrevious(window, message, wParam, lParam);
}
