#pragma once
// The per-window manager of the UI framework: the window's resources (fonts, images, styles,
// class defaults, window settings read from the skin), the control tree's registries (names,
// option groups), and the coordinator of what happens in the window: input turned into control
// events (skin_host_input.cpp), timers and the caret (skin_host_timers.cpp), the message tables
// (skin_host_messages.cpp), painting (skin_paint_pipeline.h), the tooltip (skin_tooltip.h) and
// notifications. A small process-wide part (the list of attached hosts, the module handles and
// the message loop) is shared by all hosts.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/window_system.h"
#include "ui/core/skin_event.h"
#include "ui/core/skin_paint_pipeline.h"
#include "ui/core/skin_types.h"

namespace SkinUI {

class CControlUI;
class IRenderCanvas;
class CSkinTooltip;

// The native window a host is attached to.
using SkinWindowHandle = platform::WindowHandle;

// Private window messages of the host.
enum : std::uint32_t {
  kMsgDelayedCleanup = 0x8001,    // destroys the controls queued by AddDelayedCleanup
  kMsgCaretBlink = 0x8002,        // toggles the caret
  kMsgMouseEnterWindow = 0x8003,  // sent to the window on the first mouse move after the mouse entered it
};
// Platform timer id of the caret's blink (control timers use 0 to 254).
inline constexpr std::uintptr_t kCaretBlinkTimerId = 0x8002;

// ControlFlags bits the host looks at.
enum SkinControlFlags : std::uint32_t {
  kControlTabStop = 0x1,    // Tab and Shift+Tab stop at the control
  kControlSetCursor = 0x2,  // the control chooses the cursor over it (event 24)
};

// A font of the host's font list. Sizes are character heights in pixels.
struct SkinFontInfo {
  std::wstring face;
  int size = 12;
  int weight = 0;  // 0 = the platform's default weight, 700 = bold
  bool underline = false;
  bool italic = false;
  bool strikeout = false;
  bool fromFile = false;  // the face comes from a font file of the skin
  // Text metrics in whole pixels, filled on first use (FontInfo): height = ascent + descent;
  // externalLeading is the extra space the font asks for between lines; maxCharWidth is the widest
  // advance of the font (text layout's estimate of whether a run can fit without measuring it).
  bool metricsValid = false;
  int height = 0;
  int ascent = 0;
  int descent = 0;
  int externalLeading = 0;
  int aveCharWidth = 0;
  int maxCharWidth = 0;
};

// A decoded skin image: premultiplied 32-bit pixels (0xAARRGGBB in native order), rows top-down.
struct SkinBitmapInfo {
  int width = 0;
  int height = 0;
  bool alpha = false;  // some pixel is not fully opaque
  std::wstring restype;
  SkinColor mask = 0;
  std::vector<std::uint32_t> pixels;
};

// Listener of notifications (windows).
class INotifyUI {
 public:
  virtual ~INotifyUI() = default;
  virtual void Notify(SkinNotify& msg) = 0;
};

// Listener of window messages (message and pre-message filters). `handled` is false on entry; a
// filter that sets it ends the message with the returned result.
class IMessageFilterUI {
 public:
  virtual ~IMessageFilterUI() = default;
  virtual std::intptr_t MessageHandler(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                       bool& handled) = 0;
};

// Asked by the message loop before anything else for every message of the host's window; true
// consumes the message (keyboard shortcuts of a window).
class ITranslateAcceleratorUI {
 public:
  virtual ~ITranslateAcceleratorUI() = default;
  virtual bool TranslateAccelerator(const platform::Message& msg) = 0;
};

// What the Tab key asks of a focused rich edit (answered to AsInterface("WantTab")): whether it
// takes Tab as text instead of moving the focus.
class IWantTabUI {
 public:
  virtual ~IWantTabUI() = default;
  virtual bool IsWantTab() const = 0;
};

class CSkinHost {
 public:
  // Hooks through which the host reaches services that live above the core (image decoding,
  // module resources; skin files come through LoadFileData of skin_file_data.h). They are
  // process-wide and installed once at start-up by the layer that implements them; without them
  // the corresponding loads fail.
  using ImageLoader = std::unique_ptr<SkinBitmapInfo> (*)(const std::wstring& name, const std::wstring& restype,
                                                          SkinColor mask, int svgWidth, int svgHeight);
  // Bytes of a module resource (type, id); empty when there is none.
  using ResourceReader = std::vector<std::uint8_t> (*)(const std::wstring& type, int id);
  static void SetImageLoader(ImageLoader loader);
  static void SetResourceReader(ResourceReader reader);
  static std::vector<std::uint8_t> LoadResourceData(const std::wstring& type, int id);
  // Fonts are the text library's: `measure` fills a font record's metrics; `installFile` makes the
  // face of a font file's bytes available to text drawing (false when they are no usable font).
  // Without a backend, metrics are the nominal size and font files are refused.
  struct FontBackend {
    void (*measure)(SkinFontInfo& font) = nullptr;
    bool (*installFile)(const std::wstring& face, const std::uint8_t* bytes, std::size_t size) = nullptr;
  };
  static void SetFontBackend(const FontBackend& backend);

  // ---- process-wide -------------------------------------------------------------------------
  // Module handles: opaque to the framework; the resource instance falls back to the instance.
  static void SetInstance(void* instance);
  static void* Instance();
  static void SetResourceInstance(void* instance);
  static void* ResourceInstance();
  // Every host attached to a window, in attach order.
  static const std::vector<CSkinHost*>& Hosts();
  // The host of `window`, none when the window has no host.
  static CSkinHost* HostOf(platform::WindowHandle window);
  // Milliseconds since system start (wrapping): the time stamp of events and notifications.
  static std::uint32_t TickCount();
  // Reads and dispatches messages until the quit message; each goes through TranslateMessage
  // first.
  static void MessageLoop();
  // Offers one message to its window's host (accelerators, then PreMessageHandler); true when it
  // was consumed and must not be dispatched.
  static bool TranslateMessage(const platform::Message& msg);

  CSkinHost();
  ~CSkinHost();
  CSkinHost(const CSkinHost&) = delete;
  CSkinHost& operator=(const CSkinHost&) = delete;

  // ---- set-up ---------------------------------------------------------------------------------
  // Empties the name table, fonts, images, class defaults, option groups and timers (styles
  // stay), then remembers the window and joins the host list.
  void AttachWindow(SkinWindowHandle window);
  // The window is gone: the host leaves the host list, its timers, caret, tooltip and bitmaps go
  // and input state is forgotten. The control tree stays until the host is destroyed.
  void DetachWindow();
  SkinWindowHandle Window() const { return window_; }
  // Takes the root of the control tree; a previous root is queued for destruction. False for
  // none.
  bool AttachRoot(std::unique_ptr<CControlUI> root);
  CControlUI* Root() const { return root_.get(); }
  // Binds `control` and its subtree to this host (initialising it) and enters their names.
  void BindSubtree(CControlUI* control, CControlUI* parent = nullptr);
  // Called by a control that is being destroyed: every reference to it is dropped.
  void ReleaseControl(CControlUI* control);
  CControlUI* FindControlByName(const std::wstring& name) const;
  // The visible, enabled, mouse-enabled control of this host under `pt`, topmost first.
  CControlUI* FindControlAt(SkinPoint pt) const;
  // The same with other LocateControl flags (kFindHitTest is added).
  CControlUI* FindControlAt(SkinPoint pt, std::uint32_t flags) const;
  // Another host whose registries and colours this one falls back to. False (nothing changes)
  // when that would make this host its own ancestor.
  bool SetParentHost(CSkinHost* parent);
  CSkinHost* ParentHost() const { return parentHost_; }

  // ---- window settings of the skin's "Window" element ------------------------------------------
  // Stored; while the host has no root yet (the skin is being built) the window is resized to it
  // at once when both numbers are positive.
  void SetInitialSize(SkinSize size);
  SkinSize InitialSize() const { return initialSize_; }
  void SetSizeBox(const SkinRect& rc) { sizeBox_ = rc; }
  const SkinRect& SizeBox() const { return sizeBox_; }
  void SetCaptionRect(const SkinRect& rc) { caption_ = rc; }
  const SkinRect& CaptionRect() const { return caption_; }
  void SetRoundCorner(SkinSize size) { roundCorner_ = size; }
  SkinSize RoundCorner() const { return roundCorner_; }
  void SetMinTrackSize(SkinSize size) { minTrack_ = size; }
  SkinSize MinTrackSize() const { return minTrack_; }
  void SetMaxTrackSize(SkinSize size) { maxTrack_ = size; }
  SkinSize MaxTrackSize() const { return maxTrack_; }
  void SetShowDirty(bool on) { showDirty_ = on; }
  bool ShowDirty() const { return showDirty_; }
  // Window opacity, clamped to 0..255.
  void SetOpacity(int alpha);
  int Opacity() const { return opacity_; }
  // "bktrans": 0 off, 1 per-pixel layered window, 2 captured background.
  void SetBackgroundTransparency(int mode) { bkTrans_ = mode; }
  int BackgroundTransparency() const { return bkTrans_; }
  bool IsLayered() const { return bkTrans_ == 1; }
  void SetTakeFocus(bool on) { takeFocus_ = on; }
  bool TakeFocus() const { return takeFocus_; }
  // Text colours; read from the topmost host of the parent chain.
  void SetDisabledTextColor(SkinColor c) { disabledTextColor_ = c; }
  SkinColor DisabledTextColor() const { return TopHost()->disabledTextColor_; }
  void SetDefaultTextColor(SkinColor c) { defaultTextColor_ = c; }
  SkinColor DefaultTextColor() const { return TopHost()->defaultTextColor_; }
  void SetLinkTextColor(SkinColor c) { linkTextColor_ = c; }
  SkinColor LinkTextColor() const { return TopHost()->linkTextColor_; }
  void SetLinkHoverTextColor(SkinColor c) { linkHoverTextColor_ = c; }
  SkinColor LinkHoverTextColor() const { return TopHost()->linkHoverTextColor_; }
  void SetSelectedTextColor(SkinColor c) { selectedTextColor_ = c; }
  SkinColor SelectedTextColor() const { return TopHost()->selectedTextColor_; }
  // Hue/saturation/lightness adjustment of "colorhsl" colours (the identity in this program).
  SkinColor AdjustColor(SkinColor c) const;

  // ---- fonts ----------------------------------------------------------------------------------
  // Appends a font; its index is what "font" attributes refer to.
  SkinFontInfo* AddFont(const std::wstring& face, int size, int weight, bool underline, bool italic, bool strikeout,
                        bool fromFile);
  void SetDefaultFont(const std::wstring& face, int size, int weight, bool underline, bool italic, bool strikeout,
                      bool fromFile);
  // Makes the face of a skin font file available to text drawing. Nothing when the face is
  // registered already; false when the file cannot be read or installed.
  bool AddFontFile(const std::wstring& file, const std::wstring& face);
  bool HasFontFace(const std::wstring& face) const;
  int FontCount() const { return static_cast<int>(fonts_.size()); }
  // The font at `index` (a host lacking it asks its parent chain), else the default font: that of
  // the nearest host of the chain whose skin set one.
  SkinFontInfo* Font(int index);
  SkinFontInfo* FindFont(const std::wstring& face, int size, int weight, bool underline, bool italic,
                         bool strikeout);
  // The font with its text metrics filled.
  const SkinFontInfo& FontInfo(SkinFontInfo& font) const;
  const SkinFontInfo& DefaultFontInfo();

  // ---- images ---------------------------------------------------------------------------------
  // Loads and registers an image under its name (keeps an existing entry). None on failure.
  const SkinBitmapInfo* AddImage(const std::wstring& name, const std::wstring& restype, SkinColor mask, int svgWidth,
                                 int svgHeight);
  // The registered image, loaded on a miss; mask and restype count only at the first load.
  const SkinBitmapInfo* FindImage(const std::wstring& name, const std::wstring& restype = {}, SkinColor mask = 0,
                                  int svgWidth = 0, int svgHeight = 0);
  void RemoveAllImages() { images_.clear(); }

  // ---- class defaults and styles (the first registration of a name wins) -----------------------
  void AddClassDefaults(const std::wstring& element, const std::wstring& list);
  const std::wstring* FindClassDefaults(const std::wstring& element) const;
  void AddStyle(const std::wstring& name, const std::wstring& list);
  const std::wstring* FindStyle(const std::wstring& name) const;

  // ---- option groups --------------------------------------------------------------------------
  bool AddOptionGroup(const std::wstring& group, CControlUI* option);
  const std::vector<CControlUI*>* OptionGroup(const std::wstring& group) const;
  void RemoveOptionGroup(const std::wstring& group, CControlUI* option);

  // ---- invalidation and layout ----------------------------------------------------------------
  // Adds to the dirty area painted next and invalidates it in the window (a paint follows when
  // the loop is idle).
  void Invalidate(const SkinRect& rc);
  const SkinRect& DirtyRect() const { return dirty_; }
  // The dirty area, emptied (what the paint pass draws).
  SkinRect TakeDirtyRect();
  // Marks the tree as needing a layout pass before the next paint.
  void RequestLayout() { updateNeeded_ = true; }
  bool IsLayoutNeeded() const { return updateNeeded_; }
  // Lays the tree out now when a layout is pending (what the paint pass does first): the root
  // gets `client` when it needs an update or the client size changed, otherwise only the
  // controls that need an update are positioned again. True when the root was positioned anew.
  // The first layout after a root was attached raises "windowinit" from the root.
  bool LayoutIfNeeded(const SkinRect& client);
  void SetUsesVirtualWnd(bool on) { usesVirtualWnd_ = on; }
  bool UsesVirtualWnd() const { return usesVirtualWnd_; }

  // ---- focus ----------------------------------------------------------------------------------
  CControlUI* Focus() const { return focus_; }
  // Moves the focus: the window takes the platform focus first (take-focus on), the old control
  // gets "killfocus", the new one "setfocus". None, a control of another host, an invisible or a
  // disabled control leave no control focused.
  void SetFocus(CControlUI* control);
  // Clears the focus and gives it, after the next layout, to `control` when that is a Tab stop,
  // else to the first Tab stop of the window.
  void SetFocusNeeded(CControlUI* control);
  // Tab (forward) and Shift+Tab: the next or previous Tab stop, wrapping around. Deferred to
  // the next paint while a layout is pending and moving forward.
  void MoveFocus(bool forward);
  bool IsFocusNeeded() const { return focusNeeded_; }

  // ---- mouse ----------------------------------------------------------------------------------
  void SetCapture();
  void ReleaseCapture();
  bool IsCaptured() const;
  // The last mouse point in client coordinates (-1, -1 before the first): what notifications
  // carry and what the hover colour of links is decided by.
  SkinPoint LastMousePoint() const { return lastMouse_; }
  void SetLastMousePoint(SkinPoint pt) { lastMouse_ = pt; }
  CControlUI* HoverControl() const { return hover_; }
  CControlUI* ClickControl() const { return click_; }
  // The platform cursor shown over the window (set-cursor handling of the controls).
  void SetCursorShape(std::uint16_t cursorId);
  std::uint16_t CursorShape() const { return cursorShape_; }
  // The tooltip popup; none before the first tooltip was shown.
  CSkinTooltip* Tooltip() const { return tooltip_.get(); }

  // ---- messages -------------------------------------------------------------------------------
  // Everything the window does not handle itself comes here (mouse, keys, focus, size, paint,
  // timers, the private messages). Queued notifications are delivered first, then the message
  // filters are asked. False when not handled (the window's default procedure runs then).
  bool MessageHandler(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result);
  // Before dispatch (from the message loop): pre-message filters, Tab, system keys, Alt+letter
  // shortcuts, the caret blink. True consumes the message.
  bool PreMessageHandler(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result);
  bool AddTranslateAccelerator(ITranslateAcceleratorUI* translator);
  bool RemoveTranslateAccelerator(ITranslateAcceleratorUI* translator);
  bool TranslateAccelerator(const platform::Message& msg);

  // ---- notifications --------------------------------------------------------------------------
  void SendNotify(CControlUI* control, const std::wstring& type, std::intptr_t wParam = 0, std::intptr_t lParam = 0,
                  bool queued = false);
  // Queued: delivered at the start of the next MessageHandler call (a wake-up message is posted
  // so an idle loop gets there); a sender destroyed before then arrives as none.
  void SendNotify(SkinNotify& msg, bool queued = false);
  // Delivers the queued notifications, oldest first (the start of each message dispatch).
  void DeliverQueuedNotifications();
  bool AddNotifier(INotifyUI* notifier);
  bool RemoveNotifier(INotifyUI* notifier);
  bool AddMessageFilter(IMessageFilterUI* filter);
  bool RemoveMessageFilter(IMessageFilterUI* filter);
  bool AddPreMessageFilter(IMessageFilterUI* filter);
  bool RemovePreMessageFilter(IMessageFilterUI* filter);
  // Controls that paint an overlay after the tree (separator drag markers).
  bool AddPostPaint(CControlUI* control);
  bool RemovePostPaint(CControlUI* control);
  const std::vector<CControlUI*>& PostPaintControls() const { return postPaint_; }
  // Destroys `control` later, when the window processes its cleanup message (0x8001, posted
  // here); the host destroys whatever is still queued when it goes away.
  void AddDelayedCleanup(std::unique_ptr<CControlUI> control);
  // Destroys every queued control (the window's cleanup message).
  void ProcessDelayedCleanup();
  std::size_t DelayedCleanupCount() const { return delayedCleanup_.size(); }

  // ---- timers ---------------------------------------------------------------------------------
  // Starts a timer of `control` under its own id. A killed timer restarts under its old platform
  // id; a new one takes the next free platform id of the window (17 first, up to 254, then from
  // 0 on). Fails while the same timer runs, when every id is taken, and when the window cannot
  // run timers (no window attached).
  bool SetTimer(CControlUI* control, std::uintptr_t id, unsigned milliseconds);
  bool KillTimer(CControlUI* control, std::uintptr_t id);
  void KillTimers(CControlUI* control);
  void RemoveAllTimers();
  // A platform timer message: event 25 to the control of the running timer with that platform id.
  bool DispatchTimer(unsigned platformId);
  // The platform id of a control's timer; 0 with false when it has none.
  bool PlatformTimerId(CControlUI* control, std::uintptr_t id, unsigned& platformId) const;

  // ---- caret (drawn by the host; windowless text controls position it) ---------------------------
  // A caret of that size owned by `control` (clipped to its rectangle); starts hidden.
  void CreateCaret(CControlUI* control, int width, int height);
  void DestroyCaret();
  // Shown: drawn and blinking every caret blink time.
  void ShowCaret(bool show);
  void SetCaretPos(SkinPoint pt);
  const SkinRect& CaretRect() const { return caretRect_; }
  bool IsCaretShown() const { return caretShown_; }
  bool IsCaretVisible() const { return caretShown_ && caretBlinkOn_; }

  // ---- painting ---------------------------------------------------------------------------------
  // The premultiplied client-size bitmap of the last paint (rows top-down, width * 4 apart);
  // empty before the first paint.
  const std::vector<std::uint32_t>& Bitmap() const { return painter_.Bitmap(); }
  SkinSize BitmapSize() const { return painter_.Size(); }
  // The next paint covers the whole client area.
  void SetPaintEverything() { paintEverything_ = true; }

 private:
  friend class CSkinPaintPipeline;

  struct TimerRecord {
    CControlUI* control = nullptr;
    std::uintptr_t localId = 0;
    SkinWindowHandle window = nullptr;
    unsigned platformId = 0;
    bool killed = false;
  };

  // The window system while a window is attached; none otherwise.
  platform::IWindowSystem* Ws() const;
  const CSkinHost* TopHost() const;
  SkinFontInfo* DefaultFont();
  bool StartPlatformTimer(unsigned platformId, unsigned milliseconds);
  void StopPlatformTimer(unsigned platformId);
  bool PlatformIdInUse(unsigned platformId) const;
  void LayoutPending();
  void RegisterNames(CControlUI* control);
  void UnregisterNames(CControlUI* control);
  void DeliverNotify(SkinNotify& msg);
  // An event made by the host: its time, the key state and the last mouse point filled in.
  SkinEvent MakeEvent(int type, CControlUI* sender) const;
  // Sends `event` to `control` (nothing for none).
  void Dispatch(CControlUI* control, int type, std::intptr_t wParam = 0, std::intptr_t lParam = 0,
                std::uint16_t chKey = 0);
  std::vector<CControlUI*> TabStops() const;
  // The focus move a paint owes after its layout (SetFocusNeeded, a deferred Tab).
  void ApplyFocusNeeded();
  void TakePlatformFocus();
  // Message handlers (skin_host_input.cpp).
  void OnClose();
  void OnSetCursor(std::intptr_t lParam, bool& handled);
  void OnMouseMove(std::uintptr_t wParam, std::intptr_t lParam);
  void OnMouseHover(std::uintptr_t wParam, std::intptr_t lParam);
  void OnMouseLeave(std::uintptr_t wParam, std::intptr_t lParam);
  void OnLButtonDown(std::uintptr_t wParam, std::intptr_t lParam);
  void OnLButtonUp(std::uintptr_t wParam, std::intptr_t lParam);
  void OnLButtonDblClk(std::uintptr_t wParam, std::intptr_t lParam);
  void OnRButtonDown(std::uintptr_t wParam, std::intptr_t lParam);
  void OnRButtonUp(std::uintptr_t wParam, std::intptr_t lParam);
  void OnContextMenu(std::uintptr_t wParam, std::intptr_t lParam);
  void OnMouseWheel(std::uintptr_t wParam, std::intptr_t lParam);
  void HideTooltip();
  bool OnSysChar(std::uintptr_t ch);
  void OnCaretBlink();
  // Posts a parameterless message to the window; false without one.
  bool PostToWindow(std::uint32_t message);

  // window
  SkinWindowHandle window_ = nullptr;
  int bkTrans_ = 0;
  int opacity_ = 0;
  SkinSize initialSize_;
  SkinSize minTrack_;
  SkinSize maxTrack_;
  SkinRect sizeBox_;
  SkinRect caption_;
  SkinSize roundCorner_;
  bool showDirty_ = false;
  bool takeFocus_ = true;
  // drawing
  SkinRect dirty_;
  bool paintEverything_ = false;
  SkinSize lastLayoutSize_;
  CSkinPaintPipeline painter_;
  std::unique_ptr<CSkinTooltip> tooltip_;
  // controls
  std::unique_ptr<CControlUI> root_;
  CControlUI* focus_ = nullptr;
  CControlUI* hover_ = nullptr;
  CControlUI* click_ = nullptr;
  CControlUI* keyControl_ = nullptr;
  CControlUI* focusTarget_ = nullptr;  // SetFocusNeeded's control
  CControlUI* caretControl_ = nullptr;
  // input
  SkinPoint lastMouse_{-1, -1};
  bool mouseTracking_ = false;
  bool mouseEntered_ = false;  // the first move after the mouse entered the window was seen
  bool buttonDown_ = false;
  unsigned timerCounter_ = 4096;
  std::uint16_t cursorShape_ = 0;
  bool choosingCursor_ = false;  // a set-cursor pass is running: the shape is applied at its end
  // caret
  SkinRect caretRect_;
  bool caretShown_ = false;
  bool caretBlinkOn_ = false;
  // layout flags
  bool updateNeeded_ = false;
  bool firstLayout_ = true;
  bool focusNeeded_ = false;
  bool usesVirtualWnd_ = false;
  // text colours
  SkinColor disabledTextColor_ = 0xFFA7A6AA;
  SkinColor defaultTextColor_ = 0xFF000000;
  SkinColor linkTextColor_ = 0xFF0000FF;
  SkinColor linkHoverTextColor_ = 0xFFD3215F;
  SkinColor selectedTextColor_ = 0xFFBAE4FF;
  // registries
  std::vector<std::unique_ptr<SkinFontInfo>> fonts_;
  SkinFontInfo defaultFont_;
  bool defaultFontSet_ = false;
  std::unordered_set<std::wstring> fontFaces_;
  std::unordered_map<std::wstring, std::unique_ptr<SkinBitmapInfo>> images_;
  std::unordered_map<std::wstring, std::wstring> classDefaults_;
  std::unordered_map<std::wstring, std::wstring> styles_;
  std::unordered_map<std::wstring, std::vector<CControlUI*>> optionGroups_;
  std::unordered_map<std::wstring, CControlUI*> names_;
  // lists
  std::vector<INotifyUI*> notifiers_;
  std::vector<IMessageFilterUI*> messageFilters_;
  std::vector<IMessageFilterUI*> preMessageFilters_;
  std::vector<CControlUI*> postPaint_;
  std::vector<std::unique_ptr<CControlUI>> delayedCleanup_;
  std::vector<SkinNotify> queuedNotify_;
  bool notifyWakePosted_ = false;
  bool cleanupPosted_ = false;
  std::vector<ITranslateAcceleratorUI*> accelerators_;
  std::vector<TimerRecord> timers_;
  // parent host
  CSkinHost* parentHost_ = nullptr;
};

}  // namespace SkinUI
