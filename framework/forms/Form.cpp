// TCustomForm: creation, showing and hiding, closing with its actions,
// modal showing, activation and focus, dialog keys.  MDI is in Mdi.cpp.

#include "framework/forms/Form.h"

#include <algorithm>

#include "framework/core/Exceptions.h"
#include "framework/forms/Application.h"
#include "framework/forms/Screen.h"
#include "framework/stdctrls/Label.h"
#include "platform/user/User.h"

namespace zel {

using namespace sys;

TCustomForm* GetParentForm(TControl* control) {
  if (!control) return nullptr;
  TControl* c = control;
  while (c->Parent())
    c = c->Parent();
  return dynamic_cast<TCustomForm*>(c);
}

TCustomForm::TCustomForm(TComponent* owner)
    : TWinControl(owner), FCanvas(std::make_unique<TCanvas>()) {
  SetVisibleFlag(false);
  SetColor(clBtnFace);
  SetParentFont(false);
  SetBounds(0, 0, 320, 240);
  if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  Destroying();
  DoDestroy();
  if (Application && Application->FMainForm == this) Application->FMainForm = nullptr;
  for (TCustomForm* child : FMDIChildForms)
    child->FMDIParent = nullptr;
  FMDIChildForms.clear();
  if (FMDIParent) FMDIParent->MDIChildGone(this);
  if (FActiveControl) FActiveControl->RemoveFreeNotification(this);
  if (FMenuKeyBar) FMenuKeyBar->RemoveFreeNotification(this);
  if (Screen) Screen->RemoveForm(this);
  FClientHandle = nullptr;
}

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TCustomForm::DoDestroy() {
  if (OnDestroy) OnDestroy(this);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FActiveControl) FActiveControl = nullptr;
  if (operation == TOperation::opRemove && component == FMenuKeyBar) FMenuKeyBar = nullptr;
}

void TCustomForm::SetMenuKeyBar(TWinControl* bar) {
  if (bar == FMenuKeyBar) return;
  if (FMenuKeyBar) FMenuKeyBar->RemoveFreeNotification(this);
  FMenuKeyBar = bar;
  if (bar) bar->FreeNotification(this);
}

// ---- Settings ----------------------------------------------------------------------

void TCustomForm::SetFormStyle(TFormStyle v) {
  if (v == FFormStyle) return;
  const TFormStyle old = FFormStyle;
  FFormStyle = v;
  if (old == fsMDIChild && FMDIParent) {
    FMDIParent->MDIChildGone(this);
    FMDIParent = nullptr;
  }
  if (v == fsMDIChild) {
    // The MDI form is the owner when it is one, otherwise the main form.
    TCustomForm* host = dynamic_cast<TCustomForm*>(Owner());
    if (!host || host->FormStyle() != fsMDIForm)
      host = Application ? Application->MainForm() : nullptr;
    if (host && host->FormStyle() == fsMDIForm && host != this) SetMDIParent(host);
    if (FPosition == poDesigned) FPosition = poDefaultPosOnly;
  }
  if (HandleAllocated()) RecreateWnd();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v) {
  if (v == FBorderStyle) return;
  FBorderStyle = v;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons v) {
  if (v == FBorderIcons) return;
  FBorderIcons = v;
  if (HandleAllocated()) RecreateWnd();
}

TWindowState TCustomForm::WindowState() {
  if (HandleAllocated() && Visible()) {
    if (IsIconic(Handle())) return wsMinimized;
    if (IsZoomed(Handle())) return wsMaximized;
    return wsNormal;
  }
  return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState v) {
  FWindowState = v;
  if (HandleAllocated() && Visible()) ApplyWindowState();
}

void TCustomForm::ApplyWindowState() {
  switch (FWindowState) {
  case wsMinimized:
    ShowWindow(Handle(), SW_MINIMIZE);
    break;
  case wsMaximized:
    ShowWindow(Handle(), SW_SHOWMAXIMIZED);
    break;
  case wsNormal:
    ShowWindow(Handle(), SW_RESTORE);
    break;
  }
}

void TCustomForm::SetParent(TWinControl* parent) {
  if (FFormStyle == fsMDIChild) {
    auto* form = dynamic_cast<TCustomForm*>(parent);
    if (form && form->FormStyle() == fsMDIForm) {
      SetMDIParent(form);
      return;
    }
    if (!parent) return;
  }
  TWinControl::SetParent(parent);
}

void TCustomForm::SetMDIParent(TCustomForm* form) {
  if (form == FMDIParent) return;
  if (FMDIParent) FMDIParent->MDIChildGone(this);
  FMDIParent = form;
  if (form) form->FMDIChildForms.push_back(this);
  if (HandleAllocated()) {
    DestroyHandle();
    if (Visible()) {
      SetVisibleFlag(false);
      SetVisible(true);
    }
  }
}

namespace {

// Dialogs and tool windows (floating forms and bars) belong to the main
// form: their windows are owned by its window, so they stay in front of it
// however the main form is brought forward, and a window manager is told
// the same.  Other forms are windows of their own.
TCustomForm* MainFormOwning(TCustomForm* form) {
  const TFormBorderStyle style = form->BorderStyle();
  const bool owned = style == bsDialog || style == bsToolWindow || style == bsSizeToolWin;
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  if (!owned || form->FormStyle() == fsMDIChild || !main || main == form) return nullptr;
  return main->HandleAllocated() ? main : nullptr;
}

} // namespace

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.WinClassName = "ZelForm";
  p.Style &= ~(WS_CHILD | WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS);
  p.ExStyle |= WS_EX_CONTROLPARENT;
  p.WndParent = nullptr;
  if (FFormStyle == fsMDIChild && FMDIParent) {
    FMDIParent->HandleNeeded();
    p.Style |= WS_CHILD | WS_CLIPSIBLINGS;
    p.ExStyle |= WS_EX_MDICHILD;
    p.WndParent = FMDIParent->FClientHandle;
  }
  switch (FBorderStyle) {
  case bsNone:
    if (!(p.Style & WS_CHILD)) p.Style |= WS_POPUP;
    break;
  case bsSingle:
    p.Style |= WS_CAPTION;
    break;
  case bsSizeable:
    p.Style |= WS_CAPTION | WS_THICKFRAME;
    break;
  case bsDialog:
    p.Style |= WS_CAPTION;
    p.ExStyle |= WS_EX_DLGMODALFRAME;
    break;
  case bsToolWindow:
    p.Style |= WS_CAPTION;
    p.ExStyle |= WS_EX_TOOLWINDOW;
    break;
  case bsSizeToolWin:
    p.Style |= WS_CAPTION | WS_THICKFRAME;
    p.ExStyle |= WS_EX_TOOLWINDOW;
    break;
  }
  if (FBorderStyle != bsNone && FBorderIcons.Contains(biSystemMenu)) {
    p.Style |= WS_SYSMENU;
    if (FBorderStyle == bsSingle || FBorderStyle == bsSizeable) {
      if (FBorderIcons.Contains(biMinimize)) p.Style |= WS_MINIMIZEBOX;
      if (FBorderIcons.Contains(biMaximize)) p.Style |= WS_MAXIMIZEBOX;
    }
  }
  if (FFormStyle == fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
  if (!(p.Style & WS_CHILD))
    if (TCustomForm* main = MainFormOwning(this)) p.WndParent = main->Handle();
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  if (FFormStyle == fsMDIForm && HandleAllocated()) {
    CreateClientWindow();
    Realign();
  }
  // The windows let go while the form made its window again are its again.
  std::vector<HWND> owned;
  owned.swap(FOwnedWhileRecreating);
  for (HWND h : owned)
    if (IsWindow(h) && HandleAllocated()) SetWindowLongPtr(h, GWLP_HWNDPARENT, LONG_PTR(Handle()));
}

void TCustomForm::DestroyWnd() {
  // The client window and the children's windows go with the form's.
  FClientHandle = nullptr;
  // The windows it owns (floating tool windows) would go as well: while
  // the form only makes its window again (a new style) they are let go,
  // and owned again by the new window.
  FOwnedWhileRecreating.clear();
  if (HandleAllocated() && !ComponentState().Contains(csDestroying)) {
    const HWND self = Handle();
    EnumWindows([&](HWND h) {
      if (GetWindow(h, GW_OWNER) == self) FOwnedWhileRecreating.push_back(h);
      return true;
    });
    for (HWND h : FOwnedWhileRecreating)
      SetWindowLongPtr(h, GWLP_HWNDPARENT, 0);
  }
  TWinControl::DestroyWnd();
}

// ---- Showing and hiding ----------------------------------------------------------

bool TCustomForm::Showing() const {
  return const_cast<TCustomForm*>(this)->HandleAllocated() && Visible() &&
         IsWindowVisible(const_cast<TCustomForm*>(this)->Handle());
}

void TCustomForm::SetVisible(bool value) {
  if (value) {
    if (Visible() && HandleAllocated() && IsWindowVisible(Handle())) return;
    HandleNeeded();
    if (!FShownOnce) {
      FShownOnce = true;
      PlaceOnShow();
    }
    SetVisibleFlag(true);
    DoShow();
    if (!HandleAllocated()) return;
    // A dialog opens with the keyboard on its first control, not on itself,
    // where keys would do nothing until Tab was pressed.
    if (FBorderStyle == bsDialog && !FActiveControl)
      SetActiveControl(FindNextControl(nullptr, true, true, false));
    int cmd = SW_SHOWNORMAL;
    if (FWindowState == wsMaximized) cmd = SW_SHOWMAXIMIZED;
    if (FWindowState == wsMinimized) cmd = SW_SHOWMINIMIZED;
    ShowWindow(Handle(), cmd);
    if (FFormStyle == fsMDIChild && FMDIParent) FMDIParent->ActivateMDIChild(this);
    Perform(CM_VISIBLECHANGED, 1);
    return;
  }
  if (!Visible()) return;
  DoHide();
  if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
  SetVisibleFlag(false);
  if (FFormStyle == fsMDIChild && FMDIParent && FMDIParent->FActiveMDIChild == this) {
    FMDIParent->FActiveMDIChild = nullptr;
    SetActive(false);
    for (TCustomForm* c : FMDIParent->MDIChildList())
      if (c != this && c->Visible()) {
        FMDIParent->ActivateMDIChild(c);
        break;
      }
  }
  Perform(CM_VISIBLECHANGED, 0);
}

void TCustomForm::Show() {
  SetVisible(true);
  if (FFormStyle != fsMDIChild && HandleAllocated()) {
    BringWindowToTop(Handle());
    SetActiveWindow(Handle());
  }
}

void TCustomForm::Hide() {
  SetVisible(false);
}

void TCustomForm::PlaceOnShow() {
  static int defaultSlot = 0;
  if (FFormStyle == fsMDIChild && FMDIParent) {
    if (FPosition == poDefault || FPosition == poDefaultPosOnly)
      SetBoundsRect(FMDIParent->DefaultMDIChildBounds(Width(), Height(), FPosition == poDefault));
    return;
  }
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  switch (FPosition) {
  case poScreenCenter:
  case poDesktopCenter:
    SetBounds((sw - Width()) / 2, (sh - Height()) / 2, Width(), Height());
    break;
  case poMainFormCenter:
  case poOwnerFormCenter: {
    TCustomForm* ref = Application ? Application->MainForm() : nullptr;
    if (FPosition == poOwnerFormCenter) ref = dynamic_cast<TCustomForm*>(Owner());
    if (ref && ref != this)
      SetBounds(ref->Left() + (ref->Width() - Width()) / 2,
                ref->Top() + (ref->Height() - Height()) / 2, Width(), Height());
    else
      SetBounds((sw - Width()) / 2, (sh - Height()) / 2, Width(), Height());
    break;
  }
  case poDefault:
  case poDefaultPosOnly: {
    const int k = defaultSlot++ % 8;
    SetBounds(40 + 24 * k, 40 + 24 * k, Width(), Height());
    break;
  }
  default:
    break;
  }
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

// ---- Closing --------------------------------------------------------------------

bool TCustomForm::CloseQuery() {
  if (FFormStyle == fsMDIForm)
    for (TCustomForm* c : MDIChildList())
      if (!c->CloseQuery()) return false;
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (FModal) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  if (FFormStyle == fsMDIChild) action = FBorderIcons.Contains(biMinimize) ? caMinimize : caNone;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
  case caHide:
    Hide();
    break;
  case caMinimize:
    SetWindowState(wsMinimized);
    break;
  case caFree:
    Release();
    break;
  default:
    break;
  }
}

void TCustomForm::Release() {
  // Freed from the message loop, never inside the call that asked for it:
  // the caller (a close handler, a floating form losing its last client) is
  // still working on the form and its children.  A form that never needed a
  // window gets one just to carry the message.
  HandleNeeded();
  PostMessage(Handle(), CM_RELEASE, 0, 0);
}

TModalResult TCustomForm::ShowModal() {
  if (FModal || Visible()) throw Exception("Cannot make a visible window modal");
  // Every other window of the program waits while the modal form runs.
  std::vector<HWND> disabled;
  for (HWND h : TopLevelWindows())
    if (IsWindowEnabled(h) && (!HandleAllocated() || h != Handle())) {
      EnableWindow(h, FALSE);
      disabled.push_back(h);
    }
  FModal = true;
  FModalResult = mrNone;
  auto finish = [&] {
    FModal = false;
    for (HWND h : disabled)
      EnableWindow(h, TRUE);
  };
  try {
    Show();
    while (true) {
      if (FModalResult != mrNone) {
        // The modal form closes like any other, and may refuse to.
        TCloseAction action = caHide;
        if (CloseQuery())
          DoClose(action);
        else
          action = caNone;
        if (action != caNone) break;
        FModalResult = mrNone;
      }
      if (!Application || Application->Terminated()) {
        if (FModalResult == mrNone) FModalResult = mrCancel;
        break;
      }
      Application->HandleMessage();
    }
  } catch (...) {
    finish();
    Hide();
    throw;
  }
  // The other windows come back before the form goes, so that the window
  // that was active before it takes the activation and the keys again.
  finish();
  Hide();
  return FModalResult;
}

// ---- Activation and focus ----------------------------------------------------------

void TCustomForm::SetActive(bool active) {
  if (active == FActive) return;
  FActive = active;
  if (active)
    Activated();
  else
    Deactivated();
  if (Screen && Screen->OnActiveFormChange) Screen->OnActiveFormChange(Screen);
}

void TCustomForm::Activated() {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivated() {
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::Activate() {
  if (FFormStyle == fsMDIChild && FMDIParent) {
    FMDIParent->ActivateMDIChild(this);
    return;
  }
  if (HandleAllocated()) SetActiveWindow(Handle());
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == FActiveControl) return;
  if (FActiveControl) FActiveControl->RemoveFreeNotification(this);
  FActiveControl = control;
  if (control) control->FreeNotification(this);
  if (control && FActive && control->CanFocus()) control->SetFocus();
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
  // The form itself taking the keys leaves none of its controls active, so
  // that its next activation gives them to the form again, not to a control
  // that had them earlier (a menu bar during its menu loop).
  if (control == this) control = nullptr;
  if (control == FActiveControl) return true;
  if (FActiveControl) FActiveControl->RemoveFreeNotification(this);
  FActiveControl = control;
  if (control) control->FreeNotification(this);
  if (Screen && Screen->OnActiveControlChange) Screen->OnActiveControlChange(Screen);
  return true;
}

bool TCustomForm::CanFocus() {
  return Visible() && Enabled();
}

void TCustomForm::SetFocus() {
  if (!CanFocus()) return;
  Activate();
  TWinControl* target = FActiveControl && FActiveControl->CanFocus() ? FActiveControl : this;
  sys::SetFocus(target->Handle());
}

namespace {

// Offers Enter or Esc to the windowed controls under parent, depth first:
// a default or cancel button takes it (CM_DIALOGKEY, Result 1).  Forms
// inside the form are left out: their buttons are theirs.
bool OfferDialogKey(TWinControl* parent, WORD key) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* w = dynamic_cast<TWinControl*>(parent->Controls(i));
    if (!w || dynamic_cast<TCustomForm*>(w) || !w->Showing()) continue;
    if (w->Perform(CM_DIALOGKEY, key, 0) != 0) return true;
    if (OfferDialogKey(w, key)) return true;
  }
  return false;
}

} // namespace

TWinControl* TCustomForm::NextTabStop(TWinControl* current, bool forward) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (!forward) std::reverse(list.begin(), list.end());
  auto it = std::find(list.begin(), list.end(), current);
  for (it = it == list.end() ? list.begin() : std::next(it); it != list.end(); ++it)
    if ((*it)->TabStop() && (*it)->CanFocus()) return *it;
  return nullptr;
}

// An MDI form and its active child share one round of tab stops, the
// child's first:
//   keys in       past the last (first) stop, Tab (Shift+Tab) goes to
//   the child     the form's first (last) stop; the child's own round when the form has none
//   the form      the child's first (last) stop, or the child itself; the form's round
//                 when no child is showing
// so the keyboard can always leave a child, also one without controls.
void TCustomForm::TabToNextStop(bool forward) {
  if (FFormStyle == fsMDIChild && FMDIParent) {
    TWinControl* next = NextTabStop(FActiveControl, forward);
    if (!next) next = FMDIParent->NextTabStop(nullptr, forward);
    if (next)
      next->SetFocus();
    else
      SelectNext(FActiveControl, forward, true);
    return;
  }
  TCustomForm* child = ActiveMDIChild();
  if (!child || !child->Visible()) {
    SelectNext(FActiveControl, forward, true);
    return;
  }
  if (TWinControl* next = NextTabStop(FActiveControl, forward))
    next->SetFocus();
  else if (TWinControl* inChild = child->NextTabStop(nullptr, forward))
    inChild->SetFocus();
  else
    child->SetFocus();
}

bool TCustomForm::HandleDialogKey(WORD key) {
  const TShiftState shift = KeyboardShiftState();
  if (key == VK_TAB && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt)) {
    TabToNextStop(!shift.Contains(ssShift));
    return true;
  }
  if ((key == VK_F6 || key == VK_TAB) && shift.Contains(ssCtrl) && FFormStyle == fsMDIForm) {
    if (shift.Contains(ssShift))
      Previous();
    else
      Next();
    return true;
  }
  // Ctrl+F4 is the active child's close box.
  if (key == VK_F4 && shift.Contains(ssCtrl) && !shift.Contains(ssAlt) && FFormStyle == fsMDIForm) {
    TCustomForm* child = ActiveMDIChild();
    if (!child) return false;
    child->Close();
    return true;
  }
  // Enter and Esc press the form's default and cancel buttons.
  if ((key == VK_RETURN || key == VK_ESCAPE) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt) &&
      OfferDialogKey(this, key))
    return true;
  // An MDI child leaves the rest to its MDI form (window keys, short cuts).
  if (FFormStyle == fsMDIChild && FMDIParent) return FMDIParent->Perform(CM_DIALOGKEY, key, 0) != 0;
  return false;
}

// ---- Messages -------------------------------------------------------------------

void TCustomForm::WndProc(TMessage& m) {
  switch (m.Msg) {
  case WM_CLOSE:
    Close();
    return;
  case WM_ENDSESSION:
    // The session is ending: the application closes as its person would
    // close it, so that what a close keeps is kept.  A modal form open over
    // it ends with the application.
    if (m.WParam && Application && Application->MainForm() == this) Close();
    return;
  case CM_RELEASE:
    delete this;
    return;
  case WM_ACTIVATE:
    if (LOWORD(m.WParam) != WA_INACTIVE) {
      SetActive(true);
      ToolWindowActivated();
      if (!HIWORD(m.WParam)) {
        // The focus goes back where it was: the active MDI child, the active
        // control, or the form itself.
        TCustomForm* form = this;
        if (FFormStyle == fsMDIForm && FActiveMDIChild) form = FActiveMDIChild;
        TWinControl* target =
            form->FActiveControl && form->FActiveControl->CanFocus() ? form->FActiveControl : form;
        if (target->HandleAllocated()) sys::SetFocus(target->Handle());
      }
    } else {
      SetActive(false);
      ToolWindowDeactivated(HWND(m.LParam));
    }
    return;
  case WM_NCACTIVATE:
    // The owner of a tool window keeps an active caption while the tool
    // window is active (it is a palette of the owner, not another task).
    if (m.WParam == 0 && FActive && IsOwnedToolWindow(GetActiveWindow(), Handle())) m.WParam = 1;
    break;
  case WM_ACTIVATEAPP:
    if (Application) Application->SetActive(m.WParam != 0);
    return;
  case CM_MOUSEACTIVATE:
    if (FFormStyle == fsMDIChild && FMDIParent) FMDIParent->ActivateMDIChild(this);
    return;
  case CM_FOCUSCHANGED: {
    auto* control = reinterpret_cast<TWinControl*>(m.LParam);
    if (control) SetFocusedControl(control);
    if (FFormStyle == fsMDIChild && FMDIParent) FMDIParent->ActivateMDIChild(this);
    return;
  }
  case CM_DIALOGKEY:
    if (HandleDialogKey(WORD(m.WParam))) m.Result = 1;
    return;
  case WM_SYSCOMMAND:
    if (HandleSysCommand(m.WParam, m.LParam)) return;
    break;
  case CM_MENUKEY:
    if (HandleMenuKey(UINT(m.WParam), m.LParam)) m.Result = 1;
    return;
  case CM_CHILDKEY:
    if (FKeyPreview) {
      WORD key = WORD(m.WParam);
      KeyDown(key, KeyboardShiftState());
      if (key == 0) m.Result = 1;
    }
    return;
  case CM_VISIBLECHANGED:
    return; // showing is done by SetVisible
  case WM_SIZE:
    TWinControl::WndProc(m);
    if (FFormStyle == fsMDIChild) ChildSizeChanged(m.WParam);
    return;
  case WM_WINDOWPOSCHANGED:
    TWinControl::WndProc(m);
    if (FFormStyle == fsMDIChild && FMDIParent) FMDIParent->RequestMDIScrollUpdate();
    return;
  default:
    break;
  }
  TWinControl::WndProc(m);
}

// Whether window is a tool window that owner owns.
bool TCustomForm::IsOwnedToolWindow(HWND window, HWND owner) {
  return window && window != owner && GetWindow(window, GW_OWNER) == owner &&
         (GetWindowLong(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
}

// A tool window becoming active shows its owner active as well (coming
// back to the program, the owner was not told).
void TCustomForm::ToolWindowActivated() {
  if (!HandleAllocated() || !(GetWindowLong(Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) return;
  if (const HWND owner = GetWindow(Handle(), GW_OWNER)) SendMessage(owner, WM_NCACTIVATE, 1, 0);
}

// A tool window losing activation to a window that is neither its owner
// nor another tool window of the owner (or to no window: the application
// was left) turns its owner's caption inactive too.
void TCustomForm::ToolWindowDeactivated(HWND next) {
  if (!HandleAllocated() || !(GetWindowLong(Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) return;
  const HWND owner = GetWindow(Handle(), GW_OWNER);
  if (!owner || next == owner || IsOwnedToolWindow(next, owner)) return;
  SendMessage(owner, WM_NCACTIVATE, 0, 0);
}

void TCustomForm::WindowMoved() {
  TWinControl::WindowMoved();
  if (HandleAllocated())
    FWindowState = IsIconic(Handle()) ? wsMinimized : IsZoomed(Handle()) ? wsMaximized : wsNormal;
}

// ---- Painting -------------------------------------------------------------------

void TCustomForm::PaintWindow(HDC dc) {
  FCanvas->SetHandle(dc);
  FCanvas->Font()->Assign(Font());
  FCanvas->Brush()->SetColor(Color());
  try {
    Paint();
  } catch (...) {
    FCanvas->SetHandle(nullptr);
    throw;
  }
  FCanvas->SetHandle(nullptr);
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::DeclareProperties(TPropertyTable<TCustomForm>& t) {
  t.AddEnum("BorderStyle", "TFormBorderStyle", &TCustomForm::BorderStyle,
            &TCustomForm::SetBorderStyle,
            {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"})
      .Default = bsSizeable;
  t.AddEnum("FormStyle", "TFormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle,
            {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"})
      .Default = fsNormal;
  t.AddEnum("Position", "TPosition", &TCustomForm::Position, &TCustomForm::SetPosition,
            {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
             "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"});
  t.Add("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview).Default = 0;
  t.Add("OldCreateOrder", &TCustomForm::OldCreateOrder, &TCustomForm::SetOldCreateOrder);
}

TForm::TForm(TComponent* owner) : TCustomForm(owner) {}

namespace {

// Offers a menu key to the windowed controls under parent, depth first;
// true when one used it.  Forms inside the form are left out: their keys
// are their own.
bool OfferMenuKey(TWinControl* parent, UINT msg, LPARAM key) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* w = dynamic_cast<TWinControl*>(parent->Controls(i));
    if (!w || dynamic_cast<TCustomForm*>(w)) continue;
    if (w->Perform(CM_MENUKEY, msg, key) != 0) return true;
    if (OfferMenuKey(w, msg, key)) return true;
  }
  return false;
}

} // namespace

bool TCustomForm::HandleMenuKey(UINT msg, LPARAM key) {
  if (OfferMenuKey(this, msg, key)) return true;
  // A floating menu bar was not among the controls.  One docked again
  // elsewhere is that form's now.
  if (FMenuKeyBar && FMenuKeyBar->Floating() && FMenuKeyBar->Perform(CM_MENUKEY, msg, key) != 0)
    return true;
  if (msg == WM_SYSCHAR && DispatchDialogChar(this, char32_t(key))) return true;
  // An MDI child has no menu bar: the keys that would enter one are the MDI
  // form's, wherever the focus is in the child.
  if (FFormStyle == fsMDIChild && FMDIParent) return FMDIParent->Perform(CM_MENUKEY, msg, key) != 0;
  return false;
}

} // namespace zel
