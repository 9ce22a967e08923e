#include "stats/os_info.h"

#include <gtest/gtest.h>
#include <sys/utsname.h>

#include <array>

namespace {

TEST(OsInfo, PacksFourPartsAndTheWow64Bit) {
  // Windows 10 build 19041.1 in a 32-bit process on a 64-bit system.
  EXPECT_EQ(PackOsInfo(10, 0, 19041, 1, true), 9226186787869753345ull);
  EXPECT_EQ(PackOsInfo(10, 0, 19041, 1, false), 9226186787869753345ull - (1ull << 63));
  EXPECT_EQ(PackOsInfo(6, 1, 0, 18, false), 0x0006000100000012ull);
  EXPECT_EQ(PackOsInfo(0, 0, 0, 0, true), 1ull << 63) << "an unread version with the bit alone";
  EXPECT_EQ(PackOsInfo(65535, 65535, 65535, 65535, false), ~0ull);
}

TEST(OsInfo, KernelReleaseReadsAsFourParts) {
  struct Case {
    const char* release;
    bool ok;
    std::array<std::uint16_t, 4> parts;
  } cases[] = {
      {"6.1.0-18-amd64", true, {6, 1, 0, 18}},
      {"5.15.0-91-generic", true, {5, 15, 0, 91}},
      {"6.18.44-fc-v1523", true, {6, 18, 44, 0}},
      {"4.19.112+", true, {4, 19, 112, 0}},
      {"6.8", true, {6, 8, 0, 0}},
      {"3", true, {3, 0, 0, 0}},
      {"6.5.11.7", true, {6, 5, 11, 0}},
      {"99999.1.2-70000", true, {65535, 1, 2, 65535}},
      {"", false, {9, 9, 9, 9}},
      {"linux-6.1", false, {9, 9, 9, 9}},
  };
  for (const Case& c : cases) {
    std::uint16_t parts[4] = {9, 9, 9, 9};
    EXPECT_EQ(ParseKernelRelease(c.release, parts), c.ok) << c.release;
    EXPECT_EQ((std::array<std::uint16_t, 4>{parts[0], parts[1], parts[2], parts[3]}), c.parts) << c.release;
  }
}

TEST(OsInfo, ThisSystemsVersionIsItsKernelRelease) {
  utsname u{};
  ASSERT_EQ(uname(&u), 0);
  std::uint16_t expected[4];
  ASSERT_TRUE(ParseKernelRelease(u.release, expected));
  std::uint16_t major = 0, minor = 0, build = 0, revision = 0;
  ASSERT_TRUE(GetOsVersion(major, minor, build, revision));
  EXPECT_EQ(major, expected[0]);
  EXPECT_EQ(revision, expected[3]);
  EXPECT_EQ(GetOsInfo(), PackOsInfo(major, minor, build, revision, sizeof(void*) == 4 && std::string(u.machine) == "x86_64"));
  EXPECT_EQ(IsVistaOrLater(), major >= 6);
}

}  // namespace
