#pragma once
// Windows: classes, creation and destruction, the window tree and z-order,
// rectangles and coordinate mapping, SetWindowPos and ShowWindow, window
// text and the default window procedure.  Every call accepts a stale or
// null handle and then does nothing (returning 0, false or an empty value).

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/user/Messages.h"

namespace zel::sys {

// ---- Classes -------------------------------------------------------------------
// Class names compare without regard to case.  Registering a name twice fails.
ATOM RegisterClass(const WNDCLASS& wc);
BOOL UnregisterClass(std::string_view name);
BOOL GetClassInfo(std::string_view name, WNDCLASS* wc);
std::string GetClassName(HWND hwnd);

// ---- Creation and destruction ----------------------------------------------------
// Sends WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE and WM_CREATE (lParam
// points to a CREATESTRUCT), then WM_SIZE and WM_MOVE, then shows the window
// when WS_VISIBLE is given.  Fails (nullptr) for an unknown class, a child
// without a valid parent, or a window procedure that refuses WM_NCCREATE or
// returns -1 from WM_CREATE.
HWND CreateWindowEx(DWORD exStyle, std::string_view className, std::string_view windowName,
                    DWORD style, int x, int y, int width, int height, HWND parent,
                    UINT_PTR menuOrId = 0, void* param = nullptr);
// Destroys owned windows first; then the window gets WM_DESTROY before its
// children do, and WM_NCDESTROY after all of them.
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);

// ---- Procedures and values ---------------------------------------------------------
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
// GWL_STYLE and GWL_EXSTYLE store the bits without side effects; call
// SetWindowPos with SWP_FRAMECHANGED to apply a frame change.
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);
inline LONG GetWindowLong(HWND h, int i) {
  return LONG(GetWindowLongPtr(h, i));
}
inline LONG SetWindowLong(HWND h, int i, LONG v) {
  return LONG(SetWindowLongPtr(h, i, v));
}

// ---- Text ----------------------------------------------------------------------
// Through WM_SETTEXT / WM_GETTEXT (UTF-8; lParam is a const char* or a
// buffer of wParam bytes).
BOOL SetWindowText(HWND hwnd, std::string_view text);
std::string GetWindowText(HWND hwnd);
int GetWindowText(HWND hwnd, char* buffer, int size);
int GetWindowTextLength(HWND hwnd);

// ---- Tree and z-order ------------------------------------------------------------
HWND GetDesktopWindow();
HWND GetParent(HWND hwnd); // the parent of a child, the owner of a top-level window
HWND SetParent(HWND hwnd, HWND newParent);
HWND GetAncestor(HWND hwnd, UINT flags);
HWND GetWindow(HWND hwnd, UINT relation);
HWND GetTopWindow(HWND hwnd); // the child at the top of the z-order (desktop for nullptr)
BOOL IsChild(HWND parent, HWND hwnd);
// Children front to back (the z-order), not descending.
std::vector<HWND> GetChildWindows(HWND hwnd);
// Calls fn for every top-level window (front to back) until it returns false.
BOOL EnumWindows(const std::function<bool(HWND)>& fn);
// Calls fn for every descendant, parents before their children, front to
// back, until it returns false.  Windows made or destroyed meanwhile are
// handled safely: the list is taken first and stale handles are skipped.
BOOL EnumChildWindows(HWND parent, const std::function<bool(HWND)>& fn);

// ---- State -----------------------------------------------------------------------
BOOL IsWindowVisible(HWND hwnd); // it and all its ancestors have WS_VISIBLE
BOOL IsWindowEnabled(HWND hwnd);
BOOL EnableWindow(HWND hwnd, BOOL enable); // returns whether it was disabled before
BOOL IsIconic(HWND hwnd);
BOOL IsZoomed(HWND hwnd);

// ---- Geometry ----------------------------------------------------------------------
BOOL GetWindowRect(HWND hwnd, RECT* rect); // screen coordinates
BOOL GetClientRect(HWND hwnd, RECT* rect); // (0, 0, width, height)
BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle);
BOOL ClientToScreen(HWND hwnd, POINT* pt);
BOOL ScreenToClient(HWND hwnd, POINT* pt);
// Maps from the client coordinates of one window to another's (nullptr: screen).
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
// The deepest visible and enabled window at a screen point, asking
// WM_NCHITTEST so that HTTRANSPARENT windows are looked through.
HWND WindowFromPoint(POINT screen);
// The child containing a client point of the parent, or the parent itself.
HWND ChildWindowFromPoint(HWND parent, POINT clientPt);

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL BringWindowToTop(HWND hwnd);
// Returns whether the window was visible before.
BOOL ShowWindow(HWND hwnd, int cmd);
BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* wp);
BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* wp);

} // namespace zel::sys
