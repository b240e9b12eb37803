// TControl: bounds, alignment requests, state messages, text, and the mouse
// rules that every control shares.

#include "framework/controls/Control.h"

#include <algorithm>
#include <cstring>

#include "framework/controls/WinControl.h"
#include "framework/core/Consts.h"
#include "framework/core/Exceptions.h"
#include "platform/user/User.h"

namespace zel {

using namespace sys;

// ---- Small helpers ------------------------------------------------------------------

TShiftState KeysToShiftState(WPARAM keys) {
  TShiftState s;
  if (keys & MK_SHIFT) s += ssShift;
  if (keys & MK_CONTROL) s += ssCtrl;
  if (keys & MK_LBUTTON) s += ssLeft;
  if (keys & MK_RBUTTON) s += ssRight;
  if (keys & MK_MBUTTON) s += ssMiddle;
  if (GetKeyState(VK_MENU) & 0x8000) s += ssAlt;
  return s;
}

TShiftState KeyboardShiftState() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) & 0x8000) s += ssShift;
  if (GetKeyState(VK_CONTROL) & 0x8000) s += ssCtrl;
  if (GetKeyState(VK_MENU) & 0x8000) s += ssAlt;
  return s;
}

int CursorToIdc(TCursor cursor) {
  switch (cursor) {
  case crCross:
    return IDC_CROSS;
  case crIBeam:
    return IDC_IBEAM;
  case crSizeNESW:
    return IDC_SIZENESW;
  case crSizeNS:
  case crVSplit:
    return IDC_SIZENS;
  case crSizeNWSE:
    return IDC_SIZENWSE;
  case crSizeWE:
  case crHSplit:
    return IDC_SIZEWE;
  case crUpArrow:
    return IDC_UPARROW;
  case crHourGlass:
    return IDC_WAIT;
  case crNo:
  case crNoDrop:
    return IDC_NO;
  case crHandPoint:
    return IDC_HAND;
  case crHelp:
    return IDC_HELP;
  case crSizeAll:
    return IDC_SIZEALL;
  default:
    return IDC_ARROW;
  }
}

std::string GetShortHint(const std::string& hint) {
  const auto bar = hint.find('|');
  return bar == std::string::npos ? hint : hint.substr(0, bar);
}

std::string GetLongHint(const std::string& hint) {
  const auto bar = hint.find('|');
  return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

// ---- Global mouse state -----------------------------------------------------------

namespace {
TControl* gCaptureControl = nullptr;
TControl* gMouseControl = nullptr;
TMouseControlHook gMouseHook;
} // namespace

TControl* GetCaptureControl() {
  return gCaptureControl;
}

void SetCaptureControl(TControl* control) {
  if (control == gCaptureControl) return;
  gCaptureControl = nullptr;
  if (!control) {
    ReleaseCapture();
    return;
  }
  // A windowless control captures through the window of its parent, which
  // then hands the messages on to it.
  TWinControl* holder =
      control->Is<TWinControl>() ? static_cast<TWinControl*>(control) : control->Parent();
  if (!holder || !holder->HandleAllocated()) return;
  SetCapture(holder->Handle());
  gCaptureControl = control;
}

TControl* GetMouseControl() {
  return gMouseControl;
}

void SetMouseControl(TControl* control) {
  if (control == gMouseControl) return;
  TControl* previous = gMouseControl;
  gMouseControl = control;
  if (previous) previous->Perform(CM_MOUSELEAVE, 0, LPARAM(previous));
  // The leave handler may have moved the mouse control again.
  if (gMouseControl != control) return;
  if (control) control->Perform(CM_MOUSEENTER, 0, LPARAM(control));
  if (gMouseControl != control) return;
  if (gMouseHook) gMouseHook(previous, control);
}

void SetMouseControlHook(TMouseControlHook hook) {
  gMouseHook = std::move(hook);
}

void ControlDestroyed(TControl* control) {
  DockControlDestroyed(control);
  if (gCaptureControl == control) {
    gCaptureControl = nullptr;
    ReleaseCapture();
  }
  if (gMouseControl == control) {
    gMouseControl = nullptr;
    // The previous control is going away, so the hook does not see it.
    if (gMouseHook) gMouseHook(nullptr, nullptr);
  }
}

TControl* FindControlAtPos(POINT screen, bool allowDisabled) {
  HWND h = WindowFromPoint(screen);
  TWinControl* win = nullptr;
  while (h && !(win = FindControl(h)))
    h = GetAncestor(h, GA_PARENT);
  if (!win) return nullptr;
  const POINT p = win->ScreenToClient(screen);
  if (TControl* c = win->ControlAtPos(p, allowDisabled, true)) return c;
  return win;
}

// ---- TSizeConstraints ----------------------------------------------------------------

void TSizeConstraints::Assign(TPersistent* source) {
  if (auto* s = dynamic_cast<TSizeConstraints*>(source)) {
    FMinWidth = s->FMinWidth;
    FMinHeight = s->FMinHeight;
    FMaxWidth = s->FMaxWidth;
    FMaxHeight = s->FMaxHeight;
    Change();
    return;
  }
  TPersistent::Assign(source);
}

void TSizeConstraints::SetMinWidth(int v) {
  v = std::max(v, 0);
  if (v == FMinWidth) return;
  FMinWidth = v;
  if (FMaxWidth > 0 && FMaxWidth < v) FMaxWidth = v;
  Change();
}

void TSizeConstraints::SetMinHeight(int v) {
  v = std::max(v, 0);
  if (v == FMinHeight) return;
  FMinHeight = v;
  if (FMaxHeight > 0 && FMaxHeight < v) FMaxHeight = v;
  Change();
}

void TSizeConstraints::SetMaxWidth(int v) {
  v = std::max(v, 0);
  if (v == FMaxWidth) return;
  FMaxWidth = v;
  if (v > 0 && FMinWidth > v) FMinWidth = v;
  Change();
}

void TSizeConstraints::SetMaxHeight(int v) {
  v = std::max(v, 0);
  if (v == FMaxHeight) return;
  FMaxHeight = v;
  if (v > 0 && FMinHeight > v) FMinHeight = v;
  Change();
}

void TSizeConstraints::Constrain(int& width, int& height) const {
  if (FMaxWidth > 0) width = std::min(width, FMaxWidth);
  if (FMaxHeight > 0) height = std::min(height, FMaxHeight);
  width = std::max(width, FMinWidth);
  height = std::max(height, FMinHeight);
}

void TSizeConstraints::Change() {
  // The control takes the new limits at once.
  if (FControl)
    FControl->SetBounds(FControl->Left(), FControl->Top(), FControl->Width(), FControl->Height());
  if (OnChange) OnChange(this);
}

// ---- TControl ------------------------------------------------------------------------

TControl::TControl(TComponent* owner)
    : TComponent(owner), FConstraints(std::make_unique<TSizeConstraints>(this)),
      FFont(std::make_unique<TFont>()) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  FFont->OnChange = [this](TObject* s) { FontChanged(s); };
}

TControl::~TControl() {
  ControlDestroyed(this);
  if (FHostDockSite) FHostDockSite->RemoveDockClient(this);
  if (FParent) FParent->RemoveControl(this);
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  if (FAction) FAction->RemoveFreeNotification(this);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  if (WindowProc)
    WindowProc(m);
  else
    WndProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& m) {
  switch (m.Msg) {
  case WM_MOUSEMOVE:
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
  case WM_LBUTTONUP:
  case WM_RBUTTONDOWN:
  case WM_RBUTTONDBLCLK:
  case WM_RBUTTONUP:
  case WM_MBUTTONDOWN:
  case WM_MBUTTONDBLCLK:
  case WM_MBUTTONUP:
    HandleMouseMessage(m);
    break;
  case CM_MOUSEENTER:
    if (m.LParam == 0 || m.LParam == LPARAM(this)) MouseEnter();
    return;
  case CM_MOUSELEAVE:
    if (m.LParam == 0 || m.LParam == LPARAM(this)) MouseLeave();
    return;
  case CM_ENABLEDCHANGED:
  case CM_COLORCHANGED:
  case CM_FONTCHANGED:
  case CM_TEXTCHANGED:
    Invalidate();
    return;
  case CM_VISIBLECHANGED:
    return;
  case CM_PARENTCOLORCHANGED:
    if (FParentColor && FParent) {
      SetColor(FParent->Color());
      FParentColor = true;
    }
    return;
  case CM_PARENTFONTCHANGED:
    if (FParentFont && FParent) {
      FFont->Assign(FParent->Font());
      FParentFont = true;
    }
    return;
  case CM_PARENTSHOWHINTCHANGED:
    if (FParentShowHint && FParent) {
      FShowHint = FParent->ShowHint();
      FParentShowHint = true;
    }
    return;
  case CM_HITTEST:
    m.Result = 1;
    return;
  default:
    break;
  }
  if (m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x100) return;
  DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage& m) {
  switch (m.Msg) {
  case WM_SETTEXT:
    FText = m.LParam ? reinterpret_cast<const char*>(m.LParam) : "";
    m.Result = 1;
    break;
  case WM_GETTEXT: {
    char* buf = reinterpret_cast<char*>(m.LParam);
    if (!buf || m.WParam == 0) {
      m.Result = 0;
      break;
    }
    size_t n = std::min(FText.size(), size_t(m.WParam) - 1);
    // Never cut a character in two.
    while (n > 0 && n < FText.size() && (static_cast<unsigned char>(FText[n]) & 0xC0) == 0x80)
      --n;
    std::memcpy(buf, FText.data(), n);
    buf[n] = '\0';
    m.Result = LRESULT(n);
    break;
  }
  case WM_GETTEXTLENGTH:
    m.Result = LRESULT(FText.size());
    break;
  default:
    break;
  }
}

void TControl::HandleMouseMessage(TMessage& m) {
  switch (m.Msg) {
  case WM_MOUSEMOVE:
    if (!FControlStyle.Contains(csNoStdEvents))
      MouseMove(KeysToShiftState(m.WParam), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
    break;
  case WM_LBUTTONDOWN:
    DoMouseDown(m, mbLeft, false);
    break;
  case WM_LBUTTONDBLCLK:
    DoMouseDown(m, mbLeft, true);
    break;
  case WM_RBUTTONDOWN:
    DoMouseDown(m, mbRight, false);
    break;
  case WM_RBUTTONDBLCLK:
    DoMouseDown(m, mbRight, true);
    break;
  case WM_MBUTTONDOWN:
    DoMouseDown(m, mbMiddle, false);
    break;
  case WM_MBUTTONDBLCLK:
    DoMouseDown(m, mbMiddle, true);
    break;
  case WM_LBUTTONUP:
    DoMouseUp(m, mbLeft);
    break;
  case WM_RBUTTONUP:
    DoMouseUp(m, mbRight);
    break;
  case WM_MBUTTONUP:
    DoMouseUp(m, mbMiddle);
    break;
  default:
    break;
  }
}

// A press: the left button captures the mouse (csCaptureMouse) and arms the
// click (csClickEvents); a double click raises DblClick when the control
// takes double clicks and is a plain press otherwise.
void TControl::DoMouseDown(TMessage& m, TMouseButton button, bool dbl) {
  const int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  TShiftState shift = KeysToShiftState(m.WParam);
  if (dbl && !FControlStyle.Contains(csDoubleClicks)) dbl = false;
  if (button == mbLeft) {
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
    FControlState += csLButtonDown;
    if (FControlStyle.Contains(csClickEvents) && !dbl) FControlState += csClicked;
    if (dbl && FControlStyle.Contains(csClickEvents)) DblClick();
  }
  if (dbl) shift += ssDouble;
  if (!FControlStyle.Contains(csNoStdEvents)) MouseDown(button, shift, x, y);
}

// A release: a click needs the press on this control and the release inside
// its client area; the click comes before MouseUp.
void TControl::DoMouseUp(TMessage& m, TMouseButton button) {
  const int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  if (button == mbLeft) {
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
    const bool clicked = FControlState.Contains(csClicked);
    FControlState -= csClicked;
    FControlState -= csLButtonDown;
    if (clicked && PtInRect(ClientRect(), POINT{x, y})) Click();
  }
  if (!FControlStyle.Contains(csNoStdEvents)) MouseUp(button, KeysToShiftState(m.WParam), x, y);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

bool TControl::MouseCapture() const {
  return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool value) {
  if (value)
    SetCaptureControl(this);
  else if (GetCaptureControl() == this)
    SetCaptureControl(nullptr);
}

// ---- Parent ----------------------------------------------------------------------------

bool TControl::IsWithin(const TControl* control) const {
  if (!control) return false;
  for (const TControl* c = this; c; c = c->FParent)
    if (c == control) return true;
  return false;
}

// A parent inside its own child would close the parent chain into a loop,
// which every walk up the chain (messages, painting, coordinates) would run
// around for ever.
void TControl::CheckNewParent(const TWinControl* parent) const {
  if (!parent || !parent->IsWithin(this)) return;
  auto label = [](const TControl* c) { return c->Name().empty() ? c->ClassName() : c->Name(); };
  throw EInvalidOperation::CreateFmt(SControlParentCycle, label(this), label(parent));
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  CheckNewParent(parent);
  if (FParent) FParent->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

TWinControl* TControl::TopParent() const {
  TWinControl* p = FParent;
  if (!p)
    return const_cast<TControl*>(this)->Is<TWinControl>()
               ? static_cast<TWinControl*>(const_cast<TControl*>(this))
               : nullptr;
  while (p->Parent())
    p = p->Parent();
  return p;
}

// ---- Bounds ------------------------------------------------------------------------------

bool TControl::CanResize(int& newWidth, int& newHeight) {
  bool ok = true;
  if (OnCanResize) OnCanResize(this, newWidth, newHeight, ok);
  return ok;
}

void TControl::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  FConstraints->Constrain(width, height);
  if ((width != FWidth || height != FHeight) && !CanResize(width, height)) {
    width = FWidth;
    height = FHeight;
  }
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  const bool sized = width != FWidth || height != FHeight;
  const bool windowed = Is<TWinControl>();
  if (!windowed && FParent && FVisible) Invalidate();
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  if (windowed)
    static_cast<TWinControl*>(this)->BoundsChanged(sized);
  else if (FParent && FVisible)
    Invalidate();
  // Placement by the parent's own alignment neither moves the anchors nor
  // asks for another alignment.
  if (!(FParent && FParent->FAligning)) {
    UpdateAnchorRules();
    RequestAlign();
  }
  if (sized) Resize();
}

void TControl::UpdateBoundsRect(const RECT& r) {
  FLeft = r.left;
  FTop = r.top;
  FWidth = r.Width();
  FHeight = r.Height();
}

RECT TControl::ClientRect() {
  return RECT{0, 0, FWidth, FHeight};
}

void TControl::SetClientWidth(int v) {
  SetWidth(FWidth - ClientWidth() + v);
}
void TControl::SetClientHeight(int v) {
  SetHeight(FHeight - ClientHeight() + v);
}

void TControl::SetClientSize(int w, int h) {
  const RECT c = ClientRect();
  SetBounds(FLeft, FTop, FWidth - c.Width() + w, FHeight - c.Height() + h);
}

POINT TControl::ClientOrigin() {
  if (!FParent) return POINT{FLeft, FTop};
  POINT p = FParent->ClientOrigin();
  return POINT{p.x + FLeft, p.y + FTop};
}

POINT TControl::ClientToScreen(POINT p) {
  const POINT o = ClientOrigin();
  return POINT{p.x + o.x, p.y + o.y};
}

POINT TControl::ScreenToClient(POINT p) {
  const POINT o = ClientOrigin();
  return POINT{p.x - o.x, p.y - o.y};
}

POINT TControl::ClientToParent(POINT p, TWinControl* ancestor) {
  if (!ancestor) ancestor = FParent;
  if (!ancestor) return p;
  const POINT s = ClientToScreen(p);
  return ancestor->ScreenToClient(s);
}

void TControl::SetAlign(TAlign value) {
  if (value == FAlign) return;
  const TAlign old = FAlign;
  FAlign = value;
  FAnchors = AnchorAlign[value];
  // Going back to no alignment keeps the place the alignment gave.
  if (old != alNone && value == alNone) UpdateAnchorRules();
  RequestAlign();
}

void TControl::SetAnchors(TAnchors value) {
  if (value == FAnchors) return;
  FAnchors = value;
  UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  FAnchorBounds = BoundsRect();
  if (FParent) {
    const RECT c = FParent->ClientRect();
    FAnchorParentSize = SIZE{c.Width(), c.Height()};
    FAnchorValid = true;
  } else {
    FAnchorValid = false;
  }
}

void TControl::RequestAlign() {
  if (FParent) FParent->AlignControl(this);
}

// ---- State ---------------------------------------------------------------------------------

void TControl::SetVisible(bool value) {
  if (value == FVisible) return;
  VisibleChanging();
  if (!value && FParent) Invalidate();
  FVisible = value;
  Perform(CM_VISIBLECHANGED, value ? 1 : 0);
  if (value && FParent) Invalidate();
  RequestAlign();
  // A floating control shown again brings back the form it floats in (the
  // form hid with it when it was closed); not while it is being docked or
  // undocked, when showing it is a step of the move (the form stays as the
  // docking leaves it).
  if (value && !FControlState.Contains(csDocking) && FParent && FParent == FHostDockSite &&
      IsFloatingDockSite(FHostDockSite) && !FHostDockSite->ComponentState().Contains(csLoading) &&
      !FHostDockSite->ComponentState().Contains(csDestroying))
    FHostDockSite->Show();
}

void TControl::Show() {
  SetVisible(true);
}
void TControl::Hide() {
  SetVisible(false);
}

bool TControl::Showing() const {
  return FVisible && (!FParent || FParent->Showing());
}

void TControl::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor value) {
  if (value == FColor) {
    FParentColor = false;
    return;
  }
  FColor = value;
  FParentColor = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
  if (value == FParentColor) return;
  FParentColor = value;
  if (value && FParent) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::FontChanged(TObject*) {
  FParentFont = false;
  Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool value) {
  if (value == FParentFont) return;
  FParentFont = value;
  if (value && FParent) Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetCursor(TCursor value) {
  if (value == FCursor) return;
  FCursor = value;
  Perform(CM_CURSORCHANGED);
}

void TControl::SetShowHint(bool value) {
  FParentShowHint = false;
  if (value == FShowHint) return;
  FShowHint = value;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value) {
  if (value == FParentShowHint) return;
  FParentShowHint = value;
  if (value && FParent) Perform(CM_PARENTSHOWHINTCHANGED);
}

std::string TControl::Text() {
  const LRESULT len = Perform(WM_GETTEXTLENGTH);
  if (len <= 0) return {};
  std::string buf(size_t(len) + 1, '\0');
  const LRESULT n = Perform(WM_GETTEXT, WPARAM(buf.size()), LPARAM(buf.data()));
  buf.resize(size_t(std::clamp<LRESULT>(n, 0, len)));
  return buf;
}

void TControl::SetText(const std::string& text) {
  if (Text() == text) return;
  Perform(WM_SETTEXT, 0, LPARAM(text.c_str()));
  Perform(CM_TEXTCHANGED);
}

void TControl::SetPopupMenu(TComponent* menu) {
  if (menu == FPopupMenu) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = menu;
  if (menu) menu->FreeNotification(this);
}

void TControl::SetAction(TComponent* action) {
  if (action == FAction) return;
  if (FAction) FAction->RemoveFreeNotification(this);
  FAction = action;
  if (action) {
    action->FreeNotification(this);
    FControlStyle += csActionClient;
  } else {
    FControlStyle -= csActionClient;
  }
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == FPopupMenu) FPopupMenu = nullptr;
  if (component == FAction) SetAction(nullptr);
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (FParent) {
    if (FParentColor) Perform(CM_PARENTCOLORCHANGED);
    if (FParentFont) Perform(CM_PARENTFONTCHANGED);
  }
}

bool TControl::ManualDock(TWinControl* newDockSite, TControl* dropControl, TAlign controlSide) {
  if (!newDockSite) {
    // No site: the control floats where it is, at its undocked size.
    const POINT tl = FParent ? FParent->ClientToScreen(POINT{FLeft, FTop}) : POINT{FLeft, FTop};
    return ManualFloat(RECT{tl.x, tl.y, tl.x + UndockWidth(), tl.y + UndockHeight()});
  }
  // Refused before the control leaves its present site.
  CheckNewParent(newDockSite);
  const bool nested = FControlState.Contains(csDocking);
  FControlState += csDocking;
  bool docked = false;
  try {
    if (LeaveHostFor(newDockSite)) {
      SetParent(newDockSite);
      newDockSite->AddDockClient(this, dropControl, controlSide);
      docked = true;
    }
  } catch (...) {
    if (!nested) FControlState -= csDocking;
    throw;
  }
  if (!nested) FControlState -= csDocking;
  return docked;
}

bool TControl::LeaveHostFor(TWinControl* newDockSite) {
  if (!FHostDockSite || FHostDockSite == newDockSite) return true;
  return FHostDockSite->DoUnDock(newDockSite, this);
}

void TControl::Dock(TWinControl* newDockSite, const RECT& rect) {
  if (!newDockSite) return;
  CheckNewParent(newDockSite);
  const bool nested = FControlState.Contains(csDocking);
  FControlState += csDocking;
  try {
    if (LeaveHostFor(newDockSite)) {
      auto& clients = newDockSite->FDockClients;
      if (std::find(clients.begin(), clients.end(), this) == clients.end()) clients.push_back(this);
      FHostDockSite = newDockSite;
      newDockSite->DoAddDockClient(this, rect);
      // The manager places the new client: in the zone inserted for it
      // beforehand, or in one of its own choosing.
      if (IDockManager* manager = newDockSite->DockManager()) manager->ResetBounds(false);
    }
  } catch (...) {
    if (!nested) FControlState -= csDocking;
    throw;
  }
  if (!nested) FControlState -= csDocking;
}

bool TControl::ManualFloat(const RECT& screenPos) {
  return FloatInDockForm(this, screenPos);
}

bool TControl::Floating() const {
  return FHostDockSite && IsFloatingDockSite(FHostDockSite);
}

void TControl::Changed() {
  SendToParent(CM_CHANGED, 0, LPARAM(this));
}

void TControl::SendToParent(UINT msg, WPARAM w, LPARAM l) {
  if (FParent) FParent->Perform(msg, w, l);
}

// ---- Published properties ----------------------------------------------------------

void TControl::DeclareProperties(TPropertyTable<TControl>& t) {
  t.AddEnum("Align", "TAlign", &TControl::Align, &TControl::SetAlign,
            {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"})
      .Default = alNone;
  t.Add("Left", "Integer", &TControl::Left, &TControl::SetLeft);
  t.Add("Top", "Integer", &TControl::Top, &TControl::SetTop);
  t.Add("Width", "Integer", &TControl::Width, &TControl::SetWidth);
  t.Add("Height", "Integer", &TControl::Height, &TControl::SetHeight);
  TPropInfo caption;
  caption.Name = "Caption";
  caption.TypeName = "TCaption";
  caption.Kind = TTypeKind::tkString;
  caption.Get = [](const TObject& o) -> TPropValue {
    return const_cast<TControl&>(static_cast<const TControl&>(o)).Text();
  };
  caption.Set = [](TObject& o, const TPropValue& v) {
    static_cast<TControl&>(o).SetText(detail::FromValue<std::string>(v, "Caption"));
  };
  t.AddCustom(std::move(caption));
  t.AddColor("Color", &TControl::Color, &TControl::SetColor);
  t.Add("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default = 1;
  t.Add("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default = 1;
  t.Add("Visible", &TControl::Visible, &TControl::SetVisible).Default = 1;
  t.Add("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default = 1;
  t.Add("Hint", "string", &TControl::Hint, &TControl::SetHint);
  t.Add("ShowHint", &TControl::ShowHint, &TControl::SetShowHint);
  t.Add("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default = 1;
  t.Add("HelpContext", "THelpContext", &TControl::HelpContext, &TControl::SetHelpContext).Default =
      0;
  t.Add("Cursor", "TCursor", &TControl::Cursor, &TControl::SetCursor).Default = crDefault;
  t.AddEnum("DragKind", "TDragKind", &TControl::DragKind, &TControl::SetDragKind,
            {"dkDrag", "dkDock"})
      .Default = dkDrag;
  t.AddEnum("DragMode", "TDragMode", &TControl::DragMode, &TControl::SetDragMode,
            {"dmManual", "dmAutomatic"})
      .Default = dmManual;
}

// ---- Painting --------------------------------------------------------------------------------

void TControl::Invalidate() {
  if (!FParent || !FParent->HandleAllocated()) return;
  const RECT r = BoundsRect();
  InvalidateRect(FParent->Handle(), &r, FControlStyle.Contains(csOpaque) ? FALSE : TRUE);
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::SetZOrder(bool topMost) {
  if (FParent) FParent->SetChildOrder(this, topMost ? -1 : 0);
}

} // namespace zel
