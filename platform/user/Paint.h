#pragma once
// Painting: update regions, WM_PAINT and the window device contexts.  A
// window context draws into its top-level window's surface, clipped to what
// of the window is visible: child windows and siblings above it are left out.

#include "platform/user/Messages.h"

namespace zel::sys {

// rect in client coordinates; nullptr means the whole client area.
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
BOOL ValidateRgn(HWND hwnd, HRGN rgn);
BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase);
int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase);
// Sends WM_PAINT at once when the window has something to paint.
BOOL UpdateWindow(HWND hwnd);
// RDW_INVALIDATE/VALIDATE, RDW_ERASE, RDW_FRAME, RDW_ALLCHILDREN,
// RDW_UPDATENOW, RDW_ERASENOW.  rect in client coordinates.
BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN rgn, UINT flags);

// BeginPaint sends WM_NCPAINT when the frame is due and WM_ERASEBKGND when
// the background is, then validates; the context is clipped to the update
// region.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
// The client area's context; nullptr gives a context for measuring that
// draws nowhere.
HDC GetDC(HWND hwnd);
// The whole window's context, frame included (origin at the window's corner).
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);
// Moves the child windows by (dx, dy) and invalidates the client area (the
// contents are painted again rather than copied).  The rectangles limit
// nothing here; they are accepted for the platform's signature.
BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip);
// The window that a window context belongs to.
HWND WindowFromDC(HDC dc);

} // namespace zel::sys
