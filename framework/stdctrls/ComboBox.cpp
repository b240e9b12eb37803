// TComboBox and its drop-down list window.

#include "framework/stdctrls/ComboBox.h"

#include <algorithm>

#include "framework/graphics/GraphUtil.h"
#include "framework/stdctrls/Label.h"
#include "framework/stdctrls/Panel.h"
#include "framework/stdctrls/ScrollBar.h"
#include "platform/user/Input.h"
#include "platform/user/Paint.h"
#include "platform/user/ScrollBar.h"
#include "platform/user/SystemParams.h"
#include "platform/user/Window.h"

namespace zel {

using namespace sys;

namespace {

int MeasureLineHeight(TFont* font) {
  HDC dc = GetDC(nullptr);
  TCanvas measure;
  measure.SetHandle(dc);
  measure.Font()->Assign(font);
  const int h = measure.TextHeight("Wg");
  measure.SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  return h;
}

// The first character of a UTF-8 text, lower case.
char32_t FirstChar(const std::string& s) {
  if (s.empty()) return 0;
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  char32_t c = p[0];
  if (c >= 0xC0 && c < 0xE0 && s.size() >= 2)
    c = ((c & 0x1F) << 6) | (p[1] & 0x3F);
  else if (c >= 0xE0 && c < 0xF0 && s.size() >= 3)
    c = ((c & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F);
  return LowerChar(c);
}

} // namespace

// ---- TCustomComboBox -------------------------------------------------------------------

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TCustomControl(owner), FItems(std::make_unique<TStringList>()) {
  FControlStyle -= csCaptureMouse;
  FControlStyle -= csDoubleClicks;
  FControlStyle += csOpaque;
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  FItems->OnChange = [this](TObject* s) { ItemsChanged(s); };
  SetBounds(0, 0, 145, 21);
  FitHeight();
}

TCustomComboBox::~TCustomComboBox() {
  if (FList) {
    FList->Close();
    delete FList;
    FList = nullptr;
  }
}

void TCustomComboBox::WndProc(TMessage& m) {
  switch (m.Msg) {
  case WM_SETFOCUS:
    Invalidate();
    break;
  case WM_KILLFOCUS:
    if (DroppedDown()) ListClosed(false, -1);
    Invalidate();
    break;
  case CM_FONTCHANGED:
  case CM_PARENTFONTCHANGED:
    TCustomControl::WndProc(m);
    FitHeight();
    return;
  case CM_ENABLEDCHANGED:
    if (!Enabled() && DroppedDown()) ListClosed(false, -1);
    break;
  case WM_MOUSEWHEEL:
    if (!DroppedDown() && FItems->Count() > 0) {
      const int delta = short(HIWORD(m.WParam));
      const int next = std::clamp(FItemIndex + (delta > 0 ? -1 : 1), 0, FItems->Count() - 1);
      if (next != FItemIndex) ChooseItem(next);
    } else if (FList) {
      FList->Perform(m.Msg, m.WParam, m.LParam);
    }
    return;
  default:
    break;
  }
  TCustomControl::WndProc(m);
}

int TCustomComboBox::BorderSize() const {
  return (BevelOuter() != bvNone ? 1 : 0) + (BevelInner() != bvNone ? 1 : 0);
}

int TCustomComboBox::ItemHeight() {
  return FItemHeight > 0 ? FItemHeight : MeasureLineHeight(Font()) + 2;
}

void TCustomComboBox::SetItemHeight(int value) {
  FItemHeight = std::max(value, 0);
  FitHeight();
  Invalidate();
}

// The box is as high as one item with its border and a pixel of air.
void TCustomComboBox::FitHeight() {
  SetHeight(ItemHeight() + 2 * BorderSize() + 2);
}

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  Invalidate();
}

void TCustomComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= FItems->Count()) index = -1;
  if (index == FItemIndex) return;
  FItemIndex = index;
  Invalidate();
}

std::string TCustomComboBox::ItemText() {
  return FItemIndex >= 0 && FItemIndex < FItems->Count() ? FItems->Get(FItemIndex) : "";
}

void TCustomComboBox::ItemsChanged(TObject*) {
  if (FItemIndex >= FItems->Count()) FItemIndex = -1;
  if (FList) FList->Invalidate();
  Invalidate();
}

void TCustomComboBox::ChooseItem(int index) {
  if (index < -1 || index >= FItems->Count()) return;
  const bool changed = index != FItemIndex;
  SetItemIndex(index);
  Select();
  if (changed) Change();
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}
void TCustomComboBox::Select() {
  if (OnSelect) OnSelect(this);
}
void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}
void TCustomComboBox::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

RECT TCustomComboBox::ButtonRect() {
  const RECT c = ClientRect();
  const int b = BorderSize();
  const int w = GetSystemMetrics(SM_CXVSCROLL);
  return RECT{c.right - b - w, c.top + b, c.right - b, c.bottom - b};
}

bool TCustomComboBox::DroppedDown() const {
  return FList && FList->Visible();
}

void TCustomComboBox::SetDroppedDown(bool value) {
  if (value == DroppedDown()) return;
  if (!value) {
    ListClosed(false, -1);
    return;
  }
  DropDown();
  if (!FList) FList = new TComboListWindow(this);
  const int rows = std::max(1, std::min(FDropDownCount, FItems->Count()));
  const POINT origin = ClientToScreen(POINT{0, 0});
  const int h = rows * ItemHeight() + 2;
  RECT r{origin.x, origin.y + Height(), origin.x + Width(), origin.y + Height() + h};
  // Opens upwards when the screen ends below.
  if (r.bottom > GetSystemMetrics(SM_CYSCREEN) && origin.y - h >= 0)
    r = RECT{origin.x, origin.y - h, origin.x + Width(), origin.y};
  FList->Open(r, rows);
  FList->SetHotIndex(FItemIndex);
  Invalidate();
}

void TCustomComboBox::ListClosed(bool choose, int index) {
  if (!FList || !FList->Visible()) return;
  FList->Close();
  Invalidate();
  if (choose) ChooseItem(index);
  CloseUp();
}

void TCustomComboBox::DrawItem(TCanvas* canvas, int index, const RECT& rect,
                               TOwnerDrawState state) {
  canvas->Font()->Assign(Font());
  const bool selected = state.Contains(odSelected);
  canvas->Brush()->SetColor(selected ? clHighlight : Color());
  canvas->Font()->SetColor(selected ? clHighlightText : (Enabled() ? Font()->Color() : clGrayText));
  const bool ownerDraw = FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable;
  if (ownerDraw && OnDrawItem) {
    TCanvas* saved = FDrawCanvas;
    FDrawCanvas = canvas;
    try {
      OnDrawItem(this, index, rect, state);
    } catch (...) {
      FDrawCanvas = saved;
      throw;
    }
    FDrawCanvas = saved;
    return;
  }
  canvas->FillRect(rect);
  if (index < 0 || index >= FItems->Count()) return;
  RECT tr = rect;
  tr.left += 2;
  canvas->Brush()->SetStyle(bsClear);
  canvas->TextRect(tr, FItems->Get(index), DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
}

void TCustomComboBox::Paint() {
  TCanvas* c = Canvas();
  RECT r = ClientRect();
  if (BevelOuter() != bvNone) Frame3D(c, r, clBtnShadow, clBtnHighlight);
  if (BevelInner() != bvNone) Frame3D(c, r, cl3DDkShadow, cl3DLight);
  const RECT button = ButtonRect();
  RECT edit{r.left, r.top, button.left, r.bottom};
  c->Brush()->SetColor(Enabled() ? Color() : clBtnFace);
  c->FillRect(edit);
  DrawScrollArrowButton(c, button, sdDown, DroppedDown(), Enabled());
  InflateRect(edit, -1, -1);
  TOwnerDrawState state{odComboBoxEdit};
  const bool focused = Focused() && !DroppedDown();
  if (focused) state += odSelected, state += odFocused;
  if (!Enabled()) state += odDisabled;
  if (FItemIndex >= 0 || focused) {
    DrawItem(c, FItemIndex, edit, state);
    if (focused) {
      c->Brush()->SetColor(clHighlight);
      c->Font()->SetColor(clHighlightText);
      c->DrawFocusRect(edit);
    }
  }
}

bool TCustomComboBox::WantsKey(WORD key, TShiftState) {
  if (IsNavigationKey(key)) return true;
  switch (key) {
  case VK_RETURN:
  case VK_ESCAPE:
    return DroppedDown();
  default:
    return false;
  }
}

void TCustomComboBox::KeyDown(WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == 0) return;
  const int count = FItems->Count();
  if (key == VK_F4 || ((key == VK_DOWN || key == VK_UP) && shift.Contains(ssAlt))) {
    SetDroppedDown(!DroppedDown());
    key = 0;
    return;
  }
  if (DroppedDown()) {
    // The keys move the highlight of the open list; Enter takes it.
    int hot = FList->HotIndex();
    switch (key) {
    case VK_UP:
    case VK_LEFT:
      hot = std::max(hot - 1, 0);
      break;
    case VK_DOWN:
    case VK_RIGHT:
      hot = std::min(hot + 1, count - 1);
      break;
    case VK_PRIOR:
      hot = std::max(hot - FList->Rows() + 1, 0);
      break;
    case VK_NEXT:
      hot = std::min(hot + FList->Rows() - 1, count - 1);
      break;
    case VK_HOME:
      hot = 0;
      break;
    case VK_END:
      hot = count - 1;
      break;
    case VK_RETURN:
      ListClosed(true, FList->HotIndex());
      key = 0;
      return;
    case VK_ESCAPE:
      ListClosed(false, -1);
      key = 0;
      return;
    default:
      return;
    }
    FList->SetHotIndex(hot);
    key = 0;
    return;
  }
  if (count == 0) return;
  int next = FItemIndex;
  switch (key) {
  case VK_UP:
  case VK_LEFT:
    next = std::max(FItemIndex - 1, 0);
    break;
  case VK_DOWN:
  case VK_RIGHT:
    next = std::min(FItemIndex + 1, count - 1);
    break;
  case VK_PRIOR:
    next = std::max(FItemIndex - FDropDownCount + 1, 0);
    break;
  case VK_NEXT:
    next = std::min(std::max(FItemIndex, 0) + FDropDownCount - 1, count - 1);
    break;
  case VK_HOME:
    next = 0;
    break;
  case VK_END:
    next = count - 1;
    break;
  default:
    return;
  }
  key = 0;
  if (next != FItemIndex) ChooseItem(next);
}

// A letter chooses the next item that starts with it, going round.
void TCustomComboBox::KeyPress(char32_t& key) {
  TCustomControl::KeyPress(key);
  if (key < 0x20) return;
  const char32_t wanted = LowerChar(key);
  const int count = FItems->Count();
  for (int step = 1; step <= count; ++step) {
    const int i =
        (std::max(FItemIndex, DroppedDown() ? FList->HotIndex() : FItemIndex) + step + count) %
        count;
    if (FirstChar(FItems->Get(i)) == wanted) {
      if (DroppedDown())
        FList->SetHotIndex(i);
      else if (i != FItemIndex)
        ChooseItem(i);
      break;
    }
  }
  key = 0;
}

void TCustomComboBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && Enabled()) {
    if (CanFocus() && !Focused()) SetFocus();
    SetDroppedDown(!DroppedDown());
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

// ---- TComboListWindow ---------------------------------------------------------------

TComboListWindow::TComboListWindow(TCustomComboBox* combo)
    : TCustomControl(nullptr), FCombo(combo), FBar(std::make_unique<TDrawnScrollBar>(sbVertical)) {
  FControlStyle -= csCaptureMouse;
  SetVisible(false);
  SetParentColor(false);
  SetColor(clWindow);
  FBar->OnInvalidate = [this] { Invalidate(); };
  FBar->OnScroll = [this](WORD code, int pos) {
    switch (code) {
    case SB_LINEUP:
      SetTopIndex(FTop - 1);
      break;
    case SB_LINEDOWN:
      SetTopIndex(FTop + 1);
      break;
    case SB_PAGEUP:
      SetTopIndex(FTop - FRows);
      break;
    case SB_PAGEDOWN:
      SetTopIndex(FTop + FRows);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      SetTopIndex(pos);
      break;
    default:
      break;
    }
  };
}

TComboListWindow::~TComboListWindow() {
  if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
}

void TComboListWindow::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style = WS_POPUP | WS_CLIPSIBLINGS;
  p.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  p.WndParent = nullptr;
  p.WinClassName = "ZelComboList";
}

bool TComboListWindow::HasScrollBar() const {
  return FCombo->Items()->Count() > FRows;
}

RECT TComboListWindow::VertScrollBarRect() const {
  return FBar->Bounds();
}

void TComboListWindow::LayoutBar() {
  const RECT c = ClientRect();
  const int w = GetSystemMetrics(SM_CXVSCROLL);
  FBar->SetBounds(HasScrollBar() ? RECT{c.right - 1 - w, c.top + 1, c.right - 1, c.bottom - 1}
                                 : RECT{});
  FBar->SetParams(0, FCombo->Items()->Count() - 1, FRows, FTop);
}

void TComboListWindow::Open(const RECT& r, int rows) {
  FRows = rows;
  FTop = std::clamp(FTop, 0, std::max(0, FCombo->Items()->Count() - FRows));
  FPressedInside = FMovedInside = false;
  SetBounds(r.left, r.top, r.Width(), r.Height());
  LayoutBar();
  HandleNeeded();
  SetVisible(true);
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetCapture(Handle());
  Invalidate();
}

// Hidden first, so that the loss of the capture is not taken for a press
// elsewhere.
void TComboListWindow::Close() {
  SetVisible(false);
  if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
}

void TComboListWindow::SetTopIndex(int index) {
  index = std::clamp(index, 0, std::max(0, FCombo->Items()->Count() - FRows));
  if (index == FTop) return;
  FTop = index;
  FBar->SetPosition(index);
  Invalidate();
}

void TComboListWindow::SetHotIndex(int index) {
  if (index < -1 || index >= FCombo->Items()->Count()) index = -1;
  FHot = index;
  if (index >= 0) {
    if (index < FTop) SetTopIndex(index);
    if (index >= FTop + FRows) SetTopIndex(index - FRows + 1);
  }
  Invalidate();
}

RECT TComboListWindow::ItemRect(int index) {
  const RECT c = ClientRect();
  const int h = FCombo->ItemHeight();
  const int right = HasScrollBar() ? FBar->Bounds().left : c.right - 1;
  const int top = 1 + (index - FTop) * h;
  return RECT{1, top, right, top + h};
}

int TComboListWindow::ItemAt(POINT p) {
  const RECT c = ClientRect();
  if (p.x < 1 || p.y < 1 || p.y >= c.bottom - 1) return -1;
  if (HasScrollBar() ? p.x >= FBar->Bounds().left : p.x >= c.right - 1) return -1;
  const int i = FTop + (p.y - 1) / std::max(FCombo->ItemHeight(), 1);
  return i < FCombo->Items()->Count() ? i : -1;
}

void TComboListWindow::Paint() {
  TCanvas* c = Canvas();
  const RECT client = ClientRect();
  c->Brush()->SetColor(clWindow);
  c->FillRect(client);
  c->Brush()->SetColor(clWindowFrame);
  c->FrameRect(client);
  const int count = FCombo->Items()->Count();
  HDC dc = c->Handle();
  for (int i = FTop; i < std::min(count, FTop + FRows); ++i) {
    const RECT r = ItemRect(i);
    TOwnerDrawState state;
    if (i == FHot) state += odSelected, state += odFocused;
    // The canvas lets go of its objects first, so that the saved state
    // holds none of them and they can be freed later.
    c->Refresh();
    SaveDC(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    FCombo->DrawItem(c, i, r, state);
    RestoreDC(dc, -1);
    c->Refresh();
  }
  if (HasScrollBar()) FBar->Paint(c);
}

void TComboListWindow::Mouse(TMessage& m) {
  const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  const RECT client = ClientRect();
  switch (m.Msg) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDOWN:
    if (!PtInRect(client, p)) {
      // A press anywhere else closes the list without a choice.
      FCombo->ListClosed(false, -1);
      return;
    }
    FPressedInside = true;
    if (m.Msg == WM_LBUTTONDOWN && HasScrollBar() && FBar->MouseDown(p)) return;
    if (int i = ItemAt(p); i >= 0) SetHotIndex(i);
    return;
  case WM_MOUSEMOVE:
    if (FBar->Tracking()) {
      FBar->MouseMove(p);
      return;
    }
    if (int i = ItemAt(p); i >= 0) {
      if (m.WParam & MK_LBUTTON) FMovedInside = true;
      if (i != FHot) SetHotIndex(i);
    }
    return;
  case WM_LBUTTONUP: {
    if (FBar->Tracking()) {
      FBar->MouseUp(p);
      // Scrolling never ends a drag; the list waits for a choice.
      if (GetCapture() != Handle()) SetCapture(Handle());
      return;
    }
    const int i = ItemAt(p);
    if (i >= 0 && (FPressedInside || FMovedInside)) FCombo->ListClosed(true, i);
    return;
  }
  default:
    return;
  }
}

void TComboListWindow::WndProc(TMessage& m) {
  switch (m.Msg) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDOWN:
  case WM_MOUSEMOVE:
  case WM_LBUTTONUP:
    Mouse(m);
    return;
  case WM_RBUTTONUP:
  case WM_RBUTTONDBLCLK:
    return;
  case WM_MOUSEACTIVATE:
    m.Result = MA_NOACTIVATE;
    return;
  case WM_MOUSEWHEEL: {
    const int delta = short(HIWORD(m.WParam));
    SetTopIndex(FTop + (delta > 0 ? -3 : 3));
    return;
  }
  case WM_CAPTURECHANGED:
    // Losing the mouse to someone else closes the list.
    if (Visible() && HWND(m.LParam) != Handle()) {
      m.Result = 0;
      FCombo->ListClosed(false, -1);
    }
    return;
  case WM_SIZE:
    TCustomControl::WndProc(m);
    LayoutBar();
    return;
  default:
    break;
  }
  TCustomControl::WndProc(m);
}

} // namespace zel
