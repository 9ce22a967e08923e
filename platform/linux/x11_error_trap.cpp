#include "platform/linux/x11_error_trap.h"

#include <atomic>

namespace platform {
namespace {

std::atomic<unsigned long> g_errors{0};

int CountXError(Display*, XErrorEvent*) {
  g_errors.fetch_add(1);
  return 0;
}

}  // namespace

void InstallNonFatalXErrorHandler() { XSetErrorHandler(CountXError); }

X11ErrorTrap::X11ErrorTrap(Display* display) : display_(display), before_(g_errors.load()) {}

bool X11ErrorTrap::Failed() {
  XSync(display_, False);
  return g_errors.load() != before_;
}

}  // namespace platform
