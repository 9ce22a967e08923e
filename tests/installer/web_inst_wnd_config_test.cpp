#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>

#include "installer/web_inst_wnd.h"
#include "stats/launch_context.h"
#include "tests/support/test_log.h"
#include "tests/support/test_server.h"

namespace {
using testsupport::TestServer;

const char* const kPath = "/api/int_kestrel_download.json";

class RequestConfigTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = std::make_unique<TestServer>(); }
  static void TearDownTestSuite() { server_.reset(); }
  void SetUp() override {
    server_->ClearRequests();
    setenv("WEBINST_CONFIG_SERVER", server_->BaseUrl().c_str(), 1);
    logMark_ = testsupport::LogMark();
  }
  void TearDown() override { unsetenv("WEBINST_CONFIG_SERVER"); }
  std::string NewLog() const { return logMark_.NewText(); }

  static std::unique_ptr<TestServer> server_;
  testsupport::LogMark logMark_;
};
std::unique_ptr<TestServer> RequestConfigTest::server_;

// The launch context as start-up leaves it (the test binary's own name carries no channel).
void SetLaunchContext(std::uint16_t unionId, const char* versionText) {
  LaunchContext& context = TheLaunchContext();
  context.appId = kProductNumber;
  context.unionId = unionId;
  std::snprintf(context.versionText, sizeof context.versionText, "%s", versionText);
  context.initialized = true;
}

TEST_F(RequestConfigTest, AnErrorStatusWithACompleteDocumentIsAccepted) {
  server_->SetRoute(kPath, {{"status", 500},
                            {"json",
                             {{"installer", {{"display", "图片管家"}, {"md5", "ab"}, {"size", 3}, {"url", "http://h/p.exe"}}},
                              {"starup", {{"main", "Vellumo.exe"}}},
                              {"external", nlohmann::json::array()}}}});
  SetLaunchContext(1234, "1.0.0.2");
  CWebInstWnd wnd;
  EXPECT_TRUE(wnd.RequestConfig());
  EXPECT_EQ(wnd.config().installer.display, L"图片管家");
  EXPECT_EQ(wnd.config().installer.size, 3u);
  EXPECT_FALSE(wnd.config().starup.args.has_value());

  auto seen = server_->WaitForRequests(1);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].method, "GET");
  EXPECT_EQ(seen[0].path, kPath);
  EXPECT_EQ(seen[0].query, "a=18&u=1234&v=1.0.0.2&t=0");
  EXPECT_EQ(NewLog().find("ERROR"), std::string::npos) << NewLog();
}

TEST_F(RequestConfigTest, ABrokenDocumentLogsTheParsersMessageAndLeavesTheRecordEmpty) {
  server_->SetRoute(kPath, {{"json", {{"installer", {{"display", "x"}, {"md5", "ab"}, {"size", "12"}, {"url", "u"}}}}}});
  SetLaunchContext(1110, "1.0.0.5");
  CWebInstWnd wnd;
  EXPECT_FALSE(wnd.RequestConfig());
  EXPECT_EQ(wnd.config().installer.url, "");
  std::string log = NewLog();
  EXPECT_NE(log.find(" ERROR ["), std::string::npos) << log;
  EXPECT_NE(log.find("] [CWebInstWnd::RequestConfig@"), std::string::npos) << log;
  EXPECT_NE(log.find("] [json.exception.type_error.302] type must be number, but is string\r\n"), std::string::npos)
      << log;
}

TEST_F(RequestConfigTest, ATransportFailureLogsTheClientsMessage) {
  std::string unreachable = "http://127.0.0.1:" + std::to_string(testsupport::UnusedLocalPort());
  setenv("WEBINST_CONFIG_SERVER", unreachable.c_str(), 1);
  SetLaunchContext(1110, "1.0.0.5");
  CWebInstWnd wnd;
  EXPECT_FALSE(wnd.RequestConfig());
  std::string log = NewLog();
  EXPECT_NE(log.find("ERROR"), std::string::npos) << log;
  EXPECT_NE(log.find("] [CWebInstWnd::RequestConfig@"), std::string::npos) << log;
  EXPECT_NE(log.find("Failed to connect to 127.0.0.1"), std::string::npos) << log;
}

}  // namespace
