#pragma once
// Pop-ups (menus, preview strips, hints) never take the keyboard.  SDL shows
// every window with the keyboard focus when the X server has no window
// manager, and each such focus change costs SDL's mouse capture and makes it
// report the held modifier keys released and pressed again: a drag would
// lose the mouse and Alt+letter would turn into two lone Alts.  These map
// and unmap an SDL window directly, leaving the focus where it is; SDL
// learns of the change from the server's map notifications.

struct SDL_Window;
struct _XDisplay;

namespace zel::sys {

// The X display and window behind an SDL window; false when it is no X11
// window.
bool X11WindowOf(SDL_Window* window, _XDisplay** display, unsigned long* xwindow);

// Map (and raise) or unmap the window without touching the keyboard focus.
// False when the window is not an X11 one (the caller then uses SDL).
bool MapX11WindowWithoutFocus(SDL_Window* window);
bool UnmapX11Window(SDL_Window* window);
// Raises the window, and only that: SDL_RaiseWindow also asks a window
// manager to activate it, and SDL would not raise a window it has not yet
// seen mapped.
bool RaiseX11Window(SDL_Window* window);

// Whether a window manager runs on the window's screen (one that follows the
// desktop conventions names its check window on the root window).
bool X11WindowManagerRunning(SDL_Window* window);

// The pointer, grabbed for a drag: from a press to the last release every
// pointer event reports to the program (to the window under the pointer
// when it is one of the program's, else to xwindow), whichever window has
// the keyboard focus and wherever the release happens.  time is the
// press's.  False when another program holds the pointer.
bool GrabX11Pointer(_XDisplay* display, unsigned long xwindow, unsigned long time);
void UngrabX11Pointer(_XDisplay* display, unsigned long time);

} // namespace zel::sys
