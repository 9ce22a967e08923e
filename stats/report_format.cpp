#include "stats/report_format.h"

#include <fmt/format.h>

#include <nlohmann/json.hpp>

#include "common/base/hash_algorithm.h"

namespace {

constexpr unsigned char kScrambleKey[6] = {0x5E, 0x91, 0x0C, 0xA7, 0x38, 0xD2};
constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::size_t kGroupsPerLine = 19;  // 76 characters

// The C runtime's generator: the same sequence for the same seed on every machine.
class CrtRandom {
 public:
  explicit CrtRandom(std::uint32_t seed) : state_(seed) {}
  unsigned Next() {
    state_ = state_ * 214013u + 2531011u;
    return (state_ >> 16) & 0x7FFF;
  }

 private:
  std::uint32_t state_;
};

}  // namespace

std::string ClientReportKey(const LaunchContext& who, std::int32_t number) {
  return KwrBase::Md5HexDigest(fmt::format("{}{}{}{}", unsigned{who.appId}, who.pcid, who.versionText, number));
}

std::string ClientReportBody(const LaunchContext& who, std::int32_t number) {
  nlohmann::json report = {
      {"v", std::string(who.versionText)},
      {"a", unsigned{who.appId}},
      {"u", unsigned{who.unionId}},
      {"p", std::string(who.pcid)},
      {"m", static_cast<std::uint32_t>(number)},
      {"k", ClientReportKey(who, number)},
  };
  return report.dump();
}

std::string InstallReportRand(std::uint32_t seed) {
  CrtRandom random(seed);
  unsigned r1 = random.Next(), r2 = random.Next(), r3 = random.Next();
  return fmt::format("{}{}{}", r3, r2, r1);
}

std::string InstallReportBody(const LaunchContext& who, std::uint64_t os, const std::string& rand) {
  std::string key = KwrBase::Md5HexDigest(
      fmt::format("{}_{}_{}_{}_{}_{}", unsigned{who.appId}, unsigned{who.unionId}, who.versionText, who.pcid, os, rand));
  nlohmann::json report = {
      {"appid", unsigned{who.appId}}, {"unionid", unsigned{who.unionId}}, {"clientversion", who.fileVersion},
      {"pcid", std::string(who.pcid)},   {"os", os},               {"rand", rand},
      {"key", key},
  };
  return report.dump();
}

std::string ScrambleReportBody(std::string_view body) {
  std::string bytes(body);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(bytes[i] ^ kScrambleKey[i % 6]);

  std::string out;
  out.reserve(bytes.size() / 3 * 4 + bytes.size() / 57 * 2 + 4);
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  std::size_t groups = bytes.size() / 3;
  for (std::size_t g = 0; g < groups; ++g) {
    unsigned v = (byte(3 * g) << 16) | (byte(3 * g + 1) << 8) | byte(3 * g + 2);
    out += kBase64[(v >> 18) & 63];
    out += kBase64[(v >> 12) & 63];
    out += kBase64[(v >> 6) & 63];
    out += kBase64[v & 63];
    if ((g + 1) % kGroupsPerLine == 0) out += "\r\n";
  }
  std::size_t rest = bytes.size() % 3;
  if (rest) {
    unsigned v = byte(3 * groups) << 16;
    if (rest == 2) v |= byte(3 * groups + 1) << 8;
    out += kBase64[(v >> 18) & 63];
    out += kBase64[(v >> 12) & 63];
    out += rest == 2 ? kBase64[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}
