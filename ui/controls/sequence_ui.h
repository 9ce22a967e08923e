#pragma once
// An animation of equally wide frames laid side by side in the background image, one frame per
// interval of its timer (id 1000), endlessly or for a number of passes. Idle until Start.
#include "ui/controls/label_ui.h"

namespace SkinUI {

class CSequenceUI : public CLabelUI {
 public:
  static constexpr std::uintptr_t kFrameTimerId = 1000;

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  void HandleEvent(SkinEvent& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintBackgroundImage(IRenderCanvas& canvas) override;

  virtual void Start();
  // Stops the timers; with `reset` the first frame is shown again and the passes start over.
  virtual void Stop(bool reset);

  int FrameCount() const { return frameCount_; }
  void SetFrameCount(int count) { frameCount_ = count; }
  int Interval() const { return interval_; }
  void SetInterval(int milliseconds) { interval_ = milliseconds; }
  // Passes to run; 0 = endless.
  int LoopLimit() const { return loopLimit_; }
  void SetLoopLimit(int passes) { loopLimit_ = passes; }
  int CurrentFrame() const { return current_; }
  int LoopsDone() const { return loops_; }

 protected:
  // Draws frame `index` of the background image over the control with opacity `alpha`. False
  // when the image cannot be found (the caller forgets the background then).
  bool DrawFrame(IRenderCanvas& canvas, int index, std::uint8_t alpha);
  // Timer periods are at least 1 ms; a negative interval from a skin would read as huge.
  unsigned TimerPeriod(int milliseconds) const { return milliseconds > 0 ? static_cast<unsigned>(milliseconds) : 1u; }

  int frameCount_ = 0;
  int current_ = 0;
  int interval_ = 100;
  int loopLimit_ = 0;
  int loops_ = 0;
};

}  // namespace SkinUI
