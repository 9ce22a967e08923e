#include "installer/package_install.h"

#include <fmt/format.h>
#include <fmt/xchar.h>

#include <system_error>
#include <thread>
#include <vector>

#include "common/base/log.h"
#include "platform/child_process.h"
#include "platform/file.h"
#include "platform/text_encoding.h"
#include "stats/launch_context.h"

std::uint32_t InstallFlags(bool desktopShortcut, bool startMenuShortcut, bool autoStart) {
  return (desktopShortcut ? kFlagDesktopShortcut : 0) | (startMenuShortcut ? kFlagStartMenuShortcut : 0) |
         (autoStart ? kFlagAutoStart : 0);
}

std::string PathQuoteSpaces(const std::string& path) {
  return path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
}

namespace {

std::wstring CfgTargetPath(std::wstring path) {
  if (path.starts_with(L".")) path.erase(0, 1);
  if (path.starts_with(L"\\") || path.starts_with(L"/")) path.erase(0, 1);
  return path;
}

}  // namespace

std::string CfgDatContent(const ConfigRecord& config) {
  std::string content;
  for (const ExternalItem& item : config.external) {
    if (item.resource.empty()) continue;
    std::wstring line = fmt::format(L"{}#{}#{}\r\n", platform::AnsiToWide(DownloadFileName(item.resource[0].url)),
                                    CfgTargetPath(item.target_path), item.type);
    content += platform::WideToAnsi(line);
  }
  return content;
}

CPackageInstall::CPackageInstall(TaskExecutor& worker, IInstallFlowUi& ui, const CPackageDownload& download,
                                 const ConfigRecord& config)
    : worker_(worker), ui_(ui), download_(download), config_(config) {}

void CPackageInstall::StartInstall() {
  ui_.ReportEvent(kEventInstallStarts);
  ui_.PostInstallUiStart();
}

std::filesystem::path CPackageInstall::CreateCfgDatFile() {
  const std::filesystem::path path = download_.tempDir() / "cfg.dat";
  const std::string content = CfgDatContent(config_);
  std::error_code ec;
  if (content.empty()) {
    // The package installer finds cfg.dat by its location: one left by an earlier kept or failed
    // run would announce files this run does not have.
    if (std::filesystem::exists(std::filesystem::symlink_status(path, ec)) && !std::filesystem::remove(path, ec)) {
      LOG_ERROR << "remove old cfg.dat failed, err:" << ec.value();
    }
    return path;
  }
  LOG_INFO << path.string();
  platform::File file = platform::File::CreateExclusiveForWrite(path);
  if (!file.IsOpen()) {
    LOG_ERROR << "create tmp file failed";
    return path;
  }
  if (!file.WriteAll(content.data(), content.size())) {
    LOG_ERROR << "write file failed, err:" << file.Error();
  }
  return path;
}

void CPackageInstall::RunInstaller(std::uint32_t flags) {
  if (std::this_thread::get_id() != worker_.WorkerId()) {
    worker_.Post([this, flags] { RunInstaller(flags); });
    return;
  }
  const std::filesystem::path cfg = CreateCfgDatFile();
  std::uint32_t exitCode = kInstallerNotStarted;
  if (!download_.HasInstallerTask()) {
    // Without one the first task would be a resource file, which is not ours to run.
    LOG_ERROR << "no package installer to run";
  } else {
    const std::string exe = download_.tasks().front().localPath.string();
    const std::string dir = download_.installPath().string();
    const unsigned unionId = TheLaunchContext().unionId;
    LOG_INFO << fmt::format("{} p={} u={} f={}", PathQuoteSpaces(exe), PathQuoteSpaces(dir), unionId, flags);
    // Verified by now; the download wrote it without execute permission.
    platform::File package = platform::File::OpenExclusiveForRead(exe);
    if (package.IsOpen()) package.MakeExecutable();
    package.Close();
    platform::ChildExit child = platform::RunChildAndWait(
        {exe, "p=" + dir, fmt::format("u={}", unionId), fmt::format("f={}", flags)});
    if (child.started) {
      exitCode = child.exitCode;
    } else {
      LOG_ERROR << "start installer failed, err:" << child.startError;
    }
  }
  ui_.PostInstallFinished(exitCode);
  if (exitCode == 0 && !HasKeepSwitch()) DeleteDownloads(cfg);
}

void CPackageInstall::DeleteDownloads(const std::filesystem::path& cfg) {
  std::error_code ec;
  auto removeFile = [&ec](const std::filesystem::path& p) {
    // Files only: a folder that happens to carry a file's name is not ours to remove.
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(p, ec))) std::filesystem::remove(p, ec);
  };
  removeFile(cfg);
  for (const DownloadTask& task : download_.tasks()) removeFile(task.localPath);
  if (std::filesystem::is_directory(std::filesystem::symlink_status(download_.tempDir(), ec)))
    std::filesystem::remove(download_.tempDir(), ec);  // only when nothing else is left in it
}
