// TCustomGrid: layout, painting, the current cell, scrolling and column
// sizing; TStringGrid's texts.

#include "framework/stdctrls/Grids.h"

#include <algorithm>

#include "framework/stdctrls/ScrollBar.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Input.h"
#include "platform/user/Paint.h"
#include "platform/user/ScrollBar.h"
#include "platform/user/SystemParams.h"

namespace zel {

using namespace sys;

namespace {
constexpr int kSizingZone = 2; // pixels on each side of a line that grab it

bool EmptyRect(const RECT& r) {
  return r.right <= r.left || r.bottom <= r.top;
}
} // namespace

void DrawCellText(TCanvas* c, const RECT& rect, const std::string& text) {
  RECT r = rect;
  r.left += 2;
  c->Brush()->SetStyle(bsClear);
  c->TextRect(r, text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
  // A cell handler that runs next finds the brush it expects.
  c->Brush()->SetStyle(bsSolid);
}

TCustomGrid::TCustomGrid(TComponent* owner)
    : TCustomControl(owner), FVBar(std::make_unique<TDrawnScrollBar>(sbVertical)),
      FHBar(std::make_unique<TDrawnScrollBar>(sbHorizontal)) {
  FControlStyle += csOpaque;
  FControlStyle -= csDoubleClicks;
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  FColWidths.assign(5, FDefaultColWidth);
  FRowHeights.assign(5, FDefaultRowHeight);
  for (bool vertical : {true, false}) {
    TDrawnScrollBar* bar = vertical ? FVBar.get() : FHBar.get();
    bar->OnInvalidate = [this] { Invalidate(); };
    bar->OnScroll = [this, vertical](WORD code, int pos) { Scrolled(vertical, code, pos); };
  }
  SetBounds(0, 0, 320, 120);
}

TCustomGrid::~TCustomGrid() = default;

void TCustomGrid::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  if (FBorderStyle == bsSingle) {
    if (Ctl3D())
      p.ExStyle |= WS_EX_CLIENTEDGE;
    else
      p.Style |= WS_BORDER;
  }
}

// ---- Shape ---------------------------------------------------------------------------

void TCustomGrid::SetColCount(int value) {
  value = std::max(value, 1);
  if (value == ColCount()) return;
  const int oldCols = ColCount();
  FColWidths.resize(size_t(value), FDefaultColWidth);
  FFixedCols = std::min(FFixedCols, value - 1 < 0 ? 0 : value - 1);
  FCol = std::clamp(FCol, FFixedCols, value - 1);
  FLeftCol = std::clamp(FLeftCol, FFixedCols, value - 1);
  SizeChanged(oldCols, RowCount());
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetRowCount(int value) {
  value = std::max(value, 1);
  if (value == RowCount()) return;
  const int oldRows = RowCount();
  FRowHeights.resize(size_t(value), FDefaultRowHeight);
  FFixedRows = std::min(FFixedRows, value - 1 < 0 ? 0 : value - 1);
  FRow = std::clamp(FRow, FFixedRows, value - 1);
  SizeChanged(ColCount(), oldRows);
  UpdateScrollBars();
  ClampTopLeft();
  Invalidate();
}

void TCustomGrid::SetFixedCols(int value) {
  value = std::clamp(value, 0, ColCount() - 1);
  if (value == FFixedCols) return;
  // The current cell and the view start again at the first scrolling column.
  FFixedCols = value;
  FCol = value;
  FLeftCol = value;
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetFixedRows(int value) {
  value = std::clamp(value, 0, RowCount() - 1);
  if (value == FFixedRows) return;
  FFixedRows = value;
  FRow = value;
  FTopRow = value;
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetDefaultColWidth(int value) {
  value = std::max(value, 0);
  FDefaultColWidth = value;
  std::fill(FColWidths.begin(), FColWidths.end(), value);
  ColWidthsChanged();
}

void TCustomGrid::SetDefaultRowHeight(int value) {
  value = std::max(value, 0);
  FDefaultRowHeight = value;
  std::fill(FRowHeights.begin(), FRowHeights.end(), value);
  RowHeightsChanged();
}

int TCustomGrid::ColWidths(int col) const {
  return col >= 0 && col < ColCount() ? FColWidths[size_t(col)] : FDefaultColWidth;
}

int TCustomGrid::RowHeights(int row) const {
  return row >= 0 && row < RowCount() ? FRowHeights[size_t(row)] : FDefaultRowHeight;
}

void TCustomGrid::SetColWidths(int col, int width) {
  if (col < 0 || col >= ColCount()) return;
  width = std::max(width, 0);
  if (FColWidths[size_t(col)] == width) return;
  FColWidths[size_t(col)] = width;
  ColWidthsChanged();
}

void TCustomGrid::SetRowHeights(int row, int height) {
  if (row < 0 || row >= RowCount()) return;
  height = std::max(height, 0);
  if (FRowHeights[size_t(row)] == height) return;
  FRowHeights[size_t(row)] = height;
  RowHeightsChanged();
}

void TCustomGrid::ColWidthsChanged() {
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::RowHeightsChanged() {
  UpdateScrollBars();
  ClampTopLeft();
  Invalidate();
}

void TCustomGrid::SetGridLineWidth(int value) {
  value = std::max(value, 0);
  if (value == FGridLineWidth) return;
  FGridLineWidth = value;
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions value) {
  if (value == FOptions) return;
  FOptions = value;
  Invalidate();
}

void TCustomGrid::SetFixedColor(TColor value) {
  if (value == FFixedColor) return;
  FFixedColor = value;
  Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle value) {
  if (value == FScrollBars) return;
  FScrollBars = value;
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetBorderStyle(TBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  if (HandleAllocated()) RecreateWnd();
}

// ---- Geometry --------------------------------------------------------------------------

RECT TCustomGrid::GridRect() {
  RECT r = ClientRect();
  const int w = GetSystemMetrics(SM_CXVSCROLL), h = GetSystemMetrics(SM_CYHSCROLL);
  if (!EmptyRect(FVBar->Bounds())) r.right -= w;
  if (!EmptyRect(FHBar->Bounds())) r.bottom -= h;
  return r;
}

// Fixed columns come first, then the scrolling ones from LeftCol.
int TCustomGrid::ColLeft(int col) {
  if (col < 0 || col >= ColCount()) return -1;
  if (col >= FFixedCols && col < FLeftCol) return -1;
  int x = 0;
  for (int c = 0; c < FFixedCols && c < col; ++c)
    x += FColWidths[size_t(c)] + FGridLineWidth;
  if (col >= FFixedCols)
    for (int c = FLeftCol; c < col; ++c)
      x += FColWidths[size_t(c)] + FGridLineWidth;
  return x;
}

int TCustomGrid::RowTop(int row) {
  if (row < 0 || row >= RowCount()) return -1;
  if (row >= FFixedRows && row < FTopRow) return -1;
  int y = 0;
  for (int r = 0; r < FFixedRows && r < row; ++r)
    y += FRowHeights[size_t(r)] + FGridLineWidth;
  if (row >= FFixedRows)
    for (int r = FTopRow; r < row; ++r)
      y += FRowHeights[size_t(r)] + FGridLineWidth;
  return y;
}

RECT TCustomGrid::CellRect(int col, int row) {
  const int x = ColLeft(col), y = RowTop(row);
  const RECT g = GridRect();
  if (x < 0 || y < 0 || x >= g.right || y >= g.bottom) return RECT{};
  return RECT{x, y, std::min(x + ColWidths(col), int(g.right)),
              std::min(y + RowHeights(row), int(g.bottom))};
}

bool TCustomGrid::MouseToCell(int x, int y, int& col, int& row) {
  col = row = -1;
  const RECT g = GridRect();
  if (x < 0 || y < 0 || x >= g.right || y >= g.bottom) return false;
  auto find = [](int p, int count, int fixed, int first, const std::vector<int>& sizes, int line) {
    int at = 0;
    for (int i = 0; i < count; ++i) {
      if (i == fixed) i = std::max(first, fixed);
      if (i >= count) break;
      at += sizes[size_t(i)] + line;
      if (p < at) return i;
    }
    return -1;
  };
  col = find(x, ColCount(), FFixedCols, FLeftCol, FColWidths, FGridLineWidth);
  row = find(y, RowCount(), FFixedRows, FTopRow, FRowHeights, FGridLineWidth);
  return col >= 0 && row >= 0;
}

int TCustomGrid::LastFullRow() {
  const int bottom = GridRect().bottom;
  int y = RowTop(FTopRow);
  if (y < 0) return FTopRow - 1;
  int last = FTopRow - 1;
  for (int r = FTopRow; r < RowCount(); ++r) {
    y += FRowHeights[size_t(r)];
    if (y > bottom) break;
    last = r;
    y += FGridLineWidth;
  }
  return last;
}

int TCustomGrid::VisibleRowCount() {
  return std::max(LastFullRow() - FTopRow + 1, 0);
}

int TCustomGrid::VisibleColCount() {
  const int right = GridRect().right;
  int x = ColLeft(FLeftCol);
  if (x < 0) return 0;
  int n = 0;
  for (int c = FLeftCol; c < ColCount(); ++c) {
    x += FColWidths[size_t(c)];
    if (x > right) break;
    ++n;
    x += FGridLineWidth;
  }
  return n;
}

int TCustomGrid::SizingColAt(int x, int y) {
  if (!FOptions.Contains(goColSizing)) return -1;
  // Only the lines of the fixed rows are handles.
  int fixedBottom = 0;
  for (int r = 0; r < FFixedRows; ++r)
    fixedBottom += FRowHeights[size_t(r)] + FGridLineWidth;
  if (y < 0 || y >= fixedBottom) return -1;
  for (int c = 0; c < ColCount(); ++c) {
    const int left = ColLeft(c);
    if (left < 0) continue;
    const int line = left + FColWidths[size_t(c)];
    if (x >= line - kSizingZone && x <= line + FGridLineWidth + kSizingZone - 1) return c;
  }
  return -1;
}

// ---- Scrolling -------------------------------------------------------------------------

// The bars appear when the scrolling rows or columns do not all fit.
void TCustomGrid::UpdateScrollBars() {
  const RECT client = ClientRect();
  const int bw = GetSystemMetrics(SM_CXVSCROLL), bh = GetSystemMetrics(SM_CYHSCROLL);
  auto total = [this](const std::vector<int>& sizes) {
    int t = 0;
    for (int s : sizes)
      t += s + FGridLineWidth;
    return t;
  };
  const bool wantV = FScrollBars == ssVertical || FScrollBars == ssBoth;
  const bool wantH = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
  bool showV = wantV && total(FRowHeights) > client.Height();
  bool showH = wantH && total(FColWidths) > client.Width() - (showV ? bw : 0);
  if (wantV && !showV && showH) showV = total(FRowHeights) > client.Height() - bh;
  FVBar->SetBounds(
      showV ? RECT{client.right - bw, client.top, client.right, client.bottom - (showH ? bh : 0)}
            : RECT{});
  FHBar->SetBounds(
      showH ? RECT{client.left, client.bottom - bh, client.right - (showV ? bw : 0), client.bottom}
            : RECT{});
  // The thumb covers the rows in view out of all scrolling rows.
  const int rows = RowCount() - FFixedRows;
  FVBar->SetParams(FFixedRows, FFixedRows + rows - 1, std::max(VisibleRowCount(), 1), FTopRow);
  const int cols = ColCount() - FFixedCols;
  FHBar->SetParams(FFixedCols, FFixedCols + cols - 1, std::max(VisibleColCount(), 1), FLeftCol);
}

// The view never scrolls further than the last rows filling it.
void TCustomGrid::ClampTopLeft() {
  const int bottom = GridRect().bottom;
  int fixedH = 0;
  for (int r = 0; r < FFixedRows; ++r)
    fixedH += FRowHeights[size_t(r)] + FGridLineWidth;
  int maxTop = RowCount() - 1, used = fixedH;
  for (int r = RowCount() - 1; r >= FFixedRows; --r) {
    used += FRowHeights[size_t(r)];
    if (used > bottom) break;
    maxTop = r;
    used += FGridLineWidth;
  }
  maxTop = std::max(maxTop, FFixedRows);
  const int top = std::clamp(FTopRow, FFixedRows, maxTop);
  if (top != FTopRow) MoveTopLeft(FLeftCol, top);
}

void TCustomGrid::MoveTopLeft(int left, int top) {
  left = std::clamp(left, FFixedCols, std::max(ColCount() - 1, FFixedCols));
  top = std::clamp(top, FFixedRows, std::max(RowCount() - 1, FFixedRows));
  if (left == FLeftCol && top == FTopRow) return;
  FLeftCol = left;
  FTopRow = top;
  UpdateScrollBars();
  Invalidate();
  TopLeftChanged();
}

void TCustomGrid::SetTopRow(int value) {
  MoveTopLeft(FLeftCol, value);
  ClampTopLeft();
}

void TCustomGrid::SetLeftCol(int value) {
  MoveTopLeft(value, FTopRow);
}

void TCustomGrid::TopLeftChanged() {
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TCustomGrid::Scrolled(bool vertical, WORD code, int position) {
  TDrawnScrollBar* bar = vertical ? FVBar.get() : FHBar.get();
  const int page = std::max(vertical ? VisibleRowCount() : VisibleColCount(), 1);
  int at = vertical ? FTopRow : FLeftCol;
  switch (code) {
  case SB_LINEUP:
    --at;
    break;
  case SB_LINEDOWN:
    ++at;
    break;
  case SB_PAGEUP:
    at -= page;
    break;
  case SB_PAGEDOWN:
    at += page;
    break;
  case SB_THUMBTRACK:
    // Without thumb tracking the view follows only when the thumb is let go.
    if (!FOptions.Contains(goThumbTracking)) return;
    at = position;
    break;
  case SB_THUMBPOSITION:
    at = position;
    break;
  default:
    return;
  }
  at = std::clamp(at, bar->Min(), bar->MaxPosition());
  if (vertical)
    SetTopRow(at);
  else
    SetLeftCol(at);
}

void TCustomGrid::Resize() {
  UpdateScrollBars();
  ClampTopLeft();
  TCustomControl::Resize();
}

// ---- The current cell ---------------------------------------------------------------

bool TCustomGrid::SelectCell(int col, int row) {
  bool can = true;
  if (OnSelectCell) OnSelectCell(this, col, row, can);
  return can;
}

void TCustomGrid::InvalidateCell(int col, int row) {
  if (!HandleAllocated()) return;
  const RECT r = CellRect(col, row);
  if (!EmptyRect(r)) InvalidateRect(Handle(), &r, FALSE);
}

void TCustomGrid::FocusCell(int col, int row, bool) {
  col = std::clamp(col, FFixedCols, ColCount() - 1);
  row = std::clamp(row, FFixedRows, RowCount() - 1);
  if (col == FCol && row == FRow) return;
  if (!SelectCell(col, row)) return;
  FCol = col;
  FRow = row;
  // Scrolled so that the cell is wholly in view.
  int top = FTopRow, left = FLeftCol;
  if (row < FTopRow)
    top = row;
  else if (row > LastFullRow()) {
    top = row;
    while (top > FFixedRows) {
      const int saved = FTopRow;
      FTopRow = top - 1;
      const bool fits = LastFullRow() >= row;
      FTopRow = saved;
      if (!fits) break;
      --top;
    }
  }
  // A column whose left edge shows counts as in view: scrolling a cut
  // column fully in would push the columns before it out.
  if (col < FLeftCol)
    left = col;
  else if (ColLeft(col) >= GridRect().right)
    left = col;
  MoveTopLeft(left, top);
  Invalidate();
}

// ---- Painting -----------------------------------------------------------------------------

void TCustomGrid::DrawCell(int col, int row, const RECT& rect, TGridDrawState state) {
  if (OnDrawCell) OnDrawCell(this, col, row, rect, state);
}

void TCustomGrid::Paint() {
  TCanvas* c = Canvas();
  const RECT client = ClientRect();
  const RECT grid = GridRect();
  c->Brush()->SetColor(Color());
  c->FillRect(grid);
  HDC dc = c->Handle();
  const bool focused = Focused();
  for (int row = 0; row < RowCount(); ++row) {
    const int y = RowTop(row);
    if (y < 0) continue;
    if (y >= grid.bottom) break;
    for (int col = 0; col < ColCount(); ++col) {
      const int x = ColLeft(col);
      if (x < 0) continue;
      if (x >= grid.right) break;
      const RECT cell{x, y, x + FColWidths[size_t(col)], y + FRowHeights[size_t(row)]};
      const bool fixed = col < FFixedCols || row < FFixedRows;
      TGridDrawState state;
      if (fixed) state += gdFixed;
      const bool current = col == FCol && row == FRow;
      const bool inRow = FOptions.Contains(goRowSelect) && row == FRow && !fixed;
      if (current && focused) state += gdFocused;
      // The current cell shows as selected, except while the grid has the
      // focus without goDrawFocusSelected: then it gets the focus frame.
      if (!fixed && (inRow || (current && (!focused || FOptions.Contains(goDrawFocusSelected)))))
        state += gdSelected;
      // The lines after the cell.
      const bool vline = fixed ? FOptions.Contains(goFixedVertLine) : FOptions.Contains(goVertLine);
      const bool hline = fixed ? FOptions.Contains(goFixedHorzLine) : FOptions.Contains(goHorzLine);
      c->Brush()->SetColor(fixed ? clBtnShadow : clSilver);
      if (vline && FGridLineWidth > 0)
        c->FillRect(
            RECT{cell.right, cell.top, cell.right + FGridLineWidth, cell.bottom + FGridLineWidth});
      if (hline && FGridLineWidth > 0)
        c->FillRect(RECT{cell.left, cell.bottom, cell.right + FGridLineWidth,
                         cell.bottom + FGridLineWidth});
      // The canvas lets go of its objects first, so that the saved state
      // holds none of them and they can be freed later.
      c->Refresh();
      SaveDC(dc);
      // A cell may draw on the grid lines around it (a handler that frames
      // its cells puts the frame there), never beyond them.  A cell's own
      // lines are painted just before it is drawn, so what it draws on a
      // line stays until a neighbour drawn later draws there too.
      IntersectClipRect(dc, cell.left - FGridLineWidth, cell.top - FGridLineWidth,
                        std::min(cell.right + FGridLineWidth, int(grid.right)),
                        std::min(cell.bottom + FGridLineWidth, int(grid.bottom)));
      c->Font()->Assign(Font());
      if (FDefaultDrawing) {
        c->Brush()->SetColor(fixed                        ? FFixedColor
                             : state.Contains(gdSelected) ? clHighlight
                                                          : Color());
        c->FillRect(cell);
        if (state.Contains(gdSelected)) c->Font()->SetColor(clHighlightText);
      }
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(fixed                        ? FFixedColor
                           : state.Contains(gdSelected) ? clHighlight
                                                        : Color());
      DrawCell(col, row, cell, state);
      c->Refresh();
      if (FDefaultDrawing && fixed && Ctl3D()) {
        // Fixed cells look raised.
        RECT e = cell;
        c->Pen()->SetColor(clBtnHighlight);
        c->MoveTo(e.left, e.bottom - 1);
        c->LineTo(e.left, e.top);
        c->LineTo(e.right, e.top);
      }
      if (FDefaultDrawing && current && focused && !FOptions.Contains(goDrawFocusSelected) &&
          !FOptions.Contains(goRowSelect) && !fixed) {
        c->Brush()->SetColor(Color());
        c->DrawFocusRect(cell);
      }
      RestoreDC(dc, -1);
      c->Refresh();
    }
  }
  // The corner between two bars.
  if (!EmptyRect(FVBar->Bounds()) && !EmptyRect(FHBar->Bounds())) {
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(RECT{FVBar->Bounds().left, FHBar->Bounds().top, client.right, client.bottom});
  }
  FVBar->Paint(c);
  FHBar->Paint(c);
}

// ---- Keys -----------------------------------------------------------------------------------

bool TCustomGrid::WantsKey(WORD key, TShiftState) {
  if (IsNavigationKey(key)) return true;
  switch (key) {
  case VK_TAB:
    return FOptions.Contains(goTabs);
  default:
    return false;
  }
}

void TCustomGrid::KeyDown(WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  const bool ctrl = shift.Contains(ssCtrl);
  const int page = std::max(VisibleRowCount(), 1);
  int col = FCol, row = FRow;
  switch (key) {
  case VK_UP:
    --row;
    break;
  case VK_DOWN:
    ++row;
    break;
  case VK_LEFT:
    --col;
    break;
  case VK_RIGHT:
    ++col;
    break;
  case VK_PRIOR:
    row -= page;
    break;
  case VK_NEXT:
    row += page;
    break;
  case VK_HOME:
    if (ctrl)
      row = FFixedRows;
    else
      col = FFixedCols;
    break;
  case VK_END:
    if (ctrl)
      row = RowCount() - 1;
    else
      col = ColCount() - 1;
    break;
  case VK_TAB:
    if (!FOptions.Contains(goTabs)) return;
    col += shift.Contains(ssShift) ? -1 : 1;
    break;
  default:
    return;
  }
  key = 0;
  FocusCell(std::clamp(col, FFixedCols, ColCount() - 1),
            std::clamp(row, FFixedRows, RowCount() - 1), true);
}

// ---- Mouse -------------------------------------------------------------------------------

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (CanFocus() && !Focused()) SetFocus();
  if (button == mbLeft) {
    const POINT p{x, y};
    for (TDrawnScrollBar* bar : {FVBar.get(), FHBar.get()})
      if (!EmptyRect(bar->Bounds()) && PtInRect(bar->Bounds(), p)) {
        if (bar->MouseDown(p)) FBarTracking = bar;
        TCustomControl::MouseDown(button, shift, x, y);
        return;
      }
    if (int c = SizingColAt(x, y); c >= 0) {
      FSizingCol = c;
      FSizingStartX = x;
      FSizingStartWidth = ColWidths(c);
    } else {
      int col, row;
      if (MouseToCell(x, y, col, row) && col >= FFixedCols && row >= FFixedRows) {
        // Every click asks, also one on the current cell: a handler that
        // puts an editor over the cell it allows brings the editor back.
        if (col == FCol && row == FRow)
          SelectCell(col, row);
        else
          FocusCell(col, row, true);
        FSelecting = true;
      }
    }
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y) {
  if (FBarTracking) {
    FBarTracking->MouseMove(POINT{x, y});
  } else if (FSizingCol >= 0) {
    SetColWidths(FSizingCol, std::max(FSizingStartWidth + x - FSizingStartX, 0));
  } else if (FSelecting) {
    int col, row;
    if (MouseToCell(x, y, col, row) && col >= FFixedCols && row >= FFixedRows)
      FocusCell(col, row, false);
  }
  TCustomControl::MouseMove(shift, x, y);
}

void TCustomGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    if (FBarTracking) FBarTracking->MouseUp(POINT{x, y});
    FBarTracking = nullptr;
    FSizingCol = -1;
    FSelecting = false;
  }
  TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomGrid::WndProc(TMessage& m) {
  switch (m.Msg) {
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
    Invalidate();
    break;
  case WM_MOUSEWHEEL: {
    // One row per notch, the current cell staying where it is.
    const int delta = short(HIWORD(m.WParam));
    const int notches = std::max(std::abs(delta) / 120, 1);
    SetTopRow(FTopRow + (delta > 0 ? -notches : notches));
    m.Result = 0;
    return;
  }
  case WM_SETCURSOR:
    if (LOWORD(uintptr_t(m.LParam)) == HTCLIENT) {
      POINT p;
      GetCursorPos(&p);
      p = ScreenToClient(p);
      if (FSizingCol >= 0 || SizingColAt(p.x, p.y) >= 0) {
        sys::SetCursor(LoadCursor(nullptr, CursorToIdc(crHSplit)));
        m.Result = 1;
        return;
      }
    }
    break;
  case WM_SIZE:
    TCustomControl::WndProc(m);
    UpdateScrollBars();
    ClampTopLeft();
    return;
  default:
    break;
  }
  TCustomControl::WndProc(m);
}

// ---- TStringGrid ---------------------------------------------------------------------------

TStringGrid::TStringGrid(TComponent* owner) : TDrawGrid(owner) {
  FCells.assign(size_t(RowCount()), std::vector<std::string>(size_t(ColCount())));
}

void TStringGrid::SizeChanged(int, int) {
  FCells.resize(size_t(RowCount()));
  for (auto& r : FCells)
    r.resize(size_t(ColCount()));
}

std::string TStringGrid::Cells(int col, int row) const {
  if (row < 0 || row >= int(FCells.size()) || col < 0 || col >= int(FCells[size_t(row)].size()))
    return "";
  return FCells[size_t(row)][size_t(col)];
}

void TStringGrid::SetCells(int col, int row, const std::string& text) {
  if (row < 0 || row >= int(FCells.size()) || col < 0 || col >= int(FCells[size_t(row)].size()))
    return;
  FCells[size_t(row)][size_t(col)] = text;
  InvalidateCell(col, row);
}

void TStringGrid::DrawCell(int col, int row, const RECT& rect, TGridDrawState state) {
  if (DefaultDrawing()) DrawCellText(Canvas(), rect, Cells(col, row));
  TDrawGrid::DrawCell(col, row, rect, state);
}

} // namespace zel
