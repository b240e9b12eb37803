// The main window as a person meets it: opened headless, three children made
// through the window's own button, their captions and the picture checked,
// then closed.

#include <gtest/gtest.h>

#include <memory>

#include "framework/forms/Application.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/User.h"
#include "platform/user/WindowSystem.h"
#include "shell/TemporaryNewFormPanel.h"
#include "shell/UnitMain.h"

namespace zel::test {
namespace {

using namespace sys;

class MainWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    screen = &UseHeadlessBackend();
    app = std::make_unique<TApplication>();
    app->Initialize();
    app->CreateForm(&form);
    form->Show();
    PumpMessages();
  }
  void TearDown() override {
    app.reset();
    ResetWindowSystem();
  }
  void ClickNewForm() {
    const RECT b = form->TemporaryPanel->ButtonRect();
    const POINT p = form->TemporaryPanel->ClientToScreen(POINT{b.left + 10, b.top + 8});
    screen->Click(p.x, p.y);
  }

  ScopedVirtualClock clock;
  HeadlessBackend* screen = nullptr;
  std::unique_ptr<TApplication> app;
  TMainForm* form = nullptr;
};

TEST_F(MainWindowTest, OpensWithTheDescribedSettings) {
  EXPECT_EQ(app->MainForm(), form);
  EXPECT_EQ(form->Caption(), "MainForm");
  EXPECT_EQ(form->FormStyle(), fsMDIForm);
  EXPECT_EQ(form->ClientWidth(), 606);
  EXPECT_EQ(form->ClientHeight(), 383);
  EXPECT_EQ(form->Color(), clBtnFace);
  EXPECT_EQ(form->Font()->Name(), "Tahoma");
  EXPECT_EQ(form->Font()->Height(), -11);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  EXPECT_EQ(form->MDIChildCount(), 0);
  auto* splitter = dynamic_cast<TControl*>(form->FindComponent("Splitter1"));
  ASSERT_NE(splitter, nullptr);
  EXPECT_EQ(splitter->Align(), alRight);
  EXPECT_EQ(splitter->Left() + splitter->Width(), form->ClientWidth());
  // The MDI area ends where the splitter begins.
  EXPECT_EQ(form->MDIClientRect().right, splitter->Left());
}

TEST_F(MainWindowTest, ThreeChildrenAreNumberedAndShown) {
  ClickNewForm();
  ClickNewForm();
  // The third through the keyboard short cut.
  screen->KeyDown(VK_CONTROL);
  screen->Key('N');
  screen->KeyUp(VK_CONTROL);
  ASSERT_EQ(form->MDIChildCount(), 3);
  EXPECT_EQ(form->MDIChildren(2)->Caption(), "Форма 1");
  EXPECT_EQ(form->MDIChildren(1)->Caption(), "Форма 2");
  EXPECT_EQ(form->MDIChildren(0)->Caption(), "Форма 3");
  EXPECT_EQ(form->ActiveMDIChild(), form->MDIChildren(0));
  PumpMessages();
  const std::string shot = std::string(ZEL_BINARY_DIR) + "/shell_three_children.png";
  ASSERT_TRUE(screen->SaveScreenshot(shot));

  // The client area shows the workspace colour between the children, each
  // child its caption, the active one in the active caption colour.
  const RECT area = form->MDIClientRect();
  const POINT corner = form->ClientToScreen(POINT{area.right - 3, area.bottom - 3});
  EXPECT_EQ(screen->ScreenPixel(corner.x, corner.y), GetSysColor(COLOR_APPWORKSPACE));
  RECT active, inactive;
  GetWindowRect(form->MDIChildren(0)->Handle(), &active);
  GetWindowRect(form->MDIChildren(2)->Handle(), &inactive);
  const int frame = GetSystemMetrics(SM_CYFRAME);
  EXPECT_NE(screen->ScreenPixel(active.right - 80, active.top + frame + 2),
            screen->ScreenPixel(inactive.left + frame + 2, inactive.top + frame + 2));
}

TEST_F(MainWindowTest, ClosingTheMainWindowEndsTheLoop) {
  ClickNewForm();
  ClickNewForm();
  ClickNewForm();
  form->MDIChildren(0)->SetWindowState(wsMaximized);
  form->MDIChildren(1)->SetWindowState(wsMinimized);
  // Close through the desktop after a while, inside the running loop.
  SetTimer(nullptr, 0, 200, [this](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    InputCloseWindow(form->Handle());
  });
  app->Run();
  EXPECT_TRUE(app->Terminated());
  EXPECT_EQ(app->ExitCode(), 0);
}

} // namespace
} // namespace zel::test
