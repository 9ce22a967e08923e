#include "stats/machine_identity.h"

#include <algorithm>
#include <cstring>

#include "common/base/hash_algorithm.h"
#include "platform/network_adapters.h"
#include "stats/smbios_info.h"

namespace {

class SystemFacts final : public MachineFactSource {
 public:
  std::size_t FindAdapterAddress(AdapterAddress& address) override { return ::FindAdapterAddress(address); }
  std::size_t FirstAdapterAddress(std::vector<std::uint8_t>& address) override {
    return ::FirstAdapterAddress(address);
  }
  platform::CpuidRegisters Cpuid(std::uint32_t leaf) override { return platform::Cpuid(leaf); }
  bool LoadSmbios(SmbiosInfo& info) override { return info.Load(); }
};

// The fixed-size block with its write position; what does not fit is cut.
class Block {
 public:
  void Append(const void* data, std::size_t size) {
    std::size_t n = std::min(size, bytes_.size() - used_);
    if (n) std::memcpy(bytes_.data() + used_, data, n);
    used_ += n;
  }
  void Append(std::uint32_t reg) {
    const std::uint8_t le[4] = {static_cast<std::uint8_t>(reg), static_cast<std::uint8_t>(reg >> 8),
                                static_cast<std::uint8_t>(reg >> 16), static_cast<std::uint8_t>(reg >> 24)};
    Append(le, sizeof le);
  }
  std::vector<std::uint8_t> Written() const { return {bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(used_)}; }

 private:
  std::array<std::uint8_t, kMachineBlockSize> bytes_{};
  std::size_t used_ = 0;
};

}  // namespace

MachineFactSource& SystemMachineFacts() {
  static SystemFacts facts;
  return facts;
}

std::vector<std::uint8_t> BuildMachineBlock(MachineFactSource& facts) {
  Block block;
  AdapterAddress permanent{};
  if (facts.FindAdapterAddress(permanent) > 0) {
    block.Append(permanent.data(), permanent.size());
  } else {
    std::vector<std::uint8_t> first;
    std::size_t n = facts.FirstAdapterAddress(first);
    block.Append(first.data(), std::min(n, first.size()));
  }
  platform::CpuidRegisters leaf0 = facts.Cpuid(0);
  for (std::uint32_t r : {leaf0.eax, leaf0.ebx, leaf0.ecx, leaf0.edx}) block.Append(r);
  // Leaf 1's EBX is left out: it carries the APIC id of whichever processor ran the query.
  platform::CpuidRegisters leaf1 = facts.Cpuid(1);
  for (std::uint32_t r : {leaf1.eax, leaf1.ecx, leaf1.edx}) block.Append(r);
  platform::CpuidRegisters leaf3 = facts.Cpuid(3);
  for (std::uint32_t r : {leaf3.eax, leaf3.ebx, leaf3.ecx, leaf3.edx}) block.Append(r);
  SmbiosInfo smbios;
  if (facts.LoadSmbios(smbios)) {
    std::string joined = smbios.Joined();
    block.Append(joined.data(), joined.size());
  }
  return block.Written();
}

void ComputeMachineDigest(MachineDigest& digest, MachineFactSource& facts) {
  std::vector<std::uint8_t> block = BuildMachineBlock(facts);
  KwrBase::HashProv prov;
  prov.AcquireContext();
  KwrBase::Hash hash;
  hash.Create(prov.Handle());
  hash.HashData(block.data(), static_cast<std::uint32_t>(block.size()));
  std::uint32_t size = static_cast<std::uint32_t>(digest.size());
  hash.GetHash(digest.data(), &size);
}

std::size_t SmallestAdapterAddress(const std::vector<std::vector<std::uint8_t>>& answered, AdapterAddress& address) {
  std::size_t count = 0;
  AdapterAddress kept{};
  for (const auto& bytes : answered) {
    AdapterAddress a{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), a.size()), a.begin());
    if (count == 0 || a < kept) kept = a;  // std::array compares as unsigned bytes, first byte first
    ++count;
  }
  if (count) address = kept;
  return count;
}

std::size_t FindAdapterAddress(AdapterAddress& address) {
  return SmallestAdapterAddress(platform::PhysicalAdapterPermanentAddresses(), address);
}

std::size_t FirstNonEmptyAddress(const std::vector<std::vector<std::uint8_t>>& adapters,
                                 std::vector<std::uint8_t>& address) {
  for (const auto& a : adapters) {
    if (a.size() >= 1024) return 0;
    if (!a.empty()) {
      address = a;
      return a.size();
    }
  }
  return 0;
}

std::size_t FirstAdapterAddress(std::vector<std::uint8_t>& address) {
  return FirstNonEmptyAddress(platform::AdapterAddresses(), address);
}
