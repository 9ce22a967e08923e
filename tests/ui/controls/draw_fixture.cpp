#include "tests/ui/controls/draw_fixture.h"

#include <cairo.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "ui/controls/drawing_services.h"
#include "ui/core/skin_file_data.h"

namespace testsupport {
namespace {

std::map<std::wstring, std::string>& Files() {
  static std::map<std::wstring, std::string> files;
  return files;
}
std::string& Fallback() {
  static std::string bytes;
  return bytes;
}
std::map<std::wstring, int>& ReadCounts() {
  static std::map<std::wstring, int> counts;
  return counts;
}

std::wstring Key(std::wstring name) {
  std::replace(name.begin(), name.end(), L'\\', L'/');
  return name;
}

uint32_t ReadFromMemory(const std::wstring& name, std::unique_ptr<uint8_t[]>& out, bool) {
  const std::wstring key = Key(name);
  ++ReadCounts()[key];
  auto it = Files().find(key);
  const std::string& bytes = it != Files().end() ? it->second : Fallback();
  if (name.empty() || bytes.empty()) return 0;
  out = std::make_unique<uint8_t[]>(bytes.size());
  std::memcpy(out.get(), bytes.data(), bytes.size());
  return static_cast<uint32_t>(bytes.size());
}

void Put32(std::string& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

void Chunk(std::string& png, const char* type, const std::string& data) {
  Put32(png, static_cast<std::uint32_t>(data.size()));
  std::string body = std::string(type, 4) + data;
  png += body;
  Put32(png, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size())));
}

}  // namespace

std::string EncodePng(int width, int height, const std::vector<std::uint32_t>& argb) {
  std::string raw;
  for (int y = 0; y < height; ++y) {
    raw += '\0';  // no filter
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = argb[static_cast<std::size_t>(y) * width + x];
      raw += static_cast<char>((p >> 16) & 0xFF);
      raw += static_cast<char>((p >> 8) & 0xFF);
      raw += static_cast<char>(p & 0xFF);
      raw += static_cast<char>(p >> 24);
    }
  }
  uLongf packedSize = compressBound(raw.size());
  std::string packed(packedSize, '\0');
  compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
            raw.size(), 1);
  packed.resize(packedSize);
  std::string header;
  Put32(header, static_cast<std::uint32_t>(width));
  Put32(header, static_cast<std::uint32_t>(height));
  header += std::string("\x08\x06\x00\x00\x00", 5);  // 8-bit RGBA, no interlace
  std::string png("\x89PNG\r\n\x1a\n", 8);
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", packed);
  Chunk(png, "IEND", "");
  return png;
}

std::string SurfacePng(cairo_surface_t* surface) {
  std::string bytes;
  cairo_surface_write_to_png_stream(
      surface,
      [](void* out, const unsigned char* data, unsigned int n) {
        static_cast<std::string*>(out)->append(reinterpret_cast<const char*>(data), n);
        return CAIRO_STATUS_SUCCESS;
      },
      &bytes);
  return bytes;
}

SkinFiles::SkinFiles() {
  Files().clear();
  Fallback().clear();
  ReadCounts().clear();
  SkinUI::SetSkinFileReader(&ReadFromMemory);
}

SkinFiles::~SkinFiles() {
  SkinUI::SetSkinFileReader(nullptr);
  Files().clear();
}

void SkinFiles::Add(const std::wstring& name, std::string bytes) { Files()[Key(name)] = std::move(bytes); }
void SkinFiles::SetFallback(std::string bytes) { Fallback() = std::move(bytes); }

int SkinFiles::Reads(const std::wstring& name) const {
  auto it = ReadCounts().find(Key(name));
  return it == ReadCounts().end() ? 0 : it->second;
}

DrawSurface::DrawSurface(int width, int height, SkinUI::CSkinHost* host, std::uint32_t background)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, background) {
  canvas_ = std::make_unique<SkinUI::CCairoCanvas>(host, pixels_.data(), width, height, width * 4);
}

std::uint32_t DrawSurface::At(int x, int y) {
  canvas_->Flush();
  return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

std::vector<std::uint32_t> DrawSurface::Row(int y, int from, int to) {
  std::vector<std::uint32_t> out;
  for (int x = from; x < to; ++x) out.push_back(At(x, y));
  return out;
}

int DrawSurface::CountNot(const SkinUI::SkinRect& rc, std::uint32_t value) {
  int n = 0;
  for (int y = rc.top; y < rc.bottom; ++y)
    for (int x = rc.left; x < rc.right; ++x) n += At(x, y) != value ? 1 : 0;
  return n;
}

void DrawSurface::Save(const std::string& name) {
  const char* dir = std::getenv("WEBINST_DRAW_PNG_DIR");
  if (dir == nullptr) return;
  canvas_->Flush();
  cairo_surface_t* s = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels_.data()),
                                                           CAIRO_FORMAT_ARGB32, width_, height_, width_ * 4);
  cairo_surface_write_to_png(s, (std::string(dir) + "/" + name + ".png").c_str());
  cairo_surface_destroy(s);
}

void UseDrawingServices() { SkinUI::InstallDrawingServices(); }

}  // namespace testsupport
