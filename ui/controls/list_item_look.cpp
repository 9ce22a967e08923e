#include "ui/controls/list_item_look.h"

#include "ui/controls/label_ui.h"
#include "ui/core/skin_host.h"
#include "ui/core/skin_value.h"

namespace SkinUI {
namespace {

bool DrawSpec(IRenderCanvas& canvas, CSkinHost* host, const SkinRect& rc, const SkinRect& dirty, SkinImageSpec& spec) {
  if (spec.IsEmpty() || host == nullptr) return false;
  if (canvas.PaintImage(host, rc, dirty, spec)) return true;
  spec.Reset();
  return false;
}

void SetStyleFlag(std::uint32_t& style, std::uint32_t flag, bool on) { style = on ? style | flag : style & ~flag; }

}  // namespace

bool ListInfoUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const wchar_t* v = value.c_str();
  if (name == L"itemfont") font = ParseSkinInt(v);
  else if (name == L"itemalign") textStyle = ApplyAlignWords(textStyle, value);
  else if (name == L"itemendellipsis") SetStyleFlag(textStyle, DT_END_ELLIPSIS, ParseSkinBool(v));
  else if (name == L"itemtextpadding") textPadding = ClampRect(ParseSkinRect(v));
  else if (name == L"itemtextcolor") textColor = ParseSkinColor(v);
  else if (name == L"itembkcolor") bkColor = ParseSkinColor(v);
  else if (name == L"itembkimage") bkImage.Parse(value);
  else if (name == L"itemaltbk") alternateBk = ParseSkinBool(v);
  else if (name == L"itemselectedtextcolor") selectedTextColor = ParseSkinColor(v);
  else if (name == L"itemselectedbkcolor") selectedBkColor = ParseSkinColor(v);
  else if (name == L"itemselectedimage") selectedImage.Parse(value);
  else if (name == L"itemhottextcolor") hotTextColor = ParseSkinColor(v);
  else if (name == L"itemhotbkcolor") hotBkColor = ParseSkinColor(v);
  else if (name == L"itemhotimage") hotImage.Parse(value);
  else if (name == L"itemdisabledtextcolor") disabledTextColor = ParseSkinColor(v);
  else if (name == L"itemdisabledbkcolor") disabledBkColor = ParseSkinColor(v);
  else if (name == L"itemdisabledimage") disabledImage.Parse(value);
  else if (name == L"itemlinecolor") lineColor = ParseSkinColor(v);
  else if (name == L"itemshowhtml") showHtml = ParseSkinBool(v);
  else return false;
  return true;
}

void PaintListItemBk(IRenderCanvas& canvas, CSkinHost* host, ListInfoUI& info, const SkinRect& rc,
                     const SkinRect& dirty, const ListItemState& state) {
  SkinColor color = 0;
  SkinImageSpec* image = nullptr;
  if (!state.enabled) {
    color = info.disabledBkColor;
    image = &info.disabledImage;
  } else if (state.selected) {
    color = info.selectedBkColor;
    image = &info.selectedImage;
  } else if (state.hot) {
    color = info.hotBkColor;
    image = &info.hotImage;
  }
  if (color != 0 || (image != nullptr && !image->IsEmpty())) {
    canvas.FillColor(rc, color);
    if (image != nullptr) DrawSpec(canvas, host, rc, dirty, *image);
    return;
  }
  // Plain rows: with alternating backgrounds only the odd rows get the item background, so the
  // list's own background shows between them.
  if (info.alternateBk && state.index % 2 == 0) return;
  canvas.FillColor(rc, info.bkColor);
  DrawSpec(canvas, host, rc, dirty, info.bkImage);
}

void PaintListItemLine(IRenderCanvas& canvas, const ListInfoUI& info, const SkinRect& rc) {
  if (info.lineColor == 0) return;
  canvas.FillColor({rc.left, rc.bottom - 1, rc.right, rc.bottom}, info.lineColor);
}

SkinColor ListItemTextColor(const ListInfoUI& info, const ListItemState& state) {
  if (!state.enabled) return info.disabledTextColor;
  if (state.selected) return info.selectedTextColor;
  if (state.hot) return info.hotTextColor;
  return info.textColor;
}

}  // namespace SkinUI
