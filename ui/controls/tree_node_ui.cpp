#include "ui/controls/tree_node_ui.h"

#include <algorithm>

#include "ui/controls/check_box_ui.h"
#include "ui/controls/label_ui.h"
#include "ui/controls/tree_view_ui.h"
#include "ui/core/horizontal_layout_ui.h"
#include "ui/core/skin_host.h"
#include "ui/core/skin_value.h"

namespace SkinUI {

CTreeNodeUI::CTreeNodeUI()
    : row_(new CHorizontalLayoutUI()),
      dottedLine_(new CLabelUI()),
      folderButton_(new CCheckBoxUI()),
      checkBox_(new CCheckBoxUI()),
      item_(new CLabelUI()) {
  row_->Add(dottedLine_);
  row_->Add(folderButton_);
  row_->Add(checkBox_);
  row_->Add(item_);
  CContainerUI::Add(row_);
  dottedLine_->SetVisible(false);
  folderButton_->SetFixedWidth(kButtonWidth);
  checkBox_->SetFixedWidth(kButtonWidth);
  checkBox_->SetVisible(false);
  // Nodes start expanded.
  expanded_ = true;
  folderButton_->Select(true, false);
}

CTreeNodeUI::~CTreeNodeUI() {
  if (parentNode_ != nullptr) {
    auto& siblings = parentNode_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  for (CTreeNodeUI* child : children_) {
    child->parentNode_ = nullptr;
    if (ownsChildren_) delete child;
  }
}

const wchar_t* CTreeNodeUI::ClassName() const { return L"TreeNodeUI"; }

void* CTreeNodeUI::AsInterface(const std::wstring& name) {
  if (name == L"TreeNode") return static_cast<ITreeNodeUI*>(this);
  return CListContainerElementUI::AsInterface(name);
}

bool CTreeNodeUI::IsVisible() const { return CListContainerElementUI::IsVisible() && !hiddenByParent_; }

std::wstring CTreeNodeUI::GetText() const { return item_->GetText(); }

void CTreeNodeUI::SetText(const std::wstring& text) {
  text_ = text;
  item_->SetText(text);
}

void CTreeNodeUI::Select(bool selected) {
  CListContainerElementUI::Select(selected);
  UpdateItemColor();
}

bool CTreeNodeUI::Expand(bool expand) {
  if (expanded_ == expand) return false;
  expanded_ = expand;
  folderButton_->Select(expand, false);
  UpdateHidden();
  if (tree_ != nullptr && tree_->List() != nullptr) tree_->List()->RequestLayout();
  Invalidate();
  return true;
}

void CTreeNodeUI::UpdateHidden() {
  const bool hide = !IsVisible() || !expanded_;
  for (CTreeNodeUI* child : children_) {
    const bool before = child->IsVisible();
    child->hiddenByParent_ = hide;
    // A row that disappears takes the keyboard focus with it.
    if (before && !child->IsVisible() && child->IsFocused() && child->Host() != nullptr) child->Host()->SetFocus(nullptr);
    child->UpdateHidden();
  }
}

void CTreeNodeUI::HandleEvent(SkinEvent& event) {
  CListContainerElementUI::HandleEvent(event);
  if (event.type == kEventMouseEnter || event.type == kEventMouseLeave) UpdateItemColor();
}

void CTreeNodeUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const wchar_t* v = value.c_str();
  if (name == L"horizattr") row_->ApplyAttributes(value);
  else if (name == L"dotlineattr") dottedLine_->ApplyAttributes(value);
  else if (name == L"folderattr") folderButton_->ApplyAttributes(value);
  else if (name == L"checkboxattr") checkBox_->ApplyAttributes(value);
  else if (name == L"itemattr") item_->ApplyAttributes(value);
  else if (name == L"itemtextcolor") colors_[0] = ParseSkinColor(v);
  else if (name == L"itemhottextcolor") colors_[1] = ParseSkinColor(v);
  else if (name == L"selitemtextcolor") colors_[2] = ParseSkinColor(v);
  else if (name == L"selitemhottextcolor") colors_[3] = ParseSkinColor(v);
  else {
    CListContainerElementUI::SetAttribute(name, value);
    return;
  }
  UpdateItemColor();
}

SkinSize CTreeNodeUI::MeasureSize(SkinSize available) {
  if (fixedHeight_ > 0 || host_ == nullptr) return CListContainerElementUI::MeasureSize(available);
  const SkinFontInfo& font = host_->FontInfo(*host_->Font(Info().font));
  return {fixedWidth_, font.height + 10};
}

bool CTreeNodeUI::AddChildNode(CControlUI* control) {
  auto* node = dynamic_cast<CTreeNodeUI*>(control);
  if (node == nullptr) return row_->Add(control);
  if (node == this || node->parentNode_ != nullptr || node->tree_ != nullptr) return false;
  if (tree_ != nullptr) return tree_->AddChildNode(this, node);
  node->parentNode_ = this;
  children_.push_back(node);
  Refresh();
  return true;
}

void CTreeNodeUI::CollectDescendants(std::vector<CTreeNodeUI*>& out) const {
  for (CTreeNodeUI* child : children_) {
    out.push_back(child);
    child->CollectDescendants(out);
  }
}

CTreeNodeUI* CTreeNodeUI::LastDescendant() {
  CTreeNodeUI* node = this;
  while (!node->children_.empty()) node = node->children_.back();
  return node;
}

int CTreeNodeUI::Level() const {
  int level = 0;
  for (const CTreeNodeUI* p = parentNode_; p != nullptr; p = p->parentNode_) ++level;
  return level;
}

void CTreeNodeUI::SetTreeView(CTreeViewUI* tree) {
  tree_ = tree;
  ownsChildren_ = tree == nullptr;
  Refresh();
}

bool CTreeNodeUI::IsChecked() const { return checkBox_->IsSelected(); }

void CTreeNodeUI::SetCheck(bool checked, bool notify) { checkBox_->Select(checked, notify); }

void CTreeNodeUI::SetFolderButtonVisible(bool visible) {
  folderVisible_ = visible;
  Refresh();
}

void CTreeNodeUI::SetCheckBoxVisible(bool visible) { checkBox_->SetVisible(visible); }

void CTreeNodeUI::SetItemTextColors(SkinColor normal, SkinColor hot, SkinColor selected, SkinColor selectedHot) {
  colors_[0] = normal;
  colors_[1] = hot;
  colors_[2] = selected;
  colors_[3] = selectedHot;
  UpdateItemColor();
}

void CTreeNodeUI::Refresh() {
  const bool folder = tree_ != nullptr ? tree_->IsFolderButtonVisible() : folderVisible_;
  folderVisible_ = folder;
  const bool hasChildren = !children_.empty();
  folderButton_->SetVisible(folder && hasChildren);
  // A leaf keeps the place of the folder button, so texts of one level line up.
  const int indent = Level() * kIndent + (folder && !hasChildren ? folderButton_->FixedWidth() : 0);
  dottedLine_->SetVisible(indent > 0);
  if (indent > 0) dottedLine_->SetFixedWidth(indent);
  if (tree_ != nullptr) {
    checkBox_->SetVisible(tree_->IsCheckBoxVisible());
    if (tree_->ItemMinWidth() > 0) SetMinWidth(tree_->ItemMinWidth());
  }
  UpdateItemColor();
}

void CTreeNodeUI::UpdateItemColor() {
  // The node's own colour for its state, else the tree's; a hot state without a colour of its own
  // looks like the same state without the pointer; else the list's item look.
  const int plain = selected_ ? 2 : 0;
  SkinColor color = 0;
  for (int which : {hot_ ? plain + 1 : plain, plain}) {
    color = colors_[which] != 0 ? colors_[which] : tree_ != nullptr ? tree_->ItemTextColors()[which] : 0;
    if (color != 0) break;
  }
  if (color == 0) color = ListItemTextColor(Info(), LookState());
  item_->SetTextColor(color);
}

}  // namespace SkinUI
