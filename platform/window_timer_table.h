#pragma once
// The periodic timers of a window system's windows, keyed by (window, id), with deadlines on the
// system's millisecond clock. A tick read a little late keeps the timer's pace; a timer that fell
// a whole period or more behind (the loop was busy) gives one tick and starts again from then:
// missed ticks are not replayed.
#include <cstdint>
#include <vector>

#include "platform/window_system.h"

namespace platform {

class WindowTimerTable {
 public:
  static constexpr unsigned kMinimumMilliseconds = 10;

  // Starts the timer, or restarts it (new period, new deadline) when it exists.
  void Set(WindowHandle window, std::uintptr_t id, unsigned milliseconds, std::uint32_t now);
  bool Kill(WindowHandle window, std::uintptr_t id);
  void KillAll(WindowHandle window);
  // The due timer with the earliest deadline, rescheduled; false when none is due.
  bool TakeDue(std::uint32_t now, WindowHandle& window, std::uintptr_t& id);
  // Milliseconds until the earliest deadline (0 when one is due); -1 without timers.
  int MillisecondsUntilNext(std::uint32_t now) const;
  bool Empty() const { return timers_.empty(); }

 private:
  struct Timer {
    WindowHandle window;
    std::uintptr_t id;
    unsigned period;
    std::uint32_t due;
  };
  std::vector<Timer> timers_;
};

// Signed distance from `now` to `deadline` on a wrapping 32-bit millisecond clock.
inline std::int32_t MillisecondsUntil(std::uint32_t deadline, std::uint32_t now) {
  return static_cast<std::int32_t>(deadline - now);
}

}  // namespace platform
