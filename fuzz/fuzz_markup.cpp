// Mark-up text laid out and drawn: tags, escapes, raw text, links, fonts, inline images and
// wrapping on arbitrary text. The first byte picks the style flags and the rectangle; the rest is
// the text (UTF-8). Each input is drawn into a small surface with room for four links, measured
// with DT_CALCRECT, and drawn again with the links of the first paint (the hover colour).
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

using namespace SkinUI;

namespace {

constexpr int kWidth = 96, kHeight = 48;

// A 24 x 12 inline image for every name that ends in ".png".
uint32_t ReadFile(const std::wstring& name, std::unique_ptr<uint8_t[]>& out, bool) {
  static const std::string png = [] {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 24, 12);
    std::string bytes;
    cairo_surface_write_to_png_stream(
        s,
        [](void* o, const unsigned char* d, unsigned int n) {
          static_cast<std::string*>(o)->append(reinterpret_cast<const char*>(d), n);
          return CAIRO_STATUS_SUCCESS;
        },
        &bytes);
    cairo_surface_destroy(s);
    return bytes;
  }();
  if (name.size() < 4 || name.compare(name.size() - 4, 4, L".png") != 0) return 0;
  out = std::make_unique<uint8_t[]>(png.size());
  std::memcpy(out.get(), png.data(), png.size());
  return static_cast<uint32_t>(png.size());
}

int g_installed = [] {
  InstallDrawingServices();
  SetSkinFileReader(&ReadFile);
  return 0;
}();

}  // namespace

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:libpango-1.0.so\nleak:libpangoft2-1.0.so\nleak:libpangocairo-1.0.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 4096) return 0;
  const std::wstring text =
      platform::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  const int pick = data[0];
  TextStyle style = 0;
  const TextStyle bits[] = {DT_CENTER, DT_RIGHT, DT_VCENTER, DT_BOTTOM, DT_WORDBREAK, DT_SINGLELINE, DT_END_ELLIPSIS};
  for (int i = 0; i < 7; ++i)
    if (pick & (1 << i)) style |= bits[i];
  const SkinRect rc = pick & 0x80 ? SkinRect{2, 3, kWidth - 2, kHeight - 1} : SkinRect{-4, 0, 11, kHeight + 9};

  CSkinHost host;
  host.SetBackgroundTransparency(1);
  host.SetDefaultFont(L"Microsoft YaHei", 12, 0, false, false, false, false);
  host.AddFont(L"Microsoft YaHei", 22, 0, false, false, false, false);
  host.AddFont(L"Microsoft YaHei", 14, 700, false, false, false, false);
  std::vector<std::uint32_t> pixels(kWidth * kHeight, 0);
  CCairoCanvas canvas(&host, pixels.data(), kWidth, kHeight, kWidth * 4);

  SkinRect links[4];
  std::wstring texts[4];
  int count = 4;
  SkinRect area = rc;
  CSkinRender::RenderMarkupText(&canvas, &host, area, text, 0xFF333333, links, texts, count, style);
  if (count < 0 || count > 4 || area != rc) __builtin_trap();

  SkinRect measured = rc;
  int none = 0;
  const int height =
      CSkinRender::RenderMarkupText(nullptr, &host, measured, text, 0xFF333333, nullptr, nullptr, none, style | DT_CALCRECT);
  if (height < 0 || measured.right > rc.right) __builtin_trap();

  if (count > 0) {
    host.SetLastMousePoint({links[0].left, links[0].top});
    count = 4;
    CSkinRender::RenderMarkupText(&canvas, &host, area, text, 0xFF333333, links, texts, count, style);
  }
  if (canvas.ClipBox() != SkinRect{0, 0, kWidth, kHeight}) __builtin_trap();  // the clip was popped
  return 0;
}
