// Regions as y-x banded rectangle lists.  Every operation rebuilds the
// canonical form (bands sorted top-down, spans sorted and disjoint, equal
// neighbouring bands merged), so two regions holding the same pixels compare
// equal and the rectangle list never holds overlaps.

#include "platform/gdi/Region.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace zel::sys {
namespace {

using Span = std::pair<int, int>; // [first, second)

struct Band {
  int top;
  int bottom;
  std::vector<Span> spans;
};

std::vector<Band> ToBands(const std::vector<RECT>& rects) {
  std::vector<Band> bands;
  for (const RECT& r : rects) {
    if (bands.empty() || bands.back().top != r.top) bands.push_back(Band{r.top, r.bottom, {}});
    bands.back().spans.emplace_back(r.left, r.right);
  }
  return bands;
}

// Appends a band, merging it into the previous one when they touch and hold
// the same spans, which keeps the representation canonical.
void AppendBand(std::vector<RECT>& out, int top, int bottom, const std::vector<Span>& spans) {
  if (spans.empty() || bottom <= top) return;
  if (!out.empty() && out.back().bottom == top) {
    // Find the previous band: the trailing rectangles sharing its top.
    size_t start = out.size();
    const int prevTop = out.back().top;
    while (start > 0 && out[start - 1].top == prevTop)
      --start;
    bool same = out.size() - start == spans.size();
    for (size_t i = 0; same && i < spans.size(); ++i)
      same = out[start + i].left == spans[i].first && out[start + i].right == spans[i].second;
    if (same) {
      for (size_t i = start; i < out.size(); ++i)
        out[i].bottom = bottom;
      return;
    }
  }
  for (const Span& s : spans)
    out.push_back(RECT{s.first, top, s.second, bottom});
}

bool Apply(int mode, bool a, bool b) {
  switch (mode) {
  case RGN_AND:
    return a && b;
  case RGN_OR:
    return a || b;
  case RGN_XOR:
    return a != b;
  case RGN_DIFF:
    return a && !b;
  default:
    return a;
  }
}

// Combines two sorted, disjoint span lists by a set operation.
std::vector<Span> CombineSpans(const std::vector<Span>& a, const std::vector<Span>& b, int mode) {
  std::vector<int> xs;
  xs.reserve(2 * (a.size() + b.size()));
  for (const Span& s : a) {
    xs.push_back(s.first);
    xs.push_back(s.second);
  }
  for (const Span& s : b) {
    xs.push_back(s.first);
    xs.push_back(s.second);
  }
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  std::vector<Span> out;
  size_t ia = 0, ib = 0;
  for (size_t i = 0; i + 1 < xs.size(); ++i) {
    const int x0 = xs[i], x1 = xs[i + 1];
    while (ia < a.size() && a[ia].second <= x0)
      ++ia;
    while (ib < b.size() && b[ib].second <= x0)
      ++ib;
    const bool inA = ia < a.size() && a[ia].first <= x0;
    const bool inB = ib < b.size() && b[ib].first <= x0;
    if (!Apply(mode, inA, inB)) continue;
    if (!out.empty() && out.back().second == x0)
      out.back().second = x1;
    else
      out.emplace_back(x0, x1);
  }
  return out;
}

const std::vector<Span>& SpansAt(const std::vector<Band>& bands, size_t& index, int y) {
  static const std::vector<Span> kNone;
  while (index < bands.size() && bands[index].bottom <= y)
    ++index;
  if (index < bands.size() && bands[index].top <= y) return bands[index].spans;
  return kNone;
}

// The intersection of a banded list with one rectangle, band by band: the
// clipping can leave neighbouring bands with the same spans, which
// AppendBand merges, so the result is canonical without the general sweep.
std::vector<RECT> ClipToRect(const std::vector<RECT>& rects, const RECT& c) {
  std::vector<RECT> out;
  out.reserve(rects.size());
  std::vector<Span> spans;
  size_t i = 0;
  while (i < rects.size()) {
    const int top = rects[i].top, bottom = rects[i].bottom;
    spans.clear();
    for (; i < rects.size() && rects[i].top == top; ++i) {
      const int l = std::max(rects[i].left, c.left), r = std::min(rects[i].right, c.right);
      if (l < r) spans.emplace_back(l, r);
    }
    AppendBand(out, std::max(top, c.top), std::min(bottom, c.bottom), spans);
  }
  return out;
}

} // namespace

void Region::SetRect(const RECT& r) {
  rects_.clear();
  if (!IsRectEmpty(r)) rects_.push_back(r);
}

RegionKind Region::Combine(const Region& a, const Region& b, int mode) {
  if (mode < RGN_AND || mode > RGN_COPY) return RGN_ERROR;
  if (mode == RGN_COPY) {
    rects_ = a.rects_;
    return Kind();
  }
  // Clipping to a rectangle is by far the most frequent combination (every
  // drawing call's clip, every update region); it needs no sweep.
  if (mode == RGN_AND && (a.rects_.size() <= 1 || b.rects_.size() <= 1)) {
    const bool aIsRect = a.rects_.size() <= 1;
    if ((aIsRect ? a : b).rects_.empty()) {
      rects_.clear();
      return NULLREGION;
    }
    const RECT c = (aIsRect ? a : b).rects_.front();
    rects_ = ClipToRect((aIsRect ? b : a).rects_, c);
    return Kind();
  }
  const std::vector<Band> ba = ToBands(a.rects_);
  const std::vector<Band> bb = ToBands(b.rects_);
  std::vector<int> ys;
  for (const Band& band : ba) {
    ys.push_back(band.top);
    ys.push_back(band.bottom);
  }
  for (const Band& band : bb) {
    ys.push_back(band.top);
    ys.push_back(band.bottom);
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  std::vector<RECT> out;
  size_t ia = 0, ib = 0;
  for (size_t i = 0; i + 1 < ys.size(); ++i) {
    const std::vector<Span>& sa = SpansAt(ba, ia, ys[i]);
    const std::vector<Span>& sb = SpansAt(bb, ib, ys[i]);
    AppendBand(out, ys[i], ys[i + 1], CombineSpans(sa, sb, mode));
  }
  rects_ = std::move(out); // safe when a or b is *this: they are no longer read
  return Kind();
}

void Region::Offset(int dx, int dy) {
  // Coordinates saturate far outside any surface instead of overflowing.
  auto move = [](int& v, int d) {
    constexpr int64_t kLimit = 1 << 30;
    v = int(std::clamp(int64_t(v) + d, -kLimit, kLimit));
  };
  for (RECT& r : rects_) {
    move(r.left, dx);
    move(r.right, dx);
    move(r.top, dy);
    move(r.bottom, dy);
  }
}

void Region::Intersect(const RECT& r) {
  // Rectangles are disjoint and banded, so clipping each keeps the form
  // except for bands that may now touch with equal spans; rebuild to be sure.
  Combine(*this, Region(r), RGN_AND);
}

void Region::Exclude(const RECT& r) {
  if (IsRectEmpty(r)) return;
  Combine(*this, Region(r), RGN_DIFF);
}

bool Region::Contains(int x, int y) const {
  for (const RECT& r : rects_) {
    if (r.top > y) return false; // bands are sorted top-down
    if (y < r.bottom && x >= r.left && x < r.right) return true;
  }
  return false;
}

RECT Region::Box() const {
  if (rects_.empty()) return RECT{};
  RECT box = rects_.front();
  for (const RECT& r : rects_) {
    box.left = std::min(box.left, r.left);
    box.right = std::max(box.right, r.right);
    box.bottom = std::max(box.bottom, r.bottom);
  }
  return box;
}

RegionKind Region::Kind() const {
  if (rects_.empty()) return NULLREGION;
  return rects_.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void Region::SetPolygon(const POINT* points, int count, int fillMode) {
  // A polygon region holds up to one band per row, so it is computed within
  // a range far beyond any screen but small enough to stay cheap.
  constexpr int kLimit = 1 << 16;
  SetPolygon(points, count, fillMode, RECT{-kLimit, -kLimit, kLimit, kLimit});
}

void Region::SetPolygon(const POINT* points, int count, int fillMode, const RECT& limit) {
  rects_.clear();
  if (!points || count < 3 || IsRectEmpty(limit)) return;
  int minY = points[0].y, maxY = points[0].y;
  for (int i = 1; i < count; ++i) {
    minY = std::min(minY, points[i].y);
    maxY = std::max(maxY, points[i].y);
  }
  minY = std::max(minY, limit.top);
  maxY = std::min(maxY, limit.bottom);
  if (maxY < minY) return;
  struct Crossing {
    double x;
    int dir;
  };
  std::vector<Crossing> crossings;
  std::vector<Span> spans, previous;
  int bandTop = minY;
  // Pixel (x, y) is the lattice point (x, y), as for lines, so a polygon
  // through pixel positions fills them.  An edge counts on rows y0 <= y < y1,
  // so shared vertices count once and bottom edges stay outside.
  for (int y = minY; y <= maxY; ++y) {
    const double yc = y;
    crossings.clear();
    for (int i = 0; i < count; ++i) {
      const POINT p = points[i];
      const POINT q = points[(i + 1) % count];
      if (p.y == q.y) continue;
      const bool down = p.y < q.y;
      const POINT lo = down ? p : q;
      const POINT hi = down ? q : p;
      if (yc < lo.y || yc >= hi.y) continue;
      const double x = lo.x + (yc - lo.y) * (double(hi.x) - lo.x) / (double(hi.y) - lo.y);
      crossings.push_back(Crossing{x, down ? 1 : -1});
    }
    std::sort(crossings.begin(), crossings.end(),
              [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
    spans.clear();
    int winding = 0;
    for (size_t i = 0; i + 1 < crossings.size(); ++i) {
      winding += crossings[i].dir;
      const bool inside = fillMode == WINDING ? winding != 0 : (i % 2) == 0;
      if (!inside) continue;
      // Pixels x with xa <= x < xb: the left edge is in, the right edge out.
      const double lo = limit.left, hi = limit.right;
      const int x0 = int(std::ceil(std::clamp(crossings[i].x, lo, hi)));
      const int x1 = int(std::ceil(std::clamp(crossings[i + 1].x, lo, hi)));
      if (x1 <= x0) continue;
      if (!spans.empty() && spans.back().second >= x0)
        spans.back().second = std::max(spans.back().second, x1);
      else
        spans.emplace_back(x0, x1);
    }
    if (y == minY) {
      previous = spans;
      continue;
    }
    if (spans != previous) {
      AppendBand(rects_, bandTop, y, previous);
      previous = spans;
      bandTop = y;
    }
  }
  AppendBand(rects_, bandTop, maxY + 1, previous);
}

} // namespace zel::sys
