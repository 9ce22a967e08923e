#include "platform/named_event.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

namespace platform {

// An abstract Unix socket: the kernel drops the name with the last descriptor, so a crashed
// holder never blocks the next start. Close-on-exec, so that programs we start (the package
// installer, the installed application) do not keep the name alive after we are gone.
NamedEvent::Result NamedEvent::Create(const std::string& name) {
  Close();
  error_ = 0;
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (name.size() + 1 > sizeof(addr.sun_path)) {
    error_ = ENAMETOOLONG;
    return Result::kFailed;
  }
  std::memcpy(addr.sun_path + 1, name.data(), name.size());  // sun_path[0] == 0: abstract
  socklen_t len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());

  fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) {
    error_ = errno;
    return Result::kFailed;
  }
  if (::bind(fd_, reinterpret_cast<sockaddr*>(&addr), len) == 0) return Result::kCreated;
  error_ = errno;
  // The descriptor stays open like the event handle of a refused start; the caller closes it.
  return error_ == EADDRINUSE ? Result::kAlreadyExists : Result::kFailed;
}

void NamedEvent::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace platform
