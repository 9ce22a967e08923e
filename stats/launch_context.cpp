#include "stats/launch_context.h"

#include <cstdio>
#include <cstring>
#include <exception>

#include "common/base/hash_algorithm.h"
#include "common/base/log.h"
#include "platform/process_info.h"
#include "platform/version_resource.h"
#include "stats/machine_identity.h"

namespace {
constexpr char kCheckAlphabet[] = "0123456789abcdef";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// "." of the pattern matches everything but line terminators: LF, CR, U+2028, U+2029.
bool HasLineTerminator(std::string_view s) {
  return s.find_first_of("\n\r") != std::string_view::npos || s.find("\xE2\x80\xA8") != std::string_view::npos ||
         s.find("\xE2\x80\xA9") != std::string_view::npos;
}

// Decimal digits as an unsigned 16-bit number; larger values read as 65535.
std::uint16_t ReadSaturated(std::string_view digits) {
  unsigned long value = 0;
  for (char c : digits) value = std::min<unsigned long>(value * 10 + static_cast<unsigned long>(c - '0'), 65535);
  return static_cast<std::uint16_t>(value);
}
}  // namespace

std::uint8_t UnionIdCheck(std::uint16_t number) {
  unsigned c = 0;
  for (unsigned byte : {number & 0xFFu, static_cast<unsigned>(number >> 8)}) {
    c ^= byte;
    for (int i = 0; i < 8; ++i) c = (c & 1) ? ((c >> 1) ^ 0x0C) : (c >> 1);
  }
  return static_cast<std::uint8_t>(c);
}

// The pattern's own search order, written out: the greedy ".*" tries the last "_b" first; for
// each, "(\d+)" gives up digits from the right until "([0-9a-fA-F])" and ".*\.exe$" match.
std::uint16_t ParseUnionId(std::string_view name) {
  const std::string_view ext = ".exe";
  if (!name.ends_with(ext) || HasLineTerminator(name)) return kDefaultUnionId;
  const std::size_t tailStart = name.size() - ext.size();  // where "\.exe$" must begin
  for (std::size_t i = name.size() - 1; i-- > 0;) {
    if (name[i] != '_' || name[i + 1] != 'b') continue;
    const std::size_t digits = i + 2;
    std::size_t run = 0;
    while (digits + run < name.size() && IsDigit(name[digits + run])) ++run;
    for (std::size_t k = run; k >= 1; --k) {
      const std::size_t check = digits + k;  // the second group's character
      if (check >= name.size() || !IsHex(name[check]) || check + 1 > tailStart) continue;
      const std::uint16_t number = ReadSaturated(name.substr(digits, k));
      return name[check] == kCheckAlphabet[UnionIdCheck(number)] ? number : kDefaultUnionId;
    }
  }
  return kDefaultUnionId;
}

std::uint16_t ParseUnionId() { return ParseUnionId(platform::ExecutableBaseName()); }

std::uint64_t ReadFileVersion(const std::filesystem::path& path) {
  platform::FileVersionWords words;
  if (!platform::ReadVersionSection(path, words)) return 0;
  return (std::uint64_t{words.ms} << 32) | words.ls;
}

std::string VersionText(std::uint64_t v) {
  char text[24];
  std::snprintf(text, sizeof text, "%llu.%llu.%llu.%llu", static_cast<unsigned long long>(v >> 48),
                static_cast<unsigned long long>((v >> 32) & 0xFFFF), static_cast<unsigned long long>((v >> 16) & 0xFFFF),
                static_cast<unsigned long long>(v & 0xFFFF));
  return text;
}

bool HasKeepSwitch(const std::vector<std::string>& args) {
  for (const std::string& a : args)
    if (a == "-k") return true;
  return false;
}

bool HasKeepSwitch() { return HasKeepSwitch(platform::CommandLineArgs()); }

bool LaunchContext::Init() {
  if (initialized) return true;
  appId = kProductNumber;
  unionId = ParseUnionId();  // from the name the installer was started under
  // From the running image: the file now at that name may already be a newer installer.
  fileVersion = ReadFileVersion(platform::RunningImagePath());
  std::string text = VersionText(fileVersion);
  std::memcpy(versionText, text.c_str(), text.size() + 1);
  // Only a broken digest service fails here; the run goes on with the all-zero digest rather
  // than ending before the user has seen anything.
  try {
    MachineDigest digest{};
    ComputeMachineDigest(digest);
    pcidDigest = digest;
  } catch (const std::exception& e) {
    LOG_ERROR << "machine digest failed: " << e.what();
    pcidDigest = {};
  }
  std::string hex = KwrBase::ToHex(pcidDigest);
  std::memcpy(pcid, hex.c_str(), hex.size() + 1);
  initialized = true;
  LOG_INFO << "union id " << unionId << ", version " << versionText << ", pcid " << pcid;
  return true;
}
