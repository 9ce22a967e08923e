#include "tests/support/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace testsupport {
namespace {

int StartChild(const std::vector<std::string>& argv, const ProcessOptions& options, int* readFd) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    dup2(pipeFds[1], 1);
    dup2(pipeFds[1], 2);
    int devnull = open("/dev/null", O_RDONLY);
    if (devnull >= 0) dup2(devnull, 0);
    for (const auto& name : options.unsetEnv) unsetenv(name.c_str());
    for (const auto& [k, v] : options.setEnv) setenv(k.c_str(), v.c_str(), 1);
    if (!options.workDir.empty() && chdir(options.workDir.c_str()) != 0) _exit(126);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  close(pipeFds[1]);
  *readFd = pipeFds[0];
  return pid;
}

int DecodeStatus(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

BackgroundProcess::BackgroundProcess(const std::vector<std::string>& argv, const ProcessOptions& options) {
  pid_ = StartChild(argv, options, &fd_);
}

BackgroundProcess::~BackgroundProcess() {
  if (!exited_ && pid_ > 0) {
    kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
  if (fd_ >= 0) close(fd_);
}

std::optional<std::string> BackgroundProcess::ReadLine(std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (auto nl = buffer_.find('\n'); nl != std::string::npos) {
      std::string line = buffer_.substr(0, nl);
      buffer_.erase(0, nl + 1);
      return line;
    }
    if (fd_ < 0) return std::nullopt;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return std::nullopt;
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left.count())) <= 0) return std::nullopt;
    char buf[4096];
    ssize_t n = read(fd_, buf, sizeof buf);
    if (n <= 0) {
      close(fd_);
      fd_ = -1;
      if (buffer_.empty()) return std::nullopt;
      std::string rest;
      rest.swap(buffer_);
      return rest;
    }
    buffer_.append(buf, static_cast<std::size_t>(n));
  }
}

int BackgroundProcess::Wait(std::chrono::milliseconds timeout) {
  if (exited_) return exitCode_;
  auto deadline = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid_, 0));
  for (;;) {
    if (waitpid(pid_, &status, WNOHANG) == pid_) break;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || pidfd < 0) {
      if (pidfd < 0 && left.count() > 0 && waitpid(pid_, &status, 0) == pid_) break;
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
      if (pidfd >= 0) close(pidfd);
      exited_ = true;
      exitCode_ = -1;
      return exitCode_;
    }
    pollfd p{pidfd, POLLIN, 0};
    poll(&p, 1, static_cast<int>(left.count()));
  }
  if (pidfd >= 0) close(pidfd);
  exited_ = true;
  exitCode_ = DecodeStatus(status);
  return exitCode_;
}

ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessOptions& options) {
  ProcessResult result;
  BackgroundProcess child(argv, options);
  auto deadline = std::chrono::steady_clock::now() + options.timeout;
  while (auto line = child.ReadLine(std::chrono::duration_cast<std::chrono::milliseconds>(
             deadline - std::chrono::steady_clock::now()))) {
    result.output += *line;
    result.output += '\n';
  }
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  result.exitCode = child.Wait(left.count() > 0 ? left : std::chrono::milliseconds(1));
  result.timedOut = result.exitCode == -1;
  return result;
}

}  // namespace testsupport
