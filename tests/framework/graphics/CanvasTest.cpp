#include "framework/graphics/Canvas.h"

#include <gtest/gtest.h>

#include "PictureOutput.h"
#include "framework/graphics/Bitmap.h"

namespace zel {
namespace {

using sys::RGB;

class CanvasTest : public ::testing::Test {
protected:
  CanvasTest() : bitmap(40, 30) {
    canvas = bitmap.Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(sys::RECT{0, 0, 40, 30});
  }
  TColor At(int x, int y) { return canvas->Pixels(x, y); }

  TBitmap bitmap;
  TCanvas* canvas = nullptr;
};

TEST_F(CanvasTest, ShapesUseThePenAndTheBrush) {
  canvas->Pen()->SetColor(clRed);
  canvas->Brush()->SetColor(clBlue);
  canvas->Rectangle(2, 2, 12, 10);
  EXPECT_EQ(At(2, 2), clRed);
  EXPECT_EQ(At(11, 9), clRed) << "the outline lies inside the bounds";
  EXPECT_EQ(At(12, 10), clWhite);
  EXPECT_EQ(At(5, 5), clBlue);

  // A change of pen between calls reaches the context.
  canvas->Pen()->SetColor(clLime);
  canvas->MoveTo(0, 20);
  canvas->LineTo(10, 20);
  EXPECT_EQ(At(0, 20), clLime);
  EXPECT_EQ(At(9, 20), clLime);
  EXPECT_EQ(At(10, 20), clWhite) << "the end point is not drawn";
  EXPECT_EQ(canvas->PenPos(), (sys::POINT{10, 20}));

  canvas->Brush()->SetColor(clYellow);
  canvas->FrameRect(sys::RECT{20, 2, 30, 8});
  EXPECT_EQ(At(20, 2), clYellow);
  EXPECT_EQ(At(25, 5), clWhite);

  canvas->Brush()->SetStyle(bsClear);
  canvas->Pen()->SetColor(clBlack);
  canvas->Rectangle(20, 12, 30, 18);
  EXPECT_EQ(At(20, 12), clBlack);
  EXPECT_EQ(At(25, 15), clWhite) << "a clear brush leaves the inside";

  canvas->SetPixels(39, 29, clBtnShadow);
  EXPECT_EQ(At(39, 29), TColor(RGB(182, 182, 182)));
  EXPECT_EQ(At(40, 0), clNone);
  testing::SavePicture(bitmap.Handle()->surface, "canvas_shapes");
}

TEST_F(CanvasTest, PolygonsAndEllipsesFill) {
  canvas->Pen()->SetColor(clNavy);
  canvas->Brush()->SetColor(clAqua);
  const sys::POINT triangle[] = {{5, 5}, {25, 5}, {15, 25}};
  canvas->Polygon(triangle);
  EXPECT_EQ(At(15, 10), clAqua);
  EXPECT_EQ(At(5, 5), clNavy);
  EXPECT_EQ(At(2, 25), clWhite);
  canvas->Ellipse(28, 2, 38, 12);
  EXPECT_EQ(At(33, 7), clAqua);
  EXPECT_EQ(At(28, 2), clWhite) << "the corner of the bounds is outside the ellipse";
  const sys::POINT line[] = {{0, 28}, {39, 28}};
  canvas->Polyline(line);
  EXPECT_EQ(At(20, 28), clNavy);
}

TEST_F(CanvasTest, TextUsesTheFontColourAndMovesThePen) {
  canvas->Font()->SetColor(clBlack);
  canvas->Brush()->SetColor(clYellow);
  const sys::SIZE extent = canvas->TextExtent("Wg");
  EXPECT_GT(extent.cx, 0);
  EXPECT_GT(extent.cy, 0);
  EXPECT_EQ(canvas->TextWidth("Wg"), extent.cx);
  EXPECT_EQ(canvas->TextHeight("Wg"), extent.cy);

  canvas->TextOut(1, 1, "Wg");
  EXPECT_EQ(canvas->PenPos(), (sys::POINT{1 + extent.cx, 1}));
  EXPECT_EQ(At(1, 1), clYellow) << "the opaque brush fills the text cell";
  int dark = 0;
  for (int y = 1; y < 1 + extent.cy; ++y)
    for (int x = 1; x < 1 + extent.cx; ++x)
      if (sys::GetRValue(sys::COLORREF(At(x, y))) < 100) ++dark;
  EXPECT_GT(dark, 5);

  // A bigger font measures wider: the font object was made anew.
  canvas->Font()->SetSize(20);
  EXPECT_GT(canvas->TextWidth("Wg"), extent.cx);

  canvas->Brush()->SetStyle(bsClear);
  canvas->TextOut(1, 15, "x");
  EXPECT_EQ(At(1, 15), clWhite) << "a clear brush leaves the background";
  testing::SavePicture(bitmap.Handle()->surface, "canvas_text");
}

TEST_F(CanvasTest, TextRectClipsAndCalculates) {
  canvas->Brush()->SetColor(clSilver);
  canvas->TextRect(sys::RECT{0, 0, 10, 10}, 0, 0, "WWWWWWWW");
  EXPECT_EQ(At(10, 2), clWhite) << "nothing is drawn outside the rectangle";
  sys::RECT r{0, 0, 400, 0};
  const int height = canvas->TextRect(r, "Wide text", sys::DT_CALCRECT | sys::DT_SINGLELINE);
  EXPECT_GT(height, 0);
  EXPECT_EQ(r.Width(), canvas->TextWidth("Wide text"));
}

TEST_F(CanvasTest, ChangeEventsSurroundEveryDrawingCall) {
  int changing = 0, changed = 0;
  canvas->OnChanging = [&](TObject*) { ++changing; };
  canvas->OnChange = [&](TObject*) {
    EXPECT_EQ(changing, changed + 1);
    ++changed;
  };
  canvas->FillRect(sys::RECT{0, 0, 2, 2});
  canvas->LineTo(5, 5);
  canvas->TextOut(0, 0, "a");
  EXPECT_EQ(changing, 3);
  EXPECT_EQ(changed, 3);
  canvas->TextExtent("measuring draws nothing");
  canvas->Pixels(0, 0);
  EXPECT_EQ(changed, 3);
}

TEST_F(CanvasTest, CopyRectCopiesAndStretches) {
  canvas->Brush()->SetColor(clRed);
  canvas->FillRect(sys::RECT{0, 0, 4, 4});
  TBitmap target(20, 20);
  target.Canvas()->CopyRect(sys::RECT{0, 0, 4, 4}, canvas, sys::RECT{0, 0, 4, 4});
  EXPECT_EQ(target.Canvas()->Pixels(3, 3), clRed);
  EXPECT_EQ(target.Canvas()->Pixels(4, 4), clWhite);
  target.Canvas()->CopyRect(sys::RECT{8, 8, 16, 16}, canvas, sys::RECT{0, 0, 4, 4});
  EXPECT_EQ(target.Canvas()->Pixels(15, 15), clRed);
  EXPECT_EQ(target.Canvas()->Pixels(16, 16), clWhite);
}

TEST(Canvas, WithoutAContextRefusesToDraw) {
  TCanvas canvas;
  EXPECT_FALSE(canvas.HandleAllocated());
  EXPECT_THROW(canvas.FillRect(sys::RECT{0, 0, 1, 1}), EInvalidOperation);
  canvas.Lock();
  EXPECT_FALSE(canvas.TryLock());
  canvas.Unlock();
  EXPECT_TRUE(canvas.TryLock());
  EXPECT_EQ(canvas.LockCount(), 1);
}

TEST(Canvas, GivesItsObjectsBackToAContextItLetsGo) {
  sys::HDC dc = sys::CreateCompatibleDC(nullptr);
  sys::HBITMAP bmp = sys::CreateBitmap(8, 8, 32);
  sys::HGDIOBJ old = sys::SelectObject(dc, bmp);
  {
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Brush()->SetColor(clRed);
    canvas.Pen()->SetColor(clBlue);
    canvas.Rectangle(0, 0, 8, 8);
    canvas.TextExtent("x");
    EXPECT_TRUE(canvas.State().Contains(csPenValid));
    canvas.SetHandle(nullptr);
    EXPECT_NE(sys::GetCurrentObject(dc, sys::GdiKind::Pen), canvas.Pen()->Handle());
    EXPECT_NE(sys::GetCurrentObject(dc, sys::GdiKind::Brush), canvas.Brush()->Handle());
  }
  EXPECT_EQ(sys::ColorRefFromPixel(bmp->surface.At(3, 3)), RGB(255, 0, 0));
  sys::SelectObject(dc, old);
  sys::DeleteObject(bmp);
  sys::DeleteDC(dc);
}

} // namespace
} // namespace zel

namespace zel {
namespace {

TEST(Canvas, FocusRectanglesInvertDotsAndUndoThemselves) {
  TBitmap b(10, 6);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(sys::RECT{0, 0, 10, 6});
  c->DrawFocusRect(sys::RECT{1, 1, 9, 5});
  EXPECT_EQ(c->Pixels(1, 1), clBlack);
  EXPECT_EQ(c->Pixels(2, 1), clWhite);
  EXPECT_EQ(c->Pixels(3, 1), clBlack);
  EXPECT_EQ(c->Pixels(4, 3), clWhite) << "the inside is untouched";
  EXPECT_EQ(c->Pixels(0, 0), clWhite);
  c->DrawFocusRect(sys::RECT{1, 1, 9, 5});
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 10; ++x)
      EXPECT_EQ(c->Pixels(x, y), clWhite) << x << "," << y;
}

} // namespace
} // namespace zel
