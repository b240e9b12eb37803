// Window scroll bars: their state, layout, painting and the mouse tracking
// that turns presses into WM_HSCROLL / WM_VSCROLL.
//
//   pressed part  | while held                          | release
//   --------------+-------------------------------------+--------------------------------
//   arrow, page   | the request again every 50 ms after | SB_ENDSCROLL
//                 | 400 ms, while the cursor stays on it |
//   thumb         | SB_THUMBTRACK at each new position  | SB_THUMBPOSITION, SB_ENDSCROLL

#include "platform/user/ScrollBar.h"

#include <algorithm>

#include "platform/user/Input.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Paint.h"
#include "platform/user/SystemParams.h"
#include "platform/user/Timers.h"
#include "platform/user/UserState.h"
#include "platform/user/Window.h"

namespace zel::sys {

namespace detail {

namespace {

// A timer identifier of the system's own on the tracked window.
constexpr UINT_PTR kRepeatTimer = 0xFFFF5C01;
constexpr UINT kFirstDelay = 400;
constexpr UINT kRepeatDelay = 50;

struct Layout {
  RECT bar{}, up{}, down{}, track{}, thumb{};
  bool vertical = false;
  bool hasThumb = false;
};

int MaxPos(const ScrollBarState& s) {
  return std::max(s.min, s.max - std::max(s.page - 1, 0));
}

bool CanScroll(const ScrollBarState& s) {
  return !s.disabled && MaxPos(s) > s.min;
}

Layout MakeLayout(const Window* w, int bar, int pos) {
  Layout l;
  const NcGeometry g = ComputeNcGeometry(w->style, w->exStyle, w->rect.Width(), w->rect.Height());
  l.vertical = bar == SB_VERT;
  l.bar = l.vertical ? g.vScroll : g.hScroll;
  if (IsRectEmpty(l.bar)) return l;
  const RECT r = l.bar;
  const int len = l.vertical ? r.Height() : r.Width();
  const int thick = l.vertical ? r.Width() : r.Height();
  const int arrow = std::min(thick, len / 2);
  if (l.vertical) {
    l.up = RECT{r.left, r.top, r.right, r.top + arrow};
    l.down = RECT{r.left, r.bottom - arrow, r.right, r.bottom};
    l.track = RECT{r.left, l.up.bottom, r.right, l.down.top};
  } else {
    l.up = RECT{r.left, r.top, r.left + arrow, r.bottom};
    l.down = RECT{r.right - arrow, r.top, r.right, r.bottom};
    l.track = RECT{l.up.right, r.top, l.down.left, r.bottom};
  }
  const ScrollBarState& s = w->scroll[bar];
  const int trackLen = l.vertical ? l.track.Height() : l.track.Width();
  if (!CanScroll(s) || trackLen < 8) return l;
  const int range = s.max - s.min + 1;
  int thumbLen = s.page > 0 ? int(int64_t(trackLen) * s.page / range) : thick;
  thumbLen = std::clamp(thumbLen, std::min(8, trackLen), trackLen);
  const int span = MaxPos(s) - s.min;
  const int start =
      int(int64_t(std::clamp(pos, s.min, MaxPos(s)) - s.min) * (trackLen - thumbLen) / span);
  l.hasThumb = true;
  l.thumb = l.vertical
                ? RECT{r.left, l.track.top + start, r.right, l.track.top + start + thumbLen}
                : RECT{l.track.left + start, r.top, l.track.left + start + thumbLen, r.bottom};
  return l;
}

int PartAt(const Layout& l, POINT p) {
  if (PtInRect(l.up, p)) return SP_LINEUP;
  if (PtInRect(l.down, p)) return SP_LINEDOWN;
  if (!l.hasThumb || !PtInRect(l.track, p)) return SP_NONE;
  if (PtInRect(l.thumb, p)) return SP_THUMB;
  const bool before = l.vertical ? p.y < l.thumb.top : p.x < l.thumb.left;
  return before ? SP_PAGEUP : SP_PAGEDOWN;
}

// The position that puts the thumb's leading edge at pixel `edge` of the track.
int PosAtPixel(const Window* w, int bar, const Layout& l, int edge) {
  const ScrollBarState& s = w->scroll[bar];
  const int trackLen = l.vertical ? l.track.Height() : l.track.Width();
  const int thumbLen = l.vertical ? l.thumb.Height() : l.thumb.Width();
  const int room = trackLen - thumbLen;
  if (room <= 0) return s.min;
  edge = std::clamp(edge, 0, room);
  const int span = MaxPos(s) - s.min;
  return s.min + int((int64_t(edge) * span + room / 2) / room);
}

POINT ToWindow(const Window* w, POINT screen) {
  const RECT wr = WindowRectOnScreen(w);
  return POINT{screen.x - wr.left, screen.y - wr.top};
}

void SendScroll(HWND h, int bar, WORD code, int pos) {
  SendMessage(h, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, pos), 0);
}

WORD RequestOf(int part) {
  switch (part) {
  case SP_LINEUP:
    return SB_LINEUP;
  case SP_LINEDOWN:
    return SB_LINEDOWN;
  case SP_PAGEUP:
    return SB_PAGEUP;
  default:
    return SB_PAGEDOWN;
  }
}

void RepaintBars(HWND h) {
  Window* w = Find(h);
  if (!w || !IsDrawable(w)) return;
  const NcGeometry g = ComputeNcGeometry(w->style, w->exStyle, w->rect.Width(), w->rect.Height());
  HDC dc = GetWindowDC(h);
  if (!dc) return;
  PaintScrollBars(w, dc, g);
  ReleaseDC(h, dc);
}

void DrawArrow(HDC dc, const RECT& r, bool vertical, bool towardsStart, bool enabled,
               bool pressed) {
  const int s = std::max(2, std::min(r.Width(), r.Height()) / 4);
  int cx = r.left + r.Width() / 2, cy = r.top + r.Height() / 2;
  if (pressed) ++cx, ++cy;
  const int color = enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT;
  // Rows of the triangle, from the tip outwards.
  for (int i = 0; i < s; ++i) {
    const int along = (towardsStart ? -s / 2 + i : s / 2 - i);
    RECT row = vertical ? RECT{cx - i, cy + along, cx + i + 1, cy + along + 1}
                        : RECT{cx + along, cy - i, cx + along + 1, cy + i + 1};
    FillSysColor(dc, row, color);
  }
}

// Holding an arrow or the page area repeats the request.
void RepeatScroll(HWND hw, UINT, UINT_PTR id, DWORD) {
  const Tracking& t = U().tracking;
  if (t.mode != Tracking::Scroll || t.hwnd != hw || t.part == SP_THUMB) {
    KillTimer(hw, id);
    return;
  }
  if (t.over) SendScroll(hw, t.bar, RequestOf(t.part), 0);
  if (IsWindow(hw) && U().tracking.mode == Tracking::Scroll)
    SetTimer(hw, id, kRepeatDelay, &RepeatScroll);
}

} // namespace

void PaintScrollBars(Window* w, HDC dc, const NcGeometry& g) {
  const Tracking& t = U().tracking;
  for (int bar = 0; bar < 2; ++bar) {
    const bool tracking = t.mode == Tracking::Scroll && t.hwnd == w->handle && t.bar == bar;
    const ScrollBarState& s = w->scroll[bar];
    const Layout l = MakeLayout(w, bar, tracking && t.part == SP_THUMB ? s.trackPos : s.pos);
    if (IsRectEmpty(l.bar)) continue;
    const bool enabled = CanScroll(s);
    const int pressed = tracking && t.over ? t.part : SP_NONE;
    DrawButtonBox(dc, l.up, pressed == SP_LINEUP);
    DrawArrow(dc, l.up, l.vertical, true, enabled, pressed == SP_LINEUP);
    DrawButtonBox(dc, l.down, pressed == SP_LINEDOWN);
    DrawArrow(dc, l.down, l.vertical, false, enabled, pressed == SP_LINEDOWN);
    FillSysColor(dc, l.track, COLOR_SCROLLBAR);
    if (l.hasThumb) {
      if (pressed == SP_PAGEUP || pressed == SP_PAGEDOWN) {
        RECT part = l.track;
        if (pressed == SP_PAGEUP)
          (l.vertical ? part.bottom : part.right) = l.vertical ? l.thumb.top : l.thumb.left;
        else
          (l.vertical ? part.top : part.left) = l.vertical ? l.thumb.bottom : l.thumb.right;
        FillSysColor(dc, part, COLOR_3DDKSHADOW);
      }
      DrawButtonBox(dc, l.thumb, false);
    }
  }
  if (!IsRectEmpty(g.sizeBox)) FillSysColor(dc, g.sizeBox, COLOR_BTNFACE);
}

void StartScrollTracking(Window* w, int bar, POINT screen) {
  auto& u = U();
  const HWND h = w->handle;
  ScrollBarState& s = w->scroll[bar];
  const Layout l = MakeLayout(w, bar, s.pos);
  const POINT p = ToWindow(w, screen);
  const int part = PartAt(l, p);
  if (part == SP_NONE || !CanScroll(s)) return;
  CancelTracking(false);
  SetCapture(h);
  if ((w = Find(h)) == nullptr) return;
  u.tracking = Tracking{};
  u.tracking.mode = Tracking::Scroll;
  u.tracking.hwnd = h;
  u.tracking.bar = bar;
  u.tracking.part = part;
  u.tracking.start = screen;
  u.tracking.over = true;
  if (part == SP_THUMB) {
    u.tracking.grab = l.vertical ? p.y - l.thumb.top : p.x - l.thumb.left;
    w->scroll[bar].trackPos = w->scroll[bar].pos;
    RepaintBars(h);
    return;
  }
  RepaintBars(h);
  SendScroll(h, bar, RequestOf(part), 0);
  // Holding the press repeats the request: after a pause, then quickly.
  SetTimer(h, kRepeatTimer, kFirstDelay, &RepeatScroll);
}

bool ScrollTrackingMouse(const RawInput& in) {
  auto& u = U();
  Tracking& t = u.tracking;
  Window* w = Find(t.hwnd);
  if (!w) {
    u.tracking = {};
    return false;
  }
  const HWND h = t.hwnd;
  if (in.kind == RawInput::Move) {
    ScrollBarState& s = w->scroll[t.bar];
    const POINT p = ToWindow(w, in.pt);
    if (t.part == SP_THUMB) {
      const Layout l = MakeLayout(w, t.bar, s.trackPos);
      const int along = l.vertical ? p.y - l.track.top : p.x - l.track.left;
      const int pos = PosAtPixel(w, t.bar, l, along - t.grab);
      if (pos != s.trackPos) {
        s.trackPos = pos;
        RepaintBars(h);
        SendScroll(h, t.bar, SB_THUMBTRACK, pos);
      }
    } else {
      const bool over = PartAt(MakeLayout(w, t.bar, s.pos), p) == t.part;
      if (over != t.over) {
        t.over = over;
        RepaintBars(h);
      }
    }
    return true;
  }
  if (in.kind == RawInput::ButtonUp && in.button == 0) {
    EndScrollTracking();
    return true;
  }
  return in.kind != RawInput::KeyDown && in.kind != RawInput::KeyUp && in.kind != RawInput::Char;
}

void EndScrollTracking() {
  auto& u = U();
  const Tracking t = u.tracking;
  if (t.mode != Tracking::Scroll) return;
  u.tracking = {};
  KillTimer(t.hwnd, kRepeatTimer);
  if (u.capture == t.hwnd) ReleaseCapture();
  Window* w = Find(t.hwnd);
  if (!w) return;
  if (t.part == SP_THUMB) SendScroll(t.hwnd, t.bar, SB_THUMBPOSITION, w->scroll[t.bar].trackPos);
  SendScroll(t.hwnd, t.bar, SB_ENDSCROLL, 0);
  if ((w = Find(t.hwnd)) != nullptr) w->scroll[t.bar].trackPos = w->scroll[t.bar].pos;
  RepaintBars(t.hwnd);
}

} // namespace detail

using namespace detail;

namespace {

ScrollBarState* StateOf(HWND hwnd, int bar) {
  Window* w = Find(hwnd);
  if (!w || (bar != SB_HORZ && bar != SB_VERT)) return nullptr;
  return &w->scroll[bar];
}

void SetBarShown(HWND hwnd, int bar, bool show) {
  Window* w = Find(hwnd);
  if (!w) return;
  const DWORD bit = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
  if (bool(w->style & bit) == show) return;
  w->style = show ? (w->style | bit) : (w->style & ~bit);
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* si, BOOL redraw) {
  ScrollBarState* s = StateOf(hwnd, bar);
  if (!s || !si) return 0;
  if (si->fMask & SIF_RANGE) {
    s->min = si->nMin;
    s->max = std::max(si->nMin, si->nMax);
  }
  if (si->fMask & SIF_PAGE) s->page = int(std::min<UINT>(si->nPage, UINT(s->max - s->min + 1)));
  if (si->fMask & SIF_POS) s->pos = si->nPos;
  s->pos = std::clamp(s->pos, s->min, MaxPos(*s));
  const int pos = s->pos;
  const bool needed = MaxPos(*s) > s->min;
  if (si->fMask & SIF_DISABLENOSCROLL) {
    s->disabled = !needed;
    SetBarShown(hwnd, bar, true);
  } else if (si->fMask & (SIF_RANGE | SIF_PAGE)) {
    s->disabled = false;
    SetBarShown(hwnd, bar, needed);
  }
  if (Window* w = Find(hwnd); w && redraw) w->ncDirty = true;
  return pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* si) {
  ScrollBarState* s = StateOf(hwnd, bar);
  if (!s || !si) return 0;
  if (si->fMask & SIF_RANGE) {
    si->nMin = s->min;
    si->nMax = s->max;
  }
  if (si->fMask & SIF_PAGE) si->nPage = UINT(s->page);
  if (si->fMask & SIF_POS) si->nPos = s->pos;
  if (si->fMask & SIF_TRACKPOS) {
    const Tracking& t = U().tracking;
    const bool dragging =
        t.mode == Tracking::Scroll && t.hwnd == hwnd && t.bar == bar && t.part == SP_THUMB;
    si->nTrackPos = dragging ? s->trackPos : s->pos;
  }
  return 1;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  ScrollBarState* s = StateOf(hwnd, bar);
  if (!s) return 0;
  const int old = s->pos;
  SCROLLINFO si;
  si.fMask = SIF_POS;
  si.nPos = pos;
  SetScrollInfo(hwnd, bar, &si, redraw);
  return old;
}

int GetScrollPos(HWND hwnd, int bar) {
  ScrollBarState* s = StateOf(hwnd, bar);
  return s ? s->pos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
  if (!StateOf(hwnd, bar)) return 0;
  SCROLLINFO si;
  si.fMask = SIF_RANGE;
  si.nMin = minPos;
  si.nMax = maxPos;
  SetScrollInfo(hwnd, bar, &si, redraw);
  return 1;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos) {
  ScrollBarState* s = StateOf(hwnd, bar);
  if (!s) return 0;
  if (minPos) *minPos = s->min;
  if (maxPos) *maxPos = s->max;
  return 1;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  if (!Find(hwnd)) return 0;
  if (bar == SB_BOTH) {
    SetBarShown(hwnd, SB_HORZ, show != 0);
    SetBarShown(hwnd, SB_VERT, show != 0);
  } else if (bar == SB_HORZ || bar == SB_VERT) {
    SetBarShown(hwnd, bar, show != 0);
  } else {
    return 0;
  }
  return 1;
}

BOOL EnableScrollBar(HWND hwnd, int bar, UINT arrows) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  for (int b = 0; b < 2; ++b)
    if (bar == SB_BOTH || bar == b) w->scroll[b].disabled = arrows == ESB_DISABLE_BOTH;
  w->ncDirty = true;
  return 1;
}

} // namespace zel::sys
