// The pixels of a layered window: a premultiplied 32-bit BGRA DIB section that
// compositions are drawn straight into and that UpdateLayeredWindow pushes.
#pragma once

#include <cstdint>
#include <optional>

#include "skin/native_handles_win.h"

// Premultiplied BGRA pixels, rows top-down, stride in pixels.
struct PixelView {
  const std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
};

class SurfaceFrame {
 public:
  SurfaceFrame() = default;
  SurfaceFrame(const SurfaceFrame&) = delete;
  SurfaceFrame& operator=(const SurfaceFrame&) = delete;
  ~SurfaceFrame();

  // Keeps the pixels when the size is unchanged; false for an empty size.
  bool ensureSize(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }
  std::uint32_t* pixels() { return pixels_; }
  PixelView view() const { return {pixels_, width_, height_, width_}; }
  HDC dc() const { return dc_.get(); }

  // GDI+ drawing over the same pixels, for what the fast paths do not cover.
  Gdiplus::GpGraphics* graphics();

  // Limits clear, blend, copy and GDI+ drawing to a rectangle of the frame;
  // nullptr draws everywhere again.
  void setClip(const RECT* clip);

  void clear();
  // Premultiplied source-over of src at (x, y), clipped to the frame.
  void blend(const PixelView& src, int x, int y);
  // Copies src to (x, y), replacing what is there, clipped to the frame.
  void copy(const PixelView& src, int x, int y);

  // Pushes the pixels to the layered window at its current position; with a
  // dirty rectangle only that part of the window's pixels changes.
  void push(HWND window, const RECT* dirty = nullptr) const;

 private:
  void release();

  int width_ = 0;
  int height_ = 0;
  std::uint32_t* pixels_ = nullptr;
  UniqueMemoryDc dc_;
  UniqueBitmap dib_;
  HGDIOBJ previousBitmap_ = nullptr;
  UniqueGpImage pixelsAsBitmap_;
  UniqueGpGraphics graphics_;
  std::optional<RECT> clip_;
};

// The premultiplied pixels of a GDI+ bitmap, locked for reading while this lives.
// Free for bitmaps held in the premultiplied format; others are converted.
class LockedImagePixels {
 public:
  explicit LockedImagePixels(Gdiplus::GpImage* image);
  LockedImagePixels(const LockedImagePixels&) = delete;
  LockedImagePixels& operator=(const LockedImagePixels&) = delete;
  ~LockedImagePixels();

  // Nothing when the image is not a bitmap or cannot be locked.
  const std::optional<PixelView>& view() const { return view_; }

 private:
  Gdiplus::GpBitmap* bitmap_ = nullptr;
  Gdiplus::BitmapData data_{};
  std::optional<PixelView> view_;
};
