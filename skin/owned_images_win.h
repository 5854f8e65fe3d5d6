// Images the toolkit decoded itself (from bytes handed to a setter). Each is
// kept for one property of one window and disposed when that property gets
// another image from bytes or the window is destroyed. Images that callers
// hand in are never kept here and never disposed by the toolkit.
#pragma once

#include "skin/native_handles_win.h"

// Stores the image in the window's property and keeps it, disposing the image
// the toolkit decoded for that property before. Returns the stored image.
Gdiplus::GpImage* keepDecodedImage(HWND window, const char* property, UniqueGpImage image);

// Stores an image the caller owns in the window's property; an image the
// toolkit decoded for that property before is disposed.
void storeCallerImage(HWND window, const char* property, Gdiplus::GpImage* image);

// Disposes every image kept for the window.
void releaseDecodedImages(HWND window);

// The kinds' WM_NCDESTROY: forwards it to the previous procedure, then
// disposes the window's decoded images and removes its toolkit properties.
LRESULT releaseAtNcDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// How many images are kept for the window, for tests.
std::size_t decodedImageCount(HWND window);
