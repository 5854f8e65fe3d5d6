#include "skin/surface_frame_win.h"

#include <algorithm>
#include <cstring>

using namespace Gdiplus::DllExports;

namespace {

// Premultiplied source-over of one pixel: d = s + d * (255 - sa) / 255, two
// channels at a time.
inline std::uint32_t over(std::uint32_t s, std::uint32_t d) {
  const std::uint32_t inverse = 255 - (s >> 24);
  std::uint32_t rb = (d & 0x00FF00FFu) * inverse + 0x00800080u;
  rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  std::uint32_t ag = ((d >> 8) & 0x00FF00FFu) * inverse + 0x00800080u;
  ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
  return s + rb + ag;
}

struct Clip {
  int srcX, srcY, dstX, dstY, width, height;
};

// The part of the frame drawing may touch: all of it, or the clip within it.
RECT drawableArea(int frameWidth, int frameHeight, const std::optional<RECT>& clip) {
  RECT area{0, 0, frameWidth, frameHeight};
  if (clip) {
    area.left = std::max(area.left, clip->left);
    area.top = std::max(area.top, clip->top);
    area.right = std::min(area.right, clip->right);
    area.bottom = std::min(area.bottom, clip->bottom);
  }
  return area;
}

std::optional<Clip> clipTo(const RECT& area, const PixelView& src, int x, int y) {
  Clip c{0, 0, x, y, src.width, src.height};
  if (c.dstX < area.left) c.srcX = area.left - c.dstX, c.width -= area.left - c.dstX, c.dstX = area.left;
  if (c.dstY < area.top) c.srcY = area.top - c.dstY, c.height -= area.top - c.dstY, c.dstY = area.top;
  c.width = std::min(c.width, static_cast<int>(area.right) - c.dstX);
  c.height = std::min(c.height, static_cast<int>(area.bottom) - c.dstY);
  if (c.width <= 0 || c.height <= 0 || !src.pixels) return std::nullopt;
  return c;
}

}  // namespace

SurfaceFrame::~SurfaceFrame() { release(); }

void SurfaceFrame::release() {
  graphics_.reset();
  pixelsAsBitmap_.reset();
  if (dc_ && previousBitmap_) SelectObject(dc_.get(), previousBitmap_);
  previousBitmap_ = nullptr;
  dib_.reset();
  dc_.reset();
  pixels_ = nullptr;
  width_ = height_ = 0;
}

bool SurfaceFrame::ensureSize(int width, int height) {
  if (width <= 0 || height <= 0) return false;
  if (pixels_ && width == width_ && height == height_) return true;
  release();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows, the order GDI+ scan lines use
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dib_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  dc_.reset(CreateCompatibleDC(nullptr));
  if (!dib_ || !dc_ || !bits) {
    release();
    return false;
  }
  previousBitmap_ = SelectObject(dc_.get(), dib_.get());
  pixels_ = static_cast<std::uint32_t*>(bits);
  width_ = width;
  height_ = height;
  return true;
}

Gdiplus::GpGraphics* SurfaceFrame::graphics() {
  if (!pixels_) return nullptr;
  if (!graphics_) {
    Gdiplus::GpBitmap* bitmap = nullptr;
    GdipCreateBitmapFromScan0(width_, height_, width_ * 4, PixelFormat32bppPARGB,
                              reinterpret_cast<BYTE*>(pixels_), &bitmap);
    pixelsAsBitmap_.reset(bitmap);
    if (bitmap) GdipGetImageGraphicsContext(bitmap, graphics_.put());
    setClip(clip_ ? &*clip_ : nullptr);
  }
  return graphics_.get();
}

void SurfaceFrame::setClip(const RECT* clip) {
  clip_ = clip ? std::optional<RECT>(*clip) : std::nullopt;
  if (!graphics_) return;
  if (clip) {
    GdipSetClipRectI(graphics_.get(), clip->left, clip->top, clip->right - clip->left, clip->bottom - clip->top,
                     Gdiplus::CombineModeReplace);
  } else {
    GdipResetClip(graphics_.get());
  }
}

void SurfaceFrame::clear() {
  if (graphics_) GdipFlush(graphics_.get(), Gdiplus::FlushIntentionSync);
  if (!pixels_) return;
  const RECT area = drawableArea(width_, height_, clip_);
  if (area.left >= area.right) return;
  for (int row = area.top; row < area.bottom; ++row) {
    std::memset(pixels_ + static_cast<std::ptrdiff_t>(row) * width_ + area.left, 0,
                static_cast<std::size_t>(area.right - area.left) * 4);
  }
}

void SurfaceFrame::blend(const PixelView& src, int x, int y) {
  auto c = clipTo(drawableArea(width_, height_, clip_), src, x, y);
  if (!c) return;
  if (graphics_) GdipFlush(graphics_.get(), Gdiplus::FlushIntentionSync);
  for (int row = 0; row < c->height; ++row) {
    const std::uint32_t* s = src.pixels + static_cast<std::ptrdiff_t>(c->srcY + row) * src.stride + c->srcX;
    std::uint32_t* d = pixels_ + static_cast<std::ptrdiff_t>(c->dstY + row) * width_ + c->dstX;
    for (int i = 0; i < c->width; ++i) {
      const std::uint32_t alpha = s[i] >> 24;
      if (alpha == 255) {
        d[i] = s[i];
      } else if (alpha != 0) {
        d[i] = over(s[i], d[i]);
      }
    }
  }
}

void SurfaceFrame::copy(const PixelView& src, int x, int y) {
  auto c = clipTo(drawableArea(width_, height_, clip_), src, x, y);
  if (!c) return;
  if (graphics_) GdipFlush(graphics_.get(), Gdiplus::FlushIntentionSync);
  for (int row = 0; row < c->height; ++row) {
    std::memcpy(pixels_ + static_cast<std::ptrdiff_t>(c->dstY + row) * width_ + c->dstX,
                src.pixels + static_cast<std::ptrdiff_t>(c->srcY + row) * src.stride + c->srcX,
                static_cast<std::size_t>(c->width) * 4);
  }
}

void SurfaceFrame::push(HWND window, const RECT* dirty) const {
  if (!pixels_ || !IsWindow(window)) return;
  if (graphics_) GdipFlush(graphics_.get(), Gdiplus::FlushIntentionSync);
  WindowDc windowDc(window, true);
  SIZE size{width_, height_};
  POINT origin{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  UPDATELAYEREDWINDOWINFO info{sizeof info, windowDc.get(), nullptr, &size, dc_.get(), &origin, 0, &blend,
                               ULW_ALPHA, dirty};
  UpdateLayeredWindowIndirect(window, &info);
}

LockedImagePixels::LockedImagePixels(Gdiplus::GpImage* image) {
  Gdiplus::ImageType type = Gdiplus::ImageTypeUnknown;
  if (!image || GdipGetImageType(image, &type) != Gdiplus::Ok || type != Gdiplus::ImageTypeBitmap) return;
  UINT width = 0, height = 0;
  GdipGetImageWidth(image, &width);
  GdipGetImageHeight(image, &height);
  if (width == 0 || height == 0) return;
  auto* bitmap = static_cast<Gdiplus::GpBitmap*>(image);
  Gdiplus::GpRect rect(0, 0, static_cast<INT>(width), static_cast<INT>(height));
  if (GdipBitmapLockBits(bitmap, &rect, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &data_) != Gdiplus::Ok) {
    return;
  }
  bitmap_ = bitmap;
  view_ = PixelView{static_cast<const std::uint32_t*>(data_.Scan0), static_cast<int>(width), static_cast<int>(height),
                    data_.Stride / 4};
}

LockedImagePixels::~LockedImagePixels() {
  if (bitmap_) GdipBitmapUnlockBits(bitmap_, &data_);
}
