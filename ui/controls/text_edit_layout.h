#pragma once
// The Pango layout of an edit field's text: where each character position lies (for the caret,
// the selection and mouse hits) and how large the text is. Coordinates are relative to the
// layout's origin, the top-left corner of its first line.
#include <string>
#include <vector>

#include "ui/controls/pango_text.h"
#include "ui/core/skin_host.h"
#include "ui/core/skin_types.h"

namespace SkinUI {

class CTextEditLayout {
 public:
  enum class Align { kLeft, kCenter, kRight };

  CTextEditLayout();
  ~CTextEditLayout();
  CTextEditLayout(const CTextEditLayout&) = delete;
  CTextEditLayout& operator=(const CTextEditLayout&) = delete;

  // Lays `text` out in `font`. With `wrapWidth` > 0 lines wrap at that width (at word
  // boundaries, inside long words when needed) and are aligned within it.
  void Update(const SkinFontInfo& font, const std::wstring& text, int wrapWidth, Align align);

  // The caret at character position `index`: one pixel wide, a line high.
  SkinRect CaretRect(int index) const;
  // The character position nearest to `pt` (before or after the character hit, whichever edge
  // is closer).
  int IndexAt(SkinPoint pt) const;
  // The caret position one line above (negative) or below (positive) the one at `index`, at the
  // same horizontal position; the first / last position when there is no such line.
  int IndexOnLine(int index, int lines) const;
  // One rectangle per line of the range from..to.
  std::vector<SkinRect> RangeRects(int from, int to) const;
  // The text's size (width of the widest line, height of all lines; one empty line's height
  // for no text).
  SkinSize Size() const;
  int LineHeight() const;
  // The lines as laid out: characters from..to (without the line break), the x where the line
  // starts and the y of its baseline.
  struct Line {
    int from = 0;
    int to = 0;
    int x = 0;
    int baseline = 0;
  };
  std::vector<Line> Lines() const;
  PangoLayout* Layout() const { return layout_; }

 private:
  int ByteOffset(int index) const;
  int CharIndex(int byteOffset) const;

  PangoLayoutPtr owned_;
  PangoLayout* layout_ = nullptr;
  // Byte offset of every character position (one more than the characters).
  std::vector<int> offsets_;
};

}  // namespace SkinUI
