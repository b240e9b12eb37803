// Menus of the bars in design mode: a click opens an item's sub-menu, which
// stays open until another top-level item is clicked, a press lands away
// from the bar and its menus (in any window of the program, or outside it),
// Esc is pressed or a combination with Ctrl or Alt does its work, wherever
// the keyboard is; after a change of the items every bar makes its
// controls again and opens again the menus it had open.

#include <vector>

#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/DesignDrag.h"
#include "platform/user/User.h"

namespace zel {

using namespace sys;

namespace {

// The bar whose design menus are open, known by its window so that a bar
// that went meanwhile is simply not found, and the press hook watching it.
HWND gWatchedBar = nullptr;
int gWatchHook = 0, gKeyHook = 0;

void StopWatch() {
  if (gWatchHook) RemovePressHook(gWatchHook);
  if (gKeyHook) RemoveKeyHook(gKeyHook);
  gWatchHook = gKeyHook = 0;
  gWatchedBar = nullptr;
}

// The pop-ups open below bar, outermost first: a menu bar's sub-menus, or
// a tool bar's drop-down and the sub-menus below it.
std::vector<TCustomActionPopupMenu*> OpenMenus(TCustomActionBar* bar) {
  std::vector<TCustomActionPopupMenu*> chain;
  TCustomActionPopupMenu* p = nullptr;
  if (auto* menu = dynamic_cast<TCustomActionMenuBar*>(bar))
    p = menu->Popup();
  else if (auto* tools = dynamic_cast<TCustomActionToolBar*>(bar))
    p = tools->ActivePopup();
  for (; p; p = p->Popup())
    chain.push_back(p);
  return chain;
}

bool OwnsWindow(TCustomActionBar* bar, HWND window) {
  auto holds = [window](TWinControl* c) {
    return c->HandleAllocated() && (c->Handle() == window || IsChild(c->Handle(), window));
  };
  if (holds(bar)) return true;
  for (TCustomActionPopupMenu* p : OpenMenus(bar))
    if (holds(p)) return true;
  return false;
}

// Closes the menus of bar without touching the watch.
void CloseMenusOf(TCustomActionBar* bar) {
  if (auto* menu = dynamic_cast<TCustomActionMenuBar*>(bar)) {
    if (menu->InMenuLoop()) menu->CloseMenu();
  } else if (auto* tools = dynamic_cast<TCustomActionToolBar*>(bar)) {
    if (TCustomActionPopupMenu* p = tools->ActivePopup()) p->CloseMenu();
  }
}

void PressedSomewhere(HWND window) {
  auto* bar = dynamic_cast<TCustomActionBar*>(FindControl(gWatchedBar));
  if (!bar || !bar->DesignMode()) {
    StopWatch();
    return;
  }
  if (OwnsWindow(bar, window)) return;
  StopWatch();
  CloseMenusOf(bar);
}

// The design menus have no keys of their own: Esc closes them and is used
// up; a combination with Ctrl or Alt closes them and goes on to do its work
// (Alt+X, Ctrl+F4); other keys are left to the window that has them.
bool KeyWhileOpen(HWND, WPARAM key) {
  const bool esc = key == VK_ESCAPE;
  const bool modifier = key == VK_CONTROL || key == VK_MENU || key == VK_SHIFT;
  const bool combination = (GetKeyState(VK_CONTROL) & 0x8000) || (GetKeyState(VK_MENU) & 0x8000);
  // A drag of an item has Esc for itself (it cancels the drag).
  if (DesignDragArmed() || (!esc && (modifier || !combination))) return false;
  auto* bar = dynamic_cast<TCustomActionBar*>(FindControl(gWatchedBar));
  StopWatch();
  if (bar) CloseMenusOf(bar);
  return esc;
}

void Watch(TCustomActionBar* bar) {
  if (!bar->HandleAllocated()) return;
  if (gWatchedBar && gWatchedBar != bar->Handle())
    if (auto* other = dynamic_cast<TCustomActionBar*>(FindControl(gWatchedBar)))
      CloseMenusOf(other);
  gWatchedBar = bar->Handle();
  if (!gWatchHook) gWatchHook = AddPressHook(PressedSomewhere);
  if (!gKeyHook) gKeyHook = AddKeyHook(KeyWhileOpen);
}

// The shown control of bar for item, or nil.
TCustomActionControl* ControlOf(TCustomActionBar* bar, const TActionClientItem* item) {
  for (int i = 0; bar && i < bar->ActionControlCount(); ++i) {
    TCustomActionControl* c = bar->ActionControls(i);
    if (c->ActionClient() == item && c->Visible()) return c;
  }
  return nullptr;
}

bool HasSubItems(const TActionClientItem* item) {
  return item && item->HasItems();
}

// Whether client is item or lies below it.
bool Within(TActionClient* client, const TActionClientItem* item) {
  for (TActionClient* c = client; c;) {
    if (c == item) return true;
    auto* i = dynamic_cast<TActionClientItem*>(c);
    c = i ? i->ParentItem() : nullptr;
  }
  return false;
}

// Opens the sub-menu of item's control on bar; the pop-up, or nil.
TCustomActionPopupMenu* OpenBelow(TCustomActionBar* bar, TCustomActionControl* control) {
  if (auto* menu = dynamic_cast<TCustomActionMenuBar*>(bar)) {
    menu->OpenSubMenu(control);
    return menu->Popup();
  }
  if (auto* tools = dynamic_cast<TCustomActionToolBar*>(bar))
    if (control->InheritsFrom(TCustomDropDownButton::StaticClass()))
      return tools->ShowDropDown(control);
  return nullptr;
}

} // namespace

TCustomActionBar* DesignMenuOwner(TCustomActionBar* bar) {
  auto* popup = dynamic_cast<TCustomActionPopupMenu*>(bar);
  if (!popup) return bar;
  TCustomActionMenuBar* root = popup->RootMenu();
  if (!dynamic_cast<TCustomActionPopupMenu*>(root)) return root;
  // A tool bar's drop-down is a root pop-up that the tool bar owns.
  return dynamic_cast<TCustomActionToolBar*>(root->Owner());
}

bool OpenDesignSubMenu(TCustomActionBar* bar, TActionClientItem* item) {
  TCustomActionControl* control = ControlOf(bar, item);
  if (!control || !HasSubItems(item)) return false;
  if (!OpenBelow(bar, control)) return false;
  if (TCustomActionBar* owner = DesignMenuOwner(bar)) Watch(owner);
  return true;
}

void DesignClick(TCustomActionBar* bar, TActionClientItem* item) {
  TCustomActionControl* control = ControlOf(bar, item);
  if (!control) return;
  const bool popup = dynamic_cast<TCustomActionPopupMenu*>(bar) != nullptr;
  std::vector<TCustomActionPopupMenu*> below;
  if (auto* menu = dynamic_cast<TCustomActionMenuBar*>(bar)) {
    if (menu->Popup()) below.push_back(menu->Popup());
  } else {
    below = OpenMenus(bar);
  }
  const bool showing = !below.empty() && below.front()->ActionClient() == item;
  if (HasSubItems(item) && !showing) {
    OpenDesignSubMenu(bar, item);
    return;
  }
  // On a bar a second click closes the item's menu, and a click on an item
  // without sub-items closes the open one; in a pop-up the item is chosen
  // and any deeper menu closes.
  if (!popup) {
    CloseDesignMenus(bar);
    return;
  }
  if (!showing) {
    auto* menu = static_cast<TCustomActionMenuBar*>(bar);
    menu->CloseSubMenus();
    menu->SelectControl(control);
  }
}

void CloseDesignMenus(TCustomActionBar* bar) {
  if (!bar) return;
  if (bar->HandleAllocated() && bar->Handle() == gWatchedBar) StopWatch();
  CloseMenusOf(bar);
}

void EndDesignMenus() {
  StopWatch();
}

void CloseMenusShowing(TCustomActionManager* manager, TActionClientItem* item) {
  if (!manager || !item) return;
  TActionBars* bars = manager->ActionBars();
  for (int i = 0; i < bars->Count(); ++i) {
    TCustomActionBar* bar = bars->ActionBars(i)->ActionBar();
    if (!bar) continue;
    for (TCustomActionPopupMenu* p : OpenMenus(bar)) {
      if (!Within(p->ActionClient(), item)) continue;
      if (TCustomActionMenuBar* parent = p->ParentMenu())
        parent->CloseSubMenus();
      else
        p->CloseMenu();
      break;
    }
  }
}

void RefreshDesignBars(TCustomActionManager* manager) {
  if (!manager) return;
  TActionBars* bars = manager->ActionBars();
  for (int i = 0; i < bars->Count(); ++i) {
    TCustomActionBar* bar = bars->ActionBars(i)->ActionBar();
    if (!bar) continue;
    // The items whose menus are open; none of them went with the change
    // (a dragged item's menus closed when its drag began).
    std::vector<TActionClientItem*> path;
    for (TCustomActionPopupMenu* p : OpenMenus(bar))
      if (auto* shown = dynamic_cast<TActionClientItem*>(p->ActionClient())) path.push_back(shown);
    CloseMenusOf(bar);
    bar->RecreateControls();
    // Opened again from the top, so each pop-up takes its new size and the
    // place of its item's control as it is now.
    TCustomActionBar* level = bar;
    for (TActionClientItem* shown : path) {
      TCustomActionControl* control = ControlOf(level, shown);
      if (!control || !HasSubItems(shown)) break;
      level = OpenBelow(level, control);
      if (!level) break;
    }
  }
}

bool WithinItem(TActionClient* client, const TActionClientItem* item) {
  return Within(client, item);
}

} // namespace zel
