// The "Zel Style" object: its class table, the rule that picks a control
// class for every item of a bar, and the unit's start-up and shut-down.

#include "actionbars/ZelStyleActnCtrls.h"

#include "framework/actions/ListActns.h"
#include "framework/actnbars/ActnColorMaps.h"
#include "framework/actnbars/ActnComboControl.h"
#include "framework/actnbars/ActnMan.h"

namespace zel {

namespace {

int gInitCount = 0;
TZelStyleActionBars* gStyle = nullptr;

// The control classes by kind.
TCustomActionControlClass KindClass(int kind) {
  switch (kind) {
  case zckDropDown:
    return TZelStyleDropDownBtn::StaticClass();
  case zckMenuButton:
    return TZelStyleMenuButton::StaticClass();
  case zckMenuItem:
    return TZelStyleMenuItem::StaticClass();
  case zckAddRemoveItem:
    return TZelStyleAddRemoveItem::StaticClass();
  case zckComboControl:
    return TCustomComboControl::StaticClass();
  default:
    // Kind 0, and any kind a descendant's rule invents beyond the table:
    // a plain button rather than a read past the table's end.
    return TZelStyleButton::StaticClass();
  }
}

bool HasChildItems(TActionClientItem* item) {
  return item && item->HasItems() && item->Items()->Count() > 0;
}

} // namespace

// Freed with the unit; defined in MenuControls.cpp.
void FreeInternalCustomizeAction();

// The first test that matches decides; a class test is met by descendants.
//   1 tool bar:       child items -> drop-down (before the list-action test,
//                     so an item with children whose action is a list action
//                     is still a drop-down); list action -> combo; else button
//   2 main menu bar:  menu button
//   3 customize pop-up (before 4: it is a pop-up too): the entries under
//                     its root's add-or-remove item -> add-or-remove item;
//                     else menu item
//   4 pop-up menu:    menu item
//   5 anything else:  button
int TZelStyleActionBars::ControlKindFor(TCustomActionBar* bar, TActionClientItem* item) {
  if (Is<TCustomActionToolBar>(bar)) {
    if (HasChildItems(item)) return zckDropDown;
    if (item && (Is<TStaticListAction>(item->Action()) || Is<TVirtualListAction>(item->Action())))
      return zckComboControl;
    return zckButton;
  }
  if (Is<TCustomActionMainMenuBar>(bar)) return zckMenuButton;
  if (auto* customize = dynamic_cast<TCustomizeActionToolBar*>(bar)) {
    auto* root = dynamic_cast<TCustomizeActionToolBar*>(customize->RootMenu());
    TActionClientItem* addRemove = root ? root->AddRemoveItem() : nullptr;
    if (addRemove && item && item->ParentItem() == addRemove) return zckAddRemoveItem;
    return zckMenuItem;
  }
  if (Is<TCustomActionPopupMenu>(bar)) return zckMenuItem;
  return zckButton;
}

TCustomActionControlClass TZelStyleActionBars::ControlClassFor(TCustomActionBar* bar,
                                                               TActionClientItem* item) {
  return KindClass(ControlKindFor(bar, item) & 0x7F);
}

TCustomColorMapClass TZelStyleActionBars::ColorMapClassFor(TCustomActionBar*) {
  return TXPColorMap::StaticClass();
}

TCustomActionBarClass TZelStyleActionBars::GetPopupClass(TCustomActionBar* bar) {
  if (Is<TCustomActionToolBar>(bar)) return TZelStyleCustomizePopup::StaticClass();
  return TZelStylePopupMenu::StaticClass();
}

TCustomActionControlClass TZelStyleActionBars::GetAddRemoveItemClass(TCustomActionBar*) {
  return TZelStyleAddRemoveItem::StaticClass();
}

TCustomActionControlClass TZelStyleActionBars::GetScrollBtnClass() {
  return TZelToolScrollBtn::StaticClass();
}

// ---- Unit start-up and shut-down ----------------------------------------------------------

void InitializeZelStyleActnCtrls() {
  if (gInitCount++ != 0) return;
  FreeInternalCustomizeAction();
  gStyle = new TZelStyleActionBars();
  RegisterActnBarStyle(gStyle);
}

void FinalizeZelStyleActnCtrls() {
  if (gInitCount == 0 || --gInitCount != 0) return;
  // Managers still using the style lose it when it leaves the list.
  UnRegisterActnBarStyle(gStyle);
  delete gStyle;
  gStyle = nullptr;
  FreeInternalCustomizeAction();
}

TZelStyleActionBars* ZelStyle() {
  return gStyle;
}

} // namespace zel
