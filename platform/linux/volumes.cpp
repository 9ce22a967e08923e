#include "platform/volumes.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/linux/sysfs_file.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// Network file systems can sit on something that looks like a device (an iSCSI or RBD disk is a
// block device, but nfs or cifs never are); these are excluded by name whatever their device.
constexpr std::array<std::string_view, 13> kNetworkTypes = {
    "nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "ceph", "9p", "glusterfs", "lustre", "gfs2", "ocfs2"};
// Optical media: their drives report themselves removable, but a disc image on a loop device
// does not, and it is no place to install to either.
constexpr std::array<std::string_view, 2> kMediaTypes = {"iso9660", "udf"};

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& list, std::string_view v) {
  for (auto s : list)
    if (s == v) return true;
  return false;
}

// The kernel writes space, tab, newline and backslash in mount points as \ooo.
std::string DecodeMountField(std::string_view field) {
  auto oct = [](char c) { return c >= '0' && c <= '7'; };
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && oct(field[i + 1]) && oct(field[i + 2]) && oct(field[i + 3])) {
      out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
      i += 3;
      continue;
    }
    out += field[i];
  }
  return out;
}

bool HasOption(std::string_view options, std::string_view name) {
  std::size_t start = 0;
  while (start <= options.size()) {
    std::size_t end = options.find(',', start);
    if (end == std::string_view::npos) end = options.size();
    if (options.substr(start, end - start) == name) return true;
    start = end + 1;
  }
  return false;
}

// "removable" of the disk behind a block device number; a partition asks its disk. Unknown (no
// sysfs) counts as fixed: the device number already says it is a real block device.
bool IsRemovableDevice(const fs::path& sysfs, unsigned major, unsigned minor) {
  std::error_code ec;
  fs::path entry = sysfs / "dev" / "block" / (std::to_string(major) + ":" + std::to_string(minor));
  fs::path device = fs::canonical(entry, ec);
  if (ec) return false;
  if (fs::exists(device / "partition", ec)) device = device.parent_path();
  auto text = linux_impl::ReadSysfsText(device / "removable");
  return text && *text == "1";
}

std::optional<MountedVolume> ParseMountInfoLine(const std::string& line, const fs::path& sysfs) {
  std::istringstream in(line);
  std::vector<std::string> fields;
  for (std::string f; in >> f;) fields.push_back(f);
  // id parent major:minor root mount-point options [optional...] - type source super-options
  std::size_t dash = 6;
  while (dash < fields.size() && fields[dash] != "-") ++dash;
  if (fields.size() < 6 || dash + 2 >= fields.size()) return std::nullopt;

  MountedVolume v;
  v.mountPoint = DecodeMountField(fields[4]);
  if (!v.mountPoint.is_absolute()) return std::nullopt;
  v.fsType = DecodeMountField(fields[dash + 1]);
  v.source = DecodeMountField(fields[dash + 2]);
  v.readOnly = HasOption(fields[5], "ro") || (dash + 3 < fields.size() && HasOption(fields[dash + 3], "ro"));

  unsigned major = 0, minor = 0;
  if (std::sscanf(fields[2].c_str(), "%u:%u", &major, &minor) != 2) return std::nullopt;
  if (major == 0 && v.source.starts_with('/')) {
    // Some file systems (btrfs) report an anonymous device number; their source names the disk.
    struct stat st {};
    if (::stat(v.source.c_str(), &st) == 0 && S_ISBLK(st.st_mode)) {
      major = ::major(st.st_rdev);
      minor = ::minor(st.st_rdev);
    }
  }
  bool onBlockDevice = major != 0;
  v.localFixed = onBlockDevice && !Contains(kNetworkTypes, v.fsType) && !Contains(kMediaTypes, v.fsType) &&
                 !IsRemovableDevice(sysfs, major, minor);
  return v;
}

// The components of an absolute path, without the empty name a trailing separator leaves.
std::vector<fs::path> Components(const fs::path& p) {
  std::vector<fs::path> out;
  for (const auto& c : p)
    if (!c.empty()) out.push_back(c);
  return out;
}

}  // namespace

VolumeTable VolumeTable::Read(const VolumeSources& sources) {
  VolumeTable table;
  auto text = linux_impl::ReadSmallFile(sources.mountInfo, 16 * 1024 * 1024);
  if (!text) return table;
  std::istringstream in(*text);
  for (std::string line; std::getline(in, line);) {
    if (auto v = ParseMountInfoLine(line, sources.sysfs)) table.volumes_.push_back(std::move(*v));
  }
  return table;
}

std::vector<MountedVolume> VolumeTable::LocalFixedVolumes() const {
  std::vector<MountedVolume> out;
  for (std::size_t i = 0; i < volumes_.size(); ++i) {
    if (!volumes_[i].localFixed) continue;
    bool mountedOver = false;
    for (std::size_t j = i + 1; j < volumes_.size() && !mountedOver; ++j)
      mountedOver = Components(volumes_[j].mountPoint) == Components(volumes_[i].mountPoint);
    if (!mountedOver) out.push_back(volumes_[i]);
  }
  return out;
}

std::optional<MountedVolume> VolumeTable::VolumeOf(const fs::path& path) const {
  if (!path.is_absolute()) return std::nullopt;
  auto target = Components(path);
  const MountedVolume* best = nullptr;
  std::size_t bestLength = 0;
  for (const auto& v : volumes_) {
    auto mp = Components(v.mountPoint);
    if (mp.size() > target.size() || !std::equal(mp.begin(), mp.end(), target.begin())) continue;
    // A later mount at the same place hides the earlier one.
    if (!best || mp.size() >= bestLength) {
      best = &v;
      bestLength = mp.size();
    }
  }
  if (!best) return std::nullopt;
  return *best;
}

bool VolumeTable::IsMountPoint(const fs::path& path) const {
  if (!path.is_absolute()) return false;
  auto target = Components(path);
  for (const auto& v : volumes_)
    if (Components(v.mountPoint) == target) return true;
  return false;
}

std::optional<std::uint64_t> AvailableBytes(const fs::path& existingPath) {
  struct statvfs st {};
  if (::statvfs(existingPath.c_str(), &st) != 0) return std::nullopt;
  std::uint64_t unit = st.f_frsize ? st.f_frsize : st.f_bsize;
  return static_cast<std::uint64_t>(st.f_bavail) * unit;
}

bool CanCreateIn(const fs::path& dir) {
  struct stat st {};
  if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  return ::faccessat(AT_FDCWD, dir.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

fs::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && home[0] == '/') return home;
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buf(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd pw{};
  passwd* found = nullptr;
  if (::getpwuid_r(::geteuid(), &pw, buf.data(), buf.size(), &found) != 0 || !found || !found->pw_dir) return {};
  return found->pw_dir;
}

}  // namespace platform
