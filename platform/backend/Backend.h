#pragma once
// The seam between the window system and whatever shows its windows to a
// person.  The window system keeps every window, its surface, the z-order,
// activation and capture; a backend only mirrors the visible top-level
// windows and turns the person's input into the Input... calls below, always
// in screen coordinates, so that the window system decides which window gets
// what.  All calls happen on the GUI thread.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/Surface.h"
#include "platform/user/UserTypes.h"

namespace zel::sys {

constexpr DWORD INFINITE = 0xFFFFFFFF;

enum class MouseButton { Left, Right, Middle };

class Backend {
public:
  virtual ~Backend() = default;

  virtual const char* Name() const = 0;
  virtual SIZE ScreenSize() const = 0;
  // The part of the screen windows may cover: what a window manager leaves
  // free of its panels, the whole screen without one.  Asked afresh each
  // time, since panels come and go.
  virtual RECT WorkArea() const {
    const SIZE s = ScreenSize();
    return RECT{0, 0, s.cx, s.cy};
  }

  // ---- Window system -> backend.  Only top-level windows are reported. ------
  // The window became visible on the screen (shown and not minimised).  Its
  // rectangle is GetWindowRect, its pixels GetWindowSurface.
  virtual void WindowShown(HWND hwnd) = 0;
  // The window left the screen (hidden or minimised: IsIconic tells).
  virtual void WindowHidden(HWND hwnd) = 0;
  // Whether a minimised top-level window stays within the person's reach
  // (a window manager's task bar brings it back).  Where nothing would, top-
  // level windows are not minimised at all and offer no minimise button.
  virtual bool CanIconify() const { return true; }
  // The window was moved or resized; after a resize the surface already has
  // the new size.
  virtual void WindowMoved(HWND hwnd) = 0;
  // The handle is about to become invalid; drop everything kept for it.
  virtual void WindowDestroyed(HWND hwnd) = 0;
  // The stacking order of the top-level windows changed (TopLevelWindows).
  virtual void ZOrderChanged() = 0;
  // Pixels of the window's surface changed (dirty in window coordinates).
  // Nothing has to be shown before the next Present.
  virtual void SurfaceChanged(HWND hwnd, const RECT& dirty) = 0;
  // Shows what changed since the last call.  The window system calls it
  // before it waits for input.
  virtual void Present() = 0;
  // The active window changed (nullptr: none of ours); a backend with real
  // windows gives that window the keyboard focus.
  virtual void WindowActivated(HWND hwnd) {}
  // The mouse capture changed (nullptr: released).
  virtual void CaptureChanged(HWND hwnd) {}
  // The window's text (GetWindowText) changed: a backend with real windows
  // gives it to the window manager as the title.
  virtual void WindowTextChanged(HWND hwnd) {}
  // The cursor shape (an IDC_* value) or position changed by the program.
  virtual void CursorShapeChanged(int cursorId) {}
  virtual void CursorMoved(POINT screen) {}

  // Waits until input arrives or timeoutMs has passed (INFINITE: no limit)
  // and feeds what arrived into the Input... calls.  Returns true when
  // anything was delivered.  The timeout is measured on the active clock
  // (platform/clock); a backend running on the virtual clock lets the time
  // pass by advancing that clock instead of sleeping.
  virtual bool WaitForInput(DWORD timeoutMs) = 0;
};

// ---- Backend -> window system: input in screen coordinates ---------------
void InputMouseMove(POINT screen);
void InputMouseButton(MouseButton button, bool down, POINT screen);
// The buttons came up where the program could not see it (another program
// took the pointer during a drag): whatever a press started (a drag, a
// move or size of a window, a capture) ends as a cancel, never as a drop.
void InputMouseButtonsLost();
// delta in multiples of WHEEL_DELTA (120) per notch, positive away from the user.
void InputMouseWheel(int delta, POINT screen);
// A virtual key (VK_*, or the ASCII code of a digit or capital letter) went
// down or up.  Modifier keys are reported like any other key.  Virtual key
// 0 is a key the backend could not name: it makes no message, but it counts
// as a key between Alt's press and release.
void InputKey(UINT vk, bool down);
// Text typed by the person, UTF-8; becomes WM_CHAR with Unicode code points.
void InputText(std::string_view utf8);
// The program gained or lost the foreground (WM_ACTIVATEAPP).
void InputAppActive(bool active);
// The person brought this top-level window forward by the desktop's means.
// Ignored for disabled windows and WS_EX_NOACTIVATE ones; activating the
// active window again does nothing, so a backend may report every focus
// change, including the ones that follow WindowActivated.
void InputActivateWindow(HWND hwnd);
// The desktop asked the window to close (WM_SYSCOMMAND with SC_CLOSE).
void InputCloseWindow(HWND hwnd);
// The session asks the program to end (a terminate signal, the desktop
// logging out): whatever a press started ends as a cancel, and every
// top-level window that has no owner gets WM_ENDSESSION (wParam TRUE),
// for the program to close as its person would.
void InputEndSession();
// The desktop minimised the window or brought it back (a task bar, the
// window manager): SC_MINIMIZE or SC_RESTORE.
void InputIconifyWindow(HWND hwnd, bool iconic);

// ---- What a backend reads from the window system ---------------------------
// Top-level windows that are on the screen, front first.
std::vector<HWND> TopLevelWindows();
// The surface of a top-level window (its window rectangle's size), or nullptr.
const Surface* GetWindowSurface(HWND topLevel);

// ---- Installing a backend --------------------------------------------------
// The window system owns its backend; installing one replaces the previous.
void SetBackend(std::unique_ptr<Backend> backend);
Backend* GetBackend();

// Picks the backend for the program: ZEL_BACKEND=headless forces the
// headless one; otherwise the sdl one when a display is available.  Returns
// nullptr and a sentence in *error when there is no display.
std::unique_ptr<Backend> CreateBackendFromEnvironment(std::string* error);

} // namespace zel::sys
