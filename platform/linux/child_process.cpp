#include "platform/child_process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

extern char** environ;

namespace platform {
namespace {

// With SIGCHLD ignored the kernel reaps children by itself and waitpid loses the exit status.
void EnsureChildrenAreWaitable() {
  struct sigaction current {};
  if (::sigaction(SIGCHLD, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) {
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    ::sigaction(SIGCHLD, &dfl, nullptr);
  }
}

class SpawnSettings {
 public:
  SpawnSettings() {
    ok_ = ::posix_spawn_file_actions_init(&actions_) == 0;
    ok_ = ::posix_spawnattr_init(&attr_) == 0 && ok_;
    if (!ok_) return;
    // Only stdin, stdout and stderr reach the child, whatever the caller had open without
    // close-on-exec (and whatever another thread opens meanwhile).
    ok_ = ::posix_spawn_file_actions_addclosefrom_np(&actions_, 3) == 0;
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    ok_ = ok_ && ::posix_spawnattr_setsigdefault(&attr_, &all) == 0 &&
          ::posix_spawnattr_setsigmask(&attr_, &none) == 0 &&
          ::posix_spawnattr_setflags(&attr_, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK) == 0;
  }
  ~SpawnSettings() {
    ::posix_spawn_file_actions_destroy(&actions_);
    ::posix_spawnattr_destroy(&attr_);
  }
  SpawnSettings(const SpawnSettings&) = delete;
  SpawnSettings& operator=(const SpawnSettings&) = delete;

  bool ok() const { return ok_; }
  const posix_spawn_file_actions_t* actions() const { return &actions_; }
  const posix_spawnattr_t* attr() const { return &attr_; }

 private:
  posix_spawn_file_actions_t actions_;
  posix_spawnattr_t attr_;
  bool ok_ = false;
};

}  // namespace

ChildExit RunChildAndWait(const std::vector<std::string>& argv) {
  ChildExit result;
  if (argv.empty() || argv[0].empty()) {
    result.startError = ENOENT;
    return result;
  }
  SpawnSettings settings;
  if (!settings.ok()) {
    result.startError = ENOMEM;
    return result;
  }
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  EnsureChildrenAreWaitable();
  pid_t pid = -1;
  // glibc reports a failed exec (ENOENT, EACCES, ENOEXEC ...) as the result of posix_spawn.
  int rc = ::posix_spawn(&pid, args[0], settings.actions(), settings.attr(), args.data(), environ);
  if (rc != 0) {
    result.startError = rc;
    return result;
  }
  result.started = true;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno == EINTR) continue;
    // Somebody else reaped it: the status is gone, which must not read as success.
    result.exitCode = 0xFFFFFFFFu;
    return result;
  }
  if (WIFEXITED(status))
    result.exitCode = static_cast<std::uint32_t>(WEXITSTATUS(status));
  else if (WIFSIGNALED(status))
    result.exitCode = 128u + static_cast<std::uint32_t>(WTERMSIG(status));
  else
    result.exitCode = 0xFFFFFFFFu;
  return result;
}

}  // namespace platform
