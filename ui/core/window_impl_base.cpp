#include "ui/core/window_impl_base.h"

#include <cwctype>

#include "common/base/log.h"
#include "platform/text_encoding.h"
#include "platform/window_messages.h"
#include "ui/core/control_ui.h"
#include "ui/core/skin_archive_registrar.h"
#include "ui/core/skin_builder.h"

namespace SkinUI {
namespace {

constexpr std::uint32_t kDefaultClassStyle = platform::kCsVRedraw | platform::kCsHRedraw | platform::kCsDblClks;
// The error texts of a failed build are read into buffers of this many characters.
constexpr int kErrorBufferSize = 260;

bool EqualsIgnoringCase(const std::wstring& a, const wchar_t* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i] != 0; ++i)
    if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i]))) return false;
  return i == a.size() && b[i] == 0;
}

SkinPoint PointOf(std::intptr_t lParam) { return {platform::PointX(lParam), platform::PointY(lParam)}; }

// A hook whose base behaviour is to do nothing lets the message go on.
std::intptr_t NotHandled(bool& handled) {
  handled = false;
  return 0;
}

}  // namespace

WindowImplBaseNew::WindowImplBaseNew() = default;

WindowImplBaseNew::~WindowImplBaseNew() {
  // Destroyed here, while this class's hooks and the host still exist.
  DestroyNow();
  host_.DetachWindow();
}

const wchar_t* WindowImplBaseNew::WindowClassName() const { return L"WindowImplBaseNew"; }
std::uint32_t WindowImplBaseNew::ClassStyle() const { return kDefaultClassStyle; }

void WindowImplBaseNew::OnWindowDestroyed(platform::WindowHandle) {
  host_.RemovePreMessageFilter(this);
  host_.RemoveNotifier(this);
  host_.ReleaseControl(host_.Root());
  host_.DetachWindow();
}

void WindowImplBaseNew::SetSkinFile(const std::wstring& name) {
  skinFile_ = name;
  OnSkinFileSet();
}

platform::WindowHandle WindowImplBaseNew::Create(platform::WindowHandle parent, const std::wstring& title,
                                                 ISkinBuilderCallback* callback, std::uint32_t style,
                                                 std::uint32_t exStyle) {
  callback_ = callback;
  return CWindowWnd::Create(parent, title, style, exStyle, 0, 0, 0, 0);
}

void WindowImplBaseNew::OnSkinFileSet() {}
void WindowImplBaseNew::OnInitialized() {}
void WindowImplBaseNew::OnInitialize() {}

std::intptr_t WindowImplBaseNew::OnClose(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled) {
  return NotHandled(handled);
}
std::intptr_t WindowImplBaseNew::OnDestroy(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled) {
  return NotHandled(handled);
}
std::intptr_t WindowImplBaseNew::OnTimer(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled) {
  return NotHandled(handled);
}

std::intptr_t WindowImplBaseNew::OnNcActivate(std::uint32_t, std::uintptr_t wParam, std::intptr_t, bool& handled) {
  platform::IWindowSystem* ws = platform::WindowSystem();
  if (ws->IsIconic(handle_)) return NotHandled(handled);
  return wParam == 0 ? 1 : 0;
}

std::intptr_t WindowImplBaseNew::OnNcCalcSize(std::uint32_t, std::uintptr_t, std::intptr_t, bool&) { return 0; }
std::intptr_t WindowImplBaseNew::OnNcPaint(std::uint32_t, std::uintptr_t, std::intptr_t, bool&) { return 0; }

int WindowImplBaseNew::CaptionHitTest(SkinPoint pt) {
  platform::IWindowSystem* ws = platform::WindowSystem();
  const platform::WinRect client = ws->GetClientRect(handle_);
  const SkinRect& caption = host_.CaptionRect();
  const bool inBand = pt.x >= client.left + caption.left && pt.x < client.right - caption.right &&
                      pt.y >= caption.top && pt.y < caption.bottom;
  // Buttons and other mouse-enabled controls in the band keep their clicks, enabled or not.
  if (inBand && host_.FindControlAt(pt, kFindVisible | kFindTopFirst) == nullptr) return platform::kHtCaption;
  return platform::kHtClient;
}

std::intptr_t WindowImplBaseNew::OnNcHitTest(std::uint32_t, std::uintptr_t, std::intptr_t lParam, bool&) {
  platform::IWindowSystem* ws = platform::WindowSystem();
  if (ws->IsZoomed(handle_)) return platform::kHtClient;
  const platform::WinPoint pt = ws->ScreenToClient(handle_, {platform::PointX(lParam), platform::PointY(lParam)});
  const platform::WinRect client = ws->GetClientRect(handle_);
  // A captured pointer reports points outside the window: they are no border to size from.
  if (pt.x < client.left || pt.y < client.top || pt.x >= client.right || pt.y >= client.bottom)
    return platform::kHtNowhere;
  const SkinRect& box = host_.SizeBox();
  const bool left = pt.x < client.left + box.left;
  const bool right = pt.x > client.right - box.right;
  if (pt.y < client.top + box.top) return left ? platform::kHtTopLeft : right ? platform::kHtTopRight : platform::kHtTop;
  if (pt.y > client.bottom - box.bottom)
    return left ? platform::kHtBottomLeft : right ? platform::kHtBottomRight : platform::kHtBottom;
  return left ? platform::kHtLeft : right ? platform::kHtRight : platform::kHtClient;
}

std::intptr_t WindowImplBaseNew::OnGetMinMaxInfo(std::uint32_t, std::uintptr_t, std::intptr_t lParam, bool& handled) {
  auto* info = reinterpret_cast<platform::MinMaxInfo*>(lParam);
  if (info == nullptr) return NotHandled(handled);
  platform::IWindowSystem* ws = platform::WindowSystem();
  const platform::WinRect work = ws->WorkArea(handle_);
  const bool primary = work == ws->WorkArea(nullptr);
  info->maxPosition = primary ? platform::WinPoint{work.left, work.top} : platform::WinPoint{0, 0};
  info->maxSize = {work.Width(), work.Height()};
  const SkinSize maxTrack = host_.MaxTrackSize();
  const SkinSize minTrack = host_.MinTrackSize();
  info->maxTrackSize = {maxTrack.cx != 0 ? maxTrack.cx : work.Width(), maxTrack.cy != 0 ? maxTrack.cy : work.Height()};
  info->minTrackSize = {minTrack.cx, minTrack.cy};
  return 0;
}

std::intptr_t WindowImplBaseNew::OnMouseWheel(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled) {
  return NotHandled(handled);
}

std::intptr_t WindowImplBaseNew::OnSize(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled) {
  ApplyRoundCorner();
  // The host lays the controls out again at the new size.
  return NotHandled(handled);
}

void WindowImplBaseNew::ApplyRoundCorner() {
  platform::IWindowSystem* ws = platform::WindowSystem();
  const SkinSize corner = host_.RoundCorner();
  if (ws->IsIconic(handle_) || (corner.cx == 0 && corner.cy == 0)) return;
  const platform::WinRect rc = ws->GetWindowRect(handle_);
  ws->SetRoundRegion(handle_, rc.Width() + 1, rc.Height() + 1, corner.cx, corner.cy);
}

std::intptr_t WindowImplBaseNew::OnSysCommand(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                              bool&) {
  // Alt+F4 and the window manager's close button are ignored here; a window that wants them
  // overrides this hook.
  if ((wParam & 0xFFF0) == platform::kScClose) return 0;
  return platform::WindowSystem()->DefWindowProc(handle_, message, wParam, lParam);
}

std::intptr_t WindowImplBaseNew::OnCreate(std::uint32_t, std::uintptr_t, std::intptr_t, bool&) {
  // The skin draws its own frame: no caption, and the frame is worked out again.
  style_ = (style_ & ~kWsCaption) | kWsClipSiblings | kWsClipChildren;
  platform::IWindowSystem* ws = platform::WindowSystem();
  ws->SetWindowPos(handle_, 0, 0, 0, 0,
                   platform::kSwpNoMove | platform::kSwpNoSize | platform::kSwpNoZOrder | platform::kSwpNoActivate |
                       platform::kSwpFrameChanged);
  host_.AttachWindow(handle_);
  host_.AddPreMessageFilter(this);
  const std::wstring file = SkinFile();
  if (!file.empty()) {
    CSkinBuilder builder;
    std::unique_ptr<CControlUI> root = builder.Build(file, nullptr, callback_, &host_);
    if (!root) {
      wchar_t message[kErrorBufferSize];
      wchar_t location[kErrorBufferSize];
      builder.ErrorMessage(message, kErrorBufferSize);
      builder.ErrorLocation(location, kErrorBufferSize);
      LOG_WARN << "the window's skin " << platform::WideToUtf8(file)
               << " gave no content: " << platform::WideToUtf8(message) << " " << platform::WideToUtf8(location);
    }
    host_.AttachRoot(std::move(root));
    // The skin's size came with a size message that may have preceded its "roundcorner".
    ApplyRoundCorner();
    host_.AddNotifier(this);
    OnInitialize();
    OnInitialized();
  }
  return 0;
}

#define WEBINST_NOTHING_HOOK(Name)                                                                          \
  std::intptr_t WindowImplBaseNew::Name(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled) {    \
    return NotHandled(handled);                                                                           \
  }
WEBINST_NOTHING_HOOK(OnKeyDown)
WEBINST_NOTHING_HOOK(OnKillFocus)
WEBINST_NOTHING_HOOK(OnSetFocus)
WEBINST_NOTHING_HOOK(OnLButtonDown)
WEBINST_NOTHING_HOOK(OnLButtonUp)
WEBINST_NOTHING_HOOK(OnMouseMove)
WEBINST_NOTHING_HOOK(OnMouseLeave)
WEBINST_NOTHING_HOOK(OnMouseHover)
WEBINST_NOTHING_HOOK(OnMouseEnterWindow)
WEBINST_NOTHING_HOOK(OnOtherMessage)
#undef WEBINST_NOTHING_HOOK

void WindowImplBaseNew::SetSkinArchive(int kind, const std::wstring& fileName, int resourceId,
                                       std::string_view resourceType, bool main) {
  const SkinArchiveRegistrar* registrar = GetSkinArchiveRegistrar();
  if (registrar == nullptr) {
    LOG_ERROR << "no skin archive registrar is installed: the skin archive is not registered";
    return;
  }
  if (kind == kArchiveResource && registrar->registerModuleResource != nullptr)
    registrar->registerModuleResource(resourceId, resourceType, main);
  else if (kind == kArchiveFile && registrar->registerArchiveFile != nullptr)
    registrar->registerArchiveFile(fileName, main);
  else
    LOG_ERROR << "skin archive kind " << kind << " is not known";
}

void WindowImplBaseNew::SetMarkupArchive(const std::wstring& fileName) {
  const SkinArchiveRegistrar* registrar = GetSkinArchiveRegistrar();
  if (registrar == nullptr || registrar->registerMarkupArchiveFile == nullptr) {
    LOG_ERROR << "no skin archive registrar is installed: the markup archive is not registered";
    return;
  }
  registrar->registerMarkupArchiveFile(fileName);
}

void WindowImplBaseNew::OnWindowInit(SkinNotify&) {}
void WindowImplBaseNew::OnKillFocusNotify(SkinNotify&) {}
void WindowImplBaseNew::OnSetFocusNotify(SkinNotify&) {}
void WindowImplBaseNew::OnClick(SkinNotify&) {}
void WindowImplBaseNew::OnDbClick(SkinNotify&) {}
void WindowImplBaseNew::OnSelectChanged(SkinNotify&) {}
void WindowImplBaseNew::OnHeaderClick(SkinNotify&) {}
void WindowImplBaseNew::OnHeaderCheck(SkinNotify&) {}
void WindowImplBaseNew::OnTextChanged(SkinNotify&) {}
void WindowImplBaseNew::OnItemSelect(SkinNotify&) {}
void WindowImplBaseNew::OnItemClick(SkinNotify&) {}
void WindowImplBaseNew::OnItemDbClick(SkinNotify&) {}
void WindowImplBaseNew::OnLink(SkinNotify&) {}
std::wstring WindowImplBaseNew::SkinFile() const { return skinFile_; }

std::intptr_t WindowImplBaseNew::OnDefaultKey(std::uintptr_t key) {
  if (key != platform::kVkEscape) return 0;
  Close(1);
  return 1;
}

void WindowImplBaseNew::Notify(SkinNotify& msg) {
  using Hook = void (WindowImplBaseNew::*)(SkinNotify&);
  static const struct {
    const wchar_t* type;
    Hook hook;
  } kHooks[] = {
      {L"windowinit", &WindowImplBaseNew::OnWindowInit},     {L"killfocus", &WindowImplBaseNew::OnKillFocusNotify},
      {L"setfocus", &WindowImplBaseNew::OnSetFocusNotify},   {L"click", &WindowImplBaseNew::OnClick},
      {L"dbclick", &WindowImplBaseNew::OnDbClick},           {L"selectchanged", &WindowImplBaseNew::OnSelectChanged},
      {L"headerclick", &WindowImplBaseNew::OnHeaderClick},   {L"headercheck", &WindowImplBaseNew::OnHeaderCheck},
      {L"textchanged", &WindowImplBaseNew::OnTextChanged},   {L"itemselect", &WindowImplBaseNew::OnItemSelect},
      {L"itemclick", &WindowImplBaseNew::OnItemClick},       {L"itemdbclick", &WindowImplBaseNew::OnItemDbClick},
      {L"link", &WindowImplBaseNew::OnLink},
  };
  for (const auto& h : kHooks) {
    if (EqualsIgnoringCase(msg.type, h.type)) {
      (this->*h.hook)(msg);
      return;
    }
  }
}

std::intptr_t WindowImplBaseNew::MessageHandler(std::uint32_t message, std::uintptr_t wParam, std::intptr_t,
                                                bool&) {
  if (message == platform::kWmKeyDown && (wParam == platform::kVkReturn || wParam == platform::kVkEscape))
    return OnDefaultKey(wParam);
  return 0;
}

std::intptr_t WindowImplBaseNew::HandleMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  namespace pf = platform;
  bool handled = true;
  std::intptr_t result = 0;
  switch (message) {
    case pf::kWmCreate: result = OnCreate(message, wParam, lParam, handled); break;
    case pf::kWmDestroy: result = OnDestroy(message, wParam, lParam, handled); break;
    case pf::kWmSize: result = OnSize(message, wParam, lParam, handled); break;
    case pf::kWmSetFocus: result = OnSetFocus(message, wParam, lParam, handled); break;
    case pf::kWmKillFocus: result = OnKillFocus(message, wParam, lParam, handled); break;
    case pf::kWmClose: result = OnClose(message, wParam, lParam, handled); break;
    case pf::kWmGetMinMaxInfo: result = OnGetMinMaxInfo(message, wParam, lParam, handled); break;
    case pf::kWmNcCalcSize: result = OnNcCalcSize(message, wParam, lParam, handled); break;
    case pf::kWmNcHitTest: result = OnNcHitTest(message, wParam, lParam, handled); break;
    case pf::kWmNcPaint: result = OnNcPaint(message, wParam, lParam, handled); break;
    case pf::kWmNcActivate: result = OnNcActivate(message, wParam, lParam, handled); break;
    case pf::kWmKeyDown: result = OnKeyDown(message, wParam, lParam, handled); break;
    case pf::kWmSysCommand: result = OnSysCommand(message, wParam, lParam, handled); break;
    case pf::kWmTimer: result = OnTimer(message, wParam, lParam, handled); break;
    case pf::kWmMouseMove: result = OnMouseMove(message, wParam, lParam, handled); break;
    case pf::kWmLButtonUp: result = OnLButtonUp(message, wParam, lParam, handled); break;
    case pf::kWmMouseWheel: result = OnMouseWheel(message, wParam, lParam, handled); break;
    case pf::kWmMouseHover: result = OnMouseHover(message, wParam, lParam, handled); break;
    case pf::kWmMouseLeave: result = OnMouseLeave(message, wParam, lParam, handled); break;
    case kMsgMouseEnterWindow: result = OnMouseEnterWindow(message, wParam, lParam, handled); break;
    case pf::kWmLButtonDown:
      result = OnLButtonDown(message, wParam, lParam, handled);
      if (!handled && CaptionHitTest(PointOf(lParam)) == pf::kHtCaption) {
        // A press on the caption band starts the platform's window drag.
        const pf::WinPoint screen =
            pf::WindowSystem()->ClientToScreen(handle_, {pf::PointX(lParam), pf::PointY(lParam)});
        SendMessage(pf::kWmNcLButtonDown, pf::kHtCaption, pf::PackPoint(screen.x, screen.y));
        return 1;
      }
      break;
    default: handled = false; break;
  }
  if (handled) return result;
  handled = true;
  result = OnOtherMessage(message, wParam, lParam, handled);
  if (handled) return result;
  if (host_.MessageHandler(message, wParam, lParam, result)) return result;
  return CWindowWnd::HandleMessage(message, wParam, lParam);
}

}  // namespace SkinUI
