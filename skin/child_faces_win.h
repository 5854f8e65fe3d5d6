// Drawing a toolkit child's face into its layered surface's composition.
#pragma once

#include <cstdint>

#include "skin/native_handles_win.h"

class SurfaceFrame;

// 0xAARRGGBB from a COLORREF (0x00BBGGRR) and an alpha; the alpha's high bits
// are lost in the shift.
std::uint32_t toArgb(COLORREF colour, std::int64_t alpha);

// Draws the picture, button state image or edit box fill, image, border and
// text of one child at its place on the surface.
void drawChildFace(HWND surface, HWND child, SurfaceFrame& frame);

// Draws image into frame at (x, y, width, height) in surface pixels: copied or
// blended directly when it is drawn at its own size, through GDI+ otherwise.
// Only the image's top-left (width, height) part is drawn when cropTopLeft.
void drawImageInto(SurfaceFrame& frame, Gdiplus::GpImage* image, int x, int y, int width, int height,
                   bool cropTopLeft = false);

// Forgets the rendered text kept for an edit box.
void forgetRenderedText(HWND edit);
