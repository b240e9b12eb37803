// TWinControl: the window, its messages, children, painting, focus and keys.
// Alignment lives in Align.cpp.

#include "framework/controls/WinControl.h"

#include <algorithm>
#include <cstdio>

#include "framework/core/Exceptions.h"
#include "platform/user/User.h"

namespace zel {

using namespace sys;

namespace {

TControlExceptionHook gExceptionHook;
TInputHook gInputHook;
std::vector<std::pair<int, TPressHook>> gPressHooks;
int gNextPressHook = 1;
std::vector<std::pair<int, TKeyHook>> gKeyHooks;
int gNextKeyHook = 1;
std::vector<std::pair<int, TMenuKeyHook>> gMenuKeyHooks;
int gNextMenuKeyHook = 1;
WNDPROC gControlProc = nullptr;
std::vector<TWinControl*> gDockSites;

void ForgetDockSite(TWinControl* site) {
  gDockSites.erase(std::remove(gDockSites.begin(), gDockSites.end(), site), gDockSites.end());
}

void EnsureWindowClass(const TCreateParams& p, WNDPROC proc) {
  WNDCLASS existing;
  if (GetClassInfo(p.WinClassName, &existing)) return;
  WNDCLASS wc;
  wc.style = p.WindowClassStyle;
  wc.lpfnWndProc = proc;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = nullptr;
  wc.lpszClassName = p.WinClassName;
  RegisterClass(wc);
}

bool IsButtonDown(UINT msg) {
  switch (msg) {
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDBLCLK:
  case WM_MBUTTONDBLCLK:
  case WM_NCLBUTTONDOWN:
  case WM_NCRBUTTONDOWN:
  case WM_NCMBUTTONDOWN:
    return true;
  default:
    return false;
  }
}

} // namespace

void SetControlExceptionHook(TControlExceptionHook hook) {
  gExceptionHook = std::move(hook);
}
void SetInputHook(TInputHook hook) {
  gInputHook = std::move(hook);
}

namespace {

// Hooks may add or remove hooks while they run: work on a copy and skip
// the ones removed meanwhile.
void RunPressHooks(HWND h) {
  const auto hooks = gPressHooks;
  for (const auto& [id, fn] : hooks)
    if (std::any_of(gPressHooks.begin(), gPressHooks.end(),
                    [id = id](const auto& x) { return x.first == id; }))
      fn(h);
}

// The same for keys; the first hook that uses the key up ends the round.
bool RunKeyHooks(HWND h, WPARAM key) {
  const auto hooks = gKeyHooks;
  for (const auto& [id, fn] : hooks)
    if (std::any_of(gKeyHooks.begin(), gKeyHooks.end(),
                    [id = id](const auto& x) { return x.first == id; }) &&
        fn(h, key))
      return true;
  return false;
}

bool IsKeyMessage(UINT msg) {
  return msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN || msg == WM_KEYUP || msg == WM_SYSKEYUP ||
         msg == WM_CHAR || msg == WM_SYSCHAR;
}

// The newest menu key hook has the keys first: it is the menu opened last.
bool RunMenuKeyHooks(UINT msg, WPARAM key) {
  const auto hooks = gMenuKeyHooks;
  for (auto it = hooks.rbegin(); it != hooks.rend(); ++it)
    if (std::any_of(gMenuKeyHooks.begin(), gMenuKeyHooks.end(),
                    [id = it->first](const auto& x) { return x.first == id; }) &&
        it->second(msg, key))
      return true;
  return false;
}

} // namespace

int AddMenuKeyHook(TMenuKeyHook hook) {
  gMenuKeyHooks.emplace_back(gNextMenuKeyHook, std::move(hook));
  return gNextMenuKeyHook++;
}

void RemoveMenuKeyHook(int id) {
  std::erase_if(gMenuKeyHooks, [id](const auto& h) { return h.first == id; });
}

int AddPressHook(TPressHook hook) {
  gPressHooks.emplace_back(gNextPressHook, std::move(hook));
  // The window system tells of every press of the program, on the windows
  // of controls or not (the MDI client, a frame), before it activates one.
  sys::SetPressObserver(RunPressHooks);
  return gNextPressHook++;
}

void RemovePressHook(int id) {
  std::erase_if(gPressHooks, [id](const auto& h) { return h.first == id; });
}

int AddKeyHook(TKeyHook hook) {
  gKeyHooks.emplace_back(gNextKeyHook, std::move(hook));
  return gNextKeyHook++;
}

void RemoveKeyHook(int id) {
  std::erase_if(gKeyHooks, [id](const auto& h) { return h.first == id; });
}

TWinControl* FindControl(HWND hwnd) {
  if (!hwnd || !IsWindow(hwnd)) return nullptr;
  // Only windows made by the controls carry a control in their user data.
  if (GetWindowLongPtr(hwnd, GWLP_WNDPROC) != LONG_PTR(gControlProc)) return nullptr;
  return reinterpret_cast<TWinControl*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
}

// Every window of a control comes here.  An exception that escapes a
// handler goes to the application's handling and the program goes on.
LRESULT TWinControl::MainWndProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  auto* c = reinterpret_cast<TWinControl*>(GetWindowLongPtr(h, GWLP_USERDATA));
  if (!c && msg == WM_NCCREATE && l) {
    c = static_cast<TWinControl*>(reinterpret_cast<const CREATESTRUCT*>(l)->lpCreateParams);
    if (c) {
      SetWindowLongPtr(h, GWLP_USERDATA, LONG_PTR(c));
      c->FHandle = h;
    }
  }
  if (!c) return DefWindowProc(h, msg, w, l);
  // A press anywhere in a form activates it (an MDI child among its
  // siblings) before the control sees the press.
  if (gInputHook && (IsButtonDown(msg) || msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN)) {
    gInputHook(msg);
    if (GetWindowLongPtr(h, GWLP_USERDATA) != LONG_PTR(c)) return 0;
  }
  if (!gMenuKeyHooks.empty() && IsKeyMessage(msg) && RunMenuKeyHooks(msg, w)) return 0;
  if ((msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) && !gKeyHooks.empty() && RunKeyHooks(h, w))
    return 0;
  if (IsButtonDown(msg)) {
    if (TWinControl* top = c->TopParent()) top->Perform(CM_MOUSEACTIVATE, 0, LPARAM(c));
    if (GetWindowLongPtr(h, GWLP_USERDATA) != LONG_PTR(c)) return 0;
  }
  TMessage m{msg, w, l, 0};
  try {
    if (c->WindowProc)
      c->WindowProc(m);
    else
      c->WndProc(m);
  } catch (...) {
    if (gExceptionHook)
      gExceptionHook(c);
    else
      std::fprintf(stderr, "unhandled exception in a message handler\n");
  }
  // The control may be gone now (a form frees itself on CM_RELEASE); only
  // the window's user data tells whether it is still there.
  if (msg == WM_NCDESTROY && GetWindowLongPtr(h, GWLP_USERDATA) == LONG_PTR(c)) {
    SetWindowLongPtr(h, GWLP_USERDATA, 0);
    c->FHandle = nullptr;
  }
  return m.Result;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner), FBrush(std::make_unique<TBrush>()) {
  FBrush->SetColor(Color());
  FControlStyle += csAcceptsControls;
}

TWinControl::~TWinControl() {
  Destroying();
  // No message reaches this control any more; then it leaves the parent
  // while it is still known as a windowed control.
  ControlDestroyed(this);
  if (FDockSite) ForgetDockSite(this);
  if (Parent()) Parent()->RemoveControl(this);
  // Children go first, last to first, while this control is still whole.
  while (!FControls.empty() || !FWinControls.empty()) {
    TControl* c =
        !FWinControls.empty() ? static_cast<TControl*>(FWinControls.back()) : FControls.back();
    Remove(c);
    c->FParent = nullptr;
    delete c;
  }
  for (TControl* c : FDockClients)
    c->FHostDockSite = nullptr;
  FDockClients.clear();
  if (FHandle) {
    HWND h = FHandle;
    SetWindowLongPtr(h, GWLP_USERDATA, 0);
    FHandle = nullptr;
    DestroyWindow(h);
  }
}

// ---- Messages -------------------------------------------------------------------------

void TWinControl::WndProc(TMessage& m) {
  // The dock manager sees the site's messages first (grabbers, splitters).
  if (FDockManager && FDockManager->HandleSiteMessage(m)) return;
  // A control that drags itself to dock takes the presses on its own
  // background; one over a windowless child (a button on it) is the child's.
  if (!PressForChild(m) && DockDragMouseMessage(this, m)) return;
  switch (m.Msg) {
  case WM_PAINT:
    PaintHandler(m);
    return;
  case WM_ERASEBKGND:
    m.Result = FDoubleBuffered ? 1 : (EraseBackground(HDC(m.WParam)) ? 1 : 0);
    return;
  case WM_SIZE:
  case WM_MOVE:
    if (!FSettingBounds) WindowMoved();
    if (m.Msg == WM_SIZE) WmSize();
    return;
  case WM_MOUSEMOVE:
  case WM_LBUTTONDOWN:
  case WM_LBUTTONUP:
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDOWN:
  case WM_RBUTTONUP:
  case WM_RBUTTONDBLCLK:
  case WM_MBUTTONDOWN:
  case WM_MBUTTONUP:
  case WM_MBUTTONDBLCLK:
    HandleMouse(m);
    return;
  case WM_MOUSELEAVE: {
    TControl* mc = GetMouseControl();
    if (mc == this || (mc && mc->Parent() == this && !mc->Is<TWinControl>())) {
      POINT p;
      GetCursorPos(&p);
      SetMouseControl(FindControlAtPos(p, true));
    }
    return;
  }
  case WM_CAPTURECHANGED:
    if (GetCaptureControl() &&
        (GetCaptureControl() == this || GetCaptureControl()->Parent() == this) &&
        HWND(m.LParam) != FHandle) {
      // Someone else took the capture: the windowless holder loses it.
      TControl* holder = GetCaptureControl();
      SetCaptureControl(nullptr);
      holder->FControlState -= csLButtonDown;
      holder->FControlState -= csClicked;
    }
    break;
  case WM_SETCURSOR:
    if (LOWORD(uintptr_t(m.LParam)) == HTCLIENT) {
      POINT p;
      GetCursorPos(&p);
      p = ScreenToClient(p);
      TControl* c = ControlAtPos(p, false);
      if (!c) c = this;
      const TCursor cur = c->Cursor();
      if (cur != crDefault) {
        sys::SetCursor(LoadCursor(nullptr, CursorToIdc(cur)));
        m.Result = 1;
        return;
      }
    }
    break;
  case WM_KEYDOWN:
  case WM_SYSKEYDOWN:
  case WM_KEYUP:
  case WM_SYSKEYUP:
  case WM_CHAR:
  case WM_SYSCHAR:
    if (HandleKey(m)) return;
    break;
  case WM_SETFOCUS: {
    if (TWinControl* top = TopParent()) top->Perform(CM_FOCUSCHANGED, 0, LPARAM(this));
    InvalidateGroupFocus();
    DoEnter();
    break;
  }
  case WM_KILLFOCUS:
    InvalidateGroupFocus();
    DoExit();
    break;
  case WM_CONTEXTMENU: {
    bool handled = false;
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    if (OnContextPopup) OnContextPopup(this, ScreenToClient(p), handled);
    if (handled) return;
    break;
  }
  case WM_NCDESTROY:
    FHandle = nullptr;
    break;
  case CM_ENABLEDCHANGED:
    if (FHandle) EnableWindow(FHandle, Enabled() ? TRUE : FALSE);
    break;
  case CM_VISIBLECHANGED:
    UpdateShowing();
    break;
  case CM_COLORCHANGED:
    FBrush->SetColor(Color());
    NotifyControls(CM_PARENTCOLORCHANGED);
    break;
  case CM_FONTCHANGED:
    NotifyControls(CM_PARENTFONTCHANGED);
    break;
  case CM_SHOWHINTCHANGED:
    NotifyControls(CM_PARENTSHOWHINTCHANGED);
    break;
  case CM_PARENTSHOWHINTCHANGED:
    TControl::WndProc(m);
    NotifyControls(CM_PARENTSHOWHINTCHANGED);
    return;
  case CM_PARENTCTL3DCHANGED:
    if (FParentCtl3D && Parent()) {
      SetCtl3D(Parent()->Ctl3D());
      FParentCtl3D = true;
    }
    return;
  case CM_CTL3DCHANGED:
    NotifyControls(CM_PARENTCTL3DCHANGED);
    break;
  case CM_TEXTCHANGED:
    if (FHandle) RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    break;
  default:
    break;
  }
  TControl::WndProc(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
  // The text stays with the control so that a new window gets it again.
  if (m.Msg == WM_SETTEXT || m.Msg == WM_GETTEXT || m.Msg == WM_GETTEXTLENGTH) {
    TControl::DefaultHandler(m);
    if (m.Msg == WM_SETTEXT && FHandle) DefWindowProc(FHandle, m.Msg, m.WParam, m.LParam);
    return;
  }
  if (FHandle) m.Result = DefWindowProc(FHandle, m.Msg, m.WParam, m.LParam);
}

void TWinControl::NotifyControls(UINT msg) {
  // Copy first: a handler may change the list.
  std::vector<TControl*> all(FControls.begin(), FControls.end());
  all.insert(all.end(), FWinControls.begin(), FWinControls.end());
  for (TControl* c : all)
    if (ContainsControl(c)) c->Perform(msg);
}

// ---- The window ------------------------------------------------------------------------

HWND TWinControl::Handle() {
  if (!FHandle) CreateHandle();
  return FHandle;
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  if (ComponentState().Contains(csDestroying)) return;
  if (Parent()) {
    Parent()->HandleNeeded();
    if (FHandle) return; // the parent made ours with its own
  }
  CreateWnd();
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.Caption = TextBuffer();
  p.Style = WS_CLIPCHILDREN;
  if (Parent() || FParentWindow)
    p.Style |= WS_CHILD | WS_CLIPSIBLINGS;
  else
    p.Style |= WS_POPUP;
  if (Visible()) p.Style |= WS_VISIBLE;
  if (!Enabled()) p.Style |= WS_DISABLED;
  if (FTabStop) p.Style |= WS_TABSTOP;
  p.X = Left();
  p.Y = Top();
  p.Width = Width();
  p.Height = Height();
  p.WndParent = Parent() ? Parent()->FHandle : FParentWindow;
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  if ((p.Style & WS_CHILD) && !p.WndParent) return;
  gControlProc = &TWinControl::MainWndProc;
  EnsureWindowClass(p, &TWinControl::MainWndProc);
  FControlState += csCreating;
  try {
    CreateWindowHandle(p);
  } catch (...) {
    FControlState -= csCreating;
    throw;
  }
  FControlState -= csCreating;
  if (!FHandle) throw Exception("Error creating window of " + ClassName());
  FLastClientSize = SIZE{-1, -1};
  CreateChildHandles();
  if (!FHandle) return;
  WmSize();
  if (FUseDockManager && !FDockManager) FDockManager = CreateDockManager();
  CreateWindowDone();
}

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
  HWND h = CreateWindowEx(p.ExStyle, p.WinClassName, p.Caption, p.Style, p.X, p.Y, p.Width,
                          p.Height, p.WndParent, 0, this);
  if (h) FHandle = h;
}

void TWinControl::CreateChildHandles() {
  // Through CreateHandle, so that a child's override runs also when its
  // window is made together with its parent's.
  std::vector<TWinControl*> kids = FWinControls;
  for (TWinControl* c : kids)
    if (ContainsControl(c) && !c->FHandle) c->CreateHandle();
  // Keep the platform's z-order the same as the list's.
  for (TWinControl* c : FWinControls)
    if (c->FHandle)
      SetWindowPos(c->FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  DestroyWnd();
}

void TWinControl::DestroyWnd() {
  FControlState += csDestroyingHandle;
  HWND h = FHandle;
  DestroyWindow(h);
  FHandle = nullptr;
  FControlState -= csDestroyingHandle;
}

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  DestroyHandle();
  CreateHandle();
}

// ---- Bounds ----------------------------------------------------------------------------

void TWinControl::SetBounds(int left, int top, int width, int height) {
  TControl::SetBounds(left, top, width, height);
}

void TWinControl::BoundsChanged(bool sized) {
  if (FHandle) {
    FSettingBounds = true;
    SetWindowPos(FHandle, nullptr, Left(), Top(), Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    FSettingBounds = false;
  }
  if (sized) WmSize();
}

void TWinControl::WindowMoved() {
  if (!FHandle) return;
  RECT r;
  GetWindowRect(FHandle, &r);
  HWND parent = GetParent(FHandle);
  if (parent && (GetWindowLong(FHandle, GWL_STYLE) & WS_CHILD)) {
    POINT pts[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MapWindowPoints(nullptr, parent, pts, 2);
    r = RECT{pts[0].x, pts[0].y, pts[1].x, pts[1].y};
  }
  if (r == BoundsRect()) return;
  const bool sized = r.Width() != Width() || r.Height() != Height();
  UpdateBoundsRect(r);
  if (sized) Resize();
}

void TWinControl::WmSize() {
  const RECT c = ClientRect();
  const SIZE s{c.Width(), c.Height()};
  if (s.cx == FLastClientSize.cx && s.cy == FLastClientSize.cy) return;
  FLastClientSize = s;
  AlignControl(nullptr);
  if (FDockManager) FDockManager->ResetBounds(false);
}

RECT TWinControl::ClientRect() {
  if (FHandle) {
    RECT r;
    GetClientRect(FHandle, &r);
    return r;
  }
  // Without a window the frame the window will have is worked out from its style.
  TCreateParams p;
  CreateParams(p);
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, p.Style, FALSE, p.ExStyle);
  return RECT{0, 0, std::max(0, Width() - frame.Width()), std::max(0, Height() - frame.Height())};
}

POINT TWinControl::ClientOrigin() {
  if (FHandle) {
    POINT p{0, 0};
    sys::ClientToScreen(FHandle, &p);
    return p;
  }
  return TControl::ClientOrigin();
}

bool TWinControl::Showing() const {
  if (FHandle) return IsWindowVisible(FHandle) != 0;
  return TControl::Showing();
}

void TWinControl::UpdateShowing() {
  if (!FHandle) {
    if (Visible() && Parent() && Parent()->FHandle) CreateHandle();
    return;
  }
  ShowWindow(FHandle, Visible() ? SW_SHOWNA : SW_HIDE);
}

// ---- Children --------------------------------------------------------------------------

TControl* TWinControl::Controls(int index) const {
  const int nc = int(FControls.size());
  if (index < 0 || index >= nc + int(FWinControls.size())) return nullptr;
  return index < nc ? FControls[size_t(index)] : FWinControls[size_t(index - nc)];
}

bool TWinControl::ContainsControl(TControl* c) const {
  if (!c) return false;
  return std::find(FControls.begin(), FControls.end(), c) != FControls.end() ||
         std::any_of(FWinControls.begin(), FWinControls.end(),
                     [c](TWinControl* w) { return static_cast<TControl*>(w) == c; });
}

void TWinControl::Insert(TControl* c) {
  if (auto* w = dynamic_cast<TWinControl*>(c)) {
    FWinControls.push_back(w);
    FTabList.push_back(w);
  } else {
    FControls.push_back(c);
  }
  c->FParent = this;
}

// Works by address alone, so that a control half way through its
// destruction is still found.
void TWinControl::Remove(TControl* c) {
  auto same = [c](TWinControl* w) { return static_cast<TControl*>(w) == c; };
  std::erase_if(FWinControls, same);
  std::erase_if(FTabList, same);
  std::erase(FControls, c);
  if (FGroupFocus == c) FGroupFocus = nullptr;
  c->FParent = nullptr;
}

void TWinControl::InsertControl(TControl* c) {
  if (!c || c->FParent == this) return;
  c->CheckNewParent(this);
  if (c->FParent) c->FParent->RemoveControl(c);
  Insert(c);
  if (c->FParentFont) c->Perform(CM_PARENTFONTCHANGED);
  if (c->FParentColor) c->Perform(CM_PARENTCOLORCHANGED);
  if (c->FParentShowHint) c->Perform(CM_PARENTSHOWHINTCHANGED);
  if (auto* w = dynamic_cast<TWinControl*>(c)) {
    if (w->FParentCtl3D) w->Perform(CM_PARENTCTL3DCHANGED);
    // A window made for another parent cannot move; it is made anew.
    if (w->FHandle) w->DestroyHandle();
    if (FHandle) w->CreateHandle();
  } else {
    c->Invalidate();
  }
  c->UpdateAnchorRules();
  Perform(CM_CONTROLCHANGE, WPARAM(c), 1);
  Perform(CM_CONTROLLISTCHANGE, WPARAM(c), 1);
  AlignControl(c);
}

void TWinControl::RemoveControl(TControl* c) {
  if (!ContainsControl(c)) return;
  Perform(CM_CONTROLCHANGE, WPARAM(c), 0);
  if (auto* w = dynamic_cast<TWinControl*>(c)) {
    if (w->FHandle && !ComponentState().Contains(csDestroying)) w->DestroyHandle();
  } else {
    c->Invalidate();
  }
  if (GetMouseControl() == c) SetMouseControl(nullptr);
  if (GetCaptureControl() == c) SetCaptureControl(nullptr);
  Remove(c);
  Perform(CM_CONTROLLISTCHANGE, WPARAM(c), 0);
  if (!ComponentState().Contains(csDestroying)) Realign();
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled, bool allowWinControls) {
  auto hit = [&](TControl* c) {
    if (!c->Visible() || (!allowDisabled && !c->Enabled())) return false;
    if (!PtInRect(c->BoundsRect(), p)) return false;
    return c->Perform(CM_HITTEST, 0, MAKELPARAM(p.x - c->Left(), p.y - c->Top())) != 0;
  };
  if (allowWinControls)
    for (auto it = FWinControls.rbegin(); it != FWinControls.rend(); ++it)
      if (hit(*it)) return *it;
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
    if (hit(*it)) return *it;
  return nullptr;
}

void TWinControl::SetChildOrder(TControl* child, int order) {
  if (!ContainsControl(child)) return;
  if (auto* w = dynamic_cast<TWinControl*>(child)) {
    std::erase(FWinControls, w);
    if (order < 0 || order >= int(FWinControls.size()))
      FWinControls.push_back(w);
    else
      FWinControls.insert(FWinControls.begin() + order, w);
    if (w->FHandle)
      SetWindowPos(w->FHandle,
                   (order < 0 || order >= int(FWinControls.size()) - 1) ? HWND_TOP : HWND_BOTTOM, 0,
                   0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  } else {
    std::erase(FControls, child);
    if (order < 0 || order >= int(FControls.size()))
      FControls.push_back(child);
    else
      FControls.insert(FControls.begin() + order, child);
    child->Invalidate();
  }
  // Aligned controls take their places in the new order.
  if (child->Align() != alNone) Realign();
}

void TWinControl::SetZOrder(bool topMost) {
  if (Parent()) {
    Parent()->SetChildOrder(this, topMost ? -1 : 0);
    return;
  }
  if (FHandle)
    SetWindowPos(FHandle, topMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---- Mouse ------------------------------------------------------------------------------

// Mouse messages of the window: a windowless child holding the capture, or
// the one under the cursor, gets them in its own coordinates; otherwise this
// control handles them.  Every move also updates the control under the
// mouse, which sends the enter and leave messages.
TControl* TWinControl::MouseTarget(POINT p) {
  TControl* cap = GetCaptureControl();
  if (cap && cap != this && cap->Parent() == this && !cap->Is<TWinControl>()) return cap;
  if (cap && cap != this) return nullptr;
  return ControlAtPos(p, false);
}

bool TWinControl::PressForChild(const TMessage& m) {
  if (m.Msg != WM_LBUTTONDOWN && m.Msg != WM_LBUTTONDBLCLK) return false;
  return MouseTarget(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}) != nullptr;
}

void TWinControl::HandleMouse(TMessage& m) {
  const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  if (m.Msg == WM_MOUSEMOVE) {
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = FHandle;
    TrackMouseEvent(&tme);
    TControl* over = ControlAtPos(p, true, true);
    SetMouseControl(over ? over : this);
    if (!ComponentState().Contains(csDestroying) && FHandle == nullptr) return;
  }
  TControl* target = MouseTarget(p);
  // A press on a group member moves the focus mark there, as the arrows would.
  if (target && (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) &&
      target->JoinsKeyboardGroup())
    for (TWinControl* group = this; group; group = group->Parent())
      if (group->IsKeyboardGroup()) {
        group->SetGroupFocus(target);
        break;
      }
  if (target) {
    m.Result =
        target->Perform(m.Msg, m.WParam, MAKELPARAM(p.x - target->Left(), p.y - target->Top()));
    return;
  }
  TControl::WndProc(m);
}

// ---- Keys and focus -------------------------------------------------------------------

bool TWinControl::HandleKey(TMessage& m) {
  TShiftState shift = KeyboardShiftState();
  // Menu keys go to the form first, wherever the focus is in it: it opens
  // its menu bar or a label's accelerator.
  const bool altAlone = m.Msg == WM_SYSKEYUP && m.WParam == VK_MENU;
  const bool f10 = m.Msg == WM_SYSKEYDOWN && m.WParam == VK_F10;
  if (altAlone || f10 || m.Msg == WM_SYSCHAR) {
    TWinControl* form = TopParent();
    if (form && form->Perform(CM_MENUKEY, m.Msg, LPARAM(m.WParam)) != 0) return true;
    if (m.Msg == WM_SYSCHAR) return false;
  }
  // Alt+Space belongs to the system menu (its character opens it): no
  // control takes it for a Space of its own (a button would press).
  if (m.Msg == WM_SYSKEYDOWN && m.WParam == VK_SPACE) return false;
  if (m.Msg == WM_CHAR) {
    char32_t ch = char32_t(m.WParam);
    KeyPress(ch);
    return ch == 0;
  }
  WORD key = WORD(m.WParam);
  if (m.Msg == WM_KEYUP || m.Msg == WM_SYSKEYUP) {
    KeyUp(key, shift);
    return key == 0;
  }
  // A form that previews keys sees them first.
  TWinControl* top = TopParent();
  if (top && top != this && top->Perform(CM_CHILDKEY, key, LPARAM(this)) != 0) return true;
  KeyDown(key, shift);
  if (key == 0) return true;
  if (m.Msg == WM_KEYDOWN && HandleGroupKey(key, shift)) return true;
  if (!WantsKey(key, shift) && top && top->Perform(CM_DIALOGKEY, key, 0) != 0) return true;
  return false;
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
  if (OnKeyDown && !FControlStyle.Contains(csNoStdEvents)) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
  if (OnKeyUp && !FControlStyle.Contains(csNoStdEvents)) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char32_t& key) {
  if (OnKeyPress && !FControlStyle.Contains(csNoStdEvents)) OnKeyPress(this, key);
}

bool TWinControl::CanFocus() {
  for (TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (!CanFocus()) return;
  sys::SetFocus(Handle());
}

bool TWinControl::Focused() {
  return FHandle && GetFocus() == FHandle;
}

void TWinControl::SetTabStop(bool v) {
  if (v == FTabStop) return;
  FTabStop = v;
  if (FHandle) {
    const LONG s = GetWindowLong(FHandle, GWL_STYLE);
    SetWindowLong(FHandle, GWL_STYLE, v ? (s | LONG(WS_TABSTOP)) : (s & ~LONG(WS_TABSTOP)));
  }
  Perform(CM_TABSTOPCHANGED);
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->FTabList;
  const auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!Parent()) return;
  auto& list = Parent()->FTabList;
  std::erase(list, this);
  order = std::clamp(order, 0, int(list.size()));
  list.insert(list.begin() + order, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) {
  for (TWinControl* c : FTabList)
    c->AddTabOrderEntries(list);
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  const int n = int(list.size());
  int start = -1;
  for (int i = 0; i < n; ++i)
    if (list[size_t(i)] == current) start = i;
  if (start < 0) start = goForward ? n - 1 : 0;
  for (int step = 1; step <= n; ++step) {
    const int i = ((goForward ? start + step : start - step) % n + n) % n;
    TWinControl* c = list[size_t(i)];
    if (c == current) break;
    if ((!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this) && c->CanFocus())
      return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  if (TWinControl* c = FindNextControl(current, goForward, checkTabStop, !checkTabStop))
    c->SetFocus();
}

void TWinControl::SelectFirst() {
  if (TWinControl* c = FindNextControl(nullptr, true, true, false)) c->SetFocus();
}

// ---- Appearance ---------------------------------------------------------------------

void TWinControl::SetCtl3D(bool v) {
  FParentCtl3D = false;
  if (v == FCtl3D) return;
  FCtl3D = v;
  Perform(CM_CTL3DCHANGED);
  if (FHandle) RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TWinControl::SetParentCtl3D(bool v) {
  if (v == FParentCtl3D) return;
  FParentCtl3D = v;
  if (v && Parent()) Perform(CM_PARENTCTL3DCHANGED);
}

void TWinControl::SetBevelKind(TBevelKind v) {
  if (v == FBevelKind) return;
  FBevelKind = v;
  Realign();
  Invalidate();
}

void TWinControl::SetBevelEdges(TBevelEdges v) {
  if (v == FBevelEdges) return;
  FBevelEdges = v;
  Realign();
  Invalidate();
}

void TWinControl::SetBevelInner(TBevelCut v) {
  FBevelInner = v;
  Invalidate();
}

void TWinControl::SetBevelOuter(TBevelCut v) {
  FBevelOuter = v;
  Invalidate();
}

void TWinControl::SetBorderWidth(int v) {
  v = std::max(v, 0);
  if (v == FBorderWidth) return;
  FBorderWidth = v;
  Realign();
  Invalidate();
}

// ---- Painting ---------------------------------------------------------------------------

void TWinControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, FControlStyle.Contains(csOpaque) ? FALSE : TRUE);
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

bool TWinControl::EraseBackground(HDC dc) {
  if (!dc) return false;
  RECT r = ClientRect();
  FillRect(dc, r, FBrush->Handle());
  return true;
}

// The bevel of BevelKind, drawn inside the client area along BevelEdges.
static void PaintBevel(HDC dc, const RECT& r, TBevelKind kind, TBevelEdges edges) {
  if (kind == bkNone) return;
  const COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT), sh = GetSysColor(COLOR_BTNSHADOW);
  UniqueGdi<HPEN> light(CreatePen(PS_SOLID, 1, kind == bkFlat ? sh : hi));
  UniqueGdi<HPEN> dark(CreatePen(PS_SOLID, 1, sh));
  HGDIOBJ old = SelectObject(dc, light.get());
  if (edges.Contains(beLeft)) {
    MoveToEx(dc, r.left, r.bottom - 1, nullptr);
    LineTo(dc, r.left, r.top - 1);
  }
  if (edges.Contains(beTop)) {
    MoveToEx(dc, r.left, r.top, nullptr);
    LineTo(dc, r.right, r.top);
  }
  SelectObject(dc, dark.get());
  if (edges.Contains(beRight)) {
    MoveToEx(dc, r.right - 1, r.top, nullptr);
    LineTo(dc, r.right - 1, r.bottom);
  }
  if (edges.Contains(beBottom)) {
    MoveToEx(dc, r.left, r.bottom - 1, nullptr);
    LineTo(dc, r.right, r.bottom - 1);
  }
  SelectObject(dc, old);
}

void TWinControl::PaintHandler(TMessage& m) {
  // A parent painting a windowless control hands over its context in WParam.
  if (m.WParam) {
    PaintWindow(HDC(m.WParam));
    PaintControls(HDC(m.WParam), nullptr);
    return;
  }
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(FHandle, &ps);
  if (!dc) return;
  // A double-buffered control paints straight into the window: the window
  // system shows a window's pixels only once the message queue has run dry,
  // never in the middle of a paint, so the window's own surface already is
  // the memory bitmap double buffering asks for.  A bitmap of the client's
  // size, allocated, cleared and copied on every paint, would give the same
  // picture at several times the cost (and, in a fresh process, a page
  // fault for every 4 KB of it).  The background, which WM_ERASEBKGND left
  // to the paint, is erased right before it.
  if (FDoubleBuffered) EraseBackground(dc);
  PaintBevel(dc, ClientRect(), FBevelKind, FBevelEdges);
  PaintWindow(dc);
  PaintControls(dc, nullptr);
  EndPaint(FHandle, &ps);
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
  auto it = FControls.begin();
  if (first) it = std::find(FControls.begin(), FControls.end(), first);
  RECT clip;
  GetClipBox(dc, &clip);
  std::vector<TControl*> list(it, FControls.end());
  for (TControl* c : list) {
    if (!c->Visible() || !ContainsControl(c)) continue;
    RECT b = c->BoundsRect(), dummy;
    if (!IntersectRect(dummy, b, clip)) continue;
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, b.left, b.top, nullptr);
    IntersectClipRect(dc, 0, 0, b.Width(), b.Height());
    c->Perform(WM_PAINT, WPARAM(dc), 0);
    RestoreDC(dc, saved);
  }
  PaintGroupFocus(dc);
  if (FDockManager) FDockManager->PaintSite(dc);
}

// ---- Published properties ---------------------------------------------------------

void TWinControl::DeclareProperties(TPropertyTable<TWinControl>& t) {
  t.Add("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default = 0;
  t.Add("TabOrder", "TTabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder);
  t.Add("DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered).Default =
      0;
  t.Add("Ctl3D", &TWinControl::Ctl3D, &TWinControl::SetCtl3D).Default = 1;
  t.Add("ParentCtl3D", &TWinControl::ParentCtl3D, &TWinControl::SetParentCtl3D).Default = 1;
  t.AddEnum("BevelKind", "TBevelKind", &TWinControl::BevelKind, &TWinControl::SetBevelKind,
            {"bkNone", "bkTile", "bkSoft", "bkFlat"})
      .Default = bkNone;
  t.Add("BorderWidth", "TBorderWidth", &TWinControl::BorderWidth, &TWinControl::SetBorderWidth)
      .Default = 0;
  t.Add("DockSite", &TWinControl::DockSite, &TWinControl::SetDockSite).Default = 0;
  t.Add("UseDockManager", &TWinControl::UseDockManager, &TWinControl::SetUseDockManager).Default =
      0;
}

// ---- Docking -----------------------------------------------------------------------------

const std::vector<TWinControl*>& DockSiteList() {
  return gDockSites;
}

void TWinControl::SetDockSite(bool v) {
  if (v == FDockSite) return;
  FDockSite = v;
  if (v)
    gDockSites.push_back(this);
  else
    ForgetDockSite(this);
}

void TWinControl::GetSiteInfo(TControl* client, RECT& influenceRect, POINT mousePos,
                              bool& canDock) {
  // A collapsed site (no width or no height) is still found in the margin
  // around the line it occupies.
  const POINT tl = Parent() ? Parent()->ClientToScreen(POINT{Left(), Top()}) : POINT{Left(), Top()};
  influenceRect = RECT{tl.x, tl.y, tl.x + Width(), tl.y + Height()};
  InflateRect(influenceRect, DockSiteMargin, DockSiteMargin);
  canDock = FDockSite && Showing() && client != this;
}

void TWinControl::SetUseDockManager(bool v) {
  if (v == FUseDockManager) return;
  FUseDockManager = v;
  if (v && !FDockManager && FHandle) FDockManager = CreateDockManager();
  if (!v) FDockManager.reset();
}

void TWinControl::SetDockManager(std::unique_ptr<IDockManager> manager) {
  FDockManager = std::move(manager);
}

TControl* TWinControl::DockClients(int index) const {
  if (index < 0 || index >= int(FDockClients.size())) return nullptr;
  return FDockClients[size_t(index)];
}

void TWinControl::AddDockClient(TControl* client, TControl* dropControl, TAlign align) {
  if (!client || std::find(FDockClients.begin(), FDockClients.end(), client) != FDockClients.end())
    return;
  FDockClients.push_back(client);
  client->FHostDockSite = this;
  DoAddDockClient(client, RECT{});
  if (FDockManager)
    FDockManager->InsertControl(client, align != alNone ? align : client->Align(), dropControl);
}

void TWinControl::RemoveDockClient(TControl* client) {
  auto it = std::find(FDockClients.begin(), FDockClients.end(), client);
  if (it == FDockClients.end()) return;
  FDockClients.erase(it);
  client->FHostDockSite = nullptr;
  if (FDockManager) FDockManager->RemoveControl(client);
  DoRemoveDockClient(client);
}

void TWinControl::DoAddDockClient(TControl* client, const RECT& rect) {
  if (client->Parent() != this) client->SetParent(this);
}

void TWinControl::ReloadDockedControl(const std::string& controlName, TControl*& control) {
  control = nullptr;
  if (Owner())
    if (TComponent* c = Owner()->FindComponent(controlName)) control = dynamic_cast<TControl*>(c);
}

bool TWinControl::AcceptsDockClient(TControl* client) {
  return client && !IsWithin(client);
}

std::unique_ptr<IDockManager> TWinControl::CreateDockManager() {
  return FDockSite ? MakeDefaultDockManager(this) : nullptr;
}

bool TWinControl::DoUnDock(TWinControl* newTarget, TControl* client) {
  RemoveDockClient(client);
  return true;
}

bool IsNavigationKey(WORD key) {
  switch (key) {
  case VK_UP:
  case VK_DOWN:
  case VK_LEFT:
  case VK_RIGHT:
  case VK_PRIOR:
  case VK_NEXT:
  case VK_HOME:
  case VK_END:
    return true;
  default:
    return false;
  }
}

} // namespace zel
