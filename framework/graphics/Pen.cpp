#include "framework/graphics/Pen.h"

namespace zel {

void TPen::Assign(TPersistent* source) {
  if (auto* pen = dynamic_cast<TPen*>(source)) {
    if (pen == this) return;
    FColor = pen->FColor;
    FWidth = pen->FWidth;
    FStyle = pen->FStyle;
    FMode = pen->FMode;
    Changed();
    return;
  }
  inherited::Assign(source);
}

void TPen::SetColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  Changed();
}

void TPen::SetWidth(int width) {
  if (width < 1) width = 1;
  if (width == FWidth) return;
  FWidth = width;
  Changed();
}

void TPen::SetStyle(TPenStyle style) {
  if (style == FStyle) return;
  FStyle = style;
  Changed();
}

void TPen::SetMode(TPenMode mode) {
  if (mode == FMode) return;
  FMode = mode;
  Changed();
}

sys::HGDIOBJ TPen::CreateHandle() {
  int style = sys::PS_SOLID;
  switch (FStyle) {
  case psSolid:
    style = sys::PS_SOLID;
    break;
  case psDash:
    style = sys::PS_DASH;
    break;
  case psDot:
  case psDashDot:
  case psDashDotDot:
    style = sys::PS_DOT;
    break;
  case psClear:
    style = sys::PS_NULL;
    break;
  case psInsideFrame:
    style = sys::PS_INSIDEFRAME;
    break;
  }
  return sys::CreatePen(style, FWidth, ColorToColorRef(FColor));
}

void TPen::DeclareProperties(TPropertyTable<TPen>& t) {
  t.AddColor("Color", &TPen::Color, &TPen::SetColor);
  t.AddEnum("Mode", "TPenMode", &TPen::Mode, &TPen::SetMode,
            {"pmCopy", "pmNotCopy", "pmXor", "pmNot"});
  t.AddEnum(
      "Style", "TPenStyle", &TPen::Style, &TPen::SetStyle,
      {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"});
  t.Add("Width", &TPen::Width, &TPen::SetWidth);
}

} // namespace zel
