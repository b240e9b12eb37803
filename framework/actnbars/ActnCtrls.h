#pragma once
// The bars and item controls of the action manager on screen: tool bars,
// the main menu bar and its pop-up menus, with the control kinds the styles
// derive their own classes from.  A bar makes one control per item through
// its manager's style; the control paints itself through the painting roles
// of TCustomActionControl (background, frame, glyph, text, separator).
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "framework/actnbars/ActionBar.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/graphics/GraphUtil.h"

namespace zel {

class TCustomActionPopupMenu;
class TCustomDockForm;
class TCustomListAction;

// A bar that sits on a control bar and floats: its drag kind is dkDock, so
// the control bar's grip drags it off into a floating dock form, and the
// form's caption drags it back.  Floating, its controls stand in one row
// and the form is sized to them.
class TCustomActionDockBar : public TCustomActionBar {
  ZEL_CLASS(TCustomActionDockBar, TCustomActionBar)
public:
  explicit TCustomActionDockBar(TComponent* owner);
  void ActionClientChanged() override;
  void StyleChanged() override;
  // The bar's size with its controls in one row.
  sys::SIZE FloatingClientSize();
  // Sets UndockWidth and UndockHeight to the floating form that holds the
  // bar in one row.
  void UpdateUndockSize();
  // A bar leaving its control bar keeps its docked height (TBDockHeight),
  // which it takes again when it docks.
  void DoStartDock(TDragDockObject* dragObject) override;
  bool ManualDock(TWinControl* newDockSite, TControl* dropControl = nullptr,
                  TAlign controlSide = alNone) override;
  bool ManualFloat(const sys::RECT& screenPos) override;
  // A floating bar given another parent docks there (ManualDock), so its
  // floating form lets go of it and the new parent takes it as a dock
  // client (a control bar as a band) instead of a bare re-parent.
  void SetParent(TWinControl* parent) override;
  // The narrowest client area of a floating bar, so its form keeps room for
  // the close box and a letter or two of its caption.  A bar floated anew
  // is wide enough for its whole caption, within reason (see
  // ClientWidthForCaption); narrowed by the frame it wraps its controls
  // into rows down to its widest control.
  static constexpr int MinFloatingWidth = 32;
  // Floating, a bar of controls in rows wraps them into as many rows as its
  // form's width needs and makes the form as high as the rows; the form is
  // never narrower than the widest control.
  void LayoutControls() override;
  // The bar's height with its controls wrapped into rows of width pixels.
  int WrappedHeight(int width);
  // The narrowest bar that still shows every control.
  int MinFloatingClientWidth();
  // Fits a client size proposed for the floating form to the rows; see
  // ActnCtrls.cpp.
  void FitFloatingSize(sys::SIZE& size, bool heightLeads);

protected:
  bool WrapsControls() const override;
  // Answers the floating form's CM_FLOATSIZING with the rows' size, and a
  // control bar's CM_DOCKEDSIZE with the width of one row.
  void WndProc(TMessage& message) override;

private:
  // The floating form this bar fills alone, or nil.
  TCustomDockForm* FloatingHost() const;
  std::vector<sys::SIZE> ControlSizes();
  int WrappedHeight(int width, const std::vector<sys::SIZE>& sizes);
  void FitFloatingHost();
  bool FFittingHost = false;
};

// A tool bar: buttons in a row.  Items that do not fit are hidden behind
// the style's scroll button, which opens a pop-up of them; a right click
// opens the style's customize pop-up.
class TCustomActionToolBar : public TCustomActionDockBar {
  ZEL_CLASS(TCustomActionToolBar, TCustomActionDockBar)
public:
  explicit TCustomActionToolBar(TComponent* owner);
  ~TCustomActionToolBar() override;
  void LayoutControls() override;
  // A new style brings its own scroll button class: the button is made
  // again at the next layout.
  void StyleChanged() override;
  // The scroll button, or nil while everything fits.
  TCustomActionControl* ScrollButton() const { return FScrollBtn; }
  // Opens the pop-up of the hidden items below the scroll button.
  TCustomActionPopupMenu* ShowHiddenItems();
  // Opens the pop-up of a drop-down button's sub-items below it.
  TCustomActionPopupMenu* ShowDropDown(TCustomActionControl* button);
  // Opens the customize pop-up at a screen point.
  TCustomActionPopupMenu* ShowCustomizePopup(sys::POINT screen);
  // The pop-up the bar opened last, while it is on screen.
  TCustomActionPopupMenu* ActivePopup() const;

protected:
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
  // Deletes the pop-up opened before (it is not on the call stack then).
  void DropPopup();
  void CreateScrollButton();
  TCustomActionControl* FScrollBtn = nullptr;
  TCustomActionPopupMenu* FPopupMenu = nullptr;
};

// A tool bar's scroll button: a chevron at the end of the row.  The tool
// bar aligns it to the edge its hidden items lie beyond (alRight in a row);
// the alignment sets the direction its arrows point in.  It paints through
// the roles DrawBackground, DrawFrame (down while checked or pressed) and
// DrawArrows, so a style overrides only what it paints differently.
class TCustomToolScrollBtn : public TCustomActionControl {
  ZEL_CREATABLE_CLASS(TCustomToolScrollBtn, TCustomActionControl)
public:
  explicit TCustomToolScrollBtn(TComponent* owner) : TCustomActionControl(owner) {}
  sys::SIZE CalcSize() override { return sys::SIZE{13, 22}; }
  void Click() override;
  // alLeft, alTop, alBottom point the arrows left, up, down; any other
  // alignment points them right.
  void SetAlign(TAlign value) override;
  TScrollDirection Direction() const { return FDirection; }
  // Painting role: the chevron in Direction.
  virtual void DrawArrows();

protected:
  void Paint() override;

private:
  TScrollDirection FDirection = sdRight;
};

class TActionToolBar : public TCustomActionToolBar {
  ZEL_CREATABLE_CLASS(TActionToolBar, TCustomActionToolBar)
public:
  explicit TActionToolBar(TComponent* owner) : TCustomActionToolBar(owner) {}
};

// The modes of a menu bar's menu loop; see ActnMenus.cpp for the
// transitions.  Idle: nothing selected, no drop-down.  BarSelected: a title
// selected from the keyboard (F10, a lone Alt, Esc out of a drop-down), none
// open.  DropDown: the drop-down of the selected title open, by the mouse
// or the keyboard.
enum class TMenuMode { Idle, BarSelected, DropDown };

// The base of menu bars and pop-up menus: a bar whose items open sub-menus.
class TCustomActionMenuBar : public TCustomActionDockBar {
  ZEL_CLASS(TCustomActionMenuBar, TCustomActionDockBar)
public:
  explicit TCustomActionMenuBar(TComponent* owner);
  ~TCustomActionMenuBar() override;
  // The menu bar at the root of the open pop-ups (this bar when it is one).
  TCustomActionMenuBar* RootMenu();
  TCustomActionMenuBar* ParentMenu() const { return FParentMenu; }
  // The pop-up open below this bar, or nil.
  TCustomActionPopupMenu* Popup() const { return FPopup; }
  // Whether a pop-up of this menu tree is open or the keyboard is in it.
  bool InMenuLoop();
  // The mode of the menu tree's loop, as its root keeps it (a pop-up at the
  // root is in DropDown while it shows).
  TMenuMode MenuMode();
  // Opens the sub-menu of control's item (closing another one first).
  virtual void OpenSubMenu(TCustomActionControl* control);
  // Closes the pop-up below this bar and everything below it.
  void CloseSubMenus();
  // Closes the whole tree and leaves the menu loop.
  void CloseMenu();
  // Frees the pop-ups closed earlier (kept until then because their code
  // may still have been running).  Call it only where none of them can be on
  // the call stack.  Items that go meanwhile tell them (see
  // TCustomActionBar::ActionClientGone), so they never point at freed items.
  void FreeClosedPopups();
  // The selected control, or nil; selecting deselects the others.
  TCustomActionControl* SelectedControl() const;
  void SelectControl(TCustomActionControl* control);
  // The next shown, enabled, non-separator control from the selected one.
  TCustomActionControl* NextControl(int direction) const;
  // Handles a menu key; true when the bar used it.
  virtual bool HandleMenuKey(sys::WORD key);
  // The item-click operation.  Every click of an item of the menu tree
  // comes to its root menu here: top-level buttons of a menu bar, items of
  // its drop-down menus and their sub-menus (and the items of a pop-up
  // opened on its own).  The base has the control's own bar handle it
  // (HandleControlClick); a bar overrides it to act first or instead.
  // Returns whether the click did something: a sub-menu opened or closed,
  // or the item executed (not for a disabled item, a separator or in
  // design mode).
  virtual bool ControlClicked(TCustomActionControl* control);
  // A control was entered by the mouse (switches open menus).
  virtual void ControlEntered(TCustomActionControl* control);
  // The mouse rests on an item of a pop-up: it is selected at once; once
  // the system's menu show delay has passed its sub-items open, or the
  // sub-menu of another item closes.  See ActnMenus.cpp for the states.
  void HoverControl(TCustomActionControl* control);
  // Forgets a pending hover (another item, a key, a click came first).
  void CancelHover();
  // The mouse reached this pop-up: a pending hover of the menu it opened
  // from is cancelled and the item it belongs to is selected again.
  void MouseReachedMenu();
  // The pop-up class of the style (a plain pop-up without one).
  virtual TCustomActionPopupMenu* CreatePopup();
  // Open menus show controls of the items as they were: they close first.
  void ItemsHidingChanged() override;

protected:
  void WndProc(TMessage& message) override;
  void KeyDown(sys::WORD& key, TShiftState shift) override;
  void KeyPress(char32_t& key) override;
  // In the menu loop the bar takes every key; outside it, none.
  bool WantsKey(sys::WORD key, TShiftState shift) override { return InMenuLoop(); }
  // Where a pop-up of control opens (screen): below for a bar, right for a menu.
  virtual sys::POINT PopupPoint(TCustomActionControl* control);
  // A control of this bar was clicked: its sub-items open (on a menu bar
  // a second press closes them), others execute.
  bool HandleControlClick(TCustomActionControl* control);
  // Closed, the pop-up is no longer the ChildActionBar of the item it shows.
  void ReleaseChildOf();

  TCustomActionMenuBar* FParentMenu = nullptr;
  TCustomActionPopupMenu* FPopup = nullptr;
  // Whether this is a bar at the root of its menus (not a pop-up).
  bool IsBarRoot() const;
  // The one way into a mode of the root: sets up what the mode shows (the
  // selected title, the keyboard, the press watch) and, into Idle, takes
  // all of it down.
  void SetMode(TMenuMode mode, TCustomActionControl* title);
  TMenuMode FMode = TMenuMode::Idle; // kept by a bar at the root
  // Closes the pop-ups below this bar, leaving the mode to the caller.
  void ClosePopups();
  // The hover timer's expiry.
  void HoverExpired();
  TCustomActionControl* FHoverControl = nullptr;
  // While the menu loop runs, the root watches every mouse press: one
  // outside its bar and pop-ups closes the menus.
  void WatchPresses();
  void PressedIn(sys::HWND window);
  int FPressHook = 0;
  // The root takes the keyboard while the menus are open and gives it back
  // to the window that had it when the menu loop ends.
  void TakeKeyboard();
  void GiveKeyboardBack();
  sys::HWND FFocusBefore = nullptr;
  // Closed pop-ups: hidden at once, deleted when the next one opens, since
  // the control whose click closed them may still be running.
  std::vector<TCustomActionPopupMenu*> FClosed;
};

class TCustomActionMainMenuBar : public TCustomActionMenuBar {
  ZEL_CLASS(TCustomActionMainMenuBar, TCustomActionMenuBar)
public:
  explicit TCustomActionMainMenuBar(TComponent* owner);
  // Enters the menu loop from the keyboard (Alt, F10): the first item is selected.
  void EnterMenuLoop();
  // Alt + a letter: the top-level item with that accelerator opens.
  bool OpenByAccelerator(char32_t letter);
  // True (the default): the bar shows the system's menu font, taken when the
  // flag is set; false: the bar keeps the font it is given.
  bool UseSystemFont() const { return FUseSystemFont; }
  void SetUseSystemFont(bool value);

protected:
  // The top-level items are never hidden as unused: a menu bar without
  // them could not be used, and using any item below counts for them.
  bool ItemShown(TActionClientItem* item) const override { return ItemVisible(item); }

private:
  bool FUseSystemFont = false;
};

class TActionMainMenuBar : public TCustomActionMainMenuBar {
  ZEL_CREATABLE_CLASS(TActionMainMenuBar, TCustomActionMainMenuBar)
public:
  explicit TActionMainMenuBar(TComponent* owner) : TCustomActionMainMenuBar(owner) {}
};

// A pop-up window of menu items; it shows the children of one item.
class TCustomActionPopupMenu : public TCustomActionMenuBar {
  ZEL_CREATABLE_CLASS(TCustomActionPopupMenu, TCustomActionMenuBar)
public:
  explicit TCustomActionPopupMenu(TComponent* owner);
  ~TCustomActionPopupMenu() override;
  // Shows the pop-up with its top-left corner at a screen point, kept on
  // the screen.
  void PopupAt(sys::POINT screen);
  // A pop-up at the root (a context menu, a window's system menu) takes the
  // keyboard while it shows, wherever the focus is, as a menu bar's loop
  // does: arrows, Enter, Esc and the items' letters are its own; a Ctrl or
  // Alt combination it has no use for closes it and goes on to the window
  // that has the focus.  The focus itself stays where it was.
  void TakeKeys();
  // Whether unused items are shown (after the expand button was used).
  bool Expanded() const { return FExpanded; }
  void Expand();
  void CreateControls() override;
  // A list of items of the pop-up's own (filled by the caller, then shown
  // with ShowOwnItems); their style, colours and images are manager's.
  TActionClients* OwnItems();
  void ShowOwnItems(TCustomActionManager* manager, sys::POINT screen);
  // Set when the own items are copies: finds the item a copy (or an item
  // under a copy) stands for, or nil when it is gone.  Asked for every item
  // chosen in this pop-up or the sub-menus that show the copies' children.
  std::function<TActionClientItem*(TActionClientItem* copy)> OnFindOriginal;
  TActionClientItem* ItemToExecute(TActionClientItem* item) override;
  // The item whose sub-menu this pop-up shows, or nil.  Only compared, never
  // followed: the item may be gone.
  TActionClientItem* SourceItem() const { return FSourceItem; }
  // Shows the items of the list action of control's item as choices, the
  // current one checked.  Choosing one selects it in the action and counts
  // a use of control's item.
  void ShowListItems(TCustomActionControl* control, sys::POINT screen);
  void Notification(TComponent* component, TOperation operation) override;
  // The class of the expand button; styles give their own.
  virtual TClassRef<TCustomActionControl> ExpandBtnClass();

protected:
  void WndProc(TMessage& message) override;
  void CreateParams(TCreateParams& params) override;
  void DrawBackground() override;
  bool ItemShown(TActionClientItem* item) const override;
  // The expand button stands for what is hidden, even for every item.
  bool CanHideAllItems() const override { return true; }
  sys::POINT PopupPoint(TCustomActionControl* control) override;

private:
  friend class TCustomActionMenuBar;
  void ListItemChosen(int index);
  bool MenuKey(sys::UINT msg, sys::WPARAM key);
  void ReleaseKeys();
  int FKeyHook = 0;
  bool FExpanded = false;
  std::unique_ptr<TActionClients> FOwnHolder;
  TActionClientItem* FSourceItem = nullptr;
  TCustomListAction* FListAction = nullptr;
};

// A tool bar's customize pop-up: an add-or-remove sub-menu listing the
// bar's items with check marks that toggle their visibility, and a reset
// that shows them all again.
//
// Each entry of the add-or-remove sub-menu carries its tool-bar item's own
// action (and its own caption and image, if any), so it shows that item's
// glyph and a style finds the item by the action.  An entry is checked
// while its item shows, always enabled, and a click on it toggles the
// item's visibility instead of executing the action.  The sub-menu opens
// as a pop-up of this pop-up's own class, whose RootMenu() is this pop-up.
class TCustomizeActionToolBar : public TCustomActionPopupMenu {
  ZEL_CREATABLE_CLASS(TCustomizeActionToolBar, TCustomActionPopupMenu)
public:
  explicit TCustomizeActionToolBar(TComponent* owner) : TCustomActionPopupMenu(owner) {}
  // Fills the pop-up for bar.
  void Build(TCustomActionToolBar* bar);
  TCustomActionToolBar* ToolBar() const { return FToolBar; }
  // The item whose children are the entries, or nil before Build.
  TActionClientItem* AddRemoveItem() const { return FAddRemoveItem; }
  // The tool-bar item an entry stands for; nil for anything that is no
  // entry of this pop-up, or whose item is gone or changed meanwhile.
  TActionClientItem* EntryTarget(const TActionClientItem* entry) const;
  bool ItemChecked(const TActionClientItem* item) override;
  bool ItemEnabled(const TActionClientItem* item) override;
  bool ControlClicked(TCustomActionControl* control) override;
  TCustomActionPopupMenu* CreatePopup() override;
  void Notification(TComponent* component, TOperation operation) override;

protected:
  bool ItemShown(TActionClientItem* item) const override;

private:
  // The tool-bar item an entry of this menu tree stands for.
  TActionClientItem* TargetOf(const TActionClientItem* item);
  TCustomActionToolBar* FToolBar = nullptr;
  TActionClientItem* FAddRemoveItem = nullptr;
  // The index in the tool bar's items of each entry's item.
  std::vector<int> FEntryTargets;
};

// ---- Controls ----------------------------------------------------------------------------
// A tool-bar button: glyph and, when the item shows it, the caption.
class TCustomButtonControl : public TCustomActionControl {
  ZEL_CLASS(TCustomButtonControl, TCustomActionControl)
public:
  // A button shows its action's hint as a tool tip (menu items do not).
  explicit TCustomButtonControl(TComponent* owner) : TCustomActionControl(owner) {
    SetShowHint(true);
  }
  sys::SIZE CalcSize() override;
};

// A button with a 9-pixel drop part that opens the sub-items.
class TCustomDropDownButton : public TCustomButtonControl {
  ZEL_CLASS(TCustomDropDownButton, TCustomButtonControl)
public:
  explicit TCustomDropDownButton(TComponent* owner) : TCustomButtonControl(owner) {}
  sys::SIZE CalcSize() override;
  // The arrow of the drop part, in the last nine pixels.
  void DrawDropDownArrow(const sys::RECT& r) override;
  sys::RECT TextBounds() override;
  // A click anywhere on the button opens the sub-items.
  void Click() override;
};

// A top-level item of a menu bar: its caption with the accelerator.
class TCustomMenuButton : public TCustomActionControl {
  ZEL_CLASS(TCustomMenuButton, TCustomActionControl)
public:
  explicit TCustomMenuButton(TComponent* owner) : TCustomActionControl(owner) {}
  // The top level of a menu bar shows captions only.
  bool HasGlyph() const override { return false; }
  // As high as its caption, and at least as high as the glyph cell: a
  // tool-bar glyph button of the manager's images plus one pixel.
  sys::SIZE CalcSize() override;
  sys::RECT TextBounds() override;
  // A menu button has no frame of its own; a style draws one if it wants.
  void DrawFrame(const sys::RECT& r, bool down) override {}
  void Click() override;
  // The caption with the letter its bar gives it marked (see
  // MenuBarAccelerator): Alt with that letter opens it.
  std::string DisplayCaption() const override;

protected:
  void MouseEnter() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
};

// An item of a pop-up menu: glyph column, caption, short cut, sub-menu arrow.
class TCustomMenuItem : public TCustomActionControl {
  ZEL_CLASS(TCustomMenuItem, TCustomActionControl)
public:
  explicit TCustomMenuItem(TComponent* owner) : TCustomActionControl(owner) {}
  sys::SIZE CalcSize() override;
  sys::POINT GlyphPos() override;
  sys::RECT TextBounds() override;
  std::string ShortCutText() const;
  void DrawText(sys::RECT& r, sys::UINT flags, const std::string& text) override;
  void DrawSeparator(const sys::RECT& r) override;
  // A menu item paints its background, then (not a separator) DrawGlyph
  // when it has a glyph or is checked, its caption, short cut and sub-menu
  // arrow; no frame.  The glyph role marks a checked item: without a glyph
  // by DrawCheckMark, with one by DrawCheckedGlyphBox before the glyph (or
  // DrawCheckMark beside it, see CheckBesideGlyph).
  void DrawGlyph(const sys::POINT& location) override;
  void Click() override;
  // The cell size of the manager's images (16 x 16 without images).
  sys::SIZE GlyphCell() const;
  // The width of the glyph column: wide enough for the images' cells.
  virtual int GutterWidth() const { return std::max<int>(24, GlyphCell().cx + 8); }
  // Whether a check mark is drawn beside a glyph (add-or-remove items).
  virtual bool CheckBesideGlyph() const { return false; }

protected:
  void Paint() override;
  void MouseEnter() override;
  TColor CaptionColor() override;
  // Draws the check mark of a checked item without a glyph in the glyph
  // column: a radio dot when its action belongs to a group.
  virtual void DrawCheckMark(const sys::RECT& glyphCell);
  // Marks a checked item that has a glyph: a box around the glyph, drawn
  // before it (sunken in the classic look).
  virtual void DrawCheckedGlyphBox(const sys::RECT& box);
  virtual void DrawSubMenuArrow(const sys::RECT& r);
};

// The button at the bottom of a pop-up that reveals the unused items.
class TCustomMenuExpandBtn : public TCustomMenuItem {
  ZEL_CREATABLE_CLASS(TCustomMenuExpandBtn, TCustomMenuItem)
public:
  explicit TCustomMenuExpandBtn(TComponent* owner) : TCustomMenuItem(owner) {}
  sys::SIZE CalcSize() override;
  void Click() override;

protected:
  void Paint() override;
};

// The height of a tool-bar button showing a glyph of images: the cell's
// height + 7, at least 23.
int GlyphButtonHeight(const TCustomImageList* images);

// Whether control opens a sub-menu in a menu: its item has child items, or
// its action is a list action with items (shown as a sub-menu of choices).
bool OpensSubMenu(const TCustomActionControl* control);

// The key letter (case-folded) that opens control on its menu bar: the
// letter its caption marks with '&', otherwise its first letter no other
// item of the bar has taken; 0 for none or off a menu bar.
char32_t MenuBarAccelerator(const TCustomActionControl* control);
// caption with '&' put before the first occurrence of letter (case-folded)
// when the caption marks no letter of its own; otherwise caption as it is.
std::string MarkAccelerator(const std::string& caption, char32_t letter);

// Draws a classic raised (or sunken) two-line edge.
void DrawEdges(TCanvas* canvas, const sys::RECT& r, TColor topLeftOuter, TColor bottomRightOuter,
               TColor topLeftInner, TColor bottomRightInner);

} // namespace zel
