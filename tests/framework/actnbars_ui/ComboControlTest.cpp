// A list action on a tool bar shows as a combo box, in the Standard and XP
// styles: chosen by mouse and keyboard, following its action, disabled
// with it.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "framework/actions/ActnList.h"
#include "framework/actions/ListActns.h"
#include "framework/actnbars/ActnComboControl.h"
#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/StdStyleActnCtrls.h"
#include "framework/actnbars/XPStyleActnCtrls.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/ImageList.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/gdi/Png.h"
#include "platform/user/User.h"

namespace zel {
namespace {

class ComboControlTest : public ::testing::TestWithParam<bool> {
protected:
  void SetUp() override {
    screen = &sys::UseHeadlessBackend();
    app = std::make_unique<TApplication>();
    RegisterActnBarStyle(StandardStyle());
    RegisterActnBarStyle(XPStyle());
    form = app->CreateForm<TForm>();
    form->SetBounds(40, 40, 420, 200);
    form->SetCaption("Список");
    images = new TCustomImageList(form);
    images->SetSize(16, 16);
    for (TColor c : {TColor(0x00C000), TColor(0xC06000), TColor(0x0060E0)})
      AddGlyph(c);
    manager = new TActionManager(form);
    manager->SetImages(images);
    manager->SetStyle(GetParam() ? static_cast<TActionBarStyle*>(XPStyle()) : StandardStyle());
    open = new TAction(form);
    open->SetActionList(manager);
    open->SetCaption("Открыть");
    open->SetImageIndex(0);
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

    toolBar = new TActionToolBar(form);
    toolBar->SetParent(form);
    toolBar->SetAlign(alTop);
    toolBar->SetActionManager(manager);
    TActionClients* buttons = manager->ActionBars()->ActionBars(0)->Items();
    buttons->Add()->SetAction(open);
    buttons->Items(0)->SetShowCaption(false);
    comboItem = buttons->Add();
    comboItem->SetAction(sizes);
    toolBar->RecreateControls();
    form->Show();
    app->ProcessMessages();
  }
  void TearDown() override {
    app.reset();
    UnRegisterActnBarStyle(StandardStyle());
    UnRegisterActnBarStyle(XPStyle());
  }

  void AddGlyph(TColor color) {
    TBitmap bmp;
    bmp.SetSize(16, 16);
    bmp.Canvas()->Brush()->SetColor(clFuchsia);
    bmp.Canvas()->FillRect(sys::RECT{0, 0, 16, 16});
    bmp.Canvas()->Brush()->SetColor(color);
    bmp.Canvas()->Pen()->SetColor(clBlack);
    bmp.Canvas()->Ellipse(2, 2, 14, 14);
    images->AddMasked(&bmp, clFuchsia);
  }
  TCustomComboControl* Combo() { return dynamic_cast<TCustomComboControl*>(comboItem->Control()); }
  TActionComboBox* Box() { return Combo() ? Combo()->ComboBox() : nullptr; }
  sys::POINT Center(TControl* c) { return c->ClientToScreen({c->Width() / 2, c->Height() / 2}); }
  void ClickAt(sys::POINT p) {
    sys::AdvanceTime(1000);
    screen->Click(p.x, p.y);
    app->ProcessMessages();
  }
  void Key(sys::UINT vk) {
    screen->Key(vk);
    app->ProcessMessages();
  }
  // The screen around the form (and a list that drops below it).
  void Picture(const std::string& name) {
    app->ProcessMessages();
    const sys::Surface& all = screen->ComposeScreen();
    const sys::RECT r{form->Left(), form->Top(), form->Left() + 300, form->Top() + 160};
    sys::Surface part(r.right - r.left, r.bottom - r.top);
    for (int y = 0; y < part.Height(); ++y)
      for (int x = 0; x < part.Width(); ++x)
        part.At(x, y) = all.At(r.left + x, r.top + y);
    const auto dir = std::filesystem::path(ZEL_BINARY_DIR) / "pictures";
    std::filesystem::create_directories(dir);
    const std::string style = GetParam() ? "xp" : "standard";
    EXPECT_TRUE(sys::WritePng(part, (dir / ("combo_" + style + "_" + name + ".png")).string()));
  }

  sys::ScopedVirtualClock clock{10000};
  sys::HeadlessBackend* screen = nullptr;
  std::unique_ptr<TApplication> app;
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
  ASSERT_EQ(toolBar->ActionControlCount(), 2);
  TCustomComboControl* combo = Combo();
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->InheritsFrom(TStandardComboControl::StaticClass()), !GetParam());
  // The box lies over the control, on the bar, showing the current item.
  TActionComboBox* box = Box();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->Parent(), toolBar);
  EXPECT_EQ(box->Left(), combo->Left());
  EXPECT_EQ(box->Width(), combo->Width());
  EXPECT_GE(box->Top(), combo->Top());
  EXPECT_LE(box->Top() + box->Height(), combo->Top() + combo->Height());
  EXPECT_EQ(box->Items()->Count(), 3);
  EXPECT_EQ(box->ItemIndex(), 1);
  EXPECT_EQ(box->ItemText(), "Средний");
  Picture("normal");

  // An item with sub-items stays a drop-down button; in a menu the list
  // action is a plain item.
  TActionClientItem* sub = comboItem->Items()->Add();
  sub->SetAction(open);
  toolBar->RecreateControls();
  EXPECT_TRUE(comboItem->Control()->InheritsFrom(TCustomDropDownButton::StaticClass()));
  comboItem->Items()->Clear();
  toolBar->RecreateControls();
  ASSERT_NE(Combo(), nullptr);
  auto* popup = new TCustomActionPopupMenu(form);
  popup->OwnItems()->Add()->SetAction(sizes);
  popup->ShowOwnItems(manager, {100, 300});
  ASSERT_EQ(popup->ActionControlCount(), 1);
  EXPECT_TRUE(popup->ActionControls(0)->InheritsFrom(TCustomMenuItem::StaticClass()));
}

TEST_P(ComboControlTest, ChoosingWithTheMouseSelectsAndCountsAUse) {
  TActionComboBox* box = Box();
  ASSERT_NE(box, nullptr);
  screen->MoveTo(Center(box).x, Center(box).y);
  app->ProcessMessages();
  EXPECT_TRUE(Combo()->PaintState().hot);
  Picture("hot");
  ClickAt(Center(box));
  ASSERT_TRUE(box->DroppedDown());
  TComboListWindow* list = box->ListWindow();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->HotIndex(), 1);
  // The list opens below the box, as wide as it.
  EXPECT_EQ(list->Top(), box->ClientToScreen({0, box->Height()}).y);
  EXPECT_EQ(list->Width(), box->Width());
  const sys::RECT row = list->ItemRect(2);
  const sys::POINT at =
      list->ClientToScreen({(row.left + row.right) / 2, (row.top + row.bottom) / 2});
  screen->MoveTo(at.x, at.y);
  app->ProcessMessages();
  Picture("dropped");
  ClickAt(at);
  EXPECT_FALSE(box->DroppedDown());
  EXPECT_EQ(sizes->ItemIndex(), 2);
  EXPECT_EQ(box->ItemIndex(), 2);
  EXPECT_EQ(selected, std::vector<int>{2});
  EXPECT_EQ(comboItem->UsageCount(), 1);
  EXPECT_EQ(comboItem->LastSession(), manager->ActionBars()->SessionCount());

  // A press elsewhere closes the list without a choice.
  ClickAt(Center(box));
  ASSERT_TRUE(box->DroppedDown());
  ClickAt(form->ClientToScreen({300, 150}));
  EXPECT_FALSE(box->DroppedDown());
  EXPECT_EQ(selected.size(), 1u);
  EXPECT_EQ(comboItem->UsageCount(), 1);
}

TEST_P(ComboControlTest, ChoosingWithTheKeyboard) {
  TActionComboBox* box = Box();
  ASSERT_NE(box, nullptr);
  ClickAt(Center(box));
  ASSERT_TRUE(box->DroppedDown());
  EXPECT_TRUE(box->Focused());
  // In the open list the arrows move the highlight; Enter takes it.
  Key(sys::VK_UP);
  EXPECT_EQ(box->ListWindow()->HotIndex(), 0);
  EXPECT_TRUE(selected.empty());
  Key(sys::VK_RETURN);
  EXPECT_FALSE(box->DroppedDown());
  EXPECT_EQ(sizes->ItemIndex(), 0);
  EXPECT_EQ(selected, std::vector<int>{0});
  Picture("focused");
  // Closed, an arrow chooses the next item at once.
  Key(sys::VK_DOWN);
  EXPECT_EQ(sizes->ItemIndex(), 1);
  EXPECT_EQ(selected, (std::vector<int>{0, 1}));
  // F4 opens, Escape closes without a choice.
  Key(sys::VK_F4);
  ASSERT_TRUE(box->DroppedDown());
  Key(sys::VK_END);
  Key(sys::VK_ESCAPE);
  EXPECT_FALSE(box->DroppedDown());
  EXPECT_EQ(sizes->ItemIndex(), 1);
  EXPECT_EQ(comboItem->UsageCount(), 2);
}

TEST_P(ComboControlTest, TheComboFollowsItsActionAndIsDisabledWithIt) {
  TActionComboBox* box = Box();
  ASSERT_NE(box, nullptr);
  // Changes made by the program show; they raise no selection.
  sizes->SetItemIndex(0);
  EXPECT_EQ(box->ItemIndex(), 0);
  const int width = Combo()->Width();
  sizes->AddItem("Огромный и широкий");
  sizes->SetItemIndex(3);
  EXPECT_EQ(box->Items()->Count(), 4);
  // The wider item widens the control and its box.
  EXPECT_GT(Combo()->Width(), width);
  EXPECT_EQ(box->Width(), Combo()->Width());
  EXPECT_EQ(box->ItemText(), "Огромный и широкий");
  EXPECT_TRUE(selected.empty());

  sizes->SetEnabled(false);
  EXPECT_FALSE(box->Enabled());
  EXPECT_FALSE(Combo()->PaintState().enabled);
  Picture("disabled");
  ClickAt(Center(box));
  EXPECT_FALSE(box->DroppedDown());
  EXPECT_EQ(comboItem->UsageCount(), 0);
  // The action's list closes when it is disabled while open.
  sizes->SetEnabled(true);
  ClickAt(Center(box));
  ASSERT_TRUE(box->DroppedDown());
  sizes->SetEnabled(false);
  EXPECT_FALSE(box->DroppedDown());
  EXPECT_TRUE(selected.empty());
}

TEST_P(ComboControlTest, TheBarMayRemakeItsControlsWhileAChoiceIsMadeOrTheListIsOpen) {
  // A handler that remakes the controls of the bar the combo is on.
  sizes->OnItemSelected = [this](TCustomListAction*, int index) {
    selected.push_back(index);
    toolBar->RecreateControls();
  };
  ClickAt(Center(Box()));
  ASSERT_TRUE(Box()->DroppedDown());
  Key(sys::VK_DOWN);
  Key(sys::VK_RETURN);
  EXPECT_EQ(selected, std::vector<int>{2});
  ASSERT_NE(Box(), nullptr);
  EXPECT_EQ(Box()->ItemIndex(), 2);
  // Open while the bar remakes its controls: the list goes with the box.
  ClickAt(Center(Box()));
  ASSERT_TRUE(Box()->DroppedDown());
  toolBar->RecreateControls();
  app->ProcessMessages();
  ASSERT_NE(Box(), nullptr);
  EXPECT_FALSE(Box()->DroppedDown());
  // Left out of a narrow bar, the box goes with its control.
  toolBar->SetAlign(alNone);
  toolBar->SetWidth(50);
  EXPECT_FALSE(Combo()->Visible());
  EXPECT_FALSE(Box()->Visible());
  toolBar->SetWidth(300);
  EXPECT_TRUE(Box()->Visible());
  // The bar in design mode: a press reaches the item's control, not the box.
  toolBar->SetDesignMode(true);
  ClickAt(Center(Box()));
  EXPECT_FALSE(Box()->DroppedDown());
  toolBar->SetDesignMode(false);
}

INSTANTIATE_TEST_SUITE_P(Styles, ComboControlTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "XP" : "Standard"; });

} // namespace
} // namespace zel
