#include "app/win_main.h"

#include "app/launch_context.h"
#include "app/logging_setup.h"
#include "app/single_instance.h"
#include "common/base/log.h"

namespace {

// Everything between a secured single instance and the release of the guard. COM and GDI+ have
// no counterpart on this platform: drawing and the shell are set up by the pieces that use them.
void RunInstaller() {
  TheLaunchContext().Init();
  // Next, in this order: the installer window object; the configuration
  // request (a failure shows the start-up error box and ends the run); the skin archive; the
  // window, centred and shown; the message loop; then the release of the skin archives and the
  // destruction of the window object.
}

}  // namespace

int wWinMain() {
  InitLogging();

  platform::NamedEvent instanceEvent;
  if (!CheckSingleInstance(instanceEvent)) {
    LOG_WARN << "App instance exist";
  } else {
    RunInstaller();
  }

  instanceEvent.Close();
  return 0;
}
