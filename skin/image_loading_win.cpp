#include "skin/image_loading_win.h"

#include <climits>
#include <cstring>

#include "skin/toolkit_start_win.h"

namespace gp = Gdiplus::DllExports;

std::wstring toWide(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = static_cast<int>(text.size());
  const int units = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (units <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), units);
  return wide;
}

PngMemoryStream::PngMemoryStream(PngMemoryStream&& other) noexcept
    : block_(std::move(other.block_)), stream_(std::move(other.stream_)) {}

PngMemoryStream& PngMemoryStream::operator=(PngMemoryStream&& other) noexcept {
  if (this != &other) {
    release();
    block_ = std::move(other.block_);
    stream_ = std::move(other.stream_);
  }
  return *this;
}

void PngMemoryStream::release() {
  // The stream goes first: it must never outlive the block it reads.
  stream_.reset();
  block_.reset();
}

IStream* PngMemoryStream::create(std::span<const std::uint8_t> bytes) {
  release();
  // CreateStreamOnHGlobal wants a movable block.
  UniqueGlobalMemory block(GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
  if (!block) return nullptr;
  if (!bytes.empty()) {
    void* target = GlobalLock(block.get());
    if (!target) return nullptr;
    std::memcpy(target, bytes.data(), bytes.size());
    GlobalUnlock(block.get());
  }
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block.get(), FALSE, &stream)) || !stream) return nullptr;
  block_ = std::move(block);
  stream_.reset(stream);
  return stream;
}

IStream* PngMemoryStream::createGrowable() {
  release();
  IStream* stream = nullptr;
  // A null block makes the stream allocate its own, freed with its last reference.
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) || !stream) return nullptr;
  stream_.reset(stream);
  return stream;
}

HGLOBAL PngMemoryStream::memory() const {
  if (block_) return block_.get();
  HGLOBAL owned = nullptr;
  if (stream_ && FAILED(GetHGlobalFromStream(stream_.get(), &owned))) return nullptr;
  return owned;
}

std::size_t PngMemoryStream::size() const {
  const HGLOBAL block = memory();
  return block ? GlobalSize(block) : 0;
}

std::vector<std::uint8_t> PngMemoryStream::bytes() const {
  const HGLOBAL block = memory();
  const std::size_t n = block ? GlobalSize(block) : 0;
  if (n == 0) return {};
  const void* source = GlobalLock(block);
  if (!source) return {};
  const auto* first = static_cast<const std::uint8_t*>(source);
  std::vector<std::uint8_t> copy(first, first + n);
  GlobalUnlock(block);
  return copy;
}

namespace {

// Copies the active frame into a bitmap that owns its pixels: GDI+ may keep
// reading the source stream for as long as an image loaded from it lives. The
// copy is premultiplied, the form layered surfaces compose without converting.
UniqueGpImage copyIntoOwnBitmap(Gdiplus::GpImage* source) {
  Gdiplus::ImageType type = Gdiplus::ImageTypeUnknown;
  if (gp::GdipGetImageType(source, &type) != Gdiplus::Ok || type != Gdiplus::ImageTypeBitmap) return {};
  UINT width = 0;
  UINT height = 0;
  gp::GdipGetImageWidth(source, &width);
  gp::GdipGetImageHeight(source, &height);
  if (width == 0 || height == 0 || width > INT_MAX / 4 || height > INT_MAX) return {};
  const INT w = static_cast<INT>(width);
  const INT h = static_cast<INT>(height);

  Gdiplus::GpBitmap* raw = nullptr;
  if (gp::GdipCreateBitmapFromScan0(w, h, 0, PixelFormat32bppPARGB, nullptr, &raw) != Gdiplus::Ok) return {};
  UniqueGpImage copy(raw);

  auto* from = static_cast<Gdiplus::GpBitmap*>(source);
  const Gdiplus::GpRect area(0, 0, w, h);
  Gdiplus::BitmapData out{};
  if (gp::GdipBitmapLockBits(raw, &area, Gdiplus::ImageLockModeWrite, PixelFormat32bppPARGB, &out) != Gdiplus::Ok)
    return {};
  // GDI+ converts the source straight into the new bitmap's own pixels.
  Gdiplus::BitmapData in = out;
  const UINT readInto = Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf;
  const bool copied = gp::GdipBitmapLockBits(from, &area, readInto, PixelFormat32bppPARGB, &in) == Gdiplus::Ok;
  if (copied) gp::GdipBitmapUnlockBits(from, &in);
  gp::GdipBitmapUnlockBits(raw, &out);
  if (!copied) return {};

  Gdiplus::REAL dpiX = 0;
  Gdiplus::REAL dpiY = 0;
  if (gp::GdipGetImageHorizontalResolution(source, &dpiX) == Gdiplus::Ok &&
      gp::GdipGetImageVerticalResolution(source, &dpiY) == Gdiplus::Ok && dpiX > 0 && dpiY > 0)
    gp::GdipBitmapSetResolution(raw, dpiX, dpiY);
  return copy;
}

}  // namespace

UniqueGpImage loadImageFromBytes(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return {};
  PngMemoryStream memory;
  IStream* stream = memory.create(bytes);
  if (!stream) return {};
  Gdiplus::GpImage* raw = nullptr;
  if (gp::GdipLoadImageFromStream(stream, &raw) != Gdiplus::Ok || !raw) return {};
  UniqueGpImage decoded(raw);
  gp::GdipImageSelectActiveFrame(decoded.get(), &timeFrameDimension(), 0);
  // The decoded image, then the stream, then the block are freed on return.
  return copyIntoOwnBitmap(decoded.get());
}
