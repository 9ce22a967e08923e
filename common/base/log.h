#pragma once
// The program's diagnostic log: one logger, one file, one line per record.
//
//   LOG_ERROR << "download error:" << message;
//
// A statement whose severity the logger does not let through (or with no logger at all) costs one
// comparison: the record is neither formatted nor built.
#include <atomic>
#include <ctime>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>

namespace KwrBase::Log {

enum class Severity { none = 0, fatal = 1, error = 2, warning = 3, info = 4, debug = 5, verbose = 6 };

// "NONE", "FATAL", "ERROR", "WARN", "INFO", "DEBUG", "VERB".
const char* SeverityName(Severity s);

// Creates the default logger writing to `file` with `maxSeverity`. Only the first call has an
// effect. The file is opened (appending, created when missing) at the first record; when that
// open fails every record of the run is dropped.
void InitLogger(const std::filesystem::path& file, Severity maxSeverity);

// Highest severity the logger lets through, or -1 without a logger.
extern std::atomic<int> g_maxSeverity;
inline bool IsEnabled(Severity s) { return static_cast<int>(s) <= g_maxSeverity.load(std::memory_order_relaxed); }

// The qualified routine name from a compiler signature:
// "bool CWebInstWnd::RequestConfig()" -> "CWebInstWnd::RequestConfig".
std::string RoutineName(std::string_view prettyFunction);

// One formatted line, LF already turned into CRLF and ill-formed UTF-8 of the message replaced by
// U+FFFD: "2024-05-07 09:41:03.215 WARN  [1234] [wWinMain@29] App instance exist\r\n".
std::string FormatLine(Severity s, const std::tm& localTime, int millis, unsigned long threadId,
                       std::string_view routine, int line, std::string_view message);

// Hands one record to the appender (formats it with the current local time and thread).
void Write(Severity s, std::string_view routine, int line, std::string_view message);

// Collects one record's message and writes it when the statement ends.
class Record {
 public:
  Record(Severity s, const char* prettyFunction, int line) : severity_(s), function_(prettyFunction), line_(line) {}
  ~Record();
  Record(const Record&) = delete;
  Record& operator=(const Record&) = delete;

  template <class T>
  Record& operator<<(const T& v) {
    stream_ << v;
    return *this;
  }
  Record& operator<<(const char* s) {
    stream_ << (s ? s : "(null)");
    return *this;
  }
  Record& operator<<(char* s) { return *this << static_cast<const char*>(s); }

 private:
  Severity severity_;
  const char* function_;
  int line_;
  std::ostringstream stream_;
};

}  // namespace KwrBase::Log

#define WEBINST_LOG(sev)                              \
  if (!::KwrBase::Log::IsEnabled(sev)) {              \
  } else                                              \
    ::KwrBase::Log::Record(sev, __PRETTY_FUNCTION__, __LINE__)

#define LOG_NONE WEBINST_LOG(::KwrBase::Log::Severity::none)
#define LOG_FATAL WEBINST_LOG(::KwrBase::Log::Severity::fatal)
#define LOG_ERROR WEBINST_LOG(::KwrBase::Log::Severity::error)
#define LOG_WARN WEBINST_LOG(::KwrBase::Log::Severity::warning)
#define LOG_INFO WEBINST_LOG(::KwrBase::Log::Severity::info)
#define LOG_DEBUG WEBINST_LOG(::KwrBase::Log::Severity::debug)
#define LOG_VERB WEBINST_LOG(::KwrBase::Log::Severity::verbose)
