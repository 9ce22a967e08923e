#include "platform/window_timer_table.h"

#include <algorithm>

namespace platform {

void WindowTimerTable::Set(WindowHandle window, std::uintptr_t id, unsigned milliseconds, std::uint32_t now) {
  unsigned period = std::max(milliseconds, kMinimumMilliseconds);
  for (Timer& t : timers_) {
    if (t.window == window && t.id == id) {
      t.period = period;
      t.due = now + period;
      return;
    }
  }
  timers_.push_back(Timer{window, id, period, now + period});
}

bool WindowTimerTable::Kill(WindowHandle window, std::uintptr_t id) {
  auto it = std::find_if(timers_.begin(), timers_.end(),
                         [&](const Timer& t) { return t.window == window && t.id == id; });
  if (it == timers_.end()) return false;
  timers_.erase(it);
  return true;
}

void WindowTimerTable::KillAll(WindowHandle window) {
  std::erase_if(timers_, [&](const Timer& t) { return t.window == window; });
}

bool WindowTimerTable::TakeDue(std::uint32_t now, WindowHandle& window, std::uintptr_t& id) {
  Timer* first = nullptr;
  for (Timer& t : timers_) {
    if (MillisecondsUntil(t.due, now) > 0) continue;
    if (first == nullptr || MillisecondsUntil(t.due, first->due) < 0) first = &t;
  }
  if (first == nullptr) return false;
  window = first->window;
  id = first->id;
  // Keep the pace when the tick is only a little late; after a stall start again from now.
  std::uint32_t next = first->due + first->period;
  first->due = MillisecondsUntil(next, now) > 0 ? next : now + first->period;
  return true;
}

int WindowTimerTable::MillisecondsUntilNext(std::uint32_t now) const {
  int best = -1;
  for (const Timer& t : timers_) {
    int left = std::max<std::int32_t>(0, MillisecondsUntil(t.due, now));
    if (best < 0 || left < best) best = left;
  }
  return best;
}

}  // namespace platform
