// The "Окно" menu as a person uses it on the headless screen: it lists the
// colour-map editor and every child window below its own commands, checks
// the active child and brings back what is chosen from it; and the main
// window's upkeep of that menu and of the priority schedule.

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
#include "tests/shell/MainWindowFixture.h"

namespace zel::test {
namespace {

using namespace sys;
using Texts = std::vector<std::string>;
const std::string kEditor = "Настройка внешнего вида";

class WindowMenuTest : public MainWindowFixture {
protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    menu = form->FindMenuClient(form->actWindows);
    ASSERT_NE(menu, nullptr);
  }
  void OpenWindowMenu() { ClickOn(ControlOf(form->actWindows)); }
  // "Окно", then the entry of action.
  void Choose(TBasicAction* action) {
    OpenWindowMenu();
    ASSERT_NE(ControlOf(action), nullptr) << "no entry in the open Окно menu";
    ClickOn(ControlOf(action));
    Settle();
  }
  // "Файлы" then "Новая форма"; answers the new child.
  TCustomForm* NewChild() {
    ClickOn(ControlOf(form->ActFile));
    ClickOn(ControlOf(form->actNewForm));
    Settle();
    return form->ActiveMDIChild();
  }
  TFormAction* EntryOf(TControl* control) {
    for (int i = 0; i < menu->Items()->Count(); ++i)
      if (auto* a = dynamic_cast<TFormAction*>(menu->Items()->Items(i)->Action()))
        if (a->Control() == control) return a;
    return nullptr;
  }
  // How the window menu ends: "-" for a separator, otherwise the caption.
  Texts MenuTail(int n) {
    Texts tail;
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
  // A fingerprint of an open entry's gutter, where a checked entry has its box.
  uint64_t GutterPrint(TControl* entry) {
    uint64_t sum = 0;
    for (int y = 1; y < entry->Height() - 1; ++y)
      for (int x = 1; x < entry->Height() - 1; ++x) {
        const POINT p = entry->ClientToScreen(POINT{x, y});
        sum = sum * 31 + screen->ScreenPixel(p.x, p.y);
      }
    return sum;
  }

  TActionClientItem* menu = nullptr;
};

TEST_F(WindowMenuTest, ListsTheChildrenChecksTheActiveOneAndRestoresTheChosen) {
  EXPECT_EQ(MenuTail(2), (Texts{"-", kEditor}));
  TCustomForm* a = NewChild();
  TCustomForm* b = NewChild();
  EXPECT_EQ(MenuTail(4), (Texts{"-", kEditor, "Форма 1", "Форма 2"}));
  EXPECT_TRUE(EntryOf(form->ColorMapFrame())->Checked());
  EXPECT_FALSE(EntryOf(a)->Checked());
  EXPECT_TRUE(EntryOf(b)->Checked());

  // The open menu shows the active child's check in the gutter.
  OpenWindowMenu();
  const uint64_t unchecked = GutterPrint(ControlOf(EntryOf(a)));
  const uint64_t checked = GutterPrint(ControlOf(EntryOf(b)));
  EXPECT_NE(unchecked, checked);
  const auto dir = std::filesystem::path(ZEL_BINARY_DIR) / "pictures";
  std::filesystem::create_directories(dir);
  ASSERT_TRUE(screen->SaveScreenshot((dir / "shell_window_menu.png").string()));
  OpenWindowMenu(); // closes it

  // Both minimised, A chosen: restored, in front, focused and checked.
  Choose(form->WindowMinimizeAll1);
  ASSERT_EQ(a->WindowState(), wsMinimized);
  Choose(EntryOf(a));
  EXPECT_EQ(a->WindowState(), wsNormal);
  EXPECT_EQ(b->WindowState(), wsMinimized);
  EXPECT_EQ(form->MDIChildren(0), a);
  EXPECT_TRUE(GetFocus() == a->Handle() || IsChild(a->Handle(), GetFocus()));
  EXPECT_TRUE(EntryOf(a)->Checked());
  EXPECT_FALSE(EntryOf(b)->Checked());
  OpenWindowMenu();
  EXPECT_EQ(GutterPrint(ControlOf(EntryOf(a))), checked);
  EXPECT_EQ(GutterPrint(ControlOf(EntryOf(b))), unchecked);
  // The entries keep the order the children were made in.
  EXPECT_EQ(MenuTail(2), (Texts{"Форма 1", "Форма 2"}));
}

// Three children minimised by their buttons; "Форма 2" brought back from
// "Окно" and minimised again goes back into the gap it left, not onto
// "Форма 3".  The main window maximised, the icons go down with the bottom
// of the client area.
TEST_F(WindowMenuTest, IconsTakeTheFirstFreeSlotAndKeepToTheBottom) {
  TCustomForm* forms[3] = {NewChild(), NewChild(), NewChild()};
  for (TCustomForm* f : forms)
    ClickCaptionButton(f->Handle(), HTMINBUTTON);
  auto apart = [&] {
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(forms[i]->WindowState(), wsMinimized) << i;
      for (int j = i + 1; j < 3; ++j) {
        RECT common;
        EXPECT_FALSE(IntersectRect(common, forms[i]->BoundsRect(), forms[j]->BoundsRect()))
            << i << " on " << j;
      }
    }
  };
  apart();
  const RECT gap = forms[1]->BoundsRect();
  Choose(EntryOf(forms[1]));
  ASSERT_EQ(forms[1]->WindowState(), wsNormal);
  ClickCaptionButton(forms[1]->Handle(), HTMINBUTTON);
  apart();
  EXPECT_EQ(forms[1]->BoundsRect(), gap);

  RECT area;
  GetClientRect(form->ClientHandle(), &area);
  int above[3];
  for (int i = 0; i < 3; ++i)
    above[i] = area.bottom - forms[i]->BoundsRect().bottom;
  ClickCaptionButton(form->Handle(), HTMAXBUTTON);
  ASSERT_EQ(form->WindowState(), wsMaximized);
  RECT maximized;
  GetClientRect(form->ClientHandle(), &maximized);
  ASSERT_GT(maximized.bottom, area.bottom);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(maximized.bottom - forms[i]->BoundsRect().bottom, above[i]) << i;
  Picture("shell_icons_maximized");
}

TEST_F(WindowMenuTest, ChoosingTheHiddenEditorShowsIt) {
  TFrameColorMap* editor = form->ColorMapFrame();
  editor->SetVisible(false); // closed in the dock site
  Settle();
  EXPECT_FALSE(EntryOf(editor)->Checked());
  Choose(EntryOf(editor));
  EXPECT_TRUE(editor->Showing());
  EXPECT_TRUE(EntryOf(editor)->Checked());

  // Floating, its form closed with the cross: the form comes back with it.
  ASSERT_TRUE(editor->ManualFloat(RECT{200, 150, 480, 600}));
  Settle();
  auto* floating = dynamic_cast<TCustomForm*>(editor->HostDockSite());
  ASSERT_NE(floating, nullptr);
  floating->Close();
  Settle();
  EXPECT_FALSE(EntryOf(editor)->Checked());
  Choose(EntryOf(editor));
  EXPECT_TRUE(floating->Visible());
  EXPECT_TRUE(editor->Showing());
  EXPECT_TRUE(EntryOf(editor)->Checked());
}

TEST_F(WindowMenuTest, CaptionsAreCutTo64CharactersNeverInsideOne) {
  std::string zh70, zh63abc;
  for (int i = 0; i < 70; ++i)
    zh70 += "ж";
  zh63abc = zh70.substr(0, 63 * 2) + "abc";
  const std::pair<std::string, std::string> cases[] = {
      {std::string(70, 'x'), std::string(64, 'x')},
      {zh70, zh70.substr(0, 64 * 2)},
      {zh63abc, zh63abc.substr(0, 63 * 2 + 1)},
      {std::string(64, 'y'), std::string(64, 'y')},
  };
  TCustomForm* child = NewChild();
  for (const auto& [caption, shown] : cases) {
    child->SetCaption(caption);
    Settle();
    EXPECT_EQ(EntryOf(child)->Caption(), shown) << caption;
  }
  OpenWindowMenu();
  EXPECT_EQ(ControlOf(EntryOf(child))->ActionClient()->Caption(), cases[3].second);
}

TEST_F(WindowMenuTest, EntriesOfGoneChildrenAndOrphanItemsAreSwept) {
  TCustomForm* a = NewChild();
  TCustomForm* b = NewChild();
  const int fixed = menu->Items()->Count() - 3; // the commands and the separator

  // Gone before the next update: the entry, still listed, does nothing.
  TFormAction* staleB = EntryOf(b);
  Free(b);
  EXPECT_EQ(staleB->Control(), nullptr);
  OpenWindowMenu();
  ASSERT_TRUE(ControlOf(staleB) && ControlOf(staleB)->Showing());
  ClickOn(ControlOf(staleB));
  EXPECT_EQ(form->ActiveMDIChild(), a);

  // Items a read configuration may leave: no action, a caption or none.
  menu->Items()->Add()->SetCaption("Форма 7");
  menu->Items()->Add();
  Settle();
  EXPECT_EQ(menu->Items()->Count(), fixed + 2);
  EXPECT_EQ(MenuTail(3), (Texts{"-", kEditor, "Форма 1"}));
  EXPECT_EQ(FormActionCount(), 2);

  // A sweep while the menu is open leaves the other entries working.
  NewChild();
  OpenWindowMenu();
  menu->Items()->Add()->SetCaption("Форма 8");
  Settle();
  EXPECT_EQ(MenuTail(2), (Texts{"Форма 1", "Форма 2"}));
  ASSERT_TRUE(ControlOf(EntryOf(a))->Showing());
  ClickOn(ControlOf(EntryOf(a)));
  Settle();
  EXPECT_EQ(form->ActiveMDIChild(), a);
}

TEST_F(WindowMenuTest, RemovedOrResetEntriesComeBackOnceEach) {
  TCustomForm* a = NewChild();
  TCustomForm* b = NewChild();
  const int all = menu->Items()->Count();
  form->RemoveFormActions(menu);
  EXPECT_EQ(menu->Items()->Count(), all - 3);
  EXPECT_EQ(FormActionCount(), 0);
  form->RemoveFormActions(nullptr);
  EXPECT_EQ(form->AddFormAction(nullptr, menu), nullptr);
  EXPECT_EQ(form->AddFormAction(form->ColorMapFrame(), nullptr), nullptr);
  // Only top-level items of the main menu bar are found.
  EXPECT_EQ(form->FindMenuClient(form->actHelp)->Caption(), "Помощь");
  EXPECT_EQ(form->FindMenuClient(form->actNewForm), nullptr);
  EXPECT_EQ(form->FindMenuClient(nullptr), nullptr);
  Settle();
  EXPECT_EQ(MenuTail(4), (Texts{"-", kEditor, "Форма 1", "Форма 2"}));

  // "Сбросить" in the customize dialog drops the items but not their
  // actions; those are freed, and the closed editor can still be reached.
  form->ColorMapFrame()->SetVisible(false);
  Choose(form->CustomizeActionBars1);
  auto* dlg = dynamic_cast<TCustomizeDlg*>(form->CustomizeActionBars1->CustomizeDlg());
  ASSERT_TRUE(dlg && dlg->Showing());
  dlg->BarList()->SetItemIndex(dlg->BarList()->Items()->IndexOf("Главное меню"));
  ClickOn(dlg->ResetBarButton());
  ClickOn(dlg->CloseButton());
  Settle();
  menu = form->FindMenuClient(form->actWindows);
  Settle();
  EXPECT_EQ(FormActionCount(), 3);
  EXPECT_EQ(MenuTail(4), (Texts{"-", kEditor, "Форма 1", "Форма 2"}));
  EXPECT_FALSE(EntryOf(a)->Checked());
  EXPECT_TRUE(EntryOf(b)->Checked());
  Choose(EntryOf(form->ColorMapFrame()));
  EXPECT_TRUE(form->ColorMapFrame()->Showing());
}

TEST_F(WindowMenuTest, AnActionHearsOnlyOfTheControlItIsBoundTo) {
  auto* first = new TForm(form);
  auto* second = new TForm(form);
  second->SetCaption("Второй");
  second->SetHint("Подсказка");
  second->SetHelpContext(17);
  TFormAction action(nullptr, first);
  action.SetControl(form->ColorMapFrame());
  EXPECT_EQ(action.GroupIndex(), 0);
  action.SetControl(second);
  EXPECT_EQ(action.GroupIndex(), 1);
  Free(first);
  EXPECT_TRUE(action.Update());
  EXPECT_EQ(action.Caption() + action.Hint(), "ВторойПодсказка");
  EXPECT_EQ(action.HelpContext(), 17);
  Free(second);
  EXPECT_FALSE(action.Update());
  EXPECT_FALSE(action.Enabled() || action.Checked() || action.Execute());
  EXPECT_EQ(action.Caption() + action.Hint(), "");
  EXPECT_EQ(action.HelpContext(), 0);
}

TEST_F(WindowMenuTest, ThePriorityScheduleIsSortedByNameAsTextAndTakesItsValues) {
  struct Case {
    Texts loaded, sorted;
    std::vector<intptr_t> data;
  } cases[] = {
      {{"3=9", "12=17", "0=3"}, {"0=3", "12=17", "3=9"}, {3, 17, 9}},
      {{"b=1", "A=2", " 5= 4"}, {" 5= 4", "A=2", "b=1"}, {4, 2, 1}},
      {{"2=8", "2=5"}, {"2=8", "2=5"}, {8, 8}}, // a repeated name: its first value
  };
  TStringList* schedule = form->ActionManager1->PrioritySchedule();
  for (const Case& c : cases) {
    schedule->SetText("");
    for (const std::string& s : c.loaded)
      schedule->Add(s);
    form->RepairPrioritySchedule();
    ASSERT_EQ(schedule->Count(), int(c.sorted.size()));
    for (int i = 0; i < schedule->Count(); ++i) {
      EXPECT_EQ(schedule->Strings(i), c.sorted[size_t(i)]);
      EXPECT_EQ(schedule->Data(i), c.data[size_t(i)]);
    }
  }
  for (const char* bad : {"3=x", "4=", "5=99999999999", "nothing"}) {
    schedule->SetText(std::string("0=3\n") + bad);
    EXPECT_THROW(form->RepairPrioritySchedule(), EConvertError) << bad;
  }
}

} // namespace
} // namespace zel::test
