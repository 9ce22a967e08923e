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
#include "tests/ui/controls/draw_fixture.h"
#include "ui/controls/cairo_canvas.h"
#include "ui/controls/drawing_services.h"
#include "ui/controls/skin_render.h"
#include "ui/core/skin_host.h"
#include "ui/core/skin_image_spec.h"

using namespace SkinUI;

namespace {

constexpr int kSide = 40;

// Every name reads as a 7 x 5 PNG of translucent pixels.
int g_installed = [] {
  InstallDrawingServices();
  static testsupport::SkinFiles files;
  files.SetFallback(testsupport::MakePng(7, 5, [](int x, int y) { return 0x99336699u + x * 16 + y; }));
  return 0;
}();

// The rebuilt text parses back to the same fields. Values have no escapes, so a name holding an
// apostrophe (a malformed list kept whole as the file name) cannot be written back.
void Check(const SkinImageSpec& spec) {
  if (spec.file.find(L'\'') != std::wstring::npos || spec.restype.find(L'\'') != std::wstring::npos) return;
  SkinImageSpec again;
  again.Parse(ImageSpecText(spec));
  if (ImageSpecText(again) != ImageSpecText(spec)) __builtin_trap();
}

}  // namespace

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
