#pragma once
// TControl: the base of everything a person sees.  A control has bounds in
// its parent's client coordinates, alignment and anchors, visibility,
// enabled state, colour and font (possibly taken from the parent), a text
// kept through WM_SETTEXT / WM_GETTEXT, hints, a cursor and mouse handling.
// It is not a window by itself: a TWinControl owns a platform window, a
// TGraphicControl is painted by its parent and gets its mouse messages from
// it.  Every message reaches WindowProc, which is WndProc unless someone has
// installed a replacement; a class handles a message by overriding WndProc
// and passing the rest on to its base.

#include <memory>
#include <string>

#include "framework/controls/ControlTypes.h"
#include "framework/core/Component.h"
#include "framework/graphics/Font.h"

namespace zel {

class TWinControl;
class TCanvas;
class TDragDockObject;

// Minimum and maximum sizes of a control; 0 means no limit.
class TSizeConstraints : public TPersistent {
  ZEL_CLASS(TSizeConstraints, TPersistent)
public:
  explicit TSizeConstraints(TControl* control) : FControl(control) {}
  void Assign(TPersistent* source) override;

  int MinWidth() const { return FMinWidth; }
  int MinHeight() const { return FMinHeight; }
  int MaxWidth() const { return FMaxWidth; }
  int MaxHeight() const { return FMaxHeight; }
  void SetMinWidth(int v);
  void SetMinHeight(int v);
  void SetMaxWidth(int v);
  void SetMaxHeight(int v);
  // Applies the limits to a size.
  void Constrain(int& width, int& height) const;

  TNotifyEvent OnChange;

private:
  void Change();
  TControl* FControl;
  int FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
};

class TControl : public TComponent {
  ZEL_CLASS(TControl, TComponent)
public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // ---- Messages ---------------------------------------------------------------
  // The method every message goes to; WndProc unless replaced.
  TWndMethod WindowProc;
  virtual void WndProc(TMessage& message);
  // What happens to a message nobody handled: texts are stored and read here.
  virtual void DefaultHandler(TMessage& message);
  // Sends a message to this control directly, through WindowProc.
  sys::LRESULT Perform(sys::UINT msg, sys::WPARAM wParam = 0, sys::LPARAM lParam = 0);

  // ---- Parent -------------------------------------------------------------------
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);
  bool HasParent() const override { return FParent != nullptr; }
  // Whether this control is control itself or lies inside it (control is
  // one of its parents).  Such a control can be no parent of control:
  // SetParent, InsertControl and docking raise EInvalidOperation for it.
  bool IsWithin(const TControl* control) const;
  // Raises EInvalidOperation when parent is this control or lies inside it.
  void CheckNewParent(const TWinControl* parent) const;

  // ---- Bounds (parent client coordinates; screen for a top-level form) --------
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
  void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
  void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
  void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
  // Applies the constraints and CanResize, moves the control and asks the
  // parent to realign.
  virtual void SetBounds(int left, int top, int width, int height);
  sys::RECT BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
  void SetBoundsRect(const sys::RECT& r) { SetBounds(r.left, r.top, r.Width(), r.Height()); }
  // (0, 0, client width, client height).
  virtual sys::RECT ClientRect();
  int ClientWidth() { return ClientRect().Width(); }
  int ClientHeight() { return ClientRect().Height(); }
  virtual void SetClientWidth(int v);
  virtual void SetClientHeight(int v);
  void SetClientSize(int w, int h);
  // The screen position of the client area's corner.
  virtual sys::POINT ClientOrigin();
  sys::POINT ClientToScreen(sys::POINT p);
  sys::POINT ScreenToClient(sys::POINT p);
  // From this control's client coordinates to those of an ancestor (the
  // parent when nullptr).
  sys::POINT ClientToParent(sys::POINT p, TWinControl* ancestor = nullptr);

  TAlign Align() const { return FAlign; }
  virtual void SetAlign(TAlign value);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors value);
  TSizeConstraints* Constraints() { return FConstraints.get(); }

  // ---- State --------------------------------------------------------------------
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool value);
  void Show();
  void Hide();
  // Visible here and in every parent up to a top-level window.
  virtual bool Showing() const;
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool value);

  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState s) { FControlState = s; }
  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle s) { FControlStyle = s; }

  // ---- Appearance ------------------------------------------------------------------
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool value);
  TFont* Font() { return FFont.get(); }
  void SetFont(TFont* font) { FFont->Assign(font); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool value);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor value);

  // ---- Text (through WM_SETTEXT / WM_GETTEXT, so a descendant may keep it) --
  std::string Text();
  void SetText(const std::string& text);
  std::string Caption() { return Text(); }
  void SetCaption(const std::string& text) { SetText(text); }

  // ---- Hints, help, pop-up menu -------------------------------------------------
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& value) { FHint = value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool value);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool value);
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int value) { FHelpContext = value; }
  // The pop-up menu component (a TPopupMenu once that class exists); freed
  // references are cleared.
  TComponent* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TComponent* menu);

  // ---- Actions (the link classes come with the actions; this is the hook) --
  TComponent* Action() const { return FAction; }
  // Stores the action with free notification; descendants that link
  // actions override it and ActionChange.
  virtual void SetAction(TComponent* action);
  // Called when the linked action's properties change.
  virtual void ActionChange(TObject* sender, bool checkDefaults) {}
  // Lets the linked action update itself (idle processing calls it).
  virtual void InitiateAction() {}

  // ---- Dragging and docking (filled in by the docking classes) ---------------
  TDragKind DragKind() const { return FDragKind; }
  void SetDragKind(TDragKind v) { FDragKind = v; }
  TDragMode DragMode() const { return FDragMode; }
  virtual void SetDragMode(TDragMode v) { FDragMode = v; }
  // The dock site this control is docked in, or nullptr.
  TWinControl* HostDockSite() const { return FHostDockSite; }
  void SetHostDockSite(TWinControl* site) { FHostDockSite = site; }
  // Docks the control into newDockSite (nullptr: floats it), beside
  // dropControl on the side controlSide names.  The site the control leaves
  // hears of it first through its DoUnDock; when that refuses, nothing
  // moves and the result is false.
  virtual bool ManualDock(TWinControl* newDockSite, TControl* dropControl = nullptr,
                          TAlign controlSide = alNone);
  virtual bool ManualFloat(const sys::RECT& screenPos);
  // Makes the control a dock client of newDockSite, handing rect (the
  // site's client coordinates) to its DoAddDockClient; the site left goes
  // through DoUnDock as for ManualDock.  Unlike ManualDock it inserts
  // nothing into the site's dock manager: a caller that wants the control
  // in a chosen zone inserts it there first (the zone waits for the
  // control), otherwise the manager gives it a place of its own.
  virtual void Dock(TWinControl* newDockSite, const sys::RECT& rect);
  // True while the control is alone on a floating dock form.
  virtual bool Floating() const;
  // The class of floating form the control gets when it floats (nullptr:
  // the docking classes' default).
  TClass FloatingDockSiteClass() const { return FFloatingDockSiteClass; }
  void SetFloatingDockSiteClass(TClass c) { FFloatingDockSiteClass = c; }
  // Called when a dock drag of the control begins, before the first
  // preview; a control may set its undocked size here.
  virtual void DoStartDock(TDragDockObject* dragObject) {
    if (OnStartDock) OnStartDock(this, dragObject);
  }
  std::function<void(TObject* sender, TDragDockObject* dragObject)> OnStartDock;
  int UndockWidth() const { return FUndockWidth > 0 ? FUndockWidth : FWidth; }
  int UndockHeight() const { return FUndockHeight > 0 ? FUndockHeight : FHeight; }
  void SetUndockWidth(int v) { FUndockWidth = v; }
  void SetUndockHeight(int v) { FUndockHeight = v; }
  int LRDockWidth() const { return FLRDockWidth > 0 ? FLRDockWidth : FWidth; }
  int TBDockHeight() const { return FTBDockHeight > 0 ? FTBDockHeight : FHeight; }
  void SetLRDockWidth(int v) { FLRDockWidth = v; }
  void SetTBDockHeight(int v) { FTBDockHeight = v; }

  // ---- Painting ---------------------------------------------------------------------
  virtual void Invalidate();
  // Paints what is invalid now.
  virtual void Update();
  // Invalidates and paints at once.
  virtual void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront() { SetZOrder(true); }
  void SendToBack() { SetZOrder(false); }
  virtual void SetZOrder(bool topMost);

  // ---- Mouse -------------------------------------------------------------------------
  // Whether this control holds the mouse capture (windowless controls hold
  // it through their parent window).
  bool MouseCapture() const;
  void SetMouseCapture(bool value);

  // ---- Events ----------------------------------------------------------------------
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;
  TCanResizeEvent OnCanResize;
  TContextPopupEvent OnContextPopup;

  // Raises OnClick (the linked action's execution is a descendant's).
  virtual void Click();
  virtual void DblClick();

  // ---- Keyboard group ----------------------------------------------------------------
  // A windowless control that says yes is a member of its parent's keyboard
  // group (see TWinControl::KeyboardGroup): tool-button-like controls, which
  // never take the keyboard themselves, are reached through their parent.
  virtual bool JoinsKeyboardGroup() const { return false; }
  // Space or Enter while this member carries its parent's focus mark.
  virtual void KeyboardPress() { Click(); }

  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;

  // The form or top window that holds this control, or nullptr.
  TWinControl* TopParent() const;

  static void DeclareProperties(TPropertyTable<TControl>& t);

protected:
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
  }
  virtual void MouseLeave() {
    if (OnMouseLeave) OnMouseLeave(this);
  }
  virtual void Resize() {
    if (OnResize) OnResize(this);
  }
  virtual bool CanResize(int& newWidth, int& newHeight);
  // The parent realigns its controls around this one.
  virtual void RequestAlign();
  // Records the parent size the anchors are measured from.
  void UpdateAnchorRules();
  // Called by the parent before it hides or shows the control.
  virtual void VisibleChanging() {}
  // Tells the parent (CM_CHANGED) that something about this control changed.
  void Changed();
  // Stores the bounds without any side effect (used when the window reports
  // its own new position).
  void UpdateBoundsRect(const sys::RECT& r);
  // Sends msg to the parent, if any.
  void SendToParent(sys::UINT msg, sys::WPARAM w = 0, sys::LPARAM l = 0);
  void SetTextBuffer(const std::string& s) { FText = s; }
  const std::string& TextBuffer() const { return FText; }
  void SetParentColorSilently(bool v) { FParentColor = v; }
  // Stores the visibility without any message (forms start hidden).
  void SetVisibleFlag(bool v) { FVisible = v; }

  TControlState FControlState;
  TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};

private:
  friend class TWinControl;
  friend class TSizeConstraints;
  void HandleMouseMessage(TMessage& m);
  void FontChanged(TObject* sender);
  void DoMouseDown(TMessage& m, TMouseButton button, bool dbl);
  void DoMouseUp(TMessage& m, TMouseButton button);
  // Undocks from the current host on the way to newDockSite (through the
  // host's DoUnDock); false when the host keeps the control.
  bool LeaveHostFor(TWinControl* newDockSite);

  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  std::unique_ptr<TSizeConstraints> FConstraints;
  // Where the anchors measure from: the bounds and the parent's client size
  // when the control was last placed.
  sys::RECT FAnchorBounds{};
  sys::SIZE FAnchorParentSize{};
  bool FAnchorValid = false;
  bool FVisible = true;
  bool FEnabled = true;
  TColor FColor = clWindow;
  bool FParentColor = true;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  bool FUpdatingFont = false;
  TCursor FCursor = crDefault;
  std::string FText;
  std::string FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  int FHelpContext = 0;
  TComponent* FPopupMenu = nullptr;
  TComponent* FAction = nullptr;
  TDragKind FDragKind = dkDrag;
  TDragMode FDragMode = dmManual;
  TWinControl* FHostDockSite = nullptr;
  TClass FFloatingDockSiteClass = nullptr;
  int FUndockWidth = 0, FUndockHeight = 0, FLRDockWidth = 0, FTBDockHeight = 0;
};

// ---- Global mouse state of the controls ------------------------------------------
// The control a windowless press captured the mouse for (or a windowed
// control holding the capture), or nullptr.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);
// The control the mouse is over, as the enter / leave messages last told.
TControl* GetMouseControl();
// Moves the mouse-over control: the old one gets CM_MOUSELEAVE, then the new
// one CM_MOUSEENTER.  The hint machinery listens through the hook.
void SetMouseControl(TControl* control);
using TMouseControlHook = std::function<void(TControl* previous, TControl* current)>;
void SetMouseControlHook(TMouseControlHook hook);
// Called by the controls when a control goes away, so that no global
// reference outlives it.
void ControlDestroyed(TControl* control);

// The control that owns a platform window, or nullptr.
// Floats control in a new floating dock form whose bounds are screenPos,
// and tells whether a site is such a floating form (the docking classes
// define both).
bool FloatInDockForm(TControl* control, const sys::RECT& screenPos);
bool IsFloatingDockSite(const TWinControl* site);
TWinControl* FindControl(sys::HWND hwnd);
// The control under a screen point: the windowed control of the window
// there, or its windowless child at the point.
TControl* FindControlAtPos(sys::POINT screen, bool allowDisabled = false);

} // namespace zel
