#include "tests/support/test_server.h"

#include <arpa/inet.h>
#include <curl/curl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace testsupport {
namespace {

size_t Collect(char* data, size_t size, size_t n, void* target) {
  static_cast<std::string*>(target)->append(data, size * n);
  return size * n;
}

}  // namespace

std::string GeneratedBody(std::size_t size) {
  std::string s(size, '\0');
  for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>(i % 251);
  return s;
}

std::string Base64Decode(std::string_view text) {
  auto value = [](char c) -> int {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
  };
  std::string out;
  unsigned bits = 0;
  int count = 0;
  for (char c : text) {
    int v = value(c);
    if (v < 0) continue;
    bits = (bits << 6) | static_cast<unsigned>(v);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out.push_back(static_cast<char>((bits >> count) & 0xFF));
    }
  }
  return out;
}

std::string RecordedRequest::Header(std::string_view name) const {
  auto lower = [](std::string_view s) {
    std::string r(s);
    std::transform(r.begin(), r.end(), r.begin(), [](unsigned char c) { return std::tolower(c); });
    return r;
  };
  for (const auto& [k, v] : headers)
    if (lower(k) == lower(name)) return v;
  return "";
}

TestServer::TestServer(const TestServerOptions& options) {
  std::filesystem::path routes = dir_ / "routes.json";
  WriteFile(routes, options.routes.dump());
  std::vector<std::string> argv = {"python3", WEBINST_SOURCE_DIR "/tools/test_server.py", "--exit-with-parent",
                                   "--routes", routes.string()};
  if (options.https) {
    std::filesystem::create_directory(dir_ / "tls");
    argv.insert(argv.end(), {"--tls-dir", (dir_ / "tls").string()});
  }
  if (!options.root.empty()) argv.insert(argv.end(), {"--root", options.root.string()});
  process_ = std::make_unique<BackgroundProcess>(argv);
  std::string seen;
  while (auto line = process_->ReadLine(std::chrono::seconds(30))) {
    if (!line->empty() && line->front() == '{') {
      auto ports = nlohmann::json::parse(*line);
      httpPort_ = ports.at("http").get<int>();
      if (!ports.at("https").is_null()) httpsPort_ = ports.at("https").get<int>();
      return;
    }
    seen += *line + "\n";
  }
  throw std::runtime_error("the test server did not start:\n" + seen);
}

TestServer::~TestServer() = default;

std::string TestServer::BaseUrl() const { return "http://127.0.0.1:" + std::to_string(httpPort_); }

std::string TestServer::HttpsBaseUrl() const {
  return httpsPort_ ? "https://127.0.0.1:" + std::to_string(httpsPort_) : "";
}

std::string TestServer::Control(const std::string& path, const std::string& postBody, bool post) const {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  CURL* curl = curl_easy_init();
  if (!curl) throw std::runtime_error("curl_easy_init failed");
  std::string url = BaseUrl() + path, answer;
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer);
  if (post) {
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(postBody.size()));
    curl_easy_setopt(curl, CURLOPT_COPYPOSTFIELDS, postBody.c_str());
  }
  CURLcode rc = curl_easy_perform(curl);
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  curl_easy_cleanup(curl);
  if (rc != CURLE_OK || status != 200)
    throw std::runtime_error("test server control " + path + " failed: " + std::to_string(rc) + " " + answer);
  return answer;
}

void TestServer::SetRoutes(const nlohmann::json& routes) { Control("/_control/routes", routes.dump(), true); }

void TestServer::SetRoute(const std::string& path, const nlohmann::json& route) {
  SetRoutes(nlohmann::json{{path, route}});
}

std::vector<RecordedRequest> TestServer::Requests() const {
  std::vector<RecordedRequest> out;
  for (const auto& r : nlohmann::json::parse(Control("/_control/requests", "", false))) {
    RecordedRequest req;
    req.seq = r.at("seq").get<int>();
    req.connection = r.at("connection").get<int>();
    req.method = r.at("method").get<std::string>();
    req.path = r.at("path").get<std::string>();
    req.query = r.at("query").get<std::string>();
    for (const auto& h : r.at("headers")) req.headers.emplace_back(h.at(0).get<std::string>(), h.at(1).get<std::string>());
    req.body = Base64Decode(r.at("body_b64").get<std::string>());
    out.push_back(std::move(req));
  }
  return out;
}

std::vector<RecordedRequest> TestServer::WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    auto seen = Requests();
    if (seen.size() >= count || std::chrono::steady_clock::now() >= deadline) return seen;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

void TestServer::ClearRequests() { Control("/_control/clear", "", true); }

int UnusedLocalPort() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    if (fd >= 0) close(fd);
    throw std::runtime_error("no free local port");
  }
  close(fd);  // nothing listens there any more
  return ntohs(addr.sin_port);
}

}  // namespace testsupport
