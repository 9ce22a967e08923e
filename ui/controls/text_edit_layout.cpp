#include "ui/controls/text_edit_layout.h"

#include <pango/pangocairo.h>

#include <algorithm>

#include "platform/text_encoding.h"

namespace SkinUI {
namespace {

int Utf8Length(wchar_t c) {
  const auto u = static_cast<std::uint32_t>(c);
  if (u < 0x80) return 1;
  if (u < 0x800) return 2;
  if (u < 0x10000) return 3;
  if (u < 0x110000) return 4;
  return 3;  // not a code point: written as U+FFFD
}

PangoFontDescription* CreateFontDescription(const SkinFontInfo& font) {
  PangoFontDescription* desc = pango_font_description_new();
  pango_font_description_set_family(desc, platform::WideToUtf8(font.face).c_str());
  pango_font_description_set_absolute_size(desc, std::clamp(font.size, 1, 4096) * PANGO_SCALE);
  if (font.weight > 0) pango_font_description_set_weight(desc, static_cast<PangoWeight>(std::clamp(font.weight, 100, 1000)));
  if (font.italic) pango_font_description_set_style(desc, PANGO_STYLE_ITALIC);
  return desc;
}

int ToPixels(int pangoUnits) { return PANGO_PIXELS(pangoUnits); }

SkinRect ToRect(const PangoRectangle& r) {
  return {ToPixels(r.x), ToPixels(r.y), ToPixels(r.x + r.width), ToPixels(r.y + r.height)};
}

}  // namespace

CTextEditLayout::CTextEditLayout() {
  PangoContext* context = pango_font_map_create_context(pango_cairo_font_map_get_default());
  layout_ = pango_layout_new(context);
  g_object_unref(context);
  offsets_.push_back(0);
}

CTextEditLayout::~CTextEditLayout() { g_object_unref(layout_); }

void CTextEditLayout::Update(const SkinFontInfo& font, const std::wstring& text, int wrapWidth, Align align) {
  utf8_ = platform::WideToUtf8(text);
  offsets_.assign(1, 0);
  offsets_.reserve(text.size() + 1);
  for (wchar_t c : text) offsets_.push_back(offsets_.back() + Utf8Length(c));

  PangoFontDescription* desc = CreateFontDescription(font);
  pango_layout_set_font_description(layout_, desc);
  pango_font_description_free(desc);
  PangoAttrList* attrs = pango_attr_list_new();
  if (font.underline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  if (font.strikeout) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
  pango_layout_set_attributes(layout_, attrs);
  pango_attr_list_unref(attrs);

  pango_layout_set_text(layout_, utf8_.c_str(), static_cast<int>(utf8_.size()));
  if (wrapWidth > 0) {
    pango_layout_set_width(layout_, wrapWidth * PANGO_SCALE);
    pango_layout_set_wrap(layout_, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_alignment(layout_, align == Align::kCenter  ? PANGO_ALIGN_CENTER
                                        : align == Align::kRight ? PANGO_ALIGN_RIGHT
                                                                 : PANGO_ALIGN_LEFT);
  } else {
    pango_layout_set_width(layout_, -1);
    pango_layout_set_alignment(layout_, PANGO_ALIGN_LEFT);
  }
}

int CTextEditLayout::ByteOffset(int index) const {
  index = std::clamp(index, 0, static_cast<int>(offsets_.size()) - 1);
  return offsets_[index];
}

int CTextEditLayout::CharIndex(int byteOffset) const {
  auto it = std::lower_bound(offsets_.begin(), offsets_.end(), byteOffset);
  if (it == offsets_.end()) return static_cast<int>(offsets_.size()) - 1;
  return static_cast<int>(it - offsets_.begin());
}

SkinRect CTextEditLayout::CaretRect(int index) const {
  PangoRectangle strong;
  pango_layout_get_cursor_pos(layout_, ByteOffset(index), &strong, nullptr);
  SkinRect rc = ToRect(strong);
  rc.right = rc.left + 1;
  if (rc.bottom <= rc.top) rc.bottom = rc.top + LineHeight();
  return rc;
}

int CTextEditLayout::IndexAt(SkinPoint pt) const {
  int byteIndex = 0;
  int trailing = 0;
  pango_layout_xy_to_index(layout_, pt.x * PANGO_SCALE, pt.y * PANGO_SCALE, &byteIndex, &trailing);
  int index = CharIndex(byteIndex);
  // `trailing` counts characters past the one hit: the caret goes after it.
  return std::min(index + trailing, static_cast<int>(offsets_.size()) - 1);
}

int CTextEditLayout::IndexOnLine(int index, int lines) const {
  const SkinRect caret = CaretRect(index);
  const int y = lines < 0 ? caret.top - 1 : caret.bottom + 1;
  const SkinSize size = Size();
  if (y < 0) return 0;
  if (y >= size.cy) return static_cast<int>(offsets_.size()) - 1;
  return IndexAt({caret.left, y});
}

std::vector<SkinRect> CTextEditLayout::RangeRects(int from, int to) const {
  std::vector<SkinRect> out;
  if (from >= to) return out;
  const int start = ByteOffset(from);
  const int end = ByteOffset(to);
  PangoLayoutIter* iter = pango_layout_get_iter(layout_);
  do {
    PangoLayoutLine* line = pango_layout_iter_get_line_readonly(iter);
    const int lineStart = line->start_index;
    const int lineEnd = line->start_index + line->length;
    if (lineEnd < start || lineStart > end) continue;
    const int ranges[2] = {std::max(start, lineStart), std::min(end, lineEnd)};
    int* xs = nullptr;
    int count = 0;
    pango_layout_line_get_x_ranges(line, ranges[0], ranges[1], &xs, &count);
    int top = 0;
    int bottom = 0;
    pango_layout_iter_get_line_yrange(iter, &top, &bottom);
    for (int i = 0; i < count; ++i) {
      const int x0 = xs[2 * i];
      const int x1 = xs[2 * i + 1];
      if (x1 > x0) out.push_back({ToPixels(x0), ToPixels(top), ToPixels(x1), ToPixels(bottom)});
    }
    g_free(xs);
  } while (pango_layout_iter_next_line(iter));
  pango_layout_iter_free(iter);
  return out;
}

SkinSize CTextEditLayout::Size() const {
  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout_, nullptr, &logical);
  return {logical.x + logical.width, logical.y + logical.height};
}

int CTextEditLayout::LineHeight() const {
  PangoLayoutIter* iter = pango_layout_get_iter(layout_);
  int top = 0;
  int bottom = 0;
  pango_layout_iter_get_line_yrange(iter, &top, &bottom);
  pango_layout_iter_free(iter);
  return ToPixels(bottom - top);
}

}  // namespace SkinUI
