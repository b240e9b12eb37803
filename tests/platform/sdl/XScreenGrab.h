#pragma once
// Reads back what the X server shows, to check that a window's pixels
// really reached the screen.  libX11 is opened at run time (SDL does the
// same), so the test needs no link-time dependency on it.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dlfcn.h>

#include "platform/gdi/Surface.h"

namespace zel::sys::test {

// Xlib's default handler ends the program on any protocol error; a failed
// read-back should only fail the check.
inline int IgnoreXError(Display*, XErrorEvent*) {
  return 0;
}

// Copies the screen's rectangle (x, y, width, height) into out; false when
// the display or the library cannot be reached.
inline bool GrabScreen(const char* display, int x, int y, int width, int height, Surface& out) {
  void* lib = ::dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
  if (!lib) return false;
  auto open = reinterpret_cast<Display* (*)(const char*)>(::dlsym(lib, "XOpenDisplay"));
  auto close = reinterpret_cast<int (*)(Display*)>(::dlsym(lib, "XCloseDisplay"));
  auto root = reinterpret_cast<Window (*)(Display*)>(::dlsym(lib, "XDefaultRootWindow"));
  auto get = reinterpret_cast<XImage* (*)(Display*, Drawable, int, int, unsigned, unsigned,
                                          unsigned long, int)>(::dlsym(lib, "XGetImage"));
  using Handler = int (*)(Display*, XErrorEvent*);
  auto setHandler = reinterpret_cast<Handler (*)(Handler)>(::dlsym(lib, "XSetErrorHandler"));
  bool ok = false;
  Display* d = (open && close && root && get && setHandler) ? open(display) : nullptr;
  if (d) {
    const Handler previous = setHandler(IgnoreXError);
    if (XImage* image =
            get(d, root(d), x, y, unsigned(width), unsigned(height), AllPlanes, ZPixmap)) {
      out.Resize(width, height);
      for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col)
          out.At(col, row) = Pixel(image->f.get_pixel(image, col, row) & 0xFFFFFF) | 0xFF000000;
      image->f.destroy_image(image);
      ok = true;
    }
    close(d);
    setHandler(previous);
  }
  ::dlclose(lib);
  return ok;
}

// Takes the keyboard focus away from every window, as when the person
// switches to another program.
inline bool FocusNothing(const char* display) {
  void* lib = ::dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
  if (!lib) return false;
  auto open = reinterpret_cast<Display* (*)(const char*)>(::dlsym(lib, "XOpenDisplay"));
  auto close = reinterpret_cast<int (*)(Display*)>(::dlsym(lib, "XCloseDisplay"));
  auto focus =
      reinterpret_cast<int (*)(Display*, Window, int, Time)>(::dlsym(lib, "XSetInputFocus"));
  auto sync = reinterpret_cast<int (*)(Display*, Bool)>(::dlsym(lib, "XSync"));
  Display* d = (open && close && focus && sync) ? open(display) : nullptr;
  if (d) {
    focus(d, None, RevertToNone, CurrentTime);
    sync(d, False);
    close(d);
  }
  ::dlclose(lib);
  return d != nullptr;
}

} // namespace zel::sys::test
