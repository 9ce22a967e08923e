#pragma once
// Setting up the log: the file "log/<executable file name>.log" beside the executable, written
// only when that "log" folder exists (it is never created).
#include <filesystem>

namespace plogext {

// Marks the life span of the process in the log: "Log init" when set up, "Log uninit" at exit.
class CLifeSpanLog {
 public:
  CLifeSpanLog();
  ~CLifeSpanLog();
  CLifeSpanLog(const CLifeSpanLog&) = delete;
  CLifeSpanLog& operator=(const CLifeSpanLog&) = delete;
};

}  // namespace plogext

// The log file for an executable at `exe`: <dir>/log/<file name>.log.
std::filesystem::path LogFilePath(const std::filesystem::path& exe);

// Called once, first thing at start-up; a second call does nothing.
void InitLogging();
