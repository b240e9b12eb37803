#pragma once
// A clean desk for the standard-control tests: the headless screen, the
// virtual clock, an application object and a shown form to put controls on.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/User.h"
#include "platform/user/WindowSystem.h"

namespace zel::test {

class StdCtrlsTest : public ::testing::Test {
protected:
  void SetUp() override {
    screen = &sys::UseHeadlessBackend();
    app = std::make_unique<TApplication>();
    form = app->CreateForm<TForm>();
    form->SetPosition(poDesigned);
    form->SetBounds(40, 40, 500, 400);
    form->SetCaption("Test");
    form->Show();
    Pump();
  }
  void TearDown() override {
    app.reset();
    sys::ResetWindowSystem();
  }
  static void Pump() { sys::PumpMessages(); }
  // Lets time pass on the virtual clock, handling the timers that fall due.
  void Wait(int ms) {
    for (int t = 0; t < ms; t += 10) {
      clock.Advance(10);
      Pump();
    }
  }
  template <class T> T* Put(int x, int y, int w, int h) {
    auto* c = new T(form);
    c->SetBounds(x, y, w, h);
    c->SetParent(form);
    Pump();
    return c;
  }
  // The screen position of a point in a control's client area.
  static sys::POINT At(TControl* c, int x, int y) { return c->ClientToScreen(sys::POINT{x, y}); }
  void Click(TControl* c, int x, int y) {
    const sys::POINT p = At(c, x, y);
    screen->Click(p.x, p.y);
  }
  void Drag(TControl* c, int x0, int y0, int x1, int y1, int steps = 4) {
    const sys::POINT a = At(c, x0, y0), b = At(c, x1, y1);
    screen->Drag(a.x, a.y, b.x, b.y, steps);
  }
  static std::string PicturePath(const std::string& name) {
    return std::string(ZEL_BINARY_DIR) + "/pictures/" + name;
  }

  sys::ScopedVirtualClock clock;
  sys::HeadlessBackend* screen = nullptr;
  std::unique_ptr<TApplication> app;
  TForm* form = nullptr;
};

} // namespace zel::test
