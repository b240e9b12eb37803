// Resetting a bar brings back the items the program defined for it, however
// often the person customised it, closed the dialog and opened it again, and
// whichever configuration was read since: by the dialog's "Сбросить" and by
// the tool bar's customize pop-up.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/actnbars/CustomizeActionBars.h"
#include "framework/actnbars/CustomizeDlg.h"
#include "framework/core/Streams.h"
#include "framework/stdctrls/ColorDialogParts.h"
#include "framework/stdctrls/ListBox.h"
#include "framework/stdctrls/PageControl.h"
#include "tests/framework/customize/CustomizeTestSupport.h"

namespace zel {
namespace {

using namespace bartest;

class BarResetTest : public ::testing::Test, protected CustomizeTestSupport {
protected:
  void SetUp() override {
    StartBars({XPStyle()});
    form = MakeForm(20, 20, 560, 300, "Окно с панелями");
    images = MakeImages(form, {TColor(0x00C000), TColor(0xC06000), TColor(0x0060E0)},
                        GlyphShape::Square);
    // Described as a window description is read: in the loading state.
    manager = new TActionManager(form);
    manager->BeginLoading();
    manager->SetImages(images);
    manager->SetStyle(XPStyle());
    open = Action("&Открыть", "", 0);
    save = Action("&Сохранить", "", 1);
    cut = Action("&Вырезать", "", 2);
    paste = Action("Вст&авить", "", -1);

    menuBar = MakeNamedBar<TActionMainMenuBar>("MenuBar1", "Главное меню");
    TActionClientItem* file = MenuItems()->Add();
    file->SetCaption("&Файл");
    file->Items()->Add()->SetAction(open);

    toolBar = MakeNamedBar<TActionToolBar>("ToolBar1", "Основные кнопки");
    toolBar->SetTop(100);
    AddButtons(ToolItems(), {open, save});
    ToolItems()->AddSeparator();
    TActionClientItem* more = ToolItems()->Add();
    more->SetAction(cut);
    more->Items()->Add()->SetAction(paste);
    form->EndLoading();
    form->Show();
    app->ProcessMessages();

    // Below the bars, so drops on them are not covered.
    StartCustomize({120, 330});
  }
  void TearDown() override { StopCustomize(); }

  std::vector<TContainedAction*> Defined() const { return {open, save, nullptr, cut}; }

  // The person's changes in the dialog: the first button dragged off, the
  // command "Вставить" dragged onto the bar's end; then the dialog closes.
  void CustomiseAndClose() {
    TCustomizeDlg* dlg = OpenDialog();
    ASSERT_NE(dlg, nullptr);
    DragFromTo(Center(toolBar->ActionControls(0)), form->ClientToScreen({300, 250}));
    ShowTab(dlg, dlg->CommandsSheet());
    TListBox* categories = dlg->CategoryList();
    ASSERT_EQ(categories->Count(), 1);
    TListBox* commands = dlg->CommandList();
    const sys::RECT line = commands->ItemRect(3); // "Вставить"
    TCustomActionControl* last = toolBar->ActionControls(toolBar->ActionControlCount() - 1);
    DragFromTo(commands->ClientToScreen({30, (line.top + line.bottom) / 2}),
               last->ClientToScreen({last->Width() - 3, last->Height() / 2}));
    ClickOn(dlg->CloseButton());
    ASSERT_FALSE(dlg->Showing());
  }
  std::vector<TContainedAction*> Customised() const { return {save, nullptr, cut, paste}; }

  // The tool bar's line in the dialog chosen and "Сбросить" clicked.
  void ResetInDialog(TCustomizeDlg* dlg) {
    ShowTab(dlg, dlg->BarsSheet());
    TListBox* list = dlg->BarList();
    const sys::RECT line = list->ItemRect(1);
    ClickAt(list->ClientToScreen({line.right - 20, (line.top + line.bottom) / 2}));
    ASSERT_TRUE(dlg->ResetBarButton()->Enabled());
    ClickOn(dlg->ResetBarButton());
  }
  void ExpectDefined() {
    EXPECT_EQ(ActionsOf(ToolItems()), Defined());
    EXPECT_EQ(toolBar->ActionControlCount(), 4);
    EXPECT_FALSE(ToolItems()->Items(0)->ShowCaption());
    EXPECT_TRUE(ToolItems()->Items(2)->Separator());
    ASSERT_EQ(ToolItems()->Items(3)->Items()->Count(), 1);
    EXPECT_EQ(ToolItems()->Items(3)->Items()->Items(0)->Action(), paste);
  }

  TAction *open = nullptr, *save = nullptr, *cut = nullptr, *paste = nullptr;
};

TEST_F(BarResetTest, TheDialogOpenedAgainResetsToTheItemsTheProgramDefined) {
  ASSERT_EQ(ActionsOf(ToolItems()), Defined());
  CustomiseAndClose();
  ASSERT_EQ(ActionsOf(ToolItems()), Customised());
  ToolItems()->Items(0)->SetUsageCount(6);

  TCustomizeDlg* dlg = OpenDialog();
  ResetInDialog(dlg);
  ExpectDefined();
  EXPECT_EQ(ToolItems()->Items(1)->UsageCount(), 0);
  EXPECT_TRUE(toolBar->DesignMode());
  // The menu bar was not touched.
  EXPECT_EQ(MenuItems()->Count(), 1);
  EXPECT_TRUE(screen->SaveScreenshot(PicturePath("customize_reset_bar")));
}

TEST_F(BarResetTest, TheCustomizePopUpResetsToTheItemsTheProgramDefined) {
  CustomiseAndClose();
  ASSERT_EQ(ActionsOf(ToolItems()), Customised());
  ToolItems()->Items(2)->SetVisible(false);
  toolBar->RecreateControls();
  ClickAt(toolBar->ClientToScreen({toolBar->Width() - 20, 10}), sys::MouseButton::Right);
  TCustomActionPopupMenu* popup = toolBar->ActivePopup();
  ASSERT_NE(popup, nullptr);
  ASSERT_TRUE(popup->InheritsFrom(TCustomizeActionToolBar::StaticClass()));
  ASSERT_EQ(popup->ActionControlCount(), 2);
  ClickOn(popup->ActionControls(1));
  ExpectDefined();
  EXPECT_TRUE(ToolItems()->Items(3)->Visible());
  EXPECT_EQ(toolBar->ActivePopup(), nullptr);
}

TEST_F(BarResetTest, AConfigurationLoadedLaterKeepsTheDefaults) {
  CustomiseAndClose();
  TMemoryStream saved;
  manager->SaveToStream(saved);
  ASSERT_TRUE(manager->ResetActionBar(1));
  ASSERT_EQ(ActionsOf(ToolItems()), Defined());
  // The next run: the same window, the person's configuration read.
  saved.SetPosition(0);
  manager->LoadFromStream(saved);
  ASSERT_EQ(ActionsOf(ToolItems()), Customised());
  EXPECT_EQ(toolBar->ActionControlCount(), 4);

  ResetInDialog(OpenDialog());
  ExpectDefined();
}

} // namespace
} // namespace zel
