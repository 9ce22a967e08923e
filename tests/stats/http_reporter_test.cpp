#include "stats/http_reporter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <openssl/evp.h>
#include <stdlib.h>

#include <nlohmann/json.hpp>
#include <set>

#include "common/base/hash_algorithm.h"
#include "stats/os_info.h"
#include "tests/support/test_server.h"

namespace {
using testsupport::RecordedRequest;
using testsupport::TestServer;

LaunchContext MakeWho() {
  LaunchContext who;
  who.appId = 18;
  who.unionId = 1234;
  who.fileVersion = 281474976710657u;
  std::strcpy(who.versionText, "1.0.0.1");
  std::strcpy(who.pcid, "00112233445566778899aabbccddeeff");
  who.initialized = true;
  return who;
}
const LaunchContext kWho = MakeWho();

std::string Unscramble(const std::string& text) {
  std::string bytes = testsupport::Base64Decode(text);
  const unsigned char key[6] = {0x5E, 0x91, 0x0C, 0xA7, 0x38, 0xD2};
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(bytes[i] ^ key[i % 6]);
  return bytes;
}

TEST(ReportFormat, ScrambledBodiesBreakAfterEachFullLineOnly) {
  struct Case {
    std::string json;
    std::string scrambled;
  } cases[] = {
      {R"({"appid":18,"clientversion":281474976710657,"key":"abcd"})",  // 57 bytes
       "JbNt10i7OrM2lgD+fPJgzl28Kudp1Uu7Mf8unQrqb6U7kwHlaKY9lw7nab0uzF2rfKsuxlqxOrNx\r\n"},
      {R"({"appid":18,"clientversion":281474976710657,"key":"abcde"})",  // 58 bytes
       "JbNt10i7OrM2lgD+fPJgzl28Kudp1Uu7Mf8unQrqb6U7kwHlaKY9lw7nab0uzF2rfKsuxlqxOvQu\r\n2g=="},
      {"", ""},
      {"ab", "P/M="},
      {std::string(114, 'x'),
       "Jul030CqJul030CqJul030CqJul030CqJul030CqJul030CqJul030CqJul030CqJul030CqJul0\r\n"
       "30CqJul030CqJul030CqJul030CqJul030CqJul030CqJul030CqJul030CqJul030CqJul030Cq\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.json.size());
    EXPECT_EQ(ScrambleReportBody(c.json), c.scrambled);
    EXPECT_EQ(Unscramble(c.scrambled), c.json);
  }
}

TEST(ReportFormat, RandIsThreeDrawsOfTheRuntimeGeneratorLastFirst) {
  EXPECT_EQ(InstallReportRand(1), "63341846741");  // the draws 41, 18467, 6334
  for (std::uint32_t seed : {0u, 7u, 123456u, 0xFFFFFFFFu}) {
    std::string r = InstallReportRand(seed);
    EXPECT_GE(r.size(), 3u);
    EXPECT_LE(r.size(), 15u);
    EXPECT_EQ(r.find_first_not_of("0123456789"), std::string::npos) << r;
  }
}

class ReporterTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    stats_ = std::make_unique<TestServer>();
    install_ = std::make_unique<TestServer>();
  }
  static void TearDownTestSuite() {
    stats_.reset();
    install_.reset();
  }
  void SetUp() override {
    stats_->ClearRequests();
    install_->ClearRequests();
    setenv("WEBINST_STATS_SERVER", stats_->BaseUrl().c_str(), 1);
    setenv("WEBINST_INSTALL_STATS_SERVER", install_->BaseUrl().c_str(), 1);
  }
  void TearDown() override {
    unsetenv("WEBINST_STATS_SERVER");
    unsetenv("WEBINST_INSTALL_STATS_SERVER");
  }
  static std::unique_ptr<TestServer> stats_;
  static std::unique_ptr<TestServer> install_;
};
std::unique_ptr<TestServer> ReporterTest::stats_;
std::unique_ptr<TestServer> ReporterTest::install_;

TEST_F(ReporterTest, ClientReportsCarryTheIdentityAndTheirKey) {
  CHttpAsyncReporter reporter;
  reporter.Init(&kWho);
  reporter.ReportEvent(2900001);
  reporter.ReportActive();
  reporter.ReportReserved();
  reporter.ReportClientInstall(-1);
  auto seen = stats_->WaitForRequests(3);
  ASSERT_EQ(seen.size(), 3u);

  EXPECT_EQ(seen[0].method, "POST");
  EXPECT_EQ(seen[0].path, "/api/clientevent");
  EXPECT_EQ(seen[0].Header("Content-Type"), "application/json;");
  EXPECT_EQ(seen[0].body,
            R"({"a":18,"k":"699cf820bf29ed954e971aa2ff6bb424","m":2900001,)"
            R"("p":"00112233445566778899aabbccddeeff","u":1234,"v":"1.0.0.1"})");

  EXPECT_EQ(seen[1].path, "/api/clientact");
  auto active = nlohmann::json::parse(seen[1].body);
  EXPECT_EQ(active["m"], 1u);
  EXPECT_EQ(active["k"], KwrBase::Md5HexDigest("1800112233445566778899aabbccddeeff1.0.0.11"));

  EXPECT_EQ(seen[2].path, "/api/clientinstall");
  auto install = nlohmann::json::parse(seen[2].body);
  EXPECT_EQ(install["m"], 4294967295u) << "written as unsigned";
  EXPECT_EQ(install["k"], KwrBase::Md5HexDigest("1800112233445566778899aabbccddeeff1.0.0.1-1")) << "keyed as signed";
}

TEST_F(ReporterTest, InstallReportsAreScrambledAndKeyed) {
  CHttpAsyncReporter reporter;
  reporter.Init(&kWho);
  reporter.ReportInstall(1);
  reporter.ReportInstall(2);
  auto seen = install_->WaitForRequests(2);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].path, "/install");
  EXPECT_EQ(seen[1].path, "/uninstall");
  for (const RecordedRequest& r : seen) {
    EXPECT_EQ(r.method, "POST");
    std::string text = Unscramble(r.body);
    EXPECT_EQ(ScrambleReportBody(text), r.body);
    auto report = nlohmann::json::parse(text);
    EXPECT_EQ(report.dump(), text) << "compact, keys in byte order";
    EXPECT_EQ(report.size(), 7u);
    EXPECT_EQ(report["appid"], 18u);
    EXPECT_EQ(report["unionid"], 1234u);
    EXPECT_EQ(report["clientversion"], 281474976710657u);
    EXPECT_EQ(report["pcid"], std::string(kWho.pcid));
    EXPECT_EQ(report["os"], GetOsInfo());
    std::string rand = report["rand"];
    EXPECT_GE(rand.size(), 3u);
    EXPECT_LE(rand.size(), 15u);
    EXPECT_EQ(report["key"], KwrBase::Md5HexDigest("18_1234_1.0.0.1_00112233445566778899aabbccddeeff_" +
                                                   std::to_string(GetOsInfo()) + "_" + rand));
  }
  EXPECT_TRUE(stats_->Requests().empty());
}

TEST_F(ReporterTest, ReportsGoOutInPostingOrderOnSeparateConnectionsPastAnUnreachableServer) {
  std::string nowhere = "http://127.0.0.1:" + std::to_string(testsupport::UnusedLocalPort());
  setenv("WEBINST_INSTALL_STATS_SERVER", nowhere.c_str(), 1);
  CHttpAsyncReporter reporter;
  reporter.ReportEvent(1);  // before Init: waits for the worker
  reporter.Init(&kWho);
  reporter.ReportInstall(1);  // lost
  reporter.ReportEvent(2);
  reporter.ReportEvent(3);
  auto seen = stats_->WaitForRequests(3);
  ASSERT_EQ(seen.size(), 3u);
  std::set<int> connections;
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(nlohmann::json::parse(seen[i].body)["m"], i + 1);
    connections.insert(seen[i].connection);
  }
  EXPECT_EQ(connections.size(), 3u);
}

// The window's normal close: the closing report is posted, then the reporter stops at once.
TEST_F(ReporterTest, AnIdleReporterSendsTheReportQueuedJustBeforeStop) {
  for (int i = 0; i < 20; ++i) {
    CHttpAsyncReporter reporter;
    reporter.Init(&kWho);  // the worker may not even have begun
    reporter.ReportEvent(2900100 + i);
    reporter.Stop();
  }
  CHttpAsyncReporter settled;
  settled.Init(&kWho);
  settled.ReportEvent(2900200);
  ASSERT_EQ(stats_->WaitForRequests(21).size(), 21u);  // the worker waits for work again
  settled.ReportEvent(2900201);
  settled.Stop();
  auto seen = stats_->Requests();
  ASSERT_EQ(seen.size(), 22u) << "each report queued before Stop went out";
  for (int i = 0; i < 20; ++i) EXPECT_EQ(nlohmann::json::parse(seen[i].body)["m"], 2900100 + i);
  EXPECT_EQ(nlohmann::json::parse(seen[21].body)["m"], 2900201);
}

TEST_F(ReporterTest, ASlowButAnsweringServersReportCompletesAfterStop) {
  // The answer comes late (well within the grace after a stop) and sends the client on to a
  // second address: that second request shows the first transfer was not abandoned.
  TestServer slow;
  slow.SetRoute("/api/clientevent", {{"delay_ms", 1000}, {"redirect", "/api/clientevent/answered"}});
  setenv("WEBINST_STATS_SERVER", slow.BaseUrl().c_str(), 1);
  CHttpAsyncReporter reporter;
  reporter.Init(&kWho);
  reporter.ReportEvent(2900004);
  ASSERT_EQ(slow.WaitForRequests(1).size(), 1u);
  reporter.Stop();
  auto seen = slow.Requests();
  ASSERT_EQ(seen.size(), 2u) << "Stop returned before the answer was taken";
  EXPECT_EQ(seen[1].path, "/api/clientevent/answered");
  EXPECT_EQ(nlohmann::json::parse(seen[1].body)["m"], 2900004) << "the report followed its redirect";
}

TEST_F(ReporterTest, StoppingWhileAReportIsSentDropsTheClosingReportAndOutlastsNoStalledServer) {
  // This server takes the report and never answers it.
  TestServer stalled;
  stalled.SetRoute("/api/clientevent", {{"delay_ms", 3600 * 1000}});
  setenv("WEBINST_STATS_SERVER", stalled.BaseUrl().c_str(), 1);
  CHttpAsyncReporter reporter;
  reporter.Init(&kWho);
  reporter.ReportEvent(2900002);
  ASSERT_EQ(stalled.WaitForRequests(1).size(), 1u);
  reporter.ReportEvent(2900003);  // the closing report, behind the one being sent
  reporter.Stop();                // returns: the unanswered report is given up
  auto seen = stalled.Requests();
  ASSERT_EQ(seen.size(), 1u) << "the closing report is dropped";
  EXPECT_EQ(nlohmann::json::parse(seen[0].body)["m"], 2900002);
}

TEST_F(ReporterTest, AReportWhoseKeyCannotBeHashedIsDropped) {
  // With only FIPS implementations allowed and none loaded, MD5 is unavailable.
  ASSERT_EQ(EVP_set_default_properties(nullptr, "fips=yes"), 1);
  EXPECT_THROW(KwrBase::Md5HexDigest("x"), KwrBase::win_exception);
  EXPECT_FALSE(SendClientReport(kWho, stats_->BaseUrl() + "/api/clientevent", 5));
  EXPECT_FALSE(SendInstallReport(kWho, install_->BaseUrl() + "/install"));
  ASSERT_EQ(EVP_set_default_properties(nullptr, ""), 1);

  EXPECT_TRUE(SendClientReport(kWho, stats_->BaseUrl() + "/api/clientevent", 6));
  auto seen = stats_->WaitForRequests(1);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(nlohmann::json::parse(seen[0].body)["m"], 6);
  EXPECT_TRUE(install_->Requests().empty());
}

}  // namespace
