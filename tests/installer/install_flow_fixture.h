#pragma once
// The download and installation engine driven as the installer window drives it, against the
// local test server: a worker executor, a second executor standing for the UI thread, and a
// recording stand-in for the window.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "installer/config_record.h"
#include "installer/install_flow_ui.h"
#include "installer/package_download.h"
#include "installer/package_install.h"
#include "stats/task_executor.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_log.h"
#include "tests/support/test_server.h"

namespace testsupport {

// The window's side of IInstallFlowUi. Every call is recorded when it is made, as one word:
//   "started" "ended" "paused" "resumed" "failed" "install-ui" "finished:<code>" "event:<code>"
// so the record is the order in which the engine made them. A Post* call made off the worker
// thread is recorded as a fault. "install-ui" hands `flags` to RunInstaller from the UI thread,
// as the window's InstallUiStart does.
class RecordingUi : public IInstallFlowUi {
 public:
  explicit RecordingUi(TaskExecutor& worker);
  ~RecordingUi();

  void PostDownloadStarted() override { Posted("started"); }
  void PostTransferEnded() override { Posted("ended"); }
  void PostTransferPaused() override { Posted("paused"); }
  void PostTransferResumed() override { Posted("resumed"); }
  void PostDownloadFailed() override { Posted("failed"); }
  void PostInstallUiStart() override;
  void PostInstallFinished(std::uint32_t exitCode) override { Posted("finished:" + std::to_string(exitCode)); }
  void ReportEvent(std::int32_t event) override { Record("event:" + std::to_string(event)); }

  std::vector<std::string> Calls() const;
  std::size_t Count(const std::string& call) const;
  // Waits until `call` has been made `times` times; false when the time ran out.
  bool WaitForCall(const std::string& call, std::size_t times = 1,
                   std::chrono::milliseconds timeout = std::chrono::seconds(60)) const;
  std::vector<std::string> faults() const;
  // Runs nothing more on the stand-in UI thread.
  void StopUiThread() { uiThread_.Stop(); }

  // Runs on the calling thread right after a call has been recorded (the worker, for Post*).
  std::function<void(const std::string&)> onCall;
  CPackageInstall* install = nullptr;
  std::uint32_t flags = 7;

 private:
  void Posted(const std::string& call);
  void Record(const std::string& call);

  TaskExecutor& worker_;
  TaskExecutor uiThread_;
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<std::string> calls_;
  std::vector<std::string> faults_;
};

class InstallFlowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Puts `bytes` on the server; the url that serves them.
  std::string Serve(const std::string& name, const std::string& bytes);
  std::string Url(const std::string& name) const;
  static std::string Md5(const std::string& bytes);
  // The package installer announced by the configuration.
  void SetInstaller(const std::string& url, const std::string& md5, std::uint64_t size,
                    const std::wstring& display = L"安装包");
  // Acquires the provider, makes the download folder, builds the list and starts the worker
  // and the downloads, as the install button does.
  void StartInstallButton();
  // Waits until the worker has finished what it was given so far.
  void WaitForWorker();
  std::vector<std::string> NewRequests(const std::string& name) const;

  static std::unique_ptr<TempDir> site_;
  static std::unique_ptr<TestServer> server_;
  std::string prefix_;  // this test's folder on the server
  TempDir dir_;
  std::filesystem::path installPath_;
  ConfigRecord config_;
  TaskExecutor worker_;
  RecordingUi ui_{worker_};
  CPackageDownload download_{worker_, ui_, [this] { install_.StartInstall(); }};
  CPackageInstall install_{worker_, ui_, download_, config_};
  LogMark log_;
};

}  // namespace testsupport
