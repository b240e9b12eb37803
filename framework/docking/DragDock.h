#pragma once
// Drag docking: the drag-dock object that describes a drag in progress, the
// drop preview frame, and the floating dock form a control floats in.

#include <memory>

#include "framework/docking/DockTree.h"
#include "framework/forms/Form.h"

namespace zel {

// Sent by a floating form about to change size to its one client, with
// LParam a SIZE* of the client area proposed and WParam 1 when only the
// height changes; a client that arranges its contents in rows (a tool
// bar) changes it and answers 1.
constexpr sys::UINT CM_FLOATSIZING = CM_BASE + 120;
// Sent by a dock site that lays its clients out in rows to a floating
// control about to dock there, with LParam a SIZE* of the size it would
// take (its current width and docked height); a control whose docked size
// differs from its floating one (a tool bar wrapped into rows while it
// floated, back to one row) changes it and answers 1.
constexpr sys::UINT CM_DOCKEDSIZE = CM_BASE + 121;

class TDragDockObject : public TObject {
  ZEL_CLASS(TDragDockObject, TObject)
public:
  explicit TDragDockObject(TControl* control) : FControl(control) {}
  TControl* Control() const { return FControl; }
  // Where the control will go, in screen coordinates.
  const sys::RECT& DockRect() const { return FDockRect; }
  void SetDockRect(const sys::RECT& r) { FDockRect = r; }
  TAlign DropAlign() const { return FDropAlign; }
  TControl* DropOnControl() const { return FDropOnControl; }
  // The dock site the control will go to, or nullptr when it will float.
  TWinControl* DragTarget() const { return FDragTarget; }
  bool Floating() const { return FDragTarget == nullptr; }
  sys::POINT DragPos() const { return FDragPos; }

private:
  friend class TDockDragger;
  TControl* FControl;
  sys::RECT FDockRect{};
  TAlign FDropAlign = alNone;
  TControl* FDropOnControl = nullptr;
  TWinControl* FDragTarget = nullptr;
  sys::POINT FDragPos{};
};

// The floating form: a small-captioned, sizable tool window whose client
// fills it.  Closing it hides the client; it frees itself when its last
// client leaves.
class TCustomDockForm : public TCustomForm {
  ZEL_CREATABLE_CLASS(TCustomDockForm, TCustomForm)
public:
  explicit TCustomDockForm(TComponent* owner);
  void DoAddDockClient(TControl* client, const sys::RECT& rect) override;
  void DoRemoveDockClient(TControl* client) override;
  // A floating form takes further clients only when it arranges them with
  // a dock manager; a plain one holds its one client.
  void GetSiteInfo(TControl* client, sys::RECT& influenceRect, sys::POINT mousePos,
                   bool& canDock) override;
  // The outer size of a floating form whose client area is clientWidth x
  // clientHeight.
  static sys::SIZE SizeForClient(int clientWidth, int clientHeight);
  // The client width at which a floating form shows caption whole beside
  // its close box, but at most MaxCaptionClientWidth: a long caption is
  // cut with an ellipsis rather than making a wide form.
  static int ClientWidthForCaption(const std::string& caption);
  static constexpr int MaxCaptionClientWidth = 240;
  // A press on the caption drags the form's client: dropped over a site
  // that accepts it docks there, dropped elsewhere the form moves.
  void WndProc(TMessage& message) override;
  void SetBounds(int left, int top, int width, int height) override;
  // The form the floating form is a tool palette of (the one its client
  // came from), or nil: its window owns the floating one, which so stays
  // in front of it.
  TCustomForm* OwnerForm() const { return FOwnerForm; }
  void SetOwnerForm(TCustomForm* form);
  void Notification(TComponent* component, TOperation operation) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void DoClose(TCloseAction& action) override;

private:
  bool FitSizeToClient(sys::SIZE& outer, bool heightLeads);
  void FitSizing(sys::WPARAM edge, sys::RECT& r);
  TCustomForm* FOwnerForm = nullptr;
  bool CaptionDragMessage(TMessage& message);
  bool FCaptionPressed = false;
  sys::POINT FCaptionPress{};
};

// The class floating forms get unless a control names its own.
TClass& DefaultFloatingDockSiteClass();

// A new floating form let go with its top-left corner on the screen lies
// whole on it: moved left and up as far as it hangs over the right and the
// bottom edge, never past the left and the top.  One let go off the screen
// stays where it was put.  FloatControl places its forms so.
sys::RECT FitNewFloatingRect(sys::RECT r);

// Floats control in a new floating form at screenRect (the form's bounds,
// fitted by FitNewFloatingRect) and shows it; returns the form.
TCustomDockForm* FloatControl(TControl* control, const sys::RECT& screenRect);

// Begins a dock drag of control at the mouse's screen position; the mouse
// moves and the release then go to the drag (the dock tree forwards them).
void BeginDockDrag(TControl* control, sys::POINT screen);
// Begins a dock drag whose floating rectangle is floatRect carried along by
// the mouse (a floating form's caption drag); a floating drop moves the
// control's host to it instead of making a new form.
void BeginHostDockDrag(TControl* control, sys::POINT screen, const sys::RECT& floatRect);
bool DockDragging();
void DockDragMove(sys::POINT screen);
void DockDragEnd(sys::POINT screen, bool drop);
// Ends the drag without dropping (Esc).
void CancelDockDrag();
// The drag in progress, or nullptr.
TDragDockObject* CurrentDragDockObject();
// The preview frame's rectangle on screen while it shows, else empty.
sys::RECT DockPreviewRect();

} // namespace zel
