#pragma once
// The scroll bar of scrolling containers ("vscrollbar", "hscrollbar") and of skins that place
// one on their own: two arrow buttons, a rail and a thumb sized by the page/range ratio. Pressing
// a button steps one line (and repeats while held), pressing the rail steps a page towards the
// pointer, dragging the thumb follows the pointer. A bar with an owner container scrolls it; a
// bar on its own changes its value and sends "scroll".
#include <cstdint>
#include <memory>

#include "ui/core/container_ui.h"

namespace SkinUI {

class CScrollBarUI : public CScrollBarBaseUI {
 public:
  // Host timer of the repeat (buttons and rail held, thumb drag).
  static constexpr std::uintptr_t kRepeatTimerId = 10;
  static constexpr unsigned kRepeatMilliseconds = 50;
  // Ticks of the repeat timer before a held button or rail starts repeating.
  static constexpr int kRepeatDelayTicks = 5;
  static constexpr int kDefaultThickness = 16;

  CScrollBarUI();
  ~CScrollBarUI() override;

  // The factory containers create their bars with (CContainerUI::SetScrollBarFactory).
  static std::unique_ptr<CScrollBarBaseUI> Make();

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  void SetPosition(const SkinRect& rc) override;
  void SetVisible(bool visible) override;
  // Disabling clears every part's state.
  void SetEnabled(bool enabled) override;
  // A bar never keeps the focus itself: its owner takes it.
  void SetFocus() override;
  void HandleEvent(SkinEvent& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  // Background, button 1, button 2, thumb, rail.
  void PaintStatusImage(IRenderCanvas& canvas) override;

  // ---- CScrollBarBaseUI ------------------------------------------------------------------------
  CContainerUI* Owner() const override { return owner_; }
  void SetOwner(CContainerUI* owner) override { owner_ = owner; }
  bool IsHorizontal() const override { return horizontal_; }
  // A horizontal bar is 16 pixels high and stretches; a vertical one 16 wide.
  void SetHorizontal(bool horizontal) override;
  int ScrollRange() const override { return range_; }
  // Negative ranges count as 0; the value is kept inside the new range.
  void SetScrollRange(int range) override;
  int ScrollPos() const override { return value_; }
  void SetScrollPos(int pos) override;

  int LineSize() const { return lineSize_; }
  void SetLineSize(int size) { lineSize_ = size; }
  bool IsShowButton1() const { return showButton1_; }
  void SetShowButton1(bool show);
  bool IsShowButton2() const { return showButton2_; }
  void SetShowButton2(bool show);

  // Geometry of the last SetPosition, in window coordinates.
  const SkinRect& Button1Rect() const { return button1_; }
  const SkinRect& Button2Rect() const { return button2_; }
  const SkinRect& ThumbRect() const { return thumb_; }

  // State bits of the parts (kStateHot, kStatePushed, kStateCaptured).
  enum Part { kButton1, kButton2, kThumb, kRail, kBk, kPartCount };
  std::uint32_t PartState(Part part) const { return part < kRail ? state_[part] : 0; }

  // The images of a part for one state.
  enum ImageState { kImageNormal, kImageHot, kImagePushed, kImageDisabled, kImageStateCount };
  const SkinImageSpec& Image(Part part, ImageState state) const { return images_[part][state]; }
  void SetImage(Part part, ImageState state, const std::wstring& description);

 private:
  // What a held press repeats.
  enum class Press { kNone, kButton1, kButton2, kThumb, kRailBefore, kRailAfter };

  // The thickness of the bar across its direction: the size of a button.
  int Thickness() const;
  // Along the bar's axis.
  int Along(SkinPoint pt) const { return horizontal_ ? pt.x : pt.y; }
  int Start(const SkinRect& rc) const { return horizontal_ ? rc.left : rc.top; }
  int End(const SkinRect& rc) const { return horizontal_ ? rc.right : rc.bottom; }
  SkinRect Span(int start, int end) const;
  void LineBack();
  void LineForward();
  void PageBack();
  void PageForward();
  // Without an owner: the new value and, when it changed, "scroll".
  void MoveValue(int value);
  void DragTo(int value);
  void OnRepeatTick();
  void SetPartState(std::uint32_t& state, std::uint32_t bits, bool on);
  void UpdateHot(SkinPoint pt);
  void DrawPart(IRenderCanvas& canvas, Part part, std::uint32_t state, const SkinRect& rc);
  void TakeStatusImages(Part part, const std::wstring& value);

  CContainerUI* owner_ = nullptr;
  bool horizontal_ = false;
  int range_ = 100;
  int value_ = 0;
  int lineSize_ = 8;
  bool showButton1_ = true;
  bool showButton2_ = true;
  SkinRect button1_;
  SkinRect button2_;
  SkinRect thumb_;
  std::uint32_t state_[kRail] = {0, 0, 0};
  Press press_ = Press::kNone;
  SkinPoint dragStart_;
  int dragValue_ = 0;
  int dragOffset_ = 0;
  int repeatTicks_ = 0;
  bool timerRunning_ = false;
  SkinImageSpec images_[kPartCount][kImageStateCount];
};

}  // namespace SkinUI
