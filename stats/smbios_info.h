#pragma once
// The firmware's identification strings of the system and its enclosure (SMBIOS types 1 and 3),
// the part of the machine identifier that names the computer itself.
#include <functional>
#include <optional>
#include <string>

class SmbiosTable;

struct SmbiosInfo {
  std::string systemManufacturer;
  std::string systemProduct;
  std::string systemVersion;
  std::string systemSerial;
  std::string systemSku;
  std::string chassisKind;  // "NoteBook" or "Desktop"; "" when there is no enclosure structure
  std::string enclosureManufacturer;
  std::string enclosureVersion;
  std::string enclosureSerial;
  std::string enclosureAssetTag;

  // Fills the fields from the system's SMBIOS table or, when only the administrator may read
  // the raw table, from the strings the kernel publishes for every user. False when no SMBIOS
  // data can be read at all (then nothing is changed).
  bool Load();

  // From a loaded table (types 1 and 3 requested); a missing type leaves its fields empty.
  void Fill(const SmbiosTable& table);

  // From the kernel's published fields ("sys_vendor", "chassis_type", ...); `read` gives one
  // field or nothing. False when not one field was readable.
  bool FillFromDmiId(const std::function<std::optional<std::string>(const std::string&)>& read);

  // The ten strings in the order the machine identifier hashes them, without separators.
  std::string Joined() const;
};

// "NoteBook" for the chassis bytes 10 (notebook) and 14 (sub notebook), "Desktop" for every
// other value, a set lock bit included.
const char* ChassisKind(unsigned chassisType);
