#include "stats/launch_context.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
#include <regex>
#include <sstream>

#include "common/base/hash_algorithm.h"
#include "platform/process_info.h"
#include "platform/text_encoding.h"
#include "stats/machine_identity.h"
#include "tests/app/installer_process.h"

namespace {
using namespace std::chrono_literals;

TEST(UnionId, ComesFromTheFileNameWithAValidCheckCharacter) {
  struct Case {
    const char* name;
    std::uint16_t id;
  } cases[] = {
      {"Setup_b12348.exe", 1234},
      {"Setup_b12349.exe", 1110},        // wrong check character
      {"Setup_b11105.exe", 1110},        // 1110 through a valid check
      {"x_b1c.exe", 1},
      {"x_b1C.exe", 1110},               // an upper-case check character never matches
      {"x_b1C_b2.exe", 1110},            // ... and a later "_b" without a check digit does not help
      {"SETUP_B12348.EXE", 1110},        // no match: "_b" and ".exe" are lower case
      {"Setup_b12348.EXE", 1110},
      {"a_b12348_b56788.exe", 5678},     // the later "_b" wins
      {"a_b12348_b5678x.exe", 1110},     // groups 567 and 8; the check of 567 is 0
      {"a_b56788_bx.exe", 5678},         // the last "_b" that matches, not the last "_b"
      {"Setup_b12348 (1).exe", 1234},    // anything may follow the check character
      {"Setup_b1234.exe", 1110},         // 123 with check 4
      {"Setup_b1.exe", 1110},            // one digit is not enough without a check letter
      {"Setup_b999999c.exe", 65535},     // saturates; 65535's check is "c"
      {"Setup_b0000000000000000000000000000000000001c.exe", 1},
      {"Setup_b12348.exe.txt", 1110},
      {"Setup_b12348exe", 1110},
      {"Setup_b12348.exe\n", 1110},
      {"Set\nup_b12348.exe", 1110},      // "." stops at line ends
      {"_b12348.exe", 1234},
      {"", 1110},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseUnionId(c.name), c.id) << c.name;
  EXPECT_EQ(UnionIdCheck(1234), 8);
  EXPECT_EQ(UnionIdCheck(1110), 5);
  EXPECT_EQ(UnionIdCheck(5678), 8);
  EXPECT_EQ(UnionIdCheck(567), 0);
  EXPECT_EQ(UnionIdCheck(65535), 0xc);
}

// The rule as the regular expression and the wide stream extraction state it.
std::uint16_t UnionIdByRegex(const std::string& utf8Name) {
  static const std::wregex pattern(L"^.*_b(\\d+)([0-9a-fA-F]).*\\.exe$");
  const std::wstring name = platform::Utf8ToWide(utf8Name);
  std::wsmatch m;
  if (!std::regex_match(name, m, pattern)) return 1110;
  unsigned short number = 0;
  std::wistringstream digits(m[1].str());
  digits >> number;  // saturates at 65535; the failure flag is ignored
  return m[2].str()[0] == L"0123456789abcdef"[UnionIdCheck(number)] ? number : 1110;
}

TEST(UnionId, AgreesWithTheRegularExpressionOverGeneratedNames) {
  // Pieces that the pattern cares about, and some it must step over (line terminators that "."
  // does not match, letters outside ASCII, look-alikes in upper case).
  const std::vector<std::string> pieces = {
      "_", "b", "_b", "_B", "0", "1", "2", "3", "5", "8", "9", "a", "c", "f", "C", "F", "x", ".", ".exe", ".EXE",
      "e", " ", "\n", "\r", "\xE2\x80\xA8", "\xE2\x80\xA9", "\xE4\xB8\xAD", "\xC3\xA9", "65535", "99999"};
  const char* hex = "0123456789abcdefABCDEFx";
  std::mt19937 random(20240507);
  auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
  int matched = 0, accepted = 0;
  for (int i = 0; i < 30000; ++i) {
    std::string name;
    if (i % 2 == 0) {
      // Free mixtures of the pieces.
      for (std::size_t k = pick(14); k > 0; --k) name += pieces[pick(pieces.size())];
      if (pick(2)) name += ".exe";
    } else {
      // Shaped like a channel name, with a right check character half of the time.
      for (std::size_t k = pick(4); k > 0; --k) name += pieces[pick(pieces.size())];
      std::string digits = std::to_string(random() % (pick(4) == 0 ? 10000000 : 70000));
      if (pick(8) == 0) digits = std::string(pick(6), '0') + digits;
      name += "_b" + digits;
      if (pick(2)) {
        std::uint16_t number = static_cast<std::uint16_t>(std::min<unsigned long>(std::stoul(digits), 65535));
        name += "0123456789abcdef"[UnionIdCheck(number)];
      } else {
        name += hex[pick(std::strlen(hex))];
      }
      for (std::size_t k = pick(3); k > 0; --k) name += pieces[pick(pieces.size())];
      if (pick(6) != 0) name += ".exe";
    }
    const std::uint16_t expected = UnionIdByRegex(name);
    ASSERT_EQ(ParseUnionId(name), expected) << "name: " << name;
    matched += std::regex_match(platform::Utf8ToWide(name), std::wregex(L"^.*_b\\d+[0-9a-fA-F].*\\.exe$")) ? 1 : 0;
    accepted += expected != 1110 ? 1 : 0;
  }
  // The generator must reach every branch: names that match, and matches with a right check.
  EXPECT_GT(matched, 3000);
  EXPECT_GT(accepted, 1000);
}

TEST(FileVersion, TextOfTheFourParts) {
  EXPECT_EQ(VersionText(0), "0.0.0.0");
  EXPECT_EQ(VersionText(0x0001000000000002ull), "1.0.0.2");
  std::string longest = VersionText(~0ull);
  EXPECT_EQ(longest, "65535.65535.65535.65535");
  EXPECT_EQ(longest.size(), 23u);
}

TEST(FileVersion, IsReadFromTheInstallersVersionSection) {
  EXPECT_EQ(ReadFileVersion(WEBINST_EXE), 0x0001000000000002ull);
  EXPECT_EQ(ReadFileVersion(platform::ExecutablePath()), 0u) << "this test binary is not stamped";
  testsupport::TempDir dir;
  EXPECT_EQ(ReadFileVersion(dir / "missing.exe"), 0u);
  testsupport::WriteFile(dir / "text.exe", "MZ not an executable of this system");
  EXPECT_EQ(ReadFileVersion(dir / "text.exe"), 0u);
  std::string exe = testsupport::ReadFile(WEBINST_EXE);
  testsupport::WriteFile(dir / "cut.exe", exe.substr(0, exe.size() / 2));  // section table cut off
  EXPECT_EQ(ReadFileVersion(dir / "cut.exe"), 0u);
  EXPECT_EQ(ReadFileVersion(dir.path()), 0u) << "a folder";
}

TEST(FileVersion, IsTheRunningImagesEvenAfterItsFileWasReplaced) {
  testsupport::TempDir dir;
  const auto exe = dir / "Setup_b12348.exe";
  std::filesystem::copy_file(LAUNCH_CONTEXT_PROBE_EXE, exe);
  testsupport::BackgroundProcess probe({exe.string()});
  ASSERT_EQ(probe.ReadLine(10s).value_or(""), "ready");
  // An update puts a newer installer (1.0.0.2) at the same name while this one (3.4.5.6) runs.
  std::filesystem::copy_file(WEBINST_EXE, dir / "newer.exe");
  std::filesystem::rename(dir / "newer.exe", exe);
  ASSERT_EQ(kill(probe.pid(), SIGUSR1), 0);
  EXPECT_EQ(probe.ReadLine(30s).value_or(""), "1234 3.4.5.6") << "the channel still from the name started";
  EXPECT_EQ(probe.Wait(10s), 0);
}

TEST(KeepSwitch, IsAnyWholeArgumentEqualToDashK) {
  EXPECT_TRUE(HasKeepSwitch({"/d/Setup_b12348.exe", "-k"}));
  EXPECT_TRUE(HasKeepSwitch({"-k"})) << "the program path counts too";
  EXPECT_TRUE(HasKeepSwitch({"setup", "x", "-k", "y"}));
  EXPECT_FALSE(HasKeepSwitch({"setup", "-K"}));
  EXPECT_FALSE(HasKeepSwitch({"setup", "--k"}));
  EXPECT_FALSE(HasKeepSwitch({"setup", "-k ", " -k", "-kk"}));
  EXPECT_FALSE(HasKeepSwitch({}));

  char prog[] = "setup", k[] = "-k";
  char* withK[] = {prog, k};
  platform::SaveCommandLine(2, withK);
  EXPECT_TRUE(HasKeepSwitch());
  platform::SaveCommandLine(1, withK);
  EXPECT_FALSE(HasKeepSwitch());
}

TEST(LaunchContext, InitFillsEveryFieldOnce) {
  LaunchContext& ctx = TheLaunchContext();
  EXPECT_EQ(&ctx, &KwrBase::Singleton<LaunchContext>::Instance());
  EXPECT_FALSE(ctx.initialized);
  EXPECT_TRUE(ctx.Init());
  EXPECT_TRUE(ctx.initialized);
  EXPECT_EQ(ctx.appId, 18);
  EXPECT_EQ(ctx.unionId, 1110) << "this test binary's name carries no channel";
  EXPECT_EQ(ctx.fileVersion, 0u);
  EXPECT_STREQ(ctx.versionText, "0.0.0.0");
  MachineDigest digest{};
  ComputeMachineDigest(digest);
  EXPECT_EQ(ctx.pcidDigest, digest);
  EXPECT_EQ(std::string(ctx.pcid), KwrBase::ToHex(digest));
  ctx.unionId = 7;
  EXPECT_TRUE(ctx.Init());
  EXPECT_EQ(ctx.unionId, 7) << "a second Init changes nothing";
}

// The installer's start-up fills the context: its log names the channel of its file name, its
// stamped version and this machine's identifier.
TEST(LaunchContext, StartUpReportsTheChannelOfTheFileName) {
  MachineDigest digest{};
  ComputeMachineDigest(digest);
  const std::string pcid = KwrBase::ToHex(digest);
  struct Case {
    const char* name;
    const char* unionId;
  } cases[] = {{"Setup_b12348.exe", "1234"}, {"Setup_b12349.exe", "1110"}, {"setup.exe", "1110"}};
  for (const Case& c : cases) {
    testsupport::InstallerCopy copy(c.name);
    ASSERT_EQ(copy.Run().exitCode, 0);
    std::string log = copy.log();
    std::regex line(std::string(R"( INFO  \[\d+\] \[LaunchContext::Init@\d+\] union id )") + c.unionId +
                    ", version 1\\.0\\.0\\.2, pcid " + pcid + "\r\n");
    EXPECT_TRUE(std::regex_search(log, line)) << c.name << "\n" << log;
  }
}

}  // namespace
