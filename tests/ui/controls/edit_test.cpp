#include <gtest/gtest.h>

#include "tests/ui/controls/controls_fixture.h"
#include "ui/controls/edit_ui.h"
#include "ui/controls/edit_wnd.h"
#include "ui/controls/ip_address_ui.h"
#include "ui/controls/rich_edit_ui.h"

using namespace SkinUI;
using testsupport::SkinTree;

namespace {

std::wstring EditSkin(const std::wstring& attributes) {
  return L"<Window><VerticalLayout><HorizontalLayout height=\"30\"><Edit name=\"e\" width=\"200\" " + attributes +
         L" /><Edit name=\"other\" width=\"100\" /></HorizontalLayout><Control /></VerticalLayout></Window>";
}

platform::WindowHandle WindowOfClass(SkinTree& t, const char* cls) {
  for (platform::WindowHandle w : t.ws.Windows())
    if (t.ws.ClassNameOf(w) == cls) return w;
  return nullptr;
}

int Count(const SkinTree& t, const wchar_t* type) {
  int n = 0;
  for (const auto& r : t.log.seen)
    if (r.type == type) ++n;
  return n;
}

}  // namespace

TEST(Edit, FocusOpensTheEditorOverTheTextAndTypingReachesTheField) {
  SkinTree t(EditSkin(L"text=\"abc\" maxchar=\"5\""));
  auto* e = t.Find<CEditUI>(L"e");
  EXPECT_EQ(e->EditWindow(), nullptr);
  t.Click(e);
  CEditWnd* wnd = e->EditWindow();
  ASSERT_NE(wnd, nullptr);
  platform::WindowHandle popup = WindowOfClass(t, "EditWnd");
  ASSERT_EQ(popup, wnd->Handle());
  EXPECT_EQ(t.ws.KindOf(popup), platform::WindowKind::kPopup);
  const SkinRect rc = e->EditorRect();
  EXPECT_EQ(t.ws.GetWindowRect(popup), (platform::WinRect{rc.left, rc.top, rc.right, rc.bottom}));
  EXPECT_EQ(t.ws.GetFocus(), t.handle);
  ASSERT_NE(wnd->Editor(), nullptr);
  EXPECT_EQ(wnd->Editor()->GetText(), L"abc");

  t.Type(U"de");
  EXPECT_EQ(e->GetText(), L"abcde");
  EXPECT_EQ(Count(t, L"textchanged"), 2);
  t.Type(U"f");
  EXPECT_EQ(e->GetText(), L"abcde") << "kept to maxchar";
  t.Key(platform::kVkBack);
  EXPECT_EQ(e->GetText(), L"abcd");

  // Return, Up and Down come back as the field's notifications; Escape does not close the window.
  t.Key(kVkReturn);
  t.Key(kVkUp);
  t.Key(kVkDown);
  t.Key(kVkEscape);
  EXPECT_EQ(Count(t, L"return"), 1);
  EXPECT_EQ(Count(t, L"vk_up"), 1);
  EXPECT_EQ(Count(t, L"vk_down"), 1);
  EXPECT_TRUE(t.ws.IsWindow(t.handle));
  EXPECT_EQ(e->GetText(), L"abcd");

  // Setting the text from the program shows in the open editor.
  e->SetText(L"xy");
  EXPECT_EQ(wnd->Editor()->GetText(), L"xy");

  // Tab moves on: the editor closes, the next field opens its own.
  t.Key(kVkTab);
  EXPECT_EQ(e->EditWindow(), nullptr);
  EXPECT_EQ(t.host.Focus(), t.Find(L"other"));
  EXPECT_NE(t.Find<CEditUI>(L"other")->EditWindow(), nullptr);
}

TEST(Edit, ModesOfTheField) {
  {
    SkinTree t(EditSkin(L"numberonly=\"true\""));
    auto* e = t.Find<CEditUI>(L"e");
    t.Click(e);
    t.Type(U"4a2");
    EXPECT_EQ(e->GetText(), L"42");
    EXPECT_EQ(t.ws.BeepCount(), 1u);
  }
  {
    SkinTree t(EditSkin(L"readonly=\"true\" text=\"fixed\""));
    auto* e = t.Find<CEditUI>(L"e");
    t.Click(e);
    t.Type(U"zz");
    EXPECT_EQ(e->GetText(), L"fixed");
  }
  {
    SkinTree t(EditSkin(L"searchedit=\"true\" text=\"query\""));
    auto* e = t.Find<CEditUI>(L"e");
    t.Click(e);
    t.Key(kVkEscape);
    EXPECT_EQ(e->GetText(), L"");
    EXPECT_TRUE(t.ws.IsWindow(t.handle));
  }
  SkinTree t(EditSkin(L"password=\"true\" text=\"secret\""));
  auto canvas = t.Paint();
  bool stars = false;
  for (const auto& op : canvas.ops) {
    EXPECT_NE(op.file, L"secret");
    if (op.kind == "text" && op.file == L"******") stars = true;
  }
  EXPECT_TRUE(stars);
  t.Click(t.Find(L"e"));
  EXPECT_TRUE(t.Find<CEditUI>(L"e")->EditWindow()->Editor()->IsPassword());
}

TEST(IpAddress, PartsHoldAtMost255OrAStar) {
  EXPECT_EQ(CIpAddressUI::LimitPart(L"300"), L"255");
  EXPECT_EQ(CIpAddressUI::LimitPart(L"255"), L"255");
  EXPECT_EQ(CIpAddressUI::LimitPart(L"007"), L"007");
  EXPECT_EQ(CIpAddressUI::LimitPart(L"*5"), L"*");
  EXPECT_EQ(CIpAddressUI::LimitPart(L"1x2"), L"12");
  EXPECT_EQ(CIpAddressUI::LimitPart(L"99999"), L"255");

  SkinTree t(L"<Window><VerticalLayout><IpAddress name=\"ip\" height=\"24\" text=\"192.168.300.1\" />"
             L"<Control /></VerticalLayout></Window>");
  auto* ip = t.Find<CIpAddressUI>(L"ip");
  EXPECT_EQ(ip->GetText(), L"192.168.255.1");
  ip->SetText(L"10.*");
  EXPECT_EQ(ip->GetText(), L"10.*..");

  // Typing: digits and "*" only; a full part or "." moves on; a value above 255 becomes 255.
  ip->SetText(L"");
  t.Click(ip->Part(0));
  t.Type(U"256");
  EXPECT_EQ(ip->Part(0)->GetText(), L"255");
  EXPECT_EQ(t.host.Focus(), ip->Part(1));
  t.Type(U"*");
  EXPECT_EQ(t.host.Focus(), ip->Part(2));
  t.Type(U"a7.");
  EXPECT_EQ(t.ws.BeepCount(), 1u);
  EXPECT_EQ(t.host.Focus(), ip->Part(3));
  t.Type(U"9");
  EXPECT_EQ(ip->GetText(), L"255.*.7.9");
}
