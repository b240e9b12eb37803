#pragma once
// A clean desk for every forms test: the headless screen, the virtual clock
// and an application object.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/forms/Application.h"
#include "framework/forms/Dialogs.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/User.h"
#include "platform/user/WindowSystem.h"

namespace zel::test {

class FormsTest : public ::testing::Test {
protected:
  void SetUp() override {
    screen = &sys::UseHeadlessBackend();
    app = std::make_unique<TApplication>();
    SetMessageDlgHook([this](const std::string& msg, TMsgDlgType, TMsgDlgButtons) {
      shownMessages.push_back(msg);
      return mrOk;
    });
  }
  void TearDown() override {
    SetMessageDlgHook(nullptr);
    app.reset();
    sys::ResetWindowSystem();
  }
  static void Pump() { sys::PumpMessages(); }
  static std::string OutPath(const std::string& name) {
    return std::string(ZEL_BINARY_DIR) + "/" + name;
  }
  // The screen position of a point in a control's client area.
  static sys::POINT At(TControl* c, int x, int y) { return c->ClientToScreen(sys::POINT{x, y}); }

  sys::ScopedVirtualClock clock;
  sys::HeadlessBackend* screen = nullptr;
  std::unique_ptr<TApplication> app;
  std::vector<std::string> shownMessages;
};

} // namespace zel::test
