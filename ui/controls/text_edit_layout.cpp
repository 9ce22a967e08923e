#include "ui/controls/text_edit_layout.h"

#include <pango/pangocairo.h>

#include <algorithm>


namespace SkinUI {
namespace {

// Bytes of a character in the layout's UTF-8 (what the text services write for it: NUL, lone
// surrogates and values beyond Unicode become U+FFFD).
int Utf8Length(wchar_t c) {
  const auto u = static_cast<std::uint32_t>(c);
  if (u == 0 || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) return 3;
  if (u < 0x80) return 1;
  if (u < 0x800) return 2;
  if (u < 0x10000) return 3;
  return 4;
}

int ToPixels(int pangoUnits) { return PANGO_PIXELS(pangoUnits); }

SkinRect ToRect(const PangoRectangle& r) {
  return {ToPixels(r.x), ToPixels(r.y), ToPixels(r.x + r.width), ToPixels(r.y + r.height)};
}

}  // namespace

CTextEditLayout::CTextEditLayout() { offsets_.push_back(0); }

CTextEditLayout::~CTextEditLayout() = default;

void CTextEditLayout::Update(const SkinFontInfo& font, const std::wstring& text, int wrapWidth, Align align) {
  offsets_.assign(1, 0);
  offsets_.reserve(text.size() + 1);
  for (wchar_t c : text) offsets_.push_back(offsets_.back() + Utf8Length(c));
  // The layout text drawing uses, so that the caret and the glyphs agree.
  owned_ = CPangoText::RunLayout(font, text);
  layout_ = owned_.get();
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
  if (layout_ == nullptr) return {0, 0, 1, 1};
  PangoRectangle strong;
  pango_layout_get_cursor_pos(layout_, ByteOffset(index), &strong, nullptr);
  SkinRect rc = ToRect(strong);
  rc.right = rc.left + 1;
  if (rc.bottom <= rc.top) rc.bottom = rc.top + LineHeight();
  return rc;
}

int CTextEditLayout::IndexAt(SkinPoint pt) const {
  if (layout_ == nullptr) return 0;
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
  if (from >= to || layout_ == nullptr) return out;
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
  if (layout_ == nullptr) return {};
  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout_, nullptr, &logical);
  return {logical.x + logical.width, logical.y + logical.height};
}

int CTextEditLayout::LineHeight() const {
  if (layout_ == nullptr) return 0;
  PangoLayoutIter* iter = pango_layout_get_iter(layout_);
  int top = 0;
  int bottom = 0;
  pango_layout_iter_get_line_yrange(iter, &top, &bottom);
  pango_layout_iter_free(iter);
  return ToPixels(bottom - top);
}

std::vector<CTextEditLayout::Line> CTextEditLayout::Lines() const {
  std::vector<Line> out;
  if (layout_ == nullptr) return out;
  PangoLayoutIter* iter = pango_layout_get_iter(layout_);
  do {
    PangoLayoutLine* line = pango_layout_iter_get_line_readonly(iter);
    PangoRectangle logical;
    pango_layout_iter_get_line_extents(iter, nullptr, &logical);
    Line l;
    l.from = CharIndex(line->start_index);
    l.to = CharIndex(line->start_index + line->length);
    l.x = ToPixels(logical.x);
    l.baseline = ToPixels(pango_layout_iter_get_baseline(iter));
    out.push_back(l);
  } while (pango_layout_iter_next_line(iter));
  pango_layout_iter_free(iter);
  return out;
}

}  // namespace SkinUI
