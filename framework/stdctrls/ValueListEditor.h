#pragma once
// TValueListEditor: a two-column grid of name=value pairs under a title row.
// Strings holds the pairs; row r (r >= 1) shows entry r - 1, so Keys(r) and
// Values(key) read the list.  An empty list still shows one empty row.

#include <memory>

#include "framework/stdctrls/Grids.h"

namespace zel {

enum TDisplayOption { doColumnTitles, doAutoColResize, doKeyColFixed };
using TDisplayOptions = TSet<TDisplayOption>;

class TValueListEditor : public TDrawGrid {
  ZEL_CREATABLE_CLASS(TValueListEditor, TDrawGrid)
public:
  explicit TValueListEditor(TComponent* owner);
  ~TValueListEditor() override;

  TStrings* Strings() { return FStrings.get(); }
  void SetStrings(TStrings* value) { FStrings->Assign(value); }
  // Two captions: the key column's and the value column's.
  TStrings* TitleCaptions() { return FTitleCaptions.get(); }
  TDisplayOptions DisplayOptions() const { return FDisplayOptions; }
  void SetDisplayOptions(TDisplayOptions value);

  // The key of a data row ("" for the title row and rows past the list).
  std::string Keys(int row) const;
  void SetKeys(int row, const std::string& key);
  std::string Values(const std::string& key) const { return FStrings->Values(key); }
  void SetValues(const std::string& key, const std::string& value);
  // The text shown in a cell.
  std::string Cells(int col, int row) const;
  // Adds a pair (at the end, or before the current row) and returns its row.
  int InsertRow(const std::string& key, const std::string& value, bool append);
  void DeleteRow(int row);
  // The row of a key (compared without regard to case), or false.
  bool FindRow(const std::string& key, int& row) const;

protected:
  void DrawCell(int col, int row, const sys::RECT& rect, TGridDrawState state) override;
  void Resize() override;

private:
  void StringsChanged();
  void AdjustColWidths();

  std::unique_ptr<TStringList> FStrings;
  std::unique_ptr<TStringList> FTitleCaptions;
  TDisplayOptions FDisplayOptions{doColumnTitles, doAutoColResize, doKeyColFixed};
};

} // namespace zel
