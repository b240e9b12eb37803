#include "imagelist/GlyphScale.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zel::glyphscale {

namespace {

// One source pixel's share of a target pixel along an axis.
struct Tap {
  int index;
  float weight;
};
using Taps = std::vector<Tap>;

// Below this a coverage is rounding noise, not ink.
constexpr float kNoCoverage = 1.0f / 1024;

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

// The source, addressed along one axis: line l, position s.
struct Mask {
  const sys::Surface& src;
  bool alongX;
  int Lines() const { return alongX ? src.Height() : src.Width(); }
  sys::Pixel At(int line, int s) const { return alongX ? src.At(s, line) : src.At(line, s); }
  bool Drawn(int line, int s) const { return (At(line, s) & kDrawn) != 0; }
  // An edge lies between s - 1 and s where the glyph begins or ends, or
  // where its colour changes sharply (a white mark on a dark disc).
  bool Edge(int line, int s) const {
    const sys::Pixel a = At(line, s - 1), b = At(line, s);
    if (((a ^ b) & kDrawn) != 0) return true;
    if ((a & kDrawn) == 0) return false;
    auto luma = [](sys::Pixel p) {
      return int((p >> 16) & 0xFF) * 3 + int((p >> 8) & 0xFF) * 6 + int(p & 0xFF);
    };
    return std::abs(luma(a) - luma(b)) > 10 * 100;
  }
};

// Knots (source position, target position) of a hinted scale, both strictly
// increasing, with the strong edges rounded after adding offset, each run
// between two knots at least one pixel.  dropped counts the strong edges
// left out.
std::vector<std::pair<int, int>> Knots(const std::vector<int>& strong, int sourceSize,
                                       int targetSize, double offset, int& dropped) {
  dropped = 0;
  const double f = double(targetSize) / sourceSize;
  std::vector<std::pair<int, int>> knots{{0, 0}};
  for (int p : strong) {
    // An edge that would round onto the pixel of the one before (the
    // stepped outline of a disc, say) is left to the plain scale: pushing it
    // on would push every later edge and squash the glyph.
    const int at = int(std::floor(p * f + offset + 0.5));
    if (at <= knots.back().second || at >= targetSize) {
      ++dropped;
      continue;
    }
    knots.emplace_back(p, at);
  }
  knots.emplace_back(sourceSize, targetSize);
  return knots;
}

std::vector<double> BoundsThrough(const std::vector<std::pair<int, int>>& knots, int targetSize) {
  std::vector<double> bounds(size_t(targetSize) + 1);
  size_t k = 0;
  for (int v = 0; v <= targetSize; ++v) {
    while (k + 2 < knots.size() && knots[k + 1].second <= v)
      ++k;
    const auto [p0, t0] = knots[k];
    const auto [p1, t1] = knots[k + 1];
    bounds[size_t(v)] = p0 + double(v - t0) * (p1 - p0) / (t1 - t0);
  }
  return bounds;
}

// The ink a scale through these bounds leaves, in target pixels.
double InkThrough(const Mask& mask, const std::vector<double>& bounds) {
  double ink = 0;
  for (int line = 0; line < mask.Lines(); ++line)
    for (size_t i = 0; i + 1 < bounds.size(); ++i) {
      const double lo = bounds[i], hi = bounds[i + 1];
      for (int s = int(std::floor(lo)); s < hi; ++s)
        if (mask.Drawn(line, s))
          ink += (std::min(hi, s + 1.0) - std::max(lo, double(s))) / (hi - lo);
    }
  return ink;
}

// Where each target pixel begins in the source, for shrinking sourceSize to
// targetSize; the last entry is sourceSize.
//
// A plain scale puts every stroke edge wherever it falls, so a stroke or a
// gap narrower than two target pixels ends up spread over two grey pixels
// and parallel strokes melt together.  The edges that many lines share (the
// strong edges: the top and bottom of a bar, the gap between two bars) are
// therefore put on whole target pixels, each run between two of them at
// least one pixel wide, and the source is scaled linearly between them.
// Of the ways to round the edges, the one whose strokes keep the glyph's
// ink closest to a plain scale's is taken.  When the strong edges do not
// fit, the plain scale stays.
std::vector<double> PixelBounds(const Mask& mask, int sourceSize, int targetSize) {
  const double f = double(targetSize) / sourceSize;
  std::vector<double> best(size_t(targetSize) + 1);
  for (int i = 0; i <= targetSize; ++i)
    best[size_t(i)] = i / f;
  best.back() = sourceSize;

  std::vector<int> strength(size_t(sourceSize), 0);
  double reference = 0;
  for (int line = 0; line < mask.Lines(); ++line)
    for (int p = 0; p < sourceSize; ++p) {
      reference += mask.Drawn(line, p) ? f : 0;
      if (p > 0) strength[size_t(p)] += mask.Edge(line, p) ? 1 : 0;
    }
  const int strongest = *std::max_element(strength.begin(), strength.end());
  const int threshold = std::max(3, (strongest + 1) / 2);
  std::vector<int> strong;
  for (int p = 1; p < sourceSize; ++p)
    if (strength[size_t(p)] >= threshold) strong.push_back(p);
  if (strong.empty()) return best;

  // Fewest edges left out first, then the ink closest to a plain scale's.
  int bestDropped = 0;
  double bestError = -1;
  for (int j : {0, 1, -1, 2, -2, 3, -3, 4}) {
    int dropped = 0;
    const auto knots = Knots(strong, sourceSize, targetSize, j / 8.0, dropped);
    if (knots.empty()) continue;
    std::vector<double> bounds = BoundsThrough(knots, targetSize);
    // Ink lost weighs more than ink gained: a thin stroke must stay seen.
    const double ink = InkThrough(mask, bounds);
    const double error = ink < reference ? 1.5 * (reference - ink) : ink - reference;
    if (bestError < 0 || dropped < bestDropped ||
        (dropped == bestDropped && error + 1e-6 < bestError)) {
      best = std::move(bounds);
      bestDropped = dropped;
      bestError = error;
    }
  }
  return best;
}

// Area weights for shrinking: target pixel i covers the source interval
// [bounds[i], bounds[i + 1]), each source pixel weighted by its overlap.
Taps AreaTaps(double lo, double hi, int sourceSize) {
  Taps t;
  for (int s = std::max(0, int(std::floor(lo))); s < sourceSize && s < hi; ++s) {
    const double w = std::min(hi, double(s + 1)) - std::max(lo, double(s));
    if (w > 1e-6) t.push_back(Tap{s, float(w / (hi - lo))});
  }
  return t;
}

// Linear weights for enlarging, with pixel centres mapped onto each other.
Taps EnlargeTaps(int i, double ratio, int sourceSize) {
  double pos = (i + 0.5) * ratio - 0.5;
  pos = std::clamp(pos, 0.0, double(sourceSize - 1));
  const int s0 = int(std::floor(pos));
  const double frac = pos - s0;
  if (s0 + 1 < sourceSize && frac > 0) return {Tap{s0, float(1 - frac)}, Tap{s0 + 1, float(frac)}};
  return {Tap{s0, 1.0f}};
}

std::vector<Taps> AxisTaps(const Mask& mask, int sourceSize, int targetSize) {
  std::vector<Taps> taps(static_cast<size_t>(targetSize));
  const double ratio = double(sourceSize) / targetSize;
  if (ratio <= 1) {
    for (int i = 0; i < targetSize; ++i)
      taps[size_t(i)] = EnlargeTaps(i, ratio, sourceSize);
    return taps;
  }
  const std::vector<double> bounds = PixelBounds(mask, sourceSize, targetSize);
  for (int i = 0; i < targetSize; ++i)
    taps[size_t(i)] = AreaTaps(bounds[size_t(i)], bounds[size_t(i) + 1], sourceSize);
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

// The covered part over the background; nothing when nothing is covered.
sys::Pixel ToPixel(const Accum& c, sys::Pixel background) {
  if (c.a < kNoCoverage) return 0;
  const float rest = std::max(0.0f, 1 - c.a);
  auto channel = [&](float v, int shift) {
    const float under = float((background >> shift) & 0xFF);
    return sys::Pixel(std::clamp(int(std::lround(v + under * rest)), 0, 255)) << shift;
  };
  return kDrawn | channel(c.r, 16) | channel(c.g, 8) | channel(c.b, 0);
}

} // namespace

void ScaleCell(const sys::Surface& src, sys::Surface& dst, int width, int height,
               sys::Pixel background) {
  dst.Resize(width, height);
  if (src.Empty() || width <= 0 || height <= 0) return;
  const std::vector<Taps> xs = AxisTaps(Mask{src, true}, src.Width(), width);
  const std::vector<Taps> ys = AxisTaps(Mask{src, false}, src.Height(), height);

  // Horizontal pass into premultiplied rows, then the vertical pass.
  std::vector<Accum> rows(size_t(width) * size_t(src.Height()));
  for (int y = 0; y < src.Height(); ++y) {
    const sys::Pixel* in = src.Row(y);
    Accum* out = rows.data() + size_t(y) * size_t(width);
    for (int x = 0; x < width; ++x) {
      Accum sum;
      for (const Tap& tap : xs[size_t(x)])
        sum.Add(FromPixel(in[tap.index]), tap.weight);
      out[x] = sum;
    }
  }
  for (int y = 0; y < height; ++y) {
    sys::Pixel* out = dst.Row(y);
    for (int x = 0; x < width; ++x) {
      Accum sum;
      for (const Tap& tap : ys[size_t(y)])
        sum.Add(rows[size_t(tap.index) * size_t(width) + size_t(x)], tap.weight);
      out[x] = ToPixel(sum, background);
    }
  }
}

} // namespace zel::glyphscale
