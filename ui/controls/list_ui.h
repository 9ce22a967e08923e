#pragma once
// A list: a column header over a scrolling body of items. The list owns the items' look (the
// "item..." attributes) and the selection: a click, the arrow, page, Home and End keys (and the
// wheel with "scrollselect") select an item, which is scrolled into view, and "itemselect" is
// sent with the new and the old index. Children written in the skin go to the body, except a
// "ListHeader" (which becomes the header) and "ListHeaderItem"s (which join it). The container
// operations (ItemAt, Count, Add, ...) and the scrolling operations work on the body.
#include <memory>

#include "ui/controls/list_interfaces.h"
#include "ui/core/vertical_layout_ui.h"

namespace SkinUI {

class CListBodyUI;
class CListHeaderUI;

class CListUI : public CVerticalLayoutUI, public IListUI {
 public:
  CListUI();
  ~CListUI() override;

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  void HandleEvent(SkinEvent& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  // ---- the body's items ----------------------------------------------------------------------
  CControlUI* ItemAt(int index) const override;
  int ItemIndex(CControlUI* control) const override;
  bool SetItemIndex(CControlUI* control, int index) override;
  int Count() const override;
  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool Remove(CControlUI* control) override;
  bool RemoveAt(int index) override;
  void RemoveAll() override;
  int FindSelectable(int index, bool forward) const override;

  // ---- the body's scrolling ------------------------------------------------------------------
  SkinSize ScrollPos() const override;
  SkinSize ScrollRange() const override;
  void SetScrollPos(SkinSize pos) override;
  void LineUp() override;
  void LineDown() override;
  void PageUp() override;
  void PageDown() override;
  void HomeUp() override;
  void EndDown() override;
  void LineLeft() override;
  void LineRight() override;
  void PageLeft() override;
  void PageRight() override;
  void HomeLeft() override;
  void EndRight() override;
  void EnableScrollBar(bool vertical, bool horizontal) override;
  CScrollBarBaseUI* VerticalScrollBar() const override;
  CScrollBarBaseUI* HorizontalScrollBar() const override;

  // ---- IListUI -------------------------------------------------------------------------------
  ListInfoUI* ListInfo() override { return &info_; }
  int CurSel() const override { return curSel_; }
  bool SelectItem(int index, bool takeFocus = false) override;
  void DoEvent(SkinEvent& event) override;
  CListHeaderUI* Header() const override { return header_; }
  CContainerUI* List() const override;
  bool ExpandItem(int index, bool expand = true) override;
  int ExpandedItem() const override { return expandedItem_; }
  void OnHeaderChanged() override;

  // Scrolls the body so that the item at `index` is wholly visible.
  void EnsureVisible(int index);
  bool IsScrollSelect() const { return scrollSelect_; }
  void SetScrollSelect(bool on) { scrollSelect_ = on; }

 protected:
  // Adds to the body without touching the header.
  bool AddItemAt(CControlUI* control, int index);

  ListInfoUI info_;
  CListHeaderUI* header_ = nullptr;
  CListBodyUI* body_ = nullptr;
  int curSel_ = -1;
  int expandedItem_ = -1;
  bool scrollSelect_ = false;
  int lastHeaderWidth_ = -1;
};

}  // namespace SkinUI
