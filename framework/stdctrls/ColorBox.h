#pragma once
// TColorBox: a drop-down list of colours, each item a swatch and a name.
// Style chooses the entries: a "custom colour" entry first (it opens the
// colour dialog), the standard, extended and system colours, None and
// Default, and colours the program supplies through OnGetColors.  With
// cbPrettyNames the entries carry display names, otherwise the colours'
// identifiers ("clRed").  Selected finds a colour among the entries; an
// unknown colour becomes the custom entry's colour (or a new entry named by
// its value when there is no custom entry).

#include <functional>

#include "framework/stdctrls/ComboBox.h"

namespace zel {

enum TColorBoxStyleFlag {
  cbStandardColors,
  cbExtendedColors,
  cbSystemColors,
  cbIncludeNone,
  cbIncludeDefault,
  cbCustomColor,
  cbPrettyNames,
  cbCustomColors
};
using TColorBoxStyle = TSet<TColorBoxStyleFlag>;

using TGetColorsEvent = std::function<void(TObject* sender, TStrings* items)>;

class TCustomColorBox : public TCustomComboBox {
  ZEL_CLASS(TCustomColorBox, TCustomComboBox)
public:
  explicit TCustomColorBox(TComponent* owner);
  static void DeclareProperties(TPropertyTable<TCustomColorBox>& t);

  TColorBoxStyle Style() const { return FColorStyle; }
  // Rebuilds the entries and keeps the selected colour.
  void SetStyle(TColorBoxStyle value);
  TColor Selected() const;
  void SetSelected(TColor color);
  TColor Colors(int index) const;
  std::string ColorNames(int index) const;
  // The colours the None and Default entries stand for when drawn.
  TColor NoneColorColor() const { return FNoneColorColor; }
  void SetNoneColorColor(TColor c) {
    FNoneColorColor = c;
    Invalidate();
  }
  TColor DefaultColorColor() const { return FDefaultColorColor; }
  void SetDefaultColorColor(TColor c) {
    FDefaultColorColor = c;
    Invalidate();
  }

  void DrawItem(TCanvas* canvas, int index, const sys::RECT& rect, TOwnerDrawState state) override;

  // Called with cbCustomColors to add the program's own entries (name and
  // colour as the entry's data).
  TGetColorsEvent OnGetColors;
  // Asks for a colour when the custom entry is chosen; the standard asks
  // the colour dialog.  Returns false when the person cancelled.
  std::function<bool(TColor& color)> OnPickCustomColor;

  // Shows the colour dialog for the custom entry (also what choosing it
  // does) and selects its colour when the person confirms.
  bool PickCustomColor();

  // The display name of a colour entry as the box would show it with
  // pretty names ("Красный"), or "" for a colour it does not list.
  static std::string PrettyName(TColor color);

protected:
  void Change() override;
  void Loaded() override;

private:
  void PopulateList();

  TColorBoxStyle FColorStyle{cbStandardColors, cbExtendedColors, cbSystemColors};
  TColor FNoneColorColor = clBlack;
  TColor FDefaultColorColor = clBlack;
  TColor FCustomColor = clBlack;
  int FLastIndex = -1;
  bool FPicking = false;
};

class TColorBox : public TCustomColorBox {
  ZEL_CREATABLE_CLASS(TColorBox, TCustomColorBox)
public:
  using TCustomColorBox::TCustomColorBox;
};

} // namespace zel
