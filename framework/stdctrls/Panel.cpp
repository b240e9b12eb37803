// TPanel and TGroupBox painting and client areas.

#include "framework/stdctrls/Panel.h"

#include <algorithm>

#include "platform/user/Paint.h"

namespace zel {

using namespace sys;

void Frame3D(TCanvas* c, RECT& r, TColor topLeft, TColor bottomRight, int width) {
  for (int i = 0; i < width; ++i) {
    --r.bottom;
    --r.right;
    c->Pen()->SetColor(topLeft);
    c->MoveTo(r.left, r.bottom);
    c->LineTo(r.left, r.top);
    c->LineTo(r.right, r.top);
    c->Pen()->SetColor(bottomRight);
    c->LineTo(r.right, r.bottom);
    c->LineTo(r.left - 1, r.bottom);
    ++r.left;
    ++r.top;
  }
}

// ---- TCustomPanel ---------------------------------------------------------------

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  FControlStyle += csAcceptsControls;
  FControlStyle += csOpaque;
  SetParentColor(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 185, 41);
}

void TCustomPanel::WndProc(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED) Invalidate();
  TCustomControl::WndProc(m);
}

int TCustomPanel::FrameWidth() const {
  int w = FBorderStyle == bsSingle ? 1 : 0;
  if (FBevelOuter != bvNone) w += FBevelWidth;
  if (FBevelInner != bvNone) w += FBevelWidth;
  return w + BorderWidth();
}

void TCustomPanel::AdjustClientRect(RECT& rect) {
  TCustomControl::AdjustClientRect(rect);
  const int w = FrameWidth();
  InflateRect(rect, -w, -w);
}

void TCustomPanel::SetPanelBevelInner(TBevelCut v) {
  if (v == FBevelInner) return;
  FBevelInner = v;
  Realign();
  Invalidate();
}

void TCustomPanel::SetPanelBevelOuter(TBevelCut v) {
  if (v == FBevelOuter) return;
  FBevelOuter = v;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelWidth(int v) {
  v = std::max(v, 1);
  if (v == FBevelWidth) return;
  FBevelWidth = v;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle v) {
  if (v == FBorderStyle) return;
  FBorderStyle = v;
  Realign();
  Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment v) {
  if (v == FAlignment) return;
  FAlignment = v;
  Invalidate();
}

void TCustomPanel::SetShowCaption(bool v) {
  if (v == FShowCaption) return;
  FShowCaption = v;
  Invalidate();
}

void TCustomPanel::Paint() {
  TCanvas* c = Canvas();
  RECT r = ClientRect();
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  if (FBorderStyle == bsSingle) Frame3D(c, r, cl3DDkShadow, cl3DDkShadow);
  auto bevel = [&](TBevelCut cut) {
    if (cut == bvNone) return;
    if (cut == bvSpace) {
      InflateRect(r, -FBevelWidth, -FBevelWidth);
      return;
    }
    const bool raised = cut == bvRaised;
    Frame3D(c, r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight,
            FBevelWidth);
  };
  bevel(FBevelOuter);
  InflateRect(r, -BorderWidth(), -BorderWidth());
  bevel(FBevelInner);
  if (!FShowCaption) return;
  c->Brush()->SetStyle(bsClear);
  UINT flags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
  flags |= FAlignment == taLeftJustify    ? DT_LEFT
           : FAlignment == taRightJustify ? DT_RIGHT
                                          : DT_CENTER;
  InflateRect(r, -2, 0);
  c->TextRect(r, Text(), flags);
}

// ---- TCustomGroupBox ------------------------------------------------------------

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
  FControlStyle += csAcceptsControls;
  FControlStyle += csOpaque;
  SetParentColor(true);
  SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::WndProc(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED || m.Msg == CM_FONTCHANGED) {
    TCustomControl::WndProc(m);
    Realign();
    Invalidate();
    return;
  }
  TCustomControl::WndProc(m);
}

int TCustomGroupBox::CaptionHeight() {
  HDC dc = GetDC(nullptr);
  TCanvas measure;
  measure.SetHandle(dc);
  measure.Font()->Assign(Font());
  const int h = measure.TextHeight("0");
  measure.SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  return h;
}

void TCustomGroupBox::AdjustClientRect(RECT& rect) {
  TCustomControl::AdjustClientRect(rect);
  rect.top += CaptionHeight();
  InflateRect(rect, -2, -2);
}

void TCustomGroupBox::Paint() {
  TCanvas* c = Canvas();
  const RECT client = ClientRect();
  c->Brush()->SetColor(Color());
  c->FillRect(client);
  const int h = c->TextHeight("0");
  // The etched frame: a shadow line with a highlight line beside it.
  RECT r{client.left, client.top + h / 2, client.right, client.bottom};
  RECT outer = r;
  c->Brush()->SetColor(clBtnHighlight);
  OffsetRect(outer, 1, 1);
  --outer.right;
  --outer.bottom;
  c->FrameRect(outer);
  RECT inner{r.left, r.top, r.right - 1, r.bottom - 1};
  c->Brush()->SetColor(clBtnShadow);
  c->FrameRect(inner);
  const std::string text = Text();
  if (text.empty()) return;
  // The caption interrupts the top edge, on the panel colour.
  RECT tr{8, 0, 0, h};
  c->TextRect(tr, text, DT_CALCRECT | DT_SINGLELINE);
  tr.right = std::min(tr.right + 4, client.right - 6);
  tr.left = 6;
  c->Brush()->SetColor(Color());
  c->FillRect(tr);
  c->Brush()->SetStyle(bsClear);
  if (!Enabled()) c->Font()->SetColor(clGrayText);
  RECT text_r{tr.left + 2, tr.top, tr.right, tr.bottom};
  c->TextRect(text_r, text, DT_SINGLELINE | DT_LEFT | DT_END_ELLIPSIS);
}

} // namespace zel
