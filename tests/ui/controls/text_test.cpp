#include <gtest/gtest.h>

#include "platform/window_messages.h"
#include "tests/ui/controls/controls_fixture.h"
#include "ui/controls/text_ui.h"

using namespace SkinUI;
using testsupport::SkinTree;
using Types = std::vector<std::wstring>;

namespace {

std::wstring LicenceLine(const std::wstring& text) {
  return L"<Window size=\"800,200\" bktrans=\"1\" linkfontcolor=\"#0068B5\" linkhoverfontcolor=\"#3560F8\">"
         // A layered window takes the mouse only where it is not transparent.
         L"<HorizontalLayout bkcolor=\"#FFFFFFFF\"><HorizontalLayout padding=\"16,62,0,0\">"
         L"<Text name=\"txt_lic\" padding=\"10,0,0,0\" showhtml=\"true\" mouse=\"true\" width=\"" +
         std::to_wstring(text.size() > 40 ? 700 : 192) + L"\" linkcursor=\"hand\" text=\"" + text +
         L"\" /></HorizontalLayout></HorizontalLayout></Window>";
}

SkinPoint CentreOf(const SkinRect& rc) { return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

}  // namespace

TEST(Text, LicenceLinkSendsLinkAndShowsTheHandOverTheLinkOnly) {
  SkinTree t(LicenceLine(L"我已仔细阅读并同意{a}《许可协议》{/a}"));
  auto* txt = t.Find<CTextUI>(L"txt_lic");
  ASSERT_NE(txt, nullptr);
  ASSERT_EQ(txt->LinkCount(), 1);  // the window's paint recorded where the link is
  EXPECT_EQ(txt->LinkText(0), L"");
  const SkinRect link = txt->LinkRect(0);
  EXPECT_GT(link.left, txt->Position().left + 40);  // after the first part of the sentence
  EXPECT_LE(link.right, txt->Position().right);
  EXPECT_EQ(txt->ControlFlags(), 2u);

  const SkinPoint onLink = CentreOf(link);
  const SkinPoint onText{txt->Position().left + 14, onLink.y};
  t.MoveTo(onText);
  EXPECT_EQ(t.ws.CursorOf(t.handle), platform::kCursorArrow);
  EXPECT_EQ(txt->HoveredLink(), -1);
  t.MoveTo(onLink);
  EXPECT_EQ(t.ws.CursorOf(t.handle), platform::kCursorHand);
  EXPECT_EQ(txt->HoveredLink(), 0);
  t.MoveTo(onText);
  EXPECT_EQ(t.ws.CursorOf(t.handle), platform::kCursorArrow);
  t.MoveTo(onLink);
  EXPECT_EQ(t.ws.CursorOf(t.handle), platform::kCursorHand);  // shown again on the way back
  t.MoveTo({700, 150});
  EXPECT_EQ(t.ws.CursorOf(t.handle), platform::kCursorArrow);
  EXPECT_EQ(txt->HoveredLink(), -1);

  t.Click(onText, onText);
  EXPECT_TRUE(t.log.Types().empty());
  t.Click(onLink, onLink);
  ASSERT_EQ(t.log.Types(), Types{L"link"});
  EXPECT_EQ(t.log.seen.back().sender, L"txt_lic");
  EXPECT_EQ(t.log.seen.back().wParam, 0);
  EXPECT_EQ(t.log.seen.back().lParam, 1);

  // Without links the text asks for no cursor and a click is nothing.
  txt->SetText(L"");
  t.Pump();
  EXPECT_EQ(txt->LinkCount(), 0);
  EXPECT_EQ(txt->ControlFlags(), 0u);
}

TEST(Text, LinksBeyondTheEighthAreDrawnButNotClickable) {
  std::wstring text;
  for (int i = 1; i <= 10; ++i) text += L"{a}L" + std::to_wstring(i) + L"{/a} ";
  SkinTree t(LicenceLine(text));
  auto* txt = t.Find<CTextUI>(L"txt_lic");
  ASSERT_EQ(txt->LinkCount(), CTextUI::kMaxLinks);
  const SkinRect eighth = txt->LinkRect(7);
  const SkinPoint ninth{eighth.right + eighth.Width(), (eighth.top + eighth.bottom) / 2};
  t.Click(ninth, ninth);
  EXPECT_TRUE(t.log.Types().empty());
  t.Click(CentreOf(eighth), CentreOf(eighth));
  ASSERT_EQ(t.log.Types(), Types{L"link"});
  EXPECT_EQ(t.log.seen.back().wParam, 7);
  EXPECT_EQ(t.log.seen.back().lParam, 8);
}
