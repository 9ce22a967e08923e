#include "installer/ordered_hasher.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Data(std::size_t size) {
  std::string s(size, '\0');
  std::uint32_t x = 12345;
  for (char& c : s) {
    x = x * 1103515245u + 12345u;
    c = static_cast<char>(x >> 24);
  }
  return s;
}

TEST(OrderedHasher, BlocksOfAnySizeGiveTheDigestOfTheWhole) {
  KwrBase::HashProv prov;
  prov.AcquireContext();
  const std::string data = Data(5 * COrderedHasher::kBufferSize + 12345);
  // Block sizes around the buffer size, empty blocks, and more data than all buffers together.
  for (std::size_t block : {std::size_t{1}, std::size_t{16384}, COrderedHasher::kBufferSize - 1,
                            COrderedHasher::kBufferSize, 3 * COrderedHasher::kBufferSize + 7}) {
    COrderedHasher hasher;
    hasher.Start(prov);
    hasher.Feed(data.data(), 0);
    for (std::size_t at = 0; at < data.size(); at += block)
      hasher.Feed(data.data() + at, std::min(block, data.size() - at));
    EXPECT_EQ(KwrBase::ToHex(hasher.Finish()), KwrBase::Md5HexDigest(data)) << block;
  }
  COrderedHasher empty;
  empty.Start(prov);
  EXPECT_EQ(KwrBase::ToHex(empty.Finish()), "d41d8cd98f00b204e9800998ecf8427e");
}

TEST(OrderedHasher, AFailedStartThrowsAndAnAbandonedDigestEndsItsHelper) {
  KwrBase::HashProv notAcquired;
  COrderedHasher failing;
  EXPECT_THROW(failing.Start(notAcquired), KwrBase::win_exception);

  KwrBase::HashProv prov;
  prov.AcquireContext();
  const std::string data = Data(3 * COrderedHasher::kBufferSize);
  auto abandoned = std::make_unique<COrderedHasher>();
  abandoned->Start(prov);
  abandoned->Feed(data.data(), data.size());
  abandoned.reset();  // no Finish: a transfer that failed half-way
}

}  // namespace
