#include "platform/backend/X11WindowKinds.h"

#include "platform/user/Messages.h"
#include "platform/user/SystemParams.h"

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

namespace {

unsigned long Argb(COLORREF c) {
  return 0xFF000000ul | (unsigned long)(GetRValue(c)) << 16 | (unsigned long)(GetGValue(c)) << 8 |
         (unsigned long)(GetBValue(c));
}

void AppendIcon(std::vector<unsigned long>& out, int size) {
  out.push_back((unsigned long)size);
  out.push_back((unsigned long)size);
  const unsigned long frame = Argb(GetSysColor(COLOR_WINDOWFRAME));
  const unsigned long body = Argb(GetSysColor(COLOR_WINDOW));
  const unsigned long caption = Argb(GetSysColor(COLOR_ACTIVECAPTION));
  // The window fills the square but for a margin of 1/16 at the sides and
  // 1/8 above and below; its caption bar is 3/16 of the square high.
  const int side = size / 16, cap = size / 8, bar = 3 * size / 16;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const bool inside = x >= side && x < size - side && y >= cap && y < size - cap;
      const bool edge = x == side || x == size - side - 1 || y == cap || y == size - cap - 1;
      unsigned long p = 0; // transparent
      if (inside) p = edge ? frame : y <= cap + bar ? caption : body;
      out.push_back(p);
    }
}

} // namespace

std::vector<unsigned long> ProgramIconData() {
  std::vector<unsigned long> data;
  AppendIcon(data, 16);
  AppendIcon(data, 32);
  return data;
}

} // namespace zel::sys
