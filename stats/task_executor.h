#pragma once
// One worker thread that runs posted closures one after another, in posting order per posting
// thread. Fire and forget: no result, no cancellation of a single closure.
//
//   TaskExecutor work;        // a member of its owner, never moved
//   work.Post([this] { ... });   // from any thread, before or after Start; never blocks
//   work.Start();
//   ...
//   work.Stop();              // lets the running closure finish, drops the rest
//
// Stop clears the running state and wakes the worker: it finishes the closure it is running (or,
// when idle, runs at most the first queued one) and destroys every other pending closure
// unrun. Closures posted after Stop stay queued, unrun, until the executor is destroyed (or a
// later Start runs them).
#include <concurrentqueue/blockingconcurrentqueue.h>

#include <atomic>
#include <functional>
#include <thread>

class TaskExecutor {
 public:
  TaskExecutor() = default;
  // Stops the worker if it runs; closures still queued are destroyed without being run.
  ~TaskExecutor();
  TaskExecutor(const TaskExecutor&) = delete;
  TaskExecutor& operator=(const TaskExecutor&) = delete;

  // Creates the worker. Does nothing while a worker is running.
  void Start();
  // Queues `task`; false only when the queue cannot get memory (the closure is then lost).
  bool Post(std::function<void()> task);
  // Asks the worker to finish and waits for it. Returns at once when never started or already
  // stopped. Called from one of its own closures it only asks; the worker ends after that
  // closure and is joined by the next Start or the destructor.
  void Stop();
  // The worker's id; empty before Start and after Stop. A closure sees its worker's id.
  std::thread::id WorkerId() const { return workerId_.load(); }
  // True from Start until Stop has been asked; a long closure may use it to end early.
  bool IsRunning() const { return running_.load(); }

 private:
  void WorkerLoop();
  void JoinFinishedWorker();

  moodycamel::BlockingConcurrentQueue<std::function<void()>> queue_;
  std::atomic<bool> running_{false};
  std::thread worker_;
  std::atomic<std::thread::id> workerId_{};
};
