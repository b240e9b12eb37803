#pragma once
// A headless screen of 1024 x 768 with the docking unit started, an
// application object and a main form at (50, 50) that owns named panels.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "docking/UnitFrameSite.h"
#include "framework/forms/Application.h"
#include "framework/stdctrls/Panel.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Window.h"
#include "platform/user/WindowSystem.h"

namespace zel::test {

class DockingTest : public ::testing::Test {
protected:
  void SetUp() override {
    screen = &sys::UseHeadlessBackend(sys::SIZE{1024, 768});
    InitializeUnitFrameSite();
    app = std::make_unique<TApplication>();
    app->Initialize();
    mainForm = new TForm(app.get());
    mainForm->SetName("MainForm");
    mainForm->SetBounds(50, 50, 700, 500);
    mainForm->SetColor(clBtnFace);
  }
  void TearDown() override {
    Pump();
    app.reset();
    FinalizeUnitFrameSite();
    sys::ResetWindowSystem();
  }
  void Pump() {
    sys::PumpMessages();
    sys::PumpMessages();
  }
  // Lets the shared timers fall due and their messages run.
  void Wait(int ms) {
    sys::AdvanceTime(ms);
    Pump();
  }
  // A named dockable panel owned by the main form.
  TPanel* Panel(const std::string& name, const std::string& caption = {}) {
    auto* p = new TPanel(mainForm);
    p->SetName(name);
    p->SetCaption(caption.empty() ? name : caption);
    p->SetDragKind(dkDock);
    p->SetBounds(0, 0, 150, 100);
    return p;
  }
  // The screen pixel at a point of a window (window coordinates).
  sys::COLORREF WindowPixel(TWinControl* w, int x, int y) {
    sys::RECT r{};
    sys::GetWindowRect(w->Handle(), &r);
    return screen->ScreenPixel(r.left + x, r.top + y);
  }
  static std::string PictureDir() {
    const auto dir = std::filesystem::path(ZEL_BINARY_DIR) / "pictures";
    std::filesystem::create_directories(dir);
    return dir.string();
  }

  sys::ScopedVirtualClock clock;
  sys::HeadlessBackend* screen = nullptr;
  std::unique_ptr<TApplication> app;
  TForm* mainForm = nullptr;
};

} // namespace zel::test
