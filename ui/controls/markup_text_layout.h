#pragma once
// Layout of text with inline mark-up ("showhtml" labels, the licence line with its link).
//
// Tags open with "<" or "{" and close with ">" or "}" (interchangeably); a tag is one lowercase
// letter followed by a space or the closer, a closing tag is "</x>" or "{/x}":
//   {a link}..{/a}  link (link colour, or the hover colour under the mouse; its rectangles and
//                   argument are reported)          {b}..{/b}  bold
//   {c #RRGGBB}..{/c} colour                          {f 2}, {f Face 14 bold underline}..{/f} font
//   {i}..{/i}       italic                            {i name [frames [frame]]}  inline image
//   {n}             line break                        {o}..{/o}  strikeout
//   {p 6}..{/p}     paragraph with 6 pixels above each line      {r}..{/r}  raw text
//   {s}..{/s}       selected (the host's selection background)   {u}..{/u}  underline
//   {x 4}           pen 4 pixels right                {y 20}     line height 20
// "<{>" draws "{" (and "<}>" "}"), "{<}" draws "<" (and "{>}" ">"). Anything else that is not a
// tag, a tag without its closer included, is ordinary text.
//
// Each line is laid out twice when drawing: once to measure its height (runs of different sizes
// share a bottom line) and once to draw. Multi-line text wraps 8 pixels before the right edge,
// with DT_WORDBREAK after the last character that is not an ASCII letter (a word that follows such
// a character on the line moves to the next line whole); single-line text with DT_END_ELLIPSIS
// ends in "..." inside the rectangle.
#include <string>

#include "ui/controls/text_style.h"
#include "ui/core/render_canvas.h"
#include "ui/core/skin_host.h"

namespace SkinUI {

class CMarkupTextLayout {
 public:
  // `canvas` may be null when `style` has DT_CALCRECT (nothing is drawn then).
  CMarkupTextLayout(IRenderCanvas* canvas, CSkinHost* host, TextStyle style);

  // One layout of `text` in `rc` (see CSkinRender::RenderMarkupText). Returns the height used.
  int Run(SkinRect& rc, const std::wstring& text, SkinColor color, SkinRect* links, std::wstring* linkTexts,
          int& linkCount);

 private:
  struct State;
  struct Tag;

  bool LayLine(State& s, bool draw, int top, int lineHeight);
  bool PlaceRun(State& s, bool draw, int top, int lineHeight, const std::wstring& run, std::size_t& taken);
  void Emit(const State& s, int top, int lineHeight, const std::wstring& run, int width);
  bool ApplyTag(State& s, bool draw, int top, int lineHeight, const Tag& tag, std::size_t tagStart);
  bool PlaceImage(State& s, bool draw, int top, int lineHeight, const std::wstring& arg, std::size_t tagStart);
  void FinishLine(State& s, int top);
  void StoreLink(State& s, int top, int lineHeight, int right, bool final);

  bool ParseTag(std::size_t pos, Tag& tag) const;
  bool Escape(std::size_t pos, wchar_t& out) const;
  bool RawCloserAt(std::size_t pos) const;

  SkinFontInfo* Measured(SkinFontInfo* font) const;
  SkinFontInfo* Variant(const SkinFontInfo& base, int weight, bool underline, bool italic, bool strikeout) const;
  SkinFontInfo* FontFromArgument(const std::wstring& arg, const SkinFontInfo& current) const;
  void SelectFont(State& s, SkinFontInfo* font) const;
  void PushFont(State& s, SkinFontInfo* font) const;
  void PopFont(State& s) const;
  void PushColor(State& s, SkinColor color) const;
  void PopColor(State& s) const;
  int Spacing(const State& s) const;

  IRenderCanvas* canvas_;
  CSkinHost* host_;
  TextStyle style_;
  bool measuring_;
  bool single_;
  const std::wstring* text_ = nullptr;
  SkinRect rc_;      // the rectangle laid out in (after the alignment of the whole text)
  int right_ = 0;    // usable right edge
  SkinFontInfo* defaultFont_ = nullptr;
  SkinColor defaultColor_ = 0;
  bool hover_ = false;
  std::wstring hoverText_;
  SkinRect* links_ = nullptr;
  std::wstring* linkTexts_ = nullptr;
  int capacity_ = 0;
  int widest_ = 0;
  bool hasImage_ = false;
  int imageBottom_ = 0;
};

}  // namespace SkinUI
