#pragma once
// Mouse, keyboard, capture, focus, activation and cursors.

#include <functional>

#include "platform/user/Messages.h"

namespace zel::sys {

// ---- Capture --------------------------------------------------------------------
// Sends WM_CAPTURECHANGED (lParam: the new holder) to the window losing it.
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();

// ---- Focus and activation ----------------------------------------------------------
// Activates the window's top-level window first when needed.  nullptr
// removes the focus.  Returns the previous focus.
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow(); // the active window while the program has the foreground
// Whether the program has the foreground (WM_ACTIVATEAPP).
bool IsApplicationActive();

// ---- Mouse ----------------------------------------------------------------------------
BOOL GetCursorPos(POINT* pt);
// Moves the cursor; the windows see a mouse move there.
BOOL SetCursorPos(int x, int y);
BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme);

// Told of every mouse press of the program before it goes anywhere (before
// it activates a window), with the window it is for; nullptr for a press
// outside every window of the program and for the program losing the
// foreground.  Open menus close here on presses outside them, whatever
// window the press is for.  One observer; an empty one removes it.
void SetPressObserver(std::function<void(HWND window)> observer);

// ---- Keys ---------------------------------------------------------------------------
// The high bit (0x8000) when the key is down now; the low bit when it went
// down since the last call.
short GetAsyncKeyState(int vk);
// The key as of the last message taken from the queue: 0x8000 when down.
short GetKeyState(int vk);
// All 256 keys as GetKeyState sees them: bit 0x80 when down.
BOOL GetKeyboardState(BYTE* keys);

// ---- Cursors ----------------------------------------------------------------------
struct Cursor {
  int id = IDC_ARROW;
};
// The system cursors (instance nullptr); an unknown id gives nullptr.
HCURSOR LoadCursor(void* instance, int id);
HCURSOR SetCursor(HCURSOR cursor); // returns the previous
HCURSOR GetCursor();

} // namespace zel::sys
