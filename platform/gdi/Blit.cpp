// Block transfers: BitBlt, PatBlt, StretchBlt and the colour-keyed
// TransparentBlt.  Raster operations are the platform's ternary codes over
// pattern (the destination's selected brush), source and destination.
// Alpha rule: SRCCOPY and TransparentBlt copy all four bytes of a source
// pixel; every other operation writes its colour with alpha 0, like any
// ordinary drawing call.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Painter.h"

namespace zel::sys {
namespace {

constexpr Pixel kRgbMask = 0x00FFFFFFu;

uint8_t RopIndex(DWORD rop) {
  return uint8_t((rop >> 16) & 0xFF);
}

// Whether the result depends on the source or the pattern at all.
bool UsesSource(uint8_t t) {
  return ((t >> 2) & 0x33) != (t & 0x33);
}
bool UsesPattern(uint8_t t) {
  return ((t >> 4) & 0x0F) != (t & 0x0F);
}

// The general ternary operation: bit i of the index gives the result for
// pattern, source and destination bits (p << 2) | (s << 1) | d.
Pixel Ternary(uint8_t t, Pixel p, Pixel s, Pixel d) {
  Pixel out = 0;
  for (int i = 0; i < 8; ++i) {
    if (!((t >> i) & 1)) continue;
    out |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return out;
}

Pixel ApplyRop(uint8_t t, Pixel p, Pixel s, Pixel d) {
  switch (t) {
  case 0xCC:
    return s; // SRCCOPY, alpha included
  case 0x66:
    return (s ^ d) & kRgbMask; // SRCINVERT
  case 0x88:
    return (s & d) & kRgbMask; // SRCAND
  case 0xEE:
    return (s | d) & kRgbMask; // SRCPAINT
  case 0x5A:
    return (p ^ d) & kRgbMask; // PATINVERT
  case 0xF0:
    return p & kRgbMask; // PATCOPY
  case 0x55:
    return ~d & kRgbMask; // DSTINVERT
  case 0x00:
    return 0; // BLACKNESS
  case 0xFF:
    return kRgbMask; // WHITENESS
  default:
    return Ternary(t, p, s, d) & kRgbMask;
  }
}

// Where the source pixels of one transfer come from: a surface and the
// position in it that corresponds to the destination rectangle's corner.
struct Source {
  const Surface* surface = nullptr;
  int dx = 0; // source x = target x + dx
  int dy = 0;
};

// Runs the raster operation over `rect` (target coordinates), clipped.
void Transfer(Painter& painter, const RECT& rect, const Source& src, Pixel pattern, uint8_t rop) {
  Surface& dst = painter.Target();
  painter.ForEachPiece(rect, [&](const RECT& piece) {
    const int w = piece.right - piece.left;
    if (rop == 0xCC && src.dx == 0 && piece.left == 0 && w == dst.Width() &&
        src.surface->Width() == w) {
      // Whole rows of equally wide surfaces are one contiguous copy.
      std::memcpy(dst.Row(piece.top), src.surface->Row(piece.top + src.dy),
                  size_t(piece.Height()) * size_t(w) * sizeof(Pixel));
      return;
    }
    for (int y = piece.top; y < piece.bottom; ++y) {
      Pixel* d = dst.Row(y) + piece.left;
      const Pixel* s = src.surface ? src.surface->Row(y + src.dy) + piece.left + src.dx : nullptr;
      if (rop == 0xCC) {
        std::memcpy(d, s, size_t(w) * sizeof(Pixel));
      } else if (rop == 0xF0 || rop == 0x00 || rop == 0xFF) {
        std::fill(d, d + w, ApplyRop(rop, pattern, 0, 0));
      } else {
        for (int x = 0; x < w; ++x)
          d[x] = ApplyRop(rop, pattern, s ? s[x] : 0, d[x]);
      }
    }
  });
}

// The pattern pixel of the destination's brush; false for a clear brush.
bool PatternOf(HDC dc, Pixel& pattern) {
  HBRUSH brush = CurrentBrush(dc);
  if (brush->style == BS_NULL) return false;
  pattern = PixelFromColorRef(brush->color);
  return true;
}

// One axis of a resampling: for each destination index, the source indices
// and their weights (summing to 1).
struct Tap {
  int index;
  float weight;
};
using AxisTaps = std::vector<std::vector<Tap>>;

// Destination indices [from, to) of a run of `dstLen` pixels drawn from
// `srcLen` source pixels starting at `srcStart`, sampled within [0, limit).
AxisTaps BuildTaps(int from, int to, int dstLen, int srcStart, int srcLen, int limit, bool smooth) {
  AxisTaps taps(size_t(to - from));
  const double scale = double(srcLen) / double(dstLen);
  auto clampIndex = [&](int i) { return std::clamp(i, 0, limit - 1); };
  for (int i = from; i < to; ++i) {
    std::vector<Tap>& out = taps[size_t(i - from)];
    if (!smooth) {
      out.push_back(Tap{clampIndex(srcStart + int(std::floor((i + 0.5) * scale))), 1.0f});
    } else if (scale > 1.0) {
      // Shrinking: the average of the source pixels the destination pixel
      // covers, partly covered ones weighted by their share.  Coverage
      // beyond the surface counts for the edge pixel, so the taps never
      // outnumber the surface's pixels.
      const double a = i * scale, b = (i + 1) * scale;
      const double lo = -double(srcStart), hi = double(limit) - srcStart;
      if (std::min(b, lo) - a > 0) out.push_back(Tap{0, float((std::min(b, lo) - a) / scale)});
      if (b - std::max(a, hi) > 0)
        out.push_back(Tap{limit - 1, float((b - std::max(a, hi)) / scale)});
      const double ca = std::max(a, lo), cb = std::min(b, hi);
      for (int64_t k = int64_t(std::floor(ca)); k < int64_t(std::ceil(cb)); ++k) {
        const double cover = std::min(cb, k + 1.0) - std::max(ca, double(k));
        if (cover > 0) out.push_back(Tap{clampIndex(int(srcStart + k)), float(cover / scale)});
      }
    } else {
      // Enlarging (or equal size): linear interpolation between the two
      // source pixels whose centres surround the destination pixel's centre.
      const double pos = std::clamp((i + 0.5) * scale - 0.5, 0.0, double(srcLen - 1));
      const int k = int(std::floor(pos));
      const double f = pos - k;
      out.push_back(Tap{clampIndex(srcStart + k), float(1.0 - f)});
      if (f > 0) out.push_back(Tap{clampIndex(srcStart + k + 1), float(f)});
    }
  }
  return taps;
}

Pixel Mix(const std::vector<Tap>& taps, const Pixel* const* samples) {
  float c[4] = {0, 0, 0, 0};
  for (size_t i = 0; i < taps.size(); ++i) {
    const Pixel p = *samples[i];
    for (int ch = 0; ch < 4; ++ch)
      c[ch] += taps[i].weight * float((p >> (8 * ch)) & 0xFF);
  }
  Pixel out = 0;
  for (int ch = 0; ch < 4; ++ch)
    out |= Pixel(std::clamp(int(c[ch] + 0.5f), 0, 255)) << (8 * ch);
  return out;
}

// Resamples the source rectangle (sx, sy, sw, sh) of `src` (target
// coordinates, sw and sh positive) to the part `visible` of a destination of
// size w x h whose corner is at `origin`; mirrored axes are flipped.
Surface Resample(const Surface& src, int sx, int sy, int sw, int sh, POINT origin, int w, int h,
                 bool flipX, bool flipY, const RECT& visible, bool smooth) {
  const int vw = visible.Width(), vh = visible.Height();
  // Indices in the unflipped destination.
  auto unflipX = [&](int x) { return flipX ? w - 1 - (x - origin.x) : x - origin.x; };
  auto unflipY = [&](int y) { return flipY ? h - 1 - (y - origin.y) : y - origin.y; };
  const int x0 = std::min(unflipX(visible.left), unflipX(visible.right - 1));
  const int y0 = std::min(unflipY(visible.top), unflipY(visible.bottom - 1));
  const AxisTaps xt = BuildTaps(x0, x0 + vw, w, sx, sw, src.Width(), smooth);
  const AxisTaps yt = BuildTaps(y0, y0 + vh, h, sy, sh, src.Height(), smooth);
  // Horizontal pass over every source row the vertical taps need.
  int rowMin = src.Height(), rowMax = -1;
  for (const auto& taps : yt)
    for (const Tap& t : taps) {
      rowMin = std::min(rowMin, t.index);
      rowMax = std::max(rowMax, t.index);
    }
  Surface rows(vw, rowMax - rowMin + 1);
  std::vector<const Pixel*> samples;
  for (int r = rowMin; r <= rowMax; ++r) {
    const Pixel* in = src.Row(r);
    Pixel* out = rows.Row(r - rowMin);
    for (int i = 0; i < vw; ++i) {
      const auto& taps = xt[size_t(i)];
      samples.clear();
      for (const Tap& t : taps)
        samples.push_back(in + t.index);
      out[i] = Mix(taps, samples.data());
    }
  }
  Surface result(vw, vh);
  for (int j = 0; j < vh; ++j) {
    const auto& taps = yt[size_t(j)];
    const int ry = flipY ? vh - 1 - j : j;
    for (int i = 0; i < vw; ++i) {
      samples.clear();
      for (const Tap& t : taps)
        samples.push_back(rows.Row(t.index - rowMin) + i);
      const int rx = flipX ? vw - 1 - i : i;
      result.At(rx, ry) = Mix(taps, samples.data());
    }
  }
  return result;
}

// The destination rectangle of a stretch, in target coordinates, with its
// mirroring taken out of negative extents.
struct StretchTarget {
  RECT rect;
  POINT origin;
  int w, h;
  bool flipX, flipY;
};

StretchTarget MakeStretchTarget(Painter& painter, int x, int y, int w, int h, int sw, int sh) {
  StretchTarget t{};
  t.flipX = (w < 0) != (sw < 0);
  t.flipY = (h < 0) != (sh < 0);
  const POINT p = painter.ToTarget(w < 0 ? DC::ClampCoord(int64_t(x) + w + 1) : x,
                                   h < 0 ? DC::ClampCoord(int64_t(y) + h + 1) : y);
  t.w = std::abs(w);
  t.h = std::abs(h);
  t.origin = p;
  t.rect = RECT{p.x, p.y, p.x + t.w, p.y + t.h};
  return t;
}

// Copies, stretches or keys `src` into `dst` as the stretching calls do.
// keyed: pixels whose colour equals key are left out.
BOOL StretchCommon(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                   DWORD rop, bool smooth, bool keyed, COLORREF key) {
  if (!dst || !src || w == 0 || h == 0 || sw == 0 || sh == 0) return 0;
  // Extents beyond any surface are refused rather than overflowing.
  constexpr int kMaxExtent = 1 << 28;
  for (int v : {w, h, sw, sh})
    if (v > kMaxExtent || v < -kMaxExtent) return 0;
  if (!src->target || src->target->Empty()) return 0;
  Painter painter(dst);
  if (!painter.Ready()) return 1;
  const StretchTarget t = MakeStretchTarget(painter, x, y, w, h, sw, sh);
  RECT visible;
  if (!IntersectRect(visible, t.rect, painter.ClipBox())) return 1;
  const POINT s = src->ToTarget(sw < 0 ? DC::ClampCoord(int64_t(sx) + sw + 1) : sx,
                                sh < 0 ? DC::ClampCoord(int64_t(sy) + sh + 1) : sy);
  const Surface part = Resample(*src->target, s.x, s.y, std::abs(sw), std::abs(sh), t.origin, t.w,
                                t.h, t.flipX, t.flipY, visible, smooth);
  const Source source{&part, -visible.left, -visible.top};
  if (keyed) {
    Surface& out = painter.Target();
    painter.ForEachPiece(visible, [&](const RECT& piece) {
      for (int yy = piece.top; yy < piece.bottom; ++yy) {
        const Pixel* in = part.Row(yy - visible.top) - visible.left;
        Pixel* row = out.Row(yy);
        for (int xx = piece.left; xx < piece.right; ++xx)
          if (ColorRefFromPixel(in[xx]) != key) row[xx] = in[xx];
      }
    });
    return 1;
  }
  Pixel pattern = 0;
  const uint8_t t3 = RopIndex(rop);
  if (UsesPattern(t3) && !PatternOf(dst, pattern)) return 1;
  Transfer(painter, visible, source, pattern, t3);
  return 1;
}

} // namespace

BOOL PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop) {
  if (!dc) return 0;
  const uint8_t t = RopIndex(rop);
  if (UsesSource(t)) return 0;
  Painter painter(dc);
  if (!painter.Ready()) return 1;
  Pixel pattern = 0;
  if (UsesPattern(t) && !PatternOf(dc, pattern)) return 1;
  Transfer(painter, painter.ToTarget(x, y, w, h), Source{}, pattern, t);
  return 1;
}

BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop) {
  if (!dst) return 0;
  const uint8_t t = RopIndex(rop);
  if (!UsesSource(t)) return PatBlt(dst, x, y, w, h, rop);
  if (!src || !src->target || w <= 0 || h <= 0) return 0;
  Painter painter(dst);
  if (!painter.Ready()) return 1;
  Pixel pattern = 0;
  if (UsesPattern(t) && !PatternOf(dst, pattern)) return 1;
  // Only the source surface's bounds limit the source; pixels whose source
  // lies outside it are left alone.
  const POINT d = painter.ToTarget(x, y);
  const POINT s = src->ToTarget(sx, sy);
  RECT rect = painter.ToTarget(x, y, w, h);
  RECT srcInDst = src->target->Bounds();
  OffsetRect(srcInDst, d.x - s.x, d.y - s.y);
  if (!IntersectRect(rect, rect, srcInDst)) return 1;
  Source source{src->target, s.x - d.x, s.y - d.y};
  // Copies within one surface may overlap; go through a copy of the source.
  Surface copy;
  if (src->target == &painter.Target()) {
    copy.Resize(rect.Width(), rect.Height());
    for (int row = 0; row < rect.Height(); ++row)
      std::memcpy(copy.Row(row),
                  src->target->Row(rect.top + row + source.dy) + rect.left + source.dx,
                  size_t(rect.Width()) * sizeof(Pixel));
    source = Source{&copy, -rect.left, -rect.top};
  }
  Transfer(painter, rect, source, pattern, t);
  return 1;
}

BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                DWORD rop) {
  if (!dst) return 0;
  const uint8_t t = RopIndex(rop);
  if (!UsesSource(t)) return PatBlt(dst, x, y, w, h, rop);
  if (w == sw && h == sh && w > 0 && h > 0) return BitBlt(dst, x, y, w, h, src, sx, sy, rop);
  return StretchCommon(dst, x, y, w, h, src, sx, sy, sw, sh, rop,
                       dst->state.stretchMode == HALFTONE, false, 0);
}

BOOL TransparentBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                    COLORREF key) {
  if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return 0;
  return StretchCommon(dst, x, y, w, h, src, sx, sy, sw, sh, SRCCOPY, false, true, key & kRgbMask);
}

} // namespace zel::sys
