#include <gtest/gtest.h>

#include "tests/ui/controls/controls_fixture.h"
#include "ui/controls/check_box_ui.h"
#include "ui/controls/label_ui.h"
#include "ui/controls/tree_node_ui.h"
#include "ui/controls/tree_view_ui.h"

using namespace SkinUI;
using testsupport::SkinTree;

namespace {

// a (a1, a2 (a21)), b; rows 20 pixels high.
const wchar_t kTreeSkin[] =
    L"<Window><Default name=\"TreeNode\" value=\"height=&quot;20&quot;\" />"
    L"<VerticalLayout><HorizontalLayout height=\"300\">"
    L"<TreeView name=\"tree\" width=\"300\" visiblecheckbtn=\"true\" selitemtextcolor=\"#FFFF0000\">"
    L"<TreeNode name=\"a\" text=\"A\">"
    L"<TreeNode name=\"a1\" text=\"A1\" />"
    L"<TreeNode name=\"a2\" text=\"A2\" itemattr=\"font=&quot;0&quot;\"><TreeNode name=\"a21\" text=\"A21\" /></TreeNode>"
    L"</TreeNode>"
    L"<TreeNode name=\"b\" text=\"B\" />"
    L"</TreeView><Control /></HorizontalLayout><Control /></VerticalLayout></Window>";

CTreeNodeUI* Node(SkinTree& t, const wchar_t* name) { return dynamic_cast<CTreeNodeUI*>(t.Find(name)); }

}  // namespace

TEST(TreeView, NodesAreRowsInTreeOrderWithTheirLevels) {
  SkinTree t(kTreeSkin);
  auto* tree = t.Find<CTreeViewUI>(L"tree");
  ASSERT_NE(tree, nullptr);
  EXPECT_STREQ(tree->ClassName(), L"TreeViewUI");
  EXPECT_STREQ(Node(t, L"a")->ClassName(), L"TreeNodeUI");
  ASSERT_EQ(tree->Count(), 5);
  const wchar_t* order[] = {L"a", L"a1", L"a2", L"a21", L"b"};
  const int levels[] = {0, 1, 1, 2, 0};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(tree->ItemAt(i), t.Find(order[i])) << i;
    EXPECT_EQ(Node(t, order[i])->Level(), levels[i]) << i;
    EXPECT_EQ(t.Find(order[i])->Position().top, 20 * i) << i;
  }
  EXPECT_EQ(Node(t, L"a21")->ParentNode(), Node(t, L"a2"));
  EXPECT_EQ(Node(t, L"a2")->GetText(), L"A2");
  EXPECT_EQ(Node(t, L"a2")->ItemLabel()->Font(), 0) << "itemattr reaches the label";
  // Folder buttons on nodes with children; leaves keep their place for aligned texts.
  EXPECT_TRUE(Node(t, L"a")->FolderButton()->IsVisible());
  EXPECT_FALSE(Node(t, L"a1")->FolderButton()->IsVisible());
  EXPECT_EQ(Node(t, L"a1")->ItemLabel()->Position().left, Node(t, L"a2")->ItemLabel()->Position().left);
  EXPECT_EQ(Node(t, L"a21")->ItemLabel()->Position().left - Node(t, L"a2")->ItemLabel()->Position().left,
            CTreeNodeUI::kIndent);
  EXPECT_TRUE(Node(t, L"a")->CheckBox()->IsVisible());
}

TEST(TreeView, FolderButtonCollapsesAndExpands) {
  SkinTree t(kTreeSkin);
  CTreeNodeUI* a = Node(t, L"a");
  t.Click(a->FolderButton());
  EXPECT_FALSE(a->IsExpanded());
  for (const wchar_t* hidden : {L"a1", L"a2", L"a21"}) EXPECT_FALSE(t.Find(hidden)->IsVisible()) << hidden;
  EXPECT_EQ(t.Find(L"b")->Position().top, 20) << "the rows below move up";
  std::vector<std::wstring> types = t.log.Types();
  ASSERT_FALSE(types.empty());
  EXPECT_EQ(types[0], L"selectchanged");
  t.Click(a->FolderButton());
  EXPECT_TRUE(a->IsExpanded());
  EXPECT_TRUE(t.Find(L"a21")->IsVisible());
  EXPECT_EQ(t.Find(L"b")->Position().top, 80);

  // Collapsing a2 hides only a21; collapsing a keeps a2's own state.
  auto* tree = t.Find<CTreeViewUI>(L"tree");
  tree->SetItemExpand(Node(t, L"a2"), false);
  tree->SetItemExpand(a, false);
  tree->SetItemExpand(a, true);
  t.Layout();
  EXPECT_TRUE(t.Find(L"a2")->IsVisible());
  EXPECT_FALSE(t.Find(L"a21")->IsVisible());
  EXPECT_EQ(t.Find(L"b")->Position().top, 60);
}

TEST(TreeView, CheckBoxesCheckTheChildrenAndUpdateTheAncestors) {
  SkinTree t(kTreeSkin);
  CTreeNodeUI* a = Node(t, L"a");
  t.Click(a->CheckBox());
  for (const wchar_t* n : {L"a", L"a1", L"a2", L"a21"}) EXPECT_TRUE(Node(t, n)->IsChecked()) << n;
  EXPECT_FALSE(Node(t, L"b")->IsChecked());
  ASSERT_FALSE(t.log.seen.empty());
  EXPECT_EQ(t.log.Types().front(), L"selectchanged");

  // Clearing a grandchild clears its ancestors; checking it again checks them.
  t.Click(Node(t, L"a21")->CheckBox());
  EXPECT_FALSE(Node(t, L"a21")->IsChecked());
  EXPECT_FALSE(Node(t, L"a2")->IsChecked());
  EXPECT_FALSE(a->IsChecked());
  EXPECT_TRUE(Node(t, L"a1")->IsChecked());
  t.Click(Node(t, L"a21")->CheckBox());
  EXPECT_TRUE(Node(t, L"a2")->IsChecked());
  EXPECT_TRUE(a->IsChecked());
}

TEST(TreeView, SelectionDoubleClickAndKeys) {
  SkinTree t(kTreeSkin);
  auto* tree = t.Find<CTreeViewUI>(L"tree");
  CTreeNodeUI* a = Node(t, L"a");
  t.Click(a->ItemLabel());
  EXPECT_EQ(tree->CurSel(), 0);
  EXPECT_EQ(a->ItemLabel()->TextColor(), 0xFFFF0000u) << "the tree's selected text colour";
  // A double click toggles a node with children and sends "itemdbclick".
  const SkinPoint p = SkinTree::Centre(a->ItemLabel());
  t.ws.Click(t.handle, p.x, p.y);
  t.Pump();
  EXPECT_FALSE(a->IsExpanded());
  bool dbclick = false;
  for (const auto& r : t.log.seen)
    if (r.type == L"itemdbclick" && r.sender == L"a") dbclick = true;
  EXPECT_TRUE(dbclick);
  // Right expands, then goes to the first child; Left goes back to the parent, then collapses.
  t.Key(platform::kVkRight);
  EXPECT_TRUE(a->IsExpanded());
  t.Key(platform::kVkRight);
  EXPECT_EQ(tree->CurSel(), 1);
  t.Key(platform::kVkLeft);
  EXPECT_EQ(tree->CurSel(), 0);
  t.Key(platform::kVkLeft);
  EXPECT_FALSE(a->IsExpanded());
  // Down skips the hidden children.
  t.Key(kVkDown);
  EXPECT_EQ(tree->CurSel(), 4);
  // Space toggles the check box of the selected node.
  t.Key(kVkSpace, U' ');
  EXPECT_TRUE(Node(t, L"b")->IsChecked());
}

TEST(TreeView, NodesAddedAndRemovedInCode) {
  SkinTree t(kTreeSkin);
  auto* tree = t.Find<CTreeViewUI>(L"tree");
  auto* c = new CTreeNodeUI();
  c->SetText(L"C");
  auto* c1 = new CTreeNodeUI();
  c1->SetText(L"C1");
  ASSERT_TRUE(c->AddChildNode(c1));  // before the tree has it
  ASSERT_TRUE(tree->AddNode(c));
  EXPECT_EQ(tree->Count(), 7);
  EXPECT_EQ(tree->ItemAt(6), c1);
  // A child of b goes right after b.
  auto* b1 = new CTreeNodeUI();
  ASSERT_TRUE(Node(t, L"b")->AddChildNode(b1));
  EXPECT_EQ(tree->ItemIndex(b1), 5);
  EXPECT_TRUE(Node(t, L"b")->FolderButton()->IsVisible());
  EXPECT_FALSE(tree->AddNode(b1)) << "a node is in one place only";
  // Removing a node removes its descendants.
  ASSERT_TRUE(tree->Remove(t.Find(L"a")));
  t.host.ProcessDelayedCleanup();
  EXPECT_EQ(tree->Count(), 4);
  EXPECT_EQ(tree->ItemAt(0), t.Find(L"b"));
  EXPECT_EQ(t.Find(L"a21"), nullptr);
}
