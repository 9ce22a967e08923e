#pragma once
// The executable's own file version, kept in a dedicated section of the binary (the build
// stamps it) and read back from the file.
#include <cstdint>
#include <filesystem>

// The section's name; its content is two 32-bit words in the file's byte order: the most
// significant half of the version (major << 16 | minor), then the least (build << 16 | revision).
#define WEBINST_VERSION_SECTION ".webinst.version"

namespace platform {

struct FileVersionWords {
  std::uint32_t ms = 0;
  std::uint32_t ls = 0;
};

// The version words of the executable at `path`. False when the file cannot be read, is not an
// executable of this system's format, or carries no version section.
bool ReadVersionSection(const std::filesystem::path& path, FileVersionWords& out);

}  // namespace platform
