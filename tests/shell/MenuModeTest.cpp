// The menu bar's modes (the state table in ActnMenus.cpp) on the real main
// window, driven through the window system's input as a person drives it:
// from every mode, every input leaves the menu in the mode the table says,
// with only that mode's title drawn selected and the keyboard back where it
// was once the mode ends, and the input does its own work or not.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "actionbars/ZelStyleActnCtrls.h"
#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/CustomizeActionBars.h"
#include "framework/actnbars/CustomizeDlg.h"
#include "platform/user/User.h"
#include "tests/shell/MainWindowFixture.h"

namespace zel::test {
namespace {

using namespace sys;

// The modes a person can leave the menu bar in, and how each is reached.
enum Mode { Idle, F10Bar, EscBar, MouseDrop, KeysDrop, Design, kModes };
const char* const kModeNames[kModes] = {
    "idle", "F10", "mouse drop-down, Esc", "mouse drop-down", "Alt+Ф", "customize, Файлы clicked"};

// After an input: the menu as Menu() tells it ("-": Idle; a title:
// BarSelected; "title > item": DropDown) and whether the input did work of
// its own (the program ended, a child was made, closed, activated or went).
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

class MenuModeTest : public MainWindowFixture {
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
  TCustomizeDlg* Dialog() {
    return dynamic_cast<TCustomizeDlg*>(form->CustomizeActionBars1->CustomizeDlg());
  }
  bool DialogShowing() { return Dialog() && Dialog()->Showing(); }
  std::string Menu() {
    if (!Bar()->InMenuLoop()) return "-";
    auto name = [](TCustomActionControl* c) {
      return c && c->ActionClient() ? c->ActionClient()->Caption() : std::string();
    };
    std::string s = name(Bar()->SelectedControl());
    if (TCustomActionPopupMenu* p = Bar()->Popup()) s += " > " + name(p->SelectedControl());
    return s;
  }
  // What the windows show apart from the menu: the children (the active
  // one in brackets), the customize dialog, the program's end.
  std::string World() {
    if (app->Terminated()) return "ended";
    std::string s = DialogShowing() ? "dialog:" : "";
    for (int i = 0; i < form->MDIChildCount(); ++i) {
      TCustomForm* c = form->MDIChildren(i);
      s += c == form->ActiveMDIChild() ? "[" + c->Caption() + "]" : c->Caption();
    }
    return s;
  }
  void Key(const std::string& k) {
    auto with = [&](UINT mod, UINT vk) {
      screen->KeyDown(mod);
      screen->Key(vk);
      screen->KeyUp(mod);
    };
    if (k == "Esc") screen->Key(VK_ESCAPE);
    if (k == "Alt") screen->Key(VK_MENU);
    if (k == "F10") screen->Key(VK_F10);
    if (k == "Right") screen->Key(VK_RIGHT);
    if (k == "Down") screen->Key(VK_DOWN);
    if (k == "Enter") screen->Key(VK_RETURN);
    if (k == "Ctrl+F4") with(VK_CONTROL, VK_F4);
    if (k == "Ctrl+F6") with(VK_CONTROL, VK_F6);
    if (k.rfind("Alt+", 0) == 0) {
      screen->KeyDown(VK_MENU);
      screen->Type(k.substr(4));
      screen->KeyUp(VK_MENU);
    }
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
      Key(in);
    }
    Settle();
  }
  // Reaches a mode from Idle (the customize mode from the dialog opened).
  void Enter(Mode m) {
    switch (m) {
    case F10Bar:
      Input("F10");
      break;
    case EscBar:
      Input("click Файлы");
      Input("Esc");
      break;
    case MouseDrop:
      Input("click Файлы");
      break;
    case KeysDrop:
      Input("Alt+ф");
      break;
    case Design:
      Input("click Файлы");
      break;
    default:
      break;
    }
  }
  // The titles drawn unlike their idle look.
  std::string TitlesDrawn(const std::vector<std::vector<Pixel>>& idle) {
    std::string s;
    for (int i = 0; i < Bar()->ActionControlCount(); ++i)
      if (TitlePixels(i) != idle[size_t(i)])
        s += (s.empty() ? "" : ",") + Bar()->ActionControls(i)->ActionClient()->Caption();
    return s;
  }
  std::vector<Pixel> TitlePixels(int i) {
    TCustomActionControl* t = Bar()->ActionControls(i);
    const HWND top = Bar()->TopParent()->Handle();
    RECT wr;
    GetWindowRect(top, &wr);
    const POINT o = t->ClientToScreen(POINT{0, 0});
    const Surface* s = GetWindowSurface(top);
    std::vector<Pixel> out;
    for (int y = 0; s && y < t->Height(); ++y)
      for (int x = 0; x < t->Width(); ++x)
        out.push_back(s->At(o.x - wr.left + x, o.y - wr.top + y));
    return out;
  }
};

TEST_F(MenuModeTest, EveryModeAndInput) {
  // The modes as they show when reached (the columns' starting points).
  const std::array<const char*, kModes> start = {
      "-", "Файлы", "Файлы", "Файлы > ", "Файлы > Новая форма", "Файлы > "};
  // clang-format off
  const std::vector<Row> table = {
    // input              idle                     F10                          mouse, Esc                   mouse drop-down              Alt+Ф                  customize
    {"Esc",               {{{"-", 0},              {"-", 0},                    {"-", 0},                    {"Файлы", 0},                {"Файлы", 0},          {"-", 0}}}},
    {"Alt",               {{{"Файлы", 0},          {"-", 0},                    {"-", 0},                    {"-", 0},                    {"-", 0},              {"Файлы > ", 0}}}},
    {"F10",               {{{"Файлы", 0},          {"-", 0},                    {"-", 0},                    {"-", 0},                    {"-", 0},              {"Файлы > ", 0}}}},
    {"Alt+о",             {{{"Окно > Каскад", 0},  {"Окно > Каскад", 0},        {"Окно > Каскад", 0},        {"Окно > Каскад", 0},        {"Окно > Каскад", 0},  {"-", 0}}}},
    {"Right",             {{{"-", 0},              {"Окно", 0},                 {"Окно", 0},                 {"Окно > Каскад", 0},        {"Окно > Каскад", 0},  {"Файлы > ", 0}}}},
    {"Down",              {{{"-", 0},              {"Файлы > Новая форма", 0},  {"Файлы > Новая форма", 0},  {"Файлы > Новая форма", 0},  {"Файлы > Выход", 0},  {"Файлы > ", 0}}}},
    {"Enter",             {{{"-", 0},              {"Файлы > Новая форма", 0},  {"Файлы > Новая форма", 0},  {"Файлы > ", 0},             {"-", 1},              {"Файлы > ", 0}}}},
    {"Alt+x",             {{{"-", 1},              {"-", 1},                    {"-", 1},                    {"-", 1},                    {"-", 1},              {"-", 1}}}},
    {"Ctrl+F4",           {{{"-", 1},              {"-", 1},                    {"-", 1},                    {"-", 1},                    {"-", 1},              {"-", 1}}}},
    {"Ctrl+F6",           {{{"-", 1},              {"-", 1},                    {"-", 1},                    {"-", 1},                    {"-", 1},              {"-", 1}}}},
    {"click Окно",        {{{"Окно > ", 0},        {"Окно > ", 0},              {"Окно > ", 0},              {"-", 0},                    {"-", 0},              {"Окно > ", 0}}}},
    {"click Файлы",       {{{"Файлы > ", 0},       {"Файлы > ", 0},             {"Файлы > ", 0},             {"-", 0},                    {"-", 0},              {"-", 0}}}},
    {"click MDI client",  {{{"-", 0},              {"-", 0},                    {"-", 0},                    {"-", 0},                    {"-", 0},              {"-", 0}}}},
    {"click other child", {{{"-", 1},              {"-", 1},                    {"-", 1},                    {"-", 1},                    {"-", 1},              {"-", 1}}}},
    {"press outside",     {{{"-", 0},              {"-", 0},                    {"-", 0},                    {"-", 0},                    {"-", 0},              {"-", 0}}}},
    {"program left",      {{{"-", 0},              {"-", 0},                    {"-", 0},                    {"-", 0},                    {"-", 0},              {"-", 0}}}},
    {"minimise",          {{{"-", 0},              {"-", 0},                    {"-", 0},                    {"-", 0},                    {"-", 0},              {"-", 0}}}},
    {"child destroyed",   {{{"-", 1},              {"-", 1},                    {"-", 1},                    {"-", 1},                    {"-", 1},              {"Файлы > ", 1}}}},
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
        idle.push_back(TitlePixels(i));
      const HWND keys = GetFocus();
      Enter(Mode(m));
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

} // namespace
} // namespace zel::test
