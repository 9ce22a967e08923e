#include "installer/byte_size_text.h"

#include <clocale>
#include <string>

#include "platform/text_encoding.h"

namespace {

std::wstring DecimalPoint() {
  const std::lconv* conv = std::localeconv();
  if (!conv || !conv->decimal_point || !*conv->decimal_point) return L".";
  return platform::AnsiToWide(conv->decimal_point);
}

}  // namespace

std::wstring StrFormatByteSizeW(std::uint64_t bytes) {
  if (bytes < 1024) return std::to_wstring(bytes) + L" bytes";
  static const wchar_t* const kUnits[] = {L"KB", L"MB", L"GB", L"TB", L"PB", L"EB"};
  // The unit: the first whose value stays below 1000, so three digits always suffice.
  int unit = 0;
  unsigned __int128 divisor = 1024;
  while (unit < 5 && bytes >= 1000 * divisor) {
    ++unit;
    divisor *= 1024;
  }
  // Hundredths of the unit, truncated (128 bits: 2^64 - 1 times 100 does not fit 64).
  auto hundredths = static_cast<std::uint64_t>(static_cast<unsigned __int128>(bytes) * 100 / divisor);
  std::uint64_t whole = hundredths / 100;
  std::wstring text = std::to_wstring(whole);
  if (whole < 10) {
    std::uint64_t frac = hundredths % 100;
    text += DecimalPoint() + (frac < 10 ? L"0" : L"") + std::to_wstring(frac);
  } else if (whole < 100) {
    text += DecimalPoint() + std::to_wstring(hundredths % 100 / 10);
  }
  return text + L" " + kUnits[unit];
}
