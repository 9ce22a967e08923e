#pragma once
// Drawing of image descriptions and text for the controls. The fills, gradients, lines, outlines
// and clips are the canvas's own operations (IRenderCanvas, CRenderClip); what is here builds on
// them: the image description algorithm with its nine-slice, tiling and fading, and text, plain
// or with the inline mark-up of "showhtml" labels.
#include <cstdint>
#include <string>

#include "ui/controls/text_style.h"
#include "ui/core/render_canvas.h"
#include "ui/core/skin_host.h"
#include "ui/core/skin_image_spec.h"

namespace SkinUI {

class CSkinRender {
 public:
  // Draws `spec` for a control at `control`, limited to `dirty`. The destination is the control,
  // or `dest` moved to the control's corner, plus `offset`, cut to the control; the source is the
  // whole image or `source` cut to it. False when the description has no file or its image cannot be
  // loaded (the caller then resets the description so that it is not tried again); true otherwise, also
  // when nothing was visible.
  static bool PaintImage(IRenderCanvas& canvas, CSkinHost* host, const SkinRect& control, const SkinRect& dirty,
                         const SkinImageSpec& spec);

  // The drawing core, also used for inline images of mark-up text. Natural size (1:1 from the
  // top-left, no scaling) when !stretch and the corner read as a rectangle is empty; 1:1 when
  // destination and source have the same size; otherwise nine pieces cut by `corner` (left, top,
  // right, bottom border widths): corners 1:1, edges and centre scaled, the centre tiled with
  // xtiled/ytiled and left out with `hole`. Nothing is drawn outside `dirty`. `alpha` tells whether
  // the image's transparency must be honoured; images are always blended, which for an opaque
  // image is the same as copying it. `fade` is the constant opacity.
  static void BlitImagePieces(IRenderCanvas& canvas, const SkinBitmapInfo& bitmap, const SkinRect& dest,
                              const SkinRect& dirty, const SkinRect& source, const SkinRect& corner, bool alpha,
                              std::uint8_t fade, bool hole, bool xtiled, bool ytiled, bool stretch);

  // Plain text in the host's font `font` (-1 or an index outside the list: the default font).
  // With DT_CALCRECT nothing is drawn and `rc` becomes the size the text needs (its right and
  // bottom; `canvas` may then be null). On a layered host the colour's alpha is honoured and
  // multi-line text wraps; elsewhere the colour is opaque and vertically aligned text is one line.
  static void RenderPlainText(IRenderCanvas* canvas, CSkinHost* host, SkinRect& rc, const std::wstring& text,
                              SkinColor color, int font, TextStyle style);

  // Text with inline mark-up (see markup_text_layout.h) starting in the host's default font and
  // `color` (drawn opaque). `links`/`linkTexts` receive the rectangle and the argument of each link
  // drawn; `linkCount` is their capacity on input and the number of links on output (the arrays may
  // be null with a capacity of 0). The rectangles passed in are those of the previous paint: the
  // link under the host's last mouse point is drawn in the hover colour. With DT_CALCRECT nothing
  // is drawn and `rc`'s right and bottom become what the text needs (`canvas` may be null).
  // Returns the height used.
  static int RenderMarkupText(IRenderCanvas* canvas, CSkinHost* host, SkinRect& rc, const std::wstring& text,
                              SkinColor color, SkinRect* links, std::wstring* linkTexts, int& linkCount,
                              TextStyle style);
};

}  // namespace SkinUI
