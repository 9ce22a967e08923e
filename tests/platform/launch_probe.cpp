// Started by the launch tests in place of a real program. Writes what it was started with to the
// file $LAUNCH_PROBE_REPORT, one "key=value" line each, and renames it into place when complete:
// its folder, arguments, open descriptors, process ids and user, and some environment.
#include <dirent.h>
#include <grp.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
  std::ostringstream out;
  // Descriptors first, before this program opens any of its own (the listing's one aside).
  out << "fds=";
  if (DIR* d = opendir("/proc/self/fd")) {
    int own = dirfd(d);
    bool first = true;
    while (dirent* e = readdir(d)) {
      if (e->d_name[0] == '.' || std::atoi(e->d_name) == own) continue;
      out << (first ? "" : ",") << e->d_name;
      first = false;
    }
    closedir(d);
  }
  out << "\n";
  char cwd[4096] = "";
  out << "cwd=" << (getcwd(cwd, sizeof cwd) ? cwd : "?") << "\n";
  out << "argv0=" << argv[0] << "\n";
  out << "argc=" << argc - 1 << "\n";
  for (int i = 1; i < argc; ++i) out << "arg=" << argv[i] << "\n";
  out << "pid=" << getpid() << "\nppid=" << getppid() << "\nsid=" << getsid(0) << "\n";
  out << "uid=" << getuid() << "\neuid=" << geteuid() << "\ngid=" << getgid() << "\negid=" << getegid() << "\n";
  gid_t groups[64];
  int n = getgroups(64, groups);
  out << "groups=";
  for (int i = 0; i < n; ++i) out << (i ? "," : "") << groups[i];
  out << "\n";
  for (const char* name : {"HOME", "USER", "LOGNAME", "SHELL", "PWD", "DISPLAY", "XAUTHORITY", "XDG_RUNTIME_DIR",
                           "DBUS_SESSION_BUS_ADDRESS", "SUDO_UID", "SUDO_USER", "PKEXEC_UID"}) {
    const char* v = std::getenv(name);
    out << "env." << name << "=" << (v ? v : "(unset)") << "\n";
  }

  const char* report = std::getenv("LAUNCH_PROBE_REPORT");
  if (!report) return 2;
  std::string partial = std::string(report) + ".part";
  {
    std::ofstream file(partial, std::ios::trunc);
    file << out.str();
    if (!file) return 3;
  }
  return std::rename(partial.c_str(), report) == 0 ? 0 : 4;
}
