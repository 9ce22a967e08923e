#include "app/logging_setup.h"

#include <gtest/gtest.h>

#include <regex>

#include "tests/app/installer_process.h"

namespace {

TEST(LogFile, LivesInTheLogFolderBesideTheExecutable) {
  EXPECT_EQ(LogFilePath("/d/Downloads/setup.exe"), std::filesystem::path("/d/Downloads/log/setup.exe.log"));
  EXPECT_EQ(LogFilePath("/x/Setup_b12348.exe"), std::filesystem::path("/x/log/Setup_b12348.exe.log"));
}

TEST(LogFile, IsWrittenOnlyWhenTheFolderExists) {
  testsupport::InstallerCopy noFolder("setup.exe", /*withLogFolder=*/false);
  EXPECT_EQ(noFolder.Run().exitCode, 0);
  EXPECT_FALSE(std::filesystem::exists(noFolder.folder() / "log"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(noFolder.folder()), {}), 1);
}

TEST(LogFile, EachRunAppendsItsLifeSpanLines) {
  testsupport::InstallerCopy copy("Setup_b12348.exe");
  ASSERT_EQ(copy.Run().exitCode, 0);
  ASSERT_EQ(copy.Run().exitCode, 0);
  std::string log = copy.log();
  const std::regex line(
      R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} NONE  \[\d+\] \[plogext::CLifeSpanLog::(~?)CLifeSpanLog@\d+\] Log (un)?init\r\n)");
  std::vector<std::string> kinds;
  for (auto it = std::sregex_iterator(log.begin(), log.end(), line); it != std::sregex_iterator(); ++it)
    kinds.push_back((*it)[2].matched ? "uninit" : "init");
  EXPECT_EQ(kinds, (std::vector<std::string>{"init", "uninit", "init", "uninit"})) << log;
  // Nothing but those four lines, each run's launch-context line and the three lines of its failed
  // start-up (no X display, no server listening, and the failure where no box can show it): no
  // header, no stray text.
  const std::regex context(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} INFO  \[\d+\] \[LaunchContext::Init@\d+\] [^\r\n]*\r\n)");
  const std::regex config(
      R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} ERROR \[\d+\] \[(CWebInstWnd::RequestConfig|\{anonymous\}::SetUpUi|\{anonymous\}::ShowStartupFailure)@\d+\] [^\r\n]*\r\n)");
  std::size_t total = 0, contextLines = 0, configLines = 0;
  for (auto it = std::sregex_iterator(log.begin(), log.end(), line); it != std::sregex_iterator(); ++it)
    total += static_cast<std::size_t>(it->length());
  for (auto it = std::sregex_iterator(log.begin(), log.end(), context); it != std::sregex_iterator(); ++it, ++contextLines)
    total += static_cast<std::size_t>(it->length());
  for (auto it = std::sregex_iterator(log.begin(), log.end(), config); it != std::sregex_iterator(); ++it, ++configLines)
    total += static_cast<std::size_t>(it->length());
  EXPECT_EQ(contextLines, 2u) << log;
  EXPECT_EQ(configLines, 6u) << log;
  EXPECT_EQ(total, log.size()) << log;
}

}  // namespace
