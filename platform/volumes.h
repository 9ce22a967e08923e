#pragma once
// The machine's mounted volumes: which of them are local fixed disks (the places an installation
// may be proposed), which volume holds a path, and how much of a volume the caller may use.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct MountedVolume {
  std::filesystem::path mountPoint;  // absolute, as the kernel lists it (escapes decoded)
  std::string fsType;                // "ext4", "nfs4", "tmpfs", ...
  std::string source;                // "/dev/sda2", "server:/export", "tmpfs"
  bool readOnly = false;
  // On a block device that is not removable, and neither a network nor a pseudo file system.
  bool localFixed = false;
};

// Where the volume table comes from. Tests point these at files of their own.
struct VolumeSources {
  std::filesystem::path mountInfo = "/proc/self/mountinfo";
  std::filesystem::path sysfs = "/sys";
};

class VolumeTable {
 public:
  // Reads the table once; an unreadable source gives an empty table.
  static VolumeTable Read(const VolumeSources& sources = {});

  // Every mount, in mount order.
  const std::vector<MountedVolume>& all() const { return volumes_; }

  // The local fixed volumes that are visible (not mounted over), in mount order.
  std::vector<MountedVolume> LocalFixedVolumes() const;

  // The volume holding `path`: the mount point that is the longest prefix of it. `path` must be
  // absolute and normal; symbolic links are not followed. Nothing for a relative path.
  std::optional<MountedVolume> VolumeOf(const std::filesystem::path& path) const;

  // True when `path` (absolute; a trailing separator is ignored) is a mount point.
  bool IsMountPoint(const std::filesystem::path& path) const;

 private:
  std::vector<MountedVolume> volumes_;
};

// Bytes of the file system holding `existingPath` that the caller may use (statvfs: available
// blocks x fragment size). Nothing when the path cannot be queried.
std::optional<std::uint64_t> AvailableBytes(const std::filesystem::path& existingPath);

// True when the caller (effective ids) may create entries in the existing folder `dir`: write
// and search permission, on a file system mounted writable.
bool CanCreateIn(const std::filesystem::path& dir);

// The caller's home folder: $HOME when it is absolute, else the account's entry. Empty when
// neither is known.
std::filesystem::path HomeFolder();

}  // namespace platform
