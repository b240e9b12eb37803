#pragma once
// A region is a set of pixels kept as disjoint rectangles in y-x bands (rows
// of equal top and bottom, sorted by left), so that combining, testing and
// clipping stay simple and exact.

#include <vector>

#include "platform/Types.h"

namespace zel::sys {

enum RegionCombine { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
// Results of the region calls, as the platform reports them.
enum RegionKind { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };
enum PolyFillMode { ALTERNATE = 1, WINDING = 2 };

class Region {
public:
  Region() = default;
  explicit Region(const RECT& r) { SetRect(r); }

  void SetEmpty() { rects_.clear(); }
  void SetRect(const RECT& r);
  // The pixels inside the polygon by the given fill rule, pixel (x, y)
  // standing for the point (x, y); right and bottom edges are outside.
  // Only the part within +-65536 is kept.
  void SetPolygon(const POINT* points, int count, int fillMode);
  // The same, computed only within `limit` (cheap for huge polygons).
  void SetPolygon(const POINT* points, int count, int fillMode, const RECT& limit);
  RegionKind Combine(const Region& a, const Region& b, int mode);
  void Offset(int dx, int dy);
  void Intersect(const RECT& r);
  void Exclude(const RECT& r);

  bool IsEmpty() const { return rects_.empty(); }
  bool Contains(int x, int y) const;
  bool Contains(POINT p) const { return Contains(p.x, p.y); }
  RECT Box() const;
  RegionKind Kind() const;
  const std::vector<RECT>& Rects() const { return rects_; }
  friend bool operator==(const Region&, const Region&) = default;

private:
  std::vector<RECT> rects_;
};

} // namespace zel::sys
