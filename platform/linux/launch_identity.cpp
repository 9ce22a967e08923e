#include "platform/linux/launch_identity.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <optional>
#include <string_view>

extern char** environ;

namespace platform::linux_impl {
namespace {

namespace fs = std::filesystem;

// What execvp would search without a PATH.
constexpr std::string_view kDefaultPath = "/usr/local/bin:/usr/bin:/bin";

std::optional<unsigned long> EnvId(const char* name) {
  const char* v = std::getenv(name);
  if (!v || !*v) return std::nullopt;
  std::string_view text(v);
  unsigned long id = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), id);
  if (ec != std::errc() || end != text.data() + text.size() || id > static_cast<uid_t>(-2)) return std::nullopt;
  return id;
}

bool OwnedBy(const fs::path& p, uid_t uid) {
  struct stat st {};
  return ::stat(p.c_str(), &st) == 0 && st.st_uid == uid;
}

std::string_view NameOf(std::string_view entry) { return entry.substr(0, entry.find('=')); }

class Environment {
 public:
  explicit Environment(char** env) {
    for (char** e = env; e && *e; ++e) entries_.emplace_back(*e);
  }
  const std::string* Find(std::string_view name) const {
    for (const auto& e : entries_)
      if (NameOf(e) == name && e.size() > name.size()) return &e;
    return nullptr;
  }
  std::optional<std::string> Get(std::string_view name) const {
    if (const auto* e = Find(name)) return e->substr(name.size() + 1);
    return std::nullopt;
  }
  void Unset(std::string_view name) {
    std::erase_if(entries_, [&](const std::string& e) { return NameOf(e) == name; });
  }
  void Set(std::string_view name, std::string_view value) {
    Unset(name);
    entries_.push_back(std::string(name) + "=" + std::string(value));
  }
  std::vector<std::string> Take() { return std::move(entries_); }

 private:
  std::vector<std::string> entries_;
};

// The socket of a "unix:path=..." bus address (the first such entry); empty for other kinds.
fs::path BusSocket(const std::string& address) {
  auto at = address.find("unix:path=");
  if (at == std::string::npos) return {};
  auto start = at + 10;
  auto end = address.find_first_of(",;", start);
  return address.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

std::error_code ResolveLaunchIdentity(LaunchIdentity& out) {
  out = {};
  if (::geteuid() != 0) return {};
  std::optional<unsigned long> uid = EnvId("PKEXEC_UID");
  std::optional<unsigned long> gid;
  if (!uid) {
    uid = EnvId("SUDO_UID");
    if (uid) gid = EnvId("SUDO_GID");
  }
  if (!uid || *uid == 0) return {};

  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buf(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd pw{};
  passwd* found = nullptr;
  int err = ::getpwuid_r(static_cast<uid_t>(*uid), &pw, buf.data(), buf.size(), &found);
  if (err != 0) return {err, std::system_category()};
  if (!found) return std::make_error_code(std::errc::permission_denied);

  out.switchUser = true;
  out.uid = found->pw_uid;
  out.gid = gid ? static_cast<gid_t>(*gid) : found->pw_gid;
  out.name = found->pw_name ? found->pw_name : "";
  out.home = found->pw_dir && *found->pw_dir ? found->pw_dir : "/";
  out.shell = found->pw_shell && *found->pw_shell ? found->pw_shell : "/bin/sh";

  int count = 32;
  for (int attempt = 0; attempt < 8; ++attempt) {
    out.groups.resize(static_cast<std::size_t>(count));
    int n = count;
    if (::getgrouplist(out.name.c_str(), out.gid, out.groups.data(), &n) >= 0) {
      out.groups.resize(static_cast<std::size_t>(n));
      return {};
    }
    count = n > count ? n : count * 2;
  }
  out.groups.assign(1, out.gid);  // the primary group at least; never root's groups
  return {};
}

std::vector<std::string> LaunchEnvironment(const LaunchIdentity& identity, const fs::path& workDir) {
  Environment env(environ);
  env.Unset("OLDPWD");
  env.Set("PWD", workDir.string());
  if (!identity.switchUser) return env.Take();

  for (const char* marker : {"SUDO_COMMAND", "SUDO_USER", "SUDO_UID", "SUDO_GID", "SUDO_HOME", "PKEXEC_UID", "MAIL"})
    env.Unset(marker);
  env.Set("HOME", identity.home);
  env.Set("USER", identity.name);
  env.Set("LOGNAME", identity.name);
  env.Set("SHELL", identity.shell);

  auto runtime = env.Get("XDG_RUNTIME_DIR");
  if (!runtime || !OwnedBy(*runtime, identity.uid)) {
    fs::path standard = "/run/user/" + std::to_string(identity.uid);
    if (OwnedBy(standard, identity.uid)) {
      runtime = standard.string();
      env.Set("XDG_RUNTIME_DIR", *runtime);
    } else {
      runtime.reset();
      env.Unset("XDG_RUNTIME_DIR");
    }
  }
  if (auto bus = env.Get("DBUS_SESSION_BUS_ADDRESS")) {
    fs::path socket = BusSocket(*bus);
    if (!socket.empty() && !OwnedBy(socket, identity.uid)) env.Unset("DBUS_SESSION_BUS_ADDRESS");
  }
  if (!env.Find("DBUS_SESSION_BUS_ADDRESS") && runtime && OwnedBy(fs::path(*runtime) / "bus", identity.uid))
    env.Set("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + (fs::path(*runtime) / "bus").string());
  // Someone else's authority file is unreadable to the user; without one Xlib reads
  // ~/.Xauthority, which is the user's.
  if (auto xauth = env.Get("XAUTHORITY"); xauth && !OwnedBy(*xauth, identity.uid)) env.Unset("XAUTHORITY");
  return env.Take();
}

fs::path FindOnPath(const std::string& name, std::string_view pathList) {
  if (name.empty()) return {};
  std::size_t start = 0;
  while (start <= pathList.size()) {
    std::size_t end = pathList.find(':', start);
    if (end == std::string_view::npos) end = pathList.size();
    std::string_view dir = pathList.substr(start, end - start);
    fs::path candidate = (dir.empty() ? fs::path(".") : fs::path(dir)) / name;
    struct stat st {};
    if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0111)) return candidate;
    start = end + 1;
  }
  return {};
}

fs::path ResolveProgram(const fs::path& program, const std::vector<std::string>& environment) {
  if (program.native().find('/') != std::string::npos) return program;
  std::string_view pathList = kDefaultPath;
  for (const auto& e : environment)
    if (NameOf(e) == "PATH") pathList = std::string_view(e).substr(5);
  return FindOnPath(program.native(), pathList);
}

}  // namespace platform::linux_impl
