#pragma once
// What an X window shows: the premultiplied ARGB bitmap the program presented, kept in an XImage
// (in shared memory when the server offers it) so an Expose is answered without the program, and
// the 1-bit mask of its alpha that shapes the window's input (and, without a compositor, its
// outline).
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <vector>

namespace platform {

class X11Surface {
 public:
  // `useShm`: try shared memory (falls back to XPutImage for good when the server refuses it).
  X11Surface(Display* display, Window window, Visual* visual, bool useShm);
  ~X11Surface();
  X11Surface(const X11Surface&) = delete;
  X11Surface& operator=(const X11Surface&) = delete;

  // Copies the pixels (scaled by constantAlpha) into the kept image and puts it on the window.
  // True when the alpha mask changed.
  bool Present(const std::uint32_t* pixels, int width, int height, int strideBytes, std::uint8_t constantAlpha);
  // Puts the kept image again over the given window area (an Expose).
  void Repaint(int x, int y, int width, int height);
  bool HasImage() const { return image_ != nullptr; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Bit (y * Stride() * 8 + x) is set where the presented alpha is not 0 (LSB first in each byte).
  bool Opaque(int x, int y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_ && (mask_[y * MaskStride() + x / 8] >> (x % 8)) & 1;
  }
  int MaskStride() const { return (width_ + 7) / 8; }
  bool UsesShm() const { return shmAttached_; }

 private:
  bool MakeImage(int width, int height);
  void DropImage();
  void Put(int x, int y, int width, int height);

  Display* display_;
  Window window_;
  Visual* visual_;
  bool tryShm_;
  GC gc_ = nullptr;
  XImage* image_ = nullptr;
  XShmSegmentInfo shm_{};
  bool shmAttached_ = false;
  bool shmPending_ = false;  // a shared-memory put may still be reading the segment
  int width_ = 0, height_ = 0;
  std::vector<std::uint8_t> mask_;
};

}  // namespace platform
