#include "tests/support/test_log.h"

#include "common/base/log.h"
#include "tests/support/temp_dir.h"

namespace testsupport {

const std::filesystem::path& TestLogFile() {
  static TempDir* dir = new TempDir;  // kept to the end of the process, like the logger
  static const std::filesystem::path file = [] {
    std::filesystem::path f = dir->path() / "test.log";
    KwrBase::Log::InitLogger(f, KwrBase::Log::Severity::info);
    return f;
  }();
  return file;
}

std::string TestLogText() { return ReadFile(TestLogFile()); }

}  // namespace testsupport
