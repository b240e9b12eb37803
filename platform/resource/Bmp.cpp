#include "platform/resource/Bmp.h"

#include <cstdlib>

namespace zel::sys {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;

uint32_t Read32(std::span<const uint8_t> b, size_t at) {
  return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) |
         (uint32_t(b[at + 3]) << 24);
}
uint16_t Read16(std::span<const uint8_t> b, size_t at) {
  return uint16_t(b[at] | (b[at + 1] << 8));
}

struct Header {
  uint32_t dataOffset = 0;
  uint32_t infoSize = 0;
  int64_t width = 0;
  int64_t height = 0; // negative: top-down
  int bitCount = 0;
  uint32_t compression = 0;
};

bool ReadHeader(std::span<const uint8_t> file, Header& h, std::string& error) {
  if (file.size() < kFileHeaderSize + kInfoHeaderSize || file[0] != 'B' || file[1] != 'M') {
    error = file.size() >= 2 && file[0] == 'B' && file[1] == 'M'
                ? "the bitmap file is truncated inside its header"
                : "the data is not a bitmap file (no \"BM\" signature)";
    return false;
  }
  h.dataOffset = Read32(file, 10);
  h.infoSize = Read32(file, 14);
  if (h.infoSize < kInfoHeaderSize || h.infoSize > file.size() - kFileHeaderSize) {
    error = "the bitmap's information header has an unusable size (" + std::to_string(h.infoSize) +
            " bytes)";
    return false;
  }
  h.width = int32_t(Read32(file, 18));
  h.height = int32_t(Read32(file, 22));
  const uint16_t planes = Read16(file, 26);
  h.bitCount = Read16(file, 28);
  h.compression = Read32(file, 30);
  if (planes != 1) {
    error = "the bitmap has " + std::to_string(planes) + " planes instead of 1";
    return false;
  }
  if (h.bitCount != 24 && h.bitCount != 32) {
    error = "bitmaps of " + std::to_string(h.bitCount) + " bits per pixel are not supported " +
            "(only 24 and 32)";
    return false;
  }
  if (h.width <= 0 || h.height == 0 || h.width > kMaxBmpSide || std::abs(h.height) > kMaxBmpSide) {
    error = "the bitmap's size " + std::to_string(h.width) + " x " + std::to_string(h.height) +
            " is not usable";
    return false;
  }
  return true;
}

// Channel masks follow the information header (inside it for the larger
// versions).  Only the masks that give the ordinary blue, green, red, alpha
// byte order are accepted.
bool CheckMasks(std::span<const uint8_t> file, const Header& h, std::string& error) {
  if (h.compression == kBiRgb) return true;
  if ((h.compression != kBiBitfields && h.compression != kBiAlphaBitfields) || h.bitCount != 32) {
    error =
        "compressed bitmaps are not supported (compression " + std::to_string(h.compression) + ")";
    return false;
  }
  const size_t at = kFileHeaderSize + kInfoHeaderSize;
  if (file.size() < at + 12) {
    error = "the bitmap file is truncated inside its channel masks";
    return false;
  }
  if (Read32(file, at) != 0x00FF0000 || Read32(file, at + 4) != 0x0000FF00 ||
      Read32(file, at + 8) != 0x000000FF) {
    error = "the bitmap's channel masks are not the blue-green-red order";
    return false;
  }
  return true;
}

} // namespace

bool DecodeBmp(std::span<const uint8_t> file, DecodedBmp& out, std::string& error) {
  Header h;
  if (!ReadHeader(file, h, error) || !CheckMasks(file, h, error)) return false;
  const int width = int(h.width);
  const int height = int(std::abs(h.height));
  const bool topDown = h.height < 0;
  const size_t bytesPerPixel = size_t(h.bitCount / 8);
  const size_t stride = (size_t(width) * bytesPerPixel + 3) & ~size_t(3);
  // The last row need not be padded: some writers leave the padding out.
  const uint64_t needed =
      uint64_t(h.dataOffset) + uint64_t(stride) * uint64_t(height - 1) + width * bytesPerPixel;
  if (h.dataOffset < kFileHeaderSize + h.infoSize || needed > file.size()) {
    error = "the bitmap's pixels lie outside the file (" + std::to_string(file.size()) +
            " bytes for a " + std::to_string(width) + " x " + std::to_string(height) + " image)";
    return false;
  }
  out.bitsPerPixel = h.bitCount;
  out.pixels.Resize(width, height);
  for (int y = 0; y < height; ++y) {
    const int fileRow = topDown ? y : height - 1 - y;
    const uint8_t* src = file.data() + h.dataOffset + stride * size_t(fileRow);
    Pixel* dst = out.pixels.Row(y);
    for (int x = 0; x < width; ++x, src += bytesPerPixel) {
      const Pixel alpha = bytesPerPixel == 4 ? Pixel(src[3]) << 24 : 0;
      dst[x] = alpha | (Pixel(src[2]) << 16) | (Pixel(src[1]) << 8) | Pixel(src[0]);
    }
  }
  return true;
}

} // namespace zel::sys
