#include "platform/process_info.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <string_view>
#include <system_error>

namespace platform {
namespace {
std::vector<std::string>& SavedArgs() {
  static std::vector<std::string> args;
  return args;
}
}  // namespace

std::filesystem::path ExecutablePath() {
  std::error_code ec;
  std::string p = std::filesystem::read_symlink("/proc/self/exe", ec).string();
  if (ec) return {};
  // The kernel marks an executable replaced or removed while it runs; the name it was started
  // under (which carries the channel) is the part before the mark.
  constexpr std::string_view kDeleted = " (deleted)";
  if (p.ends_with(kDeleted)) p.erase(p.size() - kDeleted.size());
  return p;
}

std::filesystem::path RunningImagePath() { return "/proc/self/exe"; }

std::string ExecutableBaseName() { return ExecutablePath().filename().string(); }

void SaveCommandLine(int argc, char** argv) {
  auto& args = SavedArgs();
  args.clear();
  for (int i = 0; i < argc; ++i) args.emplace_back(argv[i] ? argv[i] : "");
}

const std::vector<std::string>& CommandLineArgs() { return SavedArgs(); }

unsigned long CurrentThreadId() { return static_cast<unsigned long>(::syscall(SYS_gettid)); }

}  // namespace platform
