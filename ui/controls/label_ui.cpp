#include "ui/controls/label_ui.h"

#include "ui/controls/skin_render.h"
#include "ui/core/skin_host.h"
#include "ui/core/skin_value.h"

namespace SkinUI {
namespace {

// Measuring boxes are this large on the axis that is being measured.
constexpr int kMeasureExtent = 9999;

bool Has(const std::wstring& value, const wchar_t* word) { return value.find(word) != std::wstring::npos; }

std::uint32_t WithFlag(std::uint32_t style, std::uint32_t flag, bool on) { return on ? style | flag : style & ~flag; }

}  // namespace

// The align words are searched in this order, each overriding the earlier ones on its axis.
std::uint32_t ApplyAlignWords(std::uint32_t style, const std::wstring& value) {
  if (Has(value, L"left")) style &= ~kTextHorizontalBits;
  if (Has(value, L"hcenter")) style = (style & ~kTextHorizontalBits) | DT_CENTER;
  if (Has(value, L"right")) style = (style & ~kTextHorizontalBits) | DT_RIGHT;
  if (Has(value, L"top")) style &= ~kTextVerticalBits;
  if (Has(value, L"vcenter")) style = (style & ~kTextVerticalBits) | DT_VCENTER;
  if (Has(value, L"bottom")) style = (style & ~kTextVerticalBits) | DT_BOTTOM;
  return style;
}

CLabelUI::CLabelUI() = default;

const wchar_t* CLabelUI::ClassName() const { return L"LabelUI"; }

void* CLabelUI::AsInterface(const std::wstring& name) {
  if (name == L"Label") return static_cast<CLabelUI*>(this);
  return CControlUI::AsInterface(name);
}

void CLabelUI::SetText(const std::wstring& text) {
  if (text_ == text) return;
  text_ = text;
  sizeStale_ = true;
  RequestRepaint();
  if (autoWidth_ || autoHeight_) RequestParentLayout();
}

#define WEBINST_LABEL_SETTER(Name, Type, field, stale) \
  void CLabelUI::Name(Type v) {                        \
    if (field == v) return;                            \
    field = v;                                         \
    if (stale) sizeStale_ = true;                      \
    RequestRepaint();                                  \
  }
WEBINST_LABEL_SETTER(SetTextColor, SkinColor, textColor_, false)
WEBINST_LABEL_SETTER(SetDisabledTextColor, SkinColor, disabledTextColor_, false)
WEBINST_LABEL_SETTER(SetFocusedTextColor, SkinColor, focusedTextColor_, false)
WEBINST_LABEL_SETTER(SetFont, int, font_, true)
WEBINST_LABEL_SETTER(SetTextStyle, std::uint32_t, textStyle_, true)
WEBINST_LABEL_SETTER(SetTextPadding, const SkinRect&, textPadding_, true)
WEBINST_LABEL_SETTER(SetShowHtml, bool, showHtml_, true)
#undef WEBINST_LABEL_SETTER

void CLabelUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const wchar_t* v = value.c_str();
  if (name == L"align") {
    SetTextStyle(ApplyAlignWords(textStyle_, value));
  } else if (name == L"endellipsis") {
    SetTextStyle(WithFlag(textStyle_, DT_END_ELLIPSIS, ParseSkinBool(v)));
  } else if (name == L"font") {
    SetFont(ParseSkinInt(v));
  } else if (name == L"textcolor") {
    SetTextColor(ParseSkinColor(v));
  } else if (name == L"disabledtextcolor") {
    SetDisabledTextColor(ParseSkinColor(v));
  } else if (name == L"focusedtextcolor") {
    SetFocusedTextColor(ParseSkinColor(v));
  } else if (name == L"textpadding") {
    SetTextPadding(ClampRect(ParseSkinRect(v)));
  } else if (name == L"multiline") {
    SetTextStyle(WithFlag(textStyle_, DT_SINGLELINE, !ParseSkinBool(v)));
  } else if (name == L"wordbreak") {
    SetTextStyle(WithFlag(textStyle_, DT_WORDBREAK, ParseSkinBool(v)));
  } else if (name == L"autoheight") {
    SetAutoHeight(ParseSkinBool(v));
  } else if (name == L"autowidth") {
    SetAutoWidth(ParseSkinBool(v));
  } else if (name == L"showhtml") {
    SetShowHtml(ParseSkinBool(v));
  } else if (name == L"compactpath" || name == L"pathellipsis") {
    SetTextStyle(WithFlag(textStyle_, DT_PATH_ELLIPSIS, ParseSkinBool(v)));
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

SkinSize CLabelUI::MeasureSize(SkinSize available) {
  if ((fixedWidth_ > 0 && fixedHeight_ > 0) || text_.empty() || host_ == nullptr)
    return CControlUI::MeasureSize(available);
  if (available != lastAvailable_) {
    lastAvailable_ = available;
    sizeStale_ = true;
  }
  if (!sizeStale_) return lastSize_;
  int width = fixedWidth_;
  int height = fixedHeight_;
  const std::uint32_t measureStyle = (textStyle_ & ~kTextHorizontalBits) | DT_CALCRECT;
  auto measure = [&](SkinRect& box) {
    if (showHtml_) {
      int links = 0;
      CSkinRender::RenderMarkupText(nullptr, host_, box, text_, 0, nullptr, nullptr, links, measureStyle);
    } else {
      CSkinRender::RenderPlainText(nullptr, host_, box, text_, 0, font_, measureStyle);
    }
  };
  if ((textStyle_ & DT_SINGLELINE) != 0) {
    if (height == 0) {
      const SkinFontInfo& font = host_->FontInfo(*host_->Font(font_));
      height = textPadding_.top + font.height + textPadding_.bottom + 8;
    }
    if (width == 0 && autoWidth_) {
      SkinRect box{0, 0, kMeasureExtent, height};
      measure(box);
      width = textPadding_.left + box.Width() + textPadding_.right;
    }
  } else if (height == 0 && autoHeight_) {
    // Without a fixed width the text wraps at the width the layout offers.
    const int boxWidth = width > 0 ? width : available.cx;
    SkinRect box{textPadding_.left, 0, boxWidth - textPadding_.right, kMeasureExtent};
    measure(box);
    height = box.Height() + textPadding_.top + textPadding_.bottom;
  }
  lastSize_ = {ClampCoord(width), ClampCoord(height)};
  sizeStale_ = false;
  return lastSize_;
}

SkinColor CLabelUI::StateTextColor() const {
  if (!IsEnabled()) {
    if (disabledTextColor_ != 0) return disabledTextColor_;
    return host_ != nullptr ? host_->DisabledTextColor() : 0;
  }
  if (IsFocused() && focusedTextColor_ != 0) return focusedTextColor_;
  if (textColor_ != 0) return textColor_;
  return host_ != nullptr ? host_->DefaultTextColor() : 0;
}

void CLabelUI::PaintText(IRenderCanvas& canvas) { DrawLabelText(canvas, 0); }

void CLabelUI::DrawLabelText(IRenderCanvas& canvas, SkinColor color) {
  if (text_.empty() || host_ == nullptr) return;
  if (color == 0) color = StateTextColor();
  SkinRect rc = itemRect_.Deflated(textPadding_);
  if (showHtml_) {
    int links = 0;
    CSkinRender::RenderMarkupText(&canvas, host_, rc, text_, color, nullptr, nullptr, links, textStyle_);
  } else {
    CSkinRender::RenderPlainText(&canvas, host_, rc, text_, color, font_, textStyle_);
  }
}

}  // namespace SkinUI
