#include "installer/download_task.h"

std::string DownloadFileName(std::string_view url) {
  std::size_t slash = url.rfind('/');
  return std::string(slash == std::string_view::npos ? url : url.substr(slash + 1));
}

bool HasUsableFileName(const std::filesystem::path& localPath) {
  const std::string name = localPath.filename().string();
  return !name.empty() && name != "." && name != ".." && name.find('\0') == std::string::npos;
}

std::filesystem::path TempFilePath(const std::filesystem::path& localPath) {
  std::filesystem::path p = localPath;
  p += std::string(kTempFileSuffix);
  return p;
}

namespace {

std::uint8_t NibbleValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
  return 0;
}

}  // namespace

std::vector<std::uint8_t> DecodeMd5Text(std::string_view text) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve((text.size() + 1) / 2);
  for (std::size_t i = 0; i < text.size(); i += 2) {
    std::uint8_t high = NibbleValue(text[i]);
    std::uint8_t low = i + 1 < text.size() ? NibbleValue(text[i + 1]) : 0;
    bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
  }
  return bytes;
}

bool DigestMatches(const std::vector<std::uint8_t>& digest, const std::vector<std::uint8_t>& expected) {
  return digest == expected;
}
