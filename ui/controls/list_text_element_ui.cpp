#include "ui/controls/list_text_element_ui.h"

#include "platform/window_messages.h"
#include "ui/controls/pointer_position.h"
#include "ui/controls/skin_render.h"
#include "ui/core/skin_host.h"

namespace SkinUI {

CListTextElementUI::CListTextElementUI() = default;

const wchar_t* CListTextElementUI::ClassName() const { return L"ListTextElementUI"; }

void* CListTextElementUI::AsInterface(const std::wstring& name) {
  if (name == L"ListTextElement") return static_cast<CListTextElementUI*>(this);
  return CListLabelElementUI::AsInterface(name);
}

std::uint32_t CListTextElementUI::ControlFlags() const { return IsEnabled() && linkCount_ > 0 ? 2u : 0u; }

void CListTextElementUI::SetText(const std::wstring& text) { SetColumnText(0, text); }

std::wstring CListTextElementUI::ColumnText(int column) const {
  if (column < 0 || column >= static_cast<int>(texts_.size())) return {};
  return texts_[column];
}

void CListTextElementUI::SetColumnText(int column, const std::wstring& text) {
  // A column far beyond any header would only grow the list of texts.
  if (column < 0 || column >= 256) return;
  if (column >= static_cast<int>(texts_.size())) texts_.resize(column + 1);
  if (texts_[column] == text) return;
  texts_[column] = text;
  if (column == 0) text_ = text;
  Invalidate();
}

std::vector<SkinRect> CListTextElementUI::ColumnRects() const {
  const ListInfoUI& info = Info();
  std::vector<SkinRect> out;
  if (info.columns.empty()) {
    out.push_back(itemRect_);
    return out;
  }
  for (const SkinRect& c : info.columns) out.push_back({c.left, itemRect_.top, c.right, itemRect_.bottom});
  return out;
}

int CListTextElementUI::LinkAt(SkinPoint pt) const {
  for (int i = 0; i < linkCount_; ++i)
    if (links_[i].Contains(pt)) return i;
  return -1;
}

void CListTextElementUI::HandleEvent(SkinEvent& event) {
  switch (event.type) {
    case kEventSetCursor:
      if (host_ != nullptr)
        host_->SetCursorShape(LinkAt(PointerPosition(host_, event.ptMouse)) >= 0 ? platform::kCursorHand : platform::kCursorArrow);
      return;
    case kEventMouseMove: {
      const int hover = IsEnabled() ? LinkAt(event.ptMouse) : -1;
      if (hover != hoverLink_) {
        hoverLink_ = hover;
        Invalidate();
      }
      return;
    }
    case kEventMouseLeave:
      if (hoverLink_ >= 0) {
        hoverLink_ = -1;
        Invalidate();
      }
      break;
    case kEventButtonUp: {
      const int link = IsEnabled() ? LinkAt(event.ptMouse) : -1;
      if (link >= 0 && host_ != nullptr) {
        host_->SendNotify(this, L"link", link, linkCount_);
        return;
      }
      break;
    }
    default:
      break;
  }
  CListLabelElementUI::HandleEvent(event);
}

void CListTextElementUI::PaintText(IRenderCanvas& canvas) {
  if (host_ == nullptr) return;
  ListInfoUI& info = Info();
  const SkinColor color = ListItemTextColor(info, LookState());
  const std::vector<SkinRect> columns = ColumnRects();
  int links = 0;
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    const SkinRect& column = columns[i];
    // Column lines between the columns, in the row's line colour.
    if (info.lineColor != 0 && !info.columns.empty())
      canvas.FillColor({column.right - 1, column.top, column.right, column.bottom}, info.lineColor);
    const std::wstring text = ColumnText(i);
    if (text.empty()) continue;
    SkinRect box = column.Deflated(info.textPadding);
    CRenderClip clip(canvas, column);
    if (info.showHtml) {
      int room = kMaxLinks - links;
      CSkinRender::RenderMarkupText(&canvas, host_, box, text, color, links_ + links, linkTexts_ + links, room, info.textStyle);
      links += room;
    } else {
      CSkinRender::RenderPlainText(&canvas, host_, box, text, color, info.font, info.textStyle);
    }
  }
  linkCount_ = links;
}

}  // namespace SkinUI
