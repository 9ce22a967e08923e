#pragma once
// Zip archives made by the tests with minizip's writer, and byte surgery on them.
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct ZipItem {
  ZipItem(std::string n, std::string d, bool deflated = true, std::string extra = {})
      : name(std::move(n)), data(std::move(d)), deflate(deflated), localExtra(std::move(extra)) {}
  std::string name;
  std::string data;
  bool deflate = true;
  std::string localExtra;  // raw extra field of the local header
};

// Writes the archive to `path` and returns its bytes.
std::string WriteZip(const std::filesystem::path& path, const std::vector<ZipItem>& items);

// Offset of the local header / central record of the entry called `name` (npos when absent).
size_t LocalHeader(const std::string& zip, const std::string& name);
size_t CentralRecord(const std::string& zip, const std::string& name);
void Put32(std::string& bytes, size_t at, uint32_t v);
// Offset of the first byte of an entry's data.
size_t EntryData(const std::string& zip, const std::string& name);

// An extended-timestamp extra block with the given times (those not zero are present).
std::string UtExtra(uint32_t mtime, uint32_t atime, uint32_t ctime);

}  // namespace testsupport
