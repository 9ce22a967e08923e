#include "common/base/hash_algorithm.h"

#include <gtest/gtest.h>
#include <openssl/err.h>
#include <openssl/evp.h>

#include <numeric>

namespace {
using KwrBase::Hash;
using KwrBase::HashProv;
using KwrBase::win_exception;

std::vector<std::uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

TEST(Md5, DigestTextsOfKnownInputs) {
  EXPECT_EQ(KwrBase::Md5HexDigest(""), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(KwrBase::Md5HexDigest("abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(KwrBase::Md5HexDigest(std::string("a\0b", 3)), "70350f6027bce3713f6b76473084309b");
}

TEST(Md5, SeveralFeedsGiveTheDigestOfOneFeed) {
  std::vector<std::uint8_t> data(100000);
  std::iota(data.begin(), data.end(), std::uint8_t{7});
  HashProv prov;
  ASSERT_TRUE(prov.AcquireContext());

  Hash whole;
  whole.Create(prov.Handle());
  whole.HashData(data.data(), static_cast<std::uint32_t>(data.size()));

  Hash pieces;  // uneven blocks, an empty one among them, as a transfer delivers them
  pieces.Create(prov.Handle());
  std::size_t at = 0;
  for (std::size_t n : {1u, 0u, 16383u, 4096u, 77u}) {
    pieces.HashData(data.data() + at, static_cast<std::uint32_t>(n));
    at += n;
  }
  pieces.HashData(data.data() + at, static_cast<std::uint32_t>(data.size() - at));

  std::vector<std::uint8_t> a = whole.GetHash();
  EXPECT_EQ(a.size(), 16u);
  EXPECT_EQ(a, pieces.GetHash());
  EXPECT_EQ(KwrBase::ToHex(a), KwrBase::Md5HexDigest(std::string(data.begin(), data.end())));
}

TEST(Md5, GetHashSizesReadsAgainAndThenRefusesData) {
  HashProv prov;
  prov.AcquireContext();
  Hash hash;
  hash.Create(prov.Handle());
  auto abc = Bytes("abc");
  hash.HashData(abc.data(), 3);

  std::uint32_t size = 0;
  EXPECT_TRUE(hash.GetHash(nullptr, &size));
  EXPECT_EQ(size, 16u);
  std::uint8_t value[20] = {};
  size = sizeof value;
  EXPECT_TRUE(hash.GetHash(value, &size));
  EXPECT_EQ(size, 16u);
  EXPECT_EQ(KwrBase::ToHex({value, 16}), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(KwrBase::ToHex(hash.GetHash()), "900150983cd24fb0d6963f7d28e17f72") << "a second read gives the same value";
  EXPECT_THROW(hash.HashData(abc.data(), 3), win_exception);
}

// Each misuse throws with its function and message, and the text ends in the description.
TEST(Md5, FailuresThrowWithTheirFunctionAndMessage) {
  auto expectThrow = [](auto&& call, const std::string& function, const std::string& message) {
    try {
      call();
      ADD_FAILURE() << "no exception for " << function;
    } catch (const std::exception& e) {  // catchable as the standard base
      std::string text = e.what();
      EXPECT_NE(text.find("\nFunction:" + function + "\n"), std::string::npos) << text;
      EXPECT_NE(text.find("\nMessage:" + message + "\nLastError:"), std::string::npos) << text;
      EXPECT_NE(text.find("File:"), std::string::npos) << text;
      EXPECT_NE(text.find("hash_algorithm"), std::string::npos) << text;
    }
  };
  HashProv empty;
  Hash hash;
  expectThrow([&] { hash.Create(empty.Handle()); }, "KwrBase::Hash::Create", "CryptCreateHash failed.");
  std::uint8_t byte = 1;
  expectThrow([&] { hash.HashData(&byte, 1); }, "KwrBase::Hash::HashData", "CryptHashData failed.");
  std::uint32_t size = 16;
  expectThrow([&] { hash.GetHash(&byte, &size); }, "KwrBase::Hash::GetHash", "CryptGetHashParam failed.");

  HashProv prov;
  prov.AcquireContext();
  hash.Create(prov.Handle());
  expectThrow([&] { hash.GetHash(&byte, nullptr); }, "KwrBase::Hash::GetHash", "CryptGetHashParam failed.");
  std::uint8_t small[8];
  size = sizeof small;
  expectThrow([&] { hash.GetHash(small, &size); }, "KwrBase::Hash::GetHash", "CryptGetHashParam failed.");
  EXPECT_EQ(size, 16u) << "a short buffer still learns the size it needs";
}

TEST(WinException, MessageHasTheFixedLayout) {
  win_exception e("/src/common/base/hash_algorithm.cpp", 42, "KwrBase::Hash::HashData", 6,
                  L"CryptHashData failed.");
  EXPECT_STREQ(e.what(),
               "Throw win_exception at \nFile:/src/common/base/hash_algorithm.cpp\nLine:42\n"
               "Function:KwrBase::Hash::HashData\nMessage:CryptHashData failed.\nLastError:6\nDescription:");
  win_exception copy = e;
  EXPECT_STREQ(copy.what(), e.what());
}

TEST(WinException, DescriptionIsTheLibraryTextOfTheCode) {
  ERR_clear_error();
  EXPECT_EQ(EVP_MD_fetch(nullptr, "NO-SUCH-DIGEST", nullptr), nullptr);
  auto code = static_cast<std::uint32_t>(ERR_peek_last_error());
  ERR_clear_error();
  ASSERT_NE(code, 0u);
  std::string description = win_exception::Description(code);
  EXPECT_NE(description, "");
  win_exception e("f.cpp", 1, "F", code, L"m");
  std::string text = e.what();
  EXPECT_TRUE(text.ends_with("\nLastError:" + std::to_string(code) + "\nDescription:" + description)) << text;
}

TEST(WinException, MessageIsConvertedToTheNarrowCharacterSet) {
  win_exception e("f", 1, "F", 0, L"\u00e9t\u00e9 \U0001F600 " + std::wstring(1, static_cast<wchar_t>(0xD800)) + L"!");
  std::string text = e.what();
  EXPECT_NE(text.find("\nMessage:\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80 \xEF\xBF\xBD!\n"), std::string::npos) << text;
}

TEST(ToHex, TwoLowercaseDigitsPerByteInOrder) {
  EXPECT_EQ(KwrBase::ToHex({}), "");
  std::vector<std::uint8_t> b = {0x00, 0x0f, 0xa0, 0xff, 0x5c};
  EXPECT_EQ(KwrBase::ToHex(b), "000fa0ff5c");
}

}  // namespace
