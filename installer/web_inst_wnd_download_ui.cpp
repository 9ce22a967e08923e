// The download and installation pages: what the engine's steps show, the progress refresh, and
// the pause, resume and re-download buttons. The engine calls the Post* operations on the worker
// thread; each becomes one closure on the UI thread, so the pages change in the engine's order.
#include <fmt/format.h>

#include <thread>

#include "common/base/log.h"
#include "installer/web_inst_wnd.h"
#include "ui/controls/progress_ui.h"
#include "ui/controls/sequence_ui.h"
#include "ui/core/control_ui.h"
#include "ui/core/tab_layout_ui.h"

namespace {

// Pages of "tab_dl_op" and "tab_bottom".
constexpr int kPauseButtonPage = 0;
constexpr int kResumeButtonPage = 1;
constexpr int kRedownloadButtonPage = 2;
constexpr int kInstallingPage = 1;
constexpr int kFinishedPage = 2;

}  // namespace

void CWebInstWnd::PostDownloadStarted() {
  PostToUi([this] {
    SetStyle(L"lbl_dl_stat", L"lbl_dl_stat");
    SelectPage(tabDlOp_, kPauseButtonPage);
    SetProgressTimer(true);
  });
}

void CWebInstWnd::PostTransferEnded() {
  PostToUi([this] { SetProgressTimer(false); });
}

void CWebInstWnd::PostTransferPaused() {
  PostToUi([this] {
    SetProgressTimer(false);
    if (lblDlSpeed_ != nullptr) lblDlSpeed_->SetText(L"");
  });
}

void CWebInstWnd::PostTransferResumed() {
  PostToUi([this] { SetProgressTimer(true); });
}

void CWebInstWnd::PostDownloadFailed() {
  PostToUi([this] {
    SetStyle(L"lbl_dl_stat", L"lbl_dl_stat_err");
    SelectPage(tabDlOp_, kRedownloadButtonPage);
  });
}

void CWebInstWnd::PostInstallUiStart() {
  PostToUi([this] { InstallUiStart(); });
}

void CWebInstWnd::PostInstallFinished(std::uint32_t exitCode) {
  PostToUi([this, exitCode] { OnInstallFinished(exitCode); });
}

void CWebInstWnd::ReportEvent(std::int32_t event) {
  // The reporter keeps the order of one posting thread only. The engine's events from the worker
  // go out from the UI thread like the window's own, so the server sees them in the order they
  // happened (2901200 before 2901300, however fast the download). While the window is closing
  // the closures would no longer run: the event is sent from here.
  if (std::this_thread::get_id() == worker_.WorkerId() && !download_.closing()) {
    PostToUi([this, event] { reporter_.ReportEvent(event); });
    return;
  }
  reporter_.ReportEvent(event);
}

void CWebInstWnd::RefreshProgress() {
  const DownloadProgressView view = download_.RefreshProgress();
  if (lblDlSpeed_ != nullptr) lblDlSpeed_->SetText(view.speed);
  if (progDownload_ != nullptr) progDownload_->SetValue(view.barValue);
  if (lblDlSize_ != nullptr) lblDlSize_->SetText(view.size);
  if (lblDlPercent_ != nullptr) lblDlPercent_->SetText(view.percent);
  if (view.status && lblDlStat_ != nullptr) lblDlStat_->SetText(*view.status);
}

void CWebInstWnd::OnClickPause(SkinUI::SkinNotify&) {
  if (download_.OnClickPause()) SelectPage(tabDlOp_, kResumeButtonPage);
}

void CWebInstWnd::OnClickResume(SkinUI::SkinNotify&) {
  if (download_.OnClickResume()) SelectPage(tabDlOp_, kPauseButtonPage);
}

void CWebInstWnd::OnClickRedownload(SkinUI::SkinNotify&) {
  // Without a digest provider every file would fail again at once.
  if (!hashReady_) hashReady_ = download_.AcquireHashProvider();
  download_.OnClickRedownload();
}

void CWebInstWnd::InstallUiStart() {
  if (SkinUI::CControlUI* close = Find(L"btn_close")) close->SetEnabled(false);
  SelectPage(tabBottom_, kInstallingPage);
  if (auto* bar = dynamic_cast<SkinUI::CSequenceUI*>(Find(L"seq_inst"))) bar->Start();
  install_.RunInstaller(InstallFlags(IsSelected(L"chk_desktop_shortcut"), IsSelected(L"chk_startmenu_shortcut"),
                                     IsSelected(L"chk_auto_start")));
}

void CWebInstWnd::OnInstallFinished(std::uint32_t exitCode) {
  if (SkinUI::CControlUI* close = Find(L"btn_close")) close->SetEnabled(true);
  auto* bar = dynamic_cast<SkinUI::CSequenceUI*>(Find(L"seq_inst"));
  if (bar != nullptr) bar->Stop(true);
  if (exitCode == 0) {
    reporter_.ReportEvent(kEventInstallSucceeded);
    SelectPage(tabBottom_, kFinishedPage);
    return;
  }
  LOG_ERROR << fmt::format("Installer exitcode:{}", exitCode);
  SetStyle(L"lbl_inst_stat", L"lbl_inst_stat_err");
  // Without its frames the bar shows its red background colour.
  if (bar != nullptr) bar->SetBkImage(L"");
  reporter_.ReportEvent(kEventInstallFailed);
}
