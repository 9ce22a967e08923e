#pragma once
// An animated GIF ("gif": the file): every frame shows for its own delay (100 ms for a delay of
// 0 or less) on the host timer 5, looping, while the control is visible.
#include "ui/controls/animation_player.h"

namespace SkinUI {

class CGifUI : public CControlUI {
 public:
  static constexpr std::uintptr_t kFrameTimerId = 5;

  CGifUI();
  ~CGifUI() override;

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  void OnInit() override;
  void SetVisible(bool visible) override;
  void SetInternalVisible(bool visible) override;
  void HandleEvent(SkinEvent& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  // The current frame over the control, after its background.
  void PaintStatusImage(IRenderCanvas& canvas) override;

  const std::wstring& GifFile() const { return file_; }
  void SetGifFile(const std::wstring& file);
  const CAnimationPlayer& Player() const { return player_; }

 private:
  void UpdatePlaying();

  std::wstring file_;
  bool initialised_ = false;
  bool loaded_ = false;
  CAnimationPlayer player_{this, kFrameTimerId};
};

}  // namespace SkinUI
