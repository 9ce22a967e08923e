#pragma once
// Finding and raising another program's top-level window on the desktop.
#include <string>

namespace platform {

enum class RaiseResult {
  kNotFound,  // no desktop, or no top-level window of that class
  kRaised,    // shown if it was hidden, then asked to become the active window
};

// Looks for a top-level window whose window class is `windowClass` (any title). When found:
// maps it if it is withdrawn (a minimised or visible one is not mapped again), then activates it
// and brings it to the front. The window manager's client list is searched first, then the whole
// window tree.
RaiseResult RaiseWindowOfClass(const std::string& windowClass);

}  // namespace platform
