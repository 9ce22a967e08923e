#include <gtest/gtest.h>

#include "tests/ui/controls/controls_fixture.h"
#include "ui/controls/check_box_ui.h"
#include "ui/core/tab_layout_ui.h"

using namespace SkinUI;
using testsupport::SkinTree;
using Types = std::vector<std::wstring>;

namespace {

const wchar_t kWelcomeRow[] =
    L"<Window><HorizontalLayout>"
    L"<CheckBox name=\"chk_lic\" padding=\"0,1,0,0\" width=\"16\" height=\"16\" selected=\"true\""
    L" statusimage=\"file='img\\common\\chk_16x16.png' source='0,0,64,16' status='normal,hot,selected,disabled'\" />"
    L"<CheckBox name=\"chk_custom_install\" height=\"17\" width=\"79\" align=\"left,vcenter\" text=\"custom\""
    L" statusimage=\"file='img\\inst\\chk_custom_install.png' source='0,0,112,14' dest='65,2,79,16'"
    L" status='normal,hot,pushed,disabled,selected,selectedhot,selectedpushed,selecteddisabled'\" />"
    L"</HorizontalLayout></Window>";

// The source strip (left edge) and destination of the one status image painted.
struct Frame {
  int sourceLeft;
  SkinRect dest;
};
Frame OnlyFrame(const testsupport::SpecCanvas& canvas, const wchar_t* file) {
  std::vector<Frame> frames;
  for (const SkinImageSpec& s : canvas.specs)
    if (s.file == file) frames.push_back({s.source.left, s.dest});
  EXPECT_EQ(frames.size(), 1u);
  return frames.empty() ? Frame{-1, {}} : frames[0];
}
constexpr wchar_t kLicBox[] = L"img\\common\\chk_16x16.png";
constexpr wchar_t kCustomBox[] = L"img\\inst\\chk_custom_install.png";

}  // namespace

TEST(CheckBox, LicenceBoxStartsSelectedAndAClickSendsSelectChangedThenClick) {
  SkinTree t(kWelcomeRow);
  auto* chk = t.Find<CCheckBoxUI>(L"chk_lic");
  ASSERT_NE(chk, nullptr);
  EXPECT_STREQ(chk->ClassName(), L"CheckBoxUI");
  EXPECT_EQ(chk->AsInterface(L"Option"), chk);
  EXPECT_TRUE(chk->IsSelected());
  EXPECT_TRUE(t.log.Types().empty());  // the skin's "selected" notifies nobody

  EXPECT_EQ(OnlyFrame(t.Paint(), kLicBox).sourceLeft, 32);  // "selected"
  t.Click(chk);
  EXPECT_FALSE(chk->IsSelected());
  EXPECT_EQ(t.log.Types(), (Types{L"selectchanged", L"click"}));
  EXPECT_EQ(t.log.seen.back().sender, L"chk_lic");
  t.Click(chk);
  EXPECT_TRUE(chk->IsSelected());
}

TEST(CheckBox, PressedBoxWithoutPushedImagesShowsNormalOrSelected) {
  SkinTree t(kWelcomeRow);
  auto* chk = t.Find<CCheckBoxUI>(L"chk_lic");
  const SkinPoint c = SkinTree::Centre(chk);
  t.Send(chk, kEventMouseEnter, c);
  t.Send(chk, kEventButtonDown, c);
  EXPECT_EQ(OnlyFrame(t.Paint(), kLicBox).sourceLeft, 32);  // selected, pushed: the selected frame
  chk->Select(false, false);
  EXPECT_EQ(OnlyFrame(t.Paint(), kLicBox).sourceLeft, 0);  // pushed: the normal frame
  t.Send(chk, kEventMouseMove, {500, 500});
  t.Send(chk, kEventButtonUp, {500, 500});
  EXPECT_FALSE(chk->IsSelected());  // released outside
  EXPECT_EQ(OnlyFrame(t.Paint(), kLicBox).sourceLeft, 16);  // hot
  chk->SetEnabled(false);
  EXPECT_EQ(OnlyFrame(t.Paint(), kLicBox).sourceLeft, 48);
}

TEST(CheckBox, CustomInstallFramesAreDrawnAtTheirDestination) {
  SkinTree t(kWelcomeRow);
  auto* chk = t.Find<CCheckBoxUI>(L"chk_custom_install");
  EXPECT_EQ(chk->Position().Width(), 79);
  EXPECT_EQ(chk->Position().Height(), 17);
  EXPECT_EQ(chk->TextStyle(), DT_VCENTER | DT_SINGLELINE);  // left-aligned, vertically centred
  const SkinPoint c = SkinTree::Centre(chk);
  struct Step {
    const char* what;
    int event;
    bool selected;
    int sourceLeft;
  } steps[] = {
      {"normal", 0, false, 0},
      {"hot", kEventMouseEnter, false, 14},
      {"pushed", kEventButtonDown, false, 28},
      {"selected and pushed", 0, true, 84},
      {"selected and hot", kEventButtonUp, true, 70},
      {"selected", kEventMouseLeave, true, 56},
  };
  for (const Step& s : steps) {
    if (s.event != 0) t.Send(chk, s.event, c);
    chk->Select(s.selected, false);
    const Frame f = OnlyFrame(t.Paint(), kCustomBox);
    EXPECT_EQ(f.sourceLeft, s.sourceLeft) << s.what;
    EXPECT_EQ(f.dest, (SkinRect{65, 2, 79, 16})) << s.what;
  }
  chk->SetEnabled(false);
  EXPECT_EQ(chk->State(), kStateDisabled | kStateSelected);  // disabling keeps only these two
  EXPECT_EQ(OnlyFrame(t.Paint(), kCustomBox).sourceLeft, 98);
}

TEST(Option, GroupMembersBehaveAsRadioButtons) {
  SkinTree t(
      L"<Window><HorizontalLayout>"
      L"<Option name=\"a\" group=\"g\" selected=\"true\" /><Option name=\"b\" group=\"g\" />"
      L"<CheckBox name=\"c\" group=\"g\" /><Option name=\"other\" group=\"h\" selected=\"true\" />"
      L"</HorizontalLayout></Window>");
  auto* a = t.Find<COptionUI>(L"a");
  auto* b = t.Find<COptionUI>(L"b");
  auto* c = t.Find<COptionUI>(L"c");
  auto* other = t.Find<COptionUI>(L"other");
  ASSERT_NE(t.host.OptionGroup(L"g"), nullptr);
  EXPECT_EQ(t.host.OptionGroup(L"g")->size(), 3u);

  t.Click(a);  // clicking the selected member keeps it selected
  EXPECT_TRUE(a->IsSelected());
  EXPECT_EQ(t.log.Types(), Types{L"click"});

  t.log.seen.clear();
  t.Click(c);
  EXPECT_TRUE(c->IsSelected());
  EXPECT_FALSE(a->IsSelected());
  EXPECT_FALSE(b->IsSelected());
  EXPECT_TRUE(other->IsSelected());  // another group
  ASSERT_EQ(t.log.seen.size(), 5u);  // killfocus/setfocus, a deselected, c selected, click
  EXPECT_EQ(t.log.Types(), (Types{L"selectchanged", L"selectchanged", L"click"}));

  // Moving an option to another group; a destroyed option leaves its group.
  b->SetGroup(L"h");
  EXPECT_EQ(t.host.OptionGroup(L"g")->size(), 2u);
  EXPECT_EQ(t.host.OptionGroup(L"h")->size(), 2u);
  t.Click(b);
  EXPECT_FALSE(other->IsSelected());
  static_cast<CContainerUI*>(t.host.Root())->SetDelayedDestroy(false);
  static_cast<CContainerUI*>(t.host.Root())->Remove(b);
  EXPECT_EQ(t.host.OptionGroup(L"h")->size(), 1u);
}

TEST(Option, BindTabShowsTheBoundPageOfATabLayoutOnly) {
  SkinTree t(
      L"<Window><VerticalLayout>"
      L"<Option name=\"o1\" group=\"tabs\" bindtab=\"pages\" bindtabindex=\"1\" />"
      L"<Option name=\"o0\" group=\"tabs\" bindtab=\"pages\" bindtabindex=\"0\" />"
      L"<Option name=\"bad\" bindtab=\"notatab\" bindtabindex=\"1\" />"
      L"<TabLayout name=\"pages\"><Control /><Control /></TabLayout>"
      L"<HorizontalLayout name=\"notatab\"><Control /><Control /></HorizontalLayout>"
      L"</VerticalLayout></Window>");
  auto* pages = t.Find<CTabLayoutUI>(L"pages");
  auto* notatab = t.Find<CContainerUI>(L"notatab");
  EXPECT_EQ(pages->CurrentSel(), 0);
  t.Click(t.Find(L"o1"));
  EXPECT_EQ(pages->CurrentSel(), 1);
  EXPECT_EQ(t.log.Types(), (Types{L"tabselect", L"selectchanged", L"click"}));

  // Deselected by its group, o1 does not select its page again.
  t.Click(t.Find(L"o0"));
  EXPECT_EQ(pages->CurrentSel(), 0);

  // Something else switched the page: the selected option shows its page again when painted.
  pages->SelectItem(1);
  t.Paint();
  EXPECT_EQ(pages->CurrentSel(), 0);

  // A bindtab naming a control that is no tab layout changes nothing there.
  t.Click(t.Find(L"bad"));
  t.Paint();
  EXPECT_TRUE(notatab->ItemAt(0)->IsVisible());
  EXPECT_TRUE(notatab->ItemAt(1)->IsVisible());
}

TEST(Option, SelectedStateColours) {
  SkinTree t(
      L"<Window><HorizontalLayout>"
      L"<Option name=\"o\" width=\"50\" selectedbkcolor=\"#FF010101\" selectedhotbkcolor=\"#FF020202\""
      L" selectedbordercolor=\"#FF030303\" bordersize=\"1\" hotbkcolor=\"#FF040404\" />"
      L"</HorizontalLayout></Window>");
  auto* o = t.Find<COptionUI>(L"o");
  t.Send(o, kEventMouseEnter, SkinTree::Centre(o));
  EXPECT_EQ(t.Paint().Only("fill").at(0).color1, 0xFF040404u);  // not selected: the button's colour
  o->Select(true, false);
  auto canvas = t.Paint();
  EXPECT_EQ(canvas.Only("fill").at(0).color1, 0xFF020202u);
  EXPECT_EQ(canvas.Only("rect").at(0).color1, 0xFF030303u);  // no hot border: the selected one
  t.Send(o, kEventMouseLeave, {});
  EXPECT_EQ(t.Paint().Only("fill").at(0).color1, 0xFF010101u);
}
