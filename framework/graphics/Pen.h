#pragma once
// TPen: the colour, width and style of lines and outlines.

#include "framework/graphics/Colors.h"
#include "framework/graphics/GraphicsObject.h"

namespace zel {

class TPen : public TGraphicsObject {
  ZEL_CLASS(TPen, TGraphicsObject)
public:
  TPen() = default;

  void Assign(TPersistent* source) override;

  sys::HPEN Handle() { return static_cast<sys::HPEN>(GetHandle()); }

  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  int Width() const { return FWidth; }
  // Widths below 1 are taken as 1.
  void SetWidth(int width);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle style);
  // Only pmCopy draws as such; the other modes are kept for callers that
  // store and restore them.
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode mode);

  static void DeclareProperties(TPropertyTable<TPen>& t);

protected:
  sys::HGDIOBJ CreateHandle() override;

private:
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
};

} // namespace zel
