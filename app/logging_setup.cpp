#include "app/logging_setup.h"

#include <system_error>

#include "common/base/log.h"
#include "platform/process_info.h"

namespace plogext {
CLifeSpanLog::CLifeSpanLog() { LOG_NONE << "Log init"; }
CLifeSpanLog::~CLifeSpanLog() { LOG_NONE << "Log uninit"; }
}  // namespace plogext

std::filesystem::path LogFilePath(const std::filesystem::path& exe) {
  return exe.parent_path() / "log" / (exe.filename().string() + ".log");
}

namespace {
bool SetUpLogger() {
  std::filesystem::path exe = platform::ExecutablePath();
  std::error_code ec;
  if (!exe.empty() && std::filesystem::is_directory(exe.parent_path(), ec)) {
    KwrBase::Log::InitLogger(LogFilePath(exe), KwrBase::Log::Severity::info);
  }
  return true;
}
}  // namespace

void InitLogging() {
  // Function-local statics: thread-safe one-time set-up, and the life-span object is destroyed
  // before the logger's own statics, so "Log uninit" still reaches the file.
  static bool ready = SetUpLogger();
  static plogext::CLifeSpanLog lifeSpan;
  (void)ready;
}
