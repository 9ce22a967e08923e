#include "ui/controls/skin_resource_zip.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/ui/controls/zip_fixture.h"

namespace SkinUI {
namespace {

using testsupport::ZipItem;

std::string Pattern(size_t n, uint32_t seed = 1) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  // Compressible but not trivially so.
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>('a' + rng() % 7);
  return s;
}

// Reads a whole entry the way LoadFileData does: find it, then extract its declared size.
uint32_t ReadEntry(SkinResourceZip& zip, const std::wstring& name, std::string& out) {
  SkinZipEntry e;
  uint32_t r = zip.FindItem(name, true, e);
  if (r != kZipOk) return r;
  out.assign(e.uncompressedSize, '\0');
  size_t produced = 0;
  r = zip.ExtractItem(e.index, out.data(), out.size(), &produced);
  out.resize(produced);
  return r;
}

class SkinResourceZipTest : public ::testing::Test {
 protected:
  std::string Make(const std::vector<ZipItem>& items) { return testsupport::WriteZip(dir_ / "a.zip", items); }
  testsupport::TempDir dir_;
};

TEST_F(SkinResourceZipTest, NamesMatchWithEitherSeparatorAndAnyAsciiCase) {
  const std::string long255(251, 'n'), long256(252, 'n');
  std::string zip = Make({{"xml/inst/panel/step0.xml", "<step0/>"},
                          {"xml/common/Font.xml", "<Font/>"},
                          {"img/\xC3\xA9t\xC3\xA9.png", "accented"},
                          {long255 + ".xml", "255"},
                          {long256 + ".xml", "256"}});
  SkinResourceZip z;
  ASSERT_EQ(z.OpenMemory(zip.data(), zip.size()), kZipOk);

  struct Case {
    std::wstring name;
    uint32_t result;
    const char* data;
  } cases[] = {
      {L"xml\\inst\\panel\\step0.xml", kZipOk, "<step0/>"},
      {L"XML/Inst\\PANEL/Step0.XML", kZipOk, "<step0/>"},
      {L"xml\\common\\font.xml", kZipOk, "<Font/>"},
      {L"xml/common/Font.xml", kZipOk, "<Font/>"},
      {L"img\\\u00E9t\u00E9.png", kZipOk, "accented"},
      {L"img\\\u00C9t\u00C9.png", kZipNotFound, ""},  // only ASCII letters fold
      {L"xml/common/Font.xm", kZipNotFound, ""},
      {L"xml/common/Font.xml2", kZipNotFound, ""},
      {L"", kZipNotFound, ""},
      {std::wstring(long255.begin(), long255.end()) + L".xml", kZipOk, "255"},
      {std::wstring(long256.begin(), long256.end()) + L".xml", kZipNotFound, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name.begin(), c.name.end()));
    std::string data;
    uint32_t r = ReadEntry(z, c.name, data);
    EXPECT_EQ(r, c.result == kZipOk ? kZipMore : c.result);
    EXPECT_EQ(SkinResourceZip::LastResult(), r);
    EXPECT_EQ(data, c.data);
  }

  SkinZipEntry e;
  ASSERT_EQ(z.FindItem(L"XML\\COMMON\\FONT.XML", true, e), kZipOk);
  EXPECT_EQ(e.index, 1);
  EXPECT_EQ(e.name, L"xml/common/Font.xml");
  EXPECT_EQ(e.uncompressedSize, 7u);
  EXPECT_EQ(z.FindItem(L"xml/common/font.xml", false, e), kZipNotFound);
  EXPECT_EQ(z.FindItem(L"xml\\common\\Font.xml", false, e), kZipOk);
}

TEST_F(SkinResourceZipTest, ExtractsInPiecesAndSwitchesBetweenEntries) {
  const std::string big = Pattern(100000), other = Pattern(5000, 2);
  std::string zip = Make({{"first.txt", "first"}, {"big.bin", big}, {"stored.bin", other, false}});
  SkinResourceZip z;
  ASSERT_EQ(z.OpenMemory(zip.data(), zip.size()), kZipOk);

  std::string got;
  char piece[16384];
  bool interleaved = false;
  for (;;) {
    size_t n = 0;
    uint32_t r = z.ExtractItem(1, piece, sizeof piece, &n);
    if (r == kZipOk) {
      EXPECT_EQ(n, 0u);
      break;
    }
    ASSERT_EQ(r, kZipMore);
    ASSERT_GT(n, 0u);
    got.append(piece, n);
    if (!interleaved && got.size() >= 50000) {
      interleaved = true;
      // Another entry in between: the big one starts over afterwards.
      std::string s;
      ASSERT_EQ(ReadEntry(z, L"STORED.BIN", s), kZipMore);
      EXPECT_EQ(s, other);
      ASSERT_EQ(ReadEntry(z, L"first.txt", s), kZipMore);  // behind: rewinds
      EXPECT_EQ(s, "first");
      got.clear();
    }
  }
  EXPECT_EQ(got, big);

  size_t n = 1;
  EXPECT_EQ(z.ExtractItem(3, piece, sizeof piece, &n), kZipBadArguments);
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(z.ExtractItem(-1, piece, sizeof piece), kZipBadArguments);
  EXPECT_EQ(z.ExtractItem(0, nullptr, 10), kZipBadArguments);
  EXPECT_EQ(SkinResourceZip::LastResult(), kZipBadArguments);
  // Still usable after the bad calls.
  ASSERT_EQ(z.ExtractItem(0, piece, sizeof piece, &n), kZipMore);
  EXPECT_EQ(std::string(piece, n), "first");
}

TEST_F(SkinResourceZipTest, ExtendedTimestampReplacesTheDosTime) {
  std::string zip = Make({{"ut.txt", "x", true, testsupport::UtExtra(1600000000, 1600000100, 1500000000)},
                          {"mtime.txt", "y", true, testsupport::UtExtra(1700000000, 0, 0)},
                          {"dos.txt", "z"}});
  SkinResourceZip z;
  ASSERT_EQ(z.OpenMemory(zip.data(), zip.size()), kZipOk);
  SkinZipEntry e;
  ASSERT_EQ(z.FindItem(L"ut.txt", true, e), kZipOk);
  EXPECT_EQ(e.modificationTime, 1600000000);
  EXPECT_EQ(e.accessTime, 1600000100);
  EXPECT_EQ(e.creationTime, 1500000000);

  SkinZipEntry dos;
  ASSERT_EQ(z.FindItem(L"dos.txt", true, dos), kZipOk);
  std::tm t{};
  t.tm_year = 120, t.tm_mon = 5, t.tm_mday = 15, t.tm_hour = 12, t.tm_isdst = -1;
  EXPECT_EQ(dos.modificationTime, std::mktime(&t));
  EXPECT_EQ(dos.accessTime, dos.modificationTime);

  ASSERT_EQ(z.FindItem(L"mtime.txt", true, e), kZipOk);
  EXPECT_EQ(e.modificationTime, 1700000000);
  EXPECT_EQ(e.accessTime, dos.modificationTime);  // not in the block: the DOS time stays
}

TEST_F(SkinResourceZipTest, OpensFilesAndHandles) {
  std::string zip = Make({{"a.txt", "from a file"}});
  SkinResourceZip z;
  EXPECT_EQ(z.OpenFile(dir_ / "missing.zip"), kZipCannotOpen);
  EXPECT_EQ(z.OpenFile(dir_.path()), kZipCannotOpen);  // a folder
  ASSERT_EQ(z.OpenFile(dir_ / "a.zip"), kZipOk);
  std::string data;
  EXPECT_EQ(ReadEntry(z, L"A.TXT", data), kZipMore);
  EXPECT_EQ(data, "from a file");

  int fd = ::open((dir_ / "a.zip").c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(z.OpenHandle(fd), kZipOk);
  ::close(fd);  // the archive reads through its own duplicate
  EXPECT_EQ(ReadEntry(z, L"a.txt", data), kZipMore);
  EXPECT_EQ(data, "from a file");
  z.Close();
  EXPECT_FALSE(z.IsOpen());
}

TEST_F(SkinResourceZipTest, DamageIsReportedNotDelivered) {
  const std::string text = Pattern(20000);
  const std::string good = Make({{"d.txt", text}, {"s.txt", "stored text", false}, {"ok.txt", "fine"}});
  auto patched = [&](auto edit) {
    std::string z = good;
    edit(z);
    return z;
  };
  struct Case {
    const char* what;
    std::string zip;
    const wchar_t* name;
    uint32_t find;     // result of the lookup
    uint32_t extract;  // result of extracting the declared size, when found
  } cases[] = {
      {"deflate stream broken", patched([](std::string& z) {
         size_t at = testsupport::EntryData(z, "d.txt");
         for (size_t i = 0; i < 40; ++i) z[at + 10 + i] = static_cast<char>(0xFF);
       }), L"d.txt", kZipOk, kZipInflateFailed},
      {"stored byte changed", patched([](std::string& z) { z[testsupport::EntryData(z, "s.txt")] ^= 1; }),
       L"s.txt", kZipOk, kZipCorrupt},
      {"crc changed in both headers", patched([](std::string& z) {
         testsupport::Put32(z, testsupport::LocalHeader(z, "ok.txt") + 14, 0x12345678);
         testsupport::Put32(z, testsupport::CentralRecord(z, "ok.txt") + 16, 0x12345678);
       }), L"ok.txt", kZipOk, kZipCorrupt},
      {"local header disagrees", patched([](std::string& z) {
         z[testsupport::LocalHeader(z, "ok.txt") + 8] = 0;  // method: stored instead of deflated
       }), L"ok.txt", kZipCorrupt, 0},
      {"absurd declared size", patched([](std::string& z) {
         testsupport::Put32(z, testsupport::LocalHeader(z, "d.txt") + 22, 0xFFFFFFF0u);
         testsupport::Put32(z, testsupport::CentralRecord(z, "d.txt") + 24, 0xFFFFFFF0u);
       }), L"d.txt", kZipCorrupt, 0},
      {"stored entry larger than its data", patched([](std::string& z) {
         testsupport::Put32(z, testsupport::LocalHeader(z, "s.txt") + 22, 12);
         testsupport::Put32(z, testsupport::CentralRecord(z, "s.txt") + 24, 12);
       }), L"s.txt", kZipCorrupt, 0},
      {"deflated entry longer than declared", patched([](std::string& z) {
         testsupport::Put32(z, testsupport::LocalHeader(z, "d.txt") + 22, 30000);
         testsupport::Put32(z, testsupport::CentralRecord(z, "d.txt") + 24, 30000);
       }), L"d.txt", kZipOk, kZipInflateFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SkinResourceZip z;
    ASSERT_EQ(z.OpenMemory(c.zip.data(), c.zip.size()), kZipOk);
    std::string data;
    uint32_t r = ReadEntry(z, c.name, data);
    EXPECT_EQ(r, c.find == kZipOk ? c.extract : c.find);
    // The archive stays usable.
    if (std::wstring(c.name) != L"ok.txt") {
      EXPECT_EQ(ReadEntry(z, L"ok.txt", data), kZipMore);
      EXPECT_EQ(data, "fine");
    }
  }
}

TEST_F(SkinResourceZipTest, NotAnArchive) {
  const std::string good = Make({{"a.txt", "a"}, {"b.txt", Pattern(3000)}});
  std::mt19937 rng(7);
  std::string noise(4096, '\0');
  for (char& c : noise) c = static_cast<char>(rng());
  std::string tail = good.substr(0, good.size() - 10);
  std::string directoryCut = good;
  directoryCut[good.rfind("PK\x01\x02")] = 'Q';
  std::vector<std::string> bad = {noise, tail, good.substr(0, good.size() / 2), "PK\x05\x06", directoryCut};
  for (const std::string& b : bad) {
    SkinResourceZip z;
    uint32_t r = z.OpenMemory(b.data(), b.size());
    if (r == kZipOk) {
      // A directory that only breaks later still never yields data.
      SkinZipEntry e;
      EXPECT_NE(z.FindItem(L"b.txt", true, e), kZipOk);
    } else {
      EXPECT_EQ(r, kZipCorrupt);
      EXPECT_FALSE(z.IsOpen());
    }
  }
  SkinResourceZip z;
  EXPECT_EQ(z.OpenMemory(nullptr, 10), kZipBadArguments);
  EXPECT_EQ(z.OpenMemory(good.data(), 0), kZipBadArguments);
  SkinZipEntry e;
  char buf[4];
  EXPECT_EQ(z.FindItem(L"a.txt", true, e), kZipBadArguments);
  EXPECT_EQ(z.ExtractItem(0, buf, sizeof buf), kZipBadArguments);
  EXPECT_EQ(SkinResourceZip::LastResult(), kZipBadArguments);
}

}  // namespace
}  // namespace SkinUI
