// The control bar: bands in rows, band info, moving bands by their grips,
// AutoSize, and the gradient background.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/graphics/Bitmap.h"
#include "framework/stdctrls/ControlBar.h"
#include "framework/stdctrls/Panel.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"

namespace zel {
namespace {

class ControlBarTest : public ::testing::Test {
protected:
  void SetUp() override {
    screen = &sys::UseHeadlessBackend();
    app = std::make_unique<TApplication>();
    form = app->CreateForm<TForm>();
    form->SetBounds(40, 40, 420, 260);
    bar = new TControlBar(form);
    bar->SetParent(form);
    bar->SetAlign(alTop);
    bar->SetBevelKind(bkNone);
    bar->SetRowSize(30);
    bar->SetAutoSize(true);
  }
  void TearDown() override { app.reset(); }

  TPanel* Band(int left, int top, int width, int height = 22) {
    auto* p = new TPanel(form);
    p->SetBounds(left, top, width, height);
    p->SetParent(bar);
    return p;
  }
  sys::POINT ScreenOf(int x, int y) { return bar->ClientToScreen({x, y}); }
  void DragGrip(TControl* band, int dx, int dy) {
    const sys::RECT r = bar->BandRect(band);
    const sys::POINT from = ScreenOf(r.left + 4, r.top + 8);
    screen->Drag(from.x, from.y, from.x + dx, from.y + dy, 6);
  }

  sys::ScopedVirtualClock clock{10000};
  sys::HeadlessBackend* screen = nullptr;
  std::unique_ptr<TApplication> app;
  TForm* form = nullptr;
  TControlBar* bar = nullptr;
};

TEST_F(ControlBarTest, BandsFillRowsLeftToRightAndEmptyRowsCloseUp) {
  TPanel* a = Band(0, 0, 100);
  TPanel* b = Band(0, 0, 80);
  TPanel* c = Band(0, 70, 60); // below an empty row: it closes up to row 1
  EXPECT_EQ(bar->RowCount(), 2);
  EXPECT_EQ(bar->BandRow(a), 0);
  EXPECT_EQ(bar->BandRow(b), 0);
  EXPECT_EQ(bar->BandRow(c), 1);
  // Band = grip inset 11 + control + 2; the control sits 2 below the row top.
  EXPECT_EQ(bar->BandRect(a).left, 0);
  EXPECT_EQ(a->Left(), 11);
  EXPECT_EQ(a->Top(), 2);
  EXPECT_EQ(bar->BandRect(b).left, 113);
  EXPECT_EQ(b->Left(), 124);
  EXPECT_EQ(c->Top(), 32);
  // AutoSize: two rows of 30 pixels.
  EXPECT_EQ(bar->Height(), 60);

  delete c;
  EXPECT_EQ(bar->RowCount(), 1);
  EXPECT_EQ(bar->Height(), 30);
  b->SetVisible(false);
  EXPECT_EQ(bar->BandRow(b), -1);
  bar->SetRowSize(40);
  EXPECT_EQ(bar->Height(), 40);
}

TEST_F(ControlBarTest, ABandThatDoesNotFitBehindAnotherOpensARowBelow) {
  const int w = bar->ClientWidth();
  TPanel* a = Band(0, 0, w / 2);
  TPanel* b = Band(0, 0, w / 2);
  EXPECT_EQ(bar->RowCount(), 2);
  EXPECT_EQ(bar->BandRow(a), 0);
  EXPECT_EQ(bar->BandRow(b), 1);
  EXPECT_EQ(bar->BandRect(b).left, 0);
  // A band wider than the bar goes alone into a row of its own.
  TPanel* wide = Band(0, 0, w + 50);
  EXPECT_EQ(bar->RowCount(), 3);
  EXPECT_EQ(bar->BandRect(wide).left, 0);
  EXPECT_EQ(bar->Height(), 90);
}

TEST_F(ControlBarTest, BandInfoSetsInsetsPreferredSizeAndRowCount) {
  TPanel* menu = nullptr;
  bar->OnBandInfo = [&](TObject* sender, TControl* control, sys::RECT& insets, int& preferred,
                        int& rows) {
    EXPECT_EQ(sender, bar);
    if (control != menu) return;
    preferred = bar->ClientWidth() - (insets.left + insets.right);
    rows = 1;
  };
  menu = Band(0, 0, 50);
  TPanel* tall = Band(0, 40, 40, 50); // needs two rows of 30
  sys::RECT insets;
  int preferred = 0, rows = 0;
  bar->GetBandInfo(menu, insets, preferred, rows);
  EXPECT_EQ(insets.left, 11);
  EXPECT_EQ(insets.top, 2);
  EXPECT_EQ(preferred, bar->ClientWidth() - 13);
  EXPECT_EQ(rows, 1);
  EXPECT_EQ(menu->Width(), bar->ClientWidth() - 13);
  EXPECT_EQ(bar->BandRect(menu).right, bar->ClientWidth());
  bar->GetBandInfo(tall, insets, preferred, rows);
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(bar->BandRow(tall), 1);
  EXPECT_EQ(bar->Height(), 30 + 60);
}

TEST_F(ControlBarTest, GripsMoveBandsAlongARowAndBetweenRows) {
  form->Show();
  TPanel* a = Band(0, 0, 100);
  TPanel* b = Band(0, 0, 80);
  ASSERT_EQ(bar->RowCount(), 1);

  // Along the row.
  const int left = bar->BandRect(b).left;
  DragGrip(b, 60, 0);
  EXPECT_EQ(bar->BandRect(b).left, left + 60);
  EXPECT_EQ(bar->BandRow(b), 0);

  // Below the last row: a new row.
  DragGrip(b, -60, 30);
  EXPECT_EQ(bar->RowCount(), 2);
  EXPECT_EQ(bar->BandRow(b), 1);
  EXPECT_EQ(bar->Height(), 60);

  // Into the first row ahead of the other band.
  DragGrip(b, -bar->BandRect(b).left, -30);
  EXPECT_EQ(bar->RowCount(), 1);
  EXPECT_EQ(bar->BandRect(b).left, 0);
  EXPECT_EQ(bar->BandRect(a).left, bar->BandRect(b).right);

  // A press outside every grip moves nothing.
  const sys::POINT inside = ScreenOf(bar->BandRect(a).right - 3, 10);
  screen->Drag(inside.x, inside.y, inside.x + 40, inside.y + 30, 4);
  EXPECT_EQ(bar->RowCount(), 1);
}

// A band dragged onto another row lands in it as soon as the pointer is
// over that row, up as well as down; where the row has no room the bands
// already there make way towards the row the drag came from, so a band a
// row swaps with the band of the other row.  Along a row the band passes
// the others, and bands it pushed aside come back when it moves on.
TEST_F(ControlBarTest, ADraggedBandTakesTheRowUnderThePointer) {
  const int w = bar->ClientWidth();
  const int half = w / 2 - 13; // two such bands fill a row
  TPanel* full = nullptr;      // as wide as the bar, as a main menu is
  bar->OnBandInfo = [&](TObject*, TControl* control, sys::RECT& insets, int& preferred, int&) {
    if (control == full) preferred = bar->ClientWidth() - (insets.left + insets.right);
  };
  form->Show();
  struct Case {
    const char* name;
    int widthA, rowA, widthB, rowB; // width 0: as wide as the bar
    bool dragA;                     // else B is dragged
    sys::POINT via, to;             // pointer moves from the grip
    int endRowA, endRowB;
    bool aFirst; // in one row: A left of B
  };
  const Case cases[] = {
      {"up onto a full row", 0, 0, 80, 1, false, {0, 0}, {60, -30}, 1, 0, false},
      {"down onto a full row", 80, 0, 0, 1, true, {0, 0}, {60, 30}, 1, 0, false},
      {"up into a row with room", 100, 0, 80, 1, false, {0, 0}, {200, -30}, 0, 0, true},
      {"down into a row with room", 100, 0, 80, 1, true, {0, 0}, {200, 30}, 0, 0, false},
      {"along a full row", half, 0, half, 0, true, {0, 0}, {w / 2 + 20, 0}, 0, 0, false},
      {"pushing the other and back", 100, 0, 80, 0, true, {60, 0}, {0, 0}, 0, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TPanel* a = Band(0, 30 * c.rowA, c.widthA ? c.widthA : 50);
    TPanel* b = Band(0, 30 * c.rowB, c.widthB ? c.widthB : 50);
    full = !c.widthA ? a : !c.widthB ? b : nullptr;
    bar->Realign();
    ASSERT_EQ(bar->BandRow(a), c.rowA);
    ASSERT_EQ(bar->BandRow(b), c.rowB);
    const sys::RECT otherWas = bar->BandRect(c.dragA ? b : a);
    const sys::RECT r = bar->BandRect(c.dragA ? a : b);
    const sys::POINT from = ScreenOf(r.left + 4, r.top + 8);
    clock.Advance(1000);
    screen->Press(from.x, from.y);
    screen->MoveTo(from.x + c.via.x / 2, from.y + c.via.y / 2);
    screen->MoveTo(from.x + c.via.x, from.y + c.via.y);
    screen->MoveTo(from.x + c.to.x, from.y + c.to.y);
    // In the row under the pointer before the release.
    EXPECT_EQ(bar->BandRow(c.dragA ? a : b), c.dragA ? c.endRowA : c.endRowB);
    screen->Release(from.x + c.to.x, from.y + c.to.y);
    app->ProcessMessages();
    EXPECT_EQ(bar->BandRow(a), c.endRowA);
    EXPECT_EQ(bar->BandRow(b), c.endRowB);
    EXPECT_EQ(bar->RowCount(), std::max(c.endRowA, c.endRowB) + 1);
    const sys::RECT ra = bar->BandRect(a), rb = bar->BandRect(b);
    if (c.endRowA == c.endRowB) {
      EXPECT_EQ(ra.left < rb.left, c.aFirst);
      EXPECT_TRUE(ra.right <= rb.left || rb.right <= ra.left);
    }
    EXPECT_LE(std::max(ra.right, rb.right), bar->ClientWidth());
    if (c.via.x > c.to.x) {
      EXPECT_EQ(bar->BandRect(c.dragA ? b : a), otherWas);
    }
    full = nullptr;
    delete a;
    delete b;
  }
}

TEST_F(ControlBarTest, AControlMovedByTheProgramTakesTheRowOfItsNewPlace) {
  TPanel* a = Band(0, 0, 100);
  TPanel* b = Band(0, 0, 80);
  b->SetBounds(11, 45, 80, 22);
  EXPECT_EQ(bar->BandRow(b), 1);
  EXPECT_EQ(bar->BandRow(a), 0);
  bar->DisableAlign();
  b->SetBounds(200, 2, 80, 22);
  EXPECT_EQ(bar->BandRow(b), 1); // not yet laid out
  bar->EnableAlign();
  EXPECT_EQ(bar->BandRow(b), 0);
  EXPECT_EQ(bar->BandRect(b).left, 189);
}

// Bands put one after the other, each where the other stands (a saved
// arrangement read back band by band), end where they were put: the band
// moved last takes the place, the one standing there makes way.
TEST_F(ControlBarTest, BandsMovedOntoEachOthersPlacesSwapRows) {
  const int w = bar->ClientWidth();
  TPanel* a = Band(0, 0, w - 40);
  TPanel* b = Band(0, 0, w - 60);
  ASSERT_EQ(bar->BandRow(a), 0);
  ASSERT_EQ(bar->BandRow(b), 1);
  const sys::RECT placeA = a->BoundsRect(), placeB = b->BoundsRect();
  a->SetBounds(placeB.left, placeB.top, a->Width(), a->Height());
  b->SetBounds(placeA.left, placeA.top, b->Width(), b->Height());
  EXPECT_EQ(bar->BandRow(b), 0);
  EXPECT_EQ(bar->BandRow(a), 1);
  EXPECT_EQ(b->Top(), placeA.top);
  EXPECT_EQ(a->Top(), placeB.top);
}

// A band put further right than fits stays inside the bar: alone in its row
// it slides left until its right edge meets the bar's (a band as wide as the
// bar, like a main menu, comes to the left edge); behind another band it
// slides left only as far as that band, and where even that does not fit it
// opens a row below.  Also after the bar's width changes under it.
TEST_F(ControlBarTest, ABandPutPastTheRightEdgeStaysInsideTheBar) {
  TPanel* menu = nullptr;
  bar->OnBandInfo = [&](TObject*, TControl* control, sys::RECT& insets, int& preferred, int&) {
    if (control == menu) preferred = bar->ClientWidth() - (insets.left + insets.right);
  };
  const int w = bar->ClientWidth();
  struct Case {
    const char* name;
    int width;    // of the control; 0: as wide as the bar (the band info)
    int left;     // where the program puts it, in row 0
    bool behind;  // another band of 100 stands at the row's start
    int bandLeft; // where its band ends up
    int row;
  };
  const Case cases[] = {
      {"full width, far right", 0, w - 60, false, 0, 0},
      {"narrow, partly past the edge", 100, w - 40, false, w - 113, 0},
      {"narrow, wholly past the edge", 100, w + 300, false, w - 113, 0},
      {"narrow, behind a band, fits", 100, w - 40, true, w - 113, 0},
      {"wide, behind a band, does not fit", w - 100, w - 40, true, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TPanel* first = c.behind ? Band(0, 0, 100) : nullptr;
    TPanel* band = Band(0, 60, c.width ? c.width : 50);
    if (!c.width) menu = band;
    band->SetBounds(c.left, 2, band->Width(), band->Height());
    EXPECT_EQ(bar->BandRect(band).left, c.bandLeft);
    EXPECT_EQ(bar->BandRow(band), c.row);
    EXPECT_LE(bar->BandRect(band).right, bar->ClientWidth());
    EXPECT_LE(band->BoundsRect().right, bar->ClientWidth());
    if (first) {
      EXPECT_EQ(bar->BandRect(first).left, 0);
    }
    // The window narrows: the band moves in with the bar's edge.
    form->SetWidth(form->Width() - 80);
    EXPECT_LE(bar->BandRect(band).right, bar->ClientWidth());
    form->SetWidth(form->Width() + 80);
    menu = nullptr;
    delete band;
    delete first;
  }
}

TEST_F(ControlBarTest, DockOverAsksTheEvent) {
  bool asked = false;
  bar->OnDockOver = [&](TObject*, TDragDockObject*, int, int, TDragState, bool& accept) {
    asked = true;
    accept = false;
  };
  bool accept = true;
  bar->DockOver(nullptr, 1, 1, dsDragMove, accept);
  EXPECT_TRUE(asked);
  EXPECT_FALSE(accept);
}

TEST_F(ControlBarTest, TheGradientRunsBehindTheBandsAndThePictureIsWritten) {
  bar->SetRowSize(38);
  bar->SetDrawingStyle(dsGradient);
  bar->SetGradientStartColor(clWhite);
  bar->SetGradientEndColor(clNavy);
  bar->SetGradientDirection(gdHorizontal);
  TPanel* a = Band(0, 0, 150, 30);
  TPanel* b = Band(0, 0, 120, 30);
  a->SetColor(clBtnFace);
  b->SetColor(0x80E0FF);
  form->Show();
  app->ProcessMessages();
  bar->Repaint();

  const sys::POINT origin = ScreenOf(0, 0);
  // Left of the first band's control (in its grip) the gradient is near
  // white; near the right edge it is near navy.
  const sys::COLORREF leftPixel = screen->ScreenPixel(origin.x + 1, origin.y + 1);
  const sys::COLORREF rightPixel =
      screen->ScreenPixel(origin.x + bar->ClientWidth() - 2, origin.y + 1);
  EXPECT_GT(leftPixel & 0xFF, 0xF0u);
  EXPECT_LT(rightPixel & 0xFF, 0x10u);
  EXPECT_GT((rightPixel >> 16) & 0xFF, 0x70u);

  const auto dir = std::filesystem::path(ZEL_BINARY_DIR) / "pictures";
  std::filesystem::create_directories(dir);
  const auto path = (dir / "controlbar_gradient_two_bands.png").string();
  ASSERT_TRUE(screen->SaveWindowShot(form->Handle(), path));
  EXPECT_TRUE(std::filesystem::exists(path));
}

// Each band shows exactly the gradient a bar on it paints behind itself:
// the control's rectangle grown by 1, its left edge 10 further left, so the
// pixels around the control match such a fill pixel for pixel and every
// band of a row starts from the gradient's start colour.
TEST_F(ControlBarTest, EachBandShowsTheGradientItsBarWouldFillItsOwnRectangleWith) {
  bar->SetRowSize(34);
  bar->SetDrawingStyle(dsGradient);
  bar->SetGradientStartColor(clWhite);
  bar->SetGradientEndColor(clNavy);
  TPanel* a = Band(0, 0, 150, 28);
  TPanel* b = Band(0, 0, 120, 28);
  form->Show();
  for (TGradientDirection direction : {gdHorizontal, gdVertical}) {
    SCOPED_TRACE(direction == gdHorizontal ? "horizontal" : "vertical");
    bar->SetGradientDirection(direction);
    app->ProcessMessages();
    bar->Repaint();
    const sys::POINT origin = ScreenOf(0, 0);
    auto pixel = [&](int x, int y) { return screen->ScreenPixel(origin.x + x, origin.y + y); };
    for (TPanel* c : {a, b}) {
      const sys::RECT r = c->BoundsRect();
      const sys::RECT fill{r.left - 11, r.top - 1, r.right + 1, r.bottom + 1};
      EXPECT_EQ(bar->BandGradientRect(c).left, fill.left);
      TBitmap reference;
      reference.SetSize(bar->ClientWidth(), bar->ClientHeight());
      GradientFillCanvas(reference.Canvas(), clWhite, clNavy, fill, direction);
      const int midX = (r.left + r.right) / 2;
      // Around the control, clear of the grip's ridges.
      const sys::POINT probes[] = {{fill.left + 1, r.top - 1}, {fill.left + 9, r.top - 1},
                                   {midX, r.top - 1},          {midX, r.bottom},
                                   {r.right, r.top + 5},       {fill.left + 1, r.bottom}};
      for (const sys::POINT& p : probes)
        EXPECT_EQ(pixel(p.x, p.y), ColorToColorRef(reference.Canvas()->Pixels(p.x, p.y)))
            << p.x << "," << p.y;
    }
    // The last band's gradient runs on to the bar's right edge.
    {
      const sys::RECT r = b->BoundsRect();
      TBitmap reference;
      reference.SetSize(bar->ClientWidth(), bar->ClientHeight());
      GradientFillCanvas(reference.Canvas(), clWhite, clNavy,
                         sys::RECT{r.left - 11, r.top - 1, r.right + 1, r.bottom + 1}, direction);
      const int x = bar->ClientWidth() - 2, y = r.top + 4;
      const TColor expected =
          direction == gdVertical ? reference.Canvas()->Pixels(r.left, y) : TColor(clNavy);
      EXPECT_EQ(pixel(x, y), ColorToColorRef(expected));
    }
    // Every band of the row starts again from the start colour.
    const sys::RECT ra = bar->BandRect(a), rb = bar->BandRect(b);
    ASSERT_EQ(ra.top, rb.top);
    EXPECT_EQ(pixel(ra.left + 1, ra.top + 1), pixel(rb.left + 1, rb.top + 1));
    if (direction == gdHorizontal) {
      EXPECT_EQ(pixel(rb.left, rb.top), pixel(ra.left, ra.top));
    }
  }
}

} // namespace
} // namespace zel
