#pragma once
// The outside X11 tools that act as the user and the eye on the test's display ($DISPLAY, the
// test script's Xvfb) when a test drives a whole program: xdotool, xprop.
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/process.h"

namespace testsupport {

// Output of an X11 tool run against the test's display.
inline std::string Tool(const std::vector<std::string>& argv) {
  ProcessOptions options;
  options.timeout = std::chrono::seconds(20);
  return RunProcess(argv, options).output;
}

// The first shown window of that WM_CLASS class; "" when none appears in time.
inline std::string WaitForWindow(const std::string& windowClass) {
  std::istringstream ids(Tool({"xdotool", "search", "--sync", "--onlyvisible", "--class", windowClass}));
  std::string id;
  std::getline(ids, id);
  return id;
}

// "X", "Y", "WIDTH", "HEIGHT" (and "SCREEN", "WINDOW") of a window.
inline std::map<std::string, int> Geometry(const std::string& id) {
  std::map<std::string, int> out;
  std::istringstream lines(Tool({"xdotool", "getwindowgeometry", "--shell", id}));
  for (std::string line; std::getline(lines, line);) {
    const auto eq = line.find('=');
    if (eq != std::string::npos) out[line.substr(0, eq)] = std::atoi(line.c_str() + eq + 1);
  }
  return out;
}

inline std::pair<int, int> ScreenSize() {
  std::istringstream in(Tool({"xdotool", "getdisplaygeometry"}));
  int w = 0, h = 0;
  in >> w >> h;
  return {w, h};
}

// The xdotool command that clicks the left button at a point of the screen.
inline std::vector<std::string> ClickAt(int x, int y) {
  return {"xdotool", "mousemove", std::to_string(x), std::to_string(y), "click", "1"};
}

// True once the child has exited; it stays waitable for BackgroundProcess::Wait.
inline bool HasExited(const BackgroundProcess& child) {
  siginfo_t info{};
  return waitid(P_PID, static_cast<id_t>(child.pid()), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid != 0;
}

// Repeats `act` until the program has ended (a window may take a moment after it is mapped to
// present its pixels and take the focus); its exit code, or -1 when it never ends.
inline int EndWith(BackgroundProcess& program, const std::vector<std::string>& act) {
  using namespace std::chrono_literals;
  const auto deadline = std::chrono::steady_clock::now() + 30s;
  while (std::chrono::steady_clock::now() < deadline) {
    Tool(act);
    for (int i = 0; i < 25 && !HasExited(program); ++i) std::this_thread::sleep_for(20ms);
    if (HasExited(program)) return program.Wait(5s);
  }
  return program.Wait(0ms);
}

}  // namespace testsupport
