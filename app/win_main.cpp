#include "app/win_main.h"

#include "stats/launch_context.h"
#include "app/logging_setup.h"
#include "app/single_instance.h"
#include "common/base/log.h"
#include "installer/web_inst_wnd.h"
#include "ui/controls/drawing_services.h"
#include "ui/controls/register_controls.h"
#include "ui/controls/skin_archive_registry.h"

namespace {

// Everything between a secured single instance and the release of the guard. COM and GDI+ have
// no counterpart on this platform: drawing and the shell are set up by the pieces that use them.
void RunInstaller() {
  TheLaunchContext().Init();
  // The UI framework's resources: every skin file is read through the skin archive registry from
  // here on (loose files until the skin archive is registered).
  SkinUI::SkinArchiveRegistry::Install();
  // Drawing, images and fonts for every window from here on.
  SkinUI::InstallDrawingServices();
  // The skins' control elements ("Button", "CheckBox", "RichEdit", ...) for every build from here.
  SkinUI::RegisterControls();
  CWebInstWnd installer;
  if (!installer.RequestConfig()) {
    // The skinned start-up error box takes this place; without a configuration the run ends.
    LOG_ERROR << "Zephrin初始化错误: 请检查网络或硬件设备是否正常";
    return;
  }
  // Next, in this order: the skin archive; the window, centred and shown; the message loop; then
  // the release of the skin archives and the destruction of the window object.
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
