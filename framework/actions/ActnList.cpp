#include "framework/actions/ActnList.h"

#include <algorithm>

#include "framework/controls/Control.h"
#include "framework/controls/WinControl.h"
#include "framework/core/Exceptions.h"
#include "framework/core/StrUtils.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/forms/Screen.h"
#include "framework/graphics/ImageList.h"

namespace zel {

using sys::WORD;

// ---- Short cuts ---------------------------------------------------------------------

TShortCut ShortCut(WORD key, TShiftState shift) {
  if ((key & 0xFF00) != 0) return scNone;
  TShortCut sc = TShortCut(key & 0xFF);
  if (shift.Contains(ssShift)) sc |= scShift;
  if (shift.Contains(ssCtrl)) sc |= scCtrl;
  if (shift.Contains(ssAlt)) sc |= scAlt;
  return sc;
}

void ShortCutToKey(TShortCut shortCut, WORD& key, TShiftState& shift) {
  key = WORD(shortCut & 0xFF);
  shift = {};
  if (shortCut & scShift) shift.Include(ssShift);
  if (shortCut & scCtrl) shift.Include(ssCtrl);
  if (shortCut & scAlt) shift.Include(ssAlt);
}

namespace {

struct KeyName {
  WORD key;
  const char* name;
};
constexpr KeyName kKeyNames[] = {
    {WORD(sys::VK_BACK), "BkSp"},  {WORD(sys::VK_TAB), "Tab"},     {WORD(sys::VK_RETURN), "Enter"},
    {WORD(sys::VK_ESCAPE), "Esc"}, {WORD(sys::VK_SPACE), "Space"}, {WORD(sys::VK_PRIOR), "PgUp"},
    {WORD(sys::VK_NEXT), "PgDn"},  {WORD(sys::VK_END), "End"},     {WORD(sys::VK_HOME), "Home"},
    {WORD(sys::VK_LEFT), "Left"},  {WORD(sys::VK_UP), "Up"},       {WORD(sys::VK_RIGHT), "Right"},
    {WORD(sys::VK_DOWN), "Down"},  {WORD(sys::VK_INSERT), "Ins"},  {WORD(sys::VK_DELETE), "Del"},
};

std::string KeyToText(WORD key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
  if (key >= sys::VK_F1 && key < sys::VK_F1 + 24) return "F" + std::to_string(key - sys::VK_F1 + 1);
  for (const KeyName& k : kKeyNames)
    if (k.key == key) return k.name;
  return {};
}

} // namespace

std::string ShortCutToText(TShortCut shortCut) {
  const std::string key = KeyToText(WORD(shortCut & 0xFF));
  if (key.empty()) return {};
  std::string text;
  if (shortCut & scCtrl) text += "Ctrl+";
  if (shortCut & scShift) text += "Shift+";
  if (shortCut & scAlt) text += "Alt+";
  return text + key;
}

TShortCut TextToShortCut(const std::string& text) {
  TShortCut flags = 0;
  std::string rest = text;
  const std::pair<const char*, TShortCut> prefixes[] = {
      {"CTRL+", scCtrl}, {"SHIFT+", scShift}, {"ALT+", scAlt}};
  for (bool found = true; found;) {
    found = false;
    for (const auto& [prefix, flag] : prefixes) {
      const std::string p = prefix;
      if (rest.size() > p.size() && UpperCase(rest.substr(0, p.size())) == p) {
        flags |= flag;
        rest = rest.substr(p.size());
        found = true;
      }
    }
  }
  for (int key = 1; key < 256; ++key)
    if (!KeyToText(WORD(key)).empty() && SameText(KeyToText(WORD(key)), rest))
      return TShortCut(flags | key);
  return scNone;
}

// ---- Links ----------------------------------------------------------------------------

TBasicActionLink::~TBasicActionLink() {
  if (FAction) FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* action) {
  if (action == FAction) return;
  if (FAction) FAction->UnRegisterChanges(this);
  FAction = action;
  if (FAction) FAction->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* target) {
  if (!FAction) return false;
  FAction->SetActionComponent(target);
  // The component is only known while the execution runs.
  struct Reset {
    TBasicActionLink* link;
    ~Reset() {
      if (link->FAction) link->FAction->SetActionComponent(nullptr);
    }
  } reset{this};
  return FAction->Execute();
}

bool TBasicActionLink::Update() {
  return FAction && FAction->Update();
}

void TBasicActionLink::Change() {
  if (OnChange) OnChange(this);
}

TCustomAction* TActionLink::CustomAction() const {
  return dynamic_cast<TCustomAction*>(FAction);
}

bool TActionLink::IsCaptionLinked() const {
  return CustomAction() != nullptr;
}
bool TActionLink::IsCheckedLinked() const {
  return CustomAction() != nullptr;
}
bool TActionLink::IsEnabledLinked() const {
  return CustomAction() != nullptr;
}
bool TActionLink::IsGroupIndexLinked() const {
  return CustomAction() != nullptr;
}
bool TActionLink::IsHelpContextLinked() const {
  return CustomAction() != nullptr;
}
bool TActionLink::IsHintLinked() const {
  return CustomAction() != nullptr;
}
bool TActionLink::IsImageIndexLinked() const {
  return CustomAction() != nullptr;
}
bool TActionLink::IsShortCutLinked() const {
  return CustomAction() != nullptr;
}
bool TActionLink::IsVisibleLinked() const {
  return CustomAction() != nullptr;
}
bool TActionLink::IsOnExecuteLinked() const {
  return FAction != nullptr;
}

TControlActionLink::TControlActionLink(TControl* client) : TActionLink(client), FControl(client) {}

bool TControlActionLink::IsCaptionLinked() const {
  return TActionLink::IsCaptionLinked() && FControl->Caption() == CustomAction()->Caption();
}
bool TControlActionLink::IsEnabledLinked() const {
  return TActionLink::IsEnabledLinked() && FControl->Enabled() == CustomAction()->Enabled();
}
bool TControlActionLink::IsHelpContextLinked() const {
  return TActionLink::IsHelpContextLinked() &&
         FControl->HelpContext() == CustomAction()->HelpContext();
}
bool TControlActionLink::IsHintLinked() const {
  return TActionLink::IsHintLinked() && FControl->Hint() == CustomAction()->Hint();
}
bool TControlActionLink::IsVisibleLinked() const {
  return TActionLink::IsVisibleLinked() && FControl->Visible() == CustomAction()->Visible();
}
bool TControlActionLink::IsOnExecuteLinked() const {
  // std::function has no equality: a click handler counts as linked when the
  // control has one and the action has one, which is how the link set it.
  return TActionLink::IsOnExecuteLinked() && bool(FControl->OnClick) == bool(FAction->OnExecute);
}

void TControlActionLink::SetCaption(const std::string& value) {
  if (IsCaptionLinked()) FControl->SetCaption(value);
}
void TControlActionLink::SetEnabled(bool value) {
  if (IsEnabledLinked()) FControl->SetEnabled(value);
}
void TControlActionLink::SetHelpContext(int value) {
  if (IsHelpContextLinked()) FControl->SetHelpContext(value);
}
void TControlActionLink::SetHint(const std::string& value) {
  if (IsHintLinked()) FControl->SetHint(value);
}
void TControlActionLink::SetVisible(bool value) {
  if (IsVisibleLinked()) FControl->SetVisible(value);
}
void TControlActionLink::SetOnExecute(const TNotifyEvent& value) {
  if (IsOnExecuteLinked()) FControl->OnClick = value;
}

void TControlActionLink::Change() {
  TActionLink::Change();
  if (FAction) FControl->ActionChange(FAction, false);
}

void ApplyActionToControl(TControl* control, TBasicAction* action, bool checkDefaults) {
  auto* a = dynamic_cast<TCustomAction*>(action);
  if (!control || !a) return;
  if (!checkDefaults || control->Caption().empty()) control->SetCaption(a->Caption());
  if (!checkDefaults || control->Enabled()) control->SetEnabled(a->Enabled());
  if (!checkDefaults || control->Hint().empty()) control->SetHint(a->Hint());
  if (!checkDefaults || control->Visible()) control->SetVisible(a->Visible());
  if (!checkDefaults || control->HelpContext() == 0) control->SetHelpContext(a->HelpContext());
  if (!checkDefaults || !control->OnClick) control->OnClick = a->OnExecute;
}

// ---- TBasicAction ----------------------------------------------------------------------

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

TBasicAction::~TBasicAction() {
  // The links outlive the action: they must not call back into it.
  std::vector<TBasicActionLink*> links;
  links.swap(FClients);
  for (TBasicActionLink* link : links)
    link->ActionDestroying();
  if (FActionComponent) FActionComponent->RemoveFreeNotification(this);
}

bool TBasicAction::Execute() {
  if (OnExecute) {
    OnExecute(this);
    return true;
  }
  TObject* target = FindTarget();
  if (target && HandlesTarget(target)) {
    ExecuteTarget(target);
    return true;
  }
  return false;
}

bool TBasicAction::Update() {
  if (OnUpdate) {
    OnUpdate(this);
    return true;
  }
  TObject* target = FindTarget();
  if (target && HandlesTarget(target)) {
    UpdateTarget(target);
    return true;
  }
  return false;
}

void TBasicAction::SetActionComponent(TComponent* c) {
  if (c == FActionComponent) return;
  if (FActionComponent) FActionComponent->RemoveFreeNotification(this);
  FActionComponent = c;
  if (FActionComponent) FActionComponent->FreeNotification(this);
}

void TBasicAction::RegisterChanges(TBasicActionLink* link) {
  if (!link || std::find(FClients.begin(), FClients.end(), link) != FClients.end()) return;
  FClients.push_back(link);
  link->FAction = this;
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* link) {
  auto it = std::find(FClients.begin(), FClients.end(), link);
  if (it == FClients.end()) return;
  FClients.erase(it);
  link->FAction = nullptr;
}

void TBasicAction::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FActionComponent)
    FActionComponent = nullptr;
}

void TBasicAction::Change() {
  const std::vector<TBasicActionLink*> links = FClients;
  for (TBasicActionLink* link : links)
    if (std::find(FClients.begin(), FClients.end(), link) != FClients.end()) link->Change();
  if (OnChange) OnChange(this);
}

template <class F> void TBasicAction::ForEachActionLink(F&& f) {
  const std::vector<TBasicActionLink*> links = FClients;
  for (TBasicActionLink* link : links) {
    // A client may drop its link while it reacts to an earlier one.
    if (std::find(FClients.begin(), FClients.end(), link) == FClients.end()) continue;
    if (auto* al = dynamic_cast<TActionLink*>(link)) f(*al);
  }
}

// ---- TContainedAction ------------------------------------------------------------------

TContainedAction::TContainedAction(TComponent* owner) : TBasicAction(owner) {}

TContainedAction::~TContainedAction() {
  if (FActionList) FActionList->RemoveAction(this);
}

void TContainedAction::SetActionList(TCustomActionList* list) {
  if (list == FActionList) return;
  if (FActionList) FActionList->RemoveAction(this);
  if (list) list->AddAction(this);
}

void TContainedAction::SetCategory(const std::string& value) {
  if (value == FCategory) return;
  FCategory = value;
  if (FActionList) FActionList->Change();
}

int TContainedAction::Index() const {
  return FActionList ? FActionList->IndexOf(this) : -1;
}

void TContainedAction::SetIndex(int value) {
  if (FActionList) FActionList->MoveAction(this, value);
}

bool TContainedAction::Execute() {
  if (FActionList && FActionList->ExecuteAction(this)) return true;
  return TBasicAction::Execute();
}

bool TContainedAction::Update() {
  if (FActionList && FActionList->UpdateAction(this)) return true;
  return TBasicAction::Update();
}

TComponent* TContainedAction::GetParentComponent() const {
  return FActionList;
}

// ---- TCustomAction -----------------------------------------------------------------------

TCustomAction::TCustomAction(TComponent* owner) : TContainedAction(owner) {}

void TCustomAction::SetCaption(const std::string& value) {
  if (value == FCaption) return;
  ForEachActionLink([&](TActionLink& l) { l.SetCaption(value); });
  FCaption = value;
  Change();
}

void TCustomAction::SetChecked(bool value) {
  if (FChecking || value == FChecked) return;
  FChecking = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{FChecking};
  ForEachActionLink([&](TActionLink& l) { l.SetChecked(value); });
  FChecked = value;
  if (value && FGroupIndex > 0) UncheckGroup();
  Change();
}

void TCustomAction::UncheckGroup() {
  TCustomActionList* list = ActionList();
  if (!list) return;
  for (int i = 0; i < list->ActionCount(); ++i) {
    auto* other = dynamic_cast<TCustomAction*>(list->Actions(i));
    if (other && other != this && other->FGroupIndex == FGroupIndex) other->SetChecked(false);
  }
}

void TCustomAction::SetEnabled(bool value) {
  if (value == FEnabled) return;
  ForEachActionLink([&](TActionLink& l) { l.SetEnabled(value); });
  FEnabled = value;
  Change();
}

void TCustomAction::SetVisible(bool value) {
  if (value == FVisible) return;
  ForEachActionLink([&](TActionLink& l) { l.SetVisible(value); });
  FVisible = value;
  Change();
}

void TCustomAction::SetGroupIndex(int value) {
  if (value == FGroupIndex) return;
  ForEachActionLink([&](TActionLink& l) { l.SetGroupIndex(value); });
  FGroupIndex = value;
  if (FChecked && FGroupIndex > 0) UncheckGroup();
  Change();
}

void TCustomAction::SetAutoCheck(bool value) {
  if (value == FAutoCheck) return;
  ForEachActionLink([&](TActionLink& l) { l.SetAutoCheck(value); });
  FAutoCheck = value;
  Change();
}

void TCustomAction::SetHint(const std::string& value) {
  if (value == FHint) return;
  ForEachActionLink([&](TActionLink& l) { l.SetHint(value); });
  FHint = value;
  Change();
}

void TCustomAction::SetHelpContext(int value) {
  if (value == FHelpContext) return;
  ForEachActionLink([&](TActionLink& l) { l.SetHelpContext(value); });
  FHelpContext = value;
  Change();
}

void TCustomAction::SetImageIndex(int value) {
  if (value == FImageIndex) return;
  ForEachActionLink([&](TActionLink& l) { l.SetImageIndex(value); });
  FImageIndex = value;
  Change();
}

void TCustomAction::SetShortCut(TShortCut value) {
  if (value == FShortCut) return;
  ForEachActionLink([&](TActionLink& l) { l.SetShortCut(value); });
  FShortCut = value;
  Change();
}

TCustomImageList* TCustomAction::Images() const {
  return ActionList() ? ActionList()->Images() : nullptr;
}

bool TCustomAction::Execute() {
  Update();
  if (!FEnabled) return false;
  // A grouped action behaves like a radio item: executing it checks it.
  if (FAutoCheck && (!FChecked || FGroupIndex == 0)) SetChecked(!FChecked);
  return TContainedAction::Execute();
}

bool TCustomAction::Update() {
  const bool handled = TContainedAction::Update();
  if (!handled && FDisableIfNoHandler && !OnExecute && FEnabled) SetEnabled(false);
  return handled;
}

void TCustomAction::Assign(TPersistent* source) {
  auto* a = dynamic_cast<TCustomAction*>(source);
  if (!a) {
    TContainedAction::Assign(source);
    return;
  }
  SetCaption(a->FCaption);
  SetAutoCheck(a->FAutoCheck);
  SetGroupIndex(a->FGroupIndex);
  SetChecked(a->FChecked);
  SetEnabled(a->FEnabled);
  SetVisible(a->FVisible);
  SetHint(a->FHint);
  SetHelpContext(a->FHelpContext);
  SetImageIndex(a->FImageIndex);
  SetShortCut(a->FShortCut);
  SetCategory(a->Category());
  OnExecute = a->OnExecute;
  OnUpdate = a->OnUpdate;
}

void TCustomAction::DeclareProperties(TPropertyTable<TCustomAction>& t) {
  t.Add("AutoCheck", &TCustomAction::AutoCheck, &TCustomAction::SetAutoCheck);
  t.Add("Caption", &TCustomAction::Caption, &TCustomAction::SetCaption);
  t.Add("Category", &TCustomAction::Category, &TCustomAction::SetCategory);
  t.Add("Checked", &TCustomAction::Checked, &TCustomAction::SetChecked);
  t.Add("Enabled", &TCustomAction::Enabled, &TCustomAction::SetEnabled);
  t.Add("GroupIndex", &TCustomAction::GroupIndex, &TCustomAction::SetGroupIndex);
  t.Add("HelpContext", &TCustomAction::HelpContext, &TCustomAction::SetHelpContext);
  t.Add("Hint", &TCustomAction::Hint, &TCustomAction::SetHint);
  t.Add("ImageIndex", &TCustomAction::ImageIndex, &TCustomAction::SetImageIndex);
  t.Add("ShortCut", "TShortCut", &TCustomAction::ShortCut, &TCustomAction::SetShortCut);
  t.Add("Visible", &TCustomAction::Visible, &TCustomAction::SetVisible);
}

// ---- Hooks into forms and the application ----------------------------------------------

namespace {

// Sits in a form's component list and puts itself in front of the form's
// window method, so that a key the focused control does not want is tried
// as a short cut of the form's action lists before the form's dialog keys.
class TShortCutHook : public TComponent {
  ZEL_CLASS(TShortCutHook, TComponent)
public:
  explicit TShortCutHook(TCustomForm* form) : TComponent(form), FForm(form) {
    // Part of the form's machinery, not of its content: never streamed.
    SetSubComponent(true);
    FPrevious = form->WindowProc;
    form->WindowProc = [this](TMessage& m) { Handle(m); };
  }
  ~TShortCutHook() override {
    if (!FForm->ComponentState().Contains(csDestroying)) FForm->WindowProc = FPrevious;
  }

private:
  void Handle(TMessage& m) {
    if (m.Msg == CM_DIALOGKEY) {
      const TShortCut sc = ShortCut(WORD(m.WParam), KeyboardShiftState());
      if (sc != scNone && DispatchShortCut(FForm, sc)) {
        m.Result = 1;
        return;
      }
    }
    if (FPrevious)
      FPrevious(m);
    else
      FForm->WndProc(m);
  }

  TCustomForm* FForm;
  TWndMethod FPrevious;
};

// Lives in the application's component list; its idle hook updates actions.
class TActionIdleHook : public TComponent {
  ZEL_CLASS(TActionIdleHook, TComponent)
public:
  explicit TActionIdleHook(TApplication* app) : TComponent(app), FApp(app) {
    SetSubComponent(true);
    FId = app->AddIdleHook([] { UpdateActionsOfForms(); });
  }
  ~TActionIdleHook() override { FApp->RemoveIdleHook(FId); }

private:
  TApplication* FApp;
  int FId = 0;
};

template <class T> T* FindOwned(TComponent* owner) {
  for (int i = 0; i < owner->ComponentCount(); ++i)
    if (auto* c = dynamic_cast<T*>(owner->Components(i))) return c;
  return nullptr;
}

void InstallHooks(TComponent* owner) {
  if (Application && !FindOwned<TActionIdleHook>(Application)) new TActionIdleHook(Application);
  for (TComponent* c = owner; c; c = c->Owner()) {
    if (auto* form = dynamic_cast<TCustomForm*>(c)) {
      if (!form->ComponentState().Contains(csDestroying) && !FindOwned<TShortCutHook>(form))
        new TShortCutHook(form);
      return;
    }
  }
}

template <class F> void ForEachActionList(TComponent* owner, F&& f) {
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    TComponent* c = owner->Components(i);
    if (auto* list = dynamic_cast<TCustomActionList*>(c))
      f(list);
    else if (c->ComponentCount() > 0 && !dynamic_cast<TCustomForm*>(c))
      ForEachActionList(c, f);
  }
}

void InitiateActions(TWinControl* parent) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (!c->Visible()) continue;
    if (c->Action()) c->InitiateAction();
    if (auto* w = dynamic_cast<TWinControl*>(c)) InitiateActions(w);
  }
}

} // namespace

void UpdateActionsOfForms() {
  if (!Screen) return;
  std::vector<TCustomForm*> forms;
  for (int i = 0; i < Screen->FormCount(); ++i)
    forms.push_back(Screen->Forms(i));
  for (TCustomForm* form : forms) {
    if (!form->HandleAllocated() || !form->Showing()) continue;
    ForEachActionList(form, [](TCustomActionList* list) { list->UpdateActions(); });
    InitiateActions(form);
  }
}

bool DispatchShortCut(TComponent* form, TShortCut shortCut) {
  if (!form) return false;
  std::vector<TCustomActionList*> lists;
  ForEachActionList(form, [&](TCustomActionList* list) { lists.push_back(list); });
  for (TCustomActionList* list : lists)
    if (list->IsShortCut(shortCut)) return true;
  return false;
}

// ---- TCustomActionList ---------------------------------------------------------------------

TCustomActionList::TCustomActionList(TComponent* owner) : TComponent(owner) {
  InstallHooks(owner);
}

TCustomActionList::~TCustomActionList() {
  while (!FActions.empty())
    Free(FActions.back());
  if (FImages) FImages->RemoveFreeNotification(this);
}

TContainedAction* TCustomActionList::Actions(int index) const {
  if (index < 0 || index >= ActionCount())
    throw EListError::CreateFmt("List index out of bounds (%d)", index);
  return FActions[size_t(index)];
}

int TCustomActionList::IndexOf(const TContainedAction* action) const {
  auto it = std::find(FActions.begin(), FActions.end(), action);
  return it == FActions.end() ? -1 : int(it - FActions.begin());
}

void TCustomActionList::AddAction(TContainedAction* action) {
  if (!action || action->FActionList == this) return;
  if (action->FActionList) action->FActionList->RemoveAction(action);
  FActions.push_back(action);
  action->FActionList = this;
  Change();
}

void TCustomActionList::RemoveAction(TContainedAction* action) {
  auto it = std::find(FActions.begin(), FActions.end(), action);
  if (it == FActions.end()) return;
  FActions.erase(it);
  action->FActionList = nullptr;
  Change();
}

TContainedAction* TCustomActionList::FindAction(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (TContainedAction* a : FActions)
    if (SameText(a->Name(), name)) return a;
  return nullptr;
}

void TCustomActionList::MoveAction(TContainedAction* action, int index) {
  const int cur = IndexOf(action);
  if (cur < 0) return;
  index = std::clamp(index, 0, ActionCount() - 1);
  FActions.erase(FActions.begin() + cur);
  FActions.insert(FActions.begin() + index, action);
  Change();
}

void TCustomActionList::SetImages(TCustomImageList* value) {
  if (value == FImages) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = value;
  if (FImages) FImages->FreeNotification(this);
  Change();
}

bool TCustomActionList::ExecuteAction(TBasicAction* action) {
  bool handled = false;
  if (OnExecute) OnExecute(action, handled);
  return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* action) {
  bool handled = false;
  if (OnUpdate) OnUpdate(action, handled);
  return handled;
}

void TCustomActionList::UpdateActions() {
  // An update may add or free actions (a window menu keeping step with its
  // windows), so each action is looked up again before it is updated.
  const std::vector<TContainedAction*> snapshot = FActions;
  for (TContainedAction* a : snapshot)
    if (IndexOf(a) >= 0) a->Update();
}

bool TCustomActionList::IsShortCut(TShortCut shortCut) {
  if (shortCut == scNone) return false;
  const std::vector<TContainedAction*> snapshot = FActions;
  for (TContainedAction* a : snapshot) {
    auto* ca = dynamic_cast<TCustomAction*>(a);
    if (!ca || ca->ShortCut() != shortCut || IndexOf(a) < 0) continue;
    ca->Update();
    if (ca->Enabled() && ca->Visible()) {
      ca->Execute();
      return true;
    }
  }
  return false;
}

void TCustomActionList::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FImages) {
    FImages = nullptr;
    Change();
  }
}

void TCustomActionList::Change() {
  if (OnChange) OnChange(this);
}

} // namespace zel
