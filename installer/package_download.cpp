#include "installer/package_download.h"

#include <system_error>
#include <thread>
#include <utility>

#include "common/base/log.h"
#include "installer/local_package.h"
#include "installer/package_stream.h"
#include "platform/file.h"

CPackageDownload::CPackageDownload(TaskExecutor& worker, IInstallFlowUi& ui, std::function<void()> startInstall)
    : worker_(worker), ui_(ui), startInstall_(std::move(startInstall)) {}

bool CPackageDownload::AcquireHashProvider() {
  try {
    return hashProvider_.AcquireContext();
  } catch (const std::exception& e) {
    LOG_ERROR << e.what();
    return false;
  }
}

void CPackageDownload::CreateTempDir(const std::filesystem::path& installPath) {
  installPath_ = installPath;
  tempDir_ = installPath;
  tempDir_ += "_tmp";
  std::error_code ec;
  std::filesystem::create_directories(tempDir_, ec);
}

void CPackageDownload::AddDownloadTask(const std::wstring& display, const std::string& url,
                                       const std::string& md5Text, std::uint64_t size) {
  if (url.empty()) return;
  DownloadTask task;
  task.display = display;
  task.localPath = tempDir_ / DownloadFileName(url);
  task.url = url;
  task.size = size;
  task.md5 = DecodeMd5Text(md5Text);
  tasks_.push_back(std::move(task));
}

void CPackageDownload::AddTasks(const ConfigRecord& config) {
  const PackageInfo& installer = config.installer;
  AddDownloadTask(installer.display, installer.url, installer.md5, installer.size);
  hasInstallerTask_ = !tasks_.empty();
  totalBytes_ += installer.size;
  for (const ExternalItem& item : config.external) {
    for (const ResourceRef& resource : item.resource) AddDownloadTask(item.display, resource.url, resource.md5, 0);
    totalBytes_ += item.size;
  }
}

void CPackageDownload::StartDownload() {
  if (std::this_thread::get_id() != worker_.WorkerId()) {
    worker_.Post([this] { StartDownload(); });
    return;
  }
  // One attempt per pass; a retry is another pass over the same task. (A loop, not the
  // recursion the steps suggest: the budget and the list bound it either way.)
  while (currentTask_ < tasks_.size()) {
    const DownloadTask& task = tasks_[currentTask_];
    ui_.PostDownloadStarted();
    LOG_INFO << "url:" << task.url;
    if (!HasLocalFile(task.localPath, static_cast<std::uint32_t>(task.size), task.md5, hashProvider_)) {
      Outcome outcome = Transfer(task);
      if (outcome != Outcome::done) {
        ui_.ReportEvent(kEventTransferFailed);
        // A window that is closing would only abort the retry again.
        if (outcome == Outcome::retryable && ++failureCount_ < kFailureBudget && !closing_.load()) continue;
        stoppedAtFailure_.store(true);
        ui_.PostDownloadFailed();
        return;
      }
    }
    FinishTask(task);
    ++currentTask_;
  }
  startInstall_();
}

CPackageDownload::Outcome CPackageDownload::Transfer(const DownloadTask& task) {
  {
    std::lock_guard<std::mutex> lock(stateMutex_);
    currentName_ = task.display;
  }
  CPackageStream stream;
  const std::filesystem::path tempPath = TempFilePath(task.localPath);
  try {
    // A url ending in "/", "/." or "/.." names no file of the download folder.
    if (!HasUsableFileName(task.localPath) || !stream.Open(tempPath, hashProvider_)) {
      LOG_ERROR << "create tmp file failed";
      return Outcome::fatal;
    }
  } catch (const std::exception& e) {  // the digest could not be started
    LOG_ERROR << e.what();
    return Outcome::fatal;
  }

  KwrBase::HttpDownloadSession session;
  session.SetUrl(task.url);
  session.SetProgressCallback([this](KwrBase::HttpTransfer& transfer, std::int64_t, std::int64_t, std::int64_t,
                                     std::int64_t) { return OnProgress(transfer); });
  PublishTransfer(session.GetTransfer());
  KwrBase::HttpResponse response;
  bool hashFailed = false;
  try {
    response = session.Download([&](std::string_view block) { return stream.Write(block) && !closing_.load(); });
  } catch (const std::exception& e) {  // hashing a block failed; the transfer has ended
    LOG_ERROR << e.what();
    hashFailed = true;
  }
  ui_.PostTransferEnded();
  stream.Close();
  PublishTransfer(nullptr);

  if (hashFailed) return Outcome::fatal;
  if (response.error.code != 0) {
    LOG_ERROR << "download error:" << response.error.message;
    return Outcome::retryable;
  }
  if (task.size != 0 && static_cast<std::uint64_t>(response.downloaded_bytes) != task.size) {
    LOG_ERROR << "size verify failed";
    return Outcome::fatal;
  }
  std::vector<std::uint8_t> digest;
  try {
    digest = stream.Digest();
  } catch (const std::exception& e) {
    LOG_ERROR << e.what();
    return Outcome::fatal;
  }
  if (!DigestMatches(digest, task.md5)) {
    LOG_ERROR << "md5 verify failed";
    return Outcome::fatal;
  }
  // Replaces an existing file. A failure is not an error here: the size of whatever is then at
  // the final name is what gets counted.
  std::error_code ec;
  std::filesystem::rename(tempPath, task.localPath, ec);
  return Outcome::done;
}

bool CPackageDownload::OnProgress(KwrBase::HttpTransfer& transfer) {
  // Also while paused or while the server sends nothing, so closing never waits for a block.
  if (closing_.load()) return false;
  switch (pauseControl_.Apply(transfer)) {
    case KwrBase::HttpPauseControl::Applied::resumed:
      ui_.PostTransferResumed();
      break;
    case KwrBase::HttpPauseControl::Applied::paused:
      ui_.PostTransferPaused();
      break;
    case KwrBase::HttpPauseControl::Applied::none:
      break;
  }
  return true;
}

void CPackageDownload::FinishTask(const DownloadTask& task) {
  platform::File file = platform::File::OpenExclusiveForRead(task.localPath);
  if (!file.IsOpen()) return;
  if (std::optional<std::uint64_t> size = file.Size()) completedBytes_.fetch_add(*size);
}

void CPackageDownload::PublishTransfer(std::shared_ptr<KwrBase::HttpTransfer> transfer) {
  std::lock_guard<std::mutex> lock(stateMutex_);
  transfer_ = std::move(transfer);
}

bool CPackageDownload::TransferRuns() const {
  std::lock_guard<std::mutex> lock(stateMutex_);
  return transfer_ != nullptr;
}

bool CPackageDownload::OnClickPause() {
  if (!TransferRuns()) return false;
  pauseControl_.RequestPause();
  paused_.store(true);
  return true;
}

bool CPackageDownload::OnClickResume() {
  if (!TransferRuns()) return false;
  pauseControl_.RequestResume();
  paused_.store(false);
  return true;
}

void CPackageDownload::OnClickRedownload() {
  if (!stoppedAtFailure_.exchange(false)) return;
  ui_.ReportEvent(kEventRedownload);
  failureCount_.store(0);
  StartDownload();
}

DownloadProgressView CPackageDownload::RefreshProgress() const {
  std::shared_ptr<KwrBase::HttpTransfer> transfer;
  std::wstring name;
  {
    std::lock_guard<std::mutex> lock(stateMutex_);
    transfer = transfer_;
    name = currentName_;
  }
  std::int64_t speed = transfer ? transfer->AverageSpeed() : 0;
  std::int64_t received = transfer ? transfer->BytesReceived() : 0;
  return FormatDownloadProgress(speed, received, completedBytes_.load(), totalBytes_, name);
}
