#pragma once
// A surface is a rectangle of 32-bit pixels that every drawing call ends in:
// memory bitmaps own one, and each top-level window owns one that its child
// windows paint into.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/Types.h"

namespace zel::sys {

// A pixel in memory is blue, green, red, alpha (a little-endian 0xAARRGGBB).
using Pixel = uint32_t;

constexpr Pixel PixelFromColorRef(COLORREF c, uint8_t alpha = 0) {
  return (Pixel(alpha) << 24) | (Pixel(GetRValue(c)) << 16) | (Pixel(GetGValue(c)) << 8) |
         Pixel(GetBValue(c));
}
constexpr COLORREF ColorRefFromPixel(Pixel p) {
  return RGB(int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF));
}

// Rows run top-down in memory; the stride is the width (no padding).
class Surface {
public:
  Surface() = default;
  Surface(int width, int height, Pixel fill = 0) { Resize(width, height, fill); }

  // Resizing keeps nothing of the old contents.
  void Resize(int width, int height, Pixel fill = 0) {
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
    pixels_.assign(size_t(width_) * size_t(height_), fill);
  }
  int Width() const { return width_; }
  int Height() const { return height_; }
  RECT Bounds() const { return RECT{0, 0, width_, height_}; }
  bool Empty() const { return pixels_.empty(); }

  Pixel* Row(int y) { return pixels_.data() + size_t(y) * size_t(width_); }
  const Pixel* Row(int y) const { return pixels_.data() + size_t(y) * size_t(width_); }
  Pixel& At(int x, int y) { return Row(y)[x]; }
  Pixel At(int x, int y) const { return Row(y)[x]; }
  std::span<Pixel> Pixels() { return pixels_; }
  std::span<const Pixel> Pixels() const { return pixels_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
};

} // namespace zel::sys
