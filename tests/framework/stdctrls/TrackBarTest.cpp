// The track bar by keys, clicks on the channel and thumb drags, counting
// OnChange.

#include "framework/stdctrls/TrackBar.h"
#include "tests/framework/stdctrls/StdCtrlsFixture.h"

namespace zel::test {
namespace {

using namespace sys;

class TrackBarTest : public StdCtrlsTest {
protected:
  void SetUp() override {
    StdCtrlsTest::SetUp();
    bar = Put<TTrackBar>(10, 10, 200, 40);
    bar->SetParams(24, 10, 32);
    bar->OnChange = [this](TObject*) { ++changes; };
    changes = 0;
    bar->SetFocus();
    Pump();
  }
  TTrackBar* bar = nullptr;
  int changes = 0;
};

TEST_F(TrackBarTest, KeysStepLineAndPageAndJumpToTheEnds) {
  screen->Key(VK_RIGHT);
  EXPECT_EQ(bar->Position(), 25);
  screen->Key(VK_LEFT);
  screen->Key(VK_UP);
  EXPECT_EQ(bar->Position(), 23);
  screen->Key(VK_NEXT);
  EXPECT_EQ(bar->Position(), 25);
  screen->Key(VK_PRIOR);
  EXPECT_EQ(bar->Position(), 23);
  screen->Key(VK_END);
  EXPECT_EQ(bar->Position(), 32);
  screen->Key(VK_RIGHT); // already at Max: nothing changes
  EXPECT_EQ(bar->Position(), 32);
  screen->Key(VK_HOME);
  EXPECT_EQ(bar->Position(), 10);
  EXPECT_EQ(changes, 7);
}

TEST_F(TrackBarTest, PositionStaysInRangeAndRangeChangesPullItIn) {
  bar->SetPosition(100);
  EXPECT_EQ(bar->Position(), 32);
  bar->SetMax(20);
  EXPECT_EQ(bar->Position(), 20);
  bar->SetMin(25); // Max follows Min up
  EXPECT_EQ(bar->Min(), 25);
  EXPECT_EQ(bar->Max(), 25);
  EXPECT_EQ(bar->Position(), 25);
  EXPECT_EQ(changes, 3);
}

TEST_F(TrackBarTest, PixelsAndPositionsMapBothWays) {
  for (int p = bar->Min(); p <= bar->Max(); ++p)
    EXPECT_EQ(bar->PixelToPosition(bar->PositionToPixel(p)), p);
  EXPECT_EQ(bar->PixelToPosition(-50), bar->Min());
  EXPECT_EQ(bar->PixelToPosition(5000), bar->Max());
  // The thumb's centre is where the position maps.
  const RECT t = bar->ThumbRect();
  EXPECT_NEAR((t.left + t.right) / 2, bar->PositionToPixel(24), 1);
}

TEST_F(TrackBarTest, ClickOnTheChannelPagesTowardsThePointerAndRepeatsWhileHeld) {
  const RECT ch = bar->ChannelRect();
  const int y = (ch.top + ch.bottom) / 2;
  Click(bar, ch.right - 3, y);
  EXPECT_EQ(bar->Position(), 26);
  EXPECT_EQ(changes, 1);
  Click(bar, ch.left + 3, y);
  EXPECT_EQ(bar->Position(), 24);
  // Held, it keeps paging until the thumb reaches the pointer.
  const POINT p = At(bar, ch.right - 3, y);
  screen->Press(p.x, p.y);
  EXPECT_EQ(bar->Position(), 26);
  Wait(2000);
  EXPECT_EQ(bar->Position(), 32);
  screen->Release(p.x, p.y);
  const int after = changes;
  Wait(1000);
  EXPECT_EQ(changes, after); // the repeat stopped with the release
}

TEST_F(TrackBarTest, DraggingTheThumbFollowsThePointerWithOneChangePerPosition) {
  const RECT t = bar->ThumbRect();
  const int cx = (t.left + t.right) / 2, cy = (t.top + t.bottom) / 2;
  Drag(bar, cx, cy, bar->PositionToPixel(30), cy, 6);
  EXPECT_EQ(bar->Position(), 30);
  EXPECT_EQ(changes, 6); // 25, 26, ..., 30 each once
  // Past the end it stops at Max.
  const RECT t2 = bar->ThumbRect();
  Drag(bar, (t2.left + t2.right) / 2, cy, 400, cy);
  EXPECT_EQ(bar->Position(), 32);
}

TEST_F(TrackBarTest, TicksFollowFrequencyAndStyle) {
  bar->SetParams(0, 0, 10);
  bar->SetFrequency(3);
  EXPECT_EQ(bar->TickPositions(), (std::vector<int>{0, 3, 6, 9, 10}));
  bar->SetTickStyle(tsManual);
  bar->SetTick(5);
  bar->SetTick(5);
  bar->SetTick(42); // outside: ignored
  EXPECT_EQ(bar->TickPositions(), (std::vector<int>{0, 5, 10}));
  bar->SetTickStyle(tsNone);
  EXPECT_TRUE(bar->TickPositions().empty());
}

TEST_F(TrackBarTest, VerticalBarTurnsAndMovesAlongItsHeight) {
  bar->SetOrientation(trVertical);
  EXPECT_EQ(bar->Width(), 40);
  EXPECT_EQ(bar->Height(), 200);
  const RECT t = bar->ThumbRect();
  EXPECT_GT(t.Height(), 0);
  EXPECT_LT(t.Height(), t.Width() + 1);
  const RECT ch = bar->ChannelRect();
  Click(bar, (ch.left + ch.right) / 2, ch.bottom - 3);
  EXPECT_EQ(bar->Position(), 26);
}

} // namespace
} // namespace zel::test
