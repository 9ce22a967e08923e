#include "ui/controls/pango_text.h"

#include <algorithm>

#include "platform/text_encoding.h"

namespace SkinUI {
namespace {

// Pango sizes are fixed-point; a skin may write any number.
constexpr int kLargestFontSize = 4096;
constexpr wchar_t kEllipsis[] = L"\u2026";

struct FontDescriptionFree {
  void operator()(PangoFontDescription* d) const { pango_font_description_free(d); }
};
using FontDescriptionPtr = std::unique_ptr<PangoFontDescription, FontDescriptionFree>;

FontDescriptionPtr Description(const SkinFontInfo& f) {
  FontDescriptionPtr desc(pango_font_description_new());
  const std::string face = platform::WideToUtf8(f.face);
  pango_font_description_set_family(desc.get(), face.c_str());
  pango_font_description_set_absolute_size(desc.get(), std::clamp(f.size, 1, kLargestFontSize) * PANGO_SCALE);
  if (f.weight > 0)
    pango_font_description_set_weight(desc.get(), static_cast<PangoWeight>(std::clamp(f.weight, 100, 1000)));
  if (f.italic) pango_font_description_set_style(desc.get(), PANGO_STYLE_ITALIC);
  return desc;
}

// UTF-8 for Pango, which takes neither NUL characters nor invalid code points; `offsets` gets the
// byte offset of every character and the length at the end.
std::string ToUtf8(const std::wstring& text, std::vector<int>* offsets) {
  std::wstring clean = text;
  if (offsets != nullptr) offsets->assign(1, 0);
  int at = 0;
  for (wchar_t& c : clean) {
    const auto cp = static_cast<std::uint32_t>(c);
    const bool invalid = cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF);
    if (invalid) c = 0xFFFD;
    at += invalid ? 3 : cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
    if (offsets != nullptr) offsets->push_back(at);
  }
  return platform::WideToUtf8(clean);
}

PangoLayoutPtr NewLayout(const SkinFontInfo& font, const std::string& utf8) {
  PangoLayoutPtr layout(pango_layout_new(CPangoText::Context()));
  FontDescriptionPtr desc = Description(font);
  pango_layout_set_font_description(layout.get(), desc.get());
  if (font.underline || font.strikeout) {
    PangoAttrList* attrs = pango_attr_list_new();
    if (font.underline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (font.strikeout) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
    pango_layout_set_attributes(layout.get(), attrs);
    pango_attr_list_unref(attrs);
  }
  pango_layout_set_text(layout.get(), utf8.data(), static_cast<int>(utf8.size()));
  return layout;
}

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

// Single-line text cut after the last whole word that fits in `width` together with an ellipsis;
// empty when not even the first word fits.
std::wstring WordEllipsis(const SkinFontInfo& font, const std::wstring& text, int width) {
  std::vector<int> edges;
  CPangoText::RunWidth(font, text, &edges);
  const int ellipsis = CPangoText::RunWidth(font, kEllipsis);
  for (std::size_t n = text.size(); n > 0; --n) {
    // A word ends where a letter is followed by something that is not one.
    const bool wordEnd = IsAsciiLetter(text[n - 1]) ? !IsAsciiLetter(text[n]) : text[n - 1] != L' ';
    if (wordEnd && edges[n] + ellipsis <= width) return text.substr(0, n) + kEllipsis;
  }
  return {};
}

}  // namespace

const cairo_font_options_t* CPangoText::FontOptions() {
  static cairo_font_options_t* options = [] {
    cairo_font_options_t* o = cairo_font_options_create();
    cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_subpixel_order(o, CAIRO_SUBPIXEL_ORDER_DEFAULT);
    cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_ON);
    return o;
  }();
  return options;
}

PangoContext* CPangoText::Context() {
  struct Holder {
    PangoContext* context = nullptr;
    ~Holder() {
      if (context != nullptr) g_object_unref(context);
    }
  };
  thread_local Holder holder;
  PangoFontMap* map = pango_cairo_font_map_get_default();
  if (holder.context == nullptr || pango_context_get_font_map(holder.context) != map) {
    if (holder.context != nullptr) g_object_unref(holder.context);
    holder.context = pango_font_map_create_context(map);
    pango_cairo_context_set_font_options(holder.context, FontOptions());
  }
  return holder.context;
}

void CPangoText::MeasureFont(SkinFontInfo& f) {
  FontDescriptionPtr desc = Description(f);
  PangoContext* ctx = Context();
  f.ascent = f.descent = f.aveCharWidth = f.maxCharWidth = f.externalLeading = 0;
  if (PangoFontMetrics* m = pango_context_get_metrics(ctx, desc.get(), nullptr)) {
    f.ascent = PANGO_PIXELS_CEIL(pango_font_metrics_get_ascent(m));
    f.descent = PANGO_PIXELS_CEIL(pango_font_metrics_get_descent(m));
    f.aveCharWidth = PANGO_PIXELS_CEIL(pango_font_metrics_get_approximate_char_width(m));
    const int lineHeight = PANGO_PIXELS_CEIL(pango_font_metrics_get_height(m));
    f.externalLeading = std::max(0, lineHeight - f.ascent - f.descent);
    pango_font_metrics_unref(m);
  }
  // The widest advance of the primary font; characters from fallback fonts are measured anyway.
  if (PangoFont* font = pango_context_load_font(ctx, desc.get())) {
    if (cairo_scaled_font_t* scaled = pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(font))) {
      cairo_font_extents_t extents;
      cairo_scaled_font_extents(scaled, &extents);
      f.maxCharWidth = static_cast<int>(extents.max_x_advance + 0.999);
    }
    g_object_unref(font);
  }
  f.height = f.ascent + f.descent;
  if (f.height <= 0) f.height = std::clamp(f.size, 1, kLargestFontSize);  // no usable font: the nominal size
  f.maxCharWidth = std::max({f.maxCharWidth, f.aveCharWidth, 1});
  f.metricsValid = true;
}

PangoLayoutPtr CPangoText::RunLayout(const SkinFontInfo& font, const std::wstring& text) {
  return NewLayout(font, ToUtf8(text, nullptr));
}

int CPangoText::RunWidth(const SkinFontInfo& font, const std::wstring& text, std::vector<int>* edges) {
  std::vector<int> offsets;
  const std::string utf8 = ToUtf8(text, edges != nullptr ? &offsets : nullptr);
  PangoLayoutPtr layout = NewLayout(font, utf8);
  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout.get(), nullptr, &logical);
  const int width = logical.width;
  if (edges != nullptr) {
    edges->assign(text.size() + 1, 0);
    PangoLayoutLine* line = pango_layout_get_line_readonly(layout.get(), 0);
    for (std::size_t i = 1; i < text.size() && line != nullptr; ++i) {
      int x = 0;
      pango_layout_line_index_to_x(line, offsets[i], FALSE, &x);
      (*edges)[i] = std::clamp(PANGO_PIXELS(x), 0, width);
    }
    // Boundaries never run backwards, whatever the shaping did inside a cluster.
    for (std::size_t i = 1; i < text.size(); ++i) (*edges)[i] = std::max((*edges)[i], (*edges)[i - 1]);
    (*edges)[text.size()] = width;
  }
  return width;
}

PlainTextLayout CPangoText::LayoutPlainText(const SkinRect& rc, const std::wstring& input, const SkinFontInfo& font,
                                            TextStyle style) {
  const bool single = (style & DT_SINGLELINE) != 0;
  const int width = std::max(0, rc.Width());
  // Line breaks: CR LF and lone CRs are line feeds; single-line text shows them as spaces.
  std::wstring text;
  text.reserve(input.size());
  for (std::size_t i = 0; i < input.size(); ++i) {
    wchar_t c = input[i];
    if (c == L'\r') {
      if (i + 1 < input.size() && input[i + 1] == L'\n') continue;
      c = L'\n';
    }
    if (c == L'\n' && single) c = L' ';
    text += c;
  }
  if (single && (style & DT_WORD_ELLIPSIS) != 0 && (style & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS)) == 0 &&
      RunWidth(font, text) > width) {
    std::wstring cut = WordEllipsis(font, text, width);
    if (!cut.empty()) {
      text = cut;
      style &= ~DT_WORD_ELLIPSIS;
    } else {
      style |= DT_END_ELLIPSIS;  // not even one word: cut at a character
    }
  }

  PlainTextLayout out;
  out.layout = NewLayout(font, ToUtf8(text, nullptr));
  PangoLayout* layout = out.layout.get();
  PangoEllipsizeMode ellipsize = PANGO_ELLIPSIZE_NONE;
  if ((style & DT_PATH_ELLIPSIS) != 0)
    ellipsize = PANGO_ELLIPSIZE_MIDDLE;
  else if ((style & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS)) != 0)
    ellipsize = PANGO_ELLIPSIZE_END;
  const bool wrap = !single && (style & DT_WORDBREAK) != 0;
  const bool sized = wrap || ellipsize != PANGO_ELLIPSIZE_NONE;
  if (sized) {
    pango_layout_set_width(layout, width * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_ellipsize(layout, ellipsize);
    // Wrapped text is ellipsized on its last line that fits.
    if (ellipsize != PANGO_ELLIPSIZE_NONE && !single) pango_layout_set_height(layout, std::max(0, rc.Height()) * PANGO_SCALE);
  }
  PangoAlignment align = PANGO_ALIGN_LEFT;
  if ((style & DT_CENTER) != 0)
    align = PANGO_ALIGN_CENTER;
  else if ((style & DT_RIGHT) != 0)
    align = PANGO_ALIGN_RIGHT;
  pango_layout_set_alignment(layout, align);

  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout, nullptr, &logical);
  out.width = logical.width;
  out.height = logical.height;
  // Lines are aligned inside the layout's width; a layout without one is as wide as its longest
  // line and is itself aligned in the rectangle.
  out.x = rc.left;
  if (!sized) {
    if (align == PANGO_ALIGN_CENTER)
      out.x += (width - logical.width) / 2;
    else if (align == PANGO_ALIGN_RIGHT)
      out.x += width - logical.width;
    out.x -= logical.x;
  }
  out.y = rc.top;
  if ((style & DT_VCENTER) != 0)
    out.y += (rc.Height() - logical.height) / 2;
  else if ((style & DT_BOTTOM) != 0)
    out.y += rc.Height() - logical.height;
  out.clipBottom = rc.bottom;
  if ((style & DT_EDITCONTROL) != 0) {
    // Only lines that fit whole: stop at the bottom of the last one inside the rectangle.
    int lastWhole = rc.top;
    PangoLayoutIter* it = pango_layout_get_iter(layout);
    do {
      PangoRectangle line;
      pango_layout_iter_get_line_extents(it, nullptr, &line);
      const int bottom = out.y + PANGO_PIXELS(line.y + line.height);
      if (bottom > rc.bottom) break;
      lastWhole = bottom;
    } while (pango_layout_iter_next_line(it));
    pango_layout_iter_free(it);
    out.clipBottom = lastWhole;
  }
  return out;
}

}  // namespace SkinUI
