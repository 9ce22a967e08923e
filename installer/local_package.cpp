#include "installer/local_package.h"

#include <memory>
#include <new>
#include <system_error>

#include "common/base/log.h"
#include "installer/download_task.h"
#include "platform/file.h"

namespace {

constexpr std::uint64_t k4GiB = 1ull << 32;

// The digest of the whole file, or nothing after a logged failure.
std::optional<std::vector<std::uint8_t>> HashFile(platform::File& file, std::uint64_t size,
                                                  const KwrBase::HashProv& provider, LocalFileRoute& route) {
  KwrBase::Hash hash;
  hash.Create(provider.Handle());
  auto length = static_cast<std::uint32_t>(size);  // below 4 GiB here
  if (size > kWholeReadLimit) {
    route = LocalFileRoute::map;
    platform::MappedFileView view = platform::MappedFileView::Map(file, length);
    if (!view.IsValid()) {
      LOG_ERROR << "Map file failed";
      return std::nullopt;
    }
    hash.HashData(view.data(), length);
  } else {
    route = LocalFileRoute::read;
    std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[length ? length : 1]);
    if (!buffer || !file.ReadExact(buffer.get(), length)) {
      LOG_ERROR << "Read file error";
      return std::nullopt;
    }
    hash.HashData(buffer.get(), length);
  }
  return hash.GetHash();
}

}  // namespace

LocalFileCheck CheckLocalFile(const std::filesystem::path& path, std::uint32_t expectedSize,
                              const std::vector<std::uint8_t>& expectedDigest, const KwrBase::HashProv& provider) {
  LocalFileCheck check;
  std::error_code ec;
  // Also true for a dangling symbolic link, which the open below then refuses with a log line.
  if (!std::filesystem::exists(std::filesystem::symlink_status(path, ec))) return check;

  platform::File file = platform::File::OpenExclusiveForRead(path);
  if (!file.IsOpen()) {
    LOG_ERROR << "Open exist file failed";
    return check;
  }
  std::optional<std::uint64_t> size = file.Size();
  if (!size) {
    LOG_ERROR << "Get size failed";
    return check;
  }
  if (expectedSize != 0 && *size != expectedSize) {
    LOG_ERROR << "size not equal";
    return check;
  }
  if (*size >= k4GiB) {
    // Only a prefix could be hashed in one piece, and a prefix that matches is not the file.
    LOG_ERROR << "File too large to verify";
    return check;
  }
  try {
    std::optional<std::vector<std::uint8_t>> digest = HashFile(file, *size, provider, check.route);
    check.reusable = digest && DigestMatches(*digest, expectedDigest);
  } catch (const std::exception& e) {  // the crypto service failed: fetch the file again
    LOG_ERROR << e.what();
  }
  return check;
}

bool HasLocalFile(const std::filesystem::path& path, std::uint32_t expectedSize,
                  const std::vector<std::uint8_t>& expectedDigest, const KwrBase::HashProv& provider) {
  return CheckLocalFile(path, expectedSize, expectedDigest, provider).reusable;
}
