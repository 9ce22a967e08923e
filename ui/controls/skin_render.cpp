#include "ui/controls/skin_render.h"

#include <algorithm>

#include "ui/controls/markup_text_layout.h"
#include "ui/controls/pango_text.h"

namespace SkinUI {
namespace {

// `r` cut to the bitmap.
SkinRect InsideBitmap(const SkinRect& r, const SkinBitmapInfo& bitmap) {
  return {std::clamp(r.left, 0, bitmap.width), std::clamp(r.top, 0, bitmap.height),
          std::clamp(r.right, 0, bitmap.width), std::clamp(r.bottom, 0, bitmap.height)};
}

// The part of the destination starting at the first tile that meets `visible`; tiles are `step`
// apart from `from`.
int FirstTile(int from, int visibleFrom, int step) {
  return visibleFrom <= from ? from : from + (visibleFrom - from) / step * step;
}

// The centre piece: scaled, or tiled along x and/or y (tiles of the source centre's size drawn
// 1:1 along a tiled axis, the last one cut, and scaled along the other).
void DrawCentre(IRenderCanvas& canvas, const SkinBitmapInfo& bitmap, const SkinRect& d, const SkinRect& s,
                const SkinRect& visible, std::uint8_t fade, bool xtiled, bool ytiled) {
  if (!xtiled && !ytiled) {
    canvas.DrawBitmap(bitmap, d, s, fade);
    return;
  }
  const int tileW = xtiled ? s.Width() : d.Width();
  const int tileH = ytiled ? s.Height() : d.Height();
  for (int y = ytiled ? FirstTile(d.top, visible.top, tileH) : d.top; y < d.bottom && y < visible.bottom; y += tileH) {
    const int h = std::min(tileH, d.bottom - y);
    for (int x = xtiled ? FirstTile(d.left, visible.left, tileW) : d.left; x < d.right && x < visible.right;
         x += tileW) {
      const int w = std::min(tileW, d.right - x);
      const SkinRect src{s.left, s.top, xtiled ? s.left + w : s.right, ytiled ? s.top + h : s.bottom};
      canvas.DrawBitmap(bitmap, {x, y, x + w, y + h}, src, fade);
    }
  }
}

}  // namespace

bool CSkinRender::PaintImage(IRenderCanvas& canvas, CSkinHost* host, const SkinRect& control, const SkinRect& dirty,
                             const SkinImageSpec& spec) {
  if (spec.file.empty() || host == nullptr) return false;
  SkinRect dest = control;
  if (!spec.dest.IsNull()) {
    dest = spec.dest;
    dest.Offset(control.left, control.top);
  }
  dest.left += spec.offset.left;
  dest.top += spec.offset.top;
  dest.right += spec.offset.right;
  dest.bottom += spec.offset.bottom;
  const bool meetsControl = IntersectRect(dest, dest, control);

  const SkinBitmapInfo* bitmap =
      host->FindImage(spec.file, spec.restype, spec.mask, spec.svgSize.cx, spec.svgSize.cy);
  if (bitmap == nullptr) return false;
  const SkinRect source = spec.source.IsNull() ? SkinRect{0, 0, bitmap->width, bitmap->height} : spec.source;

  SkinRect visible;
  if (!meetsControl || !IntersectRect(visible, dest, dirty)) return true;
  const bool alpha = host->IsLayered() || bitmap->alpha;
  BlitImagePieces(canvas, *bitmap, dest, dirty, source, spec.corner, alpha, spec.fade, spec.hole, spec.xtiled,
                  spec.ytiled, spec.stretch);
  return true;
}

void CSkinRender::BlitImagePieces(IRenderCanvas& canvas, const SkinBitmapInfo& bitmap, const SkinRect& dest,
                                  const SkinRect& dirty, const SkinRect& sourceIn, const SkinRect& corner, bool,
                                  std::uint8_t fade, bool hole, bool xtiled, bool ytiled, bool stretch) {
  // A source reaching outside the image (on any side) is cut to it.
  const SkinRect source = InsideBitmap(sourceIn, bitmap);
  SkinRect visible;
  if (fade == 0 || source.IsEmpty() || !IntersectRect(visible, dest, dirty)) return;
  // Nothing outside the dirty area, nor outside the destination (borders wider than a small
  // destination).
  CRenderClip clip(canvas, visible);

  if (!stretch && (corner.right <= corner.left || corner.bottom <= corner.top)) {
    // Natural size from the destination's corner. Only what lies inside both the dirty area and
    // the source is drawn: a dirty area starting right of or below the destination's corner
    // shifts into the source, and must not read past its end.
    const int dx = visible.left - dest.left;
    const int dy = visible.top - dest.top;
    const int w = std::min(visible.Width(), source.Width() - dx);
    const int h = std::min(visible.Height(), source.Height() - dy);
    if (w <= 0 || h <= 0) return;
    canvas.DrawBitmap(bitmap, {visible.left, visible.top, visible.left + w, visible.top + h},
                      {source.left + dx, source.top + dy, source.left + dx + w, source.top + dy + h}, fade);
    return;
  }
  if (dest.Width() == source.Width() && dest.Height() == source.Height()) {
    const int dx = visible.left - dest.left;
    const int dy = visible.top - dest.top;
    canvas.DrawBitmap(bitmap, visible,
                      {source.left + dx, source.top + dy, source.left + dx + visible.Width(),
                       source.top + dy + visible.Height()},
                      fade);
    return;
  }

  // Nine pieces. Border widths below 0 mean nothing; a piece with no area in the destination or
  // in the source (a destination smaller than its borders, borders wider than the source) is
  // skipped.
  const int cl = std::max(0, corner.left), ct = std::max(0, corner.top);
  const int cr = std::max(0, corner.right), cb = std::max(0, corner.bottom);
  const SkinRect& d = dest;
  const SkinRect& s = source;
  auto piece = [&](const SkinRect& pd, const SkinRect& ps) {
    SkinRect meets;
    return !ps.IsEmpty() && IntersectRect(meets, pd, dirty);
  };
  const SkinRect centreD{d.left + cl, d.top + ct, d.right - cr, d.bottom - cb};
  const SkinRect centreS{s.left + cl, s.top + ct, s.right - cr, s.bottom - cb};
  if (!hole && piece(centreD, centreS)) {
    SkinRect centreVisible;
    IntersectRect(centreVisible, centreD, visible);
    DrawCentre(canvas, bitmap, centreD, centreS, centreVisible, fade, xtiled, ytiled);
  }
  if (corner.IsNull()) return;

  struct Piece {
    bool when;
    SkinRect d, s;
  };
  const Piece pieces[] = {
      {cl > 0 && ct > 0, {d.left, d.top, d.left + cl, d.top + ct}, {s.left, s.top, s.left + cl, s.top + ct}},
      {ct > 0, {d.left + cl, d.top, d.right - cr, d.top + ct}, {s.left + cl, s.top, s.right - cr, s.top + ct}},
      {cr > 0 && ct > 0, {d.right - cr, d.top, d.right, d.top + ct}, {s.right - cr, s.top, s.right, s.top + ct}},
      {cl > 0, {d.left, d.top + ct, d.left + cl, d.bottom - cb}, {s.left, s.top + ct, s.left + cl, s.bottom - cb}},
      {cr > 0 && cr < d.Width(),
       {d.right - cr, d.top + ct, d.right, d.bottom - cb},
       {s.right - cr, s.top + ct, s.right, s.bottom - cb}},
      {cl > 0 && cb > 0, {d.left, d.bottom - cb, d.left + cl, d.bottom}, {s.left, s.bottom - cb, s.left + cl, s.bottom}},
      {cb > 0 && cb < d.Height(),
       {d.left + cl, d.bottom - cb, d.right - cr, d.bottom},
       {s.left + cl, s.bottom - cb, s.right - cr, s.bottom}},
      {cr > 0 && cb > 0, {d.right - cr, d.bottom - cb, d.right, d.bottom}, {s.right - cr, s.bottom - cb, s.right, s.bottom}},
  };
  for (const Piece& p : pieces)
    if (p.when && piece(p.d, p.s)) canvas.DrawBitmap(bitmap, p.d, p.s, fade);
}

void CSkinRender::RenderPlainText(IRenderCanvas* canvas, CSkinHost* host, SkinRect& rc, const std::wstring& text,
                                  SkinColor color, int font, TextStyle style) {
  if (text.empty() || host == nullptr) return;
  const SkinFontInfo& info = host->FontInfo(*host->Font(font));
  if (host->IsLayered()) {
    // Wraps like the layered text path always has, unless asked for one line; the colour keeps
    // its alpha (the translucent labels of the skins).
    if ((style & DT_SINGLELINE) == 0) style |= DT_WORDBREAK;
  } else {
    style |= DT_NOPREFIX;
    if ((style & kTextVerticalBits) != 0) style |= DT_SINGLELINE;
    color |= 0xFF000000;
  }
  if ((style & DT_CALCRECT) != 0) {
    PlainTextLayout layout = CPangoText::LayoutPlainText(rc, text, info, style);
    rc.right = rc.left + layout.width + 1;
    rc.bottom = rc.top + layout.height + 1;
    return;
  }
  if (canvas != nullptr) canvas->DrawPlainText(rc, text, info, color, style);
}

int CSkinRender::RenderMarkupText(IRenderCanvas* canvas, CSkinHost* host, SkinRect& rc, const std::wstring& text,
                                  SkinColor color, SkinRect* links, std::wstring* linkTexts, int& linkCount,
                                  TextStyle style) {
  if (host == nullptr || (canvas == nullptr && (style & DT_CALCRECT) == 0)) {
    linkCount = 0;
    return 0;
  }
  CMarkupTextLayout layout(canvas, host, style);
  return layout.Run(rc, text, color, links, linkTexts, linkCount);
}

}  // namespace SkinUI
