#pragma once
// List actions: an action that stands for a list of items with a selected
// index, shown on a tool bar as a combo box.  The static list keeps its
// items; the virtual list asks for each item through an event.

#include <memory>
#include <string>

#include "framework/actions/ActnList.h"
#include "framework/core/Collection.h"

namespace zel {

class TCustomListAction;

using TItemSelectedEvent = std::function<void(TCustomListAction* sender, int index)>;

class TCustomListAction : public TCustomAction {
  ZEL_CLASS(TCustomListAction, TCustomAction)
public:
  explicit TCustomListAction(TComponent* owner);

  virtual int Count() const = 0;
  // The caption and image of an item; false for an index out of range.
  virtual bool GetItem(int index, std::string& caption, int& imageIndex) const = 0;
  // -1 for no selection; an index out of range selects nothing.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int value);

  // Raised when a client selects an item (SetItemIndex from a client).
  TItemSelectedEvent OnItemSelected;
  // Selects an item as a client does: sets the index and raises OnItemSelected.
  void SelectItem(int index);

private:
  int FItemIndex = -1;
};

class TListControlItem : public TCollectionItem {
  ZEL_CREATABLE_CLASS_ARG(TListControlItem, TCollectionItem, TCollection)
public:
  explicit TListControlItem(TCollection* collection) : TCollectionItem(collection) {}
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& v);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);
  intptr_t Data() const { return FData; }
  void SetData(intptr_t v) { FData = v; }
  std::string GetDisplayName() const override { return FCaption; }
  void Assign(TPersistent* source) override;

private:
  std::string FCaption;
  int FImageIndex = -1;
  intptr_t FData = 0;
};

class TStaticListAction : public TCustomListAction {
  ZEL_CREATABLE_CLASS(TStaticListAction, TCustomListAction)
public:
  explicit TStaticListAction(TComponent* owner);
  TCollection* Items() const { return FItems.get(); }
  TListControlItem* AddItem(const std::string& caption, int imageIndex = -1);
  int Count() const override { return FItems->Count(); }
  bool GetItem(int index, std::string& caption, int& imageIndex) const override;

private:
  std::unique_ptr<TOwnedCollection> FItems;
};

using TGetVirtualItemEvent =
    std::function<void(TObject* sender, int index, std::string& caption, int& imageIndex)>;

class TVirtualListAction : public TCustomListAction {
  ZEL_CREATABLE_CLASS(TVirtualListAction, TCustomListAction)
public:
  explicit TVirtualListAction(TComponent* owner) : TCustomListAction(owner) {}
  void SetCount(int value);
  int Count() const override { return FCount; }
  bool GetItem(int index, std::string& caption, int& imageIndex) const override;

  TGetVirtualItemEvent OnGetItem;

private:
  int FCount = 0;
};

} // namespace zel
