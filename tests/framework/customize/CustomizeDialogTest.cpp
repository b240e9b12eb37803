// The customize dialog driven by real input on the headless screen: its
// three tabs, showing and hiding bars, and dragging commands and items onto,
// within, between and off the bars while they are in design mode.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/actnbars/CustomizeActionBars.h"
#include "framework/actnbars/CustomizeDlg.h"
#include "framework/actnbars/DesignDrag.h"
#include "framework/core/Streams.h"
#include "framework/stdctrls/ColorDialogParts.h"
#include "framework/stdctrls/ListBox.h"
#include "framework/stdctrls/PageControl.h"
#include "platform/user/Input.h"
#include "platform/user/SystemParams.h"
#include "tests/framework/customize/CustomizeTestSupport.h"

namespace zel {
namespace {

using namespace bartest;

class CustomizeDialogTest : public ::testing::Test, protected CustomizeTestSupport {
protected:
  void SetUp() override {
    StartBars({XPStyle()});
    form = MakeForm(20, 20, 560, 300, "Окно с панелями");
    images =
        MakeImages(form, {TColor(0x00C000), TColor(0xC06000), TColor(0x0060E0), TColor(0x808000)},
                   GlyphShape::BigDisc);
    manager = new TActionManager(form);
    manager->SetImages(images);
    manager->SetStyle(XPStyle());
    open = Action("&Открыть", "Файл", 0);
    save = Action("&Сохранить", "Файл", 1);
    cut = Action("&Вырезать", "Правка", 2);
    paste = Action("Вст&авить", "Правка", 3);
    about = Action("О программе", "", -1);

    menuBar = MakeNamedBar<TActionMainMenuBar>("MenuBar1", "Главное меню");
    TActionClients* top = manager->ActionBars()->ActionBars(0)->Items();
    TActionClientItem* file = top->Add();
    file->SetCaption("&Файл");
    file->Items()->Add()->SetAction(open);
    file->Items()->Add()->SetAction(save);
    top->Add()->SetAction(about);
    menuBar->RecreateControls();

    toolBar = MakeNamedBar<TActionToolBar>("ToolBar1", "Основные кнопки");
    toolBar->SetTop(100);
    AddButtons(ToolItems(), {open, save, cut});
    toolBar->RecreateControls();
    form->Show();
    app->ProcessMessages();

    // Below the bars, so drops on them are not covered.
    StartCustomize({120, 330});
    customize->SetCaption("Настройка панелей");
  }
  void TearDown() override { StopCustomize(); }

  void Picture(const std::string& name, bool wholeScreen = false) {
    const std::string path = PicturePath("customize_" + name);
    auto* dlg = dynamic_cast<TCustomizeDlg*>(customize->CustomizeDlg());
    if (wholeScreen)
      EXPECT_TRUE(screen->SaveScreenshot(path));
    else
      EXPECT_TRUE(screen->SaveWindowShot(dlg->Form()->Handle(), path));
  }

  TAction *open = nullptr, *save = nullptr, *cut = nullptr, *paste = nullptr, *about = nullptr;
};

TEST_F(CustomizeDialogTest, TabsSwitchByClickAndByCtrlTab) {
  TCustomizeDlg* dlg = OpenDialog();
  ASSERT_NE(dlg, nullptr);
  TPageControl* pages = dlg->Pages();
  ASSERT_EQ(pages->PageCount(), 3);
  EXPECT_EQ(pages->Pages(0)->Caption(), "Панели");
  EXPECT_EQ(pages->Pages(1)->Caption(), "Команды");
  EXPECT_EQ(pages->Pages(2)->Caption(), "Параметры");
  EXPECT_EQ(pages->ActivePage(), dlg->BarsSheet());
  Picture("bars_tab");

  ShowTab(dlg, dlg->CommandsSheet());
  EXPECT_EQ(pages->ActivePage(), dlg->CommandsSheet());
  EXPECT_TRUE(dlg->CommandsSheet()->Visible());
  EXPECT_FALSE(dlg->BarsSheet()->Visible());
  // Categories in the order the actions name them; commands with glyphs.
  TListBox* categories = dlg->CategoryList();
  ASSERT_EQ(categories->Count(), 3);
  EXPECT_EQ(categories->Items()->Get(0), "Файл");
  EXPECT_EQ(categories->Items()->Get(2), "(Без категории)");
  EXPECT_EQ(dlg->CommandList()->Count(), 2);
  EXPECT_EQ(dlg->CommandList()->Items()->Get(0), "Открыть");
  ClickAt(categories->ClientToScreen(
      {20, (categories->ItemRect(1).top + categories->ItemRect(1).bottom) / 2}));
  EXPECT_EQ(dlg->CommandList()->Items()->Get(1), "Вставить");
  Picture("commands_tab");

  screen->KeyDown(sys::VK_CONTROL);
  screen->Key(sys::VK_TAB);
  screen->KeyUp(sys::VK_CONTROL);
  app->ProcessMessages();
  EXPECT_EQ(pages->ActivePage(), dlg->OptionsSheet());
  Picture("options_tab");
  // The tabs wrap round.
  screen->KeyDown(sys::VK_CONTROL);
  screen->Key(sys::VK_TAB);
  screen->KeyUp(sys::VK_CONTROL);
  app->ProcessMessages();
  EXPECT_EQ(pages->ActivePage(), dlg->BarsSheet());
}

TEST_F(CustomizeDialogTest, TheOptionsTabActsOnItsBoxAndButtonOnly) {
  TCustomizeDlg* dlg = OpenDialog();
  ShowTab(dlg, dlg->OptionsSheet());
  TCustomizeList* list = dlg->List();
  const sys::RECT box = list->RowHitRect(1), button = list->RowHitRect(2);
  ASSERT_FALSE(sys::IsRectEmpty(box));
  EXPECT_TRUE(sys::IsRectEmpty(list->RowHitRect(0)));
  // Beside the button nothing happens; on it the usage data goes.
  manager->FindItemByAction(open)->SetUsageCount(5);
  ClickAt(list->ClientToScreen({button.right + 20, button.top + 5}));
  EXPECT_EQ(manager->FindItemByAction(open)->UsageCount(), 5);
  // Pressed on the button and released beside it: nothing either.
  Press(list->ClientToScreen({button.left + 5, button.top + 5}));
  Release(list->ClientToScreen({button.right + 20, button.top + 5}));
  EXPECT_EQ(manager->FindItemByAction(open)->UsageCount(), 5);
  ClickAt(list->ClientToScreen({button.left + 5, button.top + 5}));
  EXPECT_EQ(manager->FindItemByAction(open)->UsageCount(), 0);
  ClickAt(list->ClientToScreen({box.left + 5, box.top + 5}));
  EXPECT_TRUE(MenuItems()->HideUnused());
  EXPECT_TRUE(ToolItems()->HideUnused());
}

// The options are reached from the keyboard too: Tab comes to the list,
// Up and Down walk the rows that act (never a heading), Space acts as a
// click does, and the row with the keyboard shows it.
TEST_F(CustomizeDialogTest, TheOptionsTabWorksFromTheKeyboard) {
  TCustomizeDlg* dlg = OpenDialog();
  ShowTab(dlg, dlg->OptionsSheet());
  TCustomizeList* list = dlg->List();
  auto key = [&](sys::UINT vk) { Key(vk); };
  for (int i = 0; i < 6 && sys::GetFocus() != list->Handle(); ++i)
    key(sys::VK_TAB);
  ASSERT_EQ(sys::GetFocus(), list->Handle()) << "Tab never reached the options";
  EXPECT_EQ(list->FocusRow(), 1);
  const sys::RECT row = list->RowHitRect(1);
  Picture("options_keyboard");
  manager->FindItemByAction(open)->SetUsageCount(5);
  // Row by row: Space on the box, Down, Space on the button, Down at the
  // end stays, Up past the heading stays on the first row.
  const struct {
    sys::UINT vk;
    int row;
    bool hides;
    int usage;
  } steps[] = {{sys::VK_SPACE, 1, true, 5}, {sys::VK_DOWN, 2, true, 5}, {sys::VK_SPACE, 2, true, 0},
               {sys::VK_DOWN, 2, true, 0},  {sys::VK_UP, 1, true, 0},   {sys::VK_UP, 1, true, 0},
               {sys::VK_SPACE, 1, false, 0}};
  for (const auto& s : steps) {
    SCOPED_TRACE(s.vk);
    key(s.vk);
    EXPECT_EQ(list->FocusRow(), s.row);
    EXPECT_EQ(MenuItems()->HideUnused(), s.hides);
    EXPECT_EQ(manager->FindItemByAction(open)->UsageCount(), s.usage);
  }
  EXPECT_TRUE(dlg->Showing()); // Space was the list's, not the dialog's
  // The focus rectangle is drawn around the row: its left edge changes
  // when the keyboard leaves the list.
  auto edge = [&] {
    std::vector<sys::COLORREF> column;
    const sys::POINT top = list->ClientToScreen({row.left, row.top});
    for (int y = 0; y < row.Height(); ++y)
      column.push_back(screen->ScreenPixel(top.x, top.y + y));
    return column;
  };
  const std::vector<sys::COLORREF> with = edge();
  sys::SetFocus(dlg->Form()->Handle());
  app->ProcessMessages();
  EXPECT_NE(edge(), with);
}

TEST_F(CustomizeDialogTest, TheBarsTabShowsAndHidesBars) {
  TCustomizeDlg* dlg = OpenDialog();
  TListBox* list = dlg->BarList();
  ASSERT_EQ(list->Count(), 2);
  EXPECT_EQ(list->Items()->Get(0), "Главное меню");
  EXPECT_EQ(list->Items()->Get(1), "Основные кнопки");
  EXPECT_TRUE(list->Checked(1));
  const sys::RECT box = list->CheckBoxRect(1);
  const sys::POINT p = list->ClientToScreen({box.left + 5, box.top + 5});
  ClickAt(p);
  EXPECT_FALSE(toolBar->Visible());
  EXPECT_FALSE(list->Checked(1));
  ClickAt(p);
  EXPECT_TRUE(toolBar->Visible());
  // A click on the caption chooses the line without toggling it.
  ClickAt(list->ClientToScreen({box.right + 30, box.top + 5}));
  EXPECT_TRUE(toolBar->Visible());
  EXPECT_EQ(list->ItemIndex(), 1);
}

TEST_F(CustomizeDialogTest, ACommandDraggedOntoAToolBarIsAddedAtTheMark) {
  TCustomizeDlg* dlg = OpenDialog();
  ShowTab(dlg, dlg->CommandsSheet());
  TListBox* commands = dlg->CommandList();
  const sys::RECT line = commands->ItemRect(1); // "Сохранить"
  const sys::POINT from = commands->ClientToScreen({30, (line.top + line.bottom) / 2});
  // Into the second half of the first button: the new one goes after it.
  const sys::POINT to = On(toolBar->ActionControls(0), -4);
  Press(from);
  MoveTo(sys::POINT{from.x, from.y - 20});
  MoveTo(sys::POINT{to.x, to.y + 30});
  MoveTo(to);
  EXPECT_TRUE(DesignDragging());
  EXPECT_EQ(DesignDropTarget().Bar, toolBar);
  EXPECT_EQ(DesignDropTarget().Index, 1);
  // The mark stands between the first and the second button.
  const sys::RECT mark = DesignInsertMarkRect();
  const sys::POINT gap = toolBar->ActionControls(1)->ClientToScreen({0, 0});
  EXPECT_LE(mark.left, gap.x);
  EXPECT_GE(mark.right, gap.x);
  Picture("drag_command", true);
  Release(to);
  EXPECT_FALSE(DesignDragArmed());
  EXPECT_EQ(ActionsOf(ToolItems()), (std::vector<TContainedAction*>{open, save, save, cut}));
  // With a glyph on a tool bar it shows only the glyph, like the others.
  EXPECT_FALSE(ToolItems()->Items(1)->ShowCaption());
  ASSERT_EQ(toolBar->ActionControlCount(), 4);
  EXPECT_EQ(toolBar->ActionControls(1)->ActionClient(), ToolItems()->Items(1));
  EXPECT_TRUE(executed.empty());
}

TEST_F(CustomizeDialogTest, ACommandDroppedAwayFromTheBarsAddsNothing) {
  TCustomizeDlg* dlg = OpenDialog();
  ShowTab(dlg, dlg->CommandsSheet());
  TListBox* commands = dlg->CommandList();
  const sys::RECT line = commands->ItemRect(0);
  DragFromTo(commands->ClientToScreen({30, (line.top + line.bottom) / 2}),
             form->ClientToScreen({300, 250}));
  EXPECT_EQ(ToolItems()->Count(), 3);
  EXPECT_EQ(MenuItems()->Count(), 2);
}

TEST_F(CustomizeDialogTest, AnEmptyBarTakesACommandAtItsStart) {
  ToolItems()->Clear();
  toolBar->RecreateControls();
  TCustomizeDlg* dlg = OpenDialog();
  ShowTab(dlg, dlg->CommandsSheet());
  TListBox* commands = dlg->CommandList();
  const sys::RECT line = commands->ItemRect(0);
  const sys::POINT from = commands->ClientToScreen({30, (line.top + line.bottom) / 2});
  const sys::POINT to = toolBar->ClientToScreen({80, toolBar->Height() / 2});
  Press(from);
  MoveTo(sys::POINT{from.x, from.y - 20});
  MoveTo(to);
  const sys::RECT mark = DesignInsertMarkRect();
  EXPECT_LT(mark.left, toolBar->ClientToScreen({10, 0}).x);
  Release(to);
  EXPECT_EQ(ActionsOf(ToolItems()), (std::vector<TContainedAction*>{open}));
  EXPECT_EQ(toolBar->ActionControlCount(), 1);
}

TEST_F(CustomizeDialogTest, AnItemDraggedWithinItsBarIsReordered) {
  OpenDialog();
  DragFromTo(Center(toolBar->ActionControls(0)), On(toolBar->ActionControls(2), -3));
  EXPECT_EQ(ActionsOf(ToolItems()), (std::vector<TContainedAction*>{save, cut, open}));
  ASSERT_EQ(toolBar->ActionControlCount(), 3);
  EXPECT_EQ(toolBar->ActionControls(2)->ActionClient()->Action(), open);
  // Dropped onto its own place, nothing moves.
  DragFromTo(Center(toolBar->ActionControls(1)), On(toolBar->ActionControls(1), -3));
  EXPECT_EQ(ActionsOf(ToolItems()), (std::vector<TContainedAction*>{save, cut, open}));
  EXPECT_TRUE(executed.empty());
}

TEST_F(CustomizeDialogTest, AnItemDraggedToAnotherBarMovesThere) {
  OpenDialog();
  TActionClientItem* moved = ToolItems()->Items(2);
  const sys::POINT from = Center(toolBar->ActionControls(2));
  const sys::POINT to = On(menuBar->ActionControls(1), 3);
  Press(from);
  MoveTo(sys::POINT{from.x + 5, from.y - 5});
  MoveTo(to);
  EXPECT_EQ(DesignDropTarget().Bar, menuBar);
  EXPECT_EQ(DesignDropTarget().Index, 1);
  Picture("drag_item", true);
  Release(to);
  EXPECT_EQ(ActionsOf(ToolItems()), (std::vector<TContainedAction*>{open, save}));
  ASSERT_EQ(MenuItems()->Count(), 3);
  // The very item moved, with its settings, before "О программе".
  EXPECT_EQ(MenuItems()->Items(1), moved);
  EXPECT_EQ(moved->Action(), cut);
  EXPECT_EQ(menuBar->ActionControlCount(), 3);
  EXPECT_EQ(toolBar->ActionControlCount(), 2);
  // A top-level menu goes to the tool bar with its sub-items.
  DragFromTo(Center(menuBar->ActionControls(0)), On(toolBar->ActionControls(0), 2));
  ASSERT_EQ(ToolItems()->Count(), 3);
  EXPECT_EQ(ToolItems()->Items(0)->Items()->Count(), 2);
}

TEST_F(CustomizeDialogTest, ADraggedChangeIsSavedWithTheConfiguration) {
  TCustomizeDlg* dlg = OpenDialog();
  DragFromTo(Center(toolBar->ActionControls(2)), On(menuBar->ActionControls(1), 3));
  TMemoryStream saved;
  manager->SaveToStream(saved);
  ASSERT_TRUE(dlg->ResetBar(0));
  ASSERT_TRUE(dlg->ResetBar(1));
  ASSERT_EQ(ActionsOf(ToolItems()), (std::vector<TContainedAction*>{open, save, cut}));
  saved.Seek(0, soFromBeginning);
  manager->LoadFromStream(saved);
  EXPECT_EQ(ActionsOf(ToolItems()), (std::vector<TContainedAction*>{open, save}));
  ASSERT_EQ(MenuItems()->Count(), 3);
  EXPECT_EQ(MenuItems()->Items(1)->Action(), cut);
  EXPECT_EQ(menuBar->ActionControlCount(), 3);
}

TEST_F(CustomizeDialogTest, AnItemDraggedOffEveryBarIsRemoved) {
  OpenDialog();
  const sys::POINT from = Center(toolBar->ActionControls(1));
  const sys::POINT away = form->ClientToScreen({300, 250});
  Press(from);
  MoveTo(sys::POINT{from.x + 10, from.y + 10});
  MoveTo(away);
  EXPECT_TRUE(DesignDragging());
  EXPECT_EQ(DesignDropTarget().Bar, nullptr);
  EXPECT_TRUE(sys::IsRectEmpty(DesignInsertMarkRect()));
  Release(away);
  EXPECT_EQ(ActionsOf(ToolItems()), (std::vector<TContainedAction*>{open, cut}));
  EXPECT_EQ(toolBar->ActionControlCount(), 2);
}

TEST_F(CustomizeDialogTest, AClickOrAnEscapedDragChangesNothing) {
  TCustomizeDlg* dlg = OpenDialog();
  // A press and release in place: no drag, and no command runs.
  ClickAt(Center(toolBar->ActionControls(0)));
  EXPECT_EQ(ActionsOf(ToolItems()), (std::vector<TContainedAction*>{open, save, cut}));
  EXPECT_TRUE(executed.empty());
  // Esc in the dialog ends a drag without a change.
  const sys::POINT from = Center(toolBar->ActionControls(0));
  Press(from);
  MoveTo(form->ClientToScreen({300, 250}));
  ASSERT_TRUE(DesignDragging());
  dlg->Form()->SetFocus();
  screen->Key(sys::VK_ESCAPE);
  app->ProcessMessages();
  EXPECT_FALSE(DesignDragArmed());
  EXPECT_TRUE(dlg->Showing()); // the Esc was the drag's, not the dialog's
  Release(form->ClientToScreen({300, 250}));
  EXPECT_EQ(ToolItems()->Count(), 3);
}

TEST_F(CustomizeDialogTest, EscEndsADragWhileTheMainFormHasTheKeyboard) {
  OpenDialog();
  std::vector<sys::WORD> formKeys;
  form->SetKeyPreview(true);
  form->OnKeyDown = [&](TObject*, sys::WORD& key, TShiftState) { formKeys.push_back(key); };
  const sys::POINT from = Center(toolBar->ActionControls(1));
  const sys::POINT away = form->ClientToScreen({300, 250});
  Press(from);
  MoveTo(away);
  ASSERT_TRUE(DesignDragging());
  // The press went to the main form, which has the keyboard now.
  EXPECT_EQ(sys::GetActiveWindow(), form->Handle());
  MoveTo(On(toolBar->ActionControls(0), 2));
  const sys::RECT mark = DesignInsertMarkRect();
  ASSERT_FALSE(sys::IsRectEmpty(mark));
  const sys::COLORREF markColour = sys::GetSysColor(sys::COLOR_WINDOWTEXT);
  ASSERT_EQ(screen->ScreenPixel(mark.left, mark.top), markColour);
  screen->Key(sys::VK_ESCAPE);
  app->ProcessMessages();
  EXPECT_FALSE(DesignDragArmed());
  // The drag used the key up, and its mark is gone from the screen.
  EXPECT_TRUE(formKeys.empty());
  EXPECT_NE(screen->ScreenPixel(mark.left, mark.top), markColour);
  // Released off every bar, where a drag would have removed the item.
  Release(away);
  app->ProcessMessages();
  EXPECT_EQ(ActionsOf(ToolItems()), (std::vector<TContainedAction*>{open, save, cut}));
  EXPECT_EQ(toolBar->ActionControlCount(), 3);
  // With the drag over, Esc reaches the form again.
  screen->Key(sys::VK_ESCAPE);
  app->ProcessMessages();
  EXPECT_EQ(formKeys, std::vector<sys::WORD>{sys::VK_ESCAPE});
}

TEST_F(CustomizeDialogTest, ResetPutsABarBackToItsItemsAtTheFirstShowing) {
  // The bars here were built without a loading phase, so the dialog's first
  // showing takes their items as the defaults.
  TCustomizeDlg* dlg = OpenDialog();
  DragFromTo(Center(toolBar->ActionControls(0)), form->ClientToScreen({300, 250}));
  DragFromTo(Center(toolBar->ActionControls(1)), On(toolBar->ActionControls(0), 2));
  ASSERT_EQ(ActionsOf(ToolItems()), (std::vector<TContainedAction*>{cut, save}));
  TListBox* list = dlg->BarList();
  const sys::RECT line = list->ItemRect(1);
  ClickAt(list->ClientToScreen({line.right - 20, (line.top + line.bottom) / 2}));
  ASSERT_TRUE(dlg->ResetBarButton()->Enabled());
  ClickAt(Center(dlg->ResetBarButton()));
  EXPECT_EQ(ActionsOf(ToolItems()), (std::vector<TContainedAction*>{open, save, cut}));
  EXPECT_EQ(toolBar->ActionControlCount(), 3);
  // The menu bar was not touched.
  EXPECT_EQ(MenuItems()->Count(), 2);
}

TEST_F(CustomizeDialogTest, ClosingEndsDesignModeAndRaisesOnClose) {
  TCustomizeDlg* dlg = OpenDialog();
  EXPECT_EQ(dlg->Form()->FormStyle(), fsStayOnTop);
  EXPECT_TRUE(toolBar->DesignMode());
  bool closed = false;
  dlg->OnClose = [&](TObject* sender) { closed = sender == dlg; };
  ClickAt(Center(dlg->CloseButton()));
  EXPECT_TRUE(closed);
  EXPECT_FALSE(dlg->Showing());
  EXPECT_FALSE(toolBar->DesignMode());
  EXPECT_FALSE(menuBar->DesignMode());
  // Out of design mode a drag is a plain click that runs the command.
  DragFromTo(Center(toolBar->ActionControls(0)), On(toolBar->ActionControls(0), -2));
  EXPECT_EQ(ToolItems()->Count(), 3);
  EXPECT_EQ(executed.size(), 1u);
  // Not staying on top, when asked so.
  dlg->SetStayOnTop(false);
  OpenDialog();
  EXPECT_EQ(dlg->Form()->FormStyle(), fsNormal);
}

TEST_F(CustomizeDialogTest, TheDialogComesWithItsActionSoItsSettingsPrecedeTheFirstShowing) {
  auto* dlg = dynamic_cast<TCustomizeDlg*>(customize->CustomizeDlg());
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(dlg->StayOnTop());
  EXPECT_EQ(dlg->Form(), nullptr);
  dlg->SetStayOnTop(false);
  ASSERT_EQ(OpenDialog(), dlg);
  EXPECT_EQ(dlg->Form()->FormStyle(), fsNormal);
  EXPECT_EQ(dlg->ActionManager(), manager);
  // The bars tab lists the bars even when they go away meanwhile.
  delete toolBar;
  toolBar = nullptr;
  app->ProcessMessages();
  EXPECT_EQ(dlg->BarList()->Count(), 1);
  EXPECT_FALSE(dlg->ResetBar(1));
}

} // namespace
} // namespace zel
