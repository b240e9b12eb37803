#pragma once
// The action that opens the customize dialog of an action manager's bars.
// The dialog itself belongs to the bars' on-screen part, which installs a
// runner at start-up; until then executing the action does nothing.

#include <functional>

#include "framework/actions/ActnList.h"

namespace zel {

class TCustomActionManager;

class TCustomizeActionBars : public TCustomAction {
  ZEL_CREATABLE_CLASS(TCustomizeActionBars, TCustomAction)
public:
  explicit TCustomizeActionBars(TComponent* owner);
  ~TCustomizeActionBars() override;

  // The manager whose bars are customised: the one set, else the manager
  // the action sits in, else the manager its dialog was given (an action
  // shared by several bars knows its manager only through the dialog).
  TCustomActionManager* ActionManager() const;
  void SetActionManager(TCustomActionManager* value);
  // The dialog component once made by the runner (owned by the action).
  TComponent* CustomizeDlg() const { return FCustomizeDlg; }
  void SetCustomizeDlg(TComponent* dlg);

  // Opens the dialog for an action; installed once by the bars' screen part.
  using TDialogRunner = std::function<void(TCustomizeActionBars& action)>;
  static void SetDialogRunner(TDialogRunner runner);
  // Makes the dialog of a new action, so that the dialog's settings can be
  // made before it first shows; installed with the runner.
  using TDialogFactory = std::function<TComponent*(TCustomizeActionBars& action)>;
  static void SetDialogFactory(TDialogFactory factory);
  // Tells the manager a dialog made by the factory customises; installed
  // with the runner.
  using TDialogManagerOf = std::function<TCustomActionManager*(TComponent* dialog)>;
  static void SetDialogManagerOf(TDialogManagerOf managerOf);

  // Enabled exactly while there is a manager to customise.
  TObject* FindTarget() override;
  bool HandlesTarget(TObject* target) override;
  void UpdateTarget(TObject* target) override;
  void ExecuteTarget(TObject* target) override;
  bool Update() override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  TCustomActionManager* FActionManager = nullptr;
  TComponent* FCustomizeDlg = nullptr;
};

} // namespace zel
