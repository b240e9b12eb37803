#pragma once
// TEMPORARY: a strip along the top of the main window with one button that
// opens a new child window.  It stands in for the "Файлы" menu and the tool
// bar until the action bars exist, and goes away with them.

#include <functional>

#include "framework/controls/CustomControl.h"

namespace zel {

class TTemporaryNewFormPanel : public TCustomControl {
  ZEL_CLASS(TTemporaryNewFormPanel, TCustomControl)
public:
  explicit TTemporaryNewFormPanel(TComponent* owner);

  // The button's rectangle in the strip's client coordinates.
  sys::RECT ButtonRect() const { return {4, 3, 112, 25}; }
  TNotifyEvent OnNewForm;

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
  bool FPressed = false;
};

} // namespace zel
