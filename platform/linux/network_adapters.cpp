#include "platform/network_adapters.h"

#include <linux/ethtool.h>
#include <linux/sockios.h>
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/linux/sysfs_file.h"

namespace platform {
namespace {
namespace fs = std::filesystem;
using linux_impl::ReadSysfsText;

constexpr int kLoopbackType = 772;  // ARPHRD_LOOPBACK
constexpr std::size_t kMaxAddressLength = 32;  // MAX_ADDR_LEN of the kernel

struct Interface {
  int index;
  fs::path dir;
  std::string name;
};

std::vector<Interface> Interfaces(const fs::path& sysfs) {
  std::vector<Interface> out;
  std::error_code ec;
  for (fs::directory_iterator it(sysfs / "class" / "net", ec), end; !ec && it != end; it.increment(ec)) {
    auto index = ReadSysfsText(it->path() / "ifindex");
    if (!index) continue;
    try {
      out.push_back({std::stoi(*index), it->path(), it->path().filename().string()});
    } catch (const std::exception&) {
    }
  }
  std::sort(out.begin(), out.end(), [](const Interface& a, const Interface& b) { return a.index < b.index; });
  return out;
}

// "02:fc:00:00:00:01" -> its bytes; empty for an empty or malformed text.
std::vector<std::uint8_t> ParseAddress(const std::string& text) {
  std::vector<std::uint8_t> out;
  std::size_t i = 0;
  while (i + 2 <= text.size()) {
    unsigned value = 0;
    for (std::size_t k = i; k < i + 2; ++k) {
      char c = text[k];
      int d = (c >= '0' && c <= '9') ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
      if (d < 0) return {};
      value = value * 16 + static_cast<unsigned>(d);
    }
    out.push_back(static_cast<std::uint8_t>(value));
    i += 2;
    if (i == text.size()) return out;
    if (text[i] != ':') return {};
    ++i;
  }
  return text.empty() ? out : std::vector<std::uint8_t>{};
}

// The bus a device sits on: the name its "subsystem" link points to ("pci", "usb", ...).
std::string BusOf(const fs::path& device) {
  std::error_code ec;
  fs::path bus = fs::read_symlink(device / "subsystem", ec);
  return ec ? std::string() : bus.filename().string();
}

// The adapter's device on a bus that counts: PCI (on Windows its instance id starts with "PCI")
// or VMBus (the virtual bus of Hyper-V guests). A virtio network device counts by the PCI
// function it is the driver interface of; virtio over any other transport does not.
bool OnMachineBus(const fs::path& interfaceDir) {
  std::error_code ec;
  fs::path device = fs::canonical(interfaceDir / "device", ec);
  if (ec) return false;
  std::string bus = BusOf(device);
  if (bus == "virtio") bus = BusOf(device.parent_path());
  return bus == "pci" || bus == "vmbus";
}

class Socket {
 public:
  Socket() {
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  }
  ~Socket() {
    if (fd_ >= 0) ::close(fd_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_ = -1;
};

// ETHTOOL_GPERMADDR into a raw buffer: the request header (command, size) followed by room for
// the longest address.
bool QueryPermanentAddress(int fd, const std::string& name, std::vector<std::uint8_t>& out) {
  if (name.size() >= IFNAMSIZ) return false;
  alignas(std::uint32_t) std::uint8_t buffer[2 * sizeof(std::uint32_t) + kMaxAddressLength] = {};
  const std::uint32_t cmd = ETHTOOL_GPERMADDR, size = kMaxAddressLength;
  std::memcpy(buffer, &cmd, sizeof cmd);
  std::memcpy(buffer + sizeof cmd, &size, sizeof size);
  ifreq request{};
  std::memcpy(request.ifr_name, name.c_str(), name.size() + 1);
  request.ifr_data = reinterpret_cast<char*>(buffer);
  if (::ioctl(fd, SIOCETHTOOL, &request) != 0) return false;
  std::uint32_t returned = 0;
  std::memcpy(&returned, buffer + sizeof cmd, sizeof returned);
  returned = std::min<std::uint32_t>(returned, kMaxAddressLength);
  const std::uint8_t* data = buffer + 2 * sizeof(std::uint32_t);
  out.assign(data, data + returned);
  return true;
}

}  // namespace

std::vector<std::string> PhysicalAdapterInterfaces(const fs::path& sysfs) {
  std::vector<std::string> out;
  for (const Interface& itf : Interfaces(sysfs))
    if (OnMachineBus(itf.dir)) out.push_back(itf.name);
  return out;
}

std::vector<std::vector<std::uint8_t>> PhysicalAdapterPermanentAddresses() {
  std::vector<std::vector<std::uint8_t>> out;
  Socket socket;
  if (socket.fd() < 0) return out;
  for (const std::string& name : PhysicalAdapterInterfaces()) {
    std::vector<std::uint8_t> address;
    if (QueryPermanentAddress(socket.fd(), name, address)) out.push_back(std::move(address));
  }
  return out;
}

std::vector<std::vector<std::uint8_t>> AdapterAddresses(const fs::path& sysfs) {
  std::vector<std::vector<std::uint8_t>> out;
  for (const Interface& itf : Interfaces(sysfs)) {
    auto type = ReadSysfsText(itf.dir / "type");
    if (type && *type == std::to_string(kLoopbackType)) continue;
    auto text = ReadSysfsText(itf.dir / "address");
    out.push_back(text ? ParseAddress(*text) : std::vector<std::uint8_t>{});
  }
  return out;
}

}  // namespace platform
