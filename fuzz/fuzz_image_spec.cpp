// Image descriptions and status images, parsed and drawn: the rebuilt text of every parse must
// parse back to itself, and every description (nine-slice borders, sources, destinations,
// offsets, tiling, fades) is drawn into a small surface from a small image. The first byte picks
// the control's rectangle and the dirty area; the rest is the description (UTF-8).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/text_encoding.h"
#include "ui/controls/cairo_canvas.h"
#include "ui/controls/drawing_services.h"
#include "ui/controls/skin_render.h"
#include "ui/core/skin_file_data.h"
#include "ui/core/skin_host.h"
#include "ui/core/skin_image_spec.h"

using namespace SkinUI;

namespace {

constexpr int kSide = 40;

// A 7 x 5 PNG (any name reads as it), built once from a surface of known pixels.
const std::string& ImagePng() {
  static const std::string png = [] {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 7, 5);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgba(cr, 0.2, 0.4, 0.8, 0.6);
    cairo_paint(cr);
    cairo_destroy(cr);
    std::string bytes;
    cairo_surface_write_to_png_stream(
        s,
        [](void* out, const unsigned char* data, unsigned int n) {
          static_cast<std::string*>(out)->append(reinterpret_cast<const char*>(data), n);
          return CAIRO_STATUS_SUCCESS;
        },
        &bytes);
    cairo_surface_destroy(s);
    return bytes;
  }();
  return png;
}

uint32_t ReadFile(const std::wstring& name, std::unique_ptr<uint8_t[]>& out, bool) {
  if (name.empty()) return 0;
  const std::string& png = ImagePng();
  out = std::make_unique<uint8_t[]>(png.size());
  std::memcpy(out.get(), png.data(), png.size());
  return static_cast<uint32_t>(png.size());
}

int g_installed = [] {
  InstallDrawingServices();
  SetSkinFileReader(&ReadFile);
  return 0;
}();

void Check(const SkinImageSpec& spec) {
  SkinImageSpec again;
  again.Parse(ImageSpecText(spec));
  if (ImageSpecText(again) != ImageSpecText(spec)) __builtin_trap();
}

}  // namespace

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:libpango-1.0.so\nleak:libpangoft2-1.0.so\nleak:libpangocairo-1.0.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::wstring text =
      platform::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  const int pick = data[0];
  const SkinRect control{pick % 7 - 3, pick / 7 % 5 - 2, kSide - pick % 3, kSide - pick / 3 % 4};
  const SkinRect dirty = pick & 0x80 ? SkinRect{pick % 11, pick % 13, kSide, kSide} : control;

  SkinImageSpec spec;
  spec.Parse(text);
  Check(spec);
  SkinStatusImageMap states;
  ParseStatusImage(text, states);

  CSkinHost host;
  host.SetBackgroundTransparency(pick & 1);
  std::vector<std::uint32_t> pixels(kSide * kSide, 0);
  CCairoCanvas canvas(&host, pixels.data(), kSide, kSide, kSide * 4);
  CSkinRender::PaintImage(canvas, &host, control, dirty, spec);
  for (const auto& [name, frame] : states) {
    Check(frame);
    CSkinRender::PaintImage(canvas, &host, control, dirty, frame);
  }
  if (canvas.ClipBox() != SkinRect{0, 0, kSide, kSide}) __builtin_trap();  // every clip was popped
  return 0;
}
