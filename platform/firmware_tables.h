#pragma once
// The firmware's SMBIOS data as the system exposes it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct SmbiosRawData {
  std::uint8_t callingMethod = 0;  // always 0 here
  std::uint8_t majorVersion = 0;
  std::uint8_t minorVersion = 0;
  std::uint8_t dmiRevision = 0;
  std::uint32_t length = 0;          // bytes in `structures`
  std::vector<std::uint8_t> structures;  // the structure table, as the firmware laid it out
};

// The raw structure table with the version bytes of its entry point. False when the table
// cannot be read (absent, or readable only by the administrator).
bool ReadSmbiosTable(SmbiosRawData& out);

// One of the identification texts the kernel decodes from that table for every user
// ("sys_vendor", "product_serial", "chassis_type", ...), without its line end. Nothing when the
// field is absent or unreadable.
std::optional<std::string> ReadDmiIdField(const std::string& name);

}  // namespace platform
