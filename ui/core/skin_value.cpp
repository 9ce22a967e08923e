#include "ui/core/skin_value.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cwchar>
#include <cwctype>

namespace SkinUI {
namespace {

// wcstol with the 32-bit range of the skin format: out-of-range values saturate like a 32-bit
// long does, instead of wrapping.
int ReadInt(const wchar_t* text, const wchar_t** end) {
  wchar_t* e = nullptr;
  long long v = std::wcstoll(text, &e, 10);
  if (v > INT_MAX) v = INT_MAX;
  if (v < INT_MIN) v = INT_MIN;
  *end = e;
  return static_cast<int>(v);
}

}  // namespace

bool ParseSkinBool(const wchar_t* text) { return text != nullptr && std::wcscmp(text, L"true") == 0; }

int ParseSkinInt(const wchar_t* text) {
  if (text == nullptr) return 0;
  const wchar_t* end = nullptr;
  return ReadInt(text, &end);
}

SkinColor ParseSkinColor(const wchar_t* text) {
  if (text == nullptr) return 0;
  if (*text == L'#') ++text;
  wchar_t* end = nullptr;
  errno = 0;
  unsigned long long v = std::wcstoull(text, &end, 16);
  const bool outOfRange = errno == ERANGE;
  // As a 32-bit conversion: a magnitude that does not fit saturates; a leading "-" negates a
  // magnitude that fits, modulo 2^32.
  const wchar_t* q = text;
  while (std::iswspace(*q)) ++q;
  const unsigned long long magnitude = *q == L'-' ? 0ULL - v : v;
  SkinColor c;
  if (outOfRange || magnitude > UINT32_MAX)
    c = UINT32_MAX;
  else
    c = static_cast<SkinColor>(v);
  if (std::wcslen(text) == 6) c |= 0xFF000000u;
  return c;
}

const wchar_t* ParseSkinIntList(const wchar_t* text, int* out, int count) {
  for (int i = 0; i < count; ++i) out[i] = 0;
  if (text == nullptr) return text;
  const wchar_t* p = text;
  for (int i = 0; i < count; ++i) {
    const wchar_t* end = nullptr;
    out[i] = ReadInt(p, &end);
    p = end;
    // Exactly one separator follows each number, whatever it is; never step past the end.
    if (*p == L'\0') break;
    ++p;
  }
  return p;
}

SkinRect ParseSkinRect(const wchar_t* text) {
  int v[4];
  ParseSkinIntList(text, v, 4);
  return {v[0], v[1], v[2], v[3]};
}

SkinSize ParseSkinSize(const wchar_t* text) {
  int v[2];
  ParseSkinIntList(text, v, 2);
  return {v[0], v[1]};
}

}  // namespace SkinUI
