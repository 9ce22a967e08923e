#include "ui/controls/text_ui.h"

#include <algorithm>

#include "platform/window_messages.h"
#include "ui/controls/pointer_position.h"
#include "ui/controls/skin_render.h"
#include "ui/core/skin_host.h"

namespace SkinUI {

CTextUI::CTextUI() {
  textStyle_ = DT_WORDBREAK;
  textPadding_ = {2, 0, 2, 0};
}

const wchar_t* CTextUI::ClassName() const { return L"TextUI"; }

void* CTextUI::AsInterface(const std::wstring& name) {
  if (name == L"Text") return static_cast<CTextUI*>(this);
  return CLabelUI::AsInterface(name);
}

std::uint32_t CTextUI::ControlFlags() const { return IsEnabled() && linkCount_ > 0 ? 2 : 0; }

int CTextUI::LinkAt(SkinPoint pt) const {
  for (int i = 0; i < linkCount_; ++i)
    if (linkRects_[i].Contains(pt)) return i;
  return -1;
}

void CTextUI::RestoreCursor() {
  if (!linkCursorShown_) return;
  linkCursorShown_ = false;
  // Nothing remembered means the window's own cursor, the arrow.
  if (host_ != nullptr) host_->SetCursorShape(savedCursor_ != 0 ? savedCursor_ : std::uint16_t{platform::kCursorArrow});
}

void CTextUI::HandleEvent(SkinEvent& event) {
  switch (event.type) {
    case kEventSetCursor:
      if (host_ == nullptr) return;
      if (LinkAt(PointerPosition(host_, event.ptMouse)) >= 0 && linkCursor_ != 0) {
        // Set on every request: the window may have shown another cursor since.
        if (!linkCursorShown_) {
          savedCursor_ = host_->CursorShape();
          linkCursorShown_ = true;
        }
        host_->SetCursorShape(linkCursor_);
      } else {
        RestoreCursor();
      }
      return;
    case kEventButtonDown:
    case kEventDblClick:
      if (IsEnabled() && LinkAt(event.ptMouse) >= 0) {
        Invalidate();
        return;
      }
      break;
    case kEventButtonUp:
      if (IsEnabled()) {
        const int link = LinkAt(event.ptMouse);
        if (link >= 0) {
          if (host_ != nullptr) host_->SendNotify(this, L"link", link, linkCount_);
          return;
        }
      }
      break;
    case kEventMouseMove:
      if (IsEnabled() && linkCount_ > 0) {
        const int link = LinkAt(event.ptMouse);
        if (link != hoveredLink_) {
          hoveredLink_ = link;
          Invalidate();
        }
      }
      break;
    case kEventMouseLeave:
      RestoreCursor();
      if (hoveredLink_ != -1) {
        hoveredLink_ = -1;
        Invalidate();
      }
      break;
    default:
      break;
  }
  CLabelUI::HandleEvent(event);
}

void CTextUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"linkcursor")
    SetLinkCursor(CursorIdFromName(value));
  else
    CLabelUI::SetAttribute(name, value);
}

void CTextUI::PaintText(IRenderCanvas& canvas) {
  if (text_.empty() || host_ == nullptr) {
    linkCount_ = 0;
    return;
  }
  if (textColor_ == 0) textColor_ = host_->DefaultTextColor();
  if (disabledTextColor_ == 0) disabledTextColor_ = host_->DisabledTextColor();
  const SkinColor color = IsEnabled() ? textColor_ : disabledTextColor_;
  SkinRect rc = itemRect_.Deflated(textPadding_);
  if (showHtml_) {
    int count = kMaxLinks;
    CSkinRender::RenderMarkupText(&canvas, host_, rc, text_, color, linkRects_.data(), linkTexts_.data(), count, textStyle_);
    linkCount_ = std::clamp(count, 0, kMaxLinks);
  } else {
    linkCount_ = 0;
    CSkinRender::RenderPlainText(&canvas, host_, rc, text_, color, font_, textStyle_);
  }
}

}  // namespace SkinUI
