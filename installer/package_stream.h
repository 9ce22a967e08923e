#pragma once
// The temporary file of one transfer attempt and the MD5 digest of what went into it: every
// received block is written as it arrives and hashed in order on a helper thread (the transfer
// would otherwise wait for the hash, which is slower than receiving and writing); memory does not
// grow with the package.
//
//   CPackageStream stream;
//   if (!stream.Open(TempFilePath(task.localPath), provider)) ... "create tmp file failed" ...
//   ... stream.Write(block) for every block ...
//   stream.Close();
//   std::vector<std::uint8_t> digest = stream.Digest();
//
// The crypto service's failures (creating the digest, hashing a block) are thrown as
// KwrBase::win_exception from Open, Write or Digest.
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "common/base/hash_algorithm.h"
#include "installer/ordered_hasher.h"
#include "platform/file.h"

class CPackageStream {
 public:
  CPackageStream() = default;
  CPackageStream(const CPackageStream&) = delete;
  CPackageStream& operator=(const CPackageStream&) = delete;

  // Creates (or empties) the file, held exclusively, and starts the digest. False when the file
  // cannot be created; throws when the digest cannot be started.
  bool Open(const std::filesystem::path& path, const KwrBase::HashProv& provider);
  // Hashes the block and writes it. False after a failed write, which is logged
  // ("write file failed, err:{}" with the system's error code). Throws when hashing failed.
  bool Write(std::string_view block);
  void Close() { file_.Close(); }
  // The digest of every block written; call once, after the last Write.
  std::vector<std::uint8_t> Digest() { return hasher_.Finish(); }

 private:
  platform::File file_;
  COrderedHasher hasher_;
};
