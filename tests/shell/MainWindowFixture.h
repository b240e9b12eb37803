#pragma once
// The real main window on the headless screen, made as the program makes it
// but without a layout file (the layout file has tests of its own, so here
// every run starts from the window's defaults), and the ways a person
// reaches it: clicks on controls, drags, the bars' items and pictures.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "framework/actnbars/ActnMan.h"
#include "framework/forms/Application.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Messages.h"
#include "platform/user/Timers.h"
#include "platform/user/User.h"
#include "platform/user/WindowSystem.h"
#include "shell/Startup.h"
#include "shell/UnitMain.h"

namespace zel::test {

class MainWindowFixture : public ::testing::Test {
protected:
  void SetUp() override { StartMainWindow(); }
  void TearDown() override { StopMainWindow(); }
  // Makes and shows the main window; beforeShow runs between its making and
  // its first show (a test that wants another size sets it there).
  void StartMainWindow(const std::function<void()>& beforeShow = {}) {
    StopMainWindow();
    screen = &sys::UseHeadlessBackend();
    InitializeUnits();
    app = std::make_unique<TApplication>();
    app->Initialize();
    app->CreateForm(&form);
    layoutFileName = form->LayoutFileName();
    form->SetLayoutFileName("");
    if (beforeShow) beforeShow();
    form->Show();
    Settle();
  }
  // Ends a run of the window and everything the units made (once).
  void StopMainWindow() {
    if (!app) return;
    app.reset();
    form = nullptr;
    FinalizeUnits();
    sys::ResetWindowSystem();
  }
  // Lets the image list's deferred notification, the posted work and one
  // idle pass (the action updates) run.
  void Settle() {
    sys::AdvanceTime(100);
    app->ProcessMessages();
    app->Idle();
    app->ProcessMessages();
  }
  // Clicks are a second apart, so that two never make a double click.
  void ClickAt(sys::POINT p) {
    sys::AdvanceTime(1000);
    screen->Click(p.x, p.y);
    app->ProcessMessages();
  }
  void ClickAt(TControl* c, int x, int y) { ClickAt(c->ClientToScreen(sys::POINT{x, y})); }
  void ClickOn(TControl* c) { ClickAt(c, c->Width() / 2, c->Height() / 2); }
  // A press, six moves on the way and a release, as a hand drags.
  void Drag(sys::POINT from, sys::POINT to) {
    sys::AdvanceTime(1000);
    screen->Press(from.x, from.y);
    app->ProcessMessages();
    const int steps = 6;
    for (int i = 1; i <= steps; ++i) {
      screen->MoveTo(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps);
      app->ProcessMessages();
    }
    screen->Release(to.x, to.y);
    Settle();
  }
  // Alt+X typed while the message loop runs, as the program ends.
  void QuitWithAltX() {
    sys::SetTimer(nullptr, 0, 200, [this](sys::HWND, sys::UINT, sys::UINT_PTR id, sys::DWORD) {
      sys::KillTimer(nullptr, id);
      screen->KeyDown(sys::VK_MENU);
      screen->Key('X');
      screen->KeyUp(sys::VK_MENU);
    });
    app->Run();
    EXPECT_TRUE(app->Terminated());
    EXPECT_EQ(app->ExitCode(), 0);
  }
  // The session asks the program to end (a terminate signal), twice, as an
  // impatient person's second signal would: the program closes once, as by
  // its close box, and ends with status 0.
  void EndSession() {
    sys::InputEndSession();
    sys::InputEndSession();
    app->Run();
    EXPECT_TRUE(app->Terminated());
    EXPECT_EQ(app->ExitCode(), 0);
  }
  // A caption button of a window (HTMINBUTTON, HTMAXBUTTON, ...), found by
  // its hit test along the middle of the caption, clicked.
  void ClickCaptionButton(sys::HWND h, sys::LRESULT which) {
    sys::RECT wr;
    sys::GetWindowRect(h, &wr);
    const int y = wr.top + sys::GetSystemMetrics(sys::SM_CYFRAME) +
                  sys::GetSystemMetrics(sys::SM_CYCAPTION) / 2;
    for (int x = wr.right - 1; x > wr.left; --x)
      if (sys::SendMessage(h, sys::WM_NCHITTEST, 0, sys::MAKELPARAM(x, y)) == which) {
        ClickAt(sys::POINT{x - 2, y});
        Settle();
        return;
      }
    ADD_FAILURE() << "no caption button " << which;
  }
  // The control showing the action on a bar or in an open menu, if any.
  TCustomActionControl* ControlOf(TBasicAction* a) {
    TActionClientItem* i = form->ActionManager1->FindItemByAction(a);
    return i ? i->Control() : nullptr;
  }
  void Picture(const std::string& name) {
    const auto dir = std::filesystem::path(ZEL_BINARY_DIR) / "pictures";
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(screen->SaveScreenshot((dir / (name + ".png")).string()));
  }

  sys::ScopedVirtualClock clock;
  sys::HeadlessBackend* screen = nullptr;
  std::unique_ptr<TApplication> app;
  TMainForm* form = nullptr;
  // The layout file the window would have used.
  std::string layoutFileName;
};

} // namespace zel::test
