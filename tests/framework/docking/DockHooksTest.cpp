// The operations a dock site, a floating form or a docked control overrides
// are called, in an order they can build on: window creation, presses on
// an automatic dock control, floating, dropping, undocking, zones inserted
// ahead of their control, and showing a control while it docks.

#include "framework/controls/GraphicControl.h"
#include "framework/docking/DragDock.h"
#include "framework/forms/Application.h"
#include "tests/framework/docking/DockFixture.h"

namespace zel::test {
namespace {

using namespace sys;

// A windowed control that notes every call of CreateHandle and whether the
// window existed when the base had run.
class THandleProbe : public TWinControl {
  ZEL_CLASS(THandleProbe, TWinControl)
public:
  using TWinControl::TWinControl;
  int Calls = 0;
  bool HadWindow = false;
  void CreateHandle() override {
    ++Calls;
    TWinControl::CreateHandle();
    HadWindow = HandleAllocated();
  }
};

// A floating form that notes what it sees when its client arrives and may
// move itself there (as a form restoring a saved place does).
class TNotingDockForm : public TCustomDockForm {
  ZEL_CREATABLE_CLASS(TNotingDockForm, TCustomDockForm)
public:
  using TCustomDockForm::TCustomDockForm;
  static inline RECT BoundsAtAdd{};
  static inline bool ClientVisibleAtAdd = false;
  static inline RECT Restore{};
  void DoAddDockClient(TControl* client, const RECT& rect) override {
    TCustomDockForm::DoAddDockClient(client, rect);
    BoundsAtAdd = BoundsRect();
    ClientVisibleAtAdd = client->Visible();
    if (Restore.right > Restore.left)
      SetBounds(Restore.left, Restore.top, Restore.Width(), Restore.Height());
  }
};

// A managed dock site that records its undocks and drops.  Its undock
// hook chooses the floating class of a client about to float, and can
// refuse to let clients go.
class TNotingSite : public TWinControl {
  ZEL_CLASS(TNotingSite, TWinControl)
public:
  using TWinControl::TWinControl;
  struct TUndock {
    TWinControl* Target;
    TControl* Client;
    bool operator==(const TUndock&) const = default;
  };
  std::vector<TUndock> Undocks;
  bool Refuse = false;
  bool DockedAtDrop = false;
  int ClientsAtDrop = 0;
  RECT Added{};
  bool DoUnDock(TWinControl* newTarget, TControl* client) override {
    Undocks.push_back({newTarget, client});
    if (Refuse) return false;
    if (!newTarget) client->SetFloatingDockSiteClass(&TNotingDockForm::StaticClass());
    return TWinControl::DoUnDock(newTarget, client);
  }
  void DockDrop(TDragDockObject* source, int x, int y) override {
    TWinControl::DockDrop(source, x, y);
    DockedAtDrop = source->Control()->HostDockSite() == this;
    ClientsAtDrop = DockClientCount();
  }
  void DoAddDockClient(TControl* client, const RECT& rect) override {
    TWinControl::DoAddDockClient(client, rect);
    Added = rect;
  }
};

class DockHooksTest : public DockTest {
protected:
  void TearDown() override {
    PumpMessages();
    // Floating forms belong to no root: free those still holding a panel.
    for (TControl* c : floated)
      if (auto* f = dynamic_cast<TCustomDockForm*>(c->HostDockSite())) delete f;
    TNotingDockForm::Restore = RECT{};
    DockTest::TearDown();
  }
  TNotingSite* NotingSite(int left, int top) {
    auto* s = new TNotingSite(root.get());
    s->SetBounds(left, top, 300, 200);
    s->SetDockSite(true);
    s->SetUseDockManager(true);
    s->HandleNeeded();
    PumpMessages();
    return s;
  }
  POINT Grabber(TWinControl* s, TControl* c) {
    RECT r;
    dynamic_cast<TDockTree*>(s->DockManager())->GetControlBounds(c, r);
    return At(s, r.left + 30, r.top + 5);
  }
  static int Leaves(const TDockZone* z) {
    int n = z->ChildControl() ? 1 : 0;
    for (int i = 0; i < z->ChildCount(); ++i)
      n += Leaves(z->Child(i));
    return n;
  }
  std::vector<TControl*> floated;
};

TEST_F(DockHooksTest, AChildWindowMadeWithItsParentsGoesThroughCreateHandle) {
  auto* parent = new TWinControl(root.get());
  parent->SetBounds(0, 0, 200, 200);
  auto* child = new THandleProbe(root.get());
  child->SetParent(parent);
  auto* grandChild = new THandleProbe(root.get());
  grandChild->SetParent(child);
  parent->HandleNeeded();
  EXPECT_EQ(child->Calls, 1);
  EXPECT_TRUE(child->HadWindow);
  EXPECT_GE(grandChild->Calls, 1);
  EXPECT_TRUE(grandChild->HadWindow);
  // A new window for the parent makes the children's through it again.
  parent->RecreateWnd();
  EXPECT_EQ(child->Calls, 2);
  EXPECT_TRUE(child->HandleAllocated());
}

TEST_F(DockHooksTest, APressOnAWindowlessChildOfAnAutomaticDockControlIsTheChilds) {
  TPanel* a = Docked("A");
  a->SetDragKind(dkDock);
  a->SetDragMode(dmAutomatic);
  floated.push_back(a);
  // Two windowless children counting their presses and clicks.
  int downs = 0, clicks = 0, offDowns = 0;
  auto* button = new TGraphicControl(root.get());
  button->SetBounds(10, 10, 30, 30);
  button->SetParent(a);
  button->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
  button->OnClick = [&](TObject*) { ++clicks; };
  auto* off = new TGraphicControl(root.get());
  off->SetBounds(50, 10, 30, 30);
  off->SetEnabled(false);
  off->SetParent(a);
  off->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++offDowns; };
  struct TCase {
    const char* What;
    TControl* Under;
    bool Drags;
    int ButtonDowns, ButtonClicks;
  };
  const TCase cases[] = {
      {"enabled windowless child", button, false, 1, 1},
      {"disabled windowless child: the control's own", off, true, 1, 1},
      {"bare background", a, true, 1, 1},
  };
  for (const TCase& k : cases) {
    SCOPED_TRACE(k.What);
    const POINT p = k.Under == a ? At(a, 200, 150) : At(k.Under, 15, 15);
    screen->Press(p.x, p.y);
    screen->MoveTo(p.x + 12, p.y + 12);
    screen->MoveTo(p.x + 20, p.y + 20);
    EXPECT_EQ(DockDragging(), k.Drags);
    if (k.Drags) {
      screen->Key(VK_ESCAPE);
      screen->Release(p.x + 20, p.y + 20);
      EXPECT_FALSE(DockDragging());
    } else {
      // Released back over the button: a click.
      screen->MoveTo(p.x, p.y);
      screen->Release(p.x, p.y);
    }
    PumpMessages();
    EXPECT_EQ(downs, k.ButtonDowns);
    EXPECT_EQ(clicks, k.ButtonClicks);
    EXPECT_EQ(offDowns, 0);
    EXPECT_EQ(a->HostDockSite(), site);
  }
}

TEST_F(DockHooksTest, FloatingAsksTheSiteFirstPlacesTheFormBeforeTheClientAndKeepsHiddenHidden) {
  TNotingSite* s = NotingSite(600, 100);
  struct TCase {
    const char* What;
    bool Visible;
    RECT Restore;
  };
  const TCase cases[] = {
      {"visible client", true, RECT{}},
      {"visible client, the form restores a place", true, RECT{30, 40, 330, 240}},
      {"hidden client", false, RECT{}},
  };
  for (const TCase& k : cases) {
    SCOPED_TRACE(k.What);
    TPanel* p = Panel(std::string("P") + char('0' + (&k - cases)));
    floated.push_back(p);
    p->ManualDock(s);
    p->SetVisible(k.Visible);
    s->Undocks.clear();
    TNotingDockForm::Restore = k.Restore;
    TNotingDockForm::BoundsAtAdd = RECT{};
    const RECT at{100, 120, 300, 260};
    ASSERT_TRUE(p->ManualFloat(at));
    // The site heard first, and the class it chose is the one used.
    EXPECT_EQ(s->Undocks, (std::vector<TNotingSite::TUndock>{{nullptr, p}}));
    auto* form = dynamic_cast<TNotingDockForm*>(p->HostDockSite());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(TNotingDockForm::BoundsAtAdd, at);
    EXPECT_EQ(TNotingDockForm::ClientVisibleAtAdd, k.Visible);
    EXPECT_EQ(form->BoundsRect(), k.Restore.right > 0 ? k.Restore : at);
    EXPECT_EQ(p->Visible(), k.Visible);
    EXPECT_EQ(form->Visible(), k.Visible);
    PumpMessages();
    EXPECT_EQ(form->Visible(), k.Visible);
  }
}

// A panel that will not go into a floating form.
class TStayingPanel : public TPanel {
  ZEL_CLASS(TStayingPanel, TPanel)
public:
  using TPanel::TPanel;
  bool ManualDock(TWinControl* site, TControl* drop, TAlign side) override {
    if (site && site->Is<TCustomDockForm>()) return false;
    return TPanel::ManualDock(site, drop, side);
  }
};

TEST_F(DockHooksTest, AFloatTheControlRefusesLeavesNoEmptyForm) {
  auto* p = new TStayingPanel(root.get());
  p->SetName("S");
  p->SetBounds(0, 0, 100, 80);
  const int before = Application ? Application->ComponentCount() : 0;
  EXPECT_EQ(FloatControl(p, RECT{50, 50, 250, 200}), nullptr);
  EXPECT_FALSE(p->ManualFloat(RECT{50, 50, 250, 200}));
  EXPECT_FALSE(p->Floating());
  EXPECT_EQ(Application ? Application->ComponentCount() : 0, before);
}

TEST_F(DockHooksTest, TheBaseDockDropDocksSoAnOverrideCallingItFirstSeesTheClient) {
  TNotingSite* s = NotingSite(600, 100);
  TPanel* x = Panel("X");
  x->ManualDock(s);
  Docked("A");
  TPanel* b = Docked("B", alLeft);
  const POINT g = Grabber(site, b);
  // Near the bottom edge of X's zone.
  RECT xr;
  dynamic_cast<TDockTree*>(s->DockManager())->GetControlBounds(x, xr);
  const POINT target = At(s, 150, xr.bottom - 4);
  screen->Press(g.x, g.y);
  screen->MoveTo(g.x + 20, g.y + 20);
  screen->MoveTo(target.x, target.y);
  ASSERT_NE(CurrentDragDockObject(), nullptr);
  const RECT preview = CurrentDragDockObject()->DockRect();
  screen->Release(target.x, target.y);
  PumpMessages();
  EXPECT_TRUE(s->DockedAtDrop);
  EXPECT_EQ(s->ClientsAtDrop, 2);
  // The add-client hook had the preview in the site's client coordinates.
  const POINT tl = s->ScreenToClient(POINT{preview.left, preview.top});
  EXPECT_EQ(s->Added, (RECT{tl.x, tl.y, tl.x + preview.Width(), tl.y + preview.Height()}));
  EXPECT_GT(s->Added.Height(), 0);
  // Inserted on the side dropped on: below X.
  EXPECT_EQ(b->HostDockSite(), s);
  EXPECT_GT(b->Top(), x->Top());
  EXPECT_EQ(b->Left(), x->Left());
  EXPECT_EQ(s->Undocks.size(), 0u);
}

TEST_F(DockHooksTest, EveryUndockGoesThroughTheOldSitesDoUnDock) {
  TNotingSite* s = NotingSite(600, 100);
  TNotingSite* other = NotingSite(600, 400);
  TPanel* p = Panel("P");
  floated.push_back(p);
  struct TCase {
    const char* What;
    std::function<void()> Undock;
    TWinControl* Target;
  };
  const TCase cases[] = {
      {"ManualDock", [&] { p->ManualDock(other); }, other},
      {"Dock",
       [&] {
         p->Dock(other, RECT{0, 0, 50, 50});
       },
       other},
      {"ManualDock without a site", [&] { p->ManualDock(nullptr); }, nullptr},
      {"ManualFloat",
       [&] {
         p->ManualFloat(RECT{0, 0, 100, 100});
       },
       nullptr},
      {"dragged out",
       [&] {
         const POINT g = Grabber(s, p);
         screen->Drag(g.x, g.y, 300, 650, 5);
       },
       nullptr},
      {"dragged to another site",
       [&] {
         const POINT g = Grabber(s, p);
         const POINT t = At(other, 150, 100);
         screen->Drag(g.x, g.y, t.x, t.y, 5);
       },
       other},
  };
  for (const TCase& k : cases) {
    SCOPED_TRACE(k.What);
    ASSERT_TRUE(p->ManualDock(s));
    PumpMessages();
    s->Undocks.clear();
    k.Undock();
    PumpMessages();
    EXPECT_EQ(s->Undocks, (std::vector<TNotingSite::TUndock>{{k.Target, p}}));
    EXPECT_NE(p->HostDockSite(), s);
    EXPECT_EQ(k.Target ? p->HostDockSite() == k.Target : p->Floating(), true);
  }
  // A site that refuses keeps its client, whatever asks.
  ASSERT_TRUE(p->ManualDock(s));
  s->Undocks.clear();
  s->Refuse = true;
  EXPECT_FALSE(p->ManualDock(other));
  p->Dock(other, RECT{});
  EXPECT_FALSE(p->ManualFloat(RECT{0, 0, 100, 100}));
  EXPECT_EQ(p->HostDockSite(), s);
  EXPECT_EQ(s->DockClientCount(), 1);
  EXPECT_EQ(other->DockClientCount(), 0);
  EXPECT_EQ(s->Undocks.size(), 3u);
  s->Refuse = false;
}

TEST_F(DockHooksTest, AZoneInsertedBeforeItsControlIsDockedKeepsItsSide) {
  TPanel* a = Docked("A");
  TPanel* b = Panel("B");
  Tree()->InsertControl(b, alTop, a);
  // Waiting for B: no room taken, nothing written.
  EXPECT_EQ(a->BoundsRect(), (RECT{0, 12, 400, 300}));
  TMemoryStream m;
  Tree()->SaveToStream(m);
  EXPECT_EQ(Bytes(m).find(std::string("\x01\0\0\0B", 5)), std::string::npos);
  EXPECT_NE(Bytes(m).find(std::string("\x01\0\0\0A", 5)), std::string::npos);
  b->Dock(site, RECT{});
  EXPECT_EQ(b->BoundsRect(), (RECT{0, 12, 400, 146}));
  EXPECT_EQ(a->BoundsRect(), (RECT{0, 162, 400, 300}));
  EXPECT_EQ(Tree()->TopZone()->Orientation(), doHorizontal);
  // A waiting zone outlasts a stay of its control in another site, and
  // goes with a control freed before it arrives.
  auto* other = new TWinControl(root.get());
  other->SetBounds(600, 100, 200, 200);
  other->SetDockSite(true);
  TPanel* c = Panel("C");
  TPanel* d = Panel("D");
  Tree()->InsertControl(c, alLeft, a);
  Tree()->InsertControl(d, alRight, a);
  EXPECT_EQ(Leaves(Tree()->TopZone()), 4);
  c->Dock(other, RECT{});
  delete d;
  Tree()->ResetBounds(true);
  EXPECT_EQ(Leaves(Tree()->TopZone()), 3);
  EXPECT_EQ(a->BoundsRect(), (RECT{0, 162, 400, 300}));
  // Docked at last, C takes its zone left of A with the share it kept
  // (two thirds once D's quarter went).
  c->Dock(site, RECT{});
  EXPECT_EQ(c->BoundsRect(), (RECT{0, 162, 263, 300}));
  EXPECT_EQ(a->BoundsRect(), (RECT{267, 162, 400, 300}));
}

TEST_F(DockHooksTest, ShowingAControlWhileItDocksLeavesItsFloatingFormHidden) {
  for (const bool docking : {false, true}) {
    SCOPED_TRACE(docking ? "marked as docking" : "not docking");
    TPanel* p = Docked(docking ? "D" : "N");
    floated.push_back(p);
    p->Hide();
    ASSERT_TRUE(p->ManualFloat(RECT{50, 50, 250, 200}));
    TWinControl* form = p->HostDockSite();
    ASSERT_FALSE(form->Visible());
    const TControlState was = p->ControlState();
    TControlState marked = was;
    marked += csDocking;
    if (docking) p->SetControlState(marked);
    p->Show();
    p->SetControlState(was);
    EXPECT_EQ(form->Visible(), !docking);
  }
}

} // namespace
} // namespace zel::test
