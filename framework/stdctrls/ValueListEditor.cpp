// TValueListEditor: the pairs, their rows and their drawing.

#include "framework/stdctrls/ValueListEditor.h"

#include <algorithm>

#include "framework/core/StrUtils.h"

namespace zel {

using namespace sys;

TValueListEditor::TValueListEditor(TComponent* owner)
    : TDrawGrid(owner), FStrings(std::make_unique<TStringList>()),
      FTitleCaptions(std::make_unique<TStringList>()) {
  FTitleCaptions->Add("Ключ");
  FTitleCaptions->Add("Значение");
  FTitleCaptions->OnChange = [this](TObject*) { Invalidate(); };
  FStrings->OnChange = [this](TObject*) { StringsChanged(); };
  SetColCount(2);
  SetFixedCols(0);
  SetRowCount(2);
  SetFixedRows(1);
  SetScrollBars(ssVertical);
  SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goColSizing,
                          goEditing, goAlwaysShowEditor, goThumbTracking});
  SetDefaultRowHeight(18);
  SetBounds(Left(), Top(), 306, 300);
  SetColWidths(0, 150);
  AdjustColWidths();
}

TValueListEditor::~TValueListEditor() {
  FStrings->OnChange = nullptr;
}

void TValueListEditor::SetDisplayOptions(TDisplayOptions value) {
  if (value == FDisplayOptions) return;
  FDisplayOptions = value;
  AdjustColWidths();
  Invalidate();
}

// The rows follow the list: one per pair, at least one, under the title.
void TValueListEditor::StringsChanged() {
  SetRowCount(std::max(FStrings->Count(), 1) + FixedRows());
  Invalidate();
}

// With doAutoColResize the value column takes the width the key column
// leaves, so the grid never shows an empty strip or cuts the values.
void TValueListEditor::AdjustColWidths() {
  if (!FDisplayOptions.Contains(doAutoColResize)) return;
  const int width = GridRect().Width();
  SetColWidths(1, std::max(width - ColWidths(0) - 2 * GridLineWidth(), 0));
}

void TValueListEditor::Resize() {
  TDrawGrid::Resize();
  AdjustColWidths();
}

std::string TValueListEditor::Keys(int row) const {
  const int i = row - FixedRows();
  return i >= 0 && i < FStrings->Count() ? FStrings->Names(i) : "";
}

void TValueListEditor::SetKeys(int row, const std::string& key) {
  const int i = row - FixedRows();
  if (i < 0 || i >= FStrings->Count()) return;
  FStrings->Put(i, key + "=" + FStrings->ValueFromIndex(i));
}

void TValueListEditor::SetValues(const std::string& key, const std::string& value) {
  int row;
  if (FindRow(key, row))
    FStrings->SetValueFromIndex(row - FixedRows(), value);
  else
    InsertRow(key, value, true);
}

std::string TValueListEditor::Cells(int col, int row) const {
  if (row < FixedRows())
    return col >= 0 && col < FTitleCaptions->Count() ? FTitleCaptions->Get(col) : "";
  const int i = row - FixedRows();
  if (i < 0 || i >= FStrings->Count()) return "";
  return col == 0 ? FStrings->Names(i) : FStrings->ValueFromIndex(i);
}

int TValueListEditor::InsertRow(const std::string& key, const std::string& value, bool append) {
  const std::string entry = key + "=" + value;
  int index = FStrings->Count();
  if (append)
    FStrings->Add(entry);
  else {
    index = std::clamp(Row() - FixedRows(), 0, FStrings->Count());
    FStrings->Insert(index, entry);
  }
  return index + FixedRows();
}

void TValueListEditor::DeleteRow(int row) {
  const int i = row - FixedRows();
  if (i >= 0 && i < FStrings->Count()) FStrings->Delete(i);
}

bool TValueListEditor::FindRow(const std::string& key, int& row) const {
  const int i = FStrings->IndexOfName(key);
  row = i >= 0 ? i + FixedRows() : -1;
  return i >= 0;
}

void TValueListEditor::DrawCell(int col, int row, const RECT& rect, TGridDrawState state) {
  if (DefaultDrawing()) DrawCellText(Canvas(), rect, Cells(col, row));
  TDrawGrid::DrawCell(col, row, rect, state);
}

} // namespace zel
