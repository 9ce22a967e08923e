#include "ui/controls/skin_image_loader.h"

#include <gtest/gtest.h>

#include "platform/module_resource.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/controls/draw_fixture.h"
#include "ui/core/control_ui.h"

namespace SkinUI {
namespace {

using testsupport::MakePng;

// A module resource of this test program, as the build links the skin archive into the installer.
const std::string& ResourcePng() {
  static const std::string png = MakePng(2, 1, [](int x, int) { return x == 0 ? 0xFF0000FFu : 0xFF00FF00u; });
  return png;
}
const platform::ModuleResource kResources[] = {
    {"PNG", 7, reinterpret_cast<const uint8_t*>(ResourcePng().data()), ResourcePng().size()},
};
const platform::ModuleResourceTable kTable(kResources);

class SkinImageLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override { testsupport::UseDrawingServices(); }
  testsupport::SkinFiles files;
};

TEST_F(SkinImageLoaderTest, PremultipliesWithIntegerDivisionAndMasksAfterwards) {
  struct Case {
    std::uint32_t straight, premultiplied;
  };
  const Case cases[] = {
      {0xFF102030, 0xFF102030},  // opaque: copied
      {0x80FF8040, 0x80804020},  // 255*128/255, 128*128/255 = 64, 64*128/255 = 32
      {0xC8C8C8C8, 0xC89C9C9C},  // 200*200/255 = 156.9: truncated, not rounded
      {0x01FFFFFF, 0x01010101},
      {0x00FFFFFF, 0x00000000},
      {0x7FFF00FF, 0x7F7F007F},  // half-transparent magenta is not the mask once premultiplied
      {0xFFFF00FF, 0x00000000},  // opaque magenta is
  };
  std::vector<std::uint32_t> row;
  for (const Case& c : cases) row.push_back(c.straight);
  const std::string png = testsupport::EncodePng(static_cast<int>(row.size()), 1, row);
  auto bitmap = DecodeSkinImage(reinterpret_cast<const uint8_t*>(png.data()), png.size(), 0xFFFF00FF, 0, 0);
  ASSERT_NE(bitmap, nullptr);
  ASSERT_EQ(bitmap->width, static_cast<int>(row.size()));
  for (std::size_t i = 0; i < row.size(); ++i)
    EXPECT_EQ(bitmap->pixels[i], cases[i].premultiplied) << std::hex << cases[i].straight;
  EXPECT_TRUE(bitmap->alpha);
  EXPECT_EQ(bitmap->mask, 0xFFFF00FFu);

  // Opaque pixels only: no alpha, until the mask takes one of them.
  const std::string opaque = MakePng(2, 1, [](int x, int) { return x == 0 ? 0xFF123456u : 0xFFFF00FFu; });
  const auto* bytes = reinterpret_cast<const uint8_t*>(opaque.data());
  EXPECT_FALSE(DecodeSkinImage(bytes, opaque.size(), 0, 0, 0)->alpha);
  EXPECT_TRUE(DecodeSkinImage(bytes, opaque.size(), 0xFFFF00FF, 0, 0)->alpha);
}

TEST_F(SkinImageLoaderTest, BytesComeFromTheResourceTheArchiveOrTheDisk) {
  // Resource-typed: the decimal id the name starts with, and nothing else.
  files.Add(L"8", MakePng(1, 1, [](int, int) { return 0xFFFFFFFFu; }));
  auto res = LoadSkinImage(L"7", L"PNG", 0, 0, 0);
  ASSERT_NE(res, nullptr);
  EXPECT_EQ(res->pixels, (std::vector<std::uint32_t>{0xFF0000FF, 0xFF00FF00}));
  EXPECT_EQ(res->restype, L"PNG");
  EXPECT_EQ(LoadSkinImage(L"8", L"PNG", 0, 0, 0), nullptr);   // no such resource: no disk or archive
  EXPECT_EQ(LoadSkinImage(L"x7", L"PNG", 0, 0, 0), nullptr);  // not a number
  EXPECT_EQ(files.Reads(L"8"), 0);

  // Skin files (either separator), then the name as a path on disk.
  files.Add(L"img/a.png", MakePng(3, 2, [](int, int) { return 0xFF010203u; }));
  auto a = LoadSkinImage(L"img\\a.png", L"", 0, 0, 0);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->width, 3);
  EXPECT_EQ(a->height, 2);
  testsupport::TempDir dir;
  testsupport::WriteFile(dir / "disk.png", MakePng(4, 1, [](int, int) { return 0xFF000000u; }));
  auto disk = LoadSkinImage((dir / "disk.png").wstring(), L"", 0, 0, 0);
  ASSERT_NE(disk, nullptr);
  EXPECT_EQ(disk->width, 4);

  testsupport::WriteFile(dir / "junk.png", "not an image");
  EXPECT_EQ(LoadSkinImage((dir / "junk.png").wstring(), L"", 0, 0, 0), nullptr);
  EXPECT_EQ(LoadSkinImage(L"img\\missing.png", L"", 0, 0, 0), nullptr);
}

TEST_F(SkinImageLoaderTest, SvgIsRasterisedAtItsSize) {
  const std::string svg =
      R"(<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10" viewBox="0 0 10 10">)"
      R"(<rect width="10" height="5" fill="#ff0000"/><rect y="5" width="10" height="5" fill="#0000ff" opacity="0.5"/></svg>)";
  files.Add(L"img/shape.svg", svg);
  auto bitmap = LoadSkinImage(L"img\\shape.svg", L"", 0, 20, 20);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->width, 20);
  EXPECT_EQ(bitmap->height, 20);
  EXPECT_EQ(bitmap->pixels[5 * 20 + 10], 0xFFFF0000u);  // upper half: opaque red
  const std::uint32_t lower = bitmap->pixels[15 * 20 + 10];
  EXPECT_NEAR(static_cast<int>(lower >> 24), 128, 1);   // lower half: half-transparent blue, premultiplied
  EXPECT_NEAR(static_cast<int>(lower & 0xFF), 128, 1);
  EXPECT_EQ((lower >> 8) & 0xFFFF, 0u);
  EXPECT_TRUE(bitmap->alpha);

  files.Add(L"img/broken.svg", "<svg");
  EXPECT_EQ(LoadSkinImage(L"img\\broken.svg", L"", 0, 20, 20), nullptr);
  // Without both sizes the bytes go to the raster decoders, which do not take SVG.
  EXPECT_EQ(LoadSkinImage(L"img\\shape.svg", L"", 0, 20, 0), nullptr);
}

TEST_F(SkinImageLoaderTest, EachImageIsDecodedOncePerHostAndAFailedImageIsForgotten) {
  files.Add(L"img/a.png", MakePng(2, 2, [](int, int) { return 0xFF00FF00u; }));
  CSkinHost host, other;
  const SkinBitmapInfo* first = host.FindImage(L"img\\a.png");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(host.FindImage(L"img\\a.png", L"", 0xFF00FF00), first);  // the mask counts only at the first load
  EXPECT_FALSE(first->alpha);
  EXPECT_EQ(files.Reads(L"img/a.png"), 1);
  EXPECT_NE(other.FindImage(L"img\\a.png"), nullptr);
  EXPECT_EQ(files.Reads(L"img/a.png"), 2);

  // A control whose image does not load drops the description, so it is not read on every paint.
  CControlUI control;
  control.SetHost(&host, nullptr, false, nullptr);
  control.SetBkImage(L"img\\missing.png");
  control.SetPosition({0, 0, 10, 10});
  testsupport::DrawSurface surface(10, 10, &host);
  control.Paint(surface.canvas(), {0, 0, 10, 10});
  EXPECT_TRUE(control.BkImage().IsEmpty());
  control.Paint(surface.canvas(), {0, 0, 10, 10});
  EXPECT_EQ(files.Reads(L"img/missing.png"), 1);
}

}  // namespace
}  // namespace SkinUI
