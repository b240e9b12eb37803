// Grids: cell rectangles, selection by mouse and keys, scrolling with the
// bar and the wheel and the top-left event, column sizing with its hook,
// and the value-list editor's keys and values.

#include "framework/stdctrls/Grids.h"
#include "framework/stdctrls/ScrollBar.h"
#include "framework/stdctrls/ValueListEditor.h"
#include "platform/user/ScrollBar.h"
#include "platform/user/SystemParams.h"
#include "tests/framework/stdctrls/StdCtrlsFixture.h"

namespace zel::test {
namespace {

using namespace sys;

// A value-list editor that counts the column-width reaction.
class TCountingEditor : public TValueListEditor {
  ZEL_CLASS(TCountingEditor, TValueListEditor)
public:
  using TValueListEditor::TValueListEditor;
  int widthChanges = 0;

protected:
  void ColWidthsChanged() override {
    TValueListEditor::ColWidthsChanged();
    ++widthChanges;
  }
};

class GridTest : public StdCtrlsTest {
protected:
  // The colour grid's settings: 181 x 100, columns 84 and 93, 20 pairs.
  void SetUp() override {
    StdCtrlsTest::SetUp();
    grid = Put<TCountingEditor>(4, 34, 181, 100);
    grid->SetDisplayOptions(TDisplayOptions{doColumnTitles});
    grid->SetDefaultColWidth(70);
    grid->SetColWidths(0, 84);
    grid->SetColWidths(1, 93);
    grid->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                                  goDrawFocusSelected, goColSizing, goThumbTracking});
    grid->TitleCaptions()->Clear();
    grid->TitleCaptions()->Add("Элемент");
    grid->TitleCaptions()->Add("Цвет");
    grid->Strings()->BeginUpdate();
    for (int i = 0; i < 20; ++i)
      grid->Strings()->Add("Key" + std::to_string(i) + "=Value" + std::to_string(i));
    grid->Strings()->EndUpdate();
    grid->OnTopLeftChanged = [this](TObject*) { ++topLefts; };
    grid->OnSelectCell = [this](TObject*, int c, int r, bool& can) {
      selects.push_back({c, r});
      can = !(c == 1 && r == 13); // one cell refuses
    };
    grid->widthChanges = 0;
    Pump();
  }
  TCountingEditor* grid = nullptr;
  int topLefts = 0;
  std::vector<std::pair<int, int>> selects;
};

TEST_F(GridTest, CellRectanglesFollowWidthsHeightsAndTheTopRow) {
  const int h = grid->DefaultRowHeight();
  EXPECT_EQ(grid->CellRect(0, 0), (RECT{0, 0, 84, h}));
  // The value column is cut by the scroll bar.
  EXPECT_EQ(grid->CellRect(1, 0), (RECT{85, 0, std::min(178, int(grid->GridRect().right)), h}));
  EXPECT_EQ(grid->CellRect(0, 1), (RECT{0, h + 1, 84, 2 * h + 1}));
  grid->SetTopRow(5);
  EXPECT_EQ(grid->CellRect(0, 1), (RECT{})); // scrolled away
  EXPECT_EQ(grid->CellRect(0, 5).top, h + 1);
  EXPECT_EQ(grid->CellRect(0, 0).top, 0); // the title row stays
  int col, row;
  ASSERT_TRUE(grid->MouseToCell(90, h + 2 + h, col, row));
  EXPECT_EQ(col, 1);
  EXPECT_EQ(row, 6);
  EXPECT_FALSE(grid->MouseToCell(-1, 5, col, row));
}

TEST_F(GridTest, VisibleRowsAndTheScrollBarFitTheClientArea) {
  const int h = grid->DefaultRowHeight();
  const int client = grid->ClientHeight();
  EXPECT_EQ(grid->VisibleRowCount(), (client - h - 1 + 1) / (h + 1));
  ASSERT_NE(grid->VertScrollBar(), nullptr);
  EXPECT_EQ(grid->VertScrollBar()->Bounds().Width(), GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(grid->GridRect().right, grid->ClientWidth() - GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(grid->RowCount(), 21);
  // Fewer pairs than fit: no bar, and an empty list keeps one empty row.
  grid->Strings()->Clear();
  EXPECT_EQ(grid->RowCount(), 2);
  EXPECT_EQ(grid->VertScrollBar()->Bounds().Width(), 0);
  EXPECT_EQ(grid->Keys(1), "");
}

TEST_F(GridTest, ClicksSelectValueCellsAndAskFirst) {
  const RECT r = grid->CellRect(1, 2);
  Click(grid, r.left + 5, r.top + 5);
  EXPECT_EQ(grid->Col(), 1);
  EXPECT_EQ(grid->Row(), 2);
  ASSERT_FALSE(selects.empty());
  EXPECT_EQ(selects.back(), (std::pair<int, int>{1, 2}));
  EXPECT_TRUE(grid->Focused());
  // A click on the current cell asks again.
  selects.clear();
  Click(grid, r.left + 5, r.top + 5);
  EXPECT_EQ(selects, (std::vector<std::pair<int, int>>{{1, 2}}));
  // A click on the title row selects nothing.
  const RECT t = grid->CellRect(0, 0);
  Click(grid, t.left + 20, t.top + 5);
  EXPECT_EQ(grid->Row(), 2);
}

TEST_F(GridTest, KeysMoveTheCurrentCellAndScrollIt) {
  grid->SetFocus();
  Pump();
  screen->Key(VK_DOWN);
  EXPECT_EQ(grid->Row(), 2);
  screen->Key(VK_RIGHT);
  EXPECT_EQ(grid->Col(), 1);
  const int page = grid->VisibleRowCount();
  screen->Key(VK_NEXT);
  EXPECT_EQ(grid->Row(), 2 + page);
  EXPECT_GT(grid->TopRow(), 1); // scrolled to keep it in view
  EXPECT_GE(topLefts, 1);
  EXPECT_LE(grid->Row(), grid->TopRow() + grid->VisibleRowCount() - 1);
  // The refusing cell stops the move.
  grid->SetRow(12);
  screen->Key(VK_DOWN);
  EXPECT_EQ(grid->Row(), 12);
  screen->Key(VK_LEFT);
  screen->Key(VK_DOWN);
  EXPECT_EQ(grid->Row(), 13);
  // Ctrl+End and Ctrl+Home reach the ends; Home the first column.
  screen->KeyDown(VK_CONTROL);
  screen->Key(VK_END);
  screen->KeyUp(VK_CONTROL);
  EXPECT_EQ(grid->Row(), 20);
  EXPECT_EQ(grid->TopRow() + grid->VisibleRowCount() - 1, 20);
  screen->KeyDown(VK_CONTROL);
  screen->Key(VK_HOME);
  screen->KeyUp(VK_CONTROL);
  EXPECT_EQ(grid->Row(), 1);
  EXPECT_EQ(grid->TopRow(), 1);
}

TEST_F(GridTest, WheelAndScrollBarMoveTheViewNotTheCurrentCell) {
  grid->SetRow(2);
  const POINT p = At(grid, 20, 40);
  screen->Wheel(p.x, p.y, -120);
  EXPECT_EQ(grid->TopRow(), 2);
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_EQ(topLefts, 1);
  screen->Wheel(p.x, p.y, 120);
  screen->Wheel(p.x, p.y, 120); // already at the top: no event
  EXPECT_EQ(grid->TopRow(), 1);
  EXPECT_EQ(topLefts, 2);
  // The bar's lower arrow, then its page area.
  TDrawnScrollBar* bar = grid->VertScrollBar();
  const RECT down = bar->PartRect(spLineDown);
  Click(grid, (down.left + down.right) / 2, (down.top + down.bottom) / 2);
  EXPECT_EQ(grid->TopRow(), 2);
  const RECT pageDown = bar->PartRect(spPageDown);
  Click(grid, (pageDown.left + pageDown.right) / 2, pageDown.bottom - 1);
  EXPECT_EQ(grid->TopRow(), 2 + grid->VisibleRowCount());
  // Far down, the view stops with the last row at the bottom.
  grid->SetTopRow(100);
  EXPECT_EQ(grid->TopRow() + grid->VisibleRowCount() - 1, 20);
  EXPECT_EQ(grid->Row(), 2);
}

TEST_F(GridTest, ThumbDraggingTracksLiveOnlyWithThumbTracking) {
  TDrawnScrollBar* bar = grid->VertScrollBar();
  RECT thumb = bar->PartRect(spThumb);
  const int x = (thumb.left + thumb.right) / 2;
  const POINT a = At(grid, x, thumb.top + 2);
  const POINT b = At(grid, x, bar->Bounds().bottom - 20);
  screen->Press(a.x, a.y);
  screen->MoveTo(b.x, b.y);
  EXPECT_GT(grid->TopRow(), 1); // followed while held
  screen->Release(b.x, b.y);
  const int tracked = grid->TopRow();
  grid->SetTopRow(1);
  grid->SetOptions(grid->Options() - goThumbTracking);
  thumb = bar->PartRect(spThumb);
  const POINT c = At(grid, x, thumb.top + 2);
  screen->Press(c.x, c.y);
  screen->MoveTo(b.x, b.y);
  EXPECT_EQ(grid->TopRow(), 1); // not yet
  screen->Release(b.x, b.y);
  EXPECT_EQ(grid->TopRow(), tracked);
}

TEST_F(GridTest, DraggingATitleLineSizesTheColumnAndTellsTheHook) {
  const int line = 84; // the right edge of column 0
  Drag(grid, line, 5, line + 20, 5);
  EXPECT_EQ(grid->ColWidths(0), 104);
  EXPECT_GT(grid->widthChanges, 0);
  EXPECT_EQ(grid->CellRect(1, 1).left, 105);
  // A data row's line is no handle.
  Drag(grid, 104, 40, 60, 40);
  EXPECT_EQ(grid->ColWidths(0), 104);
  // Without goColSizing nothing is sized.
  grid->SetOptions(grid->Options() - goColSizing);
  Drag(grid, 104, 5, 70, 5);
  EXPECT_EQ(grid->ColWidths(0), 104);
  EXPECT_EQ(grid->SizingColAt(104, 5), -1);
}

TEST_F(GridTest, KeysAndValuesReadTheStrings) {
  EXPECT_EQ(grid->Keys(1), "Key0");
  EXPECT_EQ(grid->Keys(20), "Key19");
  EXPECT_EQ(grid->Keys(0), "");
  EXPECT_EQ(grid->Keys(21), "");
  EXPECT_EQ(grid->Values("Key3"), "Value3");
  EXPECT_EQ(grid->Cells(0, 0), "Элемент");
  EXPECT_EQ(grid->Cells(1, 4), "Value3");
  grid->SetValues("Key3", "x");
  EXPECT_EQ(grid->Cells(1, 4), "x");
  grid->SetValues("New", "y"); // an unknown key is appended
  EXPECT_EQ(grid->RowCount(), 22);
  int row;
  ASSERT_TRUE(grid->FindRow("new", row));
  EXPECT_EQ(row, 21);
  grid->DeleteRow(21);
  EXPECT_FALSE(grid->FindRow("New", row));
  grid->SetKeys(1, "First");
  EXPECT_EQ(grid->Strings()->Get(0), "First=Value0");
}

TEST_F(GridTest, DrawCellSeesEveryVisibleCellWithItsState) {
  grid->SetRow(3);
  grid->SetCol(1);
  grid->SetFocus();
  std::vector<std::tuple<int, int, TGridDrawState>> cells;
  grid->OnDrawCell = [&](TObject*, int c, int r, const RECT&, TGridDrawState s) {
    cells.emplace_back(c, r, s);
  };
  grid->Repaint();
  Pump();
  int fixed = 0, selected = 0, focused = 0;
  for (auto& [c, r, s] : cells) {
    if (s.Contains(gdFixed)) {
      ++fixed;
      EXPECT_EQ(r, 0);
    }
    if (s.Contains(gdSelected)) {
      ++selected;
      EXPECT_EQ(std::make_pair(c, r), std::make_pair(1, 3));
    }
    if (s.Contains(gdFocused)) ++focused;
  }
  EXPECT_EQ(fixed, 2);
  EXPECT_EQ(selected, 1); // focus drawn as selected
  EXPECT_EQ(focused, 1);
  EXPECT_EQ(int(cells.size()), 2 * (1 + grid->VisibleRowCount() + 1)); // a partly shown row too
}

// A handler that frames its cells draws the frame on the grid lines around
// the cell; nothing it draws reaches further than those lines.
TEST_F(GridTest, ACellDrawsOnTheLinesAroundItAndNoFurther) {
  grid->OnDrawCell = [&](TObject*, int c, int r, const RECT& rect, TGridDrawState) {
    if (c != 0 || r != 2) return;
    TCanvas* canvas = grid->Canvas();
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(RECT{rect.left - 5, rect.top - 5, rect.right + 5, rect.bottom + 5});
  };
  grid->Repaint();
  Pump();
  const RECT cell = grid->CellRect(0, 2);
  auto probe = [&](int x, int y) {
    const POINT p = grid->ClientToScreen(POINT{x, y});
    return screen->ScreenPixel(p.x, p.y);
  };
  const COLORREF red = RGB(255, 0, 0);
  const int mid = (cell.top + cell.bottom) / 2;
  EXPECT_EQ(probe(cell.left + 3, cell.top - 1), red);    // the line above
  EXPECT_EQ(probe(cell.left + 3, cell.bottom), red);     // the line below
  EXPECT_EQ(probe(cell.right, mid), red);                // the line at the right
  EXPECT_NE(probe(cell.left + 3, cell.top - 2), red);    // the row above
  EXPECT_NE(probe(cell.left + 3, cell.bottom + 1), red); // the row below
  EXPECT_NE(probe(cell.right + 1, mid), red);            // the next column
}

TEST_F(GridTest, ExitIsReportedWhenTheFocusLeaves) {
  auto* other = Put<TValueListEditor>(250, 34, 100, 100);
  int exits = 0;
  grid->OnExit = [&](TObject*) { ++exits; };
  grid->SetFocus();
  Pump();
  other->SetFocus();
  Pump();
  EXPECT_EQ(exits, 1);
}

class StringGridTest : public StdCtrlsTest {};

TEST_F(StringGridTest, CellsKeepTheirTextsThroughResizing) {
  auto* g = Put<TStringGrid>(10, 10, 300, 150);
  g->SetCells(2, 3, "abc");
  g->SetCells(99, 99, "ignored");
  EXPECT_EQ(g->Cells(2, 3), "abc");
  EXPECT_EQ(g->Cells(99, 99), "");
  g->SetColCount(3);
  g->SetRowCount(10);
  EXPECT_EQ(g->Cells(2, 3), "abc");
  g->SetColCount(2);
  EXPECT_EQ(g->Cells(2, 3), "");
  EXPECT_EQ(g->Col(), 1);
}

} // namespace
} // namespace zel::test

namespace zel::test {
namespace {

class GridEdgeTest : public StdCtrlsTest {};

// Out-of-range arguments are taken in without harm, and a grid that
// shrinks under its current cell and view keeps both inside.
TEST_F(GridEdgeTest, ShrinkingAndBadArgumentsKeepTheGridWhole) {
  auto* g = Put<TStringGrid>(10, 10, 200, 120);
  g->SetRowCount(50);
  g->SetRow(45);
  EXPECT_GT(g->TopRow(), 1);
  g->SetRowCount(3);
  EXPECT_EQ(g->Row(), 2);
  EXPECT_EQ(g->TopRow(), 1);
  g->SetColWidths(-1, 10);
  g->SetColWidths(99, 10);
  g->SetColWidths(2, -5);
  EXPECT_EQ(g->ColWidths(2), 0);
  EXPECT_EQ(g->CellRect(99, 99), (sys::RECT{}));
  int col, row;
  EXPECT_FALSE(g->MouseToCell(5000, 5, col, row));
  g->SetBounds(10, 10, 0, 0); // nothing to draw into
  g->Repaint();
  Pump();
  EXPECT_EQ(g->VisibleRowCount(), 0);
  g->SetRowCount(0); // at least one row stays
  EXPECT_EQ(g->RowCount(), 1);
}

} // namespace
} // namespace zel::test
