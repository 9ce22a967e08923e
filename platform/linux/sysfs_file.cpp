#include "platform/linux/sysfs_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace platform::linux_impl {

std::optional<std::string> ReadSmallFile(const std::filesystem::path& path, std::size_t maxBytes) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string out;
  char buf[4096];
  bool ok = true;
  while (out.size() < maxBytes) {
    ssize_t n = ::read(fd, buf, std::min(sizeof buf, maxBytes - out.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    out.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  if (!ok) return std::nullopt;
  return out;
}

std::optional<std::string> ReadSysfsText(const std::filesystem::path& path) {
  auto text = ReadSmallFile(path);
  if (text) {
    while (!text->empty() && (text->back() == '\n' || text->back() == '\r')) text->pop_back();
  }
  return text;
}

}  // namespace platform::linux_impl
