#pragma once
// An MD5 digest computed on a helper thread from blocks fed in order, so that a download does
// not wait for the hash: the transfer thread copies each block into one of a few fixed buffers
// and goes on receiving while the helper hashes full buffers, in the order they were filled.
// Memory is bounded by the buffers, whatever the amount of data.
//
//   COrderedHasher hasher;
//   hasher.Start(provider);          // throws when the digest cannot be started
//   hasher.Feed(block, size);        // any number of times; throws the helper's failure
//   std::vector<std::uint8_t> digest = hasher.Finish();   // after the last block
//
// The digest is the same as one Hash fed the same blocks on one thread.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "common/base/hash_algorithm.h"

class COrderedHasher {
 public:
  static constexpr std::size_t kBufferSize = 1 << 20;
  static constexpr std::size_t kBufferCount = 4;

  COrderedHasher() = default;
  // Stops the helper; data not yet hashed is dropped.
  ~COrderedHasher();
  COrderedHasher(const COrderedHasher&) = delete;
  COrderedHasher& operator=(const COrderedHasher&) = delete;

  // Creates the digest on `provider` (throws KwrBase::win_exception like Hash::Create) and
  // starts the helper.
  void Start(const KwrBase::HashProv& provider);
  // Queues a copy of the bytes. Waits only when every buffer is full and not yet hashed.
  // Rethrows a failure of the helper's hashing (KwrBase::win_exception).
  void Feed(const void* data, std::size_t size);
  // Hashes what is left, ends the helper and returns the 16-byte digest. Call once; rethrows a
  // failure of the helper's hashing.
  std::vector<std::uint8_t> Finish();

 private:
  struct Filled {
    std::size_t buffer;
    std::size_t length;
  };

  void Run();
  void Submit();  // the current buffer goes to the helper; caller holds mutex_
  void StopHelper();

  KwrBase::Hash hash_;  // used only by the helper while it runs
  std::vector<std::unique_ptr<std::uint8_t[]>> buffers_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::size_t> free_;  // buffers the feeder may fill
  std::deque<Filled> filled_;      // buffers waiting for the helper, oldest first
  std::size_t current_ = 0;        // the buffer being filled, when `filling_`
  std::size_t currentLength_ = 0;
  bool filling_ = false;
  bool noMoreData_ = false;  // Finish: hash what is queued, then end
  bool abandon_ = false;     // destruction: end at once
  std::exception_ptr error_;
  std::thread helper_;
};
