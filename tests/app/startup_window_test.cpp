// The built installer on the test's X display: the start-up failure box and its four ways to end,
// and the installer window a good configuration opens.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/app/installer_process.h"
#include "tests/support/test_server.h"
#include "tests/support/x11_tools.h"

namespace {
using namespace std::chrono_literals;

using testsupport::EndWith;
using testsupport::Geometry;
using testsupport::ScreenSize;
using testsupport::Tool;
using testsupport::WaitForWindow;

class StartupWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (the test script starts Xvfb)";
  }
};

TEST_F(StartupWindow, TheFailureBoxEndsTheRunWithZeroWhicheverWayItIsClosed) {
  // A click at a point of the 333 x 203 box: its only button sits in the middle of the button
  // row, the close button at the right of the caption row.
  auto click = testsupport::ClickAt;
  struct Way {
    const char* name;
    std::function<std::vector<std::string>(int left, int top)> act;
  } ways[] = {
      {"its button", [&](int left, int top) { return click(left + 166, top + 153); }},
      {"the close button", [&](int left, int top) { return click(left + 301, top + 32); }},
      {"Enter", [](int, int) { return std::vector<std::string>{"xdotool", "key", "Return"}; }},
      {"Escape", [](int, int) { return std::vector<std::string>{"xdotool", "key", "Escape"}; }},
  };
  testsupport::InstallerCopy copy("Setup_b12348.exe");
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    // No server listens at the configuration address.
    auto installer = copy.Start(testsupport::WithDisplay());
    const std::string box = WaitForWindow("OrbiskMsgBoxWndCls");
    ASSERT_FALSE(box.empty()) << "the failure box appears";
    EXPECT_NE(Tool({"xprop", "-id", box, "WM_CLASS"}).find("\"OrbiskMsgBoxWndCls\""), std::string::npos);
    auto g = Geometry(box);
    EXPECT_EQ(g["WIDTH"], 333);
    EXPECT_EQ(g["HEIGHT"], 203);
    EXPECT_EQ(EndWith(*installer, way.act(g["X"], g["Y"])), 0);
  }
  const std::string log = copy.log();
  EXPECT_EQ(log.find("cannot be shown"), std::string::npos) << log;
}

TEST_F(StartupWindow, AGoodConfigurationOpensTheInstallerWindowCentred) {
  testsupport::TestServer server;
  server.SetRoute("/api/int_kestrel_download.json",
                  {{"json",
                    {{"installer", {{"display", "Vellumo 图片管家"}, {"md5", "0123456789abcdef0123456789abcdef"},
                                    {"size", 1000}, {"url", server.BaseUrl() + "/files/Vellumo_setup.exe"}}},
                     {"starup", {{"main", "bin\\Vellumo.exe"}, {"args", ""}}},
                     {"external", nlohmann::json::array()}}}});
  testsupport::InstallerCopy copy("Setup_b12348.exe");
  testsupport::ProcessOptions options = testsupport::WithDisplay();
  options.setEnv["WEBINST_CONFIG_SERVER"] = server.BaseUrl();
  auto installer = copy.Start(options);
  const std::string wnd = WaitForWindow("QuilloryInstWndCls");
  ASSERT_FALSE(wnd.empty()) << copy.log();
  EXPECT_NE(Tool({"xprop", "-id", wnd, "WM_CLASS"}).find("\"QuilloryInstWndCls\""), std::string::npos);
  EXPECT_NE(Tool({"xprop", "-id", wnd, "_NET_WM_NAME"}).find("= \"Vellumo安装程序\""), std::string::npos);
  auto g = Geometry(wnd);
  EXPECT_EQ(g["WIDTH"], 819);
  EXPECT_EQ(g["HEIGHT"], 574);
  const auto [screenWidth, screenHeight] = ScreenSize();
  EXPECT_EQ(g["X"], screenWidth / 2 - 819 / 2);
  EXPECT_EQ(g["Y"], screenHeight / 2 - 574 / 2);
  EXPECT_EQ(Tool({"xdotool", "search", "--class", "OrbiskMsgBoxWndCls"}), "") << "no failure box";
}

}  // namespace
