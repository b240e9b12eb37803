// The main window driven as a person drives it, on the headless screen: for
// each starting state (no child, active children, the tool bar floating,
// the customize dialog open) each key sequence leaves the menu, the
// children and the dialog in the state a person expects; the bar drags end
// wherever the button comes up.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "actionbars/ZelStyleActnCtrls.h"
#include "colormap/UnitFrameColorMap.h"
#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/CustomizeActionBars.h"
#include "framework/actnbars/CustomizeDlg.h"
#include "framework/actnbars/DesignDrag.h"
#include "framework/docking/DragDock.h"
#include "framework/forms/Application.h"
#include "framework/stdctrls/ColorDialogParts.h"
#include "framework/stdctrls/ControlBar.h"
#include "framework/stdctrls/ListBox.h"
#include "framework/stdctrls/ColorBox.h"
#include "framework/stdctrls/PageControl.h"
#include "framework/stdctrls/Panel.h"
#include "framework/stdctrls/TrackBar.h"
#include "framework/stdctrls/ValueListEditor.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/User.h"
#include "platform/user/WindowSystem.h"
#include "shell/Startup.h"
#include "shell/UnitMain.h"
#include "tests/shell/MainWindowFixture.h"

namespace zel::test {
namespace {

using namespace sys;

enum class Start { NoChild, ThreeChildren, FloatingToolBar, FloatingEditor, CustomizeDialog };

const char* StartName(Start s) {
  switch (s) {
  case Start::NoChild:
    return "no child";
  case Start::ThreeChildren:
    return "three children";
  case Start::FloatingToolBar:
    return "floating tool bar";
  case Start::FloatingEditor:
    return "floating editor, active";
  default:
    return "customize dialog";
  }
}

class PersonInputTest : public MainWindowFixture {
protected:
  TCustomizeDlg* Dialog() {
    return dynamic_cast<TCustomizeDlg*>(form->CustomizeActionBars1->CustomizeDlg());
  }
  void Begin(Start s) {
    switch (s) {
    case Start::NoChild:
      break;
    case Start::ThreeChildren:
      for (int i = 0; i < 3; ++i)
        form->actNewForm->Execute();
      break;
    case Start::FloatingToolBar: {
      const RECT band = form->ControlBar1->BandRect(form->GradientActionToolBar1);
      const POINT grip = form->ControlBar1->ClientToScreen(POINT{band.left + 4, band.top + 8});
      const POINT away = form->ClientToScreen(POINT{300, 250});
      screen->Drag(grip.x, grip.y, away.x, away.y, 6);
      break;
    }
    case Start::FloatingEditor: {
      // Floated and then clicked on its caption, so that its window is the
      // active one and has the keys.
      ASSERT_TRUE(form->ColorMapFrame()->ManualFloat(RECT{900, 100, 1200, 600}));
      Settle();
      const HWND host = form->ColorMapFrame()->TopParent()->Handle();
      RECT r;
      GetWindowRect(host, &r);
      ClickAt(POINT{r.left + 40, r.top + 8});
      ASSERT_EQ(GetActiveWindow(), host);
      break;
    }
    case Start::CustomizeDialog:
      // Through the window menu, as a person opens it: the menu bar had the
      // keyboard while its menu was open.
      Press("Alt+о");
      ASSERT_EQ(Menu(), "Окно > Дополнительные настройки");
      Press("Enter");
      // Beside the main window, wherever earlier tests left it.
      if (TCustomizeDlg* dlg = Dialog())
        dlg->Form()->SetBounds(form->Left() + form->Width() + 10, form->Top(), 400, 380);
      break;
    }
    Settle();
  }
  // The keys of one step: "F10", "Alt", "Alt+Ф", "Ctrl+F4", "Ctrl+Shift+F6", "Esc", "Enter".
  void Press(const std::string& key) {
    auto with = [&](std::vector<UINT> mods, const std::function<void()>& body) {
      for (UINT m : mods)
        screen->KeyDown(m);
      body();
      for (auto it = mods.rbegin(); it != mods.rend(); ++it)
        screen->KeyUp(*it);
    };
    if (key == "F10")
      screen->Key(VK_F10);
    else if (key == "Alt")
      screen->Key(VK_MENU);
    else if (key.rfind("Alt+", 0) == 0)
      with({VK_MENU}, [&] { screen->Type(key.substr(4)); });
    else if (key == "Ctrl+F4")
      with({VK_CONTROL}, [&] { screen->Key(VK_F4); });
    else if (key == "Ctrl+F6")
      with({VK_CONTROL}, [&] { screen->Key(VK_F6); });
    else if (key == "Ctrl+Shift+F6")
      with({VK_CONTROL, VK_SHIFT}, [&] { screen->Key(VK_F6); });
    else if (key == "Esc")
      screen->Key(VK_ESCAPE);
    else if (key == "Enter")
      screen->Key(VK_RETURN);
    else if (key == "Shift+Tab")
      with({VK_SHIFT}, [&] { screen->Key(VK_TAB); });
    else if (key == "click child")
      ClickInActiveChild();
    else if (const auto plain = kPlainKeys.find(key); plain != kPlainKeys.end())
      screen->Key(plain->second);
    else
      FAIL() << "unknown key " << key;
    Settle();
  }
  // The menu as a person sees it: "-" outside the menu loop, otherwise the
  // selected top-level item and, when its menu is open, the selected item
  // there ("Файлы > Новая форма").
  std::string Menu() {
    TCustomActionMainMenuBar* bar = form->GradientActionMainMenuBar1;
    if (!bar->InMenuLoop()) return "-";
    auto name = [](TCustomActionControl* c) {
      return c && c->ActionClient() ? c->ActionClient()->Caption() : std::string("?");
    };
    std::string s = name(bar->SelectedControl());
    if (TCustomActionPopupMenu* p = bar->Popup()) s += " > " + name(p->SelectedControl());
    return s;
  }
  // The children as "Форма 1,Форма 2,[Форма 3]": open ones by caption,
  // the active one in brackets; minimised (closed) ones are left out.
  std::string Children() {
    std::vector<std::string> names;
    for (int i = 0; i < form->MDIChildCount(); ++i) {
      TCustomForm* c = form->MDIChildren(i);
      if (c->WindowState() == wsMinimized) continue;
      names.push_back(c == form->ActiveMDIChild() ? "[" + c->Caption() + "]" : c->Caption());
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
      auto plain = [](std::string n) { return n[0] == '[' ? n.substr(1, n.size() - 2) : n; };
      return plain(a) < plain(b);
    });
    std::string s;
    for (const std::string& n : names)
      s += (s.empty() ? "" : ",") + n;
    return s;
  }
  bool DialogShowing() { return Dialog() && Dialog()->Showing(); }
  inline static const std::map<std::string, UINT> kPlainKeys = {
      {"Right", VK_RIGHT}, {"Down", VK_DOWN}, {"Left", VK_LEFT}, {"Up", VK_UP},
      {"Home", VK_HOME},   {"End", VK_END},   {"Tab", VK_TAB},   {"Space", VK_SPACE}};
  void ClickInActiveChild() {
    TCustomForm* child = form->ActiveMDIChild();
    ASSERT_NE(child, nullptr);
    ClickAt(child->ClientToScreen(POINT{20, 20}));
  }
  // Where the keyboard is: the focused control's name (a child by its
  // caption), and for a keyboard group the marked member ("Frame/Button").
  std::string Where() {
    auto* c = dynamic_cast<TWinControl*>(FindControl(GetFocus()));
    if (!c) return "?";
    if (auto* f = dynamic_cast<TCustomForm*>(c); f && f->FormStyle() == fsMDIChild)
      return f->Caption();
    TControl* mark = c->GroupFocus();
    return c->Name() + (mark ? "/" + mark->Name() : "");
  }
  // What the editor's keys changed: the checked map (std, xp, bw or -), the
  // gradient, hiding unused items, the glyph size, the grid and a style
  // other than the program's own.
  std::string EditorState() {
    TFrameColorMap* f = form->ColorMapFrame();
    const char* map = f->actStandartColorMap->Checked() ? "std"
                      : f->actXPColorMap->Checked()     ? "xp"
                      : f->actTwilightColorMap->Checked() ? "bw"
                                                          : "-";
    return std::string(map) + (f->actGradient->Checked() ? " grad" : "") +
           (f->actHideUnused->Checked() ? " hide" : "") + " " +
           std::to_string(f->TrackBar1->Position()) +
           (f->ValueListEditor1->Visible() ? " grid" : "") +
           (f->StyleName() == "Zel Style" ? "" : " " + f->StyleName());
  }
};

struct Case {
  Start start;
  std::vector<std::string> keys;
  std::string menu;     // Menu() afterwards
  std::string children; // Children() afterwards
  bool dialog;          // the customize dialog still showing
};

const std::string kThree = "Форма 1,Форма 2,[Форма 3]";

TEST_F(PersonInputTest, EveryStartingStateAndKey) {
  const std::vector<Case> cases = {
      {Start::NoChild, {"F10"}, "Файлы", "", false},
      {Start::NoChild, {"Alt"}, "Файлы", "", false},
      {Start::NoChild, {"Alt+ф"}, "Файлы > Новая форма", "", false},
      {Start::NoChild, {"Alt+о"}, "Окно > Дополнительные настройки", "", false},
      {Start::NoChild, {"Ctrl+F4"}, "-", "", false},
      {Start::NoChild, {"Ctrl+F6"}, "-", "", false},
      {Start::NoChild, {"Esc"}, "-", "", false},
      {Start::NoChild, {"Enter"}, "-", "", false},
      // In the menu: the keys move, open, run and leave.
      {Start::NoChild, {"F10", "Alt"}, "-", "", false},
      {Start::NoChild, {"F10", "F10"}, "-", "", false},
      {Start::NoChild, {"Alt", "Esc"}, "-", "", false},
      {Start::NoChild, {"Alt+ф", "Esc"}, "Файлы", "", false},
      {Start::NoChild, {"Alt+ф", "Esc", "Esc"}, "-", "", false},
      {Start::NoChild, {"Alt+ф", "Alt"}, "-", "", false},
      {Start::NoChild, {"Alt+ф", "Enter"}, "-", "[Форма 1]", false},
      {Start::NoChild, {"Alt", "Enter"}, "Файлы > Новая форма", "", false},
      {Start::NoChild, {"Alt+ф", "Alt+о"}, "Окно > Дополнительные настройки", "", false},

      {Start::ThreeChildren, {"F10"}, "Файлы", kThree, false},
      {Start::ThreeChildren, {"Alt"}, "Файлы", kThree, false},
      {Start::ThreeChildren, {"Alt+ф"}, "Файлы > Новая форма", kThree, false},
      {Start::ThreeChildren, {"Alt+о"}, "Окно > Каскад", kThree, false},
      {Start::ThreeChildren, {"Ctrl+F4"}, "-", "Форма 1,[Форма 2]", false},
      {Start::ThreeChildren, {"Ctrl+F4", "Ctrl+F4"}, "-", "[Форма 1]", false},
      {Start::ThreeChildren, {"Ctrl+F6"}, "-", "Форма 1,[Форма 2],Форма 3", false},
      {Start::ThreeChildren, {"Ctrl+Shift+F6"}, "-", "[Форма 1],Форма 2,Форма 3", false},
      {Start::ThreeChildren, {"Esc"}, "-", kThree, false},
      {Start::ThreeChildren, {"Enter"}, "-", kThree, false},
      {Start::ThreeChildren, {"Alt+ф", "Enter"}, "-", "Форма 1,Форма 2,Форма 3,[Форма 4]", false},
      {Start::ThreeChildren, {"F10", "Esc"}, "-", kThree, false},
      // A window key with a menu open leaves the menu and does its work.
      {Start::ThreeChildren, {"Alt+о", "Ctrl+F4"}, "-", "Форма 1,[Форма 2]", false},
      {Start::ThreeChildren, {"F10", "Ctrl+F6"}, "-", "Форма 1,[Форма 2],Форма 3", false},

      {Start::FloatingToolBar, {"F10"}, "Файлы", "", false},
      {Start::FloatingToolBar, {"Alt"}, "Файлы", "", false},
      {Start::FloatingToolBar, {"Alt+ф"}, "Файлы > Новая форма", "", false},
      {Start::FloatingToolBar, {"Alt+о"}, "Окно > Дополнительные настройки", "", false},
      {Start::FloatingToolBar, {"Ctrl+F4"}, "-", "", false},
      {Start::FloatingToolBar, {"Ctrl+F6"}, "-", "", false},
      {Start::FloatingToolBar, {"Esc"}, "-", "", false},
      {Start::FloatingToolBar, {"Enter"}, "-", "", false},

      {Start::FloatingEditor, {"F10"}, "Файлы", "", false},
      {Start::FloatingEditor, {"Alt"}, "Файлы", "", false},
      {Start::FloatingEditor, {"Alt+ф"}, "Файлы > Новая форма", "", false},
      {Start::FloatingEditor, {"Alt+ф", "Esc", "Esc"}, "-", "", false},

      // The dialog has no menu; Esc and Enter are its "Закрыть".
      {Start::CustomizeDialog, {"F10"}, "-", "", true},
      {Start::CustomizeDialog, {"Alt"}, "-", "", true},
      {Start::CustomizeDialog, {"Alt+ф"}, "-", "", true},
      {Start::CustomizeDialog, {"Alt+о"}, "-", "", true},
      {Start::CustomizeDialog, {"Ctrl+F4"}, "-", "", true},
      {Start::CustomizeDialog, {"Ctrl+F6"}, "-", "", true},
      {Start::CustomizeDialog, {"Esc"}, "-", "", false},
      {Start::CustomizeDialog, {"Enter"}, "-", "", false},
  };
  for (const Case& c : cases) {
    std::string keys;
    for (const std::string& k : c.keys)
      keys += (keys.empty() ? "" : ", ") + k;
    SCOPED_TRACE(std::string(StartName(c.start)) + ": " + keys);
    TearDown();
    SetUp();
    Begin(c.start);
    ASSERT_EQ(Menu(), "-");
    ASSERT_EQ(DialogShowing(), c.start == Start::CustomizeDialog);
    ASSERT_EQ(form->GradientActionToolBar1->Floating(), c.start == Start::FloatingToolBar);
    for (const std::string& k : c.keys)
      Press(k);
    EXPECT_EQ(Menu(), c.menu);
    EXPECT_EQ(Children(), c.children);
    EXPECT_EQ(DialogShowing(), c.dialog);
    EXPECT_FALSE(app->Terminated());
    // Out of the menu, the keyboard is no longer the menu bar's.
    if (c.menu == "-") {
      EXPECT_NE(GetFocus(), form->GradientActionMainMenuBar1->Handle());
    }
    // The tool bar stays where the keys found it.
    EXPECT_EQ(form->GradientActionToolBar1->Floating(), c.start == Start::FloatingToolBar);
  }
}

// The menu bar's modes (the state table in ActnMenus.cpp), driven through
// the window system's input as a person drives them: from every mode, every
// input leaves the menu in the mode the table says, with only that mode's
// title drawn selected and the keyboard back where it was once the mode
// ends, and the input does its own work or not.

// The pixels of a control's area as its window shows them.
std::vector<Pixel> PixelsOf(TControl* c) {
  const HWND top = c->TopParent()->Handle();
  RECT wr;
  GetWindowRect(top, &wr);
  const POINT o = c->ClientToScreen(POINT{0, 0});
  const Surface* s = GetWindowSurface(top);
  std::vector<Pixel> out;
  for (int y = 0; s && y < c->Height(); ++y)
    for (int x = 0; x < c->Width(); ++x)
      if (s->Contains(o.x - wr.left + x, o.y - wr.top + y))
        out.push_back(s->At(o.x - wr.left + x, o.y - wr.top + y));
  return out;
}

// The modes a person can leave the menu bar in, and the inputs that reach
// each from Idle (the customize mode with its dialog open).
enum Mode { Idle, F10Bar, EscBar, MouseDrop, KeysDrop, Design, kModes };
const char* const kModeNames[kModes] = {
    "idle", "F10", "mouse drop-down, Esc", "mouse drop-down", "Alt+Ф", "customize, Файлы clicked"};
const std::vector<std::string> kReach[kModes] = {
    {}, {"F10"}, {"click Файлы", "Esc"}, {"click Файлы"}, {"Alt+ф"}, {"click Файлы"}};

// After an input: the menu as Menu() tells it ("-": Idle; a title:
// BarSelected; "title > item": DropDown, "?" with no item selected) and whether the input did work
// of its own (the program ended, a child was made, closed, activated or went).
struct Cell {
  const char* menu;
  bool work;
};
struct Row {
  const char* input;
  std::array<Cell, kModes> after;
};

// The main window is left room on the screen: the customize dialog stands
// beside it and a corner of the desktop is free for presses outside.
const RECT kMain{0, 0, 860, 640};
const POINT kOutside{1270, 790};

class MenuModeTest : public PersonInputTest {
protected:
  void SetUp() override {
    StartMainWindow(
        [this] { form->SetBounds(kMain.left, kMain.top, kMain.Width(), kMain.Height()); });
  }
  TCustomActionMainMenuBar* Bar() { return form->GradientActionMainMenuBar1; }
  TCustomActionControl* Title(const std::string& caption) {
    for (int i = 0; i < Bar()->ActionControlCount(); ++i)
      if (Bar()->ActionControls(i)->ActionClient()->Caption() == caption)
        return Bar()->ActionControls(i);
    return nullptr;
  }
  // What the windows show apart from the menu.
  std::string World() {
    return app->Terminated() ? "ended" : (DialogShowing() ? "dialog: " : "") + Children();
  }
  // A screen point where a window's own hit test answers hit.
  POINT FindHit(HWND w, LRESULT hit) {
    RECT r;
    GetWindowRect(w, &r);
    for (int y = r.top; y < r.bottom; y += 2)
      for (int x = r.left; x < r.right; x += 2)
        if (SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == hit) return POINT{x, y};
    ADD_FAILURE() << "no point answers " << hit;
    return POINT{};
  }
  void Input(const std::string& in) {
    TCustomForm* inactive = form->MDIChildCount() > 1 ? form->MDIChildren(1) : nullptr;
    if (in == "click Файлы" || in == "click Окно") {
      ClickOn(Title(in.substr(6)));
    } else if (in == "click MDI client") {
      // The client's bottom right corner, which the cascaded children leave free.
      const RECT c = form->MDIClientRect();
      ClickAt(form->ClientToScreen(POINT{c.right - 8, c.bottom - 8}));
    } else if (in == "click other child") {
      ASSERT_NE(inactive, nullptr);
      // Its caption, above the active child, where no drop-down hangs over it.
      RECT r;
      GetWindowRect(inactive->Handle(), &r);
      POINT p{r.right - 60, r.top + 8};
      while (p.x > r.left && WindowFromPoint(p) != inactive->Handle())
        p.x -= 4;
      ClickAt(p);
    } else if (in == "press outside") {
      ClickAt(kOutside);
    } else if (in == "program left") {
      InputAppActive(false);
    } else if (in == "minimise") {
      ClickAt(FindHit(form->Handle(), HTMINBUTTON));
    } else if (in == "child destroyed") {
      form->ActiveMDIChild()->Release();
    } else {
      Press(in);
    }
    Settle();
  }
  // The titles drawn unlike their idle look.
  std::string TitlesDrawn(const std::vector<std::vector<Pixel>>& idle) {
    std::string s;
    for (int i = 0; i < Bar()->ActionControlCount(); ++i)
      if (PixelsOf(Bar()->ActionControls(i)) != idle[size_t(i)])
        s += (s.empty() ? "" : ",") + Bar()->ActionControls(i)->ActionClient()->Caption();
    return s;
  }
};

TEST_F(MenuModeTest, EveryModeAndInput) {
  // The modes as they show when reached (the columns' starting points).
  const std::array<const char*, kModes> start = {
      "-", "Файлы", "Файлы", "Файлы > ?", "Файлы > Новая форма", "Файлы > ?"};
  // clang-format off
  const std::vector<Row> table = {
    // input              idle                  F10                         mouse, Esc                  mouse drop-down             Alt+Ф                 customize
    {"Esc",               {{{"-", 0},             {"-", 0},                   {"-", 0},                   {"Файлы", 0},               {"Файлы", 0},         {"-", 0}}}},
    {"Alt",               {{{"Файлы", 0},         {"-", 0},                   {"-", 0},                   {"-", 0},                   {"-", 0},             {"Файлы > ?", 0}}}},
    {"F10",               {{{"Файлы", 0},         {"-", 0},                   {"-", 0},                   {"-", 0},                   {"-", 0},             {"Файлы > ?", 0}}}},
    {"Alt+о",             {{{"Окно > Каскад", 0}, {"Окно > Каскад", 0},       {"Окно > Каскад", 0},       {"Окно > Каскад", 0},       {"Окно > Каскад", 0}, {"-", 0}}}},
    {"Right",             {{{"-", 0},             {"Окно", 0},                {"Окно", 0},                {"Окно > Каскад", 0},       {"Окно > Каскад", 0}, {"Файлы > ?", 0}}}},
    {"Down",              {{{"-", 0},             {"Файлы > Новая форма", 0}, {"Файлы > Новая форма", 0}, {"Файлы > Новая форма", 0}, {"Файлы > Выход", 0}, {"Файлы > ?", 0}}}},
    {"Enter",             {{{"-", 0},             {"Файлы > Новая форма", 0}, {"Файлы > Новая форма", 0}, {"Файлы > ?", 0},           {"-", 1},             {"Файлы > ?", 0}}}},
    {"Alt+x",             {{{"-", 1},             {"-", 1},                   {"-", 1},                   {"-", 1},                   {"-", 1},             {"-", 1}}}},
    {"Ctrl+F4",           {{{"-", 1},             {"-", 1},                   {"-", 1},                   {"-", 1},                   {"-", 1},             {"-", 1}}}},
    {"Ctrl+F6",           {{{"-", 1},             {"-", 1},                   {"-", 1},                   {"-", 1},                   {"-", 1},             {"-", 1}}}},
    {"click Окно",        {{{"Окно > ?", 0},      {"Окно > ?", 0},            {"Окно > ?", 0},            {"-", 0},                   {"-", 0},             {"Окно > ?", 0}}}},
    {"click Файлы",       {{{"Файлы > ?", 0},     {"Файлы > ?", 0},           {"Файлы > ?", 0},           {"-", 0},                   {"-", 0},             {"-", 0}}}},
    {"click MDI client",  {{{"-", 0},             {"-", 0},                   {"-", 0},                   {"-", 0},                   {"-", 0},             {"-", 0}}}},
    {"click other child", {{{"-", 1},             {"-", 1},                   {"-", 1},                   {"-", 1},                   {"-", 1},             {"-", 1}}}},
    {"press outside",     {{{"-", 0},             {"-", 0},                   {"-", 0},                   {"-", 0},                   {"-", 0},             {"-", 0}}}},
    {"program left",      {{{"-", 0},             {"-", 0},                   {"-", 0},                   {"-", 0},                   {"-", 0},             {"-", 0}}}},
    {"minimise",          {{{"-", 0},             {"-", 0},                   {"-", 0},                   {"-", 0},                   {"-", 0},             {"-", 0}}}},
    {"child destroyed",   {{{"-", 1},             {"-", 1},                   {"-", 1},                   {"-", 1},                   {"-", 1},             {"Файлы > ?", 1}}}},
  };
  // clang-format on
  for (const Row& row : table) {
    for (int m = 0; m < kModes; ++m) {
      SCOPED_TRACE(std::string(kModeNames[m]) + " × " + row.input);
      TearDown();
      SetUp();
      form->actNewForm->Execute();
      form->actNewForm->Execute();
      if (m == Design) {
        form->CustomizeActionBars1->Execute();
        Settle();
        Dialog()->Form()->SetBounds(kMain.right + 10, 0, 380, 380);
      }
      screen->MoveTo(kOutside.x, kOutside.y);
      Settle();
      std::vector<std::vector<Pixel>> idle;
      for (int i = 0; i < Bar()->ActionControlCount(); ++i)
        idle.push_back(PixelsOf(Bar()->ActionControls(i)));
      const HWND keys = GetFocus();
      for (const std::string& in : kReach[m])
        Input(in);
      ASSERT_EQ(Menu(), start[size_t(m)]);
      const std::string before = World();
      Input(row.input);
      const Cell& want = row.after[size_t(m)];
      EXPECT_EQ(Menu(), want.menu);
      const std::string w = want.menu;
      EXPECT_EQ(Bar()->MenuMode(), w == "-"                             ? TMenuMode::Idle
                                   : w.find(" > ") == std::string::npos ? TMenuMode::BarSelected
                                                                        : TMenuMode::DropDown);
      EXPECT_EQ(World() != before, want.work) << before << " → " << World();
      if (app->Terminated()) continue;
      // What shows: the mode's title alone, the mouse gone from the bar.
      if (IsIconic(form->Handle())) ShowWindow(form->Handle(), SW_RESTORE);
      screen->MoveTo(kOutside.x, kOutside.y);
      Settle();
      const std::string menu = Menu();
      EXPECT_EQ(TitlesDrawn(idle), menu == "-" ? "" : menu.substr(0, menu.find(" >")));
      // Out of the menu the keys are back where they were, unless the
      // input itself moved them (a child went or came, the program left).
      if (menu == "-" && World() == before && IsApplicationActive() && !DialogShowing()) {
        EXPECT_EQ(GetFocus(), keys);
      }
    }
  }
}

// The keyboard alone reaches every part of the main window: Tab goes round
// the editor's stops and through the active child, whatever it holds; the
// editor's speed buttons are reached as groups (arrows mark, Space presses);
// a click in a child takes the keyboard there.
TEST_F(PersonInputTest, TheKeyboardReachesEveryPartAndShowsWhere) {
  struct KeyCase {
    Start start;
    std::vector<std::string> keys;
    std::string where;  // Where() afterwards
    std::string editor; // EditorState() afterwards
  };
  const std::string kStart = "- grad 24";
  const std::vector<KeyCase> table = {
      {Start::NoChild, {"Tab"}, "TrackBar1", kStart},
      {Start::NoChild, {"Tab", "End"}, "TrackBar1", "- grad 32"},
      {Start::NoChild, {"Tab", "Tab"}, "FrameColorMap1/sbHideUnused", kStart},
      {Start::NoChild, {"Tab", "Tab", "Space"}, "FrameColorMap1/sbHideUnused", "- grad hide 24"},
      {Start::NoChild, {"Tab", "Tab", "Up"}, "FrameColorMap1/SpeedButtonZel3", kStart},
      {Start::NoChild,
       {"Tab", "Tab", "Down", "Down", "Down", "Down", "Enter"},
       "FrameColorMap1/SpeedButtonZel3",
       "bw grad 24 grid"},
      // The grid's title button is a member of the editor's group once the grid shows.
      {Start::NoChild, {"Tab", "Tab", "Up", "Space", "Down"}, "FrameColorMap1/SpeedButtonZel8",
       "bw grad 24 grid"},
      {Start::NoChild, {"Tab", "Tab", "Tab"}, "GroupBox1/SpeedButtonZel4", kStart},
      {Start::NoChild, {"Tab", "Tab", "Tab", "Space"}, "GroupBox1/SpeedButtonZel4", "- 24"},
      {Start::NoChild, {"Tab", "Tab", "Tab", "Tab"}, "cbStart", kStart},
      {Start::NoChild, {"Tab", "Tab", "Tab", "Tab", "Tab", "Tab"}, "TrackBar1", kStart},
      {Start::NoChild, {"Shift+Tab"}, "cbEnd", kStart},
      // The window menu's entry for the editor gives it the keyboard.
      {Start::NoChild, {"Alt+о", "Up", "Enter"}, "TrackBar1", kStart},
      {Start::ThreeChildren, {}, "Форма 3", kStart},
      {Start::ThreeChildren, {"Tab"}, "TrackBar1", kStart},
      {Start::ThreeChildren, {"Shift+Tab"}, "cbEnd", kStart},
      {Start::ThreeChildren, {"Tab", "Shift+Tab"}, "Форма 3", kStart},
      {Start::ThreeChildren, {"Shift+Tab", "Tab"}, "Форма 3", kStart},
      {Start::ThreeChildren, {"Tab", "click child", "End"}, "Форма 3", kStart},
      {Start::FloatingEditor, {"Tab", "Tab", "Down", "Down", "Space"},
       "FrameColorMap1/SpeedButtonZel1", "std grad 24 grid"},
      // The style button's menu opens under it and takes the arrows.
      {Start::NoChild, {"Tab", "Tab", "Down", "Space", "Down", "Down", "Enter"},
       "FrameColorMap1/sbStyle", "- grad 24 XP Style"},
  };
  for (const KeyCase& c : table) {
    std::string keys;
    for (const std::string& k : c.keys)
      keys += k + " ";
    SCOPED_TRACE(std::string(StartName(c.start)) + ": " + keys);
    TearDown();
    SetUp();
    Begin(c.start);
    for (const std::string& k : c.keys)
      Press(k);
    EXPECT_EQ(Menu(), "-");
    EXPECT_EQ(Where(), c.where);
    EXPECT_EQ(EditorState(), c.editor);
  }
  // Every stop of the editor looks different while it has the keyboard:
  // the groups mark their button, the grid its cursor in the key column.
  TFrameColorMap* f = form->ColorMapFrame();
  f->actXPColorMap->Execute();
  // Maximised, the window has room for the grid's rows.
  form->SetWindowState(wsMaximized);
  Settle();
  ASSERT_TRUE(f->ValueListEditor1->Visible());
  f->ValueListEditor1->SetFocus();
  Settle();
  screen->Key(VK_LEFT);
  Settle();
  ASSERT_EQ(f->ValueListEditor1->Col(), 0);
  const std::vector<TWinControl*> stops = {f->TrackBar1, f, f->GroupBox1, f->cbStart,
                                           f->ValueListEditor1};
  for (TWinControl* c : stops) {
    SCOPED_TRACE(c->Name());
    c->SetFocus();
    Settle();
    const std::vector<Pixel> with = PixelsOf(c);
    sys::SetFocus(form->Handle());
    Settle();
    EXPECT_NE(PixelsOf(c), with);
  }
}

// Leaving the menu gives the keyboard back to the control that had it: the
// active child, whose own keys work again.
TEST_F(PersonInputTest, LeavingTheMenuGivesTheKeysBackToTheActiveChild) {
  Begin(Start::ThreeChildren);
  TCustomForm* active = form->ActiveMDIChild();
  ASSERT_NE(active, nullptr);
  ASSERT_EQ(GetFocus(), active->Handle());
  for (const std::vector<std::string>& keys :
       {std::vector<std::string>{"F10", "Esc"}, {"Alt", "Alt"}, {"Alt+ф", "Esc", "Esc"}}) {
    SCOPED_TRACE(keys.front());
    for (const std::string& k : keys)
      Press(k);
    EXPECT_EQ(Menu(), "-");
    EXPECT_EQ(GetFocus(), active->Handle());
  }
  // A child made from the keyboard takes the keyboard itself.
  Press("Alt+ф");
  Press("Enter");
  ASSERT_EQ(form->MDIChildCount(), 4);
  EXPECT_EQ(GetFocus(), form->ActiveMDIChild()->Handle());
  EXPECT_EQ(form->ActiveMDIChild()->Caption(), "Форма 4");
}

// Tab and Shift+Tab walk the dialog's controls that take the keyboard, one
// after another and round again, and the one that has it shows it.
TEST_F(PersonInputTest, TabWalksTheCustomizeDialogAndTheFocusShows) {
  Begin(Start::CustomizeDialog);
  TCustomizeDlg* dlg = Dialog();
  ASSERT_NE(dlg, nullptr);
  auto focused = [] { return dynamic_cast<TWinControl*>(FindControl(GetFocus())); };
  auto tab = [&](bool back) {
    if (back) screen->KeyDown(VK_SHIFT);
    screen->Key(VK_TAB);
    if (back) screen->KeyUp(VK_SHIFT);
    Settle();
  };
  // It opens with the keyboard on its first control, where Space and the
  // arrows work at once.
  EXPECT_EQ(focused(), dlg->Pages());
  // Forwards once round, from the first control Tab reaches.
  tab(false);
  std::vector<TWinControl*> order{focused()};
  ASSERT_NE(order[0], nullptr);
  ASSERT_NE(order[0], dlg->Form());
  for (int i = 0; i < 12; ++i) {
    tab(false);
    if (focused() == order[0]) break;
    order.push_back(focused());
  }
  ASSERT_EQ(focused(), order[0]) << "Tab never came round";
  // The page control, the list of bars and the buttons are on the way,
  // "Сбросить" only while it is enabled.
  auto on = [&](TWinControl* c) { return std::find(order.begin(), order.end(), c) != order.end(); };
  EXPECT_TRUE(on(dlg->Pages()));
  EXPECT_TRUE(on(dlg->BarList()));
  EXPECT_TRUE(on(dlg->CloseButton()));
  EXPECT_EQ(on(dlg->ResetBarButton()), dlg->ResetBarButton()->Enabled());
  EXPECT_EQ(order.size(), 4u);
  // Backwards the same way in reverse.
  for (size_t i = order.size(); i-- > 0;) {
    tab(true);
    EXPECT_EQ(focused(), order[i]) << i;
  }
  // Each control looks different while it has the keyboard.
  for (size_t i = 0; i < order.size(); ++i) {
    TWinControl* c = order[i];
    SCOPED_TRACE(i);
    c->SetFocus();
    Settle();
    const std::vector<Pixel> with = PixelsOf(c);
    sys::SetFocus(dlg->Form()->Handle()); // the dialog itself: none of its controls
    Settle();
    EXPECT_NE(PixelsOf(c), with);
  }
  // A person's view: the list of bars has the keyboard.
  dlg->BarList()->SetFocus();
  Settle();
  const auto dir = std::filesystem::path(ZEL_BINARY_DIR) / "pictures";
  std::filesystem::create_directories(dir);
  EXPECT_TRUE(screen->SaveScreenshot((dir / "shell_customize_focus.png").string()));
}

// Ctrl+Tab turns the dialog's pages and gives each page's first control the
// keyboard, which shows it: on "Параметры" the list of options, where Space
// works the option instead of pressing a "Закрыть" the focus was left on.
TEST_F(PersonInputTest, CtrlTabGivesTheNewPageItsFirstControl) {
  Begin(Start::CustomizeDialog);
  TCustomizeDlg* dlg = Dialog();
  ASSERT_NE(dlg, nullptr);
  dlg->CloseButton()->SetFocus();
  auto ctrlTab = [&] {
    screen->KeyDown(VK_CONTROL);
    screen->Key(VK_TAB);
    screen->KeyUp(VK_CONTROL);
    Settle();
  };
  ctrlTab();
  EXPECT_EQ(dlg->Pages()->ActivePage(), dlg->CommandsSheet());
  EXPECT_EQ(GetFocus(), dlg->CategoryList()->Handle());
  ctrlTab();
  ASSERT_EQ(dlg->Pages()->ActivePage(), dlg->OptionsSheet());
  TCustomizeList* list = dlg->List();
  ASSERT_EQ(GetFocus(), list->Handle());
  const std::vector<Pixel> shown = PixelsOf(list);
  sys::SetFocus(dlg->Form()->Handle());
  Settle();
  EXPECT_NE(PixelsOf(list), shown);
  list->SetFocus();
  Settle();
  ASSERT_GE(list->FocusRow(), 0);
  const std::function<bool()> checked = list->Rows()[size_t(list->FocusRow())].Checked;
  ASSERT_TRUE(checked);
  const bool was = checked();
  screen->Key(VK_SPACE);
  Settle();
  EXPECT_TRUE(DialogShowing());
  EXPECT_NE(checked(), was);
}

// Alt+X leaves from every starting state, also with a menu open and after
// the customize dialog closed (by its button, by Esc, by its close box): the
// keys are the main window's again.
TEST_F(PersonInputTest, AltXLeavesFromEveryState) {
  const std::vector<std::pair<Start, std::string>> cases = {
      {Start::NoChild, ""},
      {Start::NoChild, "Alt+ф"},
      {Start::ThreeChildren, ""},
      {Start::ThreeChildren, "Alt+ф"},
      {Start::FloatingToolBar, ""},
      {Start::FloatingToolBar, "Alt+ф"},
      {Start::CustomizeDialog, "button"},
      {Start::CustomizeDialog, "Esc"},
      {Start::CustomizeDialog, "close box"},
  };
  for (const auto& [s, before] : cases) {
    SCOPED_TRACE(std::string(StartName(s)) + " " + before);
    TearDown();
    SetUp();
    Begin(s);
    if (s == Start::CustomizeDialog) {
      TCustomForm* dialog = Dialog()->Form();
      if (before == "button") {
        TPushButton* close = Dialog()->CloseButton();
        const POINT p = close->ClientToScreen(POINT{close->Width() / 2, close->Height() / 2});
        screen->Click(p.x, p.y);
      } else if (before == "close box") {
        InputCloseWindow(dialog->Handle());
      } else {
        screen->Key(VK_ESCAPE);
      }
      Settle();
      ASSERT_FALSE(DialogShowing());
      EXPECT_EQ(GetActiveWindow(), form->Handle());
      EXPECT_EQ(GetFocus(), form->Handle());
    } else if (!before.empty()) {
      Press(before);
    }
    Press("Alt+x");
    EXPECT_TRUE(app->Terminated());
  }
}

// The bar's own drags, let go outside every window (the desktop beside the
// main window, and off the screen): the tool bar by its grip floats there;
// its button dragged in the customize mode leaves the bar.  Either way the
// mouse is free again and moving it changes nothing.
TEST_F(PersonInputTest, BarDragsEndOutsideEveryWindow) {
  for (const POINT outside : {POINT{1000, 600}, POINT{1300, 200}}) {
    for (const bool design : {false, true}) {
      SCOPED_TRACE(std::string(design ? "item" : "grip") + " at " + std::to_string(outside.x));
      TearDown();
      SetUp();
      if (design) Begin(Start::CustomizeDialog);
      TCustomActionToolBar* tools = form->GradientActionToolBar1;
      POINT from;
      if (design) {
        TCustomActionControl* exit = tools->ActionControls(0);
        from = exit->ClientToScreen(POINT{exit->Width() / 2, exit->Height() / 2});
      } else {
        const RECT band = form->ControlBar1->BandRect(tools);
        from = form->ControlBar1->ClientToScreen(POINT{band.left + 4, band.top + 8});
      }
      ASSERT_EQ(WindowFromPoint(outside), nullptr);
      AdvanceTime(1000);
      screen->Press(from.x, from.y);
      screen->MoveTo(from.x + 6, from.y + 6);
      screen->MoveTo((from.x + outside.x) / 2, (from.y + outside.y) / 2);
      screen->MoveTo(outside.x, outside.y);
      screen->Release(outside.x, outside.y);
      Settle();
      EXPECT_EQ(GetCapture(), nullptr);
      EXPECT_FALSE(DockDragging());
      EXPECT_FALSE(DesignDragArmed());
      if (design) {
        EXPECT_EQ(tools->ActionControlCount(), 0);
        EXPECT_FALSE(tools->Floating());
      } else {
        ASSERT_TRUE(tools->Floating());
        const RECT r = tools->HostDockSite()->BoundsRect();
        EXPECT_LT(std::abs(r.left - outside.x), 40);
        EXPECT_LT(std::abs(r.top - outside.y), 40);
      }
      const int count = tools->ActionControlCount();
      const POINT place = tools->ClientToScreen(POINT{0, 0});
      screen->MoveTo(from.x, from.y);
      Settle();
      EXPECT_EQ(tools->ActionControlCount(), count);
      EXPECT_EQ(tools->ClientToScreen(POINT{0, 0}), place);
    }
  }
}

} // namespace
} // namespace zel::test
