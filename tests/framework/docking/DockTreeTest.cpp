// Zones, layout, the splitter, the grabber's close box and the picture.

#include <filesystem>

#include "tests/framework/docking/DockFixture.h"

namespace zel::test {
namespace {

using namespace sys;

TEST_F(DockTest, ADockSiteMakesTheDefaultTreeAndReplacingTheClassChangesIt) {
  ASSERT_NE(Tree(), nullptr);
  int made = 0;
  TDockTreeClass saved = DefaultDockTreeClass();
  DefaultDockTreeClass() = [&](TWinControl* s) {
    ++made;
    return std::make_unique<TDockTree>(s);
  };
  auto* other = new TWinControl(root.get());
  other->SetDockSite(true);
  other->SetUseDockManager(true);
  other->HandleNeeded();
  DefaultDockTreeClass() = saved;
  EXPECT_EQ(made, 1);
  EXPECT_NE(other->DockManager(), nullptr);
  // A control that is no dock site gets no manager.
  auto* plain = new TWinControl(root.get());
  plain->SetUseDockManager(true);
  plain->HandleNeeded();
  EXPECT_EQ(plain->DockManager(), nullptr);
}

TEST_F(DockTest, SplitsNestAndRemovalsGiveTheRoomBack) {
  // One control fills the site below its grabber.
  TPanel* a = Docked("A");
  EXPECT_EQ(a->HostDockSite(), site);
  EXPECT_EQ(a->BoundsRect(), (RECT{0, 12, 400, 300}));
  // Left of everything: side by side, a splitter at the end of the first.
  TPanel* b = Docked("B", alLeft);
  EXPECT_EQ(Tree()->TopZone()->Orientation(), doVertical);
  EXPECT_EQ(b->BoundsRect(), (RECT{0, 12, 196, 300}));
  EXPECT_EQ(a->BoundsRect(), (RECT{200, 12, 400, 300}));
  // Below A: across the top's orientation, so A's zone splits in a new zone.
  TPanel* c = Docked("C", alBottom, a);
  TDockZone* za = Tree()->FindControlZone(a);
  ASSERT_NE(za, nullptr);
  EXPECT_EQ(za->ParentZone()->Orientation(), doHorizontal);
  EXPECT_EQ(za->ParentZone()->ParentZone(), Tree()->TopZone());
  EXPECT_EQ(a->BoundsRect(), (RECT{200, 12, 400, 146}));
  EXPECT_EQ(c->BoundsRect(), (RECT{200, 162, 400, 300}));
  // Above C, in the same zone: C's room is halved.
  TPanel* d = Docked("D", alTop, c);
  EXPECT_EQ(Tree()->FindControlZone(d)->ParentZone(), za->ParentZone());
  EXPECT_EQ(d->Top(), 162);
  EXPECT_EQ(c->Top() + c->Height(), 300);
  EXPECT_LT(d->Top() + d->Height(), c->Top());

  // Removing B leaves the nested zone as the only child: it moves up.
  b->ManualDock(nullptr);
  delete b;
  EXPECT_EQ(Tree()->TopZone()->Orientation(), doHorizontal);
  EXPECT_EQ(Tree()->TopZone()->ChildCount(), 3);
  EXPECT_EQ(a->Left(), 0);
  EXPECT_EQ(a->Width(), 400);
  // A control docked on top of a split top zone across its orientation
  // gets a new top zone.
  TPanel* e = Docked("E", alRight);
  EXPECT_EQ(Tree()->TopZone()->Orientation(), doVertical);
  EXPECT_EQ(Tree()->TopZone()->ChildCount(), 2);
  EXPECT_EQ(e->Left() + e->Width(), 400);
  EXPECT_LT(a->Left() + a->Width(), e->Left());
  // Freeing a docked control takes it out of the tree.
  delete e;
  EXPECT_EQ(Tree()->TopZone()->Orientation(), doHorizontal);
  EXPECT_EQ(a->Width(), 400);
}

TEST_F(DockTest, HiddenControlsTakeNoRoomAndGetItBackWhenShown) {
  TPanel* a = Docked("A");
  TPanel* b = Docked("B", alRight);
  a->Hide();
  EXPECT_EQ(b->BoundsRect(), (RECT{0, 12, 400, 300}));
  a->Show();
  EXPECT_EQ(a->BoundsRect(), (RECT{0, 12, 196, 300}));
  EXPECT_EQ(b->Left(), 200);
}

TEST_F(DockTest, UpdatesHoldTheLayoutUntilTheyEnd) {
  TPanel* a = Docked("A");
  Tree()->BeginUpdate();
  TPanel* b = Docked("B", alLeft);
  EXPECT_EQ(a->Left(), 0); // not moved yet
  Tree()->BeginUpdate();
  Tree()->EndUpdate();
  EXPECT_EQ(a->Left(), 0);
  Tree()->EndUpdate();
  EXPECT_EQ(a->Left(), 200);
  EXPECT_EQ(b->Left(), 0);
}

TEST_F(DockTest, GrabbersLieOnTheLeftOfASiteAlignedToTheTop) {
  TPanel* a = Docked("A");
  site->SetAlign(alTop); // no parent: nothing moves but the grabber side
  Tree()->ResetBounds(true);
  EXPECT_TRUE(Tree()->GrabbersOnLeft());
  EXPECT_EQ(a->BoundsRect(), (RECT{12, 0, 400, 300}));
  TDockZone* z = Tree()->FindControlZone(a);
  EXPECT_EQ(Tree()->CloseBoxRect(z), (RECT{0, 1, 11, 12}));
}

TEST_F(DockTest, BoundsAndDockRectanglesFollowTheZones) {
  TPanel* a = Docked("A");
  TPanel* b = Docked("B", alLeft);
  RECT r;
  Tree()->GetControlBounds(b, r);
  EXPECT_EQ(r, (RECT{0, 0, 196, 300}));
  Tree()->GetControlBounds(site, r);
  EXPECT_EQ(r, (RECT{}));
  // A drop below A proposes the lower half of A's zone, on the screen.
  Tree()->PositionDockRect(nullptr, a, alBottom, r);
  EXPECT_EQ(r, (RECT{300, 250, 500, 400}));
  Tree()->PositionDockRect(nullptr, nullptr, alLeft, r);
  EXPECT_EQ(r, (RECT{100, 100, 300, 400}));
}

TEST_F(DockTest, DraggingTheSplitterResizesBothNeighbours) {
  TPanel* a = Docked("A");
  TPanel* b = Docked("B", alLeft);
  const POINT s = At(site, 197, 100);
  screen->Drag(s.x, s.y, s.x + 103, s.y + 7);
  EXPECT_EQ(b->Width(), 298);
  EXPECT_EQ(a->Left(), 302);
  // Neither side can be squeezed below the minimum.
  const POINT s2 = At(site, 299, 100);
  screen->Drag(s2.x, s2.y, At(site, 398, 0).x, s2.y);
  EXPECT_GE(a->Width(), TDockTree::MinZoneSize - TDockTree::SplitterWidth);
  EXPECT_GT(a->Width(), 0);
  // The shares survive a resize of the site.
  const int before = b->Width();
  site->SetBounds(100, 100, 800, 300);
  EXPECT_NEAR(b->Width(), before * 2 + 2, 4);
}

TEST_F(DockTest, TheCloseBoxHidesItsControlOnlyWhenReleasedOverIt) {
  TPanel* a = Docked("A");
  TPanel* b = Docked("B", alLeft);
  const RECT close = Tree()->CloseBoxRect(Tree()->FindControlZone(b));
  const POINT in = At(site, close.left + 5, close.top + 5);
  screen->Press(in.x, in.y);
  screen->Release(in.x + 60, in.y); // moved off: nothing happens
  EXPECT_TRUE(b->Visible());
  screen->Click(in.x, in.y);
  EXPECT_FALSE(b->Visible());
  EXPECT_EQ(b->HostDockSite(), site);
  EXPECT_EQ(a->Left(), 0);
}

TEST_F(DockTest, APressOnAGrabberMovedPastTheThresholdAsksForADrag) {
  TPanel* a = Docked("A");
  TControl* dragged = nullptr;
  Tree()->OnGrabberDrag = [&](TControl* c) { dragged = c; };
  const POINT g = At(site, 50, 5);
  screen->Press(g.x, g.y);
  screen->MoveTo(g.x + 1, g.y);
  EXPECT_EQ(dragged, nullptr);
  screen->MoveTo(g.x + 20, g.y + 20);
  EXPECT_EQ(dragged, a);
  screen->Release(g.x + 20, g.y + 20);
}

TEST_F(DockTest, PictureOfTwoDockedPanels) {
  site->SetColor(clBtnFace);
  TPanel* a = Docked("LeftPanel");
  (void)a;
  TPanel* b = Docked("RightPanel", alRight);
  b->SetColor(clWindow);
  site->Repaint();
  PumpMessages();
  // The grabber shows its bars and the close box its cross.
  const TDockZone* z = Tree()->FindControlZone(b);
  const RECT close = Tree()->CloseBoxRect(z);
  const POINT mid = At(site, (close.left + close.right) / 2, (close.top + close.bottom) / 2);
  EXPECT_EQ(screen->ScreenPixel(mid.x, mid.y), GetSysColor(COLOR_BTNTEXT));
  std::filesystem::create_directories(std::string(ZEL_BINARY_DIR) + "/pictures");
  EXPECT_TRUE(screen->SaveWindowShot(site->Handle(),
                                     std::string(ZEL_BINARY_DIR) + "/pictures/docking_site.png"));
}

// A hidden client floats in a form that never needed a window.  Docking it
// back empties that form, which frees itself: later, never while the client
// is still its child (the client would go with it).
TEST_F(DockTest, AFormEmptiedByDockingItsHiddenClientBackFreesItselfLater) {
  TPanel* p = Docked("Hidden");
  p->SetVisible(false);
  ASSERT_TRUE(p->ManualFloat(sys::RECT{50, 50, 250, 200}));
  TWinControl* form = p->HostDockSite();
  ASSERT_NE(form, site);
  ASSERT_TRUE(p->ManualDock(site));
  EXPECT_EQ(p->HostDockSite(), site);
  EXPECT_EQ(p->Parent(), site);
  sys::PumpMessages();
  // The emptied form is gone; the client, its name and its place are not.
  EXPECT_EQ(root->FindComponent("Hidden"), p);
  for (int i = 0; i < root->ComponentCount(); ++i)
    EXPECT_NE(root->Components(i), form);
}

} // namespace
} // namespace zel::test
