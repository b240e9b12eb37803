#pragma once
// The bases the action manager's model needs of the bars that show it: an
// action bar shows the items of one TActionBarItem of a manager, drawn with
// a colour map; an action control shows one item.  Layout, painting and the
// control classes of the styles build on these.

#include <vector>

#include "framework/controls/CustomControl.h"
#include "framework/controls/GraphicControl.h"

namespace zel {

class TActionClient;
class TActionClientItem;
class TActionBarItem;
class TCustomActionManager;
class TCustomActionBarColorMap;
class TActionBarStyle;
class TCustomActionControl;

// The direction a bar lays its controls out in.
enum TBarOrientation { boLeftToRight, boRightToLeft, boTopToBottom, boBottomToTop };
// The kind of edge a bar draws around itself.
enum TEdgeStyle { esNone, esRaised, esLowered };

class TCustomActionBar : public TCustomControl {
  ZEL_CLASS(TCustomActionBar, TCustomControl)
public:
  explicit TCustomActionBar(TComponent* owner);
  ~TCustomActionBar() override;

  // The manager item the bar shows (set by TActionBarItem::SetActionBar).
  TActionClient* ActionClient() const { return FActionClient; }
  virtual void SetActionClient(TActionClient* value);
  // Called by the item the bar shows as it is destroyed.  The open pop-up
  // of the item's children (open) is emptied (SetActionClient(nil)); any
  // other bar only forgets the item and keeps its controls until it is
  // freed or shows another item, since one of them may be on the call
  // stack.  The controls of the child items are told by those items.
  void ActionClientGone(TActionClient* item, bool open);
  // Called by a control of the bar whose item was destroyed.  The control
  // leaves the layout at once (hidden, the others close up), so no empty
  // control stays on the bar; it is freed later, from a message the bar
  // posts itself, since it may be on the call stack (its click freed the
  // item).  Without a window the bar frees it with itself.
  void ActionControlGone(TCustomActionControl* control);
  // The manager joined through SetActionManager, else the manager of the
  // bar's item (a pop-up showing an item's children has only that one).
  TCustomActionManager* ActionManager() const;
  // Joins the bar to a manager: the manager's first bar item without a bar,
  // or a new one, takes this bar.
  virtual void SetActionManager(TCustomActionManager* value);

  // The colour map the bar is drawn with: the one assigned, otherwise a map
  // of the class its manager's style names (ColorMapClassFor), made and
  // owned by the bar.  Never nil.
  TCustomActionBarColorMap* ColorMap();
  // Assigns a map (nil: back to the style's default map).
  virtual void SetColorMap(TCustomActionBarColorMap* value);
  // The style of the bar's manager; while the manager names a style that is
  // not registered, the first registered style; nil without a manager.
  TActionBarStyle* Style() const;

  // Called when the manager's style changed: a default colour map is made
  // again for the new style.
  virtual void StyleChanged();
  // Called when the items of the bar's client changed (after a load of the
  // manager's configuration, for example); the controls are remade here.
  virtual void ActionClientChanged() {}
  // Called by the colour map when its FontColor changes.
  virtual void ColorMapFontChanged(TColor color);

  void Notification(TComponent* component, TOperation operation) override;
  // In design mode the presses, moves and releases on items drag them
  // (DesignDrag.h) instead of reaching the item controls.
  void WndProc(TMessage& message) override;
  // A bar read with its window's description makes its controls once the
  // whole description, items included, is in place.
  void Loaded() override;

  // ---- On screen (ActnCtrls.cpp) --------------------------------------------------------
  TBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TBarOrientation value);
  // Pixels between neighbouring controls.
  int Spacing() const { return FSpacing; }
  void SetSpacing(int value);
  int HorzMargin() const { return FHorzMargin; }
  void SetHorzMargin(int value);
  int VertMargin() const { return FVertMargin; }
  void SetVertMargin(int value);
  TEdgeStyle EdgeInner() const { return FEdgeInner; }
  void SetEdgeInner(TEdgeStyle value);
  TEdgeStyle EdgeOuter() const { return FEdgeOuter; }
  void SetEdgeOuter(TEdgeStyle value);
  // Whether controls that run past the edge start a new row (otherwise they
  // are hidden).
  bool Wrapping() const { return FWrapping; }
  void SetWrapping(bool value);
  // Whether the bar takes the height (or width) its controls need.
  bool BarAutoSize() const { return FBarAutoSize; }
  void SetBarAutoSize(bool value);
  // Design mode: the customize dialog is open and clicks do not execute.
  bool DesignMode() const { return FDesignMode; }
  void SetDesignMode(bool value) { FDesignMode = value; }
  int ActionControlCount() const { return int(FActionControls.size()); }
  TCustomActionControl* ActionControls(int index) const {
    return FActionControls.at(size_t(index));
  }
  // The controls left out because they did not fit.
  int HiddenCount() const { return FHiddenCount; }
  // Makes one control per item of the client (none without a style).
  virtual void CreateControls();
  void RecreateControls();
  // The lists the bar shows changed whether they hide unused items: the
  // controls are made again (a menu bar closes its open menus first).
  virtual void ItemsHidingChanged() { RecreateControls(); }
  // The control class for item: the style's, or nil.
  virtual TClassRef<TCustomActionControl> GetControlClass(TActionClientItem* item);
  // Places the controls; called after the controls change and on resizing.
  virtual void LayoutControls();
  // Painting role: fills the bar behind its controls and draws its edges.
  virtual void DrawBackground();
  // The item that executes, and counts the use, when a control of the bar
  // is chosen: the control's own item, unless the bar shows copies of items
  // kept elsewhere (a tool bar's hidden items).
  virtual TActionClientItem* ItemToExecute(TActionClientItem* item) { return item; }
  // Whether a control of the bar shows item as checked, and as enabled:
  // its action's Checked and Enabled, unless the bar's items mean something
  // else by them (the add-or-remove entries of a customize pop-up are
  // checked while their button shows, and always enabled).
  virtual bool ItemChecked(const TActionClientItem* item);
  virtual bool ItemEnabled(const TActionClientItem* item);

protected:
  void Paint() override;
  void Resize() override;
  // Controls aligned to an edge of the bar (a tool bar's scroll button)
  // stay inside its edges and margins.
  void AdjustClientRect(sys::RECT& rect) override;
  // Whether an item gets a control (visible, and not hidden as unused).
  virtual bool ItemShown(TActionClientItem* item) const;
  // Whether the item and its action are visible, used or not.
  static bool ItemVisible(TActionClientItem* item);
  // A bar with an expand button may hide every item behind it; any other
  // bar shows all its visible items rather than none, since a bar with
  // nothing on it cannot be used (nor right-clicked for its pop-up).
  virtual bool CanHideAllItems() const { return false; }
  // The rectangle inside the edges and margins.
  sys::RECT LayoutRect();
  void DestroyControls();
  // The manager a bar of items of its own (a tool bar's customize pop-up)
  // takes its style, colours and images from.
  void SetFallbackManager(TCustomActionManager* value);
  // Adds a control the bar made beyond its items (an expand button).
  void AddActionControl(TCustomActionControl* control) { FActionControls.push_back(control); }
  // Pixels at the end of a row kept free (for a tool bar's scroll button).
  int FReserveRight = 0;
  // Whether the layout starts a new row for a control past the edge; the
  // Wrapping property, which a floating bar overrides.
  virtual bool WrapsControls() const { return FWrapping; }

private:
  void DropDefaultColorMap();
  void FreeGoneControls();
  // LayoutControls' work, done while the bar's alignment is held off.
  void PlaceControls();
  std::vector<TCustomActionControl*> FActionControls;
  // Controls whose item went, hidden and waiting to be freed.
  std::vector<TCustomActionControl*> FGoneControls;
  TBarOrientation FOrientation = boLeftToRight;
  int FSpacing = 0, FHorzMargin = 1, FVertMargin = 1, FHiddenCount = 0;
  TEdgeStyle FEdgeInner = esNone, FEdgeOuter = esNone;
  bool FWrapping = false, FBarAutoSize = true, FDesignMode = false, FLayingOut = false;

  TActionClient* FActionClient = nullptr;
  TCustomActionManager* FActionManager = nullptr;
  TCustomActionManager* FClientManager = nullptr; // the manager of FActionClient
  TCustomActionManager* FFallbackManager = nullptr;
  TCustomActionBarColorMap* FColorMap = nullptr;        // assigned, not owned
  TCustomActionBarColorMap* FDefaultColorMap = nullptr; // owned by the bar
};

// A control that shows one item of a bar.
class TCustomActionControl : public TGraphicControl {
  ZEL_CLASS(TCustomActionControl, TGraphicControl)
public:
  explicit TCustomActionControl(TComponent* owner);
  ~TCustomActionControl() override;
  TActionClientItem* ActionClient() const { return FActionClient; }
  virtual void SetActionClient(TActionClientItem* value);
  // The bar the control sits on, or nil.
  TCustomActionBar* ActionBar() const;

  // ---- On screen (ActnCtrls.cpp) --------------------------------------------------------
  // Selected: highlighted by the keyboard or an open sub-menu.
  bool Selected() const { return FSelected; }
  virtual void SetSelected(bool value);
  bool MouseInControl() const { return FMouseInControl; }
  // The mouse is pressed on the control.
  bool Pressed() const { return FPressed; }
  // Enabled and checked as the bar shows the item (ItemEnabled and
  // ItemChecked of TCustomActionBar); off a bar, its action's state.
  bool IsEnabled() const;
  bool IsChecked() const;
  bool IsSeparator() const;
  // The size the control wants; the bar places it with this size.
  virtual sys::SIZE CalcSize();
  // The caption as drawn: the item's caption; a control whose item answers
  // a key letter not marked in the caption marks it with '&', so that the
  // letter that works is the one underlined.
  virtual std::string DisplayCaption() const;
  // Where the glyph goes, and the rectangle of the caption.
  virtual sys::POINT GlyphPos();
  virtual sys::RECT TextBounds();
  // Whether the control shows its item's image.
  virtual bool HasGlyph() const;
  // The colour map of the bar (a standard map off a bar).
  TCustomActionBarColorMap* ColorMap() const;
  // Painting roles, called by Paint in this order; styles override them.
  // A separator gets its background and DrawSeparator only.  The frame's
  // down is true while the control is checked or pressed with the mouse on
  // it.  DrawDropDownArrow follows the frame, so a style that paints its own
  // frame keeps the arrow; only controls with a drop-down part draw one.
  // DrawShadowedText is asked for only for a disabled control that is not
  // selected, outside design mode; other disabled captions are plain text
  // in the colour map's DisabledFontColor.
  virtual void DrawBackground(sys::RECT& r);
  virtual void DrawFrame(const sys::RECT& r, bool down);
  virtual void DrawDropDownArrow(const sys::RECT& r) {}
  virtual void DrawGlyph(const sys::POINT& location);
  virtual void DrawText(sys::RECT& r, sys::UINT flags, const std::string& text);
  virtual void DrawShadowedText(sys::RECT& r, sys::UINT flags, const std::string& text,
                                TColor textColor, TColor shadowColor);
  virtual void DrawSeparator(const sys::RECT& r);
  // What a click does: executes the item (counting a use).
  void Click() override;

protected:
  void Paint() override;
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  // The text flags the caption is drawn with.
  virtual sys::UINT TextFlags() const;
  // Whether the frame is drawn down: checked, or pressed with the mouse on it.
  bool FrameDown() const;
  // Whether a disabled caption is drawn through DrawShadowedText.
  bool WantsShadowedText() const;
  // The caption colour for the current state (disabled, selected, hot).
  virtual TColor CaptionColor();

private:
  TActionClientItem* FActionClient = nullptr;
  bool FSelected = false, FMouseInControl = false, FPressed = false;
};

} // namespace zel
