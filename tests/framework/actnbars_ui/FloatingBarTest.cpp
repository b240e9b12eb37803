// Tool bars that float: dragged off a control bar by the band grip into a
// floating form, used there, and docked back by the form's caption over a
// control bar that accepts them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/docking/DragDock.h"
#include "framework/forms/Screen.h"
#include "framework/stdctrls/ControlBar.h"
#include "framework/stdctrls/Panel.h"
#include "platform/backend/Backend.h"
#include "platform/user/Input.h"
#include "platform/user/SystemParams.h"
#include "platform/user/Window.h"
#include "tests/framework/actnbars_ui/BarTestSupport.h"

namespace zel {
namespace {

using namespace bartest;

using sys::POINT;
using sys::RECT;

class FloatingBarTest : public ::testing::Test, protected BarTestSupport {
protected:
  void SetUp() override {
    StartBars({XPStyle()});
    form = MakeForm(40, 40, 520, 320, "Панели");
    form->SetPosition(poDesigned);
    images = MakeImages(form, {TColor(0x00C000), TColor(0xC06000), TColor(0x0060E0)},
                        GlyphShape::Square);
    manager = new TActionManager(form);
    manager->SetImages(images);
    manager->SetStyle(XPStyle());

    bar = new TControlBar(form);
    bar->SetParent(form);
    bar->SetAlign(alTop);
    bar->SetBevelKind(bkNone);
    bar->SetRowSize(32);
    bar->SetAutoSize(true);
    bar->SetDrawingStyle(dsGradient);
    // As the demo does: only action bars dock here.
    bar->OnDockOver = [this](TObject*, TDragDockObject* source, int, int, TDragState,
                             bool& accept) {
      accept =
          !refuse && source && source->Control() && source->Control()->Is<TCustomActionDockBar>();
    };
    other = new TPanel(form);
    other->SetBounds(0, 0, 120, 24);
    other->SetParent(bar);

    toolBar = new TActionToolBar(form);
    toolBar->SetCaption("Кнопки");
    toolBar->SetBarAutoSize(false);
    toolBar->SetBounds(200, 0, 60, 26); // too narrow for its last button
    toolBar->SetParent(bar);
    toolBar->SetActionManager(manager);
    TActionClients* buttons = manager->ActionBars()->ActionBars(0)->Items();
    for (int i = 0; i < 3; ++i) {
      TAction* a = MakeAction(form, manager, "Команда " + std::to_string(i + 1), i);
      a->OnExecute = [this, i](TObject*) { executed.push_back(i); };
      TActionClientItem* item = buttons->Add();
      item->SetAction(a);
      item->SetShowCaption(false);
    }
    toolBar->RecreateControls();
    form->Show();
    app->ProcessMessages();
  }
  void TearDown() override {
    // A bar still floating goes with its form, which the application owns.
    app->ProcessMessages();
    StopBars();
  }

  POINT Grip(TControl* band) {
    const RECT r = bar->BandRect(band);
    return bar->ClientToScreen(POINT{r.left + 4, r.top + 8});
  }
  // A point on the floating form's caption.
  POINT CaptionOf(TCustomDockForm* f) {
    const POINT tl = f->ClientToScreen(POINT{0, 0});
    return POINT{tl.x + 8, tl.y - 6}; // clear of the close box on a narrow form
  }
  // Presses on the floating form's caption and carries it to target,
  // where the mouse stays pressed; returns the point pressed.
  POINT CarryByCaption(TCustomDockForm* f, POINT target) {
    clock.Advance(1000);
    const POINT cap = CaptionOf(f);
    screen->Press(cap.x, cap.y);
    screen->MoveTo(cap.x + 20, cap.y - 20);
    screen->MoveTo(target.x, target.y);
    return cap;
  }
  // Drags the tool bar's grip to a screen point and releases it there.
  TCustomDockForm* FloatByGrip(POINT to) {
    const POINT g = Grip(toolBar);
    screen->Drag(g.x, g.y, to.x, to.y, 6);
    app->ProcessMessages();
    return dynamic_cast<TCustomDockForm*>(toolBar->HostDockSite());
  }
  // The whole screen, or only one window.
  void Picture(const std::string& name, sys::HWND window = nullptr) {
    const std::string path = PicturePath("floating_bar_" + name);
    EXPECT_TRUE(window ? screen->SaveWindowShot(window, path) : screen->SaveScreenshot(path));
  }

  // A main menu bar in the control bar's second row, with two menus of one
  // command each, and a focused panel below the control bar.
  TActionMainMenuBar* MakeMenuBar() {
    auto* menu = new TActionMainMenuBar(form);
    menu->SetCaption("Меню");
    menu->SetBounds(0, 40, 200, 24);
    menu->SetParent(bar);
    menu->SetActionManager(manager);
    TActionClients* top = manager->ActionBars()->ActionBars(1)->Items();
    TAction* open = MakeAction(form, manager, "&Открыть", 0);
    open->OnExecute = [this](TObject*) { executed.push_back(10); };
    for (const char* caption : {"&Файл", "&Правка"}) {
      TActionClientItem* item = top->Add();
      item->SetCaption(caption);
      item->Items()->Add()->SetAction(open);
    }
    menu->RecreateControls();
    focusable = new TPanel(form);
    focusable->SetParent(form);
    focusable->SetBounds(20, 120, 80, 40);
    focusable->SetTabStop(true);
    app->ProcessMessages();
    focusable->SetFocus();
    app->ProcessMessages();
    return menu;
  }
  void AltWith(const char* letter) {
    screen->KeyDown(sys::VK_MENU);
    screen->Type(letter);
    screen->KeyUp(sys::VK_MENU);
    app->ProcessMessages();
  }

  TForm* form = nullptr;
  TPanel* focusable = nullptr;
  TCustomImageList* images = nullptr;
  TActionManager* manager = nullptr;
  TControlBar* bar = nullptr;
  TPanel* other = nullptr;
  TActionToolBar* toolBar = nullptr;
  std::vector<int> executed;
  bool refuse = false;
};

TEST_F(FloatingBarTest, AToolBarDraggedOffFloatsWorksAndDocksBackByItsCaption) {
  EXPECT_EQ(bar->BandRow(toolBar), 0);
  EXPECT_EQ(toolBar->DragKind(), dkDock);
  EXPECT_GT(toolBar->HiddenCount(), 0);
  // Within the bar the grip only moves the band.
  const POINT g = Grip(toolBar);
  screen->Press(g.x, g.y);
  screen->MoveTo(g.x + 20, g.y);
  screen->MoveTo(g.x + 40, g.y);
  EXPECT_EQ(sys::GetCapture(), bar->Handle());
  EXPECT_FALSE(DockDragging());
  // Well below the bar the drag shows the floating form it would make.
  screen->MoveTo(300, 260);
  ASSERT_TRUE(DockDragging());
  EXPECT_EQ(CurrentDragDockObject()->DragTarget(), nullptr);
  const sys::SIZE client = toolBar->FloatingClientSize();
  const sys::SIZE outer = TCustomDockForm::SizeForClient(client.cx, client.cy);
  EXPECT_EQ(DockPreviewRect(), (RECT{292, 252, 292 + outer.cx, 252 + outer.cy}));
  Picture("drag_preview_floating");
  screen->Release(300, 260);
  app->ProcessMessages();

  auto* host = dynamic_cast<TCustomDockForm*>(toolBar->HostDockSite());
  ASSERT_NE(host, nullptr);
  EXPECT_TRUE(toolBar->Floating());
  EXPECT_EQ(toolBar->Parent(), host);
  EXPECT_EQ(bar->BandRow(toolBar), -1);
  EXPECT_EQ(host->Caption(), "Кнопки");
  EXPECT_TRUE(host->Visible());
  EXPECT_EQ(host->BoundsRect(), (RECT{292, 252, 292 + outer.cx, 252 + outer.cy}));
  // One row, every button shown, the form's client area fitted to it.
  EXPECT_EQ(host->ClientWidth(), client.cx);
  EXPECT_EQ(host->ClientHeight(), client.cy);
  EXPECT_EQ(toolBar->HiddenCount(), 0);
  EXPECT_EQ(toolBar->ActionControls(2)->Top(), toolBar->ActionControls(0)->Top());
  Picture("floating");
  Picture("floating_form", host->Handle());

  // Its buttons work where it floats.
  ClickOn(toolBar->ActionControls(1));
  EXPECT_EQ(executed, std::vector<int>{1});

  // The caption carries it back: over the control bar the preview is its
  // band place, and the drop docks it there.
  const POINT target = bar->ClientToScreen(POINT{180, 10});
  CarryByCaption(host, target);
  ASSERT_TRUE(DockDragging());
  EXPECT_EQ(CurrentDragDockObject()->DragTarget(), bar);
  const POINT place = bar->ClientToScreen(POINT{180 - 5 + 11, 2});
  EXPECT_EQ(DockPreviewRect().left, place.x);
  EXPECT_EQ(DockPreviewRect().top, place.y);
  Picture("drag_preview_docking");
  const RECT preview = DockPreviewRect();
  screen->Release(target.x, target.y);
  app->ProcessMessages();
  // The preview is gone from the screen.
  EXPECT_NE(screen->ScreenPixel(preview.right - 1, preview.bottom - 2),
            sys::GetSysColor(sys::COLOR_BTNSHADOW));
  EXPECT_EQ(toolBar->HostDockSite(), bar);
  EXPECT_EQ(toolBar->Parent(), bar);
  EXPECT_FALSE(toolBar->Floating());
  EXPECT_EQ(toolBar->Align(), alNone);
  EXPECT_EQ(bar->BandRow(toolBar), 0);
  EXPECT_EQ(toolBar->Left(), 186);
  EXPECT_EQ(toolBar->Height(), 26); // its docked height again
  EXPECT_EQ(toolBar->Width(), client.cx);
  EXPECT_EQ(bar->RowCount(), 1);
}

TEST_F(FloatingBarTest, ARefusingControlBarLeavesItFloatingBelowTheRowsItOpensARow) {
  TCustomDockForm* host = FloatByGrip(POINT{300, 260});
  ASSERT_NE(host, nullptr);
  const RECT was = host->BoundsRect();
  refuse = true;
  const POINT target = bar->ClientToScreen(POINT{180, 10});
  const POINT cap = CarryByCaption(host, target);
  ASSERT_TRUE(DockDragging());
  EXPECT_EQ(CurrentDragDockObject()->DragTarget(), nullptr);
  RECT moved = was;
  sys::OffsetRect(moved, target.x - cap.x, target.y - cap.y);
  EXPECT_EQ(DockPreviewRect(), moved);
  screen->Release(target.x, target.y);
  app->ProcessMessages();
  EXPECT_EQ(toolBar->HostDockSite(), host);
  EXPECT_TRUE(toolBar->Floating());
  EXPECT_EQ(host->BoundsRect(), moved);
  // A panel is no action bar: the demo's handler refuses it too.
  refuse = false;
  TDragDockObject probe(other);
  bool accept = true;
  bar->DockOver(&probe, 10, 10, dsDragMove, accept);
  EXPECT_FALSE(accept);

  // Accepted below the last row, the bar opens a row for it.
  clock.Advance(1000);
  const POINT cap2 = CaptionOf(host);
  const POINT below = bar->ClientToScreen(POINT{40, bar->Height() + 4});
  screen->Drag(cap2.x, cap2.y, below.x, below.y, 6);
  app->ProcessMessages();
  EXPECT_EQ(toolBar->Parent(), bar);
  EXPECT_EQ(bar->RowCount(), 2);
  EXPECT_EQ(bar->BandRow(toolBar), 1);
  EXPECT_EQ(bar->BandRow(other), 0);
  EXPECT_EQ(bar->Height(), 64);
}

TEST_F(FloatingBarTest, EscPutsTheBandBackAndClosingTheFormHidesTheBar) {
  const RECT band = bar->BandRect(toolBar);
  const POINT g = Grip(toolBar);
  screen->Press(g.x, g.y);
  screen->MoveTo(g.x - 60, g.y); // moves the band left within the bar
  screen->MoveTo(300, 260);
  ASSERT_TRUE(DockDragging());
  EXPECT_EQ(bar->BandRect(toolBar), band); // back in its place for the preview
  screen->Key(sys::VK_ESCAPE);
  EXPECT_FALSE(DockDragging());
  screen->Release(300, 260);
  app->ProcessMessages();
  EXPECT_EQ(toolBar->Parent(), bar);
  EXPECT_EQ(bar->BandRect(toolBar), band);

  clock.Advance(1000);
  TCustomDockForm* host = FloatByGrip(POINT{300, 260});
  ASSERT_NE(host, nullptr);
  // The close box of its caption, found along the caption's middle.
  const POINT cap = CaptionOf(host);
  POINT box{0, cap.y};
  for (int x = host->BoundsRect().right - 1; x > cap.x && !box.x; --x)
    if (sys::SendMessage(host->Handle(), sys::WM_NCHITTEST, 0, sys::MAKELPARAM(x, cap.y)) ==
        sys::HTCLOSE)
      box.x = x - 3;
  ASSERT_NE(box.x, 0);
  clock.Advance(1000);
  screen->Click(box.x, box.y);
  app->ProcessMessages();
  EXPECT_FALSE(host->Visible());
  EXPECT_FALSE(toolBar->Visible());
  // Shown again, the bar brings its form back.
  toolBar->Show();
  app->ProcessMessages();
  EXPECT_TRUE(host->Visible());
  EXPECT_TRUE(toolBar->Floating());
}

TEST_F(FloatingBarTest, AFloatingMainMenuBarStillAnswersTheFormsMenuKeys) {
  TActionMainMenuBar* menu = MakeMenuBar();
  const POINT g = Grip(menu);
  screen->Drag(g.x, g.y, 300, 280, 6);
  app->ProcessMessages();
  auto* host = dynamic_cast<TCustomDockForm*>(menu->HostDockSite());
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(host->Caption(), "Меню");
  EXPECT_EQ(bar->RowCount(), 1);
  EXPECT_EQ(menu->HiddenCount(), 0);
  EXPECT_EQ(form->MenuKeyBar(), menu);
  // The keyboard is the main form's again, in the panel it had.
  form->SetFocus();
  focusable->SetFocus();
  app->ProcessMessages();
  ASSERT_EQ(sys::GetFocus(), focusable->Handle());

  // Alt alone enters the menu loop on the first item; Esc leaves it and
  // the panel has the keys again.
  screen->Key(sys::VK_MENU);
  app->ProcessMessages();
  EXPECT_TRUE(menu->InMenuLoop());
  EXPECT_EQ(menu->SelectedControl(), menu->ActionControls(0));
  Picture("menu_loop");
  screen->Key(sys::VK_RIGHT);
  EXPECT_EQ(menu->SelectedControl(), menu->ActionControls(1));
  screen->Key(sys::VK_ESCAPE);
  app->ProcessMessages();
  EXPECT_FALSE(menu->InMenuLoop());
  EXPECT_EQ(sys::GetFocus(), focusable->Handle());
  EXPECT_EQ(sys::GetActiveWindow(), form->Handle());

  // F10 the same.
  screen->Key(sys::VK_F10);
  app->ProcessMessages();
  EXPECT_TRUE(menu->InMenuLoop());
  screen->Key(sys::VK_ESCAPE);
  app->ProcessMessages();
  EXPECT_FALSE(menu->InMenuLoop());
  EXPECT_EQ(sys::GetFocus(), focusable->Handle());

  // Alt+letter opens that menu below its item where the bar floats, and
  // Enter runs the command; the panel has the keys afterwards.
  AltWith("п");
  TCustomActionPopupMenu* popup = menu->Popup();
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(popup->Visible());
  const POINT below =
      menu->ActionControls(1)->ClientToScreen(POINT{0, menu->ActionControls(1)->Height()});
  EXPECT_EQ(popup->BoundsRect().left, below.x);
  EXPECT_EQ(popup->BoundsRect().top, below.y);
  Picture("menu_open");
  screen->Key(sys::VK_RETURN);
  app->ProcessMessages();
  EXPECT_EQ(executed, std::vector<int>{10});
  EXPECT_FALSE(menu->InMenuLoop());
  EXPECT_EQ(sys::GetFocus(), focusable->Handle());

  // Docked back, the bar is one of the form's controls again.
  clock.Advance(1000);
  const POINT cap = CaptionOf(host);
  const POINT target = bar->ClientToScreen(POINT{20, 10});
  screen->Drag(cap.x, cap.y, target.x, target.y, 6);
  app->ProcessMessages();
  ASSERT_FALSE(menu->Floating());
  EXPECT_EQ(menu->Parent(), bar);
  EXPECT_EQ(bar->BandRow(menu), 0);
  focusable->SetFocus();
  screen->Key(sys::VK_F10);
  app->ProcessMessages();
  EXPECT_TRUE(menu->InMenuLoop());
  screen->Key(sys::VK_ESCAPE);
  app->ProcessMessages();
  EXPECT_FALSE(menu->InMenuLoop());
  // A menu bar that is gone is forgotten.
  delete menu;
  EXPECT_EQ(form->MenuKeyBar(), nullptr);
}

// Drags the floating form's right frame edge by dx pixels.  A form this
// low has corners only along its right edge; the lower one is taken and
// moved sideways.
void DragRightEdge(sys::HeadlessBackend& screen, TCustomDockForm* host, int dx) {
  const RECT r = host->BoundsRect();
  const int y = r.bottom - 8;
  int x = r.right - 1;
  while (x > r.left && sys::SendMessage(host->Handle(), sys::WM_NCHITTEST, 0,
                                        sys::MAKELPARAM(x, y)) != sys::HTBOTTOMRIGHT)
    --x;
  ASSERT_GT(x, r.left);
  sys::AdvanceTime(1000);
  screen.Drag(x, y, x + dx, y, 4);
}

TEST_F(FloatingBarTest, AFloatingToolBarWrapsIntoRowsWhenItsFormIsNarrowed) {
  TActionClients* buttons = manager->ActionBars()->ActionBars(0)->Items();
  for (int i = 3; i < 6; ++i) {
    TAction* a = MakeAction(form, manager, "Команда " + std::to_string(i + 1), i % 3);
    a->OnExecute = [this, i](TObject*) { executed.push_back(i); };
    TActionClientItem* item = buttons->Add();
    item->SetAction(a);
    item->SetShowCaption(false);
  }
  toolBar->RecreateControls();
  TCustomDockForm* host = FloatByGrip(POINT{300, 260});
  ASSERT_NE(host, nullptr);
  ASSERT_EQ(toolBar->ActionControlCount(), 6);
  TCustomActionControl* first = toolBar->ActionControls(0);
  TCustomActionControl* fourth = toolBar->ActionControls(3);
  const int wide = host->Width(), oneRow = host->ClientHeight();
  EXPECT_EQ(fourth->Top(), first->Top());
  auto allShown = [this] {
    for (int i = 0; i < toolBar->ActionControlCount(); ++i) {
      TCustomActionControl* c = toolBar->ActionControls(i);
      if (!c->Visible() || c->Left() + c->Width() > toolBar->ClientWidth() ||
          c->Top() + c->Height() > toolBar->ClientHeight())
        return false;
    }
    return toolBar->HiddenCount() == 0 &&
           !(toolBar->ScrollButton() && toolBar->ScrollButton()->Visible());
  };

  // Room for three buttons a row: two rows, the form as high as both.
  const int button = first->Width();
  const int narrow = first->Left() * 2 + 3 * button + button / 2;
  DragRightEdge(*screen, host, narrow - host->ClientWidth());
  app->ProcessMessages();
  EXPECT_EQ(host->ClientWidth(), narrow);
  EXPECT_TRUE(allShown());
  EXPECT_EQ(fourth->Left(), first->Left());
  EXPECT_EQ(fourth->Top(), first->Top() + first->Height());
  EXPECT_EQ(toolBar->ActionControls(2)->Top(), first->Top());
  EXPECT_EQ(host->ClientHeight(), oneRow + first->Height());
  EXPECT_EQ(toolBar->Height(), host->ClientHeight());
  Picture("wrapped", host->Handle());
  // The buttons of the second row work.
  ClickOn(toolBar->ActionControls(4));
  EXPECT_EQ(executed, std::vector<int>{4});

  // Far narrower stops at one button a row, whatever the caption: the
  // caption is cut rather than holding the form wide.
  const int oneButton =
      std::max(first->Left() * 2 + button, int(TCustomActionDockBar::MinFloatingWidth));
  for (const std::string& caption :
       {std::string(), std::string(20, 'W') + " кнопки", std::string("Кнопки")}) {
    SCOPED_TRACE(caption);
    toolBar->SetCaption(caption);
    DragRightEdge(*screen, host, -300);
    app->ProcessMessages();
    EXPECT_EQ(host->ClientWidth(), oneButton);
  }
  EXPECT_TRUE(allShown());
  for (int i = 1; i < 6; ++i) {
    EXPECT_EQ(toolBar->ActionControls(i)->Left(), first->Left());
    EXPECT_EQ(toolBar->ActionControls(i)->Top(), first->Top() + i * first->Height());
  }
  EXPECT_EQ(host->ClientHeight(), oneRow + 5 * first->Height());
  Picture("narrowest", host->Handle());

  // Widened again: one row, the form back to its height.
  DragRightEdge(*screen, host, wide - host->Width());
  app->ProcessMessages();
  EXPECT_EQ(host->Width(), wide);
  EXPECT_EQ(host->ClientHeight(), oneRow);
  EXPECT_EQ(toolBar->ActionControls(5)->Top(), first->Top());
  EXPECT_TRUE(allShown());

  // A program setting the width gets the same rows.
  host->SetWidth(host->Width() - host->ClientWidth() + narrow);
  app->ProcessMessages();
  EXPECT_EQ(host->ClientHeight(), oneRow + first->Height());
  EXPECT_EQ(host->ClientRect(), toolBar->BoundsRect());
  EXPECT_TRUE(allShown());
  host->SetWidth(wide);
  app->ProcessMessages();
  EXPECT_EQ(host->ClientHeight(), oneRow);

  // The bottom edge dragged down by a row makes two rows, the form as
  // narrow as they allow; dragged up again, one row.
  {
    const RECT r = host->BoundsRect();
    const int x = (r.left + r.right) / 2;
    int y = r.bottom - 1;
    while (y > r.top && sys::SendMessage(host->Handle(), sys::WM_NCHITTEST, 0,
                                         sys::MAKELPARAM(x, y)) != sys::HTBOTTOM)
      --y;
    ASSERT_GT(y, r.top);
    clock.Advance(1000);
    screen->Drag(x, y, x, y + first->Height() + 2, 4);
    app->ProcessMessages();
    EXPECT_EQ(host->Left(), r.left);
    EXPECT_EQ(host->ClientHeight(), oneRow + first->Height());
    EXPECT_EQ(host->ClientWidth(), first->Left() * 2 + 3 * button);
    EXPECT_EQ(fourth->Left(), first->Left());
    EXPECT_TRUE(allShown());
    Picture("rows_by_bottom_edge", host->Handle());
    const RECT r2 = host->BoundsRect();
    clock.Advance(1000);
    screen->Drag(x - 20, r2.bottom - 2, x - 20, r2.bottom - 2 - first->Height(), 4);
    app->ProcessMessages();
    EXPECT_EQ(host->Width(), wide);
    EXPECT_EQ(host->ClientHeight(), oneRow);
  }

  // Narrowed and docked, the bar is one row again, as wide as the row
  // needs: the preview shows it so, and nothing hides behind the scroll
  // button.
  DragRightEdge(*screen, host, narrow - host->ClientWidth());
  app->ProcessMessages();
  const int oneRowWidth = toolBar->FloatingClientSize().cx;
  ASSERT_GT(oneRowWidth, narrow);
  const POINT target = bar->ClientToScreen(POINT{180, 10});
  CarryByCaption(host, target);
  ASSERT_TRUE(DockDragging());
  EXPECT_EQ(DockPreviewRect().right - DockPreviewRect().left, oneRowWidth);
  screen->Release(target.x, target.y);
  app->ProcessMessages();
  ASSERT_EQ(toolBar->Parent(), bar);
  EXPECT_EQ(toolBar->Height(), 26);
  EXPECT_EQ(toolBar->Width(), oneRowWidth);
  EXPECT_EQ(toolBar->ActionControls(5)->Top(), first->Top());
  EXPECT_TRUE(allShown());
  Picture("docked_back_in_one_row");
}

// Every point of a side edge of the low floating form sizes it, and the
// middle half of the edge sizes the width alone, not as a corner.
TEST_F(FloatingBarTest, EveryPointOfASideEdgeSizesTheFloatingForm) {
  TCustomDockForm* host = FloatByGrip(POINT{300, 260});
  ASSERT_NE(host, nullptr);
  const int height = host->Height();
  for (const bool right : {true, false}) {
    for (int k = 0; k <= 4; ++k) {
      SCOPED_TRACE(std::string(right ? "right" : "left") + " edge, point " + std::to_string(k));
      const RECT r = host->BoundsRect();
      const int x = right ? r.right - 2 : r.left + 1, y = r.top + k * (height - 1) / 4;
      const sys::LRESULT hit =
          sys::SendMessage(host->Handle(), sys::WM_NCHITTEST, 0, sys::MAKELPARAM(x, y));
      if (k >= 1 && k <= 3) {
        EXPECT_EQ(hit, right ? sys::HTRIGHT : sys::HTLEFT);
      }
      const int out = right ? 24 : -24;
      clock.Advance(1000);
      screen->Drag(x, y, x + out, y, 4);
      app->ProcessMessages();
      EXPECT_EQ(host->Width(), r.right - r.left + 24);
      EXPECT_EQ(right ? host->Left() : host->BoundsRect().right, right ? r.left : r.right);
      clock.Advance(1000);
      screen->Drag(x + out, y, x, y, 4);
      app->ProcessMessages();
      EXPECT_EQ(host->BoundsRect(), r);
    }
  }
}

TEST_F(FloatingBarTest, ADockedBackBarIsNoWiderThanItsControlBar) {
  TCustomDockForm* host = FloatByGrip(POINT{300, 260});
  ASSERT_NE(host, nullptr);
  DragRightEdge(*screen, host, TCustomActionDockBar::MinFloatingWidth - host->ClientWidth());
  app->ProcessMessages();
  // The main window narrower than the bar's one row plus its grip.
  const int oneRowWidth = toolBar->FloatingClientSize().cx;
  form->SetClientWidth(oneRowWidth);
  app->ProcessMessages();
  ASSERT_EQ(bar->ClientWidth(), oneRowWidth);
  clock.Advance(1000);
  const POINT cap = CaptionOf(host);
  const POINT below = bar->ClientToScreen(POINT{2, bar->Height() + 4});
  screen->Drag(cap.x, cap.y, below.x, below.y, 6);
  app->ProcessMessages();
  ASSERT_EQ(toolBar->Parent(), bar);
  // The band's grip and edges take the rest of the bar's width.
  EXPECT_EQ(toolBar->Width(), oneRowWidth - 11 - 2);
  EXPECT_LE(bar->BandRect(toolBar).right, bar->ClientWidth());
  EXPECT_EQ(toolBar->Height(), 26);
}

// A program putting a floating bar back by giving it a parent (as a saved
// placement does) docks it: the floating form lets go of it and the
// control bar takes it as a band at its docked height.
TEST_F(FloatingBarTest, GivingAFloatingBarAParentDocksItThere) {
  ASSERT_TRUE(toolBar->ManualFloat(RECT{300, 250, 400, 290}));
  app->ProcessMessages();
  auto* host = dynamic_cast<TCustomDockForm*>(toolBar->HostDockSite());
  ASSERT_NE(host, nullptr);
  const sys::HWND hostWindow = host->Handle();
  toolBar->SetParent(bar);
  app->ProcessMessages();
  EXPECT_EQ(toolBar->Parent(), bar);
  EXPECT_EQ(toolBar->HostDockSite(), bar);
  EXPECT_FALSE(toolBar->Floating());
  EXPECT_GE(bar->BandRow(toolBar), 0);
  EXPECT_EQ(toolBar->Height(), 26);
  // The emptied floating form goes.
  EXPECT_FALSE(sys::IsWindow(hostWindow) && sys::IsWindowVisible(hostWindow));
  // A bar that does not float is simply moved.
  toolBar->SetParent(form);
  EXPECT_EQ(toolBar->Parent(), form);
}

TEST_F(FloatingBarTest, TheMainWindowLooksActiveWhileItsFloatingBarIsActive) {
  // A pixel of a caption near its left end, where the gradient starts.
  auto captionPixel = [this](TCustomForm* f) {
    app->ProcessMessages();
    return screen->ScreenPixel(f->Left() + 24, f->Top() + 8);
  };
  form->SetFocus();
  const auto active = captionPixel(form);
  TCustomDockForm* host = FloatByGrip(POINT{300, 260});
  ASSERT_NE(host, nullptr);
  sys::SetActiveWindow(host->Handle());
  app->ProcessMessages();
  ASSERT_EQ(sys::GetActiveWindow(), host->Handle());
  EXPECT_EQ(captionPixel(form), active);
  const auto hostActive = captionPixel(host);
  Picture("owner_active");

  // Leaving the program turns both inactive; coming back the floating form
  // is active again and the main window with it.
  sys::InputAppActive(false);
  EXPECT_NE(captionPixel(form), active);
  EXPECT_NE(captionPixel(host), hostActive);
  Picture("both_inactive");
  sys::InputAppActive(true);
  sys::SetActiveWindow(host->Handle());
  EXPECT_EQ(captionPixel(form), active);

  // Another window of the program taking over turns the main window's
  // caption inactive too; the main window itself active again is active.
  TForm* other = MakeForm(600, 300, 200, 120, "Другое");
  other->Show();
  app->ProcessMessages();
  ASSERT_EQ(sys::GetActiveWindow(), other->Handle());
  EXPECT_NE(captionPixel(form), active);
  sys::SetActiveWindow(form->Handle());
  EXPECT_EQ(captionPixel(form), active);
}

TEST_F(FloatingBarTest, TheFormGoingWhileItsBarsFloatTakesThemAlong) {
  TActionMainMenuBar* menu = MakeMenuBar();
  const POINT g = Grip(menu);
  screen->Drag(g.x, g.y, 300, 280, 6);
  app->ProcessMessages();
  ASSERT_TRUE(menu->Floating());
  TCustomDockForm* host = FloatByGrip(POINT{100, 400});
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(host->OwnerForm(), form);
  EXPECT_EQ(sys::GetWindow(host->Handle(), sys::GW_OWNER), form->Handle());
  // The bars go with their owner, and their emptied floating forms after.
  delete form;
  form = nullptr;
  app->ProcessMessages();
  EXPECT_EQ(app->MainForm(), nullptr);
  for (int i = 0; i < Screen->FormCount(); ++i)
    EXPECT_FALSE(Screen->Forms(i)->Is<TCustomDockForm>());
}

} // namespace
} // namespace zel
