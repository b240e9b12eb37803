#include "framework/core/Component.h"

#include <algorithm>

#include "framework/core/Consts.h"
#include "framework/core/Exceptions.h"
#include "framework/core/StrUtils.h"

namespace zel {

bool IsValidIdent(const std::string& name) {
  if (name.empty()) return false;
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!alpha(name[0])) return false;
  return std::all_of(name.begin(), name.end(),
                     [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  NotifyFreeNotifies();
  DestroyComponents();
  // Someone may have asked for notification while the owned components were
  // being deleted; tell them too, so no list keeps a pointer to this one.
  NotifyFreeNotifies();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::NotifyFreeNotifies() {
  while (!FFreeNotifies.empty()) {
    TComponent* other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    other->RemoveFreeNotify(this);
    other->Notification(this, TOperation::opRemove);
  }
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) throw EListError::CreateFmt(SListIndexError, index);
  return FComponents[size_t(index)];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto& list = FOwner->FComponents;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int(it - list.begin());
}

void TComponent::SetComponentIndex(int index) {
  if (!FOwner) return;
  int current = ComponentIndex();
  if (current < 0) return;
  auto& list = FOwner->FComponents;
  index = std::clamp(index, 0, int(list.size()) - 1);
  if (index == current) return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + index, this);
}

void TComponent::SetName(const std::string& name) {
  if (name == FName) return;
  if (!name.empty() && !IsValidIdent(name)) throw EComponentError::CreateFmt(SInvalidName, name);
  if (FOwner)
    FOwner->ValidateRename(this, FName, name);
  else
    ValidateRename(nullptr, FName, name);
  FName = name;
}

void TComponent::ValidateRename(TComponent* component, const std::string& curName,
                                const std::string& newName) {
  // Also checked for a component about to join this owner.
  if (component && !AnsiSameText(curName, newName)) {
    TComponent* existing = FindComponent(newName);
    if (existing && existing != component)
      throw EComponentError::CreateFmt(SDuplicateName, newName);
  }
}

void TComponent::SetSubComponent(bool value) {
  if (value)
    FComponentStyle.Include(csSubComponent);
  else
    FComponentStyle.Exclude(csSubComponent);
}

void TComponent::SetDesigning(bool value, bool setChildren) {
  if (value)
    FComponentState.Include(csDesigning);
  else
    FComponentState.Exclude(csDesigning);
  if (setChildren)
    for (TComponent* c : FComponents)
      c->SetDesigning(value, true);
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (AnsiSameText(c->FName, name)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component || component->FOwner == this) return;
  for (const TComponent* o = this; o; o = o->FOwner)
    if (o == component) throw EComponentError(SOwnerCycle);
  ValidateRename(component, std::string(), component->FName);
  if (component->FOwner) component->FOwner->RemoveComponent(component);
  Insert(component);
  if (FComponentState.Contains(csDesigning)) component->SetDesigning(true);
  Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (!component || component->FOwner != this) return;
  Remove(component);
  Notification(component, TOperation::opRemove);
}

void TComponent::Insert(TComponent* component) {
  FComponents.push_back(component);
  component->FOwner = this;
}

void TComponent::Remove(TComponent* component) {
  auto it = std::find(FComponents.begin(), FComponents.end(), component);
  if (it != FComponents.end()) FComponents.erase(it);
  component->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
  // Last to first; each is taken out of the list before it is freed, so it
  // does not notify the (possibly half-destroyed) owner.
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    Remove(c);
    Free(c);
  }
}

void TComponent::BeforeDestruction() {
  Destroying();
  NotifyFreeNotifies();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents)
    c->Destroying();
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  AddFreeNotify(component);
  component->AddFreeNotify(this);
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component || component == this) return;
  RemoveFreeNotify(component);
  component->RemoveFreeNotify(this);
}

void TComponent::AddFreeNotify(TComponent* component) {
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
    FFreeNotifies.push_back(component);
}

void TComponent::RemoveFreeNotify(TComponent* component) {
  auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component);
  if (it != FFreeNotifies.end()) FFreeNotifies.erase(it);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove && component) RemoveFreeNotification(component);
  // Last to first, re-reading the count each time: a handler may delete
  // components of this list.
  for (int i = ComponentCount() - 1; i >= 0; --i) {
    if (i >= ComponentCount()) {
      i = ComponentCount();
      continue;
    }
    FComponents[size_t(i)]->Notification(component, operation);
  }
}

void TComponent::Loaded() {
  FComponentState.Exclude(csLoading);
}

void TComponent::Updating() {
  FComponentState.Include(csUpdating);
}

void TComponent::Updated() {
  FComponentState.Exclude(csUpdating);
}

std::string TComponent::GetNamePath() const {
  return FName;
}

void TComponent::BeginLoading() {
  FComponentState.Include(csLoading);
  FComponentState.Include(csReading);
  for (TComponent* c : FComponents)
    c->BeginLoading();
}

void TComponent::EndLoading() {
  FComponentState.Exclude(csReading);
  Loaded();
  for (int i = 0; i < ComponentCount(); ++i)
    FComponents[size_t(i)]->EndLoading();
}

void TComponent::CancelLoading() {
  FComponentState.Exclude(csLoading);
  FComponentState.Exclude(csReading);
  for (TComponent* c : FComponents)
    c->CancelLoading();
}

void TComponent::DeclareProperties(TPropertyTable<TComponent>& t) {
  t.Add("Name", "TComponentName", &TComponent::Name, &TComponent::SetName);
  t.Add("Tag", "Integer", &TComponent::Tag, &TComponent::SetTag).Default = 0;
}

} // namespace zel
