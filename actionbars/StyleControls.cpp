// The painting shared by every "Zel Style" control (button fills that
// continue the control bar's gradient, hot rings, frames, embossed text and
// glyphs through a face renderer) and the tool-bar and menu-bar controls.

#include "actionbars/ZelStyleActnCtrls.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "bitop/BitOp.h"
#include "bitop/RichImageList.h"
#include "framework/actions/ActnList.h"
#include "framework/actnbars/ActnColorMaps.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/graphics/Colors.h"
#include "framework/stdctrls/ControlBar.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"

namespace zel {

using namespace sys;

namespace {

// The colours used when a control stands on no gradient bar.
constexpr TColor kBaseFill = TColor(0xEFD3C6);
constexpr TColor kBaseBand = TColor(0xC66931);

TColor Mix(TColor a, TColor b) {
  return MixColors(ColorToRGB(a), ColorToRGB(b));
}

TCustomAction* ItemAction(const TCustomActionControl* control) {
  TActionClientItem* item = control->ActionClient();
  return item ? dynamic_cast<TCustomAction*>(item->Action()) : nullptr;
}

bool InDesignMode(TCustomActionControl* control) {
  TCustomActionBar* bar = control->ActionBar();
  return bar && bar->DesignMode();
}

// A tool-bar button is hot while the mouse is on it, outside design mode,
// when it shows an item that is no separator.
bool ButtonHot(TCustomActionControl* control) {
  return !InDesignMode(control) && control->MouseInControl() && control->ActionClient() &&
         !control->IsSeparator();
}

// The gradient bar a control stands on, when the bar is drawn in this style.
TCustomActionBar* GradientBarOf(TCustomActionControl* control) {
  auto* bar = dynamic_cast<TCustomActionBar*>(control->Parent());
  if (!bar || !(bar->Is<TGradientActionToolBar>() || bar->Is<TGradientActionMainMenuBar>()))
    return nullptr;
  return Is<TZelStyleActionBars>(bar->Style()) ? bar : nullptr;
}

// Resyncs the canvas after the device context's state was restored under it.
void RestoreCanvas(TCanvas* canvas, int saved) {
  RestoreDC(canvas->Handle(), saved);
  canvas->Refresh();
}

} // namespace

// ---- Fills ---------------------------------------------------------------------------------

// Steps, as the style defines them:
//   1-3 the bar's own background (its control bar's gradient or colour, or
//       off a control bar the map's colour, which the bar paints) and
//       the base selection colour (the frame colour for a hot band);
//   4   neither hot nor checked: the background as it is;
//   5   a solid base on a flat background or for a band across a horizontal
//       gradient; otherwise the gradient mixed towards the base;
//   6   checked: the base, lightened by 10 unless hot.
TButtonFill ButtonFillColors(bool hot, bool band, bool checked, TCustomActionBar* bar) {
  TButtonFill f{ColorToRGB(clBtnFace), ColorToRGB(clBtnFace), gdHorizontal};
  TColor base = band ? kBaseBand : kBaseFill;
  if (bar) {
    TCustomActionBarColorMap* m = bar->ColorMap();
    base = ColorToRGB(hot && band ? m->BtnFrameColor() : m->SelectedColor());
    if (auto* cb = dynamic_cast<TCustomControlBar*>(bar->Parent())) {
      f.Direction = cb->GradientDirection();
      if (cb->DrawingStyle() == dsGradient) {
        f.Start = ColorToRGB(cb->GradientStartColor());
        f.End = ColorToRGB(cb->GradientEndColor());
      } else {
        f.Start = f.End = ColorToRGB(cb->Color());
      }
    } else {
      // Off a control bar (floating) the bar paints its map's colour behind
      // its items, and the items continue it: the map's text colour is
      // chosen to stand out from that colour, not from the face colour.
      f.Start = f.End = ColorToRGB(m->Color());
    }
  }
  if (!hot && !checked) return f;
  if (f.Start == f.End || (band && f.Direction == gdHorizontal)) {
    f.Start = f.End = base;
  } else {
    f.Start = Mix(f.Start, base);
    if (band) base = Mix(f.End, base);
    f.End = Mix(f.End, base);
  }
  if (checked) {
    f.Start = f.End = base;
    if (!hot) {
      f.Start = Lighten(f.Start, 10);
      f.End = Lighten(f.End, 10);
    }
  }
  return f;
}

void FillButtonFace(bool hot, bool band, TCustomActionControl* control) {
  TCustomActionBar* bar = GradientBarOf(control);
  const TButtonFill f = ButtonFillColors(hot, band, control->IsChecked(), bar);
  TCanvas* canvas = control->Canvas();
  canvas->Brush()->SetStyle(bsSolid);
  if (f.Start == f.End || !bar) {
    canvas->Brush()->SetColor(f.Start);
    canvas->FillRect(control->ClientRect());
    return;
  }
  // The bar's own gradient rectangle (see PaintGradientBackground) in the
  // control's coordinates, so the control shows exactly its slice.
  RECT r = bar->ClientRect();
  InflateRect(r, 1, 1);
  r.left -= 10;
  OffsetRect(r, -control->Left(), -control->Top());
  GradientFillCanvas(canvas, f.Start, f.End, r, f.Direction);
}

void PaintButtonBackground(TCustomActionControl* control, bool hot, RECT& r, int split) {
  hot = hot && control->IsEnabled();
  TCanvas* canvas = control->Canvas();
  const RECT client = control->ClientRect();
  HDC dc = canvas->Handle();
  int saved = SaveDC(dc);
  InflateRect(r, -1, -1);
  ExcludeClipRect(dc, client.left, client.top, r.left, client.bottom);
  ExcludeClipRect(dc, client.left, client.top, client.right, r.top);
  ExcludeClipRect(dc, r.right, client.top, client.right, client.bottom);
  ExcludeClipRect(dc, client.left, r.bottom, client.right, client.bottom);
  FillButtonFace(hot, false, control);
  RestoreCanvas(canvas, saved);
  if (!hot) return;
  // The ring between the client rectangle and r, and the drop-down divider
  // column, in the band colours.
  dc = canvas->Handle();
  saved = SaveDC(dc);
  ExcludeClipRect(dc, r.left, r.top, r.right - split, r.bottom);
  if (split > 1) ExcludeClipRect(dc, r.right - split + 1, r.top, r.right, r.bottom);
  FillButtonFace(true, true, control);
  RestoreCanvas(canvas, saved);
}

void PaintButtonFrame(TCustomActionControl* control, bool down, int split) {
  if (!down) return;
  TCustomActionBarColorMap* m = control->ColorMap();
  if (!m) return;
  TColor pen = m->BtnFrameColor();
  if (control->IsChecked() && !control->IsEnabled()) {
    const TButtonFill f =
        ButtonFillColors(false, true, true, dynamic_cast<TCustomActionBar*>(control->Parent()));
    pen = Mix(m->BtnFrameColor(), Mix(f.Start, f.End));
  }
  TCanvas* canvas = control->Canvas();
  canvas->Pen()->SetStyle(psSolid);
  canvas->Pen()->SetWidth(1);
  canvas->Pen()->SetColor(pen);
  canvas->Brush()->SetStyle(bsClear);
  const RECT client = control->ClientRect();
  canvas->Rectangle(client);
  if (split > 0) {
    canvas->MoveTo(client.right - split - 1, 1);
    canvas->LineTo(client.right - split - 1, client.bottom - 1);
  }
}

// ---- Text ----------------------------------------------------------------------------------

void TextShadowColors(TCustomActionControl* control, TColor& dark, TColor& light) {
  auto* bar = dynamic_cast<TCustomActionDockBar*>(control->Parent());
  const TButtonFill f = ButtonFillColors(false, false, control->IsChecked(), bar);
  if (f.Start == f.End) {
    dark = Darken(f.Start, -50);
    light = Lighten(f.Start, 60);
  } else {
    const TColor m = Mix(f.Start, f.End);
    dark = Darken(m, -70);
    light = Lighten(m, 10);
  }
}

void PaintEmbossedText(TCustomActionControl* control, const RECT& r, UINT flags,
                       const std::string& caption) {
  TColor dark, light;
  TextShadowColors(control, dark, light);
  TCanvas* canvas = control->Canvas();
  canvas->Brush()->SetStyle(bsClear);
  RECT shadow = r;
  OffsetRect(shadow, 1, 1);
  canvas->Font()->SetColor(light);
  canvas->TextRect(shadow, caption, flags);
  RECT face = r;
  canvas->Font()->SetColor(dark);
  canvas->TextRect(face, caption, flags);
}

bool MouseButtonDown() {
  return (GetAsyncKeyState(int(VK_RBUTTON)) & 0x8000) != 0 ||
         (GetAsyncKeyState(int(VK_LBUTTON)) & 0x8000) != 0;
}

// ---- Glyphs --------------------------------------------------------------------------------

TGlyphGraphicHolder::TGlyphGraphicHolder() = default;
TGlyphGraphicHolder::~TGlyphGraphicHolder() = default;

void TGlyphGraphicHolder::Free() {
  FGlyphGraphic.reset();
}

// The renderer follows the item's action (not the control's own action
// link): its list's images and its image index.
TRichImageList* TGlyphGraphicHolder::Get(TCustomActionControl* control) {
  if (!FGlyphGraphic) {
    FGlyphGraphic = std::make_unique<TRichImageList>();
    FGlyphGraphic->SetFrameColor(clNone);
    FGlyphGraphic->SetSelectedColor(clNone);
    FGlyphGraphic->SetColor(clNone);
    FGlyphGraphic->SetTransparent(true);
    FGlyphGraphic->SetBorder(ZelXPBorder);
    FGlyphGraphic->SetSubstitute(true);
  }
  if (TCustomAction* action = ItemAction(control)) {
    FGlyphGraphic->SetImageList(action->Images());
    FGlyphGraphic->SetImageIndex(action->ImageIndex());
  } else {
    FGlyphGraphic->SetImageList(nullptr);
    FGlyphGraphic->SetImageIndex(-1);
  }
  return FGlyphGraphic.get();
}

TColor MarkColorOnSelection(TCustomActionBarColorMap* m, TColor color) {
  return ColorToRGB(color) == ColorToRGB(m->SelectedColor()) ? m->SelectedFontColor() : color;
}

TColor ColorApartFrom(TColor background, std::initializer_list<TColor> candidates) {
  TColor chosen = background;
  for (TColor c : candidates) {
    chosen = c;
    if (ColorToRGB(c) != ColorToRGB(background)) break;
  }
  return chosen;
}

namespace {
int Luminance(TColor c) {
  const TColor rgb = ColorToRGB(c);
  return (299 * (rgb & 0xFF) + 587 * ((rgb >> 8) & 0xFF) + 114 * ((rgb >> 16) & 0xFF)) / 1000;
}
} // namespace

TColor ReadableCaptionColor(TCustomActionControl* control, TColor caption, TColor fillStart,
                            TColor fillEnd) {
  TCustomActionBarColorMap* m = control->ColorMap();
  if (!m) return caption;
  const int start = Luminance(fillStart), end = Luminance(fillEnd);
  auto contrast = [&](TColor c) {
    const int l = Luminance(c);
    return std::min(std::abs(l - start), std::abs(l - end));
  };
  TColor best = caption;
  for (TColor c :
       {caption, m->FontColor(), m->HotFontColor(), m->SelectedFontColor(), m->BtnSelectedFont()}) {
    if (contrast(c) >= kCaptionContrast) return c;
    if (contrast(c) > contrast(best)) best = c;
  }
  return best;
}

bool CheckedInGutter(TCustomActionControl* control) {
  return control->IsChecked() && !control->Is<TZelStyleAddRemoveItem>();
}

void PaintItemGlyph(TCustomActionControl* control, bool hot, POINT p) {
  TActionClientItem* item = control->ActionClient();
  if (!item) return;
  const bool isMenuItem = control->Is<TCustomMenuItem>();
  auto* owner = dynamic_cast<IGlyphGraphic*>(control);
  TRichImageList* graphic = owner ? owner->GetGlyphGraphic() : nullptr;
  if (graphic) {
    if (!graphic->ImageList())
      if (TCustomActionManager* manager = item->ActionManager())
        graphic->SetImageList(manager->Images());
    if (item->ImageIndex() >= 0 && item->ImageIndex() != graphic->ImageIndex())
      graphic->SetImageIndex(item->ImageIndex());
  }
  TCustomImageList* list = graphic ? graphic->ImageList() : nullptr;
  const bool enabled = control->IsEnabled();
  const bool checked = CheckedInGutter(control);
  TCanvas* canvas = control->Canvas();
  if (list && graphic->ImageIndex() >= 0 && graphic->ImageIndex() < list->Count()) {
    graphic->SetWidth(list->Width() + 2);
    graphic->SetHeight(list->Height() + 2);
    graphic->SetHot(enabled && hot && !InDesignMode(control) && (!checked || isMenuItem));
    graphic->SetPushed(enabled && hot && MouseButtonDown());
    graphic->SetChecked(checked);
    graphic->SetBlend(enabled ? 255 : 150);
    graphic->SetEnabled(enabled);
    const POINT at = isMenuItem ? p : POINT{p.x - 1, p.y - 1};
    canvas->Draw(at.x, at.y, graphic);
    return;
  }
  if (!isMenuItem || !checked) return;
  // No usable glyph: a check mark, or a radio dot for a grouped action,
  // sized by the item's height.
  TCustomActionBarColorMap* m = control->ColorMap();
  if (!m) return;
  const int a = (control->ClientHeight() + 6) / 12;
  const int size = 2 * a + 1;
  const int y = (control->ClientHeight() - size) / 2;
  const int x = p.x + 4;
  // The mark lies on a box of the selection colour.
  const TColor color = MarkColorOnSelection(m, enabled ? m->FontColor() : m->DisabledFontColor());
  canvas->Pen()->SetStyle(psSolid);
  canvas->Pen()->SetWidth(1);
  canvas->Pen()->SetColor(color);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(color);
  TCustomAction* action = ItemAction(control);
  if (action && action->GroupIndex() > 0)
    canvas->Ellipse(x, y, x + size, y + size);
  else
    DrawCheck(canvas, POINT{x, y + a}, a, false);
}

// ---- TZelStyleButton, TZelStyleDropDownBtn -------------------------------------------------

TColor TZelStyleButton::CaptionColor() {
  const TColor caption = TCustomButtonControl::CaptionColor();
  if (!IsEnabled()) return caption;
  const TButtonFill f = ButtonFillColors(ButtonHot(this), false, IsChecked(), GradientBarOf(this));
  return ReadableCaptionColor(this, caption, f.Start, f.End);
}

void TZelStyleButton::DrawBackground(RECT& r) {
  PaintButtonBackground(this, ButtonHot(this), r, 0);
}

void TZelStyleButton::DrawFrame(const RECT&, bool down) {
  PaintButtonFrame(this, down, 0);
}

void TZelStyleButton::DrawGlyph(const POINT& location) {
  PaintItemGlyph(this, MouseInControl(), location);
}

void TZelStyleButton::DrawShadowedText(RECT& r, UINT flags, const std::string& text, TColor,
                                       TColor) {
  PaintEmbossedText(this, r, flags, text);
}

TColor TZelStyleDropDownBtn::CaptionColor() {
  const TColor caption = TCustomDropDownButton::CaptionColor();
  if (!IsEnabled()) return caption;
  const TButtonFill f = ButtonFillColors(ButtonHot(this), false, IsChecked(), GradientBarOf(this));
  return ReadableCaptionColor(this, caption, f.Start, f.End);
}

void TZelStyleDropDownBtn::DrawBackground(RECT& r) {
  PaintButtonBackground(this, ButtonHot(this), r, 9);
}

void TZelStyleDropDownBtn::DrawFrame(const RECT&, bool down) {
  PaintButtonFrame(this, down, 9);
}

void TZelStyleDropDownBtn::DrawGlyph(const POINT& location) {
  PaintItemGlyph(this, MouseInControl(), location);
}

void TZelStyleDropDownBtn::DrawShadowedText(RECT& r, UINT flags, const std::string& text, TColor,
                                            TColor) {
  PaintEmbossedText(this, r, flags, text);
}

// ---- TZelStyleMenuButton -------------------------------------------------------------------

// Outside the menu loop the button paints like a tool-bar button.  In the
// loop only the selected one paints: as a hot button while no menu is open
// (keyboard selection), as a tab joined to its open drop-down menu.
TZelStyleMenuButton::TFace TZelStyleMenuButton::Face() const {
  auto* bar = dynamic_cast<TCustomActionMenuBar*>(ActionBar());
  TCustomActionMenuBar* root = bar ? bar->RootMenu() : nullptr;
  if (!root || !bar->InMenuLoop()) return MouseInControl() ? TFace::Hot : TFace::Plain;
  if (!Selected()) return TFace::Plain;
  TCustomActionBar* child = ActionClient() ? ActionClient()->ChildActionBar() : nullptr;
  if (child && child->Visible()) return TFace::Tab;
  return root->Popup() ? TFace::Plain : TFace::Hot;
}

void TZelStyleMenuButton::DrawBackground(RECT& r) {
  auto* bar = dynamic_cast<TCustomActionMenuBar*>(ActionBar());
  if (!bar || !bar->RootMenu() || !bar->InMenuLoop()) {
    PaintButtonBackground(this, MouseInControl(), r, 0);
    if (IsChecked()) PaintButtonFrame(this, true, 0);
    return;
  }
  switch (Face()) {
  case TFace::Plain:
    return;
  case TFace::Hot:
    PaintButtonBackground(this, true, r, 0);
    return;
  case TFace::Tab:
    PaintMenuTab(ActionClient()->ChildActionBar());
    return;
  }
}

TColor TZelStyleMenuButton::CaptionColor() {
  const TColor caption = TCustomMenuButton::CaptionColor();
  TCustomActionBarColorMap* m = ColorMap();
  if (!m || !IsEnabled()) return caption;
  const TFace face = Face();
  if (face == TFace::Tab)
    return ReadableCaptionColor(this, caption, m->BtnSelectedColor(), m->BtnSelectedColor());
  const TButtonFill f =
      ButtonFillColors(face == TFace::Hot, false, IsChecked(), GradientBarOf(this));
  return ReadableCaptionColor(this, caption, f.Start, f.End);
}

void TZelStyleMenuButton::PaintMenuTab(TCustomActionBar* child) {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m) return;
  const int w = Width(), h = Height();
  const int childBottom = child->ClientToScreen(POINT{0, child->Height()}).y;
  const bool upwards = childBottom <= ClientToScreen(POINT{0, 0}).y;
  // The tab's open side touches the menu.
  const std::array<POINT, 6> up{
      {{0, 0}, {0, h - 4}, {3, h - 1}, {w - 4, h - 1}, {w - 1, h - 4}, {w - 1, 0}}};
  const std::array<POINT, 6> down{{{0, h}, {0, 3}, {3, 0}, {w - 4, 0}, {w - 1, 3}, {w - 1, h}}};
  const std::array<POINT, 6>& pts = upwards ? up : down;
  const size_t n = upwards ? 2 : 3;
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(m->BtnSelectedColor());
  if (HRGN rgn = CreatePolygonRgn(pts.data(), int(pts.size()), WINDING)) {
    FillRgn(canvas->Handle(), rgn, canvas->Brush()->Handle());
    DeleteObject(rgn);
  } else {
    canvas->FillRect(RECT{0, 0, w, h});
  }
  canvas->Pen()->SetStyle(psSolid);
  canvas->Pen()->SetWidth(1);
  canvas->Pen()->SetColor(m->FrameTopLeftOuter());
  canvas->Polyline(std::span<const POINT>(pts.data(), n + 1));
  canvas->Pen()->SetColor(m->FrameBottomRightOuter());
  canvas->Polyline(std::span<const POINT>(pts.data() + n, pts.size() - n));
}

void TZelStyleMenuButton::DrawGlyph(const POINT& location) {
  PaintItemGlyph(this, Selected(), location);
}

void TZelStyleMenuButton::DrawShadowedText(RECT& r, UINT flags, const std::string& text, TColor,
                                           TColor) {
  PaintEmbossedText(this, r, flags, text);
}

// ---- TZelToolScrollBtn ---------------------------------------------------------------------

namespace {
constexpr int kArrowSize = 2;
}

void TZelToolScrollBtn::DrawBackground(RECT& r) {
  PaintButtonBackground(this, MouseInControl(), r, 0);
}

void TZelToolScrollBtn::DrawFrame(const RECT&, bool down) {
  PaintButtonFrame(this, down, 0);
}

void TZelToolScrollBtn::DrawArrows() {
  TColor dark, light;
  TextShadowColors(this, dark, light);
  TCustomActionBarColorMap* m = ColorMap();
  const TColor disabled = m ? m->DisabledFontColor() : TColor(clGrayText);
  Canvas()->Pen()->SetStyle(psSolid);
  Canvas()->Pen()->SetWidth(1);
  Canvas()->Pen()->SetColor(IsEnabled() ? dark : Mix(disabled, dark));
  DrawArrowsAt(0, 0);
  if (!MouseInControl() && IsEnabled()) {
    Canvas()->Pen()->SetColor(light);
    DrawArrowsAt(1, 1);
  }
}

void TZelToolScrollBtn::DrawArrowsAt(int dx, int dy) {
  TCanvas* canvas = Canvas();
  auto* bar = dynamic_cast<TCustomActionToolBar*>(Parent());
  if (bar && bar->HiddenCount() > 0)
    DrawChevron(canvas, Direction(), POINT{Width() / 2 - kArrowSize - 1 + dx, 3 + dy}, kArrowSize);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(canvas->Pen()->Color());
  DrawArrow(canvas, Align() == alTop ? sdUp : sdDown,
            POINT{Width() / 2 - kArrowSize + dx, Height() - 8 + dy}, 2);
}

void TZelToolScrollBtn::Click() {
  TCustomToolScrollBtn::Click();
  if (auto* bar = dynamic_cast<TCustomActionToolBar*>(Owner())) RefitToolBars(bar->ActionManager());
}

} // namespace zel
