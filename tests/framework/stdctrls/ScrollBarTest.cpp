// Framework-drawn scroll bars: the parts, arrows and pages with repeat,
// thumb dragging, and the bar as a control.

#include "framework/stdctrls/ScrollBar.h"
#include "framework/stdctrls/ValueListEditor.h"
#include "platform/user/ScrollBar.h"
#include "tests/framework/stdctrls/StdCtrlsFixture.h"

namespace zel::test {
namespace {

using namespace sys;

class ScrollBarTest : public StdCtrlsTest {};

TEST_F(ScrollBarTest, PartsTileTheBarAndTheThumbShowsThePage) {
  TDrawnScrollBar bar(sbVertical);
  bar.SetBounds(RECT{0, 0, 16, 200});
  bar.SetParams(0, 99, 25, 0);
  const RECT up = bar.PartRect(spLineUp), thumb = bar.PartRect(spThumb);
  const RECT page = bar.PartRect(spPageDown), down = bar.PartRect(spLineDown);
  EXPECT_EQ(up, (RECT{0, 0, 16, 16}));
  EXPECT_EQ(down, (RECT{0, 184, 16, 200}));
  EXPECT_EQ(thumb.top, 16);
  EXPECT_EQ(thumb.Height(), 168 / 4); // a quarter of the items in view
  EXPECT_EQ(page.top, thumb.bottom);
  EXPECT_EQ(page.bottom, down.top);
  EXPECT_EQ(bar.HitTest(POINT{8, 100}), spPageDown);
  bar.SetPosition(1000);
  EXPECT_EQ(bar.Position(), 75); // the last page
  EXPECT_EQ(bar.PartRect(spThumb).bottom, 184);
  EXPECT_EQ(bar.HitTest(POINT{8, 20}), spPageUp);
  EXPECT_EQ(bar.HitTest(POINT{30, 20}), spNone);
  // Nothing to scroll: no thumb to hit.
  bar.SetParams(0, 9, 25, 0);
  EXPECT_FALSE(bar.Enabled());
  EXPECT_EQ(bar.HitTest(POINT{8, 100}), spNone);
}

TEST_F(ScrollBarTest, HeldArrowRepeatsAndADragTracksTheThumb) {
  TDrawnScrollBar bar(sbHorizontal);
  bar.SetBounds(RECT{0, 0, 200, 16});
  bar.SetParams(0, 99, 10, 0);
  std::vector<WORD> codes;
  bar.OnScroll = [&](WORD code, int pos) {
    codes.push_back(code);
    if (code == SB_LINEDOWN) bar.SetPosition(bar.Position() + 1);
    if (code == SB_THUMBTRACK) bar.SetPosition(pos);
  };
  EXPECT_TRUE(bar.MouseDown(POINT{195, 8}));
  EXPECT_EQ(codes.size(), 1u);
  Wait(1000);
  EXPECT_GT(bar.Position(), 5);
  bar.MouseUp(POINT{195, 8});
  const int held = bar.Position();
  Wait(500);
  EXPECT_EQ(bar.Position(), held);
  EXPECT_EQ(codes.back(), SB_ENDSCROLL);
  const RECT thumb = bar.PartRect(spThumb);
  bar.MouseDown(POINT{thumb.left + 2, 8});
  bar.MouseMove(POINT{1000, 8});
  EXPECT_EQ(bar.Position(), bar.MaxPosition());
  bar.MouseUp(POINT{1000, 8});
  EXPECT_EQ(codes[codes.size() - 2], SB_THUMBPOSITION);
}

TEST_F(ScrollBarTest, TheControlStepsBySmallAndLargeChanges) {
  auto* sb = Put<TScrollBar>(10, 10, 200, 17);
  sb->SetParams(50, 0, 100);
  sb->SetLargeChange(10);
  int changes = 0;
  sb->OnChange = [&](TObject*) { ++changes; };
  Click(sb, 195, 8); // right arrow
  EXPECT_EQ(sb->Position(), 51);
  Click(sb, 4, 8);  // left arrow
  Click(sb, 20, 8); // page area left of the thumb
  EXPECT_EQ(sb->Position(), 40);
  EXPECT_EQ(changes, 3);
  sb->SetKind(sbVertical);
  EXPECT_EQ(sb->Width(), 17);
  EXPECT_EQ(sb->Height(), 200);
  sb->SetParams(500, 0, 100);
  EXPECT_EQ(sb->Position(), 100);
}

TEST_F(ScrollBarTest, ValueColumnFillsTheWidthTheKeyColumnLeaves) {
  auto* grid = Put<TValueListEditor>(10, 10, 300, 200);
  grid->SetColWidths(0, 100);
  grid->SetWidth(400);
  Pump();
  EXPECT_EQ(grid->ColWidths(0), 100);
  EXPECT_EQ(grid->ColWidths(1), grid->GridRect().Width() - 102);
  grid->SetDisplayOptions(TDisplayOptions{doColumnTitles});
  grid->SetWidth(300);
  Pump();
  EXPECT_EQ(grid->ColWidths(1), 400 - 4 - 102);
}

} // namespace
} // namespace zel::test
