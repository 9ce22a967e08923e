#include "app/win_main.h"

#include <memory>
#include <string>

#include "app/logging_setup.h"
#include "app/single_instance.h"
#include "common/base/log.h"
#include "installer/message_box_wnd.h"
#include "installer/web_inst_wnd.h"
#include "platform/text_encoding.h"
#include "platform/window_system.h"
#include "stats/launch_context.h"
#include "ui/controls/drawing_services.h"
#include "ui/controls/register_controls.h"
#include "ui/controls/skin_archive_registry.h"
#include "ui/core/skin_host.h"

namespace {

// The UI framework's services for the whole run: the skin files' reader, drawing (canvas, images,
// fonts), the control classes and the window system on the X display. COM and GDI+ have no
// counterpart on this platform. None when no display can be opened (or it offers no 32-bit
// visual): the run then shows no window.
std::unique_ptr<platform::IWindowSystem> SetUpUi() {
  // Every skin file is read through the skin archive registry from here on (loose files until the
  // skin archive is registered).
  SkinUI::SkinArchiveRegistry::Install();
  SkinUI::InstallDrawingServices();
  SkinUI::RegisterControls();
  std::string error;
  std::unique_ptr<platform::IWindowSystem> windows = platform::CreateX11WindowSystem(nullptr, &error);
  if (!windows) {
    LOG_ERROR << "no window can be shown: " << error;
  }
  platform::SetWindowSystem(windows.get());
  return windows;
}

// Why the run ends without the installer window: the skinned box, or the log where no box can
// be shown.
void ShowStartupFailure() {
  const wchar_t* const caption = L"Zephrin初始化错误";
  const wchar_t* const text = L"请检查网络或硬件设备是否正常";
  if (platform::WindowSystem() == nullptr) {
    LOG_ERROR << platform::WideToUtf8(caption) << ": " << platform::WideToUtf8(text);
    return;
  }
  MessageBoxSpec spec;
  spec.caption = caption;
  spec.text = text;
  spec.buttons[0] = L"确认";
  spec.defaultButton = 0;
  spec.closeEnabled = true;
  ShowMessageBox(spec);  // logs the failure itself when the box cannot be shown
}

// Creates, centres and shows the installer window and runs the messages until it is gone. False
// when the window cannot be created.
bool RunWindow(CWebInstWnd& installer) {
  installer.SetSkinArchive(SkinUI::WindowImplBaseNew::kArchiveResource, L"", kSkinArchiveId, kSkinArchiveType, true);
  if (installer.Create(nullptr, CWebInstWnd::kTitle, nullptr, CWebInstWnd::kStyle, 0) == nullptr) return false;
  installer.CenterOnOwner();
  installer.ShowWindow(true, true);
  SkinUI::CSkinHost::MessageLoop();
  return true;
}

// Everything between a secured single instance and the release of the guard.
void RunInstaller() {
  TheLaunchContext().Init();
  const std::unique_ptr<platform::IWindowSystem> windows = SetUpUi();
  {
    CWebInstWnd installer;
    if (!installer.RequestConfig()) {
      ShowStartupFailure();
    } else {
      if (!RunWindow(installer)) ShowStartupFailure();
      SkinUI::SkinArchiveRegistry::Instance().ReleaseAll();
    }
  }
  platform::SetWindowSystem(nullptr);
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
