// The colour property grid: its rows per colour-map class, colour names,
// swatch frames and framed keys on the screen, and the in-place colour
// editor's round trip, guards and hiding.

#include "framework/core/Properties.h"
#include "tests/colormap/ColorMapFixture.h"

namespace zel::test {
namespace {

class ColorGridTest : public ColorMapTest {
protected:
  void SetUp() override {
    ColorMapTest::SetUp();
    Connect();
    ClickOn(frame->SpeedButtonZel2); // the XP map
    grid = frame->ValueListEditor1;
  }
  int RowOf(const std::string& key) {
    int row = -1;
    grid->FindRow(key, row);
    return row;
  }
  // Clicks the value cell of a row, as a person opens the colour editor,
  // scrolling it into view first.
  void ClickValue(int row) {
    if (row < grid->TopRow() || row >= grid->TopRow() + grid->VisibleRowCount()) {
      grid->SetTopRow(row);
      app->ProcessMessages();
    }
    const sys::RECT r = grid->CellRect(1, row);
    ClickAt(grid, r.left + 10, (r.top + r.bottom) / 2);
  }
  // Chooses a colour in the open editor as a person does.
  void Choose(TColorBox* box, TColor color) {
    for (int i = 1; i < box->Items()->Count(); ++i)
      if (box->Colors(i) == color) {
        box->ChooseItem(i);
        app->ProcessMessages();
        return;
      }
    FAIL() << "colour not listed";
  }
  TValueListEditor* grid = nullptr;
};

// Twenty rows per class, in the order the class declares its colours.
TEST_F(ColorGridTest, EveryColourOfTheMapHasARowInDeclarationOrder) {
  struct Case {
    TSpeedButtonZel* button;
    TCustomActionBarColorMap* map;
    const char* first;
    const char* last;
  };
  const Case cases[] = {
      {frame->SpeedButtonZel2, frame->XPColorMap1, "ShadowColor", "UnusedColor"},
      {frame->SpeedButtonZel1, frame->StandardColorMap1, "HighlightColor", "ShadowColor"},
      {frame->SpeedButtonZel3, frame->TwilightColorMap1, "Color", "UnusedColor"}};
  for (const Case& c : cases) {
    ClickOn(c.button);
    ASSERT_EQ(grid->RowCount(), 21);
    EXPECT_EQ(grid->Keys(1), c.first);
    EXPECT_EQ(grid->Keys(20), c.last);
    const std::vector<const TPropInfo*> props = ColorProperties(*c.map);
    ASSERT_EQ(props.size(), 20u);
    for (int r = 1; r <= 20; ++r) {
      const TPropInfo* p = props[size_t(r - 1)];
      EXPECT_EQ(grid->Keys(r), p->Name);
      EXPECT_EQ(grid->Cells(1, r), frame->ColorName(TColor(GetOrdProp(*c.map, *p))));
    }
  }
}

TEST_F(ColorGridTest, ColoursAreNamedAndWrittenByName) {
  struct Case {
    TColor color;
    const char* name;
  };
  const Case cases[] = {
      {0xC66931, "$00C66931"},
      {clBtnFace, "Поверхность кнопки"},
      {clRed, "Красный"},
      {clNone, "Нет"},
      {clDefault, "По умолчанию"},
      {0x000001, "$00000001"},
      {TColor(0xFF0000FF), "$FF0000FF"}, // a system colour the box does not list
  };
  for (const Case& c : cases)
    EXPECT_EQ(frame->ColorName(c.color), c.name) << std::hex << c.color;
  // The custom entry is never taken as a name, whatever colour it holds.
  frame->cbStart->SetSelected(0x123456);
  EXPECT_EQ(frame->ColorName(0x123456), "$00123456");
  EXPECT_EQ(grid->Cells(1, RowOf("BtnFrameColor")), "$00C66931");

  // Written by name, ignoring case; other names are ignored.
  TCustomActionBarColorMap* map = frame->XPColorMap1;
  frame->SetColorByName("hotcolor", clLime, map);
  EXPECT_EQ(map->HotColor(), clLime);
  frame->SetColorByName("НетТакого", clRed, map); // ignored
  frame->SetColorByName("Tag", 5, map);           // not a colour: ignored
  EXPECT_EQ(map->Tag(), 0);
  frame->SetColorByName("HotColor", clRed, nullptr); // no map: nothing
  EXPECT_EQ(map->HotColor(), clLime);
}

TEST(SwatchFrameColorTest, LightColoursGetBlackDarkSelectedOnesWhite) {
  struct Case {
    TColor color;
    bool selected;
    TColor frame;
  };
  const Case cases[] = {
      {clWhite, false, clBlack}, {clWhite, true, clBlack},    {0x0000C1, false, clBlack},
      {0x00C100, true, clBlack}, {0xC10000, false, clBlack},  {clNavy, true, clWhite},
      {clNavy, false, clNavy},   {0xC0C0C0, false, 0xC0C0C0}, // 192 is not above 192
      {0xC0C0C0, true, clWhite},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SwatchFrameColor(c.color, c.selected ? TGridDrawState{gdSelected} : TGridDrawState{}),
              c.frame)
        << std::hex << c.color;
}

// On the screen: a white swatch framed in black, a navy one framed in white
// while its cell is selected and not at all otherwise, and each key framed
// whole in the text colour.
TEST_F(ColorGridTest, SwatchesAndKeysAreFramedOnTheScreen) {
  TCustomActionBarColorMap* map = frame->XPColorMap1;
  map->SetHotColor(clNavy);
  map->SetDisabledFontShadow(clWhite);
  frame->RefreshFrame();
  Settle();
  auto swatch = [&](int row) {
    const sys::RECT r = grid->CellRect(1, row);
    return sys::RECT{r.left + 3, r.top + 2, r.left + r.Height() - 1, r.bottom - 2};
  };
  const int white = RowOf("DisabledFontShadow"), navy = RowOf("HotColor");
  ASSERT_LT(navy, grid->TopRow() + grid->VisibleRowCount());
  sys::RECT s = swatch(white);
  EXPECT_EQ(Pixel(grid, s.left, s.top), clBlack);
  EXPECT_EQ(Pixel(grid, s.left + 3, s.top + 3), clWhite);
  s = swatch(navy);
  EXPECT_EQ(Pixel(grid, s.left, s.top), clNavy); // no frame to see
  ClickValue(navy);
  frame->ValueListEditor1->SetFocus(); // the box aside, the cell drawn selected
  frame->ColorEditor()->Hide();
  grid->Repaint();
  app->ProcessMessages();
  EXPECT_EQ(Pixel(grid, s.left, s.top), clWhite);
  EXPECT_EQ(Pixel(grid, s.left + 3, s.top + 3), clNavy);
  Picture("colormap-grid-swatches");

  // The key frame: its top, right and bottom lines on the cell's edges and
  // the grid lines around it, inside the button face.
  const sys::RECT k = grid->CellRect(0, RowOf("Color")); // a short key
  const int mid = (k.top + k.bottom) / 2;
  EXPECT_EQ(Pixel(grid, k.left + 20, k.top - 1), clBlack);
  EXPECT_EQ(Pixel(grid, k.left + 20, k.bottom), clBlack);
  EXPECT_EQ(Pixel(grid, k.right - 1, mid), clBlack);
  EXPECT_EQ(Pixel(grid, k.right - 2, mid), ColorToRGB(clBtnFace));
}

TEST_F(ColorGridTest, AnEditWritesTheMapAndKeepsTheBoxOnItsRow) {
  TCustomActionBarColorMap* map = frame->XPColorMap1;
  const int row = RowOf("SelectedColor");
  ClickValue(row);
  TColorBox* box = frame->ColorEditor();
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(box->Visible());
  EXPECT_EQ(box->Selected(), map->SelectedColor()); // synchronised with the map
  const sys::RECT cell = grid->CellRect(1, row);
  const sys::POINT at = box->ClientToScreen(sys::POINT{0, 0});
  EXPECT_EQ(at.x, grid->ClientToScreen(sys::POINT{cell.left, 0}).x - 1);
  EXPECT_EQ(at.y, grid->ClientToScreen(sys::POINT{0, cell.top}).y - 2);
  const TColor barColor = controlBar->Color();

  Choose(box, clRed);
  EXPECT_EQ(map->SelectedColor(), clRed);
  EXPECT_EQ(grid->Row(), row); // scrolled down to it, the view kept
  EXPECT_GT(grid->TopRow(), 1);
  EXPECT_EQ(grid->Cells(1, row), "Красный");
  EXPECT_TRUE(box->Visible());
  EXPECT_TRUE(box->Focused());
  EXPECT_EQ(box->ClientToScreen(sys::POINT{0, 0}).y, at.y);
  EXPECT_EQ(controlBar->Color(), barColor); // only Color goes to the bars at once

  // Color itself reaches the control bar and the bar.
  const int colorRow = RowOf("Color");
  ClickValue(colorRow);
  Choose(box, clYellow);
  EXPECT_EQ(map->Color(), clYellow);
  EXPECT_EQ(controlBar->Color(), clYellow);
  EXPECT_EQ(toolBar->Color(), clYellow);
  EXPECT_EQ(grid->Row(), colorRow);
  EXPECT_TRUE(box->Focused());
}

TEST_F(ColorGridTest, TheBoxHidesWhenItsCellLeavesTheViewOrTheFocusGoes) {
  const int row = RowOf("FontColor");
  ClickValue(row);
  TColorBox* box = frame->ColorEditor();
  ASSERT_TRUE(box->Visible());
  // Scrolled away, below and above, then back.
  grid->SetTopRow(row + 1);
  EXPECT_FALSE(box->Visible());
  grid->SetTopRow(1);
  EXPECT_TRUE(box->Visible());
  // A sized column moves the box with its cell.
  grid->SetColWidths(0, 60);
  EXPECT_EQ(box->Left(), grid->Left() + 2 + grid->CellRect(1, row).left - 1);
  // The focus going to another control hides it; back in the grid it stays.
  box->SetFocus();
  frame->cbEnd->SetFocus();
  EXPECT_FALSE(box->Visible());
  ClickValue(row);
  EXPECT_TRUE(box->Visible());
  // A key cell hides it.
  const sys::RECT key = grid->CellRect(0, row);
  ClickAt(grid, key.left + 10, key.top + 5);
  EXPECT_EQ(grid->Col(), 0);
  EXPECT_FALSE(box->Visible());
  // A refresh hides it too.
  ClickValue(row);
  frame->RefreshFrame();
  EXPECT_FALSE(box->Visible());
}

} // namespace
} // namespace zel::test
