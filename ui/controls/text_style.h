#pragma once
// Style flags of text drawing (CSkinRender::RenderPlainText, RenderMarkupText and the canvas's
// DrawPlainText): one 32-bit word, built by the controls from their "align", "multiline",
// "wordbreak", "endellipsis" and "pathellipsis" attributes. The values are the ones skins and
// the Windows-shaped code of this program have always used, so they stay numerically fixed.
#include <cstdint>

namespace SkinUI {

using TextStyle = std::uint32_t;

// Horizontal alignment: none of the two is left.
inline constexpr TextStyle DT_LEFT = 0x0;
inline constexpr TextStyle DT_CENTER = 0x1;
inline constexpr TextStyle DT_RIGHT = 0x2;
// Vertical alignment: none of the two is top.
inline constexpr TextStyle DT_TOP = 0x0;
inline constexpr TextStyle DT_VCENTER = 0x4;
inline constexpr TextStyle DT_BOTTOM = 0x8;
// Wrap lines at word boundaries (spaces, punctuation and CJK characters are break points).
inline constexpr TextStyle DT_WORDBREAK = 0x10;
// One line only: line feeds do not start a new line.
inline constexpr TextStyle DT_SINGLELINE = 0x20;
// Draw outside the rectangle too.
inline constexpr TextStyle DT_NOCLIP = 0x100;
// Measure only: the rectangle's right and bottom become what the text needs; nothing is drawn.
inline constexpr TextStyle DT_CALCRECT = 0x400;
// "&" is an ordinary character (it always is here; kept for the value).
inline constexpr TextStyle DT_NOPREFIX = 0x800;
// Only lines that fit whole are shown.
inline constexpr TextStyle DT_EDITCONTROL = 0x2000;
// Text that does not fit is shortened with an ellipsis: in the middle (paths), at the end, or at
// the end of the last whole word.
inline constexpr TextStyle DT_PATH_ELLIPSIS = 0x4000;
inline constexpr TextStyle DT_END_ELLIPSIS = 0x8000;
inline constexpr TextStyle DT_WORD_ELLIPSIS = 0x40000;

inline constexpr TextStyle kTextHorizontalBits = DT_CENTER | DT_RIGHT;
inline constexpr TextStyle kTextVerticalBits = DT_VCENTER | DT_BOTTOM;

}  // namespace SkinUI
