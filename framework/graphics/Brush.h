#pragma once
// TBrush: the fill of shapes and the background of opaque text.

#include "framework/graphics/Colors.h"
#include "framework/graphics/GraphicsObject.h"

namespace zel {

class TBrush : public TGraphicsObject {
  ZEL_CLASS(TBrush, TGraphicsObject)
public:
  TBrush() = default;

  void Assign(TPersistent* source) override;

  // A solid brush of the colour, or the hollow stock brush for bsClear.
  sys::HBRUSH Handle() { return static_cast<sys::HBRUSH>(GetHandle()); }

  TColor Color() const { return FColor; }
  // Giving a colour makes a clear brush solid again.
  void SetColor(TColor color);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle style);

  static void DeclareProperties(TPropertyTable<TBrush>& t);

protected:
  sys::HGDIOBJ CreateHandle() override;

private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

} // namespace zel
