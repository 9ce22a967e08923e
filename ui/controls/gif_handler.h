#pragma once
// The frames of an animated image and how long each shows: every frame of a GIF with its own
// delay, or the single frame of any other image. Decoded once by stb_image into the premultiplied
// bitmaps the drawing code blits.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/core/skin_host.h"

namespace SkinUI {

class CGifHandler {
 public:
  // A frame whose delay is 0 or less shows this long.
  static constexpr int kDefaultDelay = 100;
  // All frames together stay below this many pixels (a damaged or hostile file cannot make the
  // decoder ask for more).
  static constexpr long long kMaxTotalPixels = 32LL * 1024 * 1024;

  // False (and no frames) for bytes that are no image, a damaged GIF, or frames beyond the limit.
  bool Load(const std::uint8_t* bytes, std::size_t size);
  // The skin file (archive, loose file or path on disk).
  bool LoadFile(const std::wstring& name);
  void Clear();

  int FrameCount() const { return static_cast<int>(frames_.size()); }
  const SkinBitmapInfo* Frame(int index) const;
  // Milliseconds; kDefaultDelay for a delay of 0 or less.
  int Delay(int index) const;

  // The number of images in a GIF's block structure; -1 when it is no GIF or is damaged.
  static int CountGifFrames(const std::uint8_t* bytes, std::size_t size);

 private:
  std::vector<std::unique_ptr<SkinBitmapInfo>> frames_;
  std::vector<int> delays_;
};

}  // namespace SkinUI
