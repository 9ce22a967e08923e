#include "stats/smbios_info.h"

#include <charconv>

#include "platform/firmware_tables.h"
#include "stats/smbios_table.h"

const char* ChassisKind(unsigned chassisType) {
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
    systemManufacturer = system.manufacturer;
    systemProduct = system.product;
    systemVersion = system.version;
    systemSerial = system.serial;
    systemSku = system.sku;
  }
  SmbiosEnclosureRecord enclosure;
  if (table.Decode(enclosure)) {
    chassisKind = ChassisKind(enclosure.chassisType);
    enclosureManufacturer = enclosure.manufacturer;
    enclosureVersion = enclosure.version;
    enclosureSerial = enclosure.serial;
    enclosureAssetTag = enclosure.assetTag;
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
  field("product_serial", got.systemSerial);
  field("product_sku", got.systemSku);
  field("chassis_vendor", got.enclosureManufacturer);
  field("chassis_version", got.enclosureVersion);
  field("chassis_serial", got.enclosureSerial);
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
