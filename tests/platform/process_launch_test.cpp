#include "platform/process_launch.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "tests/support/launch_report.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testsupport::LaunchReport;
using testsupport::ScopedEnv;
using testsupport::TempDir;
using testsupport::WaitForLaunchReport;

constexpr unsigned kNobody = 65534;

class ProcessLaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Reachable for a program that runs as another user.
    fs::permissions(dir_.path(), fs::perms(0755));
    fs::create_directories(reports_);
    fs::permissions(reports_, fs::perms::all);
    env_.Set("LAUNCH_PROBE_REPORT", report_.string());
    for (const char* name : {"SUDO_UID", "SUDO_GID", "SUDO_USER", "PKEXEC_UID"}) env_.Unset(name);
  }

  TempDir dir_;
  fs::path reports_ = dir_ / "reports";
  fs::path report_ = reports_ / "report";
  ScopedEnv env_;
};

TEST_F(ProcessLaunchTest, ProgramRunsDetachedInItsFolderWithExactlyItsArguments) {
  fs::path work = dir_ / "install dir";
  fs::create_directories(work);
  // A descriptor of ours that is not close-on-exec: the program must not get it.
  int leaked = open("/dev/null", O_RDONLY);
  ASSERT_GE(leaked, 3);

  std::vector<std::string> args{"one", "two words", "", "\"quoted\"", "$HOME;rm -rf x", "图片"};
  std::error_code ec = platform::LaunchDetached(LAUNCH_PROBE_EXE, args, work);
  close(leaked);
  ASSERT_FALSE(ec) << ec.message();

  auto report = WaitForLaunchReport(report_);
  ASSERT_TRUE(report);
  EXPECT_EQ((*report)["cwd"], work.string());
  EXPECT_EQ((*report)["env.PWD"], work.string());
  EXPECT_EQ((*report)["argv0"], LAUNCH_PROBE_EXE);
  EXPECT_EQ(report->args, args);  // no shell: every character arrives as given
  EXPECT_EQ((*report)["fds"], "0,1,2");

  // Not our child, not in our session.
  pid_t pid = std::stoi((*report)["pid"]);
  EXPECT_NE(std::stoi((*report)["ppid"]), getpid());
  EXPECT_NE(std::stoi((*report)["sid"]), getsid(0));
  int status = 0;
  EXPECT_EQ(waitpid(pid, &status, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
  EXPECT_EQ((*report)["uid"], std::to_string(getuid()));
}

TEST_F(ProcessLaunchTest, ProgramIsFoundOnThePathWhenNamedWithoutAFolder) {
  fs::path bin = dir_ / "bin";
  fs::create_directories(bin);
  fs::create_symlink(LAUNCH_PROBE_EXE, bin / "vellumo-probe");
  env_.Set("PATH", bin.string() + ":/usr/bin:/bin");
  ASSERT_FALSE(platform::LaunchDetached("vellumo-probe", {"x"}, dir_.path()));
  auto report = WaitForLaunchReport(report_);
  ASSERT_TRUE(report);
  EXPECT_EQ((*report)["argv0"], "vellumo-probe");
  EXPECT_EQ(report->args, std::vector<std::string>{"x"});
}

TEST_F(ProcessLaunchTest, FailuresToStartAreReportedNotHidden) {
  testsupport::WriteFile(dir_ / "not-executable", "#!/bin/sh\n");
  fs::permissions(dir_ / "not-executable", fs::perms(0644));
  struct Case {
    fs::path program;
    fs::path workDir;
    std::errc error;
  } cases[] = {
      {dir_ / "missing", dir_.path(), std::errc::no_such_file_or_directory},
      {"no-such-program-anywhere", dir_.path(), std::errc::no_such_file_or_directory},
      {dir_ / "not-executable", dir_.path(), std::errc::permission_denied},
      {LAUNCH_PROBE_EXE, dir_ / "no-such-folder", std::errc::no_such_file_or_directory},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.program.string() + " in " + c.workDir.string());
    std::error_code ec = platform::LaunchDetached(c.program, {}, c.workDir);
    EXPECT_TRUE(ec == c.error) << ec.message();
  }
  EXPECT_FALSE(fs::exists(report_));
}

// Root acting for a desktop user (sudo, pkexec): the program runs as that user, with that
// user's identity in its environment and none of root's groups or session.
TEST_F(ProcessLaunchTest, AsRootForADesktopUserTheProgramRunsAsThatUser) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root";
  passwd* nobody = getpwuid(kNobody);
  if (!nobody) GTEST_SKIP() << "no account 65534";
  std::string name = nobody->pw_name, home = nobody->pw_dir, shell = nobody->pw_shell;
  fs::path rootsAuthority = dir_ / "root.Xauthority";
  testsupport::WriteFile(rootsAuthority, "secret");

  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> env;
  } cases[] = {
      {"sudo", {{"SUDO_UID", "65534"}, {"SUDO_GID", "65534"}, {"SUDO_USER", name}}},
      {"pkexec", {{"PKEXEC_UID", "65534"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScopedEnv env;
    for (const auto& [k, v] : c.env) env.Set(k, v);
    env.Set("HOME", "/root");
    env.Set("USER", "root");
    env.Set("DISPLAY", ":113");
    env.Set("XAUTHORITY", rootsAuthority.string());
    env.Set("XDG_RUNTIME_DIR", "/run/user/0");
    env.Set("DBUS_SESSION_BUS_ADDRESS", "unix:path=/run/user/0/bus");
    fs::remove(report_);

    ASSERT_FALSE(platform::LaunchDetached(LAUNCH_PROBE_EXE, {"as-user"}, dir_.path()));
    auto report = WaitForLaunchReport(report_);
    ASSERT_TRUE(report);
    for (const char* id : {"uid", "euid", "gid", "egid", "groups"}) EXPECT_EQ((*report)[id], "65534") << id;
    EXPECT_EQ((*report)["env.HOME"], home);
    EXPECT_EQ((*report)["env.USER"], name);
    EXPECT_EQ((*report)["env.LOGNAME"], name);
    EXPECT_EQ((*report)["env.SHELL"], shell);
    EXPECT_EQ((*report)["env.DISPLAY"], ":113");
    EXPECT_EQ((*report)["env.XAUTHORITY"], "(unset)");  // root's file: Xlib falls back to ~/.Xauthority
    EXPECT_EQ((*report)["env.XDG_RUNTIME_DIR"], fs::exists("/run/user/65534") ? "/run/user/65534" : "(unset)");
    EXPECT_NE((*report)["env.DBUS_SESSION_BUS_ADDRESS"], "unix:path=/run/user/0/bus");
    EXPECT_EQ((*report)["env.SUDO_UID"], "(unset)");
    EXPECT_EQ((*report)["env.PKEXEC_UID"], "(unset)");
    EXPECT_EQ((*report)["fds"], "0,1,2");
    EXPECT_EQ(report->args, std::vector<std::string>{"as-user"});
  }
}

TEST_F(ProcessLaunchTest, AsRootForAnUnknownUserNothingStarts) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root";
  uid_t unknown = 54321;
  while (getpwuid(unknown)) ++unknown;
  env_.Set("SUDO_UID", std::to_string(unknown));
  env_.Set("SUDO_GID", std::to_string(unknown));
  EXPECT_TRUE(platform::LaunchDetached(LAUNCH_PROBE_EXE, {}, dir_.path()));
  EXPECT_TRUE(platform::OpenUrlAsDesktopUser("https://example.com/"));
  // Sudo to root itself changes nothing.
  env_.Set("SUDO_UID", "0");
  ASSERT_FALSE(platform::LaunchDetached(LAUNCH_PROBE_EXE, {}, dir_.path()));
  auto report = WaitForLaunchReport(report_);
  ASSERT_TRUE(report);
  EXPECT_EQ((*report)["uid"], "0");
}

TEST_F(ProcessLaunchTest, UrlOpensWithXdgOpenInTheUsersHome) {
  fs::path bin = dir_ / "bin";
  fs::path home = dir_ / "home";
  fs::create_directories(bin);
  fs::create_directories(home);
  fs::create_symlink(LAUNCH_PROBE_EXE, bin / "xdg-open");
  env_.Set("PATH", bin.string());
  env_.Set("HOME", home.string());
  const std::string url = "https://www.vellumo.example/licence.html?lang=zh&x=\"a b\";$(id)";
  ASSERT_FALSE(platform::OpenUrlAsDesktopUser(url));
  auto report = WaitForLaunchReport(report_);
  ASSERT_TRUE(report);
  EXPECT_EQ((*report)["argv0"], "xdg-open");
  EXPECT_EQ(report->args, std::vector<std::string>{url});
  EXPECT_EQ((*report)["cwd"], home.string());

  env_.Set("PATH", (dir_ / "empty").string());
  EXPECT_TRUE(platform::OpenUrlAsDesktopUser(url) == std::errc::no_such_file_or_directory);
}

}  // namespace
