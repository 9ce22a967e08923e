#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "installer/byte_size_text.h"
#include "installer/download_progress.h"
#include "installer/download_task.h"

namespace {

TEST(ByteSizeText, BytesBelow1024AndThreeTruncatedDigitsAbove) {
  const struct {
    std::uint64_t bytes;
    const wchar_t* text;
  } cases[] = {
      {0, L"0 bytes"},
      {1023, L"1023 bytes"},
      {1024, L"1.00 KB"},
      {1535, L"1.49 KB"},  // truncated, not rounded
      {1536, L"1.50 KB"},
      {10239, L"9.99 KB"},
      {10240, L"10.0 KB"},
      {102400, L"100 KB"},
      {1023999, L"999 KB"},
      {1024000, L"0.97 MB"},  // 1000 KB would take four digits
      {1048576, L"1.00 MB"},
      {104857600, L"100 MB"},
      {1073741824, L"1.00 GB"},
      {4294967295ull, L"3.99 GB"},
      {1ull << 40, L"1.00 TB"},
      {1ull << 50, L"1.00 PB"},
      {1ull << 60, L"1.00 EB"},
      {UINT64_MAX, L"15.9 EB"},
  };
  for (const auto& c : cases) EXPECT_EQ(StrFormatByteSizeW(c.bytes), c.text) << c.bytes;
}

TEST(DownloadProgress, TextsAndBarFromTheCounters) {
  DownloadProgressView v = FormatDownloadProgress(524288, 1048576, 2097152, 6291456, L"图片管家");
  EXPECT_EQ(v.speed, L"512 KB/s");
  EXPECT_EQ(v.barValue, 50);
  EXPECT_EQ(v.size, L"已完成：3.00 MB/6.00 MB");
  EXPECT_EQ(v.percent, L"50%");
  ASSERT_TRUE(v.status.has_value());
  EXPECT_EQ(*v.status, L"正在下载 图片管家 ...");

  // Before the first download: no name, nothing received, no speed.
  v = FormatDownloadProgress(0, 0, 0, 6291456, L"");
  EXPECT_EQ(v.speed, L"0 bytes/s");
  EXPECT_EQ(v.percent, L"0%");
  EXPECT_FALSE(v.status.has_value());

  // Files larger than announced pass 100 %; the percentage truncates.
  v = FormatDownloadProgress(0, 150, 100, 200, L"x");
  EXPECT_EQ(v.percent, L"125%");
  EXPECT_EQ(v.barValue, 125);
  EXPECT_EQ(FormatDownloadProgress(0, 199, 0, 200, L"x").percent, L"99%");
}

TEST(DownloadProgress, NothingAnnouncedShowsZeroAndAnEmptyBar) {
  DownloadProgressView v = FormatDownloadProgress(1000, 5000, 7000, 0, L"x");
  EXPECT_EQ(v.percent, L"0%");
  EXPECT_EQ(v.barValue, 0);
  EXPECT_EQ(v.size, L"已完成：11.7 KB/0 bytes");
}

TEST(DownloadTaskText, FileNameIsEverythingAfterTheLastSlash) {
  EXPECT_EQ(DownloadFileName("http://h/a/setup_full.exe"), "setup_full.exe");
  EXPECT_EQ(DownloadFileName("http://h/setup.exe?v=2"), "setup.exe?v=2");
  EXPECT_EQ(DownloadFileName("setup.exe"), "setup.exe");
  EXPECT_EQ(DownloadFileName("http://h/dir/"), "");
  EXPECT_EQ(DownloadFileName("http://h/dir/.."), "..");

  EXPECT_TRUE(HasUsableFileName(std::filesystem::path("/t/Orbisk_tmp") / "setup.exe"));
  EXPECT_TRUE(HasUsableFileName(std::filesystem::path("/t/Orbisk_tmp") / "...x"));
  for (const std::string& bad : std::vector<std::string>{"", ".", "..", std::string("setup\0.exe", 10)})
    EXPECT_FALSE(HasUsableFileName(std::filesystem::path("/t/Orbisk_tmp") / bad)) << '"' << bad << '"';
  EXPECT_EQ(TempFilePath("/t/a b/setup.exe"), std::filesystem::path("/t/a b/setup.exe.dl.tmp"));
}

TEST(DownloadTaskText, Md5TextDecodesTwoCharactersPerByte) {
  using Bytes = std::vector<std::uint8_t>;
  EXPECT_EQ(DecodeMd5Text("d41d8cd98f00b204e9800998ecf8427e"),
            (Bytes{0xd4, 0x1d, 0x8c, 0xd9, 0x8f, 0x00, 0xb2, 0x04, 0xe9, 0x80, 0x09, 0x98, 0xec, 0xf8, 0x42, 0x7e}));
  EXPECT_EQ(DecodeMd5Text("AbcD"), (Bytes{0xab, 0xcd}));
  EXPECT_EQ(DecodeMd5Text("zg-1"), (Bytes{0x00, 0x01}));  // other characters count as 0
  EXPECT_EQ(DecodeMd5Text("abc"), (Bytes{0xab, 0xc0}));   // odd length: high nibble of a last byte
  EXPECT_EQ(DecodeMd5Text(""), Bytes{});

  Bytes digest = DecodeMd5Text("d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_TRUE(DigestMatches(digest, DecodeMd5Text("D41D8CD98F00B204E9800998ECF8427E")));
  EXPECT_FALSE(DigestMatches(digest, DecodeMd5Text("d41d8cd98f00b204e9800998ecf8427e00")));
  EXPECT_FALSE(DigestMatches(digest, DecodeMd5Text("d41d8cd98f00b204e9800998ecf8427")));
}

}  // namespace
