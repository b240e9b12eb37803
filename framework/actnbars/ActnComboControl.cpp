// The combo control of list actions on tool bars and its windowed box.

#include "framework/actnbars/ActnComboControl.h"

#include <algorithm>
#include <string>
#include <vector>

#include "framework/actions/ListActns.h"
#include "framework/actnbars/ActnColorMaps.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/graphics/GraphUtil.h"
#include "framework/graphics/ImageList.h"
#include "framework/stdctrls/Panel.h"
#include "framework/stdctrls/ScrollBar.h"
#include "platform/user/User.h"

namespace zel {

using namespace sys;

namespace {

// Posted to the box by a choice of the person.  The control takes the
// choice once the box's own handling of the key or click has returned, so
// an OnItemSelected handler may remake the bar's controls.
constexpr UINT CM_COMBOCHOSEN = WM_USER + 0x3B5;

TCustomImageList* ImagesOf(const TCustomActionControl* control) {
  TCustomActionBar* bar = control->ActionBar();
  TCustomActionManager* m = bar ? bar->ActionManager() : nullptr;
  return m ? m->Images() : nullptr;
}

void Fill(TCanvas* canvas, const RECT& r, TColor color) {
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(color);
  canvas->FillRect(r);
}

void Frame(TCanvas* canvas, const RECT& r, TColor color) {
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(color);
  canvas->FrameRect(r);
}

// A small arrow pointing down in the middle of r.
void DownArrow(TCanvas* canvas, const RECT& r, TColor color) {
  canvas->Pen()->SetColor(color);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(color);
  DrawArrow(canvas, sdDown, POINT{(r.left + r.right) / 2 - 2, (r.top + r.bottom) / 2 - 1}, 2);
}

// The colours an item of the box is painted in.
struct TItemColors {
  TColor fill, frame, text;
};

// Paints one item: the fill, an optional frame, the glyph and the caption.
void PaintComboItem(TCustomComboControl* control, TCanvas* canvas, int index, const RECT& r,
                    const TItemColors& colors) {
  Fill(canvas, r, colors.fill);
  if (colors.frame != clNone) Frame(canvas, r, colors.frame);
  TCustomListAction* action = control->ListAction();
  std::string caption;
  int image = -1;
  if (!action || !action->GetItem(index, caption, image)) return;
  RECT text = r;
  text.left += 3;
  if (TCustomImageList* images = ImagesOf(control)) {
    if (image >= 0 && image < images->Count())
      images->Draw(canvas, text.left, r.top + (r.bottom - r.top - images->Height()) / 2, image,
                   control->IsEnabled());
    // Items line up whether or not each has a glyph.
    bool anyGlyph = false;
    for (int i = 0; i < action->Count() && !anyGlyph; ++i) {
      std::string c;
      int g = -1;
      anyGlyph = action->GetItem(i, c, g) && g >= 0;
    }
    if (anyGlyph) text.left += images->Width() + 4;
  }
  canvas->Brush()->SetStyle(bsClear);
  canvas->Font()->SetColor(colors.text);
  canvas->TextRect(text, caption,
                   DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
}

} // namespace

bool IsComboItem(TCustomActionBar* bar, TActionClientItem* item) {
  if (!bar || !item || !dynamic_cast<TCustomActionToolBar*>(bar)) return false;
  if (item->HasItems() && item->Items()->Count() > 0) return false;
  return dynamic_cast<TCustomListAction*>(item->Action()) != nullptr;
}

// ---- TActionComboBox ----------------------------------------------------------------------

TActionComboBox::TActionComboBox(TComponent* owner, TCustomComboControl* control)
    : TCustomComboBox(owner), FControl(control) {
  SetStyle(csDropDownList);
  SetTabStop(false);
  SetDropDownCount(12);
}

TActionComboBox::~TActionComboBox() {
  // The bar deletes its windowed children before its other controls.
  if (FControl && FControl->FComboBox == this) FControl->FComboBox = nullptr;
}

void TActionComboBox::WndProc(TMessage& m) {
  switch (m.Msg) {
  case WM_NCHITTEST:
    // In design mode the mouse goes through to the item's control, which
    // the bar drags like any other.
    if (FControl && FControl->ActionBar() && FControl->ActionBar()->DesignMode()) {
      m.Result = HTTRANSPARENT;
      return;
    }
    break;
  case WM_RBUTTONUP:
    // A right click opens the tool bar's customize pop-up, as it does on
    // the bar's other items.
    if (auto* bar = FControl ? dynamic_cast<TCustomActionToolBar*>(FControl->ActionBar()) : nullptr;
        bar && !DroppedDown()) {
      bar->ShowCustomizePopup(
          ClientToScreen(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}));
      return;
    }
    break;
  case CM_COMBOCHOSEN:
    // Last thing this box does: the choice may remake the bar's controls.
    if (FControl) FControl->ItemChosen(int(m.WParam));
    return;
  default:
    break;
  }
  TCustomComboBox::WndProc(m);
}

void TActionComboBox::Paint() {
  if (!FControl) {
    TCustomComboBox::Paint();
    return;
  }
  const TComboPaintState s = FControl->PaintState();
  const RECT r = ClientRect();
  const RECT button{r.right - FControl->ButtonWidth(), r.top, r.right, r.bottom};
  FControl->DrawComboField(Canvas(), r, s);
  FControl->DrawComboButton(Canvas(), button, s);
  TOwnerDrawState state{odComboBoxEdit};
  if (s.focused && !s.dropped) state += odSelected, state += odFocused;
  if (!s.enabled) state += odDisabled;
  const RECT text{r.left + 2, r.top + 2, button.left - 1, r.bottom - 2};
  if (ItemIndex() >= 0 || state.Contains(odSelected))
    FControl->DrawComboItem(Canvas(), ItemIndex(), text, state);
}

void TActionComboBox::DrawItem(TCanvas* canvas, int index, const RECT& rect,
                               TOwnerDrawState state) {
  if (!FControl) {
    TCustomComboBox::DrawItem(canvas, index, rect, state);
    return;
  }
  canvas->Font()->Assign(Font());
  FControl->DrawComboItem(canvas, index, rect, state);
}

void TActionComboBox::MouseEnter() {
  FMouseIn = true;
  Invalidate();
  TCustomComboBox::MouseEnter();
}

void TActionComboBox::MouseLeave() {
  FMouseIn = false;
  Invalidate();
  TCustomComboBox::MouseLeave();
}

void TActionComboBox::Select() {
  TCustomComboBox::Select();
  if (HandleAllocated()) PostMessage(Handle(), CM_COMBOCHOSEN, WPARAM(ItemIndex()), 0);
}

void TActionComboBox::DropDown() {
  // The list shows the action's items as they are now.
  if (FControl) FControl->UpdateComboBox();
  TCustomComboBox::DropDown();
}

void TActionComboBox::CloseUp() {
  Invalidate();
  TCustomComboBox::CloseUp();
}

// ---- TCustomComboControl ------------------------------------------------------------------

TCustomComboControl::TCustomComboControl(TComponent* owner) : TCustomActionControl(owner) {
  FComboBox = new TActionComboBox(this, this);
}

TCustomComboControl::~TCustomComboControl() {
  if (FComboBox) {
    TActionComboBox* box = FComboBox;
    FComboBox = nullptr;
    box->FControl = nullptr;
    delete box;
  }
}

TCustomListAction* TCustomComboControl::ListAction() const {
  return ActionClient() ? dynamic_cast<TCustomListAction*>(ActionClient()->Action()) : nullptr;
}

TComboPaintState TCustomComboControl::PaintState() const {
  TComboPaintState s;
  if (!FComboBox) return s;
  TCustomActionBar* bar = ActionBar();
  const bool design = bar && bar->DesignMode();
  s.enabled = FComboBox->Enabled();
  s.dropped = FComboBox->DroppedDown();
  s.hot = s.enabled && !design && FComboBox->MouseInBox();
  s.focused = s.enabled && FComboBox->Focused();
  return s;
}

SIZE TCustomComboControl::CalcSize() {
  int text = 0;
  if (TCustomListAction* action = ListAction()) {
    Canvas()->SetHandle(nullptr);
    HDC dc = GetDC(nullptr);
    Canvas()->SetHandle(dc);
    Canvas()->Font()->Assign(Font());
    bool glyphs = false;
    for (int i = 0; i < action->Count(); ++i) {
      std::string caption;
      int image = -1;
      if (!action->GetItem(i, caption, image)) continue;
      text = std::max(text, Canvas()->TextWidth(caption));
      glyphs = glyphs || image >= 0;
    }
    Canvas()->SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
    if (TCustomImageList* images = ImagesOf(this); images && glyphs) text += images->Width() + 4;
  }
  const int width = text > 0 ? std::clamp(text + ButtonWidth() + 12, 60, 220) : 100;
  const int height = FComboBox ? FComboBox->ItemHeight() + 8 : 23;
  return SIZE{width, std::max(height, 23)};
}

void TCustomComboControl::SetActionClient(TActionClientItem* value) {
  TCustomActionControl::SetActionClient(value);
  UpdateComboBox();
}

void TCustomComboControl::SetParent(TWinControl* parent) {
  TCustomActionControl::SetParent(parent);
  if (FComboBox) FComboBox->SetParent(parent);
}

void TCustomComboControl::SetBounds(int left, int top, int width, int height) {
  TCustomActionControl::SetBounds(left, top, width, height);
  // A pixel of the bar shows above and below the box.
  if (FComboBox) FComboBox->SetBounds(left, top + 1, width, std::max(0, height - 2));
}

void TCustomComboControl::SetVisible(bool value) {
  TCustomActionControl::SetVisible(value);
  if (FComboBox) FComboBox->SetVisible(value);
}

void TCustomComboControl::Invalidate() {
  TCustomActionControl::Invalidate();
  if (!FComboBox || ComponentState().Contains(csDestroying)) return;
  UpdateComboBox();
  FComboBox->Invalidate();
}

void TCustomComboControl::UpdateComboBox() {
  if (!FComboBox) return;
  TCustomListAction* action = ListAction();
  std::vector<std::string> captions;
  bool glyphs = false;
  for (int i = 0; action && i < action->Count(); ++i) {
    std::string caption;
    int image = -1;
    action->GetItem(i, caption, image);
    captions.push_back(caption);
    glyphs = glyphs || image >= 0;
  }
  // The list is filled again only when it changed, since every repaint of
  // the control comes here.
  TStrings* items = FComboBox->Items();
  bool same = items->Count() == int(captions.size());
  for (int i = 0; same && i < items->Count(); ++i)
    same = items->Get(i) == captions[size_t(i)];
  if (!same) {
    items->BeginUpdate();
    items->Clear();
    for (const std::string& c : captions)
      items->Add(c);
    items->EndUpdate();
    // The widest item sets the control's width.
    if (TCustomActionBar* bar = ActionBar()) bar->LayoutControls();
  }
  // Rows as high as the glyphs when items have them, else as the font.
  TCustomImageList* images = ImagesOf(this);
  const int itemHeight = glyphs && images ? images->Height() + 2 : 0;
  if (itemHeight != FItemHeight) {
    FItemHeight = itemHeight;
    FComboBox->SetItemHeight(itemHeight);
    // The box fits its height to the rows; the control's bounds rule.
    FComboBox->SetBounds(Left(), Top() + 1, Width(), std::max(0, Height() - 2));
  }
  FComboBox->SetItemIndex(action ? action->ItemIndex() : -1);
  const bool enabled = IsEnabled();
  if (FComboBox->Enabled() != enabled) FComboBox->SetEnabled(enabled);
  if (FComboBox->Visible() != Visible()) FComboBox->SetVisible(Visible());
}

void TCustomComboControl::ItemChosen(int index) {
  TCustomListAction* action = ListAction();
  TActionClientItem* item = ActionClient();
  TCustomActionBar* bar = ActionBar();
  if (!action || !item || index < 0 || !IsEnabled() || (bar && bar->DesignMode())) return;
  item->CountUse();
  action->SelectItem(index);
}

// ---- Painting roles: the flat look ----------------------------------------------------------

void TCustomComboControl::DrawComboField(TCanvas* canvas, const RECT& r,
                                         const TComboPaintState& s) {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m) return;
  Fill(canvas, r, s.enabled ? TColor(clWindow) : m->Color());
  // Framed in the selection frame while the box is worked, else in a quiet
  // line that sets the field off the bar.
  const TColor frame = !s.enabled                          ? m->DisabledColor()
                       : (s.hot || s.dropped || s.focused) ? m->BtnFrameColor()
                                                           : m->ShadowColor();
  Frame(canvas, r, frame);
}

void TCustomComboControl::DrawComboButton(TCanvas* canvas, const RECT& r,
                                          const TComboPaintState& s) {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m) return;
  RECT inner{r.left, r.top + 1, r.right - 1, r.bottom - 1};
  if (s.dropped || s.hot || s.focused) {
    Fill(canvas, inner, s.dropped ? m->BtnSelectedColor() : m->SelectedColor());
    canvas->Pen()->SetColor(m->BtnFrameColor());
    canvas->MoveTo(inner.left - 1, inner.top);
    canvas->LineTo(inner.left - 1, inner.bottom);
  } else {
    Fill(canvas, inner, m->Color());
  }
  DownArrow(canvas, inner, s.enabled ? m->FontColor() : m->DisabledFontColor());
}

void TCustomComboControl::DrawComboItem(TCanvas* canvas, int index, const RECT& r,
                                        TOwnerDrawState state) {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m) return;
  const bool field = state.Contains(odComboBoxEdit);
  const bool disabled = state.Contains(odDisabled);
  TItemColors colors{field && disabled ? m->Color() : TColor(clWindow), clNone,
                     disabled ? m->DisabledFontColor() : TColor(clWindowText)};
  if (state.Contains(odSelected) && !disabled) {
    colors.fill = m->SelectedColor();
    colors.frame = field ? TColor(clNone) : m->BtnFrameColor();
    colors.text = m->SelectedFontColor();
  }
  PaintComboItem(this, canvas, index, r, colors);
}

// ---- TStandardComboControl -----------------------------------------------------------------

int TStandardComboControl::ButtonWidth() const {
  return GetSystemMetrics(SM_CXVSCROLL) + 2;
}

void TStandardComboControl::DrawComboField(TCanvas* canvas, const RECT& r,
                                           const TComboPaintState& s) {
  RECT edge = r;
  Frame3D(canvas, edge, clBtnShadow, clBtnHighlight);
  Frame3D(canvas, edge, cl3DDkShadow, cl3DLight);
  Fill(canvas, edge, s.enabled ? clWindow : clBtnFace);
}

void TStandardComboControl::DrawComboButton(TCanvas* canvas, const RECT& r,
                                            const TComboPaintState& s) {
  const RECT inner{r.left, r.top + 2, r.right - 2, r.bottom - 2};
  DrawScrollArrowButton(canvas, inner, sdDown, s.dropped, s.enabled);
}

} // namespace zel
