// The items of a window's system menu and the form's part in showing it.

#include "framework/forms/SystemMenu.h"

#include "framework/forms/Form.h"
#include "platform/backend/Backend.h"

namespace zel {

using namespace sys;

namespace {

TSystemMenuPresenter& Presenter() {
  static TSystemMenuPresenter presenter;
  return presenter;
}

} // namespace

void SetSystemMenuPresenter(TSystemMenuPresenter presenter) {
  Presenter() = std::move(presenter);
}

const TSystemMenuPresenter& SystemMenuPresenter() {
  return Presenter();
}

std::vector<TSystemMenuItem> SystemMenuItems(HWND window) {
  if (!IsWindow(window)) return {};
  const DWORD style = DWORD(GetWindowLong(window, GWL_STYLE));
  const bool child = (style & WS_CHILD) != 0;
  const bool iconic = (style & WS_MINIMIZE) != 0, zoomed = (style & WS_MAXIMIZE) != 0;
  const bool frame = (style & WS_THICKFRAME) != 0;
  // A top-level window is minimised only where something can bring it
  // back (a window manager's task bar); its minimise button is disabled
  // alike.
  const bool canIconify = child || !GetBackend() || GetBackend()->CanIconify();
  std::vector<TSystemMenuItem> items;
  auto add = [&](const char* caption, WPARAM command, bool enabled, const char* key = "") {
    items.push_back(TSystemMenuItem{caption, key, command, enabled});
  };
  const bool boxes = (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0;
  if (boxes) add("&Восстановить", SC_RESTORE, iconic || zoomed);
  add("&Переместить", SC_MOVE, !zoomed);
  if (boxes || frame) add("&Размер", SC_SIZE, frame && !iconic && !zoomed);
  if (boxes) {
    add("&Свернуть", SC_MINIMIZE, (style & WS_MINIMIZEBOX) && !iconic && canIconify);
    add("Р&азвернуть", SC_MAXIMIZE, (style & WS_MAXIMIZEBOX) && !zoomed);
  }
  items.push_back(TSystemMenuItem{});
  add("&Закрыть", SC_CLOSE, true, child ? "Ctrl+F4" : "Alt+F4");
  if (child && (GetWindowLong(window, GWL_EXSTYLE) & WS_EX_MDICHILD)) {
    items.push_back(TSystemMenuItem{});
    add("С&ледующее", SC_NEXTWINDOW, true, "Ctrl+F6");
  }
  return items;
}

void TCustomForm::ShowSystemMenu(bool byKeyboard) {
  if (!HandleAllocated() || !IsWindowVisible(Handle()) || !SystemMenuPresenter()) return;
  if (!(GetWindowLong(Handle(), GWL_STYLE) & WS_SYSMENU)) return;
  // Under the caption, at its left end: where the client area starts.
  POINT at{0, 0};
  sys::ClientToScreen(Handle(), &at);
  SystemMenuPresenter()(this, SystemMenuItems(Handle()), at, byKeyboard);
}

// Alt+Space opens the form's system menu; Alt+- in an MDI form, the active
// child's; a click on the caption's icon, the menu of the window clicked.
bool TCustomForm::HandleSysCommand(WPARAM command, LPARAM key) {
  switch (command & 0xFFF0) {
  case SC_KEYMENU:
    if (key == ' ') {
      ShowSystemMenu(true);
      return true;
    }
    if (key == '-' && FFormStyle == fsMDIForm) {
      if (TCustomForm* child = ActiveMDIChild()) child->ShowSystemMenu(true);
      return true;
    }
    return false;
  case SC_MOUSEMENU:
    ShowSystemMenu(false);
    return true;
  case SC_NEXTWINDOW:
    if (FFormStyle != fsMDIChild || !FMDIParent) return false;
    FMDIParent->Next();
    return true;
  default:
    return false;
  }
}

} // namespace zel
