#pragma once
// THintWindow: the small pop-up that shows a control's short hint near the
// cursor.

#include <string>

#include "framework/controls/CustomControl.h"

namespace zel {

class THintWindow : public TCustomControl {
  ZEL_CLASS(THintWindow, TCustomControl)
public:
  explicit THintWindow(TComponent* owner);

  // The rectangle (screen) the hint needs at a screen point, kept on the screen.
  virtual sys::RECT CalcHintRect(const std::string& hint, sys::POINT at);
  // Shows the hint in rect (screen coordinates) without taking the focus.
  virtual void ActivateHint(const sys::RECT& rect, const std::string& hint);
  void ReleaseHandle();
  bool Active() const { return FActive; }

protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void WndProc(TMessage& message) override;

private:
  bool FActive = false;
};

} // namespace zel
