#include "platform/backend/X11Popups.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>

namespace zel::sys {

bool X11WindowOf(SDL_Window* window, Display** display, Window* xwindow) {
  if (!window) return false;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  *display = info.info.x11.display;
  *xwindow = info.info.x11.window;
  return *display != nullptr;
}

bool MapX11WindowWithoutFocus(SDL_Window* window) {
  Display* display = nullptr;
  Window xwindow = 0;
  if (!X11WindowOf(window, &display, &xwindow)) return false;
  XMapRaised(display, xwindow);
  XFlush(display);
  return true;
}

bool UnmapX11Window(SDL_Window* window) {
  Display* display = nullptr;
  Window xwindow = 0;
  if (!X11WindowOf(window, &display, &xwindow)) return false;
  XUnmapWindow(display, xwindow);
  XFlush(display);
  return true;
}

bool RaiseX11Window(SDL_Window* window) {
  Display* display = nullptr;
  Window xwindow = 0;
  if (!X11WindowOf(window, &display, &xwindow)) return false;
  XRaiseWindow(display, xwindow);
  XFlush(display);
  return true;
}

bool X11WindowManagerRunning(SDL_Window* window) {
  Display* display = nullptr;
  Window xwindow = 0;
  if (!X11WindowOf(window, &display, &xwindow)) return false;
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                        XA_WINDOW, &type, &format, &count, &after, &data);
  const bool running = status == Success && type == XA_WINDOW && format == 32 && count == 1 &&
                       data && *reinterpret_cast<unsigned long*>(data) != 0;
  if (data) XFree(data);
  return running;
}

bool GrabX11Pointer(Display* display, Window xwindow, unsigned long time) {
  constexpr unsigned int kMask =
      ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;
  const int result = XGrabPointer(display, xwindow, True, kMask, GrabModeAsync, GrabModeAsync,
                                  None, None, time);
  XFlush(display);
  return result == GrabSuccess;
}

void UngrabX11Pointer(Display* display, unsigned long time) {
  XUngrabPointer(display, time);
  XFlush(display);
}

} // namespace zel::sys
