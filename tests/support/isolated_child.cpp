#include "tests/support/isolated_child.h"

#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace testsupport {

std::string RunIsolated(const std::function<std::string()>& body, std::string* error) {
  int fds[2];
  if (pipe(fds) != 0) {
    if (error) *error = "pipe failed";
    return {};
  }
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    std::string out;
    // Private propagation first: nothing mounted here may reach the machine's table.
    if (unshare(CLONE_NEWNS) != 0 || mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
      out = std::string("\x01isolation failed: ") + std::strerror(errno);
    } else {
      out = body();
    }
    size_t done = 0;
    while (done < out.size()) {
      ssize_t n = write(fds[1], out.data() + done, out.size() - done);
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    _exit(0);
  }
  close(fds[1]);
  std::string out;
  char buf[4096];
  ssize_t n;
  while ((n = read(fds[0], buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    if (error) *error = "isolated child died";
    return {};
  }
  if (!out.empty() && out[0] == '\x01') {
    if (error) *error = out.substr(1);
    return {};
  }
  return out;
}

bool MountTmpfs(const std::filesystem::path& where, std::uint64_t bytes, const std::string& options, bool readOnly) {
  std::string data = "size=" + std::to_string(bytes);
  if (!options.empty()) data += "," + options;
  return mount("tmpfs", where.c_str(), "tmpfs", readOnly ? MS_RDONLY : 0, data.c_str()) == 0;
}

bool BecomeUser(unsigned uid, unsigned gid) {
  return setgroups(0, nullptr) == 0 && setgid(gid) == 0 && setuid(uid) == 0 && geteuid() == uid;
}

bool CanIsolate() {
  if (geteuid() != 0) return false;
  std::string error;
  std::string out = RunIsolated([] { return std::string("ok"); }, &error);
  return out == "ok";
}

}  // namespace testsupport
