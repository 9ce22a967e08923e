#include "tests/installer/installer_window_fixture.h"

#include <sstream>
#include <thread>

#include "common/base/hash_algorithm.h"
#include "installer/message_box_wnd.h"
#include "stats/launch_context.h"
#include "ui/controls/option_ui.h"
#include "ui/core/tab_layout_ui.h"

namespace testsupport {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

void InstallerWindowFlow::SetUp() {
  HeadlessUi::SetUp();
  TheLaunchContext().Init();
  fs::create_directories(volume_);
  fs::create_directories(bin_);
  fs::create_directories(dir_ / "runtime");
  volumes_.Add({volume_});
  for (const char* name : {"WEBINST_CONFIG_SERVER", "WEBINST_STATS_SERVER", "WEBINST_INSTALL_STATS_SERVER"})
    env_.Set(name, server_.BaseUrl());
  for (const char* path : {"/api/clientevent", "/api/clientact", "/api/clientinstall", "/install", "/uninstall"})
    server_.SetRoute(path, {{"body", "ok"}});
  // The choosers and the browser are ours; no desktop portal answers.
  env_.Set("PATH", bin_.string() + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin"));
  env_.Set("DBUS_SESSION_BUS_ADDRESS", "");
  env_.Set("XDG_RUNTIME_DIR", (dir_ / "runtime").string());
  env_.Set("FAKE_CHOOSER_LOG", (dir_ / "chooser.log").string());
  env_.Set("LAUNCH_PROBE_REPORT", launchReport().string());
  for (const char* name : {"SUDO_UID", "SUDO_GID", "PKEXEC_UID"}) env_.Unset(name);
  WriteFile(bin_ / "xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"$FAKE_CHOOSER_LOG.urls\"\n");
  fs::permissions(bin_ / "xdg-open", fs::perms(0755));

  ServePackage(0);
  config["starup"] = {{"main", "bin\\vellumo"}, {"args", ""}};
  config["external"] = nlohmann::json::array();
  PublishConfig();

  // Steps first; then, while a chooser runs, idle time waits for it (the window is disabled).
  ws.SetIdleCallback([this] {
    if (!steps.empty()) {
      std::function<void()> step = std::move(steps.front());
      steps.pop_front();
      step();
      return true;
    }
    if (dialogPending_ && window != nullptr && ws.IsWindow(window) && !ws.IsWindowEnabled(window)) {
      std::this_thread::sleep_for(5ms);
      return true;
    }
    return false;
  });
  log_ = LogMark();
}

void InstallerWindowFlow::TearDown() {
  if (window != nullptr && ws.IsWindow(window)) ws.DestroyWindow(window);
  HeadlessUi::TearDown();
}

std::string InstallerWindowFlow::PackageScript(int exitCode) {
  return "#!/bin/sh\n"
         "dir=${1#p=}\n"
         "mkdir -p \"$dir/bin\" && cp '" LAUNCH_PROBE_EXE "' \"$dir/bin/vellumo\" || exit 9\n"
         "exit " + std::to_string(exitCode) + "\n";
}

void InstallerWindowFlow::ServePackage(int exitCode, const nlohmann::json& delivery) {
  const std::string script = PackageScript(exitCode);
  nlohmann::json route = {{"body", script}};
  route.update(delivery);
  server_.SetRoute("/files/setup.sh", route);
  config["installer"] = {{"display", "Vellumo 图片管家"},
                         {"md5", KwrBase::Md5HexDigest(script)},
                         {"size", script.size()},
                         {"url", server_.BaseUrl() + "/files/setup.sh"}};
}

void InstallerWindowFlow::PublishConfig() { server_.SetRoute("/api/int_kestrel_download.json", {{"json", config}}); }

platform::WindowHandle InstallerWindowFlow::Open(CWebInstWnd& w) {
  w.SetVolumeSources(volumes_.sources());
  if (!w.RequestConfig()) return nullptr;
  w.SetSkinArchive(SkinUI::WindowImplBaseNew::kArchiveResource, L"", kSkinArchiveId, kSkinArchiveType, true);
  window = w.Create(nullptr, CWebInstWnd::kTitle, nullptr, CWebInstWnd::kStyle, 0);
  if (window == nullptr) return nullptr;
  w.CenterOnOwner();
  w.ShowWindow(true, true);
  Pump();
  return window;
}

void InstallerWindowFlow::DestroyWindow() {
  ws.DestroyWindow(window);
  platform::Message msg;
  while (ws.GetMessage(msg))
    if (!SkinUI::CSkinHost::TranslateMessage(msg)) ws.DispatchMessage(msg);
}

int InstallerWindowFlow::Page(const std::wstring& tab) {
  auto* layout = dynamic_cast<SkinUI::CTabLayoutUI*>(Find(tab));
  return layout != nullptr ? layout->CurrentSel() : -1;
}

bool InstallerWindowFlow::Selected(const std::wstring& name) {
  auto* option = dynamic_cast<SkinUI::COptionUI*>(Find(name));
  return option != nullptr && option->IsSelected();
}

void InstallerWindowFlow::Pump() {
  ws.PumpMessages([](const platform::Message& msg) { return SkinUI::CSkinHost::TranslateMessage(msg); });
}

bool InstallerWindowFlow::PumpUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + 60s;
  for (;;) {
    Pump();
    if (done()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    ws.WaitForPost(20);
  }
}

void InstallerWindowFlow::InstallToTheEnd() {
  Click(L"btn_go_step1");
  ASSERT_TRUE(PumpUntil([&] { return OnFinishedPage() || DownloadFailedShown() || InstallFailedShown(); }))
      << "pages " << Page(L"tab_main") << Page(L"tab_bottom") << Page(L"tab_dl_op") << " enabled "
      << Enabled(L"btn_go_step1") << "\n" << log_.NewText();
  ASSERT_TRUE(OnFinishedPage()) << log_.NewText();
}

std::vector<std::int64_t> InstallerWindowFlow::Events(std::size_t count) {
  std::vector<std::int64_t> events;
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  do {
    events.clear();
    for (const RecordedRequest& r : server_.Requests())
      if (r.path == "/api/clientevent") events.push_back(nlohmann::json::parse(r.body)["m"].get<std::int64_t>());
    if (events.size() >= count) break;
    std::this_thread::sleep_for(20ms);
  } while (std::chrono::steady_clock::now() < deadline);
  return events;
}

void InstallerWindowFlow::ExpectEventsThenClosing(const std::vector<std::int64_t>& before) {
  std::vector<std::int64_t> events = Events(before.size());
  if (events.size() == before.size() + 1) {
    EXPECT_EQ(events.back(), 2900003);
    events.pop_back();
  }
  EXPECT_EQ(events, before);
}

void InstallerWindowFlow::FakeZenity(const std::string& mode, const std::string& answer) {
  WriteFile(bin_ / "zenity", "#!/bin/sh\n"
                             "printf '%s\\n' \"$@\" -- >> \"$FAKE_CHOOSER_LOG\"\n"
                             "case \"$FAKE_ZENITY_MODE\" in\n"
                             "  choose) printf '%s\\n' \"$FAKE_CHOOSER_ANSWER\"; exit 0 ;;\n"
                             "  *) exit 1 ;;\n"
                             "esac\n");
  fs::permissions(bin_ / "zenity", fs::perms(0755));
  env_.Set("FAKE_ZENITY_MODE", mode);
  env_.Set("FAKE_CHOOSER_ANSWER", answer);
}

std::vector<std::string> InstallerWindowFlow::ZenityCalls() const {
  std::vector<std::string> lines;
  std::istringstream in(ReadFile(dir_ / "chooser.log"));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void InstallerWindowFlow::Browse() {
  if (!Find(L"vl_custom_install")->IsVisible()) {
    Click(L"chk_custom_install");
    Pump();
  }
  dialogPending_ = true;
  Click(L"btn_browser");
  Pump();
  dialogPending_ = false;
}

}  // namespace testsupport
