#pragma once
// A clean desk for every controls test: the headless screen, the virtual
// clock and a top-level windowed control to put children on.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/controls/GraphicControl.h"
#include "framework/controls/WinControl.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/User.h"
#include "platform/user/WindowSystem.h"

namespace zel::test {

class ControlsTest : public ::testing::Test {
protected:
  void SetUp() override {
    screen = &sys::UseHeadlessBackend();
    host = std::make_unique<TWinControl>(nullptr);
    host->SetBounds(100, 100, 400, 300);
    host->HandleNeeded();
    sys::PumpMessages();
  }
  void TearDown() override {
    host.reset();
    sys::ResetWindowSystem();
  }
  template <class T = TGraphicControl>
  T* Add(int l, int t, int w, int h, TAlign a = alNone, TWinControl* parent = nullptr) {
    auto* c = new T(nullptr); // the parent deletes it
    c->SetBounds(l, t, w, h);
    c->SetAlign(a);
    c->SetParent(parent ? parent : host.get());
    return c;
  }
  // Records every message number a control receives, through WindowProc.
  static void Record(TControl* c, std::vector<sys::UINT>& log) {
    TWndMethod old = c->WindowProc;
    c->WindowProc = [&log, old](TMessage& m) {
      log.push_back(m.Msg);
      old(m);
    };
  }
  sys::POINT At(TControl* c, int x, int y) { return c->ClientToScreen(sys::POINT{x, y}); }

  sys::ScopedVirtualClock clock;
  sys::HeadlessBackend* screen = nullptr;
  std::unique_ptr<TWinControl> host;
};

// A windowless control that counts what happens to it.
class TProbe : public TGraphicControl {
  ZEL_CLASS(TProbe, TGraphicControl)
public:
  explicit TProbe(TComponent* owner) : TGraphicControl(owner) {}
  int clicks = 0, dblClicks = 0, downs = 0, ups = 0, moves = 0, paints = 0;
  void Click() override {
    ++clicks;
    TGraphicControl::Click();
  }
  void DblClick() override { ++dblClicks; }

protected:
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
    ++downs;
    TGraphicControl::MouseDown(b, s, x, y);
  }
  void MouseUp(TMouseButton b, TShiftState s, int x, int y) override {
    ++ups;
    TGraphicControl::MouseUp(b, s, x, y);
  }
  void MouseMove(TShiftState s, int x, int y) override { ++moves; }
  void Paint() override {
    ++paints;
    Canvas()->Brush()->SetColor(clRed);
    Canvas()->FillRect(ClientRect());
  }
};

} // namespace zel::test
