// How the installer window ends, on the in-memory desktop: the confirmation box and its answers,
// the close requests of the desktop (Alt+F4, the window manager), closing while the package
// installer runs, the finished page, and the launch of the installed program.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "common/base/hash_algorithm.h"
#include "installer/message_box_wnd.h"
#include "platform/text_encoding.h"
#include "platform/window_messages.h"
#include "tests/installer/installer_window_fixture.h"
#include "tests/support/launch_report.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

using EventList = std::vector<std::int64_t>;

class Exit : public testsupport::InstallerWindowFlow {
 protected:
  platform::WindowHandle Box() const { return WindowOfClass("OrbiskMsgBoxWndCls"); }

  // The ways the desktop asks the window to close.
  enum class Way { kCloseButton, kAltF4, kWindowManager };
  void RequestClose(Way way) {
    switch (way) {
      case Way::kCloseButton: Click(L"btn_close"); break;
      case Way::kAltF4:
        ws.KeyDown(platform::kVkMenu);
        ws.KeyPress(platform::kVkF4);
        ws.KeyUp(platform::kVkMenu);
        break;
      case Way::kWindowManager: ws.RequestClose(window); break;
    }
  }

  // Whether the launch probe was started (it reports within moments of its start).
  bool Launched() {
    for (int i = 0; i < 50 && !fs::exists(launchReport()); ++i) std::this_thread::sleep_for(10ms);
    return fs::exists(launchReport());
  }
};

TEST_F(Exit, OnTheWelcomeStepCancelAndEnterKeepTheWindow) {
  ASSERT_NE(Open(), nullptr);
  bool checked = false;
  steps.push_back([&] {
    platform::WindowHandle box = Box();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ws.Owner(box), window);
    EXPECT_FALSE(ws.IsWindowEnabled(window)) << "modal";
    EXPECT_EQ(Control(box, L"lbl_caption")->GetText(), L"提示");
    EXPECT_EQ(Control(box, L"lbl_text")->GetText(), L"您确定退出应用安装程序？");
    EXPECT_EQ(Control(box, L"btn0")->GetText(), L"确认");
    EXPECT_EQ(Control(box, L"btn1")->GetText(), L"取消");
    EXPECT_TRUE(Control(box, L"btn1")->IsFocused()) << "the default";
    EXPECT_TRUE(Control(box, L"btn_close")->IsEnabled());
    checked = true;
    ClickControl(box, L"btn1");
  });
  Click(L"btn_close");
  Pump();
  EXPECT_TRUE(checked);
  EXPECT_TRUE(ws.IsWindow(window));
  EXPECT_TRUE(ws.IsWindowEnabled(window));
  EXPECT_EQ(Box(), nullptr);

  steps.push_back([&] { ws.KeyPress(platform::kVkReturn, U'\r'); });
  RequestClose(Way::kAltF4);
  Pump();
  EXPECT_TRUE(ws.IsWindow(window)) << "Enter chooses 取消";
  EXPECT_TRUE(steps.empty());
  EXPECT_EQ(Events(2), (EventList{2900001, 2900002})) << "Alt+F4 is not the close button";
}

// The answers of the confirmation box that let the window close.
enum class Answer { kConfirm, kBoxCloseButton, kEscape };

class ExitAnswers : public Exit, public ::testing::WithParamInterface<Answer> {};

TEST_P(ExitAnswers, TheOtherAnswersCloseTheWindow) {
  ASSERT_NE(Open(), nullptr);
  steps.push_back([&] {
    switch (GetParam()) {
      case Answer::kConfirm: ClickControl(Box(), L"btn0"); break;
      case Answer::kBoxCloseButton: ClickControl(Box(), L"btn_close"); break;
      case Answer::kEscape: ws.KeyPress(platform::kVkEscape, U'\x1b'); break;
    }
  });
  Click(L"btn_close");
  Pump();
  EXPECT_TRUE(steps.empty());
  EXPECT_FALSE(ws.IsWindow(window));
  EXPECT_EQ(Box(), nullptr);
  ExpectEventsThenClosing({2900001, 2900002});
  EXPECT_FALSE(Launched());
}

const char* NameOf(Answer answer) {
  switch (answer) {
    case Answer::kConfirm: return "confirm";
    case Answer::kBoxCloseButton: return "box_close_button";
    case Answer::kEscape: return "escape";
  }
  return "?";
}
std::ostream& operator<<(std::ostream& os, Answer answer) { return os << NameOf(answer); }
std::string AnswerName(const ::testing::TestParamInfo<Answer>& info) { return NameOf(info.param); }

INSTANTIATE_TEST_SUITE_P(Box, ExitAnswers, ::testing::Values(Answer::kConfirm, Answer::kBoxCloseButton, Answer::kEscape),
                         AnswerName);

TEST_F(Exit, TheDesktopsCloseRequestsAskOnTheWelcomeStepAndNotOnTheFinishedPage) {
  for (Way way : {Way::kAltF4, Way::kWindowManager}) {
    testsupport::TestableInstallerWnd w;
    ASSERT_NE(Open(w), nullptr);
    bool asked = false;
    steps.push_back([&] {
      asked = Box() != nullptr;
      ClickControl(Box(), L"btn1");
    });
    RequestClose(way);
    Pump();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(ws.IsWindow(window));
    steps.clear();

    InstallToTheEnd();
    RequestClose(way);
    Pump();
    EXPECT_FALSE(ws.IsWindow(window)) << "closed without asking";
    EXPECT_TRUE(steps.empty());
    DestroyWindow();
  }
  EXPECT_FALSE(Launched());
}

TEST_F(Exit, TheMinimiseButtonMinimises) {
  ASSERT_NE(Open(), nullptr);
  Click(L"btn_min");
  Pump();
  EXPECT_TRUE(ws.IsIconic(window));
  EXPECT_TRUE(ws.IsWindow(window));
}

TEST_F(Exit, ClosingDuringTheDownloadAsksThenStopsTheTransferAndKeepsWhatItHas) {
  ServePackage(0, {{"chunk", 4}, {"chunk_delay_ms", 200}});  // half a minute
  PublishConfig();
  ASSERT_NE(Open(), nullptr);
  Click(L"btn_go_step1");
  const fs::path partial = volume_ / "Orbisk_tmp" / "setup.sh.dl.tmp";
  ASSERT_TRUE(PumpUntil([&] { return fs::exists(partial) && fs::file_size(partial) > 0; })) << log_.NewText();
  bool asked = false;
  steps.push_back([&] {
    asked = Box() != nullptr;
    ClickControl(Box(), L"btn0");
  });
  const auto start = std::chrono::steady_clock::now();
  RequestClose(Way::kAltF4);
  Pump();
  EXPECT_TRUE(asked);
  EXPECT_FALSE(ws.IsWindow(window));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 10s) << "the transfer stopped at its next block";
  EXPECT_TRUE(fs::exists(partial)) << "nothing is deleted";
  EXPECT_FALSE(fs::exists(volume_ / "Orbisk_tmp" / "setup.sh"));
}

TEST_F(Exit, DuringTheInstallationClosingDoesNotAskAndWaitsForThePackageInstaller) {
  // The package installer takes a moment and leaves a mark when it is done.
  const std::string script = "#!/bin/sh\nsleep 1\ntouch \"${1#p=}.done\"\nexit 0\n";
  server_.SetRoute("/files/setup.sh", {{"body", script}});
  config["installer"]["md5"] = KwrBase::Md5HexDigest(script);
  config["installer"]["size"] = script.size();
  PublishConfig();
  ASSERT_NE(Open(), nullptr);
  Click(L"btn_go_step1");
  ASSERT_TRUE(PumpUntil([&] { return Page(L"tab_bottom") == 1; })) << log_.NewText();
  EXPECT_FALSE(Enabled(L"btn_close"));
  RequestClose(Way::kAltF4);
  Pump();
  EXPECT_EQ(Box(), nullptr);
  EXPECT_FALSE(ws.IsWindow(window));
  EXPECT_TRUE(fs::exists(fs::path(volume_ / "Orbisk").string() + ".done")) << "the window waited for it";
  // Its result arrived when the window was gone: no 901400.
  ExpectEventsThenClosing({2900001, 2901001, 2901200, 2901300});
}

TEST_F(Exit, TheFinishedPageClosesWithoutAskingAndWithoutLaunching) {
  ASSERT_NE(Open(), nullptr);
  InstallToTheEnd();
  // A user reads the page first: the reporter is idle again when the button is pressed (a report
  // still being sent would have the close button's report dropped with the closing one).
  Events(5);
  std::this_thread::sleep_for(300ms);
  Click(L"btn_close");
  Pump();
  EXPECT_EQ(Box(), nullptr);
  EXPECT_FALSE(ws.IsWindow(window));
  EXPECT_FALSE(Launched());
  ExpectEventsThenClosing({2900001, 2901001, 2901200, 2901300, 901400, 2900002});
}

TEST_F(Exit, TheLaunchButtonStartsTheProgramInTheInstallFolderAndCloses) {
  ASSERT_NE(Open(), nullptr);
  InstallToTheEnd();
  Click(L"btn_launch");
  Pump();
  EXPECT_EQ(Box(), nullptr);
  EXPECT_FALSE(ws.IsWindow(window));
  auto report = testsupport::WaitForLaunchReport(launchReport());
  ASSERT_TRUE(report);
  EXPECT_EQ((*report)["cwd"], (volume_ / "Orbisk").string());
  EXPECT_EQ((*report)["argv0"], (volume_ / "Orbisk" / "bin" / "vellumo").string());
  EXPECT_EQ((*report)["argc"], "0") << "\"args\" is empty: nothing is passed";
  ExpectEventsThenClosing({2900001, 2901001, 2901200, 2901300, 901400, 901401});
}

TEST_F(Exit, ALaunchAskedForWhileTheWorkerIsBusyStillHappens) {
  ASSERT_NE(Open(), nullptr);
  InstallToTheEnd();
  // The worker is still at work (as with the clean-up after the installation) when the button is
  // pressed: the launch waits behind it, and the window's destruction stops the worker then.
  std::atomic<bool> busy{false};
  wnd.Worker().Post([&] {
    busy = true;
    std::this_thread::sleep_for(1500ms);
  });
  while (!busy) std::this_thread::sleep_for(1ms);
  Click(L"btn_launch");
  Pump();
  EXPECT_FALSE(ws.IsWindow(window));
  auto report = testsupport::WaitForLaunchReport(launchReport());
  ASSERT_TRUE(report);
  EXPECT_EQ((*report)["cwd"], (volume_ / "Orbisk").string());
}

}  // namespace
