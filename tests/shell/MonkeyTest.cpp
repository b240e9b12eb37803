// The real main window under random input on the headless screen: clicks,
// double clicks, right clicks, wheel turns and drags aimed at the live
// controls (the dock site and its grabber, the bars and the control bar, the
// open menus, the editor's grid, colour box, track bar and style button,
// the customize dialog, floating forms) and keys (the menu keys, dialog
// keys, child window keys, Alt+F4 while a floating form is active).  The run
// is fixed by its seed; ZEL_MONKEY_SEED and ZEL_MONKEY_STEPS choose another
// seed and length.  Nothing may raise, show an error message or open a
// modal loop nobody answers; the window must close cleanly at the end, the
// layout file it writes must load again in the next run, and the sanitizers
// watch every step.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

#include "actionbars/ZelStyleActnCtrls.h"
#include "colormap/UnitFrameColorMap.h"
#include "docking/FrameSite.h"
#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/CustomizeActionBars.h"
#include "framework/actnbars/CustomizeDlg.h"
#include "framework/actnbars/PopupActnBar.h"
#include "framework/docking/DragDock.h"
#include "framework/forms/Application.h"
#include "framework/forms/Dialogs.h"
#include "framework/forms/Screen.h"
#include "framework/stdctrls/ColorBox.h"
#include "framework/stdctrls/ControlBar.h"
#include "framework/stdctrls/TrackBar.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/User.h"
#include "platform/user/WindowSystem.h"
#include "shell/Startup.h"
#include "shell/UnitMain.h"
#include "speedbutton/SpeedButtonZel.h"
#include "tests/support/Mutation.h"

namespace zel::test {
namespace {

using namespace sys;

uint64_t EnvNumber(const char* name, uint64_t fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::strtoull(v, nullptr, 0) : fallback;
}

class MonkeyTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetMessageDlgHook([this](const std::string& msg, TMsgDlgType, TMsgDlgButtons) {
      messages.push_back(msg);
      return int(mrOk);
    });
    Start();
  }
  void TearDown() override {
    Stop();
    SetMessageDlgHook(nullptr);
    std::error_code ec;
    std::filesystem::remove(layout, ec);
  }
  // One run of the program, its layout file in the temporary folder.
  void Start() {
    screen = &UseHeadlessBackend();
    InitializeUnits();
    app = std::make_unique<TApplication>();
    app->Initialize();
    app->CreateForm(&form);
    form->SetLayoutFileName(layout.string());
    form->SetBounds(20, 10, 900, 780); // the editor's grid shows a few rows
    form->Show();
    // The run keeps the program: a close (Alt+F4, the exit button, Alt+X)
    // is counted and refused until the end.
    form->OnCloseQuery = [this](TObject*, bool& canClose) {
      ++closeRequests;
      canClose = mayClose;
    };
    Settle();
  }
  void Stop() {
    if (!app) return;
    app.reset();
    form = nullptr;
    FinalizeUnits();
    ResetWindowSystem();
  }
  static std::string FileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void Settle() {
    app->ProcessMessages();
    app->Idle();
    app->ProcessMessages();
  }

  // The places worth aiming at, in screen coordinates, from the live
  // controls (they move, float, hide and come back during the run).
  std::vector<std::pair<std::string, RECT>> Areas() {
    std::vector<std::pair<std::string, RECT>> areas;
    auto add = [&](const std::string& name, TControl* c) {
      if (!c || !c->Showing() || c->Width() <= 0 || c->Height() <= 0) return;
      const POINT p = c->ClientToScreen(POINT{0, 0});
      areas.push_back({name, RECT{p.x, p.y, p.x + c->Width(), p.y + c->Height()}});
    };
    add("main window", form);
    add("control bar", form->ControlBar1);
    add("menu bar", form->GradientActionMainMenuBar1);
    add("tool bar", form->GradientActionToolBar1);
    add("dock site", form->FrameSite1);
    if (form->FrameSite1->Showing() && form->FrameSite1->Width() > 0) {
      // The grabber runs along the top of the docked editor.
      const POINT p = form->FrameSite1->ClientToScreen(POINT{0, 0});
      areas.push_back({"grabber", RECT{p.x, p.y, p.x + form->FrameSite1->Width(), p.y + 18}});
    }
    TFrameColorMap* editor = form->ColorMapFrame();
    add("editor", editor);
    add("track bar", editor->TrackBar1);
    add("grid", editor->ValueListEditor1);
    for (TColorBox* box : ColourBoxes())
      add(box == editor->ColorEditor() ? "grid colour box" : "gradient colour box", box);
    add("style button", editor->sbStyle);
    add("hide unused", editor->sbHideUnused);
    if (TPopupActionBar* styles = editor->StyleMenu()) add("style menu", styles->PopupBar());
    if (form->GradientActionMainMenuBar1->InMenuLoop())
      add("menu", form->GradientActionMainMenuBar1->Popup());
    if (auto* dlg = dynamic_cast<TCustomizeDlg*>(form->CustomizeActionBars1->CustomizeDlg()))
      add("customize dialog", dlg->Form());
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (auto* f = dynamic_cast<TCustomDockForm*>(Screen->Forms(i))) add("floating form", f);
    return areas;
  }
  // The editor's colour boxes: the gradient's two and the grid's editor.
  std::vector<TColorBox*> ColourBoxes() {
    std::vector<TColorBox*> boxes;
    TFrameColorMap* editor = form->ColorMapFrame();
    for (int i = 0; i < editor->ComponentCount(); ++i)
      if (auto* box = dynamic_cast<TColorBox*>(editor->Components(i))) boxes.push_back(box);
    return boxes;
  }
  POINT Inside(const RECT& r) {
    return POINT{r.left + int(rng.Below(size_t(r.right - r.left))),
                 r.top + int(rng.Below(size_t(r.bottom - r.top)))};
  }
  void Note(std::string what) {
    trail.push_back(std::move(what));
    if (trail.size() > 25) trail.pop_front();
  }
  std::string Trail() const {
    std::string s;
    for (const std::string& t : trail)
      s += "\n  " + t;
    return s;
  }
  static std::string At(POINT p) {
    return "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
  }

  void Keys() {
    struct Key {
      const char* name;
      std::vector<UINT> mods;
      UINT vk;
      const char* text;
    };
    static const Key keys[] = {
        {"Esc", {}, VK_ESCAPE, nullptr},
        {"Enter", {}, VK_RETURN, nullptr},
        {"Tab", {}, VK_TAB, nullptr},
        {"Shift+Tab", {VK_SHIFT}, VK_TAB, nullptr},
        {"Up", {}, VK_UP, nullptr},
        {"Down", {}, VK_DOWN, nullptr},
        {"Left", {}, VK_LEFT, nullptr},
        {"Right", {}, VK_RIGHT, nullptr},
        {"Home", {}, VK_HOME, nullptr},
        {"End", {}, VK_END, nullptr},
        {"PgDn", {}, VK_NEXT, nullptr},
        {"Space", {}, VK_SPACE, nullptr},
        {"F10", {}, VK_F10, nullptr},
        {"Alt", {}, VK_MENU, nullptr},
        {"Alt+ф", {VK_MENU}, 0, "ф"},
        {"Alt+о", {VK_MENU}, 0, "о"},
        {"Alt+п", {VK_MENU}, 0, "п"},
        {"Ctrl+F4", {VK_CONTROL}, VK_F4, nullptr},
        {"Ctrl+F6", {VK_CONTROL}, VK_F6, nullptr},
        {"Ctrl+Tab", {VK_CONTROL}, VK_TAB, nullptr},
        {"Delete", {}, VK_DELETE, nullptr},
        {"text", {}, 0, "a1"},
        {"Alt+F4", {VK_MENU}, VK_F4, nullptr},
        // "Окно" → its first item, "Дополнительные настройки": the dialog.
        {"Alt+о Enter", {VK_MENU}, 0, "о"},
    };
    const Key& k = keys[rng.Below(std::size(keys))];
    // Alt+F4 goes to a floating form only: the main window refuses to close
    // anyway, and a child would merely close to an icon.
    if (std::string(k.name) == "Alt+F4" && !dynamic_cast<TCustomDockForm*>(Screen->ActiveForm()))
      return;
    Note(std::string("key ") + k.name);
    for (UINT m : k.mods)
      screen->KeyDown(m);
    if (k.vk) screen->Key(k.vk);
    if (k.text) screen->Type(k.text);
    for (auto it = k.mods.rbegin(); it != k.mods.rend(); ++it)
      screen->KeyUp(*it);
    if (std::string(k.name) == "Alt+о Enter") screen->Key(VK_RETURN);
  }

  void Step() {
    AdvanceTime(int(rng.Below(700)));
    // The colour box's custom entry would open the modal colour dialog,
    // whose loop waits for input the run cannot give from inside it.  The
    // editor makes the grid's box when the grid first needs it.
    for (TColorBox* box : ColourBoxes())
      box->OnPickCustomColor = [this](TColor&) {
        ++colourDialogs;
        return false;
      };
    const auto areas = Areas();
    for (const auto& a : areas)
      seen.insert(a.first);
    const auto& [name, rect] = areas[rng.Below(areas.size())];
    const POINT p = Inside(rect);
    const size_t kind = rng.Below(100);
    if (kind < 28) {
      Note("click " + name + " " + At(p));
      screen->Click(p.x, p.y);
    } else if (kind < 38) {
      Note("double click " + name + " " + At(p));
      screen->DoubleClick(p.x, p.y);
    } else if (kind < 44) {
      Note("right click " + name + " " + At(p));
      screen->Click(p.x, p.y, MouseButton::Right);
    } else if (kind < 47) {
      Note("wheel " + name + " " + At(p));
      screen->Wheel(p.x, p.y, rng.Below(2) ? 120 : -120);
    } else if (kind < 50) {
      Note("move " + name + " " + At(p));
      screen->MoveTo(p.x, p.y);
    } else if (kind < 70) {
      // Across to another area, or anywhere on the screen (the desktop).
      const POINT q = rng.Below(4) ? Inside(areas[rng.Below(areas.size())].second)
                                   : Inside(RECT{0, 0, 1280, 800});
      Note("drag " + name + " " + At(p) + " to " + At(q));
      screen->Drag(p.x, p.y, q.x, q.y, 2 + int(rng.Below(7)));
    } else {
      Keys();
    }
    Settle();
  }

  // The run itself: steps random actions, the checks, the close and the
  // next runs on the layout it wrote.
  void Run(int steps, bool checkPlaces);

  ScopedVirtualClock clock;
  HeadlessBackend* screen = nullptr;
  std::unique_ptr<TApplication> app;
  TMainForm* form = nullptr;
  TRandom rng{EnvNumber("ZEL_MONKEY_SEED", 24)};
  std::deque<std::string> trail;
  std::set<std::string> seen; // the areas that were there at some step
  std::vector<std::string> messages;
  int closeRequests = 0;
  int colourDialogs = 0;
  bool mayClose = false;
  std::filesystem::path layout = std::filesystem::temp_directory_path() /
                                 ("zel-monkey-" + std::to_string(::getpid()) + ".sav");
};

void MonkeyTest::Run(int steps, bool checkPlaces) {
  for (int i = 0; i < steps; ++i) {
    try {
      Step();
    } catch (const std::exception& e) {
      FAIL() << "step " << i << " raised: " << e.what() << Trail();
    }
    ASSERT_TRUE(messages.empty()) << "step " << i << " showed: " << messages.front() << Trail();
    ASSERT_TRUE(form->Visible()) << "step " << i << Trail();
  }
  // The run reached the places it is meant for, nearly all of them: it
  // differs slightly with the tests run before it in the same program
  // (something they leave behind changes which controls a step meets).
  if (checkPlaces) {
    std::string missed;
    for (const char* place : {"menu", "customize dialog", "floating form", "grabber", "grid",
                              "grid colour box", "track bar", "style button", "style menu"})
      if (!seen.count(place)) missed += std::string(missed.empty() ? "" : ", ") + place;
    EXPECT_LE(std::count(missed.begin(), missed.end(), ',') + (missed.empty() ? 0 : 1), 2)
        << "never reached: " << missed;
  }
  // Whatever the run left open, Esc leaves the menu and the main window
  // still answers: its command makes a child, and Alt+Ф opens "Файлы" as
  // long as the run left the menu bar showing with that item on it (it may
  // have floated it and closed its form, or dragged the item away while
  // customizing).
  for (int i = 0; i < 3; ++i)
    screen->Key(VK_ESCAPE);
  if (auto* dlg = dynamic_cast<TCustomizeDlg*>(form->CustomizeActionBars1->CustomizeDlg()))
    if (dlg->Showing()) dlg->Form()->Close();
  Settle();
  EXPECT_FALSE(form->GradientActionMainMenuBar1->InMenuLoop()) << Trail();
  const int children = form->MDIChildCount();
  form->actNewForm->Execute();
  Settle();
  EXPECT_EQ(form->MDIChildCount(), children + 1);
  TCustomActionMainMenuBar* menu = form->GradientActionMainMenuBar1;
  bool files = false;
  for (int i = 0; i < menu->ActionControlCount(); ++i)
    if (TActionClientItem* item = menu->ActionControls(i)->ActionClient())
      files = files || item->Caption().find("Файлы") != std::string::npos;
  if (menu->Showing() && files) {
    form->SetFocus();
    Settle();
    screen->KeyDown(VK_MENU);
    screen->Type("ф");
    screen->KeyUp(VK_MENU);
    Settle();
    EXPECT_TRUE(menu->InMenuLoop()) << Trail();
    screen->Key(VK_ESCAPE);
    screen->Key(VK_ESCAPE);
  }
  Settle();
  // The close that was refused during the run now goes through and writes
  // the layout; the next run reads it whole (a file it rejects is deleted
  // and forgotten), and so does the run after that.
  mayClose = true;
  form->Close();
  Settle();
  EXPECT_TRUE(app->Terminated());
  ASSERT_FALSE(FileBytes(layout).empty()) << "no layout file written" << Trail();
  for (int run = 2; run <= 3; ++run) {
    Stop();
    Start();
    EXPECT_TRUE(std::filesystem::exists(layout)) << "run " << run << " rejected the layout";
    EXPECT_EQ(form->LayoutFileName(), layout.string()) << run;
    EXPECT_TRUE(form->Started()) << run;
    mayClose = true;
    form->Close();
    Settle();
    EXPECT_TRUE(app->Terminated()) << run;
  }
  RecordProperty("close_requests", closeRequests);
  RecordProperty("colour_dialogs", colourDialogs);
}

TEST_F(MonkeyTest, RandomInputLeavesTheProgramWorkingAndItClosesCleanly) {
  // Another seed may, say, close the editor early and never see its grid:
  // the places are checked for the fixed run only.
  const bool fixed = !std::getenv("ZEL_MONKEY_SEED") && !std::getenv("ZEL_MONKEY_STEPS");
  Run(int(EnvNumber("ZEL_MONKEY_STEPS", 400)), fixed);
}

// The run that dragged a top-level menu item off the bars while a closed
// menu still showed its sub-items (the teardown then touched deleted items).
TEST_F(MonkeyTest, TheRunThatLeftAClosedMenuShowingDeletedItems) {
  rng = TRandom{105};
  Run(600, false);
}

} // namespace
} // namespace zel::test
