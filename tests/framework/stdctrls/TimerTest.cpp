// TTimer on the virtual clock.

#include "framework/stdctrls/Timer.h"
#include "tests/framework/stdctrls/StdCtrlsFixture.h"

namespace zel::test {
namespace {

class TimerTest : public StdCtrlsTest {};

TEST_F(TimerTest, TicksEveryIntervalOnlyWhileEnabled) {
  TTimer timer(nullptr);
  int ticks = 0;
  EXPECT_TRUE(timer.Running()); // enabled, a second, from the start
  timer.SetInterval(100);
  Wait(300); // no handler yet: the ticks go nowhere
  timer.OnTimer = [&](TObject*) { ++ticks; };
  Wait(350);
  EXPECT_EQ(ticks, 3);
  timer.SetEnabled(false);
  Wait(500);
  EXPECT_EQ(ticks, 3);
  timer.SetEnabled(true);
  timer.SetInterval(0);
  Wait(500);
  EXPECT_EQ(ticks, 3);
  EXPECT_FALSE(timer.Running());
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

// Published properties and class references of the standard controls.
#include "framework/core/Properties.h"
#include "framework/stdctrls/ColorBox.h"
#include "framework/stdctrls/TrackBar.h"

namespace zel::test {
namespace {

class StdCtrlPropsTest : public StdCtrlsTest {};

TEST_F(StdCtrlPropsTest, PropertiesReadAndWriteByNameAndClassesCreateByReference) {
  auto* bar = Put<TTrackBar>(10, 10, 150, 40);
  SetOrdProp(*bar, "Max", 32);
  SetOrdProp(*bar, "Position", 24);
  EXPECT_EQ(bar->Position(), 24);
  EXPECT_EQ(GetOrdProp(*bar, "Max"), 32);
  EXPECT_TRUE(PropIsType(*bar, "Left", "Integer")); // inherited ones too
  auto* box = Put<TColorBox>(10, 60, 150, 22);
  SetOrdProp(*box, "Selected", clRed);
  EXPECT_EQ(box->Selected(), clRed);
  EXPECT_EQ(GetPropsOfType(TColorBox::StaticClass(), "TColor").size() >= 3, true);
  TObject* made = TColorBox::StaticClass().Create(form);
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(made->Is<TColorBox>());
  EXPECT_EQ(static_cast<TComponent*>(made)->Owner(), form);
}

} // namespace
} // namespace zel::test
