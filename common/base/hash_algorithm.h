#pragma once
// MD5 digests over the platform's crypto service (OpenSSL's EVP interface), and the exception the
// base utilities throw when that service fails.
//
//   KwrBase::HashProv prov;            // one per owner; may be shared by threads for Create
//   prov.AcquireContext();
//   KwrBase::Hash hash;                // one per digest, used by one thread at a time
//   hash.Create(prov.Handle());
//   hash.HashData(block, blockSize);   // any number of times, in data order
//   std::vector<std::uint8_t> digest = hash.GetHash();   // 16 bytes
//
// Every failure throws KwrBase::win_exception; no operation returns false. Data is digested in
// the blocks it is fed, never copied.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// OpenSSL's own (opaque) types, so that users of this header need no OpenSSL headers.
struct evp_md_st;
struct evp_md_ctx_st;

namespace KwrBase {

// The exception of the base utilities' platform wrappers. what() is the full text:
//   "Throw win_exception at \nFile:<file>\nLine:<line>\nFunction:<function>\nMessage:<message>\n"
//   "LastError:<code>\nDescription:<system text for code>"
// The code is the crypto library's error code (0 when it recorded none); the description is its
// error string, empty when it has no text for the code.
class win_exception : public std::exception {
 public:
  // `message` is converted to the locale's narrow character set (platform::WideToAnsi: UTF-8
  // here, with replacement characters for what it cannot represent).
  win_exception(const char* file, unsigned line, const char* function, std::uint32_t lastError,
                const std::wstring& message);
  ~win_exception() override = default;
  const char* what() const noexcept override { return message_.c_str(); }

  // The text the crypto library has for `code` ("" when none).
  static std::string Description(std::uint32_t code);

 private:
  std::string message_;
};

// The digest provider: the MD5 algorithm fetched from the crypto library. Not copyable.
class HashProv {
 public:
  using Handle_t = const evp_md_st*;

  HashProv() = default;
  ~HashProv() { Release(); }
  HashProv(const HashProv&) = delete;
  HashProv& operator=(const HashProv&) = delete;

  // Fetches the algorithm. Throws win_exception ("CryptAcquireContextW failed.") on failure.
  bool AcquireContext();
  void Release();
  // nullptr while not acquired.
  Handle_t Handle() const { return md_; }

 private:
  evp_md_st* md_ = nullptr;
};

// One MD5 digest in progress. Not copyable; must not outlive the provider it was created from.
class Hash {
 public:
  static constexpr std::uint32_t kDigestSize = 16;

  Hash() = default;
  ~Hash() { Destroy(); }
  Hash(const Hash&) = delete;
  Hash& operator=(const Hash&) = delete;

  // Starts a digest with the provider's algorithm (a digest already held is discarded).
  // Throws ("CryptCreateHash failed.") when the provider is empty or the library fails.
  bool Create(HashProv::Handle_t provider);
  // Feeds `length` bytes. Throws ("CryptHashData failed.") when there is no digest, when the
  // value has already been read, or when the library fails.
  bool HashData(const std::uint8_t* data, std::uint32_t length);
  // With a null `buffer` stores the needed size (16) in *length. Otherwise writes the digest
  // into `buffer` (*length must be at least 16) and sets *length to 16; the digest then
  // accepts no more data, and reading it again gives the same value. Throws ("CryptGetHashParam
  // failed.") when `length` is null, the buffer is too small or there is no digest.
  bool GetHash(std::uint8_t* buffer, std::uint32_t* length);
  // The digest as 16 bytes.
  std::vector<std::uint8_t> GetHash();
  void Destroy();

 private:
  evp_md_ctx_st* ctx_ = nullptr;
  bool finished_ = false;
  std::uint8_t value_[kDigestSize] = {};
};

// Lowercase hexadecimal text of any bytes, two characters per byte, high nibble first.
std::string ToHex(std::span<const std::uint8_t> bytes);

// The 32-character lowercase MD5 text of `data` (a short-lived provider and digest).
std::string Md5HexDigest(std::string_view data);

}  // namespace KwrBase
