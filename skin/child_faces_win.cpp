#include "skin/child_faces_win.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "skin/control_base_win.h"
#include "skin/fonts_win.h"
#include "skin/image_loading_win.h"
#include "skin/surface_frame_win.h"

using namespace Gdiplus::DllExports;

namespace {

constexpr intptr_t kNoColour = -1;

// An edit box's text as last rendered, kept until its text, font, colour or
// size changes: drawing text is the slowest part of a composition.
struct RenderedText {
  std::string text;
  LOGFONTA font{};
  COLORREF colour = 0;
  int width = 0;
  int height = 0;
  UniqueGpImage pixels;  // premultiplied; empty when nothing could be drawn
};

// GDI+ fonts by the GDI font they were made from, shared by every edit box:
// finding a family by name is slow under Wine.
const PngFont& gdiplusFontFor(HWND edit, const LOGFONTA& font) {
  static auto* fonts = new std::map<std::string, PngFont>;  // window thread only
  std::string key(reinterpret_cast<const char*>(&font), sizeof font);
  auto it = fonts->find(key);
  if (it == fonts->end()) {
    PngFont made;
    made.createFromWindow(edit);
    it = fonts->emplace(std::move(key), std::move(made)).first;
  }
  return it->second;
}

std::map<HWND, RenderedText>& renderedTexts() {
  static auto* texts = new std::map<HWND, RenderedText>;  // window thread only
  return *texts;
}

std::uint32_t premultiplied(std::uint32_t argb) {
  const std::uint32_t a = argb >> 24;
  auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
  return (a << 24) | (scale((argb >> 16) & 0xFF) << 16) | (scale((argb >> 8) & 0xFF) << 8) | scale(argb & 0xFF);
}

void fillRect(SurfaceFrame& frame, int x, int y, int width, int height, std::uint32_t argb) {
  if (width <= 0 || height <= 0) return;
  const std::vector<std::uint32_t> row(static_cast<std::size_t>(width), premultiplied(argb));
  frame.blend({row.data(), width, height, 0}, x, y);  // stride 0 repeats the row
}

UniqueGpImage renderText(const PngFont& font, const std::string& text, COLORREF colour, int width, int height) {
  if (!font.handle()) return {};
  PngStringFormat format;
  format.create(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsNoFitBlackBox, 0);
  format.setAligns(Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter);

  UniqueGpImage pixels;
  GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppPARGB, nullptr,
                            reinterpret_cast<Gdiplus::GpBitmap**>(pixels.put()));
  if (!pixels) return {};
  UniqueGpGraphics graphics;
  GdipGetImageGraphicsContext(pixels.get(), graphics.put());
  // Grey-scale smoothing keeps its alpha on a transparent background; ClearType would not.
  GdipSetTextRenderingHint(graphics.get(), Gdiplus::TextRenderingHintAntiAliasGridFit);
  UniqueGpBrush brush;
  GdipCreateSolidFill(toArgb(colour, 255), reinterpret_cast<Gdiplus::GpSolidFill**>(brush.put()));
  const std::wstring wide = toWide(text);
  Gdiplus::RectF layout(0, 0, static_cast<Gdiplus::REAL>(width), static_cast<Gdiplus::REAL>(height));
  if (GdipDrawString(graphics.get(), wide.c_str(), static_cast<INT>(wide.size()), font.handle(), &layout,
                     format.handle(), brush.get()) != Gdiplus::Ok) {
    return {};
  }
  return pixels;
}

Gdiplus::GpImage* textPixels(HWND edit, int width, int height) {
  const std::string text = windowText(edit);
  if (text.empty() || width <= 0 || height <= 0) {
    renderedTexts().erase(edit);
    return nullptr;
  }
  LOGFONTA font{};
  if (auto handle = reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0))) {
    GetObjectA(handle, sizeof font, &font);
  }
  const auto colour = static_cast<COLORREF>(readProperty(edit, kPropTextColor));
  RenderedText& kept = renderedTexts()[edit];
  const bool same = kept.text == text && kept.colour == colour && kept.width == width && kept.height == height &&
                    std::memcmp(&kept.font, &font, sizeof font) == 0;
  if (!same) {
    kept.pixels = renderText(gdiplusFontFor(edit, font), text, colour, width, height);
    kept.text = text;
    kept.font = font;
    kept.colour = colour;
    kept.width = width;
    kept.height = height;
  }
  return kept.pixels.get();
}

}  // namespace

std::uint32_t toArgb(COLORREF colour, std::int64_t alpha) {
  const std::uint32_t red = colour & 0xFF;
  const std::uint32_t green = (colour >> 8) & 0xFF;
  const std::uint32_t blue = (colour >> 16) & 0xFF;
  return (static_cast<std::uint32_t>(alpha) << 24) | (red << 16) | (green << 8) | blue;
}

void drawImageInto(SurfaceFrame& frame, Gdiplus::GpImage* image, int x, int y, int width, int height,
                   bool cropTopLeft) {
  if (!image || width <= 0 || height <= 0) return;
  UINT imageWidth = 0, imageHeight = 0;
  GdipGetImageWidth(image, &imageWidth);
  GdipGetImageHeight(image, &imageHeight);
  const bool ownSize = static_cast<int>(imageWidth) == width && static_cast<int>(imageHeight) == height;
  if (ownSize || cropTopLeft) {
    LockedImagePixels locked(image);
    if (const auto& view = locked.view()) {
      PixelView part = *view;
      part.width = std::min(part.width, width);
      part.height = std::min(part.height, height);
      frame.blend(part, x, y);
      return;
    }
  }
  if (cropTopLeft) {
    GdipDrawImagePointRectI(frame.graphics(), image, x, y, 0, 0, width, height, Gdiplus::UnitPixel);
  } else {
    GdipDrawImageRectI(frame.graphics(), image, x, y, width, height);
  }
}

void forgetRenderedText(HWND edit) { renderedTexts().erase(edit); }

void drawChildFace(HWND surface, HWND child, SurfaceFrame& frame) {
  RECT rect{};
  GetWindowRect(child, &rect);
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  POINT corner{rect.left, rect.top};
  ScreenToClient(surface, &corner);
  const int x = corner.x;
  const int y = corner.y;

  const intptr_t kind = readProperty(child, kPropType);
  const intptr_t backType = readProperty(child, kPropBackType);
  Gdiplus::GpImage* image = nullptr;
  switch (kind) {
    case kKindPicture:
      image = reinterpret_cast<Gdiplus::GpImage*>(readProperty(child, kPropBackImage));
      break;
    case kKindButton:
      image = stateImage(child, readProperty(child, kPropDrawState));
      break;
    case kKindEdit:
      image = reinterpret_cast<Gdiplus::GpImage*>(readProperty(child, kPropBackImage));
      if (readProperty(child, kPropBackColor) != kNoColour) {
        fillRect(frame, x, y, w, h,
                 toArgb(static_cast<COLORREF>(readProperty(child, kPropBackColor)),
                        readProperty(child, kPropBackAlpha)));
      }
      break;
    default:
      return;
  }

  if (image) {
    Gdiplus::REAL imageWidth = 0, imageHeight = 0;
    GdipGetImageDimension(image, &imageWidth, &imageHeight);
    if (backType == kBackStretch) {
      drawImageInto(frame, image, x, y, w, h);
    } else if (backType == kBackFitCentre) {
      const BoxSize fitted = fitInside(static_cast<int>(imageWidth), static_cast<int>(imageHeight), w, h);
      drawImageInto(frame, image, x + (w - fitted.width) / 2, y + (h - fitted.height) / 2, fitted.width,
                    fitted.height);
    } else if (imageWidth - static_cast<Gdiplus::REAL>(w) > 0.0000001f ||
               imageHeight - static_cast<Gdiplus::REAL>(h) > 0.0000001f) {
      drawImageInto(frame, image, x, y, w, h, true);
    } else {
      drawImageInto(frame, image, x, y, static_cast<int>(imageWidth), static_cast<int>(imageHeight));
    }
  }

  if (kind != kKindEdit) return;
  if (readProperty(child, kPropOrderColor) != kNoColour) {
    UniqueGpPen pen;
    GdipCreatePen1(toArgb(static_cast<COLORREF>(readProperty(child, kPropOrderColor)),
                          readProperty(child, kPropOrderAlpha)),
                   1, Gdiplus::UnitWorld, pen.put());
    GdipDrawRectangleI(frame.graphics(), pen.get(), x, y, w, h);
  }
  if (Gdiplus::GpImage* text = textPixels(child, w - 4, h - 4)) drawImageInto(frame, text, x + 2, y + 2, w - 4, h - 4);
}
