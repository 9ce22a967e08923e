#pragma once
// The common part of the controls that play an animated image (Gif, Animation): the frames of
// their file, decoded once the control is initialised, and a host timer of the control (its own
// id) that fires after each frame's delay and moves on to the next frame, looping, while the
// control is visible. The current frame is drawn stretched over the control.
#include <cstdint>
#include <string>

#include "ui/controls/gif_handler.h"
#include "ui/core/control_ui.h"

namespace SkinUI {

class CFrameAnimatedUI : public CControlUI {
 public:
  explicit CFrameAnimatedUI(std::uintptr_t timerId) : timerId_(timerId) {}
  ~CFrameAnimatedUI() override;

  void OnInit() override;
  void SetVisible(bool visible) override;
  void SetInternalVisible(bool visible) override;
  void HandleEvent(SkinEvent& event) override;

  const std::wstring& AnimationFile() const { return file_; }
  // Loaded (again) now when the control is initialised, else at its initialisation.
  void SetAnimationFile(const std::wstring& file);
  const CGifHandler& Frames() const { return frames_; }
  int CurrentFrame() const { return current_; }
  bool IsPlaying() const { return playing_; }

 protected:
  // Draws the current frame over the control; false when there is none.
  bool PaintFrame(IRenderCanvas& canvas);

 private:
  // Plays while visible with more than one frame, stops otherwise.
  void UpdatePlaying();
  void NextFrame();

  std::uintptr_t timerId_;
  std::wstring file_;
  CGifHandler frames_;
  int current_ = 0;
  bool initialised_ = false;
  bool loaded_ = false;
  bool playing_ = false;
};

}  // namespace SkinUI
