#include "common/base/log.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <mutex>

#include "platform/process_info.h"
#include "platform/text_encoding.h"

namespace KwrBase::Log {

std::atomic<int> g_maxSeverity{-1};

namespace {

// The one file appender. The file is opened at the first record only; a failed open is not
// retried, so a folder created later has no effect until the next run.
class FileAppender {
 public:
  explicit FileAppender(std::filesystem::path file) : path_(std::move(file)) {}
  ~FileAppender() {
    if (fd_ >= 0) ::close(fd_);
  }

  void Write(Severity s, std::string_view routine, int line, std::string_view message) {
    auto now = std::chrono::system_clock::now();
    std::time_t t = std::chrono::system_clock::to_time_t(now);
    int millis = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    std::tm tm{};
    localtime_r(&t, &tm);
    unsigned long tid = platform::CurrentThreadId();

    std::lock_guard<std::mutex> lock(mutex_);
    if (firstWrite_) {
      firstWrite_ = false;
      fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    }
    if (fd_ < 0) return;
    std::string text = FormatLine(s, tm, millis, tid, routine, line, message);
    ssize_t n = ::write(fd_, text.data(), text.size());
    if (n > 0) size_ += static_cast<std::size_t>(n);
  }

 private:
  std::filesystem::path path_;
  std::mutex mutex_;
  bool firstWrite_ = true;
  int fd_ = -1;
  std::size_t size_ = 0;  // bytes written by this run; the file is never rolled
};

FileAppender*& Appender() {
  static FileAppender* appender = nullptr;
  return appender;
}

}  // namespace

const char* SeverityName(Severity s) {
  switch (s) {
    case Severity::none: return "NONE";
    case Severity::fatal: return "FATAL";
    case Severity::error: return "ERROR";
    case Severity::warning: return "WARN";
    case Severity::info: return "INFO";
    case Severity::debug: return "DEBUG";
    case Severity::verbose: return "VERB";
  }
  return "NONE";
}

void InitLogger(const std::filesystem::path& file, Severity maxSeverity) {
  // Lives until process exit and goes after every static created later (the life-span object
  // among them), so the last line still finds it.
  static FileAppender appender(file);
  static struct Unregister {
    ~Unregister() {
      g_maxSeverity.store(-1);
      Appender() = nullptr;
    }
  } unregister;
  if (Appender()) return;
  Appender() = &appender;
  g_maxSeverity.store(static_cast<int>(maxSeverity));
}

std::string RoutineName(std::string_view sig) {
  if (auto with = sig.find(" [with "); with != std::string_view::npos) sig = sig.substr(0, with);
  // Drop every parenthesised group (parameter lists, also those inside "<lambda(...)>").
  std::string s;
  int parens = 0;
  for (char c : sig) {
    if (c == '(') ++parens;
    else if (c == ')') { if (parens > 0) --parens; }
    else if (parens == 0) s += c;
  }
  // Trailing qualifiers of member functions.
  for (bool again = true; again;) {
    again = false;
    while (!s.empty() && s.back() == ' ') s.pop_back();
    for (std::string_view q : {"const", "volatile", "noexcept", "&&", "&"}) {
      if (s.size() > q.size() && s.ends_with(q) && (q[0] == '&' || s[s.size() - q.size() - 1] == ' ')) {
        s.erase(s.size() - q.size());
        again = true;
        break;
      }
    }
  }
  // The name starts after the last space outside template brackets (the return type before it).
  int angles = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '<') ++angles;
    else if (s[i] == '>') { if (angles > 0) --angles; }
    else if (s[i] == ' ' && angles == 0) start = i + 1;
  }
  return s.substr(start);
}

std::string FormatLine(Severity s, const std::tm& tm, int millis, unsigned long threadId,
                       std::string_view routine, int line, std::string_view message) {
  char head[96];
  std::snprintf(head, sizeof head, "%d-%02d-%02d %02d:%02d:%02d.%03d %-5s [%lu] [", tm.tm_year + 1900,
                tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, millis, SeverityName(s),
                threadId);
  std::string raw = head;
  raw.append(routine);
  raw += '@';
  raw += std::to_string(line);
  raw += "] ";
  // Messages may echo untrusted bytes (a configuration body quoted in a parse error): the file
  // stays UTF-8, each ill-formed sequence written as U+FFFD.
  raw.append(platform::WideToUtf8(platform::Utf8ToWide(message)));
  raw += '\n';
  std::string out;
  out.reserve(raw.size() + 8);
  for (char c : raw) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

void Write(Severity s, std::string_view routine, int line, std::string_view message) {
  if (!IsEnabled(s)) return;
  if (FileAppender* a = Appender()) a->Write(s, routine, line, message);
}

Record::~Record() { Write(severity_, RoutineName(function_), line_, stream_.str()); }

}  // namespace KwrBase::Log
