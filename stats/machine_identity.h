#pragma once
// The machine identifier ("pcid"): the MD5 digest of a block of hardware facts, in this order:
//   1. a network adapter's address: the smallest permanent address of the physical adapters
//      (6 bytes), else the first adapter's current address, else nothing;
//   2. CPUID leaf 0: EAX, EBX, ECX, EDX;  3. leaf 1: EAX;  4. leaf 1: ECX, EDX;
//   5. leaf 3: EAX, EBX, ECX, EDX  (every register 4 bytes, least significant first);
//   6. the ten SMBIOS strings joined (SmbiosInfo::Joined), when SMBIOS data can be read.
// The block holds at most 1024 bytes; a piece that does not fit is cut there. Only the bytes
// written are hashed. Nothing is stored or sent from here.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/cpu_id.h"

struct SmbiosInfo;

using AdapterAddress = std::array<std::uint8_t, 6>;
using MachineDigest = std::array<std::uint8_t, 16>;

inline constexpr std::size_t kMachineBlockSize = 1024;

// Where the facts come from; the system's sources by default, given facts in tests.
class MachineFactSource {
 public:
  virtual ~MachineFactSource() = default;
  virtual std::size_t FindAdapterAddress(AdapterAddress& address) = 0;
  virtual std::size_t FirstAdapterAddress(std::vector<std::uint8_t>& address) = 0;
  virtual platform::CpuidRegisters Cpuid(std::uint32_t leaf) = 0;
  virtual bool LoadSmbios(SmbiosInfo& info) = 0;
};

// The real sources: the functions below, platform::Cpuid and SmbiosInfo::Load.
MachineFactSource& SystemMachineFacts();

// The bytes that are hashed (at most kMachineBlockSize), gathered in the order above.
std::vector<std::uint8_t> BuildMachineBlock(MachineFactSource& facts);

// MD5 of BuildMachineBlock. Throws KwrBase::win_exception only when the digest service fails.
void ComputeMachineDigest(MachineDigest& digest, MachineFactSource& facts = SystemMachineFacts());

// How many of the machine's own adapters (on the PCI bus or VMBus, never plug-in ones) answered
// the permanent-address query; when any did, `address` is the smallest of their addresses
// (compared as unsigned bytes from the first).
std::size_t FindAdapterAddress(AdapterAddress& address);
// The same over given answers: each is cut or zero-filled to 6 bytes.
std::size_t SmallestAdapterAddress(const std::vector<std::vector<std::uint8_t>>& answered, AdapterAddress& address);

// The address of the first adapter in the system's list that has one; its length, 0 when none.
std::size_t FirstAdapterAddress(std::vector<std::uint8_t>& address);
// The same over a given list: a length of 1024 or more ends the search with 0.
std::size_t FirstNonEmptyAddress(const std::vector<std::vector<std::uint8_t>>& adapters,
                                 std::vector<std::uint8_t>& address);
