#include "common/base/http_download_session.h"

#include <utility>

#include "common/base/http_easy_handle.h"

namespace KwrBase {

HttpTransfer::HttpTransfer() : handle_(std::make_unique<HttpEasyHandle>(std::string())) {}

HttpTransfer::~HttpTransfer() = default;

bool HttpTransfer::OnCallbackThread() const {
  return handle_->get() && callbackThread_.load() == std::this_thread::get_id();
}

bool HttpTransfer::Pause() {
  return OnCallbackThread() && curl_easy_pause(handle_->get(), CURLPAUSE_ALL) == CURLE_OK;
}

bool HttpTransfer::Continue() {
  return OnCallbackThread() && curl_easy_pause(handle_->get(), CURLPAUSE_CONT) == CURLE_OK;
}

HttpPauseControl::Applied HttpPauseControl::Apply(HttpTransfer& transfer) {
  if (resumeRequested_.exchange(false)) {
    transfer.Continue();
    return Applied::resumed;
  }
  if (pauseRequested_.exchange(false)) {
    transfer.Pause();
    return Applied::paused;
  }
  return Applied::none;
}

HttpDownloadSession::HttpDownloadSession() : transfer_(std::make_shared<HttpTransfer>()) {}

HttpDownloadSession::~HttpDownloadSession() = default;

void HttpDownloadSession::SetUrl(const std::string& url) { url_ = url; }

void HttpDownloadSession::SetProgressCallback(ProgressCallback callback) { progress_ = std::move(callback); }

void HttpDownloadSession::PublishSpeed() {
  curl_off_t speed = 0;
  if (curl_easy_getinfo(transfer_->handle_->get(), CURLINFO_SPEED_DOWNLOAD_T, &speed) == CURLE_OK)
    transfer_->averageSpeed_.store(speed, std::memory_order_relaxed);
}

int HttpDownloadSession::OnProgress(void* self, std::int64_t dlTotal, std::int64_t dlNow, std::int64_t ulTotal,
                                    std::int64_t ulNow) {
  auto* session = static_cast<HttpDownloadSession*>(self);
  HttpTransfer& transfer = *session->transfer_;
  session->PublishSpeed();
  if (!session->progress_) return 0;
  transfer.callbackThread_.store(std::this_thread::get_id());
  bool go_on = false;
  try {
    go_on = session->progress_(transfer, dlTotal, dlNow, ulTotal, ulNow);
  } catch (...) {
    if (!session->callbackError_) session->callbackError_ = std::current_exception();
  }
  transfer.callbackThread_.store(std::thread::id());
  return go_on ? 0 : 1;
}

size_t HttpDownloadSession::OnWrite(char* data, size_t size, size_t count, void* self) {
  auto* session = static_cast<HttpDownloadSession*>(self);
  size_t bytes = size * count;
  // Counted before the callback sees the block, so the count matches what reached the file even
  // when the callback then stops the transfer. These are decoded body bytes: with a compressed
  // response they are what the caller writes, not what crossed the wire.
  session->transfer_->bytesReceived_.fetch_add(static_cast<std::int64_t>(bytes), std::memory_order_relaxed);
  if (!session->write_) return bytes;
  try {
    return session->write_(std::string_view(data, bytes)) ? bytes : 0;
  } catch (...) {
    if (!session->callbackError_) session->callbackError_ = std::current_exception();
    return 0;
  }
}

HttpResponse HttpDownloadSession::Download(WriteCallback write) {
  HttpResponse response;
  write_ = std::move(write);
  transfer_->bytesReceived_.store(0, std::memory_order_relaxed);
  CURL* curl = transfer_->handle_->get();
  if (curl) {
    curl_easy_setopt(curl, CURLOPT_URL, url_.c_str());
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnWrite);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    // Larger receive blocks than the default 16 KiB: a package of a gigabyte then costs a
    // fraction of the system calls and callbacks (measured in bench/bench_package_download).
    curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, 512L * 1024);
  }
  response.error = transfer_->handle_->Perform();
  if (curl) PublishSpeed();
  response.downloaded_bytes = transfer_->BytesReceived();
  write_ = nullptr;
  if (callbackError_) std::rethrow_exception(std::exchange(callbackError_, nullptr));
  return response;
}

}  // namespace KwrBase
