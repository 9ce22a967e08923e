#pragma once
// The machine's network adapters, for the hardware part of the machine identifier.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace platform {

// Where the kernel publishes the network interfaces ("class/net" below it) and their devices.
// Tests point the functions below at a fixture tree of the same shape.
inline constexpr const char* kSysfsRoot = "/sys";

// The interfaces of the machine's own adapters, in interface-index order: those whose device sits
// on the PCI bus (directly, or as the virtio function of a PCI device, as a virtual machine's
// network card does) or on Hyper-V's VMBus. Plug-in adapters (USB network dongles, tethered
// phones) and interfaces without a device (bridges, tunnels, loopback) are left out, so the
// machine identifier does not change while one is plugged in.
std::vector<std::string> PhysicalAdapterInterfaces(const std::filesystem::path& sysfs = kSysfsRoot);

// The permanent (burned-in) hardware addresses of the interfaces above whose driver answered the
// permanent-address query, in the same order, each as long as the driver reports it (normally
// 6 bytes).
std::vector<std::vector<std::uint8_t>> PhysicalAdapterPermanentAddresses();

// The current hardware address of every network interface except loopback, in interface-index
// order; an interface without one (or with an unreadable or malformed one) has an empty entry.
std::vector<std::vector<std::uint8_t>> AdapterAddresses(const std::filesystem::path& sysfs = kSysfsRoot);

}  // namespace platform
