// Encoded images from memory and ANSI texts for GDI+.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "skin/native_handles_win.h"

// The UTF-16 form of an ANSI text (code page CP_ACP), up to its first zero byte.
// The result is zero-terminated like every std::wstring, so its bytes with the
// terminator are 2 * (size() + 1).
std::wstring toWide(std::string_view text);

// A COM stream over a global memory block. Move-only: one owner releases the
// stream and the block, each exactly once.
class PngMemoryStream {
 public:
  PngMemoryStream() = default;
  PngMemoryStream(const PngMemoryStream&) = delete;
  PngMemoryStream& operator=(const PngMemoryStream&) = delete;
  PngMemoryStream(PngMemoryStream&& other) noexcept;
  PngMemoryStream& operator=(PngMemoryStream&& other) noexcept;
  ~PngMemoryStream() { release(); }

  // Lets go of the stream, then frees the block it was reading.
  void release();
  // A read stream over a private copy of the bytes; nullptr when it cannot be made.
  IStream* create(std::span<const std::uint8_t> bytes);
  // An empty stream that grows as it is written and owns its own memory.
  IStream* createGrowable();
  IStream* stream() const { return stream_.get(); }
  // GlobalSize of the block under the stream; 0 when there is none.
  std::size_t size() const;
  // A copy of the whole block.
  std::vector<std::uint8_t> bytes() const;

 private:
  HGLOBAL memory() const;

  UniqueGlobalMemory block_;  // empty when the stream owns its memory
  UniqueComStream stream_;
};

// Decodes an encoded raster image (PNG, among others) into a 32-bit premultiplied ARGB
// bitmap that owns its pixels and does not depend on the bytes or on any
// stream. Empty when the bytes do not decode.
UniqueGpImage loadImageFromBytes(std::span<const std::uint8_t> bytes);
