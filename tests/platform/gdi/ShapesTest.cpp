#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/gdi/Gdi.h"
#include "tests/platform/gdi/TestCanvas.h"

namespace zel::sys {
namespace {

using testing::kBlack;
using testing::kBlue;
using testing::kRed;
using testing::kWhite;
using testing::TestCanvas;

// Renders the canvas as rows of '#' (pen), 'o' (brush) and '.' (other).
std::string Picture(const TestCanvas& c, int w, int h, COLORREF pen, COLORREF brush = CLR_INVALID) {
  std::string s;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const COLORREF p = c.At(x, y);
      s += p == pen ? '#' : p == brush ? 'o' : '.';
    }
    s += '\n';
  }
  return s;
}

TEST(Lines, EndPointIsLeftOutInEveryDirection) {
  TestCanvas c(9, 9);
  UniqueGdi<HPEN> red(CreatePen(PS_SOLID, 1, kRed));
  SelectObject(c.dc, red);
  const POINT ends[] = {{8, 4}, {0, 4}, {4, 8}, {4, 0}, {8, 8}, {0, 0}, {8, 0}, {0, 8}};
  for (POINT e : ends) {
    for (Pixel& p : c.bmp->surface.Pixels())
      p = PixelFromColorRef(kWhite);
    MoveToEx(c.dc, 4, 4, nullptr);
    LineTo(c.dc, e.x, e.y);
    EXPECT_EQ(c.At(4, 4), kRed);
    EXPECT_EQ(c.At(e.x, e.y), kWhite) << e.x << "," << e.y;
    EXPECT_EQ(c.Count(kRed), 4) << e.x << "," << e.y;
    POINT pos;
    MoveToEx(c.dc, 0, 0, &pos);
    EXPECT_EQ(pos, e) << "LineTo moves the current position to the end";
  }
  // A zero-length line draws nothing.
  for (Pixel& p : c.bmp->surface.Pixels())
    p = PixelFromColorRef(kWhite);
  MoveToEx(c.dc, 3, 3, nullptr);
  LineTo(c.dc, 3, 3);
  EXPECT_EQ(c.Count(kRed), 0);
  SelectObject(c.dc, GetStockObject(BLACK_PEN));
}

TEST(Lines, ShallowSlopeStepsEvenly) {
  TestCanvas c(12, 4);
  MoveToEx(c.dc, 0, 0, nullptr);
  LineTo(c.dc, 10, 2); // black default pen
  EXPECT_EQ(Picture(c, 11, 3, kBlack), "###........\n"
                                       "...#####...\n"
                                       "........##.\n");
}

TEST(Lines, PolylineJoinsSegmentsAndSkipsOnlyTheLastPoint) {
  TestCanvas c(6, 6);
  const POINT pts[] = {{1, 1}, {4, 1}, {4, 4}, {1, 4}};
  MoveToEx(c.dc, 5, 5, nullptr);
  EXPECT_EQ(Polyline(c.dc, pts, 4), 1);
  EXPECT_EQ(Picture(c, 6, 6, kBlack), "......\n"
                                      ".####.\n"
                                      "....#.\n"
                                      "....#.\n"
                                      "..###.\n"
                                      "......\n");
  POINT pos;
  MoveToEx(c.dc, 0, 0, &pos);
  EXPECT_EQ(pos, (POINT{5, 5})) << "Polyline leaves the current position alone";
  EXPECT_EQ(Polyline(c.dc, pts, 1), 0);
}

TEST(Lines, WidePensAreSymmetricAndCoverTheirWidth) {
  TestCanvas c(16, 16);
  UniqueGdi<HPEN> wide(CreatePen(PS_SOLID, 2, kRed));
  SelectObject(c.dc, wide);
  MoveToEx(c.dc, 2, 8, nullptr);
  LineTo(c.dc, 13, 8);
  for (int x = 3; x < 13; ++x) {
    EXPECT_EQ(c.At(x, 7), kRed) << x;
    EXPECT_EQ(c.At(x, 8), kRed) << x;
    EXPECT_EQ(c.At(x, 6), kWhite) << x;
    EXPECT_EQ(c.At(x, 9), kWhite) << x;
  }
  // A close cross: two diagonals of a 2-pixel pen mirror each other.
  for (Pixel& p : c.bmp->surface.Pixels())
    p = PixelFromColorRef(kWhite);
  MoveToEx(c.dc, 4, 4, nullptr);
  LineTo(c.dc, 12, 12);
  MoveToEx(c.dc, 12, 4, nullptr);
  LineTo(c.dc, 4, 12);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      ASSERT_EQ(c.At(x, y), c.At(15 - x, y)) << "left-right at " << x << "," << y;
      ASSERT_EQ(c.At(x, y), c.At(x, 15 - y)) << "top-bottom at " << x << "," << y;
    }
  EXPECT_EQ(c.At(8, 8), kRed);
  EXPECT_EQ(c.At(7, 7), kRed);
  EXPECT_EQ(c.At(8, 5), kWhite);
  c.Save("close_cross");
  // Three pixels wide: exactly three rows.
  for (Pixel& p : c.bmp->surface.Pixels())
    p = PixelFromColorRef(kWhite);
  UniqueGdi<HPEN> three(CreatePen(PS_SOLID, 3, kBlue));
  SelectObject(c.dc, three);
  MoveToEx(c.dc, 5, 2, nullptr);
  LineTo(c.dc, 5, 13);
  for (int y = 3; y < 13; ++y) {
    EXPECT_EQ(c.At(3, y), kWhite);
    EXPECT_EQ(c.At(4, y), kBlue);
    EXPECT_EQ(c.At(6, y), kBlue);
    EXPECT_EQ(c.At(7, y), kWhite);
  }
  SelectObject(c.dc, GetStockObject(BLACK_PEN));
}

TEST(Lines, StyledAndNullPens) {
  TestCanvas c(30, 3);
  UniqueGdi<HPEN> dot(CreatePen(PS_DOT, 1, kRed));
  SelectObject(c.dc, dot);
  SetBkMode(c.dc, TRANSPARENT);
  MoveToEx(c.dc, 0, 1, nullptr);
  LineTo(c.dc, 30, 1);
  EXPECT_EQ(c.Count(kRed), 15);
  EXPECT_EQ(c.At(0, 1), kRed);
  EXPECT_EQ(c.At(3, 1), kWhite);
  SetBkMode(c.dc, OPAQUE);
  SetBkColor(c.dc, kBlue);
  MoveToEx(c.dc, 0, 0, nullptr);
  LineTo(c.dc, 30, 0);
  EXPECT_EQ(c.At(3, 0), kBlue) << "opaque gaps show the background colour";
  SelectObject(c.dc, GetStockObject(NULL_PEN));
  MoveToEx(c.dc, 0, 2, nullptr);
  LineTo(c.dc, 30, 2);
  EXPECT_EQ(c.At(5, 2), kWhite);
}

TEST(Rectangles, OutlineInsideBoundsBrushInside) {
  TestCanvas c(8, 7);
  UniqueGdi<HPEN> pen(CreatePen(PS_SOLID, 1, kRed));
  UniqueGdi<HBRUSH> brush(CreateSolidBrush(kBlue));
  SelectObject(c.dc, pen);
  SelectObject(c.dc, brush);
  Rectangle(c.dc, 1, 1, 6, 5);
  EXPECT_EQ(Picture(c, 8, 7, kRed, kBlue), "........\n"
                                           ".#####..\n"
                                           ".#ooo#..\n"
                                           ".#ooo#..\n"
                                           ".#####..\n"
                                           "........\n"
                                           "........\n");
  // Reversed corners draw the same rectangle.
  const std::string before = Picture(c, 8, 7, kRed, kBlue);
  Rectangle(c.dc, 6, 5, 1, 1);
  EXPECT_EQ(Picture(c, 8, 7, kRed, kBlue), before);
  SelectObject(c.dc, GetStockObject(BLACK_PEN));
  SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
}

TEST(Rectangles, WidePenNullPenAndNullBrush) {
  TestCanvas c(9, 9);
  UniqueGdi<HPEN> pen(CreatePen(PS_SOLID, 2, kRed));
  UniqueGdi<HBRUSH> brush(CreateSolidBrush(kBlue));
  SelectObject(c.dc, pen);
  SelectObject(c.dc, brush);
  Rectangle(c.dc, 0, 0, 7, 7);
  EXPECT_EQ(Picture(c, 8, 8, kRed, kBlue), "#######.\n"
                                           "#######.\n"
                                           "##ooo##.\n"
                                           "##ooo##.\n"
                                           "##ooo##.\n"
                                           "#######.\n"
                                           "#######.\n"
                                           "........\n");
  // A clear brush leaves the inside alone.
  SelectObject(c.dc, GetStockObject(NULL_BRUSH));
  SelectObject(c.dc, GetStockObject(BLACK_PEN));
  Rectangle(c.dc, 1, 1, 6, 6);
  EXPECT_EQ(c.At(3, 3), kBlue);
  EXPECT_EQ(c.At(1, 1), kBlack);
  EXPECT_EQ(c.At(5, 5), kBlack);
  // Without a pen the fill stops one short of the right and bottom edges.
  for (Pixel& p : c.bmp->surface.Pixels())
    p = PixelFromColorRef(kWhite);
  SelectObject(c.dc, GetStockObject(NULL_PEN));
  SelectObject(c.dc, brush);
  Rectangle(c.dc, 2, 2, 6, 6);
  EXPECT_EQ(c.Count(kBlue), 9);
  EXPECT_EQ(c.At(2, 2), kBlue);
  EXPECT_EQ(c.At(4, 4), kBlue);
  EXPECT_EQ(c.At(5, 5), kWhite);
  SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
}

TEST(Rectangles, FrameRectAndInvertRect) {
  TestCanvas c(6, 6);
  UniqueGdi<HBRUSH> red(CreateSolidBrush(kRed));
  FrameRect(c.dc, RECT{1, 1, 5, 4}, red);
  EXPECT_EQ(Picture(c, 6, 6, kRed), "......\n"
                                    ".####.\n"
                                    ".#..#.\n"
                                    ".####.\n"
                                    "......\n"
                                    "......\n");
  FrameRect(c.dc, RECT{3, 3, 3, 5}, red); // empty: nothing
  EXPECT_EQ(c.Count(kRed), 10);
  InvertRect(c.dc, RECT{0, 0, 2, 2});
  EXPECT_EQ(c.At(0, 0), kBlack);
  EXPECT_EQ(c.At(1, 1), RGB(0, 255, 255));
  InvertRect(c.dc, RECT{0, 0, 2, 2});
  EXPECT_EQ(c.At(1, 1), kRed) << "inverting twice restores";
}

TEST(Shapes, EllipseStaysInsideItsBoundsAndIsSymmetric) {
  TestCanvas c(40, 30);
  UniqueGdi<HBRUSH> brush(CreateSolidBrush(kBlue));
  SelectObject(c.dc, brush);
  Ellipse(c.dc, 5, 4, 35, 26);
  int minX = 99, maxX = -1, minY = 99, maxY = -1;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      if (c.At(x, y) == kWhite) continue;
      minX = std::min(minX, x);
      maxX = std::max(maxX, x);
      minY = std::min(minY, y);
      maxY = std::max(maxY, y);
      ASSERT_EQ(c.At(x, y), c.At(39 - x, y)) << x << "," << y;
      ASSERT_EQ(c.At(x, y), c.At(x, 29 - y)) << x << "," << y;
    }
  EXPECT_EQ(minX, 5);
  EXPECT_EQ(maxX, 34);
  EXPECT_EQ(minY, 4);
  EXPECT_EQ(maxY, 25);
  EXPECT_EQ(c.At(20, 15), kBlue);
  EXPECT_EQ(c.At(20, 4), kBlack) << "outline at the top";
  EXPECT_EQ(c.At(5, 15), kBlack) << "outline at the left";
  EXPECT_EQ(c.At(5, 4), kWhite) << "corners stay clear";
  // The outline has no gaps: every outline pixel has an outline neighbour
  // on two sides, and the inside never touches the outside.
  for (int y = 1; y < 29; ++y)
    for (int x = 1; x < 39; ++x)
      if (c.At(x, y) == kBlue) {
        ASSERT_NE(c.At(x - 1, y), kWhite);
        ASSERT_NE(c.At(x + 1, y), kWhite);
        ASSERT_NE(c.At(x, y - 1), kWhite);
        ASSERT_NE(c.At(x, y + 1), kWhite);
      }
  RoundRect(c.dc, 0, 0, 4, 4, 0, 0); // square corners: a plain rectangle
  EXPECT_EQ(c.At(0, 0), kBlack);
  EXPECT_EQ(c.At(2, 2), kBlue);
  c.Save("ellipse");
  SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
}

TEST(Shapes, PolygonFillModesAndOutline) {
  TestCanvas c(100, 100);
  UniqueGdi<HBRUSH> brush(CreateSolidBrush(kBlue));
  UniqueGdi<HPEN> pen(CreatePen(PS_SOLID, 1, kRed));
  SelectObject(c.dc, brush);
  SelectObject(c.dc, pen);
  const POINT star[] = {{50, 0}, {80, 95}, {2, 36}, {98, 36}, {20, 95}};
  Polygon(c.dc, star, 5);
  EXPECT_EQ(c.At(50, 50), kWhite) << "alternate fill leaves the centre";
  EXPECT_EQ(c.At(50, 20), kBlue);
  for (const POINT& p : star)
    EXPECT_EQ(c.At(p.x, p.y), kRed) << "closed outline hits every vertex";
  c.Save("star_alternate");
  EXPECT_EQ(SetPolyFillMode(c.dc, WINDING), ALTERNATE);
  Polygon(c.dc, star, 5);
  EXPECT_EQ(c.At(50, 50), kBlue);
  c.Save("star_winding");
  // The filled triangle of a small arrow: brush and pen of one colour.
  TestCanvas a(8, 8);
  UniqueGdi<HBRUSH> black(CreateSolidBrush(kBlack));
  SelectObject(a.dc, black);
  const POINT down[] = {{2, 2}, {4, 4}, {6, 2}};
  Polygon(a.dc, down, 3);
  EXPECT_EQ(Picture(a, 8, 6, kBlack), "........\n"
                                      "........\n"
                                      "..#####.\n"
                                      "...###..\n"
                                      "....#...\n"
                                      "........\n");
  SelectObject(a.dc, GetStockObject(WHITE_BRUSH));
  SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
  SelectObject(c.dc, GetStockObject(BLACK_PEN));
}

TEST(Shapes, PixelsAndTheClip) {
  TestCanvas c(5, 5);
  EXPECT_EQ(SetPixel(c.dc, 2, 3, kRed), kRed);
  EXPECT_EQ(GetPixel(c.dc, 2, 3), kRed);
  EXPECT_EQ(c.Raw(2, 3), 0x00FF0000u);
  EXPECT_EQ(GetPixel(c.dc, 5, 0), CLR_INVALID);
  EXPECT_EQ(SetPixel(c.dc, -1, 0, kRed), CLR_INVALID);
  ExcludeClipRect(c.dc, 0, 0, 1, 1);
  EXPECT_EQ(GetPixel(c.dc, 0, 0), CLR_INVALID);
  EXPECT_EQ(SetPixel(c.dc, 0, 0, kRed), CLR_INVALID);
  EXPECT_EQ(c.At(0, 0), kWhite);
  SetViewportOrgEx(c.dc, 1, 1, nullptr);
  EXPECT_EQ(GetPixel(c.dc, 1, 2), kRed);
  // Lines and shapes are clipped too.
  MoveToEx(c.dc, -1, -1, nullptr);
  LineTo(c.dc, 4, 4);
  EXPECT_EQ(c.At(0, 0), kWhite);
  EXPECT_EQ(c.At(1, 1), kBlack);
  EXPECT_EQ(c.At(4, 4), kBlack);
}

TEST(Shapes, NothingHappensWithoutATarget) {
  DC dc; // no target at all
  EXPECT_EQ(Rectangle(&dc, 0, 0, 5, 5), 1);
  EXPECT_EQ(LineTo(&dc, 5, 5), 1);
  EXPECT_EQ(Ellipse(&dc, 0, 0, 5, 5), 1);
  EXPECT_EQ(InvertRect(&dc, RECT{0, 0, 2, 2}), 1);
  EXPECT_EQ(GetPixel(&dc, 0, 0), CLR_INVALID);
  EXPECT_EQ(Rectangle(nullptr, 0, 0, 5, 5), 0);
}

} // namespace
} // namespace zel::sys
