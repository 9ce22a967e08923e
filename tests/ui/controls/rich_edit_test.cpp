#include <gtest/gtest.h>

#include "platform/headless/headless_window_system.h"
#include "platform/window_messages.h"
#include "tests/ui/controls/controls_fixture.h"
#include "ui/controls/rich_edit_ui.h"
#include "ui/controls/text_style.h"

using namespace SkinUI;
using testsupport::SkinTree;
using Types = std::vector<std::wstring>;

namespace {

const wchar_t kPathRow[] =
    L"<Window><HorizontalLayout>"
    L"<RichEdit name=\"edit_install_path\" height=\"38\" width=\"573\" readonly=\"true\" padding=\"0,16,0,0\""
    L" inset=\"8,10,8,10\" textcolor=\"#66000000\" multiline=\"false\" rich=\"false\" wanttab=\"false\""
    L" wantreturn=\"false\" wantctrlreturn=\"false\" autohscroll=\"true\" bkimage=\"img\\inst\\edit_install_path.png\" />"
    L"<RichEdit name=\"edit\" width=\"200\" height=\"30\" multiline=\"false\" wantreturn=\"false\" tipvalue=\"type here\" />"
    L"<RichEdit name=\"digits\" width=\"100\" height=\"30\" numberonly=\"true\" maxchar=\"4\" />"
    L"<RichEdit name=\"memo\" width=\"200\" height=\"100\" />"
    L"</HorizontalLayout></Window>";

class RichEditTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::SetWindowSystem(&ws); }
  void TearDown() override { platform::SetWindowSystem(nullptr); }

  // A key as the window delivers it: the key, then its character.
  static void Key(CRichEditUI* e, int vk, char32_t ch = 0) {
    bool handled = false;
    e->MessageHandler(platform::kWmKeyDown, static_cast<std::uintptr_t>(vk), 1, handled);
    if (!handled && ch != 0) return;
    if (ch != 0) e->MessageHandler(platform::kWmChar, ch, 1, handled);
  }
  static void Type(CRichEditUI* e, const std::u32string& text) {
    for (char32_t ch : text) {
      bool handled = false;
      e->MessageHandler(platform::kWmChar, ch, 1, handled);
    }
  }

  platform::HeadlessWindowSystem ws;
};

}  // namespace

TEST_F(RichEditTest, ReadOnlyPathFieldShowsTheProgramsTextAndIgnoresTyping) {
  SkinTree t(kPathRow);
  auto* e = t.Find<CRichEditUI>(L"edit_install_path");
  ASSERT_NE(e, nullptr);
  EXPECT_STREQ(e->ClassName(), L"RichEditUI");
  EXPECT_EQ(e->AsInterface(L"RichEdit"), e);
  EXPECT_TRUE(e->IsReadOnly());
  EXPECT_FALSE(e->IsMultiLine());
  EXPECT_EQ(e->Style() & CRichEditUI::kEsAutoHScroll, std::uint32_t{CRichEditUI::kEsAutoHScroll});
  EXPECT_EQ(e->TextColor(), 0x66000000u);
  EXPECT_EQ(e->Position().Width(), 573);
  EXPECT_EQ(e->TextRect().left - e->Position().left, 8);
  EXPECT_EQ(e->TextRect().top - e->Position().top, 10);

  e->SetText(L"/home/user/Orbisk");
  EXPECT_EQ(e->GetText(), L"/home/user/Orbisk");
  EXPECT_EQ(t.log.Types(), Types{L"textchanged"});
  e->SetText(L"/home/user/Orbisk");  // every program change is reported
  EXPECT_EQ(t.log.Types().size(), 2u);

  t.host.SetFocus(e);
  Type(e, U"x");
  Key(e, platform::kVkBack);
  Key(e, platform::kVkDelete);
  EXPECT_EQ(e->GetText(), L"/home/user/Orbisk");
  EXPECT_EQ(t.log.Types().size(), 2u);
  EXPECT_EQ(ws.BeepCount(), 2u);  // typing and Backspace are refused; Delete at the end does nothing
  Key(e, platform::kVkReturn, U'\r');  // not wanted: "return", nothing inserted
  EXPECT_EQ(t.log.Types().back(), L"return");
}

TEST_F(RichEditTest, TypingBackspaceDeleteHomeEnd) {
  SkinTree t(kPathRow);
  auto* e = t.Find<CRichEditUI>(L"edit");
  t.host.SetFocus(e);
  Type(e, U"hello");
  EXPECT_EQ(e->GetText(), L"hello");
  EXPECT_EQ(t.log.Types(), Types(5, L"textchanged"));
  Key(e, platform::kVkHome);
  Key(e, platform::kVkDelete);
  Type(e, U"J");
  Key(e, platform::kVkEnd);
  Key(e, platform::kVkBack, U'\b');
  Key(e, platform::kVkLeft);
  Type(e, U"-");
  EXPECT_EQ(e->GetText(), L"Jel-l");
  EXPECT_EQ(e->Editor().Caret(), 4);
  Key(e, platform::kVkReturn, U'\r');
  EXPECT_EQ(e->GetText(), L"Jel-l");
  EXPECT_EQ(t.log.Types().back(), L"return");
  EXPECT_EQ(ws.BeepCount(), 0u);

  // Keys reach the field only while it has the focus.
  t.host.SetFocus(nullptr);
  Type(e, U"x");
  EXPECT_EQ(e->GetText(), L"Jel-l");
}

TEST_F(RichEditTest, NumberOnlyBeepsAtAnythingButDigits) {
  SkinTree t(kPathRow);
  auto* e = t.Find<CRichEditUI>(L"digits");
  t.host.SetFocus(e);
  Type(e, U"12a3");
  EXPECT_EQ(e->GetText(), L"123");
  EXPECT_EQ(ws.BeepCount(), 1u);
  Key(e, platform::kVkBack, U'\b');  // Backspace is no character to refuse
  EXPECT_EQ(ws.BeepCount(), 1u);
  Type(e, U"456");  // four characters at most
  EXPECT_EQ(e->GetText(), L"1245");
  EXPECT_EQ(ws.BeepCount(), 2u);
}

TEST_F(RichEditTest, TipShowsWhileEmptyAndUnfocused) {
  SkinTree t(kPathRow);
  auto* e = t.Find<CRichEditUI>(L"edit");
  EXPECT_EQ(e->TipValue(), L"type here");
  EXPECT_EQ(e->TipValueColor(), 0xFFBAC0C5u);
  EXPECT_EQ(e->TipStyle(), DT_SINGLELINE);
  EXPECT_TRUE(e->IsTipVisible());
  t.host.SetFocus(e);
  EXPECT_FALSE(e->IsTipVisible());
  t.host.SetFocus(nullptr);
  EXPECT_TRUE(e->IsTipVisible());
  e->SetText(L"x");
  t.host.SetFocus(e);
  t.host.SetFocus(nullptr);
  EXPECT_FALSE(e->IsTipVisible());
}

TEST_F(RichEditTest, MultiLineTakesReturnAndTab) {
  SkinTree t(kPathRow);
  auto* e = t.Find<CRichEditUI>(L"memo");
  EXPECT_TRUE(e->IsMultiLine());
  t.host.SetFocus(e);
  Type(e, U"ab");
  Key(e, platform::kVkReturn, U'\r');
  Key(e, platform::kVkTab, U'\t');
  Type(e, U"c");
  EXPECT_EQ(e->GetText(), L"ab\n\tc");
  Key(e, platform::kVkUp);
  EXPECT_EQ(e->Editor().Caret(), 2);  // the end of the shorter line above
}
