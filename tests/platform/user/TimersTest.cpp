// Timers on the virtual clock: with and without a window, one-shot through a
// kill inside the procedure, repeating, restarting, killing from inside.

#include "platform/LastError.h"
#include "tests/platform/user/UserTestSupport.h"

namespace zel::sys::test {
namespace {

class Timers : public UserTest {};

TEST_F(Timers, WindowTimerRepeatsWithTheTickCountOfEachPeriod) {
  HWND w = MakeFrame(RECT{0, 0, 100, 100});
  Pump();
  const DWORD start = GetTickCount();
  EXPECT_EQ(SetTimer(w, 42, 200), 42u);
  std::vector<DWORD> times;
  Rec().handlers[w] = [&](HWND, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_TIMER) {
      EXPECT_EQ(wp, 42u);
      times.push_back(GetMessageTime());
    }
    return std::nullopt;
  };
  AdvanceTime(1000);
  EXPECT_EQ(times,
            (std::vector<DWORD>{start + 200, start + 400, start + 600, start + 800, start + 1000}));
  EXPECT_EQ(GetTickCount(), start + 1000);
  EXPECT_TRUE(KillTimer(w, 42));
  EXPECT_FALSE(KillTimer(w, 42));
  ClearLog();
  AdvanceTime(1000);
  EXPECT_TRUE(Only({WM_TIMER}).empty());
}

TEST_F(Timers, WindowlessTimerGetsASystemIdAndCallsItsProcedure) {
  std::vector<std::pair<UINT_PTR, DWORD>> calls;
  const DWORD start = GetTickCount();
  const UINT_PTR id = SetTimer(nullptr, 98790, 100, [&](HWND h, UINT m, UINT_PTR i, DWORD t) {
    EXPECT_EQ(h, nullptr);
    EXPECT_EQ(m, WM_TIMER);
    calls.emplace_back(i, t);
  });
  ASSERT_NE(id, 0u);
  EXPECT_NE(id, 98790u); // the identifier argument is ignored without a window
  const UINT_PTR id2 = SetTimer(nullptr, id, 100, [](HWND, UINT, UINT_PTR, DWORD) {});
  EXPECT_NE(id2, id); // a second timer, not a reset of the first
  KillTimer(nullptr, id2);
  AdvanceTime(350);
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0], std::make_pair(id, start + 100));
  EXPECT_EQ(calls[1], std::make_pair(id, start + 200));
  EXPECT_EQ(calls[2], std::make_pair(id, start + 300));
  EXPECT_TRUE(KillTimer(nullptr, id));
}

TEST_F(Timers, OneShotByKillingInsideTheProcedureAndRestartingFromThere) {
  // The pattern of a one-shot timer: stop first, then call back, and the
  // callback may start the timer again.
  UINT_PTR id = 0;
  int fired = 0;
  std::function<void()> start;
  start = [&] {
    id = SetTimer(nullptr, 0, 40, [&](HWND, UINT, UINT_PTR tid, DWORD) {
      KillTimer(nullptr, tid);
      id = 0;
      if (++fired == 1) start();
    });
  };
  start();
  AdvanceTime(39);
  EXPECT_EQ(fired, 0);
  AdvanceTime(1);
  EXPECT_EQ(fired, 1);
  EXPECT_NE(id, 0u); // restarted from inside
  AdvanceTime(40);
  EXPECT_EQ(fired, 2);
  EXPECT_EQ(id, 0u);
  AdvanceTime(400);
  EXPECT_EQ(fired, 2);
}

TEST_F(Timers, ResettingReplacesIntervalAndProcedure) {
  HWND w = MakeFrame(RECT{0, 0, 100, 100});
  Pump();
  int first = 0, second = 0;
  SetTimer(w, 1, 100, [&](HWND, UINT, UINT_PTR, DWORD) { ++first; });
  AdvanceTime(50);
  SetTimer(w, 1, 300, [&](HWND, UINT, UINT_PTR, DWORD) { ++second; });
  AdvanceTime(299);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 0);
  AdvanceTime(1);
  EXPECT_EQ(second, 1);
}

TEST_F(Timers, ResettingFromInsideTheProcedureTakesTheNewInterval) {
  HWND w = MakeFrame(RECT{0, 0, 100, 100});
  Pump();
  std::vector<DWORD> times;
  const DWORD start = GetTickCount();
  std::function<void(HWND, UINT, UINT_PTR, DWORD)> proc = [&](HWND h, UINT, UINT_PTR id, DWORD t) {
    times.push_back(t - start);
    SetTimer(h, id, 300, proc); // slower from now on
  };
  SetTimer(w, 5, 100, proc);
  AdvanceTime(1000);
  EXPECT_EQ(times, (std::vector<DWORD>{100, 400, 700, 1000}));
}

TEST_F(Timers, DueTimersFireInOrderOfTheirTimes) {
  std::vector<int> order;
  SetTimer(nullptr, 0, 300, [&](HWND, UINT, UINT_PTR id, DWORD) {
    order.push_back(3);
    KillTimer(nullptr, id);
  });
  SetTimer(nullptr, 0, 100, [&](HWND, UINT, UINT_PTR id, DWORD) {
    order.push_back(1);
    KillTimer(nullptr, id);
  });
  SetTimer(nullptr, 0, 200, [&](HWND, UINT, UINT_PTR id, DWORD) {
    order.push_back(2);
    KillTimer(nullptr, id);
  });
  // Even when all are late, the earliest goes first.
  clock.Advance(1000);
  Pump();
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST_F(Timers, ALateTimerFiresOnceNotInABurst) {
  int n = 0;
  SetTimer(nullptr, 0, 100, [&](HWND, UINT, UINT_PTR, DWORD) { ++n; });
  clock.Advance(1000);
  Pump();
  EXPECT_EQ(n, 1);
  AdvanceTime(99);
  EXPECT_EQ(n, 1);
  AdvanceTime(1);
  EXPECT_EQ(n, 2);
}

TEST_F(Timers, KillingAnotherTimerFromAProcedureStopsIt) {
  int a = 0, b = 0;
  UINT_PTR idB = 0;
  SetTimer(nullptr, 0, 100, [&](HWND, UINT, UINT_PTR, DWORD) {
    ++a;
    KillTimer(nullptr, idB);
  });
  idB = SetTimer(nullptr, 0, 100, [&](HWND, UINT, UINT_PTR, DWORD) { ++b; });
  AdvanceTime(500);
  EXPECT_EQ(a, 5);
  EXPECT_EQ(b, 0);
}

TEST_F(Timers, BadArgumentsFailCleanly) {
  HWND w = MakeFrame(RECT{0, 0, 100, 100});
  DestroyWindow(w);
  EXPECT_EQ(SetTimer(w, 1, 100), 0u);
  EXPECT_FALSE(KillTimer(nullptr, 12345));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

} // namespace
} // namespace zel::sys::test
