#pragma once
// The value forms every skin attribute uses: booleans, decimal integers, colours, rectangles and
// sizes. Values that do not parse read as 0 (false); none of these fail.
#include <string>

#include "ui/core/skin_types.h"

namespace SkinUI {

// True only for the exact text "true" ("1" and "TRUE" are false).
bool ParseSkinBool(const wchar_t* text);

// Decimal as the C library reads it: leading whitespace and a sign, then digits up to the first
// non-digit; no digits gives 0. Values beyond 32 bits saturate.
int ParseSkinInt(const wchar_t* text);

// 0xAARRGGBB. An optional "#" is skipped and the rest read as hexadecimal; when exactly six
// characters follow the "#" the alpha FF is added ("#333333" is FF333333), otherwise the
// number is AARRGGBB ("#66000000").
SkinColor ParseSkinColor(const wchar_t* text);

// "l,t,r,b": four integers, each followed by exactly one separator character of any kind.
// Missing numbers are 0.
SkinRect ParseSkinRect(const wchar_t* text);

// "cx,cy" with the same rules.
SkinSize ParseSkinSize(const wchar_t* text);

// Reads up to `count` integers into `out` with the rectangle rules; returns the position after
// the last one read. Shared by the forms above and by other number lists ("relativepos").
const wchar_t* ParseSkinIntList(const wchar_t* text, int* out, int count);

inline bool ParseSkinBool(const std::wstring& t) { return ParseSkinBool(t.c_str()); }
inline int ParseSkinInt(const std::wstring& t) { return ParseSkinInt(t.c_str()); }
inline SkinColor ParseSkinColor(const std::wstring& t) { return ParseSkinColor(t.c_str()); }
inline SkinRect ParseSkinRect(const std::wstring& t) { return ParseSkinRect(t.c_str()); }
inline SkinSize ParseSkinSize(const std::wstring& t) { return ParseSkinSize(t.c_str()); }

}  // namespace SkinUI
