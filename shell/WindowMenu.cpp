// The main window's upkeep of its "Окно" menu: one window action per MDI
// child and one for the colour-map editor, appended below the menu's fixed
// commands, swept when their controls go and removed before the bars'
// configuration is saved; and the repair of the priority schedule after the
// configuration has been read.

#include "colormap/UnitFrameColorMap.h"
#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/core/StrUtils.h"
#include "shell/FormAction.h"
#include "shell/UnitMain.h"

namespace zel {

namespace {

// The window action an item shows, or nil.
TFormAction* FormActionOf(const TActionClientItem* item) {
  return dynamic_cast<TFormAction*>(item->Action());
}

// Deletes the item and frees the action it showed (the item first, so no
// control is left painting a freed action).
void DeleteWithAction(TActionClients* items, int index, TFormAction* action) {
  items->Delete(index);
  Free(action);
}

} // namespace

TActionClientItem* TMainForm::FindMenuClient(TBasicAction* action) {
  auto* contained = dynamic_cast<TContainedAction*>(action);
  if (!contained) return nullptr;
  auto* manager = dynamic_cast<TCustomActionManager*>(contained->ActionList());
  if (!manager) return nullptr;
  TActionBars* bars = manager->ActionBars();
  for (int i = 0; i < bars->Count(); ++i) {
    TActionBarItem* bar = bars->ActionBars(i);
    if (!dynamic_cast<TCustomActionMainMenuBar*>(bar->ActionBar())) continue;
    // Only the first main menu bar, and only its top level, is searched.
    if (!bar->HasItems()) return nullptr;
    TActionClients* items = bar->Items();
    for (int j = 0; j < items->Count(); ++j)
      if (items->Items(j)->Action() == action) return items->Items(j);
    return nullptr;
  }
  return nullptr;
}

void TMainForm::RemoveFormActions(TActionClientItem* menu) {
  if (!menu || !menu->HasItems()) return;
  TActionClients* items = menu->Items();
  for (int i = items->Count() - 1; i >= 0; --i)
    if (TFormAction* action = FormActionOf(items->Items(i))) DeleteWithAction(items, i, action);
}

TFormAction* TMainForm::AddFormAction(TControl* control, TActionClientItem* menu) {
  if (!control || !menu) return nullptr;
  TActionClients* items = menu->Items();
  for (int i = 0; i < items->Count(); ++i) {
    TFormAction* action = FormActionOf(items->Items(i));
    if (action && action->Control() == control) return action;
  }
  if (!FFormActions) FFormActions = new TActionList(this);
  TActionClientItem* item = items->Add();
  auto* action = new TFormAction(this, control);
  item->SetAction(action);
  item->SetLastSession(ActionManager1->ActionBars()->SessionCount());
  action->SetActionList(FFormActions);
  return action;
}

void TMainForm::ActionManager1Update(TBasicAction* action, bool&) {
  // Changing the menu may update actions again; those updates leave it be.
  if (FUpdatingWindowMenu) return;
  FUpdatingWindowMenu = true;
  struct TGuardReset {
    bool& Flag;
    ~TGuardReset() { Flag = false; }
  } reset{FUpdatingWindowMenu};

  if (action != actWindows) return;
  TActionClientItem* menu = FindMenuClient(actWindows);
  if (!menu) return;
  // Entries whose control has gone, and items that show nothing (left by a
  // configuration that was read), are taken out; the menu's own commands
  // and separators stay.
  TActionClients* items = menu->Items();
  for (int i = 0; i < items->Count();) {
    TActionClientItem* item = items->Items(i);
    TFormAction* formAction = FormActionOf(item);
    if (formAction && !formAction->Control())
      DeleteWithAction(items, i, formAction);
    else if (item->Action() || item->Separator())
      ++i;
    else
      items->Delete(i);
  }
  FreeUnlistedFormActions();
  // The editor first, should a reset of the bar have taken its entry away
  // (otherwise a closed editor could not be brought back).  The children
  // come in z-order, the active one first: from the back, so that new
  // entries follow the order the children were made in.
  AddFormAction(FColorMapFrame, menu);
  for (int i = MDIChildCount() - 1; i >= 0; --i)
    AddFormAction(MDIChildren(i), menu);
}

void TMainForm::FreeUnlistedFormActions() {
  // A bar reset to its defaults, or a configuration read, takes the items
  // away but not their actions.  Shown by nothing, such an action would
  // only fight its successor over the group's check at every update.
  if (!FFormActions) return;
  for (int i = FFormActions->ActionCount() - 1; i >= 0; --i) {
    TContainedAction* action = FFormActions->Actions(i);
    if (action->ClientCount() == 0) Free(action);
  }
}

int TMainForm::CompareScheduleNames(TStringList& list, int index1, int index2) {
  const int order = AnsiCompareText(list.Names(index1), list.Names(index2));
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

void TMainForm::RepairPrioritySchedule() {
  TStringList* schedule = ActionManager1->PrioritySchedule();
  schedule->CustomSort(&TMainForm::CompareScheduleNames);
  // Each entry carries its number of sessions as its datum; a value that is
  // not a number raises the conversion error.
  for (int i = 0; i < schedule->Count(); ++i)
    schedule->SetData(i, StrToInt(schedule->Values(schedule->Names(i))));
}

} // namespace zel
