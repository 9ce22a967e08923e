#pragma once
// An animated image given as the background ("bkimage": a GIF or any single image), decoded into
// its frames; each frame shows for its own delay on the host timer 1000, looping, while the
// control is visible. An image that does not decode leaves the plain background drawing.
#include "ui/controls/animation_player.h"

namespace SkinUI {

class CAnimationUI : public CControlUI {
 public:
  static constexpr std::uintptr_t kFrameTimerId = 1000;

  CAnimationUI();
  ~CAnimationUI() override;

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  void OnInit() override;
  void SetVisible(bool visible) override;
  void SetInternalVisible(bool visible) override;
  void HandleEvent(SkinEvent& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintBackgroundImage(IRenderCanvas& canvas) override;

  const CAnimationPlayer& Player() const { return player_; }

 private:
  void UpdatePlaying();

  bool initialised_ = false;
  bool loaded_ = false;
  CAnimationPlayer player_{this, kFrameTimerId};
};

}  // namespace SkinUI
