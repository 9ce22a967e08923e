#include "installer/package_download.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/file.h"
#include "tests/installer/install_flow_fixture.h"

namespace {
using Calls = std::vector<std::string>;
using testsupport::GeneratedBody;
using testsupport::InstallFlowTest;
using testsupport::LogMark;
using testsupport::ReadFile;
using testsupport::WriteFile;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

template <class Pred>
bool Eventually(Pred pred, std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
  auto end = std::chrono::steady_clock::now() + timeout;
  while (!pred()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

class PackageDownloadTest : public InstallFlowTest {
 protected:
  std::filesystem::path TempDirPath() const {
    auto p = installPath_;
    p += "_tmp";
    return p;
  }
  // Clicks pause as soon as a transfer exists (the button has no effect before).
  void PauseWhenTransferRuns() {
    ASSERT_TRUE(Eventually([&] { return download_.OnClickPause(); }));
  }
};

TEST_F(PackageDownloadTest, EveryFileIsFetchedVerifiedAndRenamedThenInstallationStarts) {
  ui_.install = nullptr;  // the installation itself is not part of this test
  const std::string setup = GeneratedBody(300000), one = "first resource", two = "second", three = "third";
  SetInstaller(Serve("setup.exe", setup), Md5(setup), setup.size(), L"图片管家");
  config_.external = {
      ExternalItem{L"资源一", L".\\data", 1, 1000, 2000, {{Md5(one), Serve("one.dat", one)}}},
      ExternalItem{L"空", L"x", 2, 7, 0, {}},
      ExternalItem{L"资源二", L"\\data2", 3, 20, 40, {{Md5(two), Serve("two.dat", two)}, {Md5(three), Serve("three.dat", three)}}},
  };
  StartInstallButton();
  EXPECT_EQ(download_.totalBytes(), setup.size() + 1000 + 7 + 20) << "each item's own size, not per resource";
  ASSERT_EQ(download_.tasks().size(), 4u);
  EXPECT_EQ(download_.tasks()[0].localPath, TempDirPath() / "setup.exe");
  EXPECT_EQ(download_.tasks()[3].display, L"资源二");

  ASSERT_TRUE(ui_.WaitForCall("install-ui"));
  WaitForWorker();
  EXPECT_EQ(ui_.Calls(), (Calls{"started", "ended", "started", "ended", "started", "ended", "started", "ended",
                                "event:2901300", "install-ui"}));
  EXPECT_EQ(ReadFile(TempDirPath() / "setup.exe"), setup);
  EXPECT_EQ(ReadFile(TempDirPath() / "three.dat"), three);
  for (const auto& entry : std::filesystem::directory_iterator(TempDirPath()))
    EXPECT_FALSE(entry.path().string().ends_with(".dl.tmp")) << entry.path();
  EXPECT_EQ(download_.completedBytes(), setup.size() + one.size() + two.size() + three.size());
  EXPECT_EQ(download_.failureCount(), 0);

  DownloadProgressView v = download_.RefreshProgress();
  EXPECT_EQ(v.speed, L"0 bytes/s") << "no transfer: no speed";
  EXPECT_EQ(v.percent, L"99%");  // 300025 of 301027
  ASSERT_TRUE(v.status.has_value());
  EXPECT_EQ(*v.status, L"正在下载 资源二 ...");
  std::string log = log_.NewText();
  EXPECT_TRUE(Contains(log, " INFO  [") && Contains(log, "] url:" + Url("setup.exe") + "\r\n")) << log;
  EXPECT_FALSE(Contains(log, "ERROR")) << log;
}

// Failures that are not retried: one attempt, event 2901201, the re-download page, nothing
// renamed; a temporary file that was written stays.
struct NotRetriedCase {
  const char* name;
  const char* logged;
  bool transferred;  // a transfer ran (its end is posted) and left its temporary file
};

void PrintTo(const NotRetriedCase& c, std::ostream* os) { *os << c.name; }

class NotRetriedTest : public PackageDownloadTest, public ::testing::WithParamInterface<NotRetriedCase> {};

TEST_P(NotRetriedTest, StopsAtTheRedownloadPage) {
  const NotRetriedCase& c = GetParam();
  const std::string body = "package body", name = c.name;
  std::string url = Serve("setup.exe", body), md5 = Md5(body);
  std::uint64_t size = body.size();
  const std::filesystem::path tmpPath = TempDirPath() / "setup.exe.dl.tmp";
  std::filesystem::create_directories(TempDirPath());
  if (name == "size") size += 1;
  if (name == "md5") md5[0] = md5[0] == '0' ? '1' : '0';
  if (name.starts_with("url/")) url = Url("dir") + name.substr(3);
  if (name == "fifo") {
    ASSERT_EQ(::mkfifo(tmpPath.c_str(), 0600), 0);
  }
  if (name == "symlink") {
    WriteFile(dir_ / "victim", "untouched");
    std::filesystem::create_symlink(dir_ / "victim", tmpPath);
  }
  if (name == "folder is a file") {
    std::filesystem::remove(TempDirPath());
    WriteFile(TempDirPath(), "");
  }
  SetInstaller(url, md5, size);

  if (name != "crypto") {
    ASSERT_TRUE(download_.AcquireHashProvider());
  }
  download_.CreateTempDir(installPath_);
  download_.AddTasks(config_);
  worker_.Start();
  download_.StartDownload();
  ASSERT_TRUE(ui_.WaitForCall("failed"));
  WaitForWorker();

  Calls expected = c.transferred ? Calls{"started", "ended", "event:2901201", "failed"}
                                 : Calls{"started", "event:2901201", "failed"};
  EXPECT_EQ(ui_.Calls(), expected);
  EXPECT_EQ(download_.failureCount(), 0) << "only transport failures use the budget";
  std::string log = log_.NewText();
  EXPECT_TRUE(Contains(log, " ERROR [") && Contains(log, c.logged)) << log;
  EXPECT_EQ(NewRequests("setup.exe").size(), c.transferred ? 1u : 0u);
  if (c.transferred) {
    EXPECT_EQ(ReadFile(tmpPath), body) << "the temporary file stays";
    EXPECT_FALSE(std::filesystem::exists(TempDirPath() / "setup.exe"));
  }
  if (name == "symlink") {
    EXPECT_EQ(ReadFile(dir_ / "victim"), "untouched");
  }
  if (name.starts_with("url/")) {
    EXPECT_TRUE(std::filesystem::is_directory(TempDirPath())) << "the folder itself is not touched";
    EXPECT_TRUE(std::filesystem::is_empty(TempDirPath()));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Failures, NotRetriedTest,
    ::testing::Values(NotRetriedCase{"size", "] size verify failed\r\n", true},
                      NotRetriedCase{"md5", "] md5 verify failed\r\n", true},
                      NotRetriedCase{"url/", "] create tmp file failed\r\n", false},
                      NotRetriedCase{"url/.", "] create tmp file failed\r\n", false},
                      NotRetriedCase{"url/..", "] create tmp file failed\r\n", false},
                      NotRetriedCase{"fifo", "] create tmp file failed\r\n", false},
                      NotRetriedCase{"symlink", "] create tmp file failed\r\n", false},
                      NotRetriedCase{"folder is a file", "] create tmp file failed\r\n", false},
                      NotRetriedCase{"crypto", "Message:CryptCreateHash failed.", false}),
    [](const ::testing::TestParamInfo<NotRetriedCase>& info) {
      std::string n;
      for (char ch : std::string(info.param.name)) n += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
      return n;
    });

TEST_F(PackageDownloadTest, ACutTransferIsRetriedAndTheRetrySucceeds) {
  ui_.install = nullptr;
  const std::size_t size = 200000;
  const nlohmann::json cut = {{"generate", size}, {"cut_after", 5000}};
  server_->SetRoute("/" + prefix_ + "/setup.exe", {{"sequence", {cut, cut, {{"generate", size}}}}});
  SetInstaller(Url("setup.exe"), Md5(GeneratedBody(size)), size);
  StartInstallButton();
  ASSERT_TRUE(ui_.WaitForCall("install-ui"));
  EXPECT_EQ(ui_.Calls(), (Calls{"started", "ended", "event:2901201", "started", "ended", "event:2901201", "started",
                                "ended", "event:2901300", "install-ui"}));
  EXPECT_EQ(download_.failureCount(), 2);
  EXPECT_EQ(ReadFile(TempDirPath() / "setup.exe"), GeneratedBody(size));
  EXPECT_TRUE(Contains(log_.NewText(), "] download error:")) << log_.NewText();
}

TEST_F(PackageDownloadTest, EightTransportFailuresEndAtTheRedownloadPageWhichGivesEightMore) {
  SetInstaller("http://127.0.0.1:" + std::to_string(testsupport::UnusedLocalPort()) + "/setup.exe", Md5("x"), 1);
  StartInstallButton();
  ASSERT_TRUE(ui_.WaitForCall("failed"));
  WaitForWorker();
  EXPECT_EQ(ui_.Count("started"), 8u);
  EXPECT_EQ(ui_.Count("event:2901201"), 8u);
  EXPECT_EQ(ui_.Calls().back(), "failed");
  EXPECT_EQ(download_.failureCount(), 8);
  EXPECT_TRUE(Contains(log_.NewText(), "] download error:Failed to connect to 127.0.0.1")) << log_.NewText();

  download_.OnClickRedownload();
  download_.OnClickRedownload();  // a double click starts one download
  ASSERT_TRUE(ui_.WaitForCall("failed", 2));
  WaitForWorker();
  EXPECT_EQ(ui_.Count("event:2901202"), 1u);
  EXPECT_EQ(ui_.Count("started"), 16u);
  EXPECT_EQ(ui_.Count("event:2901201"), 16u);
  EXPECT_EQ(ui_.Count("failed"), 2u);
  Calls calls = ui_.Calls();
  auto redownload = std::find(calls.begin(), calls.end(), "event:2901202") - calls.begin();
  ASSERT_EQ(redownload, 25) << "8 x (started, ended, event:2901201), failed";
  EXPECT_EQ(calls[26], "started") << "the event comes before the new attempts";
}

TEST_F(PackageDownloadTest, ADiskWriteErrorAbortsTheTransferAndIsRetried) {
  // Files of this process may grow to 4 MiB; writing past it fails with EFBIG.
  struct rlimit old {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  struct rlimit small = old;
  small.rlim_cur = 4 << 20;
  auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::size_t size = 6 << 20;
  server_->SetRoute("/" + prefix_ + "/setup.exe", {{"generate", size}});
  SetInstaller(Url("setup.exe"), Md5(GeneratedBody(size)), size);
  StartInstallButton();
  bool failed = ui_.WaitForCall("failed");
  WaitForWorker();
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, oldHandler);
  ASSERT_TRUE(failed);
  EXPECT_EQ(ui_.Count("event:2901201"), 8u);
  std::string log = log_.NewText();
  EXPECT_TRUE(Contains(log, "] write file failed, err:27\r\n")) << log;
  EXPECT_TRUE(Contains(log, "] download error:")) << log;
}

TEST_F(PackageDownloadTest, PauseStopsTheTimerAndResumeBringsItBack) {
  EXPECT_FALSE(download_.OnClickPause()) << "no transfer yet";
  ui_.install = nullptr;
  const std::size_t size = 400000;
  server_->SetRoute("/" + prefix_ + "/setup.exe", {{"generate", size}, {"chunk", 16384}, {"chunk_delay_ms", 40}});
  SetInstaller(Url("setup.exe"), Md5(GeneratedBody(size)), size, L"安装包");
  StartInstallButton();
  PauseWhenTransferRuns();
  EXPECT_TRUE(download_.paused());
  ASSERT_TRUE(ui_.WaitForCall("paused"));
  DownloadProgressView before = download_.RefreshProgress();
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  DownloadProgressView after = download_.RefreshProgress();
  EXPECT_EQ(before.size, after.size) << "nothing arrives while paused";
  ASSERT_TRUE(after.status.has_value());
  EXPECT_EQ(*after.status, L"正在下载 安装包 ...");

  EXPECT_TRUE(download_.OnClickResume());
  EXPECT_FALSE(download_.paused());
  ASSERT_TRUE(ui_.WaitForCall("install-ui"));
  EXPECT_EQ(ui_.Calls(), (Calls{"started", "paused", "resumed", "ended", "event:2901300", "install-ui"}));
  EXPECT_EQ(ReadFile(TempDirPath() / "setup.exe"), GeneratedBody(size));
  EXPECT_FALSE(download_.OnClickResume()) << "no transfer any more";
}

TEST_F(PackageDownloadTest, PauseAndResumeBeforeOneProgressCallEndPausedWithThePauseButtonShown) {
  ui_.install = nullptr;
  const std::size_t size = 300000;
  server_->SetRoute("/" + prefix_ + "/setup.exe", {{"generate", size}, {"chunk", 16384}, {"chunk_delay_ms", 40}});
  SetInstaller(Url("setup.exe"), Md5(GeneratedBody(size)), size);
  // Both clicks land between two progress calls: they are made inside the call that applied
  // the first pause.
  bool clicked = false;
  ui_.onCall = [&](const std::string& call) {
    if (call == "paused" && !clicked) {
      clicked = true;
      download_.OnClickPause();
      download_.OnClickResume();
    }
  };
  StartInstallButton();
  PauseWhenTransferRuns();
  ASSERT_TRUE(ui_.WaitForCall("paused", 2));
  EXPECT_FALSE(download_.paused()) << "the last click was resume: the pause button shows";
  EXPECT_EQ(ui_.Calls(), (Calls{"started", "paused", "resumed", "paused"}));
  download_.OnClickResume();
  ASSERT_TRUE(ui_.WaitForCall("install-ui"));
  EXPECT_EQ(ReadFile(TempDirPath() / "setup.exe"), GeneratedBody(size));
}

TEST_F(PackageDownloadTest, ClosingEndsAStalledOrPausedTransferWithoutWaitingForData) {
  server_->SetRoute("/" + prefix_ + "/stalled.exe", {{"generate", 100000}, {"stall_after", 1000}});
  server_->SetRoute("/" + prefix_ + "/paused.exe", {{"generate", 300000}, {"chunk", 16384}, {"chunk_delay_ms", 40}});
  for (const char* name : {"stalled.exe", "paused.exe"}) {
    SCOPED_TRACE(name);
    TaskExecutor worker;
    testsupport::RecordingUi ui(worker);
    CPackageDownload download(worker, ui, [] {});
    download.AcquireHashProvider();
    download.CreateTempDir(dir_ / name);
    download.AddDownloadTask(L"x", Url(name), Md5("x"), 0);
    worker.Start();
    download.StartDownload();
    ASSERT_TRUE(Eventually([&] { return download.RefreshProgress().size != L"已完成：0 bytes/0 bytes"; }));
    if (std::string(name) == "paused.exe") {
      ASSERT_TRUE(download.OnClickPause());
      ASSERT_TRUE(ui.WaitForCall("paused"));
    }
    auto start = std::chrono::steady_clock::now();
    download.SetClosing();
    worker.Stop();  // what the window's destruction hook does next
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(ui.Count("started"), 1u) << "no retry while closing";
    EXPECT_EQ(ui.Count("event:2901201"), 1u);
    ui.StopUiThread();
  }
  EXPECT_EQ(NewRequests("stalled.exe").size(), 1u);
}

TEST_F(PackageDownloadTest, AVerifiedFileIsReusedAndAChangedOneFetchedAgain) {
  ui_.install = nullptr;
  const std::string setup = "the package installer", res = GeneratedBody(5000);
  SetInstaller(Url("setup.exe"), Md5(setup), setup.size());  // not on the server: reuse or fail
  std::string resUrl = Serve("res.dat", res);
  config_.external = {ExternalItem{L"资源", L"data", 1, res.size(), 0, {{Md5(res), resUrl}}}};
  std::filesystem::create_directories(TempDirPath());
  WriteFile(TempDirPath() / "setup.exe", setup);
  std::string changed = res;
  changed[4000] ^= 0x20;
  WriteFile(TempDirPath() / "res.dat", changed);
  WriteFile(TempDirPath() / "res.dat.dl.tmp", GeneratedBody(20000));  // left by an aborted run

  StartInstallButton();
  ASSERT_TRUE(ui_.WaitForCall("install-ui"));
  EXPECT_EQ(ui_.Calls(), (Calls{"started", "started", "ended", "event:2901300", "install-ui"}));
  EXPECT_TRUE(NewRequests("setup.exe").empty()) << "a reused file is not fetched";
  EXPECT_EQ(NewRequests("res.dat").size(), 1u);
  EXPECT_EQ(ReadFile(TempDirPath() / "res.dat"), res);
  EXPECT_EQ(download_.completedBytes(), setup.size() + res.size());
}

TEST_F(PackageDownloadTest, AHeldFinalFileIsFetchedAgainAndReplacedBecauseLocksAreAdvisory) {
  ui_.install = nullptr;
  const std::string setup = "fresh package bytes";
  SetInstaller(Serve("setup.exe", setup), Md5(setup), setup.size());
  std::filesystem::create_directories(TempDirPath());
  WriteFile(TempDirPath() / "setup.exe", setup);
  platform::File holder = platform::File::OpenExclusiveForRead(TempDirPath() / "setup.exe");
  ASSERT_TRUE(holder.IsOpen());

  StartInstallButton();
  ASSERT_TRUE(ui_.WaitForCall("install-ui"));
  EXPECT_TRUE(Contains(log_.NewText(), "] Open exist file failed\r\n")) << log_.NewText();
  EXPECT_EQ(NewRequests("setup.exe").size(), 1u);
  // The rename replaces the name the holder locked; the new file is not locked, so its size
  // counts (where locks are mandatory, the rename fails and nothing is added).
  EXPECT_EQ(download_.completedBytes(), setup.size());
  EXPECT_EQ(ReadFile(TempDirPath() / "setup.exe"), setup);
}

}  // namespace
