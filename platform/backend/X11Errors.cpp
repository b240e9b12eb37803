#include "platform/backend/X11Errors.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <unistd.h>
#include <set>
#include <string>
#include <tuple>

namespace zel::sys {

namespace {

// One kind of error: the error code and the request that failed.
using ErrorKind = std::tuple<int, int, int>;

std::set<ErrorKind>& KindsReported() {
  static std::set<ErrorKind> kinds;
  return kinds;
}

unsigned long gPassedOver = 0;

// Only local look-ups here: an error handler must not wait for the server.
std::string RequestName(Display* display, int major) {
  char name[128] = "";
  const std::string number = std::to_string(major);
  XGetErrorDatabaseText(display, "XRequest", number.c_str(), "", name, sizeof name);
  return name[0] ? std::string(name) : "request " + number;
}

int PassOverError(Display* display, XErrorEvent* error) {
  ++gPassedOver;
  const ErrorKind kind{error->error_code, error->request_code, error->minor_code};
  if (!KindsReported().insert(kind).second) return 0;
  char text[160] = "";
  XGetErrorText(display, error->error_code, text, sizeof text);
  std::fprintf(stderr,
               "zeldemo: the X server refused %s (minor %d) with %s on resource 0x%lx; passed "
               "over, later errors of this kind are not reported\n",
               RequestName(display, error->request_code).c_str(), int(error->minor_code), text,
               static_cast<unsigned long>(error->resourceid));
  return 0;
}

// The connection to the server is gone (the server ended or the display was
// closed under us): nothing can be shown any more.  Xlib's default would
// call exit(), whose handlers free windows through the dead connection and
// re-enter this path from inside exit(); the process ends here at once.
int ConnectionLost(Display*) {
  static const char line[] = "zeldemo: the connection to the X server was lost; the program ends\n";
  [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, line, sizeof line - 1);
  _exit(1);
}

} // namespace

void KeepX11ErrorHandler() {
  XSetErrorHandler(PassOverError);
  XSetIOErrorHandler(ConnectionLost);
}

bool X11ErrorHandlerInPlace() {
  const XErrorHandler current = XSetErrorHandler(PassOverError);
  if (current != PassOverError) XSetErrorHandler(current);
  return current == PassOverError;
}

unsigned long X11ErrorsPassedOver() {
  return gPassedOver;
}

} // namespace zel::sys
