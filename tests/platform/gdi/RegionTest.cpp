#include <gtest/gtest.h>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Region.h"

namespace zel::sys {
namespace {

int CountPixels(const Region& r) {
  int n = 0;
  for (const RECT& rc : r.Rects())
    n += rc.Width() * rc.Height();
  return n;
}

// Checks the banded form: rectangles sorted, disjoint, each band's spans
// sorted, and no empty rectangles.
void ExpectCanonical(const Region& r) {
  const auto& rects = r.Rects();
  for (size_t i = 0; i < rects.size(); ++i) {
    EXPECT_FALSE(IsRectEmpty(rects[i]));
    if (i == 0) continue;
    const RECT& a = rects[i - 1];
    const RECT& b = rects[i];
    if (a.top == b.top) {
      EXPECT_EQ(a.bottom, b.bottom);
      EXPECT_LT(a.right, b.left) << "spans in a band must be sorted and apart";
    } else {
      EXPECT_GE(b.top, a.bottom);
    }
  }
}

TEST(Region, CombineModesMatchPointwiseSetOperations) {
  const Region a(RECT{0, 0, 10, 10});
  const Region b(RECT{5, 5, 15, 15});
  struct Case {
    int mode;
    int pixels;
    RegionKind kind;
  } cases[] = {{RGN_AND, 25, SIMPLEREGION},
               {RGN_OR, 175, COMPLEXREGION},
               {RGN_XOR, 150, COMPLEXREGION},
               {RGN_DIFF, 75, COMPLEXREGION},
               {RGN_COPY, 100, SIMPLEREGION}};
  for (const Case& c : cases) {
    Region out;
    EXPECT_EQ(out.Combine(a, b, c.mode), c.kind) << c.mode;
    EXPECT_EQ(CountPixels(out), c.pixels) << c.mode;
    ExpectCanonical(out);
    for (int y = -1; y < 16; ++y)
      for (int x = -1; x < 16; ++x) {
        const bool inA = a.Contains(x, y), inB = b.Contains(x, y);
        bool want = inA;
        if (c.mode == RGN_AND) want = inA && inB;
        if (c.mode == RGN_OR) want = inA || inB;
        if (c.mode == RGN_XOR) want = inA != inB;
        if (c.mode == RGN_DIFF) want = inA && !inB;
        ASSERT_EQ(out.Contains(x, y), want) << c.mode << " at " << x << "," << y;
      }
  }
}

TEST(Region, SamePixelsCompareEqualWhateverTheConstruction) {
  // Two halves joined must equal the whole rectangle (bands merged).
  Region left(RECT{0, 0, 5, 10}), right(RECT{5, 0, 10, 10}), top(RECT{0, 0, 10, 4}),
      bottom(RECT{0, 4, 10, 10});
  Region lr, tb;
  lr.Combine(left, right, RGN_OR);
  tb.Combine(top, bottom, RGN_OR);
  EXPECT_EQ(lr, Region(RECT{0, 0, 10, 10}));
  EXPECT_EQ(tb, lr);
  EXPECT_EQ(lr.Kind(), SIMPLEREGION);
  // Combining in place with itself as an operand.
  Region r(RECT{0, 0, 4, 4});
  r.Combine(r, Region(RECT{2, 2, 6, 6}), RGN_OR);
  EXPECT_EQ(CountPixels(r), 28);
  r.Combine(r, r, RGN_XOR);
  EXPECT_TRUE(r.IsEmpty());
  EXPECT_EQ(r.Kind(), NULLREGION);
}

TEST(Region, EmptyOperandsAndBadMode) {
  Region empty, a(RECT{1, 1, 3, 3}), out(RECT{0, 0, 1, 1});
  EXPECT_EQ(out.Combine(a, empty, RGN_AND), NULLREGION);
  EXPECT_EQ(out.Combine(empty, a, RGN_OR), SIMPLEREGION);
  EXPECT_EQ(out, a);
  EXPECT_EQ(out.Combine(a, a, 99), RGN_ERROR);
  EXPECT_EQ(out, a) << "a bad mode changes nothing";
  EXPECT_TRUE(Region(RECT{5, 5, 5, 9}).IsEmpty());
  EXPECT_EQ(Region().Box(), RECT{});
}

TEST(Region, RandomCombinationsStayCanonicalAndPointwiseRight) {
  unsigned seed = 12345;
  auto next = [&](int n) {
    seed = seed * 1103515245u + 12345u;
    return int((seed >> 16) % unsigned(n));
  };
  for (int round = 0; round < 200; ++round) {
    Region a, b;
    for (int k = 0; k < 4; ++k) {
      const int x = next(20), y = next(20);
      a.Combine(a, Region(RECT{x, y, x + 1 + next(8), y + 1 + next(8)}), RGN_OR);
      const int u = next(20), v = next(20);
      b.Combine(b, Region(RECT{u, v, u + 1 + next(8), v + 1 + next(8)}), RGN_OR);
    }
    const int mode = 1 + next(4);
    Region out;
    out.Combine(a, b, mode);
    ExpectCanonical(out);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 30; ++x) {
        const bool inA = a.Contains(x, y), inB = b.Contains(x, y);
        const bool want = mode == RGN_AND   ? inA && inB
                          : mode == RGN_OR  ? inA || inB
                          : mode == RGN_XOR ? inA != inB
                                            : inA && !inB;
        ASSERT_EQ(out.Contains(x, y), want) << "round " << round;
      }
    // Clipping to one rectangle takes a shorter way; it must give exactly
    // what the general sweep gives (a minus what of a lies outside).
    const int x = next(25), y = next(25);
    const Region clip(RECT{x, y, x + 1 + next(12), y + 1 + next(12)});
    Region fast, outside, slow;
    fast.Combine(a, clip, RGN_AND);
    outside.Combine(a, clip, RGN_DIFF);
    slow.Combine(a, outside, RGN_DIFF);
    ASSERT_EQ(fast, slow) << "round " << round;
    Region swapped;
    swapped.Combine(clip, a, RGN_AND);
    ASSERT_EQ(swapped, slow) << "round " << round;
  }
}

TEST(Region, PolygonFillRulesDifferOnlyWhereTheOutlineOverlapsItself) {
  // A pentagram: its centre pentagon is covered twice.
  const POINT star[] = {{50, 0}, {80, 95}, {2, 36}, {98, 36}, {20, 95}};
  Region alternate, winding;
  alternate.SetPolygon(star, 5, ALTERNATE);
  winding.SetPolygon(star, 5, WINDING);
  EXPECT_FALSE(alternate.Contains(50, 50)) << "centre is a hole with alternate fill";
  EXPECT_TRUE(winding.Contains(50, 50));
  EXPECT_TRUE(alternate.Contains(50, 20)) << "a point of the star is filled by both";
  EXPECT_TRUE(winding.Contains(50, 20));
  Region diff;
  diff.Combine(winding, alternate, RGN_DIFF);
  EXPECT_TRUE(diff.Contains(50, 50));
  Region extra;
  EXPECT_EQ(extra.Combine(alternate, winding, RGN_DIFF), NULLREGION);
  ExpectCanonical(winding);
}

TEST(Region, PolygonCoversPixelCentresOnly) {
  // An axis-aligned square polygon covers exactly the pixels of the same
  // rectangle: right and bottom edges are exclusive.
  const POINT square[] = {{2, 3}, {7, 3}, {7, 9}, {2, 9}};
  Region r;
  r.SetPolygon(square, 4, ALTERNATE);
  EXPECT_EQ(r, Region(RECT{2, 3, 7, 9}));
  // A right triangle: row y holds the points x < 10 - y.
  const POINT tri[] = {{0, 0}, {10, 0}, {0, 10}};
  r.SetPolygon(tri, 3, WINDING);
  EXPECT_FALSE(r.Contains(0, 10)) << "the bottom vertex is on the excluded edge";
  for (int y = 0; y < 10; ++y) {
    EXPECT_TRUE(r.Contains(0, y));
    EXPECT_TRUE(r.Contains(9 - y, y)) << y;
    EXPECT_FALSE(r.Contains(10 - y, y)) << y;
  }
  r.SetPolygon(tri, 2, WINDING);
  EXPECT_TRUE(r.IsEmpty());
  r.SetPolygon(nullptr, 5, WINDING);
  EXPECT_TRUE(r.IsEmpty());
}

TEST(Region, HandleCallsOffsetTestAndBox) {
  UniqueGdi<HRGN> a(CreateRectRgn(10, 10, 0, 0)); // reversed corners
  RECT box;
  EXPECT_EQ(GetRgnBox(a, &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{0, 0, 10, 10}));
  EXPECT_EQ(OffsetRgn(a, 5, -2), SIMPLEREGION);
  GetRgnBox(a, &box);
  EXPECT_EQ(box, (RECT{5, -2, 15, 8}));
  EXPECT_TRUE(PtInRegion(a, 5, -2));
  EXPECT_FALSE(PtInRegion(a, 15, 0));
  EXPECT_FALSE(PtInRegion(a, 4, 0));
  UniqueGdi<HRGN> b(CreateRectRgn(20, 20, 30, 30));
  UniqueGdi<HRGN> both(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(CombineRgn(both, a, b, RGN_OR), COMPLEXREGION);
  GetRgnBox(both, &box);
  EXPECT_EQ(box, (RECT{5, -2, 30, 30}));
  EXPECT_EQ(CombineRgn(both, a, nullptr, RGN_OR), RGN_ERROR);
  EXPECT_EQ(CombineRgn(both, b, nullptr, RGN_COPY), SIMPLEREGION);
  EXPECT_EQ(PtInRegion(nullptr, 0, 0), 0);
  const POINT tri[] = {{0, 0}, {8, 0}, {0, 8}};
  UniqueGdi<HRGN> poly(CreatePolygonRgn(tri, 3, ALTERNATE));
  EXPECT_EQ(GetRgnBox(poly, &box), COMPLEXREGION);
  EXPECT_EQ(box, (RECT{0, 0, 8, 8}));
}

} // namespace
} // namespace zel::sys
