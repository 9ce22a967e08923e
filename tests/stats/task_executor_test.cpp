#include "stats/task_executor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "common/base/log.h"
#include "tests/support/temp_dir.h"

namespace {
using namespace std::chrono_literals;

// Waits (in the test only) until `done` holds, for at most ten seconds.
template <class F>
bool WaitFor(F done) {
  auto until = std::chrono::steady_clock::now() + 10s;
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

// Runs everything posted so far, then returns (the last closure fulfils the promise).
void Drain(TaskExecutor& ex) {
  std::promise<void> reached;
  auto f = reached.get_future();
  ex.Post([&] { reached.set_value(); });
  ASSERT_EQ(f.wait_for(10s), std::future_status::ready);
}

TEST(TaskExecutor, ClosuresPostedBeforeStartRunInOrderOnTheWorker) {
  TaskExecutor ex;
  EXPECT_EQ(ex.WorkerId(), std::thread::id());
  std::vector<int> order;
  std::vector<std::thread::id> ids;
  for (int i = 0; i < 5; ++i)
    EXPECT_TRUE(ex.Post([&, i] {
      order.push_back(i);
      ids.push_back(ex.WorkerId());
    }));
  ex.Start();
  std::thread::id worker = ex.WorkerId();
  EXPECT_NE(worker, std::thread::id());
  EXPECT_NE(worker, std::this_thread::get_id());
  Drain(ex);
  ex.Stop();
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(ids, std::vector<std::thread::id>(5, worker)) << "each closure sees its worker's id";
  EXPECT_EQ(ex.WorkerId(), std::thread::id());
}

TEST(TaskExecutor, StopIsHarmlessWhenNeverStartedOrAlreadyStopped) {
  TaskExecutor never;
  never.Stop();
  never.Stop();
  TaskExecutor ex;
  ex.Start();
  ex.Stop();
  ex.Stop();
  EXPECT_EQ(ex.WorkerId(), std::thread::id());
}

TEST(TaskExecutor, StopRightAfterStartJoinsTheWorker) {
  for (int i = 0; i < 200; ++i) {
    TaskExecutor ex;
    ex.Start();
    ex.Stop();
    EXPECT_EQ(ex.WorkerId(), std::thread::id());
  }
}

// The worker is idle when Stop comes, also when it has not yet reached its loop: it still runs
// the closure queued just before.
TEST(TaskExecutor, AnIdleWorkerRunsTheClosureQueuedJustBeforeStop) {
  for (int i = 0; i < 200; ++i) {
    TaskExecutor ex;
    std::atomic<int> ran{0};
    ex.Start();
    ex.Post([&] { ++ran; });
    ex.Stop();
    ASSERT_EQ(ran, 1) << "round " << i;
  }
}

// A long closure is running, three more wait behind it: Stop lets the running one finish and
// destroys the three unrun.
TEST(TaskExecutor, StopWaitsForTheRunningClosureAndDropsThoseQueuedBehindIt) {
  TaskExecutor ex;
  ex.Start();
  std::atomic<bool> started{false}, finished{false};
  ex.Post([&] {
    started = true;
    WaitFor([&] { return !ex.IsRunning(); });  // until Stop has been asked
    std::this_thread::sleep_for(20ms);
    finished = true;
  });
  auto token = std::make_shared<int>(0);
  std::atomic<int> ran{0};
  for (int i = 0; i < 3; ++i) ex.Post([&ran, token] { ++ran; });
  ASSERT_TRUE(WaitFor([&] { return started.load(); }));
  EXPECT_EQ(token.use_count(), 4);

  ex.Stop();
  EXPECT_TRUE(finished) << "Stop returned before the running closure ended";
  EXPECT_EQ(ran, 0);
  EXPECT_EQ(token.use_count(), 1) << "the dropped closures are destroyed, not kept";
}

TEST(TaskExecutor, AClosurePostedAfterStopNeverRunsAndGoesWithTheExecutor) {
  auto token = std::make_shared<int>(0);
  std::atomic<bool> ran{false};
  {
    TaskExecutor ex;
    ex.Start();
    ex.Stop();
    EXPECT_TRUE(ex.Post([&ran, token] { ran = true; }));
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(token.use_count(), 2) << "it stays queued";
  }
  EXPECT_FALSE(ran);
  EXPECT_EQ(token.use_count(), 1);
}

TEST(TaskExecutor, DestroyingAStartedExecutorStopsIt) {
  std::atomic<bool> finished{false};
  auto token = std::make_shared<int>(0);
  {
    TaskExecutor ex;
    ex.Start();
    std::atomic<bool> started{false};
    ex.Post([&] {
      started = true;
      WaitFor([&] { return !ex.IsRunning(); });
      finished = true;
    });
    ex.Post([token] {});
    ASSERT_TRUE(WaitFor([&] { return started.load(); }));
  }
  EXPECT_TRUE(finished);
  EXPECT_EQ(token.use_count(), 1);
}

TEST(TaskExecutor, AStopFromItsOwnClosureEndsTheWorkerAfterIt) {
  TaskExecutor ex;
  std::atomic<bool> after{false}, finished{false}, later{false};
  ex.Post([&] {
    ex.Stop();
    after = true;
    std::this_thread::sleep_for(20ms);
    finished = true;
  });
  ex.Post([&] { later = true; });
  ex.Start();
  ASSERT_TRUE(WaitFor([&] { return after.load(); }));
  ex.Stop();  // already asked: only waits for that worker to end
  EXPECT_TRUE(finished) << "Stop returned while the stopping closure still ran";
  EXPECT_EQ(ex.WorkerId(), std::thread::id());
  ex.Start();
  Drain(ex);
  ex.Stop();
  EXPECT_FALSE(later) << "queued behind the stopping closure: dropped";
  EXPECT_EQ(ex.WorkerId(), std::thread::id());
}

TEST(TaskExecutor, AStartFromItsOwnClosureLeavesItsStopStanding) {
  TaskExecutor ex;
  std::atomic<bool> after{false}, later{false};
  ex.Post([&] {
    ex.Stop();
    ex.Start();  // its worker still exists: nothing to start
    after = true;
  });
  ex.Post([&] { later = true; });
  ex.Start();
  ASSERT_TRUE(WaitFor([&] { return after.load(); }));
  EXPECT_FALSE(ex.IsRunning());
  ex.Stop();
  EXPECT_FALSE(later) << "queued behind the stopping closure: dropped";
  ex.Start();
  Drain(ex);
  ex.Stop();
  EXPECT_EQ(ex.WorkerId(), std::thread::id());
}

TEST(TaskExecutor, AnEscapingExceptionIsLoggedAndTheNextClosureRuns) {
  testsupport::TempDir dir;
  KwrBase::Log::InitLogger(dir / "executor.log", KwrBase::Log::Severity::info);
  TaskExecutor ex;
  ex.Start();
  std::atomic<int> next{0};
  ex.Post([] { throw std::runtime_error("disk on fire"); });
  ex.Post([&] { ++next; });
  ex.Post([] { throw 42; });
  ex.Post([&] { ++next; });
  Drain(ex);
  ex.Stop();
  EXPECT_EQ(next, 2);
  std::string log = testsupport::ReadFile(dir / "executor.log");
  EXPECT_NE(log.find(" ERROR ["), std::string::npos) << log;
  EXPECT_NE(log.find("[TaskExecutor::WorkerLoop@"), std::string::npos) << log;
  EXPECT_NE(log.find("background task failed: disk on fire\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("background task failed with an unknown exception\r\n"), std::string::npos) << log;
}

TEST(TaskExecutor, ManyProducersLoseNothingAndKeepEachProducersOrder) {
  TaskExecutor ex;
  ex.Start();
  constexpr int kThreads = 4, kEach = 5000;
  std::vector<std::vector<int>> seen(kThreads);
  std::atomic<int> total{0};
  std::vector<std::thread> producers;
  for (int t = 0; t < kThreads; ++t)
    producers.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i)
        ex.Post([&, t, i] {
          seen[t].push_back(i);
          ++total;
        });
    });
  for (auto& p : producers) p.join();
  // Closures of different threads have no relative order, so wait for the count itself.
  EXPECT_TRUE(WaitFor([&] { return total.load() == kThreads * kEach; }));
  ex.Stop();
  for (int t = 0; t < kThreads; ++t) {
    ASSERT_EQ(seen[t].size(), static_cast<std::size_t>(kEach));
    for (int i = 0; i < kEach; ++i) ASSERT_EQ(seen[t][i], i);
  }
}

}  // namespace
