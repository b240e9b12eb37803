// Moving and sizing a window from the keyboard: SC_MOVE and SC_SIZE sent
// without a press on the frame (a system menu's "move" and "size").  The
// pointer stays where it is; the arrows take the window in steps, and the
// tracking state of NonClient.cpp carries it, so it ends, and puts the
// window back, the same ways as a drag.
//
//   state         | arrow                     | mouse move           | Enter, left release | Esc,
//   lost grab
//   --------------+---------------------------+----------------------+---------------------+---------------
//   Move          | the window moves a step   | the window follows   | kept, end           | back,
//   end Size, no edge | picks that side's edge    | -                    | kept, end           |
//   back, end Size, edges   | along a picked edge's     | the picked edges     | kept, end | back,
//   end
//                 | axis: it moves a step;    | follow               |                     |
//                 | across: adds that side's  |                      |                     |
//                 | edge (a corner)           |                      |                     |
//
// A step is 8 pixels, 1 with Ctrl held.  Every other key, character and
// button is swallowed while it runs; the program losing the foreground ends
// it where the window is (as it does a drag).

#include "platform/user/Input.h"
#include "platform/user/UserState.h"
#include "platform/user/Window.h"

namespace zel::sys::detail {

namespace {

enum KeySide { kLeft = 1, kRight = 2, kTop = 4, kBottom = 8 };

// The sizing edge (an HT code) of a set of sides.
LRESULT EdgeOfSides(int sides) {
  const bool left = sides & kLeft, right = sides & kRight;
  if (sides & kTop) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
  if (sides & kBottom) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
  return left ? HTLEFT : HTRIGHT;
}

int SideOfArrow(UINT vk) {
  switch (vk) {
  case VK_LEFT:
    return kLeft;
  case VK_RIGHT:
    return kRight;
  case VK_UP:
    return kTop;
  case VK_DOWN:
    return kBottom;
  default:
    return 0;
  }
}

// The first arrow on an axis picks that side's edge; later ones on the
// same axis move it.  Returns whether the window should follow.
bool PickEdge(Tracking& t, int side) {
  const int axis = (side & (kLeft | kRight)) ? (kLeft | kRight) : (kTop | kBottom);
  if (t.sides & axis) return true;
  t.sides |= side;
  t.hit = EdgeOfSides(t.sides);
  return false;
}

void Follow(Tracking& t) {
  Window* w = Find(t.hwnd);
  if (!w || (t.mode == Tracking::Size && !t.sides)) return;
  Tracking from = t;
  from.start = POINT{0, 0};
  FollowPointer(from, w, t.offset);
}

void Arrow(Tracking& t, UINT vk) {
  const int side = SideOfArrow(vk);
  if (t.mode == Tracking::Size && !PickEdge(t, side)) return;
  const int step = (GetKeyState(VK_CONTROL) & 0x8000) ? 1 : 8;
  if (side == kLeft) t.offset.x -= step;
  if (side == kRight) t.offset.x += step;
  if (side == kTop) t.offset.y -= step;
  if (side == kBottom) t.offset.y += step;
  Follow(t);
}

// The window follows the pointer's motion from where the pointer was when
// the keyboard started it.
void MouseMotion(Tracking& t, POINT pt) {
  if (t.mode == Tracking::Size && !t.sides) {
    t.lastMouse = pt;
    return;
  }
  t.offset.x += pt.x - t.lastMouse.x;
  t.offset.y += pt.y - t.lastMouse.y;
  t.lastMouse = pt;
  Follow(t);
}

} // namespace

void StartKeyTracking(Window* w, Tracking::Mode mode) {
  const HWND h = w->handle;
  StartTracking(w, mode, mode == Tracking::Move ? HTCAPTION : 0, POINT{0, 0});
  Tracking& t = U().tracking;
  if (t.hwnd != h || t.mode != mode) return;
  t.keyboard = true;
  t.lastMouse = U().cursor;
}

bool KeyTrackingInput(const RawInput& in) {
  Tracking& t = U().tracking;
  if (!t.keyboard || t.mode == Tracking::None) return false;
  if (!Find(t.hwnd)) {
    U().tracking = {};
    return false;
  }
  switch (in.kind) {
  case RawInput::KeyDown:
    if (in.vk == VK_ESCAPE)
      CancelTracking(true);
    else if (in.vk == VK_RETURN)
      CancelTracking(false);
    else if (SideOfArrow(in.vk))
      Arrow(t, in.vk);
    return true;
  case RawInput::Move:
    MouseMotion(t, in.pt);
    return true;
  case RawInput::ButtonUp:
    if (in.button == 0) CancelTracking(false);
    return true;
  default:
    return true;
  }
}

} // namespace zel::sys::detail
