// zelshot: starts the demo's main window on the headless screen as the
// program starts it, opens three child windows through the "Файлы" menu's
// command, tiles them, opens the "Файлы" menu with the mouse, resting on its
// first entry, and writes the picture of the window and its open menu as PNG.
//
//   zelshot [file.png]      (default: main-window.png)

#include <cstdio>
#include <exception>
#include <string>

#include "framework/actions/StdActns.h"
#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/forms/Application.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/User.h"
#include "shell/Startup.h"
#include "shell/UnitMain.h"

namespace {

// Clicks the menu-bar item of action and rests on its first entry.
void OpenMenu(zel::sys::HeadlessBackend& screen, zel::TActionManager& manager,
              zel::TBasicAction* action) {
  zel::TActionClientItem* item = manager.FindItemByAction(action);
  if (!item || !item->Control()) return;
  zel::TControl* c = item->Control();
  const zel::sys::POINT p = c->ClientToScreen(zel::sys::POINT{c->Width() / 2, c->Height() / 2});
  screen.Click(p.x, p.y);
  if (item->Items()->Count() == 0) return;
  if (zel::TControl* first = item->Items()->Items(0)->Control()) {
    const zel::sys::POINT q = first->ClientToScreen(zel::sys::POINT{first->Width() / 2, first->Height() / 2});
    screen.MoveTo(q.x, q.y);
  }
  zel::sys::AdvanceTime(100);
}

int TakePicture(const std::string& path) {
  zel::sys::HeadlessBackend& screen = zel::sys::UseHeadlessBackend();
  zel::sys::ScopedVirtualClock clock;
  zel::TApplication app;
  app.Initialize();
  zel::TMainForm* form = nullptr;
  app.CreateForm(&form);
  // The picture shows the window as it starts without a layout file.
  form->SetLayoutFileName("");
  form->Show();
  zel::sys::AdvanceTime(100);
  for (int i = 0; i < 3; ++i)
    form->actNewForm->Execute();
  app.Idle();
  form->WindowTileVertical1->Execute();
  zel::sys::AdvanceTime(100);
  app.ProcessMessages();
  OpenMenu(screen, *form->ActionManager1, form->ActFile);
  zel::sys::RECT area{};
  zel::sys::GetWindowRect(form->Handle(), &area);
  if (!screen.SaveScreenArea(area, path)) {
    std::fprintf(stderr, "zelshot: cannot write %s\n", path.c_str());
    return 1;
  }
  std::printf("%s\n", path.c_str());
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : "main-window.png";
  int code = 1;
  try {
    zel::InitializeUnits();
    code = TakePicture(path);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zelshot: %s\n", e.what());
  }
  zel::FinalizeUnits();
  return code;
}
