// Assignment between persistent objects and collections.

#include <gtest/gtest.h>

#include <memory>

#include "framework/core/Collection.h"
#include "framework/core/Component.h"
#include "framework/core/Exceptions.h"

namespace zel {
namespace {

class TStrip : public TCollectionItem {
  ZEL_CREATABLE_CLASS_ARG(TStrip, TCollectionItem, TCollection)
public:
  explicit TStrip(TCollection* c) : TCollectionItem(c) {}
  std::string Name() const { return FName; }
  void SetName(const std::string& n) {
    FName = n;
    Changed(false);
  }
  int Width = 16;
  void Assign(TPersistent* source) override {
    if (auto* s = dynamic_cast<TStrip*>(source)) {
      FName = s->FName;
      Width = s->Width;
      Changed(false);
      return;
    }
    TCollectionItem::Assign(source);
  }
  std::string GetDisplayName() const override {
    return FName.empty() ? TCollectionItem::GetDisplayName() : FName;
  }
  void SetDisplayName(const std::string& value) override { SetName(value); }

private:
  std::string FName;
};

class TOtherItem : public TCollectionItem {
  ZEL_CREATABLE_CLASS_ARG(TOtherItem, TCollectionItem, TCollection)
public:
  using TCollectionItem::TCollectionItem;
};

// Counts its updates and notifications.
class TStrips : public TOwnedCollection {
  ZEL_CLASS(TStrips, TOwnedCollection)
public:
  explicit TStrips(TPersistent* owner) : TOwnedCollection(owner, TStrip::StaticClass()) {}
  void Update(TCollectionItem* item) override {
    ++Updates;
    LastItem = item;
  }
  void Notify(TCollectionItem* item, TCollectionNotification action) override {
    if (action == TCollectionNotification::cnAdded) ++Added;
    if (action == TCollectionNotification::cnDeleting) ++Deleting;
  }
  int Updates = 0, Added = 0, Deleting = 0;
  TCollectionItem* LastItem = nullptr;
};

class TStripList : public TComponent {
  ZEL_CREATABLE_CLASS(TStripList, TComponent)
public:
  explicit TStripList(TComponent* owner) : TComponent(owner), FStrips(this) {}
  TStrips* Strips() const { return const_cast<TStrips*>(&FStrips); }
  void SetStrips(TStrips* s) { FStrips.Assign(s); }
  static void DeclareProperties(TPropertyTable<TStripList>& t) {
    t.Add("Strips", &TStripList::Strips, &TStripList::SetStrips);
  }

private:
  TStrips FStrips;
};

TEST(Persistent, UnsupportedAssignmentNamesBothClasses) {
  TComponent a(nullptr), b(nullptr);
  try {
    a.Assign(&b);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TComponent to a TComponent");
  }
  try {
    a.Assign(nullptr);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a nil to a TComponent");
  }
}

TEST(Collection, AddInsertDeleteIndexAndID) {
  TStripList list(nullptr);
  TStrips& s = *list.Strips();
  auto* a = s.Add()->As<TStrip>();
  auto* b = s.Add()->As<TStrip>();
  auto* c = s.Insert(0)->As<TStrip>();
  EXPECT_EQ(s.Count(), 3);
  EXPECT_EQ(s.Items(0), c);
  EXPECT_EQ(a->Index(), 1);
  EXPECT_EQ(a->ID(), 0);
  EXPECT_EQ(b->ID(), 1);
  EXPECT_EQ(c->ID(), 2);
  EXPECT_EQ(s.Added, 3);
  s.Delete(1); // a
  EXPECT_EQ(s.Deleting, 1);
  EXPECT_EQ(s.FindItemID(0), nullptr);
  EXPECT_EQ(s.FindItemID(1), b);
  // IDs are never reused.
  EXPECT_EQ(s.Add()->ID(), 3);
  // A directly deleted item leaves the collection.
  delete b;
  EXPECT_EQ(s.Count(), 2);
  EXPECT_THROW(s.Items(2), EListError);
  EXPECT_THROW(c->SetIndex(5), EListError);
  // An item of a foreign class is refused.
  TOtherItem stray(nullptr);
  EXPECT_THROW(stray.SetCollection(&s), EInvalidOperation);
}

TEST(Collection, UpdateBracketsReportOnceAtTheOutermostEnd) {
  TStrips s(nullptr);
  auto* a = s.Add()->As<TStrip>();
  s.Updates = 0;
  a->SetName("one");
  EXPECT_EQ(s.Updates, 1);
  EXPECT_EQ(s.LastItem, a);
  s.BeginUpdate();
  s.BeginUpdate();
  a->SetName("two");
  s.Add();
  s.Delete(0);
  s.EndUpdate();
  EXPECT_EQ(s.Updates, 1);
  s.EndUpdate();
  EXPECT_EQ(s.Updates, 2);
  EXPECT_EQ(s.LastItem, nullptr);
  s.EndUpdate(); // unbalanced: ignored
  EXPECT_EQ(s.Updates, 2);
  EXPECT_EQ(s.UpdateCount(), 0);
}

TEST(Collection, AssignCopiesItemsInOneUpdate) {
  TStrips from(nullptr), to(nullptr);
  for (const char* n : {"STANDARTBTN", "EXTRA"}) {
    auto* item = from.Add()->As<TStrip>();
    item->SetName(n);
    item->Width = 24;
  }
  to.Add();
  to.Updates = 0;
  to.Assign(&from);
  ASSERT_EQ(to.Count(), 2);
  EXPECT_EQ(to.ItemsAs<TStrip>(1)->Name(), "EXTRA");
  EXPECT_EQ(to.ItemsAs<TStrip>(0)->Width, 24);
  EXPECT_EQ(to.Updates, 1);
  TComponent notACollection(nullptr);
  EXPECT_THROW(to.Assign(&notACollection), EConvertError);
}

TEST(Collection, DisplayNamesAndNamePaths) {
  TComponent form(nullptr);
  form.SetName("Form1");
  auto* list = new TStripList(&form);
  list->SetName("ImageList1");
  auto* item = list->Strips()->Add()->As<TStrip>();
  EXPECT_EQ(item->DisplayName(), "TStrip");
  item->SetDisplayName("STANDARTBTN");
  EXPECT_EQ(item->DisplayName(), "STANDARTBTN");
  list->Strips()->Add();
  EXPECT_EQ(list->Strips()->GetNamePath(), "ImageList1.Strips");
  EXPECT_EQ(list->Strips()->Items(1)->GetNamePath(), "ImageList1.Strips[1]");
  TStrips orphan(nullptr);
  EXPECT_EQ(orphan.GetNamePath(), "TStrips");
}

TEST(Collection, ItemsMoveBetweenCollections) {
  TStrips a(nullptr), b(nullptr);
  TCollectionItem* item = a.Add();
  item->SetCollection(&b);
  EXPECT_EQ(a.Count(), 0);
  EXPECT_EQ(b.Count(), 1);
  EXPECT_EQ(item->Collection(), &b);
  item->SetCollection(nullptr);
  std::unique_ptr<TCollectionItem> owned(item); // now belongs to the caller
  EXPECT_EQ(b.Count(), 0);
}

} // namespace
} // namespace zel
