#pragma once
// Dragging items in design mode (while the customize dialog is open).
//
// A press on an item of a bar in design mode arms a drag; once the mouse has
// moved a few pixels the item is dragged.  Over a bar in design mode an
// insertion mark shows where the item will go; released there, the item
// moves to that place of that bar's item list (reordered within its own
// bar, moved to another).  Released away from every bar, the item is
// removed.  A command dragged from the customize dialog's list adds a new
// item for its action at the mark, and nothing when dropped elsewhere.
// Either way the manager's item trees change, so the change is saved with
// its configuration, and the bars concerned make their controls again.
//
//   state    | event                           | next
//   idle     | press on an item / a command    | armed
//   armed    | move of at least SM_CXDRAG      | dragging (mark or no-drop cursor)
//   armed    | release                         | idle, nothing changed
//   dragging | move                            | dragging, mark follows
//   dragging | release over a bar              | idle, item placed at the mark
//   dragging | release elsewhere               | idle, bar item removed
//   any      | Esc, capture lost, design ends  | idle, nothing changed

#include "framework/actnbars/ActionBar.h"
#include "framework/controls/ControlTypes.h"

namespace zel {

class TContainedAction;

// Where a drop would go: a bar and the index in its item list, or no bar.
struct TDesignDropTarget {
  TCustomActionBar* Bar = nullptr;
  int Index = -1;
};

// Called by a bar in design mode for each of its messages; true when the
// message was a press, move or release of an item drag and is used up.
bool DesignDragMessage(TCustomActionBar* bar, TMessage& message);

// Arms a drag of a new item for action from outside the bars; the caller
// holds the mouse and passes on the moves and the release.
void BeginCommandDrag(TContainedAction* action, sys::POINT screen);
void DesignDragMove(sys::POINT screen);
// Ends the drag: with drop the change is made, otherwise nothing changes.
void DesignDragEnd(sys::POINT screen, bool drop);
// Ends any drag without a change and frees its windows (Esc, the end of
// design mode).
void CancelDesignDrag();

// Whether a drag is armed or running, and whether the mouse has moved far
// enough for it to run.
bool DesignDragArmed();
bool DesignDragging();
// Where the running drag would drop now.
TDesignDropTarget DesignDropTarget();
// The insertion mark's bounds on screen while it shows, else empty.
sys::RECT DesignInsertMarkRect();

// The insertion index in bar's items for a point in its client area, and
// the mark's rectangle there (client coordinates).
int DesignInsertIndex(TCustomActionBar* bar, sys::POINT client, sys::RECT* mark = nullptr);

} // namespace zel
