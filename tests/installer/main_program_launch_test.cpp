#include "installer/main_program_launch.h"

#include <gtest/gtest.h>

#include "platform/text_encoding.h"
#include "tests/support/launch_report.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(MainProgramLaunchTest, CommandIsTheInstallFolderJoinedWithMainAndSplitArguments) {
  struct Case {
    std::wstring main;
    std::optional<std::wstring> args;
    fs::path program;
    std::vector<std::string> argv;
  } cases[] = {
      {L"bin\\Vellumo", std::nullopt, "/opt/Orbisk/bin/Vellumo", {}},
      {L"bin\\Vellumo", L"", "/opt/Orbisk/bin/Vellumo", {}},  // present but empty: nothing passed
      {L"bin\\Vellumo", L"  \t ", "/opt/Orbisk/bin/Vellumo", {}},
      {L"\\bin/Vellumo", L"--x", "/opt/Orbisk/bin/Vellumo", {"--x"}},  // a leading separator stays inside
      {L".\\bin\\Vellumo", L"--open \"C:\\My Pictures\\\\\" \"\"", "/opt/Orbisk/bin/Vellumo",
       {"--open", "C:\\My Pictures\\", ""}},
      {L"Vellumo", L"--lang=中文", "/opt/Orbisk/Vellumo", {"--lang=中文"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::WideToUtf8(c.main));
    auto command = BuildLaunchCommand(L"/opt/Orbisk", {c.main, c.args});
    EXPECT_EQ(command.program, c.program);
    EXPECT_EQ(command.args, c.argv);
    EXPECT_EQ(command.workDir, fs::path("/opt/Orbisk"));
  }
}

TEST(MainProgramLaunchTest, InstalledProgramStartsInTheInstallFolder) {
  testsupport::TempDir dir;
  fs::path install = dir / "Vellumo install";
  fs::create_directories(install / "bin");
  fs::copy_file(LAUNCH_PROBE_EXE, install / "bin" / "vellumo");
  testsupport::ScopedEnv env;
  for (const char* name : {"SUDO_UID", "SUDO_GID", "PKEXEC_UID"}) env.Unset(name);

  struct Case {
    std::optional<std::wstring> args;
    std::vector<std::string> argv;
  } cases[] = {
      {L"", {}},
      {std::nullopt, {}},
      {L"--album \"Summer 2024\" \"\"", {"--album", "Summer 2024", ""}},
  };
  int n = 0;
  for (const auto& c : cases) {
    fs::path report = dir / ("report" + std::to_string(n++));
    env.Set("LAUNCH_PROBE_REPORT", report.string());
    ASSERT_TRUE(LaunchInstalledProgram(platform::PathToWide(install), {L"bin\\vellumo", c.args}));
    auto seen = testsupport::WaitForLaunchReport(report);
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->args, c.argv);
    EXPECT_EQ((*seen)["cwd"], install.string());
    EXPECT_EQ((*seen)["argv0"], (install / "bin" / "vellumo").string());
  }
  // A wrong "main" simply does not start.
  EXPECT_FALSE(LaunchInstalledProgram(platform::PathToWide(install), {L"bin\\missing", std::nullopt}));
}

}  // namespace
