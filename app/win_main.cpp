#include "app/win_main.h"

#include "app/logging_setup.h"
#include "app/single_instance.h"
#include "common/base/log.h"
#include "ui/controls/skin_archive_registry.h"

namespace {

// Everything between a secured single instance and the release of the guard. COM and GDI+ have
// no counterpart on this platform: drawing and the shell are set up by the pieces that use them.
void RunInstaller() {
  // Every skin file is read through the skin archive registry from here on (loose files until
  // the skin archive is registered).
  SkinUI::SkinArchiveRegistry::Install();

  // Next, in this order: the launch context; the installer window object; the configuration
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
