#pragma once
// The machine's network adapters, for the hardware part of the machine identifier.
#include <cstdint>
#include <vector>

namespace platform {

// The permanent (burned-in) hardware addresses of the physical adapters whose driver answered
// the permanent-address query, in interface-index order, each as long as the driver reports it
// (normally 6 bytes). Adapters without a device behind them (bridges, tunnels, loopback) are
// not asked.
std::vector<std::vector<std::uint8_t>> PhysicalAdapterPermanentAddresses();

// The current hardware address of every network interface except loopback, in interface-index
// order; an interface without one has an empty entry.
std::vector<std::vector<std::uint8_t>> AdapterAddresses();

}  // namespace platform
