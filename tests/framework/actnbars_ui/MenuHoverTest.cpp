// The mouse resting on menu items: sub-menus open and close after the
// system's menu show delay, on the virtual clock.  And the copies shown in a
// tool bar's hidden-items pop-up count their uses on the bar's own items.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user/User.h"
#include "tests/framework/actnbars_ui/BarTestSupport.h"

namespace zel {
namespace {

using namespace bartest;

class MenuHoverTest : public ::testing::TestWithParam<bool>, protected BarTestSupport {
protected:
  void SetUp() override {
    StartBars({StandardStyle(), XPStyle()});
    form = MakeForm(40, 40, 520, 320);
    manager = new TActionManager(form);
    manager->SetStyle(StyleOf(GetParam()));
    open = Action("&Открыть");
    save = Action("&Сохранить");
    paste = Action("Вст&авить");
    quit = Action("В&ыход");

    menuBar = MakeBar<TActionMainMenuBar>(form, manager);
    TActionClients* top = manager->ActionBars()->ActionBars(0)->Items();
    TActionClientItem* file = top->Add();
    file->SetCaption("&Файл");
    file->Items()->Add()->SetAction(open);
    recent = file->Items()->Add();
    recent->SetCaption("&Недавние");
    recent->Items()->Add()->SetAction(save);
    recent->Items()->Add()->SetAction(paste);
    file->Items()->Add()->SetAction(quit);
    menuBar->RecreateControls();
    form->Show();
    app->ProcessMessages();
    int delay = 0;
    sys::SystemParametersInfo(sys::SPI_GETMENUSHOWDELAY, 0, &delay, 0);
    ASSERT_EQ(delay, 400);
  }
  void TearDown() override { StopBars(); }

  TAction* Action(const std::string& caption) {
    TAction* a = MakeAction(form, manager, caption);
    a->OnExecute = [this, a](TObject*) { executed.push_back(a); };
    return a;
  }
  void MoveOnto(TControl* c) { MoveTo(Center(c)); }
  // Opens "Файл" and returns its pop-up: open, recent, quit.
  TCustomActionPopupMenu* OpenFile() {
    ClickOn(menuBar->ActionControls(0));
    TCustomActionPopupMenu* popup = menuBar->Popup();
    EXPECT_NE(popup, nullptr);
    if (popup) {
      EXPECT_EQ(popup->ActionControlCount(), 3);
    }
    return popup;
  }

  TForm* form = nullptr;
  TActionManager* manager = nullptr;
  TAction *open = nullptr, *save = nullptr, *paste = nullptr, *quit = nullptr;
  TActionClientItem* recent = nullptr;
  TActionMainMenuBar* menuBar = nullptr;
  std::vector<TBasicAction*> executed;
};

TEST_P(MenuHoverTest, ASubMenuOpensAfterTheDelayAndMovingOnCancelsIt) {
  TCustomActionPopupMenu* popup = OpenFile();
  ASSERT_NE(popup, nullptr);
  TCustomActionControl* item = popup->ActionControls(1);
  MoveOnto(item);
  // Selected at once, opened later.
  EXPECT_TRUE(item->Selected());
  Wait(399);
  EXPECT_EQ(popup->Popup(), nullptr);
  Wait(1);
  ASSERT_NE(popup->Popup(), nullptr);
  EXPECT_EQ(popup->Popup()->ActionClient(), recent);
  popup->CloseSubMenus();
  // Another item, or a key, before the delay ends: nothing opens.
  MoveOnto(popup->ActionControls(0));
  MoveOnto(item);
  Wait(300);
  MoveOnto(popup->ActionControls(2));
  Wait(1000);
  EXPECT_EQ(popup->Popup(), nullptr);
  MoveOnto(item);
  screen->Key(sys::VK_UP);
  Wait(1000);
  EXPECT_EQ(popup->Popup(), nullptr);
  EXPECT_TRUE(popup->ActionControls(0)->Selected());
}

TEST_P(MenuHoverTest, CrossingAnotherItemOnTheWayIntoTheOpenSubMenuKeepsIt) {
  TCustomActionPopupMenu* popup = OpenFile();
  ASSERT_NE(popup, nullptr);
  TCustomActionControl* item = popup->ActionControls(1);
  MoveOnto(item);
  Wait(400);
  TCustomActionPopupMenu* sub = popup->Popup();
  ASSERT_NE(sub, nullptr);
  MoveOnto(popup->ActionControls(2));
  Wait(200);
  // Into the sub-menu: its item is selected in the parent again.
  MoveOnto(sub->ActionControls(0));
  EXPECT_TRUE(item->Selected());
  Wait(1000);
  EXPECT_EQ(popup->Popup(), sub);
  // Resting on another item closes it after the delay.
  MoveOnto(popup->ActionControls(0));
  Wait(399);
  EXPECT_EQ(popup->Popup(), sub);
  Wait(1);
  EXPECT_EQ(popup->Popup(), nullptr);
}

TEST_P(MenuHoverTest, AClickOrTheRightArrowOpenAtOnce) {
  TCustomActionPopupMenu* popup = OpenFile();
  ASSERT_NE(popup, nullptr);
  ClickOn(popup->ActionControls(1));
  TCustomActionPopupMenu* sub = popup->Popup();
  ASSERT_NE(sub, nullptr);
  // The hover the click's mouse move started leaves it open.
  Wait(1000);
  EXPECT_EQ(popup->Popup(), sub);
  screen->Key(sys::VK_LEFT);
  EXPECT_EQ(popup->Popup(), nullptr);
  screen->Key(sys::VK_RIGHT);
  ASSERT_NE(popup->Popup(), nullptr);
  screen->Key(sys::VK_RETURN);
  app->ProcessMessages();
  EXPECT_EQ(executed, std::vector<TBasicAction*>{save});
  EXPECT_FALSE(menuBar->InMenuLoop());
}

// A tool bar too narrow for its items: the copies in the scroll button's
// pop-up stand for the bar's own items, also under a hidden drop-down.
TEST_P(MenuHoverTest, AHiddenItemChosenFromTheScrollPopUpCountsItsUseOnTheBar) {
  auto* toolBar = new TActionToolBar(form);
  toolBar->SetParent(form);
  toolBar->SetTop(100);
  toolBar->SetActionManager(manager);
  TActionClients* buttons = manager->ActionBars()->ActionBars(1)->Items();
  for (TCustomAction* a : {open, save, paste})
    buttons->Add()->SetAction(a);
  TActionClientItem* nested = buttons->Add()->Items()->Add();
  nested->SetAction(quit);
  toolBar->RecreateControls();
  toolBar->SetWidth(90);
  auto choose = [&](int fromEnd) {
    ClickOn(toolBar->ScrollButton());
    TCustomActionPopupMenu* popup = toolBar->ActivePopup();
    if (popup) ClickOn(popup->ActionControls(popup->ActionControlCount() - fromEnd));
    return popup;
  };
  ASSERT_NE(choose(2), nullptr); // the copy of "Вставить"
  EXPECT_EQ(executed, std::vector<TBasicAction*>{paste});
  EXPECT_EQ(buttons->Items(2)->UsageCount(), 1);
  TCustomActionPopupMenu* popup = choose(1); // the hidden drop-down
  ASSERT_TRUE(popup && popup->Popup());
  ClickOn(popup->Popup()->ActionControls(0));
  EXPECT_EQ(executed.back(), quit);
  EXPECT_EQ(nested->UsageCount(), 1);
  // Once the item is gone, its copy counts on itself and touches nothing.
  ClickOn(toolBar->ScrollButton());
  TCustomActionControl* copy = toolBar->ActivePopup()->ActionControls(toolBar->HiddenCount() - 2);
  delete buttons->Items(2);
  ClickOn(copy);
  EXPECT_EQ(executed.size(), 3u);
  EXPECT_EQ(copy->ActionClient()->UsageCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(Styles, MenuHoverTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "XP" : "Standard"; });

} // namespace
} // namespace zel
