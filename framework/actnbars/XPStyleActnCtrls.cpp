// The "XP Style" controls: tinted, framed selection boxes and a glyph
// gutter in the menus.

#include "framework/actnbars/XPStyleActnCtrls.h"

#include "framework/actnbars/ActnColorMaps.h"
#include "framework/actnbars/ActnComboControl.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/graphics/GraphUtil.h"

namespace zel {

using namespace sys;

namespace {

void FillWith(TCanvas* canvas, const RECT& r, TColor color) {
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(color);
  canvas->FillRect(r);
}

void Box(TCanvas* canvas, const RECT& r, TColor frame) {
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(frame);
  canvas->FrameRect(r);
}

} // namespace

// The tinted box of a hot, pressed or checked tool-bar button.
void XPButtonBackground(TCustomActionControl* c, const RECT& r) {
  TCustomActionBarColorMap* m = c->ColorMap();
  if (!m) return;
  TColor color = m->Color();
  if (c->IsEnabled() && !c->IsSeparator()) {
    if (c->Pressed() && c->MouseInControl())
      color = m->BtnSelectedColor();
    else if (c->MouseInControl() || c->Selected())
      color = m->SelectedColor();
    else if (c->IsChecked())
      color = m->HighlightColor();
  }
  FillWith(c->Canvas(), r, color);
}

void XPButtonFrame(TCustomActionControl* c, const RECT& r) {
  TCustomActionBarColorMap* m = c->ColorMap();
  if (!m || !c->IsEnabled()) return;
  if (c->MouseInControl() || c->Selected() || c->IsChecked() || c->Pressed())
    Box(c->Canvas(), r, m->BtnFrameColor());
}

void TXPStyleButton::DrawBackground(RECT& r) {
  XPButtonBackground(this, r);
}

void TXPStyleButton::DrawFrame(const RECT& r, bool) {
  XPButtonFrame(this, r);
}

void TXPStyleDropDownBtn::DrawBackground(RECT& r) {
  XPButtonBackground(this, r);
}

void TXPStyleDropDownBtn::DrawFrame(const RECT& r, bool) {
  XPButtonFrame(this, r);
  // The drop part: its own frame line (the arrow is DrawDropDownArrow's).
  if (MouseInControl() && IsEnabled() && ColorMap()) {
    Canvas()->Pen()->SetColor(ColorMap()->BtnFrameColor());
    Canvas()->MoveTo(r.right - 10, r.top);
    Canvas()->LineTo(r.right - 10, r.bottom);
  }
}

bool TXPStyleMenuButton::JoinsOpenMenu() const {
  auto* bar = dynamic_cast<TCustomActionMenuBar*>(ActionBar());
  return Selected() && bar && bar->Popup();
}

TColor TXPStyleMenuButton::CaptionColor() {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m || !IsEnabled() || !JoinsOpenMenu()) return TCustomMenuButton::CaptionColor();
  return m->FontColor();
}

void TXPStyleMenuButton::DrawBackground(RECT& r) {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m) return;
  TColor c = m->Color();
  if (JoinsOpenMenu())
    c = m->MenuColor();
  else if (Selected() || MouseInControl())
    c = m->SelectedColor();
  FillWith(Canvas(), r, c);
}

void TXPStyleMenuButton::DrawFrame(const RECT& r, bool) {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m || !IsEnabled()) return;
  if (Selected() || MouseInControl()) {
    // An open menu joins its button: the frame has no bottom line.
    if (JoinsOpenMenu()) {
      Canvas()->Pen()->SetColor(m->ShadowColor());
      Canvas()->MoveTo(r.left, r.bottom);
      Canvas()->LineTo(r.left, r.top);
      Canvas()->LineTo(r.right - 1, r.top);
      Canvas()->LineTo(r.right - 1, r.bottom);
    } else {
      Box(Canvas(), r, m->BtnFrameColor());
    }
  }
}

void TXPStyleMenuItem::DrawBackground(RECT& r) {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m) return;
  const bool unused = ActionClient() && ActionClient()->Unused();
  FillWith(Canvas(), r, unused ? m->UnusedColor() : m->MenuColor());
  // The gutter behind the glyphs.
  FillWith(Canvas(), RECT{r.left, r.top, r.left + GutterWidth(), r.bottom}, m->Color());
  if (IsSeparator() || !Selected()) return;
  // The selection: a tinted box with a thin frame (only the frame while
  // the item is disabled).
  const RECT box{r.left + 1, r.top, r.right - 1, r.bottom};
  if (IsEnabled()) FillWith(Canvas(), box, m->SelectedColor());
  Box(Canvas(), box, IsEnabled() ? m->BtnFrameColor() : m->DisabledColor());
}

void TXPStyleMenuItem::DrawCheckedGlyphBox(const RECT& box) {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m) return;
  // A tinted, framed box behind the glyph, darker while selected.
  FillWith(Canvas(), box, Selected() && IsEnabled() ? m->BtnSelectedColor() : m->HighlightColor());
  Box(Canvas(), box, m->BtnFrameColor());
}

void TXPStyleMenuItem::DrawSeparator(const RECT& r) {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m) return;
  const int y = (r.top + r.bottom) / 2;
  Canvas()->Pen()->SetColor(m->DisabledColor());
  Canvas()->MoveTo(r.left + 6, y);
  Canvas()->LineTo(r.right, y);
}

void TXPStyleExpandBtn::DrawBackground(RECT& r) {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m) return;
  FillWith(Canvas(), r, MouseInControl() ? m->SelectedColor() : m->MenuColor());
}

void TXPStyleExpandBtn::DrawFrame(const RECT& r, bool) {
  TCustomActionBarColorMap* m = ColorMap();
  if (m && MouseInControl()) Box(Canvas(), r, m->BtnFrameColor());
}

TXPStylePopupMenu::TXPStylePopupMenu(TComponent* owner) : TCustomActionPopupMenu(owner) {
  SetEdgeInner(esNone);
  SetHorzMargin(1);
  SetVertMargin(2);
}

void TXPStylePopupMenu::DrawBackground() {
  TCustomActionBarColorMap* m = ColorMap();
  const RECT r = ClientRect();
  FillWith(Canvas(), r, m->MenuColor());
  Box(Canvas(), r, m->ShadowColor());
}

TClassRef<TCustomActionControl> TXPStylePopupMenu::ExpandBtnClass() {
  return TXPStyleExpandBtn::StaticClass();
}

POINT TXPStyleAddRemoveItem::GlyphPos() {
  POINT p = TXPStyleMenuItem::GlyphPos();
  p.x += 10;
  return p;
}

void TXPStyleAddRemoveItem::DrawCheckMark(const RECT& cell) {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m) return;
  // A framed box behind the mark, in the first column of the gutter.
  const RECT box{cell.left + 2, cell.top + 2, cell.left + 20, cell.bottom - 2};
  FillWith(Canvas(), box, m->HighlightColor());
  Box(Canvas(), box, m->BtnFrameColor());
  TXPStyleMenuItem::DrawCheckMark(RECT{box.left, box.top, box.right, box.bottom});
}

TXPStyleCustomizePopup::TXPStyleCustomizePopup(TComponent* owner) : TCustomizeActionToolBar(owner) {
  SetEdgeInner(esNone);
  SetHorzMargin(1);
  SetVertMargin(2);
}

void TXPStyleCustomizePopup::DrawBackground() {
  TCustomActionBarColorMap* m = ColorMap();
  const RECT r = ClientRect();
  FillWith(Canvas(), r, m->MenuColor());
  Box(Canvas(), r, m->ShadowColor());
}

TClassRef<TCustomActionControl> TXPStyleCustomizePopup::ExpandBtnClass() {
  return TXPStyleExpandBtn::StaticClass();
}

TCustomActionControlClass TXPStyleActionBars::ControlClassFor(TCustomActionBar* bar,
                                                              TActionClientItem* item) {
  if (auto* popup = dynamic_cast<TCustomActionPopupMenu*>(bar)) {
    if (dynamic_cast<TCustomizeActionToolBar*>(popup->ParentMenu()))
      return TXPStyleAddRemoveItem::StaticClass();
    return TXPStyleMenuItem::StaticClass();
  }
  if (dynamic_cast<TCustomActionMenuBar*>(bar)) return TXPStyleMenuButton::StaticClass();
  if (item && item->HasItems() && item->Items()->Count() > 0)
    return TXPStyleDropDownBtn::StaticClass();
  if (IsComboItem(bar, item)) return TCustomComboControl::StaticClass();
  return TXPStyleButton::StaticClass();
}

TCustomColorMapClass TXPStyleActionBars::ColorMapClassFor(TCustomActionBar*) {
  return TXPColorMap::StaticClass();
}

TCustomActionBarClass TXPStyleActionBars::GetPopupClass(TCustomActionBar* bar) {
  if (dynamic_cast<TCustomActionToolBar*>(bar)) return TXPStyleCustomizePopup::StaticClass();
  return TXPStylePopupMenu::StaticClass();
}

TCustomActionControlClass TXPStyleActionBars::GetAddRemoveItemClass(TCustomActionBar*) {
  return TXPStyleAddRemoveItem::StaticClass();
}

TCustomActionControlClass TXPStyleActionBars::GetScrollBtnClass() {
  return TCustomToolScrollBtn::StaticClass();
}

TXPStyleActionBars* XPStyle() {
  static TXPStyleActionBars style;
  return &style;
}

} // namespace zel
