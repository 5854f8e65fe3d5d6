// Fixtures for the layered surface tests: a top-level test window, solid
// premultiplied images, PNG bytes made by GDI+'s own encoder, message pumping.
#pragma once

#include <vector>

#include "skin/native_handles_win.h"

namespace surface_test {

inline const char* windowClass() {
  static const char* name = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SurfaceTestWindow";
    RegisterClassA(&wc);
    return "SurfaceTestWindow";
  }();
  return name;
}

inline UniqueWindow makeSurfaceWindow(int x, int y, int width, int height) {
  return UniqueWindow(CreateWindowExA(WS_EX_TOOLWINDOW, windowClass(), "", WS_POPUP, x, y, width, height, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr));
}

inline HWND makeChild(HWND parent, const char* cls, int x, int y, int width, int height, DWORD style = 0) {
  return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// An image filled with one premultiplied colour.
inline UniqueGpImage solidImage(int width, int height, std::uint32_t premultiplied) {
  UniqueGpImage image;
  Gdiplus::DllExports::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppPARGB, nullptr,
                                                 reinterpret_cast<Gdiplus::GpBitmap**>(image.put()));
  Gdiplus::BitmapData data{};
  Gdiplus::GpRect rect(0, 0, width, height);
  auto* bitmap = static_cast<Gdiplus::GpBitmap*>(image.get());
  Gdiplus::DllExports::GdipBitmapLockBits(bitmap, &rect, Gdiplus::ImageLockModeWrite, PixelFormat32bppPARGB, &data);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(static_cast<char*>(data.Scan0) + y * data.Stride);
    for (int x = 0; x < width; ++x) row[x] = premultiplied;
  }
  Gdiplus::DllExports::GdipBitmapUnlockBits(bitmap, &data);
  return image;
}

inline std::vector<std::uint8_t> pngBytes(Gdiplus::GpImage* image) {
  // GDI+'s PNG encoder.
  CLSID png;
  CLSIDFromString(L"{557CF406-1A04-11D3-9A73-0000F81EF32E}", &png);
  IStream* raw = nullptr;
  CreateStreamOnHGlobal(nullptr, TRUE, &raw);
  UniqueComStream stream(raw);
  Gdiplus::DllExports::GdipSaveImageToStream(image, stream.get(), &png, nullptr);
  HGLOBAL memory = nullptr;
  GetHGlobalFromStream(stream.get(), &memory);
  STATSTG stat{};
  stream.get()->Stat(&stat, STATFLAG_NONAME);
  const auto* begin = static_cast<const std::uint8_t*>(GlobalLock(memory));
  std::vector<std::uint8_t> bytes(begin, begin + stat.cbSize.QuadPart);
  GlobalUnlock(memory);
  return bytes;
}

inline void pumpMessages(int rounds = 3) {
  MSG msg;
  for (int i = 0; i < rounds; ++i) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(1);
  }
}

}  // namespace surface_test
