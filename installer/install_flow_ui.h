#pragma once
// What the download and installation engine (CPackageDownload, CPackageInstall) asks of the
// installer window. The engine calls these on its worker thread; each Post* call is one step
// that the window applies on the UI thread by posting a closure (PostToUi), so the window sees
// them in exactly the order they were made. Nothing here may block.
#include <cstdint>

class IInstallFlowUi {
 public:
  // A transfer attempt starts (also when its file then turns out to be reused): "lbl_dl_stat"
  // style "lbl_dl_stat" ("下载中..."), "tab_dl_op" page 0 (pause), start timer 1024 (1000 ms).
  virtual void PostDownloadStarted() = 0;
  // The transfer returned: kill timer 1024.
  virtual void PostTransferEnded() = 0;
  // The transfer was paused: kill timer 1024, empty the text of "lbl_dl_speed".
  virtual void PostTransferPaused() = 0;
  // The transfer was resumed: start timer 1024 (1000 ms).
  virtual void PostTransferResumed() = 0;
  // A failure that is not retried: "lbl_dl_stat" style "lbl_dl_stat_err" ("下载失败"),
  // "tab_dl_op" page 2 (re-download).
  virtual void PostDownloadFailed() = 0;
  // Every file is present and verified: run InstallUiStart (disable "btn_close", "tab_bottom"
  // page 1, animate "seq_inst", collect the InstallFlags from the three checkboxes and hand them
  // to CPackageInstall::RunInstaller).
  virtual void PostInstallUiStart() = 0;
  // The package installer has ended (or could not be started, then with a non-zero code): run
  // OnInstallFinished(exitCode) (enable "btn_close", stop and reset "seq_inst"; 0: event 901400
  // and "tab_bottom" page 2; otherwise log "Installer exitcode:{}", "lbl_inst_stat" style
  // "lbl_inst_stat_err", remove the image of "seq_inst", event 2901301).
  virtual void PostInstallFinished(std::uint32_t exitCode) = 0;

  // A statistics event (never blocks): 2901201 (worker), 2901202 (UI thread), 2901300 (worker).
  // The window may hand events made on the worker to the UI thread first, so that the reporter,
  // which orders the reports of each posting thread only, sends them in the order they happened.
  virtual void ReportEvent(std::int32_t event) = 0;

 protected:
  ~IInstallFlowUi() = default;
};
