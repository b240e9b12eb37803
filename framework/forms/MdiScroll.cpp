// The scroll bars of the MDI client area.  The area scrolls over the union
// of itself and its children that are shown and neither minimised nor
// maximised: a child moved or sized past an edge brings the bar of that
// direction, and scrolling moves the children.  The position is always 0,
// the area's own place in that union, so that the children's places are
// the whole state; icons stay along the bottom and are not scrolled, and a
// maximised child fills the area with no bars at all.
//
//   event                               bars afterwards
//   a child moves, sizes, shows, hides  worked out again once the moves of
//   or goes; the area is resized        the arrangement are done (posted)
//   arrow, page, top, bottom            children moved, worked out again
//   thumb dragged                       children follow the thumb; the
//                                       range stays until the drag ends

#include <algorithm>

#include "framework/forms/Form.h"
#include "platform/user/User.h"

namespace zel {

using namespace sys;

namespace {

constexpr int kLineStep = 16;

// The child's window rectangle in the client area's coordinates.
RECT PlaceInClient(HWND child, HWND client) {
  RECT r;
  GetWindowRect(child, &r);
  POINT pts[2] = {{r.left, r.top}, {r.right, r.bottom}};
  MapWindowPoints(nullptr, client, pts, 2);
  return RECT{pts[0].x, pts[0].y, pts[1].x, pts[1].y};
}

void SetBar(HWND client, int bar, int first, int end, int page) {
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = first;
  si.nMax = std::max(first, end - 1);
  si.nPage = UINT(std::max(0, page));
  si.nPos = 0;
  SetScrollInfo(client, bar, &si, TRUE);
}

} // namespace

void TCustomForm::UpdateMDIScrollBars() {
  if (!FClientHandle || FMDIThumbTracking) return;
  RECT used{};
  bool maximized = false;
  for (TCustomForm* f : MDIChildList()) {
    if (!f->Visible() || IsIconic(f->Handle())) continue;
    if (IsZoomed(f->Handle())) maximized = true;
    UnionRect(used, used, PlaceInClient(f->Handle(), FClientHandle));
  }
  // A bar that comes or goes changes the area, which may bring or take the
  // other bar: a few rounds settle it.
  for (int round = 0; round < 3; ++round) {
    RECT c;
    GetClientRect(FClientHandle, &c);
    RECT all = c;
    if (!maximized) UnionRect(all, c, used);
    SetBar(FClientHandle, SB_HORZ, all.left, all.right, c.Width());
    SetBar(FClientHandle, SB_VERT, all.top, all.bottom, c.Height());
    RECT after;
    GetClientRect(FClientHandle, &after);
    if (after == c) break;
  }
}

void TCustomForm::ScrollMDIClient(int bar, WORD request) {
  if (!FClientHandle) return;
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  GetScrollInfo(FClientHandle, bar, &si);
  const int page = std::max(1, int(si.nPage));
  const int last = std::max(si.nMin, si.nMax - page + 1);
  int pos = si.nPos;
  switch (request) {
  case SB_LINEUP:
    pos -= kLineStep;
    break;
  case SB_LINEDOWN:
    pos += kLineStep;
    break;
  case SB_PAGEUP:
    pos -= page;
    break;
  case SB_PAGEDOWN:
    pos += page;
    break;
  case SB_THUMBTRACK:
    FMDIThumbTracking = true;
    pos = si.nTrackPos;
    break;
  case SB_THUMBPOSITION:
    // The drag's last track already put the children there.
    FMDIThumbTracking = false;
    pos = si.nTrackPos;
    break;
  case SB_TOP:
    pos = si.nMin;
    break;
  case SB_BOTTOM:
    pos = last;
    break;
  case SB_ENDSCROLL:
    FMDIThumbTracking = false;
    UpdateMDIScrollBars();
    return;
  default:
    return;
  }
  pos = std::clamp(pos, si.nMin, last);
  const int delta = si.nPos - pos;
  if (delta == 0) return;
  const int dx = bar == SB_HORZ ? delta : 0, dy = bar == SB_VERT ? delta : 0;
  for (TCustomForm* f : MDIChildList()) {
    if (!f->Visible() || IsIconic(f->Handle()) || IsZoomed(f->Handle())) continue;
    const RECT r = PlaceInClient(f->Handle(), FClientHandle);
    SetWindowPos(f->Handle(), nullptr, r.left + dx, r.top + dy, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetScrollPos(FClientHandle, bar, pos, TRUE);
  if (!FMDIThumbTracking) UpdateMDIScrollBars();
}

} // namespace zel
