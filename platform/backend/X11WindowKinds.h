#pragma once
// What the X window manager is told about each kind of top-level window.
// The window system keeps its own stacking (owned windows in front of their
// owner); a window manager keeps its own as well, so it must be told the
// same relations, or the two fight: a dialog or a floating bar names its
// owner (WM_TRANSIENT_FOR) and says what it is (_NET_WM_WINDOW_TYPE), and
// pop-ups stay past the window manager altogether.  A pure function of the
// window's styles, so the table is tested without an X server.

#include "platform/Types.h"

namespace zel::sys {

enum class TopLevelKind {
  Main,    // an unowned window with a caption: the program's own window
  Dialog,  // an owned window, or one with a dialog frame
  Utility, // a tool window: floating forms and floating bars
  Popup,   // a pop-up without a caption: menus, hints, drop previews
};

struct X11WindowHints {
  TopLevelKind kind = TopLevelKind::Main;
  const char* windowType = "_NET_WM_WINDOW_TYPE_NORMAL";
  bool overrideRedirect = false; // the window manager never sees it
  // WM_TRANSIENT_FOR names the owner's window whenever it has one (an owner
  // may come later: a floating form is handed to its form after it shows).
  bool transientForOwner = false;
  bool icon = true; // carries the program's icon
};

TopLevelKind KindOfTopLevel(DWORD style, DWORD exStyle, bool owned);
X11WindowHints HintsForTopLevel(DWORD style, DWORD exStyle, bool owned);

} // namespace zel::sys
