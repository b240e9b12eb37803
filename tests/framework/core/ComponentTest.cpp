// Ownership, names, free notification and component state.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Exceptions.h"

namespace zel {
namespace {

// Records the order of deletion and the notifications it receives.
class TProbe : public TComponent {
  ZEL_CREATABLE_CLASS(TProbe, TComponent)
public:
  explicit TProbe(TComponent* owner, std::vector<std::string>* log = nullptr)
      : TComponent(owner), FLog(log) {}
  ~TProbe() override {
    if (FLog) FLog->push_back("delete " + Name());
  }
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == TOperation::opRemove && c == Buddy) Buddy = nullptr;
    if (FLog && c) FLog->push_back(Name() + (op == TOperation::opRemove ? " -" : " +") + c->Name());
  }
  void Loaded() override {
    TComponent::Loaded();
    LoadedCalls++;
    LoadingWhenLoaded = ComponentState().Contains(csLoading);
  }
  TComponent* Buddy = nullptr;
  int LoadedCalls = 0;
  bool LoadingWhenLoaded = true;

private:
  std::vector<std::string>* FLog;
};

TEST(Component, OwnerDeletesChildrenLastToFirst) {
  std::vector<std::string> log;
  auto owner = std::make_unique<TProbe>(nullptr, &log);
  owner->SetName("Owner");
  for (const char* n : {"A", "B", "C"})
    (new TProbe(owner.get(), &log))->SetName(n);
  ASSERT_EQ(owner->ComponentCount(), 3);
  EXPECT_EQ(owner->Components(1)->Name(), "B");
  EXPECT_EQ(owner->Components(2)->ComponentIndex(), 2);
  EXPECT_THROW(owner->Components(3), EListError);
  log.clear();
  owner.reset();
  EXPECT_EQ(log, (std::vector<std::string>{"delete Owner", "delete C", "delete B", "delete A"}));
}

TEST(Component, EarlyDeleteLeavesOwnerAndTellsSiblings) {
  std::vector<std::string> log;
  TProbe owner(nullptr, &log);
  owner.SetName("Owner");
  auto* a = new TProbe(&owner, &log);
  a->SetName("A");
  auto* b = new TProbe(&owner, &log);
  b->SetName("B");
  log.clear();
  delete a;
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0), b);
  EXPECT_EQ(owner.FindComponent("A"), nullptr);
  // The owner hears of the removal and passes it to the remaining children.
  EXPECT_EQ(log, (std::vector<std::string>{"delete A", "B -A", "Owner -A"}));
}

TEST(Component, FreeNotificationClearsReferencesEitherWay) {
  auto holder = std::make_unique<TProbe>(nullptr);
  auto target = std::make_unique<TProbe>(nullptr);
  holder->Buddy = target.get();
  holder->FreeNotification(target.get());
  EXPECT_TRUE(holder->ComponentState().Contains(csFreeNotification));
  target.reset();
  EXPECT_EQ(holder->Buddy, nullptr);

  // Deleting the component that asked first leaves nothing dangling in the
  // other one (the sanitizer build would see a use after free).
  auto other = std::make_unique<TProbe>(nullptr);
  holder->Buddy = other.get();
  holder->FreeNotification(other.get());
  holder.reset();
  other.reset();

  // After RemoveFreeNotification nothing is said.
  TProbe h(nullptr);
  auto t = std::make_unique<TProbe>(nullptr);
  h.Buddy = t.get();
  h.FreeNotification(t.get());
  h.RemoveFreeNotification(t.get());
  t.reset();
  EXPECT_NE(h.Buddy, nullptr);
}

TEST(Component, SiblingsDeletedByTheOwnerAreNotifiedToEachOther) {
  // The owner deletes the last child first; the first child, which holds
  // it, must hear of it before its own deletion.
  std::vector<std::string> log;
  auto owner = std::make_unique<TComponent>(nullptr);
  auto* first = new TProbe(owner.get(), &log);
  first->SetName("First");
  auto* last = new TProbe(owner.get(), &log);
  last->SetName("Last");
  first->Buddy = last;
  first->FreeNotification(last);
  log.clear();
  owner.reset();
  // First hears of Last while Last is still whole.
  EXPECT_EQ(log, (std::vector<std::string>{"First -Last", "delete Last", "delete First"}));
}

TEST(Component, FreedComponentsAreWholeWhenOthersHear) {
  // Through the owner and through Free, the notified see the real class.
  std::vector<std::string> log;
  TProbe watcher(nullptr, &log);
  watcher.SetName("Watcher");
  int wholeRemovals = 0;
  struct TWatcher : TProbe {
    using TProbe::TProbe;
    int* Whole = nullptr;
    void Notification(TComponent* c, TOperation op) override {
      TProbe::Notification(c, op);
      if (op == TOperation::opRemove && c->Is<TProbe>()) ++*Whole;
    }
  } w(nullptr);
  w.Whole = &wholeRemovals;
  auto owner = std::make_unique<TComponent>(nullptr);
  auto* a = new TProbe(owner.get());
  auto* b = new TProbe(owner.get());
  w.FreeNotification(a);
  w.FreeNotification(b);
  FreeAndNil(b);
  EXPECT_EQ(b, nullptr);
  EXPECT_EQ(owner->ComponentCount(), 1);
  owner.reset();
  EXPECT_EQ(wholeRemovals, 2);
  Free(nullptr); // allowed

  // A class that tells others first in its own destructor is whole for them
  // even under a plain delete.
  struct TEager : TProbe {
    using TProbe::TProbe;
    ~TEager() override { BeforeDestruction(); }
  };
  auto* eager = new TEager(nullptr);
  w.FreeNotification(eager);
  delete eager;
  EXPECT_EQ(wholeRemovals, 3);
}

TEST(Component, ManyChildren) {
  auto owner = std::make_unique<TComponent>(nullptr);
  const int n = 2000;
  for (int i = 0; i < n; ++i)
    (new TComponent(owner.get()))->SetName("C" + std::to_string(i));
  EXPECT_EQ(owner->ComponentCount(), n);
  EXPECT_EQ(owner->FindComponent("c1234")->ComponentIndex(), 1234);
  // Delete every other child early, from the middle outwards.
  for (int i = n - 2; i >= 0; i -= 2)
    delete owner->Components(i);
  EXPECT_EQ(owner->ComponentCount(), n / 2);
  EXPECT_EQ(owner->Components(0)->Name(), "C1");
  owner.reset();
}

TEST(Component, NamesAreIdentifiersUniqueAmongSiblings) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("Panel1");
  EXPECT_THROW(b->SetName("PANEL1"), EComponentError);
  EXPECT_EQ(b->Name(), "");
  EXPECT_THROW(b->SetName("2Panel"), EComponentError);
  EXPECT_THROW(b->SetName("Pa nel"), EComponentError);
  b->SetName("_Panel_2");
  a->SetName("panel1"); // a change of case of its own name is allowed
  EXPECT_EQ(owner.FindComponent("PANEL1"), a);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
  // Empty names never clash.
  new TComponent(&owner);
  new TComponent(&owner);
  // A component moving to an owner that already has its name is refused.
  TComponent other(nullptr);
  auto* c = new TComponent(&other);
  c->SetName("Panel1");
  EXPECT_THROW(owner.InsertComponent(c), EComponentError);
  EXPECT_EQ(c->Owner(), &other);
  // Unowned components may share names.
  TComponent x(nullptr), y(nullptr);
  x.SetName("Same");
  y.SetName("Same");
}

TEST(Component, InsertAndRemoveComponent) {
  std::vector<std::string> log;
  TProbe first(nullptr, &log), second(nullptr, &log);
  first.SetName("First");
  second.SetName("Second");
  auto* c = new TProbe(&first, &log);
  c->SetName("C");
  log.clear();
  second.InsertComponent(c); // moves it
  EXPECT_EQ(c->Owner(), &second);
  EXPECT_EQ(first.ComponentCount(), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"First -C", "C +C", "Second +C"}));
  second.RemoveComponent(c);
  EXPECT_EQ(c->Owner(), nullptr);
  std::unique_ptr<TProbe> keep(c); // now belongs to the test
  // Owning oneself or one's owner is refused.
  EXPECT_THROW(c->InsertComponent(c), EComponentError);
  auto* child = new TComponent(c);
  EXPECT_THROW(child->InsertComponent(c), EComponentError);
}

TEST(Component, StateFlags) {
  TProbe root(nullptr);
  auto* child = new TProbe(&root);
  root.BeginLoading();
  EXPECT_TRUE(child->ComponentState().Contains(csLoading));
  EXPECT_TRUE(child->ComponentState().Contains(csReading));
  root.EndLoading();
  EXPECT_EQ(root.LoadedCalls, 1);
  EXPECT_EQ(child->LoadedCalls, 1);
  EXPECT_FALSE(child->LoadingWhenLoaded);
  EXPECT_FALSE(child->ComponentState().Contains(csReading));

  root.Updating();
  EXPECT_TRUE(root.ComponentState().Contains(csUpdating));
  root.Updated();
  EXPECT_FALSE(root.ComponentState().Contains(csUpdating));

  root.SetDesigning(true);
  EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
  auto* late = new TComponent(&root); // joins a designing owner
  EXPECT_TRUE(late->ComponentState().Contains(csDesigning));

  root.SetSubComponent(true);
  EXPECT_TRUE(root.ComponentStyle().Contains(csSubComponent));
}

TEST(Component, ComponentIndexAndNamePath) {
  TComponent owner(nullptr);
  owner.SetName("Form1");
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  b->SetName("Panel1");
  b->SetComponentIndex(0);
  EXPECT_EQ(owner.Components(0), b);
  EXPECT_EQ(a->ComponentIndex(), 1);
  b->SetComponentIndex(99); // clamped to the last place
  EXPECT_EQ(owner.Components(1), b);
  EXPECT_EQ(b->GetNamePath(), "Panel1");
  EXPECT_EQ(b->GetOwner(), &owner);
}

} // namespace
} // namespace zel
