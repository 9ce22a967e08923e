#include "stats/os_info.h"

#include <algorithm>

#include "platform/os_version.h"

namespace {

// Digits at `at` as a saturated 16-bit value; advances `at`. False when there is no digit.
bool ReadPart(std::string_view s, std::size_t& at, std::uint16_t& out) {
  if (at >= s.size() || s[at] < '0' || s[at] > '9') return false;
  unsigned long value = 0;
  while (at < s.size() && s[at] >= '0' && s[at] <= '9') {
    value = std::min<unsigned long>(value * 10 + static_cast<unsigned long>(s[at] - '0'), 65535);
    ++at;
  }
  out = static_cast<std::uint16_t>(value);
  return true;
}

}  // namespace

bool ParseKernelRelease(std::string_view release, std::uint16_t parts[4]) {
  std::uint16_t p[4] = {0, 0, 0, 0};
  std::size_t at = 0;
  if (!ReadPart(release, at, p[0])) return false;
  for (int i = 1; i < 3; ++i) {
    if (at + 1 < release.size() && release[at] == '.' && release[at + 1] >= '0' && release[at + 1] <= '9') {
      ++at;
      ReadPart(release, at, p[i]);
    } else {
      break;
    }
  }
  if (at + 1 < release.size() && release[at] == '-') {
    ++at;
    ReadPart(release, at, p[3]);
  }
  for (int i = 0; i < 4; ++i) parts[i] = p[i];
  return true;
}

bool GetOsVersion(std::uint16_t& major, std::uint16_t& minor, std::uint16_t& build, std::uint16_t& revision) {
  std::uint16_t parts[4];
  if (!ParseKernelRelease(platform::KernelRelease(), parts)) return false;
  major = parts[0];
  minor = parts[1];
  build = parts[2];
  revision = parts[3];
  return true;
}

bool IsVistaOrLater() {
  static const bool answer = [] {
    std::uint16_t major = 0, minor = 0, build = 0, revision = 0;
    return GetOsVersion(major, minor, build, revision) && major >= 6;
  }();
  return answer;
}

std::uint64_t PackOsInfo(std::uint16_t major, std::uint16_t minor, std::uint16_t build, std::uint16_t revision,
                         bool wow64) {
  std::uint64_t info = (std::uint64_t{major} << 48) | (std::uint64_t{minor} << 32) | (std::uint64_t{build} << 16) |
                       std::uint64_t{revision};
  if (wow64) info |= std::uint64_t{1} << 63;
  return info;
}

std::uint64_t GetOsInfo() {
  std::uint16_t major = 0, minor = 0, build = 0, revision = 0;
  GetOsVersion(major, minor, build, revision);
  return PackOsInfo(major, minor, build, revision, platform::Is32BitProcessOn64BitKernel());
}
