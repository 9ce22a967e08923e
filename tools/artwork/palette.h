#pragma once
// The skin's colours. Built on the layout's own text colours: the brand blue #0068B5 with its
// hot, pushed and disabled shades, the alert red #E90505 with its shades and the text grey
// #333333; everything else is a tint or a neighbour of these.
#include <cstdint>

namespace artwork {

struct Rgb {
  double r, g, b, a;
  constexpr Rgb(uint32_t rgb, double alpha = 1.0)
      : r(((rgb >> 16) & 0xFF) / 255.0), g(((rgb >> 8) & 0xFF) / 255.0), b((rgb & 0xFF) / 255.0), a(alpha) {}
  constexpr Rgb WithAlpha(double alpha) const {
    Rgb c = *this;
    c.a = alpha;
    return c;
  }
  // Mixed with `other`: t = 0 is this colour, 1 the other.
  constexpr Rgb Mix(const Rgb& other, double t) const {
    Rgb c = *this;
    c.r += (other.r - r) * t;
    c.g += (other.g - g) * t;
    c.b += (other.b - b) * t;
    c.a += (other.a - a) * t;
    return c;
  }
};

namespace palette {

inline constexpr Rgb kBlue{0x0068B5};
inline constexpr Rgb kBlueHot{0x0080DE};
inline constexpr Rgb kBluePushed{0x004F89};
inline constexpr Rgb kBlueDisabled{0x99C1DF};
inline constexpr Rgb kBlueBright{0x2B8FE0};
inline constexpr Rgb kBlueTint{0xEAF3FB};
inline constexpr Rgb kBlueTintDeep{0xD6E8F7};

inline constexpr Rgb kRed{0xE90505};
inline constexpr Rgb kRedHot{0xEF3B3B};
inline constexpr Rgb kRedPushed{0xCF0000};
inline constexpr Rgb kRedDisabled{0xCC9B9B};
inline constexpr Rgb kRedTint{0xFDEEEE};
inline constexpr Rgb kRedTintDeep{0xFADCDC};

inline constexpr Rgb kText{0x333333};
inline constexpr Rgb kTextSecondary{0x666666};
inline constexpr Rgb kTextButton{0x5C6068};
inline constexpr Rgb kGlyph{0x7D838B};
inline constexpr Rgb kGlyphDisabled{0xC6CBD1};

inline constexpr Rgb kWhite{0xFFFFFF};
inline constexpr Rgb kSurfaceAlt{0xF6F8FA};
inline constexpr Rgb kBorder{0xD3D9E0};
inline constexpr Rgb kBorderStrong{0xB4BCC5};
inline constexpr Rgb kBorderDisabled{0xDDE1E5};
inline constexpr Rgb kTrack{0xE4E9EE};
inline constexpr Rgb kDivider{0xE8EDF2};
inline constexpr Rgb kShadow{0x0B2540};

// Illustration accents, chosen to sit beside the blue.
inline constexpr Rgb kInk{0x1E2B3A};
inline constexpr Rgb kInkSoft{0x5B6B7C};
inline constexpr Rgb kSky{0x8FCBF6};
inline constexpr Rgb kTeal{0x1FAE9B};
inline constexpr Rgb kAmber{0xFFB634};
inline constexpr Rgb kCoral{0xFF6F5B};
inline constexpr Rgb kViolet{0x6E6AE8};

}  // namespace palette
}  // namespace artwork
