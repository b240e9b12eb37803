// Timers on the active clock.

#include "platform/user/Timers.h"

#include <algorithm>

#include "platform/LastError.h"
#include "platform/clock/Clock.h"
#include "platform/user/UserState.h"

namespace zel::sys {

namespace detail {

namespace {

Timer* Lookup(HWND h, UINT_PTR id) {
  for (Timer& t : U().timers)
    if (t.hwnd == h && t.id == id) return &t;
  return nullptr;
}

} // namespace

std::optional<uint64_t> NextTimerDue() {
  std::optional<uint64_t> due;
  for (const Timer& t : U().timers)
    if (!due || t.due < *due) due = t.due;
  return due;
}

bool TakeTimerMessage(MSG& msg, HWND filter, bool remove) {
  auto& u = U();
  const uint64_t now = ActiveClock().NowMs();
  Timer* best = nullptr;
  for (Timer& t : u.timers) {
    if (t.due > now) continue;
    if (filter && t.hwnd != filter) continue;
    if (!best || t.due < best->due || (t.due == best->due && t.serial < best->serial)) best = &t;
  }
  if (!best) return false;
  msg = MSG{};
  msg.hwnd = best->hwnd;
  msg.message = WM_TIMER;
  msg.wParam = best->id;
  msg.lParam = best->hasProc ? LPARAM(best->serial + 1) : 0;
  msg.time = DWORD(now);
  msg.pt = u.cursor;
  // The next period starts now: a late timer does not fire in a burst.
  if (remove) best->due = now + best->interval;
  return true;
}

bool CallTimerProc(const MSG& msg) {
  Timer* t = Lookup(msg.hwnd, msg.wParam);
  if (!t || !t->hasProc) return false;
  // A copy, because the procedure may kill or reset its own timer.
  TIMERPROC proc = t->proc;
  proc(msg.hwnd, WM_TIMER, msg.wParam, msg.time);
  return true;
}

bool TimerExists(HWND h, UINT_PTR id) {
  return Lookup(h, id) != nullptr;
}

void KillWindowTimers(HWND h) {
  auto& ts = U().timers;
  ts.erase(std::remove_if(ts.begin(), ts.end(), [h](const Timer& t) { return t.hwnd == h; }),
           ts.end());
}

} // namespace detail

using namespace detail;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
  auto& u = U();
  if (hwnd && !Find(hwnd)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  const UINT interval = std::clamp<UINT>(elapseMs, USER_TIMER_MINIMUM, 0x7FFFFFFF);
  const uint64_t due = ActiveClock().NowMs() + interval;
  if (hwnd) {
    if (Timer* t = Lookup(hwnd, id)) {
      t->interval = interval;
      t->due = due;
      t->proc = std::move(proc);
      t->hasProc = bool(t->proc);
      t->serial = u.timerSerial++;
      return id ? id : 1;
    }
  } else {
    id = u.nextTimerId++;
  }
  Timer t;
  t.hwnd = hwnd;
  t.id = id;
  t.interval = interval;
  t.due = due;
  t.serial = u.timerSerial++;
  t.hasProc = bool(proc);
  t.proc = std::move(proc);
  u.timers.push_back(std::move(t));
  return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto& ts = U().timers;
  auto it = std::find_if(ts.begin(), ts.end(),
                         [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == ts.end()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  ts.erase(it);
  return 1;
}

} // namespace zel::sys
