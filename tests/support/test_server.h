#pragma once
// The local HTTP(S) test server (tools/test_server.py) as a child process of the test: canned
// routes, redirect chains, slow, stalling and cut bodies, and the record of what it received.
//
//   testsupport::TestServer server;
//   server.SetRoute("/api/x", {{"status", 500}, {"body", "{}"}});
//   ... request server.BaseUrl() + "/api/x" ...
//   auto seen = server.WaitForRequests(1);
//
// Route keys are described at the top of tools/test_server.py.
#include <chrono>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/support/process.h"
#include "tests/support/temp_dir.h"

namespace testsupport {

struct RecordedRequest {
  int seq = 0;
  int connection = 0;  // one id per TCP connection the server accepted
  std::string method;
  std::string path;
  std::string query;  // raw, without "?"
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;  // the raw bytes

  // The first header of that name (case-insensitive), "" when there is none.
  std::string Header(std::string_view name) const;
};

struct TestServerOptions {
  bool https = false;                           // also serve HTTPS with a self-signed certificate
  nlohmann::json routes = nlohmann::json::object();  // routes present from the start
  std::filesystem::path root;                   // folder served for paths without a route
};

class TestServer {
 public:
  explicit TestServer(const TestServerOptions& options = {});
  ~TestServer();
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  std::string BaseUrl() const;       // "http://127.0.0.1:<port>"
  std::string HttpsBaseUrl() const;  // "https://127.0.0.1:<port>", "" without https
  int port() const { return httpPort_; }

  void SetRoutes(const nlohmann::json& routes);  // merges {path: route, ...}
  void SetRoute(const std::string& path, const nlohmann::json& route);

  std::vector<RecordedRequest> Requests() const;
  // Waits until at least `count` requests were recorded (or the time is up) and returns them all.
  std::vector<RecordedRequest> WaitForRequests(std::size_t count,
                                               std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;
  void ClearRequests();

 private:
  std::string Control(const std::string& path, const std::string& postBody, bool post) const;

  TempDir dir_;
  std::unique_ptr<BackgroundProcess> process_;
  int httpPort_ = 0;
  int httpsPort_ = 0;
};

// The body of a "generate" route of `size` bytes: byte i is i % 251.
std::string GeneratedBody(std::size_t size);

// Standard Base64 decoding; characters outside the alphabet (line breaks, padding) are skipped.
std::string Base64Decode(std::string_view text);

// A port on 127.0.0.1 where nothing listens: connections to it are refused at once.
int UnusedLocalPort();

}  // namespace testsupport
