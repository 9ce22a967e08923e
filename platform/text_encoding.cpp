#include "platform/text_encoding.h"

#include <langinfo.h>

#include <climits>
#include <cstring>
#include <cwchar>

namespace platform {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// True when the locale's narrow set is UTF-8, or is the untouched "C" locale.
bool NarrowIsUtf8() {
  const char* codeset = nl_langinfo(CODESET);
  return codeset == nullptr || std::strcmp(codeset, "UTF-8") == 0 ||
         std::strcmp(codeset, "ANSI_X3.4-1968") == 0;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
  size_t n = utf8.size();
  size_t i = 0;
  while (i < n) {
    unsigned char c = s[i];
    if (c < 0x80) {
      out += static_cast<wchar_t>(c);
      ++i;
      continue;
    }
    // Length and the allowed range of the second byte, which rules out overlong forms,
    // surrogates and values above U+10FFFF.
    size_t len = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
      len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      len = 3;
      if (c == 0xE0) lo = 0xA0;
      if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      len = 4;
      if (c == 0xF0) lo = 0x90;
      if (c == 0xF4) hi = 0x8F;
    }
    if (len == 0) {
      out += kReplacement;
      ++i;
      continue;
    }
    uint32_t cp = c & (0xFF >> (len + 1));
    size_t k = 1;
    for (; k < len && i + k < n; ++k) {
      unsigned char b = s[i + k];
      if (k == 1 ? (b < lo || b > hi) : !IsContinuation(b)) break;
      cp = (cp << 6) | (b & 0x3F);
    }
    if (k < len) {
      // A truncated or broken sequence becomes one replacement; the byte that broke it starts
      // the next character.
      out += kReplacement;
      i += k;
      continue;
    }
    out += static_cast<wchar_t>(cp);
    i += len;
  }
  return out;
}

std::string WideToUtf8(std::wstring_view wide) {
  std::string out;
  out.reserve(wide.size());
  for (wchar_t ch : wide) AppendUtf8(out, static_cast<uint32_t>(ch));
  return out;
}

std::wstring Utf16ToWide(const uint8_t* bytes, size_t units, bool bigEndian) {
  std::wstring out;
  out.reserve(units);
  auto unit = [&](size_t i) -> uint32_t {
    uint8_t a = bytes[2 * i], b = bytes[2 * i + 1];
    return bigEndian ? (uint32_t{a} << 8 | b) : (uint32_t{b} << 8 | a);
  };
  for (size_t i = 0; i < units; ++i) {
    uint32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
      uint32_t v = unit(i + 1);
      if (v >= 0xDC00 && v <= 0xDFFF) {
        out += static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00));
        ++i;
        continue;
      }
    }
    out += (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : static_cast<wchar_t>(u);
  }
  return out;
}

std::wstring AnsiToWide(std::string_view ansi) {
  if (NarrowIsUtf8()) return Utf8ToWide(ansi);
  std::wstring out;
  std::mbstate_t state{};
  size_t i = 0;
  while (i < ansi.size()) {
    wchar_t ch = 0;
    size_t r = std::mbrtowc(&ch, ansi.data() + i, ansi.size() - i, &state);
    if (r == static_cast<size_t>(-1) || r == static_cast<size_t>(-2)) {
      out += kReplacement;
      state = {};
      ++i;
      continue;
    }
    out += ch;
    i += r == 0 ? 1 : r;
  }
  return out;
}

std::string WideToAnsi(std::wstring_view wide) {
  if (NarrowIsUtf8()) return WideToUtf8(wide);
  std::string out;
  std::mbstate_t state{};
  char buf[MB_LEN_MAX];
  for (wchar_t ch : wide) {
    size_t r = std::wcrtomb(buf, ch, &state);
    if (r == static_cast<size_t>(-1)) {
      out += '?';
      state = {};
      continue;
    }
    out.append(buf, r);
  }
  return out;
}

std::filesystem::path PathFromWide(std::wstring_view wide) { return std::filesystem::path(WideToAnsi(wide)); }

std::wstring PathToWide(const std::filesystem::path& path) { return AnsiToWide(path.native()); }

}  // namespace platform
