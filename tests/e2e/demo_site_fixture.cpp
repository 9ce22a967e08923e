#include "tests/e2e/demo_site_fixture.h"

#include <fmt/format.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "common/base/hash_algorithm.h"
#include "tests/support/x11_tools.h"

namespace testsupport {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

void DemoSiteRun::SetUp() {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (the test script starts Xvfb)";
  fs::create_directories(site_);
  fs::create_directories(bin_);
  fs::create_directories(home_);
  fs::create_directories(pickedFolder_);
  fs::create_directories(dir_ / "runtime");
  TestServerOptions options;
  options.root = site_;
  server_ = std::make_unique<TestServer>(options);
  ProcessResult site = RunProcess({"python3", WEBINST_SOURCE_DIR "/tools/demo/make_demo_site.py", site_.string(),
                                   server_->BaseUrl(), "--app", VELLUMO_DEMO_EXE});
  ASSERT_EQ(site.exitCode, 0) << site.output;
  server_->SetRoutes(nlohmann::json::parse(ReadFile(site_ / "routes.json")));
  // The desktop's folder chooser: answers the folder it was given, and says it was asked.
  WriteFile(bin_ / "zenity", "#!/bin/sh\n"
                             "printf '%s\\n' \"$@\" >> \"$FAKE_CHOOSER_LOG\"\n"
                             "printf '%s\\n' \"$FAKE_CHOOSER_ANSWER\"\n");
  fs::permissions(bin_ / "zenity", fs::perms(0755));
  copy_ = std::make_unique<InstallerCopy>("Setup_b12348.exe");
}

void DemoSiteRun::TearDown() {
  installer_.reset();  // kills it if it still runs
}

void DemoSiteRun::StartInstaller() {
  ProcessOptions options = WithDisplay();
  for (const char* name : {"WEBINST_CONFIG_SERVER", "WEBINST_STATS_SERVER", "WEBINST_INSTALL_STATS_SERVER"})
    options.setEnv[name] = server_->BaseUrl();
  const char* path = std::getenv("PATH");
  options.setEnv["PATH"] = bin_.string() + ":" + (path ? path : "/usr/bin:/bin");
  options.setEnv["DBUS_SESSION_BUS_ADDRESS"] = "";
  options.setEnv["XDG_RUNTIME_DIR"] = (dir_ / "runtime").string();
  options.setEnv["HOME"] = home_.string();
  options.setEnv["FAKE_CHOOSER_LOG"] = (dir_ / "chooser.log").string();
  options.setEnv["FAKE_CHOOSER_ANSWER"] = pickedFolder_.string();
  for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "SUDO_UID", "SUDO_GID", "PKEXEC_UID"})
    options.unsetEnv.push_back(name);
  for (const auto& [name, value] : extraEnv_) options.setEnv[name] = value;
  installer_ = copy_->Start(options);
}

void DemoSiteRun::PickFolderAndInstall(const std::string& window) {
  ASSERT_TRUE(ClickUntil(window, kCustomInstallBox, [&] { return Geometry(window)["HEIGHT"] == 698; }));
  ASSERT_TRUE(ClickUntil(window, kBrowseButton, [&] { return fs::exists(dir_ / "chooser.log"); }));
  // The chooser's answer is taken once it has gone; the button works from then on.
  ASSERT_TRUE(ClickUntil(window, kInstallButton, [&] { return Received(2901001); }));
}

std::string DemoSiteRun::InstallerWindow() { return WaitForWindow("QuilloryInstWndCls"); }

void DemoSiteRun::ClickIn(const std::string& window, ClientPoint p) {
  auto g = Geometry(window);
  Tool(ClickAt(g["X"] + p.x, g["Y"] + p.y));
}

bool DemoSiteRun::ClickUntil(const std::string& window, ClientPoint p, const std::function<bool()>& done) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    ClickIn(window, p);
    if (WaitFor(done, 1)) return true;
  }
  return false;
}

bool DemoSiteRun::WaitFor(const std::function<bool()>& done, int seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(50ms);
  }
  return true;
}

std::vector<std::int64_t> DemoSiteRun::EventNumbers() const {
  std::vector<std::int64_t> events;
  for (const RecordedRequest& r : server_->Requests())
    if (r.path == "/api/clientevent") events.push_back(nlohmann::json::parse(r.body)["m"].get<std::int64_t>());
  return events;
}

void DemoSiteRun::ExpectWellFormedEvents() const {
  for (const RecordedRequest& r : server_->Requests()) {
    if (r.path != "/api/clientevent") continue;
    SCOPED_TRACE(r.body);
    EXPECT_EQ(r.Header("Content-Type"), "application/json;");
    auto e = nlohmann::json::parse(r.body);
    EXPECT_EQ(e["a"], 18);
    EXPECT_EQ(e["u"], 1234) << "the channel of Setup_b12348.exe";
    const std::string p = e["p"], v = e["v"];
    EXPECT_EQ(p.size(), 32u);
    EXPECT_EQ(e["k"], KwrBase::Md5HexDigest(fmt::format("18{}{}{}", p, v, e["m"].get<std::int64_t>())));
  }
}

bool DemoSiteRun::Received(std::int64_t event) const {
  for (std::int64_t e : EventNumbers())
    if (e == event) return true;
  return false;
}

std::size_t DemoSiteRun::RequestsFor(const std::string& path) const {
  std::size_t n = 0;
  for (const RecordedRequest& r : server_->Requests()) n += r.path == path;
  return n;
}

}  // namespace testsupport
