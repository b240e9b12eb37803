#pragma once
// Timers, driven by the active clock (platform/clock).  WM_TIMER is made when
// nothing else is waiting; a timer that falls due several times before its
// message is taken fires once (the platform's rule), and its next time is
// counted from the moment the message is made.

#include "platform/user/Messages.h"

namespace zel::sys {

// With a window: (hwnd, id) names the timer; setting it again replaces it;
// returns id (1 for id 0).  Without a window the id argument is ignored and
// the system assigns a new identifier, which it returns; such a timer needs a
// procedure.  The procedure, when given, is called by DispatchMessage in
// place of the window procedure, with the tick count of the message.
// Returns 0 on failure (a stale window, or no window and no procedure).
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc = nullptr);
// FALSE (and ERROR_INVALID_PARAMETER) when there is no such timer.
BOOL KillTimer(HWND hwnd, UINT_PTR id);

} // namespace zel::sys
