#include "platform/file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>

#include "tests/support/temp_dir.h"

namespace {
using platform::File;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

TEST(File, ExclusiveOpenersExcludeEachOtherAndAFailedCreateLeavesTheFileAlone) {
  TempDir dir;
  auto path = dir / "package.exe";
  WriteFile(path, "original");

  File holder = File::OpenExclusiveForRead(path);
  ASSERT_TRUE(holder.IsOpen()) << holder.Error();
  File second = File::OpenExclusiveForRead(path);
  EXPECT_FALSE(second.IsOpen());
  EXPECT_EQ(second.Error(), EBUSY);
  File writer = File::CreateExclusiveForWrite(path);
  EXPECT_FALSE(writer.IsOpen());
  EXPECT_EQ(ReadFile(path), "original") << "a held file is not truncated";

  holder.Close();
  writer = File::CreateExclusiveForWrite(path);
  ASSERT_TRUE(writer.IsOpen()) << writer.Error();
  EXPECT_EQ(ReadFile(path), "") << "always created anew";
  ASSERT_TRUE(writer.WriteAll("abc", 3));
  EXPECT_EQ(writer.Size(), 3u);
  writer.Close();
  EXPECT_EQ(ReadFile(path), "abc");
}

TEST(File, OnlyRegularFilesOpenAndNothingBlocks) {
  TempDir dir;
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  std::filesystem::create_directory(dir / "folder");
  WriteFile(dir / "target", "secret");
  std::filesystem::create_symlink(dir / "target", dir / "link");

  auto start = std::chrono::steady_clock::now();
  for (const char* name : {"fifo", "folder", "link"}) {
    EXPECT_FALSE(File::OpenExclusiveForRead(dir / name).IsOpen()) << name;
    EXPECT_FALSE(File::CreateExclusiveForWrite(dir / name).IsOpen()) << name;
  }
  EXPECT_FALSE(File::OpenExclusiveForRead(dir / "missing").IsOpen());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << "an open waited for a peer";
  EXPECT_EQ(ReadFile(dir / "target"), "secret") << "writing through a link must not reach its target";
  EXPECT_TRUE(std::filesystem::is_fifo(dir / "fifo"));
}

TEST(File, ReadExactCrossesShortReadsAndFailsWhenTheFileIsShorter) {
  TempDir dir;
  std::string content(300000, 'x');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
  WriteFile(dir / "f", content);
  File f = File::OpenExclusiveForRead(dir / "f");
  ASSERT_TRUE(f.IsOpen());
  std::string back(content.size(), '\0');
  ASSERT_TRUE(f.ReadExact(back.data(), back.size()));
  EXPECT_EQ(back, content);
  char more;
  EXPECT_FALSE(f.ReadExact(&more, 1));
}

TEST(File, MappingShowsTheContentAndExecutableModeIsSet) {
  TempDir dir;
  WriteFile(dir / "f", "mapped bytes");
  File f = File::OpenExclusiveForRead(dir / "f");
  ASSERT_TRUE(f.IsOpen());
  platform::MappedFileView view = platform::MappedFileView::Map(f, 12);
  f.Close();
  ASSERT_TRUE(view.IsValid()) << view.Error();
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(view.data()), view.size()), "mapped bytes");
  EXPECT_FALSE(platform::MappedFileView::Map(f, 12).IsValid()) << "a closed file cannot be mapped";
  EXPECT_FALSE(File::OpenExclusiveForRead(dir / "f").IsOpen()) << "the view still holds the file";
  view.Unmap();

  File g = File::OpenExclusiveForRead(dir / "f");
  ASSERT_TRUE(g.IsOpen()) << g.Error();
  ASSERT_TRUE(g.MakeExecutable()) << g.Error();
  struct stat st {};
  ASSERT_EQ(::stat((dir / "f").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0755u);
}

}  // namespace
