#pragma once
// The entries of the main window's "Окно" menu below its fixed commands:
// one action per MDI child window and one for the colour-map editor.  Each
// shows its control's caption, is checked while its child is the active one
// (or, for another control, while the control is visible) and brings its
// control forward when chosen.

#include "framework/actions/ActnList.h"

namespace zel {

class TControl;

class TFormAction : public TAction {
  ZEL_CLASS(TFormAction, TAction)
public:
  // The longest caption an entry shows, in characters.
  static constexpr int MaxCaptionLength = 64;

  TFormAction(TComponent* owner, TControl* control);
  ~TFormAction() override;

  TControl* Control() const { return FControl; }
  // Binds the action to control (nil: to none).  The action hears when the
  // control is freed.  Forms make a group (index 1), so that checking the
  // active child unchecks the others; any other control stands alone (0).
  void SetControl(TControl* control);

  // Brings the control forward: a form is shown, restored when minimised,
  // raised and focused; another control is made visible and given the
  // keyboard.  False without a control.
  bool Execute() override;
  // Follows the control: its caption (cut to MaxCaptionLength characters),
  // hint, help context and check state.  Without a control the action is
  // emptied and disabled, and the result is false.
  bool Update() override;

  void Notification(TComponent* component, TOperation operation) override;

private:
  void FocusFirstStop();
  TControl* FControl = nullptr;
};

} // namespace zel
