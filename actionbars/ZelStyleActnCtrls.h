#pragma once
// The "Zel Style" of the action bars: the style object that picks a control
// class for every item of a bar, the tool bar and main menu bar that paint
// the control bar's gradient behind their controls, and the controls that
// continue that gradient in every button and menu item.
//
// The unit is split along its seams:
//   ZelStyleObject.cpp     the style object, the control-kind rule, start-up
//                          and shut-down of the unit;
//   GradientBars.cpp       the two gradient bars and their placement records;
//   StyleControls.cpp      the shared button painting and the tool-bar and
//                          menu-bar controls;
//   MenuControls.cpp       menu items, the expand button, the pop-ups, the
//                          customize pop-up and its customize action.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnStyles.h"
#include "framework/actnbars/CustomizeActionBars.h"
#include "framework/actnbars/XPStyleActnCtrls.h"
#include "framework/graphics/GraphUtil.h"

namespace zel {

class TRichImageList;
class TStream;
class TCustomizeDlg;

// ---- Style object -------------------------------------------------------------------------

// The kinds of control the style makes, the index into its class table.
enum TZelControlKind {
  zckButton = 0,        // a plain tool-bar button, and any bar of no other kind
  zckDropDown = 1,      // a tool-bar item with child items
  zckMenuButton = 2,    // an item of a main menu bar
  zckMenuItem = 3,      // an item of a pop-up menu
  zckAddRemoveItem = 4, // an entry of the customize pop-up's add-or-remove menu
  zckComboControl = 5   // a tool-bar item whose action is a list action
};

class TZelStyleActionBars : public TActionBarStyleEx {
  ZEL_CLASS(TZelStyleActionBars, TActionBarStyleEx)
public:
  TCustomActionControlClass ControlClassFor(TCustomActionBar* bar,
                                            TActionClientItem* item) override;
  TCustomColorMapClass ColorMapClassFor(TCustomActionBar* bar) override;
  std::string StyleName() override { return "Zel Style"; }
  TCustomActionBarClass GetPopupClass(TCustomActionBar* bar) override;
  TCustomActionControlClass GetAddRemoveItemClass(TCustomActionBar* bar) override;
  TCustomActionControlClass GetScrollBtnClass() override;
  // The kind of control for item on bar (see ZelStyleObject.cpp for the rule).
  virtual int ControlKindFor(TCustomActionBar* bar, TActionClientItem* item);
};

// Unit start-up: creates and registers the style (nested calls count up and
// do nothing more).  Shut-down, when the count returns to zero: unregisters
// and frees the style and frees the shared customize action.
void InitializeZelStyleActnCtrls();
void FinalizeZelStyleActnCtrls();
// The style object while the unit runs, else nil.
TZelStyleActionBars* ZelStyle();

// ---- Face renderer access -----------------------------------------------------------------

// The controls that draw their glyph through a face renderer of their own.
class IGlyphGraphic {
public:
  // The control's renderer (made on first use) set up for its action.
  virtual TRichImageList* GetGlyphGraphic() = 0;
  virtual void FreeGlyphGraphic() = 0;

protected:
  ~IGlyphGraphic() = default;
};

// The renderer of one control, made on first use; shared by the five
// classes that implement IGlyphGraphic.
class TGlyphGraphicHolder {
public:
  TGlyphGraphicHolder();
  ~TGlyphGraphicHolder();
  TRichImageList* Get(TCustomActionControl* control);
  void Free();
  TRichImageList* Current() const { return FGlyphGraphic.get(); }

private:
  std::unique_ptr<TRichImageList> FGlyphGraphic;
};

// A control of the framework's class Base that draws its glyph through a
// face renderer of its own (made on first use, freed with the control).
// The style's five glyph-drawing classes differ only in their base and in
// how they paint.
template <class Base> class TGlyphGraphicControl : public Base, public IGlyphGraphic {
public:
  explicit TGlyphGraphicControl(TComponent* owner) : Base(owner) {}
  TRichImageList* GetGlyphGraphic() override { return FGlyphGraphic.Get(this); }
  void FreeGlyphGraphic() override { FGlyphGraphic.Free(); }

private:
  TGlyphGraphicHolder FGlyphGraphic;
};

// ---- Shared painting routines (StyleControls.cpp) ----------------------------------------

struct TButtonFill {
  TColor Start;
  TColor End;
  TGradientDirection Direction;
};

// The fill of a button: the bar's own background (the control bar's
// gradient or colour) blended with the colour map's selection colours.
// Without a bar the base colours 0xEFD3C6 (fill) and 0xC66931 (band) and
// the button face are used.
TButtonFill ButtonFillColors(bool hot, bool band, bool checked, TCustomActionBar* bar);
// Fills the control with its slice of the bar's gradient (or one colour).
void FillButtonFace(bool hot, bool band, TCustomActionControl* control);
// The face inside R shrunk by 1, and for a hot control the 1-pixel ring
// around it and the column that divides a drop-down part of split pixels.
void PaintButtonBackground(TCustomActionControl* control, bool hot, sys::RECT& r, int split);
// The frame of a pressed or checked button, with its drop-down divider.
void PaintButtonFrame(TCustomActionControl* control, bool down, int split);
// The dark and light colours of embossed text and of the scroll arrows.
void TextShadowColors(TCustomActionControl* control, TColor& dark, TColor& light);
// The caption drawn light one pixel down and right, then dark in r.
void PaintEmbossedText(TCustomActionControl* control, const sys::RECT& r, sys::UINT flags,
                       const std::string& caption);
// True while the right or the left mouse button is held.
bool MouseButtonDown();
// The glyph through the control's face renderer, or for a checked menu
// item without a usable glyph its check mark or radio dot.
void PaintItemGlyph(TCustomActionControl* control, bool hot, sys::POINT p);
// The colour of a check mark drawn in color on a box of the map's
// selection colour: the selected text colour where the two are the same
// (white on white in the black-and-white map).
TColor MarkColorOnSelection(TCustomActionBarColorMap* m, TColor color);
// The first of candidates that differs from background (the last when none
// does): the colour of a line or caption that must stand out from it.
TColor ColorApartFrom(TColor background, std::initializer_list<TColor> candidates);
// caption if it stands out from a fill running from fillStart to fillEnd
// (luminances kCaptionContrast apart at both ends), else the first of the
// map's text colours that does, else the one that stands out most.  A map
// whose text colour is close to the bar's gradient (white text on a white
// gradient in the black-and-white map) keeps its captions readable.
constexpr int kCaptionContrast = 80;
TColor ReadableCaptionColor(TCustomActionControl* control, TColor caption, TColor fillStart,
                            TColor fillEnd);
// Checked as the gutter shows it: an add-or-remove entry shows its state
// in its own check box alone.
bool CheckedInGutter(TCustomActionControl* control);

// ---- Menu routines (MenuControls.cpp) -----------------------------------------------------

// A box in the colour map's selection colours; itemColor and menuColor are
// the caller's working colours, changed as the box requires.
void PaintSelectionBox(TCustomActionControl* control, const sys::RECT& box, bool hollow,
                       TColor& itemColor, TColor& menuColor);
// The background of a menu item: gutter gradient, text area, selection box
// and the box of a checked item.
void PaintMenuItemBackground(TCustomActionControl* control, sys::RECT r, bool selected);
// Has every tool bar of manager that does not size itself hide again the
// items that no longer fit.  Nothing for nil.
void RefitToolBars(TCustomActionManager* manager);

// ---- Tool-bar and menu-bar controls -------------------------------------------------------

class TZelStyleButton : public TGlyphGraphicControl<TCustomButtonControl> {
  ZEL_CREATABLE_CLASS(TZelStyleButton, TCustomButtonControl)
public:
  explicit TZelStyleButton(TComponent* owner) : TGlyphGraphicControl(owner) {}
  void DrawBackground(sys::RECT& r) override;
  TColor CaptionColor() override;
  void DrawFrame(const sys::RECT& r, bool down) override;
  void DrawGlyph(const sys::POINT& location) override;
  void DrawShadowedText(sys::RECT& r, sys::UINT flags, const std::string& text, TColor textColor,
                        TColor shadowColor) override;
};

class TZelStyleDropDownBtn : public TGlyphGraphicControl<TCustomDropDownButton> {
  ZEL_CREATABLE_CLASS(TZelStyleDropDownBtn, TCustomDropDownButton)
public:
  explicit TZelStyleDropDownBtn(TComponent* owner) : TGlyphGraphicControl(owner) {}
  void DrawBackground(sys::RECT& r) override;
  TColor CaptionColor() override;
  void DrawFrame(const sys::RECT& r, bool down) override;
  void DrawGlyph(const sys::POINT& location) override;
  void DrawShadowedText(sys::RECT& r, sys::UINT flags, const std::string& text, TColor textColor,
                        TColor shadowColor) override;
};

class TZelStyleMenuButton : public TGlyphGraphicControl<TCustomMenuButton> {
  ZEL_CREATABLE_CLASS(TZelStyleMenuButton, TCustomMenuButton)
public:
  explicit TZelStyleMenuButton(TComponent* owner) : TGlyphGraphicControl(owner) {}
  void DrawBackground(sys::RECT& r) override;
  TColor CaptionColor() override;
  void DrawGlyph(const sys::POINT& location) override;
  void DrawShadowedText(sys::RECT& r, sys::UINT flags, const std::string& text, TColor textColor,
                        TColor shadowColor) override;

private:
  // What the button shows behind its caption:
  //   not in the menu loop        the bar's fill, hot under the mouse
  //   in the loop, not selected   the bar's fill
  //   selected, its menu shut     the hot fill (none while another is open)
  //   selected, its menu open     the tab joined to the menu
  enum class TFace { Plain, Hot, Tab };
  TFace Face() const;
  // The tab joined to the open drop-down menu below (or above) the button.
  void PaintMenuTab(TCustomActionBar* childBar);
};

// A tool bar's scroll button: the hidden items' chevron and an arrow.
class TZelToolScrollBtn : public TCustomToolScrollBtn {
  ZEL_CREATABLE_CLASS(TZelToolScrollBtn, TCustomToolScrollBtn)
public:
  explicit TZelToolScrollBtn(TComponent* owner) : TCustomToolScrollBtn(owner) {}
  void DrawBackground(sys::RECT& r) override;
  void DrawFrame(const sys::RECT& r, bool down) override;
  // The chevron (while the tool bar hides items) and the arrow.
  void DrawArrows() override;
  // Opens the hidden items, then the tool bars fit their items again.
  void Click() override;

private:
  void DrawArrowsAt(int dx, int dy);
};

// ---- Menu and customize controls ----------------------------------------------------------

class TZelStyleMenuItem : public TGlyphGraphicControl<TXPStyleMenuItem> {
  ZEL_CREATABLE_CLASS(TZelStyleMenuItem, TXPStyleMenuItem)
public:
  explicit TZelStyleMenuItem(TComponent* owner) : TGlyphGraphicControl(owner) {}
  // The selection box is painted with the background.
  void DrawBackground(sys::RECT& r) override;
  // The glyph, or the check mark or radio dot of a checked item without one
  // (in place of the XP look's marks).
  void DrawGlyph(const sys::POINT& location) override;
  void DrawSeparator(const sys::RECT& r) override;
};

class TZelStyleAddRemoveItem : public TGlyphGraphicControl<TXPStyleAddRemoveItem> {
  ZEL_CREATABLE_CLASS(TZelStyleAddRemoveItem, TXPStyleAddRemoveItem)
public:
  explicit TZelStyleAddRemoveItem(TComponent* owner) : TGlyphGraphicControl(owner) {}
  // The background and the check box, which shows whether the entry's
  // tool-bar item is visible.  The box is painted here rather than after
  // the glyph: the glyph role does not run for an entry that has neither a
  // glyph nor a check, and its empty box must show all the same.
  void DrawBackground(sys::RECT& r) override;
  void DrawGlyph(const sys::POINT& location) override;

private:
  // The 11 x 11 box in the entry's first 16 pixels.
  void PaintCheckBox();
};

class TZelStyleExpandBtn : public TXPStyleExpandBtn {
  ZEL_CREATABLE_CLASS(TZelStyleExpandBtn, TXPStyleExpandBtn)
public:
  explicit TZelStyleExpandBtn(TComponent* owner) : TXPStyleExpandBtn(owner) {}
  void DrawBackground(sys::RECT& r) override;
  // The box of a hot expand button is part of its background.
  void DrawFrame(const sys::RECT& r, bool down) override {}
  sys::RECT TextBounds() override;
};

// A pop-up of the style shows the colours of the bar it opened from (its
// parent menu, or the bar that owns it), so that switching a bar's colour
// map switches its menus too.
void TakeOpenersColorMap(TCustomActionPopupMenu* popup);

class TZelStylePopupMenu : public TXPStylePopupMenu {
  ZEL_CREATABLE_CLASS(TZelStylePopupMenu, TXPStylePopupMenu)
public:
  explicit TZelStylePopupMenu(TComponent* owner) : TXPStylePopupMenu(owner) {}
  TClassRef<TCustomActionControl> ExpandBtnClass() override;
  void SetActionClient(TActionClient* value) override;

protected:
  // Shown or hidden, the pop-up has the control it opened from repaint:
  // a menu button is a tab joined to its open menu only while it shows.
  void WndProc(TMessage& message) override;
};

class TZelStyleCustomizePopup : public TXPStyleCustomizePopup {
  ZEL_CREATABLE_CLASS(TZelStyleCustomizePopup, TXPStyleCustomizePopup)
public:
  explicit TZelStyleCustomizePopup(TComponent* owner) : TXPStyleCustomizePopup(owner) {}
  ~TZelStyleCustomizePopup() override;
  TClassRef<TCustomActionControl> ExpandBtnClass() override;
  // Appends the item that opens the customize dialog, always last.
  void SetActionClient(TActionClient* value) override;
  // The item "Дополнительные настройки" of the current client, or nil.
  TActionClientItem* AdditionalItem() const { return FAdditionalItem; }
  // Opens the customize dialog of the shared action (sender).
  void ShowCustomize(TObject* sender);

private:
  TActionClientItem* FAdditionalItem = nullptr;
};

// The customize action of the customize pop-ups: one, shared, made on
// first need; its dialog's closing re-fits the tool bars.
class TInternalCustomizeAction : public TCustomizeActionBars {
  ZEL_CREATABLE_CLASS(TInternalCustomizeAction, TCustomizeActionBars)
public:
  explicit TInternalCustomizeAction(TComponent* owner) : TCustomizeActionBars(owner) {}
  bool Execute() override;
  TCustomizeDlg* Dialog() const;
};

// The shared customize action, or nil while no customize pop-up needed it.
TInternalCustomizeAction* InternalCustomizeAction();

// ---- Gradient bars (GradientBars.cpp) -----------------------------------------------------

// What both gradient bars offer the layout file: their placement record.
class IBarPlacement {
public:
  virtual void SaveToStream(TStream& stream) = 0;
  virtual void LoadFromStream(TStream& stream) = 0;

protected:
  ~IBarPlacement() = default;
};

// The parent kinds of a placement record.
enum TPlacementParentKind : uint8_t {
  ppkDockForm = 0,
  ppkControlBar = 1,
  ppkOther = 2,
  ppkNone = 255
};

// Writes and reads a bar's placement record (shared by both bars).
void SaveBarPlacement(TCustomActionDockBar* bar, TStream& stream);
void LoadBarPlacement(TCustomActionDockBar* bar, TStream& stream);
// Whether bar paints the control bar's gradient as its background, and the
// background of such a bar.
bool PaintsGradientBackground(TCustomActionBar* bar);
void PaintGradientBackground(TCustomActionBar* bar);

class TGradientActionToolBar : public TActionToolBar, public IBarPlacement {
  ZEL_CREATABLE_CLASS(TGradientActionToolBar, TActionToolBar)
public:
  explicit TGradientActionToolBar(TComponent* owner);
  void DrawBackground() override;
  void SetParent(TWinControl* parent) override;
  // Whether the floating form holding the bar shows its close button.
  bool EnableClose() const { return FEnableClose; }
  void SetEnableClose(bool value);
  // Raised when the customize dialog opens from this bar's customize pop-up;
  // the sender is the dialog's form.
  TNotifyEvent onShowCustomize;
  void SaveToStream(TStream& stream) override { SaveBarPlacement(this, stream); }
  void LoadFromStream(TStream& stream) override { LoadBarPlacement(this, stream); }

private:
  bool FEnableClose = true;
};

using TItemClicked = std::function<void(TCustomActionControl* sender)>;

class TGradientActionMainMenuBar : public TActionMainMenuBar, public IBarPlacement {
  ZEL_CREATABLE_CLASS(TGradientActionMainMenuBar, TActionMainMenuBar)
public:
  explicit TGradientActionMainMenuBar(TComponent* owner) : TActionMainMenuBar(owner) {}
  void DrawBackground() override;
  void SetParent(TWinControl* parent) override;
  bool ControlClicked(TCustomActionControl* control) override;
  // Raised for every click of an item, before the bar handles it.
  TItemClicked onItemClicked;
  void SaveToStream(TStream& stream) override { SaveBarPlacement(this, stream); }
  void LoadFromStream(TStream& stream) override { LoadBarPlacement(this, stream); }
};

} // namespace zel
