#pragma once
// The program's log as a test reads it: one log file per test process (the logger can be set up
// only once per process), in a temporary folder, at INFO.
//
//   testsupport::LogMark mark;              // where the log ends now
//   ... run the code under test ...
//   EXPECT_NE(mark.NewText().find("size verify failed"), std::string::npos);
#include <cstddef>
#include <filesystem>
#include <string>

namespace testsupport {

// Sets the logger up on the first call; the path of the process's log file.
const std::filesystem::path& TestLogFile();

// The whole log so far.
std::string TestLogText();

class LogMark {
 public:
  LogMark() : start_(TestLogText().size()) {}
  // What was logged since the mark was made.
  std::string NewText() const { return TestLogText().substr(start_); }

 private:
  std::size_t start_;
};

}  // namespace testsupport
