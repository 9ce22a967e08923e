#pragma once
// The launch context: which installer this is and where it came from. Filled once at start-up
// on the main thread (LaunchContext::Init), before any other thread exists; only read after
// that, so readers take no lock.
//
//   const LaunchContext& ctx = KwrBase::Singleton<LaunchContext>::Instance();
//   fmt::format("a={}&u={}&v={}", ctx.appId, ctx.unionId, ctx.versionText);
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/base/singleton.h"

inline constexpr std::uint8_t kProductNumber = 18;
inline constexpr std::uint16_t kDefaultUnionId = 1110;

struct LaunchContext {
  std::uint8_t appId = 0;                    // product number, always 18
  std::uint16_t unionId = 0;                 // distribution channel from the file name, else 1110
  std::uint64_t fileVersion = 0;             // major, minor, build, revision in 16 bits each; 0 unknown
  char versionText[24] = {};                 // "1.0.0.2"; "0.0.0.0" when unknown
  std::array<std::uint8_t, 16> pcidDigest{};  // the machine digest
  char pcid[40] = {};                        // its 32 lowercase hexadecimal characters
  bool initialized = false;

  // Fills every field from the running executable and the machine (the first call only) and
  // logs the result. Always true.
  bool Init();
};

// The launch context of this process.
inline LaunchContext& TheLaunchContext() { return KwrBase::Singleton<LaunchContext>::Instance(); }

// The channel from the running executable's file name.
std::uint16_t ParseUnionId();
// The channel from a file name: the whole name must match "^.*_b(\d+)([0-9a-fA-F]).*\.exe$"
// (case-sensitive; the last qualifying "_b" wins and the last digit of a run may be the check
// character). The number saturates at 65535 and counts only when the check character is
// "0123456789abcdef"[UnionIdCheck(number)]; otherwise, and without a match, 1110.
std::uint16_t ParseUnionId(std::string_view fileName);
// CRC-4/G-704 of the number's two bytes, low byte first (0 to 15).
std::uint8_t UnionIdCheck(std::uint16_t number);

// The packed file version of the executable at `path`; 0 when it has none or cannot be read.
std::uint64_t ReadFileVersion(const std::filesystem::path& path);
// "%llu.%llu.%llu.%llu" of the four 16-bit parts, high to low (at most 23 characters).
std::string VersionText(std::uint64_t fileVersion);

// True when one argument of the command line, the program path included, is exactly "-k"
// (keep the downloaded files after a successful installation).
bool HasKeepSwitch(const std::vector<std::string>& args);
// The same over the process's own command line.
bool HasKeepSwitch();
