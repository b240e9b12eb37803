// Input: the events a backend reports, turned into mouse and keyboard
// messages when they are taken from the queue; capture, focus, activation,
// mouse-leave tracking, key state and cursors.

#include "platform/user/Input.h"

#include <algorithm>
#include <cstdlib>

#include "platform/clock/Clock.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/SystemParams.h"
#include "platform/user/UserState.h"
#include "platform/user/Window.h"

namespace zel::sys {

using namespace detail;

namespace {

constexpr DWORD kHoverTime = 400;

bool Down(const BYTE* keys, UINT vk) {
  return (keys[vk & 0xFF] & 0x80) != 0;
}

WPARAM MouseKeys(const BYTE* keys) {
  WPARAM k = 0;
  if (Down(keys, VK_LBUTTON)) k |= MK_LBUTTON;
  if (Down(keys, VK_RBUTTON)) k |= MK_RBUTTON;
  if (Down(keys, VK_MBUTTON)) k |= MK_MBUTTON;
  if (Down(keys, VK_SHIFT)) k |= MK_SHIFT;
  if (Down(keys, VK_CONTROL)) k |= MK_CONTROL;
  return k;
}

UINT ButtonVk(int button) {
  return button == 0 ? VK_LBUTTON : button == 1 ? VK_RBUTTON : VK_MBUTTON;
}

// Side-specific modifier keys also move the generic one.
UINT GenericOf(UINT vk) {
  switch (vk) {
  case VK_LSHIFT:
  case VK_RSHIFT:
    return VK_SHIFT;
  case VK_LCONTROL:
  case VK_RCONTROL:
    return VK_CONTROL;
  case VK_LMENU:
  case VK_RMENU:
    return VK_MENU;
  default:
    return 0;
  }
}

void SetKey(BYTE* keys, UINT vk, bool down) {
  BYTE& k = keys[vk & 0xFF];
  if (down)
    k = BYTE(k | 0x80 | 0x01);
  else
    k = BYTE(k & ~0x80);
  // The generic key is down while either side is.
  if (UINT g = GenericOf(vk)) {
    const UINT left = g == VK_SHIFT ? VK_LSHIFT : g == VK_CONTROL ? VK_LCONTROL : VK_LMENU;
    const bool any = Down(keys, left) || Down(keys, left + 1);
    BYTE& gk = keys[g];
    gk = any ? BYTE(gk | 0x80 | (down ? 0x01 : 0)) : BYTE(gk & ~0x80);
  }
}

void Enqueue(RawInput in) {
  auto& u = U();
  in.time = GetTickCount();
  in.mouseKeys = MouseKeys(u.asyncKeys);
  in.alt = Down(u.asyncKeys, VK_MENU);
  in.ctrl = Down(u.asyncKeys, VK_CONTROL);
  u.input.push_back(in);
}

// The deepest visible window under a screen point, leaving out the windows
// in `skip`.  A disabled child passes the mouse to its parent; a disabled
// top-level window takes it and gives it to nobody (*blocked).
Window* Candidate(POINT pt, const std::vector<const Window*>& skip, bool* blocked) {
  auto skipped = [&](const Window* w) {
    return std::find(skip.begin(), skip.end(), w) != skip.end();
  };
  for (Window* top : U().desktop->children) {
    if (!top->alive || !top->Visible() || (top->style & WS_MINIMIZE) || skipped(top)) continue;
    if (!PtInRect(WindowRectOnScreen(top), pt)) continue;
    if (!top->Enabled()) {
      *blocked = true;
      return nullptr;
    }
    Window* w = top;
    for (bool deeper = true; deeper;) {
      deeper = false;
      RECT client = w->client;
      const RECT wr = WindowRectOnScreen(w);
      OffsetRect(client, wr.left, wr.top);
      if (!PtInRect(client, pt)) break;
      for (Window* c : w->children) {
        if (!c->Visible() || skipped(c) || !PtInRect(WindowRectOnScreen(c), pt)) continue;
        if (!c->Enabled()) break;
        w = c;
        deeper = true;
        break;
      }
    }
    return w;
  }
  return nullptr;
}

// The window under a screen point, asking each candidate's WM_NCHITTEST: a
// window that answers HTTRANSPARENT is looked through, to the windows below
// it and then its parent.
Window* HitWindow(POINT pt, LRESULT* hitOut, bool sendHitTest) {
  std::vector<const Window*> skip;
  for (int guard = 0; guard < 256; ++guard) {
    bool blocked = false;
    Window* w = Candidate(pt, skip, &blocked);
    if (!w) return nullptr;
    LRESULT hit;
    if (sendHitTest) {
      const HWND h = w->handle;
      hit = SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
      w = Find(h);
      if (!w) return nullptr;
      if (hit == HTTRANSPARENT) {
        skip.push_back(w);
        continue;
      }
    } else {
      hit = DefaultHitTest(w, pt);
    }
    if (hitOut) *hitOut = hit;
    return w;
  }
  return nullptr;
}

void CheckMouseLeave(HWND under, LRESULT hit) {
  auto& u = U();
  if (!u.leave.hwnd || !(u.leave.flags & (TME_LEAVE | TME_HOVER))) return;
  const bool wantNc = (u.leave.flags & TME_NONCLIENT) != 0;
  const bool over = under == u.leave.hwnd && ((hit == HTCLIENT) != wantNc);
  if (over) {
    u.leave.hoverDue = ActiveClock().NowMs() + u.leave.hoverTime;
    return;
  }
  if (u.leave.flags & TME_LEAVE)
    PostMessage(u.leave.hwnd, wantNc ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
  u.leave = {};
}

UINT DownMessage(int button, bool nc) {
  static const UINT client[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
  static const UINT ncm[] = {WM_NCLBUTTONDOWN, WM_NCRBUTTONDOWN, WM_NCMBUTTONDOWN};
  return (nc ? ncm : client)[button];
}

bool IsDoubleClick(const RawInput& in, Window* w, UINT down, bool nc) {
  auto& u = U();
  const ClickMemory& c = u.lastClick;
  if (!c.valid || c.hwnd != w->handle || c.message != down) return false;
  if (in.time - c.time > GetDoubleClickTime()) return false;
  if (std::abs(in.pt.x - c.pt.x) * 2 > GetSystemMetrics(SM_CXDOUBLECLK)) return false;
  if (std::abs(in.pt.y - c.pt.y) * 2 > GetSystemMetrics(SM_CYDOUBLECLK)) return false;
  // Non-client double clicks come to every window, client ones only to CS_DBLCLKS classes.
  return nc || (w->cls && (w->cls->style & CS_DBLCLKS));
}

MSG MouseMessage(const RawInput& in, Window* w, UINT msgClient, UINT msgNc, LRESULT hit) {
  MSG m;
  m.hwnd = w->handle;
  m.time = in.time;
  m.pt = in.pt;
  if (hit == HTCLIENT) {
    POINT p = in.pt;
    ScreenToClient(w->handle, &p);
    m.message = msgClient;
    m.wParam = in.mouseKeys;
    m.lParam = MAKELPARAM(p.x, p.y);
  } else {
    m.message = msgNc;
    m.wParam = WPARAM(hit);
    m.lParam = MAKELPARAM(in.pt.x, in.pt.y);
  }
  return m;
}

void ObservePress(HWND window) {
  if (const auto observer = U().pressObserver) observer(window);
}

// Turns one mouse event into a message; false when it makes none.
bool RouteMouse(const RawInput& in, MSG& out) {
  auto& u = U();
  LRESULT hit = HTCLIENT;
  Window* w = nullptr;
  if (Window* cap = Find(u.capture)) {
    w = cap;
    LRESULT realHit = HTNOWHERE;
    Window* under = HitWindow(in.pt, &realHit, false);
    CheckMouseLeave(under ? under->handle : nullptr, realHit);
  } else {
    w = HitWindow(in.pt, &hit, true);
    CheckMouseLeave(w ? w->handle : nullptr, hit);
    if (!w) {
      u.lastMouseWnd = nullptr;
      if (in.kind == RawInput::ButtonDown) ObservePress(nullptr);
      return false;
    }
  }
  const HWND h = w->handle;
  u.lastMouseWnd = h;
  u.lastMouseHit = hit;
  const bool captured = u.capture == h;
  switch (in.kind) {
  case RawInput::Move:
    if (!captured) {
      SendMessage(h, WM_SETCURSOR, WPARAM(h), MAKELPARAM(int(hit), WM_MOUSEMOVE));
      if ((w = Find(h)) == nullptr) return false;
    }
    out = MouseMessage(in, w, WM_MOUSEMOVE, WM_NCMOUSEMOVE, hit);
    return true;
  case RawInput::ButtonDown: {
    ObservePress(h);
    if ((w = Find(h)) == nullptr) return false;
    const bool nc = hit != HTCLIENT;
    const UINT down = DownMessage(in.button, nc);
    if (!captured) {
      Window* top = TopLevelOf(w);
      if (top->handle != u.active || !u.appActive) {
        const LRESULT r =
            SendMessage(h, WM_MOUSEACTIVATE, WPARAM(top->handle), MAKELPARAM(int(hit), int(down)));
        if ((w = Find(h)) == nullptr) return false;
        top = TopLevelOf(w);
        if (r != MA_NOACTIVATE && r != MA_NOACTIVATEANDEAT && !(top->exStyle & WS_EX_NOACTIVATE))
          ActivateWindow(top, true);
        if (r == MA_ACTIVATEANDEAT || r == MA_NOACTIVATEANDEAT) return false;
        if ((w = Find(h)) == nullptr) return false;
      }
      SendMessage(h, WM_SETCURSOR, WPARAM(h), MAKELPARAM(int(hit), int(down)));
      if ((w = Find(h)) == nullptr) return false;
    }
    const bool dbl = IsDoubleClick(in, w, down, nc);
    if (dbl)
      u.lastClick.valid = false;
    else
      u.lastClick = ClickMemory{h, down, in.time, in.pt, true};
    // The double-click message follows the down message by 2.
    out = MouseMessage(in, w, down + (dbl ? 2 : 0), down + (dbl ? 2 : 0), hit);
    return true;
  }
  case RawInput::ButtonUp: {
    static const UINT client[] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
    static const UINT ncm[] = {WM_NCLBUTTONUP, WM_NCRBUTTONUP, WM_NCMBUTTONUP};
    out = MouseMessage(in, w, client[in.button], ncm[in.button], hit);
    return true;
  }
  case RawInput::Wheel:
    out.hwnd = h;
    out.message = WM_MOUSEWHEEL;
    out.wParam = MAKEWPARAM(int(in.mouseKeys), in.wheel);
    out.lParam = MAKELPARAM(in.pt.x, in.pt.y);
    out.time = in.time;
    out.pt = in.pt;
    return true;
  default:
    return false;
  }
}

bool RouteKey(const RawInput& in, MSG& out) {
  auto& u = U();
  HWND target = Find(u.focus) ? u.focus : nullptr;
  const bool noFocus = !target;
  if (noFocus) target = Find(u.active) ? u.active : nullptr;
  if (!target) return false;
  out.hwnd = target;
  out.time = in.time;
  out.pt = u.cursor;
  if (in.kind == RawInput::Char) {
    // Text typed with Alt held makes Alt's release no lone Alt, even when
    // the desktop reported the text without a key of its own (a letter of a
    // layout it has no key code for).
    u.altAlone = false;
    out.message = in.alt && !in.ctrl ? WM_SYSCHAR : WM_CHAR;
    out.wParam = WPARAM(in.ch);
    out.lParam = 1;
    return true;
  }
  const bool down = in.kind == RawInput::KeyDown;
  // Alt without Ctrl, F10, or no focus at all make the system form.  Alt's
  // own release is a system key only when no other key came between.
  bool sys = (in.alt && !in.ctrl) || in.vk == VK_F10 || noFocus;
  if (in.vk == VK_MENU || in.vk == VK_LMENU || in.vk == VK_RMENU) {
    if (down)
      u.altAlone = true;
    else
      sys = u.altAlone || noFocus;
  } else if (down) {
    u.altAlone = false;
  }
  out.message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  // Messages name the generic modifier, as the platform's do.
  out.wParam = GenericOf(in.vk) ? GenericOf(in.vk) : in.vk;
  LPARAM lp = 1;
  if (in.alt) lp |= LPARAM(1) << 29;
  if (!down || in.repeat) lp |= LPARAM(1) << 30;
  if (!down) lp |= LPARAM(1) << 31;
  out.lParam = lp;
  return true;
}

void SendActivateApp(bool active) {
  std::vector<HWND> tops;
  for (Window* t : U().desktop->children)
    tops.push_back(t->handle);
  for (HWND t : tops)
    SendMessage(t, WM_ACTIVATEAPP, active ? 1 : 0, 0);
}

void Deactivate(HWND old, HWND next) {
  Window* w = Find(old);
  if (!w) return;
  SendMessage(old, WM_NCACTIVATE, 0, 0);
  if ((w = Find(old)) == nullptr) return;
  SendMessage(old, WM_ACTIVATE, MAKEWPARAM(int(WA_INACTIVE), (w->style & WS_MINIMIZE) ? 1 : 0),
              reinterpret_cast<LPARAM>(next));
}

void LoseFocus() {
  auto& u = U();
  const HWND old = u.focus;
  u.focus = nullptr;
  if (Find(old)) SendMessage(old, WM_KILLFOCUS, 0, 0);
}

// UTF-8 to code points; a byte that starts no valid sequence becomes U+FFFD.
std::u32string DecodeText(std::string_view s) {
  std::u32string out;
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = 0;
    char32_t cp = c, least = 0;
    if (c >= 0x80) {
      if ((c >> 5) == 6)
        n = 1, cp = c & 0x1F, least = 0x80;
      else if ((c >> 4) == 14)
        n = 2, cp = c & 0x0F, least = 0x800;
      else if ((c >> 3) == 30)
        n = 3, cp = c & 0x07, least = 0x10000;
      else
        n = 99;
    }
    bool ok = n != 99 && i + n < s.size();
    for (size_t k = 1; ok && k <= n; ++k) {
      const unsigned char cc = static_cast<unsigned char>(s[i + k]);
      ok = (cc & 0xC0) == 0x80;
      cp = (cp << 6) | (cc & 0x3F);
    }
    if (!ok || cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    out.push_back(cp);
    i += n + 1;
  }
  return out;
}

} // namespace

// ---- Internal: activation --------------------------------------------------------

namespace detail {

void ActivateWindow(Window* w, bool byMouse) {
  auto& u = U();
  if (!w) return;
  w = TopLevelOf(w);
  const HWND h = w->handle;
  SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (u.active == h && u.appActive) return;
  const HWND old = u.appActive ? u.active : nullptr;
  if (old && old != h) w->activeBefore = old;
  u.active = h;
  if (old && old != h) Deactivate(old, h);
  if (!u.appActive) {
    u.appActive = true;
    SendActivateApp(true);
  }
  if (u.active != h || (w = Find(h)) == nullptr) return;
  SendMessage(h, WM_NCACTIVATE, 1, 0);
  if ((w = Find(h)) == nullptr) return;
  SendMessage(
      h, WM_ACTIVATE,
      MAKEWPARAM(int(byMouse ? WA_CLICKACTIVE : WA_ACTIVE), (w->style & WS_MINIMIZE) ? 1 : 0),
      reinterpret_cast<LPARAM>(old));
  if (u.backend && u.active == h) u.backend->WindowActivated(h);
}

namespace {

bool CanTakeActivation(const Window* t, const Window* leaving) {
  return t && t != leaving && t->alive && !t->destroying && !t->IsChild() && t->Visible() &&
         t->Enabled() && !(t->style & WS_MINIMIZE) && !(t->exStyle & WS_EX_NOACTIVATE);
}

// The window that was active before the leaving one, or before that one
// when it cannot take the activation any more (a chain of dialogs closed
// one after another), as long as the chain does not come round.
Window* ActiveBefore(Window* leaving) {
  std::vector<const Window*> seen{leaving};
  for (Window* t = Find(leaving->activeBefore); t; t = Find(t->activeBefore)) {
    if (std::find(seen.begin(), seen.end(), t) != seen.end()) break;
    if (CanTakeActivation(t, leaving)) return t;
    seen.push_back(t);
  }
  return nullptr;
}

} // namespace

// The activation goes, as on a desktop, to the leaving window's owner, else
// to the window that was active before it, else to the frontmost window
// that can take it.
void ActivateNextAfter(Window* leaving) {
  auto& u = U();
  const HWND gone = leaving ? leaving->handle : nullptr;
  Window* next = nullptr;
  if (leaving) {
    Window* owner = Find(leaving->owner);
    if (owner && owner->Visible() && owner->Enabled() && !(owner->style & WS_MINIMIZE))
      next = owner;
    else
      next = ActiveBefore(leaving);
  }
  for (Window* t : u.desktop->children) {
    if (next) break;
    if (CanTakeActivation(t, leaving)) next = t;
  }
  if (next) {
    ActivateWindow(next, false);
    return;
  }
  if (u.active == gone) {
    u.active = nullptr;
    Deactivate(gone, nullptr);
    LoseFocus();
    if (u.backend) u.backend->WindowActivated(nullptr);
  }
}

void WindowGoingAway(Window* w) {
  auto& u = U();
  const HWND h = w->handle;
  CaretOwnerGoingAway(h);
  if (u.active == h) u.active = nullptr;
  if (u.focus == h) u.focus = nullptr;
  if (u.capture == h) {
    u.capture = nullptr;
    if (u.backend) u.backend->CaptureChanged(nullptr);
  }
  if (u.leave.hwnd == h) u.leave = {};
  if (u.lastMouseWnd == h) u.lastMouseWnd = nullptr;
  if (u.lastClick.hwnd == h) u.lastClick = {};
  if (u.tracking.hwnd == h) u.tracking = {};
}

namespace {
// A press whose release never comes: a move or size goes back, the holder
// of the capture hears WM_CANCELMODE (drags end there as a cancel) and lets
// the capture go, and no button counts as down any longer.
void CancelPress() {
  auto& u = U();
  for (int b = 0; b < 3; ++b)
    SetKey(u.syncKeys, ButtonVk(b), false);
  if (u.tracking.mode != Tracking::None) CancelTracking(true);
  if (const HWND holder = GetCapture()) {
    SendMessage(holder, WM_CANCELMODE, 0, 0);
    if (GetCapture() == holder) ReleaseCapture();
  }
}
} // namespace

bool TakeInputMessage(MSG& msg) {
  auto& u = U();
  while (!u.input.empty()) {
    const RawInput in = u.input.front();
    u.input.pop_front();
    u.cursor = in.kind <= RawInput::Wheel ? in.pt : u.cursor;
    switch (in.kind) {
    case RawInput::ButtonDown:
      SetKey(u.syncKeys, ButtonVk(in.button), true);
      break;
    case RawInput::ButtonUp:
      SetKey(u.syncKeys, ButtonVk(in.button), false);
      break;
    case RawInput::KeyDown:
      SetKey(u.syncKeys, in.vk, true);
      break;
    case RawInput::KeyUp:
      SetKey(u.syncKeys, in.vk, false);
      break;
    default:
      break;
    }
    if (in.kind == RawInput::ButtonsLost) {
      CancelPress();
      continue;
    }
    // A key with no name makes no message, but it did come between Alt's
    // press and its release.
    if (in.kind == RawInput::Unnamed) {
      u.altAlone = false;
      continue;
    }
    if (KeyTrackingInput(in)) continue;
    if (in.kind == RawInput::KeyDown && in.vk == VK_ESCAPE && u.tracking.mode != Tracking::None &&
        u.tracking.mode != Tracking::Button) {
      CancelTracking(true);
      continue;
    }
    if (in.kind <= RawInput::Wheel) {
      if (TrackingMouse(in)) continue;
      if (RouteMouse(in, msg)) return true;
    } else if (RouteKey(in, msg)) {
      return true;
    }
  }
  // Hover: the mouse rested long enough over the tracked window.
  if (u.leave.hwnd && (u.leave.flags & TME_HOVER) && ActiveClock().NowMs() >= u.leave.hoverDue) {
    POINT p = u.cursor;
    ScreenToClient(u.leave.hwnd, &p);
    msg = MSG{u.leave.hwnd,         WM_MOUSEHOVER,  MouseKeys(u.syncKeys),
              MAKELPARAM(p.x, p.y), GetTickCount(), u.cursor};
    u.leave.flags &= ~TME_HOVER;
    if (!(u.leave.flags & TME_LEAVE)) u.leave = {};
    return true;
  }
  return false;
}

} // namespace detail

// ---- Backend input ---------------------------------------------------------------

void InputMouseMove(POINT screen) {
  U().cursor = screen;
  RawInput in;
  in.kind = RawInput::Move;
  in.pt = screen;
  Enqueue(in);
}

void InputMouseButton(MouseButton button, bool down, POINT screen) {
  auto& u = U();
  u.cursor = screen;
  RawInput in;
  in.kind = down ? RawInput::ButtonDown : RawInput::ButtonUp;
  in.pt = screen;
  in.button = button == MouseButton::Left ? 0 : button == MouseButton::Right ? 1 : 2;
  SetKey(u.asyncKeys, ButtonVk(in.button), down);
  Enqueue(in);
}

void InputMouseButtonsLost() {
  auto& u = U();
  for (int b = 0; b < 3; ++b)
    SetKey(u.asyncKeys, ButtonVk(b), false);
  RawInput in;
  in.kind = RawInput::ButtonsLost;
  in.pt = u.cursor;
  Enqueue(in);
}

void InputMouseWheel(int delta, POINT screen) {
  U().cursor = screen;
  RawInput in;
  in.kind = RawInput::Wheel;
  in.pt = screen;
  in.wheel = delta;
  Enqueue(in);
}

void InputKey(UINT vk, bool down) {
  auto& u = U();
  if (vk == 0 && down) {
    RawInput in;
    in.kind = RawInput::Unnamed;
    in.pt = u.cursor;
    Enqueue(in);
  }
  if (vk == 0 || vk > 0xFF) return;
  RawInput in;
  in.kind = down ? RawInput::KeyDown : RawInput::KeyUp;
  in.vk = vk;
  in.repeat = down && Down(u.asyncKeys, vk);
  in.pt = u.cursor;
  SetKey(u.asyncKeys, vk, down);
  Enqueue(in);
}

void InputText(std::string_view utf8) {
  for (char32_t cp : DecodeText(utf8)) {
    RawInput in;
    in.kind = RawInput::Char;
    in.ch = cp;
    in.pt = U().cursor;
    Enqueue(in);
  }
}

void InputAppActive(bool active) {
  auto& u = U();
  if (active == u.appActive) return;
  if (active) {
    Window* w = Find(u.active);
    if (!w || !w->Visible()) {
      u.active = nullptr;
      for (Window* t : u.desktop->children)
        if (t->Visible() && t->Enabled() && !(t->style & WS_MINIMIZE)) {
          w = t;
          break;
        }
    }
    if (w)
      ActivateWindow(w, false);
    else {
      u.appActive = true;
      SendActivateApp(true);
    }
    return;
  }
  ObservePress(nullptr);
  const HWND old = u.active;
  // A move, a size or a pressed button does not survive losing the foreground.
  if (u.tracking.mode != Tracking::None) CancelTracking(false);
  Deactivate(old, nullptr);
  u.appActive = false;
  SendActivateApp(false);
  LoseFocus();
  if (u.backend) u.backend->WindowActivated(nullptr);
}

void SetPressObserver(std::function<void(HWND window)> observer) {
  U().pressObserver = std::move(observer);
}

void InputActivateWindow(HWND hwnd) {
  Window* w = Find(hwnd);
  // Windows that refuse activation keep it from the desktop's means too.
  if (!w || !w->Enabled() || (w->exStyle & WS_EX_NOACTIVATE)) return;
  ActivateWindow(w, false);
}

void InputCloseWindow(HWND hwnd) {
  if (Find(hwnd)) PostMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void InputEndSession() {
  auto& u = U();
  // A second signal while the first close runs must not close (and save)
  // again.
  if (u.sessionEnding) return;
  u.sessionEnding = true;
  ObservePress(nullptr);
  CancelPress();
  for (Window* t : u.desktop->children)
    if (!t->owner && ((t->style & WS_POPUP) == 0 || (t->style & WS_CAPTION) == WS_CAPTION))
      PostMessage(t->handle, WM_ENDSESSION, TRUE, 0);
}

void InputIconifyWindow(HWND hwnd, bool iconic) {
  Window* w = Find(hwnd);
  if (!w || iconic == ((w->style & WS_MINIMIZE) != 0)) return;
  // Windows without a minimise box (dialogs, floating forms) go and come
  // with their owner; their own state stays as it is.
  if (!(w->style & WS_MINIMIZEBOX)) return;
  PostMessage(hwnd, WM_SYSCOMMAND, iconic ? SC_MINIMIZE : SC_RESTORE, 0);
}

// ---- Capture --------------------------------------------------------------------

HWND SetCapture(HWND hwnd) {
  auto& u = U();
  const HWND old = u.capture;
  if (!Find(hwnd)) return Find(old) ? old : nullptr;
  if (old == hwnd) return old;
  if (u.tracking.mode != Tracking::None && u.tracking.hwnd == old) u.tracking = {};
  u.capture = hwnd;
  if (Find(old)) SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  if (u.backend) u.backend->CaptureChanged(u.capture);
  return Find(old) ? old : nullptr;
}

BOOL ReleaseCapture() {
  auto& u = U();
  const HWND old = u.capture;
  if (!old) return 1;
  u.capture = nullptr;
  if (u.tracking.mode != Tracking::None && u.tracking.hwnd == old) CancelTracking(false);
  if (Find(old)) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
  if (u.backend) u.backend->CaptureChanged(nullptr);
  return 1;
}

HWND GetCapture() {
  return Find(U().capture) ? U().capture : nullptr;
}

// ---- Focus and activation ----------------------------------------------------------

HWND SetFocus(HWND hwnd) {
  auto& u = U();
  const HWND old = Find(u.focus) ? u.focus : nullptr;
  if (!hwnd) {
    LoseFocus();
    return old;
  }
  Window* w = Find(hwnd);
  if (!w || w == u.desktop) return nullptr;
  Window* top = TopLevelOf(w);
  if (u.active != top->handle || !u.appActive) {
    ActivateWindow(top, false);
    if (!Find(hwnd)) return old;
  }
  const HWND prev = Find(u.focus) ? u.focus : nullptr;
  if (prev == hwnd) return prev;
  u.focus = hwnd;
  if (prev) SendMessage(prev, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (u.focus == hwnd && Find(hwnd))
    SendMessage(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(prev), 0);
  return prev;
}

HWND GetFocus() {
  return Find(U().focus) ? U().focus : nullptr;
}

HWND SetActiveWindow(HWND hwnd) {
  auto& u = U();
  const HWND old = GetActiveWindow();
  Window* w = Find(hwnd);
  if (!w || w == u.desktop) return old;
  ActivateWindow(w, false);
  return old;
}

HWND GetActiveWindow() {
  auto& u = U();
  return u.appActive && Find(u.active) ? u.active : nullptr;
}

BOOL SetForegroundWindow(HWND hwnd) {
  return SetActiveWindow(hwnd) || GetActiveWindow() == hwnd;
}

HWND GetForegroundWindow() {
  return GetActiveWindow();
}

bool IsApplicationActive() {
  return U().appActive;
}

// ---- Mouse ----------------------------------------------------------------------------

HWND WindowFromPoint(POINT screen) {
  Window* w = HitWindow(screen, nullptr, true);
  return w ? w->handle : nullptr;
}

BOOL GetCursorPos(POINT* pt) {
  if (!pt) return 0;
  *pt = U().cursor;
  return 1;
}

BOOL SetCursorPos(int x, int y) {
  InputMouseMove(POINT{x, y});
  if (U().backend) U().backend->CursorMoved(POINT{x, y});
  return 1;
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme) {
  auto& u = U();
  if (!tme || tme->cbSize != sizeof(TRACKMOUSEEVENT)) return 0;
  if (tme->dwFlags & TME_QUERY) {
    tme->hwndTrack = u.leave.hwnd;
    tme->dwFlags = u.leave.flags;
    tme->dwHoverTime = u.leave.hoverTime;
    return 1;
  }
  if (tme->dwFlags & TME_CANCEL) {
    if (u.leave.hwnd == tme->hwndTrack) {
      u.leave.flags &= ~(tme->dwFlags & (TME_LEAVE | TME_HOVER));
      if (!(u.leave.flags & (TME_LEAVE | TME_HOVER))) u.leave = {};
    }
    return 1;
  }
  if (!Find(tme->hwndTrack)) return 0;
  const bool nc = (tme->dwFlags & TME_NONCLIENT) != 0;
  if (u.leave.hwnd && u.leave.hwnd != tme->hwndTrack && (u.leave.flags & TME_LEAVE))
    PostMessage(u.leave.hwnd, (u.leave.flags & TME_NONCLIENT) ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0,
                0);
  // The mouse is over the window when the last mouse message went to it (in
  // the tracked part); otherwise the leave is due at once.
  const bool over = u.lastMouseWnd == tme->hwndTrack && ((u.lastMouseHit == HTCLIENT) != nc);
  if (!over) {
    u.leave = {};
    if (tme->dwFlags & TME_LEAVE)
      PostMessage(tme->hwndTrack, nc ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
    return 1;
  }
  const DWORD keep = (u.leave.hwnd == tme->hwndTrack) ? u.leave.flags : 0;
  u.leave.hwnd = tme->hwndTrack;
  u.leave.flags = keep | (tme->dwFlags & (TME_LEAVE | TME_HOVER | TME_NONCLIENT));
  u.leave.hoverTime =
      tme->dwHoverTime == HOVER_DEFAULT || tme->dwHoverTime == 0 ? kHoverTime : tme->dwHoverTime;
  u.leave.hoverDue = ActiveClock().NowMs() + u.leave.hoverTime;
  return 1;
}

// ---- Keys ---------------------------------------------------------------------------

short GetAsyncKeyState(int vk) {
  if (vk < 0 || vk > 0xFF) return 0;
  BYTE& k = U().asyncKeys[vk];
  const short r = short(((k & 0x80) ? 0x8000 : 0) | (k & 0x01));
  k = BYTE(k & ~0x01);
  return r;
}

BOOL GetKeyboardState(BYTE* keys) {
  if (!keys) return 0;
  for (int i = 0; i < 256; ++i)
    keys[i] = BYTE(U().syncKeys[i] & 0x80);
  return 1;
}

short GetKeyState(int vk) {
  if (vk < 0 || vk > 0xFF) return 0;
  return (U().syncKeys[vk] & 0x80) ? short(0x8000) : 0;
}

// ---- Cursors ----------------------------------------------------------------------

HCURSOR LoadCursor(void* instance, int id) {
  static const Cursor cursors[] = {{IDC_ARROW},       {IDC_IBEAM},    {IDC_WAIT},     {IDC_CROSS},
                                   {IDC_UPARROW},     {IDC_SIZENWSE}, {IDC_SIZENESW}, {IDC_SIZEWE},
                                   {IDC_SIZENS},      {IDC_SIZEALL},  {IDC_NO},       {IDC_HAND},
                                   {IDC_APPSTARTING}, {IDC_HELP}};
  if (instance) return nullptr;
  for (const Cursor& c : cursors)
    if (c.id == id) return &c;
  return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
  auto& u = U();
  const HCURSOR old = u.cursorShape;
  if (cursor != old) {
    u.cursorShape = cursor;
    if (u.backend) u.backend->CursorShapeChanged(cursor ? cursor->id : 0);
  }
  return old;
}

HCURSOR GetCursor() {
  return U().cursorShape;
}

} // namespace zel::sys
