#include "imagelist/GlyphScale.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <unordered_map>
#include <vector>

namespace zel::glyphscale {

namespace {

// Below this a coverage is rounding noise, not ink.
constexpr float kNoCoverage = 1.0f / 1024;

// The premultiplied sums of one pixel, lane by lane: colour channels (blue,
// green, red) weighted by coverage, and the coverage itself.  The lanes are
// multiplied and added one by one in single precision, the same operations
// in the same order as four separate floats.
using Accum = float __attribute__((vector_size(16)));

// A pixel as the edge test sees it: its luma, or -1 when it is not drawn.
inline int EdgeCode(sys::Pixel p) {
  if ((p & kDrawn) == 0) return -1;
  return int((p >> 16) & 0xFF) * 3 + int((p >> 8) & 0xFF) * 6 + int(p & 0xFF);
}

// An edge lies between two neighbouring pixels where the glyph begins or
// ends, or where its colour changes sharply (a white mark on a dark disc).
inline bool Edge(int a, int b) {
  if ((a < 0) != (b < 0)) return true;
  return a >= 0 && std::abs(a - b) > 10 * 100;
}

// What the grid fitting needs of a cell along one axis: at each position,
// the number of lines drawn there and the number of lines with an edge
// just before it.
struct Profile {
  std::vector<int> drawn, edges;
  int drawnTotal = 0;
  void Reset(int size) {
    drawn.assign(size_t(size), 0);
    edges.assign(size_t(size), 0);
    drawnTotal = 0;
  }
};

// Both axes' profiles, from one pass over the cell's rows; codes holds the
// edge codes of the row above.
void ProfilesOf(const sys::Surface& src, Profile& across, Profile& down, std::vector<int>& codes) {
  const int w = src.Width();
  across.Reset(w);
  down.Reset(src.Height());
  codes.resize(size_t(w));
  for (int y = 0; y < src.Height(); ++y) {
    const sys::Pixel* row = src.Row(y);
    int left = 0;
    for (int x = 0; x < w; ++x) {
      const int code = EdgeCode(row[x]);
      const int drawn = code >= 0 ? 1 : 0;
      across.drawn[size_t(x)] += drawn;
      down.drawn[size_t(y)] += drawn;
      if (x > 0) across.edges[size_t(x)] += Edge(left, code) ? 1 : 0;
      if (y > 0) down.edges[size_t(y)] += Edge(codes[size_t(x)], code) ? 1 : 0;
      codes[size_t(x)] = left = code;
    }
  }
  for (int n : across.drawn)
    across.drawnTotal += n;
  down.drawnTotal = across.drawnTotal;
}

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

// The ink a scale through these bounds leaves, in target pixels: every
// drawn source pixel adds the share of each target pixel it falls in.
double InkThrough(const Profile& profile, const std::vector<double>& bounds) {
  double ink = 0;
  for (size_t i = 0; i + 1 < bounds.size(); ++i) {
    const double lo = bounds[i], hi = bounds[i + 1];
    for (int s = int(std::floor(lo)); s < hi; ++s)
      if (const int lines = profile.drawn[size_t(s)]; lines > 0)
        ink += lines * (std::min(hi, s + 1.0) - std::max(lo, double(s))) / (hi - lo);
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
// fit, the plain scale stays.  This runs once per cell and axis, on the
// cell's profiles.
std::vector<double> PixelBounds(const Profile& profile, int sourceSize, int targetSize) {
  const double f = double(targetSize) / sourceSize;
  std::vector<double> best(size_t(targetSize) + 1);
  for (int i = 0; i <= targetSize; ++i)
    best[size_t(i)] = i / f;
  best.back() = sourceSize;

  const double reference = profile.drawnTotal * f;
  const int strongest = *std::max_element(profile.edges.begin(), profile.edges.end());
  const int threshold = std::max(3, (strongest + 1) / 2);
  std::vector<int> strong;
  for (int p = 1; p < sourceSize; ++p)
    if (profile.edges[size_t(p)] >= threshold) strong.push_back(p);
  if (strong.empty()) return best;

  // Fewest edges left out first, then the ink closest to a plain scale's.
  // Offsets that round every edge as an earlier one did give the same
  // bounds and so the same ink, which cannot win over it: they are skipped.
  int bestDropped = 0;
  double bestError = -1;
  std::vector<std::vector<std::pair<int, int>>> tried;
  for (int j : {0, 1, -1, 2, -2, 3, -3, 4}) {
    int dropped = 0;
    auto knots = Knots(strong, sourceSize, targetSize, j / 8.0, dropped);
    if (knots.empty() || std::find(tried.begin(), tried.end(), knots) != tried.end()) continue;
    tried.push_back(knots);
    std::vector<double> bounds = BoundsThrough(knots, targetSize);
    // Ink lost weighs more than ink gained: a thin stroke must stay seen.
    const double ink = InkThrough(profile, bounds);
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

// The weights of one axis, laid out flat: target pixel i takes the source
// pixels index[k] with weight[k] for k in [begin[i], begin[i + 1]).
struct AxisWeights {
  std::vector<int> begin, index;
  std::vector<float> weight;
  void Clear() {
    begin.assign(1, 0);
    index.clear();
    weight.clear();
  }
  void Add(int s, float w) {
    index.push_back(s);
    weight.push_back(w);
  }
  void EndPixel() { begin.push_back(int(index.size())); }
};

// Area weights for shrinking: target pixel i covers the source interval
// [lo, hi), each source pixel weighted by its overlap.
void AddAreaTaps(AxisWeights& out, double lo, double hi, int sourceSize) {
  for (int s = std::max(0, int(std::floor(lo))); s < sourceSize && s < hi; ++s) {
    const double w = std::min(hi, double(s + 1)) - std::max(lo, double(s));
    if (w > 1e-6) out.Add(s, float(w / (hi - lo)));
  }
}

// Linear weights for enlarging, with pixel centres mapped onto each other.
void AddEnlargeTaps(AxisWeights& out, int i, double ratio, int sourceSize) {
  double pos = (i + 0.5) * ratio - 0.5;
  pos = std::clamp(pos, 0.0, double(sourceSize - 1));
  const int s0 = int(std::floor(pos));
  const double frac = pos - s0;
  if (s0 + 1 < sourceSize && frac > 0) {
    out.Add(s0, float(1 - frac));
    out.Add(s0 + 1, float(frac));
  } else {
    out.Add(s0, 1.0f);
  }
}

void BuildAxis(AxisWeights& out, const Profile& profile, int sourceSize, int targetSize) {
  out.Clear();
  const double ratio = double(sourceSize) / targetSize;
  if (ratio <= 1) {
    for (int i = 0; i < targetSize; ++i) {
      AddEnlargeTaps(out, i, ratio, sourceSize);
      out.EndPixel();
    }
    return;
  }
  const std::vector<double> bounds = PixelBounds(profile, sourceSize, targetSize);
  for (int i = 0; i < targetSize; ++i) {
    AddAreaTaps(out, bounds[size_t(i)], bounds[size_t(i) + 1], sourceSize);
    out.EndPixel();
  }
}

// A drawn pixel as (blue, green, red, 1); an undrawn one adds nothing.
Accum FromPixel(sys::Pixel p) {
  if ((p & kDrawn) == 0) return Accum{0, 0, 0, 0};
  return Accum{float(p & 0xFF), float((p >> 8) & 0xFF), float((p >> 16) & 0xFF), 1};
}

using Lanes = int __attribute__((vector_size(16)));

// The covered part over the background; nothing when nothing is covered.
// Each channel is c + under * rest rounded half away from zero (as
// std::lround), lane by lane: truncated, then raised where the fraction
// left is a half or more.
sys::Pixel ToPixel(Accum c, const Accum& under) {
  if (c[3] < kNoCoverage) return 0;
  const float rest = std::max(0.0f, 1 - c[3]);
  const Accum v = c + under * rest;
  Lanes whole = __builtin_convertvector(v, Lanes);
  whole -= v - __builtin_convertvector(whole, Accum) >= 0.5f;
  auto channel = [&](int lane, int shift) {
    return sys::Pixel(std::clamp(whole[lane], 0, 255)) << shift;
  };
  return kDrawn | channel(2, 16) | channel(1, 8) | channel(0, 0);
}

// The buffers of a fitting, kept between cells.
struct FittingWork {
  Profile across, down;
  std::vector<int> codes;
};

// The grid fitting of one cell for one target size.  It depends only on the
// cell's pixels and the sizes, so a list rebuilt at a size it had before
// (the same strip cells again) finds it here instead of fitting again.
struct Fitting {
  int width = 0, height = 0, targetWidth = 0, targetHeight = 0;
  std::vector<sys::Pixel> pixels; // the cell, compared in full on a hit
  std::vector<int> rowDrawn;      // drawn pixels per source row
  AxisWeights xs, ys;
};

class FittingCache {
public:
  // Enough for every cell of a few strips at every size; past it the cache
  // starts again rather than grow.
  static constexpr size_t kCapacity = 1024;

  const Fitting& Get(const sys::Surface& src, int width, int height) {
    const uint64_t key = KeyOf(src, width, height);
    auto [first, last] = FEntries.equal_range(key);
    for (auto it = first; it != last; ++it) {
      const Fitting& f = it->second;
      if (f.width == src.Width() && f.height == src.Height() && f.targetWidth == width &&
          f.targetHeight == height &&
          std::equal(f.pixels.begin(), f.pixels.end(), src.Pixels().begin()))
        return f;
    }
    if (FEntries.size() >= kCapacity) FEntries.clear();
    Fitting f;
    f.width = src.Width();
    f.height = src.Height();
    f.targetWidth = width;
    f.targetHeight = height;
    f.pixels.assign(src.Pixels().begin(), src.Pixels().end());
    FittingWork& w = FWork;
    ProfilesOf(src, w.across, w.down, w.codes);
    f.rowDrawn = w.down.drawn;
    BuildAxis(f.xs, w.across, src.Width(), width);
    BuildAxis(f.ys, w.down, src.Height(), height);
    return FEntries.emplace(key, std::move(f))->second;
  }

private:
  // Four interleaved multiply chains: one chain waits on each multiply in
  // turn, which made the key cost as much as the scale it looks up.
  static uint64_t KeyOf(const sys::Surface& src, int width, int height) {
    uint64_t h[4] = {(uint64_t(uint32_t(width)) << 32 | uint32_t(height)) ^ 0x9E3779B97F4A7C15ull,
                     0xC2B2AE3D27D4EB4Full, 0x165667B19E3779F9ull, 0x27D4EB2F165667C5ull};
    const auto& pixels = src.Pixels();
    const size_t n = pixels.size();
    size_t i = 0;
    for (; i + 4 <= n; i += 4)
      for (size_t lane = 0; lane < 4; ++lane)
        h[lane] = (h[lane] ^ pixels[i + lane]) * 0x100000001B3ull;
    for (; i < n; ++i)
      h[0] = (h[0] ^ pixels[i]) * 0x100000001B3ull;
    const uint64_t all = h[0] ^ std::rotl(h[1], 17) ^ std::rotl(h[2], 31) ^ std::rotl(h[3], 47);
    return all ^ uint64_t(src.Width()) << 48 ^ uint64_t(src.Height()) << 32;
  }

  std::unordered_multimap<uint64_t, Fitting> FEntries;
  FittingWork FWork;
};

// The work buffers of a scale, kept between cells so that a rebuild
// allocates only while they grow, and the fittings made so far.
struct Scratch {
  std::vector<Accum> source, rows, line;
  FittingCache fittings;
};

Scratch& Buffers() {
  static thread_local Scratch scratch;
  return scratch;
}

} // namespace

void ScaleCell(const sys::Surface& src, sys::Surface& dst, int width, int height,
               sys::Pixel background) {
  dst.Resize(width, height);
  if (src.Empty() || width <= 0 || height <= 0) return;
  Scratch& b = Buffers();
  const Fitting& fit = b.fittings.Get(src, width, height);

  // Every source pixel in lanes once, then the horizontal pass into
  // premultiplied rows (a row with nothing drawn stays zero), then the
  // vertical pass, which adds whole rows so that its loads run along them.
  const size_t sw = size_t(src.Width()), sh = size_t(src.Height()), tw = size_t(width);
  b.source.resize(sw * sh);
  for (size_t i = 0; i < sw * sh; ++i)
    b.source[i] = FromPixel(src.Pixels()[i]);
  b.rows.assign(tw * sh, Accum{0, 0, 0, 0});
  for (size_t y = 0; y < sh; ++y) {
    if (fit.rowDrawn[y] == 0) continue;
    const Accum* in = b.source.data() + y * sw;
    Accum* out = b.rows.data() + y * tw;
    for (size_t x = 0; x < tw; ++x) {
      Accum sum{0, 0, 0, 0};
      for (int k = fit.xs.begin[x]; k < fit.xs.begin[x + 1]; ++k)
        sum += in[fit.xs.index[size_t(k)]] * fit.xs.weight[size_t(k)];
      out[x] = sum;
    }
  }
  const Accum under{float(background & 0xFF), float((background >> 8) & 0xFF),
                    float((background >> 16) & 0xFF), 0};
  b.line.resize(tw);
  for (int y = 0; y < height; ++y) {
    std::fill(b.line.begin(), b.line.end(), Accum{0, 0, 0, 0});
    for (int k = fit.ys.begin[size_t(y)]; k < fit.ys.begin[size_t(y) + 1]; ++k) {
      const Accum* in = b.rows.data() + size_t(fit.ys.index[size_t(k)]) * tw;
      const float w = fit.ys.weight[size_t(k)];
      for (size_t x = 0; x < tw; ++x)
        b.line[x] += in[x] * w;
    }
    sys::Pixel* out = dst.Row(y);
    for (size_t x = 0; x < tw; ++x)
      out[x] = ToPixel(b.line[x], under);
  }
}

} // namespace zel::glyphscale
