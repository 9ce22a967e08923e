#pragma once
// Text layout over Pango, shared by measuring and drawing so that both see the same widths: the
// fixed font options, the font description of a host font record, single runs (mark-up text)
// and plain text laid out in a rectangle by the text style flags.
#include <pango/pangocairo.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/controls/text_style.h"
#include "ui/core/skin_host.h"
#include "ui/core/skin_types.h"

namespace SkinUI {

struct GObjectUnref {
  void operator()(void* p) const { g_object_unref(p); }
};
using PangoLayoutPtr = std::unique_ptr<PangoLayout, GObjectUnref>;

// A plain text laid out for a rectangle: draw the layout with its top-left at (x, y); it covers
// width x height pixels. `clipBottom` is the bottom below which lines must not show (only whole
// lines with DT_EDITCONTROL; the rectangle's bottom otherwise).
struct PlainTextLayout {
  PangoLayoutPtr layout;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int clipBottom = 0;
};

class CPangoText {
 public:
  // The font options every text is laid out and drawn with (greyscale antialiasing, slight
  // hinting, whole-pixel metrics), never the desktop's, so every machine draws the same pixels.
  static const cairo_font_options_t* FontOptions();
  // The Pango context of this thread, made with those options over the default font map (made
  // again when the default font map was replaced).
  static PangoContext* Context();

  // Fills the metrics of `font` (the font backend's measuring hook).
  static void MeasureFont(SkinFontInfo& font);

  // A one-line layout of `text` in `font` (underline and strikeout included).
  static PangoLayoutPtr RunLayout(const SkinFontInfo& font, const std::wstring& text);
  // Width of `text` in `font`; with `edges`, also the x of every character boundary (text.size()
  // + 1 values, the first 0, the last the width).
  static int RunWidth(const SkinFontInfo& font, const std::wstring& text, std::vector<int>* edges = nullptr);

  // `text` laid out in `rc` by `style` (see text_style.h): wrapping with DT_WORDBREAK unless
  // DT_SINGLELINE; line feeds are spaces in single-line text; alignment; end, path and word
  // ellipsis.
  static PlainTextLayout LayoutPlainText(const SkinRect& rc, const std::wstring& text, const SkinFontInfo& font,
                                         TextStyle style);
};

}  // namespace SkinUI
