#pragma once
// The installer window, which is also the controller of the whole run: the download
// configuration it is started with, its skinned window ("xml\inst\wnd.xml") and the step flow
// from the welcome step through the download, the installation and the launch. Slow work runs
// on the window's worker thread (the download and installation engine, the launch, the licence
// page); every visible change made from there comes back to the UI thread as a posted closure.
//
// The class is split by job: web_inst_wnd.cpp (construction, configuration, hooks, notify map),
// web_inst_wnd_flow.cpp (welcome step, install button, custom panel, licence),
// web_inst_wnd_download_ui.cpp (the engine's steps on the download and installation pages),
// web_inst_wnd_location.cpp (install folder and space), web_inst_wnd_exit.cpp (closing, launch).
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "installer/config_record.h"
#include "installer/install_flow_ui.h"
#include "installer/package_download.h"
#include "installer/package_install.h"
#include "installer/posted_closure.h"
#include "platform/volumes.h"
#include "stats/http_reporter.h"
#include "stats/task_executor.h"
#include "ui/core/notify_pump.h"
#include "ui/core/window_impl_base.h"

namespace SkinUI {
class CControlUI;
class CFadeSequenceUI;
class CProgressUI;
class CRichEditUI;
class CTabLayoutUI;
}  // namespace SkinUI

class CWebInstWnd : public SkinUI::WindowImplBaseNew, public SkinUI::CNotifyPump, private IInstallFlowUi {
 public:
  static constexpr const wchar_t* kClassName = L"QuilloryInstWndCls";
  static constexpr const wchar_t* kSkinFile = L"xml\\inst\\wnd.xml";
  static constexpr const wchar_t* kTitle = L"Vellumo安装程序";
  // WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX.
  static constexpr std::uint32_t kStyle = SkinUI::kWsPopup | SkinUI::kWsSysMenu | SkinUI::kWsMinimizeBox;

  // The timer that refreshes the download page.
  static constexpr std::uintptr_t kProgressTimerId = 1024;
  static constexpr unsigned kProgressTimerPeriod = 1000;  // ms

  // Close codes (the first parameter of the close request).
  static constexpr std::uint32_t kCloseWithoutAsking = 1;  // finished, or the launch button
  static constexpr std::uint32_t kCloseAsking = 2;         // asks while "btn_close" is enabled

  // Statistics events the window sends (the engine sends 2901201, 2901202 and 2901300).
  enum : std::int32_t {
    kEventWindowReady = 2900001,
    kEventCloseClicked = 2900002,
    kEventWindowDestroyed = 2900003,
    kEventInstallClicked = 2901001,
    kEventCustomInstallChanged = 2901002,
    kEventBrowseClicked = 2901003,
    kEventDownloadsStarted = 2901200,
    kEventInstallFailed = 2901301,
    kEventInstallSucceeded = 901400,
    kEventLaunchClicked = 901401,
  };

  // The licence page "txt_lic"'s link opens.
  static constexpr const char* kLicenceUrl = "https://www.vellumo.example/licence.html";

  // No native window yet; the object may be destroyed without ever having one.
  CWebInstWnd();
  ~CWebInstWnd() override;

  // Fetches and parses the download configuration from the configuration server, synchronously.
  // The launch context's product, channel and version go into the query. True when the document
  // was fetched and accepted completely; otherwise the failure is logged at ERROR and the record
  // stays empty.
  bool RequestConfig();

  const ConfigRecord& config() const { return config_; }
  // Where the volume table is read from (tests use tables of their own). Set before Create.
  void SetVolumeSources(const platform::VolumeSources& sources) { volumeSources_ = sources; }

  // Hands `closure` to the UI thread: it runs there in posting order, one at a time; a closure
  // whose window is gone is destroyed without running. Any thread.
  void PostToUi(std::function<void()> closure);

  // ---- hooks of the window base, in its slot order ----------------------------------------------
  const wchar_t* WindowClassName() const override;
  // The native window is gone: the base's clean-up, then the quit message that ends the message
  // loop of the run (a window whose creation was refused ends no loop).
  void OnWindowDestroyed(platform::WindowHandle window) override;
  // The layout is built: starts the worker and the reporter, looks up the controls, starts the
  // slideshow, proposes the install folder, checks its space and reports the window.
  void OnInitialize() override;
  // The close request: asks before an unfinished installation is abandoned.
  std::intptr_t OnClose(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, bool& handled) override;
  // Stops running work: the transfer, the worker (a requested launch still happens), the
  // slideshow, the reporter.
  std::intptr_t OnDestroy(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, bool& handled) override;
  // Timer 1024 refreshes the download page.
  std::intptr_t OnTimer(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, bool& handled) override;
  // The system close command (Alt+F4, the window manager) becomes the window's own close.
  std::intptr_t OnSysCommand(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                             bool& handled) override;
  // A skin that gives no content refuses the creation: an empty window could not even be closed.
  std::intptr_t OnCreate(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, bool& handled) override;
  // Message 0x8400 runs a posted closure.
  std::intptr_t OnOtherMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                               bool& handled) override;
  std::wstring SkinFile() const override;
  // Enter and Escape do nothing in this window (the base would close it on Escape).
  std::intptr_t OnDefaultKey(std::uintptr_t key) override;

  // Notifications go through the notify map.
  void Notify(SkinUI::SkinNotify& msg) override;
  // The pre-message filter: Enter and Escape stop here, so they reach no control either (the
  // first tab stop, which has the focus from the start, is the minimise button).
  std::intptr_t MessageHandler(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                               bool& handled) override;

 protected:
  const SkinUI::NotifyMap* GetNotifyMap() const override;
  // The worker, for what a subclass runs beside the window's own work (tests keep it busy).
  TaskExecutor& Worker() { return worker_; }

 private:
  // ---- notification handlers, in the map's order ----------------------------------------------
  void OnClickClose(SkinUI::SkinNotify& msg);
  void OnClickMin(SkinUI::SkinNotify& msg);
  void OnClickInstall(SkinUI::SkinNotify& msg);
  void OnCustomInstallChanged(SkinUI::SkinNotify& msg);
  void OnLicenceLink(SkinUI::SkinNotify& msg);
  void OnLicenceChanged(SkinUI::SkinNotify& msg);
  void OnInstallPathChanged(SkinUI::SkinNotify& msg);
  void OnClickBrowse(SkinUI::SkinNotify& msg);
  void OnClickLaunch(SkinUI::SkinNotify& msg);
  void OnClickPause(SkinUI::SkinNotify& msg);
  void OnClickResume(SkinUI::SkinNotify& msg);
  void OnClickRedownload(SkinUI::SkinNotify& msg);

  // ---- welcome step (web_inst_wnd_flow.cpp) ----------------------------------------------------
  // Opens (819 x 698, "bg_dropdown") or closes (819 x 574, "bg") the custom-install panel; the
  // window keeps its top-left corner. "chk_custom_install" is not touched.
  void ShowCustomPanel(bool expanded);
  // "btn_go_step1" is enabled exactly when spaceOk and licenceAccepted.
  void UpdateInstallButton();

  // ---- install location (web_inst_wnd_location.cpp) --------------------------------------------
  // The space line, the install button and, when short of space, the panel forced open.
  void UpdateSpaceInfo();
  // Runs the window's messages, with the window ignoring input, until `fd` is readable (the
  // folder dialog has finished) or the window is gone. False when the loop ended for another
  // reason (the quit message, which is posted again).
  bool RunModalUntilReadable(int fd);

  // ---- download and installation pages (web_inst_wnd_download_ui.cpp) --------------------------
  void RefreshProgress();
  void InstallUiStart();
  void OnInstallFinished(std::uint32_t exitCode);
  // IInstallFlowUi: each step of the engine is one closure posted to the UI thread.
  void PostDownloadStarted() override;
  void PostTransferEnded() override;
  void PostTransferPaused() override;
  void PostTransferResumed() override;
  void PostDownloadFailed() override;
  void PostInstallUiStart() override;
  void PostInstallFinished(std::uint32_t exitCode) override;
  void ReportEvent(std::int32_t event) override;

  // ---- exit and launch (web_inst_wnd_exit.cpp) -------------------------------------------------
  // 1 on the finished page ("tab_main" 1 and "tab_bottom" 2), else 2.
  std::uint32_t CloseCode() const;
  // Worker (or the destruction hook): starts the installed program once, if it was asked for.
  void LaunchMainProgram();

  // Small helpers.
  SkinUI::CControlUI* Find(const wchar_t* name) const;
  // True when the check box of that name exists and is selected.
  bool IsSelected(const wchar_t* name) const;
  void SelectPage(SkinUI::CTabLayoutUI* tab, int page);
  void SetStyle(const wchar_t* control, const wchar_t* style);
  void SetProgressTimer(bool running);

  // ---- state of the run, in this order ---------------------------------------------------------
  ConfigRecord config_;
  TaskExecutor worker_;
  CHttpAsyncReporter reporter_;
  // The download state (totalBytes, completedBytes, tempDir, currentName, hashProvider, transfer,
  // tasks, currentTask, closing, pauseRequested, resumeRequested, paused, failureCount) lives in
  // the engine, which publishes what the UI thread reads.
  CPackageDownload download_{worker_, *this, [this] { install_.StartInstall(); }};
  CPackageInstall install_{worker_, *this, download_, config_};
  std::wstring installPath_;  // mirror of "edit_install_path"
  bool spaceOk_ = false;
  bool licenceAccepted_ = true;

  // Looked up once at initialisation; none when the skin lacks the control.
  SkinUI::CControlUI* lblDlPercent_ = nullptr;  // "lbl_dl_precent"
  SkinUI::CControlUI* lblDlSpeed_ = nullptr;
  SkinUI::CControlUI* lblDlStat_ = nullptr;
  SkinUI::CControlUI* lblDlSize_ = nullptr;
  SkinUI::CProgressUI* progDownload_ = nullptr;
  SkinUI::CControlUI* lblInstPercent_ = nullptr;  // "lbl_inst_precent": never written
  SkinUI::CRichEditUI* editInstallPath_ = nullptr;
  SkinUI::CTabLayoutUI* tabMain_ = nullptr;
  SkinUI::CTabLayoutUI* tabBottom_ = nullptr;
  SkinUI::CTabLayoutUI* tabDlOp_ = nullptr;

  platform::VolumeSources volumeSources_;
  bool created_ = false;          // the native window was created with its content
  bool installStarted_ = false;   // the install button was handled (it acts once)
  bool hashReady_ = false;        // the digest provider was acquired
  // The window that receives posted closures; set at initialisation (read by the worker).
  std::atomic<platform::WindowHandle> uiWindow_{nullptr};
  // The launch button asked for the program to be started and nobody has started it yet.
  std::atomic<bool> launchRequested_{false};
};
