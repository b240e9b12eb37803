#include "platform/resource/ProgramIcon.h"

#include <string>

#include "platform/resource/Bmp.h"
#include "platform/resource/Resource.h"

namespace zel::sys {

namespace {

// The "new window" glyph's place in the STANDARTBTN strips, and the sizes
// the strips are drawn for, largest first.
constexpr int kIconCell = 12;
constexpr std::array<int, 3> kStripSizes{32, 24, 16};
constexpr Pixel kKey = 0xFF00FF;
constexpr Pixel kOpaque = 0xFF000000u;

Surface LoadStrip(int cellSize) {
  HMODULE module = GetModuleHandle(nullptr);
  HRSRC found = FindResource(module, "STANDARTBTN_" + std::to_string(cellSize), RT_BITMAP);
  DecodedBmp decoded;
  std::string error;
  if (!found || !DecodeBmp(ResourceBytes(module, found), decoded, error)) return Surface();
  return std::move(decoded.pixels);
}

// The strip and the number of doublings whose result comes nearest to size
// from below; on a tie the larger strip, whose glyph was drawn for it.
struct IconSource {
  int cellSize = 0;
  int doublings = 0;
};

IconSource SourceFor(int size) {
  IconSource best;
  int bestSide = 0;
  for (int cell : kStripSizes)
    for (int k = 0, side = cell; side <= size; ++k, side *= 2)
      if (side > bestSide) {
        bestSide = side;
        best = IconSource{cell, k};
      }
  return best;
}

// The glyph in the middle of a clear square of the icon's size.
Surface CentredOn(Surface glyph, int size) {
  if (glyph.Empty() || glyph.Width() == size) return glyph;
  Surface icon(size, size);
  const int margin = (size - glyph.Width()) / 2;
  for (int y = 0; y < glyph.Height(); ++y)
    for (int x = 0; x < glyph.Width(); ++x)
      icon.At(margin + x, margin + y) = glyph.At(x, y);
  return icon;
}

} // namespace

Surface CutGlyphCell(const Surface& strip, int cell) {
  const int n = strip.Height();
  if (n <= 0 || cell < 0 || (cell + 1) * n > strip.Width()) return Surface();
  Surface glyph(n, n);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const Pixel p = strip.At(cell * n + x, y) & 0xFFFFFFu;
      glyph.At(x, y) = p == kKey ? 0 : p | kOpaque;
    }
  return glyph;
}

Surface Scale2x(const Surface& image) {
  const int w = image.Width(), h = image.Height();
  Surface out(2 * w, 2 * h);
  auto at = [&](int x, int y) {
    return image.At(x < 0 ? 0 : x >= w ? w - 1 : x, y < 0 ? 0 : y >= h ? h - 1 : y);
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const Pixel p = image.At(x, y);
      const Pixel up = at(x, y - 1), right = at(x + 1, y), left = at(x - 1, y), down = at(x, y + 1);
      out.At(2 * x, 2 * y) = left == up && left != down && up != right ? up : p;
      out.At(2 * x + 1, 2 * y) = up == right && up != left && right != down ? right : p;
      out.At(2 * x, 2 * y + 1) = down == left && down != right && left != up ? left : p;
      out.At(2 * x + 1, 2 * y + 1) = right == down && right != up && down != left ? down : p;
    }
  return out;
}

std::vector<Surface> ProgramIcons(std::span<const int> sizes) {
  // The strips, decoded when first needed: a glyph cell is small, a strip
  // 36 of them.
  std::array<Surface, kStripSizes.size()> strips;
  auto stripOf = [&](int cellSize) -> const Surface& {
    size_t i = 0;
    while (kStripSizes[i] != cellSize)
      ++i;
    if (strips[i].Empty()) strips[i] = LoadStrip(cellSize);
    return strips[i];
  };
  std::vector<Surface> icons;
  for (int size : sizes) {
    icons.emplace_back();
    if (size < kStripSizes.back() || size > 256) continue;
    const IconSource source = SourceFor(size);
    Surface glyph = CutGlyphCell(stripOf(source.cellSize), kIconCell);
    for (int k = 0; k < source.doublings && !glyph.Empty(); ++k)
      glyph = Scale2x(glyph);
    icons.back() = CentredOn(std::move(glyph), size);
  }
  return icons;
}

Surface ProgramIcon(int size) {
  return std::move(ProgramIcons(std::span<const int>(&size, 1)).front());
}

} // namespace zel::sys
