#pragma once
// A slideshow: each frame of the background image is held for the frame interval (timer 1000),
// then cross-faded into the next one in steps of the fade timer (id 1001).
#include "ui/controls/sequence_ui.h"

namespace SkinUI {

class CFadeSequenceUI : public CSequenceUI {
 public:
  static constexpr std::uintptr_t kFadeTimerId = 1001;

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  void HandleEvent(SkinEvent& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintBackgroundImage(IRenderCanvas& canvas) override;
  void Start() override;
  void Stop(bool reset) override;

  // 0 while no cross-fade runs.
  int FadeLevel() const { return fadeLevel_; }
  int FadeStep() const { return fadeStep_; }
  void SetFadeStep(int step) { fadeStep_ = step; }
  int FadeInterval() const { return fadeInterval_; }
  void SetFadeInterval(int milliseconds) { fadeInterval_ = milliseconds; }

 private:
  // A step below 1 from a skin would never finish a fade.
  int Step() const { return fadeStep_ > 0 ? fadeStep_ : 1; }
  void OnFrameTimer();
  void OnFadeTimer();

  int fadeLevel_ = 0;
  int fadeStep_ = 25;
  int fadeInterval_ = 100;
};

}  // namespace SkinUI
