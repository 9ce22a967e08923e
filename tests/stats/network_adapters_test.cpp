// The adapter list as the machine identifier reads it, over a fixture tree shaped like the
// kernel's /sys: interfaces under class/net, their device links, and each device's bus link.
#include "platform/network_adapters.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace {
namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class SysfsFixture {
 public:
  // A device folder below devices/ whose "subsystem" link names `bus`.
  void Device(const std::string& path, const std::string& bus) {
    fs::create_directories(root_ / "bus" / bus);
    fs::create_directories(root_ / "devices" / path);
    fs::create_symlink(root_ / "bus" / bus, root_ / "devices" / path / "subsystem");
  }
  // An interface folder; `device` is a path below devices/ or nothing (a virtual interface).
  void Interface(const std::string& name, const std::string& index, const std::string& type,
                 const std::optional<std::string>& address, const std::optional<std::string>& device = {}) {
    const fs::path dir = root_ / "class" / "net" / name;
    fs::create_directories(dir);
    testsupport::WriteFile(dir / "ifindex", index + "\n");
    testsupport::WriteFile(dir / "type", type + "\n");
    if (address) testsupport::WriteFile(dir / "address", *address + "\n");
    if (device) fs::create_symlink(root_ / "devices" / *device, dir / "device");
  }
  const fs::path& root() const { return root_.path(); }

 private:
  testsupport::TempDir root_;
};

// Every kind of interface the kernel lists, in one machine.
void AddEveryKindOfInterface(SysfsFixture& sys) {
  sys.Device("pci0000:00/0000:00:03.0", "pci");
  sys.Device("pci0000:00/0000:00:03.0/virtio2", "virtio");
  sys.Device("pci0000:00/0000:05:00.0", "pci");
  sys.Device("pci0000:00/0000:00:14.0", "pci");
  sys.Device("pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0", "usb");
  sys.Device("vmbus_0/f8615163-df3e-46c5-913f-f2d2f965ed0e", "vmbus");
  sys.Device("platform/a000000.virtio_mmio", "platform");
  sys.Device("platform/a000000.virtio_mmio/virtio0", "virtio");
  sys.Interface("lo", "1", "772", "00:00:00:00:00:00");
  // A tethered phone: the lowest address of all, on USB.
  sys.Interface("usb0", "2", "1", "02:00:00:00:00:01", "pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0");
  sys.Interface("eth0", "3", "1", "52:54:00:12:34:56", "pci0000:00/0000:00:03.0/virtio2");
  sys.Interface("br0", "4", "1", "AA:BB:cc:dd:ee:0F");
  sys.Interface("enp5s0", "5", "1", "3c:97:0e:11:22:33", "pci0000:00/0000:05:00.0");
  sys.Interface("hv0", "6", "1", "00:15:5d:01:02:03", "vmbus_0/f8615163-df3e-46c5-913f-f2d2f965ed0e");
  sys.Interface("mmio0", "7", "1", "52:54:00:aa:bb:cc", "platform/a000000.virtio_mmio/virtio0");
  sys.Interface("tun0", "8", "65534", "");
  sys.Interface("odd9", "9", "1", "02-fc-00-00-00-01");
  sys.Interface("odd10", "10", "1", "02:fc:0");
  sys.Interface("odd11", "11", "1", std::nullopt);
  sys.Interface("noindex", "x", "1", "02:fc:00:00:00:09");
}

TEST(NetworkAdapters, OnlyAdaptersOnThePciBusOrVmBusArePhysical) {
  SysfsFixture sys;
  AddEveryKindOfInterface(sys);
  // In interface-index order; the USB phone, the bridge, the virtio over another transport and
  // loopback are not asked for their permanent address.
  EXPECT_EQ(platform::PhysicalAdapterInterfaces(sys.root()), (std::vector<std::string>{"eth0", "enp5s0", "hv0"}));
}

TEST(NetworkAdapters, TheAddressListSkipsLoopbackAndKeepsIndexOrder) {
  SysfsFixture sys;
  AddEveryKindOfInterface(sys);
  const std::vector<Bytes> expected = {
      {0x02, 0x00, 0x00, 0x00, 0x00, 0x01},  // usb0: the list itself has every interface
      {0x52, 0x54, 0x00, 0x12, 0x34, 0x56},  // eth0
      {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0x0F},  // br0: either case of hexadecimal letters
      {0x3C, 0x97, 0x0E, 0x11, 0x22, 0x33},  // enp5s0
      {0x00, 0x15, 0x5D, 0x01, 0x02, 0x03},  // hv0
      {0x52, 0x54, 0x00, 0xAA, 0xBB, 0xCC},  // mmio0
      {},                                    // tun0: no hardware address
      {},                                    // odd9: not colon-separated
      {},                                    // odd10: cut short
      {},                                    // odd11: no address file
      // "noindex" has no usable index and is not listed at all; index 10 sorts after 9.
  };
  EXPECT_EQ(platform::AdapterAddresses(sys.root()), expected);
}

TEST(NetworkAdapters, AMissingTreeGivesNoAdapters) {
  testsupport::TempDir empty;
  EXPECT_TRUE(platform::PhysicalAdapterInterfaces(empty.path()).empty());
  EXPECT_TRUE(platform::AdapterAddresses(empty.path()).empty());
}

}  // namespace
