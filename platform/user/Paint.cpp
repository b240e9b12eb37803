// Update regions, WM_PAINT and window device contexts.
//
// Every window of a top-level window paints into that top-level window's
// surface.  A window context's visible region, in surface coordinates, is
// what of the window can be seen: inside every ancestor's client area,
// without the siblings above it or above any ancestor, and without its own
// children.  Update regions are kept in window coordinates and cover only
// the client area; a frame that needs painting is marked separately.

#include <algorithm>

#include "platform/user/MessageQueue.h"
#include "platform/user/Paint.h"
#include "platform/user/UserState.h"
#include "platform/user/Window.h"

namespace zel::sys {

namespace detail {

namespace {

RECT Offset(RECT r, int dx, int dy) {
  OffsetRect(r, dx, dy);
  return r;
}

RECT WholeWindow(const Window* w) {
  return RECT{0, 0, w->rect.Width(), w->rect.Height()};
}

// Counts BeginPaint calls, so that a WM_PAINT whose handler never began
// painting can be validated afterwards instead of coming back for ever.
int g_beginPaintCount = 0;

Surface& NowhereSurface() {
  static Surface s;
  return s;
}

HDC MakeWindowDC(Window* w, bool clientOnly, const Region* clip) {
  auto& u = U();
  Window* top = TopLevelOf(w);
  DC* dc = new DC;
  dc->isMemory = false;
  dc->target = &top->surface;
  POINT o = OriginInTop(w);
  if (clientOnly) {
    o.x += w->client.left;
    o.y += w->client.top;
  }
  dc->deviceOrigin = o;
  dc->hasVisRgn = true;
  dc->visRgn = VisibleRegion(w, clientOnly);
  if (clip) {
    Region c = *clip;
    const POINT wo = OriginInTop(w);
    c.Offset(wo.x, wo.y);
    Region both;
    both.Combine(dc->visRgn, c, RGN_AND);
    dc->visRgn = both;
  }
  dc->window = w->handle;
  u.windowDCs.push_back(dc);
  return dc;
}

} // namespace

void InvalidateWindowArea(Window* w, const RECT& windowRect, bool erase, bool frame) {
  RECT inClient;
  if (IntersectRect(inClient, windowRect, w->client)) {
    Region add(inClient);
    Region sum;
    sum.Combine(w->update, add, RGN_OR);
    w->update = sum;
    if (erase) w->erase = true;
  }
  if (frame) {
    RECT inWindow;
    if (IntersectRect(inWindow, windowRect, WholeWindow(w)) &&
        !(inWindow.left >= w->client.left && inWindow.top >= w->client.top &&
          inWindow.right <= w->client.right && inWindow.bottom <= w->client.bottom))
      w->ncDirty = true;
  }
}

void InvalidateTree(Window* parent, const RECT& r) {
  // r is in parent client coordinates.
  InvalidateWindowArea(parent, Offset(r, parent->client.left, parent->client.top), true, false);
  for (Window* c : parent->children) {
    if (!c->Visible()) continue;
    RECT part;
    if (!IntersectRect(part, r, c->rect)) continue;
    InvalidateWindowArea(c, Offset(part, -c->rect.left, -c->rect.top), true, true);
    InvalidateTree(c, Offset(part, -c->rect.left - c->client.left, -c->rect.top - c->client.top));
  }
}

void InvalidateWhole(Window* w) {
  InvalidateWindowArea(w, WholeWindow(w), true, true);
  InvalidateTree(w, RECT{0, 0, w->client.Width(), w->client.Height()});
}

Region VisibleRegion(const Window* w, bool clientOnly) {
  if (!IsDrawable(w) || w == U().desktop) return Region();
  for (const Window* a = w; a; a = a->parent)
    if (a->noRedraw) return Region();
  const POINT o = OriginInTop(w);
  RECT r = clientOnly ? w->client : WholeWindow(w);
  OffsetRect(r, o.x, o.y);
  Region rgn(r);
  for (const Window* c = w; !IsTopLevel(c); c = c->parent) {
    const Window* p = c->parent;
    const POINT po = OriginInTop(p);
    const int cx = po.x + p->client.left, cy = po.y + p->client.top;
    rgn.Intersect(Offset(p->client, po.x, po.y));
    for (const Window* s : p->children) {
      if (s == c) break;
      if (s->Visible()) rgn.Exclude(Offset(s->rect, cx, cy));
    }
  }
  // Children show only inside the client area: a child reaching past it
  // (an MDI child beyond the scroll bars) leaves the frame and the bars.
  const RECT inClient{0, 0, w->client.Width(), w->client.Height()};
  for (const Window* ch : w->children) {
    RECT shown;
    if (ch->Visible() && IntersectRect(shown, ch->rect, inClient))
      rgn.Exclude(Offset(shown, o.x + w->client.left, o.y + w->client.top));
  }
  return rgn;
}

namespace {

// The first window, parents before children and front to back, that has
// something to paint.  Frames alone are painted on the spot.
Window* FindPaintable(Window* w, HWND filter) {
  if (!w->Visible() || w->noRedraw) return nullptr;
  if (w != U().desktop && IsTopLevel(w) && (w->style & WS_MINIMIZE)) return nullptr;
  const bool matches = !filter || w->handle == filter || IsChild(filter, w->handle);
  if (matches && w != U().desktop) {
    if (w->ncDirty && w->update.IsEmpty() && !w->internalPaint) {
      const HWND h = w->handle;
      w->ncDirty = false;
      SendMessage(h, WM_NCPAINT, 1, 0);
      w = Find(h);
      if (!w) return nullptr;
    }
    if (!w->update.IsEmpty() || w->internalPaint) return w;
  }
  const std::vector<Window*> kids = w->children;
  for (Window* c : kids) {
    if (!c->alive) continue;
    if (Window* found = FindPaintable(c, filter)) return found;
  }
  return nullptr;
}

bool HasPending(const Window* w) {
  if (!w->Visible() || w->noRedraw) return false;
  if (w != U().desktop && IsTopLevel(w) && (w->style & WS_MINIMIZE)) return false;
  if (w != U().desktop && (w->ncDirty || !w->update.IsEmpty() || w->internalPaint)) return true;
  for (const Window* c : w->children)
    if (HasPending(c)) return true;
  return false;
}

} // namespace

bool AnyPaintPending() {
  return HasPending(U().desktop);
}

bool TakePaintMessage(MSG& msg, HWND filter) {
  Window* w = FindPaintable(U().desktop, filter);
  if (!w) return false;
  msg = MSG{};
  msg.hwnd = w->handle;
  msg.message = WM_PAINT;
  return true;
}

int BeginPaintCount() {
  return g_beginPaintCount;
}

void ValidateAfterUnpaintedPaint(HWND h) {
  if (Window* w = Find(h)) {
    w->update.SetEmpty();
    w->erase = false;
    w->internalPaint = false;
  }
}

void ForgetWindowDCs(const Window* w) {
  for (DC* dc : U().windowDCs) {
    if (dc->target == &w->surface) {
      dc->target = &NowhereSurface();
      dc->visRgn.SetEmpty();
    }
  }
}

} // namespace detail

using namespace detail;

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  Window* w = Find(hwnd);
  if (!w) {
    // No window: the platform invalidates every window.
    if (hwnd) return 0;
    for (Window* t : U().desktop->children)
      InvalidateWhole(t);
    return 1;
  }
  RECT r = rect ? *rect : RECT{0, 0, w->client.Width(), w->client.Height()};
  OffsetRect(r, w->client.left, w->client.top);
  InvalidateWindowArea(w, r, erase != 0, false);
  return 1;
}

BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  if (!rgn) return InvalidateRect(hwnd, nullptr, erase);
  Region add = rgn->region;
  add.Offset(w->client.left, w->client.top);
  add.Intersect(w->client);
  if (add.IsEmpty()) return 1;
  Region sum;
  sum.Combine(w->update, add, RGN_OR);
  w->update = sum;
  if (erase) w->erase = true;
  return 1;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  if (!rect) {
    w->update.SetEmpty();
    w->erase = false;
    w->internalPaint = false;
    return 1;
  }
  RECT r = *rect;
  OffsetRect(r, w->client.left, w->client.top);
  w->update.Exclude(r);
  return 1;
}

BOOL ValidateRgn(HWND hwnd, HRGN rgn) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  if (!rgn) return ValidateRect(hwnd, nullptr);
  Region sub = rgn->region;
  sub.Offset(w->client.left, w->client.top);
  Region rest;
  rest.Combine(w->update, sub, RGN_DIFF);
  w->update = rest;
  return 1;
}

BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  RECT box = w->update.IsEmpty() ? RECT{} : w->update.Box();
  if (!w->update.IsEmpty()) OffsetRect(box, -w->client.left, -w->client.top);
  if (rect) *rect = box;
  return !w->update.IsEmpty();
}

int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
  Window* w = Find(hwnd);
  if (!w || !rgn) return RGN_ERROR;
  rgn->region = w->update;
  rgn->region.Offset(-w->client.left, -w->client.top);
  return rgn->region.Kind();
}

BOOL UpdateWindow(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  // The window and its children, each painted at once.
  for (int guard = 0; guard < 10000; ++guard) {
    MSG msg;
    if (!TakePaintMessage(msg, hwnd)) break;
    DispatchMessage(&msg);
  }
  return 1;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN rgn, UINT flags) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  const bool erase = flags & RDW_ERASE;
  if (flags & RDW_INVALIDATE) {
    if (rgn)
      InvalidateRgn(hwnd, rgn, erase);
    else
      InvalidateRect(hwnd, rect, erase);
    if (flags & RDW_FRAME) w->ncDirty = true;
    if (flags & RDW_ALLCHILDREN) {
      RECT r = rect ? *rect : RECT{0, 0, w->client.Width(), w->client.Height()};
      if (rgn) r = rgn->region.Box();
      for (Window* c : w->children) {
        RECT part;
        if (!c->Visible() || !IntersectRect(part, r, c->rect)) continue;
        OffsetRect(part, -c->rect.left, -c->rect.top);
        InvalidateWindowArea(c, part, erase, (flags & RDW_FRAME) != 0);
        OffsetRect(part, -c->client.left, -c->client.top);
        InvalidateTree(c, part);
      }
    }
  }
  if (flags & RDW_INTERNALPAINT) w->internalPaint = true;
  if (flags & RDW_VALIDATE) {
    if (rgn)
      ValidateRgn(hwnd, rgn);
    else
      ValidateRect(hwnd, rect);
    if (flags & RDW_NOFRAME) w->ncDirty = false;
  }
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) UpdateWindow(hwnd);
  return 1;
}

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  CaretPaintBegins(hwnd); // the next paint puts it back
  if (!scroll)
    for (Window* c : w->children)
      OffsetRect(c->rect, dx, dy);
  InvalidateWhole(w);
  return 1;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
  Window* w = Find(hwnd);
  if (!w || !ps) return nullptr;
  ++g_beginPaintCount;
  CaretPaintBegins(hwnd);
  if (w->ncDirty) {
    w->ncDirty = false;
    SendMessage(hwnd, WM_NCPAINT, 1, 0);
    if ((w = Find(hwnd)) == nullptr) return nullptr;
  }
  const Region update = w->update;
  const bool erase = w->erase;
  w->update.SetEmpty();
  w->erase = false;
  w->internalPaint = false;
  HDC dc = MakeWindowDC(w, true, &update);
  ps->hdc = dc;
  RECT box = update.IsEmpty() ? RECT{} : update.Box();
  if (!update.IsEmpty()) OffsetRect(box, -w->client.left, -w->client.top);
  ps->rcPaint = box;
  ps->fErase = erase ? 1 : 0;
  if (erase && SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0)) ps->fErase = 0;
  return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (!ps || !ps->hdc) return 0;
  ReleaseDC(hwnd, ps->hdc);
  CaretPaintEnds(hwnd);
  return 1;
}

HDC GetDC(HWND hwnd) {
  if (!hwnd) {
    DC* dc = new DC;
    dc->isMemory = false;
    dc->target = &NowhereSurface();
    dc->hasVisRgn = true;
    U().windowDCs.push_back(dc);
    return dc;
  }
  Window* w = Find(hwnd);
  return w ? MakeWindowDC(w, true, nullptr) : nullptr;
}

HDC GetWindowDC(HWND hwnd) {
  Window* w = Find(hwnd);
  return w ? MakeWindowDC(w, false, nullptr) : nullptr;
}

int ReleaseDC(HWND hwnd, HDC dc) {
  auto& u = U();
  auto it = std::find(u.windowDCs.begin(), u.windowDCs.end(), dc);
  if (it == u.windowDCs.end()) return 0;
  u.windowDCs.erase(it);
  Window* w = Find(static_cast<HWND>(dc->window));
  if (w && u.backend && dc->target != &NowhereSurface() && !dc->visRgn.IsEmpty()) {
    Window* top = TopLevelOf(w);
    u.backend->SurfaceChanged(top->handle, dc->visRgn.Box());
  }
  DeleteDC(dc);
  return 1;
}

HWND WindowFromDC(HDC dc) {
  if (!dc || dc->isMemory) return nullptr;
  HWND h = static_cast<HWND>(dc->window);
  return Find(h) ? h : nullptr;
}

} // namespace zel::sys
