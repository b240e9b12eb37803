#include "platform/backend/X11TopLevels.h"

#include <SDL.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <map>
#include <string>

#include <unistd.h>

#include "platform/backend/X11Popups.h"
#include "platform/backend/X11WindowKinds.h"

namespace zel::sys {

struct X11TopLevels::Atoms {
  std::map<std::string, ::Atom> byName;
};

X11TopLevels::X11TopLevels() : atoms_(std::make_unique<Atoms>()) {}

X11TopLevels::~X11TopLevels() {
  Close();
}

unsigned long X11TopLevels::AtomNamed(const char* name) {
  auto [it, added] = atoms_->byName.try_emplace(name, None);
  if (added) it->second = XInternAtom(display_, name, False);
  return it->second;
}

// The group leader is a window of its own that is never mapped, made at the
// first window: the group outlives every window in it, the main one too.
void X11TopLevels::EnsureLeader(Display* display) {
  if (leader_ && display_ == display) return;
  if (display_ != display) {
    atoms_->byName.clear();
    iconPending_.clear();
  }
  display_ = display;
  leader_ = XCreateSimpleWindow(display, DefaultRootWindow(display), -100, -100, 1, 1, 0, 0, 0);
  XWMHints hints{};
  hints.flags = WindowGroupHint;
  hints.window_group = leader_;
  XSetWMHints(display, leader_, &hints);
  XChangeProperty(display, leader_, AtomNamed("WM_CLIENT_LEADER"), XA_WINDOW, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&leader_), 1);
  const long pid = long(getpid());
  XChangeProperty(display, leader_, AtomNamed("_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&pid), 1);
}

void X11TopLevels::Describe(SDL_Window* window, const X11WindowHints& hints) {
  Display* display = nullptr;
  Window xwindow = 0;
  // Pop-ups are override-redirect (SDL makes them so): no window manager reads them.
  if (hints.overrideRedirect || !X11WindowOf(window, &display, &xwindow)) return;
  EnsureLeader(display);
  ::Atom type = AtomNamed(hints.windowType);
  XChangeProperty(display, xwindow, AtomNamed("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&type), 1);
  XWMHints* wm = XGetWMHints(display, xwindow);
  XWMHints fresh{};
  XWMHints& h = wm ? *wm : fresh;
  h.flags |= WindowGroupHint;
  h.window_group = leader_;
  XSetWMHints(display, xwindow, &h);
  if (wm) XFree(wm);
  XChangeProperty(display, xwindow, AtomNamed("WM_CLIENT_LEADER"), XA_WINDOW, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&leader_), 1);
  // SDL names the root window as every window's owner, which a window
  // manager reads as "in front of the whole group": the main window would
  // be kept above its own dialogs.  The owner is named by SetOwner alone.
  XDeleteProperty(display, xwindow, XA_WM_TRANSIENT_FOR);
  if (hints.icon) iconPending_.push_back(xwindow);
  XFlush(display);
}

void X11TopLevels::SetTitle(SDL_Window* window, const std::string& title) {
  Display* display = nullptr;
  Window xwindow = 0;
  if (!X11WindowOf(window, &display, &xwindow)) return;
  EnsureLeader(display); // the atoms are kept per display
  // Xlib converts from UTF-8 whatever the program's locale; a positive
  // result counts characters the style could not hold.
  char* list[] = {const_cast<char*>(title.c_str())};
  XTextProperty text{};
  int status = Xutf8TextListToTextProperty(display, list, 1, XStdICCTextStyle, &text);
  if (status != Success) {
    if (text.value) XFree(text.value);
    text = XTextProperty{};
    status = Xutf8TextListToTextProperty(display, list, 1, XUTF8StringStyle, &text);
  }
  if (status == Success) {
    XSetWMName(display, xwindow, &text);
    XSetWMIconName(display, xwindow, &text);
  }
  if (text.value) XFree(text.value);
  const ::Atom utf8 = AtomNamed("UTF8_STRING");
  for (const char* name : {"_NET_WM_NAME", "_NET_WM_ICON_NAME"})
    XChangeProperty(display, xwindow, AtomNamed(name), utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()), int(title.size()));
  XFlush(display);
}

void X11TopLevels::SetOwner(SDL_Window* window, SDL_Window* owner) {
  Display* display = nullptr;
  Display* ownerDisplay = nullptr;
  Window xwindow = 0, xowner = 0;
  if (!X11WindowOf(window, &display, &xwindow)) return;
  if (owner && X11WindowOf(owner, &ownerDisplay, &xowner) && ownerDisplay == display)
    XSetTransientForHint(display, xwindow, xowner);
  else
    XDeleteProperty(display, xwindow, XA_WM_TRANSIENT_FOR);
  XFlush(display);
}

void X11TopLevels::DestroyWindow(SDL_Window* window) {
  Display* display = nullptr;
  Window xwindow = 0;
  Colormap colormap = None;
  XWindowAttributes attributes;
  const bool x11 = X11WindowOf(window, &display, &xwindow);
  if (x11) std::erase(iconPending_, (unsigned long)xwindow);
  if (x11 && XGetWindowAttributes(display, xwindow, &attributes) && attributes.colormap != None &&
      attributes.colormap != DefaultColormapOfScreen(attributes.screen))
    colormap = attributes.colormap;
  SDL_DestroyWindow(window);
  if (colormap == None) return;
  XFreeColormap(display, colormap);
  XFlush(display);
}

void X11TopLevels::Close() {
  iconPending_.clear();
  if (!leader_ || !display_) return;
  XDestroyWindow(display_, leader_);
  XFlush(display_);
  leader_ = 0;
}

} // namespace zel::sys
