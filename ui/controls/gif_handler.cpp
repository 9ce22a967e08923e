#include "ui/controls/gif_handler.h"

#include <stb_image.h>

#include <cstdlib>
#include <cstring>

#include "common/base/log.h"
#include "platform/text_encoding.h"
#include "ui/controls/skin_image_loader.h"

namespace SkinUI {
namespace {

bool IsGif(const std::uint8_t* bytes, std::size_t size) {
  return size >= 6 && (std::memcmp(bytes, "GIF87a", 6) == 0 || std::memcmp(bytes, "GIF89a", 6) == 0);
}

// Skips data sub-blocks from `pos`; false when they run past the end.
bool SkipSubBlocks(const std::uint8_t* bytes, std::size_t size, std::size_t& pos) {
  while (pos < size) {
    const std::size_t n = bytes[pos++];
    if (n == 0) return true;
    pos += n;
  }
  return false;
}

std::size_t ColourTableSize(std::uint8_t flags) { return (flags & 0x80) != 0 ? 3u * (1u << ((flags & 7) + 1)) : 0u; }

}  // namespace

int CGifHandler::CountGifFrames(const std::uint8_t* bytes, std::size_t size) {
  if (bytes == nullptr || !IsGif(bytes, size) || size < 13) return -1;
  std::size_t pos = 13 + ColourTableSize(bytes[10]);
  int frames = 0;
  while (pos < size) {
    switch (bytes[pos]) {
      case 0x3B:  // trailer
        return frames;
      case 0x21:  // extension: label, then sub-blocks
        pos += 2;
        if (!SkipSubBlocks(bytes, size, pos)) return -1;
        break;
      case 0x2C: {  // image descriptor, local colour table, LZW code size, data
        if (pos + 10 > size) return -1;
        const std::uint8_t flags = bytes[pos + 9];
        pos += 10 + ColourTableSize(flags) + 1;
        if (!SkipSubBlocks(bytes, size, pos)) return -1;
        ++frames;
        break;
      }
      default:
        return -1;
    }
  }
  return -1;  // no trailer
}

void CGifHandler::Clear() {
  frames_.clear();
  delays_.clear();
}

bool CGifHandler::Load(const std::uint8_t* bytes, std::size_t size) {
  Clear();
  if (bytes == nullptr || size == 0 || size > static_cast<std::size_t>(INT32_MAX)) return false;
  const int len = static_cast<int>(size);
  int w = 0, h = 0, channels = 0;
  if (!stbi_info_from_memory(bytes, len, &w, &h, &channels) || w <= 0 || h <= 0) return false;
  if (!IsGif(bytes, size)) {
    if (1LL * w * h > kMaxTotalPixels) return false;
    std::unique_ptr<stbi_uc, void (*)(void*)> rgba(stbi_load_from_memory(bytes, len, &w, &h, &channels, 4),
                                                    stbi_image_free);
    if (!rgba) return false;
    frames_.push_back(SkinBitmapFromRgba(rgba.get(), w, h, 0));
    delays_.push_back(kDefaultDelay);
    return true;
  }
  const int expected = CountGifFrames(bytes, size);
  if (expected <= 0 || 1LL * w * h * expected > kMaxTotalPixels) return false;
  int* delays = nullptr;
  int frames = 0;
  std::unique_ptr<stbi_uc, void (*)(void*)> rgba(
      stbi_load_gif_from_memory(bytes, len, &delays, &w, &h, &frames, &channels, 4), stbi_image_free);
  std::unique_ptr<int, void (*)(void*)> delayOwner(delays, std::free);
  if (!rgba || frames <= 0) return false;
  const std::size_t frameBytes = static_cast<std::size_t>(w) * h * 4;
  for (int i = 0; i < frames; ++i) {
    frames_.push_back(SkinBitmapFromRgba(rgba.get() + frameBytes * i, w, h, 0));
    delays_.push_back(delays != nullptr ? delays[i] : 0);
  }
  return true;
}

bool CGifHandler::LoadFile(const std::wstring& name) {
  const std::vector<std::uint8_t> bytes = ReadSkinImageBytes(name, L"");
  if (Load(bytes.data(), bytes.size())) return true;
  LOG_WARN << "animation not loadable: " << platform::WideToUtf8(name);
  return false;
}

const SkinBitmapInfo* CGifHandler::Frame(int index) const {
  return index >= 0 && index < FrameCount() ? frames_[index].get() : nullptr;
}

int CGifHandler::Delay(int index) const {
  if (index < 0 || index >= FrameCount()) return kDefaultDelay;
  return delays_[index] > 0 ? delays_[index] : kDefaultDelay;
}

}  // namespace SkinUI
