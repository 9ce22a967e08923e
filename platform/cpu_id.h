#pragma once
// The processor's identification instruction.
#include <cstdint>

namespace platform {

struct CpuidRegisters {
  std::uint32_t eax = 0, ebx = 0, ecx = 0, edx = 0;
};

// CPUID with EAX = `leaf` and ECX = 0. All zeros on processors without the instruction.
CpuidRegisters Cpuid(std::uint32_t leaf);

}  // namespace platform
