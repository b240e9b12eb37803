#include "framework/stdctrls/ListBox.h"

#include <algorithm>

#include "framework/graphics/GraphUtil.h"
#include "framework/stdctrls/Panel.h"
#include "framework/stdctrls/ScrollBar.h"
#include "platform/user/User.h"

namespace zel {

using namespace sys;

namespace {
// The sunken frame takes two pixels on every side.
constexpr int Border = 2;
constexpr int CheckSize = 13;
} // namespace

TCustomListBox::TCustomListBox(TComponent* owner)
    : TCustomControl(owner), FItems(std::make_unique<TStringList>()),
      FBar(std::make_unique<TDrawnScrollBar>(sbVertical)) {
  SetParentColor(false);
  SetColor(clWindow);
  SetTabStop(true);
  SetBounds(0, 0, 121, 97);
  // OnClick tells of a new choice, not of every press and release.
  FControlStyle -= csClickEvents;
  FItems->OnChange = [this](TObject* sender) { ItemsChanged(sender); };
  FBar->OnInvalidate = [this] { Invalidate(); };
  FBar->OnScroll = [this](WORD code, int position) {
    switch (code) {
    case SB_LINEUP:
      SetTopIndex(FTopIndex - 1);
      break;
    case SB_LINEDOWN:
      SetTopIndex(FTopIndex + 1);
      break;
    case SB_PAGEUP:
      SetTopIndex(FTopIndex - std::max(VisibleRows(), 1));
      break;
    case SB_PAGEDOWN:
      SetTopIndex(FTopIndex + std::max(VisibleRows(), 1));
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      SetTopIndex(position);
      break;
    default:
      break;
    }
  };
}

TCustomListBox::~TCustomListBox() {
  FItems->OnChange = nullptr;
}

int TCustomListBox::Count() const {
  return FItems->Count();
}

void TCustomListBox::ItemsChanged(TObject*) {
  // Check states follow the lines by position.
  FChecked.resize(size_t(Count()), false);
  if (FItemIndex >= Count()) FItemIndex = -1;
  FTopIndex = std::clamp(FTopIndex, 0, std::max(0, Count() - VisibleRows()));
  LayoutBar();
  Invalidate();
}

int TCustomListBox::ItemHeight() {
  if (FItemHeight > 0) return FItemHeight;
  // Measured once per font; a new font clears it.
  if (FFontHeight == 0) {
    HDC dc = GetDC(nullptr);
    TCanvas measure;
    measure.SetHandle(dc);
    measure.Font()->Assign(Font());
    FFontHeight = measure.TextHeight("Wg");
    measure.SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
  }
  return std::max(FFontHeight + 3, FCheckBoxes ? CheckSize + 3 : 1);
}

void TCustomListBox::SetItemHeight(int value) {
  FItemHeight = std::max(value, 0);
  ItemsChanged(nullptr);
}

void TCustomListBox::SetStyle(TListBoxStyle value) {
  FStyle = value;
  Invalidate();
}

void TCustomListBox::SetCheckBoxes(bool value) {
  FCheckBoxes = value;
  ItemsChanged(nullptr);
}

bool TCustomListBox::Checked(int index) const {
  return index >= 0 && index < int(FChecked.size()) && FChecked[size_t(index)];
}

void TCustomListBox::SetChecked(int index, bool value) {
  if (index < 0 || index >= Count()) return;
  FChecked.resize(size_t(Count()), false);
  if (FChecked[size_t(index)] == value) return;
  FChecked[size_t(index)] = value;
  Invalidate();
}

RECT TCustomListBox::InnerRect() {
  RECT r = ClientRect();
  InflateRect(r, -Border, -Border);
  if (HasScrollBar()) r.right = FBar->Bounds().left;
  return r;
}

int TCustomListBox::VisibleRows() {
  RECT r = ClientRect();
  InflateRect(r, -Border, -Border);
  return std::max(r.Height(), 0) / std::max(ItemHeight(), 1);
}

bool TCustomListBox::HasScrollBar() {
  return Count() > VisibleRows();
}

void TCustomListBox::LayoutBar() {
  RECT r = ClientRect();
  InflateRect(r, -Border, -Border);
  const int w = GetSystemMetrics(SM_CXVSCROLL);
  FBar->SetBounds(HasScrollBar() ? RECT{r.right - w, r.top, r.right, r.bottom} : RECT{});
  FBar->SetParams(0, std::max(Count() - 1, 0), std::max(VisibleRows(), 1), FTopIndex);
}

void TCustomListBox::Resize() {
  FTopIndex = std::clamp(FTopIndex, 0, std::max(0, Count() - VisibleRows()));
  LayoutBar();
  TCustomControl::Resize();
}

void TCustomListBox::SetTopIndex(int index) {
  index = std::clamp(index, 0, std::max(0, Count() - VisibleRows()));
  if (index == FTopIndex) return;
  FTopIndex = index;
  FBar->SetPosition(index);
  Invalidate();
}

void TCustomListBox::SetItemIndex(int index) {
  if (index < -1 || index >= Count()) index = -1;
  FItemIndex = index;
  if (index >= 0) {
    if (index < FTopIndex) SetTopIndex(index);
    if (index >= FTopIndex + VisibleRows()) SetTopIndex(index - VisibleRows() + 1);
  }
  Invalidate();
}

void TCustomListBox::ChooseItem(int index) {
  if (index < 0 || index >= Count()) return;
  const bool changed = index != FItemIndex;
  SetItemIndex(index);
  if (changed) Click();
}

void TCustomListBox::ToggleCheck(int index) {
  if (!FCheckBoxes || index < 0 || index >= Count()) return;
  SetChecked(index, !Checked(index));
  if (OnClickCheck) OnClickCheck(this);
}

RECT TCustomListBox::ItemRect(int index) {
  const RECT inner = InnerRect();
  const int h = ItemHeight();
  const int top = inner.top + (index - FTopIndex) * h;
  return RECT{inner.left, top, inner.right, top + h};
}

RECT TCustomListBox::CheckBoxRect(int index) {
  const RECT r = ItemRect(index);
  const int top = r.top + (r.Height() - CheckSize) / 2;
  return RECT{r.left + 2, top, r.left + 2 + CheckSize, top + CheckSize};
}

int TCustomListBox::ItemAtPos(POINT p) {
  const RECT inner = InnerRect();
  if (!PtInRect(inner, p)) return -1;
  const int i = FTopIndex + (p.y - inner.top) / std::max(ItemHeight(), 1);
  return i < Count() ? i : -1;
}

// ---- Painting -------------------------------------------------------------------------------

void TCustomListBox::DrawCheckBox(const RECT& box, bool checked) {
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Enabled() ? clWindow : clBtnFace);
  c->FillRect(box);
  RECT edge = box;
  Frame3D(c, edge, clBtnShadow, clBtnHighlight);
  Frame3D(c, edge, cl3DDkShadow, cl3DLight);
  if (!checked) return;
  c->Pen()->SetColor(Enabled() ? clWindowText : clGrayText);
  DrawCheck(c, POINT{box.left + 3, box.top + 6}, 2, false);
}

void TCustomListBox::DrawItem(int index, const RECT& rect, TOwnerDrawState state) {
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  const bool selected = state.Contains(odSelected);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(selected ? clHighlight : Color());
  c->Font()->SetColor(selected ? clHighlightText : (Enabled() ? Font()->Color() : clGrayText));
  if (FStyle == lbOwnerDrawFixed && OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  c->FillRect(rect);
  RECT tr = rect;
  tr.left += 2;
  c->Brush()->SetStyle(bsClear);
  c->TextRect(tr, FItems->Get(index), DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
}

void TCustomListBox::Paint() {
  TCanvas* c = Canvas();
  RECT r = ClientRect();
  Frame3D(c, r, clBtnShadow, clBtnHighlight);
  Frame3D(c, r, cl3DDkShadow, cl3DLight);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Enabled() ? Color() : clBtnFace);
  c->FillRect(r);
  const RECT inner = InnerRect();
  HDC dc = c->Handle();
  const int last = std::min(Count(), FTopIndex + VisibleRows() + 1);
  for (int i = FTopIndex; i < last; ++i) {
    RECT line = ItemRect(i);
    RECT clip;
    if (!IntersectRect(clip, line, inner)) continue;
    TOwnerDrawState state;
    if (i == FItemIndex) state += odSelected;
    if (i == FItemIndex && Focused()) state += odFocused;
    if (!Enabled()) state += odDisabled;
    if (Checked(i)) state += odChecked;
    // The canvas lets go of its objects before the context state is saved,
    // so that restoring it frees none of them.
    c->Refresh();
    SaveDC(dc);
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    RECT text = line;
    if (FCheckBoxes) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(Color());
      c->FillRect(RECT{line.left, line.top, line.left + CheckSize + 6, line.bottom});
      DrawCheckBox(CheckBoxRect(i), Checked(i));
      text.left += CheckSize + 6;
    }
    DrawItem(i, text, state);
    if (state.Contains(odFocused)) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(clHighlight);
      c->Font()->SetColor(clHighlightText);
      c->DrawFocusRect(text);
    }
    c->Refresh();
    RestoreDC(dc, -1);
  }
  // With the keyboard but nothing chosen, the first row in view shows the
  // focus, an empty list its first row's place.
  if (Focused() && (FItemIndex < 0 || FItemIndex >= Count())) {
    RECT line = Count() > 0 ? ItemRect(FTopIndex)
                            : RECT{inner.left, inner.top, inner.right, inner.top + ItemHeight()};
    RECT clip;
    if (IntersectRect(clip, line, inner)) {
      c->Brush()->SetStyle(bsSolid);
      c->DrawFocusRect(clip);
    }
  }
  if (HasScrollBar()) FBar->Paint(c);
}

// ---- Input ----------------------------------------------------------------------------------

void TCustomListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (CanFocus()) SetFocus();
  const POINT p{x, y};
  if (button == mbLeft && HasScrollBar() && FBar->MouseDown(p)) return;
  const int i = ItemAtPos(p);
  if (i >= 0 && (button == mbLeft || button == mbRight)) {
    ChooseItem(i);
    if (button == mbLeft && FCheckBoxes && PtInRect(CheckBoxRect(i), p)) ToggleCheck(i);
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomListBox::MouseMove(TShiftState shift, int x, int y) {
  if (FBar->Tracking()) {
    FBar->MouseMove(POINT{x, y});
    return;
  }
  TCustomControl::MouseMove(shift, x, y);
}

void TCustomListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (FBar->Tracking()) {
    FBar->MouseUp(POINT{x, y});
    return;
  }
  TCustomControl::MouseUp(button, shift, x, y);
}

bool TCustomListBox::WantsKey(WORD key, TShiftState) {
  switch (key) {
  case VK_UP:
  case VK_DOWN:
  case VK_PRIOR:
  case VK_NEXT:
  case VK_HOME:
  case VK_END:
    return true;
  case VK_SPACE:
    return FCheckBoxes;
  default:
    return false;
  }
}

void TCustomListBox::KeyDown(WORD& key, TShiftState shift) {
  const int page = std::max(VisibleRows() - 1, 1);
  const int last = Count() - 1;
  int target = -2;
  switch (key) {
  case VK_UP:
    target = FItemIndex < 0 ? 0 : FItemIndex - 1;
    break;
  case VK_DOWN:
    target = FItemIndex + 1;
    break;
  case VK_PRIOR:
    target = FItemIndex - page;
    break;
  case VK_NEXT:
    target = FItemIndex + page;
    break;
  case VK_HOME:
    target = 0;
    break;
  case VK_END:
    target = last;
    break;
  case VK_SPACE:
    if (FCheckBoxes && FItemIndex >= 0) {
      ToggleCheck(FItemIndex);
      key = 0;
      return;
    }
    break;
  default:
    break;
  }
  if (target != -2 && last >= 0) {
    ChooseItem(std::clamp(target, 0, last));
    key = 0;
    return;
  }
  TCustomControl::KeyDown(key, shift);
}

void TCustomListBox::WndProc(TMessage& m) {
  switch (m.Msg) {
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
    Invalidate();
    break;
  case WM_MOUSEWHEEL:
    SetTopIndex(FTopIndex + (short(HIWORD(m.WParam)) > 0 ? -3 : 3));
    return;
  case CM_FONTCHANGED:
  case CM_PARENTFONTCHANGED:
    FFontHeight = 0;
    TCustomControl::WndProc(m);
    ItemsChanged(nullptr);
    return;
  default:
    break;
  }
  TCustomControl::WndProc(m);
}

} // namespace zel
