#include "ui/core/skin_file_data.h"

#include <atomic>

#include "common/base/log.h"

namespace SkinUI {

namespace {
std::atomic<SkinFileReader> g_reader{nullptr};
}  // namespace

void SetSkinFileReader(SkinFileReader reader) { g_reader.store(reader); }

uint32_t LoadFileData(const std::wstring& name, std::unique_ptr<uint8_t[]>& out, bool markup) {
  out.reset();
  SkinFileReader reader = g_reader.load();
  if (reader == nullptr) {
    LOG_ERROR << "no skin file reader is installed";
    return 0;
  }
  uint32_t size = reader(name, out, markup);
  if (size == 0) out.reset();
  return size;
}

}  // namespace SkinUI
