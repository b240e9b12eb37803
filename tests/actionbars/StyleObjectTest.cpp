// The style object: the control-kind rule with its order, the classes it
// names, the style list's order and the unit's nested start-up.

#include "framework/actions/ListActns.h"
#include "framework/actnbars/ActnComboControl.h"
#include "tests/actionbars/ZelTestSupport.h"

namespace zel {
namespace {

using namespace zeltest;

class StyleObjectTest : public ZelBarsFixture {};

TEST_F(StyleObjectTest, TheControlKindRuleTakesTheFirstTestThatMatches) {
  TZelStyleActionBars* style = ZelStyle();
  ASSERT_NE(style, nullptr);
  TAction* plain = Action("Простое");
  auto* list = new TStaticListAction(form);
  auto* otherBar = new TCustomActionDockBar(form);
  auto* popup = new TZelStylePopupMenu(form);
  auto* customize = new TZelStyleCustomizePopup(form);

  TActionClientItem* button = AddItem(ToolItems(), plain);
  TActionClientItem* combo = AddItem(ToolItems(), list);
  // Children win over the list action: a drop-down, not a combo.
  TActionClientItem* dropDown = AddItem(ToolItems(), list);
  AddItem(dropDown->Items(), plain);
  TActionClientItem* menuItem = AddItem(MenuItems(), plain);

  // A customize pop-up built for the tool bar: its own first item is the
  // add-or-remove item, whose children are one entry per tool-bar item.
  customize->Build(toolBar);
  customize->ShowOwnItems(manager, {300, 200});
  TActionClients* own = customize->OwnItems();
  TActionClientItem* addRemove = own->Items(0);
  ASSERT_TRUE(addRemove->HasItems());
  ASSERT_GT(addRemove->Items()->Count(), 0);
  TActionClientItem* entry = addRemove->Items()->Items(0);
  TActionClientItem* reset = own->Items(own->Count() - 2);
  auto* unbuilt = new TZelStyleCustomizePopup(form);

  const struct {
    const char* what;
    TCustomActionBar* bar;
    TActionClientItem* item;
    int kind;
    const TClassInfo& cls;
  } cases[] = {
      {"tool-bar button", toolBar, button, 0, TZelStyleButton::StaticClass()},
      {"list action on a tool bar", toolBar, combo, 5, TCustomComboControl::StaticClass()},
      {"children and a list action", toolBar, dropDown, 1, TZelStyleDropDownBtn::StaticClass()},
      {"main menu item", menuBar, menuItem, 2, TZelStyleMenuButton::StaticClass()},
      {"pop-up item", popup, menuItem, 3, TZelStyleMenuItem::StaticClass()},
      {"customize pop-up item", customize, reset, 3, TZelStyleMenuItem::StaticClass()},
      {"add-or-remove entry", customize, entry, 4, TZelStyleAddRemoveItem::StaticClass()},
      {"customize pop-up without items", unbuilt, entry, 3, TZelStyleMenuItem::StaticClass()},
      {"any other bar", otherBar, menuItem, 0, TZelStyleButton::StaticClass()},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(style->ControlKindFor(c.bar, c.item), c.kind) << c.what;
    EXPECT_EQ(style->ControlClassFor(c.bar, c.item).Info(), &c.cls) << c.what;
  }

  EXPECT_EQ(style->GetPopupClass(toolBar).Info(), &TZelStyleCustomizePopup::StaticClass());
  EXPECT_EQ(style->GetPopupClass(menuBar).Info(), &TZelStylePopupMenu::StaticClass());
  EXPECT_EQ(style->GetPopupClass(popup).Info(), &TZelStylePopupMenu::StaticClass());
  EXPECT_EQ(style->GetScrollBtnClass().Info(), &TZelToolScrollBtn::StaticClass());
  EXPECT_EQ(style->GetAddRemoveItemClass(toolBar).Info(), &TZelStyleAddRemoveItem::StaticClass());
  EXPECT_EQ(style->ColorMapClassFor(menuBar).Info(), &TXPColorMap::StaticClass());
  EXPECT_EQ(popup->ExpandBtnClass().Info(), &TZelStyleExpandBtn::StaticClass());
}

// A descendant whose rule answers a kind past the table gets a plain button,
// and the kind is masked to seven bits first.
class TOddStyle : public TZelStyleActionBars {
public:
  int kind = 0;
  int ControlKindFor(TCustomActionBar*, TActionClientItem*) override { return kind; }
};

TEST_F(StyleObjectTest, KindsAreMaskedToSevenBitsAndUnknownKindsArePlainButtons) {
  TOddStyle odd;
  const struct {
    int kind;
    const TClassInfo& cls;
  } cases[] = {{0x80 + 2, TZelStyleMenuButton::StaticClass()},
               {6, TZelStyleButton::StaticClass()},
               {127, TZelStyleButton::StaticClass()},
               {-1, TZelStyleButton::StaticClass()}};
  for (const auto& c : cases) {
    odd.kind = c.kind;
    EXPECT_EQ(odd.ControlClassFor(toolBar, nullptr).Info(), &c.cls) << c.kind;
  }
}

TEST_F(StyleObjectTest, TheStyleListReadsZelFirstAndANameIsListedOnce) {
  auto names = [] {
    std::vector<std::string> out;
    for (int i = 0; i < ActionBarStyles()->Count(); ++i)
      out.push_back(ActionBarStyles()->Strings(i));
    return out;
  };
  const std::vector<std::string> expected{"Zel Style", "XP Style", "Standard"};
  EXPECT_EQ(names(), expected);
  EXPECT_EQ(manager->Style(), ZelStyle());
  TZelStyleActionBars second;
  RegisterActnBarStyle(&second);
  EXPECT_EQ(names(), expected);
  EXPECT_EQ(FindActionBarStyle("Zel Style"), ZelStyle());

  // Start-up nests: only the outermost shut-down takes the style away.
  TZelStyleActionBars* style = ZelStyle();
  InitializeZelStyleActnCtrls();
  FinalizeZelStyleActnCtrls();
  EXPECT_EQ(ZelStyle(), style);
  EXPECT_EQ(names(), expected);
  FinalizeZelStyleActnCtrls();
  EXPECT_EQ(ZelStyle(), nullptr);
  EXPECT_EQ(names(), (std::vector<std::string>{"XP Style", "Standard"}));
  // The managers that used it fall back to the first registered style.
  EXPECT_EQ(toolBar->Style(), XPStyle());
  InitializeZelStyleActnCtrls(); // for the fixture's shut-down
}

} // namespace
} // namespace zel
