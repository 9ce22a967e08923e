#pragma once
// A control that shows a text: captions and status lines. The base of the text, button,
// progress and sequence controls.
#include <cstdint>

#include "ui/controls/text_style.h"
#include "ui/core/control_ui.h"

namespace SkinUI {

// The "align" attribute: the words "left", "hcenter", "right", "top", "vcenter" and "bottom"
// are looked for in this order, each overriding the earlier ones on its axis; other text (such
// as "center") changes nothing.
std::uint32_t ApplyAlignWords(std::uint32_t style, const std::wstring& value);

class CLabelUI : public CControlUI {
 public:
  CLabelUI();

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  void SetText(const std::wstring& text) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  SkinSize MeasureSize(SkinSize available) override;
  void PaintText(IRenderCanvas& canvas) override;

  // Colours: 0 means the host's default text (or disabled text) colour.
  SkinColor TextColor() const { return textColor_; }
  void SetTextColor(SkinColor color);
  SkinColor DisabledTextColor() const { return disabledTextColor_; }
  void SetDisabledTextColor(SkinColor color);
  SkinColor FocusedTextColor() const { return focusedTextColor_; }
  void SetFocusedTextColor(SkinColor color);
  // Index into the host's font list; -1 (or any index outside it) is the host's default font.
  int Font() const { return font_; }
  void SetFont(int index);
  // DT_* bits (text_style.h).
  std::uint32_t TextStyle() const { return textStyle_; }
  void SetTextStyle(std::uint32_t style);
  const SkinRect& TextPadding() const { return textPadding_; }
  void SetTextPadding(const SkinRect& padding);
  bool IsShowHtml() const { return showHtml_; }
  void SetShowHtml(bool on);
  bool IsAutoWidth() const { return autoWidth_; }
  void SetAutoWidth(bool on) { autoWidth_ = on; }
  bool IsAutoHeight() const { return autoHeight_; }
  void SetAutoHeight(bool on) { autoHeight_ = on; }

 protected:
  // Draws the text with `color` (0: the label's own colour rules) in the rectangle shrunk by the
  // text padding.
  void DrawLabelText(IRenderCanvas& canvas, SkinColor color);
  // The colour the label's rules give in its current state.
  SkinColor StateTextColor() const;
  void MarkSizeStale() { sizeStale_ = true; }

  SkinColor textColor_ = 0;
  SkinColor disabledTextColor_ = 0;
  SkinColor focusedTextColor_ = 0;
  int font_ = -1;
  std::uint32_t textStyle_ = DT_VCENTER | DT_SINGLELINE;
  SkinRect textPadding_;
  bool showHtml_ = false;
  bool autoWidth_ = false;
  bool autoHeight_ = false;

 private:
  SkinSize lastAvailable_;
  SkinSize lastSize_;
  bool sizeStale_ = true;
};

}  // namespace SkinUI
