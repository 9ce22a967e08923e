#pragma once
// Whom a program started for the user runs as, and with which environment (internal to the
// Linux platform layer). Everything here is worked out before fork(): the child may only make
// system calls.
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace platform::linux_impl {

struct LaunchIdentity {
  bool switchUser = false;  // we are root acting for `uid`; the child must become that user
  uid_t uid = 0;
  gid_t gid = 0;
  std::vector<gid_t> groups;  // the user's supplementary groups
  std::string name, home, shell;
};

// The desktop user a root process acts for: PKEXEC_UID, else SUDO_UID (with SUDO_GID as the
// primary group when given). No switch when we are not root or act for nobody else (or for
// root). An error when we act for a user id that has no account entry: starting the program as
// root instead is not an option.
std::error_code ResolveLaunchIdentity(LaunchIdentity& out);

// The child's environment: ours, with PWD = `workDir`; when switching user also HOME, USER,
// LOGNAME and SHELL of the account, the sudo/pkexec markers removed, and the session variables
// (XDG_RUNTIME_DIR, DBUS_SESSION_BUS_ADDRESS, XAUTHORITY) kept only when they belong to the user
// (the runtime folder and its bus are filled in from /run/user/<uid> when missing); DISPLAY stays.
std::vector<std::string> LaunchEnvironment(const LaunchIdentity& identity, const std::filesystem::path& workDir);

// `program` looked up on `PATH` (from `environment`) when it has no "/"; itself otherwise.
// Empty when no executable file of that name is found.
std::filesystem::path ResolveProgram(const std::filesystem::path& program, const std::vector<std::string>& environment);

// The first executable file named `name` in the folders of the colon-separated `pathList`.
std::filesystem::path FindOnPath(const std::string& name, std::string_view pathList);

}  // namespace platform::linux_impl
