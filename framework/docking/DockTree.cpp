// Zone arithmetic, layout, painting and the mouse handling of TDockTree.  The
// stream reader and writer live in DockTreeStream.cpp.

#include "framework/docking/DockTree.h"

#include <algorithm>
#include <cmath>

#include "framework/docking/DragDock.h"
#include "framework/graphics/Canvas.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/SystemParams.h"
#include "platform/user/Window.h"

namespace zel {

using namespace sys;

// ---- TDockZone -----------------------------------------------------------------------

int TDockZone::Limit() const {
  if (!FParent) return FOrientation == doHorizontal ? FBounds.bottom : FBounds.right;
  return FParent->FOrientation == doHorizontal ? FBounds.bottom : FBounds.right;
}

bool TDockZone::Visible() const {
  if (FChildControl)
    return FChildControl->Visible() && FChildControl->HostDockSite() == FTree->DockSite();
  return std::any_of(FChildren.begin(), FChildren.end(), [](auto& c) { return c->Visible(); });
}

int TDockZone::IndexInParent() const {
  if (!FParent) return -1;
  for (int i = 0; i < FParent->ChildCount(); ++i)
    if (FParent->Child(i) == this) return i;
  return -1;
}

// ---- TDockTree -----------------------------------------------------------------------

TDockTree::TDockTree(TWinControl* dockSite)
    : FDockSite(dockSite), FTopZone(std::make_unique<TDockZone>(this)) {
  // Controls already docked in the site take their places at once.
  BeginUpdate();
  for (int i = 0; i < dockSite->DockClientCount(); ++i)
    InsertControl(dockSite->DockClients(i), alNone, nullptr);
  EndUpdate();
}

TDockTree::~TDockTree() {
  if (FDragging) DockDragEnd(POINT{}, false);
}

void TDockTree::ForEachLeaf(TDockZone* zone, const std::function<void(TDockZone*)>& f) const {
  if (zone->FChildControl) f(zone);
  for (auto& c : zone->FChildren)
    ForEachLeaf(c.get(), f);
}

TDockZone* TDockTree::FindControlZone(TControl* control) const {
  TDockZone* found = nullptr;
  if (!control) return nullptr;
  ForEachLeaf(FTopZone.get(), [&](TDockZone* z) {
    if (z->FChildControl == control) found = z;
  });
  return found;
}

void TDockTree::BeginUpdate() {
  ++FUpdateCount;
}

void TDockTree::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) ResetBounds(true);
}

TDockZone* TDockTree::NewLeaf(TControl* control) {
  auto* z = new TDockZone(this);
  z->FChildControl = control;
  return z;
}

void TDockTree::InsertControl(TControl* control, TAlign insertAt, TControl* dropControl) {
  if (!control || FLoading) return;
  // A control placed already keeps its place; one still waiting for its
  // control takes the place asked for now.
  if (TDockZone* z = FindControlZone(control)) {
    if (!z->FWaiting) return;
    RemoveControl(control);
  }
  // The tree places the control; the site's own alignment must leave it be.
  // The realignment that causes must not insert the control meanwhile.
  if (control->Align() != alNone) {
    BeginUpdate();
    control->SetAlign(alNone);
    FUpdateCount--;
  }
  if (insertAt == alNone || insertAt == alClient) {
    const RECT r = FDockSite->ClientRect();
    insertAt = r.Height() > r.Width() ? alBottom : alRight;
  }
  std::unique_ptr<TDockZone> leaf(NewLeaf(control));
  leaf->FWaiting = control->HostDockSite() != FDockSite;
  TDockZone* target = FindControlZone(dropControl);
  if (!target) target = FTopZone.get();
  InsertNewLeaf(target, std::move(leaf), insertAt);
  ResetBounds(false);
}

// Puts leaf next to target on the side align names.  Children of one zone
// share one orientation, so a side across it nests a new zone in between.
void TDockTree::InsertNewLeaf(TDockZone* target, std::unique_ptr<TDockZone> leaf, TAlign align) {
  const TDockOrientation want = (align == alLeft || align == alRight) ? doVertical : doHorizontal;
  const bool before = align == alLeft || align == alTop;
  if (target == FTopZone.get()) {
    TDockZone* top = FTopZone.get();
    if (top->ChildCount() >= 2 && top->FOrientation != want) {
      // A new top zone holds the old one and the new leaf.
      auto oldTop = std::move(FTopZone);
      FTopZone = std::make_unique<TDockZone>(this);
      oldTop->FParent = FTopZone.get();
      oldTop->FWeight = 1.0;
      FTopZone->FChildren.push_back(std::move(oldTop));
      top = FTopZone.get();
    }
    top->FOrientation = top->ChildCount() == 0 ? doNoOrient : want;
    const int n = top->ChildCount();
    const double share = n == 0 ? 1.0 : 1.0 / (n + 1);
    for (auto& c : top->FChildren)
      c->FWeight *= 1.0 - share;
    leaf->FWeight = share;
    leaf->FParent = top;
    top->FChildren.insert(before ? top->FChildren.begin() : top->FChildren.end(), std::move(leaf));
    return;
  }
  TDockZone* parent = target->FParent;
  if (parent->FOrientation == want || parent->ChildCount() == 1) {
    // The new leaf takes half of the target's room.
    parent->FOrientation = want;
    const double half = target->FWeight / 2;
    target->FWeight = half;
    leaf->FWeight = half;
    leaf->FParent = parent;
    const int at = target->IndexInParent() + (before ? 0 : 1);
    parent->FChildren.insert(parent->FChildren.begin() + at, std::move(leaf));
    return;
  }
  // Across the parent's orientation: a new zone replaces the target and
  // splits in the wanted direction.
  const int at = target->IndexInParent();
  auto holder = std::make_unique<TDockZone>(this);
  holder->FOrientation = want;
  holder->FWeight = target->FWeight;
  holder->FParent = parent;
  std::unique_ptr<TDockZone> old = std::move(parent->FChildren[size_t(at)]);
  old->FParent = holder.get();
  old->FWeight = 0.5;
  leaf->FParent = holder.get();
  leaf->FWeight = 0.5;
  if (before) {
    holder->FChildren.push_back(std::move(leaf));
    holder->FChildren.push_back(std::move(old));
  } else {
    holder->FChildren.push_back(std::move(old));
    holder->FChildren.push_back(std::move(leaf));
  }
  parent->FChildren[size_t(at)] = std::move(holder);
}

void TDockTree::RemoveControl(TControl* control) {
  TDockZone* zone = FindControlZone(control);
  if (!zone) return;
  if (FPressedZone == zone || FSizingZone == zone) {
    FPressedZone = FSizingZone = nullptr;
    FPressedKind = htNothing;
  }
  TDockZone* parent = zone->FParent;
  if (!parent) {
    zone->FChildControl = nullptr;
    zone->FWaiting = false;
  } else {
    const int at = zone->IndexInParent();
    const double w = zone->FWeight;
    parent->FChildren.erase(parent->FChildren.begin() + at);
    // The neighbours share the room that was freed.
    const double rest = 1.0 - w;
    for (auto& c : parent->FChildren)
      c->FWeight = rest > 1e-9 ? c->FWeight / rest : 1.0 / double(parent->ChildCount());
    Collapse(parent);
  }
  ResetBounds(false);
}

// A zone left with a single child gives its place to that child; an empty
// zone disappears.
void TDockTree::Collapse(TDockZone* zone) {
  while (zone) {
    TDockZone* parent = zone->FParent;
    if (zone->ChildCount() == 0 && !zone->FChildControl && parent) {
      parent->FChildren.erase(parent->FChildren.begin() + zone->IndexInParent());
      double sum = 0;
      for (auto& c : parent->FChildren)
        sum += c->FWeight;
      for (auto& c : parent->FChildren)
        c->FWeight = sum > 1e-9 ? c->FWeight / sum : 1.0;
      zone = parent;
      continue;
    }
    if (zone->ChildCount() == 1) {
      std::unique_ptr<TDockZone> only = std::move(zone->FChildren[0]);
      zone->FChildren.clear();
      if (only->FChildControl) {
        zone->FChildControl = only->FChildControl;
        zone->FWaiting = only->FWaiting;
        zone->FOrientation = doNoOrient;
      } else {
        zone->FOrientation = only->FOrientation;
        for (auto& c : only->FChildren) {
          c->FParent = zone;
          zone->FChildren.push_back(std::move(c));
        }
      }
      // A leaf directly as the top zone is kept as a one-child top zone.
      if (!parent && zone->FChildControl) {
        auto leaf = std::make_unique<TDockZone>(this);
        leaf->FChildControl = zone->FChildControl;
        leaf->FWaiting = zone->FWaiting;
        leaf->FParent = zone;
        zone->FChildControl = nullptr;
        zone->FWaiting = false;
        zone->FOrientation = doNoOrient;
        zone->FChildren.push_back(std::move(leaf));
      }
    }
    if (zone->ChildCount() <= 1 && !parent) zone->FOrientation = doNoOrient;
    zone = parent;
  }
}

// ---- Layout ----------------------------------------------------------------------------

static RECT FrameOf(const TDockTree* tree, const TDockZone* zone);

bool TDockTree::GrabbersOnLeft() const {
  return FDockSite->Align() == alTop || FDockSite->Align() == alBottom;
}

// Gives the visible children of zone their rectangles within r, then lays
// out each child inside its rectangle less its splitter.
void TDockTree::Layout(TDockZone* zone, const RECT& r) {
  if (!zone->FParent) zone->FBounds = r;
  std::vector<TDockZone*> shown;
  double total = 0;
  for (auto& c : zone->FChildren) {
    if (c->Visible()) {
      shown.push_back(c.get());
      total += c->FWeight;
    } else {
      c->FBounds = RECT{r.left, r.top, r.left, r.top};
      Layout(c.get(), c->FBounds);
    }
  }
  if (shown.empty()) return;
  const bool stacked = zone->FOrientation == doHorizontal;
  const int start = stacked ? r.top : r.left;
  const int extent = std::max(0, stacked ? r.Height() : r.Width());
  double acc = 0;
  int prev = start;
  for (size_t i = 0; i < shown.size(); ++i) {
    acc += shown[i]->FWeight;
    int limit =
        i + 1 == shown.size() ? start + extent : start + int(std::lround(extent * acc / total));
    limit = std::clamp(limit, prev, start + extent);
    shown[i]->FBounds =
        stacked ? RECT{r.left, prev, r.right, limit} : RECT{prev, r.top, limit, r.bottom};
    prev = limit;
  }
  for (TDockZone* c : shown)
    Layout(c, FrameOf(this, c));
}

RECT TDockTree::SplitterRect(const TDockZone* zone) const {
  const TDockZone* parent = zone ? zone->FParent : nullptr;
  if (!parent || !zone->Visible()) return RECT{};
  // Only a zone followed by a visible sibling has a splitter at its end.
  bool after = false;
  for (int i = zone->IndexInParent() + 1; i < parent->ChildCount(); ++i)
    after = after || parent->Child(i)->Visible();
  if (!after) return RECT{};
  const RECT& b = zone->FBounds;
  if (parent->FOrientation == doHorizontal)
    return RECT{b.left, b.bottom - SplitterWidth, b.right, b.bottom};
  return RECT{b.right - SplitterWidth, b.top, b.right, b.bottom};
}

// The leaf's room without its splitter.
static RECT FrameOf(const TDockTree* tree, const TDockZone* zone) {
  RECT r = zone->Bounds();
  const RECT s = tree->SplitterRect(zone);
  if (s.right > s.left) {
    if (zone->ParentZone()->Orientation() == doHorizontal)
      r.bottom = s.top;
    else
      r.right = s.left;
  }
  return r;
}

RECT TDockTree::GrabberRect(const TDockZone* zone) const {
  const RECT f = FrameOf(this, zone);
  if (GrabbersOnLeft())
    return RECT{f.left, f.top, std::min(f.right, f.left + GrabberSize), f.bottom};
  return RECT{f.left, f.top, f.right, std::min(f.bottom, f.top + GrabberSize)};
}

RECT TDockTree::CloseBoxRect(const TDockZone* zone) const {
  const RECT f = FrameOf(this, zone);
  if (GrabbersOnLeft()) return RECT{f.left, f.top + 1, f.left + 11, f.top + 12};
  return RECT{f.right - 12, f.top, f.right - 1, f.top + 11};
}

void TDockTree::ApplyBounds(TDockZone* zone) {
  if (TControl* c = zone->FChildControl; c && zone->Visible()) {
    RECT f = FrameOf(this, zone);
    if (GrabbersOnLeft())
      f.left = std::min(f.right, f.left + GrabberSize);
    else
      f.top = std::min(f.bottom, f.top + GrabberSize);
    if (c->BoundsRect() != f) c->SetBounds(f.left, f.top, f.Width(), f.Height());
  }
  for (auto& ch : zone->FChildren)
    ApplyBounds(ch.get());
}

// Keeps the tree in step with the site: clients that lost their zone (or
// were docked while the tree was not listening) get one, leaves of
// controls that left the site go.  A leaf inserted ahead of its control's
// Dock stays and waits for it (taking no room meanwhile) until the control
// arrives, is inserted again, or is freed.
void TDockTree::Reconcile() {
  std::vector<TControl*> gone;
  ForEachLeaf(FTopZone.get(), [&](TDockZone* z) {
    if (z->FChildControl->HostDockSite() == FDockSite)
      z->FWaiting = false;
    else if (!z->FWaiting)
      gone.push_back(z->FChildControl);
  });
  for (TControl* c : gone)
    RemoveControl(c);
  for (int i = 0; i < FDockSite->DockClientCount(); ++i) {
    TControl* c = FDockSite->DockClients(i);
    if (!FindControlZone(c)) InsertControl(c, alNone, nullptr);
  }
}

void TDockTree::ResetBounds(bool force) {
  if (FResetting || FLoading || (FUpdateCount > 0 && !force)) return;
  if (FDockSite->ComponentState().Contains(csDestroying)) return;
  FResetting = true;
  try {
    Reconcile();
    Layout(FTopZone.get(), FDockSite->ClientRect());
    ApplyBounds(FTopZone.get());
  } catch (...) {
    FResetting = false;
    throw;
  }
  FResetting = false;
  if (FDockSite->HandleAllocated()) FDockSite->Invalidate();
}

void TDockTree::GetControlBounds(TControl* control, RECT& bounds) {
  if (TDockZone* z = FindControlZone(control))
    bounds = FrameOf(this, z);
  else
    bounds = RECT{};
}

void TDockTree::PositionDockRect(TControl* client, TControl* dropControl, TAlign dropAlign,
                                 RECT& dockRect) {
  TDockZone* z = FindControlZone(dropControl);
  RECT r = z ? FrameOf(this, z) : FDockSite->ClientRect();
  if (z || FTopZone->Visible()) {
    // The client will share the room with what is there.
    switch (dropAlign) {
    case alLeft:
      r.right = r.left + r.Width() / 2;
      break;
    case alRight:
      r.left = r.right - r.Width() / 2;
      break;
    case alTop:
      r.bottom = r.top + r.Height() / 2;
      break;
    case alBottom:
      r.top = r.bottom - r.Height() / 2;
      break;
    default:
      break;
    }
  }
  const POINT tl = FDockSite->ClientToScreen(POINT{r.left, r.top});
  dockRect = RECT{tl.x, tl.y, tl.x + r.Width(), tl.y + r.Height()};
}

// ---- Painting --------------------------------------------------------------------------

void TDockTree::PaintSite(HDC dc) {
  TCanvas canvas;
  canvas.SetHandle(dc);
  ForEachLeaf(FTopZone.get(), [&](TDockZone* z) {
    if (z->Visible()) PaintDockFrame(&canvas, z->FChildControl, FrameOf(this, z));
  });
  canvas.SetHandle(nullptr);
}

void TDockTree::PaintDockFrame(TCanvas* canvas, TControl* control, const RECT& frame) {
  const TDockZone* zone = FindControlZone(control);
  if (!zone) return;
  const RECT close = CloseBoxRect(zone);
  // Two raised bars along the grabber, stopping short of the close box.
  auto bar = [&](RECT b) {
    canvas->Pen()->SetColor(clBtnHighlight);
    canvas->MoveTo(b.left, b.bottom - 1);
    canvas->LineTo(b.left, b.top);
    canvas->LineTo(b.right - 1, b.top);
    canvas->Pen()->SetColor(clBtnShadow);
    canvas->LineTo(b.right - 1, b.bottom - 1);
    canvas->LineTo(b.left - 1, b.bottom - 1);
  };
  if (GrabbersOnLeft()) {
    bar(RECT{frame.left + 2, close.bottom + 2, frame.left + 5, frame.bottom - 2});
    bar(RECT{frame.left + 6, close.bottom + 2, frame.left + 9, frame.bottom - 2});
  } else {
    bar(RECT{frame.left + 2, frame.top + 2, close.left - 2, frame.top + 5});
    bar(RECT{frame.left + 2, frame.top + 6, close.left - 2, frame.top + 9});
  }
  // The close box: a raised square with a cross.
  bar(close);
  canvas->Pen()->SetColor(clBtnText);
  canvas->MoveTo(close.left + 3, close.top + 3);
  canvas->LineTo(close.right - 3, close.bottom - 3);
  canvas->MoveTo(close.right - 4, close.top + 3);
  canvas->LineTo(close.left + 2, close.bottom - 3);
}

// ---- Mouse -------------------------------------------------------------------------------

TDockTree::THitKind TDockTree::HitTest(POINT p, TDockZone*& zone) const {
  zone = nullptr;
  THitKind kind = htNothing;
  std::function<void(TDockZone*)> walk = [&](TDockZone* z) {
    if (kind != htNothing || !z->Visible()) return;
    if (PtInRect(SplitterRect(z), p)) {
      zone = z;
      kind = htSplitter;
      return;
    }
    if (z->FChildControl) {
      if (PtInRect(CloseBoxRect(z), p))
        kind = htClose;
      else if (PtInRect(GrabberRect(z), p))
        kind = htGrabber;
      if (kind != htNothing) zone = z;
      return;
    }
    for (auto& c : z->FChildren)
      walk(c.get());
  };
  walk(FTopZone.get());
  return kind;
}

bool TDockTree::HandleSiteMessage(TMessage& m) {
  if (FDragging && m.Msg == WM_KEYDOWN && m.WParam == VK_ESCAPE) {
    EndDrag(false, POINT{});
    return true;
  }
  if (FDragging && m.Msg == WM_CANCELMODE) {
    EndDrag(false, POINT{});
    return false;
  }
  // A quick second press arrives as a double click and counts as a press.
  if (m.Msg < WM_MOUSEMOVE || m.Msg > WM_LBUTTONDBLCLK) return false;
  return MouseMessage(m);
}

bool TDockTree::MouseMessage(TMessage& m) {
  const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) {
    TDockZone* z = nullptr;
    const THitKind k = HitTest(p, z);
    if (k == htNothing) return false;
    FPressedKind = k;
    FPressedZone = z;
    FSizingZone = k == htSplitter ? z : nullptr;
    FPressPoint = p;
    SetCapture(FDockSite->Handle());
    return true;
  }
  if (FDragging && !DockDragging()) {
    // The drag was cancelled elsewhere (Esc in the preview).
    EndDrag(false, POINT{});
    if (m.Msg != WM_LBUTTONDOWN) return true;
  }
  if (FDragging) {
    const POINT sp = FDockSite->ClientToScreen(p);
    if (m.Msg == WM_MOUSEMOVE) {
      DockDragMove(sp);
    } else if (m.Msg == WM_LBUTTONUP) {
      EndDrag(true, sp); // may take the control out of this tree
    }
    return true;
  }
  if (FPressedKind == htNothing) return false;
  if (m.Msg == WM_MOUSEMOVE) {
    if (FSizingZone) {
      // Move the border between the zone and its next visible sibling.
      TDockZone* a = FSizingZone;
      TDockZone* parent = a->FParent;
      TDockZone* b = nullptr;
      for (int i = a->IndexInParent() + 1; i < parent->ChildCount() && !b; ++i)
        if (parent->Child(i)->Visible()) b = parent->Child(i);
      if (!b) return true;
      const bool stacked = parent->FOrientation == doHorizontal;
      const int lo = (stacked ? a->FBounds.top : a->FBounds.left) + MinZoneSize;
      const int hi = (stacked ? b->FBounds.bottom : b->FBounds.right) - MinZoneSize;
      if (hi < lo) return true;
      const int edge = std::clamp(stacked ? p.y : p.x, lo, hi);
      const int aStart = stacked ? a->FBounds.top : a->FBounds.left;
      const int bEnd = stacked ? b->FBounds.bottom : b->FBounds.right;
      const double pair = a->FWeight + b->FWeight;
      a->FWeight = pair * (edge + SplitterWidth / 2 - aStart) / double(bEnd - aStart);
      b->FWeight = pair - a->FWeight;
      ResetBounds(true);
    } else if (FPressedKind == htGrabber && FPressedZone) {
      const int dx = GetSystemMetrics(SM_CXDRAG), dy = GetSystemMetrics(SM_CYDRAG);
      if (std::abs(p.x - FPressPoint.x) >= dx || std::abs(p.y - FPressPoint.y) >= dy) {
        TControl* c = FPressedZone->FChildControl;
        FPressedKind = htNothing;
        FPressedZone = nullptr;
        if (OnGrabberDrag) {
          ReleaseCapture();
          OnGrabberDrag(c);
        } else {
          // The site keeps the mouse and passes it on to the dock drag.
          // The keyboard goes to the site too, for Esc to cancel.
          FDragging = true;
          FFocusBeforeDrag = GetFocus();
          SetFocus(FDockSite->Handle());
          BeginDockDrag(c, FDockSite->ClientToScreen(FPressPoint));
          DockDragMove(FDockSite->ClientToScreen(p));
        }
      }
    }
    return true;
  }
  // WM_LBUTTONUP: a release over the pressed close box hides its control.
  TDockZone* z = nullptr;
  const THitKind k = HitTest(p, z);
  TControl* hide =
      (FPressedKind == htClose && k == htClose && z == FPressedZone) ? z->FChildControl : nullptr;
  FPressedKind = htNothing;
  FPressedZone = FSizingZone = nullptr;
  ReleaseCapture();
  if (hide) hide->Hide();
  return true;
}

void TDockTree::EndDrag(bool drop, POINT screen) {
  FDragging = false;
  ReleaseCapture();
  HWND focus = FFocusBeforeDrag;
  FFocusBeforeDrag = nullptr;
  if (focus && IsWindow(focus)) SetFocus(focus);
  DockDragEnd(screen, drop);
}

TDockTreeClass& DefaultDockTreeClass() {
  static TDockTreeClass cls = [](TWinControl* site) { return std::make_unique<TDockTree>(site); };
  return cls;
}

} // namespace zel

namespace zel {
std::unique_ptr<IDockManager> MakeDefaultDockManager(TWinControl* site) {
  return DefaultDockTreeClass()(site);
}
} // namespace zel
