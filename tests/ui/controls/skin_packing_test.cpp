// The build packs skin/ into a zip and links it into the installer as "ZIPRES" 131.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ui/controls/skin_resource_zip.h"

namespace SkinUI {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SkinPacking, EverySkinFileIsInTheEmbeddedArchive) {
  const std::string zip = Slurp(SKIN_ZIP);
  ASSERT_FALSE(zip.empty());
  SkinResourceZip z;
  ASSERT_EQ(z.OpenMemory(zip.data(), zip.size()), kZipOk);

  const fs::path skin = fs::path(WEBINST_SOURCE_DIR) / "skin";
  int files = 0;
  for (const auto& f : fs::recursive_directory_iterator(skin)) {
    if (!f.is_regular_file()) continue;
    ++files;
    const std::string name = f.path().lexically_relative(skin).generic_string();
    SCOPED_TRACE(name);
    SkinZipEntry e;
    ASSERT_EQ(z.FindItem(std::wstring(name.begin(), name.end()), false, e), kZipOk);
    const std::string expected = Slurp(f.path());
    std::string got(e.uncompressedSize, '\0');
    size_t n = 0;
    if (!got.empty()) {
      EXPECT_EQ(z.ExtractItem(e.index, got.data(), got.size(), &n), kZipMore);
    }
    EXPECT_EQ(got, expected);
  }
  EXPECT_GT(files, 0);

  // And the executable carries the archive byte for byte.
  const std::string exe = Slurp(WEBINST_EXE);
  EXPECT_NE(std::search(exe.begin(), exe.end(), zip.begin(), zip.end()), exe.end());
}

}  // namespace
}  // namespace SkinUI
