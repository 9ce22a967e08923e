#include "platform/linux/x11_surface.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/linux/x11_error_trap.h"

namespace platform {
namespace {

// Host byte order, so 32-bit pixel values are read as the program wrote them.
int HostByteOrder() {
  const std::uint32_t one = 1;
  return *reinterpret_cast<const unsigned char*>(&one) == 1 ? LSBFirst : MSBFirst;
}

std::uint32_t Scale(std::uint32_t px, std::uint32_t alpha) {
  auto ch = [&](int shift) { return (((px >> shift) & 0xFFu) * alpha + 127) / 255 << shift; };
  return ch(24) | ch(16) | ch(8) | ch(0);
}

}  // namespace

X11Surface::X11Surface(Display* display, Window window, Visual* visual, bool useShm)
    : display_(display), window_(window), visual_(visual), tryShm_(useShm) {
  gc_ = XCreateGC(display_, window_, 0, nullptr);
}

X11Surface::~X11Surface() {
  DropImage();
  if (gc_) XFreeGC(display_, gc_);
}

void X11Surface::DropImage() {
  if (image_ == nullptr) return;
  if (shmAttached_) {
    XShmDetach(display_, &shm_);
    XSync(display_, False);
    image_->data = nullptr;
    XDestroyImage(image_);
    shmdt(shm_.shmaddr);
    shmAttached_ = false;
    shmPending_ = false;
  } else {
    XDestroyImage(image_);  // frees the malloc'd pixels too
  }
  image_ = nullptr;
}

bool X11Surface::MakeImage(int width, int height) {
  DropImage();
  if (tryShm_) {
    image_ = XShmCreateImage(display_, visual_, 32, ZPixmap, nullptr, &shm_, width, height);
    if (image_ != nullptr) {
      shm_.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(image_->bytes_per_line) * height, IPC_CREAT | 0600);
      void* addr = shm_.shmid >= 0 ? shmat(shm_.shmid, nullptr, 0) : reinterpret_cast<void*>(-1);
      if (addr != reinterpret_cast<void*>(-1)) {
        shm_.shmaddr = image_->data = static_cast<char*>(addr);
        shm_.readOnly = False;
        X11ErrorTrap trap(display_);
        XShmAttach(display_, &shm_);
        bool failed = trap.Failed();
        shmctl(shm_.shmid, IPC_RMID, nullptr);  // freed once both sides detach
        if (!failed) {
          shmAttached_ = true;
          return true;
        }
        shmdt(addr);
      } else if (shm_.shmid >= 0) {
        shmctl(shm_.shmid, IPC_RMID, nullptr);
      }
      image_->data = nullptr;
      XDestroyImage(image_);
      image_ = nullptr;
    }
    tryShm_ = false;  // refused once (a remote display, a container): plain puts from now on
  }
  auto* data = static_cast<char*>(std::malloc(static_cast<std::size_t>(width) * height * 4));
  if (data == nullptr) return false;
  image_ = XCreateImage(display_, visual_, 32, ZPixmap, 0, data, width, height, 32, width * 4);
  if (image_ == nullptr) {
    std::free(data);
    return false;
  }
  image_->byte_order = HostByteOrder();
  return true;
}

bool X11Surface::Present(const std::uint32_t* pixels, int width, int height, int strideBytes,
                         std::uint8_t constantAlpha) {
  if (image_ == nullptr || width != width_ || height != height_) {
    width_ = height_ = 0;
    if (!MakeImage(width, height)) return false;
    width_ = width;
    height_ = height;
    mask_.assign(static_cast<std::size_t>(MaskStride()) * height, 0);
  }
  if (shmPending_) {
    XSync(display_, False);  // the server is done reading the last frame
    shmPending_ = false;
  }
  std::vector<std::uint8_t> mask(mask_.size(), 0);
  const int stride = MaskStride();
  for (int y = 0; y < height; ++y) {
    const auto* src = reinterpret_cast<const std::uint32_t*>(reinterpret_cast<const unsigned char*>(pixels) +
                                                             static_cast<std::size_t>(y) * strideBytes);
    auto* dst = reinterpret_cast<std::uint32_t*>(image_->data + static_cast<std::size_t>(y) * image_->bytes_per_line);
    std::uint8_t* mrow = &mask[static_cast<std::size_t>(y) * stride];
    for (int x = 0; x < width; ++x) {
      std::uint32_t px = src[x];
      if (px >> 24) mrow[x / 8] |= static_cast<std::uint8_t>(1u << (x % 8));
      dst[x] = constantAlpha == 255 ? px : Scale(px, constantAlpha);
    }
  }
  Put(0, 0, width, height);
  bool changed = mask != mask_;
  mask_.swap(mask);
  return changed;
}

void X11Surface::Repaint(int x, int y, int width, int height) {
  if (image_ == nullptr) return;
  int right = std::min(x + width, width_), bottom = std::min(y + height, height_);
  x = std::max(x, 0);
  y = std::max(y, 0);
  if (right > x && bottom > y) Put(x, y, right - x, bottom - y);
}

void X11Surface::Put(int x, int y, int width, int height) {
  if (shmAttached_) {
    XShmPutImage(display_, window_, gc_, image_, x, y, x, y, width, height, False);
    shmPending_ = true;
  } else {
    XPutImage(display_, window_, gc_, image_, x, y, x, y, width, height);
  }
  XFlush(display_);
}

}  // namespace platform
