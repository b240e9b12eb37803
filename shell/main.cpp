// The program: start the window system, create the main window, run the
// message loop until the main window closes.

#include <cstdio>
#include <exception>

#include "framework/forms/Application.h"
#include "shell/UnitMain.h"

int main() {
  try {
    zel::TApplication app;
    app.Initialize();
    app.SetTitle("Zel");
    zel::TMainForm* mainForm = nullptr;
    app.CreateForm(&mainForm);
    app.Run();
    return app.ExitCode();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zeldemo: %s\n", e.what());
    return 1;
  }
}
