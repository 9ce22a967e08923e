#include "ui/controls/list_body_ui.h"

#include "ui/controls/list_header_ui.h"
#include "ui/controls/list_ui.h"

namespace SkinUI {

CListBodyUI::CListBodyUI(CListUI* owner) : owner_(owner) {}

void CListBodyUI::SetPosition(const SkinRect& rc) {
  CListHeaderUI* header = owner_ != nullptr ? owner_->Header() : nullptr;
  if (hScroll_ && header != nullptr && header->IsVisible() && header->Count() > 0) {
    int visible = rc.Width() - inset_.left - inset_.right;
    if (IsBarVisible(vScroll_) && !floatScrollBar_) visible -= vScroll_->FixedWidth();
    const int needed = header->ContentWidth();
    if (needed > visible) {
      if (!hScroll_->IsVisible()) {
        hScroll_->SetVisible(true);
        hScroll_->SetScrollPos(0);
      }
      hScroll_->SetScrollRange(needed - visible);
    } else if (hScroll_->IsVisible()) {
      hScroll_->SetVisible(false);
      hScroll_->SetScrollRange(0);
      hScroll_->SetScrollPos(0);
    }
  }
  CVerticalLayoutUI::SetPosition(rc);
}

void CListBodyUI::SetScrollPos(SkinSize pos) {
  const int before = ScrollPos().cx;
  CVerticalLayoutUI::SetScrollPos(pos);
  CListHeaderUI* header = owner_ != nullptr ? owner_->Header() : nullptr;
  if (header != nullptr && ScrollPos().cx != before) header->SetPosition(header->Position());
}

}  // namespace SkinUI
