#pragma once
// Reading the firmware's SMBIOS structure table: collecting the structures of the requested
// types and decoding System Information (type 1) and System Enclosure (type 3).
//
// The table is untrusted input. Every read stays inside the bytes given: a structure whose
// lengths run past the end ends the walk, a string without its terminator or an index beyond
// the strings present reads as "".
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

// Decoded type 1 structure.
struct SmbiosSystemRecord {
  std::uint8_t type = 0;
  std::uint8_t length = 0;  // formatted length as stored
  std::uint16_t handle = 0;
  std::uint8_t manufacturerIndex = 0, productIndex = 0, versionIndex = 0, serialIndex = 0;
  std::array<std::uint8_t, 16> uuid{};
  std::uint8_t wakeUpType = 0;
  std::uint8_t skuIndex = 0, familyIndex = 0;
  std::string manufacturer, product, version, serial, sku, family;
};

// Decoded type 3 structure.
struct SmbiosEnclosureRecord {
  std::uint8_t type = 0;
  std::uint8_t length = 0;
  std::uint16_t handle = 0;
  std::uint8_t manufacturerIndex = 0;
  std::uint8_t chassisType = 0;  // the whole byte, lock bit included
  std::uint8_t versionIndex = 0, serialIndex = 0, assetTagIndex = 0;
  std::string manufacturer, version, serial, assetTag;
};

class SmbiosTable {
 public:
  static constexpr std::uint8_t kSystemInformation = 1;
  static constexpr std::uint8_t kSystemEnclosure = 3;
  // Stored bytes (formatted area and strings) a structure needs to be decoded.
  static constexpr std::size_t kMinSystemBytes = 27;
  static constexpr std::size_t kMinEnclosureBytes = 9;

  struct Header {
    std::uint8_t callingMethod = 0, majorVersion = 0, minorVersion = 0, dmiRevision = 0;
    std::uint32_t length = 0;
  };

  // The collected structures of one requested type, each with its strings and the closing
  // double zero.
  struct Entry {
    std::uint8_t type = 0;
    std::vector<std::uint8_t> first;               // empty: none found
    std::vector<std::vector<std::uint8_t>> chain;  // the further ones, in table order
  };

  // Adds a type to collect; a second request for the same type is ignored.
  void Request(std::uint8_t type);
  // Reads the system's table and collects the requested types; false when it cannot be read.
  bool Load();
  // Collects the requested types from given structure bytes.
  void Load(const Header& header, std::span<const std::uint8_t> structures);

  const Header& header() const { return header_; }
  // The entry of a requested type (nullptr when the type was not requested).
  const Entry* Find(std::uint8_t type) const;

  // The first structure of type 1 / type 3, decoded. False when there is none or it is too
  // short to decode.
  bool Decode(SmbiosSystemRecord& out) const;
  bool Decode(SmbiosEnclosureRecord& out) const;

 private:
  Header header_;
  std::vector<Entry> entries_;
};

// The walk: calls `found(type, structure)` for every whole structure in `data`, in order,
// stopping at the first one whose formatted area or string set runs past the end.
void WalkSmbiosStructures(std::span<const std::uint8_t> data,
                          const std::function<void(std::uint8_t type, std::span<const std::uint8_t> structure)>& found);

// String `index` (1-based) of one structure's string set; "" for 0, an index beyond the
// strings, or a string without its terminator.
std::string SmbiosString(std::span<const std::uint8_t> structure, std::uint8_t index);

// Decoding one structure (type byte not checked). False when it has fewer stored bytes than
// the type needs. Fields are read at their fixed offsets whatever the formatted length says.
bool DecodeSystemInformation(std::span<const std::uint8_t> structure, SmbiosSystemRecord& out);
bool DecodeSystemEnclosure(std::span<const std::uint8_t> structure, SmbiosEnclosureRecord& out);
