// Timers of controls and the caret: platform timers of the host's window, identified by small
// platform ids, each mapped back to the control and its own timer id.
#include <algorithm>

#include "platform/window_messages.h"
#include "ui/core/control_ui.h"
#include "ui/core/skin_host.h"

namespace SkinUI {
namespace {
// Platform ids of control timers are 0..254; the caret's blink timer lies outside that range.
constexpr unsigned kPlatformIdCount = 255;
}  // namespace

bool CSkinHost::SetTimer(CControlUI* control, std::uintptr_t id, unsigned milliseconds) {
  if (control == nullptr) return false;
  for (TimerRecord& t : timers_) {
    if (t.control == control && t.window == window_ && t.localId == id) {
      if (!t.killed) return false;
      if (!StartPlatformTimer(t.platformId, milliseconds)) return false;
      t.killed = false;
      return true;
    }
  }
  // The id sequence goes on from the last id handed out; ids that a record of this window still
  // holds (running or killed for a restart) are skipped, so two timers never share one.
  unsigned platformId = timerCounter_;
  bool found = false;
  for (unsigned tries = 0; tries < kPlatformIdCount && !found; ++tries) {
    platformId = (platformId + 1) % kPlatformIdCount;
    found = !PlatformIdInUse(platformId);
  }
  if (!found) return false;
  if (!StartPlatformTimer(platformId, milliseconds)) return false;
  timerCounter_ = platformId;
  timers_.push_back({control, id, window_, platformId, false});
  return true;
}

bool CSkinHost::PlatformIdInUse(unsigned platformId) const {
  return std::any_of(timers_.begin(), timers_.end(),
                     [&](const TimerRecord& t) { return t.window == window_ && t.platformId == platformId; });
}

bool CSkinHost::KillTimer(CControlUI* control, std::uintptr_t id) {
  for (TimerRecord& t : timers_) {
    if (t.control == control && t.window == window_ && t.localId == id) {
      if (!t.killed) {
        StopPlatformTimer(t.platformId);
        t.killed = true;
      }
      return true;
    }
  }
  return false;
}

void CSkinHost::KillTimers(CControlUI* control) {
  auto it = std::remove_if(timers_.begin(), timers_.end(), [&](const TimerRecord& t) {
    if (t.control != control) return false;
    if (!t.killed) StopPlatformTimer(t.platformId);
    return true;
  });
  timers_.erase(it, timers_.end());
}

void CSkinHost::RemoveAllTimers() {
  for (const TimerRecord& t : timers_)
    if (!t.killed) StopPlatformTimer(t.platformId);
  timers_.clear();
}

bool CSkinHost::PlatformTimerId(CControlUI* control, std::uintptr_t id, unsigned& platformId) const {
  for (const TimerRecord& t : timers_) {
    if (t.control == control && t.window == window_ && t.localId == id) {
      platformId = t.platformId;
      return true;
    }
  }
  platformId = 0;
  return false;
}

bool CSkinHost::DispatchTimer(unsigned platformId) {
  // A destroyed control has no records left (ReleaseControl removes them), so every record here
  // names a live control.
  for (const TimerRecord& t : timers_) {
    if (t.window == window_ && t.platformId == platformId && !t.killed) {
      Dispatch(t.control, kEventTimer, static_cast<std::intptr_t>(t.localId));
      return true;
    }
  }
  return false;
}

bool CSkinHost::StartPlatformTimer(unsigned platformId, unsigned milliseconds) {
  platform::IWindowSystem* ws = Ws();
  return ws != nullptr && ws->SetTimer(window_, platformId, milliseconds);
}

void CSkinHost::StopPlatformTimer(unsigned platformId) {
  if (platform::IWindowSystem* ws = Ws()) ws->KillTimer(window_, platformId);
}

// ---- caret ----------------------------------------------------------------------------------------

void CSkinHost::CreateCaret(CControlUI* control, int width, int height) {
  DestroyCaret();
  caretControl_ = control;
  caretRect_ = {0, 0, std::max(width, 1), std::max(height, 1)};
}

void CSkinHost::DestroyCaret() {
  ShowCaret(false);
  caretControl_ = nullptr;
  caretRect_ = {};
}

void CSkinHost::ShowCaret(bool show) {
  if (show == caretShown_) return;
  if (show && caretControl_ == nullptr) return;
  caretShown_ = show;
  caretBlinkOn_ = show;
  if (platform::IWindowSystem* ws = Ws()) {
    if (show)
      ws->SetTimer(window_, kCaretBlinkTimerId, std::max(ws->CaretBlinkTime(), 10u));
    else
      ws->KillTimer(window_, kCaretBlinkTimerId);
  }
  Invalidate(caretRect_);
}

void CSkinHost::SetCaretPos(SkinPoint pt) {
  if (caretControl_ == nullptr) return;
  Invalidate(caretRect_);
  caretRect_ = {pt.x, pt.y, pt.x + caretRect_.Width(), pt.y + caretRect_.Height()};
  // A caret that moves is seen at once and blinks from there.
  caretBlinkOn_ = true;
  Invalidate(caretRect_);
}

void CSkinHost::OnCaretBlink() {
  if (!caretShown_) return;
  caretBlinkOn_ = !caretBlinkOn_;
  Invalidate(caretRect_);
}

}  // namespace SkinUI
