// The menu tree's item clicks as a bar sees them: every click of an item,
// at the top level, in a drop-down menu or a sub-menu, by mouse or key,
// comes to the root menu's item-click operation with its result; and an
// item lets go of its child bar once that pop-up closes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/framework/actnbars_ui/BarTestSupport.h"

namespace zel {
namespace {

using namespace bartest;

// Records each item click it sees, with the framework's result.
class TClickRecordingMenuBar : public TActionMainMenuBar {
  ZEL_CREATABLE_CLASS(TClickRecordingMenuBar, TActionMainMenuBar)
public:
  explicit TClickRecordingMenuBar(TComponent* owner) : TActionMainMenuBar(owner) {}
  struct TClick {
    std::string caption;
    bool handled;
  };
  std::vector<TClick> clicks;
  bool ControlClicked(TCustomActionControl* control) override {
    const bool handled = TActionMainMenuBar::ControlClicked(control);
    clicks.push_back(
        {control && control->ActionClient() ? control->ActionClient()->Caption() : "", handled});
    return handled;
  }
};

class MenuClicksTest : public ::testing::Test, protected BarTestSupport {
protected:
  void SetUp() override {
    StartBars({XPStyle()});
    form = MakeForm(40, 40, 480, 300, "Меню");
    manager = new TActionManager(form);
    manager->SetStyle(XPStyle());
    open = Action("&Открыть");
    recent = Action("&Недавний");
    off = Action("Не&доступно");
    off->SetEnabled(false);
    help = Action("&Справка");
    menuBar = MakeBar<TClickRecordingMenuBar>(form, manager);
    TActionClients* top = manager->ActionBars()->ActionBars(0)->Items();
    file = top->Add();
    file->SetCaption("&Файл");
    file->Items()->Add()->SetAction(open);
    more = file->Items()->Add();
    more->SetCaption("&Ещё");
    more->Items()->Add()->SetAction(recent);
    file->Items()->Add()->SetAction(off);
    top->Add()->SetAction(help);
    menuBar->RecreateControls();
    form->Show();
    app->ProcessMessages();
  }
  void TearDown() override { StopBars(); }

  TAction* Action(const std::string& caption) {
    TAction* a = MakeAction(form, manager, caption);
    a->OnExecute = [this, caption](TObject*) { executed.push_back(caption); };
    return a;
  }
  TCustomActionControl* Control(TActionClientItem* item) { return item->Control(); }

  TForm* form = nullptr;
  TActionManager* manager = nullptr;
  TAction *open = nullptr, *recent = nullptr, *off = nullptr, *help = nullptr;
  TActionClientItem *file = nullptr, *more = nullptr;
  TClickRecordingMenuBar* menuBar = nullptr;
  std::vector<std::string> executed;
};

TEST_F(MenuClicksTest, EveryItemClickOfTheTreeComesToTheRootWithItsResult) {
  TCustomActionControl* fileButton = menuBar->ActionControls(0);
  TCustomActionControl* helpButton = menuBar->ActionControls(1);
  ClickOn(fileButton); // opens
  ASSERT_NE(menuBar->Popup(), nullptr);
  TCustomActionPopupMenu* drop = menuBar->Popup();
  ClickOn(drop->ActionControls(2)); // disabled: does nothing, menu stays
  ClickOn(drop->ActionControls(1)); // opens the sub-menu
  ASSERT_NE(drop->Popup(), nullptr);
  ClickOn(drop->Popup()->ActionControls(0)); // executes "Недавний"
  EXPECT_EQ(menuBar->Popup(), nullptr);
  ClickOn(fileButton); // opens
  ClickOn(fileButton); // closes
  EXPECT_EQ(menuBar->Popup(), nullptr);
  ClickOn(helpButton); // a top-level item without sub-items executes once
  // By key: Alt+Ф opens the menu, Enter executes its first item.
  menuBar->OpenByAccelerator(U'ф');
  Key(sys::VK_RETURN);

  const struct {
    const char* caption;
    bool handled;
  } expected[] = {{"&Файл", true}, {"Не&доступно", false}, {"&Ещё", true},     {"&Недавний", true},
                  {"&Файл", true}, {"&Файл", true},        {"&Справка", true}, {"&Открыть", true}};
  ASSERT_EQ(menuBar->clicks.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(menuBar->clicks[i].caption, expected[i].caption) << i;
    EXPECT_EQ(menuBar->clicks[i].handled, expected[i].handled) << i;
  }
  EXPECT_EQ(executed, (std::vector<std::string>{"&Недавний", "&Справка", "&Открыть"}));
}

TEST_F(MenuClicksTest, AnItemLetsGoOfItsChildBarWhenThePopUpCloses) {
  ClickOn(menuBar->ActionControls(0));
  TCustomActionPopupMenu* drop = menuBar->Popup();
  ASSERT_NE(drop, nullptr);
  EXPECT_EQ(file->ChildActionBar(), drop);
  HoverOn(Control(more));
  TCustomActionPopupMenu* sub = drop->Popup();
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(more->ChildActionBar(), sub);
  // Back on "Открыть": the sub-menu closes, the drop-down stays.
  HoverOn(drop->ActionControls(0));
  EXPECT_EQ(drop->Popup(), nullptr);
  EXPECT_EQ(more->ChildActionBar(), nullptr);
  EXPECT_EQ(file->ChildActionBar(), drop);
  Key(sys::VK_ESCAPE);
  Key(sys::VK_ESCAPE);
  EXPECT_EQ(menuBar->Popup(), nullptr);
  EXPECT_EQ(file->ChildActionBar(), nullptr);

  // A tool bar's drop-down, closed by a press elsewhere.
  auto* toolBar = MakeBar<TActionToolBar>(form, manager);
  toolBar->SetTop(120);
  TActionClientItem* list = manager->ActionBars()->ActionBars(1)->Items()->Add();
  list->SetCaption("Список");
  list->Items()->Add()->SetAction(open);
  toolBar->RecreateControls();
  app->ProcessMessages();
  ClickOn(toolBar->ActionControls(0));
  ASSERT_NE(toolBar->ActivePopup(), nullptr);
  EXPECT_EQ(list->ChildActionBar(), toolBar->ActivePopup());
  ClickAt(form->ClientToScreen({300, 250}));
  EXPECT_EQ(toolBar->ActivePopup(), nullptr);
  EXPECT_EQ(list->ChildActionBar(), nullptr);
}

} // namespace
} // namespace zel
