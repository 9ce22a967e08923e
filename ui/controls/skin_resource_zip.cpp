#include "ui/controls/skin_resource_zip.h"

#include <fcntl.h>
#include <minizip/unzip.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include "platform/text_encoding.h"
#include "ui/controls/skin_file_name.h"

namespace SkinUI {

namespace {

std::atomic<uint32_t> g_lastResult{kZipOk};

// The longest name a lookup converts (bytes of the narrow form).
constexpr size_t kMaxNarrowName = 259;
// Deflate cannot expand by more than this factor, so a larger declared size is a lie.
constexpr uint64_t kMaxDeflateRatio = 1032;
// Pieces handed to minizip per read call (its length parameter is an unsigned int).
constexpr size_t kReadPiece = 1u << 30;

unzFile Zip(void* z) { return static_cast<unzFile>(z); }

// --- read callbacks over SkinResourceZip::Source ----------------------------------------------

using Source = SkinResourceZip::Source;

voidpf ZCALLBACK SourceOpen(voidpf, const void* filename, int mode) {
  if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
  auto* s = static_cast<Source*>(const_cast<void*>(filename));
  s->pos = 0;
  s->failed = false;
  return s;
}

uLong ZCALLBACK SourceRead(voidpf, voidpf stream, void* buf, uLong size) {
  auto* s = static_cast<Source*>(stream);
  uint64_t n = std::min<uint64_t>(size, s->pos < s->size ? s->size - s->pos : 0);
  if (s->data != nullptr) {
    std::memcpy(buf, s->data + s->pos, n);
  } else {
    uint64_t done = 0;
    while (done < n) {
      ssize_t r = pread(s->fd, static_cast<uint8_t*>(buf) + done, n - done, static_cast<off_t>(s->pos + done));
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) {
        s->failed = true;
        break;
      }
      done += static_cast<uint64_t>(r);
    }
    n = done;
  }
  s->pos += n;
  return static_cast<uLong>(n);
}

uLong ZCALLBACK SourceWrite(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK SourceTell(voidpf, voidpf stream) { return static_cast<Source*>(stream)->pos; }

long ZCALLBACK SourceSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  auto* s = static_cast<Source*>(stream);
  uint64_t base = 0;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = s->pos; break;
    case ZLIB_FILEFUNC_SEEK_END: base = s->size; break;
    default: return -1;
  }
  if (offset > s->size || base > s->size - offset) return -1;
  s->pos = base + offset;
  return 0;
}

int ZCALLBACK SourceClose(voidpf, voidpf) { return 0; }

int ZCALLBACK SourceError(voidpf, voidpf stream) { return static_cast<Source*>(stream)->failed ? 1 : 0; }

uint32_t FromMinizip(int err) {
  switch (err) {
    case UNZ_OK: return kZipOk;
    case UNZ_END_OF_LIST_OF_FILE: return kZipNotFound;
    case UNZ_ERRNO: return kZipReadError;
    case UNZ_PARAMERROR: return kZipBadArguments;
    default: return kZipCorrupt;
  }
}

// Whether the sizes an entry declares can be true of an archive of `archiveSize` bytes; the
// uncompressed size is what a reader allocates.
bool PlausibleSizes(const unz_file_info64& info, uint64_t archiveSize) {
  if (info.compressed_size > archiveSize) return false;
  switch (info.compression_method) {
    case 0:  // stored (an encrypted one carries a 12-byte header on top)
      return info.uncompressed_size <= info.compressed_size;
    case Z_DEFLATED:
      return info.uncompressed_size / kMaxDeflateRatio <= info.compressed_size;
    default:
      return false;  // nothing else can be read
  }
}

std::time_t DosTime(const tm_unz& d) {
  std::tm t{};
  t.tm_sec = static_cast<int>(d.tm_sec);
  t.tm_min = static_cast<int>(d.tm_min);
  t.tm_hour = static_cast<int>(d.tm_hour);
  t.tm_mday = static_cast<int>(d.tm_mday);
  t.tm_mon = static_cast<int>(d.tm_mon);
  t.tm_year = static_cast<int>(d.tm_year) - 1900;
  t.tm_isdst = -1;  // DOS times are local times
  return std::mktime(&t);
}

uint32_t Le(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

// The extended-timestamp block ("UT") of a local extra field replaces the DOS time: flag bits 0,
// 1 and 2 announce the modification, access and creation times that follow, in that order.
void ApplyExtendedTimestamp(const uint8_t* extra, size_t size, SkinZipEntry& entry) {
  size_t pos = 0;
  while (pos + 4 <= size) {
    uint32_t tag = Le(extra + pos, 2);
    size_t len = Le(extra + pos + 2, 2);
    const uint8_t* data = extra + pos + 4;
    if (pos + 4 + len > size) return;
    if (tag == 0x5455 && len >= 1) {
      uint8_t flags = data[0];
      size_t at = 1;
      std::time_t* fields[] = {&entry.modificationTime, &entry.accessTime, &entry.creationTime};
      for (int bit = 0; bit < 3; ++bit) {
        if ((flags & (1 << bit)) == 0) continue;
        if (at + 4 > len) return;
        *fields[bit] = static_cast<std::time_t>(static_cast<int32_t>(Le(data + at, 4)));
        at += 4;
      }
      return;
    }
    pos += 4 + len;
  }
}

}  // namespace

SkinResourceZip::~SkinResourceZip() { Close(); }

uint32_t SkinResourceZip::LastResult() { return g_lastResult.load(); }

uint32_t SkinResourceZip::Finish(uint32_t result) {
  g_lastResult.store(result);
  return result;
}

uint32_t SkinResourceZip::OpenMemory(const void* data, size_t size) {
  Close();
  if (data == nullptr || size == 0) return Finish(kZipBadArguments);
  source_.data = static_cast<const uint8_t*>(data);
  return Finish(Open(size));
}

uint32_t SkinResourceZip::OpenFile(const std::filesystem::path& path) {
  Close();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return Finish(kZipCannotOpen);
  uint32_t r = OpenHandle(fd);
  ::close(fd);
  return r;
}

uint32_t SkinResourceZip::OpenHandle(int fd) {
  Close();
  struct stat st {};
  if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return Finish(kZipCannotOpen);
  int own = fcntl(fd, F_DUPFD_CLOEXEC, 0);
  if (own < 0) return Finish(kZipCannotOpen);
  source_.fd = own;
  return Finish(Open(static_cast<uint64_t>(st.st_size)));
}

uint32_t SkinResourceZip::Open(uint64_t size) {
  source_.size = size;
  zlib_filefunc64_def funcs{};
  funcs.zopen64_file = SourceOpen;
  funcs.zread_file = SourceRead;
  funcs.zwrite_file = SourceWrite;
  funcs.ztell64_file = SourceTell;
  funcs.zseek64_file = SourceSeek;
  funcs.zclose_file = SourceClose;
  funcs.zerror_file = SourceError;
  zip_ = unzOpen2_64(&source_, &funcs);
  if (zip_ == nullptr) {
    bool readFailed = source_.failed;
    Close();
    return readFailed ? kZipReadError : kZipCorrupt;
  }
  currentIndex_ = 0;
  return kZipOk;
}

void SkinResourceZip::Close() {
  if (zip_ != nullptr) {
    CloseEntry();
    unzClose(Zip(zip_));
    zip_ = nullptr;
  }
  if (source_.fd >= 0) ::close(source_.fd);
  source_ = Source{};
  currentIndex_ = 0;
}

void SkinResourceZip::CloseEntry() {
  if (entryOpen_) {
    unzCloseCurrentFile(Zip(zip_));  // our own CRC check has the say
    entryOpen_ = false;
  }
}

uint32_t SkinResourceZip::MoveTo(int index) {
  if (index < currentIndex_) {
    int err = unzGoToFirstFile(Zip(zip_));
    currentIndex_ = 0;
    if (err != UNZ_OK) return err == UNZ_END_OF_LIST_OF_FILE ? kZipBadArguments : FromMinizip(err);
  }
  while (currentIndex_ < index) {
    int err = unzGoToNextFile(Zip(zip_));
    if (err != UNZ_OK) {
      // Off the end: start again from the first entry so later calls find a sane position.
      unzGoToFirstFile(Zip(zip_));
      currentIndex_ = 0;
      return err == UNZ_END_OF_LIST_OF_FILE ? kZipBadArguments : FromMinizip(err);
    }
    ++currentIndex_;
  }
  return kZipOk;
}

// Opens the entry at the current position after checking that its sizes are believable;
// minizip compares the local header with the central record.
uint32_t SkinResourceZip::OpenEntry() {
  unz_file_info64 info{};
  int err = unzGetCurrentFileInfo64(Zip(zip_), &info, nullptr, 0, nullptr, 0, nullptr, 0);
  if (err != UNZ_OK) return err == UNZ_PARAMERROR ? kZipBadArguments : FromMinizip(err);
  if (!PlausibleSizes(info, source_.size)) return kZipCorrupt;
  err = unzOpenCurrentFile(Zip(zip_));
  if (err != UNZ_OK) return err == UNZ_BADZIPFILE ? kZipCorrupt : kZipInflateFailed;
  entryOpen_ = true;
  entryLeft_ = info.uncompressed_size;
  entryCrc_ = static_cast<uint32_t>(info.crc);
  runningCrc_ = static_cast<uint32_t>(crc32(0, Z_NULL, 0));
  return kZipOk;
}

uint32_t SkinResourceZip::FindItem(const std::wstring& name, bool ignoreCase, SkinZipEntry& entry) {
  if (zip_ == nullptr) return Finish(kZipBadArguments);
  CloseEntry();
  if (name.size() >= kMaxNameLength) return Finish(kZipNotFound);
  std::string wanted = platform::WideToAnsi(name);
  if (wanted.size() > kMaxNarrowName) return Finish(kZipNotFound);
  std::replace(wanted.begin(), wanted.end(), '\\', '/');

  unz64_file_pos saved{};
  const bool havePos = unzGetFilePos64(Zip(zip_), &saved) == UNZ_OK;
  const int savedIndex = currentIndex_;
  auto restore = [&] {
    if (havePos && unzGoToFilePos64(Zip(zip_), &saved) == UNZ_OK) {
      currentIndex_ = savedIndex;
    } else {
      unzGoToFirstFile(Zip(zip_));
      currentIndex_ = 0;
    }
  };

  int err = unzGoToFirstFile(Zip(zip_));
  currentIndex_ = 0;
  std::vector<char> stored(wanted.size() + 1);
  unz_file_info64 info{};
  while (err == UNZ_OK) {
    err = unzGetCurrentFileInfo64(Zip(zip_), &info, nullptr, 0, nullptr, 0, nullptr, 0);
    if (err != UNZ_OK) break;
    if (info.size_filename == wanted.size()) {
      err = unzGetCurrentFileInfo64(Zip(zip_), &info, stored.data(), static_cast<uLong>(stored.size()),
                                    nullptr, 0, nullptr, 0);
      if (err != UNZ_OK) break;
      const std::string_view storedName(stored.data(), wanted.size());
      if (ignoreCase ? SkinNamesEqual(storedName, wanted) : storedName == wanted) break;
    }
    err = unzGoToNextFile(Zip(zip_));
    if (err == UNZ_OK) ++currentIndex_;
  }
  if (err != UNZ_OK) {
    restore();
    return Finish(err == UNZ_END_OF_LIST_OF_FILE ? kZipNotFound : FromMinizip(err));
  }

  entry = SkinZipEntry{};
  entry.index = currentIndex_;
  entry.name = platform::AnsiToWide({stored.data(), wanted.size()});
  entry.attributes = static_cast<uint32_t>(info.external_fa);
  entry.modificationTime = entry.accessTime = entry.creationTime = DosTime(info.tmu_date);
  entry.compressedSize = info.compressed_size;
  entry.uncompressedSize = info.uncompressed_size;

  uint32_t r = OpenEntry();
  if (r != kZipOk) return Finish(r);
  int extraSize = unzGetLocalExtrafield(Zip(zip_), nullptr, 0);
  if (extraSize > 0) {
    std::vector<uint8_t> extra(static_cast<size_t>(extraSize));
    int got = unzGetLocalExtrafield(Zip(zip_), extra.data(), static_cast<unsigned>(extra.size()));
    if (got > 0) ApplyExtendedTimestamp(extra.data(), static_cast<size_t>(got), entry);
  }
  return Finish(kZipOk);
}

uint32_t SkinResourceZip::ExtractItem(int index, void* buffer, size_t size, size_t* produced) {
  if (produced != nullptr) *produced = 0;
  if (zip_ == nullptr) return Finish(kZipBadArguments);
  if (index < 0 || (buffer == nullptr && size != 0)) return Finish(kZipBadArguments);
  if (!entryOpen_ || index != currentIndex_) {
    CloseEntry();
    uint32_t r = MoveTo(index);
    if (r == kZipOk) r = OpenEntry();
    if (r != kZipOk) return Finish(r);
  }

  const uint64_t want = std::min<uint64_t>(size, entryLeft_);
  if (want == 0) {
    CloseEntry();
    return Finish(kZipOk);
  }
  auto* out = static_cast<uint8_t*>(buffer);
  uint64_t done = 0;
  while (done < want) {
    const unsigned piece = static_cast<unsigned>(std::min<uint64_t>(want - done, kReadPiece));
    int n = unzReadCurrentFile(Zip(zip_), out + done, piece);
    if (n <= 0 || static_cast<unsigned>(n) > piece) break;
    runningCrc_ = static_cast<uint32_t>(crc32(runningCrc_, out + done, static_cast<uInt>(n)));
    done += static_cast<unsigned>(n);
    if (static_cast<unsigned>(n) < piece) break;
  }
  if (produced != nullptr) *produced = static_cast<size_t>(done);
  if (done < want) {
    // The stream ended or broke before the entry's declared size: the data is not the entry.
    CloseEntry();
    return Finish(kZipInflateFailed);
  }
  entryLeft_ -= done;
  if (entryLeft_ == 0 && runningCrc_ != entryCrc_) {
    CloseEntry();
    return Finish(kZipCorrupt);
  }
  return Finish(kZipMore);
}

}  // namespace SkinUI
