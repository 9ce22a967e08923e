#pragma once
// The download of the package installer and the resource files, one after another, on the
// installer window's worker thread: each file is reused when a verified copy is already there,
// otherwise streamed to "<file>.dl.tmp" while it is hashed, checked against its announced size
// and MD5, and renamed to its final name. Transport failures are retried within a budget of 8
// per run; other failures stop at the re-download page. When the last file is in place,
// `startInstall` runs (on the worker).
//
// The window owns one, wired like this (the UI-thread calls in brackets):
//   CPackageDownload download_{worker_, *this, [this] { install_.StartInstall(); }};
//   [OnClickInstall]   download_.AcquireHashProvider(); download_.CreateTempDir(installPath);
//                      download_.AddTasks(config_); download_.StartDownload();
//   [OnTimer 1024]     DownloadProgressView v = download_.RefreshProgress(); ... labels ...
//   [OnClickPause]     if (download_.OnClickPause()) tab_dl_op page 1;
//   [OnClickResume]    if (download_.OnClickResume()) tab_dl_op page 0;
//   [OnClickRedownload] download_.OnClickRedownload();
//   [OnDestroy]        download_.SetClosing(); then worker_.Stop();
// Every visible change reaches the window through IInstallFlowUi, in the order it happens.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/base/hash_algorithm.h"
#include "common/base/http_download_session.h"
#include "installer/config_record.h"
#include "installer/download_progress.h"
#include "installer/download_task.h"
#include "installer/install_flow_ui.h"
#include "stats/task_executor.h"

class CPackageDownload {
 public:
  // Transport failures per run (the re-download button starts a new count).
  static constexpr int kFailureBudget = 8;
  static constexpr std::int32_t kEventTransferFailed = 2901201;
  static constexpr std::int32_t kEventRedownload = 2901202;

  CPackageDownload(TaskExecutor& worker, IInstallFlowUi& ui, std::function<void()> startInstall);
  CPackageDownload(const CPackageDownload&) = delete;
  CPackageDownload& operator=(const CPackageDownload&) = delete;

  // --- UI thread, before the downloads start (the install button) ---

  // Acquires the digest provider every file check uses. False after a logged failure: the
  // downloads then end at their first file in the Download failed state.
  bool AcquireHashProvider();
  // The download folder: `installPath` followed by "_tmp", created with every missing parent
  // (an existing folder is fine, errors are ignored: creating the first file then fails).
  void CreateTempDir(const std::filesystem::path& installPath);
  // Adds one task: nothing when `url` is empty; the file name is the url's text after its last
  // "/", in the download folder; the digest is decoded from `md5Text`.
  void AddDownloadTask(const std::wstring& display, const std::string& url, const std::string& md5Text,
                       std::uint64_t size);
  // The whole list from the configuration: the package installer, then every resource of every
  // external item in order (their size 0: checked by digest only). totalBytes = the installer's
  // size plus every external item's size.
  void AddTasks(const ConfigRecord& config);

  // Downloads from the current task on; called elsewhere than on the worker it hands itself to
  // the worker and returns at once.
  void StartDownload();

  // --- UI thread, while downloading ---

  // Asks the running transfer to pause (applied at its next progress call). False, doing
  // nothing, when no transfer runs; true: show the resume button.
  bool OnClickPause();
  // Asks it to continue. False when no transfer runs; true: show the pause button.
  bool OnClickResume();
  // The re-download button: event 2901202, a fresh failure budget, and the download goes on
  // with the task that failed. Does nothing unless the downloads stopped at a failure (so a
  // double click starts one download, not two).
  void OnClickRedownload();
  // The texts of the download page from the published counters.
  DownloadProgressView RefreshProgress() const;
  // The window is going: the running transfer ends at its next block or progress call (also
  // while paused or while the server sends nothing), and no further attempt starts.
  void SetClosing() { closing_.store(true); }

  // --- readers ---
  const std::vector<DownloadTask>& tasks() const { return tasks_; }
  // True when the first task is the package installer (the configuration named one).
  bool HasInstallerTask() const { return hasInstallerTask_; }
  const std::filesystem::path& installPath() const { return installPath_; }
  const std::filesystem::path& tempDir() const { return tempDir_; }
  std::uint64_t totalBytes() const { return totalBytes_; }
  std::uint64_t completedBytes() const { return completedBytes_.load(); }
  int failureCount() const { return failureCount_.load(); }
  bool paused() const { return paused_.load(); }
  bool closing() const { return closing_.load(); }

 private:
  enum class Outcome { done, retryable, fatal };

  Outcome Transfer(const DownloadTask& task);
  bool OnProgress(KwrBase::HttpTransfer& transfer);
  void FinishTask(const DownloadTask& task);
  void PublishTransfer(std::shared_ptr<KwrBase::HttpTransfer> transfer);
  bool TransferRuns() const;

  TaskExecutor& worker_;
  IInstallFlowUi& ui_;
  std::function<void()> startInstall_;

  KwrBase::HashProv hashProvider_;
  std::filesystem::path installPath_;
  std::filesystem::path tempDir_;
  std::vector<DownloadTask> tasks_;  // built before the first StartDownload, never changed after
  bool hasInstallerTask_ = false;
  std::size_t currentTask_ = 0;      // worker only
  std::uint64_t totalBytes_ = 0;     // set before the downloads start

  // Shared with the UI thread.
  std::atomic<std::uint64_t> completedBytes_{0};
  std::atomic<int> failureCount_{0};
  std::atomic<bool> closing_{false};
  std::atomic<bool> paused_{false};
  KwrBase::HttpPauseControl pauseControl_;  // pauseRequested, resumeRequested
  std::atomic<bool> stoppedAtFailure_{false};
  mutable std::mutex stateMutex_;          // guards the two members below
  std::wstring currentName_;               // display name of the file being downloaded
  std::shared_ptr<KwrBase::HttpTransfer> transfer_;  // the running transfer, empty between transfers
};
