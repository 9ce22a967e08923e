#include "platform/child_process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "tests/support/temp_dir.h"

namespace {
using platform::ChildExit;
using platform::RunChildAndWait;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

std::string Script(const TempDir& dir, const std::string& name, const std::string& body) {
  auto path = dir / name;
  WriteFile(path, "#!/bin/sh\n" + body);
  std::filesystem::permissions(path, std::filesystem::perms(0755));
  return path.string();
}

TEST(ChildProcess, ArgumentsArriveAsGivenAndTheExitCodeComesBack) {
  TempDir dir;
  auto out = dir / "args";
  std::string program = Script(dir, "with space.sh", "for a in \"$0\" \"$@\"; do echo \"[$a]\"; done > '" +
                                                          out.string() + "'\nexit 1603\n");
  ChildExit r = RunChildAndWait({program, "p=/opt/a b/Orbisk", "u=1110", "f=7"});
  ASSERT_TRUE(r.started) << r.startError;
  EXPECT_EQ(r.exitCode, 1603u & 0xFF) << "the system keeps the low 8 bits of an exit status";
  EXPECT_EQ(ReadFile(out), "[" + program + "]\n[p=/opt/a b/Orbisk]\n[u=1110]\n[f=7]\n");

  EXPECT_EQ(RunChildAndWait({Script(dir, "ok.sh", "exit 0\n")}).exitCode, 0u);
}

TEST(ChildProcess, AChildEndedByASignalIsAFailure) {
  TempDir dir;
  ChildExit r = RunChildAndWait({Script(dir, "kill.sh", "kill -KILL $$\n")});
  ASSERT_TRUE(r.started);
  EXPECT_EQ(r.exitCode, 128u + SIGKILL);
}

TEST(ChildProcess, OnlyTheStandardDescriptorsReachTheChild) {
  TempDir dir;
  // Opened without close-on-exec, as a careless library might.
  int leaked = ::open((dir / "leak").c_str(), O_CREAT | O_WRONLY, 0600);
  ASSERT_GE(leaked, 3);
  auto out = dir / "fds";
  std::string program = Script(dir, "fds.sh", "if [ -e /proc/$$/fd/" + std::to_string(leaked) +
                                                  " ]; then echo open; else echo closed; fi > '" + out.string() +
                                                  "'\n[ -e /proc/$$/fd/2 ] && echo stderr >> '" + out.string() + "'\n");
  ChildExit r = RunChildAndWait({program});
  ::close(leaked);
  ASSERT_TRUE(r.started);
  EXPECT_EQ(ReadFile(out), "closed\nstderr\n");
}

TEST(ChildProcess, TheExitCodeSurvivesAnIgnoredSigchld) {
  TempDir dir;
  struct sigaction ignore {}, old {};
  ignore.sa_handler = SIG_IGN;
  ASSERT_EQ(::sigaction(SIGCHLD, &ignore, &old), 0);
  ChildExit r = RunChildAndWait({Script(dir, "three.sh", "exit 3\n")});
  ::sigaction(SIGCHLD, &old, nullptr);
  ASSERT_TRUE(r.started);
  EXPECT_EQ(r.exitCode, 3u);
}

TEST(ChildProcess, ProgramsThatCannotRunAreNotStarted) {
  TempDir dir;
  WriteFile(dir / "no_exec.sh", "#!/bin/sh\nexit 0\n");  // mode 0644
  WriteFile(dir / "no_shebang", "exit 0\n");
  std::filesystem::permissions(dir / "no_shebang", std::filesystem::perms(0755));
  std::filesystem::create_directory(dir / "folder");
  const struct {
    std::string program;
    int error;
  } cases[] = {
      {(dir / "missing").string(), ENOENT},
      {(dir / "no_exec.sh").string(), EACCES},
      {(dir / "no_shebang").string(), ENOEXEC},
      {(dir / "folder").string(), EACCES},
      {"sh", ENOENT},  // no search of PATH
      {"", ENOENT},
  };
  for (const auto& c : cases) {
    ChildExit r = RunChildAndWait({c.program, "p=x"});
    EXPECT_FALSE(r.started) << c.program;
    EXPECT_EQ(r.startError, c.error) << c.program;
  }
}

}  // namespace
