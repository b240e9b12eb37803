// The message queue: sending, posting, taking messages in the platform's
// order of priority, dispatching, and waiting.

#include "platform/user/MessageQueue.h"

#include <stdexcept>
#include <thread>

#include "platform/clock/Clock.h"
#include "platform/user/UserState.h"
#include "platform/user/Window.h"

namespace zel::sys {

using namespace detail;

namespace {

constexpr UINT kInputFirst = WM_KEYDOWN;
constexpr UINT kInputLast = WM_MOUSELEAVE;

bool InRange(UINT m, UINT lo, UINT hi) {
  return (lo == 0 && hi == 0) || (m >= lo && m <= hi);
}

bool MatchesWindow(HWND msgHwnd, HWND filter) {
  return !filter || msgHwnd == filter || IsChild(filter, msgHwnd);
}

// Takes (or, without remove, copies) the next message in priority order.
bool TakeMessage(MSG& out, HWND hwnd, UINT lo, UINT hi, bool remove) {
  auto& u = U();
  for (auto it = u.posted.begin(); it != u.posted.end(); ++it) {
    if (!MatchesWindow(it->hwnd, hwnd) || !InRange(it->message, lo, hi)) continue;
    out = *it;
    if (remove) u.posted.erase(it);
    return true;
  }
  if (u.quitPending) {
    out = MSG{};
    out.message = WM_QUIT;
    out.wParam = WPARAM(u.quitCode);
    out.time = GetTickCount();
    if (remove) u.quitPending = false;
    return true;
  }
  const bool inputWanted = (lo == 0 && hi == 0) || (lo <= kInputLast && hi >= kInputFirst);
  if (inputWanted) {
    // Input becomes a message one event at a time, so that each meets the
    // state the previous one left; more is routed only while nothing routed
    // matches the filter.
    for (;;) {
      for (auto it = u.routed.begin(); it != u.routed.end(); ++it) {
        if (!MatchesWindow(it->hwnd, hwnd) || !InRange(it->message, lo, hi)) continue;
        out = *it;
        if (remove) u.routed.erase(it);
        return true;
      }
      MSG m;
      if (!TakeInputMessage(m)) break;
      u.routed.push_back(m);
    }
    // Input may have posted something (a mouse leave, a system command).
    for (auto it = u.posted.begin(); it != u.posted.end(); ++it) {
      if (!MatchesWindow(it->hwnd, hwnd) || !InRange(it->message, lo, hi)) continue;
      out = *it;
      if (remove) u.posted.erase(it);
      return true;
    }
  }
  if (InRange(WM_PAINT, lo, hi) && TakePaintMessage(out, hwnd)) {
    out.time = GetTickCount();
    out.pt = u.cursor;
    return true;
  }
  if (InRange(WM_TIMER, lo, hi) && TakeTimerMessage(out, hwnd, remove)) return true;
  return false;
}

// The next moment something is due without input: a timer or a mouse hover.
std::optional<uint64_t> NextWakeup() {
  auto& u = U();
  std::optional<uint64_t> due = NextTimerDue();
  if (u.leave.hwnd && (u.leave.flags & TME_HOVER) && (!due || u.leave.hoverDue < *due))
    due = u.leave.hoverDue;
  return due;
}

void WaitForMore();

bool SomethingWaiting() {
  auto& u = U();
  if (!u.posted.empty() || u.quitPending || !u.input.empty() || !u.routed.empty()) return true;
  if (AnyPaintPending()) return true;
  const auto due = NextWakeup();
  return due && *due <= ActiveClock().NowMs();
}

} // namespace

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hwnd);
  if (!w || !w->alive) return 0;
  return CallProc(w, msg, wParam, lParam);
}

BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd && !Find(hwnd)) return 0;
  MSG m;
  m.hwnd = hwnd;
  m.message = msg;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = GetTickCount();
  m.pt = U().cursor;
  U().posted.push_back(m);
  return 1;
}

void PostQuitMessage(int exitCode) {
  U().quitPending = true;
  U().quitCode = exitCode;
}

BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  CollectGarbage();
  MSG m;
  if (!TakeMessage(m, hwnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0)) return 0;
  if (removeFlags & PM_REMOVE) U().current = m;
  if (msg) *msg = m;
  return 1;
}

BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  for (;;) {
    CollectGarbage();
    MSG m;
    if (TakeMessage(m, hwnd, filterMin, filterMax, true)) {
      U().current = m;
      if (msg) *msg = m;
      return m.message != WM_QUIT;
    }
    // Whatever is still waiting does not match the filter: wait for more.
    WaitForMore();
  }
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return 0;
  const bool ctrl = (U().syncKeys[VK_CONTROL] & 0x80) != 0;
  char32_t ch = 0;
  switch (msg->wParam) {
  case VK_RETURN:
    ch = '\r';
    break;
  case VK_BACK:
    ch = 8;
    break;
  case VK_TAB:
    ch = '\t';
    break;
  case VK_ESCAPE:
    ch = 27;
    break;
  default:
    if (msg->message == WM_SYSKEYDOWN) {
      // Alt with a letter or digit: the character that names a menu or a
      // command; Alt+Space: the one that opens the system menu.
      const bool shift = (U().syncKeys[VK_SHIFT] & 0x80) != 0;
      if (msg->wParam == VK_SPACE)
        ch = ' ';
      else if (msg->wParam >= 'A' && msg->wParam <= 'Z')
        ch = char32_t(shift ? msg->wParam : msg->wParam - 'A' + 'a');
      else if (msg->wParam >= '0' && msg->wParam <= '9')
        ch = char32_t(msg->wParam);
    } else if (ctrl && msg->wParam >= 'A' && msg->wParam <= 'Z') {
      ch = char32_t(msg->wParam - 'A' + 1);
    }
  }
  if (!ch) return 0;
  MSG c = *msg;
  c.message = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
  c.wParam = ch;
  // The character comes next, before anything else waiting.
  U().posted.push_front(c);
  return 1;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    CallTimerProc(*msg);
    return 0;
  }
  Window* w = Find(msg->hwnd);
  if (!w) return 0;
  if (msg->message == WM_PAINT) {
    const int before = BeginPaintCount();
    const LRESULT r = CallProc(w, msg->message, msg->wParam, msg->lParam);
    if (BeginPaintCount() == before) ValidateAfterUnpaintedPaint(msg->hwnd);
    return r;
  }
  if (msg->message == WM_TIMER && !TimerExists(msg->hwnd, msg->wParam)) return 0;
  return CallProc(w, msg->message, msg->wParam, msg->lParam);
}

BOOL WaitMessage() {
  if (SomethingWaiting()) return 1;
  WaitForMore();
  return 1;
}

namespace {

// Sleeps until input arrives or the next timer or hover falls due.
void WaitForMore() {
  auto& u = U();
  if (u.backend) u.backend->Present();
  const uint64_t now = ActiveClock().NowMs();
  DWORD timeout = INFINITE;
  if (const auto due = NextWakeup())
    timeout = *due > now ? DWORD(std::min<uint64_t>(*due - now, 0x7FFFFFFE)) : 0;
  if (u.backend) {
    u.backend->WaitForInput(timeout);
    return;
  }
  // Without a backend nothing but time can bring a message.
  if (timeout == INFINITE)
    throw std::runtime_error("WaitMessage: no backend and no timer, so no message can ever come");
  if (ActiveClock().IsVirtual())
    static_cast<VirtualClock&>(ActiveClock()).Advance(timeout);
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(timeout));
}

} // namespace

DWORD GetMessageTime() {
  return U().current.time;
}

DWORD GetMessagePos() {
  const POINT p = U().current.pt;
  return DWORD(WORD(p.x)) | (DWORD(WORD(p.y)) << 16);
}

bool PumpMessages() {
  // A generous bound: a program that keeps posting to itself must not hang a test.
  for (int i = 0; i < 1000000; ++i) {
    MSG m;
    if (!PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (U().backend) U().backend->Present();
      return true;
    }
    if (m.message == WM_QUIT) {
      PostQuitMessage(int(m.wParam));
      return false;
    }
    TranslateMessage(&m);
    DispatchMessage(&m);
  }
  return true;
}

void AdvanceTime(DWORD ms) {
  Clock& clock = ActiveClock();
  const uint64_t target = clock.NowMs() + ms;
  if (!PumpMessages()) return;
  if (clock.IsVirtual()) {
    auto& vc = static_cast<VirtualClock&>(clock);
    for (;;) {
      const auto due = NextWakeup();
      if (!due || *due > target) break;
      vc.AdvanceTo(*due);
      if (!PumpMessages()) return;
    }
    vc.AdvanceTo(target);
    PumpMessages();
    return;
  }
  while (clock.NowMs() < target) {
    if (!PumpMessages()) return;
    const uint64_t now = clock.NowMs();
    if (now >= target) break;
    uint64_t wait = target - now;
    if (const auto due = NextWakeup()) wait = std::min(wait, *due > now ? *due - now : 0);
    if (U().backend)
      U().backend->WaitForInput(DWORD(wait));
    else
      std::this_thread::sleep_for(std::chrono::milliseconds(wait));
  }
  PumpMessages();
}

} // namespace zel::sys
