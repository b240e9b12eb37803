// The published properties of the standard controls, so that descriptions
// and property editors can read and write them by name.

#include "framework/stdctrls/ColorBox.h"
#include "framework/stdctrls/Grids.h"
#include "framework/stdctrls/Label.h"
#include "framework/stdctrls/Splitter.h"
#include "framework/stdctrls/Timer.h"
#include "framework/stdctrls/TrackBar.h"

namespace zel {

void TCustomLabel::DeclareProperties(TPropertyTable<TCustomLabel>& t) {
  t.Add("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize).Default = 1;
  t.AddEnum("Alignment", "TAlignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment,
            {"taLeftJustify", "taRightJustify", "taCenter"})
      .Default = taLeftJustify;
  t.AddEnum("Layout", "TTextLayout", &TCustomLabel::Layout, &TCustomLabel::SetLayout,
            {"tlTop", "tlCenter", "tlBottom"})
      .Default = tlTop;
  t.Add("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap).Default = 0;
  t.Add("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent).Default = 0;
  t.Add("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar).Default = 1;
}

void TTrackBar::DeclareProperties(TPropertyTable<TTrackBar>& t) {
  t.Add("Min", "Integer", &TTrackBar::Min, &TTrackBar::SetMin).Default = 0;
  t.Add("Max", "Integer", &TTrackBar::Max, &TTrackBar::SetMax).Default = 10;
  t.Add("Position", "Integer", &TTrackBar::Position, &TTrackBar::SetPosition).Default = 0;
  t.Add("Frequency", "Integer", &TTrackBar::Frequency, &TTrackBar::SetFrequency).Default = 1;
  t.Add("LineSize", "Integer", &TTrackBar::LineSize, &TTrackBar::SetLineSize).Default = 1;
  t.Add("PageSize", "Integer", &TTrackBar::PageSize, &TTrackBar::SetPageSize).Default = 2;
  t.Add("ThumbLength", "Integer", &TTrackBar::ThumbLength, &TTrackBar::SetThumbLength).Default = 20;
  t.AddEnum("Orientation", "TTrackBarOrientation", &TTrackBar::Orientation,
            &TTrackBar::SetOrientation, {"trHorizontal", "trVertical"})
      .Default = trHorizontal;
  t.AddEnum("TickMarks", "TTickMark", &TTrackBar::TickMarks, &TTrackBar::SetTickMarks,
            {"tmBottomRight", "tmTopLeft", "tmBoth"})
      .Default = tmBottomRight;
  t.AddEnum("TickStyle", "TTickStyle", &TTrackBar::TickStyle, &TTrackBar::SetTickStyle,
            {"tsNone", "tsAuto", "tsManual"})
      .Default = tsAuto;
}

void TSplitter::DeclareProperties(TPropertyTable<TSplitter>& t) {
  t.Add("MinSize", "NaturalNumber", &TSplitter::MinSize, &TSplitter::SetMinSize).Default = 30;
  t.AddEnum("ResizeStyle", "TResizeStyle", &TSplitter::ResizeStyle, &TSplitter::SetResizeStyle,
            {"rsNone", "rsLine", "rsUpdate", "rsPattern"})
      .Default = rsUpdate;
  t.Add("AutoSnap", &TSplitter::AutoSnap, &TSplitter::SetAutoSnap).Default = 0;
}

void TCustomComboBox::DeclareProperties(TPropertyTable<TCustomComboBox>& t) {
  t.Add("ItemIndex", "Integer", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex)
      .Default = -1;
  t.Add("DropDownCount", "Integer", &TCustomComboBox::DropDownCount,
        &TCustomComboBox::SetDropDownCount)
      .Default = 8;
}

void TCustomColorBox::DeclareProperties(TPropertyTable<TCustomColorBox>& t) {
  t.AddColor("Selected", &TCustomColorBox::Selected, &TCustomColorBox::SetSelected);
  t.AddColor("NoneColorColor", &TCustomColorBox::NoneColorColor,
             &TCustomColorBox::SetNoneColorColor);
  t.AddColor("DefaultColorColor", &TCustomColorBox::DefaultColorColor,
             &TCustomColorBox::SetDefaultColorColor);
}

void TCustomGrid::DeclareProperties(TPropertyTable<TCustomGrid>& t) {
  t.Add("ColCount", "Integer", &TCustomGrid::ColCount, &TCustomGrid::SetColCount).Default = 5;
  t.Add("RowCount", "Integer", &TCustomGrid::RowCount, &TCustomGrid::SetRowCount).Default = 5;
  t.Add("FixedCols", "Integer", &TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols).Default = 1;
  t.Add("FixedRows", "Integer", &TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows).Default = 1;
  t.Add("DefaultColWidth", "Integer", &TCustomGrid::DefaultColWidth,
        &TCustomGrid::SetDefaultColWidth)
      .Default = 64;
  t.Add("DefaultRowHeight", "Integer", &TCustomGrid::DefaultRowHeight,
        &TCustomGrid::SetDefaultRowHeight)
      .Default = 24;
  t.AddColor("FixedColor", &TCustomGrid::FixedColor, &TCustomGrid::SetFixedColor);
}

void TTimer::DeclareProperties(TPropertyTable<TTimer>& t) {
  t.Add("Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default = 1;
  t.Add("Interval", "Cardinal", &TTimer::Interval, &TTimer::SetInterval).Default = 1000;
}

} // namespace zel
