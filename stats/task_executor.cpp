#include "stats/task_executor.h"

#include <exception>

#include "common/base/log.h"

TaskExecutor::~TaskExecutor() {
  Stop();
  JoinFinishedWorker();
  // The queue goes with the members: closures still in it are destroyed unrun.
}

void TaskExecutor::Start() {
  if (running_.load()) return;
  JoinFinishedWorker();  // a worker that stopped itself from one of its closures
  // Set before the thread exists, so that a Stop right after Start always finds the worker
  // running and joins it; the worker then ends before taking a closure.
  running_.store(true);
  worker_ = std::thread([this] { WorkerLoop(); });
  workerId_.store(worker_.get_id());
}

bool TaskExecutor::Post(std::function<void()> task) { return queue_.enqueue(std::move(task)); }

void TaskExecutor::Stop() {
  bool expected = true;
  if (!running_.compare_exchange_strong(expected, false)) return;
  // Wakes a worker that waits for work; it does nothing.
  queue_.enqueue([] {});
  // From one of its closures: a thread cannot join itself. (The worker's id, not worker_: a
  // closure may run before Start has finished storing the thread.)
  if (std::this_thread::get_id() == workerId_.load()) return;
  worker_.join();
  workerId_.store(std::thread::id());
}

void TaskExecutor::JoinFinishedWorker() {
  if (worker_.joinable() && std::this_thread::get_id() != workerId_.load()) {
    worker_.join();
    workerId_.store(std::thread::id());
  }
}

void TaskExecutor::WorkerLoop() {
  // A closure may ask for its worker's id before Start has stored it.
  workerId_.store(std::this_thread::get_id());
  while (running_.load()) {
    std::function<void()> task;
    queue_.wait_dequeue(task);
    try {
      if (task) task();
    } catch (const std::exception& e) {
      LOG_ERROR << "background task failed: " << e.what();
    } catch (...) {
      LOG_ERROR << "background task failed with an unknown exception";
    }
  }
  // Everything still pending is dropped unrun. Draining (rather than swapping in a new queue)
  // keeps producers that post at this moment safe; what they post now stays queued.
  std::function<void()> dropped;
  while (queue_.try_dequeue(dropped)) dropped = nullptr;
}
