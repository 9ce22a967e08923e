#include "stats/smbios_info.h"

#include <charconv>
#include <cstddef>
#include <cstdint>

#include "platform/firmware_tables.h"
#include "stats/smbios_table.h"

namespace {

// Field offsets inside the formatted areas of types 1 and 3.
constexpr std::size_t kManufacturerAt = 0x04, kProductAt = 0x05, kVersionAt = 0x06, kSkuAt = 0x19;
constexpr std::size_t kChassisTypeAt = 0x05, kAssetTagAt = 0x08;

// A string field as the kernel publishes it to every user: nothing for a field beyond the
// structure's formatted area, and a string of spaces only is empty.
std::string Published(const std::string& s, std::uint8_t formattedLength, std::size_t offset) {
  if (offset >= formattedLength || s.find_first_not_of(' ') == std::string::npos) return {};
  return s;
}

}  // namespace

const char* ChassisKind(unsigned chassisType) {
  chassisType &= 0x7F;  // the lock bit is not a kind of chassis (and users never see it)
  return (chassisType == 10 || chassisType == 14) ? "NoteBook" : "Desktop";
}

bool SmbiosInfo::Load() {
  SmbiosTable table;
  table.Request(SmbiosTable::kSystemInformation);
  table.Request(SmbiosTable::kSystemEnclosure);
  if (table.Load()) {
    Fill(table);
    return true;
  }
  return FillFromDmiId(platform::ReadDmiIdField);
}

void SmbiosInfo::Fill(const SmbiosTable& table) {
  SmbiosSystemRecord system;
  if (table.Decode(system)) {
    systemManufacturer = Published(system.manufacturer, system.length, kManufacturerAt);
    systemProduct = Published(system.product, system.length, kProductAt);
    systemVersion = Published(system.version, system.length, kVersionAt);
    systemSku = Published(system.sku, system.length, kSkuAt);
  }
  SmbiosEnclosureRecord enclosure;
  if (table.Decode(enclosure)) {
    if (kChassisTypeAt < enclosure.length) chassisKind = ChassisKind(enclosure.chassisType);
    enclosureManufacturer = Published(enclosure.manufacturer, enclosure.length, kManufacturerAt);
    enclosureVersion = Published(enclosure.version, enclosure.length, kVersionAt);
    enclosureAssetTag = Published(enclosure.assetTag, enclosure.length, kAssetTagAt);
  }
}

bool SmbiosInfo::FillFromDmiId(const std::function<std::optional<std::string>(const std::string&)>& read) {
  SmbiosInfo got;
  bool any = false;
  auto field = [&](const char* name, std::string& to) {
    if (auto v = read(name)) {
      to = std::move(*v);
      any = true;
    }
  };
  field("sys_vendor", got.systemManufacturer);
  field("product_name", got.systemProduct);
  field("product_version", got.systemVersion);
  field("product_sku", got.systemSku);
  field("chassis_vendor", got.enclosureManufacturer);
  field("chassis_version", got.enclosureVersion);
  field("chassis_asset_tag", got.enclosureAssetTag);
  std::string chassisType;
  field("chassis_type", chassisType);
  unsigned value = 0;
  const char* end = chassisType.data() + chassisType.size();
  if (!chassisType.empty()) {
    auto [ptr, ec] = std::from_chars(chassisType.data(), end, value);
    if (ec == std::errc() && ptr == end) got.chassisKind = ChassisKind(value);
  }
  if (any) *this = std::move(got);
  return any;
}

std::string SmbiosInfo::Joined() const {
  return enclosureAssetTag + enclosureManufacturer + enclosureSerial + chassisKind + enclosureVersion +
         systemManufacturer + systemProduct + systemSerial + systemSku + systemVersion;
}
