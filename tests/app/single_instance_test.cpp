#include "app/single_instance.h"

#include <gtest/gtest.h>
// After gtest: Xlib defines Bool as a macro.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/top_level_window.h"

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
  ASSERT_EQ(app.ReadLine(10s).value_or("").rfind("ready ", 0), 0u);

  testsupport::InstallerCopy copy;
  platform::NamedEvent running;
  ASSERT_TRUE(CheckSingleInstance(running));
  EXPECT_EQ(copy.Run(testsupport::WithDisplay()).exitCode, 0);

  std::vector<std::string> seen;
  while (auto line = app.ReadLine(10s)) seen.push_back(*line);
  EXPECT_EQ(seen, (std::vector<std::string>{"mapped", "activated"}));
  EXPECT_EQ(app.Wait(5s), 0);
}

// The test's own connection, held for the whole test: an X server without clients resets itself
// and drops connections that arrive meanwhile (the previous test's last client may just have
// gone, so the first open is retried for a while).
struct DisplayCloser {
  void operator()(Display* d) const { XCloseDisplay(d); }
};
std::unique_ptr<Display, DisplayCloser> OpenTestDisplay() {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (Display* d = XOpenDisplay(nullptr)) return std::unique_ptr<Display, DisplayCloser>(d);
    std::this_thread::sleep_for(100ms);
  }
  return nullptr;
}

// Stands in for a reparenting window manager: two nested frame windows (the client goes two
// levels below the root, deeper than a frame search of the root's children finds) and the
// manager's client list on the root, all removed again at the end.
class FakeWindowManager {
 public:
  explicit FakeWindowManager(Display* dpy) : dpy_(dpy), root_(DefaultRootWindow(dpy)) {
    outer_ = XCreateSimpleWindow(dpy_, root_, 50, 50, 300, 200, 0, 0, 0);
    inner_ = XCreateSimpleWindow(dpy_, outer_, 5, 20, 290, 175, 0, 0, 0);
    clientList_ = XInternAtom(dpy_, "_NET_CLIENT_LIST", False);
    XSync(dpy_, False);
  }
  ~FakeWindowManager() {
    XDeleteProperty(dpy_, root_, clientList_);
    XDestroyWindow(dpy_, outer_);
    XSync(dpy_, False);
  }
  std::string frame() const { return std::to_string(inner_); }
  void ShowFrames(bool shown) {
    if (shown) XMapSubwindows(dpy_, outer_), XMapWindow(dpy_, outer_);
    else XUnmapWindow(dpy_, outer_);
    XSync(dpy_, False);
  }
  // The managed clients; the frames stand for some other client listed before ours.
  void SetClientList(std::vector<unsigned long> clients) {
    clients.insert(clients.begin(), outer_);
    XChangeProperty(dpy_, root_, clientList_, XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(clients.data()), static_cast<int>(clients.size()));
    XSync(dpy_, False);
  }

 private:
  Display* dpy_;
  Window root_ = 0, outer_ = 0, inner_ = 0;
  Atom clientList_ = 0;
};

TEST(RaiseInstalledApplication, FindsItsWindowInsideAWindowManagersFrames) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (the test script starts Xvfb)";
  auto display = OpenTestDisplay();
  ASSERT_TRUE(display);
  struct Case {
    const char* what;
    bool framesShown, clientMapped, listed;
    std::vector<std::string> seen;
  } cases[] = {
      {"visible, on the manager's list: only activated", true, true, true, {"activated"}},
      {"minimised (mapped in a hidden frame), listed: activated, not mapped again", false, true, true, {"activated"}},
      {"withdrawn, not on the list: found in the tree, mapped and activated", true, false, false,
       {"mapped", "activated"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeWindowManager wm(display.get());
    wm.ShowFrames(c.framesShown);
    std::vector<std::string> argv = {FAKE_APP_WINDOW_EXE, "--parent", wm.frame()};
    if (c.clientMapped) argv.push_back("--visible");
    testsupport::BackgroundProcess app(argv);
    std::string ready = app.ReadLine(10s).value_or("");
    ASSERT_EQ(ready.rfind("ready ", 0), 0u) << ready;
    wm.SetClientList(c.listed ? std::vector<unsigned long>{std::stoul(ready.substr(6))} : std::vector<unsigned long>{});

    EXPECT_EQ(platform::RaiseWindowOfClass("OrbiskMainWndCls"), platform::RaiseResult::kRaised);
    std::vector<std::string> seen;
    while (auto line = app.ReadLine(10s)) seen.push_back(*line);
    EXPECT_EQ(seen, c.seen);
    EXPECT_EQ(app.Wait(5s), 0);
  }
  EXPECT_EQ(platform::RaiseWindowOfClass("OrbiskMainWndCls"), platform::RaiseResult::kNotFound)
      << "the application has gone";
}

}  // namespace
