#pragma once
// The waiting half of a message loop: one poll over the loop's own descriptor (the X connection),
// an eventfd other threads write to wake it, and watched descriptors whose callbacks run on the
// loop's thread. Nothing is polled by time: with no descriptor ready and no time-out it sleeps.
#include <cstdint>
#include <functional>
#include <map>

namespace platform {

class FdPoller {
 public:
  FdPoller();
  ~FdPoller();
  FdPoller(const FdPoller&) = delete;
  FdPoller& operator=(const FdPoller&) = delete;

  bool Valid() const { return wakeFd_ >= 0; }
  // Any thread: the next (or current) Wait returns.
  void Wake();
  // Watches `fd` for reading; the callback runs once per readiness and the watch ends when it
  // returns false. 0 for a bad descriptor or callback.
  int Add(int fd, std::function<bool()> onReadable);
  void Remove(int watchId);
  std::size_t WatchCount() const { return watches_.size(); }

  // Waits up to `timeoutMs` (-1: without limit) for `primaryFd` (-1: none) to be readable, a
  // wake or a watched descriptor; runs the callbacks of the watches that are ready. The number of
  // descriptors that were ready (0: time-out); `primaryReadable` says whether `primaryFd` was.
  int Wait(int primaryFd, int timeoutMs, bool* primaryReadable = nullptr);
  // How often Wait came back from poll (the loop's wake-ups).
  std::uint64_t Wakeups() const { return wakeups_; }

 private:
  int wakeFd_ = -1;
  std::map<int, std::pair<int, std::function<bool()>>> watches_;
  int nextId_ = 1;
  std::uint64_t wakeups_ = 0;
};

}  // namespace platform
