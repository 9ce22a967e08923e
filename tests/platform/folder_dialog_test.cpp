#include "platform/folder_dialog.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <thread>

#include "tests/support/process.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using platform::FolderDialog;
using platform::FolderDialogOptions;
using platform::FolderDialogOutcome;
using testsupport::ReadFile;
using testsupport::WriteFile;

bool Readable(int fd, int timeoutMs) {
  pollfd p{fd, POLLIN, 0};
  return poll(&p, 1, timeoutMs) == 1 && (p.revents & POLLIN);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// Waits (up to 20 s) until `file` holds a line starting with `prefix`; returns that line.
std::string WaitForLine(const fs::path& file, const std::string& prefix) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline) {
    for (const auto& line : Lines(ReadFile(file)))
      if (line.starts_with(prefix)) return line;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return {};
}

// Choosers under test: fake "zenity"/"kdialog" scripts alone on PATH, and no session bus unless
// a test starts one of its own.
class FolderDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(bin_);
    fs::create_directories(runtime_);
    env_.Set("PATH", bin_.string());
    env_.Set("DBUS_SESSION_BUS_ADDRESS", "");
    env_.Set("XDG_RUNTIME_DIR", runtime_.string());
    env_.Set("FAKE_CHOOSER_LOG", log_.string());
    options_.title = "请选择安装目录";
    options_.initialFolder = dir_ / "Apps";
    options_.fileName = "Orbisk";
  }

  // A chooser program that logs its command line and pid, then does what FAKE_<NAME>_MODE says:
  // "choose" (prints FAKE_CHOOSER_ANSWER), "cancel", "hang", anything else fails. Shell
  // built-ins only: PATH holds nothing else.
  void AddChooser(const std::string& name, const std::string& mode) {
    std::string var = name == "zenity" ? "FAKE_ZENITY_MODE" : "FAKE_KDIALOG_MODE";
    WriteFile(bin_ / name, "#!/bin/sh\n"
                           "printf '%s\\n' \"$0\" \"$@\" -- \"pid $$\" >> \"$FAKE_CHOOSER_LOG\"\n"
                           "case \"$" + var + "\" in\n"
                           "  choose) printf '%s\\n' \"$FAKE_CHOOSER_ANSWER\"; exit 0 ;;\n"
                           "  cancel) exit 1 ;;\n"
                           "  hang) exec /bin/sleep 60 ;;\n"
                           "  *) echo 'cannot open display' >&2; exit 255 ;;\n"
                           "esac\n");
    fs::permissions(bin_ / name, fs::perms(0755));
    env_.Set(var, mode);
  }

  // The command lines the choosers were started with, program first.
  std::vector<std::vector<std::string>> Calls() const {
    std::vector<std::vector<std::string>> calls(1);
    for (const auto& line : Lines(ReadFile(log_))) {
      if (line == "--") calls.emplace_back();
      else if (!line.starts_with("pid ")) calls.back().push_back(line);
    }
    calls.pop_back();
    return calls;
  }

  testsupport::TempDir dir_;
  fs::path bin_ = dir_ / "bin";
  fs::path runtime_ = dir_ / "runtime";
  fs::path log_ = dir_ / "chooser.log";
  testsupport::ScopedEnv env_;
  FolderDialogOptions options_;
};

TEST_F(FolderDialogTest, ZenityAnswerIsTheChosenFolder) {
  AddChooser("zenity", "choose");
  AddChooser("kdialog", "choose");
  env_.Set("FAKE_CHOOSER_ANSWER", "/srv/my folder/图片 ");  // the line end is not part of it; a space is
  auto result = platform::ShowFolderDialog(options_);
  EXPECT_EQ(result.outcome, FolderDialogOutcome::kChosen);
  EXPECT_EQ(result.folder, fs::path("/srv/my folder/图片 "));
  auto calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], (std::vector<std::string>{(bin_ / "zenity").string(), "--file-selection", "--directory",
                                                "--title=请选择安装目录",
                                                "--filename=" + (dir_ / "Apps" / "Orbisk").string()}));
}

TEST_F(FolderDialogTest, ZenityCancelIsFinalAndNoOtherChooserIsTried) {
  AddChooser("zenity", "cancel");
  AddChooser("kdialog", "choose");
  EXPECT_EQ(platform::ShowFolderDialog(options_).outcome, FolderDialogOutcome::kCancelled);
  EXPECT_EQ(Calls().size(), 1u);
}

TEST_F(FolderDialogTest, KdialogStandsInWhenZenityCannotShowAChooser) {
  AddChooser("zenity", "broken");
  AddChooser("kdialog", "choose");
  env_.Set("FAKE_CHOOSER_ANSWER", "/data/Apps");
  options_.ownerWindow = 0x3a00007;
  auto result = platform::ShowFolderDialog(options_);
  EXPECT_EQ(result.outcome, FolderDialogOutcome::kChosen);
  EXPECT_EQ(result.folder, fs::path("/data/Apps"));
  auto calls = Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1], (std::vector<std::string>{(bin_ / "kdialog").string(), "--attach", std::to_string(0x3a00007),
                                                "--title", "请选择安装目录", "--getexistingdirectory",
                                                (dir_ / "Apps").string()}));
}

TEST_F(FolderDialogTest, WithoutAnyChooserTheDialogIsUnavailable) {
  FolderDialog dialog;
  EXPECT_FALSE(dialog.Start(options_));
  EXPECT_TRUE(Readable(dialog.CompletionFd(), 0));
  EXPECT_EQ(dialog.Result().outcome, FolderDialogOutcome::kUnavailable);
  EXPECT_EQ(platform::ShowFolderDialog(options_).outcome, FolderDialogOutcome::kUnavailable);

  // A chooser that is installed but cannot show anything is no better.
  AddChooser("zenity", "broken");
  FolderDialog broken;
  EXPECT_TRUE(broken.Start(options_));
  EXPECT_EQ(broken.Result().outcome, FolderDialogOutcome::kUnavailable);
}

// The caller's loop keeps running while the chooser is open: it waits on the descriptor.
TEST_F(FolderDialogTest, RunsBesideTheCallerAndCanBeDismissed) {
  AddChooser("zenity", "hang");
  FolderDialog dialog;
  EXPECT_EQ(dialog.CompletionFd(), -1);
  ASSERT_TRUE(dialog.Start(options_));
  EXPECT_FALSE(dialog.Start(options_));  // one chooser per dialog
  std::string pidLine = WaitForLine(log_, "pid ");
  ASSERT_FALSE(pidLine.empty());
  pid_t pid = std::stoi(pidLine.substr(4));
  EXPECT_FALSE(Readable(dialog.CompletionFd(), 0));
  EXPECT_FALSE(dialog.Finished());

  dialog.Dismiss();
  ASSERT_TRUE(Readable(dialog.CompletionFd(), 20000));
  EXPECT_TRUE(dialog.Finished());
  EXPECT_EQ(dialog.Result().outcome, FolderDialogOutcome::kCancelled);
  EXPECT_EQ(kill(pid, 0), -1);  // the chooser is gone, not left on the screen
  EXPECT_EQ(errno, ESRCH);
}

TEST_F(FolderDialogTest, AnswerArrivesThroughTheDescriptor) {
  AddChooser("zenity", "choose");
  env_.Set("FAKE_CHOOSER_ANSWER", "/home/anna");
  FolderDialog dialog;
  ASSERT_TRUE(dialog.Start(options_));
  ASSERT_TRUE(Readable(dialog.CompletionFd(), 20000));
  EXPECT_TRUE(Readable(dialog.CompletionFd(), 0));  // and stays readable
  auto result = dialog.Result();
  EXPECT_EQ(result.outcome, FolderDialogOutcome::kChosen);
  EXPECT_EQ(result.folder, fs::path("/home/anna"));
}

TEST_F(FolderDialogTest, DestroyingTheDialogClosesAnOpenChooser) {
  AddChooser("zenity", "hang");
  pid_t pid = 0;
  {
    FolderDialog dialog;
    ASSERT_TRUE(dialog.Start(options_));
    std::string pidLine = WaitForLine(log_, "pid ");
    ASSERT_FALSE(pidLine.empty());
    pid = std::stoi(pidLine.substr(4));
  }
  EXPECT_EQ(kill(pid, 0), -1);
}

// A message bus of the test's own, without service activation, and optionally a fake portal.
class PortalTest : public FolderDialogTest {
 protected:
  void SetUp() override {
    FolderDialogTest::SetUp();
    if (!fs::exists("/usr/bin/dbus-daemon")) GTEST_SKIP() << "no dbus-daemon";
    WriteFile(dir_ / "bus.conf",
              "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
              " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
              "<busconfig><type>session</type><listen>unix:path=" + (dir_ / "bus").string() + "</listen>"
              "<auth>EXTERNAL</auth><policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
              "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n");
    bus_ = std::make_unique<testsupport::BackgroundProcess>(std::vector<std::string>{
        "/usr/bin/dbus-daemon", "--config-file=" + (dir_ / "bus.conf").string(), "--nofork", "--print-address=1"});
    auto address = bus_->ReadLine(std::chrono::seconds(20));
    ASSERT_TRUE(address && address->starts_with("unix:")) << address.value_or("(nothing)");
    address_ = *address;
    env_.Set("DBUS_SESSION_BUS_ADDRESS", address_);
  }

  void StartPortal(const std::map<std::string, std::string>& env) {
    testsupport::ProcessOptions options;
    options.setEnv = env;
    options.setEnv["DBUS_SESSION_BUS_ADDRESS"] = address_;
    options.setEnv["FAKE_PORTAL_LOG"] = portalLog_.string();
    portal_ = std::make_unique<testsupport::BackgroundProcess>(std::vector<std::string>{FAKE_PORTAL_EXE}, options);
    auto ready = portal_->ReadLine(std::chrono::seconds(20));
    ASSERT_EQ(ready.value_or("(nothing)"), "ready");
  }

  std::unique_ptr<testsupport::BackgroundProcess> bus_, portal_;
  std::string address_;
  fs::path portalLog_ = dir_ / "portal.log";
};

TEST_F(PortalTest, PortalChooserIsUsedFirstAndItsUriDecoded) {
  AddChooser("zenity", "choose");
  StartPortal({{"FAKE_PORTAL_URI", "file:///srv/my%20folder/%E5%9B%BE%E7%89%87"}});
  options_.ownerWindow = 0x3a00007;
  auto result = platform::ShowFolderDialog(options_);
  EXPECT_EQ(result.outcome, FolderDialogOutcome::kChosen);
  EXPECT_EQ(result.folder, fs::path("/srv/my folder/图片"));
  EXPECT_EQ(Lines(ReadFile(portalLog_)),
            (std::vector<std::string>{"OpenFile parent=x11:3a00007 title=请选择安装目录", "directory=true", "modal=true",
                                      "current_folder=" + (dir_ / "Apps").string()}));
  EXPECT_TRUE(Calls().empty());
}

TEST_F(PortalTest, PortalCancelIsFinal) {
  AddChooser("zenity", "choose");
  for (const char* response : {"1", "2"}) {
    SCOPED_TRACE(response);
    portal_.reset();
    StartPortal({{"FAKE_PORTAL_RESPONSE", response}});
    EXPECT_EQ(platform::ShowFolderDialog(options_).outcome, FolderDialogOutcome::kCancelled);
  }
  EXPECT_TRUE(Calls().empty());
}

TEST_F(PortalTest, WithoutAFolderCapablePortalTheProgramsAreUsed) {
  AddChooser("zenity", "choose");
  env_.Set("FAKE_CHOOSER_ANSWER", "/data");
  // First a bus with nobody on it, then a portal too old to choose folders.
  EXPECT_EQ(platform::ShowFolderDialog(options_).folder, fs::path("/data"));
  StartPortal({{"FAKE_PORTAL_VERSION", "2"}});
  EXPECT_EQ(platform::ShowFolderDialog(options_).folder, fs::path("/data"));
  EXPECT_EQ(Calls().size(), 2u);
  EXPECT_FALSE(fs::exists(portalLog_));  // never asked to open anything
}

TEST_F(PortalTest, DismissClosesThePortalRequest) {
  StartPortal({{"FAKE_PORTAL_RESPONSE", "hold"}});
  FolderDialog dialog;
  ASSERT_TRUE(dialog.Start(options_));
  ASSERT_FALSE(WaitForLine(portalLog_, "OpenFile").empty());
  EXPECT_FALSE(Readable(dialog.CompletionFd(), 0));
  dialog.Dismiss();
  EXPECT_EQ(dialog.Result().outcome, FolderDialogOutcome::kCancelled);
  EXPECT_FALSE(WaitForLine(portalLog_, "Close /org/freedesktop/portal/desktop/request/").empty());
}

TEST(FileUriTest, FileUrisDecodeToLocalPaths) {
  struct Case {
    const char* uri;
    std::optional<fs::path> path;
  } cases[] = {
      {"file:///home/anna/Pictures", fs::path("/home/anna/Pictures")},
      {"file:///srv/my%20folder/%e5%9b%be", fs::path("/srv/my folder/图")},
      {"FILE:///x", fs::path("/x")},
      {"file://localhost/opt/a%25b", fs::path("/opt/a%b")},
      {"file://otherhost/share", std::nullopt},
      {"https://example.com/x", std::nullopt},
      {"file:///bad%2", std::nullopt},
      {"file:///bad%zz", std::nullopt},
      {"file:///nul%00byte", std::nullopt},
      {"file:///a?b", std::nullopt},
      {"file://", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(platform::PathFromFileUri(c.uri), c.path) << c.uri;
}

}  // namespace
