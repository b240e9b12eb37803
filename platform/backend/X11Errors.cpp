#include "platform/backend/X11Errors.h"

#include <X11/Xlib.h>

namespace zel::sys {

namespace {

XErrorHandler gPrevious = nullptr;

int IgnoreVanishedWindows(Display* display, XErrorEvent* error) {
  // BadWindow and BadDrawable name a resource that no longer exists: the
  // window went away between the request and its processing.
  if (error->error_code == BadWindow || error->error_code == BadDrawable) return 0;
  return gPrevious ? gPrevious(display, error) : 0;
}

} // namespace

void TolerateVanishedX11Windows() {
  XErrorHandler previous = XSetErrorHandler(IgnoreVanishedWindows);
  if (previous != IgnoreVanishedWindows) gPrevious = previous;
}

} // namespace zel::sys
