#include <gtest/gtest.h>

#include <climits>

#include "ui/core/skin_image_spec.h"
#include "ui/core/skin_value.h"

using namespace SkinUI;

TEST(SkinValue, BoolIsOnlyTheExactWordTrue) {
  EXPECT_TRUE(ParseSkinBool(L"true"));
  for (const wchar_t* t : {L"1", L"TRUE", L"True", L"true ", L"", L"yes"}) EXPECT_FALSE(ParseSkinBool(t)) << t;
  EXPECT_FALSE(ParseSkinBool(static_cast<const wchar_t*>(nullptr)));
}

TEST(SkinValue, IntegersReadLikeTheCLibraryAndSaturate) {
  struct Case {
    const wchar_t* text;
    int value;
  } cases[] = {{L"14", 14},       {L"  -12abc", -12},         {L"+7", 7},       {L"abc", 0},
               {L"", 0},          {L"true", 0},               {L"99999999999", INT_MAX},
               {L"-99999999999", INT_MIN}};
  for (const auto& c : cases) EXPECT_EQ(ParseSkinInt(c.text), c.value) << c.text;
}

TEST(SkinValue, ColoursAddAlphaOnlyForSixDigits) {
  struct Case {
    const wchar_t* text;
    SkinColor value;
  } cases[] = {
      {L"#E90505", 0xFFE90505},   {L"#0068B5", 0xFF0068B5}, {L"#66000000", 0x66000000}, {L"#FFFFFF", 0xFFFFFFFF},
      {L"333333", 0xFF333333},    {L"#00000000", 0},        {L"#FFF", 0x00000FFF},      {L"", 0},
      {L"#1FFFFFFFF", 0xFFFFFFFF},  // too many digits saturates as a 32-bit conversion does
      {L"-1", 0xFFFFFFFF},          // a sign negates modulo 2^32
      {L"-100000000", 0xFFFFFFFF},  // ... unless the magnitude does not fit: then it saturates too
      {L"#zz", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseSkinColor(c.text), c.value) << c.text;
}

TEST(SkinValue, RectanglesSkipExactlyOneSeparator) {
  struct Case {
    const wchar_t* text;
    SkinRect value;
  } cases[] = {
      {L"10,10,10,54", {10, 10, 10, 54}},
      {L"1;2 3x4", {1, 2, 3, 4}},
      {L"-50,10,-10,30", {-50, 10, -10, 30}},
      {L"5", {5, 0, 0, 0}},     // missing numbers are 0, and the end is never stepped over
      {L"1,", {1, 0, 0, 0}},
      {L"1,,3,4", {1, 0, 3, 4}},
      {L"", {0, 0, 0, 0}},
  };
  // In "1,,3,4" the second "," reads as a number without digits (0) and is then the skipped
  // separator, so 3 and 4 follow.
  for (const auto& c : cases) EXPECT_EQ(ParseSkinRect(c.text), c.value) << c.text;
  EXPECT_EQ(ParseSkinSize(L"819,574"), (SkinSize{819, 574}));
  EXPECT_EQ(ParseSkinSize(L"819"), (SkinSize{819, 0}));
}

TEST(SkinImageSpec, BareNameAndPairs) {
  SkinImageSpec s;
  EXPECT_TRUE(s.Parse(L"img\\inst\\edit_install_path.png"));
  EXPECT_EQ(s.file, L"img\\inst\\edit_install_path.png");
  EXPECT_TRUE(s.source.IsNull());

  EXPECT_TRUE(s.Parse(L"file='img\\msgbox\\bg.png' corner='15,54,15,15' fade='300' mask='#FF00FF' stretch='false'"));
  EXPECT_EQ(s.file, L"img\\msgbox\\bg.png");
  EXPECT_EQ(s.corner, (SkinRect{15, 54, 15, 15}));
  EXPECT_EQ(s.fade, 44);
  EXPECT_EQ(s.mask, 0xFFFF00FFu);
  EXPECT_FALSE(s.stretch);

  // A comma after a value stops the parse: what follows stays at its default.
  EXPECT_FALSE(s.Parse(L"file='a.png',source='0,0,10,10'"));
  EXPECT_EQ(s.file, L"a.png");
  EXPECT_TRUE(s.source.IsNull());

  // The rebuilt text parses back to the same fields.
  SkinImageSpec a, b;
  a.Parse(L"file='x.png' restype='PNG' dest='1,2,3,4' source='0,0,8,8' fade='7' hole='true' svgsize='5,6'");
  b.Parse(ImageSpecText(a));
  EXPECT_EQ(ImageSpecText(a), ImageSpecText(b));
  EXPECT_EQ(b.dest, (SkinRect{1, 2, 3, 4}));
  EXPECT_EQ(b.fade, 7);
  EXPECT_TRUE(b.hole);
  EXPECT_EQ(b.svgSize, (SkinSize{5, 6}));
}

TEST(SkinImageSpec, StatusImagesSplitTheSourceIntoFrames) {
  SkinStatusImageMap m;
  ASSERT_TRUE(ParseStatusImage(L"file='b.png' source='0,0,64,20' status='normal hot,pushed'", m));
  ASSERT_EQ(m.size(), 3u);
  EXPECT_EQ(m[L"normal"].source, (SkinRect{0, 0, 32, 20}));
  EXPECT_EQ(m[L"hot"].source, (SkinRect{0, 0, 32, 20}));
  EXPECT_EQ(m[L"pushed"].source, (SkinRect{32, 0, 64, 20}));
  EXPECT_EQ(m[L"pushed"].file, L"b.png");

  SkinStatusImageMap none;
  EXPECT_FALSE(ParseStatusImage(L"file='b.png' source='0,0,64,20'", none));             // no state list
  EXPECT_FALSE(ParseStatusImage(L"file='b.png' source='0,0,64,20' status=',,'", none));  // only empty items
  EXPECT_FALSE(ParseStatusImage(L"file='b.png',status='normal'", none));                 // malformed
  EXPECT_TRUE(none.empty());

  // Rectangles beyond any image are bounded, so cutting the frames cannot overflow.
  SkinStatusImageMap wide;
  ASSERT_TRUE(ParseStatusImage(L"file='b.png' source='-2147483648,0,2147483647,20' status='a,b'", wide));
  EXPECT_EQ(wide[L"a"].source.left, -kSkinCoordLimit);
  EXPECT_EQ(wide[L"b"].source.right, kSkinCoordLimit);
}
