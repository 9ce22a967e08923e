#include "tests/ui/controls/zip_fixture.h"

#include <minizip/zip.h>
#include <zlib.h>

#include <stdexcept>

#include "tests/support/temp_dir.h"

namespace testsupport {

std::string WriteZip(const std::filesystem::path& path, const std::vector<ZipItem>& items) {
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  if (zip == nullptr) throw std::runtime_error("zipOpen64 failed");
  for (const ZipItem& item : items) {
    zip_fileinfo info{};
    info.tmz_date.tm_year = 2020;
    info.tmz_date.tm_mon = 5;  // June
    info.tmz_date.tm_mday = 15;
    info.tmz_date.tm_hour = 12;
    if (zipOpenNewFileInZip64(zip, item.name.c_str(), &info, item.localExtra.data(),
                              static_cast<uInt>(item.localExtra.size()), nullptr, 0, nullptr,
                              item.deflate ? Z_DEFLATED : 0, Z_DEFAULT_COMPRESSION, 0) != ZIP_OK ||
        (!item.data.empty() &&
         zipWriteInFileInZip(zip, item.data.data(), static_cast<unsigned>(item.data.size())) != ZIP_OK) ||
        zipCloseFileInZip(zip) != ZIP_OK) {
      zipClose(zip, nullptr);
      throw std::runtime_error("writing " + item.name + " failed");
    }
  }
  if (zipClose(zip, nullptr) != ZIP_OK) throw std::runtime_error("zipClose failed");
  return ReadFile(path);
}

namespace {
uint32_t Get16(const std::string& b, size_t at) {
  return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8;
}
size_t FindRecord(const std::string& zip, const std::string& name, const char* sig, size_t nameLenAt,
                  size_t nameAt) {
  for (size_t at = zip.find(sig, 0, 4); at != std::string::npos; at = zip.find(sig, at + 1, 4)) {
    if (at + nameAt > zip.size()) break;
    if (Get16(zip, at + nameLenAt) == name.size() && zip.compare(at + nameAt, name.size(), name) == 0) return at;
  }
  return std::string::npos;
}
}  // namespace

size_t LocalHeader(const std::string& zip, const std::string& name) {
  return FindRecord(zip, name, "PK\x03\x04", 26, 30);
}

size_t CentralRecord(const std::string& zip, const std::string& name) {
  return FindRecord(zip, name, "PK\x01\x02", 28, 46);
}

size_t EntryData(const std::string& zip, const std::string& name) {
  size_t at = LocalHeader(zip, name);
  return at + 30 + Get16(zip, at + 26) + Get16(zip, at + 28);
}

void Put32(std::string& bytes, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(v >> (8 * i));
}

std::string UtExtra(uint32_t mtime, uint32_t atime, uint32_t ctime) {
  std::string data(1, '\0');
  uint32_t times[] = {mtime, atime, ctime};
  for (int bit = 0; bit < 3; ++bit) {
    if (times[bit] == 0) continue;
    data[0] = static_cast<char>(data[0] | (1 << bit));
    std::string t(4, '\0');
    Put32(t, 0, times[bit]);
    data += t;
  }
  std::string block = "UT";
  block += static_cast<char>(data.size());
  block += '\0';
  return block + data;
}

}  // namespace testsupport
