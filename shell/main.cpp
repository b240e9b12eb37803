// The program: start the units, create the main window, run the message
// loop until the main window closes, then shut the units down in reverse.

#include <cstdio>
#include <exception>

#include "framework/forms/Application.h"
#include "platform/text/FontAnswerFile.h"
#include "shell/Startup.h"
#include "shell/UnitMain.h"

namespace {

int RunProgram() {
  zel::TApplication app;
  app.Initialize();
  app.SetTitle("Zel");
  zel::TMainForm* mainForm = nullptr;
  app.CreateForm(&mainForm);
  app.Run();
  return app.ExitCode();
}

} // namespace

int main() {
  int code = 1;
  try {
    // Which font files the window's faces come from is asked of fontconfig
    // on the first start only; later starts read the answers back.
    zel::sys::FontResolver::Default().KeepAnswersIn(zel::sys::DefaultFontAnswerFile());
    zel::InitializeUnits();
    code = RunProgram();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zeldemo: %s\n", e.what());
    code = 1;
  }
  zel::FinalizeUnits();
  return code;
}
