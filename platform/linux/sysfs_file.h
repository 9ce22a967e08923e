#pragma once
// Reading the small files of /sys and /proc (internal to the Linux platform layer).
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace platform::linux_impl {

// The whole file, at most `maxBytes` of it; nothing when it cannot be opened or read.
std::optional<std::string> ReadSmallFile(const std::filesystem::path& path, std::size_t maxBytes = 65536);

// The same without trailing line ends ("eth0\n" -> "eth0").
std::optional<std::string> ReadSysfsText(const std::filesystem::path& path);

}  // namespace platform::linux_impl
