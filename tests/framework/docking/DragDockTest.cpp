// Drag docking by mouse on the headless screen, and floating forms.

#include "framework/docking/DragDock.h"
#include "framework/forms/Form.h"
#include "platform/backend/Backend.h"
#include "tests/framework/docking/DockFixture.h"

namespace zel::test {
namespace {

using namespace sys;

// A site that refuses every control while Refuse is set.
class TChoosySite : public TWinControl {
  ZEL_CLASS(TChoosySite, TWinControl)
public:
  using TWinControl::TWinControl;
  bool Refuse = false;
  int Drops = 0;
  std::vector<TDragState> States;
  void DockOver(TDragDockObject* source, int x, int y, TDragState state, bool& accept) override {
    States.push_back(state);
    if (Refuse) accept = false;
  }
  void DockDrop(TDragDockObject* source, int x, int y) override {
    ++Drops;
    TWinControl::DockDrop(source, x, y);
  }
  void DoAddDockClient(TControl* client, const RECT& rect) override {
    TWinControl::DoAddDockClient(client, rect);
    Added = rect;
    WasDocking = client->ControlState().Contains(csDocking);
  }
  RECT Added{};
  bool WasDocking = false;
};

class DragDockTest : public DockTest {
protected:
  void TearDown() override {
    // Floating forms have no owner; whatever still floats is freed here.
    PumpMessages();
    for (TPanel* p : floated)
      if (auto* f = dynamic_cast<TCustomDockForm*>(p->HostDockSite())) delete f;
    DockTest::TearDown();
  }
  POINT Grabber(TControl* c) {
    RECT r;
    Tree()->GetControlBounds(c, r);
    return At(site, r.left + 30, r.top + 5);
  }
  std::vector<TPanel*> floated;
};

TEST_F(DragDockTest, DraggingAGrabberOutFloatsTheControlAndDockingBringsItBack) {
  TPanel* a = Docked("A");
  TPanel* b = Docked("B", alLeft);
  floated.push_back(b);
  const POINT g = Grabber(b);
  screen->Press(g.x, g.y);
  screen->MoveTo(g.x + 10, g.y + 10);
  ASSERT_TRUE(DockDragging());
  // Outside every site the preview shows the floating rectangle.
  screen->MoveTo(700, 500);
  TDragDockObject* o = CurrentDragDockObject();
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(o->DragTarget(), nullptr);
  // The control keeps its place under the mouse: the press was 30 pixels
  // right of its left edge and 7 above its top (on the grabber).
  const RECT floatRect{670, 507, 670 + 196, 507 + 288};
  EXPECT_EQ(DockPreviewRect(), floatRect);
  EXPECT_EQ(screen->ScreenPixel(671, 600), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_NE(screen->ScreenPixel(680, 600), GetSysColor(COLOR_BTNSHADOW));
  screen->Release(700, 500);
  EXPECT_FALSE(DockDragging());
  auto* form = dynamic_cast<TCustomDockForm*>(b->HostDockSite());
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->BoundsRect(), floatRect);
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(b->Align(), alClient);
  EXPECT_EQ(site->DockClientCount(), 1);
  EXPECT_EQ(a->BoundsRect(), (RECT{0, 12, 400, 300}));

  // Docked back below A; the empty floating form frees itself.
  b->ManualDock(site, a, alBottom);
  PumpMessages();
  EXPECT_EQ(b->HostDockSite(), site);
  EXPECT_EQ(a->BoundsRect(), (RECT{0, 12, 400, 146}));
  EXPECT_EQ(b->Top(), 162);
}

TEST_F(DragDockTest, DroppingNearAnEdgeOfAnotherControlDocksOnThatSide) {
  TPanel* a = Docked("A");
  TPanel* b = Docked("B", alLeft);
  const POINT g = Grabber(b);
  const POINT target = At(site, 300, 290); // near the bottom of A's zone
  screen->Drag(g.x, g.y, target.x, target.y, 6);
  EXPECT_EQ(b->HostDockSite(), site);
  EXPECT_EQ(Tree()->FindControlZone(b)->ParentZone(), Tree()->FindControlZone(a)->ParentZone());
  EXPECT_EQ(Tree()->TopZone()->Orientation(), doHorizontal);
  EXPECT_EQ(a->BoundsRect(), (RECT{0, 12, 400, 146}));
  EXPECT_EQ(b->Top(), 162);
}

TEST_F(DragDockTest, ASiteThatRefusesLetsTheControlFloatAndEscCancels) {
  auto* other = new TChoosySite(root.get());
  other->SetBounds(600, 100, 300, 200);
  other->SetDockSite(true);
  other->SetUseDockManager(true);
  other->HandleNeeded();
  PumpMessages();
  TPanel* a = Docked("A");
  Docked("B", alLeft);
  floated.push_back(a);
  const POINT g = Grabber(a);
  // Accepted: the preview takes the site's proposal, and the drop docks.
  screen->Press(g.x, g.y);
  screen->MoveTo(700, 200);
  ASSERT_NE(CurrentDragDockObject(), nullptr);
  EXPECT_EQ(CurrentDragDockObject()->DragTarget(), other);
  EXPECT_EQ(DockPreviewRect(), (RECT{600, 100, 900, 300}));
  screen->MoveTo(710, 210);
  screen->MoveTo(g.x, g.y + 100); // back over the first site
  EXPECT_EQ(other->States, (std::vector<TDragState>{dsDragEnter, dsDragMove, dsDragLeave}));
  screen->MoveTo(700, 200);
  // Esc: nothing moves.
  screen->Key(VK_ESCAPE);
  EXPECT_FALSE(DockDragging());
  screen->Release(700, 200);
  EXPECT_EQ(a->HostDockSite(), site);
  // The release lost (another program took the pointer): a cancel, and the
  // next click is only a click.
  screen->Press(g.x, g.y);
  screen->MoveTo(700, 200);
  ASSERT_TRUE(DockDragging());
  InputMouseButtonsLost();
  PumpMessages();
  EXPECT_FALSE(DockDragging());
  EXPECT_EQ(GetCapture(), nullptr);
  screen->Click(700, 200);
  EXPECT_EQ(a->HostDockSite(), site);
  // Refused: the control floats instead.
  other->Refuse = true;
  const POINT g2 = Grabber(a);
  screen->Drag(g2.x, g2.y, 700, 200, 4);
  EXPECT_EQ(other->DockClientCount(), 0);
  EXPECT_NE(dynamic_cast<TCustomDockForm*>(a->HostDockSite()), nullptr);
  // Accepting again: it docks and the site hears of the drop.
  other->Refuse = false;
  a->ManualDock(other);
  EXPECT_EQ(a->HostDockSite(), other);
  EXPECT_EQ(other->Drops, 0); // ManualDock is no drop
}

TEST_F(DragDockTest, ClosingAFloatingFormHidesItsClient) {
  TPanel* a = Docked("A");
  floated.push_back(a);
  TCustomDockForm* form = FloatControl(a, RECT{50, 50, 250, 200});
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Caption(), "A");
  form->Close();
  EXPECT_FALSE(a->Visible());
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(a->HostDockSite(), form);
  // Shown again in the site.
  a->ManualDock(site);
  a->Show();
  PumpMessages();
  EXPECT_EQ(a->BoundsRect(), (RECT{0, 12, 400, 300}));
}

TEST_F(DragDockTest, AFloatingFormIsAPaletteOfTheFormItsClientLeft) {
  auto* main = new TForm(root.get());
  main->SetBounds(20, 20, 500, 400);
  main->Show();
  TPanel* a = Panel("A");
  a->SetParent(main);
  floated.push_back(a);
  TCustomDockForm* form = FloatControl(a, RECT{50, 50, 250, 200});
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->OwnerForm(), main);
  EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), main->Handle());
  // The main form in front stays behind its palette.
  SetActiveWindow(main->Handle());
  PumpMessages();
  const HWND over = WindowFromPoint(POINT{100, 100});
  EXPECT_TRUE(over == form->Handle() || IsChild(form->Handle(), over));
  // A new window of the main form (a new border) keeps the palette.
  const HWND floating = form->Handle();
  main->SetBorderStyle(bsSingle);
  PumpMessages();
  ASSERT_TRUE(IsWindow(floating));
  EXPECT_TRUE(IsWindowVisible(floating));
  EXPECT_EQ(GetWindow(floating, GW_OWNER), main->Handle());
  // The main form going lets the palette go, and nothing refers to it.
  delete main;
  EXPECT_EQ(form->OwnerForm(), nullptr);
  EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), nullptr);
}

TEST_F(DragDockTest, ManualFloatAndManualDockWithoutASiteFloatInAForm) {
  TPanel* a = Docked("A");
  TPanel* b = Docked("B", alLeft);
  floated.push_back(a);
  floated.push_back(b);
  EXPECT_FALSE(a->Floating());
  a->SetUndockWidth(150);
  a->SetUndockHeight(90);
  // Without a site the control floats where it stood, at its undocked size.
  const POINT was = At(a, 0, 0);
  ASSERT_TRUE(a->ManualDock(nullptr));
  EXPECT_TRUE(a->Floating());
  auto* fa = dynamic_cast<TCustomDockForm*>(a->HostDockSite());
  ASSERT_NE(fa, nullptr);
  EXPECT_EQ(fa->BoundsRect(), (RECT{was.x, was.y, was.x + 150, was.y + 90}));
  EXPECT_EQ(b->BoundsRect(), (RECT{0, 12, 400, 300}));
  ASSERT_TRUE(b->ManualFloat(RECT{20, 30, 220, 130}));
  EXPECT_TRUE(b->Floating());
  EXPECT_EQ(site->DockClientCount(), 0);
  EXPECT_EQ(b->HostDockSite()->BoundsRect(), (RECT{20, 30, 220, 130}));
  // Floating again replaces the form; the empty one goes.
  ASSERT_TRUE(b->ManualFloat(RECT{40, 30, 240, 130}));
  PumpMessages();
  EXPECT_EQ(b->HostDockSite()->Left(), 40);
  // A form let go on the screen lies whole on it, as far as it fits; one
  // let go off the screen stays there.
  RECT work{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  const int w = work.right, h = work.bottom;
  const struct {
    RECT asked, got;
  } fits[] = {
      {{40, 30, 240, 130}, {40, 30, 240, 130}},
      {{40, h - 50, 240, h + 50}, {40, h - 100, 240, h}},
      {{w - 50, 30, w + 150, 130}, {w - 200, 30, w, 130}},
      {{40, 60, 240, h + 160}, {40, 0, 240, h + 100}},
      {{w + 20, 30, w + 220, 130}, {w + 20, 30, w + 220, 130}},
  };
  for (const auto& f : fits) {
    SCOPED_TRACE(f.asked.top);
    ASSERT_TRUE(b->ManualFloat(f.asked));
    EXPECT_EQ(b->HostDockSite()->BoundsRect(), f.got);
  }
  // And back into the site.
  b->ManualDock(site);
  EXPECT_FALSE(b->Floating());
  EXPECT_EQ(b->BoundsRect(), (RECT{0, 12, 400, 300}));
}

TEST_F(DragDockTest, AnAutomaticDockControlDragsItselfOutAndBack) {
  TPanel* a = Docked("A");
  TPanel* b = Docked("B", alLeft);
  floated.push_back(b);
  b->SetDragKind(dkDock);
  b->SetDragMode(dmAutomatic);
  // A press without a move past the threshold changes nothing.
  const POINT in = At(b, 50, 50);
  screen->Press(in.x, in.y);
  screen->MoveTo(in.x + 1, in.y + 1);
  EXPECT_FALSE(DockDragging());
  screen->Release(in.x + 1, in.y + 1);
  EXPECT_EQ(b->HostDockSite(), site);
  // Out of the site: it floats with its top-left kept under the mouse.
  screen->Drag(in.x, in.y, 800, 500, 5);
  auto* form = dynamic_cast<TCustomDockForm*>(b->HostDockSite());
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Left(), 750);
  EXPECT_EQ(a->Width(), 400);
  // Dragged from the floating form onto A's left edge, it docks back there.
  const POINT fin = At(b, 20, 20);
  const POINT target = At(a, 3, 150);
  screen->Drag(fin.x, fin.y, target.x, target.y, 5);
  PumpMessages();
  EXPECT_EQ(b->HostDockSite(), site);
  EXPECT_EQ(b->Left(), 0);
  EXPECT_EQ(a->Left(), 200);
}

// Grabbed far down in a tall docked control and let go near the screen's
// top, the smaller floating form lands under the mouse (it went wholly
// above the screen, out of reach, and the next start moved it back).
TEST_F(DragDockTest, AControlGrabbedBeyondItsUndockedSizeFloatsUnderTheMouse) {
  TPanel* a = Docked("A");
  floated.push_back(a);
  a->SetDragKind(dkDock);
  a->SetDragMode(dmAutomatic);
  a->SetUndockWidth(150);
  a->SetUndockHeight(90);
  const POINT in = At(a, 300, 250);
  const POINT drop{700, 60};
  screen->Drag(in.x, in.y, drop.x, drop.y, 5);
  auto* form = dynamic_cast<TCustomDockForm*>(a->HostDockSite());
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->BoundsRect(), (RECT{drop.x - 149, drop.y - 89, drop.x + 1, drop.y + 1}));
  EXPECT_TRUE(PtInRect(form->BoundsRect(), drop));
}

TEST_F(DragDockTest, DockMakesADockClientAndLeavesPlacingToTheManager) {
  auto* plain = new TChoosySite(root.get());
  plain->SetBounds(600, 100, 300, 200);
  plain->SetDockSite(true);
  TPanel* a = Docked("A");
  a->Dock(plain, RECT{10, 20, 110, 70});
  EXPECT_EQ(a->HostDockSite(), plain);
  EXPECT_EQ(a->Parent(), plain);
  EXPECT_EQ(plain->DockClients(0), a);
  EXPECT_EQ(site->DockClientCount(), 0);
  EXPECT_EQ(plain->Added, (RECT{10, 20, 110, 70}));
  EXPECT_TRUE(plain->WasDocking);
  EXPECT_FALSE(a->ControlState().Contains(csDocking));
  // Inserted into the tree first, then docked: the tree puts it on the
  // side it was inserted at.
  TPanel* c = Docked("C");
  TPanel* b = Panel("B");
  Tree()->InsertControl(b, alTop, nullptr);
  b->Dock(site, RECT{});
  EXPECT_EQ(b->HostDockSite(), site);
  EXPECT_EQ(site->DockClientCount(), 2);
  EXPECT_EQ(b->BoundsRect(), (RECT{0, 12, 400, 146}));
  EXPECT_EQ(c->BoundsRect(), (RECT{0, 162, 400, 300}));
}

class TMyDockForm : public TCustomDockForm {
  ZEL_CREATABLE_CLASS(TMyDockForm, TCustomDockForm)
public:
  using TCustomDockForm::TCustomDockForm;
};

TEST_F(DragDockTest, TheFloatingFormClassComesFromTheControlOrTheReplaceableDefault) {
  TPanel* a = Docked("A");
  floated.push_back(a);
  TClass saved = DefaultFloatingDockSiteClass();
  DefaultFloatingDockSiteClass() = &TMyDockForm::StaticClass();
  a->ManualFloat(RECT{0, 0, 100, 100});
  EXPECT_NE(dynamic_cast<TMyDockForm*>(a->HostDockSite()), nullptr);
  DefaultFloatingDockSiteClass() = saved;
  // A control's own class wins; one that is no dock form falls back.
  a->SetFloatingDockSiteClass(&TMyDockForm::StaticClass());
  a->ManualFloat(RECT{0, 0, 100, 100});
  EXPECT_NE(dynamic_cast<TMyDockForm*>(a->HostDockSite()), nullptr);
  a->SetFloatingDockSiteClass(&TPanel::StaticClass());
  a->ManualFloat(RECT{0, 0, 100, 100});
  EXPECT_EQ(&a->HostDockSite()->ClassType(), &TCustomDockForm::StaticClass());
}

} // namespace
} // namespace zel::test
