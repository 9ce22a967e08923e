#include "ui/core/render_canvas.h"

namespace SkinUI {
namespace {
CanvasFactory g_canvasFactory = nullptr;
}  // namespace

void SetCanvasFactory(CanvasFactory factory) { g_canvasFactory = factory; }

std::unique_ptr<IRenderCanvas> CreateRenderCanvas(CSkinHost* host, std::uint32_t* pixels, int width, int height,
                                                  int strideBytes) {
  if (g_canvasFactory == nullptr || pixels == nullptr || width <= 0 || height <= 0) return nullptr;
  return g_canvasFactory(host, pixels, width, height, strideBytes);
}

}  // namespace SkinUI
