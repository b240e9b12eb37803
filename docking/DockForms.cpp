// TCustomDockFormEx: caption from the client, placement bookkeeping in the
// float tree, deferred visibility and staying on top while the program is
// active; and the unit state the floating forms share.

#include "docking/DockForms.h"

#include "docking/FloatTree.h"
#include "framework/core/Exceptions.h"
#include "framework/forms/Application.h"
#include "framework/graphics/Bitmap.h"
#include "platform/LastError.h"
#include "platform/user/Input.h"
#include "platform/user/Timers.h"
#include "platform/user/Window.h"

namespace zel {

using namespace sys;

namespace {

// The system ignores the identifier of a timer without a window; the value
// is the one the unit has always passed.
constexpr UINT_PTR kVisibilityTimerArg = 98790;
constexpr UINT kVisibilityDelay = 100;

UINT_PTR gVisibilityTimer = 0;

void StopVisibilityTimer() {
  if (gVisibilityTimer == 0) return;
  const UINT_PTR id = gVisibilityTimer;
  gVisibilityTimer = 0;
  if (!KillTimer(nullptr, id)) throw Exception(SysErrorMessage(GetLastError()));
}

// Brings every floating form's visibility to the one it should have.  The
// timer stops first, so a request made while the forms change starts it
// again instead of being lost.
void ApplyWantedVisibility() {
  StopVisibilityTimer();
  if (!Application) return;
  std::vector<TCustomDockFormEx*> forms;
  for (int i = 0; i < Application->ComponentCount(); ++i)
    if (auto* f = dynamic_cast<TCustomDockFormEx*>(Application->Components(i))) forms.push_back(f);
  for (TCustomDockFormEx* f : forms)
    if (f->VisibleWanted() != f->Visible()) f->SetVisible(f->VisibleWanted());
}

void StartVisibilityTimer() {
  if (gVisibilityTimer != 0) return;
  gVisibilityTimer = SetTimer(nullptr, kVisibilityTimerArg, kVisibilityDelay,
                              [](HWND, UINT, UINT_PTR, DWORD) { ApplyWantedVisibility(); });
}

// The text up to its first line break.
std::string FirstLine(const std::string& text) {
  return text.substr(0, text.find_first_of("\r\n"));
}

} // namespace

// ---- Unit state ------------------------------------------------------------------------

TClass& DefaultDockFormClass() {
  static TClass cls = &TCustomDockFormEx::StaticClass();
  return cls;
}

bool& LayoutRestoring() {
  static bool restoring = false;
  return restoring;
}

bool VisibilityTimerRunning() {
  return gVisibilityTimer != 0;
}

// ---- TCustomDockFormEx -----------------------------------------------------------------

TCustomDockFormEx::TCustomDockFormEx(TComponent* owner) : TCustomDockForm(owner) {
  SetPosition(poDesigned);
}

TCustomDockFormEx::~TCustomDockFormEx() {
  // A destructor must not throw; a placement that cannot be recorded is
  // simply not remembered.
  try {
    FloatTree()->RecordForm(this);
  } catch (...) {
  }
}

void TCustomDockFormEx::DoAddDockClient(TControl* client, const RECT& rect) {
  // The form makes its window at once, hidden or not: a form that has one
  // frees itself only after the message that emptied it, so a client that
  // leaves a form that never showed is not freed with it.
  HandleNeeded();
  if (DockClientCount() == 1) SetCaption(FirstLine(client->Caption()));
  TCustomForm::DoAddDockClient(client, rect); // the client's parent becomes the form
  client->SetAlign(alClient);
  const bool loading = ComponentState().Contains(csLoading);
  if (LayoutRestoring()) {
    if (!FloatTree()->Restore(this) && !loading) {
      SetVisible(true);
      SetVisibleDeferred(true);
    }
    client->SetVisible(FVisibleWanted);
    return;
  }
  // A hidden client floats hidden: its form does not show empty, and the
  // placement is recorded as hidden.
  if (!loading && client->Visible()) SetVisible(true);
  FloatTree()->RecordControl(client, BoundsRect(), client->Visible());
}

void TCustomDockFormEx::SetVisibleDeferred(bool v) {
  FVisibleWanted = v;
  if (v != Visible()) StartVisibilityTimer();
}

void TCustomDockFormEx::DoShow() {
  TCustomDockForm::DoShow();
  FVisibleWanted = true;
}

void TCustomDockFormEx::DoHide() {
  TCustomDockForm::DoHide();
  FVisibleWanted = false;
}

void TCustomDockFormEx::WndProc(TMessage& m) {
  switch (m.Msg) {
  case CM_VISIBLECHANGED:
    TCustomDockForm::WndProc(m);
    VisibleChanged(m.WParam != 0);
    return;
  case WM_ACTIVATEAPP:
    ActivateApp(m.WParam != 0);
    break;
  default:
    break;
  }
  TCustomDockForm::WndProc(m);
}

void TCustomDockFormEx::VisibleChanged(bool visible) {
  if (ControlCount() == 0) return;
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  if (visible && LayoutRestoring()) return;
  FloatTree()->RecordControl(Controls(0), BoundsRect(), visible);
}

// Topmost while the program is active; when it is left, the form goes right
// behind the window that became active and loses its topmost place.  With
// no foreground window the z-order is left alone (placing the form after no
// window would raise it to the top).
void TCustomDockFormEx::ActivateApp(bool active) {
  if (!HandleAllocated()) return;
  constexpr UINT flags = SWP_NOSENDCHANGING | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE;
  const HWND h = Handle();
  if (active) {
    SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, flags);
    return;
  }
  const HWND foreground = GetForegroundWindow();
  if (foreground && foreground != h) SetWindowPos(h, foreground, 0, 0, 0, 0, flags);
  if (GetWindowLong(h, GWL_EXSTYLE) & WS_EX_TOPMOST)
    SetWindowPos(h, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
}

// ---- Start-up and shut-down ------------------------------------------------------------

void InitializeDockForms() {
  gVisibilityTimer = 0;
  LayoutRestoring() = false;
  DefaultDockFormClass() = &TCustomDockFormEx::StaticClass();
}

void FinalizeDockForms() {
  try {
    StopVisibilityTimer();
  } catch (...) {
    // The timer is gone with the window system at the end of the program.
  }
  FreeDockCaptionBitmap();
  FreeFloatTree();
}

} // namespace zel
