#pragma once
// One skin archive: a zip file read through minizip from a memory block or a file, with
// case-insensitive lookup of "\"- or "/"-separated names and extraction in pieces.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>

namespace SkinUI {

// Result codes of SkinResourceZip operations.
enum SkinZipResult : uint32_t {
  kZipOk = 0,
  kZipCannotOpen = 0x200,       // the archive file cannot be opened
  kZipNotFound = 0x500,         // no entry of that name
  kZipMore = 0x600,             // the buffer was filled with data; more calls continue the entry
  kZipCorrupt = 0x700,          // damaged archive, local header mismatch, CRC-32 mismatch
  kZipReadError = 0x800,        // the archive source could not be read
  kZipBadArguments = 0x10000,   // no archive open, index out of range, null buffer
  kZipNotReading = 0x80000,     // an archive not opened for reading (never here: it only reads)
  kZipInflateFailed = 0x5000000,
};

// What a lookup tells about an entry. Times are seconds since 1970 (UTC).
struct SkinZipEntry {
  int index = -1;  // position in the central directory
  std::wstring name;
  uint32_t attributes = 0;
  std::time_t accessTime = 0;
  std::time_t creationTime = 0;
  std::time_t modificationTime = 0;
  uint64_t compressedSize = 0;
  uint64_t uncompressedSize = 0;
};

class SkinResourceZip {
 public:
  // Names of this many wide characters or more are never found.
  static constexpr size_t kMaxNameLength = 256;

  SkinResourceZip() = default;
  ~SkinResourceZip();
  SkinResourceZip(const SkinResourceZip&) = delete;
  SkinResourceZip& operator=(const SkinResourceZip&) = delete;

  // Reads straight from the block, which must outlive the archive (or the next Open/Close).
  uint32_t OpenMemory(const void* data, size_t size);
  uint32_t OpenFile(const std::filesystem::path& path);
  // Works on a duplicate of fd; the caller keeps its own.
  uint32_t OpenHandle(int fd);
  void Close();
  bool IsOpen() const { return zip_ != nullptr; }

  // With ignoreCase, ASCII letters match either case; every other byte must be equal. A found
  // entry is left open, positioned at its start, for ExtractItem.
  uint32_t FindItem(const std::wstring& name, bool ignoreCase, SkinZipEntry& entry);

  // Produces the next min(size, bytes still to come) bytes of the entry at `index` (opening it
  // first unless it is the one already open): kZipMore when it produced any, kZipOk when the
  // entry was finished (it is closed then). A damaged stream, a short entry or a CRC-32 that does
  // not match what the archive records fails and closes the entry.
  uint32_t ExtractItem(int index, void* buffer, size_t size, size_t* produced = nullptr);

  // The result of the latest operation of any archive in the process.
  static uint32_t LastResult();

  // Where the archive's bytes come from; public only for the read callbacks.
  struct Source {
    const uint8_t* data = nullptr;  // memory block, or
    int fd = -1;                    // an owned file descriptor
    uint64_t size = 0;
    uint64_t pos = 0;
    bool failed = false;
  };

 private:
  uint32_t Open(uint64_t size);
  uint32_t Finish(uint32_t result);
  uint32_t MoveTo(int index);
  uint32_t OpenEntry();
  void CloseEntry();

  Source source_;
  void* zip_ = nullptr;  // unzFile
  int currentIndex_ = 0;
  bool entryOpen_ = false;
  uint64_t entryLeft_ = 0;
  uint32_t entryCrc_ = 0;
  uint32_t runningCrc_ = 0;
};

}  // namespace SkinUI
