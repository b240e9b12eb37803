// TSplitter: finding the neighbour, limiting and applying its new size.

#include "framework/stdctrls/Splitter.h"

#include <algorithm>
#include <climits>

#include "framework/controls/CustomControl.h"
#include "framework/controls/WinControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Paint.h"

namespace zel {

using namespace sys;

// The bar shown while a line or pattern drag goes on.
class TSplitterLine : public TCustomControl {
  ZEL_CLASS(TSplitterLine, TCustomControl)
public:
  TSplitterLine(bool pattern) : TCustomControl(nullptr), FPattern(pattern) { SetVisible(false); }

protected:
  void CreateParams(TCreateParams& p) override {
    TCustomControl::CreateParams(p);
    p.Style = WS_POPUP;
    p.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    p.WndParent = nullptr;
    p.WinClassName = "ZelSplitterLine";
  }
  void Paint() override {
    TCanvas* c = Canvas();
    const RECT r = ClientRect();
    c->Brush()->SetColor(FPattern ? clBtnHighlight : cl3DDkShadow);
    c->FillRect(r);
    if (!FPattern) return;
    // A fine checker of dark and light pixels, like a dithered grey.
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left + (y & 1); x < r.right; x += 2)
        c->SetPixels(x, y, cl3DDkShadow);
  }

private:
  bool FPattern;
};

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 3, 100);
  SetAlign(alLeft);
  SetCursor(crHSplit);
}

TSplitter::~TSplitter() = default;

void TSplitter::SetAlign(TAlign value) {
  TGraphicControl::SetAlign(value);
  SetCursor(value == alTop || value == alBottom ? crVSplit : crHSplit);
}

TControl* TSplitter::FindControl() {
  TWinControl* parent = Parent();
  if (!parent) return nullptr;
  TControl* best = nullptr;
  int bestGap = INT_MAX;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c == this || !c->Visible() || c->Align() != Align() || c->Is<TSplitter>()) continue;
    // The gap between the splitter's resizing edge and the control's far
    // edge; a control placed a pixel away still counts.
    int gap = INT_MAX;
    switch (Align()) {
    case alLeft:
      gap = Left() - (c->Left() + c->Width());
      break;
    case alRight:
      gap = c->Left() - (Left() + Width());
      break;
    case alTop:
      gap = Top() - (c->Top() + c->Height());
      break;
    case alBottom:
      gap = c->Top() - (Top() + Height());
      break;
    default:
      return nullptr;
    }
    if (gap >= -1 && gap < bestGap) {
      bestGap = gap;
      best = c;
    }
  }
  return best;
}

void TSplitter::Paint() {
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !Parent()) return;
  FControl = FindControl();
  if (!FControl) return;
  FDownPos = POINT{x + Left(), y + Top()};
  FStartSize = Horizontal() ? FControl->Width() : FControl->Height();
  // The free space of the parent is what the alClient area has left: the
  // client size less every other control aligned along the same axis.
  const RECT client = Parent()->ClientRect();
  int used = 0;
  for (int i = 0; i < Parent()->ControlCount(); ++i) {
    TControl* c = Parent()->Controls(i);
    if (!c->Visible()) continue;
    if (Horizontal() && (c->Align() == alLeft || c->Align() == alRight)) used += c->Width();
    if (!Horizontal() && (c->Align() == alTop || c->Align() == alBottom)) used += c->Height();
  }
  const int free = (Horizontal() ? client.Width() : client.Height()) - used;
  FMaxSize = std::max(FStartSize + free - FMinSize, FMinSize);
  FNewSize = FStartSize;
  FDragging = true;
  if (FResizeStyle == rsLine || FResizeStyle == rsPattern) {
    FLine.reset(); // made again for the current style
    FLineRect = LineRect(FNewSize);
    ShowLine(true);
  }
}

int TSplitter::SizeFor(POINT p) {
  int delta = 0;
  switch (Align()) {
  case alLeft:
    delta = p.x - FDownPos.x;
    break;
  case alRight:
    delta = FDownPos.x - p.x;
    break;
  case alTop:
    delta = p.y - FDownPos.y;
    break;
  case alBottom:
    delta = FDownPos.y - p.y;
    break;
  default:
    break;
  }
  int size = FStartSize + delta;
  // With AutoSnap a size below the minimum closes the control altogether.
  if (FAutoSnap && size < FMinSize / 2) return 0;
  return std::clamp(size, std::min(FMinSize, FStartSize), FMaxSize);
}

RECT TSplitter::LineRect(int size) {
  const int shift = size - FStartSize;
  RECT r = BoundsRect();
  switch (Align()) {
  case alLeft:
    OffsetRect(r, shift, 0);
    break;
  case alRight:
    OffsetRect(r, -shift, 0);
    break;
  case alTop:
    OffsetRect(r, 0, shift);
    break;
  case alBottom:
    OffsetRect(r, 0, -shift);
    break;
  default:
    break;
  }
  return r;
}

void TSplitter::ShowLine(bool show) {
  if (!show || !Parent()) {
    if (FLine) FLine->SetVisible(false);
    return;
  }
  if (!FLine) FLine = std::make_unique<TSplitterLine>(FResizeStyle == rsPattern);
  const POINT corner = Parent()->ClientToScreen(POINT{FLineRect.left, FLineRect.top});
  FLine->SetBounds(corner.x, corner.y, FLineRect.Width(), FLineRect.Height());
  FLine->HandleNeeded();
  FLine->SetVisible(true);
  FLine->Repaint();
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!FDragging || !FControl) return;
  int size = SizeFor(POINT{x + Left(), y + Top()});
  bool accept = true;
  if (OnCanResize) OnCanResize(this, size, accept);
  if (!accept || size == FNewSize) return;
  FNewSize = size;
  if (FResizeStyle == rsUpdate) {
    // Positions now refer to the moved splitter: keep them in the parent's
    // coordinates by moving the origin along.
    ApplySize(size);
  } else if (FResizeStyle != rsNone) {
    FLineRect = LineRect(size);
    ShowLine(true);
  }
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (!FDragging) return;
  FDragging = false;
  ShowLine(false);
  if (FControl && FResizeStyle != rsUpdate) ApplySize(FNewSize);
  FControl = nullptr;
  if (OnMoved) OnMoved(this);
}

void TSplitter::ApplySize(int size) {
  if (!FControl) return;
  if (Horizontal())
    FControl->SetWidth(size);
  else
    FControl->SetHeight(size);
  if (Parent()) Parent()->Update();
}

} // namespace zel
