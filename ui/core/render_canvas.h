#pragma once
// What controls draw on. The window's paint pipeline hands a canvas over its bitmap to the root
// control; the drawing code implements it over the 2D library. Colours are 0xAARRGGBB.
#include <cstdint>
#include <memory>

#include "ui/core/skin_types.h"

namespace SkinUI {

class CSkinHost;
struct SkinImageSpec;

class IRenderCanvas {
 public:
  virtual ~IRenderCanvas() = default;

  // Solid fill; nothing for a colour whose alpha is 0.
  virtual void FillColor(const SkinRect& rc, SkinColor color) = 0;
  // Gradient from color1 to color2, top to bottom when vertical, else left to right.
  virtual void FillGradient(const SkinRect& rc, SkinColor color1, SkinColor color2, bool vertical) = 0;
  // A line from (left, top) to (right, bottom); `style` holds the dash, alignment and cap bits.
  virtual void StrokeLine(const SkinRect& rc, int width, SkinColor color, int style) = 0;
  virtual void StrokeRect(const SkinRect& rc, int width, SkinColor color) = 0;
  virtual void StrokeRoundRect(const SkinRect& rc, int width, int rx, int ry, SkinColor color) = 0;

  // Clips are a stack: each push intersects the current clip, each pop restores the one before.
  virtual void PushClipRect(const SkinRect& rc) = 0;
  virtual void PushClipRoundRect(const SkinRect& rc, const SkinRect& round, int rx, int ry) = 0;
  virtual void PopClip() = 0;

  // Draws an image description over `control` (limited to `dirty`). False when the description has no
  // file or the image cannot be loaded; the caller then forgets the description.
  virtual bool PaintImage(CSkinHost* host, const SkinRect& control, const SkinRect& dirty, const SkinImageSpec& spec) = 0;
};

// Canvases over a window's bitmap come from the drawing layer, which installs its factory at
// start-up. `pixels` are premultiplied 0xAARRGGBB rows, `strideBytes` apart; the canvas draws
// into them until it is destroyed. None when no factory is installed.
using CanvasFactory = std::unique_ptr<IRenderCanvas> (*)(CSkinHost* host, std::uint32_t* pixels, int width,
                                                         int height, int strideBytes);
void SetCanvasFactory(CanvasFactory factory);
std::unique_ptr<IRenderCanvas> CreateRenderCanvas(CSkinHost* host, std::uint32_t* pixels, int width, int height,
                                                  int strideBytes);

// Pops the clip it pushed when it goes out of scope.
class CRenderClip {
 public:
  CRenderClip(IRenderCanvas& c, const SkinRect& rc) : canvas_(&c) { c.PushClipRect(rc); }
  CRenderClip(IRenderCanvas& c, const SkinRect& rc, const SkinRect& round, int rx, int ry) : canvas_(&c) {
    c.PushClipRoundRect(rc, round, rx, ry);
  }
  CRenderClip() = default;
  ~CRenderClip() {
    if (canvas_ != nullptr) canvas_->PopClip();
  }
  CRenderClip(const CRenderClip&) = delete;
  CRenderClip& operator=(const CRenderClip&) = delete;

 private:
  IRenderCanvas* canvas_ = nullptr;
};

}  // namespace SkinUI
