#include "ui/core/tile_layout_ui.h"

#include <algorithm>

#include "ui/core/skin_value.h"

namespace SkinUI {

const wchar_t* CTileLayoutUI::ClassName() const { return L"TileLayoutUI"; }

void* CTileLayoutUI::AsInterface(const std::wstring& name) {
  if (name == L"TileLayout") return static_cast<CControlUI*>(this);
  return CContainerUI::AsInterface(name);
}

void CTileLayoutUI::SetItemSize(SkinSize size) {
  if (itemSize_ == size) return;
  itemSize_ = size;
  RequestLayout();
}

void CTileLayoutUI::SetColumns(int columns) {
  if (columns < 1) return;
  columns_ = columns;
  RequestLayout();
}

void CTileLayoutUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"itemsize")
    SetItemSize(ParseSkinSize(value));
  else if (name == L"columns")
    SetColumns(ParseSkinInt(value));
  else
    CContainerUI::SetAttribute(name, value);
}

void CTileLayoutUI::SetPosition(const SkinRect& rcIn) {
  CControlUI::SetPosition(rcIn);
  SkinRect rc = itemRect_.Deflated(inset_);
  if (items_.empty()) {
    ProcessScrollBar(rc, 0, 0);
    return;
  }
  const bool vBar = IsBarVisible(vScroll_);
  const bool hBar = IsBarVisible(hScroll_);
  if (vBar) rc.right -= vScroll_->FixedWidth();
  if (hBar) rc.bottom -= hScroll_->FixedHeight();

  if (itemSize_.cx > 0) columns_ = rc.Width() / itemSize_.cx;
  // Also when the area is narrower than nothing: never fewer than one column.
  if (columns_ < 1) columns_ = 1;
  const int cols = columns_;
  const int cellWidth = (rc.Width() + (hBar ? hScroll_->ScrollRange() : 0)) / cols;

  const int rowStartX = rc.left - (hBar ? hScroll_->ScrollPos() : 0);
  SkinPoint cursor{rowStartX, rc.top - (vBar ? vScroll_->ScrollPos() : 0)};
  int rowHeight = 0;
  int placed = 0;
  int lastBottom = rc.top;
  auto clampW = [](CControlUI* c, int w) { return std::min(std::max(w, c->MinWidth()), c->MaxWidth()); };
  auto clampH = [](CControlUI* c, int h) { return std::min(std::max(h, c->MinHeight()), c->MaxHeight()); };

  const int n = static_cast<int>(items_.size());
  for (int i = 0; i < n; ++i) {
    CControlUI* child = items_[i];
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    const SkinRect cell{cursor.x, cursor.y, cursor.x + cellWidth, cursor.y + itemSize_.cy};
    const int column = placed % cols;
    if (column == 0) {
      // A new row: its height is that of the tallest child in it.
      int col = 0;
      for (int j = i; j < n && col < cols; ++j) {
        CControlUI* c = items_[j];
        if (!c->IsVisible() || c->IsFloat()) continue;
        const SkinRect pad = c->Padding();
        int w = cellWidth - pad.left - pad.right;
        if (col == 0 || col == cols - 1)
          w -= childPadding_ / 2;
        else
          w -= childPadding_;
        w = clampW(c, w);
        SkinSize sz = c->MeasureSize({w, 9999});
        sz.cx = clampW(c, sz.cx);
        sz.cy = clampH(c, sz.cy);
        rowHeight = std::max(rowHeight, sz.cy + pad.top + pad.bottom);
        ++col;
      }
    }
    const SkinRect pad = child->Padding();
    SkinRect box;
    box.left = cell.left + pad.left + (column == 0 ? 0 : childPadding_ / 2);
    box.right = cell.right - pad.right - (column == cols - 1 ? 0 : childPadding_ / 2);
    box.top = cursor.y + pad.top;
    box.bottom = cursor.y + rowHeight;
    SkinSize sz = child->MeasureSize({box.Width(), box.Height()});
    if (sz.cx == 0) sz.cx = box.Width();
    if (sz.cy == 0) sz.cy = box.Height();
    sz.cx = clampW(child, sz.cx);
    sz.cy = clampH(child, sz.cy);
    const int left = (box.left + box.right - sz.cx) / 2;
    const int top = (box.top + box.bottom - sz.cy) / 2;
    child->SetPosition({left, top, left + sz.cx, top + sz.cy});
    lastBottom = box.bottom;
    ++placed;
    if (placed % cols == 0) {
      cursor.x = rowStartX;
      cursor.y += rowHeight + childVPadding_;
      rowHeight = 0;
    } else {
      cursor.x += cellWidth;
    }
  }
  const int needed = lastBottom - rc.top + (vBar ? vScroll_->ScrollPos() : 0);
  ProcessScrollBar(rc, 0, needed);
}

}  // namespace SkinUI
