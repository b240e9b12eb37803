#include "framework/graphics/GraphUtil.h"

#include <gtest/gtest.h>

#include "PictureOutput.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/ImageList.h"

namespace zel {
namespace {

using sys::RGB;

class GraphUtilTest : public ::testing::Test {
protected:
  GraphUtilTest() : bitmap(24, 24) {
    canvas = bitmap.Canvas();
    canvas->Brush()->SetColor(clSilver);
    canvas->FillRect(sys::RECT{0, 0, 24, 24});
    canvas->Pen()->SetColor(clNavy);
  }
  TColor At(int x, int y) { return canvas->Pixels(x, y); }
  int Count(TColor c) {
    int n = 0;
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x)
        n += At(x, y) == c;
    return n;
  }
  TBitmap bitmap;
  TCanvas* canvas = nullptr;
};

TEST_F(GraphUtilTest, GradientRunsFromStartToEnd) {
  GradientFillCanvas(canvas, clBlack, clWhite, sys::RECT{0, 0, 24, 4}, gdHorizontal);
  EXPECT_EQ(At(0, 0), clBlack);
  EXPECT_GT(sys::GetRValue(sys::COLORREF(At(23, 0))), 240);
  const int middle = sys::GetRValue(sys::COLORREF(At(12, 2)));
  EXPECT_GT(middle, 100);
  EXPECT_LT(middle, 160);
  GradientFillCanvas(canvas, clRed, clBtnFace, sys::RECT{0, 4, 24, 24}, gdVertical);
  EXPECT_EQ(At(5, 4), clRed);
  EXPECT_EQ(At(5, 4), At(20, 4)) << "a vertical gradient is constant along a row";
  EXPECT_EQ(At(0, 3), At(0, 0)) << "nothing outside the rectangle";
}

TEST_F(GraphUtilTest, CheckMarkFollowsItsPointsAndShadow) {
  DrawCheck(canvas, sys::POINT{4, 10}, 2, false);
  EXPECT_EQ(At(4, 10), clNavy);
  EXPECT_EQ(At(5, 11), clNavy);
  EXPECT_EQ(At(8, 10), clNavy);
  EXPECT_EQ(At(10, 7), clNavy);
  EXPECT_EQ(At(7, 13), clSilver);
  EXPECT_EQ(canvas->Pen()->Color(), clNavy);

  DrawCheck(canvas, sys::POINT{4, 10}, 2, true);
  EXPECT_EQ(At(7, 13), ColorToRGB(clBtnHighlight)) << "the shadow lies one pixel down-right";
  EXPECT_EQ(At(4, 10), clNavy) << "the mark is drawn over its shadow";
}

TEST_F(GraphUtilTest, ArrowsAreFilledTrianglesAndKeepTheBrush) {
  DrawArrow(canvas, sdDown, sys::POINT{2, 2}, 3);
  EXPECT_EQ(At(5, 3), clNavy);
  EXPECT_EQ(At(2, 2), clNavy);
  EXPECT_EQ(At(2, 5), clSilver);
  EXPECT_EQ(canvas->Brush()->Color(), clSilver);
  DrawArrow(canvas, sdRight, sys::POINT{12, 12}, 4);
  EXPECT_EQ(At(13, 16), clNavy);
  EXPECT_EQ(At(15, 13), clSilver);
}

TEST_F(GraphUtilTest, ChevronsStayInTheirBox) {
  for (TScrollDirection d : {sdLeft, sdRight, sdUp, sdDown}) {
    canvas->Brush()->SetColor(clSilver);
    canvas->FillRect(sys::RECT{0, 0, 24, 24});
    DrawChevron(canvas, d, sys::POINT{4, 4}, 3);
    const bool across = d == sdUp || d == sdDown;
    const int w = across ? 7 : 8;
    const int h = across ? 8 : 7;
    int inside = 0, outside = 0;
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x) {
        if (At(x, y) != clNavy) continue;
        (x >= 4 && x < 4 + w && y >= 4 && y < 4 + h ? inside : outside)++;
      }
    EXPECT_GE(inside, 16) << "direction " << d;
    EXPECT_EQ(outside, 0) << "direction " << d;
  }
  testing::SavePicture(bitmap.Handle()->surface, "graphutil_chevron_down");
}

} // namespace
} // namespace zel

namespace zel {
namespace {

TEST(ScaleImage, SizesRoundAndColoursSurvive) {
  TBitmap source(24, 24);
  source.Canvas()->Brush()->SetColor(clRed);
  source.Canvas()->FillRect(sys::RECT{0, 0, 24, 24});
  TBitmap dest;
  ScaleImage(&source, &dest, 20.0 / 24.0);
  EXPECT_EQ(dest.Width(), 20);
  EXPECT_EQ(dest.Height(), 20);
  EXPECT_EQ(dest.PixelFormat(), pf24bit);
  EXPECT_EQ(source.PixelFormat(), pf24bit);
  EXPECT_EQ(dest.Canvas()->Pixels(10, 10), clRed);
  ScaleImage(&source, &dest, 33.0 / 32.0);
  EXPECT_EQ(dest.Width(), 25);
  EXPECT_EQ(dest.Canvas()->Pixels(24, 24), clRed);
  ScaleImage(&source, &dest, 0);
  EXPECT_TRUE(dest.Empty());
}

TEST(ScaleImage, ShrinkingAveragesNeighbours) {
  TBitmap source(2, 1);
  source.Canvas()->SetPixels(0, 0, clBlack);
  source.Canvas()->SetPixels(1, 0, clWhite);
  TBitmap dest;
  ScaleImage(&source, &dest, 0.5);
  ASSERT_EQ(dest.Width(), 1);
  const int grey = sys::GetRValue(sys::COLORREF(dest.Canvas()->Pixels(0, 0)));
  EXPECT_GT(grey, 100);
  EXPECT_LT(grey, 160);
}

} // namespace
} // namespace zel

namespace zel {
namespace {

// Every helper side by side, enlarged, for a person to look at.
TEST(GraphUtilGallery, DrawsEveryShape) {
  TBitmap b(96, 40);
  TCanvas* c = b.Canvas();
  GradientFillCanvas(c, clBtnFace, clWhite, sys::RECT{0, 0, 96, 40}, gdVertical);
  c->Pen()->SetColor(clBlack);
  for (TScrollDirection d : {sdLeft, sdRight, sdUp, sdDown}) {
    DrawChevron(c, d, sys::POINT{2 + 12 * int(d), 2}, 3);
    DrawArrow(c, d, sys::POINT{50 + 10 * int(d), 4}, 3);
  }
  DrawCheck(c, sys::POINT{4, 26}, 2, false);
  DrawCheck(c, sys::POINT{20, 26}, 3, true);
  TImageList list(16, 16, nullptr);
  TBitmap glyph(16, 16);
  glyph.Canvas()->Brush()->SetColor(clFuchsia);
  glyph.Canvas()->FillRect(sys::RECT{0, 0, 16, 16});
  glyph.Canvas()->Brush()->SetColor(clNavy);
  glyph.Canvas()->Ellipse(2, 2, 14, 14);
  glyph.Canvas()->Brush()->SetColor(clYellow);
  glyph.Canvas()->FillRect(sys::RECT{6, 6, 10, 10});
  list.AddMasked(&glyph, clFuchsia);
  list.Draw(c, 40, 20, 0, true);
  list.Draw(c, 60, 20, 0, false);
  list.SetBlendColor(clHighlight);
  list.Draw(c, 78, 20, 0, dsSelected, true);
  EXPECT_EQ(c->Pixels(48, 28), clYellow);
  EXPECT_EQ(c->Pixels(40, 20), c->Pixels(39, 20)) << "the glyph's corner is transparent";
  testing::SavePicture(b.Handle()->surface, "graphutil_gallery", 6);
}

} // namespace
} // namespace zel
