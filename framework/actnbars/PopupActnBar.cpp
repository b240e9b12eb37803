// Pop-up menus and the pop-up action bar that shows them in a style.

#include "framework/actnbars/PopupActnBar.h"

#include <algorithm>

#include "framework/actions/ActnList.h"
#include "framework/actnbars/StdStyleActnCtrls.h"
#include "framework/core/Strings.h"

namespace zel {

using namespace sys;

// ---- TMenuItem -----------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
  if (FParent) FParent->Remove(this);
  for (TMenuItem* child : FItems)
    child->FParent = nullptr;
}

void TMenuItem::Add(TMenuItem* item) {
  if (!item || item == this || item->FParent == this) return;
  if (item->FParent) item->FParent->Remove(item);
  item->FParent = this;
  FItems.push_back(item);
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  if (it == FItems.end()) return;
  FItems.erase(it);
  item->FParent = nullptr;
}

void TMenuItem::SetChecked(bool value) {
  FChecked = value;
  if (!value || !FRadioItem || !FParent) return;
  for (TMenuItem* sibling : FParent->FItems)
    if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex)
      sibling->FChecked = false;
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

// ---- TPopupMenu ----------------------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* owner)
    : TComponent(owner), FItems(std::make_unique<TMenuItem>(nullptr)) {}

TPopupMenu::~TPopupMenu() = default;

// ---- TPopupActionBar -----------------------------------------------------------------------

// The pop-up of a TPopupActionBar: the menu's OnGetControlClass has the
// last word on each control class.
class TPopupActionBar::TMenuPopup : public TCustomActionPopupMenu {
public:
  TMenuPopup(TComponent* owner, TPopupActionBar* menu)
      : TCustomActionPopupMenu(owner), FMenu(menu) {}
  TClassRef<TCustomActionControl> GetControlClass(TActionClientItem* item) override {
    TCustomActionControlClass cls = TCustomActionPopupMenu::GetControlClass(item);
    if (!cls) cls = TStandardMenuItem::StaticClass();
    if (FMenu->OnGetControlClass) FMenu->OnGetControlClass(this, item, cls);
    // Only an item control can show an item.
    if (!cls || !cls.InheritsFrom(TCustomMenuItem::StaticClass()))
      cls = TStandardMenuItem::StaticClass();
    return cls;
  }

private:
  TPopupActionBar* FMenu;
};

TPopupActionBar::TPopupActionBar(TComponent* owner) : TPopupMenu(owner) {}

TPopupActionBar::~TPopupActionBar() {
  // The pop-up shows items of the manager: it goes first.
  delete FPopupBar;
  FPopupBar = nullptr;
}

void TPopupActionBar::Mirror(TMenuItem* source, TActionClients* target) {
  for (int i = 0; i < source->Count(); ++i) {
    TMenuItem* mi = source->Items(i);
    if (!mi->Visible()) continue;
    if (mi->Caption() == "-") {
      target->AddSeparator();
      continue;
    }
    auto* action = new TAction(FManager.get());
    action->SetActionList(FManager.get());
    action->SetCaption(mi->Caption());
    action->SetChecked(mi->Checked());
    action->SetEnabled(mi->Enabled());
    action->SetShortCut(mi->ShortCut());
    action->OnExecute = [mi](TObject*) { mi->Click(); };
    TActionClientItem* item = target->Add();
    item->SetAction(action);
    if (mi->Count() > 0) Mirror(mi, item->Items());
  }
}

void TPopupActionBar::Popup(int x, int y) {
  // The items are mirrored afresh, so changes to the menu always show.
  delete FPopupBar;
  FPopupBar = nullptr;
  FManager = std::make_unique<TActionManager>(nullptr);
  if (TStringList* styles = ActionBarStyles(); styles && styles->Count() > 0)
    FManager->SetStyle(static_cast<TActionBarStyle*>(styles->Objects(0)));
  TActionBarItem* bar = FManager->ActionBars()->Add();
  Mirror(Items(), bar->Items());
  FPopupBar = new TMenuPopup(nullptr, this);
  FPopupBar->SetActionClient(bar);
  FPopupBar->PopupAt(POINT{x, y});
  FPopupBar->TakeKeys();
}

} // namespace zel
