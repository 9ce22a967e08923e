#pragma once
// Volume tables of our own for platform::VolumeTable: a mount table and the /sys entries of its
// devices, written to a temporary folder. Mount points can be real folders (with file systems
// mounted on them inside an isolated child, tests/support/isolated_child.h), so the free space
// read from them is real.
#include <filesystem>
#include <string>

#include "platform/volumes.h"
#include "tests/support/temp_dir.h"

namespace testsupport {

struct FakeMount {
  std::filesystem::path mountPoint;
  std::string fsType = "ext4";
  std::string source = "/dev/sda1";
  unsigned major = 8, minor = 1;  // major 0: not a block device (no /sys entry)
  bool removable = false;         // of the disk behind the device
  std::string options = "rw";
};

class FakeVolumes {
 public:
  FakeVolumes();
  // Appends one mount (in mount order). A block device gets a /sys entry: a partition of a disk
  // whose "removable" says `removable`.
  void Add(const FakeMount& mount);
  const platform::VolumeSources& sources() const { return sources_; }

 private:
  TempDir dir_;
  platform::VolumeSources sources_;
  int nextId_ = 20;
};

}  // namespace testsupport
