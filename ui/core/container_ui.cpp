#include "ui/core/container_ui.h"

#include <algorithm>
#include <cstdlib>

#include "ui/core/skin_host.h"
#include "ui/core/skin_value.h"

namespace SkinUI {
namespace {

CContainerUI::ScrollBarFactory g_scrollBarFactory = nullptr;

}  // namespace

void CContainerUI::SetScrollBarFactory(ScrollBarFactory factory) { g_scrollBarFactory = factory; }

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() {
  delayedDestroy_ = false;
  RemoveAll();
  vScroll_.reset();
  hScroll_.reset();
}

const wchar_t* CContainerUI::ClassName() const { return L"ContainerUI"; }

void* CContainerUI::AsInterface(const std::wstring& name) {
  if (name == L"Container") return static_cast<CControlUI*>(this);
  if (name == L"IContainer") return static_cast<IContainerUI*>(this);
  return CControlUI::AsInterface(name);
}

void CContainerUI::SetHost(CSkinHost* host, CControlUI* parent, bool initialise, ISkinBuilderCallback* callback) {
  for (CControlUI* child : items_) child->SetHost(host, this, initialise, callback);
  if (vScroll_) vScroll_->SetHost(host, this, initialise, callback);
  if (hScroll_) hScroll_->SetHost(host, this, initialise, callback);
  CControlUI::SetHost(host, parent, initialise, callback);
}

void CContainerUI::ApplyLanguage() {
  CControlUI::ApplyLanguage();
  for (CControlUI* child : items_) child->ApplyLanguage();
}

void CContainerUI::SetPosition(const SkinRect& rc) {
  CControlUI::SetPosition(rc);
  if (items_.empty()) return;
  const SkinRect area = itemRect_.Deflated(inset_);
  for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
    CControlUI* child = items_[i];
    if (!child->IsVisible()) continue;
    if (child->IsFloat())
      SetFloatPos(i);
    else
      child->SetPosition(area);
  }
}

void CContainerUI::SetVisible(bool visible) {
  if (visible_ == visible) return;
  CControlUI::SetVisible(visible);
  for (CControlUI* child : items_) child->SetInternalVisible(IsVisible());
}

void CContainerUI::SetInternalVisible(bool visible) {
  CControlUI::SetInternalVisible(visible);
  for (CControlUI* child : items_) child->SetInternalVisible(IsVisible());
}

void CContainerUI::SetEnabled(bool enabled) {
  CControlUI::SetEnabled(enabled);
  for (CControlUI* child : items_) child->SetEnabled(enabled);
}

void CContainerUI::SetMouseEnabled(bool enabled) {
  if (vScroll_) vScroll_->SetMouseEnabled(enabled);
  if (hScroll_) hScroll_->SetMouseEnabled(enabled);
  CControlUI::SetMouseEnabled(enabled);
}

SkinRect CContainerUI::ChildrenArea() const {
  SkinRect rc = itemRect_.Deflated(inset_);
  if (!floatScrollBar_) {
    if (IsBarVisible(vScroll_)) rc.right -= vScroll_->FixedWidth();
    if (IsBarVisible(hScroll_)) rc.bottom -= hScroll_->FixedHeight();
  }
  return rc;
}

CControlUI* CContainerUI::LocateControl(FindControlProc visitor, void* data, std::uint32_t flags) {
  if ((flags & kFindVisible) != 0 && !IsVisible()) return nullptr;
  if ((flags & kFindEnabled) != 0 && !IsEnabled()) return nullptr;
  const bool hitTest = (flags & kFindHitTest) != 0;
  if (hitTest) {
    if (!itemRect_.Contains(*static_cast<const SkinPoint*>(data))) return nullptr;
    if (!mouseChild_) {
      CControlUI* found = nullptr;
      if (vScroll_) found = vScroll_->LocateControl(visitor, data, flags);
      if (found == nullptr && hScroll_) found = hScroll_->LocateControl(visitor, data, flags);
      if (found == nullptr) found = CControlUI::LocateControl(visitor, data, flags);
      return found;
    }
  }
  if ((flags & kFindUpdateTest) != 0 && visitor(this, data) != nullptr) return nullptr;

  CControlUI* found = nullptr;
  if (vScroll_) found = vScroll_->LocateControl(visitor, data, flags);
  if (found == nullptr && hScroll_) found = hScroll_->LocateControl(visitor, data, flags);
  if (found != nullptr) return found;
  if ((flags & kFindMeFirst) != 0) {
    found = CControlUI::LocateControl(visitor, data, flags);
    if (found != nullptr) return found;
  }
  const SkinRect area = ChildrenArea();
  auto visit = [&](CControlUI* child) -> CControlUI* {
    CControlUI* r = child->LocateControl(visitor, data, flags);
    if (r == nullptr) return nullptr;
    // Non-floating children are only found inside the children area; floating ones anywhere
    // in the container.
    if (hitTest && !child->IsFloat() && !area.Contains(*static_cast<const SkinPoint*>(data))) return nullptr;
    return r;
  };
  // The list may change under a visitor with side effects; walk a copy.
  const std::vector<CControlUI*> items = items_;
  if ((flags & kFindTopFirst) != 0) {
    for (auto it = items.rbegin(); it != items.rend(); ++it)
      if (CControlUI* r = visit(*it)) return r;
  } else {
    for (CControlUI* child : items)
      if (CControlUI* r = visit(child)) return r;
  }
  if ((flags & kFindMeFirst) == 0) found = CControlUI::LocateControl(visitor, data, flags);
  return found;
}

void CContainerUI::HandleEvent(SkinEvent& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
    if (parent_ != nullptr) parent_->HandleEvent(event);
    return;
  }
  if (event.type == kEventSetFocus) {
    focused_ = true;
    return;
  }
  if (event.type == kEventKillFocus) {
    focused_ = false;
    return;
  }
  const bool shift = (event.keyState & kKeyStateShift) != 0;
  auto usable = [](const std::unique_ptr<CScrollBarBaseUI>& bar) {
    return bar && bar->IsVisible() && bar->IsEnabled();
  };
  if (!shift && usable(vScroll_)) {
    if (event.type == kEventKeyDown) {
      switch (event.chKey) {
        case kVkPrior: PageUp(); return;
        case kVkNext: PageDown(); return;
        case kVkEnd: EndDown(); return;
        case kVkHome: HomeUp(); return;
        case kVkUp: LineUp(); return;
        case kVkDown: LineDown(); return;
        default: break;
      }
    } else if (event.type == kEventScrollWheel) {
      if (event.wParam == 0)
        LineUp();
      else
        LineDown();
      return;
    }
  } else if (usable(hScroll_)) {
    if (event.type == kEventKeyDown) {
      switch (event.chKey) {
        case kVkPrior: PageLeft(); return;
        case kVkNext: PageRight(); return;
        case kVkEnd: EndRight(); return;
        case kVkHome: HomeLeft(); return;
        case kVkUp: LineLeft(); return;
        case kVkDown: LineRight(); return;
        default: break;
      }
    } else if (event.type == kEventScrollWheel) {
      if (event.wParam == 0)
        LineLeft();
      else
        LineRight();
      return;
    }
  }
  CControlUI::HandleEvent(event);
}

void CContainerUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const wchar_t* v = value.c_str();
  if (name == L"inset") {
    SetInset(ParseSkinRect(v));
  } else if (name == L"mousechild") {
    SetMouseChildEnabled(ParseSkinBool(v));
  } else if (name == L"vscrollbar") {
    EnableScrollBar(ParseSkinBool(v), hScroll_ != nullptr);
  } else if (name == L"hscrollbar") {
    EnableScrollBar(vScroll_ != nullptr, ParseSkinBool(v));
  } else if (name == L"vscrollbarstyle") {
    EnableScrollBar(true, hScroll_ != nullptr);
    if (vScroll_) vScroll_->SetAttribute(L"style", value);
  } else if (name == L"hscrollbarstyle") {
    EnableScrollBar(vScroll_ != nullptr, true);
    if (hScroll_) hScroll_->SetAttribute(L"style", value);
  } else if (name == L"floatscrollbar") {
    SetFloatScrollBar(ParseSkinBool(v));
  } else if (name == L"childpadding") {
    SetChildPadding(ParseSkinInt(v));
  } else if (name == L"ychildpadding") {
    SetChildVPadding(ParseSkinInt(v));
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

void CContainerUI::Paint(IRenderCanvas& canvas, const SkinRect& dirty) {
  SkinRect outer;
  if (!IntersectRect(outer, dirty, itemRect_)) return;
  CRenderClip clip(canvas, outer);
  CControlUI::Paint(canvas, dirty);

  if (!items_.empty()) {
    const SkinRect area = ChildrenArea();
    SkinRect inner;
    SkinRect tmp;
    if (!IntersectRect(inner, dirty, area)) {
      for (CControlUI* child : items_) {
        if (!child->IsVisible() || !child->IsFloat()) continue;
        if (!IntersectRect(tmp, dirty, child->Position())) continue;
        if (!IntersectRect(tmp, itemRect_, child->Position())) continue;
        child->Paint(canvas, dirty);
      }
    } else {
      canvas.PushClipRect(inner);
      for (CControlUI* child : items_) {
        if (!child->IsVisible()) continue;
        if (!IntersectRect(tmp, dirty, child->Position())) continue;
        if (child->IsFloat()) {
          if (!IntersectRect(tmp, itemRect_, child->Position())) continue;
          // Floating children may overhang the inset: they get the outer clip.
          canvas.PopClip();
          child->Paint(canvas, dirty);
          canvas.PushClipRect(inner);
        } else {
          if (!IntersectRect(tmp, area, child->Position())) continue;
          child->Paint(canvas, dirty);
        }
      }
      canvas.PopClip();
    }
  }
  SkinRect tmp;
  if (IsBarVisible(vScroll_) && IntersectRect(tmp, dirty, vScroll_->Position())) vScroll_->Paint(canvas, dirty);
  if (IsBarVisible(hScroll_) && IntersectRect(tmp, dirty, hScroll_->Position())) hScroll_->Paint(canvas, dirty);
}

CControlUI* CContainerUI::ItemAt(int index) const {
  if (index < 0 || index >= static_cast<int>(items_.size())) return nullptr;
  return items_[index];
}

int CContainerUI::ItemIndex(CControlUI* control) const {
  auto it = std::find(items_.begin(), items_.end(), control);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

bool CContainerUI::SetItemIndex(CControlUI* control, int index) {
  const int from = ItemIndex(control);
  if (from < 0 || index < 0 || index >= static_cast<int>(items_.size())) return false;
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + index, control);
  RequestLayout();
  return true;
}

int CContainerUI::Count() const { return static_cast<int>(items_.size()); }

// Not through the virtual AddAt: a derived container's Add and AddAt each add their own rules once.
bool CContainerUI::Add(CControlUI* control) { return CContainerUI::AddAt(control, static_cast<int>(items_.size())); }

bool CContainerUI::AddAt(CControlUI* control, int index) {
  if (control == nullptr) return false;
  if (index < 0 || index > static_cast<int>(items_.size())) return false;
  if (std::find(items_.begin(), items_.end(), control) != items_.end()) return false;
  if (host_ != nullptr) host_->BindSubtree(control, this);
  if (IsVisible())
    RequestLayout();
  else
    control->SetInternalVisible(false);
  items_.insert(items_.begin() + index, control);
  return true;
}

void CContainerUI::DisposeChild(CControlUI* control) {
  if (!autoDestroy_) {
    // The caller owns it now: it stays bound to the host (which it tells when it goes away) but
    // must not keep a link to this container, which may be destroyed first.
    control->SetHost(control->Host(), nullptr, false, control->BuilderCallback());
    return;
  }
  if (delayedDestroy_ && host_ != nullptr)
    host_->AddDelayedCleanup(std::unique_ptr<CControlUI>(control));
  else
    delete control;
}

bool CContainerUI::Remove(CControlUI* control) {
  auto it = std::find(items_.begin(), items_.end(), control);
  if (it == items_.end()) return false;
  RequestLayout();
  // Leave the list first: destroying the child must not see it still listed.
  items_.erase(it);
  DisposeChild(control);
  return true;
}

bool CContainerUI::RemoveAt(int index) {
  CControlUI* control = ItemAt(index);
  return control != nullptr && Remove(control);
}

void CContainerUI::RemoveAll() {
  std::vector<CControlUI*> items;
  items.swap(items_);
  for (CControlUI* child : items) DisposeChild(child);
  RequestLayout();
}

SkinRect CContainerUI::Inset() const { return inset_; }

void CContainerUI::SetInset(const SkinRect& inset) {
  inset_ = ClampRect(inset);
  RequestLayout();
}

int CContainerUI::ChildPadding() const { return childPadding_; }

void CContainerUI::SetChildPadding(int padding) {
  childPadding_ = ClampCoord(padding);
  RequestLayout();
}

int CContainerUI::ChildVPadding() const { return childVPadding_; }

void CContainerUI::SetChildVPadding(int padding) {
  childVPadding_ = ClampCoord(padding);
  RequestLayout();
}

bool CContainerUI::IsAutoDestroy() const { return autoDestroy_; }
void CContainerUI::SetAutoDestroy(bool on) { autoDestroy_ = on; }
bool CContainerUI::IsDelayedDestroy() const { return delayedDestroy_; }
void CContainerUI::SetDelayedDestroy(bool on) { delayedDestroy_ = on; }
bool CContainerUI::IsMouseChildEnabled() const { return mouseChild_; }
void CContainerUI::SetMouseChildEnabled(bool on) { mouseChild_ = on; }

void CContainerUI::SetFloatScrollBar(bool on) {
  if (floatScrollBar_ == on) return;
  floatScrollBar_ = on;
  RequestLayout();
}

bool CContainerUI::IsFloatScrollBar() const { return floatScrollBar_; }

int CContainerUI::FindSelectable(int index, bool forward) const {
  const int n = static_cast<int>(items_.size());
  if (n == 0) return -1;
  index = std::clamp(index, 0, n - 1);
  for (int i = index; i >= 0 && i < n; i += forward ? 1 : -1)
    if (items_[i]->IsVisible() && items_[i]->IsEnabled()) return i;
  return -1;
}

SkinSize CContainerUI::ScrollPos() const {
  return {IsBarVisible(hScroll_) ? ClampCoord(hScroll_->ScrollPos()) : 0,
          IsBarVisible(vScroll_) ? ClampCoord(vScroll_->ScrollPos()) : 0};
}

SkinSize CContainerUI::ScrollRange() const {
  return {IsBarVisible(hScroll_) ? ClampCoord(hScroll_->ScrollRange()) : 0,
          IsBarVisible(vScroll_) ? ClampCoord(vScroll_->ScrollRange()) : 0};
}

void CContainerUI::SetScrollPos(SkinSize pos) {
  int dx = 0;
  int dy = 0;
  if (IsBarVisible(vScroll_)) {
    const int old = ClampCoord(vScroll_->ScrollPos());
    vScroll_->SetScrollPos(pos.cy);
    dy = ClampCoord(vScroll_->ScrollPos()) - old;
  }
  if (IsBarVisible(hScroll_)) {
    const int old = ClampCoord(hScroll_->ScrollPos());
    hScroll_->SetScrollPos(pos.cx);
    dx = ClampCoord(hScroll_->ScrollPos()) - old;
  }
  if (dx == 0 && dy == 0) return;
  for (CControlUI* child : items_) {
    if (!child->IsVisible() || child->IsFloat()) continue;
    SkinRect rc = child->Position();
    rc.Offset(-dx, -dy);
    child->SetPosition(rc);
  }
  Invalidate();
}

namespace {
// One wheel notch or arrow key: a line of the default font plus some air.
int LineStep(CSkinHost* host) { return host != nullptr ? host->DefaultFontInfo().height + 30 : 8; }
}  // namespace

void CContainerUI::ScrollBy(int dx, int dy) {
  SkinSize p = ScrollPos();
  p.cx += dx;
  p.cy += dy;
  SetScrollPos(p);
}

// A page is the inside of the container, less the bar that runs across the other direction.
int CContainerUI::PageHeight() const {
  int page = itemRect_.Height() - inset_.top - inset_.bottom;
  if (IsBarVisible(hScroll_)) page -= hScroll_->FixedHeight();
  return page;
}

int CContainerUI::PageWidth() const {
  int page = itemRect_.Width() - inset_.left - inset_.right;
  if (IsBarVisible(vScroll_)) page -= vScroll_->FixedWidth();
  return page;
}

void CContainerUI::LineUp() { ScrollBy(0, -LineStep(host_)); }
void CContainerUI::LineDown() { ScrollBy(0, LineStep(host_)); }
void CContainerUI::PageUp() { ScrollBy(0, -PageHeight()); }
void CContainerUI::PageDown() { ScrollBy(0, PageHeight()); }
void CContainerUI::HomeUp() { SetScrollPos({ScrollPos().cx, 0}); }
void CContainerUI::EndDown() { SetScrollPos({ScrollPos().cx, ScrollRange().cy}); }
void CContainerUI::LineLeft() { ScrollBy(-8, 0); }
void CContainerUI::LineRight() { ScrollBy(8, 0); }
void CContainerUI::PageLeft() { ScrollBy(-PageWidth(), 0); }
void CContainerUI::PageRight() { ScrollBy(PageWidth(), 0); }
void CContainerUI::HomeLeft() { SetScrollPos({0, ScrollPos().cy}); }
void CContainerUI::EndRight() { SetScrollPos({ScrollRange().cx, ScrollPos().cy}); }

void CContainerUI::EnableScrollBar(bool vertical, bool horizontal) {
  if (vertical || horizontal) CControlUI::SetMouseEnabled(true);
  auto make = [this](std::unique_ptr<CScrollBarBaseUI>& bar, bool want, bool isHorizontal) {
    if (!want) {
      bar.reset();
      return;
    }
    if (bar || g_scrollBarFactory == nullptr) return;
    bar = g_scrollBarFactory();
    if (!bar) return;
    bar->SetOwner(this);
    if (isHorizontal) bar->SetHorizontal(true);
    bar->SetHost(host_, this, false, callback_);
    if (host_ != nullptr) {
      if (const std::wstring* defaults = host_->FindClassDefaults(isHorizontal ? L"HScrollBar" : L"VScrollBar"))
        bar->ApplyAttributes(*defaults);
    }
  };
  make(vScroll_, vertical, false);
  make(hScroll_, horizontal, true);
  RequestLayout();
}

CScrollBarBaseUI* CContainerUI::VerticalScrollBar() const { return vScroll_.get(); }
CScrollBarBaseUI* CContainerUI::HorizontalScrollBar() const { return hScroll_.get(); }

void CContainerUI::SetFloatPos(int index) {
  CControlUI* child = ItemAt(index);
  if (child == nullptr || !child->IsVisible() || !child->IsFloat()) return;
  const SkinSize xy = child->FixedXY();
  const int w = child->FixedWidth();
  const int h = child->FixedHeight();
  const SkinRect& p = itemRect_;
  // 64-bit: percentages from the skin are not bounded.
  long long left = xy.cx >= 0 ? 1LL * p.left + xy.cx : 1LL * p.right + xy.cx - w;
  long long top = xy.cy >= 0 ? 1LL * p.top + xy.cy : 1LL * p.bottom + xy.cy - h;
  long long right = left + w;
  long long bottom = top + h;
  RelativePosUI rel = child->RelativePos();
  if (rel.relative) {
    if (rel.parentSize.cx != 0) {
      const long long dx = 1LL * p.Width() - rel.parentSize.cx;
      const long long dy = 1LL * p.Height() - rel.parentSize.cy;
      left += rel.moveXPercent * dx / 100;
      top += rel.moveYPercent * dy / 100;
      right = left + rel.zoomXPercent * dx / 100 + w;
      bottom = top + rel.zoomYPercent * dy / 100 + h;
    }
    child->SetRelativeParentSize({p.Width(), p.Height()});
  }
  child->SetPosition({ClampCoord(left), ClampCoord(top), ClampCoord(right), ClampCoord(bottom)});
}

void CContainerUI::LineAreas(SkinRect& area, SkinRect& reference) const {
  area = itemRect_.Deflated(inset_);
  reference = area;
  if (IsBarVisible(vScroll_)) {
    reference.right -= vScroll_->FixedWidth();
    if (!floatScrollBar_) area.right -= vScroll_->FixedWidth();
  }
  if (IsBarVisible(hScroll_)) {
    reference.bottom -= hScroll_->FixedHeight();
    if (!floatScrollBar_) area.bottom -= hScroll_->FixedHeight();
  }
}

int CContainerUI::PlaceLine(bool vertical, const SkinRect& area) {
  // "main" is the stacking axis, "cross" the other one. Sums are 64-bit: a skin may hold many
  // children of large sizes.
  struct Axis {
    bool v;
    int& Main(SkinSize& s) const { return v ? s.cy : s.cx; }
    int Main(const SkinSize& s) const { return v ? s.cy : s.cx; }
    int Cross(const SkinSize& s) const { return v ? s.cx : s.cy; }
    int MainStart(const SkinRect& r) const { return v ? r.top : r.left; }
    int MainEnd(const SkinRect& r) const { return v ? r.bottom : r.right; }
    int CrossStart(const SkinRect& r) const { return v ? r.left : r.top; }
    int CrossEnd(const SkinRect& r) const { return v ? r.right : r.bottom; }
    int MinMain(const CControlUI* c) const { return v ? c->MinHeight() : c->MinWidth(); }
    int MaxMain(const CControlUI* c) const { return v ? c->MaxHeight() : c->MaxWidth(); }
    int MinCross(const CControlUI* c) const { return v ? c->MinWidth() : c->MinHeight(); }
    int MaxCross(const CControlUI* c) const { return v ? c->MaxWidth() : c->MaxHeight(); }
    int FixedCross(const CControlUI* c) const { return v ? c->FixedWidth() : c->FixedHeight(); }
    SkinSize Make(int main, int cross) const { return v ? SkinSize{cross, main} : SkinSize{main, cross}; }
  } ax{vertical};

  SkinSize available{area.Width(), area.Height()};
  if (IsBarVisible(hScroll_)) available.cx = ClampCoord(1LL * available.cx + ScrollRange().cx);

  int stretchable = 0;
  long long fixedTotal = 0;
  int counted = 0;
  for (CControlUI* child : items_) {
    if (!child->IsVisible() || child->IsFloat()) continue;
    SkinSize sz = child->MeasureSize(available);
    if (ax.Main(sz) == 0)
      ++stretchable;
    else
      ax.Main(sz) = std::min(std::max(ax.Main(sz), ax.MinMain(child)), ax.MaxMain(child));
    const SkinRect pad = child->Padding();
    fixedTotal += 1LL * ax.Main(sz) + ax.MainStart(pad) + ax.MainEnd(pad);
    ++counted;
  }
  fixedTotal += 1LL * std::max(0, counted - 1) * childPadding_;
  const long long availMain = ax.Main(available);
  const int stretch = stretchable > 0 ? ClampCoord(std::max(0LL, (availMain - fixedTotal) / stretchable)) : 0;

  // Children of a vertical layout follow both scroll positions; a horizontal one only scrolls
  // along its own axis.
  long long cursor = vertical ? 1LL * area.top - ScrollPos().cy : 1LL * area.left - ScrollPos().cx;
  const long long crossStart = vertical ? 1LL * area.left - ScrollPos().cx : area.top;
  long long remaining = availMain;
  long long needed = 0;
  for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
    CControlUI* child = items_[i];
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    const SkinRect pad = child->Padding();
    remaining -= ax.MainStart(pad);
    SkinSize sz = child->MeasureSize(ax.Make(ClampCoord(remaining), ax.Cross(available)));
    int main = ax.Main(sz) == 0 ? stretch : ax.Main(sz);
    main = std::min(std::max(main, ax.MinMain(child)), ax.MaxMain(child));
    int cross = ax.FixedCross(child);
    if (cross == 0) cross = ClampCoord(std::max(0LL, 1LL * ax.Cross(available) - ax.CrossStart(pad) - ax.CrossEnd(pad)));
    cross = std::min(std::max(cross, ax.MinCross(child)), ax.MaxCross(child));
    const long long m0 = cursor + ax.MainStart(pad);
    const long long c0 = crossStart + ax.CrossStart(pad);
    if (vertical)
      child->SetPosition({ClampCoord(c0), ClampCoord(m0), ClampCoord(c0 + cross), ClampCoord(m0 + main)});
    else
      child->SetPosition({ClampCoord(m0), ClampCoord(c0), ClampCoord(m0 + main), ClampCoord(c0 + cross)});
    cursor += 1LL * main + ax.MainStart(pad) + ax.MainEnd(pad) + childPadding_;
    remaining -= 1LL * main + ax.MainEnd(pad) + childPadding_;
    needed += 1LL * main + ax.MainStart(pad) + ax.MainEnd(pad);
  }
  needed += 1LL * std::max(0, counted - 1) * childPadding_;
  return ClampCoord(needed);
}

void CContainerUI::ProcessScrollBar(const SkinRect& rc, int, int heightNeeded) {
  if (IsBarVisible(hScroll_))
    hScroll_->SetPosition({rc.left, rc.bottom, rc.right, rc.bottom + hScroll_->FixedHeight()});
  if (!vScroll_) return;
  if (heightNeeded > rc.Height() && !vScroll_->IsVisible()) {
    vScroll_->SetVisible(true);
    vScroll_->SetScrollRange(heightNeeded - rc.Height());
    vScroll_->SetScrollPos(0);
    scrollProcessing_ = true;
    SetPosition(itemRect_);
    scrollProcessing_ = false;
    return;
  }
  if (!vScroll_->IsVisible()) return;
  const int excess = heightNeeded - rc.Height();
  if (excess <= 0 && !scrollProcessing_) {
    vScroll_->SetVisible(false);
    vScroll_->SetScrollPos(0);
    vScroll_->SetScrollRange(0);
    SetPosition(itemRect_);
    return;
  }
  vScroll_->SetPosition({rc.right, rc.top, rc.right + vScroll_->FixedWidth(), rc.bottom});
  if (vScroll_->ScrollRange() == excess) return;
  const int oldPos = vScroll_->ScrollPos();
  vScroll_->SetScrollRange(std::abs(excess));
  if (vScroll_->ScrollRange() == 0) {
    vScroll_->SetVisible(false);
    vScroll_->SetScrollPos(0);
  }
  if (oldPos > vScroll_->ScrollPos()) SetPosition(itemRect_);
}

}  // namespace SkinUI
