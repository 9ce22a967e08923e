#include "platform/version_resource.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string_view>
#include <vector>

namespace platform {
namespace {

// Bounds that no real executable comes near; a file beyond them is not read.
constexpr std::uint64_t kMaxSections = 1u << 20;
constexpr std::uint64_t kMaxNameTable = 16u << 20;

class File {
 public:
  explicit File(const std::filesystem::path& p) : fd_(::open(p.c_str(), O_RDONLY | O_CLOEXEC)) {
    struct stat st {};
    if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) size_ = static_cast<std::uint64_t>(st.st_size);
  }
  ~File() {
    if (fd_ >= 0) ::close(fd_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Exactly `n` bytes at `offset`, all inside the file.
  bool Read(std::uint64_t offset, std::uint64_t n, std::vector<std::uint8_t>& out) const {
    if (fd_ < 0 || offset > size_ || n > size_ - offset) return false;
    out.resize(static_cast<std::size_t>(n));
    std::size_t done = 0;
    while (done < out.size()) {
      ssize_t r = ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
      if (r <= 0) return false;
      done += static_cast<std::size_t>(r);
    }
    return true;
  }

 private:
  int fd_;
  std::uint64_t size_ = 0;
};

// Unsigned fields of the file's byte order, read at a checked offset.
struct Reader {
  const std::vector<std::uint8_t>& bytes;
  bool bigEndian;
  std::uint64_t Get(std::size_t at, std::size_t width) const {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < width; ++i) {
      std::uint8_t b = bytes[at + (bigEndian ? i : width - 1 - i)];
      v = (v << 8) | b;
    }
    return v;
  }
};

}  // namespace

bool ReadVersionSection(const std::filesystem::path& path, FileVersionWords& out) {
  File file(path);
  std::vector<std::uint8_t> header;
  if (!file.Read(0, EI_NIDENT, header) || std::memcmp(header.data(), ELFMAG, SELFMAG) != 0) return false;
  const bool is64 = header[EI_CLASS] == ELFCLASS64;
  if (!is64 && header[EI_CLASS] != ELFCLASS32) return false;
  if (header[EI_DATA] != ELFDATA2LSB && header[EI_DATA] != ELFDATA2MSB) return false;
  const bool bigEndian = header[EI_DATA] == ELFDATA2MSB;
  if (!file.Read(0, is64 ? sizeof(Elf64_Ehdr) : sizeof(Elf32_Ehdr), header)) return false;
  Reader eh{header, bigEndian};
  const std::uint64_t shoff = is64 ? eh.Get(0x28, 8) : eh.Get(0x20, 4);
  const std::uint64_t shentsize = eh.Get(is64 ? 0x3A : 0x2E, 2);
  std::uint64_t shnum = eh.Get(is64 ? 0x3C : 0x30, 2);
  std::uint64_t shstrndx = eh.Get(is64 ? 0x3E : 0x32, 2);
  const std::uint64_t minEntry = is64 ? sizeof(Elf64_Shdr) : sizeof(Elf32_Shdr);
  if (shoff == 0 || shentsize < minEntry) return false;

  // Field offsets inside one section header.
  const std::size_t nameAt = 0, typeAt = 4;
  const std::size_t offsetAt = is64 ? 0x18 : 0x10, sizeAt = is64 ? 0x20 : 0x14, linkAt = is64 ? 0x28 : 0x18;
  const std::size_t wordWidth = is64 ? 8 : 4;

  // Many sections: the real count and name-table index live in section 0.
  if (shnum == 0 || shstrndx == SHN_XINDEX) {
    std::vector<std::uint8_t> first;
    if (!file.Read(shoff, shentsize, first)) return false;
    Reader s0{first, bigEndian};
    if (shnum == 0) shnum = s0.Get(sizeAt, wordWidth);
    if (shstrndx == SHN_XINDEX) shstrndx = s0.Get(linkAt, 4);
  }
  if (shnum == 0 || shnum > kMaxSections || shstrndx >= shnum) return false;
  std::vector<std::uint8_t> table;
  if (!file.Read(shoff, shnum * shentsize, table)) return false;
  Reader sh{table, bigEndian};
  auto field = [&](std::uint64_t index, std::size_t at, std::size_t width) {
    return sh.Get(static_cast<std::size_t>(index * shentsize) + at, width);
  };

  std::vector<std::uint8_t> names;
  const std::uint64_t namesSize = field(shstrndx, sizeAt, wordWidth);
  if (namesSize > kMaxNameTable || !file.Read(field(shstrndx, offsetAt, wordWidth), namesSize, names)) return false;
  const std::string_view wanted = WEBINST_VERSION_SECTION;

  for (std::uint64_t i = 0; i < shnum; ++i) {
    const std::uint64_t name = field(i, nameAt, 4);
    if (name >= names.size() || names.size() - name < wanted.size() + 1) continue;
    if (std::memcmp(names.data() + name, wanted.data(), wanted.size()) != 0 || names[name + wanted.size()] != 0)
      continue;
    if (field(i, typeAt, 4) == SHT_NOBITS || field(i, sizeAt, wordWidth) != 8) return false;
    std::vector<std::uint8_t> content;
    if (!file.Read(field(i, offsetAt, wordWidth), 8, content)) return false;
    Reader v{content, bigEndian};
    out.ms = static_cast<std::uint32_t>(v.Get(0, 4));
    out.ls = static_cast<std::uint32_t>(v.Get(4, 4));
    return true;
  }
  return false;
}

}  // namespace platform
