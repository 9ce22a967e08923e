#pragma once
// The firmware's identification strings of the system and its enclosure (SMBIOS types 1 and 3),
// the part of the machine identifier that names the computer itself.
#include <functional>
#include <optional>
#include <string>

class SmbiosTable;

// The machine identifier must not depend on who runs the installer. On Linux only the
// administrator may read the raw table and the serial numbers, so the strings are the ones every
// user sees, whichever source they come from: the kernel's published fields
// (/sys/class/dmi/id), or the raw table decoded and then reduced to what the kernel publishes
// from it (a field beyond the structure's formatted area is empty, a string of spaces only is
// empty). The two serial numbers, which users cannot read, are never filled; the chassis kind
// is taken without the lock bit, which users cannot see.
struct SmbiosInfo {
  std::string systemManufacturer;
  std::string systemProduct;
  std::string systemVersion;
  std::string systemSerial;  // always empty (administrator only)
  std::string systemSku;
  std::string chassisKind;  // "NoteBook" or "Desktop"; "" when there is no enclosure structure
  std::string enclosureManufacturer;
  std::string enclosureVersion;
  std::string enclosureSerial;  // always empty (administrator only)
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

// "NoteBook" for the chassis types 10 (notebook) and 14 (sub notebook), "Desktop" for every
// other value. The lock bit (0x80) is ignored.
const char* ChassisKind(unsigned chassisType);
