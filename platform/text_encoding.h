#pragma once
// Conversions between the program's wide text (UTF-32 wchar_t) and byte encodings: UTF-8,
// UTF-16 code units and the locale's narrow character set (what the Windows-shaped code calls
// the ANSI code page). Invalid input is replaced (U+FFFD, or "?" in a narrow set that lacks the
// character), never rejected.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

// `units` code units of UTF-16, read big- or little-endian from `bytes` (2 bytes per unit).
std::wstring Utf16ToWide(const uint8_t* bytes, size_t units, bool bigEndian);

// The locale's narrow character set. A program that never chose a locale runs in "C", which
// stands for UTF-8 here as on every desktop this is built for.
std::wstring AnsiToWide(std::string_view ansi);
std::string WideToAnsi(std::wstring_view wide);

// File-system paths held as wide text (the install folder in a text field) and back: the bytes
// of a path are the locale's narrow character set.
std::filesystem::path PathFromWide(std::wstring_view wide);
std::wstring PathToWide(const std::filesystem::path& path);

}  // namespace platform
