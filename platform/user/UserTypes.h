#pragma once
// The handles and plain structures of the window system, laid out and named
// as the platform names them.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Types.h"
#include "platform/gdi/Gdi.h"

namespace zel::sys {

using UINT_PTR = uintptr_t;
using LONG_PTR = intptr_t;
using ATOM = WORD;

// A window handle is an opaque identity that is never reused while the
// program runs, so a stale handle is recognised (IsWindow is false and every
// call on it does nothing) instead of reaching another window.
struct HWND__;
using HWND = HWND__*;

inline HWND HwndFromId(uintptr_t id) {
  return reinterpret_cast<HWND>(id);
}
inline uintptr_t IdFromHwnd(HWND h) {
  return reinterpret_cast<uintptr_t>(h);
}

// Special insert-after values of SetWindowPos.
inline const HWND HWND_TOP = HwndFromId(0);
inline const HWND HWND_BOTTOM = HwndFromId(1);
inline const HWND HWND_TOPMOST = HwndFromId(uintptr_t(-1));
inline const HWND HWND_NOTOPMOST = HwndFromId(uintptr_t(-2));

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

// The timer procedure of SetTimer.  A callable rather than a bare function
// pointer, so a timer can be bound to an object without a thunk.
using TIMERPROC = std::function<void(HWND, UINT, UINT_PTR, DWORD)>;

struct Cursor;
using HCURSOR = const Cursor*;

struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0; // tick count when the message was made
  POINT pt{};     // cursor position (screen) when the message was made
};

struct WNDCLASS {
  UINT style = 0;
  WNDPROC lpfnWndProc = nullptr;
  HCURSOR hCursor = nullptr;
  HBRUSH hbrBackground = nullptr; // a brush, or a system colour index + 1 as a brush value
  std::string lpszClassName;
};

struct CREATESTRUCT {
  void* lpCreateParams = nullptr;
  UINT_PTR hMenu = 0; // the child identifier
  HWND hwndParent = nullptr;
  int cy = 0;
  int cx = 0;
  int y = 0;
  int x = 0;
  DWORD style = 0;
  std::string lpszName;
  std::string lpszClass;
  DWORD dwExStyle = 0;
};

struct WINDOWPOS {
  HWND hwnd = nullptr;
  HWND hwndInsertAfter = nullptr;
  int x = 0;
  int y = 0;
  int cx = 0;
  int cy = 0;
  UINT flags = 0;
};

// WM_NCCALCSIZE with wParam TRUE: rgrc[0] arrives as the new window
// rectangle (parent coordinates) and leaves as the new client rectangle.
struct NCCALCSIZE_PARAMS {
  RECT rgrc[3];
  WINDOWPOS* lppos = nullptr;
};

struct MINMAXINFO {
  POINT ptReserved{};
  POINT ptMaxSize{};
  POINT ptMaxPosition{};
  POINT ptMinTrackSize{};
  POINT ptMaxTrackSize{};
};

struct PAINTSTRUCT {
  HDC hdc = nullptr;
  BOOL fErase = 0; // nonzero when the background still has to be erased
  RECT rcPaint{};
};

// WINDOWPLACEMENT flags: a minimised window that goes back to maximised.
constexpr UINT WPF_RESTORETOMAXIMIZED = 0x0002;

struct WINDOWPLACEMENT {
  UINT length = sizeof(WINDOWPLACEMENT);
  UINT flags = 0;
  UINT showCmd = 0;
  POINT ptMinPosition{};
  POINT ptMaxPosition{};
  RECT rcNormalPosition{};
};

struct TRACKMOUSEEVENT {
  DWORD cbSize = sizeof(TRACKMOUSEEVENT);
  DWORD dwFlags = 0;
  HWND hwndTrack = nullptr;
  DWORD dwHoverTime = 0;
};

struct NONCLIENTMETRICS {
  UINT cbSize = sizeof(NONCLIENTMETRICS);
  int iBorderWidth = 0;
  int iScrollWidth = 0;
  int iScrollHeight = 0;
  int iCaptionWidth = 0;
  int iCaptionHeight = 0;
  LOGFONT lfCaptionFont;
  int iSmCaptionWidth = 0;
  int iSmCaptionHeight = 0;
  LOGFONT lfSmCaptionFont;
  int iMenuWidth = 0;
  int iMenuHeight = 0;
  LOGFONT lfMenuFont;
  LOGFONT lfStatusFont;
  LOGFONT lfMessageFont;
  int iPaddedBorderWidth = 0;
};

} // namespace zel::sys
