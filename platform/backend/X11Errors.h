#pragma once
// Under X11 a request may name a window the server has already destroyed
// (the program and the server race when pop-ups close).  Xlib's default
// answer to such an error ends the process; the program's windows are its
// own, so an error about one that is gone is ignored instead.

namespace zel::sys {

// Installs the handler; every other error still goes to the handler that
// was installed before.  Call after the X11 video driver is up.
void TolerateVanishedX11Windows();

} // namespace zel::sys
