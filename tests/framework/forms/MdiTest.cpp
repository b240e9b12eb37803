// MDI: numbering, activation, z-order, minimise and restore, cascade, tile,
// icons, next and previous.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "framework/forms/Form.h"
#include "tests/framework/forms/FormsFixture.h"

namespace zel::test {
namespace {

using namespace sys;

class MdiTest : public FormsTest {
protected:
  void SetUp() override {
    FormsTest::SetUp();
    main = app->CreateForm<TForm>();
    main->SetFormStyle(fsMDIForm);
    main->SetPosition(poDesigned);
    main->SetBounds(10, 10, 700, 500);
    main->Show();
    Pump();
  }
  TForm* NewChild() {
    auto* f = new TForm(main);
    f->SetFormStyle(fsMDIChild);
    f->SetParent(main);
    f->SetVisible(true);
    f->SetCaption("Форма " + std::to_string(main->MDIChildCount()));
    Pump();
    return f;
  }
  RECT ClientArea() {
    RECT r;
    GetClientRect(main->ClientHandle(), &r);
    return r;
  }
  TForm* main = nullptr;
};

TEST_F(MdiTest, ChildrenAreNumberedByCountAndListedActiveFirst) {
  TForm* a = NewChild();
  TForm* b = NewChild();
  TForm* c = NewChild();
  EXPECT_EQ(main->MDIChildCount(), 3);
  EXPECT_EQ(a->Caption(), "Форма 1");
  EXPECT_EQ(b->Caption(), "Форма 2");
  EXPECT_EQ(c->Caption(), "Форма 3");
  EXPECT_EQ(main->ActiveMDIChild(), c);
  EXPECT_EQ(main->MDIChildren(0), c);
  EXPECT_EQ(main->MDIChildren(1), b);
  EXPECT_EQ(main->MDIChildren(2), a);
  EXPECT_EQ(main->MDIChildren(3), nullptr);
  EXPECT_TRUE(c->Active());
  EXPECT_FALSE(a->Active());
  EXPECT_EQ(a->MDIParent(), main);
  EXPECT_EQ(a->Parent(), nullptr); // the client window holds it, not the form's controls
}

TEST_F(MdiTest, ClickOnAChildActivatesItAndRaisesIt) {
  TForm* a = NewChild();
  TForm* b = NewChild();
  a->SetBounds(0, 0, 200, 150);
  b->SetBounds(300, 0, 200, 150);
  Pump();
  int activations = 0, deactivations = 0;
  a->OnActivate = [&](TObject*) { ++activations; };
  b->OnDeactivate = [&](TObject*) { ++deactivations; };
  const POINT p = At(a, 20, 20);
  screen->Click(p.x, p.y);
  EXPECT_EQ(main->ActiveMDIChild(), a);
  EXPECT_EQ(main->MDIChildren(0), a);
  EXPECT_EQ(activations, 1);
  EXPECT_EQ(deactivations, 1);
  // A click on the caption does the same.
  RECT wr;
  GetWindowRect(b->Handle(), &wr);
  screen->Click(wr.left + 40, wr.top + 8);
  EXPECT_EQ(main->ActiveMDIChild(), b);
}

TEST_F(MdiTest, MinimiseMovesToTheIconRowAndActivatesTheNext) {
  TForm* a = NewChild();
  TForm* b = NewChild();
  b->SetWindowState(wsMinimized);
  Pump();
  EXPECT_EQ(b->WindowState(), wsMinimized);
  EXPECT_EQ(main->ActiveMDIChild(), a);
  const RECT c = ClientArea();
  EXPECT_EQ(b->Top() + b->Height(), c.bottom);
  EXPECT_EQ(b->Left(), 0);
  // Restoring brings it back where it was and makes it active.
  ShowWindow(b->Handle(), SW_RESTORE);
  Pump();
  EXPECT_EQ(b->WindowState(), wsNormal);
  EXPECT_EQ(main->ActiveMDIChild(), b);
}

TEST_F(MdiTest, MinimizeAllAndArrangeIconsLineThemUpAlongTheBottom) {
  NewChild();
  NewChild();
  NewChild();
  main->MinimizeAll();
  Pump();
  const RECT c = ClientArea();
  const int cw = GetSystemMetrics(SM_CXMINIMIZED);
  std::vector<int> lefts;
  for (int i = 0; i < 3; ++i) {
    TCustomForm* f = main->MDIChildren(i);
    EXPECT_EQ(f->WindowState(), wsMinimized);
    EXPECT_EQ(f->Top() + f->Height(), c.bottom);
    lefts.push_back(f->Left());
  }
  std::sort(lefts.begin(), lefts.end());
  EXPECT_EQ(lefts, (std::vector<int>{0, cw, 2 * cw}));
  // Moving one away and arranging closes the gap.
  TCustomForm* f = main->MDIChildren(0);
  SetWindowPos(f->Handle(), nullptr, 400, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  main->ArrangeIcons();
  lefts.clear();
  for (int i = 0; i < 3; ++i)
    lefts.push_back(main->MDIChildren(i)->Left());
  std::sort(lefts.begin(), lefts.end());
  EXPECT_EQ(lefts, (std::vector<int>{0, cw, 2 * cw}));
}

TEST_F(MdiTest, CascadePutsTheActiveChildInFrontAtTheLastStep) {
  TForm* a = NewChild();
  TForm* b = NewChild();
  TForm* c = NewChild();
  main->Cascade();
  Pump();
  const RECT area = ClientArea();
  const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  const int w = area.Width() * 3 / 4, h = area.Height() * 3 / 4;
  EXPECT_EQ(a->BoundsRect(), (RECT{0, 0, w, h}));
  EXPECT_EQ(b->BoundsRect(), (RECT{step, step, step + w, step + h}));
  EXPECT_EQ(c->BoundsRect(), (RECT{2 * step, 2 * step, 2 * step + w, 2 * step + h}));
  EXPECT_EQ(main->ActiveMDIChild(), c);
}

// Six new children in areas of three sizes: each opens whole in the area,
// one cascade step past the one before or back at the top left, at the
// size it was made with when the area has room for that and the steps.
TEST_F(MdiTest, NewChildrenStepPastEachOtherWholeInTheArea) {
  struct TCase {
    const char* Name;
    int Width, Height;
    bool DesignedSize;
    size_t Places; // distinct places the six take
  };
  const TCase cases[] = {
      {"roomy", 700, 500, true, 6},
      {"narrower than a child", 300, 420, false, 6},
      {"room for three steps", 300, 200, false, 3},
  };
  const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TearDown(); // a fresh MDI form for each area
    SetUp();
    main->SetBounds(10, 10, c.Width, c.Height);
    Pump();
    const RECT area = ClientArea();
    std::vector<POINT> places;
    POINT previous{};
    for (int i = 0; i < 6; ++i) {
      TForm* f = NewChild();
      const RECT r = f->BoundsRect();
      EXPECT_GE(r.left, 0);
      EXPECT_GE(r.top, 0);
      EXPECT_LE(r.right, area.right);
      EXPECT_LE(r.bottom, area.bottom);
      EXPECT_EQ(r.Width() == 320 && r.Height() == 240, c.DesignedSize);
      const POINT at{r.left, r.top};
      if (i > 0 && at != POINT{0, 0}) {
        EXPECT_EQ(at, (POINT{previous.x + step, previous.y + step})) << i;
      }
      previous = at;
      if (std::find(places.begin(), places.end(), at) == places.end()) places.push_back(at);
    }
    EXPECT_EQ(places.size(), c.Places);
    EXPECT_FALSE(GetWindowLong(main->ClientHandle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
  }
}

// A child moved past an edge of the area brings that edge's scroll bar;
// its arrow moves the children a step, and scrolled to the end the child
// is whole in view and the bar goes.  A maximised child has no bars.
TEST_F(MdiTest, ChildrenBeyondTheAreaBringScrollBarsThatMoveThem) {
  struct TCase {
    const char* Name;
    int Bar;
    DWORD Style;
  };
  const TCase cases[] = {
      {"past the right edge", SB_HORZ, WS_HSCROLL},
      {"past the bottom edge", SB_VERT, WS_VSCROLL},
  };
  TForm* a = NewChild();
  const HWND client = main->ClientHandle();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const RECT area = ClientArea();
    a->SetBounds(0, 0, 200, 150);
    if (c.Bar == SB_HORZ) a->SetLeft(area.right - 60);
    if (c.Bar == SB_VERT) a->SetTop(area.bottom - 40);
    Pump();
    EXPECT_EQ(GetWindowLong(client, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), c.Style);
    // The arrow at the far end of the one bar, pressed and released.
    RECT wr;
    GetWindowRect(client, &wr);
    const POINT arrow{wr.right - 8, wr.bottom - 8};
    const RECT before = a->BoundsRect();
    screen->Click(arrow.x, arrow.y);
    Pump();
    const POINT moved{a->Left() - before.left, a->Top() - before.top};
    EXPECT_EQ(moved, c.Bar == SB_HORZ ? (POINT{-16, 0}) : (POINT{0, -16}));
    SendMessage(client, c.Bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL, SB_BOTTOM, 0);
    SendMessage(client, c.Bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL, SB_ENDSCROLL, 0);
    Pump();
    const RECT now = ClientArea();
    EXPECT_EQ(c.Bar == SB_HORZ ? a->BoundsRect().right : a->BoundsRect().bottom,
              c.Bar == SB_HORZ ? now.right : now.bottom);
    EXPECT_FALSE(GetWindowLong(client, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
  }
  // A child over the corner leaves both bars' far arrows in view.
  a->SetBounds(ClientArea().right - 60, ClientArea().bottom - 40, 200, 150);
  Pump();
  ASSERT_EQ(GetWindowLong(client, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), WS_HSCROLL | WS_VSCROLL);
  RECT wr;
  GetWindowRect(client, &wr);
  const int bar = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_EQ(screen->ScreenPixel(wr.right - bar - bar / 2, wr.bottom - bar / 2),
            GetSysColor(COLOR_BTNTEXT));
  EXPECT_EQ(screen->ScreenPixel(wr.right - bar / 2, wr.bottom - bar - bar / 2),
            GetSysColor(COLOR_BTNTEXT));
  a->SetWindowState(wsMaximized);
  Pump();
  EXPECT_FALSE(GetWindowLong(client, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
}

TEST_F(MdiTest, TileSharesTheAreaInRowsOrColumnsLeavingTheIconRow) {
  TForm* a = NewChild();
  TForm* b = NewChild();
  TForm* c = NewChild();
  const RECT area = ClientArea();
  main->SetTileMode(tbHorizontal);
  main->Tile();
  const int h = area.Height() / 3;
  EXPECT_EQ(c->BoundsRect(), (RECT{0, 0, area.Width(), h}));
  EXPECT_EQ(b->BoundsRect(), (RECT{0, h, area.Width(), 2 * h}));
  EXPECT_EQ(a->BoundsRect(), (RECT{0, 2 * h, area.Width(), area.Height()}));

  a->SetWindowState(wsMinimized);
  Pump();
  main->SetTileMode(tbVertical);
  main->Tile();
  const int w = area.Width() / 2;
  const int bottom = area.Height() - GetSystemMetrics(SM_CYMINIMIZED);
  TCustomForm* first = main->MDIChildren(0);
  TCustomForm* second = first == c ? b : c;
  EXPECT_EQ(first->BoundsRect(), (RECT{0, 0, w, bottom}));
  EXPECT_EQ(second->BoundsRect(), (RECT{w, 0, area.Width(), bottom}));
}

TEST_F(MdiTest, MaximisedChildFillsTheAreaKeepingItsCaptionAndPassesItOn) {
  TForm* a = NewChild();
  TForm* b = NewChild();
  b->SetWindowState(wsMaximized);
  Pump();
  const RECT area = ClientArea();
  RECT client;
  GetClientRect(b->Handle(), &client);
  POINT corner{0, 0};
  MapWindowPoints(b->Handle(), main->ClientHandle(), &corner, 1);
  // The caption sits at the top of the area; the client fills the rest.
  EXPECT_EQ(corner.y, GetSystemMetrics(SM_CYCAPTION));
  EXPECT_EQ(corner.x, 0);
  EXPECT_EQ(client.Width(), area.Width());
  EXPECT_EQ(client.Height() + corner.y, area.Height());
  // Activating the other child hands the maximised state over.
  a->Activate();
  Pump();
  EXPECT_EQ(a->WindowState(), wsMaximized);
  EXPECT_EQ(b->WindowState(), wsNormal);
  // A bigger main window makes the maximised child bigger too.
  main->SetBounds(10, 10, 800, 560);
  Pump();
  GetClientRect(a->Handle(), &client);
  EXPECT_EQ(client.Width(), ClientArea().Width());
}

// Finds a caption button of a window by asking its hit test along the
// middle of the caption bar (screen coordinates).
POINT FindCaptionButton(HWND h, LRESULT which) {
  RECT wr;
  GetWindowRect(h, &wr);
  const int y = wr.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
  for (int x = wr.right - 1; x > wr.left; --x)
    if (SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == which) return POINT{x - 2, y};
  return POINT{-1, -1};
}

TEST_F(MdiTest, CaptionButtonsOfAMaximisedChildStayReachable) {
  NewChild();
  TForm* b = NewChild();
  POINT max = FindCaptionButton(b->Handle(), HTMAXBUTTON);
  ASSERT_GE(max.x, 0);
  screen->Click(max.x, max.y);
  EXPECT_EQ(b->WindowState(), wsMaximized);
  const std::string shot = OutPath("forms_mdi_maximized.png");
  screen->SaveScreenshot(shot);
  // The same button, now a restore button, is still on the screen inside
  // the main window.
  POINT restore = FindCaptionButton(b->Handle(), HTMAXBUTTON);
  ASSERT_GE(restore.x, 0);
  RECT mainRect;
  GetWindowRect(main->Handle(), &mainRect);
  EXPECT_TRUE(PtInRect(mainRect, restore));
  EXPECT_EQ(WindowFromPoint(restore), b->Handle());
  clock.Advance(1000);
  screen->Click(restore.x, restore.y);
  EXPECT_EQ(b->WindowState(), wsNormal);
  // The minimise button sends it to the icon row; the close button of a
  // child only minimises it.
  clock.Advance(1000);
  POINT close = FindCaptionButton(b->Handle(), HTCLOSE);
  ASSERT_GE(close.x, 0);
  screen->Click(close.x, close.y);
  EXPECT_EQ(b->WindowState(), wsMinimized);
  EXPECT_EQ(main->MDIChildCount(), 2);
}

TEST_F(MdiTest, NextAndPreviousCycleThroughTheChildren) {
  TForm* a = NewChild();
  TForm* b = NewChild();
  TForm* c = NewChild();
  main->Next();
  EXPECT_EQ(main->ActiveMDIChild(), b);
  EXPECT_EQ(main->MDIChildren(2), c); // the old one went to the back
  main->Next();
  EXPECT_EQ(main->ActiveMDIChild(), a);
  // Previous goes back to the one Next sent to the back last.
  main->Previous();
  EXPECT_EQ(main->ActiveMDIChild(), b);
  // Ctrl+F6 from the keyboard.
  screen->KeyDown(VK_CONTROL);
  screen->Key(VK_F6);
  screen->KeyUp(VK_CONTROL);
  EXPECT_EQ(main->ActiveMDIChild(), a);
}

TEST_F(MdiTest, ClosingAChildMinimisesItAndFreeingItActivatesAnother) {
  TForm* a = NewChild();
  TForm* b = NewChild();
  b->Close();
  Pump();
  EXPECT_EQ(b->WindowState(), wsMinimized);
  EXPECT_EQ(main->MDIChildCount(), 2);
  b->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  b->Close();
  Pump();
  EXPECT_EQ(main->MDIChildCount(), 1);
  EXPECT_EQ(main->MDIChildren(0), a);
  EXPECT_EQ(main->ActiveMDIChild(), a);
}

TEST_F(MdiTest, AlignedControlsTakeTheirPartBeforeTheClientArea) {
  auto* top = new TWinControl(main);
  top->SetHeight(30);
  top->SetAlign(alTop);
  top->SetParent(main);
  Pump();
  const RECT r = main->MDIClientRect();
  EXPECT_EQ(r.top, 30);
  EXPECT_EQ(r.bottom, main->ClientHeight());
  EXPECT_EQ(r.right, main->ClientWidth());
}

} // namespace
} // namespace zel::test
