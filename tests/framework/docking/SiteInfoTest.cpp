// How a dock drag finds its site (each site's influence rectangle, so that a
// collapsed site is still reachable), and dock drags of windowless controls.

#include "framework/controls/GraphicControl.h"
#include "framework/docking/DragDock.h"
#include "platform/user/Input.h"
#include "tests/framework/docking/DockFixture.h"

namespace zel::test {
namespace {

using namespace sys;

// A windowless control that paints itself in one colour.
class TSwatch : public TGraphicControl {
  ZEL_CLASS(TSwatch, TGraphicControl)
public:
  using TGraphicControl::TGraphicControl;

protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clRed);
    Canvas()->FillRect(ClientRect());
  }
};

class SiteInfoTest : public DockTest {
protected:
  void SetUp() override {
    DockTest::SetUp();
    // A window at (560, 100) with a collapsed site at its right edge.
    host = new TWinControl(root.get());
    host->SetBounds(560, 100, 300, 240);
    narrow = new TWinControl(root.get());
    narrow->SetParent(host);
    narrow->SetBounds(300, 0, 0, 240);
    narrow->SetDockSite(true);
    narrow->SetUseDockManager(true);
    host->HandleNeeded();
    PumpMessages();
  }
  void TearDown() override {
    PumpMessages();
    for (TControl* c : floated)
      if (auto* f = dynamic_cast<TCustomDockForm*>(c->HostDockSite())) delete f;
    DockTest::TearDown();
  }
  POINT Grabber(TControl* c) {
    RECT r;
    Tree()->GetControlBounds(c, r);
    return At(site, r.left + 30, r.top + 5);
  }
  // Drags c's grabber to a screen point, stopping before the release.
  void DragGrabberTo(TControl* c, POINT to) {
    const POINT g = Grabber(c);
    screen->Press(g.x, g.y);
    screen->MoveTo(g.x + 10, g.y + 10);
    screen->MoveTo(to.x, to.y);
  }
  TWinControl* host = nullptr;
  TWinControl* narrow = nullptr;
  std::vector<TControl*> floated;
};

TEST_F(SiteInfoTest, ACollapsedSiteTakesADropInItsInfluenceRect) {
  // The site's screen rectangle, a line at x = 860, inflated.
  RECT r{};
  bool canDock = false;
  narrow->GetSiteInfo(nullptr, r, POINT{860, 200}, canDock);
  EXPECT_TRUE(canDock);
  EXPECT_EQ(r, (RECT{850, 90, 870, 350}));
  TPanel* a = Docked("A");
  Docked("B", alLeft);
  // Just inside the host's right edge: no window of the site is there.
  DragGrabberTo(a, POINT{856, 200});
  ASSERT_NE(CurrentDragDockObject(), nullptr);
  EXPECT_EQ(CurrentDragDockObject()->DragTarget(), narrow);
  // And just outside the host, beyond every window.
  screen->MoveTo(866, 200);
  EXPECT_EQ(CurrentDragDockObject()->DragTarget(), narrow);
  screen->Release(866, 200);
  PumpMessages();
  EXPECT_EQ(a->HostDockSite(), narrow);
  EXPECT_EQ(narrow->DockClientCount(), 1);
  EXPECT_EQ(site->DockClientCount(), 1);
}

TEST_F(SiteInfoTest, AHiddenSiteOrOneUnderAnotherWindowRefuses) {
  TPanel* a = Docked("A");
  Docked("B", alLeft);
  floated.push_back(a);
  narrow->SetVisible(false);
  RECT r{};
  bool canDock = true;
  narrow->GetSiteInfo(nullptr, r, POINT{860, 200}, canDock);
  EXPECT_FALSE(canDock);
  DragGrabberTo(a, POINT{856, 200});
  EXPECT_EQ(CurrentDragDockObject()->DragTarget(), nullptr);
  screen->Key(VK_ESCAPE);
  EXPECT_FALSE(DockDragging());
  screen->Release(856, 200);
  EXPECT_EQ(a->HostDockSite(), site);

  // Visible again, but a window of another kind lies over its margin.
  narrow->SetVisible(true);
  auto* cover = new TWinControl(root.get());
  cover->SetBounds(850, 150, 100, 100);
  cover->HandleNeeded();
  PumpMessages();
  ASSERT_EQ(FindControl(WindowFromPoint(POINT{856, 200})), cover);
  clock.Advance(1000);
  DragGrabberTo(a, POINT{856, 200});
  EXPECT_EQ(CurrentDragDockObject()->DragTarget(), nullptr);
  screen->MoveTo(856, 300); // below the cover, the margin counts again
  EXPECT_EQ(CurrentDragDockObject()->DragTarget(), narrow);
  screen->MoveTo(856, 200);
  screen->Release(856, 200);
  PumpMessages();
  EXPECT_TRUE(a->Floating());
}

TEST_F(SiteInfoTest, AWindowlessControlFloatsDocksAndEscCancelsItsDrag) {
  auto* holder = new TWinControl(root.get());
  holder->SetBounds(600, 400, 200, 150);
  auto* swatch = new TSwatch(root.get());
  swatch->SetParent(holder);
  swatch->SetBounds(20, 20, 80, 60);
  swatch->SetDragKind(dkDock);
  swatch->SetDragMode(dmAutomatic);
  floated.push_back(swatch);
  holder->HandleNeeded();
  PumpMessages();
  SetFocus(holder->Handle());
  const POINT in = At(swatch, 10, 10);

  // Esc ends the drag before anything moves.
  screen->Press(in.x, in.y);
  screen->MoveTo(in.x + 30, in.y + 30);
  ASSERT_TRUE(DockDragging());
  EXPECT_EQ(CurrentDragDockObject()->Control(), swatch);
  screen->Key(VK_ESCAPE);
  EXPECT_FALSE(DockDragging());
  screen->Release(in.x + 30, in.y + 30);
  PumpMessages();
  EXPECT_EQ(swatch->Parent(), holder);
  EXPECT_EQ(swatch->Left(), 20);

  // Away from every site it floats, its corner kept under the mouse.
  clock.Advance(1000);
  screen->Drag(in.x, in.y, 300, 520, 5);
  PumpMessages();
  auto* form = dynamic_cast<TCustomDockForm*>(swatch->HostDockSite());
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(swatch->Floating());
  EXPECT_EQ(swatch->Parent(), form);
  EXPECT_EQ(form->BoundsRect(), (RECT{290, 510, 370, 570}));
  EXPECT_EQ(holder->ControlCount(), 0);

  // Dragged from its form into the empty site, it fills the site.
  clock.Advance(1000);
  const POINT fin = At(swatch, 5, 5);
  screen->Drag(fin.x, fin.y, 300, 250, 5);
  PumpMessages();
  EXPECT_EQ(swatch->HostDockSite(), site);
  EXPECT_FALSE(swatch->Floating());
  EXPECT_EQ(swatch->BoundsRect(), (RECT{0, 12, 400, 300}));
  EXPECT_EQ(screen->ScreenPixel(300, 250), RGB(255, 0, 0));
}

} // namespace
} // namespace zel::test
