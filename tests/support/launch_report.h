#pragma once
// Reading what tests/platform/launch_probe (a program the launch tests start) wrote.
#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_dir.h"

namespace testsupport {

struct LaunchReport {
  std::map<std::string, std::string> values;
  std::vector<std::string> args;
  const std::string& operator[](const std::string& key) { return values[key]; }
};

// Waits (up to 20 s) for the probe's report at `path`.
inline std::optional<LaunchReport> WaitForLaunchReport(const std::filesystem::path& path) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!std::filesystem::exists(path)) {
    if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  LaunchReport report;
  std::istringstream in(ReadFile(path));
  for (std::string line; std::getline(in, line);) {
    auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    if (key == "arg")
      report.args.push_back(value);
    else
      report.values[key] = value;
  }
  return report;
}

}  // namespace testsupport
