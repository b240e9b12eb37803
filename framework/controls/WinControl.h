#pragma once
// TWinControl: a control with a platform window of its own, made when it is
// first needed (Handle).  It holds child controls, aligns them, keeps the tab
// order and the focus, routes mouse messages to its windowless children and
// paints them after itself.

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls/Control.h"
#include "framework/graphics/Brush.h"

namespace zel {

class TStream;
class TDragDockObject; // the docking classes define it

// What CreateWnd makes the window from.
struct TCreateParams {
  std::string Caption;
  sys::DWORD Style = 0;
  sys::DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  sys::HWND WndParent = nullptr;
  std::string WinClassName = "ZelControl";
  sys::UINT WindowClassStyle = sys::CS_DBLCLKS;
};

// The interface a dock site's manager offers (the docking classes give the
// implementations).  Every operation has a harmless default.
class IDockManager {
public:
  virtual ~IDockManager() = default;
  virtual void BeginUpdate() {}
  virtual void EndUpdate() {}
  virtual void InsertControl(TControl* control, TAlign insertAt, TControl* dropControl) {}
  virtual void RemoveControl(TControl* control) {}
  virtual void ResetBounds(bool force) {}
  virtual void PaintSite(sys::HDC dc) {}
  virtual void PositionDockRect(TControl* client, TControl* dropControl, TAlign dropAlign,
                                sys::RECT& dockRect) {}
  virtual void GetControlBounds(TControl* control, sys::RECT& bounds) {}
  virtual void SetReplacingControl(TControl* control) {}
  virtual void SaveToStream(TStream& stream) {}
  virtual void LoadFromStream(TStream& stream) {}
  // Gives the manager a look at the site's messages first (grabber clicks);
  // returns true when it used the message.
  virtual bool HandleSiteMessage(TMessage& message) { return false; }
};

class TWinControl;
// Every windowed control whose DockSite is set, in the order they became
// dock sites.
const std::vector<TWinControl*>& DockSiteList();
// Makes the default dock manager of a site (defined by the docking classes).
std::unique_ptr<IDockManager> MakeDefaultDockManager(TWinControl* site);
// Runs a dock drag of a control (windowed or not) whose drag kind is dkDock
// and drag mode automatic; true when it used the message.  Esc arriving at
// any control cancels such a drag.
bool DockDragMouseMessage(TControl* control, TMessage& message);
// Ends any dock drag of a control that is going away.
void DockControlDestroyed(TControl* control);

class TWinControl : public TControl {
  ZEL_CLASS(TWinControl, TControl)
public:
  explicit TWinControl(TComponent* owner);
  // Destroys the window and the child controls, last to first.
  ~TWinControl() override;

  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;

  // ---- The window ---------------------------------------------------------------
  // The window, made (with the parents' windows) when there is none.
  sys::HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded() { Handle(); }
  // Makes the window if there is none (the parent's first).  Every window
  // of a control is made through here, a child's made along with its
  // parent's included, so an override sees each window come.
  virtual void CreateHandle();
  // Destroys the window, keeping the control and its state.
  void DestroyHandle();
  // Destroys the window and makes it again (after a change of style).
  void RecreateWnd();
  // The window that parents this control's window: the parent's handle, or
  // ParentWindow for a control without parent.
  sys::HWND ParentWindow() const { return FParentWindow; }
  void SetParentWindow(sys::HWND h) { FParentWindow = h; }

  // ---- Bounds --------------------------------------------------------------------
  void SetBounds(int left, int top, int width, int height) override;
  sys::RECT ClientRect() override;
  sys::POINT ClientOrigin() override;
  bool Showing() const override;

  // ---- Children -----------------------------------------------------------------------
  int ControlCount() const { return int(FControls.size() + FWinControls.size()); }
  // Children in z-order from the back: windowless ones first, then windowed.
  TControl* Controls(int index) const;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  bool ContainsControl(TControl* control) const;
  // The visible child at a client point (the topmost one); disabled ones only
  // when allowDisabled, windowed ones only when allowWinControls.
  TControl* ControlAtPos(sys::POINT p, bool allowDisabled, bool allowWinControls = false);
  // Places control at index in the z-order of its kind.
  void SetChildOrder(TControl* child, int order);

  // ---- Alignment ---------------------------------------------------------------------
  void DisableAlign();
  void EnableAlign();
  bool AlignDisabled() const { return FAlignLevel > 0; }
  void Realign();
  // The part of the client area that aligned controls may fill.
  virtual void AdjustClientRect(sys::RECT& rect);
  TAlignInsertBeforeEvent OnAlignInsertBefore;
  TAlignPositionEvent OnAlignPosition;

  // ---- Focus and keyboard --------------------------------------------------------
  virtual void SetFocus();
  virtual bool CanFocus();
  bool Focused();
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool v);
  int TabOrder() const;
  void SetTabOrder(int order);
  // The windowed children in tab order, descending into containers.
  void GetTabOrderList(std::vector<TWinControl*>& list);
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                               bool checkParent);
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
  void SelectFirst();

  // ---- Keyboard group (KeyboardGroup.cpp) ------------------------------------------
  // The windowless children that join the keyboard group, visible and
  // enabled, in reading order (top to bottom, then left to right).  A
  // control with members is one tab stop for all of them: while it has the
  // keyboard it marks one member, the arrows move the mark, Space or Enter
  // presses the marked one.
  std::vector<TControl*> KeyboardGroup() const;
  // The member that carries the focus mark (the last one marked, else the
  // first), or nullptr without members.
  TControl* GroupFocus() const;
  void SetGroupFocus(TControl* member);
  // Where the control itself stands, as the group's tab stop, among its
  // windowed children in tab order: 0 before them all, 1 after the first...
  int GroupTabPosition() const { return FGroupTabPosition; }
  void SetGroupTabPosition(int position) { FGroupTabPosition = std::max(0, position); }

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  // ---- Appearance --------------------------------------------------------------------
  TBrush* Brush() { return FBrush.get(); }
  bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool v) { FDoubleBuffered = v; }
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool v);
  bool ParentCtl3D() const { return FParentCtl3D; }
  void SetParentCtl3D(bool v);
  TBevelKind BevelKind() const { return FBevelKind; }
  void SetBevelKind(TBevelKind v);
  TBevelEdges BevelEdges() const { return FBevelEdges; }
  void SetBevelEdges(TBevelEdges v);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut v);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut v);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int v);

  // ---- Painting ---------------------------------------------------------------------
  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  void SetZOrder(bool topMost) override;
  // Paints the windowless children that intersect the context's clip, from
  // first (or all from the back when nullptr).
  void PaintControls(sys::HDC dc, TControl* first);

  // ---- Docking (the docking classes fill these in) -------------------------------
  bool DockSite() const { return FDockSite; }
  // A dock site is known to every dock drag (DockSiteList) while it is one.
  virtual void SetDockSite(bool v);
  bool UseDockManager() const { return FUseDockManager; }
  // Turning it on asks CreateDockManager for a manager when the site has none.
  void SetUseDockManager(bool v);
  IDockManager* DockManager() const { return FDockManager.get(); }
  void SetDockManager(std::unique_ptr<IDockManager> manager);
  int DockClientCount() const { return int(FDockClients.size()); }
  TControl* DockClients(int index) const;
  // Docks client; the dock manager places it beside dropControl (nullptr:
  // the whole site) on the side align names (alNone: the client's Align).
  void AddDockClient(TControl* client, TControl* dropControl = nullptr, TAlign align = alNone);
  void RemoveDockClient(TControl* client);
  // Where the site reacts to a drag of client: influenceRect (screen) is
  // where the mouse must be for the site to take it, canDock whether it
  // takes it at all.  The base gives its screen rectangle inflated by
  // DockSiteMargin, and refuses while it is no dock site or not showing.
  virtual void GetSiteInfo(TControl* client, sys::RECT& influenceRect, sys::POINT mousePos,
                           bool& canDock);
  static constexpr int DockSiteMargin = 10;
  virtual void DockOver(TDragDockObject* source, int x, int y, TDragState state, bool& accept) {}
  // A drag dropped source's control on the site at client point (x, y).
  // The base docks it: into the dock manager beside the drop control on the
  // drop side, then Dock with the drag's dock rectangle in client
  // coordinates (a site without a manager then puts the control there).  An
  // override that calls the base first finds the control docked.  (The
  // docking classes define the base.)
  virtual void DockDrop(TDragDockObject* source, int x, int y);
  virtual void DoAddDockClient(TControl* client, const sys::RECT& rect);
  virtual void DoRemoveDockClient(TControl* client) {}
  // Every undock of client from this site comes here first (ManualDock,
  // Dock, a drag out or within the site, floating): newTarget is the site
  // it goes to, nullptr when it is about to float.  The base removes the
  // client and answers true; an override answering false keeps it here
  // and the move does not happen.
  virtual bool DoUnDock(TWinControl* newTarget, TControl* client);
  // Finds a docked control again by the name a saved dock tree holds (the
  // base looks among the site owner's components).
  virtual void ReloadDockedControl(const std::string& controlName, TControl*& control);
  // Whether a control found again by name in a saved dock tree may be docked
  // here.  The base takes any control but the site and its parents; a site
  // narrows this further.
  virtual bool AcceptsDockClient(TControl* client);

  static void DeclareProperties(TPropertyTable<TWinControl>& t);

protected:
  // ---- Window creation -------------------------------------------------------------
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& params);
  virtual void DestroyWnd();
  // Called after the window exists (and its children's).
  virtual void CreateWindowDone() {}
  // The base makes the docking classes' default dock tree for a dock site.
  virtual std::unique_ptr<IDockManager> CreateDockManager();

  // ---- Alignment -----------------------------------------------------------------------
  // Places the aligned and anchored children in rect; control is the child
  // whose change caused the alignment (it wins ties), or nullptr.
  virtual void AlignControls(TControl* control, sys::RECT& rect);
  // Asks for an alignment, or remembers it while alignment is disabled.
  void AlignControl(TControl* control);
  // The size change of the client area moves the anchored children.
  void ParentResized();

  // ---- Painting ------------------------------------------------------------------------
  void PaintHandler(TMessage& message);
  // Paints the control itself on the context (TCustomControl calls Paint).
  virtual void PaintWindow(sys::HDC dc) {}
  // Fills the background with Brush (WM_ERASEBKGND).
  virtual bool EraseBackground(sys::HDC dc);

  // ---- Keys and focus --------------------------------------------------------------
  virtual void KeyDown(sys::WORD& key, TShiftState shift);
  virtual void KeyUp(sys::WORD& key, TShiftState shift);
  virtual void KeyPress(char32_t& key);
  virtual void DoEnter() {
    if (OnEnter) OnEnter(this);
  }
  virtual void DoExit() {
    if (OnExit) OnExit(this);
  }
  // True when the control wants this key itself rather than as a dialog key
  // (Tab, arrows).
  virtual bool WantsKey(sys::WORD key, TShiftState shift) { return false; }

  // The window position changed by the window system (a person dragged the
  // frame, a maximise): the bounds follow.
  virtual void WindowMoved();

private:
  friend class TControl;
  static sys::LRESULT MainWndProc(sys::HWND h, sys::UINT msg, sys::WPARAM w, sys::LPARAM l);
  void Insert(TControl* control);
  void Remove(TControl* control);
  void CreateChildHandles();
  void HandleMouse(TMessage& m);
  // The windowless child a mouse message at p goes to (the one holding the
  // mouse, else the enabled one under p), or nullptr for the control itself.
  TControl* MouseTarget(sys::POINT p);
  // Whether m is a left press that goes to a windowless child.
  bool PressForChild(const TMessage& m);
  bool HandleKey(TMessage& m);
  // The keys of the keyboard group; true when the key was used.
  bool HandleGroupKey(sys::WORD key, TShiftState shift);
  bool IsKeyboardGroup() const;
  void CollectGroupMembers(std::vector<TControl*>& members) const;
  void PaintGroupFocus(sys::HDC dc);
  void InvalidateGroupFocus();
  // This control's entries in its parent's tab order: itself, at its group
  // position, and its windowed children's.
  void AddTabOrderEntries(std::vector<TWinControl*>& list);
  void UpdateShowing();
  void DoAlign(TControl* control, TAlign align, sys::RECT& rect);
  void AlignAnchored();
  void WmSize();
  // The bounds were stored by SetBounds: the window follows.
  void BoundsChanged(bool sized);
  void NotifyControls(sys::UINT msg);

  sys::HWND FHandle = nullptr;
  sys::HWND FParentWindow = nullptr;
  std::vector<TControl*> FControls;       // windowless, back to front
  std::vector<TWinControl*> FWinControls; // windowed, back to front
  std::vector<TWinControl*> FTabList;     // windowed, in tab order
  std::unique_ptr<TBrush> FBrush;
  int FAlignLevel = 0;
  bool FAligning = false;
  bool FTabStop = false;
  TControl* FGroupFocus = nullptr;
  int FGroupTabPosition = 0;
  bool FDoubleBuffered = false;
  bool FCtl3D = true;
  bool FParentCtl3D = true;
  TBevelKind FBevelKind = bkNone;
  TBevelEdges FBevelEdges{beLeft, beTop, beRight, beBottom};
  TBevelCut FBevelInner = bvRaised;
  TBevelCut FBevelOuter = bvLowered;
  int FBorderWidth = 0;
  bool FDockSite = false;
  bool FUseDockManager = false;
  std::unique_ptr<IDockManager> FDockManager;
  std::vector<TControl*> FDockClients;
  sys::SIZE FLastClientSize{-1, -1};
  bool FSettingBounds = false;
};

// Called (inside a catch block) for an exception that escaped a control's
// message handler; the application object installs its handling here.
using TControlExceptionHook = std::function<void(TObject* sender)>;
void SetControlExceptionHook(TControlExceptionHook hook);

// Called before a control's window handles a press or a key going down (the
// application hides its hint then).
using TInputHook = std::function<void(sys::UINT msg)>;
void SetInputHook(TInputHook hook);

// Called for every mouse button going down in the program before any window
// handles it (or is activated by it), with the window it is for (nullptr:
// outside the program, or the program lost the foreground; see
// sys::SetPressObserver); open menus close on presses outside them here.
// Any number may be added; AddPressHook returns the identifier
// RemovePressHook takes.
using TPressHook = std::function<void(sys::HWND window)>;
int AddPressHook(TPressHook hook);
void RemovePressHook(int id);

// Called before a control's window handles a key going down, with that
// window and the key; a hook answering true uses the key up, and the window
// never sees it.  What must hear a key wherever the keyboard is (Esc ending
// a drag that holds the mouse) adds one for its duration.
using TKeyHook = std::function<bool(sys::HWND window, sys::WPARAM key)>;
int AddKeyHook(TKeyHook hook);
void RemoveKeyHook(int id);

// Called before a control's window handles any key message (a key going
// down or up, a character) while a pop-up menu has the keyboard, with the
// message and its key or character; a hook answering true uses the message
// and the window never sees it.  So a menu takes the keys while it shows
// and the focus stays where it was.  The hook added last is asked first.
using TMenuKeyHook = std::function<bool(sys::UINT msg, sys::WPARAM key)>;
int AddMenuKeyHook(TMenuKeyHook hook);
void RemoveMenuKeyHook(int id);

// The keys that move within a control: the four arrows, Page Up and Down,
// Home and End.  Controls that navigate with them want them (WantsKey).
bool IsNavigationKey(sys::WORD key);

} // namespace zel
