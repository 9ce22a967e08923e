#include "tests/installer/install_flow_fixture.h"

#include <algorithm>
#include <future>
#include <thread>

#include "common/base/hash_algorithm.h"

namespace testsupport {

RecordingUi::RecordingUi(TaskExecutor& worker) : worker_(worker) { uiThread_.Start(); }

RecordingUi::~RecordingUi() { uiThread_.Stop(); }

void RecordingUi::Record(const std::string& call) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.push_back(call);
  }
  changed_.notify_all();
  if (onCall) onCall(call);
}

void RecordingUi::Posted(const std::string& call) {
  if (std::this_thread::get_id() != worker_.WorkerId()) {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.push_back(call + " posted off the worker thread");
  }
  Record(call);
}

void RecordingUi::PostInstallUiStart() {
  Posted("install-ui");
  std::uint32_t f = flags;
  uiThread_.Post([this, f] {
    if (install) install->RunInstaller(f);
  });
}

std::vector<std::string> RecordingUi::Calls() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_;
}

std::size_t RecordingUi::Count(const std::string& call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<std::size_t>(std::count(calls_.begin(), calls_.end(), call));
}

bool RecordingUi::WaitForCall(const std::string& call, std::size_t times, std::chrono::milliseconds timeout) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] {
    return static_cast<std::size_t>(std::count(calls_.begin(), calls_.end(), call)) >= times;
  });
}

std::vector<std::string> RecordingUi::faults() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return faults_;
}

std::unique_ptr<TempDir> InstallFlowTest::site_;
std::unique_ptr<TestServer> InstallFlowTest::server_;

void InstallFlowTest::SetUpTestSuite() {
  site_ = std::make_unique<TempDir>();
  TestServerOptions options;
  options.root = site_->path();
  server_ = std::make_unique<TestServer>(options);
}

void InstallFlowTest::TearDownTestSuite() {
  server_.reset();
  site_.reset();
}

void InstallFlowTest::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  prefix_ = std::string(info->test_suite_name()) + "." + info->name();
  std::replace(prefix_.begin(), prefix_.end(), '/', '_');
  std::filesystem::create_directories(site_->path() / prefix_);
  installPath_ = dir_.path() / "Orbisk";
  ui_.install = &install_;
  log_ = LogMark();
}

void InstallFlowTest::TearDown() {
  ui_.StopUiThread();
  download_.SetClosing();
  worker_.Stop();
  EXPECT_EQ(ui_.faults(), std::vector<std::string>());
}

std::string InstallFlowTest::Serve(const std::string& name, const std::string& bytes) {
  WriteFile(site_->path() / prefix_ / name, bytes);
  return Url(name);
}

std::string InstallFlowTest::Url(const std::string& name) const { return server_->BaseUrl() + "/" + prefix_ + "/" + name; }

std::string InstallFlowTest::Md5(const std::string& bytes) { return KwrBase::Md5HexDigest(bytes); }

void InstallFlowTest::SetInstaller(const std::string& url, const std::string& md5, std::uint64_t size,
                                   const std::wstring& display) {
  config_.installer = PackageInfo{display, md5, size, url};
}

void InstallFlowTest::StartInstallButton() {
  ASSERT_TRUE(download_.AcquireHashProvider());
  download_.CreateTempDir(installPath_);
  download_.AddTasks(config_);
  worker_.Start();
  download_.StartDownload();
}

void InstallFlowTest::WaitForWorker() {
  std::promise<void> done;
  worker_.Post([&] { done.set_value(); });
  ASSERT_EQ(done.get_future().wait_for(std::chrono::seconds(60)), std::future_status::ready);
}

std::vector<std::string> InstallFlowTest::NewRequests(const std::string& name) const {
  std::vector<std::string> paths;
  for (const RecordedRequest& r : server_->Requests())
    if (r.path == "/" + prefix_ + "/" + name) paths.push_back(r.path);
  return paths;
}

}  // namespace testsupport
