#include "ui/controls/drawing_services.h"

#include <span>

#include "platform/module_resource.h"
#include "platform/text_encoding.h"
#include "ui/controls/cairo_canvas.h"
#include "ui/controls/font_config.h"
#include "ui/controls/pango_text.h"
#include "ui/controls/skin_image_loader.h"
#include "ui/controls/skin_render.h"
#include "ui/core/render_canvas.h"
#include "ui/core/skin_host.h"
#include "ui/core/skin_tooltip.h"

namespace SkinUI {
namespace {

std::vector<std::uint8_t> ReadModuleResource(const std::wstring& type, int id) {
  const std::span<const std::uint8_t> bytes = platform::FindModuleResource(platform::WideToUtf8(type), id);
  return {bytes.begin(), bytes.end()};
}

}  // namespace

void InstallDrawingServices() {
  // The alias first: fonts measured before it would be the wrong faces.
  CFontConfig::LoadAliases();
  CSkinHost::FontBackend fonts;
  fonts.measure = &CPangoText::MeasureFont;
  fonts.installFile = &CFontConfig::InstallFile;
  CSkinHost::SetFontBackend(fonts);
  CSkinHost::SetImageLoader(&LoadSkinImage);
  CSkinHost::SetResourceReader(&ReadModuleResource);
  SetCanvasFactory(&CCairoCanvas::Create);
  // The tooltip sizes itself to its text the way labels measure theirs.
  CSkinTooltip::SetTextMeasurer(&CSkinRender::RenderPlainText);
}

}  // namespace SkinUI
