#pragma once
// A copy of the built installer run on the test's X display against the local demo site
// (tools/demo/make_demo_site.py served by tools/test_server.py), with a fake "zenity" first on
// PATH as the desktop's folder chooser, and HOME in a temporary folder (the demo package installer
// writes the user's shortcuts there).
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/app/installer_process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_server.h"

namespace testsupport {

// Points of the installer window's controls (client coordinates, the middle of each).
struct ClientPoint {
  int x, y;
};
inline constexpr ClientPoint kCustomInstallBox{752, 523};  // "chk_custom_install"
inline constexpr ClientPoint kCloseButton{781, 32};        // "btn_close"
inline constexpr ClientPoint kBrowseButton{735, 587};      // "btn_browser" (panel open)
inline constexpr ClientPoint kInstallButton{417, 501};     // "btn_go_step1"; "btn_launch" lies there too
// Of the 333 x 203 confirmation box: "确认" (btn0) and "取消" (btn1).
inline constexpr ClientPoint kBoxConfirm{118, 152};
inline constexpr ClientPoint kBoxCancel{214, 152};

class DemoSiteRun : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the installer (with `extraEnv_` in its environment); the folder chooser answers
  // `pickedFolder_`.
  void StartInstaller();
  // Opens the custom-install panel, picks `pickedFolder_` in the chooser and presses the install
  // button.
  void PickFolderAndInstall(const std::string& window);
  // The installer window's X id, once it is shown ("" when it never shows).
  std::string InstallerWindow();
  // Clicks a point of a window given in its client coordinates.
  void ClickIn(const std::string& window, ClientPoint p);
  // Repeats the click until `done` holds (the window may not take input yet, or a dialog may
  // still be closing); false when it never does within 20 s.
  bool ClickUntil(const std::string& window, ClientPoint p, const std::function<bool()>& done);
  // Waits (up to `seconds`) until `done` holds.
  static bool WaitFor(const std::function<bool()>& done, int seconds = 20);

  // The client events the statistics server received, in order ("m" of each).
  std::vector<std::int64_t> EventNumbers() const;
  // Each client event carries the launch identity and the key MD5("18" + p + v + m).
  void ExpectWellFormedEvents() const;
  bool Received(std::int64_t event) const;
  std::size_t RequestsFor(const std::string& path) const;

  TempDir dir_;
  std::filesystem::path site_ = dir_ / "site";
  std::filesystem::path bin_ = dir_ / "bin";
  std::filesystem::path home_ = dir_ / "home";
  std::filesystem::path pickedFolder_ = dir_ / "Apps";
  std::map<std::string, std::string> extraEnv_;
  std::unique_ptr<TestServer> server_;
  std::unique_ptr<InstallerCopy> copy_;
  std::unique_ptr<BackgroundProcess> installer_;
};

}  // namespace testsupport
