#pragma once
// Reuse of a file already in the download folder (left by an interrupted run, or kept with "-k"):
// it is fetched again only when it no longer matches the configuration.
#include <cstdint>
#include <filesystem>
#include <vector>

#include "common/base/hash_algorithm.h"

// Files larger than this are hashed through a read-only mapping; up to it they are read into
// one buffer.
inline constexpr std::uint64_t kWholeReadLimit = 104857600;

enum class LocalFileRoute {
  none,  // not hashed: missing, unopenable, wrong size or too large
  read,  // read into one buffer and hashed
  map,   // hashed through a mapping
};

struct LocalFileCheck {
  bool reusable = false;
  LocalFileRoute route = LocalFileRoute::none;
};

// True when a regular file is at `path`, has `expectedSize` bytes (0: any size) and the
// `expectedDigest`. The file is held exclusively while it is checked and never changed.
// Every failure answers false, logged at ERROR: "Open exist file failed" (also another opener
// holds it, or the path names a FIFO, directory, device or symbolic link), "Get size failed",
// "size not equal", "Map file failed", "Read file error", the crypto library's failure text; a
// missing file and a digest that differs are not logged. Files of 4 GiB or more are never
// reused (the digest service takes at most 4 GiB - 1 bytes in one piece).
bool HasLocalFile(const std::filesystem::path& path, std::uint32_t expectedSize,
                  const std::vector<std::uint8_t>& expectedDigest, const KwrBase::HashProv& provider);

// The same, also saying how the content was read.
LocalFileCheck CheckLocalFile(const std::filesystem::path& path, std::uint32_t expectedSize,
                              const std::vector<std::uint8_t>& expectedDigest, const KwrBase::HashProv& provider);
