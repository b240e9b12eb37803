// The main window's dock site as a person meets it on the headless screen:
// the colour-map editor docked at the right edge with its grabber, dragged out into a
// self-painted floating form, closed with the form's cross, shown again,
// dragged back by the form's caption; the site collapses while empty and
// grows back with its splitter beside it.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "colormap/UnitFrameColorMap.h"
#include "docking/UnitFrameSite.h"
#include "framework/actions/ActnList.h"
#include "framework/docking/DragDock.h"
#include "framework/forms/Application.h"
#include "framework/stdctrls/ScrollBar.h"
#include "framework/stdctrls/Splitter.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/SystemParams.h"
#include "platform/user/Window.h"
#include "platform/user/WindowSystem.h"
#include "shell/Startup.h"
#include "shell/UnitMain.h"
#include "tests/shell/MainWindowFixture.h"

namespace zel::test {
namespace {

using namespace sys;

class DockSiteTest : public MainWindowFixture {
protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    // The colour-map editor is docked there at construction.
    panel = form->ColorMapFrame();
  }
  COLORREF Pixel(TWinControl* w, int x, int y) {
    const POINT p = w->ClientToScreen(POINT{x, y});
    return screen->ScreenPixel(p.x, p.y);
  }
  // The splitter lies just left of the site: placed one pixel off its edge,
  // the window's alignment then packs it against the site.
  void ExpectSplitterBesideTheSite() {
    TSplitter* s = form->Splitter1;
    EXPECT_TRUE(s->Visible());
    EXPECT_EQ(s->Left() + s->Width(), form->FrameSite1->Left());
  }
  // A pixel of the grabber bar's first row, right of the caption text.
  COLORREF GrabberPixel() { return Pixel(form->FrameSite1, form->FrameSite1->Width() - 44, 1); }

  TFrameColorMap* panel = nullptr;
};

TEST_F(DockSiteTest, StartsWithTheUnitsDefaultsAndTheEditorDockedOnTheRight) {
  TFrameSite* site = form->FrameSite1;
  EXPECT_EQ(site->Align(), alRight);
  EXPECT_EQ(site->DockStyle(), 1);
  EXPECT_FALSE(site->Ctl3D());
  EXPECT_EQ(DefaultDockFormClass(), &TCustomDockFormZel::StaticClass());
  EXPECT_NE(dynamic_cast<TDockTreeZel*>(site->DockManager()), nullptr);
  EXPECT_EQ(panel->HostDockSite(), site);
  EXPECT_EQ(site->Left() + site->Width(), form->ClientWidth());
  EXPECT_EQ(site->Width(), 320);
  ExpectSplitterBesideTheSite();
  // The grabber above the editor: the bar's top in 120 % of the site colour.
  EXPECT_EQ(GrabberPixel(), COLORREF(ScaleColor(site->Color(), 120)));
  EXPECT_EQ(panel->Top(), TDockTree::GrabberSize);
  Picture("docking_main_window_site");
}

TEST_F(DockSiteTest, DraggedOutClosedShownAgainAndDockedBack) {
  TFrameSite* site = form->FrameSite1;
  // A chosen map fills the grid with its colours.
  panel->actStandartColorMap->Execute();
  Settle();
  // Out by the grabber onto the MDI area: a self-painted floating form.
  const POINT grabber = site->ClientToScreen(POINT{60, 5});
  const POINT away = form->ClientToScreen(POINT{150, 200});
  Drag(grabber, away);
  auto* floating = dynamic_cast<TCustomDockFormZel*>(panel->HostDockSite());
  ASSERT_NE(floating, nullptr);
  EXPECT_TRUE(floating->Visible());
  EXPECT_EQ(floating->Caption(), "Настройка внешнего вида");
  // It opens at the size that shows all of it, the grid with its last row,
  // whole on the screen.
  RECT work{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  const RECT placed = floating->BoundsRect();
  EXPECT_TRUE(placed.left >= work.left && placed.top >= work.top && placed.right <= work.right &&
              placed.bottom <= work.bottom);
  auto* grid = panel->ValueListEditor1;
  ASSERT_GT(grid->RowCount(), 10);
  EXPECT_EQ(panel->Height(), floating->ClientHeight());
  const RECT last = grid->CellRect(1, grid->RowCount() - 1);
  ASSERT_FALSE(IsRectEmpty(last));
  EXPECT_LE(grid->ClientToScreen(POINT{0, last.bottom}).y,
            floating->ClientToScreen(POINT{0, floating->ClientHeight()}).y);
  // Every row fits, so the grid shows no scroll bar.
  EXPECT_TRUE(IsRectEmpty(grid->VertScrollBar()->Bounds()));
  EXPECT_TRUE(site->Collapsed());
  EXPECT_EQ(site->Width(), 0);
  EXPECT_FALSE(form->Splitter1->Visible());
  const TDockCaptionRects g = floating->GetCaptionRects();
  RECT wr{};
  GetWindowRect(floating->Handle(), &wr);
  EXPECT_EQ(screen->ScreenPixel(wr.left + g.Caption.left + 30, wr.top + g.Caption.top + 1),
            COLORREF(ColorToRGB(floating->Active() ? clActiveCaption : clInactiveCaption)));
  Picture("docking_floating_editor");

  // Closed with its cross: form and editor hidden; shown again: both back.
  const POINT cross{wr.left + (g.Close.left + g.Close.right) / 2,
                    wr.top + (g.Close.top + g.Close.bottom) / 2};
  AdvanceTime(1000);
  screen->MoveTo(cross.x, cross.y);
  screen->Click(cross.x, cross.y);
  Settle();
  EXPECT_FALSE(floating->Visible());
  EXPECT_FALSE(panel->Visible());
  panel->Show();
  Settle();
  EXPECT_TRUE(floating->Visible());

  // Back by the caption onto the collapsed site at the window's right edge.
  const POINT caption{wr.left + g.Caption.left + 40, wr.top + g.Caption.top + 4};
  const POINT edge = site->ClientToScreen(POINT{-3, 150});
  Drag(caption, edge);
  EXPECT_EQ(panel->HostDockSite(), site);
  EXPECT_FALSE(site->Collapsed());
  EXPECT_EQ(site->Width(), 320); // the preview width: its former width
  EXPECT_EQ(site->Left() + site->Width(), form->ClientWidth());
  ExpectSplitterBesideTheSite();
  EXPECT_EQ(GrabberPixel(), COLORREF(ScaleColor(site->Color(), 120)));

  // Out again: the placement the form had last time wins over the size
  // that shows all.
  Drag(site->ClientToScreen(POINT{60, 5}), away);
  auto* again = dynamic_cast<TCustomDockFormZel*>(panel->HostDockSite());
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->Width(), placed.right - placed.left);
  EXPECT_EQ(again->Height(), placed.bottom - placed.top);
}

// Floating without a map, the editor has no grid; the first map chosen
// there grows the form so that the grid shows whole.
TEST_F(DockSiteTest, TheGridShowsWholeWhenItAppearsInTheFloatingEditor) {
  Drag(form->FrameSite1->ClientToScreen(POINT{60, 5}), form->ClientToScreen(POINT{150, 200}));
  auto* floating = dynamic_cast<TCustomDockFormZel*>(panel->HostDockSite());
  ASSERT_NE(floating, nullptr);
  auto* grid = panel->ValueListEditor1;
  ASSERT_FALSE(grid->Visible());
  panel->actXPColorMap->Execute();
  Settle();
  ASSERT_TRUE(grid->Visible());
  const RECT last = grid->CellRect(1, grid->RowCount() - 1);
  ASSERT_FALSE(IsRectEmpty(last));
  EXPECT_TRUE(IsRectEmpty(grid->VertScrollBar()->Bounds()));
  RECT work{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(floating->BoundsRect().bottom, work.bottom);
  EXPECT_GE(floating->Top(), work.top);
}

} // namespace
} // namespace zel::test
