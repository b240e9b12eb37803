// TGraphicControl and TCustomControl: painting through a canvas that is
// attached to the context only while Paint runs.

#include "framework/controls/GraphicControl.h"

#include "framework/controls/CustomControl.h"
#include "framework/controls/WinControl.h"

namespace zel {

using namespace sys;

namespace {

// The canvas starts each paint with the control's font and colour.
void PrepareCanvas(TCanvas* canvas, TControl* control, HDC dc) {
  canvas->SetHandle(dc);
  canvas->Font()->Assign(control->Font());
  canvas->Brush()->SetColor(control->Color());
}

} // namespace

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), FCanvas(std::make_unique<TCanvas>()) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT && m.WParam) {
    PrepareCanvas(FCanvas.get(), this, HDC(m.WParam));
    try {
      Paint();
    } catch (...) {
      FCanvas->SetHandle(nullptr);
      throw;
    }
    FCanvas->SetHandle(nullptr);
    return;
  }
  if (DockDragMouseMessage(this, m)) return;
  TControl::WndProc(m);
}

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), FCanvas(std::make_unique<TCanvas>()) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC dc) {
  PrepareCanvas(FCanvas.get(), this, dc);
  try {
    Paint();
  } catch (...) {
    FCanvas->SetHandle(nullptr);
    throw;
  }
  FCanvas->SetHandle(nullptr);
}

} // namespace zel
