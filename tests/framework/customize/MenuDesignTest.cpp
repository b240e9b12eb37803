// Menus while the customize dialog is open: a click opens a sub-menu and
// never runs a command; items are dragged within, into and out of open
// pop-ups; resting a drag on a menu opens it; the result is saved.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/actnbars/CustomizeActionBars.h"
#include "framework/actnbars/CustomizeDlg.h"
#include "framework/actnbars/DesignDrag.h"
#include "framework/core/Streams.h"
#include "framework/stdctrls/ListBox.h"
#include "framework/stdctrls/PageControl.h"
#include "tests/framework/customize/CustomizeTestSupport.h"

namespace zel {
namespace {

using namespace bartest;
using Actions = std::vector<TContainedAction*>;

class MenuDesignTest : public ::testing::TestWithParam<bool>, protected CustomizeTestSupport {
protected:
  void SetUp() override {
    StartBars({StandardStyle(), XPStyle()});
    form = MakeForm(20, 20, 560, 300, "Окно с меню");
    images =
        MakeImages(form, {TColor(0x00C000), TColor(0xC06000), TColor(0x0060E0), TColor(0x808000)},
                   GlyphShape::BigDisc);
    manager = new TActionManager(form);
    manager->SetImages(images);
    manager->SetStyle(StyleOf(GetParam()));
    open = Action("&Открыть", "Файл", 0);
    save = Action("&Сохранить", "Файл", 1);
    quit = Action("В&ыход", "Файл", -1);
    cut = Action("&Вырезать", "Правка", 2);
    paste = Action("Вст&авить", "Правка", 3);
    about = Action("О программе", "", -1);

    menuBar = MakeNamedBar<TActionMainMenuBar>("MenuBar1");
    TActionClients* top = MenuItems();
    file = top->Add();
    file->SetCaption("&Файл");
    file->Items()->Add()->SetAction(open);
    recent = file->Items()->Add();
    recent->SetCaption("&Недавние");
    recent->Items()->Add()->SetAction(save);
    file->Items()->Add()->SetAction(quit);
    edit = top->Add();
    edit->SetCaption("&Правка");
    edit->Items()->Add()->SetAction(cut);
    edit->Items()->Add()->SetAction(paste);
    top->Add()->SetAction(about);
    menuBar->RecreateControls();

    // At the foot of the form, clear of the pop-ups that open below the
    // menu bar.
    toolBar = MakeNamedBar<TActionToolBar>("ToolBar1");
    toolBar->SetAlign(alBottom);
    AddButtons(ToolItems(), {open, cut});
    more = ToolItems()->Add();
    more->SetCaption("Ещё");
    more->Items()->Add()->SetAction(paste);
    more->Items()->Add()->SetAction(about);
    toolBar->RecreateControls();
    form->Show();
    app->ProcessMessages();

    // Below the form, clear of the bars and their menus.
    StartCustomize({form->Left() + 100, form->Top() + form->Height() + 10});
  }
  void TearDown() override { StopCustomize(); }

  // Opens the menu of the menu bar's control at index by a click.
  TCustomActionPopupMenu* ClickMenu(int index) {
    ClickOn(menuBar->ActionControls(index));
    return menuBar->Popup();
  }
  // Points in the upper and the lower half of a control: a drop there goes
  // before or after its item.
  static sys::POINT Upper(TControl* c) { return c->ClientToScreen({c->Width() / 2, 3}); }
  static sys::POINT Lower(TControl* c) {
    return c->ClientToScreen({c->Width() / 2, c->Height() - 3});
  }
  // A point in the first half of a button: a drop there goes before it.
  static sys::POINT Before(TControl* c) { return c->ClientToScreen({3, c->Height() / 2}); }
  // Presses at from and moves past the drag threshold towards to.
  void StartDrag(sys::POINT from, sys::POINT to) {
    Press(from);
    MoveTo(sys::POINT{from.x + (to.x > from.x ? 8 : -8), from.y + (to.y > from.y ? 8 : -8)});
  }
  void Picture(const std::string& name) {
    EXPECT_TRUE(screen->SaveScreenshot(
        PicturePath("menu_design_" + name + (GetParam() ? "_xp" : "_standard"))));
  }

  TAction *open = nullptr, *save = nullptr, *quit = nullptr, *cut = nullptr, *paste = nullptr,
          *about = nullptr;
  TActionClientItem *file = nullptr, *recent = nullptr, *edit = nullptr, *more = nullptr;
};

TEST_P(MenuDesignTest, AClickOpensASubMenuThatStaysAndNothingRuns) {
  TCustomizeDlg* dlg = OpenDialog();
  TCustomActionPopupMenu* popup = ClickMenu(0);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->ActionClient(), file);
  EXPECT_TRUE(popup->DesignMode());
  // Time passes, items are clicked, the mouse rests on another top-level
  // item: it stays, and nothing runs.  A nested menu opens by a click too.
  ClickOn(popup->ActionControls(0));
  ClickOn(popup->ActionControls(1));
  ASSERT_NE(popup->Popup(), nullptr);
  EXPECT_EQ(popup->Popup()->ActionClient(), recent);
  HoverOn(menuBar->ActionControls(1));
  EXPECT_EQ(menuBar->Popup(), popup);
  // Another top-level item switches; the same again, or one without
  // sub-items, closes; so does a press elsewhere.
  ASSERT_NE(ClickMenu(1), nullptr);
  EXPECT_EQ(menuBar->Popup()->ActionClient(), edit);
  EXPECT_EQ(ClickMenu(1), nullptr);
  ClickMenu(0);
  EXPECT_EQ(ClickMenu(2), nullptr);
  ClickMenu(0);
  ClickAt(form->ClientToScreen({400, 150}));
  EXPECT_EQ(menuBar->Popup(), nullptr);
  // A tool bar's drop-down alike; a press on the menu bar closes it.
  ClickOn(more->Control());
  ASSERT_NE(toolBar->ActivePopup(), nullptr);
  EXPECT_TRUE(toolBar->ActivePopup()->DesignMode());
  ClickOn(toolBar->ActivePopup()->ActionControls(0));
  EXPECT_NE(toolBar->ActivePopup(), nullptr);
  ClickMenu(0);
  EXPECT_EQ(toolBar->ActivePopup(), nullptr);
  EXPECT_TRUE(executed.empty());
  // The dialog's end closes the menus.
  dlg->Close();
  app->ProcessMessages();
  EXPECT_EQ(menuBar->Popup(), nullptr);
}

TEST_P(MenuDesignTest, ItemsAreReorderedInsideASubMenu) {
  OpenDialog();
  TCustomActionPopupMenu* popup = ClickMenu(0);
  ASSERT_NE(popup, nullptr);
  TActionClientItem* first = file->Items()->Items(0);
  // "Открыть" goes below "Недавние".
  const sys::POINT to = Lower(popup->ActionControls(1));
  StartDrag(Center(popup->ActionControls(0)), to);
  MoveTo(to);
  EXPECT_EQ(DesignDropTarget().Bar, popup);
  EXPECT_EQ(DesignDropTarget().Index, 2);
  // The mark lies across the menu, between the two items.
  const sys::RECT mark = DesignInsertMarkRect();
  EXPECT_GT(mark.Width(), 3 * mark.Height());
  const int gap = popup->ActionControls(2)->ClientToScreen({0, 0}).y;
  EXPECT_LE(mark.top, gap);
  EXPECT_GE(mark.bottom, gap);
  Picture("reorder");
  Release(to);
  EXPECT_EQ(ActionsOf(file->Items()), (Actions{nullptr, open, quit}));
  EXPECT_EQ(file->Items()->Items(1), first);
  // The menu is open again with its new order.
  ASSERT_NE(menuBar->Popup(), nullptr);
  EXPECT_EQ(menuBar->Popup()->ActionControls(1)->ActionClient(), first);
  EXPECT_TRUE(executed.empty());
}

TEST_P(MenuDesignTest, SubMenuItemsMoveToTheToolBarOrGoWhenDraggedOff) {
  OpenDialog();
  TCustomActionPopupMenu* popup = ClickMenu(1);
  ASSERT_NE(popup, nullptr);
  TActionClientItem* moved = edit->Items()->Items(1);
  DragFromTo(Center(popup->ActionControls(1)), Before(toolBar->ActionControls(1)));
  EXPECT_EQ(ActionsOf(ToolItems()), (Actions{open, paste, cut, nullptr}));
  EXPECT_EQ(ToolItems()->Items(1), moved);
  EXPECT_EQ(ActionsOf(edit->Items()), (Actions{cut}));
  EXPECT_EQ(toolBar->ActionControlCount(), 4);
  // The menu is open again, one item shorter.
  ASSERT_NE(menuBar->Popup(), nullptr);
  EXPECT_EQ(menuBar->Popup()->ActionControlCount(), 1);
  // Off every bar a nested menu goes with its sub-items, and its open
  // menu closes.
  popup = ClickMenu(0);
  ClickOn(popup->ActionControls(1));
  ASSERT_NE(popup->Popup(), nullptr);
  const sys::POINT away = form->ClientToScreen({450, 150});
  StartDrag(Center(popup->ActionControls(1)), away);
  MoveTo(away);
  EXPECT_EQ(DesignDropTarget().Bar, nullptr);
  Release(away);
  EXPECT_EQ(ActionsOf(file->Items()), (Actions{open, quit}));
  ASSERT_NE(menuBar->Popup(), nullptr);
  EXPECT_EQ(menuBar->Popup()->Popup(), nullptr);
  EXPECT_EQ(menuBar->Popup()->ActionControlCount(), 2);
}

TEST_P(MenuDesignTest, ACommandDropsIntoASubMenuThatOpensWhileTheDragRests) {
  TCustomizeDlg* dlg = OpenDialog();
  ShowTab(dlg, dlg->CommandsSheet());
  TListBox* commands = dlg->CommandList();
  const sys::RECT line = commands->ItemRect(2); // "Выход"
  StartDrag(commands->ClientToScreen({30, (line.top + line.bottom) / 2}),
            Center(menuBar->ActionControls(1)));
  HoverOn(menuBar->ActionControls(1));
  TCustomActionPopupMenu* popup = menuBar->Popup();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->ActionClient(), edit);
  // Between "Вырезать" and "Вставить".
  const sys::POINT to = Upper(popup->ActionControls(1));
  MoveTo(to);
  EXPECT_EQ(DesignDropTarget().Bar, popup);
  EXPECT_EQ(DesignDropTarget().Index, 1);
  // The mark shows above the pop-up that opened after it.
  const sys::RECT mark = DesignInsertMarkRect();
  EXPECT_EQ(screen->ScreenPixel((mark.left + mark.right) / 2, mark.top + 2), sys::RGB(0, 0, 0));
  Picture("command_into_submenu");
  Release(to);
  EXPECT_EQ(ActionsOf(edit->Items()), (Actions{cut, quit, paste}));
  ASSERT_NE(menuBar->Popup(), nullptr);
  EXPECT_EQ(menuBar->Popup()->ActionControlCount(), 3);
}

TEST_P(MenuDesignTest, AnItemGoesIntoANestedMenuOpenedOnTheWayButNeverIntoItself) {
  OpenDialog();
  TActionClientItem* moved = ToolItems()->Items(1);
  StartDrag(Center(toolBar->ActionControls(1)), Center(menuBar->ActionControls(0)));
  HoverOn(menuBar->ActionControls(0));
  ASSERT_NE(menuBar->Popup(), nullptr);
  HoverOn(menuBar->Popup()->ActionControls(1));
  TCustomActionPopupMenu* nested = menuBar->Popup()->Popup();
  ASSERT_NE(nested, nullptr);
  const sys::POINT to = Lower(nested->ActionControls(0));
  MoveTo(to);
  EXPECT_EQ(DesignDropTarget().Bar, nested);
  Picture("into_nested");
  Release(to);
  EXPECT_EQ(ActionsOf(recent->Items()), (Actions{save, cut}));
  EXPECT_EQ(recent->Items()->Items(1), moved);
  EXPECT_EQ(ActionsOf(ToolItems()), (Actions{open, nullptr}));
  // Both menus are open again, the nested one with its new item.
  ASSERT_NE(menuBar->Popup(), nullptr);
  ASSERT_NE(menuBar->Popup()->Popup(), nullptr);
  EXPECT_EQ(menuBar->Popup()->Popup()->ActionControlCount(), 2);
  // Dragging "Файл" closes its menu, and resting on it opens nothing.
  StartDrag(Center(menuBar->ActionControls(0)), Center(menuBar->ActionControls(1)));
  EXPECT_EQ(menuBar->Popup(), nullptr);
  HoverOn(menuBar->ActionControls(0));
  EXPECT_EQ(menuBar->Popup(), nullptr);
  // Into "Правка", whose menu opens, it goes as a sub-menu.
  HoverOn(menuBar->ActionControls(1));
  ASSERT_NE(menuBar->Popup(), nullptr);
  const sys::POINT into = Lower(menuBar->Popup()->ActionControls(1));
  MoveTo(into);
  Release(into);
  EXPECT_EQ(edit->Items()->Items(2), file);
  EXPECT_EQ(MenuItems()->Count(), 2);
}

TEST_P(MenuDesignTest, TheChangedMenusAreSavedWithTheConfiguration) {
  TCustomizeDlg* dlg = OpenDialog();
  TCustomActionPopupMenu* popup = ClickMenu(1);
  ASSERT_NE(popup, nullptr);
  DragFromTo(Center(popup->ActionControls(1)), Before(toolBar->ActionControls(0)));
  popup = ClickMenu(0);
  ASSERT_NE(popup, nullptr);
  DragFromTo(Center(popup->ActionControls(0)), Lower(popup->ActionControls(2)));
  ASSERT_EQ(ActionsOf(file->Items()), (Actions{nullptr, quit, open}));
  TMemoryStream saved;
  manager->SaveToStream(saved);
  ASSERT_TRUE(dlg->ResetBar(0));
  ASSERT_TRUE(dlg->ResetBar(1));
  ASSERT_EQ(ActionsOf(MenuItems()->Items(1)->Items()), (Actions{cut, paste}));
  saved.Seek(0, soFromBeginning);
  manager->LoadFromStream(saved);
  TActionClients* top = MenuItems();
  ASSERT_EQ(top->Count(), 3);
  EXPECT_EQ(ActionsOf(top->Items(0)->Items()), (Actions{nullptr, quit, open}));
  EXPECT_EQ(top->Items(0)->Items()->Items(0)->Items()->Count(), 1);
  EXPECT_EQ(ActionsOf(top->Items(1)->Items()), (Actions{cut}));
  EXPECT_EQ(ActionsOf(ToolItems()), (Actions{paste, open, cut, nullptr}));
  // The bars show what was read.
  EXPECT_EQ(toolBar->ActionControlCount(), 4);
  popup = ClickMenu(0);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->ActionControls(2)->ActionClient()->Action(), open);
}

TEST_P(MenuDesignTest, AnItemGoesIntoAToolBarDropDownThatOpensWhileTheDragRests) {
  OpenDialog();
  TCustomActionPopupMenu* popup = ClickMenu(1);
  ASSERT_NE(popup, nullptr);
  // "Вырезать" from the menu goes to the end of the drop-down.
  StartDrag(Center(popup->ActionControls(0)), Center(more->Control()));
  HoverOn(more->Control());
  TCustomActionPopupMenu* drop = toolBar->ActivePopup();
  ASSERT_NE(drop, nullptr);
  const sys::POINT to = Lower(drop->ActionControls(1));
  MoveTo(to);
  EXPECT_EQ(DesignDropTarget().Bar, drop);
  Release(to);
  EXPECT_EQ(ActionsOf(more->Items()), (Actions{paste, about, cut}));
  ASSERT_NE(toolBar->ActivePopup(), nullptr);
  EXPECT_EQ(toolBar->ActivePopup()->ActionControlCount(), 3);
}

// "Недавние" shows its sub-menu below "Файл", then, dragged into the tool
// bar's drop-down, there too; dragged off every bar it goes.  The closed
// sub-menu of the menu bar still showed its sub-items: it must let go of
// them (the program's close frees it and touched them).
TEST_P(MenuDesignTest, AnItemDraggedOffLeavesNoClosedMenuOfAnotherBarOnItsSubItems) {
  OpenDialog();
  TCustomActionPopupMenu* popup = ClickMenu(0);
  ASSERT_NE(popup, nullptr);
  ClickOn(popup->ActionControls(1));
  ASSERT_NE(popup->Popup(), nullptr);
  StartDrag(Center(popup->ActionControls(1)), Center(more->Control()));
  HoverOn(more->Control());
  TCustomActionPopupMenu* drop = toolBar->ActivePopup();
  ASSERT_NE(drop, nullptr);
  const sys::POINT to = Lower(drop->ActionControls(1));
  MoveTo(to);
  Release(to);
  ASSERT_EQ(more->Items()->Items(2), recent);
  drop = toolBar->ActivePopup();
  ASSERT_NE(drop, nullptr);
  ClickOn(drop->ActionControls(2));
  ASSERT_NE(drop->Popup(), nullptr);
  EXPECT_EQ(drop->Popup()->ActionClient(), recent);
  const sys::POINT away = form->ClientToScreen({450, 150});
  StartDrag(Center(drop->ActionControls(2)), away);
  MoveTo(away);
  Release(away);
  EXPECT_EQ(ActionsOf(more->Items()), (Actions{paste, about}));
  // No pop-up of the menu bar, open or closed, shows a freed item: only
  // "Файл" and its items are left to show (compared, never followed).
  std::vector<const TActionClient*> live{nullptr, file};
  for (int i = 0; i < file->Items()->Count(); ++i)
    live.push_back(file->Items()->Items(i));
  auto isLive = [&](const TActionClient* c) {
    return std::find(live.begin(), live.end(), c) != live.end();
  };
  for (int i = 0; i < menuBar->ComponentCount(); ++i)
    if (auto* p = dynamic_cast<TCustomActionPopupMenu*>(menuBar->Components(i))) {
      EXPECT_TRUE(isLive(p->ActionClient()));
      for (int c = 0; c < p->ActionControlCount(); ++c)
        EXPECT_TRUE(isLive(p->ActionControls(c)->ActionClient()));
    }
}

INSTANTIATE_TEST_SUITE_P(Styles, MenuDesignTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "XP" : "Standard"; });

} // namespace
} // namespace zel
