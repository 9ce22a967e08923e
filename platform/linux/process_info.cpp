#include "platform/process_info.h"

#include <sys/syscall.h>
#include <unistd.h>

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
  auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : p;
}

std::string ExecutableBaseName() { return ExecutablePath().filename().string(); }

void SaveCommandLine(int argc, char** argv) {
  auto& args = SavedArgs();
  args.clear();
  for (int i = 0; i < argc; ++i) args.emplace_back(argv[i] ? argv[i] : "");
}

const std::vector<std::string>& CommandLineArgs() { return SavedArgs(); }

unsigned long CurrentThreadId() { return static_cast<unsigned long>(::syscall(SYS_gettid)); }

}  // namespace platform
