#pragma once
// Running another program to its end: the package installer, which the installer starts and
// then waits for.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct ChildExit {
  bool started = false;        // false: the program could not be started at all
  int startError = 0;          // why not (the system's error code), when not started
  std::uint32_t exitCode = 0;  // its exit status; ended by a signal: 128 + the signal number
};

// Starts the program at the path argv[0] with exactly `argv` as its arguments: no shell, no
// search of PATH, no quoting. It gets the caller's environment and current directory, descriptors
// 0, 1 and 2, no other descriptor, default signal handling and an empty signal mask. Then waits
// for it without a time limit. A program that cannot be executed (missing, not executable, not a
// format the system runs, on a noexec mount) is reported as not started.
ChildExit RunChildAndWait(const std::vector<std::string>& argv);

}  // namespace platform
