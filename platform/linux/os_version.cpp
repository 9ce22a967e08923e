#include "platform/os_version.h"

#include <sys/utsname.h>

#include <string_view>

namespace platform {

std::string KernelRelease() {
  utsname u{};
  if (::uname(&u) != 0) return {};
  return u.release;
}

bool Is32BitProcessOn64BitKernel() {
  if constexpr (sizeof(void*) >= 8) {
    return false;
  } else {
    utsname u{};
    if (::uname(&u) != 0) return false;
    std::string_view m = u.machine;
    return m == "x86_64" || m == "aarch64" || m == "arm64" || m == "ppc64" || m == "ppc64le" || m == "s390x" ||
           m == "riscv64" || m == "mips64" || m == "loongarch64";
  }
}

}  // namespace platform
