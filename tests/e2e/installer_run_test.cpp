// A whole run of the built installer on the test's X display against the local demo site: the
// welcome step, an install folder picked in the folder chooser, the download of the package and
// its resource file, the demo package installer, the finished page and the launch of the demo
// application, which starts in the install folder while the installer ends and cleans up.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>

#include "tests/e2e/demo_site_fixture.h"
#include "tests/support/x11_tools.h"

namespace {

namespace fs = std::filesystem;
using testsupport::Geometry;
using testsupport::Tool;
using EventList = std::vector<std::int64_t>;

class InstallerRun : public testsupport::DemoSiteRun {
 protected:
  void TearDown() override {
    if (appPid_ > 0) ::kill(appPid_, SIGTERM);
    DemoSiteRun::TearDown();
  }
  int appPid_ = 0;
};

TEST_F(InstallerRun, FromTheWelcomeStepToTheLaunchedApplication) {
  StartInstaller();
  const std::string wnd = InstallerWindow();
  ASSERT_FALSE(wnd.empty()) << copy_->log();

  ASSERT_NO_FATAL_FAILURE(PickFolderAndInstall(wnd));
  EXPECT_EQ(Geometry(wnd)["HEIGHT"], 574) << "the panel closes";

  // Download, installation, the finished page.
  ASSERT_TRUE(WaitFor([&] { return Received(901400) || Received(2901301); }, 120)) << copy_->log();
  ASSERT_TRUE(Received(901400)) << copy_->log();
  EXPECT_EQ(RequestsFor("/files/Vellumo_setup.exe"), 1u);
  EXPECT_EQ(RequestsFor("/files/filters.dat"), 1u);
  const fs::path install = pickedFolder_;  // not a volume's root: used as it is
  EXPECT_TRUE(fs::exists(install / "bin" / "vellumo"));
  EXPECT_TRUE(fs::exists(install / "data" / "filters.dat")) << "the resource went where cfg.dat said";

  // The launch: the demo application's window, started in the install folder; the installer ends.
  ClickIn(wnd, testsupport::kInstallButton);
  const std::string app = testsupport::WaitForWindow("OrbiskMainWndCls");
  ASSERT_FALSE(app.empty());
  std::istringstream pid(Tool({"xdotool", "getwindowpid", app}));
  pid >> appPid_;
  ASSERT_GT(appPid_, 0);
  EXPECT_EQ(fs::read_symlink("/proc/" + std::to_string(appPid_) + "/cwd"), install);
  EXPECT_EQ(installer_->Wait(std::chrono::seconds(30)), 0);
  EXPECT_EQ(Tool({"xdotool", "search", "--class", "QuilloryInstWndCls"}), "") << "the installer is gone";

  // The downloads are gone with the download folder.
  EXPECT_FALSE(fs::exists(fs::path(install.string() + "_tmp")));

  // The run's events in order (the panel and the chooser come in between), each well formed.
  EventList seen = EventNumbers();
  if (!seen.empty() && seen.back() == 2900003) seen.pop_back();  // when the reporter was idle in time
  EXPECT_EQ(seen, (EventList{2900001, 2901002, 2901003, 2901001, 2901200, 2901300, 901400, 901401}));
  ExpectWellFormedEvents();
}

TEST_F(InstallerRun, ClosingDuringTheInstallationHidesTheWindowAtOnceAndEndsAfterThePackageInstaller) {
  extraEnv_["VELLUMO_DEMO_DELAY"] = "3";
  StartInstaller();
  const std::string wnd = InstallerWindow();
  ASSERT_FALSE(wnd.empty()) << copy_->log();
  ASSERT_NO_FATAL_FAILURE(PickFolderAndInstall(wnd));
  ASSERT_TRUE(WaitFor([&] { return Received(2901300); }, 60)) << copy_->log();
  // The close button is off now; Alt+F4 closes without asking.
  Tool({"xdotool", "key", "alt+F4"});
  ASSERT_TRUE(WaitFor([&] { return Tool({"xdotool", "search", "--onlyvisible", "--class", "QuilloryInstWndCls"}).empty(); }, 2))
      << "the window leaves the screen before the package installer ends";
  EXPECT_FALSE(testsupport::HasExited(*installer_)) << "the installer waits for the package installer";
  EXPECT_EQ(installer_->Wait(std::chrono::seconds(30)), 0);
  EXPECT_EQ(Tool({"xdotool", "search", "--class", "OrbiskMsgBoxWndCls"}), "") << "no confirmation";
  EXPECT_TRUE(fs::exists(pickedFolder_ / "bin" / "vellumo")) << "the installation was completed";
  EXPECT_FALSE(Received(901400)) << "its result came when the window was gone";
}

}  // namespace
