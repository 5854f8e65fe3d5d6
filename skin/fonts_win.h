// Owners of one GDI+ font, string format or font family each, for drawing
// text on the layered surface. Move-only; copy() duplicates the GDI+ object,
// so no object is ever deleted twice.
#pragma once

#include <string_view>

#include "skin/native_handles_win.h"

class PngFontFamily {
 public:
  PngFontFamily() = default;
  PngFontFamily(const PngFontFamily&) = delete;
  PngFontFamily& operator=(const PngFontFamily&) = delete;
  PngFontFamily(PngFontFamily&&) noexcept = default;
  PngFontFamily& operator=(PngFontFamily&&) noexcept = default;

  PngFontFamily copy() const;
  void release() { family_.reset(); }
  // An installed family by its ANSI name; holds nothing when GDI+ does not know it.
  Gdiplus::GpStatus create(std::string_view name);
  Gdiplus::GpFontFamily* handle() const { return family_.get(); }
  // Takes ownership of family and deletes the one held before.
  void setHandle(Gdiplus::GpFontFamily* family);

 private:
  UniqueGpFontFamily family_;
};

class PngFont {
 public:
  PngFont() = default;
  PngFont(const PngFont&) = delete;
  PngFont& operator=(const PngFont&) = delete;
  PngFont(PngFont&&) noexcept = default;
  PngFont& operator=(PngFont&&) noexcept = default;

  PngFont copy() const;
  void release() { font_.reset(); }
  // style: Gdiplus::FontStyle bits. The font held before is deleted, also on failure.
  Gdiplus::GpStatus create(std::string_view familyName, Gdiplus::REAL size, INT style, Gdiplus::Unit unit);
  Gdiplus::GpStatus createFromDC(HDC dc);
  // The window's WM_GETFONT font; nullptr and no change when it has none.
  Gdiplus::GpFont* createFromWindow(HWND window);
  // The same face, pixel size and style as a GDI font; nullptr and no change
  // for a null handle, nullptr when GDI+ cannot make the face.
  Gdiplus::GpFont* createFromHandle(HFONT font);
  Gdiplus::GpFont* handle() const { return font_.get(); }
  // Takes ownership of font and deletes the one held before.
  void setHandle(Gdiplus::GpFont* font);

  Gdiplus::GpStatus fontStyle(INT& style) const;
  Gdiplus::GpStatus fontSize(Gdiplus::REAL& size) const;
  Gdiplus::GpStatus fontUnit(Gdiplus::Unit& unit) const;
  // Line spacing of the font when drawn on graphics.
  Gdiplus::GpStatus fontHeight(const Gdiplus::GpGraphics* graphics, Gdiplus::REAL& height) const;

 private:
  UniqueGpFont font_;
};

class PngStringFormat {
 public:
  PngStringFormat() = default;
  PngStringFormat(const PngStringFormat&) = delete;
  PngStringFormat& operator=(const PngStringFormat&) = delete;
  PngStringFormat(PngStringFormat&&) noexcept = default;
  PngStringFormat& operator=(PngStringFormat&&) noexcept = default;

  PngStringFormat copy() const;
  void release() { format_.reset(); }
  // flags: Gdiplus::StringFormatFlags bits.
  void create(INT flags = 0, LANGID language = 0);
  void setAlign(Gdiplus::StringAlignment align);
  void setLineAlign(Gdiplus::StringAlignment align);
  void setAligns(Gdiplus::StringAlignment align, Gdiplus::StringAlignment lineAlign);
  Gdiplus::GpStringFormat* handle() const { return format_.get(); }
  // Takes ownership of format and deletes the one held before.
  void setHandle(Gdiplus::GpStringFormat* format);

 private:
  UniqueGpStringFormat format_;
};
