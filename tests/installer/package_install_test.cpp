#include "installer/package_install.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/process_info.h"
#include "stats/launch_context.h"
#include "tests/installer/install_flow_fixture.h"

namespace {
using Calls = std::vector<std::string>;
using testsupport::InstallFlowTest;
using testsupport::ReadFile;
using testsupport::WriteFile;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

ExternalItem Item(std::wstring target, std::uint32_t type, std::vector<std::string> urls) {
  ExternalItem item;
  item.display = L"资源";
  item.target_path = std::move(target);
  item.type = type;
  for (auto& u : urls) item.resource.push_back({"00", u});
  return item;
}

TEST(HandOffText, FlagsQuotingAndCfgDatLines) {
  EXPECT_EQ(InstallFlags(true, true, true), 7u);
  EXPECT_EQ(InstallFlags(true, false, true), 5u);
  EXPECT_EQ(InstallFlags(false, false, false), 0u);
  EXPECT_EQ(PathQuoteSpaces("/opt/Orbisk"), "/opt/Orbisk");
  EXPECT_EQ(PathQuoteSpaces("/home/u/Program Files/Orbisk"), "\"/home/u/Program Files/Orbisk\"");

  ConfigRecord config;
  EXPECT_EQ(CfgDatContent(config), "");
  config.external = {Item(L".\\data", 1, {"http://h/a/one.dat"}),
                     Item(L"nothing", 9, {}),
                     Item(L"\\data", 2, {"http://h/two.dat", "http://h/three.dat"}),
                     Item(L"..\\data", 3, {"http://h/x?v=2"}),
                     Item(L"./数据/#1", 4, {"http://h/a#b.dat"}),
                     Item(L"data", 5, {""})};
  EXPECT_EQ(CfgDatContent(config),
            "one.dat#data#1\r\n"
            "two.dat#data#2\r\n"  // only the first of its resources
            "x?v=2#.\\data#3\r\n"
            "a#b.dat#数据/#1#4\r\n"  // "#" is not escaped
            "#data#5\r\n");
}

class PackageInstallTest : public InstallFlowTest {
 protected:
  void SetUp() override {
    InstallFlowTest::SetUp();
    TheLaunchContext().unionId = 1110;
    platform::SaveCommandLine(0, nullptr);
  }
  void TearDown() override {
    platform::SaveCommandLine(0, nullptr);
    InstallFlowTest::TearDown();
  }
  std::filesystem::path TempDirPath() const {
    auto p = installPath_;
    p += "_tmp";
    return p;
  }
  // A package installer that writes its arguments and the cfg.dat it finds beside its install
  // folder to `out_`, then exits with `code`. Without `runnable` it has no interpreter line.
  void ServePackage(int code, bool runnable = true) {
    std::string script = std::string(runnable ? "#!/bin/sh\n" : "") +
                         "for a in \"$0\" \"$@\"; do echo \"[$a]\"; done > '" + out_.string() +
                         "'\n"
                         "cfg=\"${1#p=}_tmp/cfg.dat\"\n"
                         "[ -f \"$cfg\" ] && cat \"$cfg\" >> '" + out_.string() + "'\n"
                         "exit " + std::to_string(code) + "\n";
    SetInstaller(Serve("setup.sh", script), Md5(script), script.size());
  }
  void AddResources() {
    config_.external = {ExternalItem{L"资源", L".\\data", 1, 4, 8, {{Md5("res1"), Serve("res.dat", "res1")}}},
                        ExternalItem{L"更多", L"/more", 2, 4, 8, {{Md5("res2"), Serve("more.dat", "res2")}}}};
  }
  // Runs the whole flow and waits until the package installer's end has been posted and the
  // clean-up (if any) is done; the posted exit code.
  std::string RunToTheEnd() {
    StartInstallButton();
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < end) {
      Calls calls = ui_.Calls();
      if (!calls.empty() && calls.back().starts_with("finished:")) {
        WaitForWorker();
        return calls.back();
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ADD_FAILURE() << "the installation did not end";
    return "";
  }
  std::vector<std::string> FilesLeft() const {
    std::vector<std::string> names;
    if (!std::filesystem::exists(TempDirPath())) return names;
    for (const auto& e : std::filesystem::directory_iterator(TempDirPath())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::filesystem::path out_ = dir_ / "package_installer.out";
};

TEST_F(PackageInstallTest, ExitCodeZeroGetsFourArgumentsAndCfgDatThenEverythingDownloadedGoes) {
  installPath_ = dir_.path() / "Program Files" / "Orbisk";  // spaces in the install and download folders
  ServePackage(0);
  AddResources();
  EXPECT_EQ(RunToTheEnd(), "finished:0");
  EXPECT_EQ(ui_.Calls(), (Calls{"started", "ended", "started", "ended", "started", "ended", "event:2901300",
                                "install-ui", "finished:0"}));
  const std::string exe = (TempDirPath() / "setup.sh").string();
  EXPECT_EQ(ReadFile(out_), "[" + exe + "]\n[p=" + installPath_.string() +
                                "]\n[u=1110]\n[f=7]\n"
                                "res.dat#data#1\r\nmore.dat#more#2\r\n");
  std::string log = log_.NewText();
  EXPECT_TRUE(Contains(log, "] " + (TempDirPath() / "cfg.dat").string() + "\r\n")) << log;
  EXPECT_TRUE(Contains(log, "] \"" + exe + "\" p=\"" + installPath_.string() + "\" u=1110 f=7\r\n")) << log;
  EXPECT_FALSE(std::filesystem::exists(TempDirPath())) << "package, resources and cfg.dat deleted, folder removed";
}

TEST_F(PackageInstallTest, TheKeepSwitchKeepsEverything) {
  char prog[] = "Setup_b12348.exe", keep[] = "-k";
  char* argv[] = {prog, keep};
  platform::SaveCommandLine(2, argv);
  ui_.flags = 5;  // the start-menu box unticked
  ServePackage(0);
  AddResources();
  EXPECT_EQ(RunToTheEnd(), "finished:0");
  EXPECT_TRUE(Contains(ReadFile(out_), "[f=5]\n"));
  EXPECT_EQ(FilesLeft(), (std::vector<std::string>{"cfg.dat", "more.dat", "res.dat", "setup.sh"}));
}

TEST_F(PackageInstallTest, AFailedInstallationKeepsTheFiles) {
  ServePackage(1603);  // the system keeps the low 8 bits: 1603 & 0xFF
  AddResources();
  EXPECT_EQ(RunToTheEnd(), "finished:67");
  EXPECT_EQ(FilesLeft(), (std::vector<std::string>{"cfg.dat", "more.dat", "res.dat", "setup.sh"}));
}

TEST_F(PackageInstallTest, APackageInstallerThatCannotStartIsAFailureNotASuccess) {
  ServePackage(0, /*runnable=*/false);
  AddResources();
  EXPECT_EQ(RunToTheEnd(), "finished:4294967295");
  EXPECT_FALSE(std::filesystem::exists(out_));
  EXPECT_TRUE(Contains(log_.NewText(), "] start installer failed, err:8\r\n")) << log_.NewText();
  EXPECT_EQ(FilesLeft(), (std::vector<std::string>{"cfg.dat", "more.dat", "res.dat", "setup.sh"}));
}

TEST_F(PackageInstallTest, NoInstallerUrlOrNoTasksAtAllIsAFailedInstallation) {
  AddResources();  // the installer url stays empty: the first task is a resource, never run
  EXPECT_EQ(RunToTheEnd(), "finished:4294967295");
  EXPECT_TRUE(Contains(log_.NewText(), "] no package installer to run\r\n")) << log_.NewText();
  EXPECT_EQ(FilesLeft(), (std::vector<std::string>{"cfg.dat", "more.dat", "res.dat"}));

  // Nothing to download at all: no first task is read, straight to a failed installation.
  TaskExecutor worker;
  testsupport::RecordingUi ui(worker);
  ConfigRecord empty;
  CPackageInstall* install = nullptr;
  CPackageDownload download(worker, ui, [&] { install->StartInstall(); });
  CPackageInstall installer(worker, ui, download, empty);
  install = ui.install = &installer;
  download.AcquireHashProvider();
  download.CreateTempDir(dir_ / "empty");
  download.AddTasks(empty);
  worker.Start();
  download.StartDownload();
  ASSERT_TRUE(ui.WaitForCall("finished:4294967295"));
  EXPECT_EQ(ui.Calls(), (Calls{"event:2901300", "install-ui", "finished:4294967295"}));
  ui.StopUiThread();
  worker.Stop();
}

TEST_F(PackageInstallTest, CfgDatIsWrittenOrAStaleOneRemoved) {
  download_.CreateTempDir(installPath_);
  const auto cfg = TempDirPath() / "cfg.dat";
  WriteFile(cfg, "old.dat#old#1\r\n");  // kept by an earlier run
  EXPECT_EQ(install_.CreateCfgDatFile(), cfg);
  EXPECT_FALSE(std::filesystem::exists(cfg)) << "nothing to announce: the stale file must not be read";
  EXPECT_FALSE(Contains(log_.NewText(), "cfg.dat")) << "no cfg.dat line without content";

  config_.external = {Item(L"\\data", 2, {"http://h/新.dat"})};
  EXPECT_EQ(install_.CreateCfgDatFile(), cfg);
  EXPECT_EQ(ReadFile(cfg), "新.dat#data#2\r\n");

  std::filesystem::remove(cfg);
  std::filesystem::create_symlink(dir_ / "elsewhere", cfg);
  EXPECT_EQ(install_.CreateCfgDatFile(), cfg);
  EXPECT_TRUE(Contains(log_.NewText(), "] create tmp file failed\r\n")) << log_.NewText();
  EXPECT_FALSE(std::filesystem::exists(dir_ / "elsewhere")) << "never written through a link";
}

}  // namespace
