#include "ui/core/layout_separator.h"

#include <algorithm>
#include <cstdlib>

#include "ui/core/skin_host.h"

namespace SkinUI {

namespace {
constexpr std::uint16_t kCursorSizeNS = 32645;
constexpr std::uint16_t kCursorSizeWE = 32644;
constexpr SkinColor kMarkerColor = 0xAA000000;
}  // namespace

SkinRect CLayoutSeparator::Strip(const SkinRect& rc) const {
  if (size == 0) return {};
  SkinRect s = rc;
  if (vertical_) {
    if (size > 0)
      s.top = rc.bottom - size;
    else
      s.bottom = rc.top - size;
  } else {
    if (size > 0)
      s.left = rc.right - size;
    else
      s.right = rc.left - size;
  }
  return s;
}

SkinRect CLayoutSeparator::MarkerRect() const { return Strip(newRect_); }

bool CLayoutSeparator::HandleEvent(CContainerUI& layout, SkinEvent& event) {
  if (size == 0 || !layout.IsEnabled()) return false;
  CSkinHost* host = layout.Host();
  switch (event.type) {
    case kEventSetCursor:
      if (Strip(layout.Position()).Contains(event.ptMouse) || dragging_) {
        if (host != nullptr) host->SetCursorShape(vertical_ ? kCursorSizeNS : kCursorSizeWE);
        return true;
      }
      return false;
    case kEventButtonDown:
      if (!Strip(layout.Position()).Contains(event.ptMouse)) return false;
      dragging_ = true;
      start_ = event.ptMouse;
      startRect_ = layout.Position();
      newRect_ = startRect_;
      if (!immediate && host != nullptr) host->AddPostPaint(&layout);
      return true;
    case kEventMouseMove: {
      if (!dragging_) return false;
      const int delta = vertical_ ? event.ptMouse.y - start_.y : event.ptMouse.x - start_.x;
      const int startLen = vertical_ ? startRect_.Height() : startRect_.Width();
      // Dragging the far edge grows with the movement, dragging the near edge shrinks with it.
      int len = size > 0 ? startLen + delta : startLen - delta;
      const int minLen = vertical_ ? layout.MinHeight() : layout.MinWidth();
      const int maxLen = vertical_ ? layout.MaxHeight() : layout.MaxWidth();
      len = std::max(len, std::max(minLen, std::abs(size)));
      len = std::min(len, maxLen);
      const SkinRect oldMarker = MarkerRect();
      newRect_ = startRect_;
      if (vertical_) {
        if (size > 0)
          newRect_.bottom = newRect_.top + len;
        else
          newRect_.top = newRect_.bottom - len;
      } else {
        if (size > 0)
          newRect_.right = newRect_.left + len;
        else
          newRect_.left = newRect_.right - len;
      }
      if (immediate) {
        if (vertical_)
          layout.SetFixedHeight(len);
        else
          layout.SetFixedWidth(len);
        layout.RequestParentLayout();
      } else if (host != nullptr) {
        host->Invalidate(UnionRect(oldMarker, MarkerRect()));
      }
      return true;
    }
    case kEventButtonUp: {
      if (!dragging_) return false;
      dragging_ = false;
      if (host != nullptr) {
        host->RemovePostPaint(&layout);
        host->Invalidate(MarkerRect());
      }
      if (vertical_)
        layout.SetFixedHeight(newRect_.Height());
      else
        layout.SetFixedWidth(newRect_.Width());
      layout.RequestParentLayout();
      return true;
    }
    default:
      return false;
  }
}

void CLayoutSeparator::PaintOverlay(IRenderCanvas& canvas) const {
  if (dragging_ && !immediate) canvas.FillColor(MarkerRect(), kMarkerColor);
}

}  // namespace SkinUI
