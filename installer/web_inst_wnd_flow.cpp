// The welcome step: the licence line, the custom-install panel and the install button that
// starts the downloads and moves the window to the progress step.
#include "common/base/log.h"
#include "installer/web_inst_wnd.h"
#include "platform/process_launch.h"
#include "platform/text_encoding.h"
#include "ui/core/control_ui.h"
#include "ui/core/tab_layout_ui.h"

void CWebInstWnd::OnLicenceChanged(SkinUI::SkinNotify&) {
  licenceAccepted_ = IsSelected(L"chk_lic");
  UpdateInstallButton();
}

void CWebInstWnd::UpdateInstallButton() {
  if (SkinUI::CControlUI* button = Find(L"btn_go_step1")) button->SetEnabled(spaceOk_ && licenceAccepted_);
}

void CWebInstWnd::OnLicenceLink(SkinUI::SkinNotify&) {
  // Starting the desktop's browser is slow work like any other: the worker does it.
  worker_.Post([] {
    if (std::error_code ec = platform::OpenUrlAsDesktopUser(kLicenceUrl)) {
      LOG_ERROR << "opening the licence page failed: " << ec.message();
    }
  });
}

void CWebInstWnd::OnCustomInstallChanged(SkinUI::SkinNotify&) {
  reporter_.ReportEvent(kEventCustomInstallChanged);
  ShowCustomPanel(IsSelected(L"chk_custom_install"));
}

void CWebInstWnd::ShowCustomPanel(bool expanded) {
  const SkinUI::SkinSize size = expanded ? host_.MaxTrackSize() : host_.InitialSize();
  if (SkinUI::CControlUI* panel = Find(L"vl_custom_install")) panel->SetVisible(expanded);
  // Only the size changes: the top-left corner stays where it is, and the layout runs at the new
  // size before this returns.
  if (platform::IWindowSystem* ws = platform::WindowSystem(); ws != nullptr && handle_ != nullptr)
    ws->SetWindowPos(handle_, 0, 0, size.cx, size.cy,
                     platform::kSwpNoMove | platform::kSwpNoZOrder | platform::kSwpNoActivate |
                         platform::kSwpFrameChanged);
  if (SkinUI::CControlUI* root = host_.Root()) root->SetAttribute(L"style", expanded ? L"bg_dropdown" : L"bg");
}

void CWebInstWnd::OnClickInstall(SkinUI::SkinNotify&) {
  // One run per window: a second click queued behind the first finds the welcome page gone.
  if (installStarted_) return;
  installStarted_ = true;
  reporter_.ReportEvent(kEventInstallClicked);
  ShowCustomPanel(false);
  // A provider that cannot be had ends the downloads at their first file in the Download failed
  // state (the engine checks nothing without it); the re-download button asks for it again.
  hashReady_ = download_.AcquireHashProvider();
  download_.CreateTempDir(platform::PathFromWide(installPath_));
  download_.AddTasks(config_);
  download_.StartDownload();
  SelectPage(tabMain_, 1);
  reporter_.ReportEvent(kEventDownloadsStarted);
}
