// Item drags of bars in design mode: the drag state, the insertion mark and
// the change of the manager's item trees at the drop.

#include "framework/actnbars/DesignDrag.h"

#include <array>
#include <cmath>
#include <memory>

#include "framework/actions/ActnList.h"
#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/forms/Screen.h"
#include "platform/user/SystemParams.h"
#include "platform/user/User.h"

namespace zel {

using namespace sys;

namespace {

// One strip of the insertion mark: a small top-level window in the text
// colour that the mouse looks through, so the bar below it still counts as
// the window under the pointer.
class TInsertMarkStrip : public TWinControl {
  ZEL_CLASS(TInsertMarkStrip, TWinControl)
public:
  explicit TInsertMarkStrip(TComponent* owner) : TWinControl(owner) {
    SetVisible(false);
    SetParentColor(false);
    SetColor(clWindowText);
  }
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_NCHITTEST) {
      m.Result = HTTRANSPARENT;
      return;
    }
    if (m.Msg == WM_MOUSEACTIVATE) {
      m.Result = MA_NOACTIVATE;
      return;
    }
    TWinControl::WndProc(m);
  }

protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.Style = WS_POPUP | (p.Style & WS_VISIBLE);
    p.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT;
  }
};

// The timer of a drag resting on an item with sub-items.
constexpr UINT_PTR HoverTimerId = 0x3B1;

void HoverExpired();

// A hidden window that holds the mouse while an item is dragged, so that
// the drag goes on when the pop-up it started in closes, and that carries
// the timer of a pending sub-menu.
class TDragMouseWindow : public TWinControl {
  ZEL_CLASS(TDragMouseWindow, TWinControl)
public:
  explicit TDragMouseWindow(TComponent* owner) : TWinControl(owner) { SetVisible(false); }
  void WndProc(TMessage& m) override {
    switch (m.Msg) {
    case WM_MOUSEMOVE:
      DesignDragMove(ScreenPoint(m));
      return;
    case WM_LBUTTONUP:
      // The drop ends the drag and frees this window: nothing of it may be
      // used after the call.
      DesignDragEnd(ScreenPoint(m), true);
      return;
    case WM_CAPTURECHANGED:
      // Someone else took the mouse: the drag ends without a change.
      if (HWND(m.LParam) != Handle()) CancelDesignDrag();
      return;
    case WM_TIMER:
      if (m.WParam == HoverTimerId) {
        KillTimer(Handle(), HoverTimerId);
        HoverExpired();
        return;
      }
      break;
    default:
      break;
    }
    TWinControl::WndProc(m);
  }

protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.Style = WS_POPUP;
    p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  }

private:
  POINT ScreenPoint(const TMessage& m) {
    return ClientToScreen(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
  }
};

// The drag in progress.  It is a component so that it hears when a bar,
// the manager or the action it refers to goes.
class TDesignDragger : public TComponent {
  ZEL_CLASS(TDesignDragger, TComponent)
public:
  TDesignDragger() : TComponent(nullptr) {
    for (auto& s : Strips)
      s = std::make_unique<TInsertMarkStrip>(nullptr);
    Mouse = std::make_unique<TDragMouseWindow>(nullptr);
    Mouse->HandleNeeded();
    // The press on the item may have activated any form, and the keyboard
    // stays wherever it was: Esc ends the drag whichever window it reaches.
    EscHook = AddKeyHook([](HWND, WPARAM key) {
      if (key != VK_ESCAPE) return false;
      CancelDesignDrag();
      return true;
    });
  }
  // The component base tells the bars and the action this one followed
  // that it goes, and they forget it.
  ~TDesignDragger() override { RemoveKeyHook(EscHook); }

  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    // The dragged item hangs in the manager's trees, not in the bar that
    // showed it, so it outlives a pop-up that closes under the drag.
    if (component == SourceBar) SourceBar = nullptr;
    if (component == Manager) {
      Manager = nullptr;
      Item = nullptr;
    }
    if (component == Target.Bar) Target = TDesignDropTarget{};
    if (component == HoverBar) CancelHover();
    if (component == Action) Action = nullptr;
  }

  void ShowMark(const RECT& screen, bool vertical);
  void HideMark();
  void CancelHover() {
    HoverBar = nullptr;
    HoverItem = nullptr;
    if (Mouse && Mouse->HandleAllocated()) KillTimer(Mouse->Handle(), HoverTimerId);
  }

  TCustomActionBar* SourceBar = nullptr; // a bar item's drag
  TCustomActionManager* Manager = nullptr;
  TActionClientItem* Item = nullptr;  // only compared until found in Manager's trees
  TContainedAction* Action = nullptr; // a command's drag
  POINT Start{}, Last{};
  bool Running = false;
  // Over the dragged item's own sub-menus: no drop there.
  bool Refused = false;
  TDesignDropTarget Target;
  RECT Mark{};
  // The item with sub-items the drag rests on, and its bar.
  TCustomActionBar* HoverBar = nullptr;
  TActionClientItem* HoverItem = nullptr;
  std::array<std::unique_ptr<TInsertMarkStrip>, 3> Strips;
  std::unique_ptr<TDragMouseWindow> Mouse;
  int EscHook = 0;
};

std::unique_ptr<TDesignDragger>& Dragger() {
  static std::unique_ptr<TDesignDragger> d;
  return d;
}

// The strip goes above every window each time, since a pop-up menu that
// opened while the mark showed lies above it otherwise.
void PlaceStrip(TInsertMarkStrip& s, const RECT& r) {
  s.SetBounds(r.left, r.top, r.Width(), r.Height());
  if (!s.Visible()) {
    s.HandleNeeded();
    s.SetVisible(true);
  }
  SetWindowPos(s.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The mark is an I-beam: a two-pixel line across the bar with short bars
// at its ends, so it reads as "between these two" even on a busy gradient.
void TDesignDragger::ShowMark(const RECT& r, bool vertical) {
  if (r == Mark && Strips[0]->Visible()) return;
  Mark = r;
  if (!vertical) {
    PlaceStrip(*Strips[0], RECT{r.left + 2, r.top, r.left + 4, r.bottom});
    PlaceStrip(*Strips[1], RECT{r.left, r.top, r.right, r.top + 2});
    PlaceStrip(*Strips[2], RECT{r.left, r.bottom - 2, r.right, r.bottom});
  } else {
    PlaceStrip(*Strips[0], RECT{r.left, r.top + 2, r.right, r.top + 4});
    PlaceStrip(*Strips[1], RECT{r.left, r.top, r.left + 2, r.bottom});
    PlaceStrip(*Strips[2], RECT{r.right - 2, r.top, r.right, r.bottom});
  }
}

void TDesignDragger::HideMark() {
  Mark = RECT{};
  for (auto& s : Strips)
    s->SetVisible(false);
}

bool IsVertical(const TCustomActionBar* bar) {
  return bar->Orientation() == boTopToBottom || bar->Orientation() == boBottomToTop;
}

// A bar whose items can be dragged, in design mode and on screen: a bar of
// a manager, or a pop-up showing the children of an item of a manager's
// trees (not copies, nor a list action's choices).
bool IsDesignBar(TCustomActionBar* bar) {
  if (!bar || !bar->DesignMode() || !bar->Showing()) return false;
  TActionClient* client = bar->ActionClient();
  if (dynamic_cast<TActionBarItem*>(client)) return true;
  return client && dynamic_cast<TCustomActionPopupMenu*>(bar) && client->ActionManager();
}

TActionClients* ItemsOf(TCustomActionBar* bar) {
  TActionClient* client = bar ? bar->ActionClient() : nullptr;
  return client ? client->Items() : nullptr;
}

// The design bar under a screen point, or nil.
TCustomActionBar* DesignBarAt(POINT screen) {
  HWND h = WindowFromPoint(screen);
  for (TWinControl* c = h ? FindControl(h) : nullptr; c; c = c->Parent())
    if (auto* bar = dynamic_cast<TCustomActionBar*>(c)) return IsDesignBar(bar) ? bar : nullptr;
  return nullptr;
}

void SetDragCursor(TCursor cursor) {
  if (!Screen || Screen->Cursor() == cursor) return;
  Screen->SetCursor(cursor);
}

// The item with sub-items under the drag, when resting on it should open
// its sub-menu: not the dragged item itself, and not one already open.
TActionClientItem* ItemToOpen(TDesignDragger& d, TCustomActionBar* bar, POINT screen) {
  if (!bar) return nullptr;
  auto* c =
      dynamic_cast<TCustomActionControl*>(bar->ControlAtPos(bar->ScreenToClient(screen), true));
  TActionClientItem* item = c ? c->ActionClient() : nullptr;
  if (!item || !item->HasItems() || item == d.Item) return nullptr;
  if (auto* menu = dynamic_cast<TCustomActionMenuBar*>(bar)) {
    if (menu->Popup() && menu->Popup()->ActionClient() == item) return nullptr;
    return item;
  }
  auto* tools = dynamic_cast<TCustomActionToolBar*>(bar);
  if (!tools || !c->InheritsFrom(TCustomDropDownButton::StaticClass())) return nullptr;
  TCustomActionPopupMenu* open = tools->ActivePopup();
  return open && open->ActionClient() == item ? nullptr : item;
}

// Starts, keeps or drops the pending opening of a sub-menu.
void TrackHover(TDesignDragger& d, TCustomActionBar* bar, POINT screen) {
  TActionClientItem* item = ItemToOpen(d, bar, screen);
  if (item == d.HoverItem && bar == d.HoverBar) return;
  d.CancelHover();
  if (!item) return;
  d.HoverBar = bar;
  d.HoverItem = item;
  bar->FreeNotification(&d);
  int delay = 400;
  SystemParametersInfo(SPI_GETMENUSHOWDELAY, 0, &delay, 0);
  SetTimer(d.Mouse->Handle(), HoverTimerId, UINT(std::max(delay, 1)));
}

void Move(TDesignDragger& d, POINT screen) {
  d.Last = screen;
  if (!d.Running) {
    const int threshold = std::max(GetSystemMetrics(SM_CXDRAG), 3);
    if (std::abs(screen.x - d.Start.x) < threshold && std::abs(screen.y - d.Start.y) < threshold)
      return;
    d.Running = true;
    // The dragged item's own menus close: it leaves its place, and cannot
    // go into them.
    if (d.Item) CloseMenusShowing(d.Manager, d.Item);
  }
  TCustomActionBar* bar = DesignBarAt(screen);
  TrackHover(d, bar, screen);
  d.Refused = bar && d.Item && WithinItem(bar->ActionClient(), d.Item);
  if (!bar || d.Refused) {
    d.Target = TDesignDropTarget{};
    d.HideMark();
    SetDragCursor(crNoDrop);
    return;
  }
  RECT mark{};
  const int index = DesignInsertIndex(bar, bar->ScreenToClient(screen), &mark);
  bar->FreeNotification(&d);
  d.Target = TDesignDropTarget{bar, index};
  const POINT origin = bar->ClientToScreen(POINT{0, 0});
  OffsetRect(mark, origin.x, origin.y);
  d.ShowMark(mark, IsVertical(bar));
  SetDragCursor(crDrag);
}

// Whether item still hangs somewhere in list or below it.
bool HoldsItem(TActionClients* list, const TActionClientItem* item) {
  for (int i = 0; list && i < list->Count(); ++i) {
    TActionClientItem* it = list->Items(i);
    if (it == item || (it->HasItems() && HoldsItem(it->Items(), item))) return true;
  }
  return false;
}

// Whether item still hangs in one of manager's bars.
bool ManagerHolds(TCustomActionManager* manager, const TActionClientItem* item) {
  if (!manager || !item) return false;
  TActionBars* bars = manager->ActionBars();
  for (int i = 0; i < bars->Count(); ++i)
    if (bars->ActionBars(i)->HasItems() && HoldsItem(bars->ActionBars(i)->Items(), item))
      return true;
  return false;
}

// The bars show the change: those of the target's manager, and of the
// source's when it is another.
void Refresh(TCustomActionManager* source, TCustomActionBar* target) {
  TCustomActionManager* to = target ? target->ActionClient()->ActionManager() : nullptr;
  RefreshDesignBars(to);
  if (source != to) RefreshDesignBars(source);
}

// A new item for a command: on a tool bar, a command with a glyph shows
// only its glyph, like the buttons a tool bar usually has.
void AddCommand(TContainedAction* action, const TDesignDropTarget& target) {
  TActionClients* items = ItemsOf(target.Bar);
  if (!action || !items) return;
  auto* item = items->Insert(std::clamp(target.Index, 0, items->Count()))->As<TActionClientItem>();
  item->SetAction(action);
  auto* custom = dynamic_cast<TCustomAction*>(action);
  if (target.Bar->Is<TCustomActionToolBar>() && custom && custom->ImageIndex() >= 0)
    item->SetShowCaption(false);
  Refresh(nullptr, target.Bar);
}

void MoveItem(TCustomActionManager* source, TActionClientItem* item,
              const TDesignDropTarget& target) {
  TActionClients* to = ItemsOf(target.Bar);
  if (!to) return;
  if (item->Collection() == to) {
    // Dropped on its own side of a neighbour: no move at all.
    const int from = item->Index();
    const int index = target.Index > from ? target.Index - 1 : target.Index;
    if (index != from) item->SetIndex(std::clamp(index, 0, to->Count() - 1));
  } else {
    item->SetCollection(to);
    item->SetIndex(std::clamp(target.Index, 0, to->Count() - 1));
  }
  Refresh(source, target.Bar);
}

void Drop(TDesignDragger& d, POINT screen) {
  Move(d, screen);
  d.CancelHover();
  if (!d.Running) {
    // A click: it may open or close a menu, never execute.
    if (d.SourceBar && ManagerHolds(d.Manager, d.Item)) DesignClick(d.SourceBar, d.Item);
    return;
  }
  if (d.Action) {
    if (d.Target.Bar) AddCommand(d.Action, d.Target);
    return;
  }
  if (d.Refused || !ManagerHolds(d.Manager, d.Item)) return;
  if (d.Target.Bar) {
    MoveItem(d.Manager, d.Item, d.Target);
    return;
  }
  // Dragged off every bar: the item goes (it tells every menu, open or
  // closed, that shows it or its sub-items).
  delete d.Item;
  d.Item = nullptr;
  RefreshDesignBars(d.Manager);
}

// Ends the drag: the state is taken out first, so that a change made by
// the drop (which may end design mode, and with it any drag) cannot free
// it under our feet.
void Finish(POINT screen, bool drop) {
  std::unique_ptr<TDesignDragger> d = std::move(Dragger());
  if (!d) return;
  d->HideMark();
  d->CancelHover();
  SetDragCursor(crDefault);
  if (d->Mouse->HandleAllocated() && GetCapture() == d->Mouse->Handle()) ReleaseCapture();
  if (drop) Drop(*d, screen);
}

// The drag rested on an item with sub-items: its sub-menu opens, and the
// drop target follows what is under the mouse now.
void HoverExpired() {
  TDesignDragger* d = Dragger().get();
  if (!d || !d->HoverBar) return;
  TCustomActionBar* bar = d->HoverBar;
  TActionClientItem* item = d->HoverItem;
  d->CancelHover();
  if (ItemToOpen(*d, DesignBarAt(d->Last), d->Last) != item) return;
  OpenDesignSubMenu(bar, item);
  // Opening may have closed the pop-up the drag started in, among others.
  if (Dragger().get() == d) Move(*d, d->Last);
}

void Arm(POINT screen) {
  CancelDesignDrag();
  Dragger() = std::make_unique<TDesignDragger>();
  Dragger()->Start = screen;
}

} // namespace

int DesignInsertIndex(TCustomActionBar* bar, POINT p, RECT* mark) {
  TActionClients* items = ItemsOf(bar);
  const bool vertical = IsVertical(bar);
  // The control of the list's items nearest to the point decides: before
  // it when the point lies in its first half, after it otherwise.
  TCustomActionControl* best = nullptr;
  long bestDistance = 0;
  for (int i = 0; i < bar->ActionControlCount(); ++i) {
    TCustomActionControl* c = bar->ActionControls(i);
    if (!c->Visible() || !c->ActionClient() || c->ActionClient()->Collection() != items) continue;
    const RECT r = c->BoundsRect();
    const long dx = p.x < r.left ? r.left - p.x : (p.x >= r.right ? p.x - r.right + 1 : 0);
    const long dy = p.y < r.top ? r.top - p.y : (p.y >= r.bottom ? p.y - r.bottom + 1 : 0);
    // Across the row counts more, so a wrapped bar picks the right row.
    const long distance = vertical ? dx * 4 + dy : dx + dy * 4;
    if (!best || distance < bestDistance) {
      best = c;
      bestDistance = distance;
    }
  }
  const int half = 3;
  if (!best) {
    const int x = bar->HorzMargin() + 1, y = bar->VertMargin() + 1;
    if (mark)
      *mark = vertical ? RECT{x, y - half + 2, bar->ClientWidth() - x, y + half + 2}
                       : RECT{x - half + 2, y, x + half + 2, bar->ClientHeight() - y};
    return items ? items->Count() : 0;
  }
  const RECT r = best->BoundsRect();
  const bool after = vertical ? p.y >= (r.top + r.bottom) / 2 : p.x >= (r.left + r.right) / 2;
  const int index = best->ActionClient()->Index() + (after ? 1 : 0);
  if (mark) {
    if (!vertical) {
      const int x = after ? r.right : r.left;
      *mark = RECT{x - half, r.top, x + half, r.bottom};
    } else {
      const int y = after ? r.bottom : r.top;
      *mark = RECT{r.left, y - half, r.right, y + half};
    }
  }
  return index;
}

bool DesignDragMessage(TCustomActionBar* bar, TMessage& m) {
  const POINT client{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  // The moves and the release of a drag go to its mouse window.
  switch (m.Msg) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK: {
    if (!IsDesignBar(bar)) return false;
    auto* c = dynamic_cast<TCustomActionControl*>(bar->ControlAtPos(client, true));
    TActionClientItem* item = c ? c->ActionClient() : nullptr;
    if (!item || item->Collection() != ItemsOf(bar) || !item->ActionManager()) return false;
    Arm(bar->ClientToScreen(client));
    TDesignDragger* d = Dragger().get();
    d->SourceBar = bar;
    d->Item = item;
    d->Manager = item->ActionManager();
    bar->FreeNotification(d);
    d->Manager->FreeNotification(d);
    SetCapture(d->Mouse->Handle());
    m.Result = 0;
    return true;
  }
  default:
    return false;
  }
}

void BeginCommandDrag(TContainedAction* action, POINT screen) {
  if (!action) return;
  Arm(screen);
  Dragger()->Action = action;
  action->FreeNotification(Dragger().get());
}

void DesignDragMove(POINT screen) {
  if (Dragger()) Move(*Dragger(), screen);
}

void DesignDragEnd(POINT screen, bool drop) {
  Finish(screen, drop);
}

void CancelDesignDrag() {
  Finish(POINT{}, false);
}

bool DesignDragArmed() {
  return Dragger() != nullptr;
}

bool DesignDragging() {
  return Dragger() && Dragger()->Running;
}

TDesignDropTarget DesignDropTarget() {
  return Dragger() ? Dragger()->Target : TDesignDropTarget{};
}

RECT DesignInsertMarkRect() {
  return Dragger() ? Dragger()->Mark : RECT{};
}

} // namespace zel
