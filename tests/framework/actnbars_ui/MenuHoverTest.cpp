// The mouse resting on menu items: sub-menus open and close after the
// system's menu show delay, on the virtual clock.  And the copies shown in a
// tool bar's hidden-items pop-up count their uses on the bar's own items.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/actions/ActnList.h"
#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/StdStyleActnCtrls.h"
#include "framework/actnbars/XPStyleActnCtrls.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/User.h"

namespace zel {
namespace {

class MenuHoverTest : public ::testing::TestWithParam<bool> {
protected:
  void SetUp() override {
    screen = &sys::UseHeadlessBackend();
    app = std::make_unique<TApplication>();
    RegisterActnBarStyle(StandardStyle());
    RegisterActnBarStyle(XPStyle());
    form = app->CreateForm<TForm>();
    form->SetBounds(40, 40, 520, 320);
    manager = new TActionManager(form);
    manager->SetStyle(GetParam() ? static_cast<TActionBarStyle*>(XPStyle()) : StandardStyle());
    open = Action("&Открыть");
    save = Action("&Сохранить");
    paste = Action("Вст&авить");
    quit = Action("В&ыход");

    menuBar = new TActionMainMenuBar(form);
    menuBar->SetParent(form);
    menuBar->SetAlign(alTop);
    menuBar->SetActionManager(manager);
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
  void TearDown() override {
    app.reset();
    UnRegisterActnBarStyle(StandardStyle());
    UnRegisterActnBarStyle(XPStyle());
  }

  TAction* Action(const std::string& caption) {
    auto* a = new TAction(form);
    a->SetActionList(manager);
    a->SetCaption(caption);
    a->OnExecute = [this, a](TObject*) { executed.push_back(a); };
    return a;
  }
  sys::POINT Center(TControl* c) { return c->ClientToScreen({c->Width() / 2, c->Height() / 2}); }
  void ClickOn(TControl* c) {
    sys::AdvanceTime(1000);
    const sys::POINT p = Center(c);
    screen->Click(p.x, p.y);
    app->ProcessMessages();
  }
  void MoveOnto(TControl* c) {
    const sys::POINT p = Center(c);
    screen->MoveTo(p.x, p.y);
    app->ProcessMessages();
  }
  void Wait(int ms) {
    sys::AdvanceTime(sys::DWORD(ms));
    app->ProcessMessages();
  }
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

  sys::ScopedVirtualClock clock{10000};
  sys::HeadlessBackend* screen = nullptr;
  std::unique_ptr<TApplication> app;
  TForm* form = nullptr;
  TActionManager* manager = nullptr;
  TAction *open = nullptr, *save = nullptr, *paste = nullptr, *quit = nullptr;
  TActionClientItem* recent = nullptr;
  TActionMainMenuBar* menuBar = nullptr;
  std::vector<TBasicAction*> executed;
};

TEST_P(MenuHoverTest, ASubMenuOpensOnlyAfterTheMouseRestsForTheDelay) {
  TCustomActionPopupMenu* popup = OpenFile();
  ASSERT_NE(popup, nullptr);
  TCustomActionControl* item = popup->ActionControls(1);
  MoveOnto(item);
  // Selected at once, opened later.
  EXPECT_TRUE(item->Selected());
  EXPECT_EQ(popup->HoverPending(), item);
  Wait(399);
  EXPECT_EQ(popup->Popup(), nullptr);
  Wait(1);
  ASSERT_NE(popup->Popup(), nullptr);
  EXPECT_EQ(popup->Popup()->ActionClient(), recent);
  EXPECT_EQ(popup->HoverPending(), nullptr);
  EXPECT_TRUE(item->Selected());
}

TEST_P(MenuHoverTest, MovingToAnotherItemBeforeTheDelayCancelsTheOpening) {
  TCustomActionPopupMenu* popup = OpenFile();
  ASSERT_NE(popup, nullptr);
  MoveOnto(popup->ActionControls(1));
  Wait(300);
  MoveOnto(popup->ActionControls(2));
  EXPECT_TRUE(popup->ActionControls(2)->Selected());
  EXPECT_FALSE(popup->ActionControls(1)->Selected());
  Wait(1000);
  EXPECT_EQ(popup->Popup(), nullptr);
  // A key in between cancels as well: the selection the key made stays.
  MoveOnto(popup->ActionControls(1));
  Wait(100);
  screen->Key(sys::VK_UP);
  app->ProcessMessages();
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
  // Over the next item for a moment: the sub-menu stays while the delay runs.
  MoveOnto(popup->ActionControls(2));
  Wait(200);
  EXPECT_EQ(popup->Popup(), sub);
  // Into the sub-menu: its item is selected in the parent again.
  MoveOnto(sub->ActionControls(0));
  EXPECT_TRUE(item->Selected());
  EXPECT_TRUE(sub->ActionControls(0)->Selected());
  Wait(1000);
  EXPECT_EQ(popup->Popup(), sub);
  // Back over the item that owns the sub-menu: nothing closes.
  MoveOnto(item);
  Wait(1000);
  EXPECT_EQ(popup->Popup(), sub);
  // Resting on another item closes it after the delay.
  MoveOnto(popup->ActionControls(0));
  Wait(399);
  EXPECT_EQ(popup->Popup(), sub);
  Wait(1);
  EXPECT_EQ(popup->Popup(), nullptr);
  EXPECT_TRUE(popup->ActionControls(0)->Selected());
}

TEST_P(MenuHoverTest, AClickOrTheRightArrowOpenAtOnce) {
  TCustomActionPopupMenu* popup = OpenFile();
  ASSERT_NE(popup, nullptr);
  ClickOn(popup->ActionControls(1));
  TCustomActionPopupMenu* sub = popup->Popup();
  ASSERT_NE(sub, nullptr);
  // The hover that the click's mouse move started does not open it again.
  Wait(1000);
  EXPECT_EQ(popup->Popup(), sub);
  EXPECT_TRUE(sub->Visible());
  screen->Key(sys::VK_LEFT);
  app->ProcessMessages();
  EXPECT_EQ(popup->Popup(), nullptr);
  screen->Key(sys::VK_RIGHT);
  app->ProcessMessages();
  ASSERT_NE(popup->Popup(), nullptr);
  EXPECT_TRUE(popup->Popup()->ActionControls(0)->Selected());
  // Choosing in the sub-menu executes and closes everything.
  screen->Key(sys::VK_RETURN);
  app->ProcessMessages();
  ASSERT_EQ(executed.size(), 1u);
  EXPECT_EQ(executed[0], save);
  EXPECT_FALSE(menuBar->InMenuLoop());
  Wait(1000);
  EXPECT_EQ(menuBar->Popup(), nullptr);
}

// A tool bar too narrow for its items: the copies in the scroll button's
// pop-up stand for the bar's own items.
TEST_P(MenuHoverTest, AHiddenItemChosenFromTheScrollPopUpCountsItsUseOnTheBar) {
  auto* toolBar = new TActionToolBar(form);
  toolBar->SetParent(form);
  toolBar->SetTop(100);
  toolBar->SetActionManager(manager);
  TActionClients* buttons = manager->ActionBars()->ActionBars(1)->Items();
  for (TCustomAction* a : {open, save, paste})
    buttons->Add()->SetAction(a);
  TActionClientItem* more = buttons->Add();
  more->SetCaption("Ещё");
  TActionClientItem* nested = more->Items()->Add();
  nested->SetAction(quit);
  toolBar->RecreateControls();
  toolBar->SetWidth(90);
  app->ProcessMessages();
  ASSERT_GE(toolBar->HiddenCount(), 2);
  ASSERT_FALSE(buttons->Items(2)->Control()->Visible());

  ClickOn(toolBar->ScrollButton());
  TCustomActionPopupMenu* popup = toolBar->ActivePopup();
  ASSERT_NE(popup, nullptr);
  const int hidden = popup->ActionControlCount();
  ASSERT_EQ(hidden, toolBar->HiddenCount());
  // The copy of "Вставить" is the second to last; choosing it runs the
  // action once and counts on the bar's item, not on the copy.
  TCustomActionControl* copy = popup->ActionControls(hidden - 2);
  ASSERT_EQ(copy->ActionClient()->Action(), paste);
  ClickOn(copy);
  ASSERT_EQ(executed.size(), 1u);
  EXPECT_EQ(executed[0], paste);
  EXPECT_EQ(buttons->Items(2)->UsageCount(), 1);
  EXPECT_EQ(buttons->Items(2)->LastSession(), manager->ActionBars()->SessionCount());

  // A sub-item of a hidden drop-down counts on the bar's sub-item.
  ClickOn(toolBar->ScrollButton());
  popup = toolBar->ActivePopup();
  ASSERT_NE(popup, nullptr);
  ClickOn(popup->ActionControls(popup->ActionControlCount() - 1));
  ASSERT_NE(popup->Popup(), nullptr);
  ClickOn(popup->Popup()->ActionControls(0));
  ASSERT_EQ(executed.size(), 2u);
  EXPECT_EQ(executed[1], quit);
  EXPECT_EQ(nested->UsageCount(), 1);

  // An item removed while its copy is shown: the copy counts on itself and
  // nothing of the bar is touched.
  ClickOn(toolBar->ScrollButton());
  popup = toolBar->ActivePopup();
  ASSERT_NE(popup, nullptr);
  copy = popup->ActionControls(popup->ActionControlCount() - 2);
  TActionClientItem* copyItem = copy->ActionClient();
  delete buttons->Items(2);
  ClickOn(copy);
  EXPECT_EQ(executed.size(), 3u);
  EXPECT_EQ(copyItem->UsageCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(Styles, MenuHoverTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "XP" : "Standard"; });

} // namespace
} // namespace zel
