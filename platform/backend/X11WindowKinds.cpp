#include "platform/backend/X11WindowKinds.h"

#include "platform/user/Messages.h"

namespace zel::sys {

TopLevelKind KindOfTopLevel(DWORD style, DWORD exStyle, bool owned) {
  if ((style & WS_POPUP) && (style & WS_CAPTION) != WS_CAPTION) return TopLevelKind::Popup;
  if (exStyle & WS_EX_TOOLWINDOW) return TopLevelKind::Utility;
  if (owned || (exStyle & WS_EX_DLGMODALFRAME)) return TopLevelKind::Dialog;
  return TopLevelKind::Main;
}

X11WindowHints HintsForTopLevel(DWORD style, DWORD exStyle, bool owned) {
  X11WindowHints h;
  h.kind = KindOfTopLevel(style, exStyle, owned);
  switch (h.kind) {
  case TopLevelKind::Main:
    break;
  case TopLevelKind::Dialog:
    h.windowType = "_NET_WM_WINDOW_TYPE_DIALOG";
    h.transientForOwner = true;
    break;
  case TopLevelKind::Utility:
    h.windowType = "_NET_WM_WINDOW_TYPE_UTILITY";
    h.transientForOwner = true;
    break;
  case TopLevelKind::Popup:
    // Menus, hints and previews come and go under the program's own
    // control; a window manager must neither frame, move nor focus them.
    h.windowType = "_NET_WM_WINDOW_TYPE_POPUP_MENU";
    h.overrideRedirect = true;
    h.icon = false;
    break;
  }
  return h;
}

} // namespace zel::sys
