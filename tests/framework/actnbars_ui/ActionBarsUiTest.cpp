// Tool bars, the main menu bar and its pop-up menus driven by real input
// on the headless screen, in the Standard and XP styles.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/actnbars/CustomizeActionBars.h"
#include "framework/actnbars/CustomizeDlg.h"
#include "framework/actnbars/PopupActnBar.h"
#include "framework/stdctrls/PageControl.h"
#include "framework/stdctrls/Panel.h"
#include "tests/framework/actnbars_ui/BarTestSupport.h"

namespace zel {
namespace {

using namespace bartest;

class ActionBarsUiTest : public ::testing::TestWithParam<bool>, protected BarTestSupport {
protected:
  void SetUp() override {
    StartBars({StandardStyle(), XPStyle()});
    form = MakeForm(40, 40, 520, 320, "Действия");
    images = MakeImages(form, {TColor(0x00C000), TColor(0xC06000), TColor(0x0060E0)},
                        GlyphShape::Square);
    manager = new TActionManager(form);
    manager->SetImages(images);
    manager->SetStyle(StyleOf(GetParam()));
    open = Action("&Открыть...", 0, scCtrl | 'O');
    save = Action("&Сохранить", 1, scCtrl | 'S');
    cut = Action("&Вырезать", 2, scCtrl | 'X');
    paste = Action("Вст&авить", -1, scNone);
    quit = Action("В&ыход", -1, scNone);
    cut->SetEnabled(false);

    menuBar = MakeBar<TActionMainMenuBar>(form, manager);
    TActionClients* top = manager->ActionBars()->ActionBars(0)->Items();
    file = top->Add();
    file->SetCaption("&Файл");
    Item(file, open);
    Item(file, save);
    file->Items()->AddSeparator();
    Item(file, quit);
    edit = top->Add();
    edit->SetCaption("&Правка");
    Item(edit, cut);
    Item(edit, paste);
    menuBar->RecreateControls();

    toolBar = MakeBar<TActionToolBar>(form, manager);
    toolBar->SetTop(100);
    TActionClients* buttons = manager->ActionBars()->ActionBars(1)->Items();
    AddButtons(buttons, {open, save});
    buttons->AddSeparator();
    buttons->Add()->SetAction(cut);
    buttons->Add()->SetAction(paste);
    toolBar->RecreateControls();
    form->Show();
    app->ProcessMessages();
  }
  void TearDown() override { StopBars(); }

  TAction* Action(const std::string& caption, int image, TShortCut sc) {
    TAction* a = MakeAction(form, manager, caption, image);
    a->SetShortCut(sc);
    a->OnExecute = [this, a](TObject*) { executed.push_back(a); };
    return a;
  }
  TActionClientItem* Item(TActionClientItem* parent, TCustomAction* a) {
    TActionClientItem* i = parent->Items()->Add();
    i->SetAction(a);
    return i;
  }
  TCustomActionControl* ControlOf(TCustomAction* a) {
    TActionClientItem* i = manager->FindItemByAction(a);
    return i ? i->Control() : nullptr;
  }
  void Picture(sys::HWND window, const std::string& name) {
    const std::string style = GetParam() ? "xp" : "standard";
    EXPECT_TRUE(screen->SaveWindowShot(window, PicturePath("actnbars_" + style + "_" + name)));
  }

  TForm* form = nullptr;
  TCustomImageList* images = nullptr;
  TActionManager* manager = nullptr;
  TAction *open = nullptr, *save = nullptr, *cut = nullptr, *paste = nullptr, *quit = nullptr;
  TActionClientItem *file = nullptr, *edit = nullptr;
  TActionMainMenuBar* menuBar = nullptr;
  TActionToolBar* toolBar = nullptr;
  std::vector<TBasicAction*> executed;
};

TEST_P(ActionBarsUiTest, ToolBarLaysOutButtonsInARowAndClicksExecute) {
  ASSERT_EQ(toolBar->ActionControlCount(), 5);
  TCustomActionControl* first = toolBar->ActionControls(0);
  TCustomActionControl* second = toolBar->ActionControls(1);
  // Glyph-only buttons are square around the glyph; neighbours touch.
  EXPECT_EQ(first->Width(), 23);
  EXPECT_EQ(second->Left(), first->Left() + first->Width() + toolBar->Spacing());
  EXPECT_EQ(first->Left(), toolBar->HorzMargin());
  // A button with its caption is wider.
  EXPECT_GT(toolBar->ActionControls(4)->Width(), 40);

  HoverOn(second);
  EXPECT_TRUE(second->MouseInControl());
  EXPECT_FALSE(first->MouseInControl());
  ClickOn(second);
  ASSERT_EQ(executed.size(), 1u);
  EXPECT_EQ(executed[0], save);
  EXPECT_EQ(second->ActionClient()->UsageCount(), 1);

  // A disabled action is not executed; enabling it makes the button work.
  ClickOn(toolBar->ActionControls(3));
  EXPECT_EQ(executed.size(), 1u);
  cut->SetEnabled(true);
  ClickOn(toolBar->ActionControls(3));
  EXPECT_EQ(executed.back(), cut);

  // A press shows the pressed state until the release.
  const sys::POINT p = Center(first);
  screen->Press(p.x, p.y);
  app->ProcessMessages();
  EXPECT_TRUE(first->Pressed());
  screen->Release(p.x, p.y);
  app->ProcessMessages();
  EXPECT_FALSE(first->Pressed());
  Picture(form->Handle(), "toolbar");
}

TEST_P(ActionBarsUiTest, ANarrowToolBarHidesOrWrapsWhatDoesNotFit) {
  toolBar->SetAlign(alNone);
  toolBar->SetWidth(55);
  EXPECT_EQ(toolBar->HiddenCount(), 3);
  EXPECT_FALSE(toolBar->ActionControls(4)->Visible());
  const int oneRow = toolBar->Height();
  toolBar->SetWrapping(true);
  EXPECT_EQ(toolBar->HiddenCount(), 0);
  EXPECT_TRUE(toolBar->ActionControls(4)->Visible());
  EXPECT_GT(toolBar->ActionControls(4)->Top(), toolBar->ActionControls(0)->Top());
  EXPECT_GT(toolBar->Height(), oneRow);
}

TEST_P(ActionBarsUiTest, TheScrollButtonOpensAPopUpOfTheHiddenItems) {
  toolBar->SetAlign(alNone);
  toolBar->SetWidth(70);
  TCustomActionControl* scroll = toolBar->ScrollButton();
  ASSERT_NE(scroll, nullptr);
  ASSERT_TRUE(scroll->Visible());
  // The button sits at the end of the row; no shown item runs under it.
  EXPECT_EQ(scroll->Left() + scroll->Width(), toolBar->ClientWidth() - toolBar->HorzMargin());
  for (int i = 0; i < toolBar->ActionControlCount(); ++i) {
    if (toolBar->ActionControls(i)->Visible()) {
      EXPECT_LE(toolBar->ActionControls(i)->BoundsRect().right, scroll->Left());
    }
  }
  app->ProcessMessages();
  Picture(form->Handle(), "toolbar_narrow");
  ClickOn(scroll);
  TCustomActionPopupMenu* popup = toolBar->ActivePopup();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->ActionControlCount(), toolBar->HiddenCount());
  Picture(popup->Handle(), "toolbar_hidden_items");
  // The last hidden item is "Вставить"; choosing it runs the action.
  ClickOn(popup->ActionControls(popup->ActionControlCount() - 1));
  ASSERT_FALSE(executed.empty());
  EXPECT_EQ(executed.back(), paste);
  EXPECT_EQ(toolBar->ActivePopup(), nullptr);
  // Wide again: everything fits and the button goes.
  toolBar->SetWidth(400);
  EXPECT_EQ(toolBar->HiddenCount(), 0);
  EXPECT_FALSE(scroll->Visible());
}

TEST_P(ActionBarsUiTest, ADropDownButtonOpensItsSubItems) {
  TActionClients* buttons = manager->ActionBars()->ActionBars(1)->Items();
  TActionClientItem* more = buttons->Add();
  more->SetCaption("Ещё");
  Item(more, quit);
  Item(more, open);
  toolBar->RecreateControls();
  ASSERT_EQ(toolBar->ActionControlCount(), 6);
  TCustomActionControl* drop = toolBar->ActionControls(5);
  EXPECT_TRUE(drop->InheritsFrom(TCustomDropDownButton::StaticClass()));
  ClickOn(drop);
  TCustomActionPopupMenu* popup = toolBar->ActivePopup();
  ASSERT_NE(popup, nullptr);
  EXPECT_FALSE(popup->InheritsFrom(TCustomizeActionToolBar::StaticClass()));
  ASSERT_EQ(popup->ActionControlCount(), 2);
  EXPECT_EQ(popup->Top(), drop->ClientToScreen({0, drop->Height()}).y);
  HoverOn(drop);
  app->ProcessMessages();
  Picture(form->Handle(), "toolbar_drop_down");
  ClickOn(popup->ActionControls(0));
  ASSERT_EQ(executed.size(), 1u);
  EXPECT_EQ(executed[0], quit);
  EXPECT_EQ(toolBar->ActivePopup(), nullptr);
  // Opened again, a press anywhere else closes it without running anything.
  ClickOn(drop);
  ASSERT_NE(toolBar->ActivePopup(), nullptr);
  ClickAt(form->ClientToScreen({300, 250}));
  EXPECT_EQ(toolBar->ActivePopup(), nullptr);
  EXPECT_EQ(executed.size(), 1u);
}

TEST_P(ActionBarsUiTest, TheCustomizePopUpTogglesAnItemAndResetsTheBar) {
  const sys::POINT p = toolBar->ClientToScreen({toolBar->Width() - 20, 10});
  clock.Advance(1000);
  screen->Click(p.x, p.y, sys::MouseButton::Right);
  app->ProcessMessages();
  TCustomActionPopupMenu* popup = toolBar->ActivePopup();
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(popup->InheritsFrom(TCustomizeActionToolBar::StaticClass()));
  ASSERT_EQ(popup->ActionControlCount(), 2);
  // Hovering the add-or-remove item opens the list of the bar's items.
  HoverOn(popup->ActionControls(0));
  TCustomActionPopupMenu* list = popup->Popup();
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->ActionControlCount(), 4); // the separator is not listed
  EXPECT_TRUE(list->ActionControls(1)->IsChecked());
  HoverOn(list->ActionControls(1));
  Picture(popup->Handle(), "customize_popup");
  Picture(list->Handle(), "customize_add_remove");
  ClickOn(list->ActionControls(1));
  // "Сохранить" is hidden: four controls remain and the pop-ups closed.
  EXPECT_FALSE(manager->ActionBars()->ActionBars(1)->Items()->Items(1)->Visible());
  EXPECT_EQ(toolBar->ActionControlCount(), 4);
  EXPECT_EQ(toolBar->ActivePopup(), nullptr);
  // Reset shows it again.
  clock.Advance(1000);
  screen->Click(p.x, p.y, sys::MouseButton::Right);
  app->ProcessMessages();
  popup = toolBar->ActivePopup();
  ASSERT_NE(popup, nullptr);
  ClickOn(popup->ActionControls(1));
  EXPECT_EQ(toolBar->ActionControlCount(), 5);
}

TEST_P(ActionBarsUiTest, MenusOpenByMouseSwitchOnHoverAndExecute) {
  ASSERT_EQ(menuBar->ActionControlCount(), 2);
  TCustomActionControl* fileButton = menuBar->ActionControls(0);
  TCustomActionControl* editButton = menuBar->ActionControls(1);
  EXPECT_LT(fileButton->Height(), 26);
  ClickOn(fileButton);
  ASSERT_NE(menuBar->Popup(), nullptr);
  EXPECT_TRUE(menuBar->InMenuLoop());
  TCustomActionPopupMenu* popup = menuBar->Popup();
  EXPECT_EQ(popup->ActionControlCount(), 4);
  EXPECT_EQ(popup->Top(), fileButton->ClientToScreen({0, fileButton->Height()}).y);
  // The separator is thin, items are taller, all are as wide as the menu.
  EXPECT_LT(popup->ActionControls(2)->Height(), popup->ActionControls(0)->Height());
  EXPECT_EQ(popup->ActionControls(0)->Width(), popup->ActionControls(3)->Width());
  HoverOn(popup->ActionControls(1));
  EXPECT_TRUE(popup->ActionControls(1)->Selected());
  Picture(popup->Handle(), "file_menu");
  Picture(form->Handle(), "menubar_open");

  // Hovering the other top-level item switches to its menu.
  HoverOn(editButton);
  ASSERT_NE(menuBar->Popup(), nullptr);
  EXPECT_EQ(menuBar->Popup()->ActionClient(), edit);
  EXPECT_TRUE(editButton->Selected());
  EXPECT_FALSE(fileButton->Selected());
  // The disabled item does nothing; the enabled one executes and closes all.
  TCustomActionPopupMenu* editMenu = menuBar->Popup();
  Picture(editMenu->Handle(), "edit_menu");
  ClickOn(editMenu->ActionControls(0));
  EXPECT_TRUE(executed.empty());
  EXPECT_NE(menuBar->Popup(), nullptr);
  ClickOn(editMenu->ActionControls(1));
  ASSERT_EQ(executed.size(), 1u);
  EXPECT_EQ(executed[0], paste);
  EXPECT_EQ(menuBar->Popup(), nullptr);
  EXPECT_FALSE(menuBar->InMenuLoop());
  EXPECT_EQ(manager->FindItemByAction(paste)->UsageCount(), 1);

  // A second click on an open menu's button closes it.
  ClickOn(fileButton);
  ASSERT_NE(menuBar->Popup(), nullptr);
  ClickOn(fileButton);
  EXPECT_EQ(menuBar->Popup(), nullptr);
}

TEST_P(ActionBarsUiTest, TheKeyboardWalksTheMenus) {
  menuBar->EnterMenuLoop();
  EXPECT_TRUE(menuBar->InMenuLoop());
  EXPECT_TRUE(menuBar->ActionControls(0)->Selected());
  screen->Key(sys::VK_RIGHT);
  EXPECT_TRUE(menuBar->ActionControls(1)->Selected());
  screen->Key(sys::VK_RIGHT); // wraps round
  EXPECT_TRUE(menuBar->ActionControls(0)->Selected());
  screen->Key(sys::VK_DOWN);
  ASSERT_NE(menuBar->Popup(), nullptr);
  TCustomActionPopupMenu* popup = menuBar->Popup();
  EXPECT_EQ(popup->SelectedControl(), popup->ActionControls(0));
  screen->Key(sys::VK_UP); // wraps to the last item, over the separator
  EXPECT_EQ(popup->SelectedControl(), popup->ActionControls(3));
  screen->Key(sys::VK_UP);
  EXPECT_EQ(popup->SelectedControl(), popup->ActionControls(1));
  // Right in a menu without sub-items moves to the next top-level menu.
  screen->Key(sys::VK_RIGHT);
  ASSERT_NE(menuBar->Popup(), nullptr);
  EXPECT_EQ(menuBar->Popup()->ActionClient(), edit);
  // The disabled first item is skipped.
  EXPECT_EQ(menuBar->Popup()->SelectedControl(), menuBar->Popup()->ActionControls(1));
  screen->Key(sys::VK_ESCAPE);
  EXPECT_EQ(menuBar->Popup(), nullptr);
  EXPECT_TRUE(menuBar->InMenuLoop());
  screen->Key(sys::VK_LEFT);
  screen->Key(sys::VK_RETURN);
  ASSERT_NE(menuBar->Popup(), nullptr);
  EXPECT_EQ(menuBar->Popup()->ActionClient(), file);
  screen->Key(sys::VK_RETURN);
  ASSERT_EQ(executed.size(), 1u);
  EXPECT_EQ(executed[0], open);
  EXPECT_FALSE(menuBar->InMenuLoop());

  // An accelerator letter picks the item in the open menu.
  EXPECT_TRUE(menuBar->OpenByAccelerator(U'п'));
  ASSERT_NE(menuBar->Popup(), nullptr);
  EXPECT_EQ(menuBar->Popup()->ActionClient(), edit);
  screen->Type("а");
  app->ProcessMessages();
  EXPECT_EQ(executed.back(), paste);
  EXPECT_FALSE(menuBar->InMenuLoop());
  screen->Key(sys::VK_ESCAPE);
  EXPECT_FALSE(menuBar->InMenuLoop());
}

TEST_P(ActionBarsUiTest, SubMenusOpenOnHoverAndByArrowsAndLosingTheKeyboardCloses) {
  TActionClientItem* recent = file->Items()->Add();
  recent->SetCaption("&Недавние");
  Item(recent, save);
  Item(recent, paste);
  auto* other = new TPanel(form);
  other->SetParent(form);
  other->SetBounds(300, 200, 80, 40);
  other->SetTabStop(true);

  ClickOn(menuBar->ActionControls(0));
  TCustomActionPopupMenu* popup = menuBar->Popup();
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(popup->ActionControlCount(), 5);
  HoverOn(popup->ActionControls(4));
  TCustomActionPopupMenu* sub = popup->Popup();
  ASSERT_NE(sub, nullptr);
  // The sub-menu opens beside its item.
  EXPECT_GE(sub->Left(), popup->Left() + popup->Width() - 4);
  Picture(sub->Handle(), "sub_menu");
  // Back on a plain item the sub-menu closes.
  HoverOn(popup->ActionControls(0));
  EXPECT_EQ(popup->Popup(), nullptr);

  // The keyboard works after a mouse click: down to the sub-menu item,
  // right opens it, left closes it again, Enter on its item executes.
  for (int i = 0; i < 3; ++i)
    screen->Key(sys::VK_DOWN);
  EXPECT_EQ(popup->SelectedControl(), popup->ActionControls(4));
  screen->Key(sys::VK_RIGHT);
  ASSERT_NE(popup->Popup(), nullptr);
  EXPECT_EQ(popup->Popup()->SelectedControl(), popup->Popup()->ActionControls(0));
  screen->Key(sys::VK_LEFT);
  EXPECT_EQ(popup->Popup(), nullptr);
  EXPECT_NE(menuBar->Popup(), nullptr);
  screen->Key(sys::VK_RIGHT);
  screen->Key(sys::VK_DOWN);
  screen->Key(sys::VK_RETURN);
  ASSERT_FALSE(executed.empty());
  EXPECT_EQ(executed.back(), paste);
  EXPECT_FALSE(menuBar->InMenuLoop());

  // Another control taking the keyboard closes an open menu.
  ClickOn(menuBar->ActionControls(1));
  ASSERT_NE(menuBar->Popup(), nullptr);
  other->SetFocus();
  app->ProcessMessages();
  EXPECT_EQ(menuBar->Popup(), nullptr);
  EXPECT_FALSE(menuBar->InMenuLoop());
}

TEST_P(ActionBarsUiTest, UnusedItemsHideBehindTheExpandButton) {
  manager->ActionBars()->SetSessionCount(20);
  // Everything was last used in session 0; "Открыть" was used now.
  manager->FindItemByAction(open)->SetLastSession(20);
  manager->ActionBars()->SetHideUnused(true);
  // The bars rebuild at once.  A menu bar's top-level items never hide, and
  // a tool bar whose buttons are all unused shows them rather than nothing.
  EXPECT_EQ(menuBar->ActionControlCount(), 2);
  EXPECT_EQ(toolBar->ActionControlCount(), 5);
  ClickOn(menuBar->ActionControls(0));
  TCustomActionPopupMenu* popup = menuBar->Popup();
  ASSERT_NE(popup, nullptr);
  // "Открыть", the separator and the expand button.
  ASSERT_EQ(popup->ActionControlCount(), 3);
  TCustomActionControl* expand = popup->ActionControls(2);
  EXPECT_TRUE(expand->InheritsFrom(TCustomMenuExpandBtn::StaticClass()));
  const int shortHeight = popup->Height();
  Picture(popup->Handle(), "menu_unused_hidden");
  ClickOn(expand);
  app->ProcessMessages();
  EXPECT_TRUE(popup->Expanded());
  EXPECT_EQ(popup->ActionControlCount(), 4);
  EXPECT_GT(popup->Height(), shortHeight);
  Picture(popup->Handle(), "menu_unused_expanded");
  ClickOn(popup->ActionControls(3));
  EXPECT_EQ(executed.back(), quit);
  // Executing counts a use in this session, for the menu it sits in too:
  // next time both show at once.
  EXPECT_FALSE(manager->FindItemByAction(quit)->Unused());
  EXPECT_FALSE(file->Unused());
  EXPECT_TRUE(edit->Unused());

  // Switching the setting off shows everything at once, closing an open menu.
  ClickOn(menuBar->ActionControls(0));
  ASSERT_NE(menuBar->Popup(), nullptr);
  manager->ActionBars()->SetHideUnused(false);
  app->ProcessMessages();
  EXPECT_EQ(menuBar->Popup(), nullptr);
  EXPECT_FALSE(menuBar->InMenuLoop());
  ClickOn(menuBar->ActionControls(1));
  ASSERT_NE(menuBar->Popup(), nullptr);
  EXPECT_EQ(menuBar->Popup()->ActionControlCount(), 2);
}

TEST_P(ActionBarsUiTest, APopupActionBarShowsItsMenuInTheStyleItsEventPicks) {
  auto* menu = new TPopupActionBar(form);
  std::vector<TMenuItem*> items;
  TObject* clicked = nullptr;
  for (const char* name : {"Standard", "XP Style", "-", "Прочее"}) {
    auto* mi = new TMenuItem(form);
    mi->SetCaption(name);
    mi->SetGroupIndex(3);
    mi->SetRadioItem(std::string(name) != "-");
    mi->OnClick = [&](TObject* sender) { clicked = sender; };
    menu->Items()->Add(mi);
    items.push_back(mi);
  }
  items[1]->SetChecked(true);
  auto* sub = new TMenuItem(form);
  sub->SetCaption("Вложенный");
  items[3]->Add(sub);
  auto* map = new TTwilightColorMap(form);
  int asked = 0;
  menu->OnGetControlClass = [&](TCustomActionBar* bar, TActionClient* item,
                                TCustomActionControlClass& cls) {
    ++asked;
    EXPECT_NE(item, nullptr);
    bar->SetColorMap(map);
    if (GetParam()) cls = XPStyle()->ControlClassFor(bar, dynamic_cast<TActionClientItem*>(item));
  };
  menu->Popup(200, 150);
  TCustomActionPopupMenu* popup = menu->PopupBar();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->Left(), 200);
  EXPECT_EQ(popup->Top(), 150);
  ASSERT_EQ(popup->ActionControlCount(), 4);
  EXPECT_EQ(asked, 4);
  EXPECT_EQ(popup->ColorMap(), map);
  EXPECT_EQ(popup->ActionControls(0)->InheritsFrom(TXPStyleMenuItem::StaticClass()), GetParam());
  EXPECT_TRUE(popup->ActionControls(1)->IsChecked());
  // The sub-menu opens on hover.
  HoverOn(popup->ActionControls(3));
  ASSERT_NE(popup->Popup(), nullptr);
  EXPECT_EQ(popup->Popup()->ActionControlCount(), 1);
  HoverOn(popup->ActionControls(0));
  EXPECT_EQ(popup->Popup(), nullptr);
  Picture(popup->Handle(), "popup_action_bar");
  ClickOn(popup->ActionControls(0));
  EXPECT_EQ(clicked, items[0]);
  EXPECT_FALSE(popup->Visible());
  // Checking a radio item unchecks its group.
  items[0]->SetChecked(true);
  EXPECT_FALSE(items[1]->Checked());
  // Shown again, the menu reflects the change.
  menu->Popup(10, 10);
  EXPECT_TRUE(menu->PopupBar()->ActionControls(0)->IsChecked());
  EXPECT_FALSE(menu->PopupBar()->ActionControls(1)->IsChecked());
  // A press anywhere else closes it, choosing nothing.
  clicked = nullptr;
  ClickAt(form->ClientToScreen({300, 250}));
  EXPECT_FALSE(menu->PopupBar()->Visible());
  EXPECT_EQ(clicked, nullptr);
}

TEST_P(ActionBarsUiTest, TheCustomizeDialogPutsTheBarsInDesignModeAndSetsTheOptions) {
  InstallCustomizeDialog();
  auto* customize = new TCustomizeActionBars(form);
  customize->SetActionList(manager);
  ASSERT_TRUE(customize->Execute());
  auto* dlg = dynamic_cast<TCustomizeDlg*>(customize->CustomizeDlg());
  ASSERT_NE(dlg, nullptr);
  ASSERT_TRUE(dlg->Showing());
  EXPECT_EQ(dlg->Form()->FormStyle(), fsStayOnTop);
  app->ProcessMessages();
  EXPECT_TRUE(menuBar->DesignMode());
  EXPECT_TRUE(toolBar->DesignMode());
  // In design mode a click on a button executes nothing.
  ClickOn(toolBar->ActionControls(0));
  EXPECT_TRUE(executed.empty());
  Picture(dlg->Form()->Handle(), "customize_dialog");

  // The options tab: heading, recently used first, reset of usage data.
  dlg->Pages()->SetActivePage(dlg->OptionsSheet());
  app->ProcessMessages();
  TCustomizeList* list = dlg->List();
  ASSERT_EQ(list->Rows().size(), 3u);
  auto clickRow = [&](int row) {
    clock.Advance(1000);
    const sys::POINT p = list->ClientToScreen({30, row * TCustomizeList::RowHeight + 10});
    screen->Click(p.x, p.y);
    app->ProcessMessages();
  };
  clickRow(1);
  EXPECT_TRUE(file->Items()->HideUnused());
  manager->FindItemByAction(open)->SetUsageCount(5);
  clickRow(2);
  EXPECT_EQ(manager->FindItemByAction(open)->UsageCount(), 0);

  bool closed = false;
  dlg->OnClose = [&](TObject* sender) { closed = sender == dlg; };
  dlg->Close();
  app->ProcessMessages();
  EXPECT_TRUE(closed);
  EXPECT_FALSE(dlg->Showing());
  EXPECT_FALSE(toolBar->DesignMode());
  ClickOn(toolBar->ActionControls(0));
  EXPECT_EQ(executed.size(), 1u);
  TCustomizeActionBars::SetDialogRunner(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Styles, ActionBarsUiTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "XP" : "Standard"; });

} // namespace
} // namespace zel
