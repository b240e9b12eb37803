// The action bars on screen: layout of the item controls, the painting
// roles of the controls, tool bars, the menu bar and its pop-up menus.

#include "framework/actnbars/ActnCtrls.h"

#include <algorithm>

#include "framework/actions/ActnList.h"
#include "framework/actnbars/ActnColorMaps.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/ActnStyles.h"
#include "framework/docking/DragDock.h"
#include "framework/graphics/GraphUtil.h"
#include "framework/graphics/ImageList.h"
#include "platform/user/User.h"

namespace zel {

using namespace sys;

namespace {

TCustomAction* ActionOf(const TActionClientItem* item) {
  return item ? dynamic_cast<TCustomAction*>(item->Action()) : nullptr;
}

TCustomImageList* ImagesOf(const TCustomActionControl* control) {
  TCustomActionBar* bar = control->ActionBar();
  TCustomActionManager* m = bar ? bar->ActionManager() : nullptr;
  return m ? m->Images() : nullptr;
}

} // namespace

int GlyphButtonHeight(const TCustomImageList* images) {
  return std::max(images ? images->Height() + 7 : 0, 23);
}

void DrawEdges(TCanvas* canvas, const RECT& r, TColor topLeftOuter, TColor bottomRightOuter,
               TColor topLeftInner, TColor bottomRightInner) {
  auto frame = [&](RECT b, TColor tl, TColor br) {
    if (tl == clNone && br == clNone) return;
    canvas->Pen()->SetColor(tl);
    canvas->MoveTo(b.left, b.bottom - 1);
    canvas->LineTo(b.left, b.top);
    canvas->LineTo(b.right - 1, b.top);
    canvas->Pen()->SetColor(br);
    canvas->LineTo(b.right - 1, b.bottom - 1);
    canvas->LineTo(b.left - 1, b.bottom - 1);
  };
  frame(r, topLeftOuter, bottomRightOuter);
  frame(RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, topLeftInner, bottomRightInner);
}

// ---- TCustomActionBar: layout and background ----------------------------------------------

void TCustomActionBar::SetOrientation(TBarOrientation value) {
  FOrientation = value;
  LayoutControls();
}
void TCustomActionBar::SetSpacing(int value) {
  FSpacing = std::max(0, value);
  LayoutControls();
}
void TCustomActionBar::SetHorzMargin(int value) {
  FHorzMargin = std::max(0, value);
  LayoutControls();
}
void TCustomActionBar::SetVertMargin(int value) {
  FVertMargin = std::max(0, value);
  LayoutControls();
}
void TCustomActionBar::SetEdgeInner(TEdgeStyle value) {
  FEdgeInner = value;
  LayoutControls();
  Invalidate();
}
void TCustomActionBar::SetEdgeOuter(TEdgeStyle value) {
  FEdgeOuter = value;
  LayoutControls();
  Invalidate();
}
void TCustomActionBar::SetWrapping(bool value) {
  FWrapping = value;
  LayoutControls();
}
void TCustomActionBar::SetBarAutoSize(bool value) {
  FBarAutoSize = value;
  LayoutControls();
}

bool TCustomActionBar::ItemVisible(TActionClientItem* item) {
  if (!item->Visible()) return false;
  TCustomAction* a = ActionOf(item);
  return !a || a->Visible();
}

bool TCustomActionBar::ItemShown(TActionClientItem* item) const {
  return ItemVisible(item) && !(item->HideUnused() && item->Unused());
}

TClassRef<TCustomActionControl> TCustomActionBar::GetControlClass(TActionClientItem* item) {
  TActionBarStyle* style = Style();
  return style ? style->ControlClassFor(this, item) : nullptr;
}

void TCustomActionBar::DestroyControls() {
  std::vector<TCustomActionControl*> controls;
  controls.swap(FActionControls);
  for (TCustomActionControl* c : controls)
    delete c;
  FHiddenCount = 0;
}

void TCustomActionBar::CreateControls() {
  TActionClient* client = ActionClient();
  if (!client || !client->HasItems()) return;
  TActionClients* items = client->Items();
  // Separators alone would leave the bar as good as empty.
  bool anyShown = CanHideAllItems();
  for (int i = 0; i < items->Count() && !anyShown; ++i)
    anyShown = !items->Items(i)->Separator() && ItemShown(items->Items(i));
  for (int i = 0; i < items->Count(); ++i) {
    TActionClientItem* item = items->Items(i);
    if (!(anyShown ? ItemShown(item) : ItemVisible(item))) continue;
    TClassRef<TCustomActionControl> cls = GetControlClass(item);
    if (!cls) continue;
    TCustomActionControl* c = cls.Create(this);
    c->SetActionClient(item);
    c->SetParent(this);
    FActionControls.push_back(c);
  }
}

// The bar's own alignment is held off while its controls go and come one
// by one, so that the bar is aligned once for all of them and not once per
// control (which made a rebuild take time in the square of the count).
void TCustomActionBar::RecreateControls() {
  if (ComponentState().Contains(csDestroying)) return;
  DisableAlign();
  try {
    DestroyControls();
    CreateControls();
    LayoutControls();
  } catch (...) {
    EnableAlign();
    throw;
  }
  EnableAlign();
  Invalidate();
}

RECT TCustomActionBar::LayoutRect() {
  RECT r = ClientRect();
  const int edges = (FEdgeOuter != esNone ? 1 : 0) + (FEdgeInner != esNone ? 1 : 0);
  InflateRect(r, -(edges + FHorzMargin), -(edges + FVertMargin));
  r.right -= FReserveRight;
  return r;
}

void TCustomActionBar::LayoutControls() {
  if (FLayingOut || ComponentState().Contains(csDestroying)) return;
  FLayingOut = true;
  // Each control placed would otherwise align the whole bar again.
  DisableAlign();
  try {
    PlaceControls();
  } catch (...) {
    EnableAlign();
    FLayingOut = false;
    throw;
  }
  EnableAlign();
  FLayingOut = false;
}

void TCustomActionBar::PlaceControls() {
  const RECT area = LayoutRect();
  const bool vertical = FOrientation == boTopToBottom || FOrientation == boBottomToTop;
  int x = area.left, y = area.top, line = 0, extent = 0;
  FHiddenCount = 0;
  for (TCustomActionControl* c : FActionControls) {
    SIZE s = c->CalcSize();
    if (vertical) {
      // Menus: one control per line, as wide as the widest.
      c->SetVisible(true);
      c->SetBounds(area.left, y, std::max<int>(s.cx, area.Width()), s.cy);
      y += s.cy + FSpacing;
      extent = y - FSpacing;
      continue;
    }
    if (x > area.left && x + s.cx > area.right) {
      if (WrapsControls()) {
        x = area.left;
        y += line + FSpacing;
        line = 0;
      } else {
        c->SetVisible(false);
        ++FHiddenCount;
        continue;
      }
    }
    c->SetVisible(true);
    c->SetBounds(x, y, s.cx, s.cy);
    x += s.cx + FSpacing;
    line = std::max<int>(line, s.cy);
    extent = y + line;
  }
  if (FBarAutoSize && !vertical && !FActionControls.empty()) {
    const int h = extent + (Height() - ClientHeight()) + (ClientHeight() - area.bottom);
    if (h != Height()) SetBounds(Left(), Top(), Width(), h);
  }
}

bool TCustomActionBar::ItemChecked(const TActionClientItem* item) {
  TCustomAction* a = ActionOf(item);
  return a && a->Checked();
}

bool TCustomActionBar::ItemEnabled(const TActionClientItem* item) {
  TCustomAction* a = ActionOf(item);
  return !a || a->Enabled();
}

void TCustomActionBar::AdjustClientRect(RECT& rect) {
  TCustomControl::AdjustClientRect(rect);
  const int edges = (FEdgeOuter != esNone ? 1 : 0) + (FEdgeInner != esNone ? 1 : 0);
  InflateRect(rect, -(edges + FHorzMargin), -(edges + FVertMargin));
}

void TCustomActionBar::Resize() {
  TCustomControl::Resize();
  LayoutControls();
}

void TCustomActionBar::DrawBackground() {
  const RECT r = ClientRect();
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->Brush()->SetColor(ColorMap()->Color());
  Canvas()->FillRect(r);
  TCustomActionBarColorMap* m = ColorMap();
  auto edge = [&](TEdgeStyle e, RECT b, bool outer) {
    if (e == esNone) return;
    TColor light = outer ? m->FrameTopLeftOuter() : m->FrameTopLeftInner();
    TColor dark = outer ? m->FrameBottomRightOuter() : m->FrameBottomRightInner();
    if (e == esLowered) std::swap(light, dark);
    DrawEdges(Canvas(), b, light, dark, clNone, clNone);
  };
  edge(FEdgeOuter, r, true);
  if (FEdgeOuter != esNone)
    edge(FEdgeInner, RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, false);
  else
    edge(FEdgeInner, r, false);
}

void TCustomActionBar::Paint() {
  DrawBackground();
}

// ---- TCustomActionControl: painting roles -------------------------------------------------

void TCustomActionControl::SetSelected(bool value) {
  if (value == FSelected) return;
  FSelected = value;
  Invalidate();
}

bool TCustomActionControl::IsEnabled() const {
  if (TCustomActionBar* bar = ActionBar()) return bar->ItemEnabled(FActionClient);
  TCustomAction* a = ActionOf(FActionClient);
  return !a || a->Enabled();
}

bool TCustomActionControl::IsChecked() const {
  if (TCustomActionBar* bar = ActionBar()) return bar->ItemChecked(FActionClient);
  TCustomAction* a = ActionOf(FActionClient);
  return a && a->Checked();
}

bool TCustomActionControl::FrameDown() const {
  return IsChecked() || (FPressed && FMouseInControl);
}

bool TCustomActionControl::WantsShadowedText() const {
  TCustomActionBar* bar = ActionBar();
  return !IsEnabled() && !FSelected && !(bar && bar->DesignMode());
}

TColor TCustomActionControl::CaptionColor() {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m) return Font()->Color();
  if (!IsEnabled()) return m->DisabledFontColor();
  return (FSelected || FMouseInControl) ? m->HotFontColor() : m->FontColor();
}

bool TCustomActionControl::IsSeparator() const {
  return FActionClient && FActionClient->Separator();
}

bool TCustomActionControl::HasGlyph() const {
  TCustomImageList* images = ImagesOf(this);
  return images && FActionClient && FActionClient->ImageIndex() >= 0 &&
         FActionClient->ImageIndex() < images->Count();
}

TCustomActionBarColorMap* TCustomActionControl::ColorMap() const {
  TCustomActionBar* bar = ActionBar();
  return bar ? bar->ColorMap() : nullptr;
}

SIZE TCustomActionControl::CalcSize() {
  if (IsSeparator()) return SIZE{6, 22};
  Canvas()->SetHandle(nullptr);
  HDC dc = GetDC(nullptr);
  Canvas()->SetHandle(dc);
  Canvas()->Font()->Assign(Font());
  RECT r{0, 0, 0, 0};
  const std::string caption = FActionClient ? FActionClient->Caption() : std::string();
  Canvas()->TextRect(r, caption.empty() ? std::string("W") : caption, DT_CALCRECT | DT_SINGLELINE);
  Canvas()->SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  return SIZE{(caption.empty() ? 0 : r.Width()) + 12, r.Height() + 8};
}

POINT TCustomActionControl::GlyphPos() {
  TCustomImageList* images = ImagesOf(this);
  const int h = images ? images->Height() : 16;
  return POINT{4, (Height() - h) / 2};
}

RECT TCustomActionControl::TextBounds() {
  RECT r = ClientRect();
  if (HasGlyph())
    r.left = GlyphPos().x + ImagesOf(this)->Width() + 4;
  else
    r.left += 6;
  r.right -= 4;
  return r;
}

UINT TCustomActionControl::TextFlags() const {
  return DT_SINGLELINE | DT_VCENTER | DT_LEFT;
}

void TCustomActionControl::DrawBackground(RECT& r) {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m) return;
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->Brush()->SetColor(m->Color());
  Canvas()->FillRect(r);
}

void TCustomActionControl::DrawFrame(const RECT& r, bool down) {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m || !IsEnabled()) return;
  if (down)
    DrawEdges(Canvas(), r, m->ShadowColor(), m->FrameTopLeftOuter(), clNone, clNone);
  else if (FMouseInControl || FSelected)
    DrawEdges(Canvas(), r, m->FrameTopLeftOuter(), m->ShadowColor(), clNone, clNone);
}

void TCustomActionControl::DrawGlyph(const POINT& location) {
  TCustomImageList* images = ImagesOf(this);
  if (!images || !FActionClient) return;
  images->Draw(Canvas(), location.x, location.y, FActionClient->ImageIndex(), IsEnabled());
}

void TCustomActionControl::DrawText(RECT& r, UINT flags, const std::string& text) {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m) return;
  if (WantsShadowedText()) {
    DrawShadowedText(r, flags, text, m->DisabledFontColor(), m->DisabledFontShadow());
    return;
  }
  Canvas()->Brush()->SetStyle(bsClear);
  Canvas()->Font()->SetColor(CaptionColor());
  Canvas()->TextRect(r, text, flags);
}

void TCustomActionControl::DrawShadowedText(RECT& r, UINT flags, const std::string& text,
                                            TColor textColor, TColor shadowColor) {
  Canvas()->Brush()->SetStyle(bsClear);
  if (shadowColor != clNone) {
    RECT s{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
    Canvas()->Font()->SetColor(shadowColor);
    Canvas()->TextRect(s, text, flags);
  }
  Canvas()->Font()->SetColor(textColor);
  Canvas()->TextRect(r, text, flags);
}

void TCustomActionControl::DrawSeparator(const RECT& r) {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m) return;
  const int x = (r.left + r.right) / 2 - 1;
  Canvas()->Pen()->SetColor(m->ShadowColor());
  Canvas()->MoveTo(x, r.top + 2);
  Canvas()->LineTo(x, r.bottom - 2);
  Canvas()->Pen()->SetColor(m->FrameTopLeftOuter());
  Canvas()->MoveTo(x + 1, r.top + 2);
  Canvas()->LineTo(x + 1, r.bottom - 2);
}

void TCustomActionControl::Paint() {
  Canvas()->Font()->Assign(Font());
  RECT r = ClientRect();
  DrawBackground(r);
  if (IsSeparator()) {
    DrawSeparator(r);
    return;
  }
  DrawFrame(ClientRect(), FrameDown());
  DrawDropDownArrow(ClientRect());
  const int shift = (FPressed && FMouseInControl) ? 1 : 0;
  if (HasGlyph()) {
    POINT p = GlyphPos();
    DrawGlyph(POINT{p.x + shift, p.y + shift});
  }
  const bool caption = FActionClient && (FActionClient->ShowCaption() || !HasGlyph());
  if (caption) {
    RECT t = TextBounds();
    OffsetRect(t, shift, shift);
    DrawText(t, TextFlags(), DisplayCaption());
  }
}

std::string TCustomActionControl::DisplayCaption() const {
  return FActionClient ? FActionClient->Caption() : std::string();
}

void TCustomActionControl::MouseEnter() {
  FMouseInControl = true;
  Invalidate();
  TGraphicControl::MouseEnter();
}

void TCustomActionControl::MouseLeave() {
  FMouseInControl = false;
  Invalidate();
  TGraphicControl::MouseLeave();
}

void TCustomActionControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && IsEnabled() && !IsSeparator()) {
    FPressed = true;
    Invalidate();
  }
  TGraphicControl::MouseDown(button, shift, x, y);
}

void TCustomActionControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && FPressed) {
    FPressed = false;
    Invalidate();
  }
  TGraphicControl::MouseUp(button, shift, x, y);
}

void TCustomActionControl::Click() {
  TGraphicControl::Click();
  TCustomActionBar* bar = ActionBar();
  if (!FActionClient || IsSeparator() || !IsEnabled() || (bar && bar->DesignMode())) return;
  TActionClientItem* item = bar ? bar->ItemToExecute(FActionClient) : FActionClient;
  (item ? item : FActionClient)->Execute();
}

// ---- Bars ----------------------------------------------------------------------------------

TCustomActionDockBar::TCustomActionDockBar(TComponent* owner) : TCustomActionBar(owner) {
  SetEdgeOuter(esNone);
  SetDragKind(dkDock);
}

SIZE TCustomActionDockBar::FloatingClientSize() {
  const int edges = (EdgeOuter() != esNone ? 1 : 0) + (EdgeInner() != esNone ? 1 : 0);
  int w = 0, h = 0, n = 0;
  for (int i = 0; i < ActionControlCount(); ++i) {
    const SIZE s = ActionControls(i)->CalcSize();
    w += s.cx;
    h = std::max<int>(h, s.cy);
    ++n;
  }
  if (n > 1) w += Spacing() * (n - 1);
  if (n == 0) h = 22;
  w += 2 * (edges + HorzMargin()) + (Width() - ClientWidth());
  h += 2 * (edges + VertMargin()) + (Height() - ClientHeight());
  return SIZE{std::max({w, MinFloatingWidth, TCustomDockForm::ClientWidthForCaption(Caption())}),
              h};
}

TCustomDockForm* TCustomActionDockBar::FloatingHost() const {
  auto* host = dynamic_cast<TCustomDockForm*>(HostDockSite());
  return host && Parent() == host && host->DockClientCount() == 1 ? host : nullptr;
}

bool TCustomActionDockBar::WrapsControls() const {
  const bool rows = Orientation() == boLeftToRight || Orientation() == boRightToLeft;
  return TCustomActionBar::WrapsControls() || (rows && FloatingHost());
}

namespace {
// The height of controls of the given sizes laid out in rows from left to
// right, a control past right starting a new row (as LayoutControls does).
int RowsHeight(const std::vector<SIZE>& sizes, int left, int right, int spacing) {
  int x = left, y = 0, line = 0;
  for (const SIZE& s : sizes) {
    if (x > left && x + s.cx > right) {
      x = left;
      y += line + spacing;
      line = 0;
    }
    x += s.cx + spacing;
    line = std::max<int>(line, s.cy);
  }
  return sizes.empty() ? 22 : y + line;
}
} // namespace

std::vector<SIZE> TCustomActionDockBar::ControlSizes() {
  std::vector<SIZE> sizes;
  for (int i = 0; i < ActionControlCount(); ++i)
    sizes.push_back(ActionControls(i)->CalcSize());
  return sizes;
}

int TCustomActionDockBar::WrappedHeight(int width) {
  return WrappedHeight(width, ControlSizes());
}

int TCustomActionDockBar::WrappedHeight(int width, const std::vector<SIZE>& sizes) {
  const int edges = (EdgeOuter() != esNone ? 1 : 0) + (EdgeInner() != esNone ? 1 : 0);
  const int frameX = Width() - ClientWidth(), frameY = Height() - ClientHeight();
  const int left = edges + HorzMargin();
  const int right = width - frameX - edges - HorzMargin();
  return RowsHeight(sizes, left, right, Spacing()) + 2 * (edges + VertMargin()) + frameY;
}

int TCustomActionDockBar::MinFloatingClientWidth() {
  const int edges = (EdgeOuter() != esNone ? 1 : 0) + (EdgeInner() != esNone ? 1 : 0);
  int widest = 0;
  for (const SIZE& s : ControlSizes())
    widest = std::max<int>(widest, s.cx);
  // Narrowed by its frame, the form wraps the controls down to one a row;
  // its caption is then cut, keeping room for the close box.
  return std::max(MinFloatingWidth,
                  widest + 2 * (edges + HorzMargin()) + (Width() - ClientWidth()));
}

// A size proposed for the floating form's client area.  Led by the width
// (a side dragged), the height follows the rows; led by the height (the
// top or bottom dragged), the bar takes the narrowest width whose rows fit
// in it, so dragging down makes more, shorter rows.
void TCustomActionDockBar::FitFloatingSize(SIZE& size, bool heightLeads) {
  const std::vector<SIZE> sizes = ControlSizes();
  const int least = MinFloatingClientWidth();
  if (heightLeads) {
    const int widest = std::max(least, FloatingClientSize().cx);
    int width = least;
    while (width < widest && WrappedHeight(width, sizes) > size.cy)
      ++width;
    size.cx = width;
  }
  size.cx = std::max<int>(size.cx, least);
  size.cy = WrappedHeight(size.cx, sizes);
}

void TCustomActionDockBar::WndProc(TMessage& m) {
  if (m.Msg == CM_FLOATSIZING && m.LParam && FloatingHost() && WrapsControls()) {
    FitFloatingSize(*reinterpret_cast<SIZE*>(m.LParam), m.WParam != 0);
    m.Result = 1;
    return;
  }
  // A new caption may need another width of the floating form.
  if (m.Msg == CM_TEXTCHANGED) {
    TCustomActionBar::WndProc(m);
    if (TCustomDockForm* host = FloatingHost()) {
      host->SetCaption(Caption());
      FitFloatingHost();
      if (WrapsControls() && host->ClientWidth() < MinFloatingClientWidth())
        host->SetClientWidth(MinFloatingClientWidth());
    }
    return;
  }
  // Wrapped into rows while floating, the bar docks back in one row.
  if (m.Msg == CM_DOCKEDSIZE && m.LParam && FloatingHost() && WrapsControls()) {
    reinterpret_cast<SIZE*>(m.LParam)->cx = FloatingClientSize().cx;
    m.Result = 1;
    return;
  }
  TCustomActionBar::WndProc(m);
}

void TCustomActionDockBar::LayoutControls() {
  TCustomActionBar::LayoutControls();
  FitFloatingHost();
}

// The floating form follows the rows: as high as the controls need at its
// width, and no narrower than the widest control.  Sizing the form lays the
// bar out again, which finds the form fitted.
void TCustomActionDockBar::FitFloatingHost() {
  TCustomDockForm* host = FloatingHost();
  if (!host || !WrapsControls() || FFittingHost || ComponentState().Contains(csDestroying)) return;
  FFittingHost = true;
  const SIZE frame = TCustomDockForm::SizeForClient(0, 0);
  host->Constraints()->SetMinWidth(MinFloatingClientWidth() + frame.cx);
  const int height = WrappedHeight(host->ClientWidth());
  if (host->ClientHeight() != height) host->SetClientHeight(height);
  FFittingHost = false;
}

void TCustomActionDockBar::UpdateUndockSize() {
  const SIZE client = FloatingClientSize();
  const SIZE form = TCustomDockForm::SizeForClient(client.cx, client.cy);
  SetUndockWidth(form.cx);
  SetUndockHeight(form.cy);
}

void TCustomActionDockBar::DoStartDock(TDragDockObject* dragObject) {
  UpdateUndockSize();
  if (!Floating()) SetTBDockHeight(Height());
  TCustomActionBar::DoStartDock(dragObject);
}

bool TCustomActionDockBar::ManualDock(TWinControl* newDockSite, TControl* dropControl,
                                      TAlign controlSide) {
  if (!newDockSite) UpdateUndockSize();
  TCustomForm* home = GetParentForm(this);
  const bool docked = TCustomActionBar::ManualDock(newDockSite, dropControl, controlSide);
  if (docked && newDockSite && !Floating()) SetHeight(TBDockHeight());
  // A main menu bar leaving its form for a floating one stays the form's
  // menu: the form sends it its Alt, F10 and Alt+letter.
  if (docked && Floating() && home && !home->Is<TCustomDockForm>() &&
      Is<TCustomActionMainMenuBar>())
    home->SetMenuKeyBar(this);
  return docked;
}

void TCustomActionDockBar::SetParent(TWinControl* parent) {
  if (parent && parent != Parent() && Floating() && parent != HostDockSite() &&
      !ControlState().Contains(csDocking) && !ComponentState().Contains(csDestroying)) {
    ManualDock(parent, nullptr, alNone);
    return;
  }
  TCustomActionBar::SetParent(parent);
}

bool TCustomActionDockBar::ManualFloat(const RECT& screenPos) {
  if (!Floating()) SetTBDockHeight(Height());
  return TCustomActionBar::ManualFloat(screenPos);
}

void TCustomActionDockBar::ActionClientChanged() {
  RecreateControls();
}

void TCustomActionDockBar::StyleChanged() {
  TCustomActionBar::StyleChanged();
  RecreateControls();
}

TCustomActionToolBar::TCustomActionToolBar(TComponent* owner) : TCustomActionDockBar(owner) {
  SetBounds(0, 0, 150, 29);
  SetHorzMargin(2);
  SetVertMargin(2);
}

// ---- Control kinds -------------------------------------------------------------------------

SIZE TCustomButtonControl::CalcSize() {
  if (IsSeparator()) return SIZE{8, 23};
  TCustomImageList* images = ImagesOf(this);
  const bool glyph = HasGlyph();
  const bool caption = ActionClient() && (ActionClient()->ShowCaption() || !glyph);
  int w = glyph ? images->Width() + 7 : 0;
  int h = glyph ? GlyphButtonHeight(images) : 23;
  if (caption) {
    const SIZE t = TCustomActionControl::CalcSize();
    w += t.cx - (glyph ? 6 : 0);
    h = std::max<int>(h, t.cy);
  }
  return SIZE{std::max(w, 23), std::max(h, 23)};
}

SIZE TCustomDropDownButton::CalcSize() {
  SIZE s = TCustomButtonControl::CalcSize();
  s.cx += 9;
  return s;
}

void TCustomDropDownButton::DrawDropDownArrow(const RECT& r) {
  // A small arrow in the last nine pixels.
  const TColor color = Font()->Color();
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->Brush()->SetColor(color);
  Canvas()->Pen()->SetColor(color);
  DrawArrow(Canvas(), sdDown, POINT{r.right - 8, (r.top + r.bottom) / 2 - 1}, 3);
}

RECT TCustomDropDownButton::TextBounds() {
  RECT r = TCustomButtonControl::TextBounds();
  r.right -= 9;
  return r;
}

void TCustomDropDownButton::Click() {
  TCustomActionBar* bar = ActionBar();
  if (!IsEnabled() || (bar && bar->DesignMode())) return;
  if (auto* toolBar = dynamic_cast<TCustomActionToolBar*>(bar)) toolBar->ShowDropDown(this);
}

SIZE TCustomMenuButton::CalcSize() {
  SIZE s = TCustomActionControl::CalcSize();
  s.cx += 2;
  // The caption's height, or the glyph cell's: one pixel more than a
  // tool-bar button with a glyph, so that a tool bar one pixel higher than
  // this button (a control-bar row of its height + 6, bars 5 lower) holds
  // its glyph buttons below its 2-pixel margin at any glyph size.
  const int cell = ImagesOf(this) ? GlyphButtonHeight(ImagesOf(this)) + 1 : 0;
  s.cy = std::max<int>({s.cy - 2, 19, cell});
  return s;
}

RECT TCustomMenuButton::TextBounds() {
  RECT r = ClientRect();
  r.left += 7;
  return r;
}

std::string TCustomMenuButton::DisplayCaption() const {
  return MarkAccelerator(TCustomActionControl::DisplayCaption(), MenuBarAccelerator(this));
}

void TCustomMenuButton::Click() {
  // The press already opened or closed the sub-menu; a button without
  // sub-items executes its action through its menu's item click.
  if (OpensSubMenu(this)) return;
  if (auto* bar = dynamic_cast<TCustomActionMenuBar*>(ActionBar()))
    bar->RootMenu()->ControlClicked(this);
  else
    TCustomActionControl::Click();
}

void TCustomMenuButton::MouseEnter() {
  TCustomActionControl::MouseEnter();
  if (auto* bar = dynamic_cast<TCustomActionMenuBar*>(ActionBar())) bar->ControlEntered(this);
}

void TCustomMenuButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  // No pressed state of its own: an open sub-menu shows as the selection.
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  auto* bar = dynamic_cast<TCustomActionMenuBar*>(ActionBar());
  if (!bar || bar->DesignMode()) return;
  // The press toggles the sub-menu; the capture is let go so the pop-up
  // gets the mouse.  A button without sub-items acts on its click.
  if (!OpensSubMenu(this)) return;
  SetMouseCapture(false);
  bar->RootMenu()->ControlClicked(this);
}

} // namespace zel
