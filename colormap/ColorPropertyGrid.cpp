// The colour property grid: the colour list read through the map's
// published properties, the rows, the cell drawing with swatches and
// framed keys, and the in-place colour editor with its round trip.

#include "colormap/ColorPropertyGrid.h"

#include <memory>

#include "colormap/UnitFrameColorMap.h"
#include "framework/actnbars/ActnColorMaps.h"
#include "framework/core/StrUtils.h"
#include "framework/stdctrls/ColorBox.h"

namespace zel {

namespace {

TColor EntryColor(const TStringList& list, int index) {
  return TColor(int32_t(list.Data(index)));
}

// Clears a flag however the scope is left.
class TFlagGuard {
public:
  explicit TFlagGuard(bool& flag) : FFlag(flag) { FFlag = true; }
  ~TFlagGuard() { FFlag = false; }
  TFlagGuard(const TFlagGuard&) = delete;
  TFlagGuard& operator=(const TFlagGuard&) = delete;

private:
  bool& FFlag;
};

} // namespace

std::vector<const TPropInfo*> ColorProperties(const TObject& object) {
  std::vector<const TPropInfo*> out;
  for (const TPropInfo* p : GetPropList(object))
    if (p->IsOrdinal() && UpperCase(p->TypeName) == "TCOLOR") out.push_back(p);
  return out;
}

TColor SwatchFrameColor(TColor c, TGridDrawState state) {
  const uint32_t rgb = uint32_t(c);
  const bool light = (rgb & 0xFF) > 192 || ((rgb >> 8) & 0xFF) > 192 || ((rgb >> 16) & 0xFF) > 192;
  if (light) return clBlack;
  if (state.Contains(gdSelected)) return clWhite;
  return c;
}

namespace UnitFrameColorMap {

// A sized column moves the cells: the colour editor follows its cell.
void TValueListEditor::ColWidthsChanged() {
  zel::TValueListEditor::ColWidthsChanged();
  auto* frame = dynamic_cast<TFrameColorMap*>(Owner());
  if (frame && frame->ColorEditor() && frame->ColorEditor()->Visible())
    frame->ShowColorEditor(Col(), Row());
}

} // namespace UnitFrameColorMap

// ---- The colour list ------------------------------------------------------------------------

void TFrameColorMap::BuildColorList(std::unique_ptr<TStringList>& list,
                                    TCustomActionBarColorMap* map) {
  if (!map) map = CurrentColorMap();
  if (!map) {
    list.reset();
    return;
  }
  if (list)
    list->Clear();
  else
    list = std::make_unique<TStringList>();
  for (const TPropInfo* p : ColorProperties(*map))
    list->AddData(p->Name, intptr_t(int32_t(GetOrdProp(*map, *p))));
}

std::string TFrameColorMap::ColorName(TColor c) {
  // Entry 0 is the custom colour, whatever colour it holds.
  for (int i = 1; i < cbStart->Items()->Count(); ++i)
    if (cbStart->Colors(i) == c) return cbStart->ColorNames(i);
  return "$" + IntToHex(int64_t(uint32_t(c)), 8);
}

void TFrameColorMap::SetColorByName(const std::string& name, TColor c,
                                    TCustomActionBarColorMap* map) {
  if (!map) return;
  for (const TPropInfo* p : ColorProperties(*map))
    if (AnsiSameText(p->Name, name)) {
      SetOrdProp(*map, *p, c);
      return;
    }
}

// One row per list entry: the name, and the colour's name as the value.
void TFrameColorMap::RebuildRows() {
  TStrings* rows = ValueListEditor1->Strings();
  rows->BeginUpdate();
  try {
    rows->Clear();
    if (FColorList)
      for (int i = 0; i < FColorList->Count(); ++i)
        rows->Add(FColorList->Get(i) + "=" + ColorName(EntryColor(*FColorList, i)));
  } catch (...) {
    rows->EndUpdate();
    throw;
  }
  rows->EndUpdate();
}

// ---- Drawing ----------------------------------------------------------------------------------

void TFrameColorMap::ValueListEditor1DrawCell(TObject*, int col, int row, const sys::RECT& rect,
                                              TGridDrawState state) {
  if (row == 0) return; // the titles are the grid's own
  TCanvas* canvas = ValueListEditor1->Canvas();
  // The cursor in the key column shows as a selected cell while the grid has
  // the keyboard; in the value column the colour box stands over it.
  const bool cursor = col == 0 && state.Contains(gdFocused);
  if (col == 0) canvas->Brush()->SetColor(cursor ? clHighlight : ValueListEditor1->FixedColor());
  const int textTop = rect.top + (rect.Height() - canvas->TextHeight("Wp")) / 2;
  if (col == 1) {
    canvas->FillRect(rect);
    const TColor back = canvas->Brush()->Color();
    sys::RECT swatch{rect.left + 3, rect.top + 2, rect.left + rect.Height() - 1, rect.bottom - 2};
    const int index = row - 1;
    if (!FColorList || index < 0 || index >= FColorList->Count()) return;
    const TColor color = EntryColor(*FColorList, index);
    canvas->Brush()->SetColor(color);
    canvas->FillRect(swatch);
    canvas->Brush()->SetColor(SwatchFrameColor(ColorToRGB(color), state));
    canvas->FrameRect(swatch);
    canvas->Brush()->SetColor(back);
    canvas->TextOut(swatch.right + 5, textTop, ColorName(color));
    return;
  }
  // The key cell: framed in the text colour, drawn whole over the grid
  // lines around it.
  canvas->Pen()->SetColor(ValueListEditor1->Font()->Color());
  canvas->Font()->SetColor(cursor ? clHighlightText : ValueListEditor1->Font()->Color());
  sys::RECT frame{rect.left - 1, rect.top - 1, rect.right, rect.bottom + 1};
  canvas->Rectangle(frame);
  canvas->TextOut(frame.left + 3, textTop, ValueListEditor1->Keys(row));
}

// ---- The colour editor
// ---------------------------------------------------------------------------

void TFrameColorMap::ShowColorEditor(int col, int row) {
  TValueListEditor* grid = ValueListEditor1;
  // Only a value cell wholly in view gets the box; a cell scrolled out above
  // or below hides it.
  const bool inView = row >= grid->TopRow() && row < grid->TopRow() + grid->VisibleRowCount();
  if (col != 1 || row < 1 || !inView || FApplying) {
    if (FColorEditor) FColorEditor->Hide();
    return;
  }
  if (!FColorEditor) {
    FColorEditor = new TColorBox(this);
    FColorEditor->SetBevelInner(bvNone);
    FColorEditor->SetBevelOuter(bvNone);
    FColorEditor->SetVisible(false);
    FColorEditor->SetParent(this);
    FColorEditor->SetStyle(cbEnd->Style());
    FColorEditor->SetDropDownCount(10);
    FColorEditor->OnExit = [this](TObject* sender) { ColorEditorExit(sender); };
    FColorEditor->OnChange = [this](TObject* sender) { ApplyColorEdit(sender); };
  }
  const sys::RECT cell = grid->CellRect(col, row);
  const sys::POINT topLeft = ScreenToClient(grid->ClientToScreen(sys::POINT{cell.left, cell.top}));
  const sys::POINT bottomRight =
      ScreenToClient(grid->ClientToScreen(sys::POINT{cell.right, cell.bottom}));
  FColorEditor->SetBounds(topLeft.x - 1, topLeft.y - 2, bottomRight.x - topLeft.x + 2,
                          bottomRight.y - topLeft.y + 4);
  FColorEditor->Show();
  FColorEditor->BringToFront();
}

void TFrameColorMap::ValueListEditor1SelectCell(TObject*, int col, int row, bool& canSelect) {
  canSelect = true;
  ShowColorEditor(col, row);
  SyncColorEditor(col, row);
}

void TFrameColorMap::SyncColorEditor(int col, int row) {
  TCustomActionBarColorMap* map = CurrentColorMap();
  if (!map || !FColorEditor || !FColorEditor->Visible() || col != 1 || row < 1) return;
  TFlagGuard syncing(FSyncing);
  const std::string key = ValueListEditor1->Keys(row);
  BuildColorList(FColorList, map);
  for (int i = 0; i < FColorList->Count(); ++i)
    if (FColorList->Get(i) == key) FColorEditor->SetSelected(EntryColor(*FColorList, i));
}

void TFrameColorMap::ApplyColorEdit(TObject*) {
  if (FSyncing || FApplying || !FColorEditor) return;
  if (ComponentState().Contains(csDestroying)) return;
  TValueListEditor* grid = ValueListEditor1;
  FApplying = true;
  const int row = grid->Row();
  const int top = grid->TopRow();
  const std::string key = grid->Keys(row);
  const bool visible = FColorEditor->Visible();
  const TColor color = FColorEditor->Selected();
  // The box comes back on its row, focused, even when the edit failed.
  auto finish = [&] {
    FApplying = false;
    if (!visible || !FColorEditor) return;
    ShowColorEditor(1, grid->Row());
    if (FColorEditor->Visible() && FColorEditor->CanFocus()) FColorEditor->SetFocus();
  };
  try {
    // The map's own setter decides what follows: Color raises the map's
    // change event (the bars take the colour), FontColor goes to the bars'
    // fonts, any other colour shows when the bars next paint.
    SetColorByName(key, color, CurrentColorMap());
    BuildColorList(FColorList, nullptr);
    RebuildRows();
    grid->SetTopRow(top);
    grid->SetRow(row);
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

void TFrameColorMap::ColorEditorExit(TObject*) {
  if (FColorEditor && !ValueListEditor1->Focused()) FColorEditor->Hide();
}

void TFrameColorMap::ValueListEditor1Exit(TObject*) {
  if (FColorEditor && !FColorEditor->Focused()) FColorEditor->Hide();
}

void TFrameColorMap::ValueListEditor1TopLeftChanged(TObject*) {
  ShowColorEditor(ValueListEditor1->Col(), ValueListEditor1->Row());
}

} // namespace zel
