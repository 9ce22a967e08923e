#pragma once
// A node of a tree view: a list item whose row holds, left to right, the indent of its level
// (dotted line), the folder button that expands and collapses its children, the check box and
// the item label with the node's text. Child nodes are rows of the same tree, below their parent;
// a collapsed node hides all of them. A node built before it joins a tree keeps its child nodes
// until the tree takes them.
#include <vector>

#include "ui/controls/list_container_element_ui.h"
#include "ui/core/skin_builder.h"

namespace SkinUI {

class CCheckBoxUI;
class CHorizontalLayoutUI;
class CLabelUI;
class CTreeViewUI;

class CTreeNodeUI : public CListContainerElementUI, public ITreeNodeUI {
 public:
  // Pixels of indent per level.
  static constexpr int kIndent = 16;
  static constexpr int kButtonWidth = 16;

  CTreeNodeUI();
  ~CTreeNodeUI() override;

  const wchar_t* ClassName() const override;
  // "TreeNode" answers with the ITreeNodeUI interface.
  void* AsInterface(const std::wstring& name) override;
  // Visible only while every ancestor is expanded.
  bool IsVisible() const override;
  std::wstring GetText() const override;
  void SetText(const std::wstring& text) override;
  void Select(bool selected) override;
  bool Expand(bool expand) override;
  void HandleEvent(SkinEvent& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  // The fixed height, else a line of the item font with some air.
  SkinSize MeasureSize(SkinSize available) override;

  // A child node (to the end of this node's children), or another control for the row.
  bool AddChildNode(CControlUI* control) override;

  CTreeNodeUI* ParentNode() const { return parentNode_; }
  const std::vector<CTreeNodeUI*>& ChildNodes() const { return children_; }
  // This node's children and theirs, depth first.
  void CollectDescendants(std::vector<CTreeNodeUI*>& out) const;
  CTreeNodeUI* LastDescendant();
  int Level() const;
  CTreeViewUI* TreeView() const { return tree_; }
  // Joins or leaves a tree (the tree calls this; the tree owns the rows from then on).
  void SetTreeView(CTreeViewUI* tree);

  bool IsChecked() const;
  // The check mark; with `notify` the check box sends "selectchanged" (the tree then checks the
  // children and updates the ancestors).
  void SetCheck(bool checked, bool notify = false);
  // The folder button shown (on a node with children), the check box shown.
  void SetFolderButtonVisible(bool visible);
  void SetCheckBoxVisible(bool visible);
  // Item text colours; 0 falls back to the tree's, then to the list look.
  void SetItemTextColors(SkinColor normal, SkinColor hot, SkinColor selected, SkinColor selectedHot);

  CHorizontalLayoutUI* Row() const { return row_; }
  CLabelUI* DottedLine() const { return dottedLine_; }
  CCheckBoxUI* FolderButton() const { return folderButton_; }
  CCheckBoxUI* CheckBox() const { return checkBox_; }
  CLabelUI* ItemLabel() const { return item_; }

  // The tree's settings changed (levels, buttons, colours): the row is arranged again.
  void Refresh();

 private:
  friend class CTreeViewUI;
  void UpdateItemColor();
  // Whether an ancestor hides this node, recomputed for it and its descendants.
  void UpdateHidden();

  CHorizontalLayoutUI* row_;
  CLabelUI* dottedLine_;
  CCheckBoxUI* folderButton_;
  CCheckBoxUI* checkBox_;
  CLabelUI* item_;
  CTreeViewUI* tree_ = nullptr;
  CTreeNodeUI* parentNode_ = nullptr;
  std::vector<CTreeNodeUI*> children_;
  // Children taken before this node joined a tree; owned here until then.
  bool ownsChildren_ = true;
  bool hiddenByParent_ = false;
  bool folderVisible_ = true;
  SkinColor colors_[4] = {0, 0, 0, 0};  // normal, hot, selected, selected hot
};

}  // namespace SkinUI
