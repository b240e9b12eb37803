// The dock drag: the tree's grabber hands a drag over, the mouse moves show
// where the control would go in a frame of four thin topmost pop-ups (a
// drawing on the screen itself would not show), and the release docks the
// control into the site under the mouse or floats it in a new form.

#include "framework/docking/DragDock.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "framework/forms/Application.h"
#include "platform/gdi/Gdi.h"
#include "platform/text/Text.h"
#include "platform/user/Input.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Messages.h"
#include "platform/user/SystemParams.h"
#include "platform/user/Window.h"

namespace zel {

using namespace sys;

// ---- The preview frame -----------------------------------------------------------------

namespace {

// Posted to the preview to finish a drop after the dragged control's own
// mouse message has returned (docking gives the control a new window).
constexpr UINT CM_DEFERREDDROP = WM_APP + 0x0D0C;
void FinishDeferredDrop();

class TPreviewStrip : public TWinControl {
  ZEL_CLASS(TPreviewStrip, TWinControl)
public:
  explicit TPreviewStrip(TComponent* owner) : TWinControl(owner) {
    SetVisible(false);
    SetColor(clBtnShadow);
  }

  // A strip that got the keyboard passes Esc on to the drag.
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_KEYDOWN && m.WParam == VK_ESCAPE) {
      CancelDockDrag();
      return;
    }
    if (m.Msg == CM_DEFERREDDROP) {
      FinishDeferredDrop();
      return;
    }
    TWinControl::WndProc(m);
  }

protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.Style = WS_POPUP | (p.Style & WS_VISIBLE);
    p.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  }
};

constexpr int FrameWidth = 3;

} // namespace

class TDockDragger {
public:
  explicit TDockDragger(TControl* control, POINT start) : Object(control), Start(start) {
    for (auto& s : Strips)
      s = std::make_unique<TPreviewStrip>(nullptr);
    const POINT tl = control->ClientToScreen(POINT{0, 0});
    Offset = POINT{start.x - tl.x, start.y - tl.y};
  }
  void ShowFrame(const RECT& r) {
    Shown = r;
    const int w = FrameWidth;
    const std::array<RECT, 4> parts{
        RECT{r.left, r.top, r.right, r.top + w}, RECT{r.left, r.bottom - w, r.right, r.bottom},
        RECT{r.left, r.top, r.left + w, r.bottom}, RECT{r.right - w, r.top, r.right, r.bottom}};
    for (size_t i = 0; i < 4; ++i) {
      Strips[i]->SetBounds(parts[i].left, parts[i].top, parts[i].Width(), parts[i].Height());
      Strips[i]->Show();
      Strips[i]->HandleNeeded();
      Strips[i]->Update();
    }
  }
  bool IsStrip(TWinControl* c) const {
    for (auto& s : Strips)
      if (s.get() == c) return true;
    return false;
  }
  // Works out where the control would go at p; the preview follows unless
  // the drag is ending.
  void Move(POINT p, bool preview = true);

  TDragDockObject Object;
  POINT Start, Offset, DropAt{};
  RECT Shown{};
  // Set for a host drag: the host's rectangle at the press, which floating
  // moves along with the mouse.
  bool MovesHost = false;
  RECT HostRect{};
  // The site the mouse was over at the last move (it hears dsDragLeave).
  TWinControl* LastSite = nullptr;
  std::array<std::unique_ptr<TPreviewStrip>, 4> Strips;
};

namespace {
std::unique_ptr<TDockDragger>& Dragger() {
  static std::unique_ptr<TDockDragger> d;
  return d;
}
// A cancelled drag, kept until the next drag call frees it.
std::unique_ptr<TDockDragger>& Ending() {
  static std::unique_ptr<TDockDragger> d;
  return d;
}

// The control whose own press began the drag (drag kind dkDock, automatic).
TControl* AutoControl = nullptr;
POINT AutoPress{};

// The mouse goes to the pressed control: a windowed one captures it itself,
// a windowless one through its parent's window.
void CaptureFor(TControl* c) {
  if (auto* w = dynamic_cast<TWinControl*>(c))
    SetCapture(w->Handle());
  else
    SetCaptureControl(c);
}

void ReleaseFor(TControl* c) {
  if (c && GetCaptureControl() == c)
    SetCaptureControl(nullptr);
  else
    ReleaseCapture();
}

// Whether site is the dragged control or lies inside it.
bool InsideDragged(const TWinControl* site, const TControl* dragged) {
  for (const TWinControl* c = site; c; c = c->Parent())
    if (c == dragged) return true;
  return false;
}

// Whether site takes the drag at p by its own account (GetSiteInfo); area
// receives its influence rectangle.
bool SiteTakes(TWinControl* site, TControl* dragged, POINT p, RECT& area) {
  if (!site->DockSite() || InsideDragged(site, dragged)) return false;
  bool canDock = true;
  area = RECT{};
  site->GetSiteInfo(dragged, area, p, canDock);
  return canDock && PtInRect(area, p);
}

// The dock site a drag at screen point p goes to.  The innermost site on
// the way up from the window under the mouse comes first; otherwise a site
// whose influence rectangle reaches the point takes it (a collapsed site
// has no window area to be under the mouse), as long as no other program
// window covers the point: the smallest such rectangle wins.
TWinControl* SiteAt(POINT p, TControl* dragged, const TDockDragger& d) {
  HWND h = WindowFromPoint(p);
  TWinControl* under = h ? FindControl(h) : nullptr;
  if (under && d.IsStrip(under)) under = nullptr;
  RECT area{};
  for (TWinControl* c = under; c && !InsideDragged(c, dragged); c = c->Parent())
    if (SiteTakes(c, dragged, p, area)) return c;
  // The top window at the point, unless it is the dragged control's own.
  TWinControl* cover = under ? under->TopParent() : nullptr;
  if (cover && InsideDragged(under, dragged)) cover = nullptr;
  if (cover && dragged->HostDockSite() && cover == dragged->HostDockSite()->TopParent() &&
      IsFloatingDockSite(dragged->HostDockSite()))
    cover = nullptr;
  TWinControl* best = nullptr;
  long long bestArea = 0;
  for (TWinControl* site : DockSiteList()) {
    if (!SiteTakes(site, dragged, p, area)) continue;
    if (cover && site->TopParent() != cover) continue;
    const long long a = (long long)area.Width() * area.Height();
    if (!best || a < bestArea) {
      best = site;
      bestArea = a;
    }
  }
  return best;
}

// Which side of the zone under p the control would take: the nearest edge.
TAlign SideOf(const RECT& r, POINT p) {
  const int dl = p.x - r.left, dr = r.right - p.x, dt = p.y - r.top, db = r.bottom - p.y;
  const int m = std::min({dl, dr, dt, db});
  if (m == dl) return alLeft;
  if (m == dr) return alRight;
  if (m == dt) return alTop;
  return alBottom;
}
} // namespace

void TDockDragger::Move(POINT p, bool preview) {
  TDragDockObject& o = Object;
  TControl* c = o.FControl;
  o.FDragPos = p;
  o.FDragTarget = nullptr;
  o.FDropOnControl = nullptr;
  o.FDropAlign = alNone;
  TWinControl* site = SiteAt(p, c, *this);
  if (LastSite && LastSite != site) {
    bool ignored = false;
    const POINT lp = LastSite->ScreenToClient(p);
    LastSite->DockOver(&o, lp.x, lp.y, dsDragLeave, ignored);
  }
  const bool entering = site && site != LastSite;
  LastSite = site;
  if (site) {
    const POINT cp = site->ScreenToClient(p);
    RECT r{};
    if (IDockManager* manager = site->DockManager()) {
      auto* tree = dynamic_cast<TDockTree*>(manager);
      TControl* drop = nullptr;
      RECT zone = site->ClientRect();
      for (int i = 0; i < site->DockClientCount(); ++i) {
        TControl* k = site->DockClients(i);
        RECT b{};
        if (tree) tree->GetControlBounds(k, b);
        if (k->Visible() && PtInRect(b, cp)) {
          drop = k;
          zone = b;
        }
      }
      o.FDropOnControl = drop == c ? nullptr : drop;
      o.FDropAlign = SideOf(zone, cp);
      manager->PositionDockRect(c, o.FDropOnControl, o.FDropAlign, r);
    } else {
      // A site without a manager takes the control at its size where the
      // mouse carries it; the site's DockOver may propose another place.
      const int l = p.x - Offset.x, t = p.y - Offset.y;
      r = RECT{l, t, l + c->Width(), t + c->Height()};
    }
    o.FDragTarget = site;
    o.FDockRect = r;
    bool accept = true;
    site->DockOver(&o, cp.x, cp.y, entering ? dsDragEnter : dsDragMove, accept);
    if (!accept) o.FDragTarget = nullptr;
  }
  if (!o.FDragTarget && MovesHost) {
    o.FDockRect = HostRect;
    OffsetRect(o.FDockRect, p.x - Start.x, p.y - Start.y);
  } else if (!o.FDragTarget) {
    // Floating: the control's undocked size where the mouse carries it.  A
    // control grabbed further in than its undocked size reaches is held at
    // that size's far edge: the form stays under the mouse instead of
    // landing away from it, wholly off the screen even.  (A grab above or
    // left of the control, on a grabber, keeps its offset.)
    const int w = c->UndockWidth(), h = c->UndockHeight();
    const int l = p.x - std::min<int>(Offset.x, std::max(0, w - 1));
    const int t = p.y - std::min<int>(Offset.y, std::max(0, h - 1));
    o.FDockRect = RECT{l, t, l + w, t + h};
  }
  if (preview) ShowFrame(o.FDockRect);
}

void BeginDockDrag(TControl* control, POINT screen) {
  Ending().reset();
  if (!control) return;
  Dragger() = std::make_unique<TDockDragger>(control, screen);
  control->DoStartDock(&Dragger()->Object);
  Dragger()->Move(screen);
}

void BeginHostDockDrag(TControl* control, POINT screen, const RECT& floatRect) {
  Ending().reset();
  if (!control) return;
  Dragger() = std::make_unique<TDockDragger>(control, screen);
  Dragger()->MovesHost = true;
  Dragger()->HostRect = floatRect;
  control->DoStartDock(&Dragger()->Object);
  Dragger()->Move(screen);
}

bool DockDragging() {
  return Dragger() != nullptr;
}

void DockDragMove(POINT screen) {
  if (Dragger()) Dragger()->Move(screen);
}

// Ends a drag with a drop at the given point once the current message has
// returned: the drop may free the window whose message is being handled.
static void DeferDockDrop(POINT screen) {
  if (!Dragger()) return;
  Dragger()->DropAt = screen;
  PostMessage(Dragger()->Strips[0]->Handle(), CM_DEFERREDDROP, 0, 0);
}

void CancelDockDrag() {
  if (!Dragger()) return;
  // Deleting a strip from inside its own message is avoided: the drag ends
  // now, its windows go when the stack has unwound.
  auto& ending = Ending();
  ending = std::move(Dragger());
  for (auto& st : ending->Strips)
    st->Hide();
  // A press that began an automatic drag is over too.
  if (TControl* pressed = AutoControl) {
    AutoControl = nullptr;
    ReleaseFor(pressed);
  }
  ReleaseCapture();
}

TDragDockObject* CurrentDragDockObject() {
  return Dragger() ? &Dragger()->Object : nullptr;
}

RECT DockPreviewRect() {
  return Dragger() ? Dragger()->Shown : RECT{};
}

namespace {
void Drop(TDockDragger& d, POINT screen) {
  d.Move(screen, false);
  TDragDockObject& o = d.Object;
  TControl* c = o.Control();
  if (TWinControl* site = o.DragTarget()) {
    const bool managed = site->DockManager() != nullptr;
    // Dropped on its own zone: nothing changes.
    if (managed && o.DropOnControl() == nullptr && c->HostDockSite() == site) return;
    const POINT cp = site->ScreenToClient(screen);
    site->DockDrop(&o, cp.x, cp.y);
  } else if (TWinControl* host = c->HostDockSite(); d.MovesHost && host) {
    const RECT& r = o.DockRect();
    host->SetBounds(r.left, r.top, r.Width(), r.Height());
  } else {
    FloatControl(c, o.DockRect());
  }
}

void FinishDeferredDrop() {
  // Runs inside a strip's message: the dragger lives on until the next drag.
  auto& ending = Ending();
  ending = std::move(Dragger());
  if (!ending) return;
  for (auto& st : ending->Strips)
    st->Hide();
  Drop(*ending, ending->DropAt);
}
} // namespace

void DockDragEnd(POINT screen, bool drop) {
  Ending().reset();
  std::unique_ptr<TDockDragger> d = std::move(Dragger());
  if (d && drop) Drop(*d, screen);
}

bool DockDragMouseMessage(TControl* c, TMessage& m) {
  // Esc reaches whichever window has the keyboard (the active one, as a
  // system key, when none has); it ends an automatic drag wherever it
  // arrives.
  if (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN) {
    if (!AutoControl || m.WParam != VK_ESCAPE) return false;
    TControl* pressed = AutoControl;
    AutoControl = nullptr;
    ReleaseFor(pressed);
    CancelDockDrag();
    return true;
  }
  const bool automatic = c->DragKind() == dkDock && c->DragMode() == dmAutomatic;
  if (!automatic && AutoControl != c) return false;
  POINT p;
  GetCursorPos(&p);
  switch (m.Msg) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    if (!automatic || Dragger()) return false;
    AutoControl = c;
    AutoPress = p;
    CaptureFor(c);
    return true;
  case WM_MOUSEMOVE:
    if (AutoControl != c) return false;
    if (!Dragger()) {
      if (std::abs(p.x - AutoPress.x) < GetSystemMetrics(SM_CXDRAG) &&
          std::abs(p.y - AutoPress.y) < GetSystemMetrics(SM_CYDRAG))
        return true;
      BeginDockDrag(c, AutoPress);
    }
    DockDragMove(p);
    return true;
  case WM_LBUTTONUP:
    if (AutoControl != c) return false;
    AutoControl = nullptr;
    ReleaseFor(c);
    DeferDockDrop(p);
    return true;
  case WM_CANCELMODE:
    if (AutoControl == c) {
      AutoControl = nullptr;
      CancelDockDrag();
    }
    return false;
  default:
    return false;
  }
}

void DockControlDestroyed(TControl* control) {
  // A zone inserted for the control in a site it never reached goes with it.
  const std::vector<TWinControl*> sites = DockSiteList();
  for (TWinControl* site : sites)
    if (IDockManager* manager = site->DockManager(); manager && control->HostDockSite() != site)
      manager->RemoveControl(control);
  const bool dragged = Dragger() && Dragger()->Object.Control() == control;
  if (AutoControl == control) AutoControl = nullptr;
  if (Dragger() && Dragger()->LastSite == control) Dragger()->LastSite = nullptr;
  if (dragged) CancelDockDrag();
}

// ---- Floating forms ----------------------------------------------------------------------

TCustomDockForm::TCustomDockForm(TComponent* owner) : TCustomForm(owner) {
  SetBorderStyle(bsSizeToolWin);
  SetDockSite(true);
  // It shows where floating puts it, never at a default place.
  SetPosition(poDesigned);
}

void TCustomDockForm::SetOwnerForm(TCustomForm* form) {
  if (form == this || form == FOwnerForm) return;
  if (FOwnerForm) FOwnerForm->RemoveFreeNotification(this);
  FOwnerForm = form;
  if (form) form->FreeNotification(this);
  if (HandleAllocated())
    SetWindowLongPtr(Handle(), GWLP_HWNDPARENT,
                     LONG_PTR(form && form->HandleAllocated() ? form->Handle() : nullptr));
}

void TCustomDockForm::Notification(TComponent* component, TOperation operation) {
  TCustomForm::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FOwnerForm) {
    FOwnerForm = nullptr;
    if (HandleAllocated()) SetWindowLongPtr(Handle(), GWLP_HWNDPARENT, 0);
  }
}

void TCustomDockForm::CreateParams(TCreateParams& p) {
  TCustomForm::CreateParams(p);
  if (FOwnerForm && !(p.Style & WS_CHILD)) p.WndParent = FOwnerForm->Handle();
}

void TCustomDockForm::DoAddDockClient(TControl* client, const RECT& rect) {
  TCustomForm::DoAddDockClient(client, rect);
  client->SetAlign(alClient);
  SetCaption(client->Caption());
}

void TCustomDockForm::DoRemoveDockClient(TControl* client) {
  TCustomForm::DoRemoveDockClient(client);
  // The form exists for its client only.
  if (DockClientCount() == 0 && !ComponentState().Contains(csDestroying)) Release();
}

void TCustomDockForm::GetSiteInfo(TControl* client, RECT& influenceRect, POINT mousePos,
                                  bool& canDock) {
  TCustomForm::GetSiteInfo(client, influenceRect, mousePos, canDock);
  if (!DockManager()) canDock = false;
}

SIZE TCustomDockForm::SizeForClient(int clientWidth, int clientHeight) {
  // The frame of a sizable tool window with a close box, as the window
  // system draws it around the client area.
  RECT r{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&r, WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU, FALSE,
                     WS_EX_TOOLWINDOW);
  return SIZE{r.Width(), r.Height()};
}

int TCustomDockForm::ClientWidthForCaption(const std::string& caption) {
  if (caption.empty()) return 0;
  SIZE text{};
  const HDC dc = CreateCompatibleDC(nullptr);
  const HFONT font = CreateFontIndirect(GetNonClientMetrics().lfSmCaptionFont);
  const HGDIOBJ old = SelectObject(dc, font);
  GetTextExtentPoint32(dc, caption, &text);
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
  // The caption bar is as wide as the client area: the text with its
  // margins, and the close box with its own.
  const int closeBox = GetSystemMetrics(SM_CXSMSIZE) + 4;
  return std::min(MaxCaptionClientWidth, text.cx + 6 + closeBox + 4);
}

void TCustomDockForm::WndProc(TMessage& m) {
  if (CaptionDragMessage(m)) return;
  // A floating window is part of the form its client came from: keys it
  // does not use itself (that form's short cuts and menu keys) go on to
  // that form, as an MDI child's go to its MDI form.
  if (m.Msg == CM_DIALOGKEY || m.Msg == CM_MENUKEY) {
    TCustomForm::WndProc(m);
    if (m.Result == 0 && FOwnerForm && FOwnerForm != this)
      m.Result = FOwnerForm->Perform(m.Msg, m.WParam, m.LParam);
    return;
  }
  if (m.Msg == WM_SIZING && m.LParam) {
    FitSizing(m.WParam, *reinterpret_cast<RECT*>(m.LParam));
    m.Result = 1;
    return;
  }
  TCustomForm::WndProc(m);
  // Sizing by the frame stops at the constraints the client set (a tool
  // bar keeps its widest button in view), which may be narrower than an
  // ordinary window's least size.
  if (m.Msg == WM_GETMINMAXINFO && m.LParam) {
    auto* mmi = reinterpret_cast<MINMAXINFO*>(m.LParam);
    if (Constraints()->MinWidth() > 0) mmi->ptMinTrackSize.x = Constraints()->MinWidth();
    if (Constraints()->MinHeight() > 0) mmi->ptMinTrackSize.y = Constraints()->MinHeight();
  }
}

// A new size goes by what the one client makes of the client area: a tool
// bar in rows takes the height its rows need at the width, and is never
// narrower than its widest button.  Dragged at the top or bottom edge the
// height leads instead (see CM_FLOATSIZING).  Returns false when the
// client keeps to the size proposed.
bool TCustomDockForm::FitSizeToClient(SIZE& outer, bool heightLeads) {
  if (DockClientCount() != 1 || !HandleAllocated()) return false;
  RECT window, client;
  GetWindowRect(Handle(), &window);
  GetClientRect(Handle(), &client);
  const int frameX = window.Width() - client.Width(), frameY = window.Height() - client.Height();
  SIZE size{outer.cx - frameX, outer.cy - frameY};
  if (DockClients(0)->Perform(CM_FLOATSIZING, heightLeads, LPARAM(&size)) == 0) return false;
  outer = SIZE{size.cx + frameX, size.cy + frameY};
  return true;
}

// A size set by a program fits the client as well, the width leading.
void TCustomDockForm::SetBounds(int left, int top, int width, int height) {
  SIZE outer{width, height};
  if ((width != Width() || height != Height()) && FitSizeToClient(outer, false)) {
    width = outer.cx;
    height = outer.cy;
  }
  TCustomForm::SetBounds(left, top, width, height);
}

// Sizing by the frame: the edge dragged tells which of width and height
// leads and which sides of the rectangle give way.
void TCustomDockForm::FitSizing(WPARAM edge, RECT& r) {
  const bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
  const bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
  SIZE outer{r.Width(), r.Height()};
  if (!FitSizeToClient(outer, edge == WMSZ_TOP || edge == WMSZ_BOTTOM)) return;
  if (left)
    r.left = r.right - outer.cx;
  else
    r.right = r.left + outer.cx;
  if (top)
    r.top = r.bottom - outer.cy;
  else
    r.bottom = r.top + outer.cy;
}

namespace {
// The client a caption drag carries: the first visible one.
TControl* CaptionClient(TCustomDockForm& f) {
  for (int i = 0; i < f.DockClientCount(); ++i)
    if (f.DockClients(i)->Visible()) return f.DockClients(i);
  return nullptr;
}
} // namespace

bool TCustomDockForm::CaptionDragMessage(TMessage& m) {
  POINT p;
  GetCursorPos(&p);
  switch (m.Msg) {
  case WM_NCLBUTTONDOWN:
    // The form's own move loop is replaced by the dock drag, which shows
    // where the form goes and lets a site take the client.
    if (m.WParam != HTCAPTION || !CaptionClient(*this) || Dragger()) return false;
    FCaptionPressed = true;
    FCaptionPress = p;
    SetCapture(Handle());
    return true;
  case WM_MOUSEMOVE:
    if (!FCaptionPressed) return false;
    if (!Dragger()) {
      if (std::abs(p.x - FCaptionPress.x) < GetSystemMetrics(SM_CXDRAG) &&
          std::abs(p.y - FCaptionPress.y) < GetSystemMetrics(SM_CYDRAG))
        return true;
      TControl* client = CaptionClient(*this);
      if (!client) return true;
      BeginHostDockDrag(client, FCaptionPress, BoundsRect());
    }
    DockDragMove(p);
    return true;
  case WM_LBUTTONUP:
    if (!FCaptionPressed) return false;
    FCaptionPressed = false;
    ReleaseCapture();
    // Docking the client empties and frees this form: the drop runs once
    // this message has returned.
    DeferDockDrop(p);
    return true;
  case WM_KEYDOWN:
    if (!FCaptionPressed || m.WParam != VK_ESCAPE) return false;
    FCaptionPressed = false;
    ReleaseCapture();
    CancelDockDrag();
    return true;
  case WM_CANCELMODE:
    if (FCaptionPressed) {
      FCaptionPressed = false;
      CancelDockDrag();
    }
    return false;
  default:
    return false;
  }
}

void TCustomDockForm::DoClose(TCloseAction& action) {
  for (int i = 0; i < DockClientCount(); ++i)
    DockClients(i)->Hide();
  action = caHide;
  TCustomForm::DoClose(action);
}

TClass& DefaultFloatingDockSiteClass() {
  static TClass cls = &TCustomDockForm::StaticClass();
  return cls;
}

RECT FitNewFloatingRect(RECT r) {
  RECT work{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  if (!PtInRect(work, POINT{r.left, r.top})) return r;
  const int dx = std::max(0, std::min(r.right - work.right, r.left - work.left));
  const int dy = std::max(0, std::min(r.bottom - work.bottom, r.top - work.top));
  OffsetRect(r, -dx, -dy);
  return r;
}

// The steps go in the order a site and a floating form can build on: the
// site left hears first (it may still choose the class its client floats
// in), the form stands at its place before it takes the client (so that
// its add-client hook sees its real bounds, and a place that hook restores
// stays), and only a visible client shows the form: a hidden one floats
// hidden.
TCustomDockForm* FloatControl(TControl* control, const RECT& r) {
  if (!control) return nullptr;
  // The form floats as a palette of the form the control leaves (or of
  // that form's owner when it leaves a floating form).
  TCustomForm* from = GetParentForm(control);
  if (auto* floating = dynamic_cast<TCustomDockForm*>(from)) from = floating->OwnerForm();
  if (TWinControl* host = control->HostDockSite())
    if (!host->DoUnDock(nullptr, control)) return nullptr;
  TClass cls = control->FloatingDockSiteClass();
  if (!cls || !cls->InheritsFrom(TCustomDockForm::StaticClass()))
    cls = DefaultFloatingDockSiteClass();
  // The application owns floating forms (it frees those still open at the
  // end, and it is where a program finds them); without one they free
  // themselves when emptied or are freed by whoever made them.
  auto* form = dynamic_cast<TCustomDockForm*>(cls->Create(Application));
  if (!form) return nullptr;
  form->SetOwnerForm(from);
  const RECT fitted = FitNewFloatingRect(r);
  form->SetBounds(fitted.left, fitted.top, fitted.Width(), fitted.Height());
  if (!control->ManualDock(form, nullptr, alClient) || control->HostDockSite() != form) {
    // The control would not go in: no empty form is left behind.
    delete form;
    return nullptr;
  }
  if (control->Visible()) form->Show();
  return form;
}

void TWinControl::DockDrop(TDragDockObject* source, int x, int y) {
  TControl* c = source ? source->Control() : nullptr;
  if (!c || c == this) return;
  IDockManager* manager = DockManager();
  // Out of the site it leaves first (out of its own zone when it moves
  // within this site), then into the zone it was dropped on.
  if (TWinControl* old = c->HostDockSite(); old && (old != this || manager))
    if (!old->DoUnDock(this, c)) return;
  if (manager) manager->InsertControl(c, source->DropAlign(), source->DropOnControl());
  const RECT& d = source->DockRect();
  const POINT tl = ScreenToClient(POINT{d.left, d.top});
  const RECT r{tl.x, tl.y, tl.x + d.Width(), tl.y + d.Height()};
  c->Dock(this, r);
  // Without a manager the control goes where the preview showed it.
  if (!manager && c->HostDockSite() == this && c->Parent() == this)
    c->SetBounds(r.left, r.top, r.Width(), r.Height());
}

bool FloatInDockForm(TControl* control, const RECT& screenPos) {
  return FloatControl(control, screenPos) != nullptr;
}

bool IsFloatingDockSite(const TWinControl* site) {
  return site && site->Is<TCustomDockForm>();
}

} // namespace zel
