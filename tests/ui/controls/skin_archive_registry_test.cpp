#include "ui/controls/skin_archive_registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/module_resource.h"
#include "platform/text_encoding.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/controls/zip_fixture.h"
#include "ui/core/skin_file_data.h"
#include "ui/core/skin_xml.h"

namespace SkinUI {
namespace {

namespace fs = std::filesystem;
using testsupport::ZipItem;

// A module resource table of this test program, as the build generates one for the installer.
const std::string& ResourceZip() {
  static const std::string bytes = [] {
    testsupport::TempDir dir;
    return testsupport::WriteZip(dir / "res.zip", {{"xml/msgbox.xml", "<Window>box</Window>"}});
  }();
  return bytes;
}
const platform::ModuleResource kResources[] = {
    {"ZIPRES", 131, reinterpret_cast<const uint8_t*>(ResourceZip().data()), ResourceZip().size()},
};
const platform::ModuleResourceTable kTable(kResources);

class SkinArchiveRegistryTest : public ::testing::Test {
 protected:
  // The bytes of the archive; also kept as dir/<file>.
  std::string Zip(const std::string& file, const std::vector<ZipItem>& items) {
    return testsupport::WriteZip(dir_ / file, items);
  }
  void Register(const std::string& zip, bool main = true) {
    auto* p = reinterpret_cast<const uint8_t*>(zip.data());
    if (main) {
      reg_.RegisterMainFromMemory(p, static_cast<int32_t>(zip.size()));
    } else {
      reg_.RegisterOverlayFromMemory(p, static_cast<int32_t>(zip.size()));
    }
  }
  // The file's contents, "<none>" for a failed read (which must hand out no buffer).
  std::string Read(const std::wstring& name, bool markup = false) {
    std::unique_ptr<uint8_t[]> out(new uint8_t[1]);
    uint32_t size = reg_.LoadFileData(name, out, markup);
    if (size == 0) {
      EXPECT_EQ(out, nullptr);
      return "<none>";
    }
    return std::string(reinterpret_cast<const char*>(out.get()), size);
  }
  std::wstring Folder() const { return dir_.path().wstring() + L"/"; }

  testsupport::TempDir dir_;
  SkinArchiveRegistry reg_;
};

TEST_F(SkinArchiveRegistryTest, LooseFilesFromTheCurrentFolderWithoutAnArchive) {
  fs::create_directories(dir_ / "img/common");
  testsupport::WriteFile(dir_ / "img/common/bg.png", "PNG bytes");
  testsupport::WriteFile(dir_ / "empty.xml", "");
  ASSERT_EQ(mkfifo((dir_ / "pipe").c_str(), 0600), 0);
  const fs::path before = fs::current_path();
  fs::current_path(dir_.path());
  EXPECT_EQ(Read(L"img\\common\\bg.png"), "PNG bytes");
  EXPECT_EQ(Read(L"img/common/bg.png", true), "PNG bytes");
  EXPECT_EQ(Read(L"img\\Common\\BG.png"), "PNG bytes");  // found as the archive would find it
  EXPECT_EQ(Read(L"empty.xml"), "<none>");
  EXPECT_EQ(Read(L"img\\common"), "<none>");
  EXPECT_EQ(Read(L"pipe"), "<none>");  // refused without waiting for a writer
  EXPECT_EQ(Read(L"missing.png"), "<none>");
  fs::current_path(before);

  reg_.SetResourceFolder(Folder());
  EXPECT_EQ(Read(L"img\\common\\bg.png"), "PNG bytes");
}

// Loose files follow the archive's naming rules on a case-sensitive disk.
TEST_F(SkinArchiveRegistryTest, LooseFilesAnswerToArchiveNames) {
  fs::create_directories(dir_ / "skin/xml/common");
  fs::create_directories(dir_ / "skin/img/Common");
  testsupport::WriteFile(dir_ / "skin/xml/common/Font.xml", "fonts");
  testsupport::WriteFile(dir_ / "skin/img/Common/a.png", "lower");
  testsupport::WriteFile(dir_ / "skin/img/Common/A.png", "upper");
  testsupport::WriteFile(dir_ / "skin/img/Common/\xC3\x84.png", "umlaut");  // "Ä.png" in UTF-8
  reg_.SetResourceFolder(Folder() + L"skin/");

  const struct {
    const wchar_t* name;
    const char* expected;
  } cases[] = {
      {L"xml\\common\\font.xml", "fonts"},
      {L"XML/COMMON/FONT.XML", "fonts"},
      {L"xml/common//Font.xml", "fonts"},
      {L"img\\common\\a.png", "lower"},   // an exact file name wins over its case variants
      {L"img\\common\\A.png", "upper"},
      {L"img\\COMMON\\a.PNG", "upper"},   // else the smallest of them ("A" < "a")
      {L"img\\common\\\u00C4.png", "umlaut"},
      {L"img\\common\\\u00E4.png", "<none>"},  // only ASCII letters fold
      {L"img\\common", "<none>"},           // a folder is not a file
      {L"xml\\common\\style.xml", "<none>"},
      {L"xml\\common\\font.xml\\x", "<none>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::WideToUtf8(c.name));
    EXPECT_EQ(Read(c.name), c.expected);
  }

  // The resource folder itself is a path, not a skin name: it is used as written.
  reg_.SetResourceFolder(Folder() + L"SKIN/");
  EXPECT_EQ(Read(L"xml\\common\\font.xml"), "<none>");
  // A name that is a whole path works from the empty folder.
  reg_.SetResourceFolder(L"");
  EXPECT_EQ(Read(dir_.path().wstring() + L"/skin/XML/common/FONT.xml"), "fonts");
}

TEST_F(SkinArchiveRegistryTest, MainArchiveFromMemory) {
  Register(Zip("m.zip", {{"xml/inst/wnd.xml", "<Window/>"}, {"xml/common/Font.xml", "fonts"}, {"empty.txt", ""}}));
  EXPECT_EQ(Read(L"xml\\inst\\wnd.xml", true), "<Window/>");
  EXPECT_EQ(Read(L"xml\\common\\font.xml"), "fonts");
  EXPECT_EQ(Read(L"empty.txt"), "<none>");
  EXPECT_EQ(Read(L"missing.xml"), "<none>");
  // Loose files are no longer consulted.
  testsupport::WriteFile(dir_ / "loose.txt", "loose");
  reg_.SetResourceFolder(Folder());
  EXPECT_EQ(Read(L"loose.txt"), "<none>");
}

TEST_F(SkinArchiveRegistryTest, SameSizeRegistrationIsANoOpUntilReleased) {
  const std::string a = Zip("a.zip", {{"f.txt", "AAAA"}});
  const std::string b = Zip("b.zip", {{"f.txt", "BBBB"}});
  ASSERT_EQ(a.size(), b.size());
  Register(a);
  Register(a);
  Register(b);
  EXPECT_EQ(Read(L"f.txt"), "AAAA");

  reg_.ReleaseAll();
  Register(b);
  EXPECT_EQ(Read(L"f.txt"), "BBBB");
  // A different size replaces the archive.
  Register(Zip("c.zip", {{"f.txt", "CCCCCCCC"}}));
  EXPECT_EQ(Read(L"f.txt"), "CCCCCCCC");
}

TEST_F(SkinArchiveRegistryTest, OverlayShadowsAndFallsThrough) {
  Register(Zip("main.zip", {{"x.txt", "main x"}, {"y.txt", "main y"}}));
  Register(Zip("over.zip", {{"X.TXT", "overlay x"}, {"z.txt", "overlay z"}}), false);
  EXPECT_EQ(Read(L"x.txt"), "overlay x");
  EXPECT_EQ(Read(L"y.txt"), "main y");
  EXPECT_EQ(Read(L"z.txt"), "overlay z");
  EXPECT_EQ(Read(L"w.txt"), "<none>");

  // An overlay of the main archive's very size is not loaded.
  reg_.ReleaseAll();
  const std::string m = Zip("m.zip", {{"x.txt", "MMMM"}});
  Register(m);
  Register(Zip("o.zip", {{"x.txt", "OOOO"}}), false);
  EXPECT_EQ(Read(L"x.txt"), "MMMM");
}

TEST_F(SkinArchiveRegistryTest, ArchiveFilesHeldOrOpenedPerRead) {
  Zip("skin.zip", {{"a.txt", "first"}});
  reg_.SetResourceFolder(Folder());
  reg_.RegisterMainArchiveFile(L"skin.zip", false);
  EXPECT_EQ(Read(L"a.txt"), "first");
  Zip("skin.zip", {{"a.txt", "second"}});  // opened anew for every read
  EXPECT_EQ(Read(L"a.txt"), "second");
  fs::remove(dir_ / "skin.zip");
  EXPECT_EQ(Read(L"a.txt"), "<none>");

  Zip("skin.zip", {{"a.txt", "held"}});
  reg_.RegisterMainArchiveFile(L"skin.zip", true);
  fs::remove(dir_ / "skin.zip");  // the held archive keeps its file open
  EXPECT_EQ(Read(L"a.txt"), "held");

  Zip("over.zip", {{"a.txt", "overlay"}});
  reg_.RegisterOverlayArchiveFile(L"over.zip");
  EXPECT_EQ(Read(L"a.txt"), "overlay");
}

TEST_F(SkinArchiveRegistryTest, AnOverlayNeverReadsTheCopyItWasReplacedBy) {
  const std::string m = Zip("m.zip", {{"x.txt", "MMMM"}});
  Register(m);
  Register(Zip("o.zip", {{"x.txt", "overlay x"}}), false);
  reg_.SetResourceFolder(Folder());
  Zip("f.zip", {{"x.txt", "from f"}});
  reg_.RegisterMainArchiveFile(L"f.zip", false);  // archives are no longer held
  // A new overlay of the main archive's size frees the old copy and is not loaded ...
  Register(Zip("p.zip", {{"x.txt", "PPPP"}}), false);
  reg_.RegisterMainArchiveFile(L"f.zip", true);
  // ... so once archives are held again there is no overlay left to read it.
  EXPECT_EQ(Read(L"x.txt"), "from f");
}

TEST_F(SkinArchiveRegistryTest, MarkupArchiveAloneAnswersMarkupReads) {
  Register(Zip("main.zip", {{"xml/wnd.xml", "main wnd"}, {"xml/only_main.xml", "main only"}}));
  Zip("markup.zip", {{"xml/wnd.xml", "markup wnd"}});
  reg_.SetResourceFolder(Folder());
  reg_.RegisterMarkupArchiveFile(L"markup.zip");
  EXPECT_EQ(Read(L"xml\\wnd.xml", true), "markup wnd");
  EXPECT_EQ(Read(L"xml\\only_main.xml", true), "<none>");
  EXPECT_EQ(Read(L"xml\\wnd.xml", false), "main wnd");
  EXPECT_EQ(Read(L"xml\\only_main.xml", false), "main only");

  // A markup archive that cannot be opened leaves markup reads to the others.
  reg_.RegisterMarkupArchiveFile(L"missing.zip");
  EXPECT_EQ(Read(L"xml\\only_main.xml", true), "main only");
}

TEST_F(SkinArchiveRegistryTest, CorruptArchivesFailWithoutACrash) {
  Register("this is not a zip archive at all");
  EXPECT_EQ(Read(L"a.txt"), "<none>");

  std::string zip = Zip("d.zip", {{"bad.txt", std::string(5000, 'q'), false}, {"good.txt", "good"}});
  zip[testsupport::EntryData(zip, "bad.txt") + 100] = 'x';
  Register(zip);
  EXPECT_EQ(Read(L"bad.txt"), "<none>");
  EXPECT_EQ(Read(L"good.txt"), "good");

  testsupport::WriteFile(dir_ / "garbage.zip", "garbage");
  reg_.SetResourceFolder(Folder());
  reg_.RegisterMainArchiveFile(L"garbage.zip", true);
  EXPECT_EQ(Read(L"good.txt"), "<none>");
  reg_.RegisterMainArchiveFile(L"garbage.zip", false);
  EXPECT_EQ(Read(L"good.txt"), "<none>");
}

TEST_F(SkinArchiveRegistryTest, ModuleResource) {
  reg_.RegisterFromModuleResource(132, "ZIPRES", true);  // missing: nothing changes
  testsupport::WriteFile(dir_ / "loose.txt", "loose");
  reg_.SetResourceFolder(Folder());
  EXPECT_EQ(Read(L"loose.txt"), "loose");

  reg_.RegisterFromModuleResource(131, "ZIPRES", true);
  EXPECT_EQ(Read(L"XML\\msgbox.xml", true), "<Window>box</Window>");
  reg_.RegisterFromModuleResource(131, "ZIPRES", true);
  EXPECT_EQ(Read(L"xml\\msgbox.xml"), "<Window>box</Window>");
}

TEST(SkinArchiveInstance, IsTheReaderBehindLoadFileData) {
  SkinArchiveRegistry::Install();
  SkinArchiveRegistry& reg = SkinArchiveRegistry::Instance();
  reg.RegisterFromModuleResource(131, "ZIPRES", true);
  CSkinXml xml;
  ASSERT_TRUE(xml.LoadFile(L"xml\\MsgBox.xml"));
  EXPECT_STREQ(xml.Root().Name(), L"Window");
  std::unique_ptr<uint8_t[]> out;
  EXPECT_EQ(LoadFileData(L"xml\\nothing.xml", out, false), 0u);
  reg.ReleaseAll();
}

}  // namespace
}  // namespace SkinUI
