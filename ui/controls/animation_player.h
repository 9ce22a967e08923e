#pragma once
// Plays the frames of an animated image in a control: a host timer of the control (its own id)
// fires after each frame's delay and moves on to the next frame, looping; the current frame is
// drawn stretched over a rectangle. Shared by the Gif and Animation controls.
#include <cstdint>
#include <string>

#include "ui/controls/gif_handler.h"
#include "ui/core/control_ui.h"

namespace SkinUI {

class CAnimationPlayer {
 public:
  CAnimationPlayer(CControlUI* owner, std::uintptr_t timerId) : owner_(owner), timerId_(timerId) {}

  // Loads the frames of `file` (none for an empty name) and starts over at the first frame.
  bool Load(const std::wstring& file);
  // Runs the timer while the control has a host and there is more than one frame.
  void Start();
  void Stop();
  // A timer event of the control: true when it was this player's (the next frame is shown).
  bool OnTimer(std::uintptr_t id);
  // Draws the current frame over `rc`; false when there is none.
  bool Paint(IRenderCanvas& canvas, const SkinRect& rc, const SkinRect& dirty) const;

  const CGifHandler& Frames() const { return frames_; }
  int CurrentFrame() const { return current_; }
  bool IsPlaying() const { return playing_; }

 private:
  CControlUI* owner_;
  std::uintptr_t timerId_;
  CGifHandler frames_;
  int current_ = 0;
  bool playing_ = false;
};

}  // namespace SkinUI
