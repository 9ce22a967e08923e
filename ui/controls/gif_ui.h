#pragma once
// An animated GIF ("gif": the file): every frame shows for its own delay (100 ms for a delay of
// 0 or less) on the host timer 5, looping, while the control is visible.
#include "ui/controls/frame_animated_ui.h"

namespace SkinUI {

class CGifUI : public CFrameAnimatedUI {
 public:
  static constexpr std::uintptr_t kFrameTimerId = 5;

  CGifUI();

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  // The current frame over the control, after its background.
  void PaintStatusImage(IRenderCanvas& canvas) override;
};

}  // namespace SkinUI
