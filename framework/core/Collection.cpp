#include "framework/core/Collection.h"

#include <algorithm>

#include "framework/core/Consts.h"
#include "framework/core/Exceptions.h"

namespace zel {

// ---- TCollectionItem -------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* collection) {
  // Joins silently: the collection hears of the item once it is complete
  // (see TCollection::Add), never while it is half constructed.
  if (collection) collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem() {
  if (TCollection* c = FCollection) {
    // The item's own parts are gone already: remove it without handing it to
    // the collection's notification, then report a change of the list.
    c->RemoveItem(this, false);
    c->Changed();
  }
}

void TCollectionItem::SetCollection(TCollection* collection) {
  if (collection == FCollection) return;
  if (collection && !InheritsFrom(*collection->ItemClass().Info()))
    throw EInvalidOperation::CreateFmt(SCollectionItemClass, ClassName(),
                                       collection->ItemClass().ClassName());
  if (TCollection* old = FCollection) {
    old->RemoveItem(this, true);
    old->Changed();
  }
  if (collection) {
    collection->InsertItem(this);
    collection->Notify(this, TCollectionNotification::cnAdded);
    collection->Changed();
  }
}

int TCollectionItem::Index() const {
  if (!FCollection) return -1;
  auto& items = FCollection->FItems;
  auto it = std::find(items.begin(), items.end(), this);
  return it == items.end() ? -1 : int(it - items.begin());
}

void TCollectionItem::SetIndex(int index) {
  int current = Index();
  if (current < 0 || current == index) return;
  auto& items = FCollection->FItems;
  if (index < 0 || index >= int(items.size())) throw EListError::CreateFmt(SListIndexError, index);
  items.erase(items.begin() + current);
  items.insert(items.begin() + index, this);
  Changed(true);
}

std::string TCollectionItem::GetDisplayName() const {
  return ClassName();
}

void TCollectionItem::SetDisplayName(const std::string&) {
  Changed(false);
}

std::string TCollectionItem::GetNamePath() const {
  if (!FCollection) return ClassName();
  return Format("%s[%d]", FCollection->GetNamePath(), Index());
}

TPersistent* TCollectionItem::GetOwner() const {
  return FCollection;
}

void TCollectionItem::Changed(bool allItems) {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(allItems ? nullptr : this);
}

// ---- TCollection -----------------------------------------------------------------

TCollection::TCollection(const TClassInfo& itemClass) : FItemClass(itemClass) {}

TCollection::~TCollection() {
  FUpdateCount = 1;
  Clear();
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError::CreateFmt(SListIndexError, index);
  return FItems[size_t(index)];
}

void TCollection::SetItems(int index, TCollectionItem* value) {
  Items(index)->Assign(value);
}

TCollectionItem* TCollection::Add() {
  TCollectionItem* item = FItemClass.Create(this);
  if (item->FCollection != this) {
    // A factory that did not pass the collection on: join now.
    if (item->FCollection) item->FCollection->RemoveItem(item, false);
    InsertItem(item);
  }
  Notify(item, TCollectionNotification::cnAdded);
  Changed();
  return item;
}

TCollectionItem* TCollection::Insert(int index) {
  if (index < 0 || index > Count()) throw EListError::CreateFmt(SListIndexError, index);
  TCollectionItem* item = Add();
  item->SetIndex(index);
  return item;
}

void TCollection::Delete(int index) {
  TCollectionItem* item = Items(index);
  Notify(item, TCollectionNotification::cnDeleting);
  delete item;
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  while (!FItems.empty()) {
    TCollectionItem* item = FItems.back();
    Notify(item, TCollectionNotification::cnDeleting);
    // The handler may have deleted it already.
    if (!FItems.empty() && FItems.back() == item) delete item;
  }
  EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const {
  for (TCollectionItem* item : FItems)
    if (item->FID == id) return item;
  return nullptr;
}

void TCollection::BeginUpdate() {
  ++FUpdateCount;
}

void TCollection::EndUpdate() {
  if (FUpdateCount <= 0) {
    FUpdateCount = 0;
    return;
  }
  --FUpdateCount;
  Changed();
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TCollection*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  BeginUpdate();
  try {
    Clear();
    for (int i = 0; i < other->Count(); ++i)
      Add()->Assign(other->Items(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TCollection::PropName() const {
  TPersistent* owner = GetOwner();
  if (!owner) return {};
  for (const TPropInfo* p : owner->ClassType().Properties()) {
    if (p->Kind != TTypeKind::tkClass || !p->Get) continue;
    TPropValue v = p->Get(*owner);
    if (auto* obj = std::get_if<TObject*>(&v); obj && *obj == this) return p->Name;
  }
  return {};
}

std::string TCollection::GetNamePath() const {
  std::string result = ClassName();
  TPersistent* owner = GetOwner();
  if (!owner) return result;
  std::string ownerPath = owner->GetNamePath();
  std::string prop = PropName();
  if (ownerPath.empty() || prop.empty()) return result;
  return ownerPath + "." + prop;
}

void TCollection::InsertItem(TCollectionItem* item) {
  FItems.push_back(item);
  item->FCollection = this;
  item->FID = FNextID++;
}

void TCollection::RemoveItem(TCollectionItem* item, bool notify) {
  if (notify) Notify(item, TCollectionNotification::cnExtracting);
  auto it = std::find(FItems.begin(), FItems.end(), item);
  if (it != FItems.end()) FItems.erase(it);
  item->FCollection = nullptr;
}

} // namespace zel
