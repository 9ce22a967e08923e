#include "ui/controls/skin_image_loader.h"

#include <cairo.h>
#include <librsvg/rsvg.h>
#include <stb_image.h>

#include <algorithm>
#include <cwctype>
#include <fstream>
#include <vector>

#include "common/base/log.h"
#include "platform/text_encoding.h"
#include "ui/core/skin_file_data.h"
#include "ui/core/skin_value.h"

namespace SkinUI {
namespace {

// Far beyond any skin image (the largest is a 36816 x 12 strip), small enough that a damaged or
// hostile header cannot make the decoder ask for gigabytes.
constexpr long long kMaxImagePixels = 64ll * 1024 * 1024;
// Cairo's own limit for the surface an SVG is rasterised into.
constexpr int kMaxSvgSide = 32767;

std::vector<std::uint8_t> ReadDiskFile(const std::wstring& name) {
  std::wstring path = name;
  std::replace(path.begin(), path.end(), L'\\', L'/');
  std::ifstream in(platform::WideToUtf8(path), std::ios::binary | std::ios::ate);
  if (!in) return {};
  const std::streamoff size = in.tellg();
  if (size <= 0) return {};
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) return {};  // a short read fails
  return bytes;
}

std::vector<std::uint8_t> ReadImageBytes(const std::wstring& name, const std::wstring& restype) {
  if (!restype.empty()) {
    if (name.empty() || !std::iswdigit(name[0])) return {};
    return CSkinHost::LoadResourceData(restype, ParseSkinInt(name));
  }
  std::unique_ptr<std::uint8_t[]> data;
  if (const std::uint32_t size = LoadFileData(name, data, false); size > 0)
    return std::vector<std::uint8_t>(data.get(), data.get() + size);
  return ReadDiskFile(name);
}

// Straight RGBA rows -> premultiplied 0xAARRGGBB, then the mask.
std::unique_ptr<SkinBitmapInfo> FromRgba(const std::uint8_t* rgba, int width, int height, SkinColor mask) {
  auto bitmap = std::make_unique<SkinBitmapInfo>();
  bitmap->width = width;
  bitmap->height = height;
  bitmap->mask = mask;
  bitmap->pixels.resize(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < bitmap->pixels.size(); ++i) {
    const std::uint8_t* p = rgba + i * 4;
    std::uint32_t r = p[0], g = p[1], b = p[2];
    const std::uint32_t a = p[3];
    if (a != 255) {
      r = r * a / 255;
      g = g * a / 255;
      b = b * a / 255;
      bitmap->alpha = true;
    }
    std::uint32_t pixel = a << 24 | r << 16 | g << 8 | b;
    if (mask != 0 && pixel == mask) {
      pixel = 0;
      bitmap->alpha = true;
    }
    bitmap->pixels[i] = pixel;
  }
  return bitmap;
}

std::unique_ptr<SkinBitmapInfo> DecodeRaster(const std::uint8_t* bytes, std::size_t size, SkinColor mask) {
  if (size > static_cast<std::size_t>(INT32_MAX)) return nullptr;
  const int len = static_cast<int>(size);
  int w = 0, h = 0, channels = 0;
  if (!stbi_info_from_memory(bytes, len, &w, &h, &channels)) return nullptr;
  if (w <= 0 || h <= 0 || static_cast<long long>(w) * h > kMaxImagePixels) return nullptr;
  std::unique_ptr<stbi_uc, void (*)(void*)> rgba(stbi_load_from_memory(bytes, len, &w, &h, &channels, 4),
                                                  stbi_image_free);
  if (!rgba) return nullptr;
  return FromRgba(rgba.get(), w, h, mask);
}

std::unique_ptr<SkinBitmapInfo> DecodeSvg(const std::uint8_t* bytes, std::size_t size, SkinColor mask, int width,
                                          int height) {
  if (width > kMaxSvgSide || height > kMaxSvgSide || static_cast<long long>(width) * height > kMaxImagePixels)
    return nullptr;
  GError* error = nullptr;
  RsvgHandle* handle = rsvg_handle_new_from_data(bytes, size, &error);
  if (handle == nullptr) {
    if (error != nullptr) g_error_free(error);
    return nullptr;
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  const RsvgRectangle viewport{0, 0, static_cast<double>(width), static_cast<double>(height)};
  const bool ok = rsvg_handle_render_document(handle, cr, &viewport, &error) && cairo_status(cr) == CAIRO_STATUS_SUCCESS;
  cairo_destroy(cr);
  g_object_unref(handle);
  if (error != nullptr) g_error_free(error);
  std::unique_ptr<SkinBitmapInfo> bitmap;
  if (ok) {
    // The rasteriser's premultiplied pixels go back to straight RGBA and through the same
    // conversion as every decoded image.
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
      for (int x = 0; x < width; ++x) {
        const std::uint32_t px = row[x];
        const std::uint32_t a = px >> 24;
        std::uint8_t* out = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
        for (int c = 0; c < 3; ++c) {
          const std::uint32_t v = (px >> (16 - 8 * c)) & 0xFF;
          out[c] = static_cast<std::uint8_t>(a == 0 ? 0 : std::min<std::uint32_t>(255, (v * 255 + a / 2) / a));
        }
        out[3] = static_cast<std::uint8_t>(a);
      }
    }
    bitmap = FromRgba(rgba.data(), width, height, mask);
  }
  cairo_surface_destroy(surface);
  return bitmap;
}

}  // namespace

std::unique_ptr<SkinBitmapInfo> DecodeSkinImage(const std::uint8_t* bytes, std::size_t size, SkinColor mask,
                                                int svgWidth, int svgHeight) {
  if (bytes == nullptr || size == 0) return nullptr;
  if (svgWidth < 1 || svgHeight < 1) return DecodeRaster(bytes, size, mask);
  return DecodeSvg(bytes, size, mask, svgWidth, svgHeight);
}

std::unique_ptr<SkinBitmapInfo> LoadSkinImage(const std::wstring& name, const std::wstring& restype, SkinColor mask,
                                               int svgWidth, int svgHeight) {
  const std::vector<std::uint8_t> bytes = ReadImageBytes(name, restype);
  if (bytes.empty()) {
    LOG_WARN << "skin image not found: " << platform::WideToUtf8(name);
    return nullptr;
  }
  std::unique_ptr<SkinBitmapInfo> bitmap = DecodeSkinImage(bytes.data(), bytes.size(), mask, svgWidth, svgHeight);
  if (!bitmap) {
    LOG_WARN << "skin image not decodable: " << platform::WideToUtf8(name);
    return nullptr;
  }
  bitmap->restype = restype;
  return bitmap;
}

}  // namespace SkinUI
