#include "ui/controls/markup_text_layout.h"

#include <algorithm>
#include <vector>

#include "ui/controls/pango_text.h"
#include "ui/core/skin_image_spec.h"
#include "ui/core/skin_value.h"

namespace SkinUI {
namespace {

// Multi-line text stops this far before the right edge.
constexpr int kWrapMargin = 8;
// Font size of an "f" tag that names a face without a size.
constexpr int kDefaultTagFontSize = 10;
constexpr SkinColor kOpaque = 0xFF000000;

bool IsOpener(wchar_t c) { return c == L'<' || c == L'{'; }
bool IsCloser(wchar_t c) { return c == L'>' || c == L'}'; }
bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool IsDigits(const std::wstring& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

std::vector<std::wstring> Words(const std::wstring& s) {
  std::vector<std::wstring> out;
  std::wstring cur;
  for (wchar_t c : s + L" ") {
    if (c == L' ' || c == L'\t') {
      if (!cur.empty()) out.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  return out;
}

std::wstring Lower(std::wstring s) {
  for (wchar_t& c : s)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return s;
}

}  // namespace

struct CMarkupTextLayout::State {
  std::size_t pos = 0;
  int x = 0;
  int lineHeight = 0;
  SkinFontInfo* font = nullptr;
  SkinColor color = 0;
  std::vector<SkinFontInfo*> fonts;
  std::vector<SkinColor> colors;
  std::vector<int> spacings;
  bool raw = false;
  bool selected = false;
  bool inLink = false;
  int linkX = 0;
  std::wstring linkText;
  bool breakBefore = false;  // the last character placed is a break point (not an ASCII letter)
  int slot = 0;           // next link slot
  int lineFirstSlot = 0;  // first slot of the current line
};

struct CMarkupTextLayout::Tag {
  wchar_t letter = 0;
  bool closing = false;
  std::wstring arg;
  std::size_t end = 0;  // index after the closer
};

CMarkupTextLayout::CMarkupTextLayout(IRenderCanvas* canvas, CSkinHost* host, TextStyle style)
    : canvas_(canvas),
      host_(host),
      style_(style),
      measuring_((style & DT_CALCRECT) != 0 || canvas == nullptr),
      single_((style & DT_SINGLELINE) != 0) {}

int CMarkupTextLayout::Run(SkinRect& rc, const std::wstring& text, SkinColor color, SkinRect* links,
                           std::wstring* linkTexts, int& linkCount) {
  capacity_ = links != nullptr && linkTexts != nullptr ? std::max(0, linkCount) : 0;
  if (rc.IsEmpty() || text.empty() || host_ == nullptr) {
    linkCount = 0;
    return 0;
  }
  text_ = &text;
  links_ = links;
  linkTexts_ = linkTexts;
  defaultFont_ = Measured(host_->Font(-1));
  defaultColor_ = color;

  // The links of the previous paint decide which one the mouse is over.
  const SkinPoint mouse = host_->LastMousePoint();
  for (int i = 0; i < capacity_; ++i) {
    if (links_[i].Contains(mouse)) {
      hover_ = true;
      hoverText_ = linkTexts_[i];
      break;
    }
  }

  // Aligned text is measured first and the rectangle moved to where the text goes.
  rc_ = rc;
  if (!measuring_ && (style_ & (kTextHorizontalBits | kTextVerticalBits)) != 0) {
    SkinRect need = rc;
    int none = 0;
    CMarkupTextLayout(nullptr, host_, style_ | DT_CALCRECT).Run(need, text, color, nullptr, nullptr, none);
    if (single_ && (style_ & DT_CENTER) != 0) {
      rc_.left += (rc.Width() - need.Width()) / 2;
      rc_.right = rc_.left + need.Width();
    } else if (single_ && (style_ & DT_RIGHT) != 0) {
      rc_.left = rc.right - need.Width();
    }
    if ((style_ & DT_VCENTER) != 0) {
      rc_.top += (rc.Height() - need.Height()) / 2;
      rc_.bottom = rc_.top + need.Height();
    } else if ((style_ & DT_BOTTOM) != 0) {
      rc_.top = rc.bottom - need.Height();
    }
  }
  right_ = single_ ? rc_.right : rc_.right - kWrapMargin;
  widest_ = rc_.left;

  if (!measuring_) canvas_->PushClipRect(rc);

  State s;
  s.font = defaultFont_;
  s.color = defaultColor_;
  s.x = rc_.left;
  s.lineHeight = s.font->height + s.font->externalLeading;
  int top = rc_.top;
  int lastTop = top;
  int lastHeight = s.lineHeight;
  for (;;) {
    if (measuring_) {
      LayLine(s, false, top, 0);
    } else {
      State probe = s;
      LayLine(probe, false, top, 0);
      LayLine(s, true, top, probe.lineHeight);
      s.lineHeight = probe.lineHeight;
    }
    FinishLine(s, top);
    lastTop = top;
    lastHeight = s.lineHeight;
    if (single_ || s.pos >= text.size()) break;
    top += s.lineHeight;
    if (top >= rc_.bottom) break;  // the next line would start below the rectangle
    s.x = rc_.left;
    s.lineHeight = Spacing(s) + s.font->height + s.font->externalLeading;
    s.lineFirstSlot = s.slot;
  }
  if (!measuring_) canvas_->PopClip();

  int bottom = lastTop + lastHeight;
  if (hasImage_) bottom = std::max(bottom, imageBottom_);
  if ((style_ & DT_CALCRECT) != 0) {
    rc.bottom = bottom;
    rc.right = std::min(rc.right, widest_);
  }
  linkCount = std::min(s.slot, capacity_);
  return bottom - rc_.top;
}

// Lays out one line from s.pos; true when the text is used up. Tags that draw nothing are taken
// on the line they end; text and images go to the next line once the pen reached the edge.
bool CMarkupTextLayout::LayLine(State& s, bool draw, int top, int lineHeight) {
  const std::wstring& t = *text_;
  const std::size_t n = t.size();
  const auto atEdge = [&] { return !single_ && s.x > rc_.left && s.x >= right_; };
  for (;;) {
    if (s.pos >= n) return true;
    const wchar_t c = t[s.pos];
    if (s.raw) {
      if (RawCloserAt(s.pos)) {
        s.pos += 4;
        s.raw = false;
        continue;
      }
    } else if (IsOpener(c)) {
      wchar_t escaped = 0;
      Tag tag;
      if (Escape(s.pos, escaped)) {
        if (atEdge()) return false;
        std::size_t taken = 0;
        const bool ended = PlaceRun(s, draw, top, lineHeight, std::wstring(1, escaped), taken);
        if (taken > 0) s.pos += 3;
        if (ended) return false;
        continue;
      }
      if (ParseTag(s.pos, tag)) {
        const std::size_t start = s.pos;
        s.pos = tag.end;
        if (ApplyTag(s, draw, top, lineHeight, tag, start)) return false;
        continue;
      }
    }
    if (c == L'\r') {
      ++s.pos;
      continue;
    }
    if (c == L'\n') {
      ++s.pos;
      if (single_) continue;
      return false;
    }
    if (atEdge()) return false;
    std::size_t end = s.pos + 1;
    if (c != L' ' || s.raw) {  // a space on its own is a run of its own (underlined fonts still draw it)
      while (end < n && t[end] != L'\n' && t[end] != L'\r' && (s.raw ? !RawCloserAt(end) : !IsOpener(t[end]))) ++end;
    }
    std::size_t taken = 0;
    const bool ended = PlaceRun(s, draw, top, lineHeight, t.substr(s.pos, end - s.pos), taken);
    s.pos += taken;
    if (ended) return false;
  }
}

// Places as much of `run` as the line takes; true when the line ends after it.
bool CMarkupTextLayout::PlaceRun(State& s, bool draw, int top, int lineHeight, const std::wstring& run,
                                 std::size_t& taken) {
  const SkinFontInfo& f = *s.font;
  const int avail = right_ - s.x;
  const bool lone = run == L" ";
  // While the widest character times the count keeps the run inside, only its width matters.
  const bool certain = lone || static_cast<long long>(run.size()) * f.maxCharWidth <= avail;
  std::vector<int> edges;
  const int width = CPangoText::RunWidth(f, run, certain ? nullptr : &edges);
  if (lone || width <= avail) {
    if (draw) Emit(s, top, lineHeight, run, width);
    s.x += width;
    widest_ = std::max(widest_, s.x);
    s.breakBefore = !IsAsciiLetter(run.back());
    taken = run.size();
    return false;
  }
  if (edges.empty()) CPangoText::RunWidth(f, run, &edges);
  std::size_t fit = 0;
  while (fit < run.size() && edges[fit + 1] <= avail) ++fit;
  // At the left edge the character that crosses it stays (a line holds at least one); elsewhere
  // it goes to the next line.
  std::size_t count = s.x <= rc_.left ? fit + 1 : fit;
  if ((style_ & DT_WORDBREAK) != 0) {
    std::size_t cut = fit;
    while (cut > 0 && IsAsciiLetter(run[cut - 1])) --cut;
    if (cut > 0)
      count = cut;
    else if (s.x > rc_.left && s.breakBefore && IsAsciiLetter(run[0]))
      count = 0;  // a word that follows a break point moves to the next line whole
  }
  const bool ellipsis = single_ && (style_ & DT_END_ELLIPSIS) != 0;
  int dots = 0;
  if (ellipsis) {
    // Two characters make room for the dots; more go when they are narrower than the dots.
    count -= std::min<std::size_t>(count, count >= 2 ? 2 : 1);
    dots = CPangoText::RunWidth(f, L"...");
    while (count > 0 && edges[count] + dots > avail) --count;
  }
  const int used = edges[count];
  if (draw) Emit(s, top, lineHeight, run.substr(0, count), used);
  if (count > 0) s.breakBefore = !IsAsciiLetter(run[count - 1]);
  if (ellipsis) {
    if (draw) canvas_->DrawTextRun(s.x + used, top, L"...", f, s.color | kOpaque);
    s.x = right_;
  } else {
    s.x += used;
  }
  widest_ = std::max(widest_, s.x);
  taken = count;
  return true;
}

void CMarkupTextLayout::Emit(const State& s, int top, int lineHeight, const std::wstring& run, int width) {
  if (run.empty()) return;
  const SkinFontInfo& f = *s.font;
  int x = s.x;
  if (!single_) {
    // Each run is centred or right-aligned by its own width.
    if ((style_ & DT_CENTER) != 0)
      x += (rc_.Width() - width) / 2;
    else if ((style_ & DT_RIGHT) != 0)
      x += rc_.Width() - width;
  }
  const int cell = f.height + f.externalLeading;
  const int y = top + lineHeight - cell;  // runs of different sizes share the line's bottom
  if (s.selected) canvas_->FillColor({x, y, x + width, y + cell}, host_->SelectedTextColor() | kOpaque);
  canvas_->DrawTextRun(x, y, run, f, s.color | kOpaque);
}

// Applies a tag; true when it ends the line.
bool CMarkupTextLayout::ApplyTag(State& s, bool draw, int top, int lineHeight, const Tag& tag, std::size_t tagStart) {
  const bool final = draw || measuring_;
  const int currentHeight = draw ? lineHeight : s.lineHeight;
  if (tag.closing) {
    switch (tag.letter) {
      case L'a':
        if (!s.inLink) return false;
        StoreLink(s, top, currentHeight, s.x, final);
        s.inLink = false;
        PopColor(s);
        PopFont(s);
        return false;
      case L'b':
      case L'f':
      case L'i':
      case L'o':
      case L'u':
        PopFont(s);
        return false;
      case L'c':
        PopColor(s);
        return false;
      case L'p': {
        const bool ends = s.x > rc_.left;
        if (!s.spacings.empty()) s.spacings.pop_back();
        return ends;
      }
      case L's':
        s.selected = !s.selected;
        return false;
      default:
        return false;
    }
  }
  const SkinFontInfo& f = *s.font;
  switch (tag.letter) {
    case L'a':
      if (s.inLink) StoreLink(s, top, currentHeight, s.x, final);
      s.inLink = true;
      s.linkX = s.x;
      s.linkText = tag.arg;
      PushColor(s, hover_ && tag.arg == hoverText_ ? host_->LinkHoverTextColor() : host_->LinkTextColor());
      // Links keep the font they start in (no underline of their own); pushed so that the
      // closing tag restores exactly what was there.
      PushFont(s, s.font);
      return false;
    case L'b':
      PushFont(s, Variant(f, 700, f.underline, f.italic, f.strikeout));
      return false;
    case L'c':
      PushColor(s, ParseSkinColor(tag.arg));
      return false;
    case L'f':
      PushFont(s, FontFromArgument(tag.arg, f));
      return false;
    case L'i':
      if (tag.arg.empty()) {
        PushFont(s, Variant(f, f.weight, f.underline, true, f.strikeout));
        return false;
      }
      return PlaceImage(s, draw, top, lineHeight, tag.arg, tagStart);
    case L'n':
      return !single_;
    case L'o':
      PushFont(s, Variant(f, f.weight, f.underline, f.italic, true));
      return false;
    case L'p':
      s.spacings.push_back(ClampCoord(ParseSkinInt(tag.arg)));
      return s.x > rc_.left;
    case L'r':
      s.raw = true;
      return false;
    case L's':
      s.selected = !s.selected;
      return false;
    case L'u':
      PushFont(s, Variant(f, f.weight, true, f.italic, f.strikeout));
      return false;
    case L'x':
      s.x = ClampCoord(static_cast<long long>(s.x) + ParseSkinInt(tag.arg));
      return false;
    case L'y':
      if (!draw) s.lineHeight = std::max(0, ClampCoord(ParseSkinInt(tag.arg)));
      return false;
    default:
      return false;  // unknown letters are skipped with their argument
  }
}

bool CMarkupTextLayout::PlaceImage(State& s, bool draw, int top, int lineHeight, const std::wstring& arg,
                                   std::size_t tagStart) {
  std::wstring name, restype;
  int frames = 1, frame = 0;
  if (arg.find(L'=') != std::wstring::npos) {
    SkinImageSpec spec;
    spec.Parse(arg);
    name = spec.file;
    restype = spec.restype;
  } else {
    const std::vector<std::wstring> words = Words(arg);
    if (words.empty()) return false;
    name = words[0];
    if (words.size() > 1) frames = std::max(1, ParseSkinInt(words[1]));
    if (words.size() > 2) frame = ParseSkinInt(words[2]);
    if (frame < 0 || frame >= frames) frame = 0;
  }
  const SkinBitmapInfo* image = host_->FindImage(name, restype);
  if (image == nullptr) return false;  // a missing image is skipped
  const int w = image->width / frames;
  const int h = image->height;
  if (w <= 0 || h <= 0) return false;
  if (s.x + w > right_ && s.x > rc_.left && !single_) {
    s.pos = tagStart;  // placed on the next line
    return true;
  }
  if (!draw) s.lineHeight = std::max(s.lineHeight, h);
  const int line = draw ? lineHeight : s.lineHeight;
  // Bottom-aligned to the line, centred in it when shorter.
  const int y = h < line ? top + (line - h) / 2 : top + line - h;
  if (draw) canvas_->DrawBitmap(*image, {s.x, y, s.x + w, y + h}, {frame * w, 0, frame * w + w, h}, 255);
  if (draw || measuring_) {
    hasImage_ = true;
    imageBottom_ = y + h;
  }
  s.x += w;
  s.breakBefore = true;
  widest_ = std::max(widest_, s.x);
  return false;
}

void CMarkupTextLayout::StoreLink(State& s, int top, int lineHeight, int right, bool final) {
  if (final && s.slot < capacity_) {
    links_[s.slot] = {s.linkX, top, right, top + lineHeight};
    linkTexts_[s.slot] = s.linkText;
  }
  ++s.slot;
}

void CMarkupTextLayout::FinishLine(State& s, int top) {
  if (s.inLink) {
    // A link open at the line's end covers the rest of the line and goes on in the next slot.
    StoreLink(s, top, s.lineHeight, right_, true);
    s.linkX = rc_.left;
  }
  for (int i = s.lineFirstSlot; i < std::min(s.slot, capacity_); ++i) links_[i].bottom = top + s.lineHeight;
  widest_ = std::max(widest_, std::min(s.x, rc_.right));
}

bool CMarkupTextLayout::ParseTag(std::size_t pos, Tag& tag) const {
  const std::wstring& t = *text_;
  const std::size_t n = t.size();
  std::size_t q = pos + 1;
  tag.closing = q < n && t[q] == L'/';
  if (tag.closing) ++q;
  if (q + 1 >= n || t[q] < L'a' || t[q] > L'z') return false;
  tag.letter = t[q++];
  if (t[q] != L' ' && !IsCloser(t[q])) return false;
  std::size_t close = q;
  while (close < n && !IsCloser(t[close])) ++close;
  if (close >= n) return false;  // never closed: ordinary text
  std::size_t a = q, b = close;
  while (a < b && t[a] == L' ') ++a;
  while (b > a && t[b - 1] == L' ') --b;
  tag.arg = t.substr(a, b - a);
  tag.end = close + 1;
  return true;
}

bool CMarkupTextLayout::Escape(std::size_t pos, wchar_t& out) const {
  const std::wstring& t = *text_;
  if (pos + 2 >= t.size()) return false;
  const wchar_t a = t[pos], b = t[pos + 1], c = t[pos + 2];
  if ((a == L'<' && (b == L'{' || b == L'}') && c == L'>') || (a == L'{' && (b == L'<' || b == L'>') && c == L'}')) {
    out = b;
    return true;
  }
  return false;
}

bool CMarkupTextLayout::RawCloserAt(std::size_t pos) const {
  const std::wstring& t = *text_;
  return pos + 3 < t.size() && IsOpener(t[pos]) && t[pos + 1] == L'/' && t[pos + 2] == L'r' && IsCloser(t[pos + 3]);
}

SkinFontInfo* CMarkupTextLayout::Measured(SkinFontInfo* font) const {
  host_->FontInfo(*font);
  return font;
}

// The host's font with these attributes, added to its list the first time.
SkinFontInfo* CMarkupTextLayout::Variant(const SkinFontInfo& base, int weight, bool underline, bool italic,
                                         bool strikeout) const {
  SkinFontInfo* f = host_->FindFont(base.face, base.size, weight, underline, italic, strikeout);
  if (f == nullptr) f = host_->AddFont(base.face, base.size, weight, underline, italic, strikeout, base.fromFile);
  return Measured(f);
}

// "2" (a font index) or "Face Name 14 bold underline italic strikeout" (size 10 when left out,
// the current face when none is named).
SkinFontInfo* CMarkupTextLayout::FontFromArgument(const std::wstring& arg, const SkinFontInfo& current) const {
  if (IsDigits(arg)) return Measured(host_->Font(ParseSkinInt(arg)));
  std::wstring face;
  int size = kDefaultTagFontSize;
  bool sized = false, bold = false, underline = false, italic = false, strikeout = false;
  for (const std::wstring& word : Words(arg)) {
    const std::wstring w = Lower(word);
    if (w == L"bold") {
      bold = true;
    } else if (w == L"underline") {
      underline = true;
    } else if (w == L"italic") {
      italic = true;
    } else if (w == L"strikeout") {
      strikeout = true;
    } else if (!sized && IsDigits(word)) {
      size = std::clamp(ParseSkinInt(word), 1, kSkinCoordLimit);
      sized = true;
    } else if (!sized) {
      face += (face.empty() ? L"" : L" ") + word;
    }
  }
  SkinFontInfo base = current;
  if (!face.empty()) base.face = face;
  base.size = size;
  base.fromFile = false;
  return Variant(base, bold ? 700 : 0, underline, italic, strikeout);
}

int CMarkupTextLayout::Spacing(const State& s) const { return s.spacings.empty() ? 0 : s.spacings.back(); }

void CMarkupTextLayout::SelectFont(State& s, SkinFontInfo* font) const {
  s.font = font;
  s.lineHeight = std::max(s.lineHeight, Spacing(s) + font->height + font->externalLeading);
}

void CMarkupTextLayout::PushFont(State& s, SkinFontInfo* font) const {
  s.fonts.push_back(font);
  SelectFont(s, font);
}

void CMarkupTextLayout::PopFont(State& s) const {
  SkinFontInfo* left = s.font;
  if (!s.fonts.empty()) s.fonts.pop_back();  // an empty stack keeps the default font
  SkinFontInfo* next = s.fonts.empty() ? defaultFont_ : s.fonts.back();
  // Italic text leans over its end; leave it some room.
  if (left->italic && !next->italic) s.x += CPangoText::RunWidth(*left, L" ") / 2;
  SelectFont(s, next);
}

void CMarkupTextLayout::PushColor(State& s, SkinColor color) const {
  s.colors.push_back(color);
  s.color = color;
}

void CMarkupTextLayout::PopColor(State& s) const {
  if (!s.colors.empty()) s.colors.pop_back();  // an empty stack keeps the default colour
  s.color = s.colors.empty() ? defaultColor_ : s.colors.back();
}

}  // namespace SkinUI
