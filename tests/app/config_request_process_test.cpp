// The configuration request as the start-up runs it: the built installer against the local
// test server.
#include <gtest/gtest.h>

#include "stats/launch_context.h"
#include "tests/app/installer_process.h"
#include "tests/support/test_server.h"

namespace {

TEST(StartupConfig, ABrokenDocumentIsLoggedAtErrorAndTheRunEndsWithZero) {
  testsupport::TestServer server;
  server.SetRoute("/api/int_kestrel_download.json",
                  {{"json", {{"installer", {{"display", "x"}, {"md5", "ab"}, {"size", 1}, {"url", "u"}}}}}});
  testsupport::InstallerCopy copy("Setup_b12348.exe");
  testsupport::ProcessOptions options;
  options.setEnv["WEBINST_CONFIG_SERVER"] = server.BaseUrl();
  options.unsetEnv = {"DISPLAY"};
  auto run = copy.Run(options);
  EXPECT_EQ(run.exitCode, 0) << run.output;

  auto seen = server.WaitForRequests(1);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].method, "GET");
  EXPECT_EQ(seen[0].path, "/api/int_kestrel_download.json");
  EXPECT_EQ(seen[0].query, "a=18&u=1234&v=" + VersionText(ReadFileVersion(copy.exe())) + "&t=0");

  std::string log = copy.log();
  EXPECT_NE(log.find(" ERROR ["), std::string::npos) << log;
  EXPECT_NE(log.find("] [CWebInstWnd::RequestConfig@"), std::string::npos) << log;
  EXPECT_NE(log.find("] [json.exception.out_of_range.403] key 'starup' not found\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Log uninit"), std::string::npos) << "torn down normally";
}

}  // namespace
