// Closed menus keep their pop-ups until the next menu opens.  Whatever frees
// the items they showed (a configuration read, a bar reset, items cleared or
// deleted by the program) must leave no pop-up and no control pointing at a
// freed item, also when the items were shown meanwhile by the menus of
// another bar (an item dragged into a tool bar's drop-down, a bar item that
// another menu bar took over): then only the control made last was told
// when its item went, and the closed pop-up's controls touched freed items
// when they were freed themselves.

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "framework/core/Streams.h"
#include "tests/framework/actnbars_ui/BarTestSupport.h"

namespace zel {
namespace {

using namespace bartest;

// Where the items were shown after the first menu closed.
enum class Shown { OnlyThere, InAToolBarDropDown, ByAnotherMenuBar };

class StaleMenuTest;

struct StaleCase {
  const char* name;
  Shown shown;
  // What frees (or only changes) the items.
  std::function<void(StaleMenuTest&)> change;
};

class StaleMenuTest : public ::testing::TestWithParam<StaleCase>, protected BarTestSupport {
public:
  void SetUp() override {
    StartBars({XPStyle()});
    form = MakeForm(40, 40, 480, 300, "Меню");
    manager = new TActionManager(form);
    manager->SetStyle(XPStyle());
    open = MakeAction(form, manager, "&Открыть");
    recent = MakeAction(form, manager, "&Недавний");
    rare = MakeAction(form, manager, "&Редкий");
    menuBar = MakeBar<TActionMainMenuBar>(form, manager);
    toolBar = MakeBar<TActionToolBar>(form, manager);
    TActionClientItem* file = Items(0)->Add();
    file->SetCaption("&Файл");
    file->Items()->Add()->SetAction(open);
    TActionClientItem* more = file->Items()->Add();
    more->SetCaption("&Ещё");
    more->Items()->Add()->SetAction(recent);
    // Unused for long: hidden behind the expand button.
    file->Items()->Add()->SetAction(rare);
    drop = Items(1)->Add();
    drop->SetCaption("Ещё");
    drop->Items()->Add()->SetAction(open);
    manager->ActionBars()->SetSessionCount(40);
    for (int bar = 0; bar < 2; ++bar)
      for (int i = 0; i < Items(bar)->Count(); ++i) {
        Items(bar)->Items(i)->SetLastSession(40);
        for (int j = 0; j < Items(bar)->Items(i)->Items()->Count(); ++j)
          Items(bar)->Items(i)->Items()->Items(j)->SetLastSession(40);
      }
    file->Items()->Items(2)->SetLastSession(0);
    manager->ActionBars()->SetHideUnused(true);
    manager->SaveDefaults();
    manager->SaveToStream(saved);
    menuBar->RecreateControls();
    toolBar->RecreateControls();
    form->Show();
    app->ProcessMessages();
  }
  void TearDown() override { StopBars(); }

  TActionClients* Items(int bar) { return manager->ActionBars()->ActionBars(bar)->Items(); }

  void Load() {
    saved.SetPosition(0);
    manager->LoadFromStream(saved);
  }

  // Opens the menu of the first item of bar and the sub-menu of that menu's
  // item at index, then closes both by a press elsewhere: their pop-ups
  // stay, closed.  A tool bar opens its drop-down.
  void OpenAndClose(TCustomActionBar* bar, int index) {
    ClickOn(bar->ActionControls(0));
    TCustomActionPopupMenu* menu = nullptr;
    if (auto* menus = dynamic_cast<TCustomActionMenuBar*>(bar)) menu = menus->Popup();
    if (auto* tools = dynamic_cast<TCustomActionToolBar*>(bar)) menu = tools->ActivePopup();
    ASSERT_NE(menu, nullptr);
    ASSERT_GT(menu->ActionControlCount(), index);
    HoverOn(menu->ActionControls(index));
    ASSERT_NE(menu->Popup(), nullptr);
    HoverOn(menu->Popup()->ActionControls(0));
    ClickAt(form->ClientToScreen({400, 200}));
    ASSERT_FALSE(menu->Visible());
  }

  // The items of the manager's bars, at any depth.
  std::set<const TActionClient*> LiveItems() {
    std::set<const TActionClient*> live;
    std::function<void(TActionClients*)> walk = [&](TActionClients* list) {
      for (int i = 0; i < list->Count(); ++i) {
        live.insert(list->Items(i));
        if (list->Items(i)->HasItems()) walk(list->Items(i)->Items());
      }
    };
    for (int bar = 0; bar < manager->ActionBars()->Count(); ++bar) {
      live.insert(manager->ActionBars()->ActionBars(bar));
      walk(Items(bar));
    }
    return live;
  }

  // Every pop-up a bar owns, open or closed, shows live items or none.
  // The pointers are only compared, never followed.
  void ExpectNoStaleReferences(TComponent* owner) {
    const std::set<const TActionClient*> live = LiveItems();
    for (int i = 0; i < owner->ComponentCount(); ++i) {
      auto* popup = dynamic_cast<TCustomActionPopupMenu*>(owner->Components(i));
      if (!popup) continue;
      const TActionClient* client = popup->ActionClient();
      EXPECT_TRUE(!client || live.count(client)) << "a pop-up shows a freed item";
      for (int c = 0; c < popup->ActionControlCount(); ++c) {
        const TActionClient* item = popup->ActionControls(c)->ActionClient();
        EXPECT_TRUE(!item || live.count(item)) << "a control shows a freed item";
      }
      ExpectNoStaleReferences(popup);
    }
  }

  TForm* form = nullptr;
  TActionManager* manager = nullptr;
  TAction *open = nullptr, *recent = nullptr, *rare = nullptr;
  TActionMainMenuBar* menuBar = nullptr;
  TActionMainMenuBar* otherMenuBar = nullptr;
  TActionToolBar* toolBar = nullptr;
  TActionClientItem* drop = nullptr;
  TMemoryStream saved;
};

TEST_P(StaleMenuTest, NoClosedMenuKeepsAFreedItem) {
  const StaleCase& c = GetParam();
  OpenAndClose(menuBar, 1);
  if (c.shown == Shown::InAToolBarDropDown) {
    // As a design drag moves it: "Файл" into the tool bar's "Ещё", whose
    // drop-down and the sub-menu of "Файл" there show its items again.
    Items(0)->Items(0)->SetCollection(drop->Items());
    menuBar->RecreateControls();
    toolBar->RecreateControls();
    OpenAndClose(toolBar, 1);
  } else if (c.shown == Shown::ByAnotherMenuBar) {
    otherMenuBar = new TActionMainMenuBar(form);
    otherMenuBar->SetParent(form);
    otherMenuBar->SetAlign(alBottom);
    manager->ActionBars()->ActionBars(0)->SetActionBar(otherMenuBar);
    OpenAndClose(otherMenuBar, 1);
  }
  c.change(*this);
  app->ProcessMessages();
  ExpectNoStaleReferences(menuBar);
  ExpectNoStaleReferences(toolBar);
  if (otherMenuBar) ExpectNoStaleReferences(otherMenuBar);
  // The idle pass, then the menu opens again (freeing the closed pop-ups)
  // and shows the items as they are now; the program closing frees the rest.
  Wait(1000);
  app->Idle();
  TCustomActionMenuBar* bar = otherMenuBar ? otherMenuBar : menuBar;
  // A bar whose item was deleted by the program keeps an empty control
  // until it makes its controls again.
  TActionClientItem* shown =
      bar->ActionControlCount() ? bar->ActionControls(0)->ActionClient() : nullptr;
  if (!shown) return;
  ClickOn(bar->ActionControls(0));
  if (shown->HasItems()) {
    ASSERT_NE(bar->Popup(), nullptr);
    EXPECT_EQ(bar->Popup()->ActionClient(), shown);
    HoverOn(bar->Popup()->ActionControls(0));
  }
  ExpectNoStaleReferences(bar);
}

const StaleCase kCases[] = {
    {"ConfigurationRead", Shown::OnlyThere, [](StaleMenuTest& t) { t.Load(); }},
    {"SecondConfigurationRead", Shown::OnlyThere,
     [](StaleMenuTest& t) {
       t.Load();
       t.Load();
     }},
    {"BarReset", Shown::OnlyThere, [](StaleMenuTest& t) { t.manager->ResetActionBar(0); }},
    {"ItemsCleared", Shown::OnlyThere,
     [](StaleMenuTest& t) { t.Items(0)->Items(0)->Items()->Clear(); }},
    {"ItemDeleted", Shown::OnlyThere, [](StaleMenuTest& t) { delete t.Items(0)->Items(0); }},
    // Nothing is freed by these two; they must leave the menus working.
    {"UsageReset", Shown::OnlyThere, [](StaleMenuTest& t) { t.manager->ResetUsageData(); }},
    {"HideUnusedOff", Shown::OnlyThere,
     [](StaleMenuTest& t) {
       t.manager->ActionBars()->SetHideUnused(false);
       t.menuBar->RecreateControls();
     }},
    {"MovedThenConfigurationRead", Shown::InAToolBarDropDown, [](StaleMenuTest& t) { t.Load(); }},
    {"MovedThenToolBarReset", Shown::InAToolBarDropDown,
     [](StaleMenuTest& t) { t.manager->ResetActionBar(1); }},
    {"MovedThenDeleted", Shown::InAToolBarDropDown,
     [](StaleMenuTest& t) { delete t.drop->Items()->Items(1); }},
    {"MovedThenCleared", Shown::InAToolBarDropDown, [](StaleMenuTest& t) { t.Items(1)->Clear(); }},
    {"TakenOverThenConfigurationRead", Shown::ByAnotherMenuBar, [](StaleMenuTest& t) { t.Load(); }},
    {"TakenOverThenDeleted", Shown::ByAnotherMenuBar,
     [](StaleMenuTest& t) { delete t.Items(0)->Items(0); }},
    {"TakenOverThenCleared", Shown::ByAnotherMenuBar,
     [](StaleMenuTest& t) { t.Items(0)->Clear(); }},
};

INSTANTIATE_TEST_SUITE_P(Paths, StaleMenuTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<StaleCase>& info) {
                           return std::string(info.param.name);
                         });

} // namespace
} // namespace zel
