#include "ui/core/skin_image_spec.h"

#include <cwchar>
#include <vector>

#include "ui/core/skin_value.h"

namespace SkinUI {
namespace {

// Walks the pairs of a description and hands each (key, value) to `apply`. The walk stops where
// the text stops looking like pairs (a bare file name stops at once); it returns false only for
// the malformed case of something other than a space after a value.
template <class Apply>
bool WalkPairs(const std::wstring& text, Apply apply) {
  const wchar_t* p = text.c_str();
  const wchar_t* const end = p + text.size();
  while (p < end) {
    while (p < end && *p <= 32) ++p;
    if (p >= end) return true;
    const wchar_t* keyStart = p;
    while (p < end && *p != L'=' && *p > 32) ++p;
    std::wstring key(keyStart, p);
    while (p < end && *p <= 32) ++p;
    if (p >= end || *p != L'=') return true;
    ++p;
    while (p < end && *p <= 32) ++p;
    if (p >= end || *p != L'\'') return true;
    ++p;
    const wchar_t* valueStart = p;
    while (p < end && *p != L'\'') ++p;
    if (p >= end) return true;
    apply(key, std::wstring(valueStart, p));
    ++p;  // closing apostrophe
    if (p >= end || p + 1 >= end) return true;
    if (*p != L' ') return false;
    ++p;
  }
  return true;
}

// Rectangles are geometry like every other: bounded, so the drawing and frame arithmetic on them
// cannot overflow.
void ApplyPair(SkinImageSpec& s, const std::wstring& key, const std::wstring& value) {
  if (value.empty()) return;
  const wchar_t* v = value.c_str();
  if (key == L"file" || key == L"res") s.file = value;
  else if (key == L"restype") s.restype = value;
  else if (key == L"dest") s.dest = ClampRect(ParseSkinRect(v));
  else if (key == L"offset") s.offset = ClampRect(ParseSkinRect(v));
  else if (key == L"source") s.source = ClampRect(ParseSkinRect(v));
  else if (key == L"corner") s.corner = ClampRect(ParseSkinRect(v));
  else if (key == L"mask") s.mask = ParseSkinColor(v);
  else if (key == L"fade") s.fade = static_cast<std::uint8_t>(static_cast<unsigned>(ParseSkinInt(v)) % 256u);
  else if (key == L"hole") s.hole = ParseSkinBool(v);
  else if (key == L"xtiled") s.xtiled = ParseSkinBool(v);
  else if (key == L"ytiled") s.ytiled = ParseSkinBool(v);
  else if (key == L"stretch") s.stretch = ParseSkinBool(v);
  else if (key == L"svgsize") s.svgSize = ParseSkinSize(v);
}

bool ParseInto(SkinImageSpec& s, const std::wstring& description, std::wstring* status) {
  s.Reset();
  s.text = description;
  s.file = description;
  return WalkPairs(description, [&](const std::wstring& key, const std::wstring& value) {
    if (status != nullptr && key == L"status")
      *status = value;
    else
      ApplyPair(s, key, value);
  });
}

void AppendRect(std::wstring& out, const wchar_t* key, const SkinRect& r) {
  if (r.IsNull()) return;
  wchar_t buf[96];
  std::swprintf(buf, 96, L"%ls='%d,%d,%d,%d' ", key, r.left, r.top, r.right, r.bottom);
  out += buf;
}

}  // namespace

bool SkinImageSpec::Parse(const std::wstring& description) { return ParseInto(*this, description, nullptr); }

std::wstring ImageSpecText(const SkinImageSpec& s) {
  std::wstring out;
  wchar_t buf[64];
  if (!s.file.empty()) out += L"file='" + s.file + L"' ";
  if (!s.restype.empty()) out += L"restype='" + s.restype + L"' ";
  AppendRect(out, L"dest", s.dest);
  AppendRect(out, L"source", s.source);
  AppendRect(out, L"corner", s.corner);
  AppendRect(out, L"offset", s.offset);
  if (s.fade != 255) {
    std::swprintf(buf, 64, L"fade='%u' ", static_cast<unsigned>(s.fade));
    out += buf;
  }
  if (s.hole) out += L"hole='true' ";
  if (s.xtiled) out += L"xtiled='true' ";
  if (s.ytiled) out += L"ytiled='true' ";
  if (s.mask != 0) {
    std::swprintf(buf, 64, L"mask='#%08X' ", static_cast<unsigned>(s.mask));
    out += buf;
  }
  if (!s.stretch) out += L"stretch='false' ";
  if (s.svgSize.cx > 0 && s.svgSize.cy > 0) {
    std::swprintf(buf, 64, L"svgsize='%d,%d' ", s.svgSize.cx, s.svgSize.cy);
    out += buf;
  }
  return out;
}

bool ParseStatusImage(const std::wstring& text, SkinStatusImageMap& out) {
  SkinImageSpec base;
  std::wstring status;
  if (!ParseInto(base, text, &status)) return false;
  std::vector<std::wstring> items;
  std::wstring cur;
  for (wchar_t c : status + L",") {
    if (c == L',') {
      if (!cur.empty()) items.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (items.empty()) return false;  // a frame width would divide by zero
  const int n = static_cast<int>(items.size());
  const int w = base.source.Width() / n;
  SkinStatusImageMap result;
  for (int i = 0; i < n; ++i) {
    SkinImageSpec frame = base;
    frame.source.left = base.source.left + i * w;
    frame.source.right = base.source.left + (i + 1) * w;
    frame.text = ImageSpecText(frame);
    std::wstring name;
    for (wchar_t c : items[i] + L" ") {
      if (c == L' ') {
        if (!name.empty()) result.emplace(name, frame);  // a repeated name keeps its first frame
        name.clear();
      } else {
        name += c;
      }
    }
  }
  if (result.empty()) return false;
  for (auto& [k, v] : result) out.emplace(k, v);
  return true;
}

}  // namespace SkinUI
