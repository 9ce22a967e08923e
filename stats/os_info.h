#pragma once
// The operating-system facts the installer reports: the system version as four 16-bit parts
// (here the kernel release: "6.1.0-18-amd64" is 6.1.0.18) and whether a 32-bit build runs on a
// 64-bit system.
#include <cstdint>
#include <string_view>

// Fills major, minor, build, revision. False (outputs untouched) when the version cannot be read.
bool GetOsVersion(std::uint16_t& major, std::uint16_t& minor, std::uint16_t& build, std::uint16_t& revision);

// Major version 6 or later; worked out once per process (thread-safe) and cached. Only a fact
// for reports here: no source of data depends on it on this system.
bool IsVistaOrLater();

// The packed description reported as "os": major in bits 48-63, minor 32-47, build 16-31,
// revision 0-15, and bit 63 set for a 32-bit process on a 64-bit system. 0 (or only bit 63)
// when the version cannot be read. Callable from any thread.
std::uint64_t GetOsInfo();

// The packing of GetOsInfo.
std::uint64_t PackOsInfo(std::uint16_t major, std::uint16_t minor, std::uint16_t build, std::uint16_t revision,
                         bool wow64);

// A kernel release read as four parts: the leading "major[.minor[.patch]]" and, when a "-"
// and digits follow, those digits as the revision ("5.15.0-91-generic" -> 5.15.0.91). Each
// part saturates at 65535. False when the text does not start with a digit.
bool ParseKernelRelease(std::string_view release, std::uint16_t parts[4]);
