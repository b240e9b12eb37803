#pragma once
// A dock site on the headless screen: a 400 x 300 windowed site at (100, 100)
// owned, with its panels, by one root component so that names find them.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/core/Component.h"
#include "framework/core/Streams.h"
#include "framework/docking/DockTree.h"
#include "framework/stdctrls/Panel.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/User.h"
#include "platform/user/WindowSystem.h"

namespace zel::test {

class DockTest : public ::testing::Test {
protected:
  void SetUp() override {
    screen = &sys::UseHeadlessBackend();
    root = std::make_unique<TComponent>(nullptr);
    site = new TWinControl(root.get());
    site->SetName("Site");
    site->SetBounds(100, 100, 400, 300);
    site->SetDockSite(true);
    site->SetUseDockManager(true);
    site->HandleNeeded();
    sys::PumpMessages();
  }
  void TearDown() override {
    sys::PumpMessages(); // emptied floating forms free themselves
    root.reset();
    sys::ResetWindowSystem();
  }
  TDockTree* Tree() { return dynamic_cast<TDockTree*>(site->DockManager()); }
  // A named panel owned by the root, not yet docked.
  TPanel* Panel(const std::string& name) {
    auto* p = new TPanel(root.get());
    p->SetName(name);
    p->SetCaption(name);
    p->SetBounds(0, 0, 100, 80);
    return p;
  }
  TPanel* Docked(const std::string& name, TAlign side = alNone, TControl* drop = nullptr) {
    TPanel* p = Panel(name);
    p->ManualDock(site, drop, side);
    return p;
  }
  sys::POINT At(TControl* c, int x, int y) { return c->ClientToScreen(sys::POINT{x, y}); }
  static std::string Bytes(TMemoryStream& m) {
    return std::string(reinterpret_cast<const char*>(m.Memory()), size_t(m.Size()));
  }

  sys::ScopedVirtualClock clock;
  sys::HeadlessBackend* screen = nullptr;
  std::unique_ptr<TComponent> root;
  TWinControl* site = nullptr;
};

} // namespace zel::test
