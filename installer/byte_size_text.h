#pragma once
// The short byte-size text of the download page ("已完成：1.50 MB/3.00 MB", "512 KB/s").
#include <cstdint>
#include <string>

// Below 1024: the number and " bytes" ("0 bytes", "1023 bytes"). From 1024 on: the size in the
// largest unit of KB, MB, GB, TB, PB, EB (powers of 1024) that keeps the value below 1000,
// truncated to three significant digits, with the locale's decimal point ("1.00 KB",
// "1.50 KB", "10.0 KB", "999 KB", "0.97 MB" for 1000 KB, "15.9 EB" for 2^64 - 1).
std::wstring StrFormatByteSizeW(std::uint64_t bytes);
