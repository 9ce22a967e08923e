#pragma once
#include "platform/named_event.h"

// Main-window class of the installed application, raised when another instance runs.
extern const char* const kInstalledAppWindowClass;

// True when this process may run. The guard stays in `event` in every case; the caller closes
// it at exit. When another process holds the guard, the installed application's main window
// (if any) is shown and brought to the front.
bool CheckSingleInstance(platform::NamedEvent& event);
