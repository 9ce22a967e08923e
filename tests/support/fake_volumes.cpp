#include "tests/support/fake_volumes.h"

#include <cstdio>
#include <fstream>

namespace testsupport {
namespace {

namespace fs = std::filesystem;

// As the kernel writes fields of the mount table: space, tab, newline and backslash as \ooo.
std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\\') {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\%03o", static_cast<unsigned char>(c));
      out += buf;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

FakeVolumes::FakeVolumes() {
  fs::permissions(dir_.path(), fs::perms(0755));  // readable for tests that drop to another user
  sources_.mountInfo = dir_ / "mountinfo";
  sources_.sysfs = dir_ / "sys";
  fs::create_directories(sources_.sysfs / "dev" / "block");
  WriteFile(sources_.mountInfo, "");
}

void FakeVolumes::Add(const FakeMount& m) {
  int id = nextId_++;
  std::ofstream(sources_.mountInfo, std::ios::app)
      << id << " 1 " << m.major << ":" << m.minor << " / " << Escape(m.mountPoint.string()) << " " << m.options
      << " shared:" << id << " - " << m.fsType << " " << Escape(m.source) << " " << m.options << "\n";
  if (m.major == 0) return;
  // /sys/dev/block/M:m links to the partition, which sits inside its disk's folder.
  std::string number = std::to_string(m.major) + ":" + std::to_string(m.minor);
  fs::path disk = sources_.sysfs / "devices" / "block" / ("disk" + number);
  fs::path partition = disk / "part";
  fs::create_directories(partition);
  WriteFile(disk / "removable", m.removable ? "1\n" : "0\n");
  WriteFile(partition / "partition", "1\n");
  WriteFile(partition / "removable", "0\n");  // partitions carry no flag of their own that counts
  std::error_code ec;
  fs::create_directory_symlink(fs::path("../../devices/block") / ("disk" + number) / "part",
                               sources_.sysfs / "dev" / "block" / number, ec);
}

}  // namespace testsupport
