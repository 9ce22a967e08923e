#include "app/single_instance.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "tests/app/installer_process.h"
#include "tests/support/test_server.h"

namespace {
using namespace std::chrono_literals;

TEST(SingleInstance, OneHolderAtATimeAndFreeAgainAfterClose) {
  platform::NamedEvent first, second, third;
  ASSERT_TRUE(CheckSingleInstance(first));
  EXPECT_FALSE(CheckSingleInstance(second));
  EXPECT_TRUE(second.IsOpen()) << "the refused guard is kept for the caller to close";
  first.Close();
  EXPECT_TRUE(CheckSingleInstance(third));
}

TEST(SingleInstance, ARefusedStartLogsAndExitsAtOnce) {
  testsupport::InstallerCopy copy;
  {
    platform::NamedEvent running;  // another installer holds the guard
    ASSERT_TRUE(CheckSingleInstance(running));
    testsupport::ProcessOptions noDisplay;
    noDisplay.unsetEnv = {"DISPLAY"};
    auto refused = copy.Run(noDisplay);
    EXPECT_EQ(refused.exitCode, 0);
    std::string log = copy.log();
    EXPECT_NE(log.find(" WARN  ["), std::string::npos) << log;
    EXPECT_NE(log.find("] [wWinMain@"), std::string::npos) << log;
    EXPECT_NE(log.find("] App instance exist\r\n"), std::string::npos) << log;
  }
  // The first one has gone: a new start runs at once.
  std::size_t before = copy.log().size();
  testsupport::ProcessOptions noDisplay;
  noDisplay.unsetEnv = {"DISPLAY"};
  EXPECT_EQ(copy.Run(noDisplay).exitCode, 0);
  std::string after = copy.log().substr(before);
  EXPECT_EQ(after.find("App instance exist"), std::string::npos) << after;
  EXPECT_NE(after.find("Log init"), std::string::npos) << after;
}

TEST(SingleInstance, TwoInstallersOneAfterTheOther) {
  // The first installer waits in its configuration request on a server that stalls.
  testsupport::TestServer server;
  server.SetRoute("/api/int_kestrel_download.json", {{"body", "{\"installer\": {"}, {"stall_after", 5}});
  testsupport::InstallerCopy copy;
  testsupport::ProcessOptions options;
  options.setEnv["WEBINST_CONFIG_SERVER"] = server.BaseUrl();
  options.unsetEnv = {"DISPLAY"};
  auto first = copy.Start(options);
  ASSERT_EQ(server.WaitForRequests(1).size(), 1u) << "the first installer is running";

  auto second = copy.Run(options);
  EXPECT_EQ(second.exitCode, 0);
  EXPECT_NE(copy.log().find("] App instance exist\r\n"), std::string::npos) << copy.log();
  EXPECT_EQ(server.Requests().size(), 1u) << "the refused start never asked for the configuration";

  // However the first one ends (here: killed), the next start runs at once.
  first.reset();
  server.SetRoute("/api/int_kestrel_download.json", {{"body", "{}"}});  // answers at once this time
  std::size_t before = copy.log().size();
  EXPECT_EQ(copy.Run(options).exitCode, 0);
  std::string third = copy.log().substr(before);
  EXPECT_EQ(third.find("App instance exist"), std::string::npos) << third;
  EXPECT_EQ(server.Requests().size(), 2u);
}

TEST(SingleInstance, ARefusedStartRaisesTheInstalledApplication) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (the test script starts Xvfb)";
  testsupport::BackgroundProcess app({FAKE_APP_WINDOW_EXE});
  ASSERT_EQ(app.ReadLine(10s).value_or(""), "ready");

  testsupport::InstallerCopy copy;
  platform::NamedEvent running;
  ASSERT_TRUE(CheckSingleInstance(running));
  EXPECT_EQ(copy.Run(testsupport::WithDisplay()).exitCode, 0);

  std::vector<std::string> seen;
  while (auto line = app.ReadLine(10s)) seen.push_back(*line);
  EXPECT_EQ(seen, (std::vector<std::string>{"mapped", "activated"}));
  EXPECT_EQ(app.Wait(5s), 0);
}

}  // namespace
