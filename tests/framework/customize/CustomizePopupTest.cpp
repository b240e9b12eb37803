// A tool bar's customize pop-up as a style builds on it: the add-or-remove
// item and the sub-menu of entries that carry the tool-bar items' own
// actions, a customize action that knows its manager only through its
// dialog, and the usage count a bar's own addition keeps.

#include <gtest/gtest.h>

#include "framework/core/Streams.h"
#include "tests/framework/customize/CustomizeTestSupport.h"

namespace zel {
namespace {

using namespace bartest;

class CustomizePopupTest : public ::testing::Test, protected CustomizeTestSupport {
protected:
  void SetUp() override {
    StartBars({XPStyle()});
    form = MakeForm(20, 20, 520, 300, "Панели");
    images = MakeImages(form, {TColor(0x00C000), TColor(0xC06000), TColor(0x0060E0)},
                        GlyphShape::BigDisc);
    manager = new TActionManager(form);
    manager->SetImages(images);
    manager->SetStyle(XPStyle());
    open = Action("&Открыть", "Файл", 0);
    save = Action("&Сохранить", "Файл", 1);
    cut = Action("&Вырезать", "Правка", 2);
    menuBar = MakeNamedBar<TActionMainMenuBar>("MenuBar1", "Главное меню");
    toolBar = MakeNamedBar<TActionToolBar>("ToolBar1", "Основные кнопки");
    toolBar->SetTop(60);
    AddButtons(ToolItems(), {open, save});
    ToolItems()->AddSeparator();
    AddButtons(ToolItems(), {cut});
    // The third button shows a caption and image of its own.
    ToolItems()->Items(3)->SetCaption("Ножницы");
    ToolItems()->Items(3)->SetImageIndex(0);
    toolBar->RecreateControls();
    form->Show();
    app->ProcessMessages();
    StartCustomize({100, 340});
  }
  void TearDown() override { StopCustomize(); }

  // The customize pop-up and its add-or-remove sub-menu, opened by the
  // mouse: a right click on the bar, then a hover on the first item.
  TCustomizeActionToolBar* OpenPopup() {
    ClickAt(toolBar->ClientToScreen({toolBar->Width() - 20, 10}), sys::MouseButton::Right);
    auto* popup = dynamic_cast<TCustomizeActionToolBar*>(toolBar->ActivePopup());
    if (popup) HoverOn(popup->ActionControls(0));
    return popup;
  }

  TAction *open = nullptr, *save = nullptr, *cut = nullptr;
};

TEST_F(CustomizePopupTest, EntriesCarryTheItemsActionsAndToggleVisibilityInsteadOfExecuting) {
  cut->SetEnabled(false);
  TCustomizeActionToolBar* popup = OpenPopup();
  ASSERT_NE(popup, nullptr);
  TActionClientItem* addRemove = popup->AddRemoveItem();
  ASSERT_NE(addRemove, nullptr);
  EXPECT_EQ(popup->ActionControls(0)->ActionClient(), addRemove);
  // The sub-menu is a customize pop-up of the same class, rooted here, so
  // a style recognises its entries by the root's add-or-remove item.
  TCustomActionPopupMenu* list = popup->Popup();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(&list->ClassType(), &popup->ClassType());
  EXPECT_EQ(list->RootMenu(), popup);
  ASSERT_EQ(list->ActionControlCount(), 3); // no entry for the separator

  const struct {
    TCustomAction* action;
    const char* caption;
    int image;
    int target; // index of the tool-bar item
  } entries[] = {{open, "&Открыть", 0, 0}, {save, "&Сохранить", 1, 1}, {cut, "Ножницы", 0, 3}};
  for (int i = 0; i < 3; ++i) {
    TCustomActionControl* c = list->ActionControls(i);
    TActionClientItem* entry = c->ActionClient();
    SCOPED_TRACE(entries[i].caption);
    EXPECT_EQ(entry->ParentItem(), addRemove);
    EXPECT_EQ(entry->Action(), entries[i].action);
    EXPECT_EQ(entry->Caption(), entries[i].caption);
    EXPECT_EQ(entry->ImageIndex(), entries[i].image);
    EXPECT_TRUE(c->HasGlyph());
    EXPECT_EQ(popup->EntryTarget(entry), ToolItems()->Items(entries[i].target));
    // Checked while the button shows; enabled even when its action is not.
    EXPECT_TRUE(c->IsChecked());
    EXPECT_TRUE(c->IsEnabled());
  }
  EXPECT_EQ(popup->EntryTarget(addRemove), nullptr);

  // A click hides the button and runs nothing, also for a disabled action.
  ClickOn(list->ActionControls(2));
  EXPECT_FALSE(ToolItems()->Items(3)->Visible());
  EXPECT_EQ(toolBar->ActionControlCount(), 3);
  ClickOn(OpenPopup()->Popup()->ActionControls(0));
  EXPECT_FALSE(ToolItems()->Items(0)->Visible());
  EXPECT_TRUE(executed.empty());

  // Hidden buttons are listed unchecked; a click shows them again.
  popup = OpenPopup();
  list = popup->Popup();
  ASSERT_EQ(list->ActionControlCount(), 3);
  EXPECT_FALSE(list->ActionControls(0)->IsChecked());
  EXPECT_TRUE(list->ActionControls(1)->IsChecked());
  EXPECT_FALSE(list->ActionControls(2)->IsChecked());
  ClickOn(list->ActionControls(0));
  EXPECT_TRUE(ToolItems()->Items(0)->Visible());
  EXPECT_TRUE(executed.empty());
}

TEST_F(CustomizePopupTest, AnEntryWhoseItemChangedMeanwhileStandsForNothing) {
  TCustomizeActionToolBar* popup = OpenPopup();
  ASSERT_NE(popup, nullptr);
  TActionClientItem* entry = popup->Popup()->ActionControls(1)->ActionClient();
  ToolItems()->Items(1)->SetAction(cut);
  EXPECT_EQ(popup->EntryTarget(entry), nullptr);
  ToolItems()->Clear();
  EXPECT_EQ(popup->EntryTarget(entry), nullptr);
}

TEST_F(CustomizePopupTest, ACustomizeActionOutsideAnyManagerUsesItsDialogsManager) {
  // Shared by several bars, the action sits in no action list; only its
  // dialog is given the manager.
  auto* shared = new TCustomizeActionBars(nullptr);
  auto* dlg = dynamic_cast<TCustomizeDlg*>(shared->CustomizeDlg());
  ASSERT_NE(dlg, nullptr);
  shared->Update();
  EXPECT_FALSE(shared->Enabled());
  dlg->SetActionManager(manager);
  EXPECT_EQ(shared->ActionManager(), manager);
  shared->Update();
  EXPECT_TRUE(shared->Enabled());
  EXPECT_TRUE(shared->Execute());
  app->ProcessMessages();
  EXPECT_TRUE(dlg->Showing());
  EXPECT_EQ(dlg->ActionManager(), manager);
  EXPECT_TRUE(toolBar->DesignMode());
  dlg->Close();
  app->ProcessMessages();
  delete shared;
}

TEST_F(CustomizePopupTest, AnItemMarkedAlwaysInUseKeepsItsUsageCount) {
  TActionClientItem* added = ToolItems()->Add();
  added->SetAction(save);
  added->SetUsageCount(-1);
  EXPECT_EQ(added->UsageCount(), -1);
  // Never unused, however many sessions pass, and a use leaves the mark.
  manager->ActionBars()->SetSessionCount(500);
  EXPECT_FALSE(added->Unused());
  added->Execute();
  EXPECT_EQ(added->UsageCount(), -1);
  EXPECT_FALSE(added->Unused());
  // The mark survives the configuration's round trip.
  TMemoryStream stream;
  manager->SaveToStream(stream);
  added->SetUsageCount(3);
  stream.SetPosition(0);
  manager->LoadFromStream(stream);
  EXPECT_EQ(ToolItems()->Items(ToolItems()->Count() - 1)->UsageCount(), -1);
}

} // namespace
} // namespace zel
