#include "ui/core/skin_host.h"

#include <algorithm>
#include <chrono>
#include <string>

#include "common/base/log.h"
#include "platform/text_encoding.h"
#include "platform/window_messages.h"
#include "ui/core/control_ui.h"
#include "ui/core/skin_file_data.h"
#include "ui/core/skin_tooltip.h"

namespace SkinUI {
namespace {

CSkinHost::ImageLoader g_imageLoader = nullptr;
CSkinHost::ResourceReader g_resourceReader = nullptr;
CSkinHost::FontBackend g_fontBackend;

// The platform's default GUI font until a skin sets one.
constexpr const wchar_t* kDefaultFace = L"Sans";
constexpr int kDefaultFontSize = 12;
constexpr std::size_t kMaxFaceLength = 31;


// The process-wide part shared by all hosts (UI thread only).
struct ProcessState {
  std::vector<CSkinHost*> hosts;
  void* instance = nullptr;
  void* resourceInstance = nullptr;
};
ProcessState& Process() {
  static ProcessState state;
  return state;
}

// A control's name leaves the name table when the table points to that control.
void ForgetName(std::unordered_map<std::wstring, CControlUI*>& names, CControlUI* control) {
  auto it = names.find(control->GetName());
  if (it != names.end() && it->second == control) names.erase(it);
}

// Metrics without a text library: the nominal size, not remembered, so that a backend installed
// later measures the font properly.
void NominalMetrics(SkinFontInfo& f) {
  f.height = std::clamp(f.size, 1, kSkinCoordLimit);
  f.ascent = f.height;
  f.descent = 0;
  f.externalLeading = 0;
  f.aveCharWidth = f.maxCharWidth = (f.height + 1) / 2;
}

SkinFontInfo MakeFont(const std::wstring& face, int size, int weight, bool underline, bool italic, bool strikeout,
                      bool fromFile) {
  SkinFontInfo f;
  f.face = face.substr(0, kMaxFaceLength);
  f.size = size;
  f.weight = weight > 0 ? weight : 0;
  f.underline = underline;
  f.italic = italic;
  f.strikeout = strikeout;
  f.fromFile = fromFile;
  return f;
}

}  // namespace

void CSkinHost::SetImageLoader(ImageLoader loader) { g_imageLoader = loader; }
void CSkinHost::SetResourceReader(ResourceReader reader) { g_resourceReader = reader; }
void CSkinHost::SetFontBackend(const FontBackend& backend) { g_fontBackend = backend; }

std::vector<std::uint8_t> CSkinHost::LoadResourceData(const std::wstring& type, int id) {
  if (g_resourceReader == nullptr) return {};
  return g_resourceReader(type, id);
}

std::uint32_t CSkinHost::TickCount() {
  // The window system's clock when there is one (a test's manual clock), the monotonic clock else.
  if (platform::IWindowSystem* ws = platform::WindowSystem()) return ws->TickCount();
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void CSkinHost::SetInstance(void* instance) { Process().instance = instance; }
void* CSkinHost::Instance() { return Process().instance; }
void CSkinHost::SetResourceInstance(void* instance) { Process().resourceInstance = instance; }
void* CSkinHost::ResourceInstance() {
  return Process().resourceInstance != nullptr ? Process().resourceInstance : Process().instance;
}
const std::vector<CSkinHost*>& CSkinHost::Hosts() { return Process().hosts; }

CSkinHost* CSkinHost::HostOf(platform::WindowHandle window) {
  if (window == nullptr) return nullptr;
  for (CSkinHost* h : Process().hosts)
    if (h->window_ == window) return h;
  return nullptr;
}

CSkinHost::CSkinHost() : defaultFont_(MakeFont(kDefaultFace, kDefaultFontSize, 0, false, false, false, false)) {}

CSkinHost::~CSkinHost() {
  DetachWindow();
  // Controls tell the host that they go away while they are destroyed: the registries must still
  // be there, so the trees go first.
  focus_ = hover_ = click_ = keyControl_ = nullptr;
  root_.reset();
  delayedCleanup_.clear();
}

platform::IWindowSystem* CSkinHost::Ws() const { return window_ != nullptr ? platform::WindowSystem() : nullptr; }

void CSkinHost::AttachWindow(SkinWindowHandle window) {
  names_.clear();
  fonts_.clear();
  fontFaces_.clear();
  images_.clear();
  classDefaults_.clear();
  optionGroups_.clear();
  RemoveAllTimers();
  auto& hosts = Process().hosts;
  if (window_ != nullptr) hosts.erase(std::remove(hosts.begin(), hosts.end(), this), hosts.end());
  window_ = window;
  if (window_ == nullptr) return;
  hosts.push_back(this);
  // Work queued before the window existed still needs its wake-up.
  notifyWakePosted_ = !queuedNotify_.empty() && PostToWindow(platform::kWmNull);
  cleanupPosted_ = !delayedCleanup_.empty() && PostToWindow(kMsgDelayedCleanup);
}

void CSkinHost::DetachWindow() {
  auto& hosts = Process().hosts;
  hosts.erase(std::remove(hosts.begin(), hosts.end(), this), hosts.end());
  if (window_ == nullptr) return;
  RemoveAllTimers();
  DestroyCaret();
  // The tooltip is owned by the window: destroyed with it, or here when the host goes first.
  tooltip_.reset();
  painter_.Release();
  hover_ = click_ = keyControl_ = nullptr;
  mouseTracking_ = mouseEntered_ = buttonDown_ = false;
  window_ = nullptr;
}

bool CSkinHost::AttachRoot(std::unique_ptr<CControlUI> root) {
  SetFocus(nullptr);
  hover_ = click_ = keyControl_ = nullptr;
  if (root_) {
    // The old tree lives on until the cleanup pass; its names must not shadow the new tree's.
    UnregisterNames(root_.get());
    AddDelayedCleanup(std::move(root_));
  }
  postPaint_.clear();
  updateNeeded_ = true;
  firstLayout_ = true;
  focusNeeded_ = true;
  if (!root) return false;
  root_ = std::move(root);
  BindSubtree(root_.get());
  return true;
}

void CSkinHost::BindSubtree(CControlUI* control, CControlUI* parent) {
  if (control == nullptr) return;
  CControlUI* p = parent != nullptr ? parent : control->Parent();
  control->SetHost(this, p, true, control->BuilderCallback());
  // SetHost initialises controls that have a parent; a root is initialised here.
  if (p == nullptr) control->Init();
  RegisterNames(control);
}

void CSkinHost::RegisterNames(CControlUI* control) {
  struct Ctx {
    std::unordered_map<std::wstring, CControlUI*>* names;
  } ctx{&names_};
  control->LocateControl(
      [](CControlUI* c, void* data) -> CControlUI* {
        const std::wstring name = c->GetName();
        if (!name.empty()) static_cast<Ctx*>(data)->names->emplace(name, c);  // the first keeps the name
        return nullptr;
      },
      &ctx, kFindAll);
}

void CSkinHost::UnregisterNames(CControlUI* control) {
  control->LocateControl(
      [](CControlUI* c, void* data) -> CControlUI* {
        ForgetName(*static_cast<std::unordered_map<std::wstring, CControlUI*>*>(data), c);
        return nullptr;
      },
      &names_, kFindAll);
}

void CSkinHost::ReleaseControl(CControlUI* control) {
  if (control == nullptr) return;
  if (focus_ == control) focus_ = nullptr;
  if (hover_ == control) hover_ = nullptr;
  if (click_ == control) {
    click_ = nullptr;
    // A captured control that goes away mid-press leaves nobody to release the capture.
    if (buttonDown_ || IsCaptured()) ReleaseCapture();
    buttonDown_ = false;
  }
  if (keyControl_ == control) keyControl_ = nullptr;
  if (focusTarget_ == control) focusTarget_ = nullptr;
  if (caretControl_ == control) DestroyCaret();
  KillTimers(control);
  ForgetName(names_, control);
  for (SkinNotify& n : queuedNotify_)
    if (n.sender == control) n.sender = nullptr;
  postPaint_.erase(std::remove(postPaint_.begin(), postPaint_.end(), control), postPaint_.end());
  for (auto& [group, members] : optionGroups_)
    members.erase(std::remove(members.begin(), members.end(), control), members.end());
}

CControlUI* CSkinHost::FindControlByName(const std::wstring& name) const {
  auto it = names_.find(name);
  return it == names_.end() ? nullptr : it->second;
}

CControlUI* CSkinHost::FindControlAt(SkinPoint pt) const {
  return FindControlAt(pt, kFindVisible | kFindEnabled | kFindTopFirst);
}

CControlUI* CSkinHost::FindControlAt(SkinPoint pt, std::uint32_t flags) const {
  if (!root_) return nullptr;
  CControlUI* found =
      root_->LocateControl([](CControlUI* c, void*) -> CControlUI* { return c; }, &pt, flags | kFindHitTest);
  return found != nullptr && found->Host() == this ? found : nullptr;
}

bool CSkinHost::SetParentHost(CSkinHost* parent) {
  for (CSkinHost* h = parent; h != nullptr; h = h->parentHost_)
    if (h == this) return false;
  parentHost_ = parent;
  return true;
}

const CSkinHost* CSkinHost::TopHost() const {
  const CSkinHost* h = this;
  while (h->parentHost_ != nullptr) h = h->parentHost_;
  return h;
}

void CSkinHost::SetInitialSize(SkinSize size) {
  initialSize_ = size;
  // Only the skin's first build sizes the window; a window with content keeps its size.
  if (root_ || size.cx <= 0 || size.cy <= 0) return;
  if (platform::IWindowSystem* ws = Ws())
    ws->SetWindowPos(window_, 0, 0, size.cx, size.cy, platform::kSwpNoMove | platform::kSwpNoZOrder | platform::kSwpNoActivate);
}
void CSkinHost::SetOpacity(int alpha) { opacity_ = std::clamp(alpha, 0, 255); }

SkinColor CSkinHost::AdjustColor(SkinColor c) const {
  // The process-wide adjustment stays at hue 180, saturation 100, lightness 100: the identity.
  return c;
}

SkinFontInfo* CSkinHost::AddFont(const std::wstring& face, int size, int weight, bool underline, bool italic,
                                 bool strikeout, bool fromFile) {
  fonts_.push_back(std::make_unique<SkinFontInfo>(MakeFont(face, size, weight, underline, italic, strikeout, fromFile)));
  return fonts_.back().get();
}

void CSkinHost::SetDefaultFont(const std::wstring& face, int size, int weight, bool underline, bool italic,
                               bool strikeout, bool fromFile) {
  defaultFont_ = MakeFont(face, size, weight, underline, italic, strikeout, fromFile);
  defaultFontSet_ = true;
}

bool CSkinHost::HasFontFace(const std::wstring& face) const { return fontFaces_.count(face) != 0; }

bool CSkinHost::AddFontFile(const std::wstring& file, const std::wstring& face) {
  if (HasFontFace(face)) return true;
  std::unique_ptr<std::uint8_t[]> data;
  const std::uint32_t size = LoadFileData(file, data, false);
  if (size == 0) {
    LOG_WARN << "font file not found: " << platform::WideToUtf8(file);
    return false;
  }
  if (g_fontBackend.installFile == nullptr || !g_fontBackend.installFile(face, data.get(), size)) {
    LOG_WARN << "font file not usable: " << platform::WideToUtf8(file);
    return false;
  }
  fontFaces_.insert(face);
  return true;
}

SkinFontInfo* CSkinHost::Font(int index) {
  for (CSkinHost* h = this; h != nullptr; h = h->parentHost_)
    if (index >= 0 && index < static_cast<int>(h->fonts_.size())) return h->fonts_[index].get();
  return DefaultFont();
}

SkinFontInfo* CSkinHost::DefaultFont() {
  // The nearest host whose skin set a default font; the topmost host's platform default else.
  CSkinHost* h = this;
  while (!h->defaultFontSet_ && h->parentHost_ != nullptr) h = h->parentHost_;
  return &h->defaultFont_;
}

SkinFontInfo* CSkinHost::FindFont(const std::wstring& face, int size, int weight, bool underline, bool italic,
                                  bool strikeout) {
  const int w = weight > 0 ? weight : 0;
  const std::wstring stored = face.substr(0, kMaxFaceLength);  // as AddFont keeps it
  for (auto& f : fonts_)
    if (f->face == stored && f->size == size && f->weight == w && f->underline == underline && f->italic == italic &&
        f->strikeout == strikeout)
      return f.get();
  return parentHost_ != nullptr ? parentHost_->FindFont(face, size, weight, underline, italic, strikeout) : nullptr;
}

const SkinFontInfo& CSkinHost::FontInfo(SkinFontInfo& font) const {
  if (font.metricsValid) return font;
  if (g_fontBackend.measure != nullptr)
    g_fontBackend.measure(font);
  else
    NominalMetrics(font);
  return font;
}

const SkinFontInfo& CSkinHost::DefaultFontInfo() { return FontInfo(*DefaultFont()); }

const SkinBitmapInfo* CSkinHost::AddImage(const std::wstring& name, const std::wstring& restype, SkinColor mask,
                                          int svgWidth, int svgHeight) {
  if (name.empty()) return nullptr;
  auto it = images_.find(name);
  if (it != images_.end()) return it->second.get();
  if (g_imageLoader == nullptr) return nullptr;
  std::unique_ptr<SkinBitmapInfo> bitmap = g_imageLoader(name, restype, mask, svgWidth, svgHeight);
  if (!bitmap) return nullptr;
  return images_.emplace(name, std::move(bitmap)).first->second.get();
}

const SkinBitmapInfo* CSkinHost::FindImage(const std::wstring& name, const std::wstring& restype, SkinColor mask,
                                           int svgWidth, int svgHeight) {
  auto it = images_.find(name);
  if (it != images_.end()) return it->second.get();
  for (CSkinHost* h = parentHost_; h != nullptr; h = h->parentHost_) {
    auto pit = h->images_.find(name);
    if (pit != h->images_.end()) return pit->second.get();
  }
  return AddImage(name, restype, mask, svgWidth, svgHeight);
}

void CSkinHost::AddClassDefaults(const std::wstring& element, const std::wstring& list) {
  classDefaults_.emplace(element, list);
}

const std::wstring* CSkinHost::FindClassDefaults(const std::wstring& element) const {
  for (const CSkinHost* h = this; h != nullptr; h = h->parentHost_) {
    auto it = h->classDefaults_.find(element);
    if (it != h->classDefaults_.end()) return &it->second;
  }
  return nullptr;
}

void CSkinHost::AddStyle(const std::wstring& name, const std::wstring& list) { styles_.emplace(name, list); }

const std::wstring* CSkinHost::FindStyle(const std::wstring& name) const {
  for (const CSkinHost* h = this; h != nullptr; h = h->parentHost_) {
    auto it = h->styles_.find(name);
    if (it != h->styles_.end()) return &it->second;
  }
  return nullptr;
}

bool CSkinHost::AddOptionGroup(const std::wstring& group, CControlUI* option) {
  if (group.empty() || option == nullptr) return false;
  auto& members = optionGroups_[group];
  if (std::find(members.begin(), members.end(), option) != members.end()) return false;
  members.push_back(option);
  return true;
}

const std::vector<CControlUI*>* CSkinHost::OptionGroup(const std::wstring& group) const {
  auto it = optionGroups_.find(group);
  return it == optionGroups_.end() ? nullptr : &it->second;
}

void CSkinHost::RemoveOptionGroup(const std::wstring& group, CControlUI* option) {
  auto it = optionGroups_.find(group);
  if (it == optionGroups_.end()) return;
  auto& members = it->second;
  members.erase(std::remove(members.begin(), members.end(), option), members.end());
  if (members.empty()) optionGroups_.erase(it);
}

void CSkinHost::Invalidate(const SkinRect& rc) {
  if (rc.IsEmpty()) return;
  dirty_ = UnionRect(dirty_, rc);
  if (platform::IWindowSystem* ws = Ws()) {
    const platform::WinRect r{rc.left, rc.top, rc.right, rc.bottom};
    ws->InvalidateRect(window_, &r);
  }
}

SkinRect CSkinHost::TakeDirtyRect() {
  SkinRect rc = dirty_;
  dirty_ = {};
  return rc;
}

bool CSkinHost::LayoutIfNeeded(const SkinRect& client) {
  if (!updateNeeded_) return false;
  updateNeeded_ = false;
  if (!root_ || client.IsEmpty()) return false;
  const SkinSize size{client.Width(), client.Height()};
  // A minimised window keeps the layout of its last real size; restoring it asks again.
  if (platform::IWindowSystem* ws = Ws(); ws != nullptr && ws->IsIconic(window_)) return false;
  bool repositioned = false;
  if (root_->IsUpdateNeeded() || size != lastLayoutSize_) {
    lastLayoutSize_ = size;
    root_->SetPosition(client);
    repositioned = true;
  } else {
    LayoutPending();
  }
  if (firstLayout_) {
    firstLayout_ = false;
    SendNotify(root_.get(), L"windowinit");
  }
  return repositioned;
}

void CSkinHost::LayoutPending() {
  // Only the controls whose layout went out of date are positioned again. Answering such a
  // control ends the update test there: it is collected once, and what lies inside it is laid
  // out by it.
  std::vector<CControlUI*> pending;
  root_->LocateControl(
      [](CControlUI* c, void* data) -> CControlUI* {
        if (!c->IsUpdateNeeded()) return nullptr;
        static_cast<std::vector<CControlUI*>*>(data)->push_back(c);
        return c;
      },
      &pending, kFindVisible | kFindUpdateTest | kFindMeFirst);
  for (CControlUI* c : pending) c->SetPosition(c->Position());
}

void CSkinHost::SendNotify(CControlUI* control, const std::wstring& type, std::intptr_t wParam, std::intptr_t lParam,
                           bool queued) {
  SkinNotify msg;
  msg.type = type;
  msg.sender = control;
  msg.wParam = wParam;
  msg.lParam = lParam;
  SendNotify(msg, queued);
}

void CSkinHost::SendNotify(SkinNotify& msg, bool queued) {
  msg.ptMouse = lastMouse_;
  msg.timestamp = TickCount();
  if (usesVirtualWnd_) {
    msg.virtualWnd.clear();
    for (CControlUI* c = msg.sender; c != nullptr; c = c->Parent()) {
      if (!c->VirtualWnd().empty()) {
        msg.virtualWnd = c->VirtualWnd();
        break;
      }
    }
  }
  if (queued) {
    // One wake-up for a batch: an idle loop then reaches MessageHandler, which delivers them.
    queuedNotify_.push_back(msg);
    if (!notifyWakePosted_) notifyWakePosted_ = PostToWindow(platform::kWmNull);
    return;
  }
  DeliverNotify(msg);
}

bool CSkinHost::PostToWindow(std::uint32_t message) {
  platform::IWindowSystem* ws = Ws();
  return ws != nullptr && ws->PostMessage(window_, message, 0, 0);
}

void CSkinHost::DeliverNotify(SkinNotify& msg) {
  if (msg.sender != nullptr) msg.sender->onNotify.Raise(msg);
  const std::vector<INotifyUI*> notifiers = notifiers_;  // a notifier may unregister itself
  for (INotifyUI* n : notifiers) n->Notify(msg);
}

void CSkinHost::DeliverQueuedNotifications() {
  notifyWakePosted_ = false;
  while (!queuedNotify_.empty()) {
    SkinNotify msg = queuedNotify_.front();
    queuedNotify_.erase(queuedNotify_.begin());
    DeliverNotify(msg);
  }
}

namespace {
template <class T>
bool AddUnique(std::vector<T*>& list, T* item) {
  if (item == nullptr || std::find(list.begin(), list.end(), item) != list.end()) return false;
  list.push_back(item);
  return true;
}
template <class T>
bool RemoveItem(std::vector<T*>& list, T* item) {
  auto it = std::find(list.begin(), list.end(), item);
  if (it == list.end()) return false;
  list.erase(it);
  return true;
}
}  // namespace

bool CSkinHost::AddNotifier(INotifyUI* n) { return AddUnique(notifiers_, n); }
bool CSkinHost::AddTranslateAccelerator(ITranslateAcceleratorUI* t) { return AddUnique(accelerators_, t); }
bool CSkinHost::RemoveTranslateAccelerator(ITranslateAcceleratorUI* t) { return RemoveItem(accelerators_, t); }
bool CSkinHost::RemoveNotifier(INotifyUI* n) { return RemoveItem(notifiers_, n); }
bool CSkinHost::AddMessageFilter(IMessageFilterUI* f) { return AddUnique(messageFilters_, f); }
bool CSkinHost::RemoveMessageFilter(IMessageFilterUI* f) { return RemoveItem(messageFilters_, f); }
bool CSkinHost::AddPreMessageFilter(IMessageFilterUI* f) { return AddUnique(preMessageFilters_, f); }
bool CSkinHost::RemovePreMessageFilter(IMessageFilterUI* f) { return RemoveItem(preMessageFilters_, f); }
bool CSkinHost::AddPostPaint(CControlUI* c) { return AddUnique(postPaint_, c); }
bool CSkinHost::RemovePostPaint(CControlUI* c) { return RemoveItem(postPaint_, c); }

void CSkinHost::AddDelayedCleanup(std::unique_ptr<CControlUI> control) {
  if (!control) return;
  control->SetHost(this, nullptr, false, control->BuilderCallback());
  // The control may be running the code that removed it: it goes once the current message is done.
  delayedCleanup_.push_back(std::move(control));
  if (!cleanupPosted_) cleanupPosted_ = PostToWindow(kMsgDelayedCleanup);
}

void CSkinHost::ProcessDelayedCleanup() {
  cleanupPosted_ = false;
  // Destroying a control may queue more (a container removing its children): loop until empty.
  while (!delayedCleanup_.empty()) {
    std::vector<std::unique_ptr<CControlUI>> batch;
    batch.swap(delayedCleanup_);
    batch.clear();
  }
}

}  // namespace SkinUI
