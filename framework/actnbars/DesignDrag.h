#pragma once
// Dragging items in design mode (while the customize dialog is open).
//
// A press on an item of a bar in design mode arms a drag; once the mouse has
// moved a few pixels the item is dragged.  Over a bar in design mode, or an
// open pop-up menu of one, an insertion mark shows where the item will go
// (upright in a row, level in a menu); released there, the item moves to
// that place of that list (reordered within its own, moved to another).
// Released away from every bar, the item is removed.  A command dragged
// from the customize dialog's list adds a new item for its action at the
// mark, and nothing when dropped elsewhere.  Either way the manager's item
// trees change, so the change is saved with its configuration, and the bars
// make their controls again and open again the menus they had open.
//
// A press and release without a drag is a click: an item with sub-items
// opens its sub-menu (DesignMenus.cpp); nothing is ever executed.  While a
// drag rests on an item with sub-items for the menu show delay, its
// sub-menu opens, so the drop can go inside.  An item cannot be dropped
// into its own sub-menus.
//
//   state    | event                           | next
//   idle     | press on an item / a command    | armed
//   armed    | move of at least SM_CXDRAG      | dragging (mark or no-drop cursor)
//   armed    | release                         | idle, a click on the item
//   dragging | move                            | dragging, mark follows
//   dragging | rest on an item with sub-items  | dragging, its sub-menu opens
//   dragging | release over a bar or menu      | idle, item placed at the mark
//   dragging | release over the item's own     | idle, nothing changed
//            | sub-menus                       |
//   dragging | release elsewhere               | idle, bar item removed
//   any      | Esc, capture lost, design ends  | idle, nothing changed

#include "framework/actnbars/ActionBar.h"
#include "framework/controls/ControlTypes.h"

namespace zel {

class TContainedAction;
class TCustomActionManager;

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

// ---- Menus in design mode (DesignMenus.cpp) ----------------------------------------------

// A click on item of bar in design mode: an item with sub-items opens its
// sub-menu (a menu bar's item or a tool bar's drop-down); on a bar, a
// second click or a click on another item closes the open menus.
void DesignClick(TCustomActionBar* bar, TActionClientItem* item);
// Opens the sub-menu of item, shown on bar; false when it has none.  The
// menus stay open until a press lands away from the bar and its menus.
bool OpenDesignSubMenu(TCustomActionBar* bar, TActionClientItem* item);
// Closes every menu open below bar (at the end of design mode, say).
void CloseDesignMenus(TCustomActionBar* bar);
// Forgets the bar whose design menus were watched (design mode begins or
// ends).
void EndDesignMenus();
// Closes the open menus of the manager's bars that show item's sub-items
// or items further below it.
void CloseMenusShowing(TCustomActionManager* manager, TActionClientItem* item);
// After a change of the manager's items: each bar makes its controls again
// and opens again the menus it had open, as far as they still have items.
void RefreshDesignBars(TCustomActionManager* manager);
// The bar a pop-up menu belongs to (its menu bar, or the tool bar of a
// drop-down); a bar itself for a bar.
TCustomActionBar* DesignMenuOwner(TCustomActionBar* bar);
// Whether client is item or an item below it.
bool WithinItem(TActionClient* client, const TActionClientItem* item);

} // namespace zel
