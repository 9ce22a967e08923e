#include "common/base/hash_algorithm.h"

#include <openssl/err.h>
#include <openssl/evp.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>

#include "platform/text_encoding.h"

namespace KwrBase {
namespace {

// printf-style formatting into a string of exactly the needed length.
std::string FormatString(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatString(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  int size = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string out;
  if (size > 0) {
    out.resize(static_cast<std::size_t>(size));
    std::vsnprintf(out.data(), out.size() + 1, format, again);
  }
  va_end(again);
  return out;
}

// The crypto library's most recent error for the failing call, then a clean queue so that a
// later failure does not report this one.
std::uint32_t TakeLastError() {
  auto code = static_cast<std::uint32_t>(ERR_peek_last_error());
  ERR_clear_error();
  return code;
}

[[noreturn]] void Throw(unsigned line, const char* function, const wchar_t* message) {
  std::uint32_t code = TakeLastError();
  throw win_exception(__FILE__, line, function, code, message);
}

}  // namespace

win_exception::win_exception(const char* file, unsigned line, const char* function, std::uint32_t lastError,
                             const std::wstring& message)
    : message_(FormatString("Throw win_exception at \nFile:%s\nLine:%u\nFunction:%s\nMessage:%s\nLastError:%u\n"
                            "Description:%s",
                            file ? file : "", line, function ? function : "", platform::WideToAnsi(message).c_str(),
                            static_cast<unsigned>(lastError), Description(lastError).c_str())) {}

std::string win_exception::Description(std::uint32_t code) {
  if (code == 0 || ERR_reason_error_string(code) == nullptr) return {};
  char text[256];
  ERR_error_string_n(code, text, sizeof text);
  return text;
}

bool HashProv::AcquireContext() {
  Release();
  md_ = EVP_MD_fetch(nullptr, "MD5", nullptr);
  if (!md_) Throw(__LINE__, "KwrBase::HashProv::AcquireContext", L"CryptAcquireContextW failed.");
  return true;
}

void HashProv::Release() {
  if (md_) EVP_MD_free(md_);
  md_ = nullptr;
}

bool Hash::Create(HashProv::Handle_t provider) {
  Destroy();
  if (provider) {
    ctx_ = EVP_MD_CTX_new();
    if (ctx_ && EVP_DigestInit_ex(ctx_, provider, nullptr) == 1) return true;
  }
  // A failure leaves no half-made digest behind; the error code is taken first.
  std::uint32_t code = TakeLastError();
  Destroy();
  throw win_exception(__FILE__, __LINE__, "KwrBase::Hash::Create", code, L"CryptCreateHash failed.");
}

bool Hash::HashData(const std::uint8_t* data, std::uint32_t length) {
  if (!ctx_ || finished_ || (!data && length) || EVP_DigestUpdate(ctx_, data, length) != 1)
    Throw(__LINE__, "KwrBase::Hash::HashData", L"CryptHashData failed.");
  return true;
}

bool Hash::GetHash(std::uint8_t* buffer, std::uint32_t* length) {
  if (!length || !ctx_) Throw(__LINE__, "KwrBase::Hash::GetHash", L"CryptGetHashParam failed.");
  if (!buffer) {
    *length = kDigestSize;
    return true;
  }
  if (*length < kDigestSize) {
    *length = kDigestSize;
    Throw(__LINE__, "KwrBase::Hash::GetHash", L"CryptGetHashParam failed.");
  }
  if (!finished_) {
    unsigned int size = 0;
    if (EVP_DigestFinal_ex(ctx_, value_, &size) != 1 || size != kDigestSize)
      Throw(__LINE__, "KwrBase::Hash::GetHash", L"CryptGetHashParam failed.");
    finished_ = true;
  }
  std::memcpy(buffer, value_, kDigestSize);
  *length = kDigestSize;
  return true;
}

std::vector<std::uint8_t> Hash::GetHash() {
  std::uint32_t size = 0;
  GetHash(nullptr, &size);
  std::vector<std::uint8_t> digest(size);
  GetHash(digest.data(), &size);
  digest.resize(size);
  return digest;
}

void Hash::Destroy() {
  if (ctx_) EVP_MD_CTX_free(ctx_);
  ctx_ = nullptr;
  finished_ = false;
}

std::string ToHex(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (std::uint8_t b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 0x0F];
  }
  return out;
}

std::string Md5HexDigest(std::string_view data) {
  HashProv prov;
  prov.AcquireContext();
  Hash hash;
  hash.Create(prov.Handle());
  // One feed for every string the program hashes; only inputs beyond 4 GiB take more than one.
  const auto* p = reinterpret_cast<const std::uint8_t*>(data.data());
  std::size_t left = data.size();
  do {
    auto n = static_cast<std::uint32_t>(std::min<std::size_t>(left, std::numeric_limits<std::uint32_t>::max()));
    hash.HashData(p, n);
    p += n;
    left -= n;
  } while (left > 0);
  return ToHex(hash.GetHash());
}

}  // namespace KwrBase
