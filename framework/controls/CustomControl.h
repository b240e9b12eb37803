#pragma once
// TCustomControl: a windowed control that paints itself with Paint on a
// canvas over its window's context.

#include <memory>

#include "framework/controls/WinControl.h"
#include "framework/graphics/Canvas.h"

namespace zel {

class TCustomControl : public TWinControl {
  ZEL_CLASS(TCustomControl, TWinControl)
public:
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;

  // The canvas is only attached to a context while Paint runs.
  TCanvas* Canvas() { return FCanvas.get(); }

protected:
  void PaintWindow(sys::HDC dc) override;
  virtual void Paint() {}

private:
  std::unique_ptr<TCanvas> FCanvas;
};

} // namespace zel
