// Windows' system menus: Alt+Space on a top-level form, Alt+- on the active
// MDI child, a click on a caption's icon; the items each window's state and
// styles allow; the menu drawn by the program's pop-up menus in the menu
// bar's colours, with the keyboard while it shows and never left open.

#include <gtest/gtest.h>

#include <functional>

#include "framework/actnbars/PopupActnBar.h"
#include "framework/actnbars/SystemMenuPopup.h"
#include "framework/forms/SystemMenu.h"
#include "framework/stdctrls/Panel.h"
#include "tests/framework/actnbars_ui/BarTestSupport.h"

namespace zel {
namespace {

using namespace bartest;
using sys::RECT;

class SystemMenuTest : public ::testing::Test, protected BarTestSupport {
protected:
  void SetUp() override {
    StartBars({XPStyle(), StandardStyle()});
    InstallSystemMenu();
    mainForm = MakeForm(40, 40, 600, 440, "Главная");
    mainForm->SetFormStyle(fsMDIForm);
    manager = new TActionManager(mainForm);
    manager->SetStyle(XPStyle());
    menuBar = MakeBar<TActionMainMenuBar>(mainForm, manager);
    TActionClientItem* file = manager->ActionBars()->ActionBars(0)->Items()->Add();
    file->SetCaption("&Файл");
    file->Items()->Add()->SetAction(MakeAction(mainForm, manager, "&Открыть"));
    menuBar->RecreateControls();
    panel = new TPanel(mainForm);
    panel->SetParent(mainForm);
    panel->SetAlign(alBottom);
    panel->SetTabStop(true);
    panel->OnKeyDown = [this](TObject*, sys::WORD& key, TShiftState) { panelKeys.push_back(key); };
    mainForm->Show();
    first = Child("Первая");
    second = Child("Вторая");
    tool = MakeForm(300, 300, 200, 150, "Инструменты");
    tool->SetBorderStyle(bsSizeToolWin);
    app->ProcessMessages();
  }
  void TearDown() override {
    SetSystemMenuPresenter(nullptr);
    StopBars();
  }
  TForm* Child(const char* caption) {
    auto* f = new TForm(mainForm);
    f->SetFormStyle(fsMDIChild);
    f->SetParent(mainForm);
    f->SetBounds(0, 0, 240, 160);
    f->SetCaption(caption);
    f->SetVisible(true);
    app->ProcessMessages();
    return f;
  }
  void AltWith(const char* text) {
    screen->KeyDown(sys::VK_MENU);
    screen->Type(text);
    screen->KeyUp(sys::VK_MENU);
    app->ProcessMessages();
  }
  void Type(const char* text) {
    screen->Type(text);
    app->ProcessMessages();
  }
  TCustomActionPopupMenu* Open() {
    TCustomActionPopupMenu* bar = nullptr;
    for (int i = 0; i < app->ComponentCount(); ++i)
      if (auto* menu = dynamic_cast<TPopupActionBar*>(app->Components(i))) bar = menu->PopupBar();
    return bar && bar->Showing() ? bar : nullptr;
  }
  std::vector<std::string> Captions() {
    std::vector<std::string> out;
    if (TCustomActionPopupMenu* bar = Open())
      for (int i = 0; i < bar->ActionControlCount(); ++i)
        if (TCustomActionControl* c = bar->ActionControls(i); !c->IsSeparator())
          out.push_back(c->ActionClient()->Caption() + (c->IsEnabled() ? "" : " (off)"));
    return out;
  }
  RECT WindowRect(TForm* f) {
    RECT r{};
    sys::GetWindowRect(f->Handle(), &r);
    return r;
  }

  TForm* mainForm = nullptr;
  TForm* first = nullptr;
  TForm* second = nullptr;
  TForm* tool = nullptr;
  TActionManager* manager = nullptr;
  TActionMainMenuBar* menuBar = nullptr;
  TPanel* panel = nullptr;
  std::vector<sys::WORD> panelKeys;
};

// Each row opens a menu from the keyboard, goes through it and checks what
// the window did; after every row the menu is closed and the keys reach the
// focused control again.
TEST_F(SystemMenuTest, KeysThroughTheSystemMenus) {
  struct Row {
    const char* name;
    std::function<void()> keys;
    std::function<void()> check;
  };
  const RECT mainAt = WindowRect(mainForm);
  const RECT childAt = WindowRect(second);
  const Row rows[] = {
      {"Alt+Space, Down x3, Enter: maximised",
       [&] {
         AltWith(" ");
         for (int i = 0; i < 3; ++i)
           Key(sys::VK_DOWN);
         Key(sys::VK_RETURN);
       },
       [&] { EXPECT_EQ(mainForm->WindowState(), wsMaximized); }},
      {"Alt+Space on the maximised window, its letter: restored",
       [&] {
         mainForm->SetWindowState(wsMaximized);
         AltWith(" ");
         Type("в");
       },
       [&] { EXPECT_EQ(WindowRect(mainForm), mainAt); }},
      {"Alt+Space, Enter on the move, Right x3, Enter: moved three steps",
       [&] {
         AltWith(" ");
         Key(sys::VK_RETURN);
         for (int i = 0; i < 3; ++i)
           Key(sys::VK_RIGHT);
         Key(sys::VK_RETURN);
       },
       [&] { EXPECT_EQ(WindowRect(mainForm).left, mainAt.left + 24); }},
      {"the move, then Esc: back where it was",
       [&] {
         AltWith(" ");
         Type("п");
         Key(sys::VK_DOWN);
         Key(sys::VK_ESCAPE);
       },
       [&] { EXPECT_EQ(WindowRect(mainForm), mainAt); }},
      {"the size from the keyboard: the right edge, one step out",
       [&] {
         AltWith(" ");
         Type("р");
         Key(sys::VK_RIGHT);
         Key(sys::VK_RIGHT);
         Key(sys::VK_RETURN);
       },
       [&] { EXPECT_EQ(WindowRect(mainForm).right, mainAt.right + 8); }},
      {"Esc closes the menu and does nothing else; the focused control saw no Space",
       [&] {
         AltWith(" ");
         Key(sys::VK_ESCAPE);
       },
       [&] {
         EXPECT_EQ(WindowRect(mainForm), mainAt);
         EXPECT_TRUE(panel->Focused());
         EXPECT_EQ(panelKeys, std::vector<sys::WORD>{sys::VK_MENU});
       }},
      {"F10, then Alt+Space: one menu loop at a time",
       [&] {
         Key(sys::VK_F10);
         AltWith(" ");
         Key(sys::VK_ESCAPE);
       },
       [&] {
         EXPECT_FALSE(menuBar->InMenuLoop());
         EXPECT_TRUE(panel->Focused());
       }},
      {"Alt+- on the active child, its next: the other child is active",
       [&] {
         AltWith("-");
         Type("л");
       },
       [&] { EXPECT_EQ(mainForm->ActiveMDIChild(), first); }},
      {"Alt+- , Up from the first item wraps to the next, Enter",
       [&] {
         AltWith("-");
         Key(sys::VK_UP);
         Key(sys::VK_RETURN);
       },
       [&] { EXPECT_EQ(mainForm->ActiveMDIChild(), first); }},
      {"Alt+- , the child's maximise",
       [&] {
         AltWith("-");
         Type("а");
       },
       [&] {
         EXPECT_EQ(second->WindowState(), wsMaximized);
         EXPECT_EQ(mainForm->WindowState(), wsNormal);
       }},
      {"a press outside the open menu closes it",
       [&] {
         AltWith(" ");
         ClickAt(Center(panel));
       },
       [&] { EXPECT_EQ(WindowRect(mainForm), mainAt); }},
      {"Ctrl+F4 in the open menu closes it and reaches the window",
       [&] {
         second->SetFocus();
         app->ProcessMessages();
         AltWith("-");
         screen->KeyDown(sys::VK_CONTROL);
         Key(sys::VK_F4);
         screen->KeyUp(sys::VK_CONTROL);
         app->ProcessMessages();
       },
       [&] { EXPECT_EQ(second->WindowState(), wsMinimized); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    panel->SetFocus();
    app->ProcessMessages();
    panelKeys.clear();
    row.keys();
    row.check();
    EXPECT_EQ(Open(), nullptr);
    panelKeys.clear();
    panel->SetFocus();
    Key(sys::VK_DOWN);
    EXPECT_EQ(panelKeys, std::vector<sys::WORD>{sys::VK_DOWN});
    // Back as it was for the next row.
    for (TForm* f : {mainForm, first, second})
      f->SetWindowState(wsNormal);
    sys::SetWindowPos(mainForm->Handle(), nullptr, mainAt.left, mainAt.top, mainAt.Width(),
                      mainAt.Height(), sys::SWP_NOZORDER);
    second->Activate();
    app->ProcessMessages();
    ASSERT_EQ(WindowRect(second), childAt);
  }
}

// What each kind of window offers, greyed where its state or styles refuse.
TEST_F(SystemMenuTest, TheItemsFollowTheWindowsStateAndStyles) {
  struct Row {
    const char* name;
    TForm* form;
    std::function<void()> open;
    std::vector<std::string> items;
  };
  const Row rows[] = {
      {"a sizeable main window",
       mainForm,
       [&] { AltWith(" "); },
       {"&Восстановить (off)", "&Переместить", "&Размер", "&Свернуть", "Р&азвернуть", "&Закрыть"}},
      {"a maximised child, from its caption's icon",
       second,
       [&] {
         second->SetWindowState(wsMaximized);
         app->ProcessMessages();
         // The icon sits at the left end of the child's caption.
         const sys::POINT corner = second->ClientToScreen(sys::POINT{0, 0});
         const int caption = sys::GetSystemMetrics(sys::SM_CYCAPTION);
         const sys::POINT icon{corner.x + 8, corner.y - caption / 2};
         // A second click on the icon closes the menu, a third opens it.
         ClickAt(icon);
         ClickAt(icon);
         EXPECT_EQ(Open(), nullptr);
         ClickAt(icon);
       },
       {"&Восстановить", "&Переместить (off)", "&Размер (off)", "&Свернуть", "Р&азвернуть (off)",
        "&Закрыть", "С&ледующее"}},
      {"no window manager: the main window is not minimised",
       mainForm,
       [&] {
         screen->SetCanIconify(false);
         mainForm->SetFocus();
         AltWith(" ");
       },
       {"&Восстановить (off)", "&Переместить", "&Размер", "&Свернуть (off)", "Р&азвернуть",
        "&Закрыть"}},
      {"a tool window",
       tool,
       [&] {
         tool->Show();
         app->ProcessMessages();
         AltWith(" ");
       },
       {"&Переместить", "&Размер", "&Закрыть"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    row.open();
    EXPECT_EQ(Captions(), row.items);
    TCustomActionPopupMenu* open = Open();
    ASSERT_NE(open, nullptr);
    // Under the caption, at its left end; in the menu bar's colours.
    const sys::POINT corner = row.form->ClientToScreen(sys::POINT{0, 0});
    EXPECT_EQ(open->ClientToScreen(sys::POINT{0, 0}).x, corner.x);
    EXPECT_EQ(open->ClientToScreen(sys::POINT{0, 0}).y, corner.y);
    EXPECT_EQ(open->ColorMap(), menuBar->ColorMap());
    Key(sys::VK_ESCAPE);
    EXPECT_EQ(Open(), nullptr);
  }
}

} // namespace
} // namespace zel
