#pragma once
// Xlib reports a failed request to one process-wide error handler, and its
// default handler ends the process.  Under X11 a request may name a window
// the server has already destroyed (the program and the server race when
// pop-ups close), and SDL swaps handlers around some of its own calls, so
// the program keeps its own handler in place for the whole run: every error
// is written once per kind to stderr and then passed over, never ending the
// program (the window system's own state stays the truth; a lost request
// only costs a picture or a property).  A lost connection ends the process
// at once with one line on stderr.

namespace zel::sys {

// Installs the handler.  Call before the X11 video driver starts (so that
// whatever SDL remembers as "the handler before mine" is this one), after
// it started, and whenever SDL may have swapped handlers: the call is cheap
// and makes no request.
void KeepX11ErrorHandler();
// Whether the handler in place is the program's own.
bool X11ErrorHandlerInPlace();
// How many errors the handler has passed over since the program started.
unsigned long X11ErrorsPassedOver();

} // namespace zel::sys
