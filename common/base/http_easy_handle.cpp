#include "common/base/http_easy_handle.h"

namespace KwrBase {
namespace {

std::string UserAgent() {
  const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
  return std::string("curl/") + (info && info->version ? info->version : LIBCURL_VERSION);
}

}  // namespace

HttpEasyHandle::HttpEasyHandle(const std::string& url) {
  EnsureCurlInitialised();
  curl_ = curl_easy_init();
  if (!curl_) return;
  static const std::string userAgent = UserAgent();
  curl_easy_setopt(curl_, CURLOPT_ERRORBUFFER, errorBuffer_);
  curl_easy_setopt(curl_, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl_, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl_, CURLOPT_USERAGENT, userAgent.c_str());
  curl_easy_setopt(curl_, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl_, CURLOPT_MAXREDIRS, 50L);
  curl_easy_setopt(curl_, CURLOPT_UNRESTRICTED_AUTH, 0L);
  curl_easy_setopt(curl_, CURLOPT_POSTREDIR, static_cast<long>(CURL_REDIR_POST_ALL));
  curl_easy_setopt(curl_, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(curl_, CURLOPT_SSL_VERIFYHOST, 2L);
  curl_easy_setopt(curl_, CURLOPT_ACCEPT_ENCODING, "");  // every encoding libcurl can decode
  curl_easy_setopt(curl_, CURLOPT_TCP_KEEPALIVE, 1L);
  curl_easy_setopt(curl_, CURLOPT_COOKIEFILE, "");       // cookie engine on, nothing read or written
}

HttpEasyHandle::~HttpEasyHandle() {
  if (curl_) curl_easy_cleanup(curl_);
}

HttpError HttpEasyHandle::Perform() {
  if (!curl_) return {CURLE_FAILED_INIT, curl_easy_strerror(CURLE_FAILED_INIT)};
  errorBuffer_[0] = '\0';
  CURLcode rc = curl_easy_perform(curl_);
  if (rc == CURLE_OK) return {};
  std::string message = errorBuffer_[0] ? errorBuffer_ : curl_easy_strerror(rc);
  return {static_cast<int>(rc), message};
}

}  // namespace KwrBase
