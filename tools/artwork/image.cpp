#include "tools/artwork/image.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace artwork {

namespace {

// libpng reports errors by longjmp, so this function keeps nothing but its arguments.
bool EncodePng(FILE* file, int width, int height, bool opaque, const uint8_t* rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_compression_level(png, 9);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE,
               PNG_FILTER_TYPE_BASE);
  png_write_info(png, info);
  const size_t rowBytes = static_cast<size_t>(width) * (opaque ? 3 : 4);
  for (int y = 0; y < height; ++y) png_write_row(png, rows + static_cast<size_t>(y) * rowBytes);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

Image::Image(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * static_cast<size_t>(height), 0u) {}

FrameContext Image::Frame(int x, int width) { return FrameContext(pixels_.data() + x, width, height_, width_ * 4); }

bool Image::WritePng(const std::string& path) const {
  bool opaque = true;
  for (uint32_t p : pixels_) opaque = opaque && (p >> 24) == 0xFF;
  const int channels = opaque ? 3 : 4;
  std::vector<uint8_t> rows(static_cast<size_t>(width_) * height_ * channels);
  uint8_t* out = rows.data();
  for (uint32_t p : pixels_) {
    const uint32_t a = p >> 24;
    const uint32_t c[3] = {(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF};
    for (uint32_t v : c) *out++ = static_cast<uint8_t>(a == 0 ? 0 : (v * 255 + a / 2) / a);  // un-premultiply
    if (!opaque) *out++ = static_cast<uint8_t>(a);
  }

  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (file == nullptr) {
    std::perror(path.c_str());
    return false;
  }
  if (!EncodePng(file.get(), width_, height_, opaque, rows.data())) {
    std::fprintf(stderr, "%s: cannot write the PNG\n", path.c_str());
    return false;
  }
  return true;
}

Image Strip(int frameWidth, int height, int count, const std::function<void(cairo_t*, int)>& paint) {
  Image image(frameWidth * count, height);
  for (int i = 0; i < count; ++i) {
    FrameContext cr = image.Frame(i * frameWidth, frameWidth);
    paint(cr, i);
  }
  return image;
}

Image Picture(int width, int height, const std::function<void(cairo_t*)>& paint) {
  return Strip(width, height, 1, [&](cairo_t* cr, int) { paint(cr); });
}

}  // namespace artwork
