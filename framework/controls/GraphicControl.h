#pragma once
// TGraphicControl: a control without a window of its own.  Its parent paints
// it (Paint, on a canvas over the parent's context moved to the control's
// corner and clipped to its bounds) and hands it its mouse messages.

#include <memory>

#include "framework/controls/Control.h"
#include "framework/graphics/Canvas.h"

namespace zel {

class TGraphicControl : public TControl {
  ZEL_CLASS(TGraphicControl, TControl)
public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;

  void WndProc(TMessage& message) override;
  // The canvas is only attached to a context while Paint runs.
  TCanvas* Canvas() { return FCanvas.get(); }

protected:
  virtual void Paint() {}

private:
  std::unique_ptr<TCanvas> FCanvas;
};

} // namespace zel
