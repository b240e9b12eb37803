#pragma once
// Grids: TCustomGrid lays out columns and rows (fixed ones at the top and
// left, the rest scrolling), draws lines and cells, keeps a current cell
// (Col, Row) chosen by mouse and keys, scrolls with framework-drawn scroll
// bars and the wheel, and lets the person size columns by dragging the
// lines of the fixed rows.  TDrawGrid hands cell painting and selection to
// events; TStringGrid keeps a text per cell.

#include <memory>
#include <string>
#include <vector>

#include "framework/controls/CustomControl.h"
#include "framework/core/Strings.h"
#include "framework/stdctrls/StdCtrlTypes.h"

namespace zel {

class TDrawnScrollBar;

enum TGridOption {
  goFixedVertLine,
  goFixedHorzLine,
  goVertLine,
  goHorzLine,
  goRangeSelect,
  goDrawFocusSelected,
  goRowSizing,
  goColSizing,
  goRowMoving,
  goColMoving,
  goEditing,
  goTabs,
  goRowSelect,
  goAlwaysShowEditor,
  goThumbTracking
};
using TGridOptions = TSet<TGridOption>;

enum TGridDrawStateFlag { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateFlag>;

using TDrawCellEvent = std::function<void(TObject* sender, int col, int row, const sys::RECT& rect,
                                          TGridDrawState state)>;
using TSelectCellEvent = std::function<void(TObject* sender, int col, int row, bool& canSelect)>;

class TCustomGrid : public TCustomControl {
  ZEL_CLASS(TCustomGrid, TCustomControl)
public:
  explicit TCustomGrid(TComponent* owner);
  ~TCustomGrid() override;
  static void DeclareProperties(TPropertyTable<TCustomGrid>& t);

  void WndProc(TMessage& message) override;

  // ---- Shape --------------------------------------------------------------------
  int ColCount() const { return int(FColWidths.size()); }
  void SetColCount(int value);
  int RowCount() const { return int(FRowHeights.size()); }
  void SetRowCount(int value);
  int FixedCols() const { return FFixedCols; }
  void SetFixedCols(int value);
  int FixedRows() const { return FFixedRows; }
  void SetFixedRows(int value);
  int DefaultColWidth() const { return FDefaultColWidth; }
  // Gives every column this width.
  void SetDefaultColWidth(int value);
  int DefaultRowHeight() const { return FDefaultRowHeight; }
  void SetDefaultRowHeight(int value);
  int ColWidths(int col) const;
  void SetColWidths(int col, int width);
  int RowHeights(int row) const;
  void SetRowHeights(int row, int height);
  int GridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(int value);
  TGridOptions Options() const { return FOptions; }
  void SetOptions(TGridOptions value);
  TColor FixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);
  bool DefaultDrawing() const { return FDefaultDrawing; }
  void SetDefaultDrawing(bool value) { FDefaultDrawing = value; }

  // ---- The current cell and the view ----------------------------------------------
  int Col() const { return FCol; }
  void SetCol(int value) { FocusCell(value, FRow, true); }
  int Row() const { return FRow; }
  void SetRow(int value) { FocusCell(FCol, value, true); }
  int TopRow() const { return FTopRow; }
  void SetTopRow(int value);
  int LeftCol() const { return FLeftCol; }
  void SetLeftCol(int value);
  // Scrolling rows and columns wholly in view from TopRow / LeftCol.
  int VisibleRowCount();
  int VisibleColCount();

  // ---- Geometry --------------------------------------------------------------------------
  // The cell's rectangle in client coordinates; empty when it is out of view.
  sys::RECT CellRect(int col, int row);
  // The cell under a client point; false when there is none.
  bool MouseToCell(int x, int y, int& col, int& row);
  // The area cells are drawn in (the client area less the scroll bars).
  sys::RECT GridRect();
  TDrawnScrollBar* VertScrollBar() const { return FVBar.get(); }
  TDrawnScrollBar* HorzScrollBar() const { return FHBar.get(); }
  // The column whose right line is at x within the fixed rows (sizing), or -1.
  int SizingColAt(int x, int y);

  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;
  TNotifyEvent OnTopLeftChanged;

protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void KeyDown(sys::WORD& key, TShiftState shift) override;
  bool WantsKey(sys::WORD key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Resize() override;

  // Draws one cell; the default draws nothing more than the background the
  // grid has filled.
  virtual void DrawCell(int col, int row, const sys::RECT& rect, TGridDrawState state);
  // Whether the cell may become current.
  virtual bool SelectCell(int col, int row);
  virtual void TopLeftChanged();
  // A column width changed (by the person or by code).
  virtual void ColWidthsChanged();
  virtual void RowHeightsChanged();
  // ColCount or RowCount changed.
  virtual void SizeChanged(int oldColCount, int oldRowCount) {}
  // Makes (col, row) current when SelectCell allows it, scrolling it into view.
  void FocusCell(int col, int row, bool moveAnchor);
  void InvalidateCell(int col, int row);
  void InvalidateGrid() { Invalidate(); }

private:
  void UpdateScrollBars();
  void ClampTopLeft();
  void MoveTopLeft(int left, int top);
  void Scrolled(bool vertical, sys::WORD code, int position);
  int LastFullRow();    // from TopRow
  int ColLeft(int col); // -1 when out of view
  int RowTop(int row);

  std::vector<int> FColWidths;
  std::vector<int> FRowHeights;
  int FFixedCols = 1, FFixedRows = 1;
  int FDefaultColWidth = 64, FDefaultRowHeight = 24;
  int FGridLineWidth = 1;
  TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  TColor FFixedColor = clBtnFace;
  TScrollStyle FScrollBars = ssBoth;
  TBorderStyle FBorderStyle = bsSingle;
  bool FDefaultDrawing = true;
  int FCol = 1, FRow = 1, FTopRow = 1, FLeftCol = 1;
  std::unique_ptr<TDrawnScrollBar> FVBar, FHBar;
  TDrawnScrollBar* FBarTracking = nullptr;
  int FSizingCol = -1;
  int FSizingStartX = 0, FSizingStartWidth = 0;
  bool FSelecting = false;
};

class TDrawGrid : public TCustomGrid {
  ZEL_CREATABLE_CLASS(TDrawGrid, TCustomGrid)
public:
  using TCustomGrid::TCustomGrid;
};

// A grid with a text per cell, drawn left-aligned with a small margin.
class TStringGrid : public TDrawGrid {
  ZEL_CREATABLE_CLASS(TStringGrid, TDrawGrid)
public:
  explicit TStringGrid(TComponent* owner);
  std::string Cells(int col, int row) const;
  void SetCells(int col, int row, const std::string& text);

protected:
  void DrawCell(int col, int row, const sys::RECT& rect, TGridDrawState state) override;
  void SizeChanged(int oldColCount, int oldRowCount) override;

private:
  std::vector<std::vector<std::string>> FCells; // [row][col]
};

// Draws text into a cell the way the grids do: left, vertically centred,
// two pixels in.
void DrawCellText(TCanvas* canvas, const sys::RECT& rect, const std::string& text);

} // namespace zel
