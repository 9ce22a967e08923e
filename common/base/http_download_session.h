#pragma once
// A package download: one GET whose body is streamed block by block to a write callback, with a
// progress callback as the transfer thread's regular control point (pause, continue, abort).
//
//   HttpDownloadSession session;
//   session.SetUrl(url);
//   session.SetProgressCallback([&](HttpTransfer& t, int64_t, int64_t, int64_t, int64_t) {
//     switch (pauseControl.Apply(t)) { ... }   // pause/continue asked for by the UI thread
//     return !closing;                         // false ends the transfer, also while paused
//   });
//   transfer = session.GetTransfer();           // publish for the UI thread (under its lock)
//   HttpResponse r = session.Download([&](std::string_view block) { ...; return !closing; });
//   transfer.reset();
//
// Settings: redirects followed (at most 50, credentials only to the first host, the method kept
// on 301/302/303); neither the server certificate nor the host name is verified; no time limits.
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "common/base/http_client.h"

namespace KwrBase {

class HttpEasyHandle;

// The running transfer as other threads see it. Shared (reference counted) so the UI thread can
// hold it while reading; the libcurl handle goes away with the last reference.
class HttpTransfer {
 public:
  HttpTransfer();  // made by HttpDownloadSession; one on its own never transfers
  ~HttpTransfer();
  HttpTransfer(const HttpTransfer&) = delete;
  HttpTransfer& operator=(const HttpTransfer&) = delete;

  // Any thread. Body bytes received so far and the average speed in bytes per second, as last
  // published by the transfer thread (at every progress call, every block and the end).
  std::int64_t BytesReceived() const { return bytesReceived_.load(std::memory_order_relaxed); }
  std::int64_t AverageSpeed() const { return averageSpeed_.load(std::memory_order_relaxed); }

  // Transfer thread only, from inside the progress callback: pause receiving and sending, or
  // continue. libcurl keeps calling the progress callback about once a second while paused.
  // Called anywhere else they do nothing and return false.
  bool Pause();
  bool Continue();

 private:
  friend class HttpDownloadSession;
  bool OnCallbackThread() const;

  std::unique_ptr<HttpEasyHandle> handle_;
  std::atomic<std::int64_t> bytesReceived_{0};
  std::atomic<std::int64_t> averageSpeed_{0};
  std::atomic<std::thread::id> callbackThread_{};  // set while the progress callback runs
};

// Pause and resume requests of a download: the UI thread asks, the transfer thread applies them
// inside its progress callback (libcurl's pause is not safe from another thread).
class HttpPauseControl {
 public:
  enum class Applied { none, resumed, paused };

  // Any thread. Asking twice before the next progress call has the effect of asking once.
  void RequestPause() { pauseRequested_.store(true); }
  void RequestResume() { resumeRequested_.store(true); }

  // Transfer thread, inside the progress callback. Applies at most one request per call, resume
  // first: a pause and a resume asked for before the same call take two calls, resume then
  // pause, so the transfer ends up paused.
  Applied Apply(HttpTransfer& transfer);

 private:
  std::atomic<bool> pauseRequested_{false};
  std::atomic<bool> resumeRequested_{false};
};

class HttpDownloadSession {
 public:
  // Called on the transfer thread regularly (after data arrives and about once a second, also
  // while paused or while the server sends nothing) with the transfer and libcurl's counters
  // (download total, download now, upload total, upload now). False aborts the transfer
  // (error code 42, CURLE_ABORTED_BY_CALLBACK).
  using ProgressCallback =
      std::function<bool(HttpTransfer& transfer, std::int64_t downloadTotal, std::int64_t downloadNow,
                         std::int64_t uploadTotal, std::int64_t uploadNow)>;
  // Called on the transfer thread with each block of the body, in order, each exactly once.
  // False aborts the transfer (error code 23, CURLE_WRITE_ERROR).
  using WriteCallback = std::function<bool(std::string_view block)>;

  HttpDownloadSession();
  ~HttpDownloadSession();
  HttpDownloadSession(const HttpDownloadSession&) = delete;
  HttpDownloadSession& operator=(const HttpDownloadSession&) = delete;

  void SetUrl(const std::string& url);
  void SetProgressCallback(ProgressCallback callback);

  // The shared handle; valid before, during and after Download.
  std::shared_ptr<HttpTransfer> GetTransfer() const { return transfer_; }

  // Performs the GET on the calling thread and returns when the transfer has ended; the result
  // carries `error` and `downloaded_bytes` (`text` stays empty). One call per session.
  // An exception thrown by either callback ends the transfer (it must not unwind through
  // libcurl, which would leave the transfer and its connection behind) and is rethrown here once
  // libcurl has returned. The layer itself never throws.
  HttpResponse Download(WriteCallback write);

 private:
  static int OnProgress(void* self, std::int64_t dlTotal, std::int64_t dlNow, std::int64_t ulTotal,
                        std::int64_t ulNow);
  static size_t OnWrite(char* data, size_t size, size_t count, void* self);
  void PublishSpeed();

  std::string url_;
  ProgressCallback progress_;
  WriteCallback write_;
  std::exception_ptr callbackError_;  // thrown by a callback, rethrown by Download
  std::shared_ptr<HttpTransfer> transfer_;
};

}  // namespace KwrBase
