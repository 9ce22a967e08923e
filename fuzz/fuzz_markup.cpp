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
#include "tests/ui/controls/draw_fixture.h"
#include "ui/controls/cairo_canvas.h"
#include "ui/controls/drawing_services.h"
#include "ui/controls/skin_render.h"
#include "ui/core/skin_host.h"

using namespace SkinUI;

namespace {

constexpr int kWidth = 96, kHeight = 48;

// Every name reads as a 24 x 12 inline image.
int g_installed = [] {
  InstallDrawingServices();
  static testsupport::SkinFiles files;
  files.SetFallback(testsupport::MakePng(24, 12, [](int x, int) { return 0xFF000000u | x * 10; }));
  return 0;
}();

}  // namespace

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
