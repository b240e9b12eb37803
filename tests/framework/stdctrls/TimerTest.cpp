// TTimer on the virtual clock.

#include "framework/stdctrls/Timer.h"
#include "tests/framework/stdctrls/StdCtrlsFixture.h"

namespace zel::test {
namespace {

class TimerTest : public StdCtrlsTest {};

TEST_F(TimerTest, TicksEveryIntervalOnlyWhileEnabledWithAHandler) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.SetInterval(100);
  Wait(300);
  EXPECT_FALSE(timer.Running()); // no handler yet
  timer.SetOnTimer([&](TObject*) { ++ticks; });
  EXPECT_TRUE(timer.Running());
  Wait(350);
  EXPECT_EQ(ticks, 3);
  timer.SetEnabled(false);
  Wait(500);
  EXPECT_EQ(ticks, 3);
  timer.SetEnabled(true);
  timer.SetInterval(0);
  Wait(500);
  EXPECT_EQ(ticks, 3);
}

TEST_F(TimerTest, ChangingTheIntervalRestartsTheCount) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.SetInterval(100);
  timer.SetOnTimer([&](TObject*) { ++ticks; });
  Wait(80);
  timer.SetInterval(50); // counts from now
  Wait(40);
  EXPECT_EQ(ticks, 0);
  Wait(20);
  EXPECT_EQ(ticks, 1);
}

TEST_F(TimerTest, AHandlerMayStopItsOwnTimer) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.SetInterval(20);
  timer.SetOnTimer([&](TObject*) {
    if (++ticks == 2) timer.SetEnabled(false);
  });
  Wait(200);
  EXPECT_EQ(ticks, 2);
}

} // namespace
} // namespace zel::test
