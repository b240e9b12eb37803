#pragma once
// Decoding of bitmap files (the "BM" format): uncompressed 24- and 32-bit
// images with rows in either order.  Everything else (palettes, 16 bits,
// run-length compression, odd channel masks) is refused with a sentence that
// says why, so that a resource in an unusable format is noticed at once.

#include <cstdint>
#include <span>
#include <string>

#include "platform/gdi/Surface.h"

namespace zel::sys {

struct DecodedBmp {
  Surface pixels;       // top-down; 24-bit images get alpha 0
  int bitsPerPixel = 0; // 24 or 32, as stored
};

// The largest width or height accepted, so that a damaged header cannot ask
// for an absurd allocation.
constexpr int kMaxBmpSide = 32768;

bool DecodeBmp(std::span<const uint8_t> file, DecodedBmp& out, std::string& error);

} // namespace zel::sys
