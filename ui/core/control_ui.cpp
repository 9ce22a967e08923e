#include "ui/core/control_ui.h"

#include <algorithm>
#include <cwchar>
#include <unordered_map>
#include <vector>

#include "common/base/log.h"
#include "platform/text_encoding.h"
#include "ui/core/skin_host.h"
#include "ui/core/skin_value.h"
#include "ui/core/skin_xml.h"

namespace SkinUI {
namespace {

ILanguageProviderUI* g_languageProvider = nullptr;

// Repaint area of a control: its rectangle clipped by every ancestor's; empty when hidden.
SkinRect ClipByAncestors(const CControlUI* control, SkinRect rc) {
  for (const CControlUI* p = control->Parent(); p != nullptr; p = p->Parent()) {
    if (!IntersectRect(rc, rc, p->Position())) return {};
  }
  return rc;
}

std::wstring ReplaceAll(std::wstring s, const std::wstring& from, const std::wstring& to) {
  for (std::size_t pos = s.find(from); pos != std::wstring::npos; pos = s.find(from, pos + to.size()))
    s.replace(pos, from.size(), to);
  return s;
}

}  // namespace

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
  onDestroy.Raise(*this);
  customAttributes_.clear();
  if (host_ != nullptr) host_->ReleaseControl(this);
}

std::wstring CControlUI::GetName() const { return name_; }
void CControlUI::SetName(const std::wstring& name) { name_ = name; }
const wchar_t* CControlUI::ClassName() const { return L"ControlUI"; }

void* CControlUI::AsInterface(const std::wstring& name) {
  if (name == L"Control") return this;
  return nullptr;
}

std::uint32_t CControlUI::ControlFlags() const { return 0; }
bool CControlUI::CanActivate() { return IsVisible() && IsEnabled(); }
CSkinHost* CControlUI::Host() const { return host_; }

void CControlUI::SetHost(CSkinHost* host, CControlUI* parent, bool initialise, ISkinBuilderCallback* callback) {
  host_ = host;
  parent_ = parent;
  callback_ = callback;
  if (initialise && parent != nullptr) Init();
}

CControlUI* CControlUI::Parent() const { return parent_; }
std::wstring CControlUI::GetText() const { return text_; }

void CControlUI::SetText(const std::wstring& text) {
  if (text_ == text) return;
  text_ = text;
  RequestRepaint();
}

void CControlUI::SetTextNumber(int n) { SetText(std::to_wstring(n)); }
std::wstring CControlUI::LanguageKey() const { return languageKey_; }
void CControlUI::SetLanguageKey(const std::wstring& key) { languageKey_ = key; }

void CControlUI::ApplyLanguage() {
  if (languageKey_.empty() || host_ == nullptr || g_languageProvider == nullptr) return;
  std::wstring found;
  const std::wstring& key = languageKey_ == L"auto" ? text_ : languageKey_;
  if (g_languageProvider->Lookup(key, found) && !found.empty()) SetText(found);
}

void CControlUI::SetStatusImages(const SkinStatusImageMap&) {}
const SkinRect& CControlUI::Position() const { return itemRect_; }

void CControlUI::SetPosition(const SkinRect& rcIn) {
  SkinRect rc = ClampRect(rcIn);
  if (rc.right < rc.left) rc.right = rc.left;
  if (rc.bottom < rc.top) rc.bottom = rc.top;
  SkinRect invalidate = itemRect_.IsEmpty() ? rc : itemRect_;
  itemRect_ = rc;
  if (host_ == nullptr) return;
  if (!raisingResized_) {
    raisingResized_ = true;
    onSize.Raise(*this);
    raisingResized_ = false;
  }
  if (float_ && parent_ != nullptr) {
    const SkinRect& p = parent_->Position();
    fixedXY_.cx = fixedXY_.cx >= 0 ? itemRect_.left - p.left : itemRect_.right - p.right;
    fixedXY_.cy = fixedXY_.cy >= 0 ? itemRect_.top - p.top : itemRect_.bottom - p.bottom;
    fixedWidth_ = itemRect_.Width();
    fixedHeight_ = itemRect_.Height();
  }
  updateNeeded_ = false;
  invalidate = UnionRect(invalidate, itemRect_);
  invalidate = ClipByAncestors(this, invalidate);
  if (!invalidate.IsEmpty()) host_->Invalidate(invalidate);
}

void CControlUI::SetPositionXYWH(int x, int y, int width, int height) {
  SetPosition({x, y, x + width, y + height});
}

int CControlUI::Width() const { return itemRect_.Width(); }
int CControlUI::Height() const { return itemRect_.Height(); }
int CControlUI::X() const { return itemRect_.left; }
int CControlUI::Y() const { return itemRect_.top; }
SkinRect CControlUI::Padding() const { return padding_; }

void CControlUI::SetPadding(const SkinRect& padding) {
  padding_ = ClampRect(padding);
  RequestParentLayout();
}

SkinSize CControlUI::FixedXY() const { return fixedXY_; }

void CControlUI::SetFixedXY(SkinSize xy) {
  fixedXY_ = ClampSize(xy);
  if (float_)
    RequestLayout();
  else
    RequestParentLayout();
}

int CControlUI::FixedWidth() const { return fixedWidth_; }
int CControlUI::FixedHeight() const { return fixedHeight_; }
int CControlUI::MinWidth() const { return minWidth_; }
int CControlUI::MaxWidth() const { return maxWidth_; }
int CControlUI::MinHeight() const { return minHeight_; }
int CControlUI::MaxHeight() const { return maxHeight_; }

// The geometry setters share one rule: negative or unchanged values do nothing; a change asks
// for a layout of the control itself when it floats, of its parent otherwise.
#define WEBINST_GEOMETRY_SETTER(Name, field)   \
  void CControlUI::Name(int v) {               \
    if (v < 0) return;                         \
    v = ClampCoord(v);                         \
    if (v == field) return;                    \
    field = v;                                 \
    if (float_)                                \
      RequestLayout();                         \
    else                                       \
      RequestParentLayout();                   \
  }
WEBINST_GEOMETRY_SETTER(SetFixedWidth, fixedWidth_)
WEBINST_GEOMETRY_SETTER(SetMinWidth, minWidth_)
WEBINST_GEOMETRY_SETTER(SetMaxWidth, maxWidth_)
WEBINST_GEOMETRY_SETTER(SetMinHeight, minHeight_)
WEBINST_GEOMETRY_SETTER(SetMaxHeight, maxHeight_)
#undef WEBINST_GEOMETRY_SETTER

void CControlUI::SetFixedHeight(int cy) {
  if (cy < 0) return;
  cy = ClampCoord(cy);
  if (cy == fixedHeight_) return;
  fixedHeight_ = cy;
  if (minHeight_ == 0) minHeight_ = cy;
  if (float_)
    RequestLayout();
  else
    RequestParentLayout();
}

void CControlUI::SetFixedAndMinHeight(int cy) {
  SetFixedHeight(cy);
  SetMinHeight(cy);
}

void CControlUI::SetRelativePos(int moveX, int moveY, int zoomX, int zoomY) {
  relativePos_.moveXPercent = moveX;
  relativePos_.moveYPercent = moveY;
  relativePos_.zoomXPercent = zoomX;
  relativePos_.zoomYPercent = zoomY;
  relativePos_.relative = true;
}

void CControlUI::SetRelativeParentSize(SkinSize size) { relativePos_.parentSize = size; }
RelativePosUI CControlUI::RelativePos() const { return relativePos_; }
bool CControlUI::IsRelativePos() const { return relativePos_.relative; }
std::wstring CControlUI::ToolTip() const { return toolTip_; }
void CControlUI::SetToolTip(const std::wstring& text) { toolTip_ = ReplaceAll(text, L"<n>", L"\r\n"); }
void CControlUI::SetToolTipWidth(int width) { toolTipWidth_ = width; }
int CControlUI::ToolTipWidth() const { return toolTipWidth_; }
wchar_t CControlUI::Shortcut() const { return shortcut_; }
void CControlUI::SetShortcut(wchar_t ch) { shortcut_ = ch; }
bool CControlUI::IsContextMenuUsed() const { return contextMenuUsed_; }
void CControlUI::SetContextMenuUsed(bool used) { contextMenuUsed_ = used; }
std::wstring CControlUI::UserData() const { return userData_; }
void CControlUI::SetUserDataNumber(int n) { userData_ = std::to_wstring(n); }
void CControlUI::SetUserData(const std::wstring& text) { userData_ = text; }
std::intptr_t CControlUI::Tag() const { return tag_; }
void CControlUI::SetTag(std::intptr_t tag) { tag_ = tag; }
std::intptr_t CControlUI::UserValue() const { return userValue_; }
void CControlUI::SetUserValue(std::intptr_t value) { userValue_ = value; }
bool CControlUI::IsVisible() const { return visible_ && internalVisible_; }

void CControlUI::SetVisible(bool visible) {
  if (visible_ == visible) return;
  const bool wasVisible = IsVisible();
  visible_ = visible;
  focused_ = false;
  if (!visible && host_ != nullptr && host_->Focus() == this) host_->SetFocus(nullptr);
  if (IsVisible() != wasVisible) RequestParentLayout();
}

void CControlUI::SetInternalVisible(bool visible) {
  internalVisible_ = visible;
  if (!visible && host_ != nullptr && host_->Focus() == this) host_->SetFocus(nullptr);
}

bool CControlUI::IsEnabled() const { return enabled_; }

void CControlUI::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  RequestRepaint();
}

bool CControlUI::IsMouseEnabled() const { return mouseEnabled_; }
void CControlUI::SetMouseEnabled(bool enabled) { mouseEnabled_ = enabled; }
bool CControlUI::IsKeyboardEnabled() const { return keyboardEnabled_; }
void CControlUI::SetKeyboardEnabled(bool enabled) { keyboardEnabled_ = enabled; }
bool CControlUI::IsFocused() const { return focused_; }

void CControlUI::SetFocus() {
  if (host_ != nullptr) host_->SetFocus(this);
}

bool CControlUI::IsFloat() const { return float_; }

void CControlUI::SetFloat(bool isFloat) {
  if (float_ == isFloat) return;
  float_ = isFloat;
  RequestParentLayout();
}

CControlUI* CControlUI::LocateControl(FindControlProc visitor, void* data, std::uint32_t flags) {
  if ((flags & kFindVisible) != 0 && !IsVisible()) return nullptr;
  if ((flags & kFindEnabled) != 0 && !IsEnabled()) return nullptr;
  if ((flags & kFindHitTest) != 0 &&
      (!mouseEnabled_ || !itemRect_.Contains(*static_cast<const SkinPoint*>(data))))
    return nullptr;
  if ((flags & kFindUpdateTest) != 0 && visitor(this, data) != nullptr) return nullptr;
  return visitor(this, data);
}

void CControlUI::Init() {
  OnInit();
  onInit.Raise(*this);
}

void CControlUI::OnInit() {}

void CControlUI::DispatchEvent(SkinEvent& event) {
  if (!onEvent.Raise(event)) return;
  HandleEvent(event);
}

void CControlUI::HandleEvent(SkinEvent& event) {
  switch (event.type) {
    case kEventContextMenu:
      if (contextMenuUsed_) {
        if (host_ != nullptr) host_->SendNotify(this, L"menu", event.wParam, event.lParam);
        return;
      }
      break;
    case kEventKillFocus:
      focused_ = false;
      RequestRepaint();
      return;
    case kEventSetFocus:
      focused_ = true;
      RequestRepaint();
      return;
    case kEventSetCursor:
      if (cursor_ != 0 && host_ != nullptr) host_->SetCursorShape(cursor_);
      return;
    case kEventTimer:
      if (host_ != nullptr) host_->SendNotify(this, L"timer", event.wParam, event.lParam);
      return;
    default:
      break;
  }
  if (parent_ != nullptr) parent_->HandleEvent(event);
}

void CControlUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const wchar_t* v = value.c_str();
  if (name == L"pos") {
    const SkinRect rc = ClampRect(ParseSkinRect(v));
    SkinSize xy{rc.left >= 0 ? rc.left : rc.right, rc.top >= 0 ? rc.top : rc.bottom};
    SetFixedXY(xy);
    SetFixedWidth(rc.right - rc.left);
    SetFixedHeight(rc.bottom - rc.top);
  } else if (name == L"relativepos") {
    int n[4];
    ParseSkinIntList(v, n, 4);
    SetRelativePos(n[0], n[1], n[2], n[3]);
  } else if (name == L"padding") {
    SetPadding(ParseSkinRect(v));
  } else if (name == L"bkcolor" || name == L"bkcolor1") {
    SetBkColor(ParseSkinColor(v));
  } else if (name == L"bkcolor2") {
    SetBkColor2(ParseSkinColor(v));
  } else if (name == L"bkcolor3") {
    SetBkColor3(ParseSkinColor(v));
  } else if (name == L"focusedbkcolor") {
    SetFocusedBkColor(ParseSkinColor(v));
  } else if (name == L"disabledbkcolor") {
    SetDisabledBkColor(ParseSkinColor(v));
  } else if (name == L"bordercolor") {
    SetBorderColor(ParseSkinColor(v));
  } else if (name == L"focusedbordercolor") {
    SetFocusedBorderColor(ParseSkinColor(v));
  } else if (name == L"disabledbordercolor") {
    SetDisabledBorderColor(ParseSkinColor(v));
  } else if (name == L"colorhsl") {
    SetColorHsl(ParseSkinBool(v));
  } else if (name == L"bordersize") {
    if (value.find(L',') == std::wstring::npos) {
      SetBorderSize(ParseSkinInt(v));
      SetSideBorders({});
    } else {
      SetSideBorders(ParseSkinRect(v));
    }
  } else if (name == L"leftbordersize") {
    SetLeftBorderSize(ParseSkinInt(v));
  } else if (name == L"topbordersize") {
    SetTopBorderSize(ParseSkinInt(v));
  } else if (name == L"rightbordersize") {
    SetRightBorderSize(ParseSkinInt(v));
  } else if (name == L"bottombordersize") {
    SetBottomBorderSize(ParseSkinInt(v));
  } else if (name == L"borderstyle") {
    SetBorderStyle(ParseSkinInt(v));
  } else if (name == L"borderround") {
    SetBorderRound(ParseSkinSize(v));
  } else if (name == L"bkimage") {
    SetBkImage(value);
  } else if (name == L"disabledimage") {
    SetDisabledImage(value);
  } else if (name == L"statusimage") {
    SkinStatusImageMap images;
    if (ParseStatusImage(value, images)) SetStatusImages(images);
  } else if (name == L"width") {
    SetFixedWidth(ParseSkinInt(v));
  } else if (name == L"height") {
    SetFixedHeight(ParseSkinInt(v));
  } else if (name == L"minwidth") {
    SetMinWidth(ParseSkinInt(v));
  } else if (name == L"minheight") {
    SetMinHeight(ParseSkinInt(v));
  } else if (name == L"maxwidth") {
    SetMaxWidth(ParseSkinInt(v));
  } else if (name == L"maxheight") {
    SetMaxHeight(ParseSkinInt(v));
  } else if (name == L"name") {
    SetName(value);
  } else if (name == L"text") {
    SetText(ReplaceAll(value, L"\\r\\n", L"\r\n"));
  } else if (name == L"lanstr") {
    SetLanguageKey(value);
  } else if (name == L"tooltip") {
    SetMouseEnabled(true);
    SetToolTip(value);
  } else if (name == L"userdata") {
    SetUserData(value);
  } else if (name == L"enabled") {
    SetEnabled(ParseSkinBool(v));
  } else if (name == L"mouse") {
    SetMouseEnabled(ParseSkinBool(v));
  } else if (name == L"keyboard") {
    SetKeyboardEnabled(ParseSkinBool(v));
  } else if (name == L"visible") {
    SetVisible(ParseSkinBool(v));
  } else if (name == L"float") {
    SetFloat(ParseSkinBool(v));
  } else if (name == L"menu") {
    SetContextMenuUsed(ParseSkinBool(v));
  } else if (name == L"shortcut") {
    SetShortcut(value.empty() ? 0 : value[0]);
  } else if (name == L"virtualwnd") {
    SetVirtualWnd(value);
  } else if (name == L"cursor") {
    SetCursor(CursorIdFromName(value));
  } else if (name == L"style") {
    if (host_ != nullptr) {
      if (const std::wstring* list = host_->FindStyle(value)) {
        // A style's list may name a style again, itself included. A style already being applied
        // further up is refused: a cycle ends at once, and one named several times in a list
        // cannot multiply into an exponential number of applications.
        static std::vector<std::wstring> applying;  // UI thread only
        if (std::find(applying.begin(), applying.end(), value) != applying.end()) {
          LOG_ERROR << "style applied within itself, skipped: " << platform::WideToUtf8(value);
          return;
        }
        const std::wstring copy = *list;  // applying may register nothing, but stay safe
        applying.push_back(value);
        struct Leave {
          ~Leave() { applying.pop_back(); }
        } leave;
        ApplyAttributes(copy);
      }
    }
  } else {
    AddCustomAttribute(name, value);
  }
}

SkinSize CControlUI::MeasureSize(SkinSize) { return {fixedWidth_, fixedHeight_}; }

void CControlUI::Paint(IRenderCanvas& canvas, const SkinRect& dirty) {
  if (!IntersectRect(paintRect_, dirty, itemRect_)) return;
  if (borderRound_.cx > 0 || borderRound_.cy > 0) {
    CRenderClip clip(canvas, paintRect_, itemRect_, borderRound_.cx, borderRound_.cy);
    PaintSteps(canvas);
  } else {
    PaintSteps(canvas);
  }
}

void CControlUI::PaintSteps(IRenderCanvas& canvas) {
  PaintBackgroundColor(canvas);
  PaintBackgroundImage(canvas);
  PaintStatusImage(canvas);
  PaintText(canvas);
  PaintBorder(canvas);
}

void CControlUI::PaintAt(IRenderCanvas& canvas, const SkinRect& dirty, const SkinRect& rc) {
  if (rc.IsEmpty()) return;
  const SkinRect saved = itemRect_;
  itemRect_ = rc;
  Paint(canvas, dirty);
  itemRect_ = saved;
}

void CControlUI::PaintBackgroundColor(IRenderCanvas& canvas) {
  SkinColor color = 0;
  if (!IsEnabled() && disabledBkColor_ != 0) {
    color = disabledBkColor_;
  } else if (IsFocused() && focusedBkColor_ != 0) {
    color = focusedBkColor_;
  } else {
    if (bkColor_ != 0 && bkColor2_ != 0) {
      if (bkColor3_ != 0) {
        SkinRect upper = itemRect_;
        upper.bottom = (itemRect_.top + itemRect_.bottom) / 2;
        canvas.FillGradient(upper, AdjustedColor(bkColor_), AdjustedColor(bkColor2_), true);
        SkinRect lower = itemRect_;
        lower.top = upper.bottom;
        canvas.FillGradient(lower, AdjustedColor(bkColor2_), AdjustedColor(bkColor3_), true);
      } else {
        canvas.FillGradient(itemRect_, AdjustedColor(bkColor_), AdjustedColor(bkColor2_), true);
      }
      return;
    }
    color = bkColor_;
  }
  if (color == 0) return;
  // A translucent colour covers the whole control so that partial repaints blend the same way
  // as full ones.
  const bool opaque = (bkColor_ >> 24) == 0xFF;
  canvas.FillColor(opaque ? paintRect_ : itemRect_, AdjustedColor(color));
}

void CControlUI::PaintBackgroundImage(IRenderCanvas& canvas) {
  if (!IsEnabled() && DrawImage(canvas, disabledImage_)) return;
  DrawImage(canvas, bkImage_);
}

bool CControlUI::DrawImage(IRenderCanvas& canvas, SkinImageSpec& spec) {
  if (spec.IsEmpty()) return false;
  if (canvas.PaintImage(host_, itemRect_, paintRect_, spec)) return true;
  spec.Reset();
  return false;
}

void CControlUI::FillStateColor(IRenderCanvas& canvas, SkinColor color) {
  if (color == 0) return;
  canvas.FillColor((color >> 24) == 0xFF ? paintRect_ : itemRect_, AdjustedColor(color));
}

void CControlUI::PaintStatusImage(IRenderCanvas&) {}
void CControlUI::PaintText(IRenderCanvas&) {}

void CControlUI::PaintBorder(IRenderCanvas& canvas) {
  SkinColor color;
  if (!IsEnabled() && disabledBorderColor_ != 0) {
    color = disabledBorderColor_;
  } else {
    color = borderColor_;
    if (IsFocused() && focusedBorderColor_ != 0) color = focusedBorderColor_;
  }
  StrokeBorder(canvas, color);
}

void CControlUI::StrokeBorder(IRenderCanvas& canvas, SkinColor color) {
  if (color == 0) return;
  color = AdjustedColor(color);
  if (borderSize_ > 0) {
    if (borderRound_.cx != 0 || borderRound_.cy != 0)
      canvas.StrokeRoundRect(itemRect_, borderSize_, borderRound_.cx, borderRound_.cy, color);
    else
      canvas.StrokeRect(itemRect_, borderSize_, color);
    return;
  }
  const SkinRect& rc = itemRect_;
  if (int w = sideBorders_.left; w > 0) {
    int x = w == 1 ? rc.left : rc.left + w / 2;
    canvas.StrokeLine({x, rc.top, x, rc.bottom}, w, color, borderStyle_);
  }
  if (int w = sideBorders_.top; w > 0) {
    int y = w == 1 ? rc.top : rc.top + w / 2;
    canvas.StrokeLine({rc.left, y, rc.right, y}, w, color, borderStyle_);
  }
  if (int w = sideBorders_.right; w > 0) {
    int x = w == 1 ? rc.right - 1 : rc.right - w / 2;
    canvas.StrokeLine({x, rc.top, x, rc.bottom}, w, color, borderStyle_);
  }
  if (int w = sideBorders_.bottom; w > 0) {
    int y = w == 1 ? rc.bottom - 1 : rc.bottom - w / 2;
    canvas.StrokeLine({rc.left, y, rc.right, y}, w, color, borderStyle_);
  }
}

void CControlUI::PaintOverlay(IRenderCanvas&) {}
void CControlUI::SetCursor(std::uint16_t cursorId) { cursor_ = cursorId; }
std::uint16_t CControlUI::Cursor() const { return cursor_; }

void CControlUI::Invalidate() {
  if (!IsVisible() || host_ == nullptr) return;
  SkinRect rc = ClipByAncestors(this, itemRect_);
  if (!rc.IsEmpty()) host_->Invalidate(rc);
}

void CControlUI::RequestRepaint() {
  if (updateLock_ > 0) return;
  updateLock_ = 0;
  Invalidate();
}

void CControlUI::RequestLayout() {
  if (!IsVisible()) return;
  updateNeeded_ = true;
  RequestRepaint();
  if (host_ != nullptr) host_->RequestLayout();
}

void CControlUI::RequestParentLayout() {
  if (parent_ != nullptr) {
    parent_->RequestLayout();
    parent_->Invalidate();
  } else {
    RequestLayout();
  }
  if (host_ != nullptr) host_->RequestLayout();
}

void CControlUI::BeginUpdate() { ++updateLock_; }

void CControlUI::EndUpdate() {
  if (--updateLock_ <= 0) {
    updateLock_ = 0;
    Invalidate();
  }
}

void CControlUI::ApplyAttributes(const std::wstring& list) {
  CSkinXml xml;
  const std::wstring text = L"<Attr " + list + L" />";
  if (!xml.LoadText(text.c_str())) return;
  CSkinXmlNode node = xml.Root();
  const int count = node.AttributeCount();
  for (int i = 0; i < count; ++i) SetAttribute(node.AttributeName(i), node.AttributeValue(i));
}

bool CControlUI::AddCustomAttribute(const std::wstring& name, const std::wstring& value) {
  if (name.empty() || value.empty()) return false;
  return customAttributes_.emplace(name, value).second;
}

std::wstring CControlUI::CustomAttribute(const std::wstring& name) const {
  auto it = customAttributes_.find(name);
  return it == customAttributes_.end() ? std::wstring() : it->second;
}

bool CControlUI::RemoveCustomAttribute(const std::wstring& name) { return customAttributes_.erase(name) != 0; }

void CControlUI::SetVirtualWnd(const std::wstring& name) {
  virtualWnd_ = name;
  if (host_ != nullptr) host_->SetUsesVirtualWnd(true);
}

SkinColor CControlUI::AdjustedColor(SkinColor c) const {
  return colorHsl_ && host_ != nullptr ? host_->AdjustColor(c) : c;
}

#define WEBINST_PAINT_SETTER(Name, Type, field) \
  void CControlUI::Name(Type v) {               \
    if (field == v) return;                     \
    field = v;                                  \
    RequestRepaint();                           \
  }
WEBINST_PAINT_SETTER(SetBkColor, SkinColor, bkColor_)
WEBINST_PAINT_SETTER(SetBkColor2, SkinColor, bkColor2_)
WEBINST_PAINT_SETTER(SetBkColor3, SkinColor, bkColor3_)
WEBINST_PAINT_SETTER(SetFocusedBkColor, SkinColor, focusedBkColor_)
WEBINST_PAINT_SETTER(SetDisabledBkColor, SkinColor, disabledBkColor_)
WEBINST_PAINT_SETTER(SetBorderColor, SkinColor, borderColor_)
WEBINST_PAINT_SETTER(SetFocusedBorderColor, SkinColor, focusedBorderColor_)
WEBINST_PAINT_SETTER(SetDisabledBorderColor, SkinColor, disabledBorderColor_)
WEBINST_PAINT_SETTER(SetColorHsl, bool, colorHsl_)
WEBINST_PAINT_SETTER(SetBorderStyle, int, borderStyle_)
#undef WEBINST_PAINT_SETTER

// Border widths and radii are geometry too: bounded like every other size.
#define WEBINST_BORDER_SETTER(Name, Type, field, clamp) \
  void CControlUI::Name(Type in) {                      \
    const auto v = clamp(in);                           \
    if (field == v) return;                             \
    field = v;                                          \
    RequestRepaint();                                   \
  }
WEBINST_BORDER_SETTER(SetBorderSize, int, borderSize_, ClampCoord)
WEBINST_BORDER_SETTER(SetSideBorders, const SkinRect&, sideBorders_, ClampRect)
WEBINST_BORDER_SETTER(SetLeftBorderSize, int, sideBorders_.left, ClampCoord)
WEBINST_BORDER_SETTER(SetTopBorderSize, int, sideBorders_.top, ClampCoord)
WEBINST_BORDER_SETTER(SetRightBorderSize, int, sideBorders_.right, ClampCoord)
WEBINST_BORDER_SETTER(SetBottomBorderSize, int, sideBorders_.bottom, ClampCoord)
WEBINST_BORDER_SETTER(SetBorderRound, SkinSize, borderRound_, ClampSize)
#undef WEBINST_BORDER_SETTER

void CControlUI::SetImageSpec(SkinImageSpec& spec, const std::wstring& description) {
  if (spec.text == description) return;
  spec.Parse(description);
  RequestRepaint();
}

void CControlUI::SetBkImage(const std::wstring& description) { SetImageSpec(bkImage_, description); }
void CControlUI::SetDisabledImage(const std::wstring& description) { SetImageSpec(disabledImage_, description); }

std::uint16_t CControlUI::CursorIdFromName(const std::wstring& name) {
  static const std::unordered_map<std::wstring, std::uint16_t> table = {
      {L"arrow", 32512},   {L"hand", 32649},   {L"appstring", 32650}, {L"cross", 32515},  {L"help", 32651},
      {L"ibeam", 32513},   {L"icon", 32641},   {L"no", 32648},        {L"size", 32640},   {L"sizeall", 32646},
      {L"sizens", 32645},  {L"sizenwse", 32642}, {L"sizewe", 32644},  {L"uparrow", 32516}, {L"wait", 32514},
  };
  auto it = table.find(name);
  return it == table.end() ? 0 : it->second;
}

void CControlUI::SetLanguageProvider(ILanguageProviderUI* provider) { g_languageProvider = provider; }
ILanguageProviderUI* CControlUI::LanguageProvider() { return g_languageProvider; }

}  // namespace SkinUI
