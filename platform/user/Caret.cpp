// The caret.

#include "platform/user/Caret.h"

#include "platform/user/Paint.h"
#include "platform/user/SystemParams.h"
#include "platform/user/Timers.h"
#include "platform/user/UserState.h"
#include "platform/user/Window.h"

namespace zel::sys {

namespace detail {

namespace {

struct CaretState {
  HWND owner = nullptr;
  RECT rect{}; // client coordinates
  int hidden = 0;
  bool drawn = false;
  UINT_PTR timer = 0;
};

CaretState& C() {
  static CaretState c;
  return c;
}

// Inverting twice restores the pixels, so drawing and undrawing are one call.
void Invert() {
  CaretState& c = C();
  HDC dc = GetDC(c.owner);
  if (!dc) return;
  InvertRect(dc, c.rect);
  ReleaseDC(c.owner, dc);
  c.drawn = !c.drawn;
}

void Undraw() {
  if (C().drawn) Invert();
}

void DrawIfShown() {
  CaretState& c = C();
  if (c.owner && c.hidden == 0 && !c.drawn) Invert();
}

void Blink(HWND, UINT, UINT_PTR, DWORD) {
  CaretState& c = C();
  if (!IsWindow(c.owner) || c.hidden > 0) return;
  Invert();
}

} // namespace

void CaretPaintBegins(HWND hwnd) {
  if (C().owner == hwnd) Undraw();
}

void CaretPaintEnds(HWND hwnd) {
  if (C().owner == hwnd) DrawIfShown();
}

void CaretOwnerGoingAway(HWND hwnd) {
  CaretState& c = C();
  if (c.owner != hwnd) return;
  if (c.timer) KillTimer(nullptr, c.timer);
  c = CaretState{}; // the window's pixels go with it
}

} // namespace detail

using namespace detail;

BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height) {
  if (!IsWindow(hwnd)) return 0;
  DestroyCaret();
  CaretState& c = C();
  c.owner = hwnd;
  c.rect = RECT{0, 0, width > 0 ? width : GetSystemMetrics(SM_CXBORDER), height};
  c.hidden = 1;
  c.drawn = false;
  c.timer = SetTimer(nullptr, 0, GetCaretBlinkTime(), &Blink);
  return 1;
}

BOOL DestroyCaret() {
  CaretState& c = C();
  if (!c.owner) return 0;
  Undraw();
  if (c.timer) KillTimer(nullptr, c.timer);
  c = CaretState{};
  return 1;
}

BOOL SetCaretPos(int x, int y) {
  CaretState& c = C();
  if (!c.owner) return 0;
  Undraw();
  OffsetRect(c.rect, x - c.rect.left, y - c.rect.top);
  DrawIfShown();
  // A moved caret shows at once and blinks from then on.
  // A windowless timer cannot be reset in place: replace it.
  if (c.timer) KillTimer(nullptr, c.timer);
  c.timer = SetTimer(nullptr, 0, GetCaretBlinkTime(), &Blink);
  return 1;
}

BOOL GetCaretPos(POINT* pt) {
  CaretState& c = C();
  if (!c.owner || !pt) return 0;
  *pt = POINT{c.rect.left, c.rect.top};
  return 1;
}

BOOL ShowCaret(HWND hwnd) {
  CaretState& c = C();
  if (!c.owner || (hwnd && hwnd != c.owner)) return 0;
  if (c.hidden > 0 && --c.hidden == 0) DrawIfShown();
  return 1;
}

BOOL HideCaret(HWND hwnd) {
  CaretState& c = C();
  if (!c.owner || (hwnd && hwnd != c.owner)) return 0;
  if (c.hidden++ == 0) Undraw();
  return 1;
}

UINT GetCaretBlinkTime() {
  return 530;
}

} // namespace zel::sys
