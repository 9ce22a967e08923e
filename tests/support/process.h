#pragma once
// Real child processes for tests: start a program, feed nothing, collect its output and exit code.
#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

struct ProcessResult {
  int exitCode = -1;     // the exit status, or 128 + signal
  bool timedOut = false; // killed after the time limit
  std::string output;    // stdout and stderr together
};

struct ProcessOptions {
  std::map<std::string, std::string> setEnv;  // added to (or replacing in) the current environment
  std::vector<std::string> unsetEnv;
  std::string workDir;                        // "" = the current directory
  std::chrono::milliseconds timeout{30000};
};

ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessOptions& options = {});

// A child that runs beside the test; its output is read line by line.
class BackgroundProcess {
 public:
  BackgroundProcess(const std::vector<std::string>& argv, const ProcessOptions& options = {});
  ~BackgroundProcess();  // kills the child if it still runs
  BackgroundProcess(const BackgroundProcess&) = delete;
  BackgroundProcess& operator=(const BackgroundProcess&) = delete;

  // The next output line, or nothing when the child closed its output or the time ran out.
  std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
  // Waits for the exit (killing the child after `timeout`) and returns its code.
  int Wait(std::chrono::milliseconds timeout);
  int pid() const { return pid_; }

 private:
  int pid_ = -1;
  int fd_ = -1;
  std::string buffer_;
  bool exited_ = false;
  int exitCode_ = -1;
};

}  // namespace testsupport
