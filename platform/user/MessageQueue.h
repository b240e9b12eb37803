#pragma once
// The message queue of the GUI thread.  GetMessage takes, in this order:
// posted messages, input (turned into mouse and keyboard messages as it is
// taken), WM_PAINT for a window with something to paint, then WM_TIMER for a
// due timer.  WM_QUIT comes when nothing posted remains.

#include "platform/user/Messages.h"

namespace zel::sys {

// Calls the window procedure now and returns its result.
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);

// Waits for a message; FALSE when it is WM_QUIT.  filterMin/Max select a
// range of message numbers (0, 0: all).
BOOL GetMessage(MSG* msg, HWND hwnd = nullptr, UINT filterMin = 0, UINT filterMax = 0);
BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
// Makes WM_CHAR for the keys that type a control character (Enter, Tab,
// Backspace, Escape, Ctrl with a letter); other characters arrive as text
// input.
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
// Sleeps until input arrives or a timer is due.
BOOL WaitMessage();

DWORD GetMessageTime();
DWORD GetMessagePos(); // x in the low word, y in the high word

// Handles every message there is without waiting, as a test step or a busy
// program's idle point does.  Returns false when WM_QUIT was seen (it stays
// queued for the real loop).
bool PumpMessages();

// Lets the active clock run forward by ms, firing every timer that falls due
// on the way at its own time, and handling the messages after each.  On the
// virtual clock this is how tests let time pass.
void AdvanceTime(DWORD ms);

} // namespace zel::sys
