// The README's pictures.  Each one starts the main window afresh, as the
// program starts it but without a layout file, works it through its own
// controls (menu clicks, the editor's buttons, a drag by the dock grabber)
// and saves the screen area of the windows the picture is about.

#include "tools/zelshot/Pictures.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>

#include "actionbars/ZelStyleActnCtrls.h"
#include "colormap/UnitFrameColorMap.h"
#include "docking/UnitFrameSite.h"
#include "framework/actions/StdActns.h"
#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/CustomizeActionBars.h"
#include "framework/actnbars/CustomizeDlg.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/stdctrls/PageControl.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/User.h"
#include "platform/user/WindowSystem.h"
#include "shell/Startup.h"
#include "shell/UnitMain.h"
#include "speedbutton/SpeedButtonZel.h"

namespace zel::shot {
namespace {

using sys::POINT;
using sys::RECT;

// One run of the main window on a fresh headless screen.
class Session {
public:
  // The window at width × height, its editor docked, three child windows
  // tiled side by side.  With a layout file, the run reads it at its start
  // and writes it at its close, as the program's runs do; without, it starts
  // with the defaults and keeps nothing.
  Session(int width, int height, const std::string& layout = "") {
    screen = &sys::UseHeadlessBackend();
    InitializeUnits();
    app = std::make_unique<TApplication>();
    app->Initialize();
    app->CreateForm(&form);
    form->SetLayoutFileName(layout);
    // At one place whatever ran before, so the pictures do not move.
    form->SetBounds(24, 24, width, height);
    form->Show();
    Settle();
    for (int i = 0; i < 3; ++i)
      form->actNewForm->Execute();
    Settle();
    form->WindowTileVertical1->Execute();
    Settle();
  }
  ~Session() {
    if (form && !form->LayoutFileName().empty()) {
      form->Close(); // saves the layout
      app->ProcessMessages();
    }
    app.reset();
    FinalizeUnits();
    sys::ResetWindowSystem();
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  TFrameColorMap& Editor() const { return *form->ColorMapFrame(); }

  // The deferred work, the posted messages and one idle pass (the actions'
  // updates) run, as between a person's actions.
  void Settle() {
    sys::AdvanceTime(100);
    app->ProcessMessages();
    app->Idle();
    app->ProcessMessages();
  }
  // Clicks are a second apart, so that two never make a double click.
  void ClickOn(TControl* c) {
    if (!c) throw std::runtime_error("a control to click is missing");
    sys::AdvanceTime(1000);
    const POINT p = Centre(c);
    screen->MoveTo(p.x, p.y);
    screen->Click(p.x, p.y);
    Settle();
  }
  void ClickAt(TControl* c, int x, int y) {
    sys::AdvanceTime(1000);
    const POINT p = c->ClientToScreen(POINT{x, y});
    screen->Click(p.x, p.y);
    Settle();
  }
  // A press, moves on the way and a release, as a hand drags.
  void Drag(POINT from, POINT to) {
    sys::AdvanceTime(1000);
    screen->Drag(from.x, from.y, to.x, to.y, 6);
    Settle();
  }
  // Opens the menu-bar item of action with the mouse and rests on its first
  // entry; returns the open menu.
  TCustomActionBar* OpenMenu(TBasicAction* action) {
    TActionClientItem* item = form->ActionManager1->FindItemByAction(action);
    if (!item || !item->Control() || item->Items()->Count() == 0)
      throw std::runtime_error("the menu to open is missing");
    ClickOn(item->Control());
    TCustomActionBar* menu = form->GradientActionMainMenuBar1->Popup();
    if (!menu || menu->ActionControlCount() == 0) throw std::runtime_error("the menu did not open");
    const POINT p = Centre(menu->ActionControls(0));
    screen->MoveTo(p.x, p.y);
    Settle();
    return menu;
  }
  // Chooses the item of action in the menu of the menu-bar item of menu.
  void ChooseFromMenu(TBasicAction* menu, TBasicAction* action) {
    OpenMenu(menu);
    TActionClientItem* item = form->ActionManager1->FindItemByAction(action);
    ClickOn(item ? item->Control() : nullptr);
  }
  // The main window's screen rectangle with the windows given.
  RECT AreaWith(std::initializer_list<TControl*> others) const {
    RECT area = ScreenRect(form);
    for (TControl* c : others)
      sys::UnionRect(area, area, ScreenRect(c));
    return area;
  }
  // Writes area (clipped to the screen) and records where the menu bar and
  // the open menu are in it.
  Picture Save(const std::string& path, RECT area, TCustomActionBar* menu = nullptr,
               TControl* window = nullptr) {
    const sys::SIZE s = screen->ScreenSize();
    sys::IntersectRect(area, area, RECT{0, 0, s.cx, s.cy});
    if (!screen->SaveScreenArea(area, path)) throw std::runtime_error("cannot write " + path);
    Picture p;
    p.path = path;
    p.area = area;
    p.menuBar = Within(area, ScreenRect(form->GradientActionMainMenuBar1));
    if (menu) {
      p.menu = Within(area, ScreenRect(menu));
      p.menuRows = menu->ActionControlCount();
    }
    if (window) p.window = Within(area, ScreenRect(window));
    return p;
  }

  sys::ScopedVirtualClock clock;
  sys::HeadlessBackend* screen = nullptr;
  std::unique_ptr<TApplication> app;
  TMainForm* form = nullptr;

private:
  static POINT Centre(TControl* c) {
    return c->ClientToScreen(POINT{c->Width() / 2, c->Height() / 2});
  }
  static RECT ScreenRect(TControl* c) {
    const POINT tl = c->ClientToScreen(POINT{0, 0});
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->HandleAllocated() && !w->Parent()) {
      RECT r{};
      sys::GetWindowRect(w->Handle(), &r); // a top-level window with its frame
      return r;
    }
    return RECT{tl.x, tl.y, tl.x + c->Width(), tl.y + c->Height()};
  }
  static RECT Within(const RECT& area, RECT r) {
    sys::OffsetRect(r, -area.left, -area.top);
    return r;
  }
};

// The window as it starts, in "Zel Style" with the editor docked, and the
// "Файлы" menu open.
Picture MainWindow(const std::string& path) {
  Session s(960, 600);
  TCustomActionBar* menu = s.OpenMenu(s.form->ActFile);
  return s.Save(path, s.AreaWith({}), menu);
}

// The editor dragged off its dock site by the grabber onto the window's
// client area: a floating form that paints its own caption and close cross.
Picture FloatingEditor(const std::string& path) {
  Session s(760, 520);
  TFrameSite* site = s.form->FrameSite1;
  s.Drag(site->ClientToScreen(POINT{60, 5}), s.form->ClientToScreen(POINT{330, 150}));
  TWinControl* floating = s.Editor().HostDockSite();
  if (!floating || floating == site) throw std::runtime_error("the editor did not float");
  return s.Save(path, s.AreaWith({floating}), nullptr, floating);
}

// Chooses the colour map of button (the bars keep "Zel Style"), and opens
// the "Окно" menu: bars, menu and the editor's grid all show the map.
Picture ColorMap(const std::string& path, TSpeedButtonZel* TFrameColorMap::*button) {
  Session s(960, 640);
  TFrameColorMap& editor = s.Editor();
  s.ClickOn(editor.*button);
  s.ClickOn(editor.SpeedButtonZel4); // gradient off: the bars take the map's colour
  TCustomActionBar* menu = s.OpenMenu(s.form->actWindows);
  return s.Save(path, s.AreaWith({}), menu);
}

Picture StandardMap(const std::string& path) {
  return ColorMap(path, &TFrameColorMap::SpeedButtonZel1);
}
Picture XPMap(const std::string& path) {
  return ColorMap(path, &TFrameColorMap::SpeedButtonZel2);
}
Picture BlackWhiteMap(const std::string& path) {
  return ColorMap(path, &TFrameColorMap::SpeedButtonZel3);
}

// Six runs of the program with the editor's "Скрывать неиспользуемые" on,
// each keeping its layout file for the next, in which a person works with
// "Новая форма", "Каскад" and "По вертикали" and nothing else of the "Окно"
// menu.  In the seventh the menu leaves the commands not used for more than
// three runs out and ends in its expand button; the menu bar keeps its
// titles, whose menus were used.
Picture HiddenItems(const std::string& path) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                       ("zelshot-runs-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string layout = (folder / "zeldemo.sav").string();
  std::filesystem::remove(layout);
  for (int run = 0; run < 6; ++run) {
    Session s(960, 600, layout);
    if (run == 0) s.ClickOn(s.Editor().sbHideUnused);
    s.ChooseFromMenu(s.form->ActFile, s.form->actNewForm);
    s.ChooseFromMenu(s.form->actWindows, s.form->WindowCascade1);
    s.ChooseFromMenu(s.form->actWindows, s.form->WindowTileVertical1);
  }
  Picture picture;
  {
    Session s(960, 600, layout);
    TCustomActionBar* menu = s.OpenMenu(s.form->actWindows);
    picture = s.Save(path, s.AreaWith({}), menu);
    s.form->SetLayoutFileName(""); // the picture's run leaves nothing behind
  }
  std::filesystem::remove_all(folder);
  return picture;
}

// The customize dialog, opened from "Окно" → "Дополнительные настройки",
// over the main window.
Picture Customize(const std::string& path) {
  Session s(960, 600);
  s.OpenMenu(s.form->actWindows);
  TActionClientItem* item = s.form->ActionManager1->FindItemByAction(s.form->CustomizeActionBars1);
  s.ClickOn(item ? item->Control() : nullptr);
  auto* dlg = dynamic_cast<TCustomizeDlg*>(s.form->CustomizeActionBars1->CustomizeDlg());
  if (!dlg || !dlg->Showing()) throw std::runtime_error("the customize dialog did not open");
  // Moved off the bars by its caption, on the page of commands.
  TForm* box = dlg->Form();
  const POINT caption = box->ClientToScreen(POINT{60, -10});
  s.Drag(caption, s.form->ClientToScreen(POINT{300, 150}));
  const RECT tab = dlg->Pages()->TabRect(dlg->CommandsSheet()->PageIndex());
  s.ClickAt(dlg->Pages(), (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
  return s.Save(path, s.AreaWith({box}), nullptr, box);
}

struct Maker {
  const char* name;
  Picture (*make)(const std::string& path);
};

constexpr Maker kMakers[] = {
    {"main-window.png", MainWindow},        {"floating-editor.png", FloatingEditor},
    {"map-standard.png", StandardMap},      {"map-xp.png", XPMap},
    {"map-black-white.png", BlackWhiteMap}, {"hidden-items.png", HiddenItems},
    {"customize.png", Customize},
};

} // namespace

std::vector<std::string> PictureNames() {
  std::vector<std::string> names;
  for (const Maker& m : kMakers)
    names.push_back(m.name);
  return names;
}

std::vector<Picture> WritePictures(const std::string& folder,
                                   const std::vector<std::string>& names) {
  const std::vector<std::string> known = PictureNames();
  for (const std::string& n : names)
    if (std::find(known.begin(), known.end(), n) == known.end())
      throw std::runtime_error("no picture is called " + n);
  std::vector<Picture> pictures;
  for (const Maker& m : kMakers) {
    if (!names.empty() && std::find(names.begin(), names.end(), m.name) == names.end()) continue;
    Picture p = m.make(folder + "/" + m.name);
    p.name = m.name;
    pictures.push_back(std::move(p));
  }
  return pictures;
}

} // namespace zel::shot
