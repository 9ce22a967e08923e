#include "common/base/http_client.h"

#include <mutex>

#include "common/base/http_easy_handle.h"

namespace KwrBase {
namespace {

// A body too large for memory ends the transfer with a write error rather than letting
// std::bad_alloc unwind through libcurl.
size_t AppendToString(char* data, size_t size, size_t count, void* target) {
  try {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
  } catch (const std::exception&) {
    return 0;
  }
}

size_t DiscardBody(char*, size_t size, size_t count, void*) { return size * count; }

int AskKeepGoing(void* keepGoing, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  try {
    return (*static_cast<const std::function<bool()>*>(keepGoing))() ? 0 : 1;
  } catch (...) {
    return 1;  // nothing may unwind through libcurl
  }
}

}  // namespace

void EnsureCurlInitialised() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

HttpResponse HttpGet(const std::string& url) {
  HttpResponse response;
  HttpEasyHandle handle(url);
  if (handle.get()) {
    curl_easy_setopt(handle.get(), CURLOPT_WRITEFUNCTION, AppendToString);
    curl_easy_setopt(handle.get(), CURLOPT_WRITEDATA, &response.text);
  }
  response.error = handle.Perform();
  return response;
}

bool HttpPost(const std::string& url, const std::string& contentType, const std::string& body,
              const std::function<bool()>& keepGoing) {
  HttpEasyHandle handle(url);
  curl_slist* headers = nullptr;
  if (handle.get()) {
    curl_easy_setopt(handle.get(), CURLOPT_POST, 1L);
    curl_easy_setopt(handle.get(), CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(handle.get(), CURLOPT_COPYPOSTFIELDS, body.c_str());
    // "Content-Type:" with no value keeps libcurl from adding its form type on its own.
    headers = curl_slist_append(nullptr, ("Content-Type:" + (contentType.empty() ? "" : " " + contentType)).c_str());
    curl_easy_setopt(handle.get(), CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(handle.get(), CURLOPT_WRITEFUNCTION, DiscardBody);
    if (keepGoing) {
      curl_easy_setopt(handle.get(), CURLOPT_XFERINFOFUNCTION, AskKeepGoing);
      curl_easy_setopt(handle.get(), CURLOPT_XFERINFODATA, &keepGoing);
      curl_easy_setopt(handle.get(), CURLOPT_NOPROGRESS, 0L);
    }
  }
  bool completed = handle.Perform().code == 0;
  curl_slist_free_all(headers);
  return completed;
}

}  // namespace KwrBase
