#pragma once
// A desk for the speed-button tests: the headless screen, the virtual clock,
// the pixel unit started, a shown top-level host and an image list of
// coloured cells.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "bitop/BitOp.h"
#include "framework/controls/WinControl.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/ImageList.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/User.h"
#include "platform/user/WindowSystem.h"
#include "speedbutton/SpeedButtonZel.h"

namespace zel::test {

class SpeedButtonTest : public ::testing::Test {
protected:
  void SetUp() override {
    BitOpInitialize();
    screen = &sys::UseHeadlessBackend();
    host = std::make_unique<TWinControl>(nullptr);
    host->SetBounds(100, 100, 400, 200);
    host->SetColor(clWhite);
    host->HandleNeeded();
    sys::PumpMessages();
  }
  void TearDown() override {
    host.reset();
    images.reset();
    sys::ResetWindowSystem();
    BitOpFinalize();
  }
  TSpeedButtonZel* Put(int x, int y, int w = 28, int h = 28) {
    auto* b = new TSpeedButtonZel(nullptr); // the host deletes it
    b->SetBounds(x, y, w, h);
    b->SetParent(host.get());
    return b;
  }
  // count cells of 16 x 16 in distinct colours.
  TCustomImageList* Images(int count) {
    images = std::make_unique<TImageList>(16, 16, nullptr);
    for (int i = 0; i < count; ++i) {
      TBitmap cell(16, 16, pf32bit);
      cell.Canvas()->Brush()->SetColor(TColor(0x000040 * (i + 1) + 0x202000 * (i % 3)));
      cell.Canvas()->FillRect(sys::RECT{0, 0, 16, 16});
      images->Add(&cell, nullptr);
    }
    return images.get();
  }
  sys::POINT At(TControl* c, int x, int y) { return c->ClientToScreen(sys::POINT{x, y}); }
  void MoveTo(TControl* c, int x, int y) {
    const sys::POINT p = At(c, x, y);
    screen->MoveTo(p.x, p.y);
  }
  void Press(TControl* c, int x = 5, int y = 5) {
    const sys::POINT p = At(c, x, y);
    screen->Press(p.x, p.y);
  }
  void Release(TControl* c, int x = 5, int y = 5) {
    const sys::POINT p = At(c, x, y);
    screen->Release(p.x, p.y);
  }
  // Lets time pass, handling the timers that fall due, in 1 ms steps.
  void Wait(int ms) {
    for (int t = 0; t < ms; ++t) {
      clock.Advance(1);
      sys::PumpMessages();
    }
  }
  uint64_t Now() { return clock.clock().NowMs(); }

  sys::ScopedVirtualClock clock;
  sys::HeadlessBackend* screen = nullptr;
  std::unique_ptr<TWinControl> host;
  std::unique_ptr<TImageList> images;
};

} // namespace zel::test
