// Rectangle gradients.  Channels are interpolated at 16 bits and reduced to
// 8 at the end; the first column (or row) has exactly the first colour and
// the last one exactly the second.  A horizontal gradient computes one row
// of pixels and copies it down; a vertical one fills each row with a single
// colour.  Pixels are written with alpha 0 like every ordinary drawing call.

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Painter.h"

namespace zel::sys {
namespace {

struct Color16 {
  int r, g, b;
};

Color16 ColorOf(const TRIVERTEX& v) {
  return Color16{v.Red, v.Green, v.Blue};
}

// The pixel at step i of n (0 <= i < n) from a to b.
Pixel Interpolate(const Color16& a, const Color16& b, int i, int n) {
  if (n <= 1) return (Pixel(a.r >> 8) << 16) | (Pixel(a.g >> 8) << 8) | Pixel(a.b >> 8);
  const int64_t d = n - 1;
  auto channel = [&](int ca, int cb) { return Pixel((ca + (int64_t(cb - ca) * i) / d) >> 8); };
  return (channel(a.r, b.r) << 16) | (channel(a.g, b.g) << 8) | channel(a.b, b.b);
}

void FillRectGradient(Painter& painter, const RECT& rect, const Color16& first,
                      const Color16& second, bool vertical) {
  RECT visible;
  if (!IntersectRect(visible, rect, painter.ClipBox())) return;
  Surface& target = painter.Target();
  if (vertical) {
    const int n = rect.Height();
    painter.ForEachPiece(visible, [&](const RECT& piece) {
      for (int y = piece.top; y < piece.bottom; ++y) {
        const Pixel p = Interpolate(first, second, y - rect.top, n);
        Pixel* row = target.Row(y);
        std::fill(row + piece.left, row + piece.right, p);
      }
    });
    return;
  }
  const int n = rect.Width();
  std::vector<Pixel> line(size_t(visible.Width()));
  for (int x = visible.left; x < visible.right; ++x)
    line[size_t(x - visible.left)] = Interpolate(first, second, x - rect.left, n);
  painter.ForEachPiece(visible, [&](const RECT& piece) {
    const Pixel* src = line.data() + (piece.left - visible.left);
    const size_t bytes = size_t(piece.Width()) * sizeof(Pixel);
    for (int y = piece.top; y < piece.bottom; ++y)
      std::memcpy(target.Row(y) + piece.left, src, bytes);
  });
}

} // namespace

BOOL GradientFill(HDC dc, const TRIVERTEX* vertices, UINT vertexCount, const void* mesh,
                  UINT meshCount, DWORD mode) {
  if (!dc || !vertices || !mesh || (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V))
    return 0;
  const auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
  for (UINT i = 0; i < meshCount; ++i)
    if (rects[i].UpperLeft >= vertexCount || rects[i].LowerRight >= vertexCount) return 0;
  Painter painter(dc);
  if (!painter.Ready()) return 1;
  const bool vertical = mode == GRADIENT_FILL_RECT_V;
  for (UINT i = 0; i < meshCount; ++i) {
    const TRIVERTEX& a = vertices[rects[i].UpperLeft];
    const TRIVERTEX& b = vertices[rects[i].LowerRight];
    // The colour of a vertex belongs to its own side of the rectangle, so
    // vertices given in the other order give the mirrored gradient.
    const bool swap = vertical ? a.y > b.y : a.x > b.x;
    const TRIVERTEX& lo = swap ? b : a;
    const TRIVERTEX& hi = swap ? a : b;
    const RECT rect = painter.ToTarget(
        RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)});
    if (IsRectEmpty(rect)) continue;
    FillRectGradient(painter, rect, ColorOf(lo), ColorOf(hi), vertical);
  }
  return 1;
}

} // namespace zel::sys
