#pragma once
// Files as the install flow uses them: a file is held by one opener at a time ("no sharing"),
// a symbolic link in the last component is never followed, and opening never blocks on a FIFO or
// a device. The download folder may be writable by the user while the installer runs as root,
// so these rules keep it from being tricked into reading or writing elsewhere.
//
//   platform::File f = platform::File::OpenExclusiveForRead(path);
//   if (!f.IsOpen()) ... f.Error() ...
//   auto size = f.Size();
//   platform::MappedFileView view = platform::MappedFileView::Map(f, *size);
//
// "Held exclusively" is an exclusive flock taken without waiting. It keeps out every opener that
// uses this class (this program, a second run of it) but it is advisory: a process that does not
// ask for the lock can still read, write, rename or delete the file.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace platform {

class File {
 public:
  File() = default;
  ~File() { Close(); }
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // An existing regular file, for reading, held exclusively. Fails when nothing is there, when
  // the path names a directory, FIFO, device or symbolic link, or when another opener holds it.
  static File OpenExclusiveForRead(const std::filesystem::path& path);
  // A regular file for writing, held exclusively and always empty afterwards (created, or the
  // existing one truncated). Fails without touching the file when another opener holds it, and
  // when the path names anything but a regular file (a symbolic link included).
  static File CreateExclusiveForWrite(const std::filesystem::path& path);

  bool IsOpen() const { return fd_ >= 0; }
  // The system's error code (errno) of the last operation that failed, the open included.
  int Error() const { return error_; }

  // The size in bytes; nothing when it cannot be read.
  std::optional<std::uint64_t> Size();
  // Reads exactly `length` bytes from the current position, over short reads and interrupted
  // calls; false on an error or when the file ends first.
  bool ReadExact(void* buffer, std::size_t length);
  // Writes all `length` bytes at the current position; false on an error (disk full, say).
  bool WriteAll(const void* data, std::size_t length);
  // rwxr-xr-x: a program that is about to be run.
  bool MakeExecutable();
  void Close();

 private:
  friend class MappedFileView;
  File(int fd, int error) : fd_(fd), error_(error) {}
  static File Open(const std::filesystem::path& path, int flags);

  int fd_ = -1;
  int error_ = 0;
};

// A read-only view of the start of an open file, for hashing a large file without copying it.
class MappedFileView {
 public:
  MappedFileView() = default;
  ~MappedFileView() { Unmap(); }
  MappedFileView(MappedFileView&& other) noexcept;
  MappedFileView& operator=(MappedFileView&& other) noexcept;
  MappedFileView(const MappedFileView&) = delete;
  MappedFileView& operator=(const MappedFileView&) = delete;

  // The first `length` bytes of `file` (length > 0). Invalid on failure, with Error() set. The
  // view stays valid after the file is closed, and keeps it held until it is unmapped.
  static MappedFileView Map(const File& file, std::size_t length);

  bool IsValid() const { return data_ != nullptr; }
  int Error() const { return error_; }
  const std::uint8_t* data() const { return data_; }
  std::size_t size() const { return size_; }
  void Unmap();

 private:
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  int error_ = 0;
};

}  // namespace platform
