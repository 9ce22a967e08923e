#include "ui/controls/list_header_item_ui.h"

#include <algorithm>

#include "platform/window_messages.h"
#include "ui/controls/control_state.h"
#include "ui/controls/label_ui.h"
#include "ui/controls/list_header_ui.h"
#include "ui/controls/pointer_position.h"
#include "ui/controls/skin_render.h"
#include "ui/core/skin_host.h"
#include "ui/core/skin_value.h"

namespace SkinUI {
namespace {

// A column header has no disabled image of its own.
constexpr unsigned kHeaderStates = kAllStateImages & ~(1u << CStateImagesUI::kDisabled);

}  // namespace

CListHeaderItemUI::CListHeaderItemUI() {
  mouseEnabled_ = true;
  minWidth_ = kMinDragWidth;
}

const wchar_t* CListHeaderItemUI::ClassName() const { return L"ListHeaderItemUI"; }

void* CListHeaderItemUI::AsInterface(const std::wstring& name) {
  if (name == L"ListHeaderItem") return static_cast<CListHeaderItemUI*>(this);
  return CControlUI::AsInterface(name);
}

std::uint32_t CListHeaderItemUI::ControlFlags() const { return IsEnabled() ? 2u : 0u; }

CListHeaderUI* CListHeaderItemUI::Header() const {
  return parent_ != nullptr ? static_cast<CListHeaderUI*>(parent_->AsInterface(L"ListHeader")) : nullptr;
}

int CListHeaderItemUI::ColumnIndex() const {
  CListHeaderUI* header = Header();
  return header != nullptr ? header->ItemIndex(const_cast<CListHeaderItemUI*>(this)) : -1;
}

void CListHeaderItemUI::SetStatusImages(const SkinStatusImageMap& images) {
  images_.Take(images, kHeaderStates);
  Invalidate();
}

void CListHeaderItemUI::SetEnabled(bool enabled) {
  CControlUI::SetEnabled(enabled);
  if (!IsEnabled()) {
    state_ = 0;
    dragging_ = checkPressed_ = false;
  }
}

SkinRect CListHeaderItemUI::SepRect() const {
  if (!dragable_ || sepWidth_ == 0) return {};
  if (sepWidth_ > 0) return {itemRect_.right - sepWidth_, itemRect_.top, itemRect_.right, itemRect_.bottom};
  return {itemRect_.left, itemRect_.top, itemRect_.left - sepWidth_, itemRect_.bottom};
}

SkinRect CListHeaderItemUI::CheckBoxRect() const {
  if (checkRect_.IsEmpty()) return {};
  SkinRect rc = checkRect_;
  rc.Offset(itemRect_.left, itemRect_.top);
  return rc;
}

void CListHeaderItemUI::SetChecked(bool checked, bool notify) {
  if (checked_ == checked) return;
  checked_ = checked;
  Invalidate();
  if (notify && host_ != nullptr) host_->SendNotify(this, L"headercheck", checked_ ? 1 : 0, ColumnIndex());
}

void CListHeaderItemUI::HandleEvent(SkinEvent& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
    CControlUI::HandleEvent(event);
    return;
  }
  const SkinPoint pt = event.ptMouse;
  switch (event.type) {
    case kEventSetCursor:
      if (host_ != nullptr)
        host_->SetCursorShape(SepRect().Contains(PointerPosition(host_, pt)) ? platform::kCursorSizeWe : platform::kCursorArrow);
      return;
    case kEventButtonDown:
    case kEventDblClick:
      if (!IsEnabled()) return;
      if (SepRect().Contains(pt)) {
        dragging_ = true;
        dragStartX_ = pt.x;
        dragStartWidth_ = itemRect_.Width();
      } else if (CheckBoxRect().Contains(pt)) {
        checkPressed_ = true;
      } else {
        state_ |= kStatePushed | kStateCaptured;
        Invalidate();
      }
      return;
    case kEventMouseMove:
      if (dragging_) {
        // A strip on the left edge grows the column when dragged to the left.
        const int moved = sepWidth_ > 0 ? pt.x - dragStartX_ : dragStartX_ - pt.x;
        const int width = std::clamp(dragStartWidth_ + moved, std::max(kMinDragWidth, minWidth_),
                                     std::max(maxWidth_, kMinDragWidth));
        SetFixedWidth(width);  // the header lays the columns out again
      } else if ((state_ & kStateCaptured) != 0) {
        const std::uint32_t before = state_;
        state_ = itemRect_.Contains(pt) ? state_ | kStatePushed : state_ & ~kStatePushed;
        if (state_ != before) Invalidate();
      }
      return;
    case kEventButtonUp:
      if (dragging_) {
        dragging_ = false;
        return;
      }
      if (checkPressed_) {
        checkPressed_ = false;
        if (CheckBoxRect().Contains(pt)) SetChecked(!checked_, true);
        return;
      }
      if ((state_ & kStateCaptured) != 0) {
        state_ &= ~(kStatePushed | kStateCaptured);
        Invalidate();
        if (itemRect_.Contains(pt) && host_ != nullptr) {
          const int column = ColumnIndex();
          host_->SendNotify(this, L"headerclick", column);
          if (canSelect_ && Header() != nullptr) Header()->SelectColumn(column);
        }
      }
      return;
    case kEventMouseEnter:
    case kEventMouseLeave:
      FollowHover(event.type, IsEnabled(), state_);
      Invalidate();
      return;
    default:
      break;
  }
  CControlUI::HandleEvent(event);
}

void CListHeaderItemUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const wchar_t* v = value.c_str();
  if (images_.SetAttribute(name, value, kHeaderStates)) {
    Invalidate();
    return;
  }
  if (name == L"checkrect") checkRect_ = ClampRect(ParseSkinRect(v));
  else if (name == L"dragable") SetDragable(ParseSkinBool(v));
  else if (name == L"sepwidth") SetSepWidth(ParseSkinInt(v));
  else if (name == L"align") textStyle_ = ApplyAlignWords(textStyle_, value);
  else if (name == L"endellipsis")
    textStyle_ = ParseSkinBool(v) ? textStyle_ | DT_END_ELLIPSIS : textStyle_ & ~DT_END_ELLIPSIS;
  else if (name == L"font") font_ = ParseSkinInt(v);
  else if (name == L"textcolor") textColor_ = ParseSkinColor(v);
  else if (name == L"textpadding") textPadding_ = ClampRect(ParseSkinRect(v));
  else if (name == L"showhtml") showHtml_ = ParseSkinBool(v);
  else if (name == L"sepimage") SetImageSpec(sepImage_, value);
  else if (name == L"canselect") canSelect_ = ParseSkinBool(v);
  else {
    CControlUI::SetAttribute(name, value);
    return;
  }
  Invalidate();
}

SkinSize CListHeaderItemUI::MeasureSize(SkinSize available) {
  if (fixedHeight_ > 0 || host_ == nullptr) return CControlUI::MeasureSize(available);
  const SkinFontInfo& font = host_->FontInfo(*host_->Font(font_));
  return {fixedWidth_, textPadding_.top + font.height + textPadding_.bottom + 12};
}

void CListHeaderItemUI::PaintStatusImage(IRenderCanvas& canvas) {
  CStateImagesUI::State state = CStateImagesUI::kNormal;
  if ((state_ & kStatePushed) != 0)
    state = CStateImagesUI::kPushed;
  else if ((state_ & kStateHot) != 0)
    state = CStateImagesUI::kHot;
  else if (IsFocused())
    state = CStateImagesUI::kFocused;
  images_.Paint(state, [&](SkinImageSpec& spec) { return DrawImage(canvas, spec); });

  // Parts drawn at their own place inside the item: the strip, the check box, the sort mark.
  auto drawAt = [&](SkinImageSpec& spec, const SkinRect& rc) {
    if (spec.IsEmpty() || host_ == nullptr || rc.IsEmpty()) return;
    SkinImageSpec copy = spec;
    copy.dest = {rc.left - itemRect_.left, rc.top - itemRect_.top, rc.right - itemRect_.left, rc.bottom - itemRect_.top};
    if (!canvas.PaintImage(host_, itemRect_, paintRect_, copy)) spec.Reset();
  };
  drawAt(sepImage_, SepRect());
  CListHeaderUI* header = Header();
  if (header == nullptr) return;
  if (!checkRect_.IsEmpty()) {
    CListHeaderUI::CheckImage which = IsEnabled() ? (checked_ ? CListHeaderUI::kCheckSelected : CListHeaderUI::kCheckNormal)
                                                  : (checked_ ? CListHeaderUI::kCheckSelectedDisabled
                                                              : CListHeaderUI::kCheckDisabled);
    drawAt(header->CheckImageSpec(which), CheckBoxRect());
  }
  if (header->SelectedColumn() >= 0 && header->SelectedColumn() == ColumnIndex()) {
    // The sort mark: its own "dest" places it, else it covers the item.
    SkinImageSpec& mark = header->IsReverse() ? header->ReverseImage() : header->ForwardImage();
    if (!mark.IsEmpty() && !canvas.PaintImage(host_, itemRect_, paintRect_, mark)) mark.Reset();
  }
}

void CListHeaderItemUI::PaintText(IRenderCanvas& canvas) {
  if (text_.empty() || host_ == nullptr) return;
  SkinColor color = textColor_ != 0 ? textColor_ : host_->DefaultTextColor();
  if (!IsEnabled()) color = host_->DisabledTextColor();
  SkinRect rc = itemRect_.Deflated(textPadding_);
  if (!checkRect_.IsEmpty()) rc.left = std::max(rc.left, CheckBoxRect().right);
  if (showHtml_) {
    int links = 0;
    CSkinRender::RenderMarkupText(&canvas, host_, rc, text_, color, nullptr, nullptr, links, textStyle_);
  } else {
    CSkinRender::RenderPlainText(&canvas, host_, rc, text_, color, font_, textStyle_);
  }
}

}  // namespace SkinUI
