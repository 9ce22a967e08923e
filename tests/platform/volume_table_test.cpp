#include "platform/volumes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "tests/support/fake_volumes.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testsupport::FakeMount;
using testsupport::FakeVolumes;

// Which entries of a mixed table count as local fixed disks.
TEST(VolumeTableTest, OnlyNonRemovableBlockDevicesWithoutNetworkOrPseudoFileSystemsAreFixed) {
  FakeVolumes fake;
  struct Case {
    FakeMount mount;
    bool fixed;
  } cases[] = {
      {{"/", "ext4", "/dev/sda1", 8, 1}, true},
      {{"/home", "xfs", "/dev/mapper/vg-home", 254, 2}, true},  // LVM / LUKS: device-mapper disks
      {{"/media/stick", "vfat", "/dev/sdb1", 8, 17, true}, false},
      {{"/mnt/share", "nfs4", "server:/export", 0, 53}, false},
      {{"/mnt/iscsi", "cifs", "//server/share", 8, 33}, false},  // named network even on a device number
      {{"/proc", "proc", "proc", 0, 20}, false},
      {{"/tmp", "tmpfs", "tmpfs", 0, 21}, false},
      {{"/mnt/disc", "iso9660", "/dev/loop3", 7, 3}, false},
      {{"/mnt/old disk", "ntfs3", "/dev/sdc1", 8, 49, false, "ro,relatime"}, true},
      {{"/snap/core/1", "squashfs", "/dev/loop0", 7, 0, false, "ro"}, true},
  };
  for (const auto& c : cases) fake.Add(c.mount);

  auto table = platform::VolumeTable::Read(fake.sources());
  ASSERT_EQ(table.all().size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].mount.mountPoint.string());
    EXPECT_EQ(table.all()[i].mountPoint, cases[i].mount.mountPoint);  // "\040" decoded to a space
    EXPECT_EQ(table.all()[i].fsType, cases[i].mount.fsType);
    EXPECT_EQ(table.all()[i].localFixed, cases[i].fixed);
    EXPECT_EQ(table.all()[i].readOnly, cases[i].mount.options.starts_with("ro"));
  }
  std::vector<fs::path> fixed;
  for (const auto& v : table.LocalFixedVolumes()) fixed.push_back(v.mountPoint);
  EXPECT_EQ(fixed, (std::vector<fs::path>{"/", "/home", "/mnt/old disk", "/snap/core/1"}));
}

// btrfs and some others show an anonymous device number; the disk is the source device.
TEST(VolumeTableTest, AnonymousDeviceNumberFallsBackToTheSourceDevice) {
  fs::path device;
  for (const char* candidate : {"/dev/loop0", "/dev/vda", "/dev/sda", "/dev/nvme0n1"}) {
    struct stat st {};
    if (stat(candidate, &st) == 0 && S_ISBLK(st.st_mode)) {
      device = candidate;
      break;
    }
  }
  if (device.empty()) GTEST_SKIP() << "no block device node to name as a source";
  struct stat st {};
  ASSERT_EQ(stat(device.c_str(), &st), 0);

  for (bool removable : {false, true}) {
    FakeVolumes fake;
    fake.Add({"/data", "btrfs", device.string(), 0, 45});
    // The /sys entry belongs to the real device's number.
    fake.Add({"/unused", "ext4", device.string(), major(st.st_rdev), minor(st.st_rdev), removable});
    auto table = platform::VolumeTable::Read(fake.sources());
    ASSERT_EQ(table.all().size(), 2u);
    EXPECT_EQ(table.all()[0].localFixed, !removable);
  }
}

TEST(VolumeTableTest, MountedOverVolumeIsNotListedAndTheLaterMountHoldsItsPaths) {
  FakeVolumes fake;
  fake.Add({"/", "ext4", "/dev/sda1", 8, 1});
  fake.Add({"/data", "ext4", "/dev/sda2", 8, 2});
  fake.Add({"/data/cache", "ext4", "/dev/sda3", 8, 3});
  fake.Add({"/data", "tmpfs", "tmpfs", 0, 60});  // mounted over /data
  auto table = platform::VolumeTable::Read(fake.sources());

  std::vector<fs::path> fixed;
  for (const auto& v : table.LocalFixedVolumes()) fixed.push_back(v.mountPoint);
  EXPECT_EQ(fixed, (std::vector<fs::path>{"/", "/data/cache"}));

  struct Case {
    const char* path;
    const char* mountPoint;
    const char* fsType;
  } cases[] = {
      {"/", "/", "ext4"},
      {"/usr/lib", "/", "ext4"},
      {"/data", "/data", "tmpfs"},
      {"/data/x/y", "/data", "tmpfs"},
      {"/data/cache/z", "/data/cache", "ext4"},
      {"/data/cachet", "/data", "tmpfs"},  // a longer name is not a sub-folder
      {"/data/cache/", "/data/cache", "ext4"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    auto v = table.VolumeOf(c.path);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->mountPoint, fs::path(c.mountPoint));
    EXPECT_EQ(v->fsType, c.fsType);
  }
  EXPECT_FALSE(table.VolumeOf("relative/path"));
  EXPECT_TRUE(table.IsMountPoint("/data/"));
  EXPECT_TRUE(table.IsMountPoint("/"));
  EXPECT_FALSE(table.IsMountPoint("/data/cache/z"));
  EXPECT_FALSE(table.IsMountPoint("data"));
}

TEST(VolumeTableTest, UnreadableOrGarbledTableGivesNoVolumes) {
  testsupport::TempDir dir;
  platform::VolumeSources sources{dir / "missing", dir / "sys"};
  EXPECT_TRUE(platform::VolumeTable::Read(sources).all().empty());

  testsupport::WriteFile(dir / "garbled", "not a mount table\n1 2 3\n\n20 1 8:1 / relative rw - ext4 /dev/sda1 rw\n");
  sources.mountInfo = dir / "garbled";
  EXPECT_TRUE(platform::VolumeTable::Read(sources).all().empty());
}

// The real table: every process sees a root mount.
TEST(VolumeTableTest, RealMountTableHasTheRoot) {
  auto table = platform::VolumeTable::Read();
  ASSERT_FALSE(table.all().empty());
  auto root = table.VolumeOf("/");
  ASSERT_TRUE(root);
  EXPECT_EQ(root->mountPoint, fs::path("/"));
  EXPECT_TRUE(platform::AvailableBytes("/").has_value());
  EXPECT_FALSE(platform::AvailableBytes("/no/such/folder/anywhere").has_value());
}

TEST(VolumeTableTest, CanCreateInNeedsAnExistingWritableFolder) {
  testsupport::TempDir dir;
  testsupport::WriteFile(dir / "file", "x");
  EXPECT_TRUE(platform::CanCreateIn(dir.path()));
  EXPECT_FALSE(platform::CanCreateIn(dir / "file"));
  EXPECT_FALSE(platform::CanCreateIn(dir / "missing"));
}

}  // namespace
