#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "tests/ui/controls/draw_fixture.h"
#include "ui/controls/pango_text.h"
#include "ui/core/skin_builder.h"
#include "ui/core/skin_host.h"

namespace SkinUI {
namespace {

class FontBackendTest : public ::testing::Test {
 protected:
  void SetUp() override { testsupport::UseDrawingServices(); }
  testsupport::SkinFiles files;
  CSkinHost host;
};

TEST_F(FontBackendTest, MetricsOfHostFonts) {
  SkinFontInfo* f = host.AddFont(L"Microsoft YaHei", 12, 0, false, false, false, false);
  const SkinFontInfo& m = host.FontInfo(*f);
  EXPECT_TRUE(m.metricsValid);
  EXPECT_EQ(m.height, m.ascent + m.descent);
  EXPECT_GE(m.height, 12);
  EXPECT_GE(m.externalLeading, 0);
  EXPECT_GE(m.maxCharWidth, m.aveCharWidth);
  // No character of a run is wider than the maximum character width.
  const std::wstring sample = L"WMm@我已仔细阅读《许可协议》";
  EXPECT_LE(CPangoText::RunWidth(m, sample), static_cast<int>(sample.size()) * m.maxCharWidth);
  // Absurd sizes from a skin are measured without overflowing, and keep the size they were given.
  SkinFontInfo* huge = host.AddFont(L"Microsoft YaHei", 2147483647, 0, false, false, false, false);
  EXPECT_GT(host.FontInfo(*huge).height, 0);
  EXPECT_EQ(huge->size, 2147483647);
}

TEST_F(FontBackendTest, FontFilesMakeTheirFaceAvailableAndKeepTheIndex) {
  files.Add(L"font/wqy.ttc", testsupport::ReadFile("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"));
  files.Add(L"font/junk.ttf", "not a font");
  host.AttachWindow(reinterpret_cast<SkinWindowHandle>(&host));  // a handle no window system knows
  CSkinBuilder b;
  b.Build(L"<Window>"
          L"<Font name=\"Skin Face\" file=\"font\\wqy.ttc\" size=\"13\" italic=\"true\" strikeout=\"true\" />"
          L"<Font name=\"Missing\" file=\"font\\none.ttf\" />"
          L"<Font name=\"Junk\" file=\"font\\junk.ttf\" default=\"true\" />"
          L"</Window>",
          nullptr, nullptr, &host);
  ASSERT_EQ(host.FontCount(), 3);  // a face that failed still holds its index
  EXPECT_TRUE(host.HasFontFace(L"Skin Face"));
  EXPECT_FALSE(host.HasFontFace(L"Missing"));
  EXPECT_FALSE(host.HasFontFace(L"Junk"));
  EXPECT_TRUE(host.Font(0)->fromFile);
  EXPECT_TRUE(host.Font(0)->italic);
  EXPECT_TRUE(host.Font(0)->strikeout);
  EXPECT_FALSE(host.Font(0)->underline);
  EXPECT_EQ(host.Font(0)->size, 13);
  EXPECT_EQ(host.Font(1)->size, 12);
  EXPECT_EQ(host.Font(-1)->face, L"Junk");
  EXPECT_FALSE(host.Font(-1)->fromFile);  // the default font never counts as from a file
  // A face registered already is not read again.
  const int reads = files.Reads(L"font/wqy.ttc");
  EXPECT_TRUE(host.AddFontFile(L"font\\wqy.ttc", L"Skin Face"));
  EXPECT_EQ(files.Reads(L"font/wqy.ttc"), reads);
}

}  // namespace
}  // namespace SkinUI
