// The installer window's steps on the in-memory desktop, against the local test server: the
// welcome step and its space rules, the custom-install panel, the folder dialog, and the way from
// the install button through the download and the installation to the finished page, including
// the failures each step can end in.
#include <gtest/gtest.h>
#include <openssl/crypto.h>
#include <openssl/provider.h>
#include <sched.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <thread>

#include "installer/web_inst_wnd.h"
#include "platform/text_encoding.h"
#include "platform/window_messages.h"
#include "tests/installer/installer_window_fixture.h"
#include "tests/support/isolated_child.h"
#include "ui/controls/fade_sequence_ui.h"
#include "ui/controls/label_ui.h"
#include "ui/controls/sequence_ui.h"
// Last: it defines BLOCK_SIZE, a name the task queue's header uses.
#include <sys/mount.h>

using namespace SkinUI;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

using Flow = testsupport::InstallerWindowFlow;
using EventList = std::vector<std::int64_t>;

constexpr SkinColor kSpaceColour = 0x66000000, kErrorColour = 0xFFE90505;

SkinColor TextColour(CControlUI* c) { return static_cast<CLabelUI*>(c)->TextColor(); }

// A tmpfs of `bytes` at `where`, in a mount namespace of this thread's own (the window's space
// checks run on this thread), so its free space is exactly what it was made with. False where
// that is not allowed.
bool MountExactVolume(const fs::path& where, std::uint64_t bytes) {
  static const bool isolated = ::geteuid() == 0 && ::unshare(CLONE_NEWNS) == 0 &&
                               ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
  return isolated && testsupport::MountTmpfs(where, bytes);
}

TEST_F(Flow, TooLittleSpaceAtStartOpensThePanelAndKeepsTheButtonOffWhateverTheLicence) {
  config["installer"]["size"] = std::uint64_t{1} << 62;  // more than any disk
  PublishConfig();
  ASSERT_NE(Open(), nullptr);
  EXPECT_EQ(Rect().Width(), 819);
  EXPECT_EQ(Rect().Height(), 698) << "opened expanded";
  EXPECT_TRUE(Find(L"vl_custom_install")->IsVisible());
  EXPECT_FALSE(Selected(L"chk_custom_install")) << "the check box is not touched";
  EXPECT_EQ(wnd.Host().Root()->BkImage().file, L"img\\inst\\bg_dropdown.png");
  EXPECT_EQ(TextColour(Find(L"lbl_space")), kErrorColour);
  EXPECT_EQ(Text(L"lbl_space").rfind(L"所需空间：4.00 EB 可用空间：", 0), 0u) << platform::WideToUtf8(Text(L"lbl_space"));
  EXPECT_FALSE(Enabled(L"btn_go_step1"));
  for (int i = 0; i < 2; ++i) {
    Click(L"chk_lic");
    Pump();
    EXPECT_EQ(Selected(L"chk_lic"), i == 1);
    EXPECT_FALSE(Enabled(L"btn_go_step1"));
  }
  // The check box then works as usual: selected (the panel stays open), then collapsed.
  Click(L"chk_custom_install");
  Pump();
  EXPECT_EQ(Rect().Height(), 698);
  Click(L"chk_custom_install");
  Pump();
  EXPECT_EQ(Rect().Height(), 574);
  EXPECT_FALSE(Find(L"vl_custom_install")->IsVisible());
}

TEST_F(Flow, TheCustomPanelOpensAndClosesAtTheSameCornerAndIsReportedEachTime) {
  ASSERT_NE(Open(), nullptr);
  const platform::WinRect start = Rect();
  EXPECT_EQ(start.Width(), 819);
  EXPECT_EQ(start.Height(), 574);
  EXPECT_TRUE(Enabled(L"btn_go_step1"));
  EXPECT_EQ(TextColour(Find(L"lbl_space")), kSpaceColour);
  EXPECT_EQ(Text(L"edit_install_path"), platform::PathToWide(volume_ / "Orbisk")) << "the only volume";

  Click(L"chk_custom_install");
  Pump();
  EXPECT_EQ(Rect(), (platform::WinRect{start.left, start.top, start.left + 819, start.top + 698}));
  EXPECT_TRUE(Find(L"vl_custom_install")->IsVisible());
  EXPECT_EQ(wnd.Host().Root()->BkImage().file, L"img\\inst\\bg_dropdown.png");
  EXPECT_EQ(Find(L"lbl_space")->Position().bottom, 630) << "laid out at the new size at once";

  Click(L"chk_custom_install");
  Pump();
  EXPECT_EQ(Rect(), start);
  EXPECT_FALSE(Find(L"vl_custom_install")->IsVisible());
  EXPECT_EQ(wnd.Host().Root()->BkImage().file, L"img\\common\\bg.png");
  EXPECT_EQ(Events(3), (EventList{2900001, 2901002, 2901002}));
}

TEST_F(Flow, FreeSpaceMustExceedTheRequiredSpace) {
  constexpr std::uint64_t kFree = 4 << 20;
  if (!MountExactVolume(volume_, kFree)) GTEST_SKIP() << "needs root and a mount namespace";
  struct Case {
    std::uint64_t required;
    bool enough;
    const wchar_t* line;
  } cases[] = {
      {kFree - 1, true, L"所需空间：3.99 MB 可用空间：4.00 MB"},
      {kFree, false, L"所需空间：4.00 MB 可用空间：4.00 MB"},
      {kFree + 1, false, L"所需空间：4.00 MB 可用空间：4.00 MB"},
      {0, true, L"所需空间：0 bytes 可用空间：4.00 MB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.required);
    // The package announces part of it, an external item the rest (download and installed size).
    config["installer"]["size"] = c.required / 2;
    config["external"] = {{{"display", "滤镜包"}, {"target_path", "data"}, {"type", 1},
                           {"size", c.required / 4}, {"raw_size", c.required - c.required / 2 - c.required / 4},
                           {"resource", nlohmann::json::array()}}};
    PublishConfig();
    testsupport::TestableInstallerWnd w;
    ASSERT_NE(Open(w), nullptr);
    EXPECT_EQ(Text(L"lbl_space"), c.line);
    EXPECT_EQ(Enabled(L"btn_go_step1"), c.enough);
    EXPECT_EQ(Rect().Height(), c.enough ? 574 : 698);
    DestroyWindow();
  }
  ::umount2(volume_.c_str(), MNT_DETACH);
}

TEST_F(Flow, TheFolderDialogPicksTheInstallFolder) {
  fs::create_directories(volume_ / "Apps");
  struct Case {
    const char* name;
    const char* mode;  // of the fake zenity; "" = no chooser at all
    fs::path answer;
    fs::path installPath;
  } cases[] = {
      {"a volume's root gets the product folder", "choose", volume_, volume_ / "KwrSoft" / "Orbisk"},
      {"any other folder is used as it is", "choose", volume_ / "Apps", volume_ / "Apps"},
      {"cancel changes nothing", "cancel", "", volume_ / "Orbisk"},
      {"no chooser on this desktop: nothing happens", "", "", volume_ / "Orbisk"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(bin_ / "zenity");
    fs::remove(dir_ / "chooser.log");
    if (*c.mode) FakeZenity(c.mode, c.answer.string());
    server_.ClearRequests();
    testsupport::TestableInstallerWnd w;
    ASSERT_NE(Open(w), nullptr);
    const std::wstring lineBefore = Text(L"lbl_space");
    Browse();
    EXPECT_TRUE(ws.IsWindowEnabled(window)) << "input comes back";
    EXPECT_EQ(Text(L"edit_install_path"), platform::PathToWide(c.installPath));
    EXPECT_EQ(Text(L"lbl_space"), lineBefore) << "the same volume";
    EXPECT_EQ(Events(3), (EventList{2900001, 2901002, 2901003})) << "only the panel and the button";
    if (*c.mode) {
      // Proposed: the current folder's name inside its parent, under the dialog's title.
      EXPECT_EQ(ZenityCalls(), (std::vector<std::string>{"--file-selection", "--directory", "--title=请选择安装目录",
                                                         "--filename=" + (volume_ / "Orbisk").string(), "--"}));
    }
    DestroyWindow();
  }
}

TEST_F(Flow, WhileTheDialogIsOpenTheWindowIgnoresInputButItsTimersRun) {
  FakeZenity("choose", (volume_ / "Apps").string());
  // The chooser answers only when the test has seen the window during the dialog.
  testsupport::WriteFile(bin_ / "zenity", "#!/bin/sh\nwhile [ ! -e \"$FAKE_CHOOSER_LOG.go\" ]; do sleep 0.02; done\n"
                             "printf '%s\\n' \"$FAKE_CHOOSER_ANSWER\"\n");
  fs::create_directories(volume_ / "Apps");
  ASSERT_NE(Open(), nullptr);
  auto* slides = static_cast<CFadeSequenceUI*>(Find(L"seq_introduce"));
  const int frame = slides->CurrentFrame();
  bool sawDisabled = false;
  steps.push_back([&] {
    sawDisabled = !ws.IsWindowEnabled(window);
    ws.RequestClose(window);  // ignored while the dialog is open
    ClickControl(window, L"chk_lic");
    ws.AdvanceClock(3500);  // the slideshow's hold is over: it fades to the next slide
  });
  steps.push_back([&] { testsupport::WriteFile(dir_ / "chooser.log.go", ""); });
  Browse();
  EXPECT_TRUE(sawDisabled);
  EXPECT_TRUE(ws.IsWindow(window));
  EXPECT_TRUE(Selected(L"chk_lic")) << "the click did not reach the check box";
  EXPECT_TRUE(slides->FadeLevel() != 0 || slides->CurrentFrame() != frame);
  EXPECT_EQ(Text(L"edit_install_path"), platform::PathToWide(volume_ / "Apps"));
  EXPECT_EQ(ws.GetFocus(), window);
}

TEST_F(Flow, TheLicenceLinkOpensTheLicencePageAndTheCheckBoxGatesTheButton) {
  ASSERT_NE(Open(), nullptr);
  // "我已仔细阅读并同意" takes the first 9 x 12 pixels of the line; the link follows.
  const SkinRect line = Find(L"txt_lic")->Position();
  ws.Click(window, line.left + 9 * 12 + 30, (line.top + line.bottom) / 2);
  Pump();
  const fs::path urls = dir_ / "chooser.log.urls";
  ASSERT_TRUE(PumpUntil([&] { return fs::exists(urls) && !testsupport::ReadFile(urls).empty(); }));
  EXPECT_EQ(testsupport::ReadFile(urls), std::string(CWebInstWnd::kLicenceUrl) + "\n");

  EXPECT_TRUE(Enabled(L"btn_go_step1"));
  Click(L"chk_lic");
  Pump();
  EXPECT_FALSE(Enabled(L"btn_go_step1"));
  Click(L"chk_lic");
  Pump();
  EXPECT_TRUE(Enabled(L"btn_go_step1"));
}

TEST_F(Flow, EnterAndEscapeDoNothingOnAnyStep) {
  ASSERT_NE(Open(), nullptr);
  auto keys = [&] {
    ws.KeyPress(platform::kVkEscape, U'\x1b');
    ws.KeyPress(platform::kVkReturn, U'\r');
    Pump();
    return ws.IsWindow(window);
  };
  EXPECT_TRUE(keys());
  EXPECT_EQ(Page(L"tab_main"), 0) << "Enter does not press the install button";
  InstallToTheEnd();
  EXPECT_TRUE(keys());
  EXPECT_TRUE(OnFinishedPage()) << "Enter does not press the launch button";
  EXPECT_FALSE(fs::exists(launchReport()));
}

TEST_F(Flow, TheInstallButtonLeadsThroughDownloadAndInstallationToTheFinishedPage) {
  ASSERT_NE(Open(), nullptr);
  Click(L"chk_custom_install");
  Pump();
  Click(L"btn_go_step1");
  Pump();
  // The download page at once, the panel collapsed.
  EXPECT_EQ(Page(L"tab_main"), 1);
  EXPECT_EQ(Rect().Height(), 574);
  EXPECT_EQ(wnd.Host().Root()->BkImage().file, L"img\\common\\bg.png");
  ASSERT_TRUE(PumpUntil([&] { return OnFinishedPage(); })) << log_.NewText();
  EXPECT_TRUE(Enabled(L"btn_close"));
  EXPECT_EQ(Text(L"btn_launch"), L"立即体验");
  EXPECT_EQ(Events(6), (EventList{2900001, 2901002, 2901001, 2901200, 2901300, 901400}));
  // The package installer ran for the chosen folder; the downloads are gone.
  EXPECT_TRUE(fs::exists(volume_ / "Orbisk" / "bin" / "vellumo"));
  EXPECT_FALSE(fs::exists(volume_ / "Orbisk_tmp"));
  int packageRequests = 0;
  for (const auto& r : server_.Requests()) packageRequests += r.path == "/files/setup.sh";
  EXPECT_EQ(packageRequests, 1);
}

TEST_F(Flow, PauseAndResumeSwitchTheButtonAndTheRefreshShowsTheFile) {
  ServePackage(0, {{"chunk", 8}, {"chunk_delay_ms", 100}});  // about two seconds
  PublishConfig();
  const std::uint64_t size = config["installer"]["size"];
  ASSERT_NE(Open(), nullptr);
  Click(L"btn_go_step1");
  // Each second of the clock refreshes the page while the timer runs.
  auto second = [&] {
    ws.AdvanceClock(1000);
    Pump();
  };
  ASSERT_TRUE(PumpUntil([&] {
    second();
    return Text(L"lbl_dl_stat") == L"正在下载 Vellumo 图片管家 ...";
  }));
  EXPECT_EQ(Text(L"lbl_dl_size").rfind(L"已完成：", 0), 0u);
  EXPECT_TRUE(Text(L"lbl_dl_size").ends_with(L"/" + std::to_wstring(size) + L" bytes"));
  EXPECT_TRUE(Text(L"lbl_dl_speed").ends_with(L"/s"));
  EXPECT_TRUE(Text(L"lbl_dl_precent").ends_with(L"%"));

  Click(L"btn_dl_pause");
  Pump();
  EXPECT_EQ(Page(L"tab_dl_op"), 1) << "the resume button";
  // Applied at the transfer's next progress call: the timer stops and the speed empties.
  ASSERT_TRUE(PumpUntil([&] { return Text(L"lbl_dl_speed").empty(); }));
  second();
  second();
  EXPECT_EQ(Text(L"lbl_dl_speed"), L"") << "no refresh while paused";

  Click(L"btn_dl_resume");
  Pump();
  EXPECT_EQ(Page(L"tab_dl_op"), 0) << "the pause button";
  ASSERT_TRUE(PumpUntil([&] {
    second();
    return !Text(L"lbl_dl_speed").empty() || OnFinishedPage();
  }));
  ASSERT_TRUE(PumpUntil([&] { return OnFinishedPage(); })) << log_.NewText();
}

TEST_F(Flow, ADownloadFailureShowsTheRedownloadButtonWhichStartsAgain) {
  // The first answer is not the package (one byte differs); the second is.
  std::string damaged = PackageScript(0);
  damaged.back() = ' ';
  ServePackage(0, {{"sequence", nlohmann::json::array({{{"body", damaged}}, {{"body", PackageScript(0)}}})}});
  PublishConfig();
  ASSERT_NE(Open(), nullptr);
  Click(L"btn_go_step1");
  ASSERT_TRUE(PumpUntil([&] { return DownloadFailedShown(); })) << log_.NewText();
  EXPECT_EQ(Text(L"lbl_dl_stat"), L"下载失败");
  EXPECT_EQ(TextColour(Find(L"lbl_dl_stat")), kErrorColour);
  EXPECT_NE(log_.NewText().find("md5 verify failed"), std::string::npos);

  Click(L"btn_dl_re-download");
  ASSERT_TRUE(PumpUntil([&] { return OnFinishedPage(); })) << log_.NewText();
  EXPECT_EQ(Events(7), (EventList{2900001, 2901001, 2901200, 2901201, 2901202, 2901300, 901400}));
}

TEST_F(Flow, AFailedInstallationShowsTheFailurePageAndKeepsTheFiles) {
  ServePackage(3);
  PublishConfig();
  ASSERT_NE(Open(), nullptr);
  Click(L"btn_go_step1");
  ASSERT_TRUE(PumpUntil([&] { return InstallFailedShown(); })) << log_.NewText();
  EXPECT_EQ(Page(L"tab_bottom"), 1);
  EXPECT_EQ(TextColour(Find(L"lbl_inst_stat")), kErrorColour);
  EXPECT_TRUE(Enabled(L"btn_close"));
  auto* bar = static_cast<CSequenceUI*>(Find(L"seq_inst"));
  EXPECT_TRUE(bar->BkImage().file.empty()) << "the bar shows its red background";
  EXPECT_EQ(bar->CurrentFrame(), 0);
  EXPECT_NE(log_.NewText().find("Installer exitcode:3"), std::string::npos);
  EXPECT_TRUE(fs::exists(volume_ / "Orbisk_tmp" / "setup.sh"));
  EXPECT_EQ(Events(5), (EventList{2900001, 2901001, 2901200, 2901300, 2901301}));
}

TEST_F(Flow, NothingToDownloadIsAFailedInstallation) {
  config["installer"]["url"] = "";
  PublishConfig();
  ASSERT_NE(Open(), nullptr);
  Click(L"btn_go_step1");
  ASSERT_TRUE(PumpUntil([&] { return InstallFailedShown(); })) << log_.NewText();
  EXPECT_EQ(Events(5), (EventList{2900001, 2901001, 2901200, 2901300, 2901301}));
}

TEST_F(Flow, WithoutTheDigestServiceTheDownloadFailsAndTheRedownloadAsksForItAgain) {
  ASSERT_NE(Open(), nullptr);
  // This thread's library context offers no MD5 while the install button is handled.
  OSSL_LIB_CTX* empty = OSSL_LIB_CTX_new();
  OSSL_PROVIDER* none = OSSL_PROVIDER_load(empty, "null");
  OSSL_LIB_CTX* usual = OSSL_LIB_CTX_set0_default(empty);
  Click(L"btn_go_step1");
  Pump();
  OSSL_LIB_CTX_set0_default(usual);
  OSSL_PROVIDER_unload(none);
  OSSL_LIB_CTX_free(empty);
  ASSERT_TRUE(PumpUntil([&] { return DownloadFailedShown(); })) << log_.NewText();
  EXPECT_EQ(Text(L"lbl_dl_stat"), L"下载失败");
  EXPECT_NE(log_.NewText().find("CryptAcquireContextW failed."), std::string::npos);

  Click(L"btn_dl_re-download");
  ASSERT_TRUE(PumpUntil([&] { return OnFinishedPage(); })) << log_.NewText();
}

TEST_F(Flow, ClosuresRunInPostingOrderAndOnesForAGoneWindowAreFreedUnrun) {
  ASSERT_NE(Open(), nullptr);
  std::vector<int> ran;
  std::thread poster([&] {
    for (int i = 0; i < 200; ++i) wnd.PostToUi([&ran, i] { ran.push_back(i); });
  });
  poster.join();
  ASSERT_TRUE(PumpUntil([&] { return ran.size() == 200; }));
  for (int i = 0; i < 200; ++i) ASSERT_EQ(ran[i], i);

  // Queued when the window goes, and posted after it has gone: none runs, each is freed.
  auto token = std::make_shared<int>(0);
  std::atomic<int> runs{0};
  wnd.PostToUi([token, &runs] { ++runs; });
  ws.DestroyWindow(window);
  wnd.PostToUi([token, &runs] { ++runs; });
  Pump();
  EXPECT_EQ(runs.load(), 0);
  EXPECT_EQ(token.use_count(), 1) << "both closures were destroyed";
}

}  // namespace
