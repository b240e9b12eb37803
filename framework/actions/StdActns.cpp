#include "framework/actions/StdActns.h"

#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/forms/Screen.h"

namespace zel {

// ---- TFileExit -------------------------------------------------------------------------

TFileExit::TFileExit(TComponent* owner) : TCustomAction(owner) {
  SetDisableIfNoHandler(false);
}

TObject* TFileExit::FindTarget() {
  return Application ? Application->MainForm() : nullptr;
}

bool TFileExit::HandlesTarget(TObject* target) {
  return Is<TCustomForm>(target);
}

void TFileExit::UpdateTarget(TObject*) {
  SetEnabled(true);
}

void TFileExit::ExecuteTarget(TObject* target) {
  if (auto* form = As<TCustomForm>(target)) form->Close();
}

// ---- TWindowAction ----------------------------------------------------------------------

TWindowAction::TWindowAction(TComponent* owner) : TCustomAction(owner) {
  SetDisableIfNoHandler(false);
}

TWindowAction::~TWindowAction() {
  if (FForm) FForm->RemoveFreeNotification(this);
}

void TWindowAction::SetForm(TCustomForm* form) {
  if (form == FForm) return;
  if (FForm) FForm->RemoveFreeNotification(this);
  FForm = form;
  if (FForm) FForm->FreeNotification(this);
}

void TWindowAction::Notification(TComponent* component, TOperation operation) {
  TCustomAction::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FForm) FForm = nullptr;
}

TObject* TWindowAction::FindTarget() {
  if (FForm) return FForm;
  TCustomForm* form = Screen ? Screen->ActiveForm() : nullptr;
  if (form && form->FormStyle() == fsMDIChild && form->MDIParent()) form = form->MDIParent();
  if (!form && Application) form = Application->MainForm();
  return form;
}

bool TWindowAction::HandlesTarget(TObject* target) {
  auto* form = dynamic_cast<TCustomForm*>(target);
  return form && form->FormStyle() == fsMDIForm;
}

void TWindowAction::UpdateTarget(TObject* target) {
  auto* form = As<TCustomForm>(target);
  SetEnabled(form && form->MDIChildCount() > 0);
}

bool TWindowAction::Update() {
  if (TCustomAction::Update()) return true;
  // No MDI form to work on: the command cannot run.
  SetEnabled(false);
  return true;
}

void TWindowCascade::ExecuteTarget(TObject* target) {
  if (auto* form = As<TCustomForm>(target)) form->Cascade();
}

void TWindowTileHorizontal::ExecuteTarget(TObject* target) {
  if (auto* form = As<TCustomForm>(target)) {
    form->SetTileMode(tbHorizontal);
    form->Tile();
  }
}

void TWindowTileVertical::ExecuteTarget(TObject* target) {
  if (auto* form = As<TCustomForm>(target)) {
    form->SetTileMode(tbVertical);
    form->Tile();
  }
}

void TWindowMinimizeAll::ExecuteTarget(TObject* target) {
  if (auto* form = As<TCustomForm>(target)) form->MinimizeAll();
}

} // namespace zel
