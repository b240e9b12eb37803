// The window actions of the main window's "Окно" menu.

#include "shell/FormAction.h"

#include "framework/core/StrUtils.h"
#include "framework/forms/Form.h"
#include "platform/user/Messages.h"
#include "platform/user/Window.h"

namespace zel {

TFormAction::TFormAction(TComponent* owner, TControl* control) : TAction(owner) {
  SetControl(control);
}

TFormAction::~TFormAction() {
  // The link is mutual: the control must not tell a freed action later.
  if (FControl) {
    FControl->RemoveFreeNotification(this);
    FControl = nullptr;
  }
}

void TFormAction::SetControl(TControl* control) {
  if (control == FControl) return;
  if (FControl) FControl->RemoveFreeNotification(this);
  FControl = control;
  if (FControl) FControl->FreeNotification(this);
  SetGroupIndex(Is<TCustomForm>(control) ? 1 : 0);
}

void TFormAction::Notification(TComponent* component, TOperation operation) {
  TAction::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FControl) FControl = nullptr;
}

bool TFormAction::Execute() {
  if (!FControl) return false;
  auto* form = dynamic_cast<TCustomForm*>(FControl);
  if (!form) {
    FControl->SetVisible(true);
    FocusFirstStop();
    return true;
  }
  if (!form->Visible()) form->Show();
  // A minimised child leaves that state before it comes to the front.
  if (form->WindowState() == wsMinimized) sys::ShowWindow(form->Handle(), sys::SW_RESTORE);
  form->BringToFront();
  if (form->Enabled()) form->SetFocus();
  return true;
}

// A control brought up from the window menu takes the keyboard as a window
// would: its first tab stop, or the control itself when it is one.
void TFormAction::FocusFirstStop() {
  auto* control = dynamic_cast<TWinControl*>(FControl);
  if (!control || !control->CanFocus()) return;
  if (TWinControl* first = control->FindNextControl(nullptr, true, true, false))
    first->SetFocus();
  else if (control->TabStop())
    control->SetFocus();
}

bool TFormAction::Update() {
  if (!FControl) {
    SetEnabled(false);
    SetCaption("");
    SetHint("");
    SetHelpContext(0);
    SetChecked(false);
    return false;
  }
  SetEnabled(true);
  // A cut never splits a character: the caption may be Cyrillic.
  SetCaption(Utf8Truncate(FControl->Caption(), MaxCaptionLength));
  SetHint(FControl->Hint());
  SetHelpContext(FControl->HelpContext());
  auto* form = dynamic_cast<TCustomForm*>(FControl);
  const bool checked = form ? form->Active() : FControl->Visible();
  if (checked != Checked()) SetChecked(checked);
  return true;
}

} // namespace zel
