#include <gtest/gtest.h>

#include "tests/ui/controls/controls_fixture.h"
#include "ui/controls/label_ui.h"
#include "ui/controls/text_ui.h"

using namespace SkinUI;

TEST(Label, AlignWordsOverrideEachOtherPerAxis) {
  const std::uint32_t start = DT_VCENTER | DT_SINGLELINE;
  struct Case {
    const wchar_t* value;
    std::uint32_t style;
  } cases[] = {
      {L"hcenter,vcenter", DT_CENTER | DT_VCENTER | DT_SINGLELINE},
      {L"left,vcenter", DT_VCENTER | DT_SINGLELINE},
      {L"right,vcenter", DT_RIGHT | DT_VCENTER | DT_SINGLELINE},
      {L"center", start},  // no word matches: unchanged
      {L"right,bottom", DT_RIGHT | DT_BOTTOM | DT_SINGLELINE},
      {L"left,top", DT_SINGLELINE},
      {L"hcenter left", DT_CENTER | DT_VCENTER | DT_SINGLELINE},  // "hcenter" is looked at after "left"
  };
  for (const Case& c : cases) {
    CLabelUI l;
    l.SetAttribute(L"align", c.value);
    EXPECT_EQ(l.TextStyle(), c.style) << c.value;
  }
}

TEST(Label, StyleAttributes) {
  CLabelUI l;
  l.SetAttribute(L"multiline", L"true");
  l.SetAttribute(L"wordbreak", L"true");
  l.SetAttribute(L"endellipsis", L"true");
  l.SetAttribute(L"pathellipsis", L"true");
  EXPECT_EQ(l.TextStyle(), DT_VCENTER | DT_WORDBREAK | DT_END_ELLIPSIS | DT_PATH_ELLIPSIS);
  l.SetAttribute(L"multiline", L"yes");  // anything but "true" is single-line
  l.SetAttribute(L"endellipsis", L"false");
  l.SetAttribute(L"compactpath", L"0");
  EXPECT_EQ(l.TextStyle(), DT_VCENTER | DT_WORDBREAK | DT_SINGLELINE);
  l.SetAttribute(L"font", L"3");
  l.SetAttribute(L"textcolor", L"#66000000");
  l.SetAttribute(L"disabledtextcolor", L"#99C1DF");
  l.SetAttribute(L"textpadding", L"18,0,0,0");
  EXPECT_EQ(l.Font(), 3);
  EXPECT_EQ(l.TextColor(), 0x66000000u);
  EXPECT_EQ(l.DisabledTextColor(), 0xFF99C1DFu);
  EXPECT_EQ(l.TextPadding(), (SkinRect{18, 0, 0, 0}));
  EXPECT_EQ(l.AsInterface(L"Label"), &l);

  CTextUI t;
  EXPECT_EQ(t.TextStyle(), DT_WORDBREAK);
  EXPECT_EQ(t.TextPadding(), (SkinRect{2, 0, 2, 0}));
  t.SetAttribute(L"linkcursor", L"hand");
  EXPECT_EQ(t.LinkCursor(), 32649);
  EXPECT_FALSE(t.IsMouseEnabled());  // a text is hit only with "mouse"
}

TEST(Label, AutoWidthFollowsTheTextAndItsPadding) {
  testsupport::SkinTree t(
      L"<Window>"
      L"<Font name=\"Sans\" size=\"12\" default=\"true\" /><Font name=\"Sans\" size=\"14\" />"
      L"<Style name=\"chk_14x14\" value=\"autowidth=&quot;true&quot; font=&quot;1&quot; height=&quot;14&quot;"
      L" textpadding=&quot;18,0,0,0&quot; align=&quot;left,vcenter&quot;\" />"
      L"<VerticalLayout><HorizontalLayout height=\"14\">"
      L"<Label name=\"lbl_dl_speed\" />"
      L"<Label name=\"lbl_dl_size\" textcolor=\"#666666\" align=\"right,vcenter\" autowidth=\"true\" text=\"1 MB / 10 MB\" />"
      L"</HorizontalLayout><HorizontalLayout height=\"14\">"
      L"<CheckBox name=\"chk\" style=\"chk_14x14\" text=\"desktop shortcut\" />"
      L"<Label name=\"plain\" font=\"1\" autowidth=\"true\" text=\"desktop shortcut\" />"
      L"<Control />"
      L"</HorizontalLayout></VerticalLayout></Window>");
  auto* size = t.Find<CLabelUI>(L"lbl_dl_size");
  const int small = size->Position().Width();
  EXPECT_GT(small, 40);
  EXPECT_EQ(size->Position().right, 800);  // the stretching label before it takes the rest
  size->SetText(L"100.5 MB / 200.25 MB");
  t.Layout();
  EXPECT_GT(size->Position().Width(), small);
  EXPECT_EQ(size->Position().right, 800);

  // The check box style's 18 pixels of left padding make room for its box.
  EXPECT_EQ(t.Find(L"chk")->Position().Width(), t.Find(L"plain")->Position().Width() + 18);
}

TEST(Controls, SkinElementsMakeTheirClasses) {
  testsupport::SkinTree t(
      L"<Window><VerticalLayout>"
      L"<Label name=\"a\" /><Text name=\"b\" /><Button name=\"c\" /><Option name=\"d\" /><CheckBox name=\"e\" />"
      L"<Progress name=\"f\" /><Sequence name=\"g\" /><FadeSequence name=\"h\" /><RichEdit name=\"i\" />"
      L"</VerticalLayout></Window>");
  const std::pair<const wchar_t*, const wchar_t*> expected[] = {
      {L"a", L"LabelUI"},    {L"b", L"TextUI"},     {L"c", L"ButtonUI"},       {L"d", L"OptionUI"},   {L"e", L"CheckBoxUI"},
      {L"f", L"ProgressUI"}, {L"g", L"SequenceUI"}, {L"h", L"FadeSequenceUI"}, {L"i", L"RichEditUI"},
  };
  for (const auto& [name, cls] : expected) {
    CControlUI* c = t.Find(name);
    ASSERT_NE(c, nullptr) << name;
    EXPECT_STREQ(c->ClassName(), cls);
  }
}
