#include <gtest/gtest.h>

#include "tests/ui/controls/controls_fixture.h"
#include "ui/controls/combo_box_ui.h"
#include "ui/controls/combo_ui.h"
#include "ui/controls/combo_wnd.h"
#include "ui/core/vertical_layout_ui.h"

using namespace SkinUI;
using testsupport::SkinTree;

namespace {

// A 200 x 30 combo box at the window's top-left with ten 20-pixel items; its drop-down may be
// 100 pixels high.
std::wstring ComboSkin(const std::wstring& element = L"Combo", const std::wstring& attributes = L"") {
  std::wstring xml = L"<Window><VerticalLayout><HorizontalLayout height=\"30\"><" + element +
                     L" name=\"combo\" width=\"200\" text=\"pick one\" dropboxsize=\"0,100\" " + attributes + L">";
  for (int i = 0; i < 10; ++i)
    xml += L"<ListLabelElement name=\"i" + std::to_wstring(i) + L"\" height=\"20\" text=\"item " + std::to_wstring(i) + L"\" />";
  xml += L"</" + element + L"><Control /></HorizontalLayout><Control /></VerticalLayout></Window>";
  return xml;
}

platform::WindowHandle DropWindow(SkinTree& t) {
  for (platform::WindowHandle w : t.ws.Windows())
    if (t.ws.ClassNameOf(w) == "ComboWnd") return w;
  return nullptr;
}

}  // namespace

TEST(Combo, DropsDownBelowAndAClickSelects) {
  SkinTree t(ComboSkin());
  auto* combo = t.Find<CComboUI>(L"combo");
  ASSERT_NE(combo, nullptr);
  EXPECT_STREQ(combo->ClassName(), L"ComboUI");
  EXPECT_EQ(combo->AsInterface(L"IListOwner"), static_cast<IListOwnerUI*>(combo));
  EXPECT_EQ(combo->Count(), 10);
  EXPECT_EQ(combo->CurSel(), -1);
  // Items are not hit in the control itself.
  EXPECT_EQ(t.host.FindControlAt({100, 15}), combo);

  t.Click(combo);
  ASSERT_TRUE(combo->IsDropped());
  EXPECT_EQ(t.log.Types(), (std::vector<std::wstring>{L"dropdown"}));
  platform::WindowHandle drop = DropWindow(t);
  ASSERT_NE(drop, nullptr);
  EXPECT_EQ(t.ws.KindOf(drop), platform::WindowKind::kPopup);
  EXPECT_EQ(t.ws.Owner(drop), t.handle);
  EXPECT_EQ(t.ws.GetWindowRect(drop), (platform::WinRect{0, 30, 200, 130}));
  // The drop-down holds the combo's own items while it is open.
  CSkinHost* dropHost = CSkinHost::HostOf(drop);
  ASSERT_NE(dropHost, nullptr);
  EXPECT_EQ(t.Find(L"i3")->Host(), dropHost);
  EXPECT_EQ(t.ws.GetFocus(), t.handle) << "the owner window keeps the focus";

  // Item 3 sits at 1 + 3 * 20 in the drop-down (its 1-pixel frame first).
  t.ws.MouseMove(drop, 50, 71);
  t.ws.Click(drop, 50, 71);
  t.Pump();
  EXPECT_EQ(combo->CurSel(), 3);
  EXPECT_FALSE(combo->IsDropped());
  EXPECT_EQ(DropWindow(t), nullptr);
  // The items are the combo's again.
  EXPECT_EQ(t.Find(L"i3")->Host(), &t.host);
  EXPECT_EQ(t.Find(L"i3")->Parent(), combo);
  std::vector<testsupport::NotifyRecord> selects;
  for (const auto& r : t.log.seen)
    if (r.type == L"itemselect") selects.push_back(r);
  ASSERT_EQ(selects.size(), 1u);
  EXPECT_EQ(selects[0].sender, L"combo");
  EXPECT_EQ(selects[0].wParam, 3);
  EXPECT_EQ(selects[0].lParam, -1);

  // The control shows its selection.
  auto canvas = t.Paint();
  bool shown = false;
  for (const auto& op : canvas.ops)
    if (op.kind == "text" && op.file == L"item 3") shown = true;
  EXPECT_TRUE(shown);
}

TEST(Combo, OpensAboveWhenTheScreenHasNoRoomBelow) {
  SkinTree t(ComboSkin());
  t.ws.SetWindowPos(t.handle, 40, 750, 0, 0, platform::kSwpNoSize);
  t.Pump();
  t.Click(t.Find(L"combo"));
  platform::WindowHandle drop = DropWindow(t);
  ASSERT_NE(drop, nullptr);
  EXPECT_EQ(t.ws.GetWindowRect(drop), (platform::WinRect{40, 650, 240, 750}));
}

TEST(Combo, KeysMoveTheSelectionAndCloseTheDropDown) {
  SkinTree t(ComboSkin());
  auto* combo = t.Find<CComboUI>(L"combo");
  t.Click(combo);
  ASSERT_TRUE(combo->IsDropped());
  t.Key(kVkDown);
  t.Key(kVkDown);
  EXPECT_EQ(combo->CurSel(), 1);
  EXPECT_TRUE(combo->IsDropped());
  t.Key(kVkEnd);
  EXPECT_EQ(combo->CurSel(), 9);
  // The last item was scrolled into the drop-down's view.
  CComboWnd* wnd = combo->DropWindow();
  ASSERT_NE(wnd->Layout(), nullptr);
  EXPECT_EQ(wnd->Layout()->ScrollPos().cy, 200 + 2 - 100);
  // Escape closes the drop-down, not the window.
  t.Key(kVkEscape);
  EXPECT_FALSE(combo->IsDropped());
  EXPECT_TRUE(t.ws.IsWindow(t.handle));
  EXPECT_EQ(combo->CurSel(), 9);
  // Closed, the arrows still change the selection; F4 opens it again, Return closes it.
  t.Key(kVkUp);
  EXPECT_EQ(combo->CurSel(), 8);
  t.Key(platform::kVkF4);
  EXPECT_TRUE(combo->IsDropped());
  t.Key(kVkReturn);
  EXPECT_FALSE(combo->IsDropped());
}

TEST(Combo, APressElsewhereClosesWithoutChangingTheSelection) {
  SkinTree t(ComboSkin());
  auto* combo = t.Find<CComboUI>(L"combo");
  combo->SelectItem(2);
  t.Click(combo);
  ASSERT_TRUE(combo->IsDropped());
  t.Click({400, 300}, {400, 300});
  EXPECT_FALSE(combo->IsDropped());
  EXPECT_EQ(combo->CurSel(), 2);
  // A press on the combo itself while it is open only closes it.
  t.Click(combo);
  ASSERT_TRUE(combo->IsDropped());
  t.Click(combo);
  EXPECT_FALSE(combo->IsDropped());
  // Destroying the combo's window while open leaves nothing behind.
  t.Click(combo);
  ASSERT_TRUE(combo->IsDropped());
}

TEST(Combo, ComboBoxArrowAndDropBoxAttributes) {
  SkinTree t(ComboSkin(L"ComboBox", L"arrowimage=\"fore.png\" dropbox=\"bkcolor=&quot;#FF102030&quot; inset=&quot;2,2,2,2&quot;\""));
  auto* combo = t.Find<CComboBoxUI>(L"combo");
  ASSERT_NE(combo, nullptr);
  EXPECT_STREQ(combo->ClassName(), L"ComboBoxUI");
  EXPECT_EQ(combo->AsInterface(L"Combo"), static_cast<CComboUI*>(combo));
  EXPECT_EQ(combo->ArrowRect(), (SkinRect{170, 0, 200, 30}));
  auto canvas = t.Paint();
  ASSERT_FALSE(canvas.specs.empty());
  EXPECT_EQ(canvas.specs.back().file, L"fore.png");
  EXPECT_EQ(canvas.specs.back().dest, (SkinRect{170, 0, 200, 30}));
  t.Click({50, 15}, {50, 15});
  ASSERT_TRUE(combo->IsDropped());
  CVerticalLayoutUI* layout = combo->DropWindow()->Layout();
  EXPECT_EQ(layout->BkColor(), 0xFF102030u);
  EXPECT_EQ(layout->Inset(), (SkinRect{2, 2, 2, 2}));
}
