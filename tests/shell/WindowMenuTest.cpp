// The "Окно" menu as a person uses it on the headless screen: it lists the
// colour-map editor and every child window below its own commands, checks
// the active child, and brings back the window or the editor chosen from it;
// and the main window's upkeep of that menu and of the priority schedule.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "colormap/UnitFrameColorMap.h"
#include "framework/actions/StdActns.h"
#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/CustomizeActionBars.h"
#include "framework/actnbars/CustomizeDlg.h"
#include "framework/core/Exceptions.h"
#include "framework/core/StrUtils.h"
#include "framework/forms/Application.h"
#include "framework/stdctrls/ColorDialogParts.h"
#include "framework/stdctrls/ListBox.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/User.h"
#include "platform/user/WindowSystem.h"
#include "shell/FormAction.h"
#include "shell/Startup.h"
#include "shell/UnitMain.h"

namespace zel::test {
namespace {

using namespace sys;

class WindowMenuTest : public ::testing::Test {
protected:
  void SetUp() override {
    screen = &UseHeadlessBackend();
    InitializeUnits();
    app = std::make_unique<TApplication>();
    app->Initialize();
    app->CreateForm(&form);
    // The layout file has tests of its own; here every run starts fresh.
    form->SetLayoutFileName("");
    form->Show();
    Settle();
    menu = form->FindMenuClient(form->actWindows);
    ASSERT_NE(menu, nullptr);
  }
  void TearDown() override {
    app.reset();
    FinalizeUnits();
    ResetWindowSystem();
  }
  // Lets the deferred notifications and one idle pass (the action updates)
  // run.
  void Settle() {
    AdvanceTime(100);
    app->ProcessMessages();
    app->Idle();
    app->ProcessMessages();
  }
  void ClickOn(TControl* c) {
    // Far enough apart that two clicks never make a double click.
    AdvanceTime(1000);
    const POINT p = c->ClientToScreen(POINT{c->Width() / 2, c->Height() / 2});
    screen->Click(p.x, p.y);
    app->ProcessMessages();
  }
  TCustomActionControl* ControlOf(TBasicAction* a) {
    TActionClientItem* i = form->ActionManager1->FindItemByAction(a);
    return i ? i->Control() : nullptr;
  }
  void OpenWindowMenu() { ClickOn(ControlOf(form->actWindows)); }
  // "Окно", then the entry of action, as a person chooses it.
  void Choose(TBasicAction* action) {
    OpenWindowMenu();
    TCustomActionControl* entry = ControlOf(action);
    ASSERT_NE(entry, nullptr) << "no entry in the open Окно menu";
    ClickOn(entry);
    Settle();
  }
  // "Файлы" then "Новая форма"; answers the new child.
  TCustomForm* NewChild() {
    ClickOn(ControlOf(form->ActFile));
    ClickOn(ControlOf(form->actNewForm));
    Settle();
    return form->ActiveMDIChild();
  }
  // The window action listed for control, or nil.
  TFormAction* EntryOf(TControl* control) {
    for (int i = 0; i < menu->Items()->Count(); ++i)
      if (auto* a = dynamic_cast<TFormAction*>(menu->Items()->Items(i)->Action()))
        if (a->Control() == control) return a;
    return nullptr;
  }
  // How the window menu ends: "-" for a separator, otherwise the caption.
  std::vector<std::string> MenuTail(int n) {
    std::vector<std::string> tail;
    TActionClients* items = menu->Items();
    for (int i = std::max(0, items->Count() - n); i < items->Count(); ++i)
      tail.push_back(items->Items(i)->Separator() ? "-" : items->Items(i)->Caption());
    return tail;
  }
  int FormActionCount() {
    int n = 0;
    for (int i = 0; i < form->ComponentCount(); ++i)
      n += form->Components(i)->Is<TFormAction>() ? 1 : 0;
    return n;
  }
  // A fingerprint of the gutter of an open menu entry, where a checked
  // entry gets its box.
  uint64_t GutterPrint(TControl* entry) {
    uint64_t sum = 0;
    const int h = entry->Height();
    for (int y = 1; y < h - 1; ++y)
      for (int x = 1; x < h - 1; ++x) {
        const POINT p = entry->ClientToScreen(POINT{x, y});
        sum = sum * 31 + screen->ScreenPixel(p.x, p.y);
      }
    return sum;
  }
  void Picture(const std::string& name) {
    const auto dir = std::filesystem::path(ZEL_BINARY_DIR) / "pictures";
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(screen->SaveScreenshot((dir / (name + ".png")).string()));
  }

  ScopedVirtualClock clock;
  HeadlessBackend* screen = nullptr;
  std::unique_ptr<TApplication> app;
  TMainForm* form = nullptr;
  TActionClientItem* menu = nullptr;
};

TEST_F(WindowMenuTest, ListsTheEditorAndTheChildrenAndChecksTheActiveOne) {
  TFrameColorMap* editor = form->ColorMapFrame();
  EXPECT_EQ(MenuTail(2), (std::vector<std::string>{"-", "Настройка внешнего вида"}));
  EXPECT_TRUE(EntryOf(editor)->Checked());
  EXPECT_EQ(EntryOf(editor)->GroupIndex(), 0);

  TCustomForm* a = NewChild();
  TCustomForm* b = NewChild();
  ASSERT_NE(a, b);
  EXPECT_EQ(MenuTail(4),
            (std::vector<std::string>{"-", "Настройка внешнего вида", "Форма 1", "Форма 2"}));
  EXPECT_EQ(EntryOf(a)->GroupIndex(), 1);
  EXPECT_FALSE(EntryOf(a)->Checked());
  EXPECT_TRUE(EntryOf(b)->Checked());

  // The open menu shows the check of the active child in its gutter.
  OpenWindowMenu();
  TControl* entryA = ControlOf(EntryOf(a));
  TControl* entryB = ControlOf(EntryOf(b));
  ASSERT_TRUE(entryA && entryB);
  const uint64_t uncheckedPrint = GutterPrint(entryA);
  const uint64_t checkedPrint = GutterPrint(entryB);
  EXPECT_NE(uncheckedPrint, checkedPrint);
  Picture("shell_window_menu");
  ClickOn(entryA);
  Settle();

  // A chosen: A checked, B not, the editor's entry untouched.
  EXPECT_EQ(form->ActiveMDIChild(), a);
  EXPECT_TRUE(EntryOf(a)->Checked());
  EXPECT_FALSE(EntryOf(b)->Checked());
  EXPECT_TRUE(EntryOf(editor)->Checked());
  OpenWindowMenu();
  EXPECT_EQ(GutterPrint(ControlOf(EntryOf(a))), checkedPrint);
  EXPECT_EQ(GutterPrint(ControlOf(EntryOf(b))), uncheckedPrint);
  ClickOn(ControlOf(form->actWindows)); // closes the menu again
  Settle();

  // The entries keep the order the children were made in.
  EXPECT_EQ(MenuTail(2), (std::vector<std::string>{"Форма 1", "Форма 2"}));
}

TEST_F(WindowMenuTest, ChoosingTheHiddenEditorShowsIt) {
  TFrameColorMap* editor = form->ColorMapFrame();
  // Closed in the dock site.
  editor->SetVisible(false);
  Settle();
  EXPECT_FALSE(EntryOf(editor)->Checked());
  Choose(EntryOf(editor));
  EXPECT_TRUE(editor->Visible());
  EXPECT_TRUE(editor->Showing());
  EXPECT_TRUE(EntryOf(editor)->Checked());

  // Floating, its form closed with the cross: the form comes back with it.
  ASSERT_TRUE(editor->ManualFloat(RECT{200, 150, 480, 600}));
  Settle();
  auto* floating = dynamic_cast<TCustomForm*>(editor->HostDockSite());
  ASSERT_NE(floating, nullptr);
  floating->Close();
  Settle();
  EXPECT_FALSE(floating->Visible());
  EXPECT_FALSE(EntryOf(editor)->Checked());
  Choose(EntryOf(editor));
  EXPECT_TRUE(floating->Visible());
  EXPECT_TRUE(editor->Showing());
  EXPECT_TRUE(EntryOf(editor)->Checked());
}

TEST_F(WindowMenuTest, AMinimisedChildChosenIsRestoredAndFocused) {
  TCustomForm* a = NewChild();
  TCustomForm* b = NewChild();
  Choose(form->WindowMinimizeAll1);
  ASSERT_EQ(a->WindowState(), wsMinimized);
  ASSERT_EQ(b->WindowState(), wsMinimized);

  Choose(EntryOf(a));
  EXPECT_EQ(a->WindowState(), wsNormal);
  EXPECT_EQ(b->WindowState(), wsMinimized);
  EXPECT_EQ(form->ActiveMDIChild(), a);
  EXPECT_EQ(form->MDIChildren(0), a);
  const HWND focus = GetFocus();
  EXPECT_TRUE(focus == a->Handle() || IsChild(a->Handle(), focus));
  EXPECT_TRUE(EntryOf(a)->Checked());
  EXPECT_FALSE(EntryOf(b)->Checked());
}

TEST_F(WindowMenuTest, CaptionsAreCutTo64CharactersNeverInsideOne) {
  const std::string x70(70, 'x');
  std::string zh70, zh63abc;
  for (int i = 0; i < 70; ++i)
    zh70 += "ж";
  for (int i = 0; i < 63; ++i)
    zh63abc += "ж";
  zh63abc += "abc";
  struct Case {
    std::string caption, shown;
  } cases[] = {
      {x70, std::string(64, 'x')},
      {zh70, zh70.substr(0, 64 * 2)},
      {zh63abc, zh63abc.substr(0, 63 * 2 + 1)},
      {std::string(64, 'y'), std::string(64, 'y')},
      {"Форма", "Форма"},
  };
  TCustomForm* child = NewChild();
  for (const Case& c : cases) {
    child->SetCaption(c.caption);
    Settle();
    EXPECT_EQ(EntryOf(child)->Caption(), c.shown) << c.caption;
    EXPECT_EQ(Utf8Length(EntryOf(child)->Caption()), std::min(Utf8Length(c.caption), 64));
  }
  // The open menu shows the cut caption.
  OpenWindowMenu();
  ASSERT_NE(ControlOf(EntryOf(child)), nullptr);
  EXPECT_EQ(ControlOf(EntryOf(child))->ActionClient()->Caption(), "Форма");
}

TEST_F(WindowMenuTest, EntriesOfGoneChildrenAndOrphanItemsAreSwept) {
  TCustomForm* a = NewChild();
  TCustomForm* b = NewChild();
  const int fixed = menu->Items()->Count() - 3; // the commands and the separator
  ASSERT_EQ(FormActionCount(), 3);

  // A child gone before the next update: its entry, still listed, is empty
  // and does nothing when chosen.
  TFormAction* staleB = EntryOf(b);
  Free(b);
  EXPECT_EQ(staleB->Control(), nullptr);
  OpenWindowMenu();
  TControl* entryB = ControlOf(staleB);
  ASSERT_NE(entryB, nullptr);
  ASSERT_TRUE(entryB->Showing());
  ClickOn(entryB);
  EXPECT_EQ(form->MDIChildCount(), 1);
  EXPECT_EQ(form->ActiveMDIChild(), a);

  // Items a read configuration may leave: no action, a caption or none.
  menu->Items()->Add()->SetCaption("Форма 7");
  menu->Items()->Add();
  Settle();
  EXPECT_EQ(menu->Items()->Count(), fixed + 2);
  EXPECT_EQ(MenuTail(3), (std::vector<std::string>{"-", "Настройка внешнего вида", "Форма 1"}));
  EXPECT_EQ(FormActionCount(), 2);
  EXPECT_NE(EntryOf(a), nullptr);

  // The menu still opens and works.
  Choose(EntryOf(a));
  EXPECT_EQ(form->ActiveMDIChild(), a);

  // A sweep while the menu is open: the open menu loses the item and the
  // other entries still work.
  NewChild();
  OpenWindowMenu();
  menu->Items()->Add()->SetCaption("Форма 8");
  Settle();
  EXPECT_EQ(MenuTail(2), (std::vector<std::string>{"Форма 1", "Форма 2"}));
  TCustomActionControl* entryA = ControlOf(EntryOf(a));
  ASSERT_NE(entryA, nullptr);
  ASSERT_TRUE(entryA->Showing());
  ClickOn(entryA);
  Settle();
  EXPECT_EQ(form->ActiveMDIChild(), a);
  EXPECT_TRUE(EntryOf(a)->Checked());
}

TEST_F(WindowMenuTest, RemovingTheEntriesLeavesTheMenusOwnItems) {
  NewChild();
  NewChild();
  const int all = menu->Items()->Count();
  ASSERT_EQ(FormActionCount(), 3);

  form->RemoveFormActions(menu);
  EXPECT_EQ(menu->Items()->Count(), all - 3);
  EXPECT_EQ(FormActionCount(), 0);
  EXPECT_EQ(MenuTail(1), (std::vector<std::string>{"-"}));
  // Nil is tolerated everywhere.
  form->RemoveFormActions(nullptr);
  EXPECT_EQ(form->AddFormAction(nullptr, menu), nullptr);
  EXPECT_EQ(form->AddFormAction(form->ColorMapFrame(), nullptr), nullptr);

  // Only top-level items of the main menu bar are found.
  EXPECT_EQ(form->FindMenuClient(form->actHelp)->Caption(), "Помощь");
  EXPECT_EQ(form->FindMenuClient(form->actNewForm), nullptr);
  EXPECT_EQ(form->FindMenuClient(nullptr), nullptr);
  TAction loose(nullptr);
  EXPECT_EQ(form->FindMenuClient(&loose), nullptr);

  // The next update brings them back, each once.
  Settle();
  EXPECT_EQ(FormActionCount(), 3);
  EXPECT_EQ(MenuTail(4),
            (std::vector<std::string>{"-", "Настройка внешнего вида", "Форма 1", "Форма 2"}));
  TFormAction* editorEntry = EntryOf(form->ColorMapFrame());
  EXPECT_EQ(form->AddFormAction(form->ColorMapFrame(), menu), editorEntry);
}

TEST_F(WindowMenuTest, AResetMenuBarListsTheEditorAndTheChildrenAgain) {
  TCustomForm* a = NewChild();
  TCustomForm* b = NewChild();
  form->ColorMapFrame()->SetVisible(false);
  // "Окно" → "Дополнительные настройки", the main menu's line, "Сбросить".
  Choose(form->CustomizeActionBars1);
  auto* dlg = dynamic_cast<TCustomizeDlg*>(form->CustomizeActionBars1->CustomizeDlg());
  ASSERT_TRUE(dlg && dlg->Showing());
  const int line = dlg->BarList()->Items()->IndexOf("Главное меню");
  ASSERT_GE(line, 0);
  dlg->BarList()->SetItemIndex(line);
  ClickOn(dlg->ResetBarButton());
  ClickOn(dlg->CloseButton());
  Settle();
  menu = form->FindMenuClient(form->actWindows);
  ASSERT_NE(menu, nullptr);

  // The actions of the items the reset dropped are gone; a new entry each.
  Settle();
  EXPECT_EQ(FormActionCount(), 3);
  EXPECT_EQ(MenuTail(4),
            (std::vector<std::string>{"-", "Настройка внешнего вида", "Форма 1", "Форма 2"}));
  EXPECT_FALSE(EntryOf(a)->Checked());
  EXPECT_TRUE(EntryOf(b)->Checked());
  // The closed editor can still be brought back.
  Choose(EntryOf(form->ColorMapFrame()));
  EXPECT_TRUE(form->ColorMapFrame()->Showing());
}

TEST_F(WindowMenuTest, AnActionFollowsItsControlUntilTheControlGoes) {
  auto* child = new TForm(form);
  child->SetCaption("Первый");
  child->SetHint("Подсказка");
  child->SetHelpContext(17);
  auto* other = new TForm(form);
  TFormAction action(nullptr, child);
  EXPECT_EQ(action.GroupIndex(), 1);
  EXPECT_TRUE(action.Update());
  EXPECT_TRUE(action.Enabled());
  EXPECT_EQ(action.Caption(), "Первый");
  EXPECT_EQ(action.Hint(), "Подсказка");
  EXPECT_EQ(action.HelpContext(), 17);

  // Bound to the editor: a control of its own, checked while visible.
  action.SetControl(form->ColorMapFrame());
  EXPECT_EQ(action.GroupIndex(), 0);
  EXPECT_TRUE(action.Update());
  EXPECT_TRUE(action.Checked());
  EXPECT_EQ(action.HelpContext(), 0);

  // A control left behind no longer reaches the action; the current one,
  // freed, leaves it empty, disabled and unable to execute.
  action.SetControl(other);
  Free(child);
  EXPECT_EQ(action.Control(), other);
  Free(other);
  EXPECT_EQ(action.Control(), nullptr);
  EXPECT_FALSE(action.Update());
  EXPECT_FALSE(action.Enabled());
  EXPECT_FALSE(action.Checked());
  EXPECT_EQ(action.Caption(), "");
  EXPECT_EQ(action.Hint(), "");
  EXPECT_EQ(action.HelpContext(), 0);
  EXPECT_FALSE(action.Execute());
}

TEST_F(WindowMenuTest, ThePriorityScheduleIsSortedByNameAsTextAndTakesItsValues) {
  struct Case {
    std::vector<std::string> loaded, sorted;
    std::vector<intptr_t> data;
  } cases[] = {
      {{"3=9", "12=17", "0=3"}, {"0=3", "12=17", "3=9"}, {3, 17, 9}},
      {{"b=1", "A=2", " 5= 4"}, {" 5= 4", "A=2", "b=1"}, {4, 2, 1}},
      // A repeated name takes the value of its first entry.
      {{"2=8", "2=5"}, {"2=8", "2=5"}, {8, 8}},
      {{}, {}, {}},
  };
  {
    TStringList* schedule = form->ActionManager1->PrioritySchedule();
    for (const Case& c : cases) {
      schedule->Clear();
      for (const std::string& s : c.loaded)
        schedule->Add(s);
      form->RepairPrioritySchedule();
      ASSERT_EQ(schedule->Count(), int(c.sorted.size()));
      for (int i = 0; i < schedule->Count(); ++i) {
        EXPECT_EQ(schedule->Strings(i), c.sorted[size_t(i)]);
        EXPECT_EQ(schedule->Data(i), c.data[size_t(i)]);
      }
    }
    // A value that is not a whole number, or no value at all, is the
    // conversion error.
    for (const char* bad : {"3=x", "4=", "5=99999999999", "nothing"}) {
      schedule->Clear();
      schedule->Add("0=3");
      schedule->Add(bad);
      EXPECT_THROW(form->RepairPrioritySchedule(), EConvertError) << bad;
    }
  }
}

} // namespace
} // namespace zel::test
