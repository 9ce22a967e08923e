// The SMBIOS reader on arbitrary structure tables: the walk, collection of types 1 and 3, their
// decoding and the string lookup must stay inside the given bytes.
#include <cstddef>
#include <cstdint>

#include "stats/smbios_info.h"
#include "stats/smbios_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::span<const std::uint8_t> bytes(data, size);
  SmbiosTable table;
  table.Request(SmbiosTable::kSystemInformation);
  table.Request(SmbiosTable::kSystemEnclosure);
  table.Request(0);
  table.Load(SmbiosTable::Header{}, bytes);
  SmbiosInfo info;
  info.Fill(table);
  volatile std::size_t sink = info.Joined().size();

  // Every structure the walk yields, decoded as both types, with every string index.
  WalkSmbiosStructures(bytes, [&](std::uint8_t, std::span<const std::uint8_t> s) {
    SmbiosSystemRecord system;
    SmbiosEnclosureRecord enclosure;
    DecodeSystemInformation(s, system);
    DecodeSystemEnclosure(s, enclosure);
    for (int k = 0; k < 256; k += 17) sink = sink + SmbiosString(s, static_cast<std::uint8_t>(k)).size();
  });
  // And the raw input taken as one structure.
  SmbiosSystemRecord system;
  DecodeSystemInformation(bytes, system);
  sink = sink + SmbiosString(bytes, 1).size() + SmbiosString(bytes, 3).size();
  (void)sink;
  return 0;
}
