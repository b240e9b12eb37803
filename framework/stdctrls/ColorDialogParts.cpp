// The parts of the colour dialog.

#include "framework/stdctrls/ColorDialogParts.h"

#include <algorithm>

#include "framework/forms/Form.h"
#include "framework/stdctrls/Panel.h"

namespace zel {

using namespace sys;

namespace {
constexpr int kCellW = 20, kCellH = 17, kGap = 4;
} // namespace

// ---- TColorPalette -----------------------------------------------------------------

TColorPalette::TColorPalette(TComponent* owner, int columns, std::vector<TColor> colors)
    : TCustomControl(owner), FColumns(std::max(columns, 1)), FColors(std::move(colors)) {
  SetTabStop(true);
  const int rows = (Count() + FColumns - 1) / FColumns;
  SetBounds(0, 0, FColumns * (kCellW + kGap), rows * (kCellH + kGap));
}

void TColorPalette::SetColors(int index, TColor color) {
  if (index < 0 || index >= Count()) return;
  FColors[size_t(index)] = color;
  Invalidate();
}

void TColorPalette::SetSelected(int index) {
  if (index < -1 || index >= Count()) index = -1;
  if (index == FSelected) return;
  FSelected = index;
  Invalidate();
}

RECT TColorPalette::CellRect(int index) const {
  const int col = index % FColumns, row = index / FColumns;
  const int x = col * (kCellW + kGap) + kGap / 2, y = row * (kCellH + kGap) + kGap / 2;
  return RECT{x, y, x + kCellW, y + kCellH};
}

void TColorPalette::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  for (int i = 0; i < Count(); ++i) {
    RECT r = CellRect(i);
    if (i == FSelected) {
      RECT s = r;
      InflateRect(s, 2, 2);
      c->Brush()->SetColor(clWindowText);
      c->FrameRect(s);
      if (Focused()) {
        InflateRect(s, 1, 1);
        c->DrawFocusRect(s);
      }
    }
    Frame3D(c, r, clBtnShadow, clBtnHighlight);
    c->Brush()->SetColor(FColors[size_t(i)]);
    c->FillRect(r);
  }
}

void TColorPalette::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (CanFocus()) SetFocus();
  for (int i = 0; i < Count(); ++i) {
    RECT r = CellRect(i);
    InflateRect(r, kGap / 2, kGap / 2);
    if (PtInRect(r, POINT{x, y})) {
      SetSelected(i);
      if (OnSelect) OnSelect(this);
      break;
    }
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

bool TColorPalette::WantsKey(WORD key, TShiftState) {
  return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

void TColorPalette::KeyDown(WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  int i = std::max(FSelected, 0);
  switch (key) {
  case VK_LEFT:
    i = std::max(i - 1, 0);
    break;
  case VK_RIGHT:
    i = std::min(i + 1, Count() - 1);
    break;
  case VK_UP:
    if (i >= FColumns) i -= FColumns;
    break;
  case VK_DOWN:
    if (i + FColumns < Count()) i += FColumns;
    break;
  default:
    return;
  }
  key = 0;
  SetSelected(i);
  if (OnSelect) OnSelect(this);
}

// ---- THueSatField ------------------------------------------------------------------

THueSatField::THueSatField(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 182, 162);
  SetDoubleBuffered(true);
}

void THueSatField::SetValues(int hue, int sat) {
  hue = std::clamp(hue, 0, HLSMAX - 1);
  sat = std::clamp(sat, 0, HLSMAX);
  if (hue == FHue && sat == FSat) return;
  FHue = hue;
  FSat = sat;
  Invalidate();
}

POINT THueSatField::PointOf(int hue, int sat) {
  const int w = ClientWidth() - 2, h = ClientHeight() - 2;
  return POINT{1 + hue * (w - 1) / (HLSMAX - 1), 1 + (HLSMAX - sat) * (h - 1) / HLSMAX};
}

void THueSatField::Paint() {
  TCanvas* c = Canvas();
  RECT r = ClientRect();
  Frame3D(c, r, clBtnShadow, clBtnHighlight);
  // Columns of hue, rows of saturation, at the middle luminance; drawn in
  // 2-pixel blocks, which is fine enough to see no steps.
  for (int y = r.top; y < r.bottom; y += 2)
    for (int x = r.left; x < r.right; x += 2) {
      const int hue = (x - r.left) * (HLSMAX - 1) / std::max(r.Width() - 1, 1);
      const int sat = HLSMAX - (y - r.top) * HLSMAX / std::max(r.Height() - 1, 1);
      c->Brush()->SetColor(TColor(ColorHLSToRGB(hue, HLSMAX / 2, std::max(sat, 0))));
      c->FillRect(RECT{x, y, std::min(x + 2, int(r.right)), std::min(y + 2, int(r.bottom))});
    }
  // The cross hair.
  const POINT p = PointOf(FHue, FSat);
  c->Pen()->SetColor(clBlack);
  c->MoveTo(p.x - 8, p.y);
  c->LineTo(p.x - 2, p.y);
  c->MoveTo(p.x + 3, p.y);
  c->LineTo(p.x + 9, p.y);
  c->MoveTo(p.x, p.y - 8);
  c->LineTo(p.x, p.y - 2);
  c->MoveTo(p.x, p.y + 3);
  c->LineTo(p.x, p.y + 9);
}

void THueSatField::PickAt(int x, int y) {
  const int w = ClientWidth() - 2, h = ClientHeight() - 2;
  const int hue = std::clamp((x - 1) * (HLSMAX - 1) / std::max(w - 1, 1), 0, HLSMAX - 1);
  const int sat = std::clamp(HLSMAX - (y - 1) * HLSMAX / std::max(h - 1, 1), 0, HLSMAX);
  if (hue == FHue && sat == FSat) return;
  SetValues(hue, sat);
  if (OnChange) OnChange(this);
}

void THueSatField::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) PickAt(x, y);
  TCustomControl::MouseDown(button, shift, x, y);
}

void THueSatField::MouseMove(TShiftState shift, int x, int y) {
  if (ControlState().Contains(csLButtonDown)) PickAt(x, y);
  TCustomControl::MouseMove(shift, x, y);
}

// ---- TLuminanceBar -------------------------------------------------------------------

TLuminanceBar::TLuminanceBar(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 24, 162);
  SetTabStop(true);
  SetDoubleBuffered(true);
}

void TLuminanceBar::SetLuminance(int lum) {
  lum = std::clamp(lum, 0, HLSMAX);
  if (lum == FLum) return;
  FLum = lum;
  Invalidate();
}

void TLuminanceBar::SetHueSat(int hue, int sat) {
  if (hue == FHue && sat == FSat) return;
  FHue = hue;
  FSat = sat;
  Invalidate();
}

int TLuminanceBar::YOf(int lum) {
  const int h = ClientHeight() - 2;
  return 1 + (HLSMAX - lum) * (h - 1) / HLSMAX;
}

void TLuminanceBar::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  RECT bar{0, 0, 12, ClientHeight()};
  Frame3D(c, bar, clBtnShadow, clBtnHighlight);
  for (int y = bar.top; y < bar.bottom; ++y) {
    const int lum = HLSMAX - (y - bar.top) * HLSMAX / std::max(bar.Height() - 1, 1);
    c->Brush()->SetColor(TColor(ColorHLSToRGB(FHue, std::max(lum, 0), FSat)));
    c->FillRect(RECT{bar.left, y, bar.right, y + 1});
  }
  // The pointer: a small triangle pointing at the bar.
  const int y = YOf(FLum);
  const POINT tri[] = {{14, y}, {20, y - 5}, {20, y + 5}};
  c->Brush()->SetColor(clWindowText);
  c->Pen()->SetColor(clWindowText);
  c->Polygon(tri);
  if (Focused()) {
    RECT f = ClientRect();
    c->DrawFocusRect(f);
  }
}

void TLuminanceBar::PickAt(int y) {
  const int h = ClientHeight() - 2;
  const int lum = std::clamp(HLSMAX - (y - 1) * HLSMAX / std::max(h - 1, 1), 0, HLSMAX);
  if (lum == FLum) return;
  SetLuminance(lum);
  if (OnChange) OnChange(this);
}

void TLuminanceBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (CanFocus()) SetFocus();
  if (button == mbLeft) PickAt(y);
  TCustomControl::MouseDown(button, shift, x, y);
}

void TLuminanceBar::MouseMove(TShiftState shift, int x, int y) {
  if (ControlState().Contains(csLButtonDown)) PickAt(y);
  TCustomControl::MouseMove(shift, x, y);
}

void TLuminanceBar::KeyDown(WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  int lum = FLum;
  if (key == VK_UP)
    lum += 1;
  else if (key == VK_DOWN)
    lum -= 1;
  else
    return;
  key = 0;
  lum = std::clamp(lum, 0, HLSMAX);
  if (lum != FLum) {
    SetLuminance(lum);
    if (OnChange) OnChange(this);
  }
}

// ---- TNumberEdit ---------------------------------------------------------------------

TNumberEdit::TNumberEdit(TComponent* owner, int min, int max)
    : TCustomControl(owner), FMin(min), FMax(max), FValue(min) {
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  SetBounds(0, 0, 40, 21);
  SetCursor(crIBeam);
}

void TNumberEdit::SetValue(int v) {
  v = std::clamp(v, FMin, FMax);
  if (v == FValue) return;
  FValue = v;
  Invalidate();
}

void TNumberEdit::Edited(int v) {
  v = std::clamp(v, FMin, FMax);
  if (v == FValue) return;
  FValue = v;
  Invalidate();
  if (OnChange) OnChange(this);
}

void TNumberEdit::WndProc(TMessage& m) {
  if (m.Msg == WM_SETFOCUS) FFresh = true;
  if (m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS) Invalidate();
  TCustomControl::WndProc(m);
}

void TNumberEdit::Paint() {
  TCanvas* c = Canvas();
  RECT r = ClientRect();
  Frame3D(c, r, clBtnShadow, clBtnHighlight);
  Frame3D(c, r, cl3DDkShadow, cl3DLight);
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  RECT tr = r;
  tr.left += 3;
  const std::string text = std::to_string(FValue);
  if (Focused() && FFresh) {
    // The whole value is selected: the next digit replaces it.
    RECT sel{tr.left - 1, tr.top + 1, tr.left + c->TextWidth(text) + 1, tr.bottom - 1};
    c->Brush()->SetColor(clHighlight);
    c->FillRect(sel);
    c->Font()->SetColor(clHighlightText);
  }
  c->Brush()->SetStyle(bsClear);
  c->TextRect(tr, text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

bool TNumberEdit::WantsKey(WORD key, TShiftState) {
  return key == VK_UP || key == VK_DOWN;
}

void TNumberEdit::KeyDown(WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  switch (key) {
  case VK_UP:
    Edited(FValue + 1);
    break;
  case VK_DOWN:
    Edited(FValue - 1);
    break;
  case VK_BACK:
    Edited(FValue / 10);
    FFresh = false;
    break;
  case VK_DELETE:
    Edited(FMin);
    FFresh = false;
    break;
  default:
    return;
  }
  key = 0;
}

void TNumberEdit::KeyPress(char32_t& key) {
  TCustomControl::KeyPress(key);
  if (key >= U'0' && key <= U'9') {
    const int digit = int(key - U'0');
    const long long next = FFresh ? digit : (long long)FValue * 10 + digit;
    FFresh = false;
    Edited(int(std::min<long long>(next, FMax)));
    key = 0;
  }
}

void TNumberEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (CanFocus()) SetFocus();
  TCustomControl::MouseDown(button, shift, x, y);
}

// ---- TPushButton -------------------------------------------------------------------------

TPushButton::TPushButton(TComponent* owner, int modalResult)
    : TCustomControl(owner), FResult(modalResult) {
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 75, 25);
}

void TPushButton::SetDefault(bool value) {
  if (value == FDefault) return;
  FDefault = value;
  Invalidate();
}

void TPushButton::WndProc(TMessage& m) {
  if (m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS) Invalidate();
  if (m.Msg == CM_DIALOGKEY) {
    const bool mine = (m.WParam == VK_RETURN && FDefault) || (m.WParam == VK_ESCAPE && FCancel);
    if (mine && Showing() && Enabled()) {
      Click();
      m.Result = 1;
    }
    return;
  }
  TCustomControl::WndProc(m);
}

void TPushButton::Click() {
  TCustomControl::Click();
  if (FResult != 0)
    if (auto* form = GetParentForm(this)) form->SetModalResult(FResult);
}

void TPushButton::Paint() {
  TCanvas* c = Canvas();
  RECT r = ClientRect();
  const bool down = ControlState().Contains(csLButtonDown);
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(r);
  // The focused button, and the default one, wear a dark outer frame.
  if (Focused() || FDefault) {
    c->Brush()->SetColor(cl3DDkShadow);
    c->FrameRect(r);
    InflateRect(r, -1, -1);
  }
  if (down) {
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(r);
  } else {
    Frame3D(c, r, clBtnHighlight, cl3DDkShadow);
    Frame3D(c, r, cl3DLight, clBtnShadow);
  }
  c->Brush()->SetStyle(bsClear);
  RECT tr = ClientRect();
  if (down) OffsetRect(tr, 1, 1);
  c->TextRect(tr, Text(), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (Focused()) {
    RECT f = ClientRect();
    InflateRect(f, -4, -4);
    c->DrawFocusRect(f);
  }
}

void TPushButton::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
  if (CanFocus()) SetFocus();
  Invalidate();
  TCustomControl::MouseDown(b, s, x, y);
}

void TPushButton::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
  Invalidate();
  TCustomControl::MouseUp(b, s, x, y);
}

void TPushButton::KeyDown(WORD& key, TShiftState shift) {
  if (key == VK_SPACE || key == VK_RETURN) {
    key = 0;
    Click();
    return;
  }
  TCustomControl::KeyDown(key, shift);
}

} // namespace zel
