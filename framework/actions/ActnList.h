#pragma once
// Actions and action lists.  An action is a command with the look a client
// shows for it (caption, check state, image, short cut, hint); clients such
// as menu items, buttons and tool-bar items follow it through action links.
// An action list groups actions, lets the program answer their updates and
// executions in one place, executes the action of a short cut typed anywhere
// in its form, and has its actions updated while the program is idle.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/controls/ControlTypes.h"
#include "framework/core/Component.h"

namespace zel {

class TBasicAction;
class TContainedAction;
class TCustomAction;
class TCustomActionList;
class TCustomImageList;
class TControl;

// ---- Short cuts ---------------------------------------------------------------------
// A key with its shift keys in one 16-bit value: the virtual key in the low
// byte and the flags below (Alt+X is 0x8058 = 32856).
using TShortCut = uint16_t;
constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

TShortCut ShortCut(sys::WORD key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, sys::WORD& key, TShiftState& shift);
// "Ctrl+Shift+F5", "Alt+X"; empty for scNone.
std::string ShortCutToText(TShortCut shortCut);
// The reverse of ShortCutToText (ignoring case); scNone for text it cannot read.
TShortCut TextToShortCut(const std::string& text);

// ---- Links ----------------------------------------------------------------------------
// A client's connection to an action.  The action tells its links about
// every change; a link that goes away unregisters itself, and an action that
// goes away clears its links' references first.
class TBasicActionLink : public TObject {
  ZEL_CLASS(TBasicActionLink, TObject)
public:
  explicit TBasicActionLink(TObject* client) : FClient(client) {}
  ~TBasicActionLink() override;
  TBasicActionLink(const TBasicActionLink&) = delete;
  TBasicActionLink& operator=(const TBasicActionLink&) = delete;

  TBasicAction* Action() const { return FAction; }
  void SetAction(TBasicAction* action);
  TObject* Client() const { return FClient; }
  virtual bool Execute(TComponent* target = nullptr);
  virtual bool Update();

  // Raised after the action changed (any property).
  TNotifyEvent OnChange;

protected:
  friend class TBasicAction;
  // The action changed; the base raises OnChange.
  virtual void Change();
  // The action is being destroyed: the link forgets it.
  virtual void ActionDestroying() { FAction = nullptr; }

  TObject* FClient;
  TBasicAction* FAction = nullptr;
};

// A link that carries each property of a TCustomAction to its client.  The
// Is...Linked tests say whether the client still follows the action for a
// property; the Set... operations are called before the action stores the
// new value, so a client whose value equals the action's old one follows.
class TActionLink : public TBasicActionLink {
  ZEL_CLASS(TActionLink, TBasicActionLink)
public:
  using TBasicActionLink::TBasicActionLink;

  virtual bool IsCaptionLinked() const;
  virtual bool IsCheckedLinked() const;
  virtual bool IsEnabledLinked() const;
  virtual bool IsGroupIndexLinked() const;
  virtual bool IsHelpContextLinked() const;
  virtual bool IsHintLinked() const;
  virtual bool IsImageIndexLinked() const;
  virtual bool IsShortCutLinked() const;
  virtual bool IsVisibleLinked() const;
  virtual bool IsOnExecuteLinked() const;

  virtual void SetAutoCheck(bool) {}
  virtual void SetCaption(const std::string&) {}
  virtual void SetChecked(bool) {}
  virtual void SetEnabled(bool) {}
  virtual void SetGroupIndex(int) {}
  virtual void SetHelpContext(int) {}
  virtual void SetHint(const std::string&) {}
  virtual void SetImageIndex(int) {}
  virtual void SetShortCut(TShortCut) {}
  virtual void SetVisible(bool) {}
  virtual void SetOnExecute(const TNotifyEvent&) {}

protected:
  // The linked action as a TCustomAction, or nil.
  TCustomAction* CustomAction() const;
};

// The link of a control: the control follows the action's caption,
// enabled state, hint, help context, visibility and click handler while its
// own value equals the action's.
class TControlActionLink : public TActionLink {
  ZEL_CLASS(TControlActionLink, TActionLink)
public:
  explicit TControlActionLink(TControl* client);
  TControl* Control() const { return FControl; }

  bool IsCaptionLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHelpContextLinked() const override;
  bool IsHintLinked() const override;
  bool IsVisibleLinked() const override;
  bool IsOnExecuteLinked() const override;

  void SetCaption(const std::string& value) override;
  void SetEnabled(bool value) override;
  void SetHelpContext(int value) override;
  void SetHint(const std::string& value) override;
  void SetVisible(bool value) override;
  void SetOnExecute(const TNotifyEvent& value) override;

protected:
  // Tells the control (ActionChange with checkDefaults false).
  void Change() override;

private:
  TControl* FControl;
};

// What a control does in its ActionChange: take the action's caption,
// enabled state, hint, help context, visibility and click handler.  With
// checkDefaults a property is only taken while the control still has its
// default value for it (empty caption and hint, enabled, visible, help
// context 0, no click handler), so settings made on the control survive.
void ApplyActionToControl(TControl* control, TBasicAction* action, bool checkDefaults);

// ---- Actions ----------------------------------------------------------------------------
class TBasicAction : public TComponent {
  ZEL_CLASS(TBasicAction, TComponent)
public:
  explicit TBasicAction(TComponent* owner);
  ~TBasicAction() override;

  // Executes the action: OnExecute when assigned, otherwise the target the
  // action finds for itself.  True when something handled it.
  virtual bool Execute();
  // Updates the action: OnUpdate when assigned, otherwise its target.
  // True when something handled it.
  virtual bool Update();

  // Target handling of actions that work on something of their own (the
  // standard actions); the base handles no target.
  virtual bool HandlesTarget(TObject* target) { return false; }
  virtual void UpdateTarget(TObject* target) {}
  virtual void ExecuteTarget(TObject* target) {}
  // The object the action works on when no handler is assigned, or nil.
  virtual TObject* FindTarget() { return nullptr; }

  // The component that last asked for the execution (a menu item, a button).
  TComponent* ActionComponent() const { return FActionComponent; }
  void SetActionComponent(TComponent* c);

  void RegisterChanges(TBasicActionLink* link);
  void UnRegisterChanges(TBasicActionLink* link);
  int ClientCount() const { return int(FClients.size()); }
  TBasicActionLink* Clients(int index) const { return FClients.at(size_t(index)); }

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;
  // Raised on every change, after the links were told.
  TNotifyEvent OnChange;

  void Notification(TComponent* component, TOperation operation) override;

protected:
  // Tells every link and raises OnChange.
  virtual void Change();
  // Calls f for every link that is a TActionLink, on a copy of the list.
  template <class F> void ForEachActionLink(F&& f);

private:
  std::vector<TBasicActionLink*> FClients;
  TComponent* FActionComponent = nullptr;
};

// An action that can sit in an action list, with a category.
class TContainedAction : public TBasicAction {
  ZEL_CLASS(TContainedAction, TBasicAction)
public:
  explicit TContainedAction(TComponent* owner);
  ~TContainedAction() override;

  TCustomActionList* ActionList() const { return FActionList; }
  // Moves the action into another list (nil: into none).
  void SetActionList(TCustomActionList* list);
  const std::string& Category() const { return FCategory; }
  void SetCategory(const std::string& value);
  // The position in the action list, -1 when in none.
  int Index() const;
  void SetIndex(int value);

  // The list's OnExecute first, then the action's own handling.
  bool Execute() override;
  // The list's OnUpdate first, then the action's own handling.
  bool Update() override;

  TComponent* GetParentComponent() const override;
  bool HasParent() const override { return FActionList != nullptr; }

private:
  friend class TCustomActionList;
  TCustomActionList* FActionList = nullptr;
  std::string FCategory;
};

class TCustomAction : public TContainedAction {
  ZEL_CLASS(TCustomAction, TContainedAction)
public:
  explicit TCustomAction(TComponent* owner);

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& value);
  bool Checked() const { return FChecked; }
  // Checking an action of a group (GroupIndex > 0) unchecks the other
  // actions of its list with the same group index.
  void SetChecked(bool value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  int GroupIndex() const { return FGroupIndex; }
  // Setting a group index while checked unchecks the group's others.
  void SetGroupIndex(int value);
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool value);
  // "short|long": the short part shows in tool tips, the long one in the
  // status line.
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& value);
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut value);
  // When set (the default), an action that no handler updates and that has
  // no OnExecute is disabled at its next update.
  bool DisableIfNoHandler() const { return FDisableIfNoHandler; }
  void SetDisableIfNoHandler(bool value) { FDisableIfNoHandler = value; }
  // The images of the action's list, or nil.
  TCustomImageList* Images() const;

  // Updates first; when enabled, an auto-checking action toggles its check
  // (an action of a group only checks itself), then executes.
  bool Execute() override;
  bool Update() override;

  // Copies the look of another TCustomAction.
  void Assign(TPersistent* source) override;

  static void DeclareProperties(TPropertyTable<TCustomAction>& t);

private:
  void UncheckGroup();

  std::string FCaption;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  int FGroupIndex = 0;
  bool FAutoCheck = false;
  std::string FHint;
  int FHelpContext = 0;
  int FImageIndex = -1;
  TShortCut FShortCut = scNone;
  bool FDisableIfNoHandler = true;
  bool FChecking = false;
};

class TAction : public TCustomAction {
  ZEL_CREATABLE_CLASS(TAction, TCustomAction)
public:
  explicit TAction(TComponent* owner) : TCustomAction(owner) {}
};

// ---- Action lists ------------------------------------------------------------------------
using TActionEvent = std::function<void(TBasicAction* action, bool& handled)>;

class TCustomActionList : public TComponent {
  ZEL_CLASS(TCustomActionList, TComponent)
public:
  explicit TCustomActionList(TComponent* owner);
  // Frees the actions still in the list, last to first (they are the list's
  // content even though their owner is the form).
  ~TCustomActionList() override;

  int ActionCount() const { return int(FActions.size()); }
  // Raises EListError for an index out of range.
  TContainedAction* Actions(int index) const;
  int IndexOf(const TContainedAction* action) const;
  void AddAction(TContainedAction* action);
  void RemoveAction(TContainedAction* action);
  // The action of that name (ignoring case), or nil.
  TContainedAction* FindAction(const std::string& name) const;

  TCustomImageList* Images() const { return FImages; }
  virtual void SetImages(TCustomImageList* value);

  // Raises OnExecute; true when the handler said it handled the action.
  virtual bool ExecuteAction(TBasicAction* action);
  // Raises OnUpdate; true when the handler said it handled the action.
  virtual bool UpdateAction(TBasicAction* action);
  // Updates every action of the list (idle processing).
  void UpdateActions();
  // Executes the enabled, visible action with that short cut; true when
  // there was one.
  bool IsShortCut(TShortCut shortCut);

  TActionEvent OnExecute;
  TActionEvent OnUpdate;
  TNotifyEvent OnChange;

  void Notification(TComponent* component, TOperation operation) override;

protected:
  // Something in the list changed (an action joined or left, the images).
  virtual void Change();

private:
  friend class TContainedAction;
  void MoveAction(TContainedAction* action, int index);

  std::vector<TContainedAction*> FActions;
  TCustomImageList* FImages = nullptr;
};

class TActionList : public TCustomActionList {
  ZEL_CREATABLE_CLASS(TActionList, TCustomActionList)
public:
  explicit TActionList(TComponent* owner) : TCustomActionList(owner) {}
};

// ---- Idle updates and short cuts -------------------------------------------------------------
// Updates the actions of every action list that a showing form owns
// (directly or through owned frames), and lets the controls of those forms
// initiate their actions.  Installed into the application's idle hooks by
// the first action list made while an application exists; callable directly.
void UpdateActionsOfForms();
// Executes the action with that short cut in the action lists owned by form
// (directly or through owned components); true when one ran.
bool DispatchShortCut(TComponent* form, TShortCut shortCut);

} // namespace zel
