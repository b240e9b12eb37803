// zelshot: starts the demo's main window on the headless screen as the
// program starts it, opens three child windows through the "Файлы" menu's
// command and tiles them, and writes the window's picture as PNG.
//
//   zelshot [file.png]      (default: main-window.png)

#include <cstdio>
#include <exception>
#include <string>

#include "framework/actions/StdActns.h"
#include "framework/forms/Application.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/MessageQueue.h"
#include "shell/Startup.h"
#include "shell/UnitMain.h"

namespace {

int TakePicture(const std::string& path) {
  zel::sys::HeadlessBackend& screen = zel::sys::UseHeadlessBackend();
  zel::sys::ScopedVirtualClock clock;
  zel::TApplication app;
  app.Initialize();
  zel::TMainForm* form = nullptr;
  app.CreateForm(&form);
  form->Show();
  zel::sys::AdvanceTime(100);
  for (int i = 0; i < 3; ++i)
    form->actNewForm->Execute();
  app.Idle();
  form->WindowTileVertical1->Execute();
  zel::sys::AdvanceTime(100);
  app.ProcessMessages();
  if (!screen.SaveWindowShot(form->Handle(), path)) {
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
