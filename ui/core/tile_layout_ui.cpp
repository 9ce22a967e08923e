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
  size = ClampSize(size);
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
  // Cursor and boxes are 64-bit: rows of large children add up.
  const long long cellWidth = (1LL * rc.Width() + ScrollRange().cx) / cols;
  const long long rowStartX = 1LL * rc.left - ScrollPos().cx;
  long long cursorX = rowStartX;
  long long cursorY = 1LL * rc.top - ScrollPos().cy;
  long long rowHeight = 0;
  int placed = 0;
  long long lastBottom = rc.top;
  auto clampW = [](CControlUI* c, long long w) {
    return static_cast<int>(std::min<long long>(std::max<long long>(w, c->MinWidth()), c->MaxWidth()));
  };
  auto clampH = [](CControlUI* c, long long h) {
    return static_cast<int>(std::min<long long>(std::max<long long>(h, c->MinHeight()), c->MaxHeight()));
  };

  const int n = static_cast<int>(items_.size());
  for (int i = 0; i < n; ++i) {
    CControlUI* child = items_[i];
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    const long long cellLeft = cursorX;
    const long long cellRight = cursorX + cellWidth;
    const int column = placed % cols;
    if (column == 0) {
      // A new row: its height is that of the tallest child in it.
      int col = 0;
      for (int j = i; j < n && col < cols; ++j) {
        CControlUI* c = items_[j];
        if (!c->IsVisible() || c->IsFloat()) continue;
        const SkinRect pad = c->Padding();
        long long w = cellWidth - pad.left - pad.right;
        if (col == 0 || col == cols - 1)
          w -= childPadding_ / 2;
        else
          w -= childPadding_;
        SkinSize sz = c->MeasureSize({clampW(c, w), 9999});
        sz.cx = clampW(c, sz.cx);
        sz.cy = clampH(c, sz.cy);
        rowHeight = std::max(rowHeight, 1LL * sz.cy + pad.top + pad.bottom);
        ++col;
      }
    }
    const SkinRect pad = child->Padding();
    const long long boxLeft = cellLeft + pad.left + (column == 0 ? 0 : childPadding_ / 2);
    const long long boxRight = cellRight - pad.right - (column == cols - 1 ? 0 : childPadding_ / 2);
    const long long boxTop = cursorY + pad.top;
    const long long boxBottom = cursorY + rowHeight;
    SkinSize sz = child->MeasureSize({ClampCoord(boxRight - boxLeft), ClampCoord(boxBottom - boxTop)});
    if (sz.cx == 0) sz.cx = ClampCoord(boxRight - boxLeft);
    if (sz.cy == 0) sz.cy = ClampCoord(boxBottom - boxTop);
    sz.cx = clampW(child, sz.cx);
    sz.cy = clampH(child, sz.cy);
    const long long left = (boxLeft + boxRight - sz.cx) / 2;
    const long long top = (boxTop + boxBottom - sz.cy) / 2;
    child->SetPosition({ClampCoord(left), ClampCoord(top), ClampCoord(left + sz.cx), ClampCoord(top + sz.cy)});
    lastBottom = boxBottom;
    ++placed;
    if (placed % cols == 0) {
      cursorX = rowStartX;
      cursorY += rowHeight + childVPadding_;
      rowHeight = 0;
    } else {
      cursorX += cellWidth;
    }
  }
  const int needed = ClampCoord(lastBottom - rc.top + ScrollPos().cy);
  ProcessScrollBar(rc, 0, needed);
}

}  // namespace SkinUI
