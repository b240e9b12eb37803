// Extreme arguments: every call must stay defined (the sanitizer build
// checks the arithmetic) and finish quickly, drawing only what is visible.

#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "platform/gdi/Gdi.h"
#include "tests/platform/gdi/TestCanvas.h"

namespace zel::sys {
namespace {

using testing::kBlack;
using testing::kRed;
using testing::kWhite;
using testing::TestCanvas;

TEST(Robustness, ExtremeCoordinatesAreClippedNotOverflowed) {
  TestCanvas c(16, 16);
  TestCanvas src(4, 4, kRed);
  UniqueGdi<HBRUSH> red(CreateSolidBrush(kRed));
  UniqueGdi<HPEN> wide(CreatePen(PS_SOLID, INT_MAX, kRed));
  const int lo = INT_MIN, hi = INT_MAX;
  SetViewportOrgEx(c.dc, hi, lo, nullptr);
  OffsetViewportOrgEx(c.dc, hi, hi, nullptr);
  SetViewportOrgEx(c.dc, 0, 0, nullptr);
  FillRect(c.dc, RECT{lo, lo, hi, hi}, red);
  EXPECT_EQ(c.Count(kRed), 256);
  Rectangle(c.dc, lo, lo, hi, hi);
  Ellipse(c.dc, lo, lo, hi, hi);
  RoundRect(c.dc, lo, lo, hi, hi, lo, hi);
  MoveToEx(c.dc, lo, lo, nullptr);
  LineTo(c.dc, hi, hi);
  const POINT pts[] = {{lo, lo}, {hi, 0}, {0, hi}};
  Polygon(c.dc, pts, 3);
  Polyline(c.dc, pts, 3);
  SelectObject(c.dc, wide);
  LineTo(c.dc, lo, hi);
  SelectObject(c.dc, GetStockObject(BLACK_PEN));
  PatBlt(c.dc, hi, hi, lo, lo, PATCOPY);
  BitBlt(c.dc, lo, lo, hi, hi, src.dc, hi, lo, SRCCOPY);
  StretchBlt(c.dc, lo, lo, hi, hi, src.dc, 0, 0, 4, 4, SRCCOPY);
  StretchBlt(c.dc, 0, 0, 16, 16, src.dc, lo, lo, 1 << 27, 1 << 27, SRCCOPY);
  SetStretchBltMode(c.dc, HALFTONE);
  StretchBlt(c.dc, 0, 0, 16, 16, src.dc, -(1 << 27), 0, 1 << 28, 4, SRCCOPY);
  EXPECT_EQ(c.At(5, 5), kRed) << "a source far larger than its surface reads the edges";
  TRIVERTEX v[2];
  v[0].x = lo;
  v[0].y = lo;
  v[1].x = hi;
  v[1].y = hi;
  const GRADIENT_RECT g{0, 1};
  GradientFill(c.dc, v, 2, &g, 1, GRADIENT_FILL_RECT_H);
  ExcludeClipRect(c.dc, lo, lo, hi, hi);
  IntersectClipRect(c.dc, lo, lo, hi, hi);
  RECT box;
  EXPECT_EQ(GetClipBox(c.dc, &box), NULLREGION);
  UniqueGdi<HRGN> rgn(CreateRectRgn(lo, lo, hi, hi));
  OffsetRgn(rgn, hi, hi);
  OffsetRgn(rgn, hi, hi);
  FrameRgn(c.dc, rgn, red, hi, hi);
  const POINT huge[] = {{lo, lo}, {hi, lo}, {hi, hi}};
  UniqueGdi<HRGN> tri(CreatePolygonRgn(huge, 3, WINDING));
  SUCCEED();
}

TEST(Robustness, ClippedLinesMatchTheUnclippedLineInsideTheClip) {
  std::mt19937 rng(31337);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 300; ++round) {
    TestCanvas full(32, 32), part(32, 32);
    const POINT a{pick(-200, 230), pick(-200, 230)}, b{pick(-200, 230), pick(-200, 230)};
    const RECT clip{pick(0, 31), pick(0, 31), pick(0, 32), pick(0, 32)};
    const int style = round % 3 == 0 ? PS_DOT : PS_SOLID;
    UniqueGdi<HPEN> pen1(CreatePen(style, 1, kBlack)), pen2(CreatePen(style, 1, kBlack));
    SelectObject(full.dc, pen1);
    SelectObject(part.dc, pen2);
    MoveToEx(full.dc, a.x, a.y, nullptr);
    LineTo(full.dc, b.x, b.y);
    IntersectClipRect(part.dc, clip.left, clip.top, clip.right, clip.bottom);
    MoveToEx(part.dc, a.x, a.y, nullptr);
    LineTo(part.dc, b.x, b.y);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        const COLORREF want = PtInRect(clip, POINT{x, y}) ? full.At(x, y) : kWhite;
        ASSERT_EQ(part.At(x, y), want) << "round " << round << " at " << x << "," << y;
      }
    SelectObject(full.dc, GetStockObject(BLACK_PEN));
    SelectObject(part.dc, GetStockObject(BLACK_PEN));
  }
}

} // namespace
} // namespace zel::sys
