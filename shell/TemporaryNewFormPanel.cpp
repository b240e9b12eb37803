// TEMPORARY: see TemporaryNewFormPanel.h.

#include "shell/TemporaryNewFormPanel.h"

namespace zel {

using namespace sys;

TTemporaryNewFormPanel::TTemporaryNewFormPanel(TComponent* owner) : TCustomControl(owner) {
  SetAlign(alTop);
  SetHeight(28);
  SetBevelKind(bkTile);
  SetBevelEdges({beBottom});
}

void TTemporaryNewFormPanel::Paint() {
  const RECT r = ButtonRect();
  Canvas()->Brush()->SetColor(clBtnFace);
  Canvas()->FillRect(r);
  Canvas()->Pen()->SetColor(FPressed ? clBtnShadow : clBtnHighlight);
  Canvas()->MoveTo(r.left, r.bottom - 1);
  Canvas()->LineTo(r.left, r.top);
  Canvas()->LineTo(r.right - 1, r.top);
  Canvas()->Pen()->SetColor(FPressed ? clBtnHighlight : cl3DDkShadow);
  Canvas()->LineTo(r.right - 1, r.bottom - 1);
  Canvas()->LineTo(r.left, r.bottom - 1);
  Canvas()->Brush()->SetStyle(bsClear);
  RECT t = r;
  Canvas()->TextRect(t, "Новая форма", DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TTemporaryNewFormPanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && PtInRect(ButtonRect(), POINT{x, y})) {
    FPressed = true;
    Invalidate();
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TTemporaryNewFormPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  const bool fire = FPressed && PtInRect(ButtonRect(), POINT{x, y});
  FPressed = false;
  Invalidate();
  TCustomControl::MouseUp(button, shift, x, y);
  if (fire && OnNewForm) OnNewForm(this);
}

} // namespace zel
