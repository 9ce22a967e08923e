#include "installer/local_package.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <string>
#include <vector>

#include "installer/download_task.h"
#include "platform/file.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_log.h"

namespace {
using testsupport::LogMark;
using testsupport::TempDir;
using testsupport::WriteFile;

std::vector<std::uint8_t> Md5Of(const std::string& bytes) { return DecodeMd5Text(KwrBase::Md5HexDigest(bytes)); }

// The digest of `size` zero bytes (what a sparse file of that size reads as).
std::vector<std::uint8_t> ZerosMd5(std::uint64_t size) {
  KwrBase::HashProv prov;
  prov.AcquireContext();
  KwrBase::Hash hash;
  hash.Create(prov.Handle());
  std::vector<std::uint8_t> zeros(1 << 20);
  for (std::uint64_t left = size; left > 0;) {
    auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(left, zeros.size()));
    hash.HashData(zeros.data(), n);
    left -= n;
  }
  return hash.GetHash();
}

class LocalPackageTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(provider_.AcquireContext()); }
  std::filesystem::path Sparse(const std::string& name, std::uint64_t size) {
    auto path = dir_ / name;
    WriteFile(path, "");
    std::filesystem::resize_file(path, size);
    return path;
  }

  TempDir dir_;
  KwrBase::HashProv provider_;
  LogMark log_;
};

TEST_F(LocalPackageTest, AMatchingFileIsReusedAndAnyDifferenceIsNot) {
  const std::string content = "package installer bytes";
  auto path = dir_ / "setup.exe";
  WriteFile(path, content);
  const auto md5 = Md5Of(content);
  const auto size = static_cast<std::uint32_t>(content.size());

  EXPECT_TRUE(HasLocalFile(path, size, md5, provider_));
  EXPECT_TRUE(HasLocalFile(path, 0, md5, provider_)) << "size 0 is not checked";
  EXPECT_FALSE(HasLocalFile(dir_ / "missing.exe", size, md5, provider_));
  EXPECT_EQ(log_.NewText(), "") << "neither a match nor a missing file is logged";

  std::string changed = content;
  changed[5] ^= 1;
  WriteFile(path, changed);
  EXPECT_FALSE(HasLocalFile(path, size, md5, provider_));
  EXPECT_EQ(log_.NewText(), "") << "a digest mismatch is not logged here";

  WriteFile(path, content + "x");
  EXPECT_FALSE(HasLocalFile(path, size, md5, provider_));
  EXPECT_NE(log_.NewText().find("] size not equal\r\n"), std::string::npos) << log_.NewText();
  EXPECT_TRUE(HasLocalFile(path, 0, Md5Of(content + "x"), provider_));

  EXPECT_FALSE(HasLocalFile(path, 0, DecodeMd5Text("0123"), provider_)) << "a short expected digest never matches";
}

TEST_F(LocalPackageTest, UpTo100MiBIsReadWholeAndAboveItIsMapped) {
  const struct {
    std::uint64_t size;
    LocalFileRoute route;
  } cases[] = {{0, LocalFileRoute::read}, {kWholeReadLimit, LocalFileRoute::read}, {kWholeReadLimit + 1, LocalFileRoute::map}};
  for (const auto& c : cases) {
    auto path = Sparse("p" + std::to_string(c.size), c.size);
    const auto md5 = ZerosMd5(c.size);
    LocalFileCheck check = CheckLocalFile(path, static_cast<std::uint32_t>(c.size), md5, provider_);
    EXPECT_TRUE(check.reusable) << c.size;
    EXPECT_EQ(check.route, c.route) << c.size;
    EXPECT_FALSE(HasLocalFile(path, static_cast<std::uint32_t>(c.size), ZerosMd5(c.size + 1), provider_)) << c.size;
    std::filesystem::remove(path);
  }
}

TEST_F(LocalPackageTest, AFileOf4GiBOrMoreIsNeverReused) {
  // 4 GiB + 10 zero bytes: its low 32 bits say 10, and its first 10 bytes have the digest of
  // 10 zero bytes. Neither may make it pass for a 10-byte file.
  auto path = Sparse("huge.bin", (1ull << 32) + 10);
  const auto tenZeros = ZerosMd5(10);
  EXPECT_FALSE(HasLocalFile(path, 10, tenZeros, provider_));
  EXPECT_NE(log_.NewText().find("] size not equal\r\n"), std::string::npos) << log_.NewText();
  LogMark mark;
  LocalFileCheck check = CheckLocalFile(path, 0, tenZeros, provider_);
  EXPECT_FALSE(check.reusable);
  EXPECT_EQ(check.route, LocalFileRoute::none);
  EXPECT_NE(mark.NewText().find("] File too large to verify\r\n"), std::string::npos) << mark.NewText();
}

TEST_F(LocalPackageTest, WhatCannotBeOpenedAloneAsARegularFileIsRefusedAtOnce) {
  const std::string content = "resource";
  const auto md5 = Md5Of(content);
  WriteFile(dir_ / "real.dat", content);
  ASSERT_EQ(::mkfifo((dir_ / "fifo.dat").c_str(), 0600), 0);
  std::filesystem::create_directory(dir_ / "folder.dat");
  std::filesystem::create_symlink(dir_ / "real.dat", dir_ / "link.dat");
  WriteFile(dir_ / "held.dat", content);
  platform::File holder = platform::File::OpenExclusiveForRead(dir_ / "held.dat");
  ASSERT_TRUE(holder.IsOpen());

  auto start = std::chrono::steady_clock::now();
  for (const char* name : {"fifo.dat", "folder.dat", "link.dat", "held.dat"}) {
    LogMark mark;
    EXPECT_FALSE(HasLocalFile(dir_ / name, 0, md5, provider_)) << name;
    EXPECT_NE(mark.NewText().find("] Open exist file failed\r\n"), std::string::npos) << name << mark.NewText();
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  holder.Close();
  EXPECT_TRUE(HasLocalFile(dir_ / "held.dat", 0, md5, provider_));
}

TEST_F(LocalPackageTest, ACryptoFailureAnswersFalse) {
  const std::string content = "resource";
  WriteFile(dir_ / "r.dat", content);
  KwrBase::HashProv notAcquired;
  EXPECT_FALSE(HasLocalFile(dir_ / "r.dat", 0, Md5Of(content), notAcquired));
  EXPECT_NE(log_.NewText().find("Message:CryptCreateHash failed."), std::string::npos) << log_.NewText();
}

}  // namespace
