#include <gtest/gtest.h>

#include <algorithm>

#include "platform/window_messages.h"
#include "tests/ui/controls/controls_fixture.h"
#include "ui/controls/rich_edit_ui.h"
#include "ui/controls/text_style.h"

using namespace SkinUI;
using testsupport::SkinTree;
using Types = std::vector<std::wstring>;
namespace pf = platform;

namespace {

const wchar_t kFields[] =
    L"<Window><HorizontalLayout>"
    L"<RichEdit name=\"edit_install_path\" height=\"38\" width=\"573\" readonly=\"true\" padding=\"0,16,0,0\""
    L" inset=\"8,10,8,10\" textcolor=\"#66000000\" multiline=\"false\" rich=\"false\" wanttab=\"false\""
    L" wantreturn=\"false\" wantctrlreturn=\"false\" autohscroll=\"true\" bkimage=\"img\\inst\\edit_install_path.png\" />"
    L"<RichEdit name=\"edit\" width=\"200\" height=\"30\" multiline=\"false\" wantreturn=\"false\" wanttab=\"false\""
    L" tipvalue=\"type here\" />"
    L"<RichEdit name=\"digits\" width=\"100\" height=\"30\" numberonly=\"true\" maxchar=\"4\" />"
    L"<RichEdit name=\"memo\" width=\"200\" height=\"100\" />"
    L"</HorizontalLayout></Window>";

// Focuses a field with a click into its text.
CRichEditUI* Focused(SkinTree& t, const wchar_t* name) {
  auto* e = t.Find<CRichEditUI>(name);
  t.Click(e);
  EXPECT_EQ(t.host.Focus(), e);
  return e;
}

}  // namespace

TEST(RichEdit, ReadOnlyPathFieldShowsTheProgramsTextAndIgnoresTyping) {
  SkinTree t(kFields, 1200, 200);
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

  Focused(t, L"edit_install_path");
  t.Type(U"x");
  t.Key(pf::kVkBack, U'\b');
  t.Key(pf::kVkDelete);
  t.Key('V', 0x16, {pf::kVkControl});
  EXPECT_EQ(e->GetText(), L"/home/user/Orbisk");
  EXPECT_EQ(t.log.Types().size(), 2u);
  t.Key(pf::kVkReturn, U'\r');  // not wanted: "return", nothing inserted
  EXPECT_EQ(t.log.Types().back(), L"return");
  EXPECT_EQ(e->GetText(), L"/home/user/Orbisk");
}

TEST(RichEdit, TypingSelectionEditingKeysAndPaste) {
  SkinTree t(kFields, 1200, 200);
  auto* e = Focused(t, L"edit");
  t.Type(U"hello");
  EXPECT_EQ(e->GetText(), L"hello");
  EXPECT_EQ(t.log.Types(), Types(5, L"textchanged"));
  t.Key(pf::kVkHome);
  t.Key(pf::kVkDelete);
  t.Type(U"J");
  t.Key(pf::kVkEnd);
  t.Key(pf::kVkBack, U'\b');
  t.Key(pf::kVkLeft);
  t.Type(U"-");
  EXPECT_EQ(e->GetText(), L"Jel-l");
  EXPECT_EQ(e->Editor().Caret(), 4);

  // Shift+Home selects back to the start; typing replaces the selection.
  t.Key(pf::kVkHome, 0, {pf::kVkShift});
  EXPECT_EQ(e->Editor().SelectedText(), L"Jel-");
  t.Key('C', 0x03, {pf::kVkControl});
  EXPECT_EQ(t.ws.GetClipboardText(), "Jel-");
  t.Type(U"ab");
  EXPECT_EQ(e->GetText(), L"abl");
  t.ws.SetClipboardText("/tmp/新");
  t.Key('V', 0x16, {pf::kVkControl});
  EXPECT_EQ(e->GetText(), L"ab/tmp/新l");
  t.Key('A', 0x01, {pf::kVkControl});
  t.Key('X', 0x18, {pf::kVkControl});
  EXPECT_EQ(e->GetText(), L"");
  EXPECT_EQ(t.ws.GetClipboardText(), "ab/tmp/新l");
  EXPECT_EQ(t.ws.BeepCount(), 0u);

  // Return is not wanted: "return" and nothing typed. Tab moves the focus on.
  t.Key(pf::kVkReturn, U'\r');
  EXPECT_EQ(t.log.Types().back(), L"return");
  EXPECT_EQ(e->GetText(), L"");
  t.Key(pf::kVkTab, U'\t');
  EXPECT_NE(t.host.Focus(), e);
  t.Type(U"x");  // the keys go where the focus is
  EXPECT_EQ(e->GetText(), L"");
}

TEST(RichEdit, ClickPlacesTheCaretAndDragSelects) {
  SkinTree t(kFields, 1200, 200);
  auto* e = Focused(t, L"edit");
  t.Type(U"abcdef");
  const SkinRect start = [&] {
    e->SetSelection(0, 0);
    return e->CaretRect();
  }();
  e->SetSelection(6, 6);
  const SkinRect end = e->CaretRect();
  ASSERT_GT(end.left, start.left);
  const int y = (start.top + start.bottom) / 2;
  t.Click({start.left + 1, y}, {end.left - 1, y});  // press at the start, drag to the end
  EXPECT_EQ(e->Editor().SelectedText(), L"abcdef");
  EXPECT_FALSE(t.host.IsCaretShown());  // no caret over a selection
  t.ws.AdvanceClock(2000);  // not a double click
  t.Click({start.left + 1, y}, {start.left + 1, y});
  EXPECT_FALSE(e->Editor().HasSelection());
  EXPECT_EQ(e->Editor().Caret(), 0);
  // The caret is the host's: shown at the caret position while the field has the focus.
  EXPECT_TRUE(t.host.IsCaretShown());
  EXPECT_EQ(t.host.CaretRect().left, e->CaretRect().left);
  EXPECT_EQ(t.host.CaretRect().top, e->CaretRect().top);
  // A double click selects the word under the pointer.
  e->SetText(L"C:/Program Files");
  e->SetSelection(3, 3);
  const SkinRect inWord = e->CaretRect();
  t.ws.AdvanceClock(2000);
  t.ws.MouseMove(t.handle, inWord.left + 3, y);
  t.ws.Click(t.handle, inWord.left + 3, y);
  t.ws.Click(t.handle, inWord.left + 3, y);
  t.Pump();
  EXPECT_EQ(e->Editor().SelectedText(), L"Program");
  t.host.SetFocus(nullptr);
  EXPECT_FALSE(t.host.IsCaretShown());
}

TEST(RichEdit, NumberOnlyBeepsAtAnythingButDigits) {
  SkinTree t(kFields, 1200, 200);
  auto* e = Focused(t, L"digits");
  t.Type(U"12a3");
  EXPECT_EQ(e->GetText(), L"123");
  EXPECT_EQ(t.ws.BeepCount(), 1u);
  t.Key(pf::kVkBack, U'\b');  // Backspace is no character to refuse
  EXPECT_EQ(t.ws.BeepCount(), 1u);
  t.Type(U"456");  // four characters at most
  EXPECT_EQ(e->GetText(), L"1245");
  EXPECT_EQ(t.ws.BeepCount(), 2u);
  t.ws.SetClipboardText("7x");
  t.Key('A', 0x01, {pf::kVkControl});
  t.Key('V', 0x16, {pf::kVkControl});  // a paste with a letter in it is refused whole
  EXPECT_EQ(e->GetText(), L"1245");
  EXPECT_EQ(t.ws.BeepCount(), 3u);
}

TEST(RichEdit, TipShowsWhileEmptyAndUnfocused) {
  SkinTree t(kFields, 1200, 200);
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

TEST(RichEdit, MultiLineTakesReturnAndTab) {
  SkinTree t(kFields, 1200, 200);
  auto* e = Focused(t, L"memo");
  EXPECT_TRUE(e->IsMultiLine());
  t.Type(U"ab");
  t.Key(pf::kVkReturn, U'\r');
  t.Key(pf::kVkTab, U'\t');  // wanted: typed, the focus stays
  t.Type(U"c");
  EXPECT_EQ(e->GetText(), L"ab\n\tc");
  EXPECT_EQ(t.host.Focus(), e);
  t.Key(pf::kVkUp);
  EXPECT_EQ(e->Editor().Caret(), 2);  // the end of the shorter line above
}

namespace {

// Bounding box and strongest alpha of the pixels something was drawn on inside `area`.
struct Ink {
  SkinRect box;
  std::uint32_t maxAlpha = 0;
  bool Has(std::uint32_t pixel) const { return std::find(pixels.begin(), pixels.end(), pixel) != pixels.end(); }
  std::vector<std::uint32_t> pixels;
};
Ink InkIn(SkinTree& t, const SkinRect& area) {
  const auto* shown = t.ws.LastPresented(t.handle);
  Ink ink;
  ink.box = {area.right, area.bottom, area.left, area.top};
  if (shown == nullptr) return ink;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      const std::uint32_t p = shown->Pixel(x, y);
      if ((p >> 24) == 0) continue;
      ink.box = {std::min(ink.box.left, x), std::min(ink.box.top, y), std::max(ink.box.right, x + 1),
                 std::max(ink.box.bottom, y + 1)};
      ink.maxAlpha = std::max(ink.maxAlpha, p >> 24);
      ink.pixels.push_back(p);
    }
  }
  return ink;
}

const wchar_t kLayeredFields[] =
    L"<Window bktrans=\"1\"><HorizontalLayout>"
    L"<RichEdit name=\"edit_install_path\" height=\"38\" width=\"573\" readonly=\"true\" inset=\"8,10,8,10\""
    L" textcolor=\"#66000000\" multiline=\"false\" wantreturn=\"false\" autohscroll=\"true\" />"
    L"<RichEdit name=\"tipped\" height=\"38\" width=\"200\" multiline=\"false\" tipvalue=\"search\" />"
    L"</HorizontalLayout></Window>";

}  // namespace

TEST(RichEdit, PathTextIsDrawnInsideTheInsetInItsTranslucentColour) {
  SkinTree t(kLayeredFields, 1000, 200);
  auto* e = t.Find<CRichEditUI>(L"edit_install_path");
  EXPECT_TRUE(InkIn(t, e->Position()).pixels.empty());
  e->SetText(L"/home/user/Orbisk");
  t.Pump();
  const Ink ink = InkIn(t, e->Position());
  ASSERT_FALSE(ink.pixels.empty());
  EXPECT_GE(ink.box.left, 8);
  EXPECT_LE(ink.box.left, 10);
  EXPECT_GE(ink.box.top, 10);
  EXPECT_LE(ink.box.top, 14);
  EXPECT_LE(ink.box.bottom, 38 - 10 + 4);  // a glyph's descent may pass the inset a little
  EXPECT_EQ(ink.maxAlpha, 0x66u);
  for (std::uint32_t p : ink.pixels) EXPECT_EQ(p & 0xFFFFFF, 0u);  // black, however translucent
}

TEST(RichEdit, TipIsDrawnInItsColourUntilTheFocusComes) {
  SkinTree t(kLayeredFields, 1000, 200);
  auto* e = t.Find<CRichEditUI>(L"tipped");
  const Ink tip = InkIn(t, e->Position());
  ASSERT_FALSE(tip.pixels.empty());
  EXPECT_TRUE(tip.Has(0xFFBAC0C5));
  t.host.SetFocus(e);
  t.Pump();
  const Ink focused = InkIn(t, e->Position());
  EXPECT_FALSE(focused.Has(0xFFBAC0C5));
  EXPECT_LE(focused.box.Width(), 1);  // only the caret
}
