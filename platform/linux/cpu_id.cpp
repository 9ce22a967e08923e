#include "platform/cpu_id.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace platform {

CpuidRegisters Cpuid(std::uint32_t leaf) {
  CpuidRegisters r;
#if defined(__x86_64__) || defined(__i386__)
#if defined(__i386__)
  if (__get_cpuid_max(0, nullptr) == 0) return r;  // a 32-bit processor without the instruction
#endif
  // Executed as asked, also for leaves above the processor's maximum (it answers those itself).
  __cpuid_count(leaf, 0, r.eax, r.ebx, r.ecx, r.edx);
#else
  (void)leaf;
#endif
  return r;
}

}  // namespace platform
