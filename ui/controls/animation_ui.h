#pragma once
// An animated image given as the background ("bkimage": a GIF or any single image), decoded into
// its frames; each frame shows for its own delay on the host timer 1000, looping, while the
// control is visible. An image that does not decode leaves the plain background drawing.
#include "ui/controls/frame_animated_ui.h"

namespace SkinUI {

class CAnimationUI : public CFrameAnimatedUI {
 public:
  static constexpr std::uintptr_t kFrameTimerId = 1000;

  CAnimationUI();

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintBackgroundImage(IRenderCanvas& canvas) override;
};

}  // namespace SkinUI
