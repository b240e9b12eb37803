#include "framework/graphics/Brush.h"

namespace zel {

void TBrush::Assign(TPersistent* source) {
  if (auto* brush = dynamic_cast<TBrush*>(source)) {
    if (brush == this) return;
    FColor = brush->FColor;
    FStyle = brush->FStyle;
    Changed();
    return;
  }
  inherited::Assign(source);
}

void TBrush::SetColor(TColor color) {
  if (color == FColor && FStyle == bsSolid) return;
  FColor = color;
  FStyle = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
  if (style == FStyle) return;
  FStyle = style;
  Changed();
}

sys::HGDIOBJ TBrush::CreateHandle() {
  if (FStyle == bsClear) return sys::GetStockObject(sys::NULL_BRUSH);
  return sys::CreateSolidBrush(ColorToColorRef(FColor));
}

void TBrush::DeclareProperties(TPropertyTable<TBrush>& t) {
  t.AddColor("Color", &TBrush::Color, &TBrush::SetColor);
  t.AddEnum("Style", "TBrushStyle", &TBrush::Style, &TBrush::SetStyle, {"bsSolid", "bsClear"});
}

} // namespace zel
