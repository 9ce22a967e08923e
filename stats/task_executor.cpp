#include "stats/task_executor.h"

#include <exception>

#include "common/base/log.h"

TaskExecutor::~TaskExecutor() {
  Stop();
  // The queue goes with the members: closures still in it are destroyed unrun.
}

void TaskExecutor::Start() {
  if (running_.load()) return;
  // From one of its own closures after it asked to stop: that worker still exists and cannot be
  // joined from here, so the Stop stands (withdrawing it could strand a Stop waiting elsewhere).
  if (std::this_thread::get_id() == workerId_.load()) return;
  JoinFinishedWorker();  // a worker that stopped itself from one of its closures
  // Set before the thread exists, so that a Stop right after Start always finds the worker
  // running and joins it.
  running_.store(true);
  try {
    worker_ = std::thread([this] { WorkerLoop(); });
  } catch (...) {
    running_.store(false);  // no worker: a later Stop must not try to join one
    throw;
  }
  workerId_.store(worker_.get_id());
}

bool TaskExecutor::Post(std::function<void()> task) { return queue_.enqueue(std::move(task)); }

void TaskExecutor::Stop() {
  bool expected = true;
  // Wakes a worker that waits for work; it does nothing.
  if (running_.compare_exchange_strong(expected, false)) queue_.enqueue([] {});
  // A worker that one of its own closures asked to stop may still be running that closure:
  // wait for it as well, so that the owner can rely on Stop before it goes.
  JoinFinishedWorker();
}

void TaskExecutor::JoinFinishedWorker() {
  // From one of its closures: a thread cannot join itself. (The worker's id, not worker_: a
  // closure may run before Start has finished storing the thread.)
  if (std::this_thread::get_id() == workerId_.load()) return;
  std::lock_guard<std::mutex> lock(joinMutex_);  // two stopping threads join only once
  if (worker_.joinable()) {
    worker_.join();
    workerId_.store(std::thread::id());
  }
}

void TaskExecutor::WorkerLoop() {
  // A closure may ask for its worker's id before Start has stored it.
  workerId_.store(std::this_thread::get_id());
  // One closure is taken before the first look at the running state: a Stop that comes before
  // this thread got here still finds an idle worker, which runs the first queued closure (a
  // closing report posted just before the Stop, or the wake-up) and then ends.
  do {
    std::function<void()> task;
    queue_.wait_dequeue(task);
    try {
      if (task) task();
    } catch (const std::exception& e) {
      LOG_ERROR << "background task failed: " << e.what();
    } catch (...) {
      LOG_ERROR << "background task failed with an unknown exception";
    }
  } while (running_.load());
  // Everything still pending is dropped unrun. Draining (rather than swapping in a new queue)
  // keeps producers that post at this moment safe; what they post now stays queued.
  std::function<void()> dropped;
  while (queue_.try_dequeue(dropped)) dropped = nullptr;
}
