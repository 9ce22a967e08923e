#include "platform/file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace platform {

File::File(File&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), error_(std::exchange(other.error_, 0)) {}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    error_ = std::exchange(other.error_, 0);
  }
  return *this;
}

File File::Open(const std::filesystem::path& path, int flags) {
  // O_NONBLOCK: opening a FIFO or a device must not wait for a peer; it is refused below anyway.
  int fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) return File(-1, errno);
  struct stat st {};
  int error = 0;
  if (::fstat(fd, &st) != 0) {
    error = errno;
  } else if (!S_ISREG(st.st_mode)) {
    error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
  } else if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    error = errno == EWOULDBLOCK ? EBUSY : errno;
  } else {
    return File(fd, 0);
  }
  ::close(fd);
  return File(-1, error);
}

File File::OpenExclusiveForRead(const std::filesystem::path& path) { return Open(path, O_RDONLY); }

File File::CreateExclusiveForWrite(const std::filesystem::path& path) {
  // Not O_TRUNC: a file another opener holds must stay as it is, so it is emptied only once the
  // lock is ours.
  File f = Open(path, O_WRONLY | O_CREAT);
  if (f.IsOpen() && ::ftruncate(f.fd_, 0) != 0) {
    int error = errno;
    f.Close();
    f.error_ = error;
  }
  return f;
}

std::optional<std::uint64_t> File::Size() {
  struct stat st {};
  if (fd_ < 0) {
    error_ = EBADF;
    return std::nullopt;
  }
  if (::fstat(fd_, &st) != 0) {
    error_ = errno;
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(st.st_size);
}

bool File::ReadExact(void* buffer, std::size_t length) {
  auto* out = static_cast<char*>(buffer);
  while (length > 0) {
    ssize_t n = ::read(fd_, out, length);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error_ = errno;
      return false;
    }
    if (n == 0) {
      error_ = EIO;  // the file ended before the size it had when it was measured
      return false;
    }
    out += n;
    length -= static_cast<std::size_t>(n);
  }
  return true;
}

bool File::WriteAll(const void* data, std::size_t length) {
  const auto* in = static_cast<const char*>(data);
  while (length > 0) {
    ssize_t n = ::write(fd_, in, length);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error_ = errno;
      return false;
    }
    in += n;
    length -= static_cast<std::size_t>(n);
  }
  return true;
}

bool File::MakeExecutable() {
  if (::fchmod(fd_, 0755) == 0) return true;
  error_ = errno;
  return false;
}

void File::Close() {
  if (fd_ >= 0) ::close(fd_);  // also releases the lock
  fd_ = -1;
}

MappedFileView::MappedFileView(MappedFileView&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      error_(std::exchange(other.error_, 0)) {}

MappedFileView& MappedFileView::operator=(MappedFileView&& other) noexcept {
  if (this != &other) {
    Unmap();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    error_ = std::exchange(other.error_, 0);
  }
  return *this;
}

MappedFileView MappedFileView::Map(const File& file, std::size_t length) {
  MappedFileView view;
  if (length == 0) {
    view.error_ = EINVAL;
    return view;
  }
  void* p = ::mmap(nullptr, length, PROT_READ, MAP_SHARED, file.fd_, 0);
  if (p == MAP_FAILED) {
    view.error_ = errno;
    return view;
  }
  ::madvise(p, length, MADV_SEQUENTIAL);  // read once, front to back
  view.data_ = static_cast<const std::uint8_t*>(p);
  view.size_ = length;
  return view;
}

void MappedFileView::Unmap() {
  if (data_) ::munmap(const_cast<std::uint8_t*>(data_), size_);
  data_ = nullptr;
  size_ = 0;
}

}  // namespace platform
