#pragma once
// What controls draw on. The window's paint pipeline hands a canvas over its bitmap to the root
// control; the drawing layer (ui/controls) implements it over the 2D library. Colours are
// 0xAARRGGBB; coordinates are window client pixels, a pixel (x, y) covering the square from
// (x, y) to (x + 1, y + 1).
#include <cstdint>
#include <memory>
#include <string>

#include "ui/core/skin_types.h"

namespace SkinUI {

class CSkinHost;
struct SkinImageSpec;
struct SkinBitmapInfo;
struct SkinFontInfo;

class IRenderCanvas {
 public:
  virtual ~IRenderCanvas() = default;

  // ---- fills and strokes ------------------------------------------------------------------------
  // Solid fill blended over what is there; nothing for a colour whose alpha is 0.
  virtual void FillColor(const SkinRect& rc, SkinColor color) = 0;
  // Gradient from color1 to color2, top to bottom when vertical, else left to right. The colours'
  // own alpha is not interpolated: the gradient of their opaque colours is blended at the average
  // of the two alphas, and nothing is drawn when that average is 0.
  virtual void FillGradient(const SkinRect& rc, SkinColor color1, SkinColor color2, bool vertical) = 0;
  // A line from (left, top) to (right, bottom) whose pixels are those a pen of `width` centred on
  // the pixel centres covers. `style`: bits 0 and 2 (style & 5) choose the dash (1 dash, 4 dash-
  // dot-dot, 0 and 5 solid), 0x200 flat caps, else 0x100 square caps, else flat. A horizontal or
  // vertical line of width w at x covers the columns x - w/2 .. x - w/2 + w - 1.
  virtual void StrokeLine(const SkinRect& rc, int width, SkinColor color, int style) = 0;
  // A frame `width` pixels thick lying inside `rc` (a pen aligned to the inside; a width below 2
  // draws the one-pixel outline of `rc`).
  virtual void StrokeRect(const SkinRect& rc, int width, SkinColor color) = 0;
  // Outline `width` pixels thick inside `rc` whose outer edge has corners of radii rx, ry (the
  // curve of a rounded clip of the same rectangle and radii).
  virtual void StrokeRoundRect(const SkinRect& rc, int width, int rx, int ry, SkinColor color) = 0;

  // ---- clips --------------------------------------------------------------------------------------
  // Clips are a stack: each push intersects the current clip, each pop restores the one before.
  virtual void PushClipRect(const SkinRect& rc) = 0;
  // `rc` intersected with `round` whose corners are rounded with radii rx, ry.
  virtual void PushClipRoundRect(const SkinRect& rc, const SkinRect& round, int rx, int ry) = 0;
  virtual void PopClip() = 0;
  // Bounding box of the current clip (the whole canvas without one); empty when nothing is visible.
  virtual SkinRect ClipBox() const = 0;

  // ---- images -------------------------------------------------------------------------------------
  // Draws an image description over `control` (limited to `dirty`). False when the description has no
  // file or the image cannot be loaded; the caller then forgets the description.
  virtual bool PaintImage(CSkinHost* host, const SkinRect& control, const SkinRect& dirty, const SkinImageSpec& spec) = 0;
  // The part `src` of a decoded image into `dest`: 1:1 when both have the same size, else scaled
  // (bilinear, never sampling outside `src`), blended over the target at constant opacity `alpha`
  // (255 = opaque). `src` must lie inside the bitmap.
  virtual void DrawBitmap(const SkinBitmapInfo& bitmap, const SkinRect& dest, const SkinRect& src,
                          std::uint8_t alpha) = 0;

  // ---- text ---------------------------------------------------------------------------------------
  // Plain text laid out in `rc` by the text style flags of ui/controls/text_style.h (alignment,
  // wrapping, ellipsis, clipping), in `font`, blended at the colour's alpha.
  virtual void DrawPlainText(const SkinRect& rc, const std::wstring& text, const SkinFontInfo& font, SkinColor color,
                             std::uint32_t style) = 0;
  // One line of text whose line box (font height + external leading) starts at (x, y), unclipped
  // apart from the current clip.
  virtual void DrawTextRun(int x, int y, const std::wstring& text, const SkinFontInfo& font, SkinColor color) = 0;
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
