// Capture and click rules, routing of mouse messages to windowless
// controls, painting by the parent, focus and tab order.

#include "tests/framework/controls/ControlsFixture.h"

namespace zel::test {
namespace {

using namespace sys;

TEST_F(ControlsTest, ClickNeedsPressAndReleaseInsideTheSameControl) {
  auto* a = Add<TProbe>(10, 10, 50, 50);
  auto* b = Add<TProbe>(100, 10, 50, 50);
  POINT in = At(a, 10, 10), out = At(b, 10, 10);
  screen->Click(in.x, in.y);
  EXPECT_EQ(a->clicks, 1);
  clock.Advance(1000); // no double clicks from here on
  // Pressed inside, released outside: the control keeps the mouse (its
  // release arrives) but there is no click; b sees nothing.
  screen->Press(in.x, in.y);
  EXPECT_TRUE(a->MouseCapture());
  screen->Release(out.x, out.y);
  EXPECT_FALSE(a->MouseCapture());
  EXPECT_EQ(a->clicks, 1);
  EXPECT_EQ(a->ups, 2);
  EXPECT_EQ(b->ups, 0);
  EXPECT_EQ(b->downs, 0);
  // Pressed outside, released inside: no click either.
  clock.Advance(1000);
  screen->Press(out.x, out.y);
  screen->Release(in.x, in.y);
  EXPECT_EQ(a->clicks, 1);
  EXPECT_EQ(b->clicks, 0);
  // A quick second press is a double click.
  clock.Advance(1000);
  screen->DoubleClick(in.x, in.y);
  EXPECT_EQ(a->dblClicks, 1);
}

TEST_F(ControlsTest, DisabledWindowlessControlsLetTheParentHaveTheMouse) {
  auto* a = Add<TProbe>(10, 10, 50, 50);
  a->SetEnabled(false);
  int hostDowns = 0;
  host->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
    ++hostDowns;
    EXPECT_EQ(x, 20);
    EXPECT_EQ(y, 20);
  };
  const POINT p = At(a, 10, 10);
  screen->Click(p.x, p.y);
  EXPECT_EQ(a->downs, 0);
  EXPECT_EQ(hostDowns, 1);
}

TEST_F(ControlsTest, TheParentPaintsItsWindowlessChildrenInTheirBounds) {
  auto* a = Add<TProbe>(10, 10, 30, 20);
  host->SetColor(clWhite);
  host->Repaint();
  EXPECT_GE(a->paints, 1);
  const POINT inside = At(a, 0, 0), outside = At(a, 30, 0);
  EXPECT_EQ(screen->ScreenPixel(inside.x, inside.y), RGB(255, 0, 0));
  EXPECT_EQ(screen->ScreenPixel(outside.x, outside.y), RGB(255, 255, 255));
  // Double buffering gives the same picture.
  host->SetDoubleBuffered(true);
  host->Repaint();
  EXPECT_EQ(screen->ScreenPixel(inside.x, inside.y), RGB(255, 0, 0));
  EXPECT_EQ(screen->ScreenPixel(outside.x, outside.y), RGB(255, 255, 255));
}

TEST_F(ControlsTest, TabOrderSkipsWhatCannotTakeTheFocus) {
  auto* a = Add<TWinControl>(0, 0, 20, 20);
  auto* b = Add<TWinControl>(30, 0, 20, 20);
  auto* c = Add<TWinControl>(60, 0, 20, 20);
  auto* d = Add<TWinControl>(90, 0, 20, 20);
  for (auto* w : {a, b, c, d})
    w->SetTabStop(true);
  b->SetTabStop(false);
  c->SetVisible(false);
  EXPECT_EQ(host->FindNextControl(a, true, true, false), d);
  EXPECT_EQ(host->FindNextControl(d, true, true, false), a); // wraps
  EXPECT_EQ(host->FindNextControl(a, false, true, false), d);
  // The tab order can differ from the creation order.
  d->SetTabOrder(0);
  EXPECT_EQ(d->TabOrder(), 0);
  EXPECT_EQ(host->FindNextControl(nullptr, true, true, false), d);

  std::vector<std::string> order;
  a->OnEnter = [&](TObject*) { order.push_back("enter a"); };
  a->OnExit = [&](TObject*) { order.push_back("exit a"); };
  d->OnEnter = [&](TObject*) { order.push_back("enter d"); };
  a->SetFocus();
  EXPECT_TRUE(a->Focused());
  host->SelectNext(a, true, true);
  EXPECT_TRUE(d->Focused());
  EXPECT_EQ(order, (std::vector<std::string>{"enter a", "exit a", "enter d"}));
  // A control that cannot take the focus ignores SetFocus.
  c->SetFocus();
  EXPECT_TRUE(d->Focused());
}

TEST_F(ControlsTest, KeysGoToTheFocusedControl) {
  auto* a = Add<TWinControl>(0, 0, 20, 20);
  a->SetTabStop(true);
  std::vector<WORD> keys;
  std::u32string typed;
  a->OnKeyDown = [&](TObject*, WORD& k, TShiftState) { keys.push_back(k); };
  a->OnKeyPress = [&](TObject*, char32_t& ch) { typed += ch; };
  a->SetFocus();
  screen->Key('A');
  screen->Type("я");
  EXPECT_EQ(keys, (std::vector<WORD>{WORD('A')}));
  EXPECT_EQ(typed, U"я");
}

TEST_F(ControlsTest, AKeyHookSeesKeysBeforeTheFocusedControlAndMayUseThemUp) {
  auto* a = Add<TWinControl>(0, 0, 20, 20);
  a->SetTabStop(true);
  std::vector<WORD> keys;
  a->OnKeyDown = [&](TObject*, WORD& k, TShiftState) { keys.push_back(k); };
  a->SetFocus();
  std::vector<std::pair<HWND, WPARAM>> hooked;
  std::vector<WPARAM> later;
  const int first = AddKeyHook([&](HWND h, WPARAM key) {
    hooked.emplace_back(h, key);
    return key == VK_ESCAPE;
  });
  const int second = AddKeyHook([&](HWND, WPARAM key) {
    later.push_back(key);
    return false;
  });
  screen->Key('B');
  screen->Key(VK_ESCAPE);
  // Esc was used up by the first hook: neither the second nor the control
  // heard it.
  EXPECT_EQ(keys, (std::vector<WORD>{WORD('B')}));
  EXPECT_EQ(later, (std::vector<WPARAM>{WPARAM('B')}));
  EXPECT_EQ(hooked, (std::vector<std::pair<HWND, WPARAM>>{{a->Handle(), WPARAM('B')},
                                                          {a->Handle(), WPARAM(VK_ESCAPE)}}));
  // Removed, a hook hears nothing more.
  RemoveKeyHook(first);
  RemoveKeyHook(second);
  screen->Key(VK_ESCAPE);
  EXPECT_EQ(keys, (std::vector<WORD>{WORD('B'), WORD(VK_ESCAPE)}));
  EXPECT_EQ(hooked.size(), 2u);
  EXPECT_EQ(later.size(), 1u);
}

TEST_F(ControlsTest, DeletingAControlClearsEveryReferenceToIt) {
  auto* a = Add<TProbe>(10, 10, 50, 50);
  const POINT p = At(a, 5, 5);
  screen->MoveTo(p.x, p.y);
  screen->Press(p.x, p.y);
  ASSERT_EQ(GetMouseControl(), a);
  ASSERT_EQ(GetCaptureControl(), a);
  delete a;
  EXPECT_EQ(GetMouseControl(), nullptr);
  EXPECT_EQ(GetCaptureControl(), nullptr);
  EXPECT_EQ(host->ControlCount(), 0);
  screen->Release(p.x, p.y); // nothing left to reach
}

} // namespace
} // namespace zel::test

namespace zel::test {
namespace {

TEST_F(ControlsTest, TheCursorIsTheOneOfTheControlUnderTheMouse) {
  auto* a = Add<TProbe>(10, 10, 50, 50);
  a->SetCursor(crHandPoint);
  host->SetCursor(crCross);
  sys::POINT p = At(a, 5, 5);
  screen->MoveTo(p.x, p.y);
  EXPECT_EQ(screen->CursorShape(), sys::IDC_HAND);
  p = At(host.get(), 200, 200);
  screen->MoveTo(p.x, p.y);
  EXPECT_EQ(screen->CursorShape(), sys::IDC_CROSS);
}

} // namespace
} // namespace zel::test
