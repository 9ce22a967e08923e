#pragma once
// A push button: hover and press states with their images and colours, and the "click"
// notification (mouse released inside after a press, or Space / Return while it has the focus).
#include <cstdint>

#include "ui/controls/control_state.h"
#include "ui/controls/label_ui.h"

namespace SkinUI {

class CButtonUI : public CLabelUI {
 public:
  CButtonUI();

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  std::uint32_t ControlFlags() const override;
  // Sends "click" when the control is visible and enabled.
  bool CanActivate() override;
  // Takes "normal", "hot", "pushed", "focused" and "disabled".
  void SetStatusImages(const SkinStatusImageMap& images) override;
  void SetEnabled(bool enabled) override;
  void HandleEvent(SkinEvent& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintBackgroundColor(IRenderCanvas& canvas) override;
  void PaintStatusImage(IRenderCanvas& canvas) override;
  void PaintText(IRenderCanvas& canvas) override;
  void PaintBorder(IRenderCanvas& canvas) override;
  // Takes "normal", "hot" and "pushed" as the fore, hot fore and pushed fore images.
  virtual void SetStatusForeImages(const SkinStatusImageMap& images);

  std::uint32_t State() const { return state_; }

  // Images (descriptions as skins write them; an unchanged text does nothing).
  const SkinImageSpec& NormalImage() const { return normalImage_; }
  void SetNormalImage(const std::wstring& description) { SetImageSpec(normalImage_, description); }
  const SkinImageSpec& HotImage() const { return hotImage_; }
  void SetHotImage(const std::wstring& description) { SetImageSpec(hotImage_, description); }
  const SkinImageSpec& PushedImage() const { return pushedImage_; }
  void SetPushedImage(const std::wstring& description) { SetImageSpec(pushedImage_, description); }
  const SkinImageSpec& FocusedImage() const { return focusedImage_; }
  void SetFocusedImage(const std::wstring& description) { SetImageSpec(focusedImage_, description); }
  const SkinImageSpec& DisabledStateImage() const { return disabledStateImage_; }
  void SetDisabledStateImage(const std::wstring& description) { SetImageSpec(disabledStateImage_, description); }
  const SkinImageSpec& ForeImage() const { return foreImage_; }
  void SetForeImage(const std::wstring& description) { SetImageSpec(foreImage_, description); }
  const SkinImageSpec& HotForeImage() const { return hotForeImage_; }
  void SetHotForeImage(const std::wstring& description) { SetImageSpec(hotForeImage_, description); }
  const SkinImageSpec& PushedForeImage() const { return pushedForeImage_; }
  void SetPushedForeImage(const std::wstring& description) { SetImageSpec(pushedForeImage_, description); }

  // State colours; 0 = not set.
  SkinColor HotBkColor() const { return hotBkColor_; }
  void SetHotBkColor(SkinColor c) { SetColor(hotBkColor_, c); }
  SkinColor PushedBkColor() const { return pushedBkColor_; }
  void SetPushedBkColor(SkinColor c) { SetColor(pushedBkColor_, c); }
  SkinColor HotBorderColor() const { return hotBorderColor_; }
  void SetHotBorderColor(SkinColor c) { SetColor(hotBorderColor_, c); }
  SkinColor PushedBorderColor() const { return pushedBorderColor_; }
  void SetPushedBorderColor(SkinColor c) { SetColor(pushedBorderColor_, c); }
  SkinColor HotTextColor() const { return hotTextColor_; }
  void SetHotTextColor(SkinColor c) { SetColor(hotTextColor_, c); }
  SkinColor PushedTextColor() const { return pushedTextColor_; }
  void SetPushedTextColor(SkinColor c) { SetColor(pushedTextColor_, c); }

 protected:
  void SetColor(SkinColor& field, SkinColor c);
  // The focused and disabled bits follow the control's flags before each paint step.
  void RefreshStateBits();
  // The colour of the pushed or hot state when set (pushed first), else 0.
  SkinColor PushedOrHot(SkinColor pushed, SkinColor hot) const;

  std::uint32_t state_ = 0;
  SkinColor hotBkColor_ = 0;
  SkinColor pushedBkColor_ = 0;
  SkinColor hotBorderColor_ = 0;
  SkinColor pushedBorderColor_ = 0;
  SkinColor hotTextColor_ = 0;
  SkinColor pushedTextColor_ = 0;
  SkinImageSpec normalImage_;
  SkinImageSpec hotImage_;
  SkinImageSpec pushedImage_;
  SkinImageSpec focusedImage_;
  SkinImageSpec disabledStateImage_;
  SkinImageSpec foreImage_;
  SkinImageSpec hotForeImage_;
  SkinImageSpec pushedForeImage_;
};

}  // namespace SkinUI
