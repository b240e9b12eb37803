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
#include "tests/framework/actnbars_ui/BarTestSupport.h"

namespace zel {
namespace {

using namespace bartest;

class BarResetTest : public ::testing::Test, protected BarTestSupport {
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
    open = MakeAction(form, manager, "&Открыть", 0);
    save = MakeAction(form, manager, "&Сохранить", 1);
    cut = MakeAction(form, manager, "&Вырезать", 2);
    paste = MakeAction(form, manager, "Вст&авить");
    // Named, as a configuration refers to actions by name.
    int n = 0;
    for (TAction* a : {open, save, cut, paste}) {
      a->SetName("act" + std::to_string(++n));
      a->OnExecute = [](TObject*) {};
    }

    menuBar = MakeBar<TActionMainMenuBar>(form, manager);
    menuBar->SetName("MenuBar1");
    menuBar->SetCaption("Главное меню");
    TActionClientItem* file = MenuItems()->Add();
    file->SetCaption("&Файл");
    file->Items()->Add()->SetAction(open);

    toolBar = MakeBar<TActionToolBar>(form, manager);
    toolBar->SetTop(100);
    toolBar->SetName("ToolBar1");
    toolBar->SetCaption("Основные кнопки");
    AddButtons(ToolItems(), {open, save});
    ToolItems()->AddSeparator();
    TActionClientItem* more = ToolItems()->Add();
    more->SetAction(cut);
    more->Items()->Add()->SetAction(paste);
    form->EndLoading();
    form->Show();
    app->ProcessMessages();

    InstallCustomizeDialog();
    customize = new TCustomizeActionBars(form);
    customize->SetActionList(manager);
  }
  void TearDown() override {
    TCustomizeActionBars::SetDialogRunner(nullptr);
    TCustomizeActionBars::SetDialogFactory(nullptr);
    StopBars();
  }

  TActionClients* MenuItems() { return manager->ActionBars()->ActionBars(0)->Items(); }
  TActionClients* ToolItems() { return manager->ActionBars()->ActionBars(1)->Items(); }
  std::vector<TContainedAction*> Defined() const { return {open, save, nullptr, cut}; }

  TCustomizeDlg* OpenDialog() {
    EXPECT_TRUE(customize->Execute());
    auto* dlg = dynamic_cast<TCustomizeDlg*>(customize->CustomizeDlg());
    // Out of the way of the bars, so drops on them are not covered.
    if (dlg) dlg->Form()->SetBounds(120, 330, 400, 380);
    app->ProcessMessages();
    return dlg;
  }
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

  void ShowTab(TCustomizeDlg* dlg, TTabSheet* sheet) {
    const sys::RECT r = dlg->Pages()->TabRect(sheet->PageIndex());
    ClickAt(dlg->Pages()->ClientToScreen({(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
    ASSERT_EQ(dlg->Pages()->ActivePage(), sheet);
  }
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

  TForm* form = nullptr;
  TCustomImageList* images = nullptr;
  TActionManager* manager = nullptr;
  TAction *open = nullptr, *save = nullptr, *cut = nullptr, *paste = nullptr;
  TActionMainMenuBar* menuBar = nullptr;
  TActionToolBar* toolBar = nullptr;
  TCustomizeActionBars* customize = nullptr;
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
