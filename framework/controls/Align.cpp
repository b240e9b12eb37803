// Alignment of a windowed control's children: the aligned ones fill the
// client area from the edges inwards (top, bottom, left, right, then the
// client one), then anchored ones follow the change of the parent's size.

#include <algorithm>

#include "framework/controls/WinControl.h"

namespace zel {

using namespace sys;

namespace {

// Whether c1 goes before c2 among controls of the same alignment.  The
// control being moved is inserted first, so it wins ties.
bool InsertBefore(TControl* c1, TControl* c2, TAlign align) {
  switch (align) {
  case alTop:
    return c1->Top() < c2->Top();
  case alBottom:
    return c1->Top() + c1->Height() >= c2->Top() + c2->Height();
  case alLeft:
    return c1->Left() < c2->Left();
  case alRight:
    return c1->Left() + c1->Width() >= c2->Left() + c2->Width();
  default:
    return false;
  }
}

} // namespace

void TWinControl::DisableAlign() {
  ++FAlignLevel;
}

void TWinControl::EnableAlign() {
  if (FAlignLevel == 0) return;
  if (--FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() {
  AlignControl(nullptr);
}

void TWinControl::AlignControl(TControl* control) {
  if (ComponentState().Contains(csDestroying)) return;
  if (AlignDisabled()) {
    FControlState += csAlignmentNeeded;
    return;
  }
  DisableAlign();
  try {
    RECT r = ClientRect();
    AdjustClientRect(r);
    AlignControls(control, r);
    // The dock manager places the docked controls after the aligned ones.
    if (FDockManager) FDockManager->ResetBounds(false);
  } catch (...) {
    FControlState -= csAlignmentNeeded;
    EnableAlign();
    throw;
  }
  FControlState -= csAlignmentNeeded;
  EnableAlign();
}

void TWinControl::AdjustClientRect(RECT& r) {
  InflateRect(r, -FBorderWidth, -FBorderWidth);
  if (FBevelKind != bkNone) {
    const int w = 2;
    if (FBevelEdges.Contains(beLeft)) r.left += w;
    if (FBevelEdges.Contains(beTop)) r.top += w;
    if (FBevelEdges.Contains(beRight)) r.right -= w;
    if (FBevelEdges.Contains(beBottom)) r.bottom -= w;
  }
}

void TWinControl::AlignControls(TControl* control, RECT& rect) {
  FAligning = true;
  try {
    for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient, alCustom})
      DoAlign(control, a, rect);
    AlignAnchored();
  } catch (...) {
    FAligning = false;
    throw;
  }
  FAligning = false;
}

void TWinControl::DoAlign(TControl* control, TAlign align, RECT& rect) {
  std::vector<TControl*> list;
  auto wanted = [&](TControl* c) { return c->Align() == align && c->Visible(); };
  if (control && wanted(control) && ContainsControl(control)) list.push_back(control);
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c == control || !wanted(c)) continue;
    size_t at = 0;
    while (at < list.size() && !(OnAlignInsertBefore ? OnAlignInsertBefore(this, c, list[at])
                                                     : InsertBefore(c, list[at], align)))
      ++at;
    list.insert(list.begin() + long(at), c);
  }
  for (TControl* c : list) {
    if (!ContainsControl(c)) continue;
    const int rw = std::max(0, rect.Width()), rh = std::max(0, rect.Height());
    switch (align) {
    case alTop:
      c->SetBounds(rect.left, rect.top, rw, c->Height());
      rect.top += c->Height();
      break;
    case alBottom:
      c->SetBounds(rect.left, rect.bottom - c->Height(), rw, c->Height());
      rect.bottom -= c->Height();
      break;
    case alLeft:
      c->SetBounds(rect.left, rect.top, c->Width(), rh);
      rect.left += c->Width();
      break;
    case alRight:
      c->SetBounds(rect.right - c->Width(), rect.top, c->Width(), rh);
      rect.right -= c->Width();
      break;
    case alClient:
      c->SetBounds(rect.left, rect.top, rw, rh);
      break;
    case alCustom: {
      int l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
      if (OnAlignPosition) OnAlignPosition(this, c, l, t, w, h, rect);
      c->SetBounds(l, t, w, h);
      break;
    }
    default:
      break;
    }
  }
}

// Anchored controls keep their distances to the anchored edges of the
// parent; a control anchored on neither side of an axis keeps its centre
// at the same share of the parent's size.
void TWinControl::AlignAnchored() {
  const RECT client = ClientRect();
  const int pw = client.Width(), ph = client.Height();
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Align() != alNone || !c->FAnchorValid) continue;
    const TAnchors a = c->Anchors();
    if (a == TAnchors{akLeft, akTop}) continue;
    const RECT b = c->FAnchorBounds;
    const SIZE o = c->FAnchorParentSize;
    int l = b.left, t = b.top, w = b.Width(), h = b.Height();
    const int dx = pw - o.cx, dy = ph - o.cy;
    if (a.Contains(akRight)) {
      if (a.Contains(akLeft))
        w += dx;
      else
        l += dx;
    } else if (!a.Contains(akLeft) && o.cx > 0) {
      l = (b.left + b.Width() / 2) * pw / o.cx - b.Width() / 2;
    }
    if (a.Contains(akBottom)) {
      if (a.Contains(akTop))
        h += dy;
      else
        t += dy;
    } else if (!a.Contains(akTop) && o.cy > 0) {
      t = (b.top + b.Height() / 2) * ph / o.cy - b.Height() / 2;
    }
    c->SetBounds(l, t, std::max(0, w), std::max(0, h));
  }
}

void TWinControl::ParentResized() {
  Realign();
}

} // namespace zel
