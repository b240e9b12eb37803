// The windowless timer on the virtual clock: one-shot and repeating ticks,
// restarts that replace the running timer, restarting from inside the
// method, refused starts, and a kill the system refuses.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/core/Exceptions.h"
#include "platform/LastError.h"
#include "platform/clock/Clock.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Timers.h"
#include "platform/user/WindowSystem.h"
#include "speedbutton/InternalTimer.h"

namespace zel {
namespace {

class InternalTimer : public ::testing::Test {
protected:
  void SetUp() override { sys::ResetWindowSystem(); }
  void TearDown() override { sys::ResetWindowSystem(); }
  // The ticks so far, as times relative to the start of the test.
  TNotifyEvent Recorder(std::vector<uint64_t>& at) {
    return [this, &at](TObject* sender) {
      EXPECT_EQ(sender, &timer);
      at.push_back(clock.clock().NowMs() - start);
    };
  }

  sys::ScopedVirtualClock clock{5000};
  const uint64_t start = 5000;
  TInternalTimer timer{nullptr};
};

TEST_F(InternalTimer, OneShotFiresOnceAndStops) {
  std::vector<uint64_t> at;
  timer.StartOnce(40, Recorder(at));
  EXPECT_TRUE(timer.Running());
  EXPECT_TRUE(timer.OneShot());
  sys::AdvanceTime(39);
  EXPECT_TRUE(at.empty());
  sys::AdvanceTime(1);
  EXPECT_EQ(at, std::vector<uint64_t>{40});
  EXPECT_FALSE(timer.Running());
  sys::AdvanceTime(500);
  EXPECT_EQ(at.size(), 1u);
}

TEST_F(InternalTimer, RepeatingFiresEveryPeriodUntilStopped) {
  std::vector<uint64_t> at;
  timer.StartRepeating(200, Recorder(at));
  sys::AdvanceTime(1000);
  EXPECT_EQ(at, (std::vector<uint64_t>{200, 400, 600, 800, 1000}));
  EXPECT_TRUE(timer.Running());
  timer.Stop();
  EXPECT_FALSE(timer.Running());
  sys::AdvanceTime(1000);
  EXPECT_EQ(at.size(), 5u);
  timer.Stop(); // stopping a stopped timer does nothing
  TInternalTimer::Stop(nullptr);
}

TEST_F(InternalTimer, RestartReplacesIntervalAndMethod) {
  std::vector<uint64_t> first, second;
  timer.StartRepeating(100, Recorder(first));
  sys::AdvanceTime(150);
  const uint32_t oldId = timer.TimerID();
  timer.StartRepeating(300, Recorder(second));
  // The old system timer is gone: only one timer per object.
  EXPECT_FALSE(sys::KillTimer(nullptr, oldId));
  sys::AdvanceTime(700);
  EXPECT_EQ(first, std::vector<uint64_t>{100});
  EXPECT_EQ(second, (std::vector<uint64_t>{450, 750}));
  // A one-shot start over a repeating timer turns it into a one-shot.
  timer.StartOnce(50, Recorder(second));
  sys::AdvanceTime(300);
  EXPECT_EQ(second, (std::vector<uint64_t>{450, 750, 900}));
  EXPECT_FALSE(timer.Running());
}

TEST_F(InternalTimer, OneShotMayStartAgainFromItsOwnMethod) {
  std::vector<uint64_t> at;
  int calls = 0;
  TNotifyEvent again = [&](TObject*) {
    at.push_back(clock.clock().NowMs() - start);
    // Stopped before the method runs, so a restart here takes effect.
    EXPECT_FALSE(timer.Running());
    if (++calls < 3) timer.StartOnce(40, again);
  };
  timer.StartOnce(40, again);
  sys::AdvanceTime(400);
  EXPECT_EQ(at, (std::vector<uint64_t>{40, 80, 120}));
  EXPECT_FALSE(timer.Running());
}

TEST_F(InternalTimer, MethodMayReplaceItselfAndFreeTheTimer) {
  auto owned = std::make_unique<TInternalTimer>(nullptr);
  int replaced = 0;
  owned->StartRepeating(10, [&](TObject*) {
    // Replacing the running method while it runs must not pull it away
    // under its own feet.
    owned->StartRepeating(10, [&](TObject*) {
      ++replaced;
      owned.reset();
    });
  });
  sys::AdvanceTime(100);
  EXPECT_EQ(replaced, 1);
  EXPECT_EQ(owned, nullptr);
}

TEST_F(InternalTimer, StartWithoutIntervalOrMethodStaysStopped) {
  std::vector<uint64_t> at;
  timer.StartRepeating(100, Recorder(at));
  timer.StartOnce(0, Recorder(at)); // stops the running one as well
  EXPECT_FALSE(timer.Running());
  EXPECT_FALSE(timer.OneShot());
  timer.StartRepeating(-5, Recorder(at));
  EXPECT_FALSE(timer.Running());
  timer.StartOnce(40, nullptr);
  EXPECT_FALSE(timer.Running());
  sys::AdvanceTime(1000);
  EXPECT_TRUE(at.empty());
}

TEST_F(InternalTimer, FailedKillRaisesTheSystemErrorAndLeavesItStopped) {
  std::vector<uint64_t> at;
  timer.StartRepeating(100, Recorder(at));
  ASSERT_TRUE(sys::KillTimer(nullptr, timer.TimerID())); // someone else kills it
  try {
    timer.Stop();
    FAIL() << "no exception";
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode(), sys::ERROR_INVALID_PARAMETER);
  }
  EXPECT_FALSE(timer.Running());
  // The start that stops first raises as well.
  timer.StartRepeating(100, Recorder(at));
  sys::KillTimer(nullptr, timer.TimerID());
  EXPECT_THROW(timer.StartOnce(40, Recorder(at)), EOSError);
  // After the failure the timer works again.
  timer.StartOnce(40, Recorder(at));
  sys::AdvanceTime(40);
  EXPECT_EQ(at, std::vector<uint64_t>{40});
}

TEST_F(InternalTimer, OwnerFreesAndDestructionStops) {
  auto owner = std::make_unique<TComponent>(nullptr);
  auto* owned = new TInternalTimer(owner.get());
  int calls = 0;
  owned->StartRepeating(50, [&](TObject*) { ++calls; });
  const uint32_t id = owned->TimerID();
  owner.reset();
  EXPECT_FALSE(sys::KillTimer(nullptr, id));
  sys::AdvanceTime(200);
  EXPECT_EQ(calls, 0);
  // A timer whose system timer vanished is destroyed without raising.
  {
    TInternalTimer lost(nullptr);
    lost.StartRepeating(50, [&](TObject*) { ++calls; });
    sys::KillTimer(nullptr, lost.TimerID());
  }
  EXPECT_EQ(calls, 0);
}

} // namespace
} // namespace zel
