// The configuration document comes from the network: any bytes must end in a record or an error
// text, never in a crash, a hang or undefined behaviour.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "installer/config_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ConfigParseResult r = ParseConfigDocument(std::string_view(reinterpret_cast<const char*>(data), size));
  if (r.record.has_value() == !r.error.empty()) std::abort();  // exactly one of the two
  return 0;
}
