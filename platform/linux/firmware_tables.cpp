#include "platform/firmware_tables.h"

#include <string_view>

#include "platform/linux/sysfs_file.h"

namespace platform {
namespace {
constexpr const char* kTableFile = "/sys/firmware/dmi/tables/DMI";
constexpr const char* kEntryPointFile = "/sys/firmware/dmi/tables/smbios_entry_point";
constexpr const char* kDmiIdFolder = "/sys/class/dmi/id/";
constexpr std::size_t kMaxTableBytes = 16u << 20;  // far beyond any real table

std::uint8_t At(std::string_view s, std::size_t i) { return i < s.size() ? static_cast<std::uint8_t>(s[i]) : 0; }
}  // namespace

bool ReadSmbiosTable(SmbiosRawData& out) {
  auto table = linux_impl::ReadSmallFile(kTableFile, kMaxTableBytes);
  if (!table) return false;
  out = SmbiosRawData{};
  // The version bytes come from the entry point: "_SM3_" (64-bit) or "_SM_" (32-bit) layout.
  if (auto entry = linux_impl::ReadSmallFile(kEntryPointFile)) {
    std::string_view e = *entry;
    if (e.starts_with("_SM3_")) {
      out.majorVersion = At(e, 7);
      out.minorVersion = At(e, 8);
      out.dmiRevision = At(e, 9);
    } else if (e.starts_with("_SM_")) {
      out.majorVersion = At(e, 6);
      out.minorVersion = At(e, 7);
      out.dmiRevision = At(e, 0x1E);
    }
  }
  out.structures.assign(table->begin(), table->end());
  out.length = static_cast<std::uint32_t>(out.structures.size());
  return true;
}

std::optional<std::string> ReadDmiIdField(const std::string& name) {
  if (name.empty() || name.find('/') != std::string::npos) return std::nullopt;
  auto text = linux_impl::ReadSmallFile(kDmiIdFolder + name);
  // The kernel adds exactly one line end; anything before it is the firmware's own string.
  if (text && text->ends_with('\n')) text->pop_back();
  return text;
}

}  // namespace platform
