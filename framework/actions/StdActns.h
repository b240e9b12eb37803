#pragma once
// The standard actions the main window uses: leaving the program and the
// window commands of an MDI form.  They need no OnExecute: each finds its
// own target and keeps its enabled state itself, so DisableIfNoHandler is
// off for them.

#include "framework/actions/ActnList.h"

namespace zel {

class TCustomForm;

// Closes the application's main form.  Always enabled while there is one.
class TFileExit : public TCustomAction {
  ZEL_CREATABLE_CLASS(TFileExit, TCustomAction)
public:
  explicit TFileExit(TComponent* owner);
  TObject* FindTarget() override;
  bool HandlesTarget(TObject* target) override;
  void UpdateTarget(TObject* target) override;
  void ExecuteTarget(TObject* target) override;
};

// The base of the MDI window commands.  The target is the action's Form
// when one is set, otherwise the active form (an active MDI child stands for
// its MDI form), otherwise the main form.  The command is enabled only while
// the target is an MDI form with at least one child; with no such target it
// is disabled.
class TWindowAction : public TCustomAction {
  ZEL_CLASS(TWindowAction, TCustomAction)
public:
  explicit TWindowAction(TComponent* owner);
  ~TWindowAction() override;

  TCustomForm* Form() const { return FForm; }
  void SetForm(TCustomForm* form);

  TObject* FindTarget() override;
  bool HandlesTarget(TObject* target) override;
  void UpdateTarget(TObject* target) override;
  bool Update() override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  TCustomForm* FForm = nullptr;
};

class TWindowCascade : public TWindowAction {
  ZEL_CREATABLE_CLASS(TWindowCascade, TWindowAction)
public:
  explicit TWindowCascade(TComponent* owner) : TWindowAction(owner) {}
  void ExecuteTarget(TObject* target) override;
};

class TWindowTileHorizontal : public TWindowAction {
  ZEL_CREATABLE_CLASS(TWindowTileHorizontal, TWindowAction)
public:
  explicit TWindowTileHorizontal(TComponent* owner) : TWindowAction(owner) {}
  void ExecuteTarget(TObject* target) override;
};

class TWindowTileVertical : public TWindowAction {
  ZEL_CREATABLE_CLASS(TWindowTileVertical, TWindowAction)
public:
  explicit TWindowTileVertical(TComponent* owner) : TWindowAction(owner) {}
  void ExecuteTarget(TObject* target) override;
};

class TWindowMinimizeAll : public TWindowAction {
  ZEL_CREATABLE_CLASS(TWindowMinimizeAll, TWindowAction)
public:
  explicit TWindowMinimizeAll(TComponent* owner) : TWindowAction(owner) {}
  void ExecuteTarget(TObject* target) override;
};

} // namespace zel
