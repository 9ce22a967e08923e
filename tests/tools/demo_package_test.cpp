// The demo site generator, the demo package installer it serves and the demo application the
// package installs, run as real processes.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "common/base/hash_algorithm.h"
#include "platform/top_level_window.h"
#include "tests/support/isolated_child.h"
#include "tests/support/process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_server.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ProcessOptions;
using testsupport::ProcessResult;
using testsupport::ReadFile;
using testsupport::RunProcess;
using testsupport::TempDir;
using testsupport::WriteFile;

constexpr unsigned kNobody = 65534;
const fs::path kGenerator = fs::path(WEBINST_SOURCE_DIR) / "tools" / "demo" / "make_demo_site.py";

ProcessResult Generate(const fs::path& site, const std::string& base) {
  return RunProcess({"python3", kGenerator.string(), site.string(), base, "--app", VELLUMO_DEMO_EXE});
}

nlohmann::json Routes(const fs::path& site) { return nlohmann::json::parse(ReadFile(site / "routes.json")); }

bool IsExecutable(const fs::path& p) {
  struct stat st {};
  return stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0111) == 0111;
}

TEST(DemoSiteTest, ConfigurationDescribesTheServedFiles) {
  TempDir dir;
  ProcessResult r = Generate(dir / "site", "http://127.0.0.1:8080/");
  ASSERT_EQ(r.exitCode, 0) << r.output;
  auto config = Routes(dir / "site")["/api/int_kestrel_download.json"]["json"];

  std::string package = ReadFile(dir / "site" / "files" / "Vellumo_setup.exe");
  EXPECT_EQ(config["installer"]["url"], "http://127.0.0.1:8080/files/Vellumo_setup.exe");
  EXPECT_EQ(config["installer"]["size"], package.size());
  EXPECT_EQ(config["installer"]["md5"], KwrBase::Md5HexDigest(package));
  EXPECT_EQ(config["starup"]["main"], "bin\\vellumo");

  ASSERT_EQ(config["external"].size(), 1u);
  const auto& item = config["external"][0];
  std::string resource = ReadFile(dir / "site" / "files" / "filters.dat");
  EXPECT_EQ(item["size"], resource.size());
  EXPECT_EQ(item["raw_size"], resource.size());
  EXPECT_EQ(item["target_path"], "./data");
  ASSERT_EQ(item["resource"].size(), 1u);
  EXPECT_EQ(item["resource"][0]["md5"], KwrBase::Md5HexDigest(resource));
  EXPECT_EQ(item["resource"][0]["url"], "http://127.0.0.1:8080/files/filters.dat");

  // The same application gives the same package, so a kept download stays valid across runs.
  ASSERT_EQ(Generate(dir / "again", "http://127.0.0.1:8080").exitCode, 0);
  EXPECT_EQ(ReadFile(dir / "again" / "files" / "Vellumo_setup.exe"), package);

  // Without the application there is nothing to pack: a clear error, not a broken package.
  r = RunProcess({"python3", kGenerator.string(), (dir / "none").string(), "http://x", "--app", (dir / "no-app").string()});
  EXPECT_NE(r.exitCode, 0);
  EXPECT_NE(r.output.find("no demo application"), std::string::npos) << r.output;
}

TEST(DemoSiteTest, TestServerServesTheSite) {
  TempDir dir;
  fs::path site = dir / "site";
  // The address is only known once the server runs; the routes are posted afterwards, as the
  // demo script does.
  testsupport::TestServerOptions options;
  options.root = site;
  fs::create_directories(site);
  testsupport::TestServer server(options);
  ASSERT_EQ(Generate(site, server.BaseUrl()).exitCode, 0);
  server.SetRoutes(Routes(site));

  ProcessResult config = RunProcess(
      {"curl", "-sf", server.BaseUrl() + "/api/int_kestrel_download.json?a=18&u=1110&v=1.0.0.2&t=0"});
  ASSERT_EQ(config.exitCode, 0);
  auto document = nlohmann::json::parse(config.output);
  EXPECT_EQ(document, Routes(site)["/api/int_kestrel_download.json"]["json"]);

  std::string url = document["installer"]["url"];
  ASSERT_EQ(RunProcess({"curl", "-sf", "-o", (dir / "got").string(), url}).exitCode, 0);
  EXPECT_EQ(KwrBase::Md5HexDigest(ReadFile(dir / "got")), document["installer"]["md5"]);
}

// An install folder with its download folder laid out as the web installer leaves it: the
// package, the resource and cfg.dat.
class DemoPackageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::permissions(dir_.path(), fs::perms(0755));
    ProcessResult r = Generate(dir_ / "site", "http://127.0.0.1:1");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    Prepare(dir_ / "Vellumo Apps" / "Orbisk");
  }

  void Prepare(const fs::path& install, const std::string& cfg = "filters.dat#data#1\r\n") {
    install_ = install;
    tmp_ = install.string() + "_tmp";
    fs::create_directories(tmp_);
    for (const char* name : {"Vellumo_setup.exe", "filters.dat"})
      fs::copy_file(dir_ / "site" / "files" / name, tmp_ / name, fs::copy_options::overwrite_existing);
    WriteFile(tmp_ / "cfg.dat", cfg);
  }

  ProcessResult Install(const std::vector<std::string>& args, std::map<std::string, std::string> env = {}) {
    ProcessOptions options;
    options.setEnv = std::move(env);
    if (!options.setEnv.count("HOME")) options.setEnv["HOME"] = home_.string();
    options.unsetEnv = {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "SUDO_UID", "SUDO_GID", "SUDO_USER", "PKEXEC_UID",
                        "VELLUMO_DEMO_EXIT", "VELLUMO_DEMO_DELAY"};
    for (const auto& [k, v] : options.setEnv) std::erase(options.unsetEnv, k);
    std::vector<std::string> argv{(tmp_ / "Vellumo_setup.exe").string()};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProcess(argv, options);
  }
  ProcessResult Install(unsigned flags) {
    return Install({"p=" + install_.string(), "u=1110", "f=" + std::to_string(flags)});
  }

  TempDir dir_;
  fs::path home_ = dir_ / "home";
  fs::path install_, tmp_;
};

TEST_F(DemoPackageTest, InstallsTheApplicationTheResourcesAndTheChosenShortcuts) {
  struct Case {
    unsigned flags;
    bool desktop, menu, autostart;
  } cases[] = {{7, true, true, true}, {5, true, false, true}, {2, false, true, false}, {0, false, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE("f=" + std::to_string(c.flags));
    fs::remove_all(home_);
    ProcessResult r = Install(c.flags);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_TRUE(IsExecutable(install_ / "bin" / "vellumo"));
    EXPECT_EQ(ReadFile(install_ / "bin" / "vellumo"), ReadFile(VELLUMO_DEMO_EXE));
    EXPECT_EQ(ReadFile(install_ / "data" / "filters.dat"), ReadFile(dir_ / "site" / "files" / "filters.dat"));
    EXPECT_EQ(fs::exists(home_ / "Desktop" / "vellumo.desktop"), c.desktop);
    EXPECT_EQ(fs::exists(home_ / ".local" / "share" / "applications" / "vellumo.desktop"), c.menu);
    EXPECT_EQ(fs::exists(home_ / ".config" / "autostart" / "vellumo.desktop"), c.autostart);
    if (!c.menu) continue;
    std::string entry = ReadFile(home_ / ".local" / "share" / "applications" / "vellumo.desktop");
    EXPECT_NE(entry.find("Exec=\"" + (install_ / "bin" / "vellumo").string() + "\"\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("StartupWMClass=OrbiskMainWndCls\n"), std::string::npos);
  }
}

// The desktop entry's quoting: a folder name with a dollar, a percent sign and a quote still
// names the program.
TEST_F(DemoPackageTest, ShortcutQuotesTheProgramPath) {
  Prepare(dir_ / "pics \"best\" $x 100%" / "Orbisk");
  ProcessResult r = Install(1);
  ASSERT_EQ(r.exitCode, 0) << r.output;
  std::string entry = ReadFile(home_ / "Desktop" / "vellumo.desktop");
  std::string expected = "Exec=\"" + dir_.path().string() + "/pics \\\\\"best\\\\\" \\\\$x 100%%/Orbisk/bin/vellumo\"\n";
  EXPECT_NE(entry.find(expected), std::string::npos) << entry;
  // The desktop folder the user chose is honoured.
  fs::create_directories(home_ / ".config");
  WriteFile(home_ / ".config" / "user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
  ASSERT_EQ(Install(1).exitCode, 0);
  EXPECT_TRUE(fs::exists(home_ / "Schreibtisch" / "vellumo.desktop"));
}

TEST_F(DemoPackageTest, ExitCodeChosenByTheTestAndNothingInstalled) {
  ProcessResult r = Install({"p=" + install_.string(), "u=1110", "f=7"}, {{"VELLUMO_DEMO_EXIT", "67"}});
  EXPECT_EQ(r.exitCode, 67);
  EXPECT_FALSE(fs::exists(install_ / "bin"));
  EXPECT_FALSE(fs::exists(home_));
}

TEST_F(DemoPackageTest, BadArgumentsAndHandOffFilesAreRefused) {
  std::string p = "p=" + install_.string();
  struct ArgCase {
    std::vector<std::string> args;
  } argCases[] = {
      {{}},
      {{p, "u=1110"}},
      {{p, "u=1110", "f=7", "extra"}},
      {{"p=relative/Orbisk", "u=1110", "f=7"}},
      {{p, "u=11a0", "f=7"}},
      {{p, "u=1110", "f="}},
      {{p, "u=1110", "x=7"}},
  };
  for (const auto& c : argCases) {
    ProcessResult r = Install(c.args);
    EXPECT_EQ(r.exitCode, 2) << r.output;
    EXPECT_FALSE(fs::exists(install_ / "bin"));
  }

  struct CfgCase {
    std::string cfg;
  } cfgCases[] = {
      {"missing.dat#data#1\r\n"},
      {"filters.dat#..\\..\\escaped#1\r\n"},
      {"filters.dat#data/../../escaped#1\r\n"},
      {"no separators here\r\n"},
      {"../filters.dat#data#1\r\n"},
  };
  for (const auto& c : cfgCases) {
    SCOPED_TRACE(c.cfg);
    Prepare(install_, c.cfg);
    ProcessResult r = Install(0);
    EXPECT_EQ(r.exitCode, 4) << r.output;
    EXPECT_FALSE(fs::exists(dir_ / "escaped"));
    EXPECT_FALSE(fs::exists(dir_ / "Vellumo Apps" / "escaped"));
  }

  // Paths written the Windows way, with "#" in the target, and no cfg.dat at all, are fine.
  Prepare(install_, "filters.dat#plug\\ins#x#2\r\nfilters.dat##1\r\n");
  ASSERT_EQ(Install(0).exitCode, 0);
  EXPECT_TRUE(fs::exists(install_ / "plug" / "ins#x" / "filters.dat"));
  EXPECT_TRUE(fs::exists(install_ / "filters.dat"));
  fs::remove(tmp_ / "cfg.dat");
  EXPECT_EQ(Install(0).exitCode, 0);
}

// Run as root for a desktop user (sudo), the shortcuts go to that user's home, written as that
// user; nothing lands in root's home.
TEST_F(DemoPackageTest, ShortcutsGoToTheDesktopUserUnderSudo) {
  if (!testsupport::CanIsolate()) GTEST_SKIP() << "needs root and mount namespaces";
  fs::path userHome = dir_ / "nobody-home";
  fs::path rootHome = dir_ / "root-home";
  fs::create_directories(rootHome);
  std::string error;
  std::string out = testsupport::RunIsolated(
      [&]() -> std::string {
        // The account's home, as the package installer looks it up, points into the test folder.
        std::istringstream passwd(ReadFile("/etc/passwd"));
        std::string lines;
        for (std::string line; std::getline(passwd, line);) {
          if (line.starts_with("nobody:")) {
            auto f = line.rfind(':');
            auto h = line.rfind(':', f - 1);
            line = line.substr(0, h + 1) + userHome.string() + line.substr(f);
          }
          lines += line + "\n";
        }
        WriteFile(dir_ / "passwd", lines);
        if (mount((dir_ / "passwd").c_str(), "/etc/passwd", nullptr, MS_BIND, nullptr) != 0) return "\x01bind failed";
        fs::create_directories(userHome);
        if (chown(userHome.c_str(), kNobody, kNobody) != 0) return "\x01chown failed";
        ProcessResult r = Install({"p=" + install_.string(), "u=1110", "f=7"},
                                  {{"SUDO_UID", "65534"}, {"SUDO_GID", "65534"}, {"SUDO_USER", "nobody"},
                                   {"HOME", rootHome.string()}});
        std::string summary = std::to_string(r.exitCode) + "|";
        for (fs::path p : {userHome / "Desktop" / "vellumo.desktop",
                           userHome / ".local" / "share" / "applications" / "vellumo.desktop",
                           userHome / ".config" / "autostart" / "vellumo.desktop", userHome / "Desktop"}) {
          struct stat st {};
          summary += stat(p.c_str(), &st) == 0 ? std::to_string(st.st_uid) + "," : "missing,";
        }
        return summary + "|" + r.output;
      },
      &error);
  ASSERT_EQ(error, "");
  EXPECT_EQ(out.substr(0, out.find("|", out.find("|") + 1)), "0|65534,65534,65534,65534,") << out;
  EXPECT_TRUE(fs::is_empty(rootHome));
  EXPECT_TRUE(IsExecutable(install_ / "bin" / "vellumo"));
}

// The installed application is the window the installer's single-instance start raises.
TEST_F(DemoPackageTest, InstalledApplicationShowsTheWindowTheInstallerRaises) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (the test script starts Xvfb)";
  ASSERT_EQ(Install(0).exitCode, 0);
  EXPECT_EQ(platform::RaiseWindowOfClass("OrbiskMainWndCls"), platform::RaiseResult::kNotFound);
  testsupport::ProcessOptions options;
  options.workDir = install_.string();
  testsupport::BackgroundProcess app({(install_ / "bin" / "vellumo").string(), "--album", "Summer 2024"}, options);
  auto line = app.ReadLine(std::chrono::seconds(20));
  ASSERT_TRUE(line && line->starts_with("Vellumo demo shown: window 0x")) << line.value_or("(nothing)");
  EXPECT_NE(line->find(" in " + install_.string()), std::string::npos);
  std::string window = line->substr(std::string("Vellumo demo shown: window ").size());
  window = window.substr(0, window.find(' '));

  EXPECT_EQ(platform::RaiseWindowOfClass("OrbiskMainWndCls"), platform::RaiseResult::kRaised);
  ProcessResult props = RunProcess({"xprop", "-id", window, "WM_CLASS", "_NET_WM_NAME"});
  EXPECT_NE(props.output.find("\"vellumo\", \"OrbiskMainWndCls\""), std::string::npos) << props.output;
  EXPECT_NE(props.output.find("_NET_WM_NAME(UTF8_STRING) = \"Vellumo\""), std::string::npos) << props.output;
}

}  // namespace
