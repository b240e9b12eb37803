#pragma once
// A form's system menu, as the desktop gives every window one: restore,
// move, size, minimise, maximise and close (and "next" for an MDI child),
// each item enabled as the window's styles and state allow, each sending
// the window its WM_SYSCOMMAND.  The form decides what the menu holds; the
// menus of the program show it (InstallSystemMenu in the action bars), so
// that it looks like the program's other menus.

#include <functional>
#include <string>
#include <vector>

#include "platform/user/User.h"

namespace zel {

class TCustomForm;

struct TSystemMenuItem {
  std::string Caption;     // empty: a separator
  std::string ShortCut;    // the key shown beside it ("Alt+F4"), or empty
  sys::WPARAM Command = 0; // the SC_* it sends
  bool Enabled = false;
};

// The system menu of a window: the full menu for a window with a minimise
// or maximise box, otherwise only move, size (with a sizing frame) and
// close, as dialogs and tool windows have it.
std::vector<TSystemMenuItem> SystemMenuItems(sys::HWND window);

// Shows items for form with the menu's top-left corner at a screen point;
// byKeyboard: its first enabled item is selected, ready for Enter.
using TSystemMenuPresenter = std::function<void(
    TCustomForm* form, const std::vector<TSystemMenuItem>& items, sys::POINT at, bool byKeyboard)>;
void SetSystemMenuPresenter(TSystemMenuPresenter presenter);
const TSystemMenuPresenter& SystemMenuPresenter();

} // namespace zel
