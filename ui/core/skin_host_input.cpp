// Input of the host's window turned into control events: focus and Tab order, mouse capture,
// hover and leave, clicks, the wheel, keys, cursors and Alt+letter shortcuts.
#include <algorithm>
#include <cwctype>

#include "platform/window_messages.h"
#include "ui/core/control_ui.h"
#include "ui/core/skin_host.h"
#include "ui/core/skin_tooltip.h"

namespace SkinUI {
namespace {

// Hover delay before a tooltip window exists; afterwards the tooltip's own initial delay.
constexpr unsigned kFirstHoverTime = 400;

// The last point a hover was handled at, shared by all windows: resting on the same spot again
// (after a leave and return) does not bring the same tooltip back.
SkinPoint g_lastHoverPoint{-1, -1};

SkinPoint PointOf(std::intptr_t lParam) { return {platform::PointX(lParam), platform::PointY(lParam)}; }

bool IsLabel(const CControlUI* c) { return std::wstring(c->ClassName()).find(L"LabelUI") != std::wstring::npos; }

std::uint16_t KeyState(const platform::IWindowSystem* ws) {
  if (ws == nullptr) return 0;
  std::uint16_t state = 0;
  if (ws->IsKeyDown(platform::kVkControl)) state |= kKeyStateControl;
  if (ws->IsKeyDown(2)) state |= kKeyStateRButton;
  if (ws->IsKeyDown(1)) state |= kKeyStateLButton;
  if (ws->IsKeyDown(platform::kVkShift)) state |= kKeyStateShift;
  if (ws->IsKeyDown(platform::kVkMenu)) state |= kKeyStateAlt;
  return state;
}

}  // namespace

SkinEvent CSkinHost::MakeEvent(int type, CControlUI* sender) const {
  SkinEvent e;
  e.type = type;
  e.sender = sender;
  e.timestamp = TickCount();
  e.ptMouse = lastMouse_;
  e.keyState = KeyState(Ws());
  return e;
}

void CSkinHost::Dispatch(CControlUI* control, int type, std::intptr_t wParam, std::intptr_t lParam,
                         std::uint16_t chKey) {
  if (control == nullptr) return;
  SkinEvent e = MakeEvent(type, control);
  e.wParam = wParam;
  e.lParam = lParam;
  e.chKey = chKey;
  control->DispatchEvent(e);
}

// ---- focus ----------------------------------------------------------------------------------------

void CSkinHost::TakePlatformFocus() {
  platform::IWindowSystem* ws = Ws();
  if (takeFocus_ && ws != nullptr && ws->GetFocus() != window_) ws->SetFocus(window_);
}

void CSkinHost::SetFocus(CControlUI* control) {
  if (control != focus_) TakePlatformFocus();
  if (control == focus_) return;
  if (focus_ != nullptr) {
    CControlUI* old = focus_;
    SkinEvent e = MakeEvent(kEventKillFocus, control);
    old->DispatchEvent(e);
    SendNotify(old, L"killfocus");
    focus_ = nullptr;
  }
  if (control == nullptr || control->Host() != this || !control->IsVisible() || !control->IsEnabled()) return;
  focus_ = control;
  // A focus given on purpose wins over the pending "first Tab stop after the layout".
  focusNeeded_ = false;
  focusTarget_ = nullptr;
  SkinEvent e = MakeEvent(kEventSetFocus, control);
  control->DispatchEvent(e);
  SendNotify(control, L"setfocus");
}

std::vector<CControlUI*> CSkinHost::TabStops() const {
  std::vector<CControlUI*> stops;
  if (!root_) return stops;
  root_->LocateControl(
      [](CControlUI* c, void* data) -> CControlUI* {
        if ((c->ControlFlags() & kControlTabStop) != 0) static_cast<std::vector<CControlUI*>*>(data)->push_back(c);
        return nullptr;
      },
      &stops, kFindVisible | kFindEnabled | kFindMeFirst);
  std::erase_if(stops, [this](CControlUI* c) { return c->Host() != this; });
  return stops;
}

void CSkinHost::MoveFocus(bool forward) {
  if (updateNeeded_ && forward) {
    // The Tab order follows the layout: the first paint after it moves the focus.
    focusNeeded_ = true;
    if (platform::IWindowSystem* ws = Ws()) ws->InvalidateRect(window_, nullptr);
    return;
  }
  const std::vector<CControlUI*> stops = TabStops();
  if (stops.empty()) return;
  auto it = std::find(stops.begin(), stops.end(), focus_);
  CControlUI* next;
  if (it == stops.end())
    next = forward ? stops.front() : stops.back();
  else if (forward)
    next = it + 1 == stops.end() ? stops.front() : *(it + 1);
  else
    next = it == stops.begin() ? stops.back() : *(it - 1);
  SetFocus(next);
}

void CSkinHost::SetFocusNeeded(CControlUI* control) {
  SetFocus(nullptr);
  focusNeeded_ = true;
  focusTarget_ = control;
  updateNeeded_ = true;
  if (platform::IWindowSystem* ws = Ws()) ws->InvalidateRect(window_, nullptr);
}

void CSkinHost::ApplyFocusNeeded() {
  if (!focusNeeded_) return;
  focusNeeded_ = false;
  CControlUI* target = focusTarget_;
  focusTarget_ = nullptr;
  const std::vector<CControlUI*> stops = TabStops();
  if (target != nullptr && std::find(stops.begin(), stops.end(), target) != stops.end())
    SetFocus(target);
  else
    MoveFocus(true);
}

// ---- mouse -----------------------------------------------------------------------------------------

void CSkinHost::SetCapture() {
  if (platform::IWindowSystem* ws = Ws()) ws->SetCapture(window_);
}

void CSkinHost::ReleaseCapture() {
  if (platform::IWindowSystem* ws = Ws(); ws != nullptr && ws->GetCapture() == window_) ws->ReleaseCapture();
}

bool CSkinHost::IsCaptured() const {
  platform::IWindowSystem* ws = Ws();
  return ws != nullptr && ws->GetCapture() == window_;
}

void CSkinHost::SetCursorShape(std::uint16_t cursorId) {
  cursorShape_ = cursorId;
  if (choosingCursor_) return;  // applied once the control under the pointer has chosen
  if (platform::IWindowSystem* ws = Ws()) ws->SetCursor(window_, cursorId);
}

void CSkinHost::OnSetCursor(std::intptr_t lParam, bool& handled) {
  handled = false;
  platform::IWindowSystem* ws = Ws();
  if (ws == nullptr || platform::LowWord(static_cast<std::uintptr_t>(lParam)) != platform::kHtClient) return;
  if (buttonDown_) {
    handled = true;  // a drag keeps the cursor it started with
    return;
  }
  const platform::WinPoint at = ws->ScreenToClient(window_, ws->CursorPos());
  CControlUI* control = FindControlAt({at.x, at.y});
  const bool chooses = control != nullptr && (control->ControlFlags() & kControlSetCursor) != 0;
  // An X cursor stays on the window until changed: the arrow is put back on every pass unless the
  // control under the pointer picks another one.
  choosingCursor_ = true;
  cursorShape_ = platform::kCursorArrow;
  if (chooses) Dispatch(control, kEventSetCursor);
  choosingCursor_ = false;
  ws->SetCursor(window_, cursorShape_);
  handled = chooses;
}

void CSkinHost::HideTooltip() {
  if (tooltip_) tooltip_->Hide();
}

void CSkinHost::OnMouseMove(std::uintptr_t wParam, std::intptr_t lParam) {
  platform::IWindowSystem* ws = Ws();
  if (!mouseTracking_) {
    const unsigned hoverTime = tooltip_ ? tooltip_->InitialDelay() : kFirstHoverTime;
    ws->TrackMouse(window_, platform::kTrackHover | platform::kTrackLeave, hoverTime);
    mouseTracking_ = true;
  }
  if (!mouseEntered_) {
    mouseEntered_ = true;
    ws->SendMessage(window_, kMsgMouseEnterWindow, 0, 0);
    if (window_ == nullptr) return;  // the window went away in the handler
  }
  const SkinPoint pt = PointOf(lParam);
  lastMouse_ = pt;
  if (click_ != nullptr) {
    Dispatch(click_, kEventMouseMove, static_cast<std::intptr_t>(wParam), lParam);
    return;
  }
  CControlUI* hit = FindControlAt(pt);
  if (hit != hover_) {
    Dispatch(hover_, kEventMouseLeave, static_cast<std::intptr_t>(wParam), lParam);
    HideTooltip();
    hover_ = nullptr;
    Dispatch(hit, kEventMouseEnter, static_cast<std::intptr_t>(wParam), lParam);
    hover_ = hit;
  }
  Dispatch(hit, kEventMouseMove, static_cast<std::intptr_t>(wParam), lParam);
}

void CSkinHost::OnMouseHover(std::uintptr_t, std::intptr_t lParam) {
  mouseTracking_ = false;
  const SkinPoint pt = PointOf(lParam);
  if (pt == g_lastHoverPoint) return;
  g_lastHoverPoint = pt;
  CControlUI* hit = FindControlAt(pt);
  Dispatch(hover_, kEventMouseHover, 0, lParam);
  if (hit == nullptr || hit->ToolTip().empty()) return;
  if (!tooltip_) tooltip_ = std::make_unique<CSkinTooltip>(this);
  platform::IWindowSystem* ws = Ws();
  const platform::WinPoint screen = ws->ClientToScreen(window_, {pt.x, pt.y});
  tooltip_->Show(hit->ToolTip(), hit->ToolTipWidth(), hit->Position(), {screen.x, screen.y});
}

void CSkinHost::OnMouseLeave(std::uintptr_t, std::intptr_t) {
  HideTooltip();
  if (mouseTracking_) {
    // Moving to nowhere leaves the hover control the ordinary way.
    if (platform::IWindowSystem* ws = Ws()) ws->SendMessage(window_, platform::kWmMouseMove, 0, platform::PackPoint(-1, -1));
  }
  mouseTracking_ = false;
  mouseEntered_ = false;
}

// A press where no control takes the mouse (empty client area) does not capture the pointer:
// on X11 that would grab the whole desktop until the release, and the button-down state would
// freeze the cursor.
void CSkinHost::OnLButtonDown(std::uintptr_t wParam, std::intptr_t lParam) {
  TakePlatformFocus();
  lastMouse_ = PointOf(lParam);
  CControlUI* hit = FindControlAt(lastMouse_);
  if (hit == nullptr) return;
  click_ = hit;
  SetFocus(hit);
  if (click_ != hit) return;  // the focus change destroyed it
  SetCapture();
  buttonDown_ = true;
  Dispatch(hit, kEventButtonDown, static_cast<std::intptr_t>(wParam), lParam, 0);
}

void CSkinHost::OnLButtonUp(std::uintptr_t wParam, std::intptr_t lParam) {
  lastMouse_ = PointOf(lParam);
  if (click_ == nullptr) return;
  ReleaseCapture();
  buttonDown_ = false;
  CControlUI* control = click_;
  click_ = nullptr;
  Dispatch(control, kEventButtonUp, static_cast<std::intptr_t>(wParam), lParam);
}

void CSkinHost::OnLButtonDblClk(std::uintptr_t wParam, std::intptr_t lParam) {
  TakePlatformFocus();
  lastMouse_ = PointOf(lParam);
  CControlUI* hit = FindControlAt(lastMouse_);
  if (hit == nullptr) return;
  SetCapture();
  click_ = hit;
  Dispatch(hit, kEventDblClick, static_cast<std::intptr_t>(wParam), lParam);
}

void CSkinHost::OnRButtonDown(std::uintptr_t wParam, std::intptr_t lParam) {
  TakePlatformFocus();
  lastMouse_ = PointOf(lParam);
  CControlUI* hit = FindControlAt(lastMouse_);
  if (hit != hover_) {
    CControlUI* old = hover_;
    hover_ = nullptr;  // left once; the next move enters the control under the pointer
    Dispatch(old, kEventMouseLeave);
    HideTooltip();
  }
  if (hit == nullptr) return;
  SetFocus(hit);
  if (FindControlAt(lastMouse_) != hit) return;  // the focus change destroyed or hid it
  SetCapture();
  click_ = hit;
  Dispatch(hit, kEventRButtonDown, static_cast<std::intptr_t>(wParam), lParam);
}

void CSkinHost::OnRButtonUp(std::uintptr_t wParam, std::intptr_t lParam) {
  lastMouse_ = PointOf(lParam);
  if (click_ == nullptr) return;
  ReleaseCapture();
  // The click control stays until the context-menu message the release brings.
  Dispatch(click_, kEventRButtonUp, static_cast<std::intptr_t>(wParam), lParam);
}

void CSkinHost::OnContextMenu(std::uintptr_t, std::intptr_t lParam) {
  if (click_ == nullptr) return;
  ReleaseCapture();
  CControlUI* control = click_;
  click_ = nullptr;
  Dispatch(control, kEventContextMenu, lParam, reinterpret_cast<std::intptr_t>(control));
}

void CSkinHost::OnMouseWheel(std::uintptr_t wParam, std::intptr_t lParam) {
  platform::IWindowSystem* ws = Ws();
  const platform::WinPoint client = ws->ScreenToClient(window_, {platform::PointX(lParam), platform::PointY(lParam)});
  lastMouse_ = {client.x, client.y};
  const auto delta = static_cast<std::int16_t>(platform::HighWord(wParam));
  Dispatch(FindControlAt(lastMouse_), kEventScrollWheel, delta < 0 ? 1 : 0, 0);
  // The content moved under the pointer: the hover follows it.
  ws->SendMessage(window_, platform::kWmMouseMove, 0, platform::PackPoint(lastMouse_.x, lastMouse_.y));
}

// ---- keys ------------------------------------------------------------------------------------------

// Alt with a letter: the control whose shortcut it is takes the focus and is activated. A label
// with the shortcut names the control that follows it in the layout, which takes the key.
bool CSkinHost::OnSysChar(std::uintptr_t ch) {
  if (!root_ || ch == 0) return false;
  auto collect = [this](std::uint32_t flags) {
    std::vector<CControlUI*> visit;
    root_->LocateControl(
        [](CControlUI* c, void* data) -> CControlUI* {
          static_cast<std::vector<CControlUI*>*>(data)->push_back(c);
          return nullptr;
        },
        &visit, flags);
    return visit;
  };
  const auto wanted = std::towupper(static_cast<wint_t>(ch));
  for (CControlUI* c : collect(kFindEnabled | kFindTopFirst | kFindMeFirst)) {
    if (!c->IsVisible() || c->Shortcut() == 0 || std::towupper(static_cast<wint_t>(c->Shortcut())) != wanted) continue;
    CControlUI* target = c;
    if (IsLabel(c)) {
      // The top-first visit runs backwards through siblings: the follower is looked up in
      // layout order.
      const std::vector<CControlUI*> order = collect(kFindEnabled | kFindMeFirst);
      auto it = std::find(order.begin(), order.end(), c);
      target = nullptr;
      for (++it; it < order.end() && target == nullptr; ++it)
        if ((*it)->IsVisible() && !IsLabel(*it)) target = *it;
      if (target == nullptr) continue;
    }
    SetFocus(target);
    target->CanActivate();
    return true;
  }
  return false;
}

}  // namespace SkinUI
