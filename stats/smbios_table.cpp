#include "stats/smbios_table.h"

#include <algorithm>

#include "platform/firmware_tables.h"

namespace {

std::uint16_t Word(std::span<const std::uint8_t> s, std::size_t at) {
  return static_cast<std::uint16_t>(s[at] | (s[at + 1] << 8));
}

}  // namespace

void WalkSmbiosStructures(std::span<const std::uint8_t> data,
                          const std::function<void(std::uint8_t, std::span<const std::uint8_t>)>& found) {
  const std::size_t n = data.size();
  if (n <= 1) return;
  std::size_t p = 0;
  do {
    const std::uint8_t type = data[p];
    const std::size_t formatted = data[p + 1];
    if (p + formatted >= n) return;
    // The string set ends at the first double zero from the end of the formatted area.
    std::size_t q = p + formatted;
    while (q + 1 < n && !(data[q] == 0 && data[q + 1] == 0)) ++q;
    if (q + 1 >= n) return;
    const std::size_t total = q + 2 - p;
    found(type, data.subspan(p, total));
    p += total;
  } while (p + 1 < n);
}

std::string SmbiosString(std::span<const std::uint8_t> structure, std::uint8_t index) {
  if (index == 0 || structure.size() < 2) return {};
  std::size_t pos = structure[1];
  for (std::uint8_t k = 1;; ++k) {
    if (pos >= structure.size()) return {};
    auto begin = structure.begin() + static_cast<std::ptrdiff_t>(pos);
    auto nul = std::find(begin, structure.end(), std::uint8_t{0});
    if (nul == structure.end()) return {};  // no terminator: not a string
    if (nul == begin) return {};            // the empty string closes the set
    if (k == index) return std::string(begin, nul);
    pos = static_cast<std::size_t>(nul - structure.begin()) + 1;
  }
}

bool DecodeSystemInformation(std::span<const std::uint8_t> s, SmbiosSystemRecord& out) {
  if (s.size() < SmbiosTable::kMinSystemBytes) return false;
  SmbiosSystemRecord r;
  r.type = s[0];
  r.length = s[1];
  r.handle = Word(s, 2);
  r.manufacturerIndex = s[0x04];
  r.productIndex = s[0x05];
  r.versionIndex = s[0x06];
  r.serialIndex = s[0x07];
  std::copy_n(s.begin() + 0x08, r.uuid.size(), r.uuid.begin());
  r.wakeUpType = s[0x18];
  r.skuIndex = s[0x19];
  r.familyIndex = s[0x1A];
  r.manufacturer = SmbiosString(s, r.manufacturerIndex);
  r.product = SmbiosString(s, r.productIndex);
  r.version = SmbiosString(s, r.versionIndex);
  r.serial = SmbiosString(s, r.serialIndex);
  r.sku = SmbiosString(s, r.skuIndex);
  r.family = SmbiosString(s, r.familyIndex);
  out = std::move(r);
  return true;
}

bool DecodeSystemEnclosure(std::span<const std::uint8_t> s, SmbiosEnclosureRecord& out) {
  if (s.size() < SmbiosTable::kMinEnclosureBytes) return false;
  SmbiosEnclosureRecord r;
  r.type = s[0];
  r.length = s[1];
  r.handle = Word(s, 2);
  r.manufacturerIndex = s[0x04];
  r.chassisType = s[0x05];
  r.versionIndex = s[0x06];
  r.serialIndex = s[0x07];
  r.assetTagIndex = s[0x08];
  r.manufacturer = SmbiosString(s, r.manufacturerIndex);
  r.version = SmbiosString(s, r.versionIndex);
  r.serial = SmbiosString(s, r.serialIndex);
  r.assetTag = SmbiosString(s, r.assetTagIndex);
  out = std::move(r);
  return true;
}

void SmbiosTable::Request(std::uint8_t type) {
  if (!Find(type)) entries_.push_back(Entry{type, {}, {}});
}

const SmbiosTable::Entry* SmbiosTable::Find(std::uint8_t type) const {
  for (const Entry& e : entries_)
    if (e.type == type) return &e;
  return nullptr;
}

bool SmbiosTable::Load() {
  platform::SmbiosRawData raw;
  if (!platform::ReadSmbiosTable(raw)) return false;
  Load(Header{raw.callingMethod, raw.majorVersion, raw.minorVersion, raw.dmiRevision, raw.length}, raw.structures);
  return true;
}

void SmbiosTable::Load(const Header& header, std::span<const std::uint8_t> structures) {
  header_ = header;
  for (Entry& e : entries_) {
    e.first.clear();
    e.chain.clear();
  }
  WalkSmbiosStructures(structures, [this](std::uint8_t type, std::span<const std::uint8_t> s) {
    for (Entry& e : entries_) {
      if (e.type != type) continue;
      if (e.first.empty()) e.first.assign(s.begin(), s.end());
      else e.chain.emplace_back(s.begin(), s.end());
    }
  });
}

bool SmbiosTable::Decode(SmbiosSystemRecord& out) const {
  const Entry* e = Find(kSystemInformation);
  return e && !e->first.empty() && DecodeSystemInformation(e->first, out);
}

bool SmbiosTable::Decode(SmbiosEnclosureRecord& out) const {
  const Entry* e = Find(kSystemEnclosure);
  return e && !e->first.empty() && DecodeSystemEnclosure(e->first, out);
}
