#pragma once
// X errors must never end the program (Xlib's default handler exits): a window can vanish between
// a request and its reply, and a request can be refused (shared memory on a remote display). The
// handler counts errors so a caller can ask whether its requests failed.
#include <X11/Xlib.h>

namespace platform {

// Installs the counting handler (process-wide, as Xlib's handler is).
void InstallNonFatalXErrorHandler();

// Whether any X error arrived for requests made while it lived (it syncs to find out).
class X11ErrorTrap {
 public:
  explicit X11ErrorTrap(Display* display);
  bool Failed();

 private:
  Display* display_;
  unsigned long before_;
};

}  // namespace platform
