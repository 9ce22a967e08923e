#include "platform/process_launch.h"

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/linux/launch_identity.h"
#include "platform/volumes.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using linux_impl::LaunchIdentity;

// Everything the child needs, laid out before fork(): after it only system calls are allowed
// (another thread may hold the allocator's lock at the moment of the fork).
struct ChildPlan {
  const char* exe = nullptr;
  char* const* argv = nullptr;
  char* const* envp = nullptr;
  const char* workDir = nullptr;
  const LaunchIdentity* identity = nullptr;
  int reportFd = -1;
  unsigned maxFd = 0;
};

[[noreturn]] void ReportAndExit(int fd, int error) {
  ssize_t ignored = ::write(fd, &error, sizeof error);
  (void)ignored;
  ::_exit(127);
}

void CloseFrom(unsigned first, unsigned last, unsigned maxFd) {
  if (first > last) return;
  if (::syscall(SYS_close_range, first, last, 0) == 0) return;
  for (unsigned fd = first; fd <= last && fd < maxFd; ++fd) ::close(static_cast<int>(fd));
}

[[noreturn]] void RunGrandchild(const ChildPlan& plan) {
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  struct sigaction dfl {};
  dfl.sa_handler = SIG_DFL;
  for (int sig = 1; sig < NSIG; ++sig) ::sigaction(sig, &dfl, nullptr);  // an ignored SIGPIPE would carry over

  int devnull = ::open("/dev/null", O_RDWR);
  if (devnull >= 0 && devnull != 0) ::dup2(devnull, 0);
  unsigned report = static_cast<unsigned>(plan.reportFd);
  CloseFrom(3, report - 1, plan.maxFd);
  CloseFrom(report + 1, ~0U, plan.maxFd);

  if (plan.identity->switchUser) {
    const auto& id = *plan.identity;
    if (::setgroups(id.groups.size(), id.groups.data()) != 0) ReportAndExit(plan.reportFd, errno);
    if (::setgid(id.gid) != 0) ReportAndExit(plan.reportFd, errno);
    if (::setuid(id.uid) != 0) ReportAndExit(plan.reportFd, errno);
    if (::getuid() != id.uid || ::geteuid() != id.uid) ReportAndExit(plan.reportFd, EPERM);
  }
  // Entered as the user, so the user's own access rules decide.
  if (::chdir(plan.workDir) != 0) ReportAndExit(plan.reportFd, errno);
  ::execve(plan.exe, plan.argv, plan.envp);
  ReportAndExit(plan.reportFd, errno);
}

[[noreturn]] void RunIntermediate(const ChildPlan& plan) {
  // A session of its own, and a parent that is gone at once: the program is nobody's child
  // (init or the session's subreaper adopts it) and not tied to our terminal.
  ::setsid();
  pid_t pid = ::fork();
  if (pid < 0) ReportAndExit(plan.reportFd, errno);
  if (pid > 0) ::_exit(0);
  RunGrandchild(plan);
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> out;
  out.reserve(strings.size() + 1);
  for (auto& s : strings) out.push_back(s.data());
  out.push_back(nullptr);
  return out;
}

}  // namespace

std::error_code LaunchDetached(const fs::path& program, const std::vector<std::string>& args, const fs::path& workDir) {
  LaunchIdentity identity;
  if (auto ec = linux_impl::ResolveLaunchIdentity(identity)) return ec;
  std::vector<std::string> env = linux_impl::LaunchEnvironment(identity, workDir);
  fs::path exe = linux_impl::ResolveProgram(program, env);
  if (exe.empty()) return std::make_error_code(std::errc::no_such_file_or_directory);

  std::vector<std::string> argvStrings;
  argvStrings.push_back(program.string());
  argvStrings.insert(argvStrings.end(), args.begin(), args.end());
  std::vector<char*> argv = Pointers(argvStrings);
  std::vector<char*> envp = Pointers(env);
  std::string exeText = exe.string();
  std::string dirText = workDir.string();

  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return {errno, std::system_category()};
  // The report pipe must stay above 2 even when our standard descriptors are closed.
  int reportFd = ::fcntl(fds[1], F_DUPFD_CLOEXEC, 3);
  ::close(fds[1]);
  if (reportFd < 0) {
    int e = errno;
    ::close(fds[0]);
    return {e, std::system_category()};
  }

  rlimit limit{};
  ChildPlan plan;
  plan.exe = exeText.c_str();
  plan.argv = argv.data();
  plan.envp = envp.data();
  plan.workDir = dirText.c_str();
  plan.identity = &identity;
  plan.reportFd = reportFd;
  plan.maxFd = ::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
                   ? static_cast<unsigned>(limit.rlim_cur)
                   : 65536;

  pid_t pid = ::fork();
  if (pid < 0) {
    int e = errno;
    ::close(fds[0]);
    ::close(reportFd);
    return {e, std::system_category()};
  }
  if (pid == 0) {
    ::close(fds[0]);
    RunIntermediate(plan);
  }
  ::close(reportFd);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  // End of file without a word: the program was executed (the pipe closed with the exec).
  int childError = 0;
  ssize_t n;
  while ((n = ::read(fds[0], &childError, sizeof childError)) < 0 && errno == EINTR) {
  }
  ::close(fds[0]);
  if (n == static_cast<ssize_t>(sizeof childError)) return {childError, std::system_category()};
  if (n != 0) return std::make_error_code(std::errc::io_error);
  return {};
}

std::error_code OpenUrlAsDesktopUser(const std::string& url) {
  LaunchIdentity identity;
  if (auto ec = linux_impl::ResolveLaunchIdentity(identity)) return ec;
  fs::path home = identity.switchUser ? fs::path(identity.home) : HomeFolder();
  std::error_code ec;
  if (home.empty() || !fs::is_directory(home, ec)) home = "/";
  return LaunchDetached("xdg-open", {url}, home);
}

}  // namespace platform
