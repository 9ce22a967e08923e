#include "stats/http_reporter.h"

#include <chrono>
#include <exception>
#include <optional>

#include "common/base/http_client.h"
#include "common/base/server_addresses.h"
#include "stats/os_info.h"

namespace {

constexpr const char* kJsonContentType = "application/json;";
constexpr const char* kScrambledContentType = "text/plain";

// Milliseconds since the system started, as a 32-bit tick count.
std::uint32_t TickCount() {
  auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

// A report in flight when the reporter stops may finish, but a statistics server that took the
// connection and never answers must not hold the window's teardown, and with it the process,
// for ever: this long after the stop was seen the report is given up.
constexpr std::chrono::seconds kStopGrace{3};

std::function<bool()> UntilGraceAfterStop(const TaskExecutor& executor) {
  return [&executor, stopSeen = std::optional<std::chrono::steady_clock::time_point>()]() mutable {
    if (executor.IsRunning()) return true;
    auto now = std::chrono::steady_clock::now();
    if (!stopSeen) stopSeen = now;
    return now - *stopSeen < kStopGrace;
  };
}

}  // namespace

bool SendClientReport(const LaunchContext& who, const std::string& url, std::int32_t number,
                      const std::function<bool()>& keepGoing) {
  std::string body;
  try {
    body = ClientReportBody(who, number);
  } catch (const std::exception&) {
    return false;  // no digest, no report
  }
  return KwrBase::HttpPost(url, kJsonContentType, body, keepGoing);
}

bool SendInstallReport(const LaunchContext& who, const std::string& url, const std::function<bool()>& keepGoing) {
  std::string body;
  try {
    body = ScrambleReportBody(InstallReportBody(who, GetOsInfo(), InstallReportRand(TickCount())));
  } catch (const std::exception&) {
    return false;
  }
  return KwrBase::HttpPost(url, kScrambledContentType, body, keepGoing);
}

CHttpAsyncReporter::~CHttpAsyncReporter() { executor_.Stop(); }

void CHttpAsyncReporter::Init(const LaunchContext* context) {
  context_ = context;
  executor_.Start();
}

void CHttpAsyncReporter::PostClientReport(const char* path, std::int32_t number) {
  executor_.Post([this, path, number] {
    if (context_) SendClientReport(*context_, KwrBase::StatsServer() + path, number, UntilGraceAfterStop(executor_));
  });
}

void CHttpAsyncReporter::ReportEvent(std::int32_t event) { PostClientReport("/api/clientevent", event); }

void CHttpAsyncReporter::ReportActive() { PostClientReport("/api/clientact", 1); }

void CHttpAsyncReporter::ReportReserved() {
  executor_.Post([] {});
}

void CHttpAsyncReporter::ReportClientInstall(std::int32_t value) { PostClientReport("/api/clientinstall", value); }

void CHttpAsyncReporter::ReportInstall(std::int32_t kind) {
  executor_.Post([this, kind] {
    if (context_)
      SendInstallReport(*context_, KwrBase::InstallStatsServer() + (kind == 1 ? "/install" : "/uninstall"),
                        UntilGraceAfterStop(executor_));
  });
}
