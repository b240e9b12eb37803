#include "framework/actnbars/CustomizeActionBars.h"

#include "framework/actnbars/ActnMan.h"

namespace zel {

namespace {
TCustomizeActionBars::TDialogRunner& Runner() {
  static TCustomizeActionBars::TDialogRunner runner;
  return runner;
}
TCustomizeActionBars::TDialogFactory& Factory() {
  static TCustomizeActionBars::TDialogFactory factory;
  return factory;
}
TCustomizeActionBars::TDialogManagerOf& ManagerOf() {
  static TCustomizeActionBars::TDialogManagerOf managerOf;
  return managerOf;
}
} // namespace

TCustomizeActionBars::TCustomizeActionBars(TComponent* owner) : TCustomAction(owner) {
  SetDisableIfNoHandler(false);
  if (Factory()) SetCustomizeDlg(Factory()(*this));
}

TCustomizeActionBars::~TCustomizeActionBars() {
  if (FActionManager) FActionManager->RemoveFreeNotification(this);
  if (FCustomizeDlg) FCustomizeDlg->RemoveFreeNotification(this);
}

void TCustomizeActionBars::SetDialogRunner(TDialogRunner runner) {
  Runner() = std::move(runner);
}

void TCustomizeActionBars::SetDialogFactory(TDialogFactory factory) {
  Factory() = std::move(factory);
}

void TCustomizeActionBars::SetDialogManagerOf(TDialogManagerOf managerOf) {
  ManagerOf() = std::move(managerOf);
}

TCustomActionManager* TCustomizeActionBars::ActionManager() const {
  if (FActionManager) return FActionManager;
  if (auto* m = dynamic_cast<TCustomActionManager*>(ActionList())) return m;
  return FCustomizeDlg && ManagerOf() ? ManagerOf()(FCustomizeDlg) : nullptr;
}

void TCustomizeActionBars::SetActionManager(TCustomActionManager* value) {
  if (value == FActionManager) return;
  if (FActionManager) FActionManager->RemoveFreeNotification(this);
  FActionManager = value;
  if (FActionManager) FActionManager->FreeNotification(this);
}

void TCustomizeActionBars::SetCustomizeDlg(TComponent* dlg) {
  if (dlg == FCustomizeDlg) return;
  if (FCustomizeDlg) FCustomizeDlg->RemoveFreeNotification(this);
  FCustomizeDlg = dlg;
  if (FCustomizeDlg) FCustomizeDlg->FreeNotification(this);
}

void TCustomizeActionBars::Notification(TComponent* component, TOperation operation) {
  TCustomAction::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == FActionManager) FActionManager = nullptr;
  if (component == FCustomizeDlg) FCustomizeDlg = nullptr;
}

TObject* TCustomizeActionBars::FindTarget() {
  return ActionManager();
}

bool TCustomizeActionBars::HandlesTarget(TObject* target) {
  return Is<TCustomActionManager>(target);
}

void TCustomizeActionBars::UpdateTarget(TObject*) {
  SetEnabled(true);
}

void TCustomizeActionBars::ExecuteTarget(TObject*) {
  if (Runner()) Runner()(*this);
}

bool TCustomizeActionBars::Update() {
  if (TCustomAction::Update()) return true;
  SetEnabled(false);
  return true;
}

} // namespace zel
