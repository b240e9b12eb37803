// The button under real input: the hot / pushed / checked table, AutoCheck
// and grouped actions, the hover poll, auto-repeat timing and the drop part.

#include <vector>

#include "framework/actions/ActnList.h"
#include "tests/speedbutton/SpeedButtonFixture.h"

namespace zel::test {
namespace {

TEST_F(SpeedButtonTest, StateTableUnderTheMouse) {
  auto* b = Put(10, 10);
  b->SetAutoCheck(true);
  int clicks = 0, hotChanges = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  b->onHotChanged = [&](TObject* s) {
    EXPECT_EQ(s, b);
    EXPECT_TRUE(b->IsUpdating()); // the handler runs inside the bracket
    ++hotChanges;
  };
  MoveTo(b, 5, 5);
  EXPECT_TRUE(b->Hot());
  EXPECT_FALSE(b->Pushed());
  EXPECT_EQ(hotChanges, 1);

  // Press and release inside: toggles and clicks.
  Press(b);
  EXPECT_TRUE(b->Pushed());
  EXPECT_TRUE(b->Hot());
  Release(b);
  EXPECT_FALSE(b->Pushed());
  EXPECT_TRUE(b->Checked());
  EXPECT_EQ(clicks, 1);

  // Press inside, release outside: neither toggles nor clicks.
  clock.Advance(1000);
  Press(b);
  MoveTo(b, 100, 5);
  EXPECT_FALSE(b->Hot());
  EXPECT_FALSE(b->Pushed());
  Release(b, 100, 5);
  EXPECT_TRUE(b->Checked());
  EXPECT_EQ(clicks, 1);

  // Disabling a hot, pressed button ends both states without a click.
  clock.Advance(1000);
  MoveTo(b, 5, 5);
  Press(b);
  ASSERT_TRUE(b->Pushed());
  b->SetEnabled(false);
  EXPECT_FALSE(b->Hot());
  EXPECT_FALSE(b->Pushed());
  EXPECT_FALSE(b->Face()->Enabled());
  Release(b);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(b->Checked());
  // Enabled again under the cursor: hot at once, without a move.
  b->SetEnabled(true);
  EXPECT_TRUE(b->Hot());
  EXPECT_TRUE(b->Face()->Enabled());
}

TEST_F(SpeedButtonTest, HoverPollCatchesAMissedLeave) {
  auto* b = Put(10, 10);
  MoveTo(b, 5, 5);
  ASSERT_TRUE(b->Hot());
  ASSERT_NE(b->HoverTimer(), nullptr);
  EXPECT_TRUE(b->HoverTimer()->Running());
  // The button moves away from under the cursor: no message tells it.
  b->SetLeft(200);
  Wait(199);
  EXPECT_TRUE(b->Hot());
  Wait(1);
  EXPECT_FALSE(b->Hot());
  EXPECT_FALSE(b->HoverTimer()->Running());
}

TEST_F(SpeedButtonTest, AutoRepeatTicksAndSuppressesTheClick) {
  auto* b = Put(10, 10);
  std::vector<uint64_t> ticks;
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  b->onClicks = [&](TObject* s) {
    EXPECT_EQ(s, b);
    ticks.push_back(Now());
  };
  MoveTo(b, 5, 5);
  const uint64_t start = Now();
  Press(b);
  Wait(670);
  Release(b);
  for (auto& t : ticks)
    t -= start;
  EXPECT_EQ(ticks, (std::vector<uint64_t>{199, 399, 499, 549, 589, 629, 669}));
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(b->RepeatTimer(), nullptr);

  // A quick press clicks once and fires no tick; the next press starts over.
  ticks.clear();
  clock.Advance(1000);
  Press(b);
  Wait(150);
  Release(b);
  EXPECT_TRUE(ticks.empty());
  EXPECT_EQ(clicks, 1);
  clock.Advance(1000);
  const uint64_t again = Now();
  Press(b);
  Wait(199);
  Release(b);
  ASSERT_EQ(ticks.size(), 1u);
  EXPECT_EQ(ticks[0] - again, 199u);
}

TEST_F(SpeedButtonTest, GroupedActionsBehaveAsRadioButtons) {
  TActionList list(nullptr);
  TAction a1(nullptr), a2(nullptr);
  for (TAction* a : {&a1, &a2}) {
    a->SetActionList(&list);
    a->SetGroupIndex(1);
    a->SetAutoCheck(true);
    a->OnExecute = [](TObject*) {};
  }
  a1.SetChecked(true);
  auto* b1 = Put(10, 10);
  auto* b2 = Put(50, 10);
  b1->SetAction(&a1);
  b2->SetAction(&a2);
  EXPECT_TRUE(b1->Checked());
  EXPECT_FALSE(b2->Checked());

  MoveTo(b2, 5, 5);
  Press(b2);
  Release(b2);
  EXPECT_TRUE(a2.Checked());
  EXPECT_FALSE(a1.Checked());
  EXPECT_TRUE(b2->Checked());
  EXPECT_FALSE(b1->Checked());

  // And back, through the first button.
  clock.Advance(1000);
  MoveTo(b1, 5, 5);
  Press(b1);
  Release(b1);
  EXPECT_TRUE(a1.Checked());
  EXPECT_TRUE(b1->Checked());
  EXPECT_FALSE(b2->Checked());
  // Checking an action from code moves the buttons too.
  a2.SetChecked(true);
  EXPECT_FALSE(b1->Checked());
  EXPECT_TRUE(b2->Checked());
  b1->SetAction(nullptr);
  b2->SetAction(nullptr);
}

TEST_F(SpeedButtonTest, AutoCheckCarriesTheCheckToAPlainAction) {
  TAction action(nullptr);
  action.OnExecute = [](TObject*) {};
  auto* b = Put(10, 10);
  b->SetAction(&action);
  b->SetAutoCheck(true);
  MoveTo(b, 5, 5);
  Press(b);
  Release(b);
  EXPECT_TRUE(b->Checked());
  EXPECT_TRUE(action.Checked());
  b->SetAction(nullptr);
}

TEST_F(SpeedButtonTest, ActionOfAListWithImagesGivesTheHotGlyph) {
  TActionList list(nullptr);
  list.SetImages(Images(6));
  auto* action = new TAction(nullptr);
  action->SetActionList(&list);
  action->SetImageIndex(5);
  action->SetCaption("Go");
  action->SetChecked(true);
  auto* b = Put(10, 10);
  b->Gliphs()->SetImageIndexNormal(1);
  b->SetAction(action);
  // Linking takes the list's images and the action's index as the hot
  // glyph, dropping the others; so does every change of the action.
  EXPECT_EQ(b->ImageList(), images.get());
  EXPECT_EQ(b->Gliphs()->ImageIndexNormalHot(), 5);
  EXPECT_EQ(b->Face()->ImageIndex(), 5);
  EXPECT_TRUE(b->Checked());
  EXPECT_EQ(b->Caption(), "Go");
  action->SetImageIndex(4);
  EXPECT_EQ(b->ImageList(), images.get());
  EXPECT_EQ(b->Gliphs()->ImageIndexNormalHot(), 4);
  EXPECT_EQ(b->Gliphs()->ImageIndexNormal(), -1);
  EXPECT_EQ(b->Face()->ImageIndex(), 4);
  // The action goes first: the button forgets it and keeps working.
  delete action;
  EXPECT_EQ(b->Action(), nullptr);
  MoveTo(b, 5, 5);
  Press(b);
  Release(b);
  list.SetImages(nullptr);
}

TEST_F(SpeedButtonTest, ActionWithoutAnImageKeepsTheButtonsGlyphs) {
  // A check button with glyphs of its own, linked to an action of a list
  // with images but without an image itself: no change of the action may
  // blank it.
  TImageList own(16, 16, nullptr);
  TBitmap cell(16, 16, pf32bit);
  for (int i = 0; i < 4; ++i)
    own.Add(&cell, nullptr);
  TActionList list(nullptr);
  list.SetImages(Images(6));
  auto* action = new TAction(nullptr);
  action->SetActionList(&list);
  auto* b = Put(10, 10);
  b->SetImageList(&own);
  b->Gliphs()->SetImageIndexNormalHot(2);
  b->Gliphs()->SetImageIndexCheckHot(3);
  b->SetAction(action);
  action->SetChecked(true);
  action->SetCaption("Сетка");
  action->SetEnabled(false);
  action->SetEnabled(true);
  EXPECT_EQ(b->ImageList(), &own);
  EXPECT_EQ(b->Gliphs()->ImageIndexNormalHot(), 2);
  EXPECT_EQ(b->Gliphs()->ImageIndexCheckHot(), 3);
  EXPECT_TRUE(b->Checked());
  EXPECT_EQ(b->Face()->ImageIndex(), 3);

  // An action with an image takes over, and later changes of it keep the
  // list (and with it the cached faces).
  action->SetImageIndex(5);
  EXPECT_EQ(b->ImageList(), images.get());
  EXPECT_EQ(b->Gliphs()->ImageIndexNormalHot(), 5);
  EXPECT_EQ(b->Gliphs()->ImageIndexCheckHot(), -1);
  host->Repaint();
  sys::PumpMessages();
  const int faces = FaceCacheCount();
  ASSERT_GT(faces, 0);
  action->SetCaption("Линейка");
  action->SetChecked(false);
  EXPECT_GE(FaceCacheCount(), faces) << "an action change emptied the face cache";
  b->SetAction(nullptr);
  delete action;
}

TEST_F(SpeedButtonTest, GlyphSetAssignedAtRunTimeShowsAtOnce) {
  auto* b = Put(10, 10);
  b->SetImageList(Images(4));
  b->Gliphs()->SetImageIndexNormal(1);
  auto* other = Put(60, 10);
  other->Gliphs()->SetImageIndexNormal(3);
  b->SetGliphs(other->Gliphs());
  EXPECT_EQ(b->Face()->ImageIndex(), 3);
  b->SetGliphs(nullptr);
  EXPECT_EQ(b->Face()->ImageIndex(), -1);
}

TEST_F(SpeedButtonTest, DropPartFollowsMovesAndBorderChanges) {
  struct Case {
    TZelButtonStyle style;
    TZelButtonBorder border;
  };
  for (const Case c : {Case{cbsDropDown, ZelSingleBorder}, Case{cbsDrop, ZelXPBorder}}) {
    SCOPED_TRACE(int(c.style));
    auto* b = Put(10, 10, 40, 28);
    b->SetStyle(c.style);
    TSpeedButtonZel* part = b->DropButton();
    ASSERT_NE(part, nullptr);
    // A new part's arrow is a built-in glyph, not a state's own.
    EXPECT_TRUE(part->Face()->Substitute());
    const sys::RECT before = part->BoundsRect();
    b->SetBounds(50, 60, 40, 28); // moved, same size
    EXPECT_EQ(part->BoundsRect(), (sys::RECT{before.left + 40, before.top + 50, before.right + 40,
                                             before.bottom + 50}));
    // The corner square is 8 with the single border and 9 with the others,
    // and an XP corner part not hot is dimmed.
    b->SetBorder(c.border);
    EXPECT_EQ(part->Border(), c.border);
    if (c.style == cbsDrop) {
      EXPECT_EQ(part->Width(), 9);
      EXPECT_EQ(part->BoundsRect().right, 50 + 40 - 1);
      EXPECT_EQ(part->Blend(), 127);
      b->SetBorder(ZelSingleBorder);
      EXPECT_EQ(part->Width(), 8);
      EXPECT_EQ(part->Blend(), 255);
    }
    delete b;
  }
}

TEST_F(SpeedButtonTest, ButtonWithoutAColourShowsItsParent) {
  auto* b = Put(10, 10, 40, 28);
  b->SetColor(clNone);
  EXPECT_FALSE(b->ControlStyle().Contains(csOpaque));
  host->Repaint();
  sys::PumpMessages();
  const sys::POINT inside = At(b, 20, 14);
  EXPECT_EQ(screen->ScreenPixel(inside.x, inside.y), ColorToColorRef(clWhite) & 0xFEFEFE);
  b->SetColor(clBtnFace);
  EXPECT_TRUE(b->ControlStyle().Contains(csOpaque));
}

TEST_F(SpeedButtonTest, DropPartGeometryAndClicks) {
  auto* b = Put(10, 10, 30, 28);
  int drops = 0, clicks = 0;
  b->OnDropDown = [&](TObject* s) {
    EXPECT_EQ(s, b);
    ++drops;
  };
  b->OnClick = [&](TObject*) { ++clicks; };
  b->SetStyle(cbsDropDown);
  const int column = std::min(sys::GetSystemMetrics(sys::SM_CXHSCROLL), 10);
  TSpeedButtonZel* part = b->DropButton();
  ASSERT_NE(part, nullptr);
  EXPECT_EQ(b->Face()->Width(), 30 - column);
  EXPECT_EQ(part->BoundsRect(), (sys::RECT{40 - column, 10, 40, 38}));
  EXPECT_EQ(part->ButtonKind(), ZelBKDownArrow);
  EXPECT_EQ(part->Face()->ImageIndex(), -ZelBKDownArrow);
  EXPECT_EQ(part->Parent(), host.get());

  // Over the main button both light up; the part is lit but not master.
  MoveTo(b, 3, 3);
  EXPECT_TRUE(b->Hot());
  EXPECT_TRUE(part->Hot());
  EXPECT_FALSE(part->HoverMaster());
  // Onto the part: it becomes master and the main button stays lit.
  MoveTo(part, 2, 5);
  EXPECT_TRUE(part->HoverMaster());
  EXPECT_TRUE(part->Hot());
  EXPECT_TRUE(b->Hot());
  Press(part, 2, 5);
  Release(part, 2, 5);
  EXPECT_EQ(drops, 1);
  EXPECT_EQ(clicks, 0);

  // The part follows its button.
  b->SetEnabled(false);
  EXPECT_FALSE(part->Enabled());
  b->SetEnabled(true);
  b->SetBorder(ZelXPBorder);
  EXPECT_EQ(part->Border(), ZelXPBorder);

  // The corner square with the single border: 8 x 8, one pixel inside.
  b->SetBorder(ZelSingleBorder);
  b->SetStyle(cbsDrop);
  part = b->DropButton();
  ASSERT_NE(part, nullptr);
  EXPECT_EQ(b->Face()->Width(), 30);
  EXPECT_EQ(part->BoundsRect(), (sys::RECT{10 + 30 - 9, 10 + 28 - 9, 10 + 30 - 1, 10 + 28 - 1}));
  EXPECT_TRUE(part->Transparent());
  EXPECT_EQ(part->BtnFrameColor(), b->SelectedColor());
  b->SetStyle(cbsNormal);
  EXPECT_EQ(b->DropButton(), nullptr);
}

TEST_F(SpeedButtonTest, DimmedCornerPartWithTheXPBorder) {
  auto* b = Put(10, 10);
  b->SetBorder(ZelXPBorder);
  b->SetBlend(200);
  b->SetStyle(cbsDrop);
  TSpeedButtonZel* part = b->DropButton();
  ASSERT_NE(part, nullptr);
  EXPECT_EQ(part->Blend(), 100);
  MoveTo(part, 2, 2);
  EXPECT_TRUE(part->Hot());
  EXPECT_EQ(part->Blend(), 200);
  EXPECT_FALSE(b->ControlStyle().Contains(csOpaque));
}

} // namespace
} // namespace zel::test
