#pragma once
// One libcurl easy handle carrying the settings every request of the program shares. Used only by
// the HTTP client layer's own sources; callers see http_client.h and http_download_session.h.
#include <curl/curl.h>

#include <string>

#include "common/base/http_client.h"

namespace KwrBase {

class HttpEasyHandle {
 public:
  // Creates the handle and applies the shared settings: redirects followed (at most 50,
  // credentials only to the first host, the method kept on 301/302/303), TLS verification on,
  // compressed bodies accepted, keep-alive probes, the cookie engine without a file, the
  // "curl/<version>" user agent, no signals (several threads transfer at once), no time limits.
  explicit HttpEasyHandle(const std::string& url);
  ~HttpEasyHandle();
  HttpEasyHandle(const HttpEasyHandle&) = delete;
  HttpEasyHandle& operator=(const HttpEasyHandle&) = delete;

  // Null when libcurl could not create a handle; Perform then reports the failure.
  CURL* get() const { return curl_; }

  // Runs the transfer to its end on the calling thread.
  HttpError Perform();

 private:
  CURL* curl_ = nullptr;
  char errorBuffer_[CURL_ERROR_SIZE] = {};
};

}  // namespace KwrBase
