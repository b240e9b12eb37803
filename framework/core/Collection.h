#pragma once
// Collections: TCollection holds items of one item class (given by a class
// reference), with stable IDs, update brackets that report one change at the
// outermost end, and copying; TOwnedCollection also names its owner.
//
// The collection owns its items.  Deleting an item directly (`delete item`)
// is allowed: it leaves its collection, which then reports a change.
// An item constructed with a collection joins it silently; Add and Insert
// create items through the item class's factory and report the addition
// once the item is fully constructed.

#include <string>
#include <vector>

#include "framework/core/Persistent.h"

namespace zel {

class TCollection;

enum class TCollectionNotification { cnAdded, cnExtracting, cnDeleting };
inline constexpr TCollectionNotification cnAdded = TCollectionNotification::cnAdded;
inline constexpr TCollectionNotification cnExtracting = TCollectionNotification::cnExtracting;
inline constexpr TCollectionNotification cnDeleting = TCollectionNotification::cnDeleting;

class TCollectionItem : public TPersistent {
  ZEL_CREATABLE_CLASS_ARG(TCollectionItem, TPersistent, TCollection)
public:
  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;
  TCollectionItem(const TCollectionItem&) = delete;
  TCollectionItem& operator=(const TCollectionItem&) = delete;

  TCollection* Collection() const { return FCollection; }
  // Moves the item to another collection (or to none: it then belongs to
  // the caller).
  void SetCollection(TCollection* collection);
  // Unique within the collection for the collection's life.
  int ID() const { return FID; }
  int Index() const;
  // Raises EListError for an index out of range.
  void SetIndex(int index);

  std::string DisplayName() const { return GetDisplayName(); }
  // The class name unless a descendant names its items.
  virtual std::string GetDisplayName() const;
  // The base only reports a change of this item.
  virtual void SetDisplayName(const std::string& value);

  // "<collection's name path>[<index>]".
  std::string GetNamePath() const override;
  TPersistent* GetOwner() const override;

protected:
  // Tells the collection (outside its update brackets) that this item, or
  // with allItems every item, changed.
  void Changed(bool allItems);

private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
};

class TCollection : public TPersistent {
  ZEL_CLASS(TCollection, TPersistent)
public:
  // Raises EInvalidCast when itemClass does not descend from TCollectionItem.
  explicit TCollection(const TClassInfo& itemClass);
  ~TCollection() override;
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;

  TClassRef<TCollectionItem> ItemClass() const { return FItemClass; }
  int Count() const { return static_cast<int>(FItems.size()); }
  // Raises EListError for an index out of range.
  TCollectionItem* Items(int index) const;
  template <class T> T* ItemsAs(int index) const { return Items(index)->template As<T>(); }
  // Assigns value to the item at index.
  void SetItems(int index, TCollectionItem* value);

  TCollectionItem* Add();
  TCollectionItem* Insert(int index);
  void Delete(int index);
  void Clear();
  TCollectionItem* FindItemID(int id) const;

  virtual void BeginUpdate();
  virtual void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // Copies a collection: the items are cleared, then one item is added per
  // source item and assigned from it, inside one update bracket.
  void Assign(TPersistent* source) override;
  // "<owner's name path>.<property name>" when the owner publishes this
  // collection as a property, else the class name.
  std::string GetNamePath() const override;
  // The name of the owner's published property that holds this collection.
  std::string PropName() const;

  // Called with the changed item, or nil for a change of the whole list;
  // never inside update brackets.
  virtual void Update(TCollectionItem* item) {}

protected:
  // Called after an item joins and before one is deleted or extracted.
  virtual void Notify(TCollectionItem* item, TCollectionNotification action) {}
  // Reports a change of the whole collection unless inside update brackets.
  void Changed();

private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item, bool notify);

  TClassRef<TCollectionItem> FItemClass;
  std::vector<TCollectionItem*> FItems;
  int FUpdateCount = 0;
  int FNextID = 0;
};

// A collection with an owner, which GetOwner (and so GetNamePath) reports.
class TOwnedCollection : public TCollection {
  ZEL_CLASS(TOwnedCollection, TCollection)
public:
  TOwnedCollection(TPersistent* owner, const TClassInfo& itemClass)
      : TCollection(itemClass), FOwner(owner) {}
  TPersistent* GetOwner() const override { return FOwner; }
  TPersistent* Owner() const { return FOwner; }

private:
  TPersistent* FOwner;
};

} // namespace zel
