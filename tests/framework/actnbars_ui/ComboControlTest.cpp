// A list action on a tool bar shows as a combo box, in the Standard and XP
// styles: chosen by mouse and keyboard, following its action, disabled
// with it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/actions/ListActns.h"
#include "framework/actnbars/ActnComboControl.h"
#include "platform/gdi/Png.h"
#include "tests/framework/actnbars_ui/BarTestSupport.h"

namespace zel {
namespace {

using namespace bartest;

class ComboControlTest : public ::testing::TestWithParam<bool>, protected BarTestSupport {
protected:
  void SetUp() override {
    StartBars({StandardStyle(), XPStyle()});
    form = MakeForm(40, 40, 420, 200, "Список");
    images =
        MakeImages(form, {TColor(0x00C000), TColor(0xC06000), TColor(0x0060E0)}, GlyphShape::Disc);
    manager = new TActionManager(form);
    manager->SetImages(images);
    manager->SetStyle(StyleOf(GetParam()));
    open = MakeAction(form, manager, "Открыть", 0);
    open->OnExecute = [](TObject*) {};
    sizes = new TStaticListAction(form);
    sizes->SetActionList(manager);
    sizes->SetCaption("Размер");
    sizes->AddItem("Мелкий", 0);
    sizes->AddItem("Средний", 1);
    sizes->AddItem("Крупный", 2);
    sizes->SetItemIndex(1);
    sizes->OnItemSelected = [this](TCustomListAction* sender, int index) {
      EXPECT_EQ(sender, sizes);
      selected.push_back(index);
    };

    toolBar = MakeBar<TActionToolBar>(form, manager);
    TActionClients* buttons = manager->ActionBars()->ActionBars(0)->Items();
    buttons->Add()->SetAction(open);
    buttons->Items(0)->SetShowCaption(false);
    comboItem = buttons->Add();
    comboItem->SetAction(sizes);
    toolBar->RecreateControls();
    form->Show();
    app->ProcessMessages();
  }
  void TearDown() override { StopBars(); }

  TCustomComboControl* Combo() { return dynamic_cast<TCustomComboControl*>(comboItem->Control()); }
  TActionComboBox* Box() { return Combo() ? Combo()->ComboBox() : nullptr; }
  // The screen around the form (and a list that drops below it).
  void Picture(const std::string& name) {
    app->ProcessMessages();
    const sys::Surface& all = screen->ComposeScreen();
    const sys::RECT r{form->Left(), form->Top(), form->Left() + 300, form->Top() + 160};
    sys::Surface part(r.right - r.left, r.bottom - r.top);
    for (int y = 0; y < part.Height(); ++y)
      for (int x = 0; x < part.Width(); ++x)
        part.At(x, y) = all.At(r.left + x, r.top + y);
    const std::string style = GetParam() ? "xp" : "standard";
    EXPECT_TRUE(sys::WritePng(part, PicturePath("combo_" + style + "_" + name)));
  }

  TForm* form = nullptr;
  TCustomImageList* images = nullptr;
  TActionManager* manager = nullptr;
  TAction* open = nullptr;
  TStaticListAction* sizes = nullptr;
  TActionClientItem* comboItem = nullptr;
  TActionToolBar* toolBar = nullptr;
  std::vector<int> selected;
};

TEST_P(ComboControlTest, TheStyleShowsAListActionOnAToolBarAsACombo) {
  TCustomComboControl* combo = Combo();
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->InheritsFrom(TStandardComboControl::StaticClass()), !GetParam());
  // The box lies over the control, on the bar, showing the current item.
  TActionComboBox* box = Box();
  EXPECT_EQ(box->Parent(), toolBar);
  EXPECT_EQ(box->BoundsRect().left, combo->Left());
  EXPECT_EQ(box->Width(), combo->Width());
  EXPECT_EQ(box->ItemText(), "Средний");
  Picture("normal");
  // With sub-items the item stays a drop-down button.
  comboItem->Items()->Add()->SetAction(open);
  toolBar->RecreateControls();
  EXPECT_TRUE(comboItem->Control()->InheritsFrom(TCustomDropDownButton::StaticClass()));
}

TEST_P(ComboControlTest, ChoosingWithTheMouseSelectsAndCountsAUse) {
  TActionComboBox* box = Box();
  screen->MoveTo(Center(box).x, Center(box).y);
  EXPECT_TRUE(Combo()->PaintState().hot);
  Picture("hot");
  ClickAt(Center(box));
  TComboListWindow* list = box->ListWindow();
  ASSERT_TRUE(box->DroppedDown());
  EXPECT_EQ(list->HotIndex(), 1);
  const sys::RECT row = list->ItemRect(2);
  const sys::POINT at = list->ClientToScreen({row.left + 20, (row.top + row.bottom) / 2});
  screen->MoveTo(at.x, at.y);
  Picture("dropped");
  ClickAt(at);
  EXPECT_FALSE(box->DroppedDown());
  EXPECT_EQ(box->ItemIndex(), 2);
  EXPECT_EQ(sizes->ItemIndex(), 2);
  EXPECT_EQ(selected, std::vector<int>{2});
  EXPECT_EQ(comboItem->UsageCount(), 1);
  // A press elsewhere closes the list without a choice.
  ClickAt(Center(box));
  ClickAt(form->ClientToScreen({300, 150}));
  EXPECT_FALSE(box->DroppedDown());
  EXPECT_EQ(comboItem->UsageCount(), 1);
  // A right click opens the bar's customize pop-up.
  screen->Click(Center(box).x, Center(box).y, sys::MouseButton::Right);
  ASSERT_NE(toolBar->ActivePopup(), nullptr);
  EXPECT_TRUE(toolBar->ActivePopup()->InheritsFrom(TCustomizeActionToolBar::StaticClass()));
}

TEST_P(ComboControlTest, ChoosingWithTheKeyboard) {
  TActionComboBox* box = Box();
  ClickAt(Center(box));
  EXPECT_TRUE(box->Focused());
  // In the open list the arrows move the highlight; Enter takes it.
  Key(sys::VK_UP);
  EXPECT_TRUE(selected.empty());
  Key(sys::VK_RETURN);
  EXPECT_FALSE(box->DroppedDown());
  EXPECT_EQ(selected, std::vector<int>{0});
  Picture("focused");
  // Closed, an arrow chooses at once; Escape leaves the open list alone.
  Key(sys::VK_DOWN);
  Key(sys::VK_F4);
  Key(sys::VK_END);
  Key(sys::VK_ESCAPE);
  EXPECT_EQ(sizes->ItemIndex(), 1);
  EXPECT_EQ(selected, (std::vector<int>{0, 1}));
  EXPECT_EQ(comboItem->UsageCount(), 2);
}

TEST_P(ComboControlTest, TheComboFollowsItsActionAndIsDisabledWithIt) {
  TActionComboBox* box = Box();
  // Changes made by the program show, widen the control, and raise nothing.
  const int width = Combo()->Width();
  sizes->AddItem("Огромный и широкий");
  sizes->SetItemIndex(3);
  EXPECT_EQ(box->ItemText(), "Огромный и широкий");
  EXPECT_GT(Combo()->Width(), width);
  EXPECT_EQ(box->Width(), Combo()->Width());
  EXPECT_TRUE(selected.empty());
  // Disabled, it does not open; disabled while open, it closes.
  sizes->SetEnabled(false);
  Picture("disabled");
  ClickAt(Center(box));
  EXPECT_FALSE(box->DroppedDown());
  sizes->SetEnabled(true);
  ClickAt(Center(box));
  ASSERT_TRUE(box->DroppedDown());
  sizes->SetEnabled(false);
  EXPECT_FALSE(box->DroppedDown());
  EXPECT_EQ(comboItem->UsageCount(), 0);
}

TEST_P(ComboControlTest, TheBarMayRemakeItsControlsWhileAChoiceIsMadeOrTheListIsOpen) {
  sizes->OnItemSelected = [this](TCustomListAction*, int index) {
    selected.push_back(index);
    toolBar->RecreateControls();
  };
  ClickAt(Center(Box()));
  Key(sys::VK_DOWN);
  Key(sys::VK_RETURN);
  EXPECT_EQ(selected, std::vector<int>{2});
  EXPECT_EQ(Box()->ItemIndex(), 2);
  ClickAt(Center(Box()));
  toolBar->RecreateControls();
  EXPECT_FALSE(Box()->DroppedDown());
  // Left out of a narrow bar, the box goes with its control.
  toolBar->SetAlign(alNone);
  toolBar->SetWidth(50);
  EXPECT_FALSE(Box()->Visible());
  toolBar->SetWidth(300);
  // In design mode a press reaches the item's control, not the box.
  toolBar->SetDesignMode(true);
  ClickAt(Center(Box()));
  EXPECT_FALSE(Box()->DroppedDown());
  // ...which drags it like any other item: off the bar, it is removed.
  const sys::POINT from = Center(Box());
  sys::AdvanceTime(1000);
  screen->Drag(from.x, from.y, from.x + 40, from.y + 120, 6);
  app->ProcessMessages();
  EXPECT_EQ(manager->ActionBars()->ActionBars(0)->Items()->Count(), 1);
}

// Hidden behind the scroll button, the combo is a menu item whose sub-menu
// lists the choices, the current one checked.
TEST_P(ComboControlTest, InAMenuTheListOffersItsItemsAsASubMenu) {
  toolBar->SetAlign(alNone);
  toolBar->SetWidth(60);
  ClickAt(Center(toolBar->ScrollButton()));
  TCustomActionPopupMenu* popup = toolBar->ActivePopup();
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(popup->ActionControlCount(), 1);
  ClickAt(Center(popup->ActionControls(0)));
  TCustomActionPopupMenu* choices = popup->Popup();
  ASSERT_NE(choices, nullptr);
  ASSERT_EQ(choices->ActionControlCount(), 3);
  EXPECT_TRUE(choices->ActionControls(1)->IsChecked());
  EXPECT_FALSE(choices->ActionControls(0)->IsChecked());
  screen->MoveTo(Center(choices->ActionControls(2)).x, Center(choices->ActionControls(2)).y);
  Picture("menu");
  ClickAt(Center(choices->ActionControls(2)));
  EXPECT_EQ(selected, std::vector<int>{2});
  // The use counts on the bar's own item, not on the copy or the choice.
  EXPECT_EQ(comboItem->UsageCount(), 1);
  EXPECT_EQ(toolBar->ActivePopup(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Styles, ComboControlTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "XP" : "Standard"; });

} // namespace
} // namespace zel
