#include <gtest/gtest.h>

#include "tests/ui/controls/controls_fixture.h"
#include "ui/controls/list_header_item_ui.h"
#include "ui/controls/list_header_ui.h"
#include "ui/controls/list_label_element_ui.h"
#include "ui/controls/list_text_element_ui.h"
#include "ui/controls/list_ui.h"
#include "ui/controls/scroll_bar_ui.h"

using namespace SkinUI;
using testsupport::NotifyRecord;
using testsupport::SkinTree;

namespace {

// A 300 x 100 list: a 24-pixel header with two columns over a body of ten 20-pixel rows.
std::wstring ListSkin(const std::wstring& listAttributes = L"", const std::wstring& firstColumn = L"") {
  std::wstring xml =
      L"<Window><VerticalLayout><HorizontalLayout height=\"100\">"
      L"<List name=\"list\" width=\"300\" vscrollbar=\"true\" " + listAttributes + L">"
      L"<ListHeader name=\"hdr\" height=\"24\">"
      L"<ListHeaderItem name=\"c0\" text=\"Name\" width=\"120\" " + firstColumn + L" />"
      L"<ListHeaderItem name=\"c1\" text=\"Size\" width=\"100\" canselect=\"true\" />"
      L"</ListHeader>";
  for (int i = 0; i < 10; ++i)
    xml += L"<ListTextElement name=\"r" + std::to_wstring(i) + L"\" height=\"20\" text=\"row " + std::to_wstring(i) + L"\" />";
  xml += L"</List><Control /></HorizontalLayout><Control /></VerticalLayout></Window>";
  return xml;
}

std::vector<NotifyRecord> Of(const SkinTree& t, const std::wstring& type) {
  std::vector<NotifyRecord> out;
  for (const NotifyRecord& r : t.log.seen)
    if (r.type == type) out.push_back(r);
  return out;
}

}  // namespace

TEST(List, BuildsHeaderColumnsAndRows) {
  SkinTree t(ListSkin());
  auto* list = t.Find<CListUI>(L"list");
  ASSERT_NE(list, nullptr);
  EXPECT_STREQ(list->ClassName(), L"ListUI");
  EXPECT_EQ(list->Count(), 10) << "the rows are the list's items; the header is apart";
  EXPECT_EQ(list->Header(), t.Find(L"hdr"));
  EXPECT_EQ(list->ItemAt(3), t.Find(L"r3"));
  EXPECT_EQ(static_cast<IListItemUI*>(t.Find(L"r3")->AsInterface(L"ListItem"))->Index(), 3);
  // The body (76 high) needs 200: its bar shows and the rows leave it room.
  ASSERT_NE(list->VerticalScrollBar(), nullptr);
  EXPECT_TRUE(list->VerticalScrollBar()->IsVisible());
  EXPECT_EQ(list->ScrollRange().cy, 124);
  EXPECT_EQ(t.Find(L"r0")->Position(), (SkinRect{0, 24, 284, 44}));
  const ListInfoUI* info = list->ListInfo();
  ASSERT_EQ(info->columns.size(), 2u);
  EXPECT_EQ(info->columns[0].left, 0);
  EXPECT_EQ(info->columns[0].right, 120);
  EXPECT_EQ(info->columns[1].right, 220);

  // A text row draws one text per column, each in its column.
  auto* row = t.Find<CListTextElementUI>(L"r1");
  row->SetColumnText(1, L"12 KB");
  auto canvas = t.Paint();
  std::vector<std::pair<std::wstring, SkinRect>> texts;
  for (const auto& op : canvas.ops)
    if (op.kind == "text" && (op.file == L"row 1" || op.file == L"12 KB")) texts.emplace_back(op.file, op.rc);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].second.left, 0);
  EXPECT_EQ(texts[0].second.right, 120);
  EXPECT_EQ(texts[1].second.left, 120);
  EXPECT_EQ(texts[1].second.right, 220);
}

TEST(List, ClickAndKeysSelectAndScrollIntoView) {
  SkinTree t(ListSkin());
  auto* list = t.Find<CListUI>(L"list");
  t.Click(t.Find(L"r2"));
  EXPECT_EQ(list->CurSel(), 2);
  EXPECT_TRUE(static_cast<IListItemUI*>(t.Find(L"r2")->AsInterface(L"ListItem"))->IsSelected());
  EXPECT_EQ(t.host.Focus(), t.Find(L"r2"));
  auto selects = Of(t, L"itemselect");
  ASSERT_EQ(selects.size(), 1u);
  EXPECT_EQ(selects[0].sender, L"list");
  EXPECT_EQ(selects[0].wParam, 2);
  EXPECT_EQ(selects[0].lParam, -1);
  ASSERT_EQ(Of(t, L"itemclick").size(), 1u);
  EXPECT_EQ(Of(t, L"itemclick")[0].sender, L"r2");

  t.Key(kVkDown);
  EXPECT_EQ(list->CurSel(), 3);
  EXPECT_EQ(Of(t, L"itemselect").back().lParam, 2);
  EXPECT_FALSE(static_cast<IListItemUI*>(t.Find(L"r2")->AsInterface(L"ListItem"))->IsSelected());

  // End: the last row, scrolled fully into the body.
  t.Key(kVkEnd);
  EXPECT_EQ(list->CurSel(), 9);
  EXPECT_EQ(list->ScrollPos().cy, 124);
  EXPECT_EQ(t.Find(L"r9")->Position().bottom, 100);
  // Page Up: the farthest row within one body height of 76 pixels (the first row wholly shown).
  t.Key(kVkPrior);
  EXPECT_EQ(list->CurSel(), 7);
  t.Key(kVkHome);
  EXPECT_EQ(list->CurSel(), 0);
  EXPECT_EQ(list->ScrollPos().cy, 0);
  t.Key(kVkUp);
  EXPECT_EQ(list->CurSel(), 0) << "the first row stays selected";

  // Disabled and hidden rows are skipped.
  t.Find(L"r1")->SetEnabled(false);
  t.Find(L"r2")->SetVisible(false);
  t.Layout();
  t.Key(kVkDown);
  EXPECT_EQ(list->CurSel(), 3);
  EXPECT_FALSE(list->SelectItem(1));
  EXPECT_EQ(list->CurSel(), 3);
}

TEST(List, DoubleClickAndReturnActivate) {
  SkinTree t(ListSkin());
  const SkinPoint p = SkinTree::Centre(t.Find(L"r1"));
  t.ws.MouseMove(t.handle, p.x, p.y);
  t.ws.Click(t.handle, p.x, p.y);
  t.ws.Click(t.handle, p.x, p.y);
  t.Pump();
  EXPECT_EQ(t.log.Types(), (std::vector<std::wstring>{L"itemselect", L"itemclick", L"itemdbclick", L"itemactivate"}));
  t.log.seen.clear();
  t.Key(kVkReturn);
  ASSERT_EQ(t.log.Types(), (std::vector<std::wstring>{L"itemactivate"}));
  EXPECT_EQ(t.log.seen.back().wParam, 1);
}

TEST(List, WheelScrollsOrSelects) {
  {
    SkinTree t(ListSkin());
    auto* list = t.Find<CListUI>(L"list");
    const SkinPoint p = SkinTree::Centre(t.Find(L"r1"));
    t.ws.Wheel(t.handle, p.x, p.y, -1);
    t.Pump();
    EXPECT_GT(list->ScrollPos().cy, 0);
    EXPECT_EQ(list->CurSel(), -1);
  }
  SkinTree t(ListSkin(L"scrollselect=\"true\""));
  auto* list = t.Find<CListUI>(L"list");
  list->SelectItem(4);
  const SkinPoint p = SkinTree::Centre(t.Find(L"r1"));
  t.ws.Wheel(t.handle, p.x, p.y, -1);
  t.Pump();
  EXPECT_EQ(list->CurSel(), 5);
  for (int i = 0; i < 2; ++i) {
    t.ws.Wheel(t.handle, p.x, p.y, 1);
    t.Pump();
  }
  EXPECT_EQ(list->CurSel(), 3);
}

TEST(List, RowLookFollowsStateAndAlternation) {
  SkinTree t(ListSkin(L"itemaltbk=\"true\" itembkcolor=\"#FFEEEEEE\" itemhotbkcolor=\"#FF0000AA\" "
                      L"itemselectedbkcolor=\"#FF00AA00\" itemselectedtextcolor=\"#FFFFFFFF\" itemlinecolor=\"#FF123456\""));
  auto* list = t.Find<CListUI>(L"list");
  list->SelectItem(2);
  t.MoveTo(SkinTree::Centre(t.Find(L"r3")));
  auto canvas = t.Paint();
  auto fillOf = [&](const wchar_t* row) {
    const SkinRect rc = t.Find(row)->Position();
    for (const auto& op : canvas.ops)
      if (op.kind == "fill" && op.rc == rc) return op.color1;
    return SkinColor{0};
  };
  EXPECT_EQ(fillOf(L"r0"), 0u) << "even rows show the list's own background";
  EXPECT_EQ(fillOf(L"r1"), 0xFFEEEEEEu);
  EXPECT_EQ(fillOf(L"r2"), 0xFF00AA00u) << "selected";
  EXPECT_EQ(fillOf(L"r3"), 0xFF0000AAu) << "hot";
  bool whiteText = false;
  bool line = false;
  for (const auto& op : canvas.ops) {
    if (op.kind == "text" && op.file == L"row 2") whiteText = op.color1 == 0xFFFFFFFF;
    if (op.kind == "fill" && op.color1 == 0xFF123456 && op.rc.top == t.Find(L"r1")->Position().bottom - 1) line = true;
  }
  EXPECT_TRUE(whiteText);
  EXPECT_TRUE(line);
}

TEST(List, DraggingAColumnEdgeResizesItAndTheRowsFollow) {
  SkinTree t(ListSkin(L"hscrollbar=\"true\""));
  auto* list = t.Find<CListUI>(L"list");
  auto* c0 = t.Find<CListHeaderItemUI>(L"c0");
  EXPECT_EQ(c0->SepRect(), (SkinRect{116, 0, 120, 24}));
  // The sizing cursor over the strip.
  t.MoveTo({118, 10});
  EXPECT_EQ(t.ws.CursorOf(t.handle), platform::kCursorSizeWe);
  t.Click({118, 10}, {168, 10});
  t.Pump();
  EXPECT_EQ(c0->FixedWidth(), 170);
  EXPECT_EQ(list->ListInfo()->columns[1].left, 170);
  EXPECT_EQ(list->ListInfo()->columns[1].right, 270);
  EXPECT_TRUE(Of(t, L"headerclick").empty()) << "a drag is no click";
  EXPECT_FALSE(list->HorizontalScrollBar()->IsVisible());

  // Wider than the body: the rows grow with the columns and the horizontal bar covers the rest.
  t.Click({168, 10}, {248, 10});
  t.Pump();
  EXPECT_EQ(c0->FixedWidth(), 250);
  ASSERT_TRUE(list->HorizontalScrollBar()->IsVisible());
  EXPECT_EQ(list->ScrollRange().cx, 350 - 284);
  EXPECT_EQ(t.Find(L"r0")->Position().Width(), 350);
  // Scrolling sideways moves header and rows together.
  list->SetScrollPos({30, 0});
  EXPECT_EQ(c0->Position().left, -30);
  EXPECT_EQ(t.Find(L"r0")->Position().left, -30);
  EXPECT_EQ(list->ListInfo()->columns[1].left, 220);

  // Never narrower than the minimum.
  list->SetScrollPos({0, 0});
  t.Click({248, 10}, {0, 10});
  t.Pump();
  EXPECT_EQ(c0->FixedWidth(), CListHeaderItemUI::kMinDragWidth);
}

TEST(List, HeaderClickSortColumnAndCheckBox) {
  SkinTree t(ListSkin(L"", L"checkrect=\"4,4,20,20\""));
  auto* hdr = t.Find<CListHeaderUI>(L"hdr");
  auto* c0 = t.Find<CListHeaderItemUI>(L"c0");
  t.Click(t.Find(L"c1"));
  t.Click(t.Find(L"c1"));
  t.Click(t.Find(L"c0"));
  auto clicks = Of(t, L"headerclick");
  ASSERT_EQ(clicks.size(), 3u);
  EXPECT_EQ(clicks[0].wParam, 1);
  EXPECT_EQ(clicks[2].wParam, 0);
  // Only the selectable column becomes the sort column; again reverses the order.
  auto heads = Of(t, L"headselect");
  ASSERT_EQ(heads.size(), 2u);
  EXPECT_EQ(heads[0].wParam, 1);
  EXPECT_EQ(heads[0].lParam, 0);
  EXPECT_EQ(heads[1].lParam, 1);
  EXPECT_EQ(hdr->SelectedColumn(), 1);
  EXPECT_TRUE(hdr->IsReverse());

  t.log.seen.clear();
  t.Click({10, 10}, {10, 10});
  EXPECT_TRUE(c0->IsChecked());
  ASSERT_EQ(t.log.Types(), (std::vector<std::wstring>{L"headercheck"}));
  EXPECT_EQ(t.log.seen[0].wParam, 1);
  t.Click({10, 10}, {10, 10});
  EXPECT_FALSE(c0->IsChecked());
}

TEST(List, ItemsAddedAndRemovedInCodeKeepIndicesAndSelection) {
  SkinTree t(ListSkin());
  auto* list = t.Find<CListUI>(L"list");
  list->SelectItem(5);
  auto* extra = new CListLabelElementUI();
  extra->SetText(L"first");
  ASSERT_TRUE(list->AddAt(extra, 0));
  EXPECT_EQ(extra->Index(), 0);
  EXPECT_EQ(list->CurSel(), 6) << "the selection follows its row";
  ASSERT_TRUE(list->RemoveAt(6));
  EXPECT_EQ(list->CurSel(), -1);
  EXPECT_EQ(list->Count(), 10);
  EXPECT_EQ(static_cast<IListItemUI*>(list->ItemAt(9)->AsInterface(L"ListItem"))->Index(), 9);
  list->RemoveAll();
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(list->Header()->Count(), 2) << "the header stays";
}
