// TLabel: measuring and painting the caption, and its accelerator.

#include "framework/stdctrls/Label.h"

#include <algorithm>

#include "framework/controls/WinControl.h"
#include "platform/text/Text.h"
#include "platform/user/Paint.h"

namespace zel {

using namespace sys;

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
  FControlStyle += csOpaque;
  FControlStyle -= csCaptureMouse;
  SetBounds(0, 0, 65, 17);
}

void TCustomLabel::WndProc(TMessage& m) {
  switch (m.Msg) {
  case CM_TEXTCHANGED:
  case CM_FONTCHANGED:
  case CM_PARENTFONTCHANGED:
    TGraphicControl::WndProc(m);
    AdjustBounds();
    Invalidate();
    return;
  case CM_DIALOGCHAR:
    if (DialogChar(char32_t(m.WParam))) m.Result = 1;
    return;
  default:
    break;
  }
  TGraphicControl::WndProc(m);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::SetAutoSize(bool value) {
  if (value == FAutoSize) return;
  FAutoSize = value;
  AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value) {
  if (value == FLayout) return;
  FLayout = value;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool value) {
  if (value == FWordWrap) return;
  FWordWrap = value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  if (value)
    FControlStyle -= csOpaque;
  else
    FControlStyle += csOpaque;
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value) {
  if (value == FShowAccelChar) return;
  FShowAccelChar = value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* control) {
  if (control == FFocusControl) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = control;
  if (control) control->FreeNotification(this);
}

unsigned TCustomLabel::TextFlags() const {
  unsigned flags = DT_EXPANDTABS;
  if (FWordWrap) flags |= DT_WORDBREAK;
  if (!FShowAccelChar) flags |= DT_NOPREFIX;
  switch (FAlignment) {
  case taLeftJustify:
    flags |= DT_LEFT;
    break;
  case taRightJustify:
    flags |= DT_RIGHT;
    break;
  case taCenter:
    flags |= DT_CENTER;
    break;
  }
  return flags;
}

// The label keeps its left edge (its right edge when right-aligned) and
// takes the size of its text; an empty caption keeps the height of one line.
void TCustomLabel::AdjustBounds() {
  if (!FAutoSize || ComponentState().Contains(csLoading)) return;
  HDC dc = GetDC(nullptr);
  TCanvas measure;
  measure.SetHandle(dc);
  measure.Font()->Assign(Font());
  std::string text = Text();
  if (text.empty() || (FShowAccelChar && text == "&")) text = " ";
  RECT r{0, 0, FWordWrap ? Width() : 0, 0};
  measure.TextRect(r, text, TextFlags() | DT_CALCRECT);
  measure.SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  int left = Left();
  if (!FWordWrap && FAlignment == taRightJustify) left = Left() + Width() - r.Width();
  if (!FWordWrap && FAlignment == taCenter) left = Left() + (Width() - r.Width()) / 2;
  SetBounds(left, Top(), FWordWrap ? Width() : r.Width(), r.Height());
}

char32_t TCustomLabel::AccelChar() {
  if (!FShowAccelChar) return 0;
  const std::string text = Text();
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i; // a doubled ampersand is a plain one
      continue;
    }
    // Decode the UTF-8 character after the ampersand.
    const auto* s = reinterpret_cast<const unsigned char*>(text.data() + i + 1);
    const size_t left = text.size() - i - 1;
    char32_t c = s[0];
    if (c >= 0xC0 && c < 0xE0 && left >= 2)
      c = ((c & 0x1F) << 6) | (s[1] & 0x3F);
    else if (c >= 0xE0 && c < 0xF0 && left >= 3)
      c = ((c & 0x0F) << 12) | ((s[1] & 0x3F) << 6) | (s[2] & 0x3F);
    return LowerChar(c);
  }
  return 0;
}

bool TCustomLabel::DialogChar(char32_t ch) {
  const char32_t accel = AccelChar();
  if (accel == 0 || LowerChar(ch) != accel) return false;
  if (!FFocusControl || !FFocusControl->CanFocus()) return false;
  FFocusControl->SetFocus();
  return true;
}

void TCustomLabel::Paint() {
  TCanvas* c = Canvas();
  RECT r = ClientRect();
  if (!FTransparent) {
    c->Brush()->SetColor(Color());
    c->FillRect(r);
  }
  c->Brush()->SetStyle(bsClear);
  const std::string text = Text();
  // The layout moves the text block down inside the label.
  if (FLayout != tlTop) {
    RECT calc{0, 0, r.Width(), 0};
    c->TextRect(calc, text, TextFlags() | DT_CALCRECT);
    const int free = r.Height() - calc.Height();
    r.top += FLayout == tlCenter ? free / 2 : free;
  }
  if (!Enabled()) {
    // Disabled text: engraved, a highlight copy one pixel down and right.
    RECT shadow = r;
    OffsetRect(shadow, 1, 1);
    c->Font()->SetColor(clBtnHighlight);
    c->TextRect(shadow, text, TextFlags());
    c->Font()->SetColor(clBtnShadow);
  }
  c->TextRect(r, text, TextFlags());
}

char32_t LowerChar(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 32;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20; // А..Я
  if (c >= 0x400 && c <= 0x40F) return c + 0x50; // Ѐ..Џ, Ё among them
  return c;
}

bool DispatchDialogChar(TWinControl* form, char32_t ch) {
  if (!form) return false;
  for (int i = 0; i < form->ControlCount(); ++i) {
    TControl* c = form->Controls(i);
    if (!c->Visible() || !c->Enabled()) continue;
    if (c->Perform(CM_DIALOGCHAR, WPARAM(ch)) != 0) return true;
    if (auto* w = dynamic_cast<TWinControl*>(c); w && DispatchDialogChar(w, ch)) return true;
  }
  return false;
}

} // namespace zel
