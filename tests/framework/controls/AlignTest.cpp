// Alignment, anchors, constraints, DisableAlign nesting and the parent
// chain that no move may close into a loop.

#include <functional>

#include "framework/core/Exceptions.h"
#include "tests/framework/controls/ControlsFixture.h"

namespace zel::test {
namespace {

using namespace sys;

TEST_F(ControlsTest, AlignedControlsFillFromTheEdgesInward) {
  auto* top = Add(0, 0, 10, 30, alTop);
  auto* bottom = Add(0, 0, 10, 20, alBottom);
  auto* left = Add(0, 0, 50, 10, alLeft);
  auto* right = Add(0, 0, 60, 10, alRight);
  auto* client = Add(0, 0, 10, 10, alClient);
  const RECT c = host->ClientRect();
  EXPECT_EQ(top->BoundsRect(), (RECT{0, 0, c.right, 30}));
  EXPECT_EQ(bottom->BoundsRect(), (RECT{0, c.bottom - 20, c.right, c.bottom}));
  EXPECT_EQ(left->BoundsRect(), (RECT{0, 30, 50, c.bottom - 20}));
  EXPECT_EQ(right->BoundsRect(), (RECT{c.right - 60, 30, c.right, c.bottom - 20}));
  EXPECT_EQ(client->BoundsRect(), (RECT{50, 30, c.right - 60, c.bottom - 20}));

  // A new size of the parent realigns everything.
  host->SetBounds(100, 100, 500, 350);
  const RECT n = host->ClientRect();
  EXPECT_EQ(top->Width(), n.right);
  EXPECT_EQ(bottom->Top(), n.bottom - 20);
  EXPECT_EQ(client->BoundsRect(), (RECT{50, 30, n.right - 60, n.bottom - 20}));

  // A hidden control gives its room back; showing it takes it again.
  top->Hide();
  EXPECT_EQ(left->Top(), 0);
  top->Show();
  EXPECT_EQ(left->Top(), 30);
}

TEST_F(ControlsTest, ControlsOfOneAlignmentKeepTheOrderOfTheirPositions) {
  auto* a = Add(0, 0, 10, 30, alTop);
  auto* b = Add(0, 50, 10, 40, alTop);
  EXPECT_EQ(a->Top(), 0);
  EXPECT_EQ(b->Top(), 30);
  // Moving b above a puts it first; the moved control wins a tie.
  b->SetTop(0);
  EXPECT_EQ(b->Top(), 0);
  EXPECT_EQ(a->Top(), 40);
  // A windowed aligned control takes part like any other.
  auto* w = Add<TWinControl>(0, 500, 10, 25, alTop);
  EXPECT_EQ(w->Top(), 70);
  ASSERT_TRUE(w->HandleAllocated());
  RECT wr;
  GetWindowRect(w->Handle(), &wr);
  EXPECT_EQ(wr.top - host->ClientOrigin().y, 70);
  EXPECT_EQ(wr.right - wr.left, host->ClientWidth());
}

TEST_F(ControlsTest, DisableAlignNestsAndTheOutermostEnableAligns) {
  host->DisableAlign();
  host->DisableAlign();
  auto* c = Add(5, 5, 10, 10, alClient);
  EXPECT_EQ(c->BoundsRect(), (RECT{5, 5, 15, 15}));
  host->EnableAlign();
  EXPECT_TRUE(host->AlignDisabled());
  EXPECT_EQ(c->BoundsRect(), (RECT{5, 5, 15, 15}));
  host->EnableAlign();
  EXPECT_FALSE(host->AlignDisabled());
  EXPECT_EQ(c->BoundsRect(), host->ClientRect());
  // An unmatched EnableAlign does no harm.
  host->EnableAlign();
  EXPECT_FALSE(host->AlignDisabled());
}

TEST_F(ControlsTest, AnchorsFollowTheParentsSize) {
  auto* right = Add(300, 10, 50, 20);
  right->SetAnchors({akTop, akRight});
  auto* stretch = Add(10, 50, 100, 20);
  stretch->SetAnchors({akLeft, akTop, akRight, akBottom});
  auto* bottom = Add(10, 250, 40, 20);
  bottom->SetAnchors({akLeft, akBottom});
  auto* centred = Add(100, 100, 40, 20);
  centred->SetAnchors({});
  const RECT before = host->ClientRect();
  host->SetBounds(100, 100, 500, 400);
  const RECT after = host->ClientRect();
  const int dx = after.right - before.right, dy = after.bottom - before.bottom;
  EXPECT_EQ(right->BoundsRect(), (RECT{300 + dx, 10, 350 + dx, 30}));
  EXPECT_EQ(stretch->BoundsRect(), (RECT{10, 50, 110 + dx, 70 + dy}));
  EXPECT_EQ(bottom->BoundsRect(), (RECT{10, 250 + dy, 50, 270 + dy}));
  EXPECT_EQ(centred->Left() + 20, 120 * after.right / before.right);
  // Going back restores the first places exactly (no drift).
  host->SetBounds(100, 100, 400, 300);
  EXPECT_EQ(right->BoundsRect(), (RECT{300, 10, 350, 30}));
  EXPECT_EQ(stretch->BoundsRect(), (RECT{10, 50, 110, 70}));
}

TEST_F(ControlsTest, ConstraintsLimitEverySize) {
  auto* c = Add(0, 0, 10, 10, alLeft);
  c->Constraints()->SetMinWidth(30);
  c->Constraints()->SetMaxHeight(100);
  EXPECT_EQ(c->Width(), 30);
  EXPECT_EQ(c->Height(), 100);
  c->SetWidth(5);
  EXPECT_EQ(c->Width(), 30);
  // A maximum below the minimum pulls the minimum down with it.
  c->Constraints()->SetMaxWidth(20);
  EXPECT_EQ(c->Constraints()->MinWidth(), 20);
  EXPECT_EQ(c->Width(), 20);
  // CanResize may refuse a size.
  c->OnCanResize = [](TObject*, int& w, int&, bool& ok) { ok = w != 15; };
  c->SetWidth(15);
  EXPECT_EQ(c->Width(), 20);
}

TEST_F(ControlsTest, NestedContainersRealignTheirOwnChildren) {
  auto* panel = Add<TWinControl>(0, 0, 100, 100, alLeft);
  auto* inner = Add(0, 0, 10, 10, alClient, panel);
  EXPECT_EQ(inner->Height(), host->ClientHeight());
  host->SetBounds(100, 100, 400, 200);
  EXPECT_EQ(inner->Height(), host->ClientHeight());
  EXPECT_EQ(inner->Width(), panel->ClientWidth());
}

} // namespace
} // namespace zel::test

#include "framework/core/Properties.h"

namespace zel::test {
namespace {

// A parent that is the control itself or lies inside it would close the
// parent chain into a loop that every walk up the chain runs round for
// ever: moving, inserting and docking refuse it, and nothing changes.
TEST_F(ControlsTest, AParentInsideTheControlIsRefusedAndNothingMoves) {
  auto* outer = Add<TWinControl>(10, 10, 200, 200);
  auto* inner = Add<TWinControl>(5, 5, 100, 100, alNone, outer);
  auto* innermost = Add<TWinControl>(5, 5, 50, 50, alNone, inner);
  const std::function<void()> moves[] = {
      [&] { outer->SetParent(outer); },         [&] { outer->SetParent(innermost); },
      [&] { innermost->InsertControl(outer); }, [&] { inner->InsertControl(inner); },
      [&] { outer->ManualDock(inner); },        [&] { outer->Dock(innermost, RECT{0, 0, 10, 10}); },
  };
  for (size_t i = 0; i < std::size(moves); ++i) {
    EXPECT_THROW(moves[i](), EInvalidOperation) << "move " << i;
    EXPECT_EQ(outer->Parent(), host.get()) << "move " << i;
    EXPECT_EQ(inner->Parent(), outer) << "move " << i;
    EXPECT_EQ(innermost->Parent(), inner) << "move " << i;
    EXPECT_EQ(outer->HostDockSite(), nullptr) << "move " << i;
  }
  // A parent further out is taken as before.
  innermost->SetParent(outer);
  EXPECT_EQ(innermost->Parent(), outer);
}

TEST_F(ControlsTest, PublishedPropertiesReachTheControlByName) {
  auto* c = Add<TWinControl>(1, 2, 30, 40);
  EXPECT_EQ(std::get<int64_t>(GetPropValue(*c, "Width")), 30);
  SetPropValue(*c, *GetPropInfo(*c, "Caption"), std::string("Панель"));
  EXPECT_EQ(c->Caption(), "Панель");
  EXPECT_EQ(std::get<std::string>(GetPropValue(*c, "Caption")), "Панель");
  SetPropValue(*c, *GetPropInfo(*c, "Align"), int64_t(alClient));
  EXPECT_EQ(c->BoundsRect(), host->ClientRect());
  EXPECT_TRUE(PropIsType(*c, "Color", "TColor"));
  // An enumeration value outside its names is refused.
  EXPECT_ANY_THROW(SetPropValue(*c, *GetPropInfo(*c, "Align"), int64_t(42)));
  EXPECT_EQ(c->Align(), alClient);
}

} // namespace
} // namespace zel::test
