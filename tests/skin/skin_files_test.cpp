// The skin shipped in skin/: every layout parses, every name a layout uses (included files,
// styles, images) is there, every image has the size and frame layout the layouts cut it into,
// and the images are what tools/artwork draws.
#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/text_encoding.h"
#include "tests/support/process.h"
#include "tests/support/temp_dir.h"
#include "ui/controls/skin_archive_registry.h"
#include "ui/core/skin_file_data.h"
#include "ui/core/skin_image_spec.h"
#include "ui/core/skin_xml.h"

namespace SkinUI {
namespace {

namespace fs = std::filesystem;

const fs::path kSkin = fs::path(WEBINST_SOURCE_DIR) / "skin";

struct Size {
  int width, height;
  bool operator==(const Size&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Size& s) { return os << s.width << " x " << s.height; }

// Every image of the archive with its size in pixels.
const std::map<std::string, Size> kImages = {
    {"img/common/bg.png", {819, 574}},
    {"img/inst/bg_dropdown.png", {819, 698}},
    {"img/common/logo.png", {24, 24}},
    {"img/common/btn_min.png", {96, 24}},
    {"img/common/btn_close.png", {96, 24}},
    {"img/common/btn_blue_912x62.png", {912, 62}},
    {"img/common/btn_blue_228x62.png", {912, 62}},
    {"img/common/btn_blue_radius4.png", {352, 30}},
    {"img/common/btn_blue_border_radius4.png", {352, 30}},
    {"img/inst/btn_red_border_radisu4.png", {352, 30}},
    {"img/inst/btn_blue_border_100x34.png", {400, 34}},
    {"img/common/chk_14x14.png", {56, 14}},
    {"img/common/chk_16x16.png", {64, 16}},
    {"img/inst/chk_lic.png", {64, 16}},
    {"img/inst/chk_custom_install.png", {112, 14}},
    {"img/common/prog_bg.png", {659, 12}},
    {"img/common/prog_fg.png", {659, 12}},
    {"img/inst/prog_err_fg.png", {659, 12}},
    {"img/inst/edit_install_path.png", {573, 38}},
    {"img/inst/seq_introduce.png", {2301, 398}},
    {"img/inst/seq_inst.png", {36816, 12}},
    {"img/common/bg_white.png", {767, 398}},
    {"img/msgbox/bg.png", {152, 152}},
    {"img/msgbox/icon_warning.png", {16, 16}},
    {"img/msgbox/btn_blue.png", {240, 34}},
    {"img/msgbox/btn_white.png", {240, 34}},
};
// In the archive but named by no layout.
const std::set<std::string> kUnreferenced = {"img/common/btn_blue_228x62.png", "img/inst/chk_lic.png",
                                             "img/common/bg_white.png"};

// The two windows' skin files, as the program names them.
const wchar_t* const kWindows[] = {L"xml\\inst\\wnd.xml", L"xml\\msgbox.xml"};

std::string Narrow(const std::wstring& s) { return platform::WideToUtf8(s); }

std::string Lower(std::string s) {
  for (char& c : s) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return s;
}

// A skin name in one form for comparing: "/" separators, lower case (names match in any case).
std::string Key(const std::wstring& name) {
  std::string k = Lower(Narrow(name));
  std::replace(k.begin(), k.end(), '\\', '/');
  return k;
}

std::vector<uint8_t> Load(const std::wstring& name) {
  std::unique_ptr<uint8_t[]> bytes;
  const uint32_t size = LoadFileData(name, bytes, false);
  return size == 0 ? std::vector<uint8_t>() : std::vector<uint8_t>(bytes.get(), bytes.get() + size);
}

// Width and height from the PNG signature and IHDR chunk; nothing for anything else.
std::optional<Size> PngSize(const std::vector<uint8_t>& b) {
  static const uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (b.size() < 24 || !std::equal(std::begin(kSignature), std::end(kSignature), b.begin()) ||
      std::string(b.begin() + 12, b.begin() + 16) != "IHDR") {
    return std::nullopt;
  }
  auto be32 = [&](size_t at) { return int(b[at]) << 24 | int(b[at + 1]) << 16 | int(b[at + 2]) << 8 | int(b[at + 3]); };
  return Size{be32(16), be32(20)};
}

struct Attribute {
  std::wstring element, name, value;
};

// The attributes an element sets, with a Style's value list opened up as the attributes it
// sets when applied.
std::vector<Attribute> AttributesOf(const CSkinXmlNode& node) {
  std::vector<Attribute> out;
  const std::wstring element = node.Name();
  for (int i = 0; i < node.AttributeCount(); ++i) {
    const std::wstring name = node.AttributeName(i), value = node.AttributeValue(i);
    if (element == L"Style" && name == L"value") {
      CSkinXml list;
      const std::wstring text = L"<Attr " + value + L" />";
      EXPECT_TRUE(list.LoadText(text.c_str())) << Narrow(value);
      for (int k = 0; k < list.Root().AttributeCount(); ++k) {
        out.push_back({element, list.Root().AttributeName(k), list.Root().AttributeValue(k)});
      }
    } else {
      out.push_back({element, name, value});
    }
  }
  return out;
}

std::wstring Attr(const CSkinXmlNode& node, const wchar_t* name) {
  wchar_t buffer[501] = {};
  return node.FindAttribute(name, buffer, 500) ? buffer : L"";
}

// Walks a window's skin files in the order the skin builder processes them: a file's resource
// elements first (an Include builds the whole included file there), then its controls, children
// before the element's own attributes. `visit` sees every element with its file.
class SkinWalk {
 public:
  using Visit = std::function<void(const std::string& file, const CSkinXmlNode&)>;
  explicit SkinWalk(Visit visit) : visit_(std::move(visit)) {}

  void File(const std::wstring& name) {
    const std::string file = Key(name);
    files.insert(file);
    auto& doc = docs_.emplace_back(std::make_unique<CSkinXml>());
    if (!doc->LoadFile(name.c_str())) {
      wchar_t message[CSkinXml::kMaxErrorMessage] = {}, where[CSkinXml::kMaxErrorLocation] = {};
      doc->ErrorMessage(message, CSkinXml::kMaxErrorMessage);
      doc->ErrorLocation(where, CSkinXml::kMaxErrorLocation);
      ADD_FAILURE() << file << " does not parse: " << Narrow(message) << " at " << Narrow(where);
      return;
    }
    const CSkinXmlNode root = doc->Root();
    EXPECT_STREQ(root.Name(), L"Window") << file;
    for (CSkinXmlNode c = root.FirstChild(); c.IsValid(); c = c.NextSibling()) {
      const std::wstring n = c.Name();
      if (n == L"Include") {
        File(Attr(c, L"source"));
      } else if (n == L"Style" || n == L"Font" || n == L"Image" || n == L"Default") {
        visit_(file, c);
      }
    }
    for (CSkinXmlNode c = root.FirstChild(); c.IsValid(); c = c.NextSibling()) {
      const std::wstring n = c.Name();
      if (n != L"Include" && n != L"Style" && n != L"Font" && n != L"Image" && n != L"Default") Control(file, c);
    }
  }

  std::set<std::string> files;

 private:
  void Control(const std::string& file, const CSkinXmlNode& node) {
    if (std::wstring(node.Name()) == L"Include") {
      File(Attr(node, L"source"));
      return;
    }
    for (CSkinXmlNode c = node.FirstChild(); c.IsValid(); c = c.NextSibling()) Control(file, c);
    visit_(file, node);
  }

  Visit visit_;
  std::vector<std::unique_ptr<CSkinXml>> docs_;
};

class SkinFilesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SkinArchiveRegistry::Install();
    SkinArchiveRegistry::Instance().SetResourceFolder(kSkin.wstring() + L"/");
  }
};

TEST_F(SkinFilesTest, BothWindowsParseWithEveryFileTheyInclude) {
  std::set<std::string> all;
  for (const wchar_t* window : kWindows) {
    SkinWalk walk([](const std::string&, const CSkinXmlNode&) {});
    walk.File(window);
    all.insert(walk.files.begin(), walk.files.end());
  }
  EXPECT_EQ(all, (std::set<std::string>{"xml/common/font.xml", "xml/common/style.xml", "xml/inst/wnd.xml",
                                        "xml/inst/panel/step0.xml", "xml/inst/panel/step1.xml", "xml/msgbox.xml"}));
  // And nothing else lies in the layout folder.
  std::set<std::string> onDisk;
  for (const auto& f : fs::recursive_directory_iterator(kSkin / "xml")) {
    if (f.is_regular_file()) onDisk.insert(Lower(f.path().lexically_relative(kSkin).generic_string()));
  }
  EXPECT_EQ(onDisk, all);
}

// A style must be registered before the element that names it is built, in the same window;
// the windows also switch to some styles at run time.
TEST_F(SkinFilesTest, EveryStyleIsDefinedBeforeItIsUsed) {
  const std::map<std::wstring, std::vector<std::wstring>> switchedTo = {
      {L"xml\\inst\\wnd.xml",
       {L"bg", L"bg_dropdown", L"lbl_space", L"lbl_space_err", L"lbl_dl_stat", L"lbl_dl_stat_err", L"lbl_inst_stat",
        L"lbl_inst_stat_err", L"prog_fg", L"prog_err_fg"}},
      {L"xml\\msgbox.xml", {L"btn_msgbox_def"}},
  };
  for (const wchar_t* window : kWindows) {
    std::set<std::wstring> defined;
    SkinWalk walk([&](const std::string& file, const CSkinXmlNode& node) {
      if (std::wstring(node.Name()) == L"Style") {
        EXPECT_TRUE(defined.insert(Attr(node, L"name")).second) << "style defined twice in " << file;
        return;
      }
      const std::wstring style = Attr(node, L"style");
      if (!style.empty()) {
        EXPECT_TRUE(defined.count(style)) << file << " uses " << Narrow(style) << " undefined";
      }
    });
    walk.File(window);
    for (const std::wstring& style : switchedTo.at(window)) EXPECT_TRUE(defined.count(style)) << Narrow(style);
  }
}

// Every image a layout names (bare names, image descriptions and state strips, inside styles
// too) is in the archive with the size the layout expects, and strips split into whole frames
// that fill the image.
TEST_F(SkinFilesTest, EveryImageIsThereWithItsSizeAndFrames) {
  std::set<std::string> referenced;
  auto check = [&](const std::string& file, const CSkinXmlNode& node) {
    for (const Attribute& a : AttributesOf(node)) {
      const bool status = a.name == L"statusimage";
      if (!status && (a.name.size() < 5 || a.name.compare(a.name.size() - 5, 5, L"image") != 0)) continue;
      SCOPED_TRACE(file + ": " + Narrow(a.name) + "=\"" + Narrow(a.value) + "\"");
      SkinImageSpec spec;
      ASSERT_TRUE(spec.Parse(a.value));
      const std::string key = Key(spec.file);
      referenced.insert(key);
      auto expected = kImages.find(key);
      ASSERT_NE(expected, kImages.end()) << "not an image of the archive";
      const std::optional<Size> size = PngSize(Load(spec.file));  // found by the name as written
      ASSERT_TRUE(size.has_value()) << "missing or not a PNG";
      EXPECT_EQ(*size, expected->second);
      if (!status) continue;

      SkinStatusImageMap states;
      ASSERT_TRUE(ParseStatusImage(a.value, states));
      EXPECT_EQ(spec.source, (SkinRect{0, 0, size->width, size->height})) << "the strip is the whole image";
      // Every state's frame is a whole-height slice of one width; the distinct slices cover the
      // strip without a remainder, and a frame with a destination is drawn at its own size.
      const int frameWidth = states.begin()->second.source.Width();
      std::set<int> lefts;
      for (const auto& [state, frame] : states) {
        SCOPED_TRACE(Narrow(state));
        EXPECT_EQ(frame.source.Width(), frameWidth);
        EXPECT_EQ(frame.source.top, 0);
        EXPECT_EQ(frame.source.bottom, size->height);
        lefts.insert(frame.source.left);
        if (!frame.dest.IsNull()) {
          EXPECT_EQ(frame.dest.Width(), frameWidth);
          EXPECT_EQ(frame.dest.Height(), size->height);
        }
      }
      EXPECT_EQ(frameWidth * static_cast<int>(lefts.size()), size->width) << "frames fill the strip exactly";
    }
  };
  for (const wchar_t* window : kWindows) SkinWalk(check).File(window);

  // The sequences cut their background into frames of the width they are shown at.
  EXPECT_EQ(kImages.at("img/inst/seq_introduce.png").width, 3 * 767);
  EXPECT_EQ(kImages.at("img/inst/seq_inst.png").width, 48 * 767);

  std::set<std::string> unreferenced;
  for (const auto& [name, size] : kImages) {
    if (!referenced.count(name)) unreferenced.insert(name);
  }
  EXPECT_EQ(unreferenced, kUnreferenced);
  // The unreferenced ones are shipped too, and nothing else is.
  std::set<std::string> onDisk;
  for (const auto& f : fs::recursive_directory_iterator(kSkin / "img")) {
    if (!f.is_regular_file()) continue;
    const std::string name = f.path().lexically_relative(kSkin).generic_string();
    onDisk.insert(name);
    auto expected = kImages.find(name);
    if (expected == kImages.end()) {
      ADD_FAILURE() << name << " is not an image of the skin";
      continue;
    }
    const std::string bytes = testsupport::ReadFile(f.path());
    EXPECT_EQ(PngSize(std::vector<uint8_t>(bytes.begin(), bytes.end())), expected->second) << name;
  }
  EXPECT_EQ(onDisk.size(), kImages.size());
}

struct Pixels {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;
};

Pixels Decode(const fs::path& p) {
  const std::string bytes = testsupport::ReadFile(p);
  Pixels px;
  int channels = 0;
  stbi_uc* data = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()), static_cast<int>(bytes.size()),
                                        &px.width, &px.height, &channels, 4);
  if (data != nullptr) {
    px.rgba.assign(data, data + static_cast<size_t>(px.width) * px.height * 4);
    stbi_image_free(data);
  }
  return px;
}

// The committed images are the artwork program's output: a change to the drawing code comes
// with the redrawn images (tools/artwork/generate), and no image is edited by hand. Pixels may
// differ by a rounding step between library builds; anything more is a real difference.
TEST(SkinArtwork, CommittedImagesAreWhatTheProgramDraws) {
  testsupport::TempDir dir;
  // In the sanitizer build fontconfig's caches outlive main; the program's own memory is still
  // checked.
  testsupport::WriteFile(dir / "lsan.supp", "leak:libfontconfig.so\nleak:libpango\n");
  testsupport::ProcessOptions options;
  options.setEnv["LSAN_OPTIONS"] = "suppressions=" + (dir / "lsan.supp").string();
  const testsupport::ProcessResult run =
      testsupport::RunProcess({SKIN_ARTWORK, (dir / "skin").string()}, options);
  ASSERT_EQ(run.exitCode, 0) << run.output;

  int compared = 0;
  for (const auto& [name, size] : kImages) {
    SCOPED_TRACE(name);
    const Pixels committed = Decode(kSkin / name), drawn = Decode(dir / "skin" / name);
    ASSERT_FALSE(drawn.rgba.empty()) << "the program did not draw it";
    ASSERT_EQ(committed.width, drawn.width);
    ASSERT_EQ(committed.height, drawn.height);
    size_t off = 0;
    for (size_t i = 0; i < drawn.rgba.size(); ++i) {
      if (std::abs(int(committed.rgba[i]) - int(drawn.rgba[i])) > 2) ++off;
    }
    EXPECT_EQ(off, 0u) << "channel values that differ by more than 2";
    ++compared;
  }
  EXPECT_EQ(compared, 26);
}

}  // namespace
}  // namespace SkinUI
