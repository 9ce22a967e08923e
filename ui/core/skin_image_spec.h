#pragma once
// An image description as skins write it: either a bare file name ("img\common\bg.png") or
// key='value' pairs ("file='img\common\btn.png' source='0,0,96,24' corner='4,4,4,4'"). Parsed
// once when the attribute is set; the drawing code reads the fields.
#include <cstdint>
#include <map>
#include <string>

#include "ui/core/skin_types.h"

namespace SkinUI {

struct SkinImageSpec {
  std::wstring text;     // the description as written
  std::wstring file;     // file name (or resource id with restype)
  std::wstring restype;  // resource type, empty for files
  SkinRect dest;         // destination inside the control, all zero = whole control
  SkinRect offset;       // added to the destination's edges
  SkinRect source;       // part of the image, all zero = whole image
  SkinRect corner;       // nine-slice borders
  SkinColor mask = 0;    // colour made transparent at load
  std::uint8_t fade = 255;
  bool hole = false;
  bool xtiled = false;
  bool ytiled = false;
  bool stretch = true;
  SkinSize svgSize;

  // Resets every field, then parses `description`. False when the pair list is malformed (the
  // fields read before the fault stay set).
  bool Parse(const std::wstring& description);
  void Reset() { *this = SkinImageSpec{}; }
  bool IsEmpty() const { return file.empty(); }
};

// State name ("normal", "hot", ...) -> the frame of that state.
using SkinStatusImageMap = std::map<std::wstring, SkinImageSpec>;

// Rebuilds the description text from the fields; parsing it gives the same fields.
std::wstring ImageSpecText(const SkinImageSpec& spec);

// A description with one more key, "status", listing the states of equally wide frames of the
// source ("normal,hot,pushed,disabled"; names separated by spaces share a frame). False, with
// `out` untouched, when the text is malformed or defines no state.
bool ParseStatusImage(const std::wstring& text, SkinStatusImageMap& out);

}  // namespace SkinUI
