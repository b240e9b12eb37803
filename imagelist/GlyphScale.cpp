#include "imagelist/GlyphScale.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zel::glyphscale {

namespace {

// One target pixel's sources along an axis: the first source index and the
// weights of the consecutive sources from there.
struct Taps {
  int first = 0;
  std::vector<float> weight;
};

// The premultiplied sums of one pixel: colour channels weighted by coverage,
// and the coverage itself.
struct Accum {
  float b = 0, g = 0, r = 0, a = 0;
  void Add(const Accum& o, float w) {
    b += o.b * w;
    g += o.g * w;
    r += o.r * w;
    a += o.a * w;
  }
};

// Area weights for shrinking: target pixel i covers the source interval
// [i * ratio, (i + 1) * ratio), each source pixel weighted by its overlap.
Taps ShrinkTaps(int i, double ratio, int sourceSize) {
  Taps t;
  const double lo = i * ratio;
  const double hi = std::min(double(sourceSize), (i + 1) * ratio);
  t.first = int(std::floor(lo));
  double total = 0;
  for (int s = t.first; s < sourceSize && s < hi; ++s) {
    const double w = std::min(hi, double(s + 1)) - std::max(lo, double(s));
    if (w <= 0) {
      if (t.weight.empty()) t.first = s + 1;
      continue;
    }
    t.weight.push_back(float(w));
    total += w;
  }
  for (float& w : t.weight)
    w = float(w / total);
  return t;
}

// Linear weights for enlarging, with pixel centres mapped onto each other.
Taps EnlargeTaps(int i, double ratio, int sourceSize) {
  Taps t;
  double pos = (i + 0.5) * ratio - 0.5;
  pos = std::clamp(pos, 0.0, double(sourceSize - 1));
  const int s0 = int(std::floor(pos));
  const double frac = pos - s0;
  t.first = s0;
  if (s0 + 1 < sourceSize && frac > 0)
    t.weight = {float(1 - frac), float(frac)};
  else
    t.weight = {1.0f};
  return t;
}

std::vector<Taps> MakeTaps(int sourceSize, int targetSize) {
  std::vector<Taps> taps(static_cast<size_t>(targetSize));
  const double ratio = double(sourceSize) / targetSize;
  for (int i = 0; i < targetSize; ++i)
    taps[size_t(i)] =
        ratio > 1 ? ShrinkTaps(i, ratio, sourceSize) : EnlargeTaps(i, ratio, sourceSize);
  return taps;
}

Accum FromPixel(sys::Pixel p) {
  Accum c;
  if ((p & kDrawn) == 0) return c;
  c.b = float(p & 0xFF);
  c.g = float((p >> 8) & 0xFF);
  c.r = float((p >> 16) & 0xFF);
  c.a = 1;
  return c;
}

sys::Pixel ToPixel(const Accum& c) {
  // Less than half covered: not drawn.  The colour is that of the drawn
  // sources alone, so no transparent colour bleeds into it.
  if (c.a < 0.5f) return 0;
  auto channel = [&](float v) { return sys::Pixel(std::clamp(int(std::lround(v / c.a)), 0, 255)); };
  return kDrawn | (channel(c.r) << 16) | (channel(c.g) << 8) | channel(c.b);
}

} // namespace

void ScaleCell(const sys::Surface& src, sys::Surface& dst, int width, int height) {
  dst.Resize(width, height);
  if (src.Empty() || width <= 0 || height <= 0) return;
  const std::vector<Taps> xs = MakeTaps(src.Width(), width);
  const std::vector<Taps> ys = MakeTaps(src.Height(), height);

  // Horizontal pass into premultiplied rows, then the vertical pass.
  std::vector<Accum> rows(size_t(width) * size_t(src.Height()));
  for (int y = 0; y < src.Height(); ++y) {
    const sys::Pixel* in = src.Row(y);
    Accum* out = rows.data() + size_t(y) * size_t(width);
    for (int x = 0; x < width; ++x) {
      const Taps& t = xs[size_t(x)];
      Accum sum;
      for (size_t k = 0; k < t.weight.size(); ++k)
        sum.Add(FromPixel(in[size_t(t.first) + k]), t.weight[k]);
      out[x] = sum;
    }
  }
  for (int y = 0; y < height; ++y) {
    const Taps& t = ys[size_t(y)];
    sys::Pixel* out = dst.Row(y);
    for (int x = 0; x < width; ++x) {
      Accum sum;
      for (size_t k = 0; k < t.weight.size(); ++k)
        sum.Add(rows[(size_t(t.first) + k) * size_t(width) + size_t(x)], t.weight[k]);
      out[x] = ToPixel(sum);
    }
  }
}

} // namespace zel::glyphscale
