#include "ui/controls/tree_view_ui.h"

#include <algorithm>

#include "platform/window_messages.h"
#include "ui/controls/check_box_ui.h"
#include "ui/controls/list_body_ui.h"
#include "ui/controls/list_header_ui.h"
#include "ui/controls/tree_node_ui.h"
#include "ui/core/skin_value.h"

namespace SkinUI {
namespace {

CTreeNodeUI* AsNode(CControlUI* control) { return dynamic_cast<CTreeNodeUI*>(control); }

}  // namespace

CTreeViewUI::CTreeViewUI() { header_->SetVisible(false); }

CTreeViewUI::~CTreeViewUI() = default;

const wchar_t* CTreeViewUI::ClassName() const { return L"TreeViewUI"; }

void* CTreeViewUI::AsInterface(const std::wstring& name) {
  if (name == L"TreeView") return static_cast<ITreeViewUI*>(this);
  return CListUI::AsInterface(name);
}

bool CTreeViewUI::Add(CControlUI* control) {
  if (AsNode(control) != nullptr) return AddNode(control);
  return CListUI::Add(control);
}

bool CTreeViewUI::AddAt(CControlUI* control, int index) {
  if (CTreeNodeUI* node = AsNode(control)) {
    if (node->ParentNode() != nullptr || node->TreeView() != nullptr) return false;
    return InsertNodeRows(node, index);
  }
  return CListUI::AddAt(control, index);
}

bool CTreeViewUI::AddNode(CControlUI* control) {
  CTreeNodeUI* node = AsNode(control);
  if (node == nullptr || node->ParentNode() != nullptr || node->TreeView() != nullptr) return false;
  return InsertNodeRows(node, Count());
}

bool CTreeViewUI::AddChildNode(CTreeNodeUI* parent, CTreeNodeUI* child) {
  if (parent == nullptr || child == nullptr || parent->TreeView() != this || child == parent) return false;
  if (child->ParentNode() != nullptr || child->TreeView() != nullptr) return false;
  const int index = ItemIndex(parent->LastDescendant()) + 1;
  if (index <= 0) return false;
  child->parentNode_ = parent;
  parent->children_.push_back(child);
  if (!InsertNodeRows(child, index)) {
    parent->children_.pop_back();
    child->parentNode_ = nullptr;
    return false;
  }
  parent->Refresh();
  parent->UpdateHidden();
  return true;
}

bool CTreeViewUI::InsertNodeRows(CTreeNodeUI* node, int index) {
  if (!AddItemAt(node, index)) return false;
  Adopt(node);
  std::vector<CTreeNodeUI*> descendants;
  node->CollectDescendants(descendants);
  int at = index + 1;
  for (CTreeNodeUI* d : descendants) {
    if (AddItemAt(d, at)) ++at;
    Adopt(d);
  }
  node->UpdateHidden();
  return true;
}

void CTreeViewUI::Adopt(CTreeNodeUI* node) {
  node->SetTreeView(this);
  node->FolderButton()->onNotify.Add(CDelegateUI<SkinNotify>::Member<CTreeViewUI, &CTreeViewUI::OnFolderChanged>(this));
  node->CheckBox()->onNotify.Add(CDelegateUI<SkinNotify>::Member<CTreeViewUI, &CTreeViewUI::OnCheckBoxChanged>(this));
  node->onEvent.Add(CDelegateUI<SkinEvent>::Member<CTreeViewUI, &CTreeViewUI::OnNodeEvent>(this));
}

bool CTreeViewUI::Remove(CControlUI* control) {
  CTreeNodeUI* node = AsNode(control);
  if (node == nullptr || node->TreeView() != this) return CListUI::Remove(control);
  std::vector<CTreeNodeUI*> rows{node};
  node->CollectDescendants(rows);
  CTreeNodeUI* parent = node->ParentNode();
  if (parent != nullptr) {
    auto& siblings = parent->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), node), siblings.end());
    node->parentNode_ = nullptr;
  }
  for (CTreeNodeUI* row : rows) {
    // Gone from the tree: their parts no longer reach it.
    row->FolderButton()->onNotify.Remove(CDelegateUI<SkinNotify>::Member<CTreeViewUI, &CTreeViewUI::OnFolderChanged>(this));
    row->CheckBox()->onNotify.Remove(CDelegateUI<SkinNotify>::Member<CTreeViewUI, &CTreeViewUI::OnCheckBoxChanged>(this));
    row->onEvent.Remove(CDelegateUI<SkinEvent>::Member<CTreeViewUI, &CTreeViewUI::OnNodeEvent>(this));
  }
  // Deepest rows first, so that no node outlives the list of its parent.
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) CListUI::Remove(*it);
  if (parent != nullptr) parent->Refresh();
  return true;
}

void CTreeViewUI::RemoveAll() { CListUI::RemoveAll(); }

CTreeNodeUI* CTreeViewUI::NodeOf(CControlUI* part) const {
  for (CControlUI* c = part; c != nullptr; c = c->Parent())
    if (CTreeNodeUI* node = AsNode(c)) return node->TreeView() == this ? node : nullptr;
  return nullptr;
}

bool CTreeViewUI::SetItemExpand(CTreeNodeUI* node, bool expand) {
  if (node == nullptr || node->TreeView() != this) return false;
  return node->Expand(expand);
}

bool CTreeViewUI::SetItemCheck(CTreeNodeUI* node, bool checked) {
  if (node == nullptr || node->TreeView() != this) return false;
  node->SetCheck(checked, true);
  std::vector<CTreeNodeUI*> descendants;
  node->CollectDescendants(descendants);
  for (CTreeNodeUI* d : descendants) d->SetCheck(checked, false);
  UpdateAncestorChecks(node);
  return true;
}

void CTreeViewUI::UpdateAncestorChecks(CTreeNodeUI* node) {
  for (CTreeNodeUI* p = node->ParentNode(); p != nullptr; p = p->ParentNode()) {
    const auto& kids = p->ChildNodes();
    const bool all = std::all_of(kids.begin(), kids.end(), [](CTreeNodeUI* k) { return k->IsChecked(); });
    p->SetCheck(all, false);
  }
}

void CTreeViewUI::Notify(SkinNotify& msg) {
  CTreeNodeUI* node = NodeOf(msg.sender);
  if (node == nullptr) return;
  if (msg.sender == node->FolderButton())
    OnFolderChanged(msg);
  else if (msg.sender == node->CheckBox())
    OnCheckBoxChanged(msg);
}

bool CTreeViewUI::OnFolderChanged(SkinNotify& msg) {
  if (msg.type != L"selectchanged") return true;
  if (CTreeNodeUI* node = NodeOf(msg.sender)) SetItemExpand(node, node->FolderButton()->IsSelected());
  return true;
}

bool CTreeViewUI::OnCheckBoxChanged(SkinNotify& msg) {
  if (msg.type != L"selectchanged") return true;
  CTreeNodeUI* node = NodeOf(msg.sender);
  if (node == nullptr) return true;
  std::vector<CTreeNodeUI*> descendants;
  node->CollectDescendants(descendants);
  for (CTreeNodeUI* d : descendants) d->SetCheck(node->IsChecked(), false);
  UpdateAncestorChecks(node);
  return true;
}

bool CTreeViewUI::OnNodeEvent(SkinEvent& event) {
  if (event.type != kEventDblClick) return true;
  CTreeNodeUI* node = AsNode(event.sender);
  if (node != nullptr && node->TreeView() == this && !node->ChildNodes().empty())
    SetItemExpand(node, !node->IsExpanded());
  return true;  // the node still sends its "itemdbclick"
}

void CTreeViewUI::DoEvent(SkinEvent& event) {
  CTreeNodeUI* node = event.type == kEventKeyDown ? AsNode(ItemAt(curSel_)) : nullptr;
  if (node != nullptr) {
    switch (event.chKey) {
      case platform::kVkLeft:  // collapse, or go to the parent
        if (node->IsExpanded() && !node->ChildNodes().empty())
          SetItemExpand(node, false);
        else if (node->ParentNode() != nullptr)
          SelectItem(ItemIndex(node->ParentNode()), true);
        return;
      case platform::kVkRight:  // expand, or go to the first child
        if (!node->ChildNodes().empty()) {
          if (!node->IsExpanded())
            SetItemExpand(node, true);
          else
            SelectItem(ItemIndex(node->ChildNodes().front()), true);
        }
        return;
      case kVkSpace:
        if (checkVisible_) SetItemCheck(node, !node->IsChecked());
        return;
      default:
        break;
    }
  }
  CListUI::DoEvent(event);
}

void CTreeViewUI::ApplySettings() {
  for (int i = 0; i < Count(); ++i)
    if (CTreeNodeUI* node = AsNode(ItemAt(i))) node->Refresh();
  body_->RequestLayout();
}

void CTreeViewUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const wchar_t* v = value.c_str();
  if (name == L"visiblefolderbtn") {
    folderVisible_ = ParseSkinBool(v);
  } else if (name == L"visiblecheckbtn") {
    checkVisible_ = ParseSkinBool(v);
  } else if (name == L"itemminwidth") {
    itemMinWidth_ = std::max(0, ParseSkinInt(v));
  } else if (name == L"itemtextcolor" || name == L"itemhottextcolor") {
    colors_[name == L"itemtextcolor" ? 0 : 1] = ParseSkinColor(v);
    CListUI::SetAttribute(name, value);
  } else if (name == L"selitemtextcolor") {
    colors_[2] = ParseSkinColor(v);
  } else if (name == L"selitemhottextcolor") {
    colors_[3] = ParseSkinColor(v);
  } else {
    CListUI::SetAttribute(name, value);
    return;
  }
  ApplySettings();
}

}  // namespace SkinUI
