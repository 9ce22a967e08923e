#pragma once
// The statistics reporter: small JSON reports about the run, built and posted on a worker thread
// of its own, one after another in posting order, each on a new connection. Fire and forget: a
// report is never retried, its answer never read, and a report that cannot be built or sent is
// dropped without a trace.
//
//   CHttpAsyncReporter reporter;     // member of the installer window
//   reporter.Init(&TheLaunchContext());      // during the window's initialisation
//   reporter.ReportEvent(2900001);   // from UI handlers; returns at once
//   reporter.Stop();                 // when the window goes
#include <cstdint>
#include <functional>
#include <string>

#include "stats/report_format.h"
#include "stats/task_executor.h"

// The reporter's operations, in this order.
class CHttpReporter {
 public:
  // Stores the identity (read by every report when it runs, so it must outlive the reporter)
  // and starts the worker. Reports posted earlier wait for it.
  virtual void Init(const LaunchContext* context) = 0;
  // A client event report with "m" = event, to "/api/clientevent".
  virtual void ReportEvent(std::int32_t event) = 0;
  // A client activity report with "m" = 1, to "/api/clientact".
  virtual void ReportActive() = 0;
  // Queues a closure that sends nothing.
  virtual void ReportReserved() = 0;
  // A client install report with "m" = value, to "/api/clientinstall".
  virtual void ReportClientInstall(std::int32_t value) = 0;
  // The scrambled install report, to "/install" (kind 1) or "/uninstall" (any other kind) on
  // the install statistics server.
  virtual void ReportInstall(std::int32_t kind) = 0;

 protected:
  ~CHttpReporter() = default;  // not virtual: the six operations are the whole table
};

class CHttpAsyncReporter final : public CHttpReporter {
 public:
  CHttpAsyncReporter() = default;
  ~CHttpAsyncReporter();  // stops the worker (a no-op after Stop)
  CHttpAsyncReporter(const CHttpAsyncReporter&) = delete;
  CHttpAsyncReporter& operator=(const CHttpAsyncReporter&) = delete;

  void Init(const LaunchContext* context) override;
  void ReportEvent(std::int32_t event) override;
  void ReportActive() override;
  void ReportReserved() override;
  void ReportClientInstall(std::int32_t value) override;
  void ReportInstall(std::int32_t kind) override;

  // Stops the worker at once: the report being sent finishes, the ones still queued are dropped
  // (when the worker is idle, the next queued report may still go out first). A report whose
  // server does not finish answering within a few seconds of the stop is given up.
  void Stop() { executor_.Stop(); }

 private:
  void PostClientReport(const char* path, std::int32_t number);

  const LaunchContext* context_ = nullptr;
  TaskExecutor executor_;
};

// What one report closure does, on the calling thread: builds the body (client report with
// `number`, or the scrambled install report) and posts it to `url`. False when the body could
// not be built (the hash service failed) or the transfer did not complete. `keepGoing` as for
// KwrBase::HttpPost.
bool SendClientReport(const LaunchContext& who, const std::string& url, std::int32_t number,
                      const std::function<bool()>& keepGoing = {});
bool SendInstallReport(const LaunchContext& who, const std::string& url,
                       const std::function<bool()>& keepGoing = {});
