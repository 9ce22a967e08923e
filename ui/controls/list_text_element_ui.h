#pragma once
// A list item with one text per column of the list's header. With the owner's "itemshowhtml"
// the texts are mark-up whose links send "link" (wParam: the link's number in the row, lParam:
// the number of links) when clicked.
#include <string>
#include <vector>

#include "ui/controls/list_label_element_ui.h"

namespace SkinUI {

class CListTextElementUI : public CListLabelElementUI {
 public:
  static constexpr int kMaxLinks = 8;

  CListTextElementUI();

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  // The hand cursor over links (2) while enabled and with links.
  std::uint32_t ControlFlags() const override;
  // The control's text is the first column's.
  void SetText(const std::wstring& text) override;
  void HandleEvent(SkinEvent& event) override;
  void PaintText(IRenderCanvas& canvas) override;

  // Column texts; columns beyond the ones set are empty.
  std::wstring ColumnText(int column) const;
  void SetColumnText(int column, const std::wstring& text);
  int LinkCount() const { return linkCount_; }
  const SkinRect& LinkRect(int i) const { return links_[i]; }
  const std::wstring& LinkText(int i) const { return linkTexts_[i]; }

 private:
  // The rectangles the columns are drawn in: the owner's columns cut to the row, or the whole
  // row when the owner has no header.
  std::vector<SkinRect> ColumnRects() const;
  int LinkAt(SkinPoint pt) const;

  std::vector<std::wstring> texts_;
  SkinRect links_[kMaxLinks];
  std::wstring linkTexts_[kMaxLinks];
  int linkCount_ = 0;
  int hoverLink_ = -1;
};

}  // namespace SkinUI
