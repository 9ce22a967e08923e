// The skin archive reader on arbitrary bytes: every entry is extracted in pieces, a few names
// are looked up, and the archive is read through the registry as LoadFileData would.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/controls/skin_archive_registry.h"
#include "ui/controls/skin_resource_zip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr int kMaxEntries = 64;
  constexpr size_t kMaxBytesPerEntry = 1 << 20;
  SkinUI::SkinResourceZip zip;
  if (zip.OpenMemory(data, size) == SkinUI::kZipOk) {
    std::vector<uint8_t> piece(4096);
    for (int i = 0; i < kMaxEntries; ++i) {
      size_t total = 0, n = 0;
      uint32_t r;
      while ((r = zip.ExtractItem(i, piece.data(), piece.size(), &n)) == SkinUI::kZipMore && total < kMaxBytesPerEntry) {
        total += n;
      }
      if (r == SkinUI::kZipBadArguments) break;
    }
    SkinUI::SkinZipEntry entry;
    for (const wchar_t* name : {L"a", L"xml\\inst\\wnd.xml", L"A/B"}) zip.FindItem(name, true, entry);
  }

  SkinUI::SkinArchiveRegistry registry;
  registry.RegisterMainFromMemory(data, static_cast<int32_t>(size));
  std::unique_ptr<uint8_t[]> out;
  for (const wchar_t* name : {L"a", L"xml\\inst\\wnd.xml"}) registry.LoadFileData(name, out, true);
  return 0;
}
