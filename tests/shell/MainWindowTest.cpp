// The main window as a person meets it, on the headless screen: started
// like the program starts it, its menus and tool bar used by mouse and
// keyboard, child windows made and arranged, the glyph size changed.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "actionbars/ZelStyleActnCtrls.h"
#include "colormap/UnitFrameColorMap.h"
#include "framework/actions/StdActns.h"
#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/ActnStyles.h"
#include "framework/actnbars/CustomizeActionBars.h"
#include "framework/actnbars/CustomizeDlg.h"
#include "framework/docking/DragDock.h"
#include "framework/forms/Application.h"
#include "framework/stdctrls/ColorDialogParts.h"
#include "framework/stdctrls/ControlBar.h"
#include "framework/stdctrls/ListBox.h"
#include "framework/stdctrls/PageControl.h"
#include "framework/stdctrls/Splitter.h"
#include "imagelist/ImageListZel.h"
#include "platform/backend/Backend.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/User.h"
#include "shell/LayoutFile.h"
#include "platform/user/WindowSystem.h"
#include "shell/Startup.h"
#include "shell/UnitMain.h"
#include "speedbutton/SpeedButtonZel.h"
#include "tests/shell/MainWindowFixture.h"

namespace zel::test {
namespace {

using namespace sys;

class MainWindowTest : public MainWindowFixture {
protected:
  // "Файлы" then "Новая форма", as a person opens a child.
  void NewFormThroughTheMenu() {
    ClickOn(ControlOf(form->ActFile));
    TCustomActionControl* item = ControlOf(form->actNewForm);
    ASSERT_NE(item, nullptr) << "the Файлы menu did not open";
    ClickOn(item);
    Settle();
  }
  void SetGlyphSize(int size) {
    form->ImageListZel1->BeginUpdate();
    form->ImageListZel1->SetSize(size, size);
    form->ImageListZel1->EndUpdate();
    Settle();
  }
};

TEST_F(MainWindowTest, StartsAsDescribed) {
  EXPECT_EQ(app->MainForm(), form);
  EXPECT_EQ(form->Caption(), "MainForm");
  EXPECT_EQ(form->FormStyle(), fsMDIForm);
  EXPECT_EQ(form->ClientWidth(), 606);
  EXPECT_EQ(form->ClientHeight(), 383);
  EXPECT_EQ(form->Font()->Name(), "Tahoma");
  EXPECT_EQ(form->Splitter1->Align(), alRight);

  // Glyph size 24 with the 36 strip glyphs and the window's own six.
  EXPECT_EQ(form->ImageListZel1->Width(), 24);
  EXPECT_EQ(form->ImageListZel1->Count(), 42);
  EXPECT_EQ(form->ControlBar1->RowSize(), 38);
  EXPECT_EQ(form->ControlBar1->Align(), alTop);

  // Both bars sit on the control bar, the menu on a whole row of its own.
  EXPECT_EQ(form->GradientActionMainMenuBar1->Parent(), form->ControlBar1);
  EXPECT_EQ(form->GradientActionToolBar1->Parent(), form->ControlBar1);
  EXPECT_EQ(form->ControlBar1->BandRow(form->GradientActionMainMenuBar1), 0);
  EXPECT_EQ(form->ControlBar1->BandRow(form->GradientActionToolBar1), 1);
  EXPECT_EQ(form->GradientActionMainMenuBar1->ActionControlCount(), 3);
  EXPECT_EQ(form->GradientActionMainMenuBar1->ActionControls(0)->ActionClient()->Caption(),
            "Файлы");
  EXPECT_EQ(form->GradientActionMainMenuBar1->Font()->Height(), -16);
  EXPECT_EQ(form->GradientActionToolBar1->ActionControlCount(), 1);

  // The program's own style is registered first and chosen by name; every
  // item gets the style's control.
  ASSERT_NE(ActionBarStyles(), nullptr);
  ASSERT_EQ(ActionBarStyles()->Count(), 3);
  EXPECT_EQ(ActionBarStyles()->Strings(0), "Zel Style");
  EXPECT_EQ(ActionBarStyles()->Strings(1), "XP Style");
  EXPECT_EQ(ActionBarStyles()->Strings(2), "Standard");
  EXPECT_EQ(form->ActionManager1->StyleName(), "Zel Style");
  EXPECT_EQ(form->ActionManager1->Style(), ZelStyle());
  EXPECT_TRUE(form->GradientActionMainMenuBar1->ActionControls(0)->Is<TZelStyleMenuButton>());
  EXPECT_TRUE(form->GradientActionToolBar1->ActionControls(0)->Is<TZelStyleButton>());

  // Actions without a handler are disabled; the two top-level ones are not.
  EXPECT_TRUE(form->ActFile->Enabled());
  EXPECT_TRUE(form->actWindows->Enabled());
  EXPECT_FALSE(form->actHelp->Enabled());
  EXPECT_FALSE(form->actPanels->Enabled());
  EXPECT_EQ(form->FileExit1->ShortCut(), 32856);
  auto* dlg = dynamic_cast<TCustomizeDlg*>(form->CustomizeActionBars1->CustomizeDlg());
  ASSERT_NE(dlg, nullptr);
  EXPECT_FALSE(dlg->StayOnTop());

  EXPECT_EQ(std::filesystem::path(layoutFileName).extension(), ".sav");
  EXPECT_TRUE(std::filesystem::path(layoutFileName).is_absolute());
  Picture("shell_main_window");
}

// The main menu's captions underline the letter Alt opens them with, in
// the gradient bar's painting too: drawn exactly as a caption that marks
// that letter itself, and unlike one that marks another.
TEST_F(MainWindowTest, TheMenuCaptionsUnderlineTheirKeyLetters) {
  TCustomActionMainMenuBar* bar = form->GradientActionMainMenuBar1;
  ASSERT_EQ(bar->ActionControlCount(), 3);
  const char* shown[] = {"&Файлы", "&Окно", "&Помощь"};
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(bar->ActionControls(i)->DisplayCaption(), shown[i]);
  TCustomActionControl* button = bar->ActionControls(1);
  TActionClientItem* item = button->ActionClient();
  auto pixels = [&](const char* caption) {
    item->SetCaption(caption);
    bar->Invalidate();
    Settle();
    std::vector<COLORREF> out;
    const POINT o = button->ClientToScreen(POINT{0, 0});
    for (int y = 0; y < button->Height(); ++y)
      for (int x = 0; x < button->Width(); ++x)
        out.push_back(screen->ScreenPixel(o.x + x, o.y + y));
    return out;
  };
  const auto automatic = pixels("Окно");
  EXPECT_EQ(automatic, pixels("&Окно"));
  EXPECT_NE(automatic, pixels("Ок&но"));
}

TEST_F(MainWindowTest, StartIsFinishedByTheListsOwnFirstNotification) {
  // A fresh window whose list has not yet reported: a direct call without
  // a sender does not finish start-up, the list's own notification does.
  auto second = std::make_unique<TMainForm>(nullptr);
  EXPECT_FALSE(second->Started());
  AdvanceTime(30);
  second->ImageListZel1Change(nullptr);
  EXPECT_FALSE(second->Started());
  AdvanceTime(200);
  EXPECT_TRUE(second->Started());
  EXPECT_TRUE(form->Started());
}

TEST_F(MainWindowTest, ChildrenAreNumberedAndArrangedFromTheWindowMenu) {
  // Without children the window commands are disabled.
  for (TCustomAction* a :
       std::initializer_list<TCustomAction*>{form->WindowCascade1, form->WindowTileHorizontal1,
                                             form->WindowTileVertical1, form->WindowMinimizeAll1})
    EXPECT_FALSE(a->Enabled()) << a->Caption();

  NewFormThroughTheMenu();
  NewFormThroughTheMenu();
  NewFormThroughTheMenu();
  ASSERT_EQ(form->MDIChildCount(), 3);
  EXPECT_EQ(form->MDIChildren(2)->Caption(), "Форма 1");
  EXPECT_EQ(form->MDIChildren(1)->Caption(), "Форма 2");
  EXPECT_EQ(form->MDIChildren(0)->Caption(), "Форма 3");
  EXPECT_TRUE(form->WindowCascade1->Enabled());
  // At the window's default size each opens whole in the client area, one
  // step further down and right than the one before.
  RECT area;
  GetClientRect(form->ClientHandle(), &area);
  for (int i = 0; i < 3; ++i) {
    const RECT r = form->MDIChildren(i)->BoundsRect();
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= area.right && r.bottom <= area.bottom) << i;
    if (i > 0) {
      EXPECT_LT(r.left, form->MDIChildren(i - 1)->Left());
    }
  }

  // "Окно" → "По вертикали": three windows side by side.
  ClickOn(ControlOf(form->actWindows));
  ClickOn(ControlOf(form->WindowTileVertical1));
  Settle();
  const int top = form->MDIChildren(0)->Top();
  for (int i = 1; i < 3; ++i) {
    EXPECT_EQ(form->MDIChildren(i)->Top(), top);
    EXPECT_NE(form->MDIChildren(i)->Left(), form->MDIChildren(0)->Left());
  }
  Picture("shell_tiled_children");

  ClickOn(ControlOf(form->actWindows));
  ClickOn(ControlOf(form->WindowCascade1));
  Settle();
  EXPECT_LT(form->MDIChildren(2)->Left(), form->MDIChildren(0)->Left());
  EXPECT_LT(form->MDIChildren(2)->Top(), form->MDIChildren(0)->Top());

  ClickOn(ControlOf(form->actWindows));
  ClickOn(ControlOf(form->WindowMinimizeAll1));
  Settle();
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(form->MDIChildren(i)->WindowState(), wsMinimized);
}

TEST_F(MainWindowTest, AltXClosesTheProgram) {
  NewFormThroughTheMenu();
  NewFormThroughTheMenu();
  ClickOn(ControlOf(form->actWindows));
  ClickOn(ControlOf(form->WindowTileVertical1));
  Settle();
  // The menu loop is over: the keys are no longer the menu bar's.
  EXPECT_NE(GetFocus(), form->GradientActionMainMenuBar1->Handle());
  QuitWithAltX();
}

TEST_F(MainWindowTest, AltXClosesTheProgramAlsoWhenTheKeysComeInOneBurst) {
  // A desktop may deliver Alt, X with its text, and both releases before the
  // program looks at any of them.
  SetTimer(nullptr, 0, 200, [this](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    screen->SetAutoPump(false);
    screen->KeyDown(VK_MENU);
    screen->KeyDown('X');
    InputText("x");
    screen->KeyUp('X');
    screen->KeyUp(VK_MENU);
    screen->SetAutoPump(true);
  });
  app->Run();
  EXPECT_TRUE(app->Terminated());
}

TEST_F(MainWindowTest, ShortCutsStillWorkWhileTheToolBarFloats) {
  TControlBar* bar = form->ControlBar1;
  const RECT band = bar->BandRect(form->GradientActionToolBar1);
  const POINT grip = bar->ClientToScreen(POINT{band.left + 4, band.top + 8});
  const POINT away = form->ClientToScreen(POINT{300, 250});
  screen->Drag(grip.x, grip.y, away.x, away.y, 6);
  app->ProcessMessages();
  ASSERT_TRUE(form->GradientActionToolBar1->Floating());
  // The floating window has the keyboard; the main window's short cut
  // still reaches it.
  SetTimer(nullptr, 0, 200, [this](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    screen->KeyDown(VK_MENU);
    screen->Key('X');
    screen->KeyUp(VK_MENU);
  });
  app->Run();
  EXPECT_TRUE(app->Terminated());
}

TEST_F(MainWindowTest, TheToolBarButtonRunsItsCommand) {
  TCustomActionControl* exit = form->GradientActionToolBar1->ActionControls(0);
  EXPECT_EQ(exit->ActionClient()->Action(), form->FileExit1);
  SetTimer(nullptr, 0, 200, [this, exit](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    ClickOn(exit);
  });
  app->Run();
  EXPECT_TRUE(app->Terminated());
}

// Buttons that show a glyph alone name what they do in a tool tip: the
// tool bar's exit button and the editor's default-colour button.
TEST_F(MainWindowTest, GlyphOnlyButtonsShowTheirShortHints) {
  TFrameColorMap* editor = form->ColorMapFrame();
  form->SetBounds(form->Left(), form->Top(), form->Width(), 640); // room for the grid
  ClickOn(editor->SpeedButtonZel2); // a map: the grid shows with its button
  const struct {
    TControl* button;
    const char* hint;
    const char* longHint;
    const char* picture;
  } rows[] = {
      {form->GradientActionToolBar1->ActionControls(0), "Выход", "Завершить работу приложения",
       "shell_tool_bar_hint"},
      {editor->SpeedButtonZel8, "По умолчанию", "По умолчанию", "shell_default_colour_hint"}};
  for (const auto& r : rows) {
    const POINT p = r.button->ClientToScreen(POINT{r.button->Width() / 2, r.button->Height() / 2});
    screen->MoveTo(p.x, p.y);
    AdvanceTime(app->HintPause() + 50);
    ASSERT_TRUE(app->HintShowing()) << r.hint;
    EXPECT_EQ(app->HintWindow()->Caption(), r.hint);
    EXPECT_EQ(app->Hint(), r.longHint);
    Picture(r.picture);
    screen->MoveTo(2, 2);
    AdvanceTime(app->HintHidePause() + 50);
  }
}

TEST_F(MainWindowTest, BarsFollowTheGlyphSize) {
  auto checkRow = [this](int size) {
    SCOPED_TRACE(size);
    EXPECT_EQ(form->ImageListZel1->Width(), size);
    TCustomActionMainMenuBar* menu = form->GradientActionMainMenuBar1;
    ASSERT_GT(menu->ActionControlCount(), 0);
    const int row = menu->ActionControls(0)->Height() + 6;
    EXPECT_EQ(form->ControlBar1->RowSize(), row);
    EXPECT_EQ(menu->Height(), row - 5);
    EXPECT_EQ(form->GradientActionToolBar1->Height(), row - 5);
    // The tool bar's button grows with its glyph.
    EXPECT_GE(form->GradientActionToolBar1->ActionControls(0)->Height(), size);
    EXPECT_FALSE(form->ControlBar1->AlignDisabled());
  };
  SetGlyphSize(32);
  checkRow(32);
  Picture("shell_glyphs_32");
  SetGlyphSize(10);
  checkRow(10);
}

TEST_F(MainWindowTest, TheCustomizeDialogOpensFromTheWindowMenu) {
  ClickOn(ControlOf(form->actWindows));
  ClickOn(ControlOf(form->CustomizeActionBars1));
  Settle();
  auto* dlg = dynamic_cast<TCustomizeDlg*>(form->CustomizeActionBars1->CustomizeDlg());
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(dlg->Showing());
  EXPECT_TRUE(form->GradientActionToolBar1->DesignMode());
  Picture("shell_customize_dialog");
  ClickOn(dlg->CloseButton());
  Settle();
  EXPECT_FALSE(dlg->Showing());
  EXPECT_FALSE(IsWindowVisible(dlg->Form()->Handle()));
  EXPECT_FALSE(form->GradientActionToolBar1->DesignMode());
}

TEST_F(MainWindowTest, TheToolBarFloatsAndDocksBackIntoTheControlBar) {
  TControlBar* bar = form->ControlBar1;
  TActionToolBar* tools = form->GradientActionToolBar1;
  const RECT band = bar->BandRect(tools);
  const POINT grip = bar->ClientToScreen(POINT{band.left + 4, band.top + 8});
  const POINT away = form->ClientToScreen(POINT{300, 250});
  screen->Drag(grip.x, grip.y, away.x, away.y, 6);
  app->ProcessMessages();
  auto* host = dynamic_cast<TCustomDockForm*>(tools->HostDockSite());
  ASSERT_NE(host, nullptr) << "the tool bar did not float";
  EXPECT_TRUE(tools->Floating());
  EXPECT_EQ(host->Caption(), "Основные кнопки");
  Picture("shell_floating_tool_bar");

  // Its caption carries it back onto the control bar, which accepts it.
  AdvanceTime(1000);
  const POINT tl = host->ClientToScreen(POINT{0, 0});
  const POINT cap{tl.x + 20, tl.y - 6};
  const POINT target = bar->ClientToScreen(POINT{200, bar->Height() - 8});
  screen->Press(cap.x, cap.y);
  screen->MoveTo(cap.x + 20, cap.y - 20);
  screen->MoveTo(target.x, target.y);
  screen->Release(target.x, target.y);
  app->ProcessMessages();
  EXPECT_FALSE(tools->Floating());
  EXPECT_EQ(tools->HostDockSite(), bar);
  EXPECT_GE(bar->BandRow(tools), 0);
}

TEST_F(MainWindowTest, ACommandDraggedOntoTheToolBarStaysWhenTheDialogCloses) {
  ClickOn(ControlOf(form->actWindows));
  ClickOn(ControlOf(form->CustomizeActionBars1));
  Settle();
  auto* dlg = dynamic_cast<TCustomizeDlg*>(form->CustomizeActionBars1->CustomizeDlg());
  ASSERT_NE(dlg, nullptr);
  // Beside the main window, wherever earlier windows left it, so that the
  // dialog never covers the tool bar the command is dropped on.
  dlg->Form()->SetBounds(form->Left() + form->Width() + 10, form->Top(), 400, 380);
  dlg->Pages()->SetActivePage(dlg->CommandsSheet());
  Settle();
  TListBox* categories = dlg->CategoryList();
  const int none = categories->Items()->IndexOf("(Без категории)");
  ASSERT_GE(none, 0);
  const RECT cat = categories->ItemRect(none);
  ClickAt(categories->ClientToScreen(POINT{20, (cat.top + cat.bottom) / 2}));
  TListBox* commands = dlg->CommandList();
  ASSERT_EQ(commands->Items()->Strings(0), "Новая форма");
  const RECT line = commands->ItemRect(0);
  const POINT from = commands->ClientToScreen(POINT{30, (line.top + line.bottom) / 2});
  TCustomActionControl* exit = form->GradientActionToolBar1->ActionControls(0);
  const POINT to = exit->ClientToScreen(POINT{exit->Width() - 3, exit->Height() / 2});
  AdvanceTime(1000);
  screen->Press(from.x, from.y);
  screen->MoveTo(from.x, from.y - 20);
  screen->MoveTo(to.x, to.y + 30);
  screen->MoveTo(to.x, to.y);
  screen->Release(to.x, to.y);
  Settle();
  ASSERT_EQ(form->GradientActionToolBar1->ActionControlCount(), 2);
  EXPECT_EQ(GetCapture(), nullptr);
  // The next click, on the dialog's own button, closes it and nothing else.
  ClickOn(dlg->CloseButton());
  Settle();
  EXPECT_FALSE(dlg->Showing());
  ASSERT_EQ(form->GradientActionToolBar1->ActionControlCount(), 2);
  EXPECT_EQ(form->GradientActionToolBar1->ActionControls(1)->ActionClient()->Action(),
            form->actNewForm);
}

TEST_F(MainWindowTest, OnlyActionBarsDockIntoTheControlBar) {
  bool accept = true;
  TDragDockObject bar(form->GradientActionToolBar1);
  form->ControlBar1->DockOver(&bar, 10, 10, dsDragMove, accept);
  EXPECT_TRUE(accept);
  TDragDockObject other(form->Splitter1);
  form->ControlBar1->DockOver(&other, 10, 10, dsDragMove, accept);
  EXPECT_FALSE(accept);
}

TEST_F(MainWindowTest, TheMainMenuTakesAWholeRow) {
  RECT insets{11, 2, 2, 2};
  int preferred = 50, rows = 3;
  form->ControlBar1BandInfo(form->ControlBar1, form->GradientActionMainMenuBar1, insets, preferred,
                            rows);
  EXPECT_EQ(preferred, form->ControlBar1->ClientWidth() - 13);
  EXPECT_EQ(rows, 1);
  preferred = 50;
  rows = 3;
  form->ControlBar1BandInfo(form->ControlBar1, form->GradientActionToolBar1, insets, preferred,
                            rows);
  EXPECT_EQ(preferred, 50);
  EXPECT_EQ(rows, 3);
}

TEST(LayoutFileName, ReplacesOrAddsTheExtension) {
  EXPECT_EQ(LayoutFileNameFor("/opt/zel/zeldemo"), "/opt/zel/zeldemo.sav");
  EXPECT_EQ(LayoutFileNameFor("/opt/zel/zeldemo.bin"), "/opt/zel/zeldemo.sav");
  EXPECT_EQ(LayoutFileNameFor("/opt/z.el/zeldemo"), "/opt/z.el/zeldemo.sav");
}

// Beside the executable of a build; an installed one's in the user's
// configuration folder, whose variable counts only as an absolute path;
// nowhere when no place is known.
TEST(LayoutFileName, BesideABuildElseInTheConfigurationFolder) {
  struct Row {
    bool keepBeside;
    const char *configHome, *home, *expected;
  } rows[] = {
      {true, "/home/u/.cfg", "/home/u", "/usr/bin/zeldemo.sav"},
      {false, "/home/u/.cfg", "/home/u", "/home/u/.cfg/zel/zeldemo.sav"},
      {false, nullptr, "/home/u", "/home/u/.config/zel/zeldemo.sav"},
      {false, "", "/home/u", "/home/u/.config/zel/zeldemo.sav"},
      {false, "cfg", "/home/u", "/home/u/.config/zel/zeldemo.sav"},
      {false, nullptr, nullptr, ""},
      {false, "cfg", "home", ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.configHome ? r.configHome : "(unset)") + " " +
                 (r.home ? r.home : "(unset)"));
    EXPECT_EQ(LayoutFilePlace("/usr/bin/zeldemo", r.keepBeside, r.configHome, r.home), r.expected);
  }
}

} // namespace
} // namespace zel::test
