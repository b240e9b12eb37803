#pragma once
// The caret: one blinking block per program, owned by a window, drawn by
// inverting its rectangle.  BeginPaint takes it off the window and EndPaint
// puts it back, so painting never leaves a stale caret behind.

#include "platform/user/Messages.h"

namespace zel::sys {

// Replaces any caret of the program.  The bitmap is accepted for the
// platform's signature; only a solid block is drawn (width 0: the border
// width).  The new caret starts hidden.
BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);
BOOL DestroyCaret();
BOOL SetCaretPos(int x, int y); // client coordinates of the owner
BOOL GetCaretPos(POINT* pt);
// Hiding counts: as many ShowCaret calls as HideCaret calls show it again.
// nullptr means the caret's owner.
BOOL ShowCaret(HWND hwnd);
BOOL HideCaret(HWND hwnd);
UINT GetCaretBlinkTime();

} // namespace zel::sys
