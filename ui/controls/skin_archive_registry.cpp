#include "ui/controls/skin_archive_registry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iomanip>
#include <new>
#include <span>

#include "common/base/log.h"
#include "platform/module_resource.h"
#include "platform/text_encoding.h"
#include "ui/controls/skin_file_name.h"
#include "ui/core/skin_archive_registrar.h"
#include "ui/core/skin_file_data.h"

namespace SkinUI {

namespace {

std::string Utf8(const std::wstring& s) { return platform::WideToUtf8(s); }

struct Hex {
  uint32_t v;
};
std::ostream& operator<<(std::ostream& os, Hex h) {
  return os << "0x" << std::hex << h.v << std::dec;
}

uint32_t ReadThroughInstance(const std::wstring& name, std::unique_ptr<uint8_t[]>& out, bool markup) {
  return SkinArchiveRegistry::Instance().LoadFileData(name, out, markup);
}

// What the window base's SetSkinArchive and SetMarkupArchive reach.
const SkinArchiveRegistrar kRegistrar = {
    [](int id, std::string_view type, bool main) {
      SkinArchiveRegistry::Instance().RegisterFromModuleResource(id, type, main);
    },
    [](const std::wstring& name, bool main) {
      if (main)
        SkinArchiveRegistry::Instance().RegisterMainArchiveFile(name, true);
      else
        SkinArchiveRegistry::Instance().RegisterOverlayArchiveFile(name);
    },
    [](const std::wstring& name) { SkinArchiveRegistry::Instance().RegisterMarkupArchiveFile(name); },
};

std::unique_ptr<uint8_t[]> Allocate(uint64_t size) {
  try {
    return std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace

SkinArchiveRegistry& SkinArchiveRegistry::Instance() {
  static SkinArchiveRegistry registry;
  return registry;
}

void SkinArchiveRegistry::Install() {
  Instance();
  SetSkinFileReader(&ReadThroughInstance);
  SetSkinArchiveRegistrar(&kRegistrar);
}

std::unique_ptr<SkinResourceZip> SkinArchiveRegistry::OpenMemory(const uint8_t* bytes, size_t size,
                                                                 const char* what) {
  auto zip = std::make_unique<SkinResourceZip>();
  uint32_t r = zip->OpenMemory(bytes, size);
  if (r != kZipOk) {
    LOG_ERROR << "the " << what << " skin archive (" << size << " bytes) cannot be opened, result " << Hex{r};
    return nullptr;
  }
  return zip;
}

void SkinArchiveRegistry::RegisterFromModuleResource(int id, std::string_view type, bool main) {
  std::span<const uint8_t> bytes = platform::FindModuleResource(type, id);
  if (bytes.empty()) {
    LOG_WARN << "no module resource " << type << " " << id;
    return;
  }
  if (bytes.size() > static_cast<size_t>(INT32_MAX)) {
    LOG_ERROR << "module resource " << type << " " << id << " is too large: " << bytes.size();
    return;
  }
  const auto size = static_cast<int32_t>(bytes.size());
  if (main) {
    RegisterMainFromMemory(bytes.data(), size);
  } else {
    RegisterOverlayFromMemory(bytes.data(), size);
  }
}

bool SkinArchiveRegistry::ValidBlock(const uint8_t* bytes, int32_t size) {
  if (size < 0 || (bytes == nullptr && size != 0)) {
    LOG_ERROR << "invalid skin archive block of size " << size;
    return false;
  }
  return true;
}

void SkinArchiveRegistry::AdoptCopy(const uint8_t* bytes, int32_t size, std::unique_ptr<uint8_t[]>& buffer,
                                    std::unique_ptr<SkinResourceZip>& archive, const char* what) {
  buffer = Allocate(static_cast<uint64_t>(size));
  if (buffer == nullptr) {
    LOG_ERROR << "no memory for a skin archive of " << size << " bytes";
  } else if (size != 0) {
    std::memcpy(buffer.get(), bytes, static_cast<size_t>(size));
  }
  mainName_ = kMemoryArchiveName;
  held_ = true;
  if (buffer != nullptr) archive = OpenMemory(buffer.get(), static_cast<size_t>(size), what);
}

void SkinArchiveRegistry::RegisterMainFromMemory(const uint8_t* bytes, int32_t size) {
  // Both windows register the same resource: the second time is a no-op and the archive is
  // decoded only once.
  if (size == mainSize_ || !ValidBlock(bytes, size)) return;
  mainSize_ = size;
  // No archive may outlive the copy it reads from.
  main_.reset();
  mainBuffer_.reset();
  AdoptCopy(bytes, size, mainBuffer_, main_, "main");
}

void SkinArchiveRegistry::RegisterOverlayFromMemory(const uint8_t* bytes, int32_t size) {
  if (size == overlaySize_ || !ValidBlock(bytes, size)) return;
  overlaySize_ = size;
  // An overlay registered from memory and kept while archives were not held reads from the copy
  // freed below: it goes too, held or not.
  overlay_.reset();
  overlayBuffer_.reset();
  // An overlay of the main archive's size is taken for the main archive itself.
  if (size == mainSize_) {
    overlaySize_ = 0;
    return;
  }
  AdoptCopy(bytes, size, overlayBuffer_, overlay_, "overlay");
}

void SkinArchiveRegistry::RegisterMainArchiveFile(const std::wstring& name, bool held) {
  if (name == mainName_ && held == held_) return;
  if (held_) main_.reset();
  mainName_ = name;
  held_ = held;
  if (held_ && !name.empty()) main_ = OpenArchiveFile(name);
}

void SkinArchiveRegistry::RegisterOverlayArchiveFile(const std::wstring& name) {
  if (name == overlayName_) return;
  if (held_) overlay_.reset();
  overlayName_ = name;
  if (held_ && !name.empty()) overlay_ = OpenArchiveFile(name);
}

void SkinArchiveRegistry::RegisterMarkupArchiveFile(const std::wstring& name) {
  if (name == markupName_) return;
  if (held_) markup_.reset();
  markupName_ = name;
  if (held_ && !name.empty()) markup_ = OpenArchiveFile(name);
}

void SkinArchiveRegistry::ReleaseAll() {
  main_.reset();
  overlay_.reset();
  markup_.reset();
  mainBuffer_.reset();
  overlayBuffer_.reset();
  mainSize_ = 0;
  overlaySize_ = 0;
  mainName_.clear();
  overlayName_.clear();
  markupName_.clear();
  held_ = false;
}

std::string SkinArchiveRegistry::DiskPath(const std::wstring& name) const {
  std::string path = platform::WideToAnsi(resourceFolder_ + name);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::unique_ptr<SkinResourceZip> SkinArchiveRegistry::OpenArchiveFile(const std::wstring& name) const {
  auto zip = std::make_unique<SkinResourceZip>();
  uint32_t r = zip->OpenFile(DiskPath(name));
  if (r != kZipOk) {
    LOG_ERROR << "skin archive " << Utf8(name) << " cannot be opened, result " << Hex{r};
    return nullptr;
  }
  return zip;
}

SkinResourceZip* SkinArchiveRegistry::Archive(std::unique_ptr<SkinResourceZip>& held, const std::wstring& name,
                                              std::unique_ptr<SkinResourceZip>& scratch) const {
  if (held_) return held.get();
  if (name.empty()) return nullptr;
  scratch = OpenArchiveFile(name);
  return scratch.get();
}

uint32_t SkinArchiveRegistry::ReadLooseFile(const std::wstring& name, std::unique_ptr<uint8_t[]>& out) const {
  // Loose files answer to the names the archive answers to, so a skin runs the same from disk.
  const std::string path = FindLooseSkinFile(platform::WideToAnsi(resourceFolder_), platform::WideToAnsi(name));
  // Non-blocking so that a FIFO of that name cannot hang the open; it is refused below.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return 0;
  struct stat st {};
  uint32_t result = 0;
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
    const auto size = static_cast<uint64_t>(st.st_size);
    std::unique_ptr<uint8_t[]> buffer = size <= UINT32_MAX ? Allocate(size) : nullptr;
    if (buffer == nullptr) {
      LOG_ERROR << "skin file " << path << " is too large to read: " << size << " bytes";
    } else {
      uint64_t done = 0;
      while (done < size) {
        ssize_t r = ::read(fd, buffer.get() + done, size - done);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        done += static_cast<uint64_t>(r);
      }
      if (done == size) {
        out = std::move(buffer);
        result = static_cast<uint32_t>(size);
      } else {
        LOG_ERROR << "skin file " << path << " read short: " << done << " of " << size << " bytes";
      }
    }
  }
  ::close(fd);
  return result;
}

uint32_t SkinArchiveRegistry::Extract(SkinResourceZip& zip, const SkinZipEntry& entry, const std::wstring& name,
                                      std::unique_ptr<uint8_t[]>& out) const {
  const uint64_t size = entry.uncompressedSize;
  if (size == 0) return 0;
  std::unique_ptr<uint8_t[]> buffer = size <= UINT32_MAX ? Allocate(size) : nullptr;
  if (buffer == nullptr) {
    LOG_ERROR << "skin file " << Utf8(name) << " is too large to extract: " << size << " bytes";
    return 0;
  }
  size_t produced = 0;
  uint32_t r = zip.ExtractItem(entry.index, buffer.get(), static_cast<size_t>(size), &produced);
  if ((r != kZipMore && r != kZipOk) || produced != size) {
    LOG_ERROR << "skin file " << Utf8(name) << " cannot be extracted, result " << Hex{r};
    return 0;
  }
  zip.ExtractItem(entry.index, nullptr, 0);  // finishes the entry and frees its inflate state
  out = std::move(buffer);
  return static_cast<uint32_t>(size);
}

uint32_t SkinArchiveRegistry::LoadFileData(const std::wstring& name, std::unique_ptr<uint8_t[]>& out, bool markup) {
  out.reset();
  if (mainName_.empty()) return ReadLooseFile(name, out);

  SkinZipEntry entry;
  if (markup && !markupName_.empty()) {
    std::unique_ptr<SkinResourceZip> scratch;
    if (SkinResourceZip* zip = Archive(markup_, markupName_, scratch)) {
      // The markup archive alone answers markup reads.
      if (zip->FindItem(name, true, entry) != kZipOk) return 0;
      return Extract(*zip, entry, name, out);
    }
  }

  std::unique_ptr<SkinResourceZip> mainScratch, overlayScratch;
  SkinResourceZip* mainZip = Archive(main_, mainName_, mainScratch);
  if (mainZip == nullptr) return 0;
  SkinResourceZip* overlayZip = Archive(overlay_, overlayName_, overlayScratch);

  if (overlayZip != nullptr) {
    uint32_t r = overlayZip->FindItem(name, true, entry);
    if (r == kZipOk) return Extract(*overlayZip, entry, name, out);
    if (r != kZipNotFound) {
      LOG_ERROR << "skin file " << Utf8(name) << " cannot be looked up in the overlay archive, result " << Hex{r};
      return 0;
    }
  }
  uint32_t r = mainZip->FindItem(name, true, entry);
  if (r != kZipOk) {
    if (r != kZipNotFound) {
      LOG_ERROR << "skin file " << Utf8(name) << " cannot be looked up, result " << Hex{r};
    }
    return 0;
  }
  return Extract(*mainZip, entry, name, out);
}

}  // namespace SkinUI
