#pragma once
// A progress bar with a draggable thumb: pressing the thumb and moving drags it, pressing the
// track jumps the thumb to the pointer (and drags from there), the arrow keys, Home, End, Page Up,
// Page Down and the wheel step it. Values snap to the minimum plus whole steps. "valuechanged"
// (wParam: the value) is sent when a drag ends with a new value, on every changing move with
// "notifyonmove", and on each key or wheel step.
#include "ui/controls/progress_ui.h"

namespace SkinUI {

class CSliderUI : public CProgressUI {
 public:
  CSliderUI();

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  // A Tab stop while enabled.
  std::uint32_t ControlFlags() const override;
  // Takes "normal", "hot" and "pushed" as the thumb's images.
  void SetStatusImages(const SkinStatusImageMap& images) override;
  void SetEnabled(bool enabled) override;
  void HandleEvent(SkinEvent& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  // The filled part, then the thumb.
  void PaintStatusImage(IRenderCanvas& canvas) override;

  SkinSize ThumbSize() const { return thumbSize_; }
  void SetThumbSize(SkinSize size);
  int Step() const { return step_; }
  void SetStep(int step);
  bool IsNotifyOnMove() const { return notifyOnMove_; }
  void SetNotifyOnMove(bool on) { notifyOnMove_ = on; }
  // The thumb in window coordinates: it travels the control's length less its own.
  SkinRect ThumbRect() const;
  // The value a thumb centred at `pt` stands for, snapped to the steps and inside the limits.
  int ValueAt(SkinPoint pt) const;
  std::uint32_t ThumbState() const { return thumbState_; }

 private:
  // Changes the value (clamped, snapped); with `notify` and a change, "valuechanged".
  void MoveTo(int value, bool notify);
  void Notify();

  SkinSize thumbSize_{10, 10};
  int step_ = 1;
  bool notifyOnMove_ = false;
  std::uint32_t thumbState_ = 0;
  SkinPoint grab_;  // where the thumb was taken, from its centre
  int lastNotified_ = 0;
  SkinImageSpec thumbImage_;
  SkinImageSpec thumbHotImage_;
  SkinImageSpec thumbPushedImage_;
};

}  // namespace SkinUI
