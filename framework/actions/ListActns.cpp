#include "framework/actions/ListActns.h"

namespace zel {

TCustomListAction::TCustomListAction(TComponent* owner) : TCustomAction(owner) {
  // A list is worked by choosing items, not by an execute handler.
  SetDisableIfNoHandler(false);
}

void TCustomListAction::SetItemIndex(int value) {
  if (value < -1 || value >= Count()) value = -1;
  if (value == FItemIndex) return;
  FItemIndex = value;
  Change();
}

void TCustomListAction::SelectItem(int index) {
  SetItemIndex(index);
  if (FItemIndex >= 0 && OnItemSelected) OnItemSelected(this, FItemIndex);
}

void TListControlItem::SetCaption(const std::string& v) {
  if (v == FCaption) return;
  FCaption = v;
  Changed(false);
}

void TListControlItem::SetImageIndex(int v) {
  if (v == FImageIndex) return;
  FImageIndex = v;
  Changed(false);
}

void TListControlItem::Assign(TPersistent* source) {
  if (auto* s = dynamic_cast<TListControlItem*>(source)) {
    FCaption = s->FCaption;
    FImageIndex = s->FImageIndex;
    FData = s->FData;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(source);
}

TStaticListAction::TStaticListAction(TComponent* owner)
    : TCustomListAction(owner),
      FItems(std::make_unique<TOwnedCollection>(this, TListControlItem::StaticClass())) {}

TListControlItem* TStaticListAction::AddItem(const std::string& caption, int imageIndex) {
  auto* item = FItems->Add()->As<TListControlItem>();
  item->SetCaption(caption);
  item->SetImageIndex(imageIndex);
  return item;
}

bool TStaticListAction::GetItem(int index, std::string& caption, int& imageIndex) const {
  if (index < 0 || index >= Count()) return false;
  auto* item = FItems->ItemsAs<TListControlItem>(index);
  caption = item->Caption();
  imageIndex = item->ImageIndex();
  return true;
}

void TVirtualListAction::SetCount(int value) {
  FCount = value < 0 ? 0 : value;
  if (ItemIndex() >= FCount) SetItemIndex(-1);
  Change();
}

bool TVirtualListAction::GetItem(int index, std::string& caption, int& imageIndex) const {
  if (index < 0 || index >= FCount) return false;
  caption.clear();
  imageIndex = -1;
  if (OnGetItem) OnGetItem(const_cast<TVirtualListAction*>(this), index, caption, imageIndex);
  return true;
}

} // namespace zel
