#include "framework/actnbars/ActnMan.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

#include "framework/actnbars/ActnStyles.h"
#include "framework/core/Exceptions.h"
#include "framework/core/StrUtils.h"

namespace zel {

namespace {

// Every live manager, so that a style leaving the registry can be taken
// away from the managers that use it.
std::vector<TCustomActionManager*>& Managers() {
  static std::vector<TCustomActionManager*> list;
  return list;
}

template <class F> void ForEachItem(TActionClients* list, F&& f) {
  if (!list) return;
  for (int i = 0; i < list->Count(); ++i) {
    TActionClientItem* item = list->Items(i);
    f(item);
    if (item->HasItems()) ForEachItem(item->Items(), f);
    if (item->HasContextItems()) ForEachItem(item->ContextItems(), f);
  }
}

template <class F> void ForEachList(TActionClients* list, F&& f) {
  if (!list) return;
  f(list);
  for (int i = 0; i < list->Count(); ++i) {
    TActionClientItem* item = list->Items(i);
    if (item->HasItems()) ForEachList(item->Items(), f);
    if (item->HasContextItems()) ForEachList(item->ContextItems(), f);
  }
}

} // namespace

// ---- TActionClient ---------------------------------------------------------------------------

TActionClient::TActionClient(TCollection* collection) : TCollectionItem(collection) {}

TActionClient::~TActionClient() {
  // Before the child items go (they tell the controls showing them), every
  // bar showing this item forgets it: the open pop-up of its children
  // empties, a closed one only lets go, since a control of it may still be
  // running (a click that closed the menu and then freed the item).
  std::vector<TCustomActionBar*> bars;
  bars.swap(FShowingBars);
  for (TCustomActionBar* bar : bars)
    bar->ActionClientGone(this, bar == FChildActionBar);
}

void TActionClient::AddShowingBar(TCustomActionBar* bar) {
  if (std::find(FShowingBars.begin(), FShowingBars.end(), bar) == FShowingBars.end())
    FShowingBars.push_back(bar);
}

void TActionClient::RemoveShowingBar(TCustomActionBar* bar) {
  std::erase(FShowingBars, bar);
}

void TActionClient::SetChildActionBar(TCustomActionBar* bar) {
  FChildActionBar = bar;
  if (bar)
    if (TCustomActionManager* m = ActionManager()) bar->FreeNotification(m);
}

TActionClients* TActionClient::Items() {
  if (!FItems) FItems = std::make_unique<TActionClients>(this);
  return FItems.get();
}

bool TActionClient::HasItems() const {
  return FItems && FItems->Count() > 0;
}

TActionClients* TActionClient::ContextItems() {
  if (!FContextItems) FContextItems = std::make_unique<TActionClients>(this);
  return FContextItems.get();
}

bool TActionClient::HasContextItems() const {
  return FContextItems && FContextItems->Count() > 0;
}

void TActionClient::SetVisible(bool value) {
  if (value == FVisible) return;
  FVisible = value;
  Changed(false);
}

TActionBars* TActionClient::ActionBars() const {
  TCollection* c = Collection();
  while (c) {
    if (auto* bars = dynamic_cast<TActionBars*>(c)) return bars;
    auto* clients = dynamic_cast<TActionClients*>(c);
    if (!clients || !clients->ParentItem()) return nullptr;
    c = clients->ParentItem()->Collection();
  }
  return nullptr;
}

TCustomActionManager* TActionClient::ActionManager() const {
  TActionBars* bars = ActionBars();
  return bars ? bars->ActionManager() : nullptr;
}

void TActionClient::Assign(TPersistent* source) {
  auto* s = dynamic_cast<TActionClient*>(source);
  if (!s) {
    TCollectionItem::Assign(source);
    return;
  }
  FVisible = s->FVisible;
  if (s->FItems)
    Items()->Assign(s->FItems.get());
  else if (FItems)
    FItems->Clear();
  if (s->FContextItems)
    ContextItems()->Assign(s->FContextItems.get());
  else if (FContextItems)
    FContextItems->Clear();
}

// ---- TActionClientItem --------------------------------------------------------------------

// The item's link to its action: it forgets the action when the action
// goes, and repaints the item's control when the action changes.
class TActionClientItem::TClientLink : public TBasicActionLink {
public:
  explicit TClientLink(TActionClientItem* item) : TBasicActionLink(item), FItem(item) {}

protected:
  void Change() override {
    TBasicActionLink::Change();
    for (TCustomActionControl* control : FItem->FControls)
      control->Invalidate();
  }

private:
  TActionClientItem* FItem;
};

TActionClientItem::TActionClientItem(TCollection* collection)
    : TActionClient(collection), FLink(std::make_unique<TClientLink>(this)) {
  // A new item counts as used now, so it is not hidden straight away.
  if (TActionBars* bars = ActionBars()) FLastSession = bars->SessionCount();
}

TActionClientItem::~TActionClientItem() {
  std::vector<TCustomActionControl*> controls;
  controls.swap(FControls);
  // Each control lets the item go, and its bar takes it out of the layout,
  // so no empty control stays where the item was.
  for (TCustomActionControl* control : controls) {
    control->SetActionClient(nullptr);
    if (TCustomActionBar* bar = control->ActionBar()) bar->ActionControlGone(control);
  }
}

void TActionClientItem::AddShowingControl(TCustomActionControl* control) {
  std::erase(FControls, control);
  FControls.push_back(control);
}

void TActionClientItem::RemoveShowingControl(TCustomActionControl* control) {
  std::erase(FControls, control);
}

TContainedAction* TActionClientItem::Action() const {
  return static_cast<TContainedAction*>(FLink->Action());
}

void TActionClientItem::SetAction(TContainedAction* action) {
  FLink->SetAction(action);
}

std::string TActionClientItem::Caption() const {
  if (!FCaption.empty()) return FCaption;
  if (auto* a = dynamic_cast<TCustomAction*>(Action())) return a->Caption();
  return {};
}

void TActionClientItem::SetCaption(const std::string& value) {
  if (value == FCaption) return;
  FCaption = value;
  Changed(false);
}

int TActionClientItem::ImageIndex() const {
  if (FImageIndex >= 0) return FImageIndex;
  if (auto* a = dynamic_cast<TCustomAction*>(Action())) return a->ImageIndex();
  return -1;
}

TShortCut TActionClientItem::ShortCut() const {
  if (FShortCut != scNone) return FShortCut;
  if (auto* a = dynamic_cast<TCustomAction*>(Action())) return a->ShortCut();
  return scNone;
}

bool TActionClientItem::Separator() const {
  return !Action() && FCaption == "-";
}

bool TActionClientItem::Unused() const {
  if (Separator() || FUsageCount < 0) return false;
  TCustomActionManager* m = ActionManager();
  if (!m) return false;
  const int allowed = m->SessionsAllowed(FUsageCount);
  if (allowed < 0) return false;
  // Counts read from a configuration may lie anywhere in their range.
  return int64_t(m->ActionBars()->SessionCount()) - FLastSession > allowed;
}

bool TActionClientItem::HideUnused() const {
  auto* list = dynamic_cast<TActionClients*>(Collection());
  return list && list->HideUnused();
}

bool TActionClientItem::Execute() {
  TContainedAction* action = Action();
  if (!action) return false;
  CountUse();
  return action->Execute();
}

void TActionClientItem::CountUse() {
  for (TActionClientItem* item = this; item;
       item = dynamic_cast<TActionClientItem*>(item->ParentItem())) {
    if (item->FUsageCount >= 0 && item->FUsageCount < std::numeric_limits<int>::max())
      ++item->FUsageCount;
    if (TActionBars* bars = item->ActionBars()) item->FLastSession = bars->SessionCount();
  }
}

TActionClient* TActionClientItem::ParentItem() const {
  auto* list = dynamic_cast<TActionClients*>(Collection());
  return list ? list->ParentItem() : nullptr;
}

std::string TActionClientItem::GetDisplayName() const {
  const std::string c = Caption();
  return c.empty() ? TActionClient::GetDisplayName() : c;
}

void TActionClientItem::Assign(TPersistent* source) {
  TActionClient::Assign(source);
  if (auto* s = dynamic_cast<TActionClientItem*>(source)) {
    SetAction(s->Action());
    FCaption = s->FCaption;
    FImageIndex = s->FImageIndex;
    FShortCut = s->FShortCut;
    FShowCaption = s->FShowCaption;
    FUsageCount = s->FUsageCount;
    FLastSession = s->FLastSession;
  }
}

// ---- TActionClients ---------------------------------------------------------------------------

TActionClients::TActionClients(TActionClient* parentItem)
    : TCollection(TActionClientItem::StaticClass()), FParentItem(parentItem) {}

TActionClientItem* TActionClients::AddSeparator() {
  TActionClientItem* item = Add();
  item->SetCaption("-");
  return item;
}

void TActionClients::Assign(TPersistent* source) {
  if (auto* s = dynamic_cast<TActionClients*>(source)) FHideUnused = s->FHideUnused;
  TCollection::Assign(source);
}

// ---- TActionBarItem ---------------------------------------------------------------------------

TActionBarItem::TActionBarItem(TCollection* collection) : TActionClient(collection) {}

TActionBarItem::~TActionBarItem() {
  if (FActionBar && FActionBar->ActionClient() == this) FActionBar->SetActionClient(nullptr);
}

void TActionBarItem::SetActionBar(TCustomActionBar* bar) {
  if (bar == FActionBar) return;
  TCustomActionManager* m = ActionManager();
  if (FActionBar) {
    TCustomActionBar* old = FActionBar;
    FActionBar = nullptr;
    if (old->ActionClient() == this) old->SetActionClient(nullptr);
  }
  FActionBar = bar;
  if (bar) {
    // A bar shows one item: another item that had it lets it go.
    if (m)
      for (int i = 0; i < m->ActionBars()->Count(); ++i) {
        TActionBarItem* other = m->ActionBars()->ActionBars(i);
        if (other != this && other->FActionBar == bar) other->FActionBar = nullptr;
      }
    if (m) bar->FreeNotification(m);
    bar->SetActionClient(this);
    // The bar joins with the sizing it has; from now on the item sets it.
    FAutoSize = bar->BarAutoSize();
  }
  Changed(false);
}

void TActionBarItem::SetAutoSize(bool value) {
  FAutoSize = value;
  if (FActionBar) FActionBar->SetBarAutoSize(value);
}

std::string TActionBarItem::GetDisplayName() const {
  return FActionBar && !FActionBar->Name().empty() ? FActionBar->Name()
                                                   : TActionClient::GetDisplayName();
}

void TActionBarItem::Assign(TPersistent* source) {
  TActionClient::Assign(source);
  if (auto* s = dynamic_cast<TActionBarItem*>(source)) {
    SetActionBar(s->FActionBar);
    SetAutoSize(s->FAutoSize);
  }
}

// ---- TActionBars
// ---------------------------------------------------------------------------------

TActionBars::TActionBars(TCustomActionManager* manager)
    : TCollection(TActionBarItem::StaticClass()), FManager(manager) {}

bool TActionBars::HideUnused() const {
  for (int i = 0; i < Count(); ++i)
    if (ActionBars(i)->HasItems() && ActionBars(i)->Items()->HideUnused()) return true;
  return false;
}

void TActionBars::SetHideUnused(bool value) {
  for (int i = 0; i < Count(); ++i) {
    bool changed = false;
    ForEachList(ActionBars(i)->Items(), [&](TActionClients* l) {
      changed = changed || l->HideUnused() != value;
      l->SetHideUnused(value);
    });
    if (TCustomActionBar* bar = ActionBars(i)->ActionBar(); bar && changed) bar->ItemsHidingChanged();
  }
}

TPersistent* TActionBars::GetOwner() const {
  return FManager;
}

// ---- TCustomActionManager ---------------------------------------------------------------------

void DefaultPrioritySchedule(TStrings& schedule) {
  schedule.Clear();
  for (const char* entry : {"0=3", "1=3", "2=6", "3=9", "4=12", "6=17", "9=23", "13=31"})
    schedule.Add(entry);
}

TCustomActionManager::TCustomActionManager(TComponent* owner)
    : TCustomActionList(owner), FActionBars(std::make_unique<TActionBars>(this)),
      FPrioritySchedule(std::make_unique<TStringList>()),
      FImageChangeLink(std::make_unique<TChangeLink>()) {
  DefaultPrioritySchedule(*FPrioritySchedule);
  FImageChangeLink->OnChange = [this](TObject*) { ImagesChanged(); };
  Managers().push_back(this);
}

TCustomActionManager::~TCustomActionManager() {
  auto& all = Managers();
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
  // The bars outlive their items here: let them go before the items do.
  for (int i = 0; i < FActionBars->Count(); ++i) {
    TActionBarItem* item = FActionBars->ActionBars(i);
    if (TCustomActionBar* bar = item->FActionBar) {
      item->FActionBar = nullptr;
      bar->RemoveFreeNotification(this);
      if (bar->ActionClient() == item) bar->SetActionClient(nullptr);
    }
  }
  FActionBars.reset();
}

void TCustomActionManager::SetActionBars(TActionBars* value) {
  if (value && value != FActionBars.get()) FActionBars->Assign(value);
}

void TCustomActionManager::SetPrioritySchedule(TStrings* value) {
  if (value) FPrioritySchedule->Assign(value);
}

int TCustomActionManager::SessionsAllowed(int usageCount) const {
  // The entry of the largest usage count not above the item's applies, so
  // the schedule need not list every count.
  int bestCount = -1;
  int allowed = -1;
  for (int i = 0; i < FPrioritySchedule->Count(); ++i) {
    int count = 0;
    int sessions = 0;
    if (!TryStrToInt(Trim(FPrioritySchedule->Names(i)), count)) continue;
    if (!TryStrToInt(Trim(FPrioritySchedule->ValueFromIndex(i)), sessions)) continue;
    if (count <= usageCount && count > bestCount) {
      bestCount = count;
      allowed = sessions;
    }
  }
  return allowed;
}

void TCustomActionManager::SetImages(TCustomImageList* value) {
  if (value == Images()) return;
  if (TCustomImageList* old = FImageChangeLink->Sender())
    old->UnRegisterChanges(FImageChangeLink.get());
  TCustomActionList::SetImages(value);
  if (Images()) Images()->RegisterChanges(FImageChangeLink.get());
}

void TCustomActionManager::ImagesChanged() {
  for (int i = 0; i < FActionBars->Count(); ++i)
    if (TCustomActionBar* bar = FActionBars->ActionBars(i)->ActionBar()) {
      bar->LayoutControls();
      bar->Invalidate();
    }
}

void TCustomActionManager::SetStyle(TActionBarStyle* value) {
  if (value == FStyle) return;
  FStyle = value;
  if (FStyle) FStyleName = FStyle->StyleName();
  for (int i = 0; i < FActionBars->Count(); ++i)
    if (TCustomActionBar* bar = FActionBars->ActionBars(i)->ActionBar()) bar->StyleChanged();
}

std::string TCustomActionManager::StyleName() const {
  return FStyle ? FStyle->StyleName() : FStyleName;
}

void TCustomActionManager::SetStyleName(const std::string& value) {
  FStyleName = value;
  if (TActionBarStyle* style = FindActionBarStyle(value)) SetStyle(style);
}

void TCustomActionManager::StyleUnregistered(TActionBarStyle* style) {
  for (TCustomActionManager* m : Managers())
    if (m->FStyle == style) {
      const std::string name = m->FStyleName;
      m->SetStyle(nullptr);
      m->FStyleName = name;
    }
}

void TCustomActionManager::ResetUsageData() {
  const int session = FActionBars->SessionCount();
  for (int i = 0; i < FActionBars->Count(); ++i)
    ForEachItem(FActionBars->ActionBars(i)->Items(), [&](TActionClientItem* item) {
      item->SetUsageCount(0);
      item->SetLastSession(session);
    });
}

void TCustomActionManager::Loaded() {
  TCustomActionList::Loaded();
  SaveDefaults();
}

void TCustomActionManager::SaveDefaults() {
  FDefaults.clear();
  for (int i = 0; i < FActionBars->Count(); ++i)
    SaveBarDefaults(i);
}

void TCustomActionManager::SaveBarDefaults(int index) {
  if (index < 0 || index >= FActionBars->Count()) return;
  TActionBarItem* item = FActionBars->ActionBars(index);
  auto items = std::make_unique<TActionClients>(nullptr);
  items->Assign(item->Items());
  if (TBarDefaults* known = FindBarDefaults(index)) {
    known->Index = index;
    known->Bar = item->ActionBar();
    known->Items = std::move(items);
    return;
  }
  FDefaults.push_back(TBarDefaults{index, item->ActionBar(), std::move(items)});
}

const TCustomActionManager::TBarDefaults* TCustomActionManager::FindBarDefaults(int index) const {
  if (index < 0 || index >= FActionBars->Count()) return nullptr;
  const TCustomActionBar* bar = FActionBars->ActionBars(index)->ActionBar();
  // A bar keeps its defaults wherever a configuration puts its item; a bar
  // item without a bar has those of its place.
  if (bar)
    for (const TBarDefaults& d : FDefaults)
      if (d.Bar == bar) return &d;
  for (const TBarDefaults& d : FDefaults)
    if (d.Index == index && (!d.Bar || !bar)) return &d;
  return nullptr;
}

TCustomActionManager::TBarDefaults* TCustomActionManager::FindBarDefaults(int index) {
  return const_cast<TBarDefaults*>(std::as_const(*this).FindBarDefaults(index));
}

bool TCustomActionManager::HasBarDefaults(int index) const {
  return FindBarDefaults(index) != nullptr;
}

bool TCustomActionManager::ResetActionBar(int index) {
  const TBarDefaults* defaults = FindBarDefaults(index);
  if (!defaults) return false;
  TActionBarItem* item = FActionBars->ActionBars(index);
  // Whether unused items are hidden is the person's option for all bars,
  // not part of a bar's items, so it outlives the reset.
  const bool hideUnused = item->Items()->HideUnused();
  item->Items()->Assign(defaults->Items.get());
  ForEachList(item->Items(), [&](TActionClients* l) { l->SetHideUnused(hideUnused); });
  const int session = FActionBars->SessionCount();
  ForEachItem(item->Items(), [&](TActionClientItem* it) {
    it->SetUsageCount(0);
    it->SetLastSession(session);
  });
  if (TCustomActionBar* bar = item->ActionBar()) bar->RecreateControls();
  return true;
}

TActionBarItem* TCustomActionManager::FindActionBar(const TCustomActionBar* bar) const {
  if (!bar) return nullptr;
  for (int i = 0; i < FActionBars->Count(); ++i)
    if (FActionBars->ActionBars(i)->ActionBar() == bar) return FActionBars->ActionBars(i);
  return nullptr;
}

TActionClientItem* TCustomActionManager::FindItemByAction(const TBasicAction* action) const {
  TActionClientItem* found = nullptr;
  for (int i = 0; i < FActionBars->Count() && !found; ++i)
    ForEachItem(FActionBars->ActionBars(i)->Items(), [&](TActionClientItem* item) {
      if (!found && item->Action() == action) found = item;
    });
  return found;
}

void TCustomActionManager::Notification(TComponent* component, TOperation operation) {
  TCustomActionList::Notification(component, operation);
  // A plain delete tells only a TComponent, so bars are forgotten by pointer.
  if (operation == TOperation::opRemove) ForgetBar(component);
}

void TCustomActionManager::ForgetBar(const TComponent* bar) {
  if (!FActionBars) return;
  auto same = [bar](const TCustomActionBar* b) {
    return b && static_cast<const TComponent*>(b) == bar;
  };
  // Defaults of a bar that is gone must not pass to a bar made later at
  // the same address.
  std::erase_if(FDefaults, [&](const TBarDefaults& d) { return same(d.Bar); });
  for (int i = 0; i < FActionBars->Count(); ++i) {
    TActionBarItem* item = FActionBars->ActionBars(i);
    if (same(item->FActionBar)) item->FActionBar = nullptr;
    if (same(item->ChildActionBar())) item->SetChildActionBar(nullptr);
    auto forget = [&](TActionClientItem* it) {
      if (same(it->ChildActionBar())) it->SetChildActionBar(nullptr);
    };
    ForEachItem(item->Items(), forget);
    ForEachItem(item->ContextItems(), forget);
  }
}

void TCustomActionManager::BarsChanged() {
  for (int i = 0; i < FActionBars->Count(); ++i)
    if (TCustomActionBar* bar = FActionBars->ActionBars(i)->ActionBar()) bar->ActionClientChanged();
}

} // namespace zel
