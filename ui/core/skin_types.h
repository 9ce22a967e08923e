#pragma once
// Plain geometry of the UI framework: rectangles, sizes and points in window client pixels
// (signed 32-bit), colours as 0xAARRGGBB with 0 meaning "not set".
#include <algorithm>
#include <cstdint>

namespace SkinUI {

using SkinColor = std::uint32_t;

struct SkinPoint {
  int x = 0;
  int y = 0;
  bool operator==(const SkinPoint&) const = default;
};

struct SkinSize {
  int cx = 0;
  int cy = 0;
  bool operator==(const SkinSize&) const = default;
};

struct SkinRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  bool operator==(const SkinRect&) const = default;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  // Empty as the platform counts it: no area.
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool IsNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  bool Contains(SkinPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  void Offset(int dx, int dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
  }
  // Shrinks by the margins of `m` (left, top, right, bottom).
  SkinRect Deflated(const SkinRect& m) const { return {left + m.left, top + m.top, right - m.right, bottom - m.bottom}; }
};

// Coordinates and sizes are kept within this magnitude, far beyond any screen, so that the
// layout arithmetic on values from a skin cannot overflow.
inline constexpr int kSkinCoordLimit = 1 << 20;
inline int ClampCoord(long long v) {
  return static_cast<int>(std::clamp<long long>(v, -kSkinCoordLimit, kSkinCoordLimit));
}
inline SkinRect ClampRect(const SkinRect& r) {
  return {ClampCoord(r.left), ClampCoord(r.top), ClampCoord(r.right), ClampCoord(r.bottom)};
}
inline SkinSize ClampSize(SkinSize s) { return {ClampCoord(s.cx), ClampCoord(s.cy)}; }

// Intersection; false (and an all-zero rectangle) when the two have no area in common.
inline bool IntersectRect(SkinRect& out, const SkinRect& a, const SkinRect& b) {
  SkinRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (r.IsEmpty()) {
    out = {};
    return false;
  }
  out = r;
  return true;
}

// Union; an empty operand does not count.
inline SkinRect UnionRect(const SkinRect& a, const SkinRect& b) {
  if (a.IsEmpty()) return b.IsEmpty() ? SkinRect{} : b;
  if (b.IsEmpty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

}  // namespace SkinUI
