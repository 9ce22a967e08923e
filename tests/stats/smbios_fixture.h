#pragma once
// Building small SMBIOS structure tables for tests.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace smbiosfixture {

using Bytes = std::vector<std::uint8_t>;

// One structure: type, formatted length = 4 + formatted.size(), handle, the formatted bytes,
// then the strings and the closing zero (a lone double zero when there are none).
inline Bytes Structure(std::uint8_t type, std::uint16_t handle, const Bytes& formatted,
                       std::initializer_list<std::string> strings) {
  Bytes s = {type, static_cast<std::uint8_t>(4 + formatted.size()), static_cast<std::uint8_t>(handle),
             static_cast<std::uint8_t>(handle >> 8)};
  s.insert(s.end(), formatted.begin(), formatted.end());
  for (const std::string& str : strings) {
    s.insert(s.end(), str.begin(), str.end());
    s.push_back(0);
  }
  if (strings.size() == 0) s.push_back(0);
  s.push_back(0);
  return s;
}

// System Information (27 formatted bytes): strings 1..6 are manufacturer, product, version,
// serial, SKU, family.
inline Bytes SystemInformation(std::uint16_t handle, std::initializer_list<std::string> strings) {
  Bytes f = {1, 2, 3, 4};                       // manufacturer, product, version, serial
  for (int i = 0; i < 16; ++i) f.push_back(static_cast<std::uint8_t>(0xA0 + i));  // UUID
  f.push_back(6);                               // wake-up type
  f.push_back(5);                               // SKU
  f.push_back(6);                               // family
  return Structure(1, handle, f, strings);
}

// System Enclosure (a 2.1 layout, 13 formatted bytes): strings 1..4 are manufacturer, version,
// serial, asset tag.
inline Bytes SystemEnclosure(std::uint16_t handle, std::uint8_t chassisType, std::initializer_list<std::string> strings) {
  return Structure(3, handle, {1, chassisType, 2, 3, 4, 3, 3, 3, 2}, strings);
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

}  // namespace smbiosfixture
