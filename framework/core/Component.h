#pragma once
// TComponent: the owner tree of the framework.  A component created with an
// owner (`new TMyThing(owner)`) is owned by it: the owner deletes its
// components, last to first, when it is deleted.  A component with no owner
// belongs to whoever created it (a std::unique_ptr, a member).  Deleting a
// component before its owner is always allowed: it leaves its owner's list,
// and every component that asked for free notification is told, so that it
// can clear the references it holds.
//
// Notifications see the component as it is at that moment.  When the owner
// deletes a component, or it is freed with Free/FreeAndNil, everyone is told
// before its destructors run, so class tests on it still work.  A plain
// delete tells them from TComponent's destructor, when the component is only
// a TComponent any more: compare pointers there, do not test the class.  For
// the same reason the opInsert notification sent while a component is being
// constructed sees only a TComponent.  A class whose instances others keep
// under its own type (a control, say) may call BeforeDestruction first in its
// destructor, so that a plain delete too tells them while that part is whole;
// it runs only once.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/Persistent.h"
#include "framework/core/Set.h"

namespace zel {

enum class TOperation { opInsert, opRemove };
inline constexpr TOperation opInsert = TOperation::opInsert;
inline constexpr TOperation opRemove = TOperation::opRemove;

enum TComponentStateFlag {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance,
};
using TComponentState = TSet<TComponentStateFlag>;

enum TComponentStyleFlag { csInheritable, csCheckPropAvail, csSubComponent, csTransient };
using TComponentStyle = TSet<TComponentStyleFlag>;

class TComponent : public TPersistent {
  ZEL_CREATABLE_CLASS(TComponent, TPersistent)
public:
  explicit TComponent(TComponent* owner);
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  // Tells every component that asked for free notification, leaves the
  // owner's list, then deletes the owned components last to first.
  ~TComponent() override;

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  // Raises EListError for an index out of range.
  TComponent* Components(int index) const;
  // The position of this component in its owner's list, -1 without owner.
  int ComponentIndex() const;
  void SetComponentIndex(int index);

  const std::string& Name() const { return FName; }
  // The name must be empty or an identifier (a letter or "_", then letters,
  // digits or "_"), unique among the owner's components ignoring case;
  // otherwise EComponentError is raised and the name is unchanged.
  virtual void SetName(const std::string& name);
  intptr_t Tag() const { return FTag; }
  void SetTag(intptr_t tag) { FTag = tag; }

  TComponentState ComponentState() const { return FComponentState; }
  TComponentStyle ComponentStyle() const { return FComponentStyle; }
  // Marks this component as a sub-component stored with its owner.
  void SetSubComponent(bool value);
  // Sets or clears csDesigning here and in every owned component.
  void SetDesigning(bool value, bool setChildren = true);

  // The component this one sits in visually (a control's parent), if any;
  // separate from the owner.
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual bool HasParent() const { return false; }

  // The owned component with that name (ignoring case), or nil.
  TComponent* FindComponent(const std::string& name) const;

  // Adds component to this owner's list (removing it from a previous owner)
  // and tells every owned component (opInsert).
  void InsertComponent(TComponent* component);
  // Takes component out of this owner's list without deleting it; it then
  // belongs to the caller.  Every owned component is told (opRemove).
  void RemoveComponent(TComponent* component);
  // Deletes every owned component, last to first.
  void DestroyComponents();
  // Marks the component as destroying, tells every component that asked for
  // free notification and leaves the owner, while the object is whole.
  void BeforeDestruction() override;
  // Marks the component as being destroyed (csDestroying), here and in every
  // owned component.  A descendant's destructor may call it first so that its
  // own clean-up sees the flag.
  void Destroying();

  // Asks for a Notification(component, opRemove) when component is deleted.
  // The request is mutual, so either side may be deleted first.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // The updating state (csUpdating) that bulk changes set.
  virtual void Updating();
  virtual void Updated();

  std::string GetNamePath() const override;
  TPersistent* GetOwner() const override { return FOwner; }

  static void DeclareProperties(TPropertyTable<TComponent>& t);

  // Loading: csLoading and csReading are set here and in every owned
  // component while properties are being read; EndLoading clears csReading
  // and calls Loaded on each, once everything is in place.
  void BeginLoading();
  void EndLoading();
  // Clears the loading state here and in every owned component without
  // calling Loaded, for a load that failed.
  void CancelLoading();

  // Called when a component is inserted into or removed from this owner's
  // list, or when a component that this one asked for free notification is
  // deleted.  The base passes the call on to every owned component.
  virtual void Notification(TComponent* component, TOperation operation);
  // Called when loading ends; the base clears csLoading.
  virtual void Loaded();

protected:
  virtual void ValidateRename(TComponent* component, const std::string& curName,
                              const std::string& newName);
  void SetComponentState(TComponentState state) { FComponentState = state; }
  void Include(TComponentStateFlag flag) { FComponentState.Include(flag); }
  void Exclude(TComponentStateFlag flag) { FComponentState.Exclude(flag); }

private:
  friend class TReader;
  friend class TWriter;
  void Insert(TComponent* component);
  void Remove(TComponent* component);
  void AddFreeNotify(TComponent* component);
  void RemoveFreeNotify(TComponent* component);
  void NotifyFreeNotifies();

  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  std::string FName;
  intptr_t FTag = 0;
  TComponentState FComponentState;
  TComponentStyle FComponentStyle{csInheritable};
};

// True when name is a valid identifier (letters, digits and "_", not
// starting with a digit).
bool IsValidIdent(const std::string& name);

} // namespace zel
