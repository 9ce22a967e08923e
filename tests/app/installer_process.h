#pragma once
// Runs copies of the built installer from a temporary folder, as a user would start a download.
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "tests/support/process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_server.h"

namespace testsupport {

// A folder holding a copy of the installer under `exeName`, optionally with a "log" folder.
class InstallerCopy {
 public:
  explicit InstallerCopy(const std::string& exeName = "Setup_b12348.exe", bool withLogFolder = true)
      : exe_(dir_ / exeName) {
    std::filesystem::copy_file(WEBINST_EXE, exe_);
    if (withLogFolder) std::filesystem::create_directory(dir_ / "log");
  }
  const std::filesystem::path& exe() const { return exe_; }
  std::filesystem::path folder() const { return dir_.path(); }
  std::filesystem::path logFile() const { return dir_ / "log" / (exe_.filename().string() + ".log"); }
  std::string log() const { return ReadFile(logFile()); }
  // Servers the options leave unset point at a local port where nothing listens: a test run never
  // reaches out beyond this machine. A run sees no X display unless the options set DISPLAY: a
  // failed start-up would otherwise wait in its message box for a user.
  ProcessResult Run(ProcessOptions options = {}) const { return RunProcess({exe_.string()}, Local(options)); }
  // The same, started beside the test.
  std::unique_ptr<BackgroundProcess> Start(ProcessOptions options = {}) const {
    return std::make_unique<BackgroundProcess>(std::vector<std::string>{exe_.string()}, Local(options));
  }

 private:
  static ProcessOptions Local(ProcessOptions options) {
    std::string nowhere = "http://127.0.0.1:" + std::to_string(UnusedLocalPort());
    for (const char* name : {"WEBINST_CONFIG_SERVER", "WEBINST_STATS_SERVER", "WEBINST_INSTALL_STATS_SERVER"})
      options.setEnv.try_emplace(name, nowhere);
    if (!options.setEnv.contains("DISPLAY")) options.unsetEnv.push_back("DISPLAY");
    return options;
  }

  TempDir dir_;
  std::filesystem::path exe_;
};

// Options that hand the test's X display (the test script's Xvfb) to the installer.
inline ProcessOptions WithDisplay(ProcessOptions options = {}) {
  if (const char* display = std::getenv("DISPLAY")) options.setEnv["DISPLAY"] = display;
  return options;
}

}  // namespace testsupport
