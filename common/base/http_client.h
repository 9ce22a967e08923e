#pragma once
// The program's three kinds of HTTP request, over libcurl:
//   HttpGet              the configuration fetch (whole body as text);
//   HttpPost             a statistics report (fire and forget);
//   HttpDownloadSession  a package streamed to a callback (http_download_session.h).
// None of them looks at the HTTP status: a transfer that completes is a success whatever the
// status, and its body is handed on unchanged. Nothing here throws; failures show only in
// `error.code`. No time limits are set, so a stalled request waits as long as the transport lets
// it (the download session's progress callback can end it).
#include <cstdint>
#include <functional>
#include <string>

namespace KwrBase {

struct HttpError {
  int code = 0;         // 0: the transfer completed; otherwise libcurl's CURLcode
  std::string message;  // libcurl's description of the failure, "" on success
};

struct HttpResponse {
  HttpError error;
  std::string text;                // the whole body (HttpGet only)
  std::int64_t downloaded_bytes = 0;  // body bytes handed to the write callback (downloads only)
};

// GET with the library's defaults; the body comes back in `text`.
HttpResponse HttpGet(const std::string& url);

// POST of `body` with a single "Content-Type" header set to `contentType` (none at all when it is
// empty). True exactly when the transfer completed. Each call uses a handle, and so a connection,
// of its own. `keepGoing`, when given, is asked on the calling thread about once a second while
// the transfer runs; false ends it (a failed transfer).
bool HttpPost(const std::string& url, const std::string& contentType, const std::string& body,
              const std::function<bool()>& keepGoing = {});

// Initialises libcurl once per process; every request calls it, so callers never need to.
void EnsureCurlInitialised();

}  // namespace KwrBase
