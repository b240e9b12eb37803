#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "platform/gdi/Gdi.h"
#include "tests/platform/gdi/TestCanvas.h"

namespace zel::sys {
namespace {

using testing::kWhite;
using testing::TestCanvas;

TRIVERTEX Vertex(int x, int y, COLORREF c) {
  TRIVERTEX v;
  v.x = x;
  v.y = y;
  v.Red = COLOR16(GetRValue(c) << 8);
  v.Green = COLOR16(GetGValue(c) << 8);
  v.Blue = COLOR16(GetBValue(c) << 8);
  return v;
}

BOOL Fill(HDC dc, TRIVERTEX a, TRIVERTEX b, DWORD mode) {
  const TRIVERTEX v[2] = {a, b};
  const GRADIENT_RECT r{0, 1};
  return GradientFill(dc, v, 2, &r, 1, mode);
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// A straightforward per-pixel version of the rule, to check the row-copying
// implementation against.
COLORREF Expected(COLORREF a, COLORREF b, int i, int n) {
  auto ch = [&](int ca, int cb) {
    const int c16a = ca << 8, c16b = cb << 8;
    return n <= 1 ? ca : (c16a + (c16b - c16a) * i / (n - 1)) >> 8;
  };
  return RGB(ch(GetRValue(a), GetRValue(b)), ch(GetGValue(a), GetGValue(b)),
             ch(GetBValue(a), GetBValue(b)));
}

TEST(Gradient, HorizontalEndColoursAndDirection) {
  TestCanvas c(120, 40);
  const COLORREF from = RGB(10, 200, 30), to = RGB(250, 20, 130);
  ASSERT_EQ(Fill(c.dc, Vertex(10, 5, from), Vertex(110, 35, to), GRADIENT_FILL_RECT_H), 1);
  for (int y = 5; y < 35; ++y) {
    EXPECT_EQ(c.At(10, y), from);
    EXPECT_TRUE(Near(c.At(109, y), to, 1));
    EXPECT_EQ(c.At(60, y), c.At(60, 5)) << "columns are uniform";
  }
  EXPECT_EQ(c.At(9, 5), kWhite);
  EXPECT_EQ(c.At(110, 5), kWhite);
  EXPECT_EQ(c.At(50, 4), kWhite);
  EXPECT_EQ(c.At(50, 35), kWhite);
  // Monotonic in each channel.
  for (int x = 11; x < 110; ++x) {
    EXPECT_GE(GetRValue(c.At(x, 10)), GetRValue(c.At(x - 1, 10)));
    EXPECT_LE(GetGValue(c.At(x, 10)), GetGValue(c.At(x - 1, 10)));
  }
  EXPECT_EQ(c.Raw(50, 10) >> 24, 0u) << "gradients write alpha 0";
  c.Save("gradient_h");
}

TEST(Gradient, VerticalAndSwappedVertices) {
  TestCanvas c(30, 60);
  const COLORREF from = RGB(0, 0, 0), to = RGB(255, 255, 255);
  Fill(c.dc, Vertex(0, 0, from), Vertex(30, 60, to), GRADIENT_FILL_RECT_V);
  EXPECT_EQ(c.At(0, 0), from);
  EXPECT_EQ(c.At(29, 0), from);
  EXPECT_TRUE(Near(c.At(15, 59), to, 1));
  EXPECT_EQ(c.At(0, 30), c.At(29, 30)) << "rows are uniform";
  c.Save("gradient_v");
  // Vertices given right-to-left mirror the gradient.
  TestCanvas m(30, 4);
  Fill(m.dc, Vertex(30, 4, from), Vertex(0, 0, to), GRADIENT_FILL_RECT_H);
  EXPECT_EQ(m.At(29, 0), from);
  EXPECT_TRUE(Near(m.At(0, 0), to, 1));
}

TEST(Gradient, OneColumnAndBadArguments) {
  TestCanvas c(10, 10);
  const COLORREF a = RGB(1, 2, 3), b = RGB(200, 100, 50);
  Fill(c.dc, Vertex(4, 0, a), Vertex(5, 10, b), GRADIENT_FILL_RECT_H);
  EXPECT_EQ(c.At(4, 3), a);
  EXPECT_EQ(c.Count(a), 10);
  Fill(c.dc, Vertex(0, 0, a), Vertex(0, 10, b), GRADIENT_FILL_RECT_H); // empty
  EXPECT_EQ(c.Count(a), 10);
  const TRIVERTEX v[2] = {Vertex(0, 0, a), Vertex(10, 10, b)};
  const GRADIENT_RECT bad{0, 2};
  EXPECT_EQ(GradientFill(c.dc, v, 2, &bad, 1, GRADIENT_FILL_RECT_H), 0);
  const GRADIENT_RECT good{0, 1};
  EXPECT_EQ(GradientFill(c.dc, v, 2, &good, 1, 2), 0) << "triangle meshes are not supported";
  EXPECT_EQ(GradientFill(c.dc, nullptr, 2, &good, 1, GRADIENT_FILL_RECT_H), 0);
  EXPECT_EQ(c.Count(a), 10);
}

TEST(Gradient, ClippedLikeEveryCallWithTheSameColours) {
  TestCanvas full(64, 16), clipped(64, 16);
  const COLORREF a = RGB(0, 50, 255), b = RGB(255, 250, 0);
  Fill(full.dc, Vertex(-8, 0, a), Vertex(72, 16, b), GRADIENT_FILL_RECT_H);
  SetViewportOrgEx(clipped.dc, -8, 0, nullptr);
  IntersectClipRect(clipped.dc, 20, 2, 50, 14);
  ExcludeClipRect(clipped.dc, 30, 5, 40, 8);
  Fill(clipped.dc, Vertex(0, 0, a), Vertex(80, 16, b), GRADIENT_FILL_RECT_H);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 64; ++x) {
      const bool inside =
          x >= 12 && x < 42 && y >= 2 && y < 14 && !(x >= 22 && x < 32 && y >= 5 && y < 8);
      ASSERT_EQ(clipped.At(x, y), inside ? full.At(x, y) : kWhite) << x << "," << y;
    }
}

TEST(Gradient, RowCopyMatchesThePerPixelRuleOnRandomInputs) {
  std::mt19937 rng(20240611);
  std::uniform_int_distribution<int> byte(0, 255), pos(-10, 70);
  TestCanvas c(64, 48);
  for (int round = 0; round < 60; ++round) {
    const COLORREF a = RGB(byte(rng), byte(rng), byte(rng));
    const COLORREF b = RGB(byte(rng), byte(rng), byte(rng));
    int x0 = pos(rng), x1 = pos(rng), y0 = pos(rng), y1 = pos(rng);
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    const bool vertical = round % 2;
    for (Pixel& p : c.bmp->surface.Pixels())
      p = PixelFromColorRef(kWhite);
    Fill(c.dc, Vertex(x0, y0, a), Vertex(x1, y1, b),
         vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 64; ++x) {
        const bool inside = x >= x0 && x < x1 && y >= y0 && y < y1;
        const COLORREF want = !inside    ? kWhite
                              : vertical ? Expected(a, b, y - y0, y1 - y0)
                                         : Expected(a, b, x - x0, x1 - x0);
        ASSERT_EQ(c.At(x, y), want) << "round " << round << " at " << x << "," << y;
      }
  }
}

} // namespace
} // namespace zel::sys
