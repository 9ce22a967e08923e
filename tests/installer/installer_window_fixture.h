#pragma once
// The installer window on the in-memory desktop, run as start-up runs it against the local test
// server: the configuration it asks for, the statistics events it sends, the files it downloads
// and the package installer it starts (a small script), with a volume table of the test's own and
// fake choosers (zenity, xdg-open) first on PATH.
#include <chrono>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "installer/web_inst_wnd.h"
#include "tests/installer/headless_ui_fixture.h"
#include "tests/support/fake_volumes.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_log.h"
#include "tests/support/test_server.h"

namespace SkinUI {
class CTabLayoutUI;
}

namespace testsupport {

// The window with access to its worker: a test keeps it busy to see what waits behind it.
class TestableInstallerWnd : public CWebInstWnd {
 public:
  using CWebInstWnd::Worker;
};

class InstallerWindowFlow : public HeadlessUi {
 protected:
  void SetUp() override;
  void TearDown() override;

  // ---- the configuration the server answers with ------------------------------------------
  // The package installer: a shell script that puts the launch probe into <folder>/bin/vellumo
  // and exits with `exitCode`. Served at "/files/setup.sh" with its size and MD5; `delivery` adds
  // route keys (a slow body, a sequence of answers).
  void ServePackage(int exitCode = 0, const nlohmann::json& delivery = nlohmann::json::object());
  // The script ServePackage serves.
  static std::string PackageScript(int exitCode);
  // Answers the configuration request with `config` (the default: ServePackage's installer,
  // "starup" bin\vellumo with empty "args", no external items).
  void PublishConfig();
  nlohmann::json config;

  // ---- the window ----------------------------------------------------------------------------
  // Fetches the configuration and opens the window (`wnd`, or another one) as start-up does, with
  // the test's volume table; the handle, also kept in `window` (none when the window could not be
  // made).
  platform::WindowHandle Open() { return Open(wnd); }
  platform::WindowHandle Open(CWebInstWnd& w);
  SkinUI::CControlUI* Find(const std::wstring& name) { return Control(window, name); }
  int Page(const std::wstring& tab);
  std::wstring Text(const std::wstring& name) { return Find(name)->GetText(); }
  bool Enabled(const std::wstring& name) { return Find(name)->IsEnabled(); }
  bool Selected(const std::wstring& name);
  void Click(const std::wstring& name) { ClickControl(window, name); }
  platform::WinRect Rect() const { return ws.GetWindowRect(window); }
  // Destroys the window and runs what is left up to the quit message it posts (so the next window
  // of the test finds no quit waiting).
  void DestroyWindow();

  // Dispatches what is due, each message offered to the UI framework first as the message loop
  // does (pre-message filters, shortcuts).
  void Pump();
  // Runs the window's messages (closures of the worker included) until `done` or 60 s.
  bool PumpUntil(const std::function<bool()>& done);
  // The steps of the run as the pages show them.
  bool OnFinishedPage() { return Page(L"tab_main") == 1 && Page(L"tab_bottom") == 2; }
  bool DownloadFailedShown() { return Page(L"tab_main") == 1 && Page(L"tab_dl_op") == 2; }
  bool InstallFailedShown() { return Text(L"lbl_inst_stat") == L"安装失败"; }
  // Install button, download and installation, up to the finished page.
  void InstallToTheEnd();

  // ---- what went out -------------------------------------------------------------------------
  // The client events received so far ("m" in posting order), waiting for at least `count`.
  std::vector<std::int64_t> Events(std::size_t count = 0);
  // After the window has gone: `before` in order, then the closing event 2900003 unless the
  // reporter was still sending the previous report when the window went (the closing report is
  // dropped then; it is never late: the window's destruction waits for the reporter).
  void ExpectEventsThenClosing(const std::vector<std::int64_t>& before);
  // Where the launch probe reports when the installed program is started.
  std::filesystem::path launchReport() const { return dir_ / "launched"; }

  // ---- the fake chooser ----------------------------------------------------------------------
  // "zenity" answers `answer` (mode "choose") or is cancelled ("cancel").
  void FakeZenity(const std::string& mode, const std::string& answer = "");
  std::vector<std::string> ZenityCalls() const;
  // Clicks "btn_browser" and runs the window until the chooser has answered: the dialog runs
  // beside the window's loop, which waits for it while the window is disabled.
  void Browse();

  bool dialogPending_ = false;
  TempDir dir_;
  std::filesystem::path volume_ = dir_ / "vol";  // the one local fixed volume of the table
  std::filesystem::path bin_ = dir_ / "bin";     // first on PATH
  FakeVolumes volumes_;
  TestServer server_;
  ScopedEnv env_;
  LogMark log_;
  TestableInstallerWnd wnd;
  platform::WindowHandle window = nullptr;
};

}  // namespace testsupport
