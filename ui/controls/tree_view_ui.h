#pragma once
// A tree: a list (without a header) whose rows are tree nodes in depth-first order. Node events
// reach the tree through delegates bound to its node's parts: the folder button expands and
// collapses ("selectchanged" of the button), the check box checks or clears the node's children
// and updates its ancestors ("selectchanged" of the box), a double click on a node toggles it.
// Left and Right collapse and expand the selected node, Space toggles its check box.
#include "ui/controls/list_ui.h"
#include "ui/core/skin_builder.h"
#include "ui/core/skin_host.h"

namespace SkinUI {

class CTreeNodeUI;

class CTreeViewUI : public CListUI, public ITreeViewUI, public INotifyUI {
 public:
  CTreeViewUI();
  ~CTreeViewUI() override;

  const wchar_t* ClassName() const override;
  // "TreeView" answers with the ITreeViewUI interface.
  void* AsInterface(const std::wstring& name) override;
  // Nodes join the tree as top-level nodes; other controls are rows like in a list.
  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  // A node leaves with its descendants.
  bool Remove(CControlUI* control) override;
  void RemoveAll() override;
  void DoEvent(SkinEvent& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  // ---- ITreeViewUI ---------------------------------------------------------------------------
  // A top-level node, after the last row.
  bool AddNode(CControlUI* node) override;

  // A child node of `parent`, after its last descendant.
  bool AddChildNode(CTreeNodeUI* parent, CTreeNodeUI* child);
  bool SetItemExpand(CTreeNodeUI* node, bool expand);
  bool SetItemCheck(CTreeNodeUI* node, bool checked);

  // Notifications and events of the nodes' parts (bound as delegates).
  void Notify(SkinNotify& msg) override;
  bool OnFolderChanged(SkinNotify& msg);
  bool OnCheckBoxChanged(SkinNotify& msg);
  bool OnNodeEvent(SkinEvent& event);

  bool IsFolderButtonVisible() const { return folderVisible_; }
  bool IsCheckBoxVisible() const { return checkVisible_; }
  int ItemMinWidth() const { return itemMinWidth_; }
  const SkinColor* ItemTextColors() const { return colors_; }

 private:
  // Puts `node` at `index` of the rows, then its descendants after it.
  bool InsertNodeRows(CTreeNodeUI* node, int index);
  void Adopt(CTreeNodeUI* node);
  CTreeNodeUI* NodeOf(CControlUI* part) const;
  // An ancestor is checked when all its children are.
  void UpdateAncestorChecks(CTreeNodeUI* node);
  void ApplySettings();

  bool folderVisible_ = true;
  bool checkVisible_ = false;
  int itemMinWidth_ = 0;
  SkinColor colors_[4] = {0, 0, 0, 0};  // normal, hot, selected, selected hot
};

}  // namespace SkinUI
