#pragma once
// The hand-over to the downloaded package installer: the hand-off file cfg.dat that names the
// extra resource files beside it, the package installer run with the install folder, channel and
// options, the wait for it, and the clean-up of the downloads after a success (unless "-k").
//
// The window owns one beside its CPackageDownload:
//   CPackageInstall install_{worker_, *this, download_, config_};
//   [worker, last file done]  install_.StartInstall();  -> ui.PostInstallUiStart()
//   [InstallUiStart, UI]      install_.RunInstaller(InstallFlags(desktop, startMenu, autoStart));
//   -> ui.PostInstallFinished(exitCode)
#include <cstdint>
#include <filesystem>
#include <string>

#include "installer/config_record.h"
#include "installer/install_flow_ui.h"
#include "installer/package_download.h"
#include "stats/task_executor.h"

// InstallFlags bits, from the three checkboxes of the custom-install panel.
inline constexpr std::uint32_t kFlagDesktopShortcut = 1;
inline constexpr std::uint32_t kFlagStartMenuShortcut = 2;
inline constexpr std::uint32_t kFlagAutoStart = 4;

// The exit code reported when there was no package installer to run or it could not be started.
inline constexpr std::uint32_t kInstallerNotStarted = 0xFFFFFFFFu;

std::uint32_t InstallFlags(bool desktopShortcut, bool startMenuShortcut, bool autoStart);

// The path as the command line shows it: in double quotes when it contains a space.
std::string PathQuoteSpaces(const std::string& path);

// cfg.dat's content: per external item with at least one resource, in order,
// "{file name of its first resource}#{target_path without one leading "." and then one leading
// "\" or "/"}#{type}\r\n", in the locale's character set. Empty without such items.
std::string CfgDatContent(const ConfigRecord& config);

class CPackageInstall {
 public:
  static constexpr std::int32_t kEventInstallStarts = 2901300;

  CPackageInstall(TaskExecutor& worker, IInstallFlowUi& ui, const CPackageDownload& download,
                  const ConfigRecord& config);
  CPackageInstall(const CPackageInstall&) = delete;
  CPackageInstall& operator=(const CPackageInstall&) = delete;

  // Worker: every file is in place. Event 2901300, then the installation page.
  void StartInstall();
  // Writes cfg.dat, runs the package installer "<package> p=<install folder> u=<channel>
  // f=<flags>" and waits for it, posts its exit code, and after exit code 0 without "-k"
  // deletes cfg.dat, every downloaded file and the download folder when that is then empty.
  // No package installer in the configuration, or one that cannot be started, is a failed
  // installation (kInstallerNotStarted) that keeps every file. Called elsewhere than on the
  // worker it hands itself to the worker and returns at once.
  void RunInstaller(std::uint32_t flags);
  // Writes the hand-off file and returns its path (download folder + "cfg.dat"), also when it
  // was not written. With nothing to announce, a cfg.dat left by an earlier run is deleted.
  std::filesystem::path CreateCfgDatFile();

 private:
  void DeleteDownloads(const std::filesystem::path& cfg);

  TaskExecutor& worker_;
  IInstallFlowUi& ui_;
  const CPackageDownload& download_;
  const ConfigRecord& config_;
};
