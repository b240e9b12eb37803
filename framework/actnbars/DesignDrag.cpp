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

// The drag in progress.  It is a component so that it hears when a bar or
// the action it refers to goes.
class TDesignDragger : public TComponent {
  ZEL_CLASS(TDesignDragger, TComponent)
public:
  TDesignDragger() : TComponent(nullptr) {
    for (auto& s : Strips)
      s = std::make_unique<TInsertMarkStrip>(nullptr);
  }
  // The component base tells the bars and the action this one followed
  // that it goes, and they forget it.
  ~TDesignDragger() override = default;

  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == SourceBar) {
      SourceBar = nullptr;
      Item = nullptr;
    }
    if (component == Target.Bar) Target = TDesignDropTarget{};
    if (component == Action) Action = nullptr;
  }

  void ShowMark(const RECT& screen, bool vertical);
  void HideMark();

  TCustomActionBar* SourceBar = nullptr; // a bar item's drag
  TActionClientItem* Item = nullptr;
  TContainedAction* Action = nullptr; // a command's drag
  POINT Start{};
  bool Running = false;
  TDesignDropTarget Target;
  RECT Mark{};
  std::array<std::unique_ptr<TInsertMarkStrip>, 3> Strips;
};

std::unique_ptr<TDesignDragger>& Dragger() {
  static std::unique_ptr<TDesignDragger> d;
  return d;
}

void PlaceStrip(TInsertMarkStrip& s, const RECT& r) {
  s.SetBounds(r.left, r.top, r.Width(), r.Height());
  if (!s.Visible()) {
    s.HandleNeeded();
    s.SetVisible(true);
    SetWindowPos(s.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
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

// A bar whose items can be dragged: a bar of the manager (not a pop-up
// showing an item's children) in design mode, on screen.
bool IsDesignBar(TCustomActionBar* bar) {
  return bar && bar->DesignMode() && bar->Showing() &&
         dynamic_cast<TActionBarItem*>(bar->ActionClient()) != nullptr;
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

void Move(TDesignDragger& d, POINT screen) {
  if (!d.Running) {
    const int threshold = std::max(GetSystemMetrics(SM_CXDRAG), 3);
    if (std::abs(screen.x - d.Start.x) < threshold && std::abs(screen.y - d.Start.y) < threshold)
      return;
    d.Running = true;
  }
  TCustomActionBar* bar = DesignBarAt(screen);
  if (!bar) {
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

// Whether item still hangs in bar's top-level list.
bool HoldsItem(TCustomActionBar* bar, TActionClientItem* item) {
  TActionClients* items = ItemsOf(bar);
  if (!items || !item) return false;
  for (int i = 0; i < items->Count(); ++i)
    if (items->Items(i) == item) return true;
  return false;
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
  target.Bar->RecreateControls();
}

void MoveItem(TCustomActionBar* source, TActionClientItem* item, const TDesignDropTarget& target) {
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
  target.Bar->RecreateControls();
  if (source != target.Bar) source->RecreateControls();
}

void Drop(TDesignDragger& d, POINT screen) {
  Move(d, screen);
  if (!d.Running) return;
  if (d.Action) {
    if (d.Target.Bar) AddCommand(d.Action, d.Target);
    return;
  }
  if (!d.SourceBar || !HoldsItem(d.SourceBar, d.Item)) return;
  if (d.Target.Bar) {
    MoveItem(d.SourceBar, d.Item, d.Target);
    return;
  }
  // Dragged off every bar: the item goes.
  delete d.Item;
  d.SourceBar->RecreateControls();
}

// Ends the drag: the state is taken out first, so that a change made by
// the drop (which may end design mode, and with it any drag) cannot free
// it under our feet.
void Finish(POINT screen, bool drop) {
  std::unique_ptr<TDesignDragger> d = std::move(Dragger());
  if (!d) return;
  d->HideMark();
  SetDragCursor(crDefault);
  if (d->SourceBar && d->SourceBar->MouseCapture()) d->SourceBar->SetMouseCapture(false);
  if (drop) Drop(*d, screen);
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
  TDesignDragger* d = Dragger().get();
  const bool mine = d && d->SourceBar == bar;
  switch (m.Msg) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK: {
    if (!IsDesignBar(bar)) return false;
    auto* c = dynamic_cast<TCustomActionControl*>(bar->ControlAtPos(client, true));
    TActionClientItem* item = c ? c->ActionClient() : nullptr;
    if (!item || item->Collection() != ItemsOf(bar)) return false;
    Arm(bar->ClientToScreen(client));
    d = Dragger().get();
    d->SourceBar = bar;
    d->Item = item;
    bar->FreeNotification(d);
    bar->SetMouseCapture(true);
    m.Result = 0;
    return true;
  }
  case WM_MOUSEMOVE:
    if (!mine) return false;
    Move(*d, bar->ClientToScreen(client));
    m.Result = 0;
    return true;
  case WM_LBUTTONUP:
    if (!mine) return false;
    Finish(bar->ClientToScreen(client), true);
    m.Result = 0;
    return true;
  case WM_CAPTURECHANGED:
    // Someone else took the mouse: the drag ends without a change.
    if (mine && HWND(m.LParam) != bar->Handle()) CancelDesignDrag();
    return false;
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
