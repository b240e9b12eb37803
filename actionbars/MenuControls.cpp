// The pop-up side of the "Zel Style": menu items with a gradient gutter and
// a framed selection box, the add-or-remove check boxes, the expand button,
// the pop-up menus, and the customize pop-up with its shared customize
// action that opens the customize dialog.

#include "actionbars/ZelStyleActnCtrls.h"

#include <algorithm>

#include "actionbars/ZelStyleConsts.h"
#include "bitop/BitOp.h"
#include "framework/actions/ActnList.h"
#include "framework/actnbars/ActnColorMaps.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/CustomizeDlg.h"
#include "framework/graphics/Colors.h"
#include "platform/user/Messages.h"

namespace zel {

using namespace sys;

namespace {

TInternalCustomizeAction* gCustomizeAction = nullptr;
// The customize pop-up whose handler the shared action runs, so that the
// handler never outlives its pop-up.
TZelStyleCustomizePopup* gCustomizeHandlerOwner = nullptr;

TColor Mix(TColor a, TColor b) {
  return MixColors(ColorToRGB(a), ColorToRGB(b));
}

bool InDesignMode(TCustomActionControl* control) {
  TCustomActionBar* bar = control->ActionBar();
  return bar && bar->DesignMode();
}

void Fill(TCanvas* canvas, const RECT& r, TColor color) {
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(color);
  canvas->FillRect(r);
}

} // namespace

// ---- Shared routines -----------------------------------------------------------------------

void PaintSelectionBox(TCustomActionControl* control, const RECT& box, bool hollow,
                       TColor& itemColor, TColor& menuColor) {
  TCustomActionBarColorMap* m = control->ColorMap();
  if (!m) return;
  TCanvas* canvas = control->Canvas();
  canvas->Pen()->SetStyle(psSolid);
  canvas->Pen()->SetWidth(1);
  menuColor = m->SelectedColor();
  itemColor = Mix(m->SelectedColor(), itemColor);
  if (hollow) {
    canvas->Brush()->SetStyle(bsClear);
  } else {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(m->SelectedColor());
  }
  canvas->Pen()->SetColor(control->IsEnabled() ? m->BtnFrameColor() : Darken(itemColor, -50));
  canvas->Rectangle(box);
}

// The item's layout decides the sides: with the text right of the glyph
// the gutter runs from R's left to 3 pixels into the text bounds, with the
// glyph on the right from 3 pixels before the text's end to R's right.
void PaintMenuItemBackground(TCustomActionControl* control, RECT r, bool sel) {
  if (!control) return;
  TCustomActionBarColorMap* m = control->ColorMap();
  if (!m) return;
  TActionClientItem* item = control->ActionClient();
  if (auto* action = item ? dynamic_cast<TAction*>(item->Action()) : nullptr)
    if (sel && !action->Enabled()) sel = false;
  TColor itemColor = (!item || item->Unused()) ? m->UnusedColor() : m->Color();
  TColor menuColor = m->MenuColor();
  TCanvas* canvas = control->Canvas();
  const bool expandBtn = control->Is<TCustomMenuExpandBtn>();
  if (!expandBtn) {
    sel = control->Selected() && control->IsEnabled() && !InDesignMode(control) &&
          !control->IsSeparator();
    if (sel) {
      PaintSelectionBox(control, control->ClientRect(), true, itemColor, menuColor);
      InflateRect(r, -1, -1);
    }
  }
  RECT text = r, gutter = r;
  const RECT bounds = control->TextBounds();
  const bool glyphLeft = bounds.left > control->GlyphPos().x;
  if (glyphLeft) {
    gutter.right = std::min<int>(bounds.left + 3, r.right);
    text.left = gutter.right;
  } else {
    gutter.left = std::max<int>(bounds.right - 3, 3);
    text.right = gutter.left;
  }
  const RECT checkBox = gutter;
  canvas->Brush()->SetStyle(bsSolid);
  GradientFillCanvas(canvas, itemColor, menuColor, gutter, gdHorizontal);
  const int h = control->Height();
  Fill(canvas, sel ? RECT{1, 1, gutter.left, h - 1} : RECT{0, 0, gutter.left, h}, itemColor);
  Fill(canvas, text, menuColor);
  if (expandBtn) {
    if (sel) {
      InflateRect(r, -2, -3);
      PaintSelectionBox(control, r, false, itemColor, menuColor);
    }
    return;
  }
  if (!CheckedInGutter(control)) return;
  // The box the check mark or the glyph of a checked item is painted into.
  RECT box = checkBox;
  if (sel)
    box.right -= 1;
  else
    InflateRect(box, -1, -1);
  if (glyphLeft)
    box.right -= 6;
  else
    box.left += 6;
  if (!control->HasGlyph()) InflateRect(box, -1, -2);
  PaintSelectionBox(control, box, false, itemColor, menuColor);
}

void RefitToolBars(TCustomActionManager* manager) {
  if (!manager) return;
  TActionBars* bars = manager->ActionBars();
  for (int i = 0; i < bars->Count(); ++i) {
    auto* bar = dynamic_cast<TCustomActionToolBar*>(bars->ActionBars(i)->ActionBar());
    if (!bar || bar->DesignMode() || bar->BarAutoSize()) continue;
    // The same bounds again, then the items that no longer fit go behind
    // the scroll button.
    bar->SetBounds(bar->Left(), bar->Top(), bar->Width(), bar->Height());
    bar->LayoutControls();
    bar->Invalidate();
  }
}

// ---- TZelStyleMenuItem ---------------------------------------------------------------------

void TZelStyleMenuItem::DrawBackground(RECT& r) {
  PaintMenuItemBackground(this, r, Selected());
}

void TZelStyleMenuItem::DrawGlyph(const POINT& location) {
  PaintItemGlyph(this, Selected(), location);
}

void TZelStyleMenuItem::DrawSeparator(const RECT& r) {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m) return;
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(m->Color());
  canvas->Pen()->SetStyle(psSolid);
  canvas->Pen()->SetWidth(1);
  // The rule lies on the menu colour; a map whose bar colour is that colour
  // (black on black in the black-and-white map) draws it in its disabled
  // text colour instead.
  const TColor rule =
      ColorApartFrom(m->MenuColor(), {m->Color(), m->DisabledFontColor(), m->FontColor()});
  canvas->Pen()->SetColor(InDesignMode(this) ? Darken(rule, -50) : rule);
  const int y = ClientHeight() / 2;
  canvas->MoveTo(r.left, y);
  canvas->LineTo(ClientWidth(), y);
}

// ---- TZelStyleAddRemoveItem ----------------------------------------------------------------

void TZelStyleAddRemoveItem::DrawBackground(RECT& r) {
  RECT area = r;
  area.left += 16;
  PaintMenuItemBackground(this, area, Selected());
  PaintCheckBox();
}

void TZelStyleAddRemoveItem::DrawGlyph(const POINT& location) {
  PaintItemGlyph(this, false, location);
}

// The entry's tool-bar item is the first item of the tool bar with the
// entry's action; its visibility shows as the box's check mark.
void TZelStyleAddRemoveItem::PaintCheckBox() {
  TActionClientItem* entry = ActionClient();
  TContainedAction* action = entry ? entry->Action() : nullptr;
  auto* bar = dynamic_cast<TCustomActionMenuBar*>(ActionBar());
  auto* root = bar ? dynamic_cast<TCustomizeActionToolBar*>(bar->RootMenu()) : nullptr;
  TCustomActionToolBar* toolBar = root ? root->ToolBar() : nullptr;
  TActionClient* client = toolBar ? toolBar->ActionClient() : nullptr;
  if (!action || !client || !client->HasItems()) return;
  TActionClientItem* found = nullptr;
  for (int i = 0; i < client->Items()->Count() && !found; ++i)
    if (client->Items()->Items(i)->Action() == action) found = client->Items()->Items(i);
  TCustomActionBarColorMap* menu = ColorMap();
  if (!found || !menu) return;
  TCanvas* canvas = Canvas();
  const int y = (ClientHeight() - 11) / 2;
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(menu->SelectedColor());
  canvas->Pen()->SetStyle(psSolid);
  canvas->Pen()->SetWidth(1);
  canvas->Pen()->SetColor(toolBar->ColorMap()->BtnFrameColor());
  canvas->Rectangle(3, y, 14, y + 11);
  if (!found->Visible()) return;
  canvas->Pen()->SetColor(MarkColorOnSelection(menu, menu->FontColor()));
  DrawCheck(canvas, POINT{5, y + 5}, 2, false);
}

// ---- TZelStyleExpandBtn, TZelStylePopupMenu ------------------------------------------------

void TZelStyleExpandBtn::DrawBackground(RECT& r) {
  PaintMenuItemBackground(this, r, Pressed() || MouseInControl() || IsChecked());
}

RECT TZelStyleExpandBtn::TextBounds() {
  RECT r = TXPStyleExpandBtn::TextBounds();
  r.left = 24;
  return r;
}

TClassRef<TCustomActionControl> TZelStylePopupMenu::ExpandBtnClass() {
  return TZelStyleExpandBtn::StaticClass();
}

void TakeOpenersColorMap(TCustomActionPopupMenu* popup) {
  TCustomActionBar* opener = popup->ParentMenu();
  if (!opener) opener = dynamic_cast<TCustomActionBar*>(popup->Owner());
  if (opener && opener != popup) popup->SetColorMap(opener->ColorMap());
}

void TZelStylePopupMenu::WndProc(TMessage& message) {
  TXPStylePopupMenu::WndProc(message);
  if (message.Msg != WM_SHOWWINDOW || !ParentMenu()) return;
  TCustomActionMenuBar* opener = ParentMenu();
  for (int i = 0; i < opener->ActionControlCount(); ++i)
    if (opener->ActionControls(i)->ActionClient() == SourceItem())
      opener->ActionControls(i)->Invalidate();
}

void TZelStylePopupMenu::SetActionClient(TActionClient* value) {
  if (value) TakeOpenersColorMap(this);
  TXPStylePopupMenu::SetActionClient(value);
}

// ---- The customize pop-up and its action ---------------------------------------------------

TInternalCustomizeAction* InternalCustomizeAction() {
  return gCustomizeAction;
}

void FreeInternalCustomizeAction() {
  gCustomizeHandlerOwner = nullptr;
  TInternalCustomizeAction* action = gCustomizeAction;
  gCustomizeAction = nullptr;
  if (action) Free(action);
}

TCustomizeDlg* TInternalCustomizeAction::Dialog() const {
  return dynamic_cast<TCustomizeDlg*>(CustomizeDlg());
}

// When the dialog it opened closes, the tool bars of the dialog's manager
// fit their items again.
bool TInternalCustomizeAction::Execute() {
  const bool executed = TCustomizeActionBars::Execute();
  if (TCustomizeDlg* dlg = Dialog(); executed && dlg)
    dlg->OnClose = [dlg](TObject*) { RefitToolBars(dlg->ActionManager()); };
  return executed;
}

TZelStyleCustomizePopup::~TZelStyleCustomizePopup() {
  if (gCustomizeHandlerOwner != this) return;
  gCustomizeHandlerOwner = nullptr;
  if (gCustomizeAction) gCustomizeAction->OnExecute = nullptr;
}

TClassRef<TCustomActionControl> TZelStyleCustomizePopup::ExpandBtnClass() {
  return TZelStyleExpandBtn::StaticClass();
}

// Only the pop-up a tool bar opens gets the additional item: the
// add-or-remove sub-menu, a pop-up of the same class, lists buttons only.
// The item is added once per client; an item of an earlier client is
// forgotten, never touched again (that client's items may be gone).
void TZelStyleCustomizePopup::SetActionClient(TActionClient* value) {
  if (value == ActionClient()) return;
  FAdditionalItem = nullptr;
  if (value) TakeOpenersColorMap(this);
  if (value && !ParentMenu()) {
    if (!gCustomizeAction) gCustomizeAction = new TInternalCustomizeAction(nullptr);
    TCustomActionManager* manager = ToolBar() ? ToolBar()->ActionManager() : ActionManager();
    if (TCustomizeDlg* dlg = gCustomizeAction->Dialog()) dlg->SetActionManager(manager);
    gCustomizeAction->OnExecute = [this](TObject* sender) { ShowCustomize(sender); };
    gCustomizeHandlerOwner = this;
    gCustomizeAction->SetCaption(SZelCustomizeCaption);
    FAdditionalItem = value->Items()->Add();
    FAdditionalItem->SetAction(gCustomizeAction);
    FAdditionalItem->SetUsageCount(-1);
  }
  TXPStyleCustomizePopup::SetActionClient(value);
  // The framework's own items come first; the additional item stays last.
  if (FAdditionalItem) FAdditionalItem->SetIndex(FAdditionalItem->Collection()->Count() - 1);
}

void TZelStyleCustomizePopup::ShowCustomize(TObject* sender) {
  auto* action = dynamic_cast<TCustomizeActionBars*>(sender);
  TCustomizeDlg* dlg = action ? dynamic_cast<TCustomizeDlg*>(action->CustomizeDlg()) : nullptr;
  if (!dlg) return;
  dlg->SetStayOnTop(true);
  dlg->Show();
  if (dlg->Form()) dlg->Form()->SetCaption(action->Caption());
  auto* root = dynamic_cast<TCustomizeActionToolBar*>(RootMenu());
  auto* toolBar = root ? dynamic_cast<TGradientActionToolBar*>(root->ToolBar()) : nullptr;
  if (toolBar && toolBar->onShowCustomize) toolBar->onShowCustomize(dlg->Form());
}

} // namespace zel
