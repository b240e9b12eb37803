// TFrameSite: the dock manager and floating classes by dock style, the
// docking of children parented into the site, collapse and expansion with
// the drop preview sized to match, the splitter beside the site, and the
// lookup of docked controls by saved name.
//
// Collapse and expansion are decided only in WM_SITEUPDATE, posted after
// every docking change so that the framework has finished it first:
//   expanded, no visible client   -> size remembered, width and height 0
//   collapsed, a visible client   -> the remembered size again

#include "docking/FrameSite.h"

#include <algorithm>

#include "docking/DockForms.h"
#include "docking/DockTreeZel.h"
#include "docking/FloatTree.h"
#include "framework/actnbars/ActnCtrls.h"
#include "framework/core/Streams.h"
#include "framework/docking/DragDock.h"
#include "framework/forms/Application.h"
#include "framework/stdctrls/Splitter.h"
#include "platform/clock/Clock.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/SystemParams.h"

namespace zel {

using namespace sys;

TFrameSite::TFrameSite(TComponent* owner) : TFrame(owner) {
  SetBounds(Left(), Top(), 320, 240);
  SetDockSite(true);
  SetTabOrder(0);
  // The site only holds what docks in it; the keyboard goes straight on to
  // the docked frame's own tab stops.
  SetTabStop(false);
  FExpandedWidth = Width();
  FExpandedHeight = Height();
}

// ---- Dock style ---------------------------------------------------------------------------

TClass TFrameSite::FloatingClass() const {
  switch (FDockStyle) {
  case 0:
    return DefaultDockFormClass() ? DefaultDockFormClass() : &TCustomDockFormEx::StaticClass();
  case 1:
    return &TCustomDockFormZel::StaticClass();
  case 2:
    return &TCustomDockForm::StaticClass();
  default:
    return nullptr;
  }
}

void TFrameSite::UpdateFloatingClasses() {
  const TClass cls = FloatingClass();
  if (!cls) return;
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* w = dynamic_cast<TWinControl*>(Controls(i))) w->SetFloatingDockSiteClass(cls);
}

std::unique_ptr<IDockManager> TFrameSite::CreateDockManager() {
  // The framework asks only while the site has no manager.
  std::unique_ptr<IDockManager> manager;
  if (!DockManager() && DockSite() && UseDockManager()) {
    switch (FDockStyle) {
    case 0:
      manager = DefaultDockTreeClass()(this);
      break;
    case 1:
      manager = std::make_unique<TDockTreeZel>(this);
      break;
    case 2:
      manager = std::make_unique<TDockTree>(this);
      break;
    default:
      break;
    }
  }
  SetDoubleBuffered(DoubleBuffered() || manager != nullptr);
  return manager;
}

void TFrameSite::SetDockStyle(uint8_t style) {
  if (style == FDockStyle) return;
  struct TKept {
    TControl* Control;
    RECT Bounds;
  };
  std::vector<TKept> kept;
  for (int i = 0; i < DockClientCount(); ++i) {
    TControl* c = DockClients(i);
    if (c->Visible() && dynamic_cast<TWinControl*>(c)) kept.push_back({c, c->BoundsRect()});
  }
  FDockStyle = style;
  if (DockManager() && DockSite()) {
    const int w = Width(), h = Height();
    TMemoryStream arrangement;
    DockManager()->SaveToStream(arrangement);
    SetDockSite(false);
    SetUseDockManager(false);
    for (const TKept& k : kept)
      k.Control->ManualFloat(RECT{-k.Control->Width(), -k.Control->Height(), 0, 0});
    SetDockSite(true);
    SetUseDockManager(true);
    if (IDockManager* manager = DockManager()) {
      manager->BeginUpdate();
      try {
        for (const TKept& k : kept) {
          SetBounds(Left(), Top(), w, h);
          manager->InsertControl(k.Control, alTop, this);
          k.Control->Dock(this, k.Bounds);
        }
        arrangement.SetPosition(0);
        manager->LoadFromStream(arrangement);
      } catch (...) {
        manager->EndUpdate();
        throw;
      }
      manager->EndUpdate();
    }
  }
  UpdateFloatingClasses();
}

// ---- Window and children ------------------------------------------------------------

void TFrameSite::CreateHandle() {
  if (FFirstHandle) {
    SetUseDockManager(true);
    UpdateFloatingClasses();
  }
  TFrame::CreateHandle();
  if (!DockManager()) return;
  if (FFirstHandle) {
    FFirstHandle = false;
    FExpandedWidth = Width();
    FExpandedHeight = Height();
  }
  DockUndockedChildren();
}

int TFrameSite::VisibleDockClientCount() const {
  int n = 0;
  for (int i = 0; i < DockClientCount(); ++i)
    if (DockClients(i)->Visible()) ++n;
  return n;
}

namespace {

bool IsDockClientOf(const TWinControl* site, const TControl* c) {
  for (int i = 0; i < site->DockClientCount(); ++i)
    if (site->DockClients(i) == c) return true;
  return false;
}

// The side a child goes to: across the site's own alignment, so that the
// children of a site on the right edge stack from top to bottom.
TAlign InsertSideFor(TAlign siteAlign) {
  switch (siteAlign) {
  case alTop:
    return alLeft;
  case alBottom:
    return alRight;
  case alLeft:
    return alTop;
  case alRight:
    return alBottom;
  default:
    return alTop;
  }
}

} // namespace

void TFrameSite::DockUndockedChildren() {
  FBusy = true;
  try {
    for (int pass = 0; pass < 11; ++pass) {
      TWinControl* child = nullptr;
      for (int i = ControlCount() - 1; i >= 0 && !child; --i) {
        auto* w = dynamic_cast<TWinControl*>(Controls(i));
        if (w && w->DragKind() == dkDock && !IsDockClientOf(this, w)) child = w;
      }
      if (!child) break;
      const RECT bounds = child->BoundsRect();
      TAlign side = InsertSideFor(Align());
      if (child->Align() != alNone) {
        side = child->Align();
        child->SetAlign(alNone);
      }
      if (DockManager()) DockManager()->InsertControl(child, side, this);
      child->Dock(this, bounds);
    }
  } catch (...) {
    FBusy = false;
    PostSiteUpdate();
    throw;
  }
  FBusy = false;
  PostSiteUpdate();
}

// ---- Docking hooks ---------------------------------------------------------------------

// While the site is collapsed the preview shows the size it will take.
RECT TFrameSite::PreviewRect(RECT r) {
  int w, h;
  if (Parent()) {
    w = 2 * Parent()->ClientWidth() / 3;
    h = 2 * Parent()->ClientHeight() / 3;
  } else {
    w = GetSystemMetrics(SM_CXSCREEN) / 4;
    h = GetSystemMetrics(SM_CYSCREEN) / 4;
  }
  w = std::max(30, std::min(w, FExpandedWidth));
  h = std::max(30, std::min(h, FExpandedHeight));
  switch (Align()) {
  case alTop:
    r.bottom = r.top + h;
    break;
  case alBottom:
    r.top = r.bottom - h;
    break;
  case alLeft:
    r.right = r.left + w;
    break;
  case alRight:
    r.left = r.right - w;
    break;
  case alNone: {
    const int dx = (w - Width()) / 2, dy = (h - Height()) / 2;
    r = RECT{r.left - dx, r.top - dy, r.right + dx, r.bottom + dy};
    if (Parent()) {
      const POINT origin = Parent()->ClientToScreen(POINT{0, 0});
      OffsetRect(r, std::max(0, origin.x - r.left), std::max(0, origin.y - r.top));
    }
    break;
  }
  default:
    break;
  }
  return r;
}

namespace {

// Action bars dock in control bars only, and a form is a window of its own.
bool NeverDocksHere(TControl* control) {
  return dynamic_cast<TCustomActionDockBar*>(control) || dynamic_cast<TCustomForm*>(control);
}

} // namespace

void TFrameSite::DockOver(TDragDockObject* source, int x, int y, TDragState state, bool& accept) {
  TFrame::DockOver(source, x, y, state, accept);
  if (FBusy || !source) return;
  if (NeverDocksHere(source->Control())) {
    accept = false;
    return;
  }
  if (accept && FCollapsed) source->SetDockRect(PreviewRect(source->DockRect()));
}

void TFrameSite::DockDrop(TDragDockObject* source, int x, int y) {
  TFrame::DockDrop(source, x, y);
  if (FBusy || !source || VisibleDockClientCount() != 1) return;
  // The first client of a collapsed site: the site takes the preview's place.
  FCollapsed = false;
  RECT r = source->DockRect();
  if (Parent()) {
    const POINT tl = Parent()->ScreenToClient(POINT{r.left, r.top});
    r = RECT{tl.x, tl.y, tl.x + r.Width(), tl.y + r.Height()};
  }
  SetBoundsRect(r);
  UpdateSplitter();
}

bool TFrameSite::DoUnDock(TWinControl* newTarget, TControl* client) {
  // A client about to float gets the floating class of the site's style.
  if (!newTarget) UpdateFloatingClasses();
  const bool result = TFrame::DoUnDock(newTarget, client);
  if (result && !FBusy) PostSiteUpdate();
  return result;
}

void TFrameSite::DoAddDockClient(TControl* client, const RECT& rect) {
  TFrame::DoAddDockClient(client, rect);
  if (rect.top < rect.bottom && rect.left < rect.right)
    client->SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

void TFrameSite::AlignControls(TControl* control, RECT& rect) {
  TFrame::AlignControls(control, rect);
  if (!FBusy) PostSiteUpdate();
}

void TFrameSite::ReloadDockedControl(const std::string& name, TControl*& control) {
  control = nullptr;
  if (Owner()) {
    TFrame::ReloadDockedControl(name, control);
    if (!control) control = FindDockedControl(name, Owner());
  }
  if (!control) control = FindDockedControl(name, Application);
}

// What a person could dock here by dragging, and nothing else: a control
// made to dock (the editor; not the controls inside it nor the control bar),
// never an action bar nor a form.
bool TFrameSite::AcceptsDockClient(TControl* client) {
  return TFrame::AcceptsDockClient(client) && client->DragKind() == dkDock &&
         !NeverDocksHere(client);
}

// ---- Collapse and expansion -------------------------------------------------------

void TFrameSite::PostSiteUpdate() {
  // One message waiting is enough: it looks at the state when it arrives.
  if (FUpdatePosted || !HandleAllocated()) return;
  if (PostMessage(Handle(), WM_SITEUPDATE, 0, 0)) FUpdatePosted = true;
}

void TFrameSite::WndProc(TMessage& m) {
  if (m.Msg == WM_SITEUPDATE && m.WParam == 0) {
    FUpdatePosted = false;
    SiteUpdate();
    return;
  }
  TFrame::WndProc(m);
}

void TFrameSite::SiteUpdate() {
  const bool empty = VisibleDockClientCount() <= 0;
  if (FCollapsed != empty) {
    if (!FCollapsed) {
      FExpandedWidth = Width();
      FExpandedHeight = Height();
    }
    FCollapsed = !FCollapsed;
    if (FCollapsed)
      SetBounds(Left(), Top(), 0, 0);
    else
      SetBounds(Left(), Top(), FExpandedWidth, FExpandedHeight);
  }
  UpdateSplitter();
  const uint32_t tick = GetTickCount();
  if (tick != FLastResetTick && DockManager()) {
    FLastResetTick = tick;
    DockManager()->ResetBounds(true);
  }
}

void TFrameSite::UpdateSplitter() {
  TWinControl* parent = Parent();
  const TAlign a = Align();
  if (!parent || (a != alTop && a != alBottom && a != alLeft && a != alRight)) return;
  TSplitter* splitter = nullptr;
  for (int i = 0; i < parent->ControlCount() && !splitter; ++i) {
    auto* s = dynamic_cast<TSplitter*>(parent->Controls(i));
    if (s && s->Align() == a) splitter = s;
  }
  if (!splitter) return;
  if (FCollapsed) {
    splitter->SetVisible(false);
    return;
  }
  splitter->SetVisible(true);
  switch (a) {
  case alTop:
    splitter->SetTop(Top() + Height() + 1);
    break;
  case alBottom:
    splitter->SetTop(Top() - splitter->Height() - 1);
    break;
  case alLeft:
    splitter->SetLeft(Left() + Width() + 1);
    break;
  default:
    splitter->SetLeft(Left() - splitter->Width() - 1);
    break;
  }
}

// ---- Streams ---------------------------------------------------------------------------

namespace {

// Whether the next four bytes are the marker; the stream moves past them
// only when they are.
bool NextIsMarker(TStream& s) {
  if (s.Size() - s.Position() < 4) return false;
  const int64_t at = s.Position();
  if (s.ReadI32() == TFrameSite::StreamMarker) return true;
  s.SetPosition(at);
  return false;
}

} // namespace

void TFrameSite::SaveToStream(TStream* stream) {
  if (!stream) return;
  TStreamRewindOnError rewind(*stream);
  if (DockManager()) DockManager()->SaveToStream(*stream);
  const TAlign a = Align();
  stream->WriteI32(StreamMarker);
  stream->WriteI32(a == alNone || a == alLeft || a == alRight ? Width() : -1);
  stream->WriteI32(a == alNone || a == alTop || a == alBottom ? Height() : -1);
}

void TFrameSite::ReadSizes(TStream& s) {
  int32_t w = s.ReadI32();
  int32_t h = s.ReadI32();
  const TAlign a = Align();
  if (w < 1 || a == alTop || a == alBottom) w = Width();
  if (h < 1 || a == alLeft || a == alRight) h = Height();
  // A damaged file may claim any size; a site larger than the screen would
  // only cost its window's memory and every layout's time.
  w = std::min(w, std::max(Width(), sys::GetSystemMetrics(sys::SM_CXSCREEN)));
  h = std::min(h, std::max(Height(), sys::GetSystemMetrics(sys::SM_CYSCREEN)));
  SetBounds(Left(), Top(), w, h);
}

void TFrameSite::LoadFromStream(TStream* stream) {
  if (!stream) return;
  TStream& s = *stream;
  TStreamRewindOnError rewind(s);
  if (!UseDockManager()) SetUseDockManager(true);
  IDockManager* manager = DockManager();
  if (manager) manager->BeginUpdate();
  try {
    if (NextIsMarker(s)) {
      ReadSizes(s);
    } else if (manager) {
      manager->LoadFromStream(s);
      if (NextIsMarker(s)) ReadSizes(s);
    }
  } catch (...) {
    if (manager) manager->EndUpdate();
    throw;
  }
  if (manager) manager->EndUpdate();
}

} // namespace zel
