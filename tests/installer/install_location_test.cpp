#include "installer/install_location.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <limits>

#include "platform/text_encoding.h"
#include "tests/support/fake_volumes.h"
#include "tests/support/isolated_child.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testsupport::FakeMount;
using testsupport::FakeVolumes;

constexpr unsigned kNobody = 65534;
constexpr std::uint64_t kMiB = 1024 * 1024;

std::wstring W(const fs::path& p) { return platform::PathToWide(p); }

// One volume of a scenario: a folder under the test's folder with a tmpfs of `bytes` mounted on
// it in the isolated child, listed in the fake table as `mount` says.
struct Volume {
  std::string name;
  std::uint64_t bytes;
  FakeMount mount;                // mountPoint is filled in
  std::string tmpfsOptions = "";  // "uid=65534" makes it the user's
  bool readOnly = false;
  bool full = false;            // filled up to 0 bytes available
};

// The volumes of a test, mounted for real in a private mount namespace, and a fake table that
// describes them (so tmpfs can stand for disks of any kind).
class IsolatedVolumes : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testsupport::CanIsolate()) GTEST_SKIP() << "needs root and mount namespaces";
    fs::permissions(dir_.path(), fs::perms(0755));  // reachable for the unprivileged cases
  }

  fs::path Folder(const std::string& name) const { return dir_ / name; }

  void Add(Volume v) {
    v.mount.mountPoint = Folder(v.name);
    fs::create_directories(v.mount.mountPoint);
    fake_.Add(v.mount);
    volumes_.push_back(std::move(v));
  }

  // Runs `body` in the isolated child once every volume is mounted.
  std::string Run(const std::function<std::string()>& body) {
    std::string error;
    auto volumes = volumes_;
    std::string out = testsupport::RunIsolated(
        [&] {
          for (const auto& v : volumes) {
            // Made again here: a volume mounted on an outer one hides what the test made there.
            fs::create_directories(v.mount.mountPoint);
            if (!testsupport::MountTmpfs(v.mount.mountPoint, v.bytes, v.tmpfsOptions, v.readOnly))
              return std::string("\x01mount failed");
            if (v.full) {
              std::ofstream(v.mount.mountPoint / "filler") << std::string(v.bytes, 'x');
            }
          }
          return body();
        },
        &error);
    EXPECT_EQ(error, "");
    return out;
  }

  const platform::VolumeSources& sources() const { return fake_.sources(); }

  testsupport::TempDir dir_;
  FakeVolumes fake_;
  std::vector<Volume> volumes_;
};

TEST_F(IsolatedVolumes, DefaultRootIsTheFixedVolumeWithTheMostSpaceFirstOnATie) {
  Add({"small", 8 * kMiB, {{}, "ext4", "/dev/sda1", 8, 1}});
  Add({"large", 16 * kMiB, {{}, "ext4", "/dev/sda2", 8, 2}});
  Add({"large-too", 16 * kMiB, {{}, "xfs", "/dev/sdb1", 8, 17}});  // the same space, later: loses the tie
  Add({"stick", 64 * kMiB, {{}, "vfat", "/dev/sdc1", 8, 33, true}});
  Add({"share", 64 * kMiB, {{}, "nfs4", "server:/export", 0, 50}});
  Add({"ram", 64 * kMiB, {{}, "tmpfs", "tmpfs", 0, 51}});
  Add({"readonly", 64 * kMiB, {{}, "ext4", "/dev/sda3", 8, 3, false, "ro"}, "", true});
  std::string out = Run([&] { return platform::WideToUtf8(GetDefaultInstallRoot(sources())); });
  EXPECT_EQ(out, Folder("large").string());
  EXPECT_EQ(DefaultInstallPath(platform::Utf8ToWide(out)), W(Folder("large") / "Orbisk"));
}

TEST_F(IsolatedVolumes, NoVolumeWithFreeSpaceGivesNoRootAndTheRelativeProductFolder) {
  Add({"full", 64 * 1024, {{}, "ext4", "/dev/sda1", 8, 1}, "", false, true});
  Add({"stick", 64 * kMiB, {{}, "vfat", "/dev/sdc1", 8, 33, true}});
  std::string out = Run([&] {
    return std::to_string(GetFreeSpace(W(Folder("full") / "x"), sources())) + "|" +
           platform::WideToUtf8(GetDefaultInstallRoot(sources()));
  });
  EXPECT_EQ(out, "0|");
  EXPECT_EQ(DefaultInstallPath(L""), L"Orbisk");
  EXPECT_EQ(GetFreeSpace(DefaultInstallPath(L"")), 0u);
}

// A user who is not root is offered the home folder on its volume, or a mount point the user
// may write; a volume the user cannot write anywhere is passed over however large it is.
TEST_F(IsolatedVolumes, UnprivilegedUserGetsHomeOrAWritableMountPoint) {
  Add({"large-locked", 64 * kMiB, {{}, "ext4", "/dev/sda1", 8, 1}, "mode=0755"});
  Add({"with-home", 16 * kMiB, {{}, "ext4", "/dev/sda2", 8, 2}, "mode=0755"});
  Add({"users-own", 8 * kMiB, {{}, "ext4", "/dev/sdb1", 8, 17}, "uid=65534,mode=0755"});
  fs::path home = Folder("with-home") / "home" / "nobody";
  std::string out = Run([&] {
    fs::create_directories(home);
    chown(home.c_str(), kNobody, kNobody);
    if (!testsupport::BecomeUser(kNobody, kNobody)) return std::string("\x01setuid failed");
    setenv("HOME", home.c_str(), 1);
    std::string result = platform::WideToUtf8(GetDefaultInstallRoot(sources()));
    // Without a home there, the user's own volume is the only candidate.
    setenv("HOME", "/nonexistent", 1);
    return result + "|" + platform::WideToUtf8(GetDefaultInstallRoot(sources()));
  });
  EXPECT_EQ(out, home.string() + "|" + Folder("users-own").string());
}

TEST_F(IsolatedVolumes, FreeSpaceOfAPathThatDoesNotExistYetIsItsVolumes) {
  Add({"outer", 8 * kMiB, {{}, "ext4", "/dev/sda1", 8, 1}});
  Add({"outer/inner", 16 * kMiB, {{}, "ext4", "/dev/sda2", 8, 2}});
  Add({"other", 4 * kMiB, {{}, "ext4", "/dev/sdb1", 8, 17}});
  fs::path outer = Folder("outer");
  struct Case {
    fs::path path;
    std::uint64_t free;
  } cases[] = {
      {outer / "Vellumo" / "x" / "y", 8 * kMiB},
      {outer / "inner" / "Orbisk", 16 * kMiB},
      {outer / "inner" / ".." / "Orbisk", 8 * kMiB},  // normalised before the volume is looked up
      {outer / "inner" / "", 16 * kMiB},
      {outer / "to-other" / "Orbisk", 4 * kMiB},      // through a link: the volume it lands on
      {outer / "a-file" / "Orbisk", 0},               // a file in the way
      {Folder("not-in-the-table-but-exists"), 0},
  };
  std::string out = Run([&] {
    fs::create_directory_symlink(Folder("other"), outer / "to-other");
    std::ofstream(outer / "a-file");  // empty: takes no space from the volume
    fs::create_directories(Folder("not-in-the-table-but-exists"));
    std::string r;
    for (const auto& c : cases) r += std::to_string(GetFreeSpace(W(c.path), sources())) + ",";
    r += fs::exists(outer / "Vellumo") ? "created" : "untouched";
    return r;
  });
  std::string expected;
  for (const auto& c : cases) expected += std::to_string(c.free) + ",";
  EXPECT_EQ(out, expected + "untouched");
  EXPECT_EQ(GetFreeSpace(L"", sources()), 0u);
  EXPECT_EQ(GetFreeSpace(L"Orbisk", sources()), 0u);
  EXPECT_EQ(GetFreeSpace(L"relative/Orbisk", sources()), 0u);
}

TEST_F(IsolatedVolumes, UnprivilegedUserHasNoSpaceWhereTheNearestFolderIsNotWritable) {
  Add({"disk", 8 * kMiB, {{}, "ext4", "/dev/sda1", 8, 1}, "mode=0755"});
  Add({"readonly", 8 * kMiB, {{}, "ext4", "/dev/sda2", 8, 2, false, "ro"}, "uid=65534", true});
  fs::path mine = Folder("disk") / "mine";
  std::string out = Run([&] {
    fs::create_directories(mine);
    chown(mine.c_str(), kNobody, kNobody);
    if (!testsupport::BecomeUser(kNobody, kNobody)) return std::string("\x01setuid failed");
    return std::to_string(GetFreeSpace(W(Folder("disk") / "Orbisk"), sources())) + "," +
           std::to_string(GetFreeSpace(W(mine / "apps" / "Orbisk"), sources())) + "," +
           std::to_string(GetFreeSpace(W(Folder("readonly") / "Orbisk"), sources()));
  });
  EXPECT_EQ(out, "0," + std::to_string(8 * kMiB) + ",0");
}

// Equal space is too little; a requirement of 0 passes on any volume with space.
TEST_F(IsolatedVolumes, SpaceCheckNeedsStrictlyMoreFreeThanRequired) {
  Add({"disk", 8 * kMiB, {{}, "ext4", "/dev/sda1", 8, 1}});
  std::wstring path = W(Folder("disk") / "Orbisk");
  auto config = [](std::uint64_t installer, std::uint64_t size, std::uint64_t raw) {
    ConfigRecord c;
    c.installer.size = installer;
    c.external.push_back({L"x", L"data", 1, size, raw, {}});
    return c;
  };
  std::string out = Run([&] {
    std::string r;
    for (auto c : {config(4 * kMiB, 2 * kMiB, 2 * kMiB), config(4 * kMiB, 2 * kMiB, 2 * kMiB - 1), config(0, 0, 0)}) {
      SpaceCheck check = CheckInstallSpace(c, path, sources());
      r += std::to_string(check.required) + "/" + std::to_string(check.free) + "/" + (check.enough ? "ok" : "short") + ",";
    }
    return r;
  });
  std::string free = std::to_string(8 * kMiB);
  EXPECT_EQ(out, std::to_string(8 * kMiB) + "/" + free + "/short," + std::to_string(8 * kMiB - 1) + "/" + free +
                     "/ok,0/" + free + "/ok,");
  EXPECT_FALSE(CheckInstallSpace(config(0, 0, 0), L"Orbisk").enough);  // relative: no space at all
}

TEST(InstallLocationTest, RequiredSpaceAddsInstallerAndEveryItemAndSaturates) {
  ConfigRecord c;
  EXPECT_EQ(RequiredSpace(c), 0u);
  c.installer.size = 100;
  c.external.push_back({L"a", L"data", 1, 10, 1000, {}});
  c.external.push_back({L"b", L"data", 1, 20, 2000, {}});
  EXPECT_EQ(RequiredSpace(c), 3130u);
  // Sizes that would wrap round to a small number must not make any volume big enough.
  constexpr auto kMax = std::numeric_limits<std::uint64_t>::max();
  c.external.push_back({L"c", L"data", 1, kMax - 100, 10, {}});
  EXPECT_EQ(RequiredSpace(c), kMax);
  EXPECT_FALSE(CheckInstallSpace(c, L"/").enough);
}

TEST(InstallLocationTest, PickedVolumeRootGetsTheVendorFolderOtherFoldersStayAsPicked) {
  FakeVolumes fake;
  fake.Add({"/", "ext4", "/dev/sda1", 8, 1});
  fake.Add({"/data", "ext4", "/dev/sda2", 8, 2});
  fake.Add({"/media/my stick", "vfat", "/dev/sdb1", 8, 17, true});
  struct Case {
    const wchar_t* picked;
    const wchar_t* path;
  } cases[] = {
      {L"/data", L"/data/KwrSoft/Orbisk"},
      {L"/data/", L"/data/KwrSoft/Orbisk"},
      {L"/", L"/KwrSoft/Orbisk"},
      {L"/media/my stick", L"/media/my stick/KwrSoft/Orbisk"},  // any volume, not only fixed ones
      {L"/data/Apps", L"/data/Apps"},
      {L"/data/Apps/", L"/data/Apps/"},
      {L"data", L"data"},
  };
  for (const auto& c : cases) EXPECT_EQ(InstallPathForPickedFolder(c.picked, fake.sources()), c.path) << c.picked;
  EXPECT_EQ(DefaultInstallPath(L"/"), L"/Orbisk");
  EXPECT_EQ(DefaultInstallPath(L"/home/anna"), L"/home/anna/Orbisk");
}

// The dialog must open somewhere that exists, or the user could never pick a folder again.
TEST(InstallLocationTest, FolderDialogOpensInTheNearestExistingFolder) {
  testsupport::TempDir dir;
  fs::create_directories(dir / "Apps");
  testsupport::WriteFile(dir / "a-file", "x");
  struct Case {
    fs::path installPath;
    fs::path folder;
    std::string name;
  } cases[] = {
      {dir / "Apps" / "Orbisk", dir / "Apps", "Orbisk"},
      {dir / "KwrSoft" / "Orbisk", dir.path(), "Orbisk"},  // a picked root whose vendor folder is missing
      {dir / "x" / "y" / "z" / "Orbisk", dir.path(), "Orbisk"},
      {dir / "Apps" / "" , dir.path(), "Apps"},
      {dir / "a-file" / "Orbisk", dir.path(), "Orbisk"},  // a file is no folder to open
      {"/", "/", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.installPath.string());
    auto options = InstallFolderDialogOptions(W(c.installPath), 0x4a0001c);
    EXPECT_EQ(options.initialFolder, c.folder);
    EXPECT_EQ(options.fileName, c.name);
    EXPECT_EQ(options.title, "请选择安装目录");
    EXPECT_EQ(options.ownerWindow, 0x4a0001cul);
  }

  // The relative default (no volume found) opens where a relative install would go.
  auto relative = InstallFolderDialogOptions(L"Orbisk");
  EXPECT_EQ(relative.initialFolder, fs::current_path());
  EXPECT_EQ(relative.fileName, "Orbisk");

  auto empty = InstallFolderDialogOptions(L"");
  EXPECT_TRUE(empty.initialFolder.empty());
  EXPECT_TRUE(empty.fileName.empty());
}

}  // namespace
