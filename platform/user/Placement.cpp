// Placing windows: SetWindowPos with its messages and repainting, and the
// shown, minimised, maximised and restored states of ShowWindow.

#include <algorithm>
#include <vector>

#include "platform/user/Input.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/SystemParams.h"
#include "platform/user/UserState.h"
#include "platform/user/Window.h"

namespace zel::sys {

using namespace detail;

namespace {

// The place of icon slot i of a parent whose client area is pc: along the
// bottom from the left, in rows upwards when the parent is too narrow for
// them all in one.
RECT IconSlot(const RECT& pc, int i) {
  const int cw = GetSystemMetrics(SM_CXMINIMIZED), ch = GetSystemMetrics(SM_CYMINIMIZED);
  const int perRow = std::max(1, pc.Width() / std::max(1, cw));
  const int x = (i % perRow) * cw, bottom = pc.Height() - (i / perRow) * ch;
  return RECT{x, bottom - ch, x + cw, bottom};
}

// A window being minimised takes the first slot that no other shown icon
// of its parent covers: one restored and minimised again goes back into the
// gap it left, not onto another icon.
RECT IconicRect(Window* w) {
  const RECT pc = w->parent->client;
  std::vector<RECT> icons;
  for (Window* s : w->parent->children)
    if (s != w && s->Visible() && (s->style & WS_MINIMIZE)) icons.push_back(s->rect);
  // An icon of the usual size covers at most four slots; one made larger
  // by hand could cover them all, and the search ends after the last slot
  // the usual icons could take.
  const int last = 4 * int(icons.size());
  for (int i = 0; i < last; ++i) {
    const RECT slot = IconSlot(pc, i);
    RECT overlap;
    if (std::none_of(icons.begin(), icons.end(),
                     [&](const RECT& r) { return IntersectRect(overlap, slot, r); }))
      return slot;
  }
  return IconSlot(pc, last);
}

// The icons of a window's minimised children stay along its bottom edge as
// its client area grows or shrinks (a maximised MDI form's icons go down
// with the new bottom).
void KeepIconsAtBottom(HWND parent, int oldClientHeight) {
  Window* w = Find(parent);
  if (!w) return;
  const int dy = w->client.Height() - oldClientHeight;
  if (dy == 0) return;
  std::vector<HWND> icons;
  for (Window* c : w->children)
    if (c->style & WS_MINIMIZE) icons.push_back(c->handle);
  for (HWND h : icons)
    if (Window* c = Find(h))
      SetWindowPos(h, nullptr, c->rect.left, c->rect.top + dy, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT MaximizedRect(Window* w) {
  RECT r = IsTopLevel(w) ? WorkArea()
                         : RECT{0, 0, w->parent->client.Width(), w->parent->client.Height()};
  const NcGeometry g = ComputeNcGeometry(w->style, w->exStyle, r.Width(), r.Height());
  InflateRect(r, g.frame, g.frame);
  // The window may limit its maximised size and place, and its tracking size.
  MINMAXINFO mmi;
  mmi.ptMaxSize = POINT{r.Width(), r.Height()};
  mmi.ptMaxPosition = POINT{r.left, r.top};
  mmi.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  mmi.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  const HWND h = w->handle;
  SendMessage(h, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  if (!Find(h)) return r;
  const int width = std::max(0, int(mmi.ptMaxSize.x)), height = std::max(0, int(mmi.ptMaxSize.y));
  return RECT{mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, mmi.ptMaxPosition.x + width,
              mmi.ptMaxPosition.y + height};
}

// Moves the window into the minimised, maximised or normal state (0).
void SetShowState(Window* w, DWORD state) {
  HWND h = w->handle;
  const DWORD old = w->style & (WS_MINIMIZE | WS_MAXIMIZE);
  if (old == state) return;
  if (!old) w->normalRect = w->rect;
  RECT target;
  if (state == WS_MINIMIZE) {
    w->restoreToMaximized = (old & WS_MAXIMIZE) != 0;
    w->style = (w->style & ~WS_MAXIMIZE) | WS_MINIMIZE;
    target = IconicRect(w);
  } else if (state == WS_MAXIMIZE) {
    target = MaximizedRect(w);
    if ((w = Find(h)) == nullptr) return;
    w->style = (w->style & ~WS_MINIMIZE) | WS_MAXIMIZE;
  } else {
    w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
    target = w->normalRect;
  }
  SetWindowPos(h, nullptr, target.left, target.top, target.Width(), target.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

} // namespace

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  auto& u = U();
  Window* w = Find(hwnd);
  if (!w || w == u.desktop) return 0;
  WINDOWPOS wp{hwnd, insertAfter, x, y, cx, cy, flags};
  if (flags & SWP_NOMOVE) {
    wp.x = w->rect.left;
    wp.y = w->rect.top;
  }
  if (flags & SWP_NOSIZE) {
    wp.cx = w->rect.Width();
    wp.cy = w->rect.Height();
  }
  if (!(flags & SWP_NOSENDCHANGING)) {
    SendMessage(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
    if ((w = Find(hwnd)) == nullptr) return 0;
  }
  flags = wp.flags;
  const RECT oldRect = w->rect;
  const RECT oldClient = w->client;
  const bool wasVisible = w->Visible();
  const bool wasOnScreen = OnScreen(w);
  const RECT newRect{wp.x, wp.y, wp.x + WindowExtent(w, wp.cx), wp.y + WindowExtent(w, wp.cy)};
  const bool moved = newRect.left != oldRect.left || newRect.top != oldRect.top;
  const bool sized = newRect.Width() != oldRect.Width() || newRect.Height() != oldRect.Height();
  w->rect = newRect;
  if (moved || sized || (flags & SWP_FRAMECHANGED)) {
    RecalcClient(hwnd);
    if ((w = Find(hwnd)) == nullptr) return 0;
  }
  bool zChanged = false;
  if (!(flags & SWP_NOZORDER)) {
    const auto& sib = w->parent->children;
    const std::vector<Window*> before = sib;
    const DWORD exBefore = w->exStyle;
    ApplyZOrder(w, wp.hwndInsertAfter);
    zChanged = before != sib || exBefore != w->exStyle;
  }
  if ((flags & SWP_SHOWWINDOW) && !wasVisible) w->style |= WS_VISIBLE;
  if ((flags & SWP_HIDEWINDOW) && wasVisible) w->style &= ~WS_VISIBLE;
  const bool shown = !wasVisible && w->Visible();
  const bool hidden = wasVisible && !w->Visible();
  const bool top = IsTopLevel(w);

  if (top && sized) w->surface.Resize(newRect.Width(), newRect.Height(), 0xFFFFFFFF);
  if (flags & SWP_FRAMECHANGED) w->ncDirty = true;
  if (top) {
    if (sized || shown || (flags & SWP_FRAMECHANGED)) InvalidateWhole(w);
  } else if (!(flags & SWP_NOREDRAW) &&
             (moved || sized || shown || hidden || zChanged || (flags & SWP_FRAMECHANGED))) {
    if (wasVisible) InvalidateTree(w->parent, oldRect);
    if (w->Visible()) {
      InvalidateTree(w->parent, newRect);
      InvalidateWhole(w);
    }
  }
  if (top && u.backend) {
    const bool onScreen = OnScreen(w);
    if (onScreen && !wasOnScreen)
      u.backend->WindowShown(hwnd);
    else if (!onScreen && wasOnScreen)
      u.backend->WindowHidden(hwnd);
    else if (onScreen && (moved || sized))
      u.backend->WindowMoved(hwnd);
    if (zChanged) u.backend->ZOrderChanged();
  }
  if (hidden && top && u.active == hwnd) ActivateNextAfter(w);
  if ((w = Find(hwnd)) == nullptr) return 0;
  if (top && w->Visible() && !(flags & SWP_NOACTIVATE) && !(w->style & WS_MINIMIZE) &&
      !(w->exStyle & WS_EX_NOACTIVATE) && u.active != hwnd)
    ActivateWindow(w, false);
  if ((w = Find(hwnd)) == nullptr) return 0;

  WINDOWPOS done{hwnd,        wp.hwndInsertAfter, w->rect.left,
                 w->rect.top, w->rect.Width(),    w->rect.Height(),
                 flags};
  const bool clientMoved =
      moved || oldClient.left != w->client.left || oldClient.top != w->client.top;
  const bool clientSized =
      oldClient.Width() != w->client.Width() || oldClient.Height() != w->client.Height();
  done.flags &= ~(SWP_NOMOVE | SWP_NOSIZE);
  if (!clientMoved) done.flags |= SWP_NOMOVE;
  if (!clientSized && !sized) done.flags |= SWP_NOSIZE;
  if (!zChanged) done.flags |= SWP_NOZORDER;
  if (oldClient.Height() != w->client.Height()) {
    KeepIconsAtBottom(hwnd, oldClient.Height());
    if ((w = Find(hwnd)) == nullptr) return 0;
  }
  SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&done));
  return 1;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) {
  return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL ShowWindow(HWND hwnd, int cmd) {
  auto& u = U();
  Window* w = Find(hwnd);
  if (!w || w == u.desktop) return 0;
  const BOOL was = w->Visible() ? 1 : 0;
  const bool top = IsTopLevel(w);
  DWORD state = w->style & (WS_MINIMIZE | WS_MAXIMIZE);
  // A window that refuses activation (a pop-up, a drag's preview) is shown
  // without taking it from the active window; SetActiveWindow still can.
  bool show = true, activate = top && !(w->exStyle & WS_EX_NOACTIVATE);
  switch (cmd) {
  case SW_HIDE:
    if (!was) return 0;
    SendMessage(hwnd, WM_SHOWWINDOW, 0, 0);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return was;
  case SW_MINIMIZE:
  case SW_SHOWMINNOACTIVE:
  case SW_SHOWMINIMIZED:
    // A minimised top-level window nothing could bring back would be lost.
    if (top && u.backend && !u.backend->CanIconify()) return was;
    state = WS_MINIMIZE;
    activate = top && cmd == SW_SHOWMINIMIZED;
    break;
  case SW_SHOWMAXIMIZED:
    state = WS_MAXIMIZE;
    break;
  case SW_SHOWNOACTIVATE:
    activate = false;
    [[fallthrough]];
  case SW_SHOWNORMAL:
  case SW_RESTORE:
  case SW_SHOWDEFAULT:
    if (state == WS_MINIMIZE && w->restoreToMaximized && cmd == SW_RESTORE)
      state = WS_MAXIMIZE;
    else
      state = 0;
    break;
  case SW_SHOWNA:
    activate = false;
    break;
  case SW_SHOW:
    break;
  default:
    return was;
  }
  if (show && !was) {
    SendMessage(hwnd, WM_SHOWWINDOW, 1, 0);
    if ((w = Find(hwnd)) == nullptr) return was;
  }
  SetShowState(w, state);
  if ((w = Find(hwnd)) == nullptr) return was;
  if (!w->Visible())
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if ((w = Find(hwnd)) == nullptr) return was;
  if (cmd == SW_MINIMIZE && u.active == hwnd)
    ActivateNextAfter(w);
  else if (activate && !(w->style & WS_MINIMIZE))
    ActivateWindow(w, false);
  return was;
}

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* wp) {
  Window* w = Find(hwnd);
  if (!w || !wp) return 0;
  wp->flags = (w->style & WS_MINIMIZE) && w->restoreToMaximized ? WPF_RESTORETOMAXIMIZED : 0;
  wp->showCmd = (w->style & WS_MINIMIZE)   ? UINT(SW_SHOWMINIMIZED)
                : (w->style & WS_MAXIMIZE) ? UINT(SW_SHOWMAXIMIZED)
                                           : UINT(SW_SHOWNORMAL);
  wp->rcNormalPosition = (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) ? w->normalRect : w->rect;
  wp->ptMinPosition = POINT{-1, -1};
  wp->ptMaxPosition = POINT{-1, -1};
  return 1;
}

BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* wp) {
  Window* w = Find(hwnd);
  if (!w || !wp) return 0;
  const RECT r = wp->rcNormalPosition;
  if (w->style & (WS_MINIMIZE | WS_MAXIMIZE))
    w->normalRect = r;
  else
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.Width(), r.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  if (!Find(hwnd)) return 0;
  ShowWindow(hwnd, int(wp->showCmd));
  return 1;
}

} // namespace zel::sys
