#pragma once
// The per-window manager of the UI framework: the window's resources (fonts, images, styles,
// class defaults, window settings read from the skin), the control tree's registries (names,
// option groups), invalidation and layout requests, focus and notifications.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "ui/core/skin_event.h"
#include "ui/core/skin_types.h"

namespace SkinUI {

class CControlUI;
class IRenderCanvas;

// Opaque handle of the native window a host is attached to.
using SkinWindowHandle = void*;

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

// Listener of window messages (message and pre-message filters).
class IMessageFilterUI {
 public:
  virtual ~IMessageFilterUI() = default;
  virtual std::intptr_t MessageHandler(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                       bool& handled) = 0;
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

  CSkinHost();
  ~CSkinHost();
  CSkinHost(const CSkinHost&) = delete;
  CSkinHost& operator=(const CSkinHost&) = delete;

  // ---- set-up ---------------------------------------------------------------------------------
  // Empties the name table, fonts, images, class defaults, option groups and timers (styles
  // stay), then remembers the window.
  void AttachWindow(SkinWindowHandle window);
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
  CControlUI* FindControlAt(SkinPoint pt) const;
  // Another host whose registries and colours this one falls back to. False (nothing changes)
  // when that would make this host its own ancestor.
  bool SetParentHost(CSkinHost* parent);
  CSkinHost* ParentHost() const { return parentHost_; }

  // ---- window settings of the skin's "Window" element ------------------------------------------
  // Stored for the window layer, which owns the native window and resizes it to this size when
  // both numbers are positive.
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
  // Adds to the dirty area painted next.
  void Invalidate(const SkinRect& rc);
  const SkinRect& DirtyRect() const { return dirty_; }
  // The dirty area, emptied (what the paint pass draws).
  SkinRect TakeDirtyRect();
  // Marks the tree as needing a layout pass before the next paint.
  void RequestLayout() { updateNeeded_ = true; }
  bool IsLayoutNeeded() const { return updateNeeded_; }
  // Lays the tree out now when a layout is pending (what the paint pass does first): the root
  // gets `client` when it needs an update or the client size changed, otherwise only the
  // controls that need an update are positioned again.
  void LayoutIfNeeded(const SkinRect& client);
  void SetUsesVirtualWnd(bool on) { usesVirtualWnd_ = on; }
  bool UsesVirtualWnd() const { return usesVirtualWnd_; }

  // ---- focus ----------------------------------------------------------------------------------
  CControlUI* Focus() const { return focus_; }
  // Moves the focus: the old control gets "killfocus", the new one "setfocus". None, a control
  // of another host, an invisible or a disabled control leave no control focused.
  void SetFocus(CControlUI* control);

  // ---- mouse ----------------------------------------------------------------------------------
  // The last mouse point in client coordinates (-1, -1 before the first): what notifications
  // carry and what the hover colour of links is decided by.
  SkinPoint LastMousePoint() const { return lastMouse_; }
  void SetLastMousePoint(SkinPoint pt) { lastMouse_ = pt; }

  // ---- cursor ---------------------------------------------------------------------------------
  // The platform cursor shown over the window (set-cursor handling of the controls).
  void SetCursorShape(std::uint16_t cursorId) { cursorShape_ = cursorId; }
  std::uint16_t CursorShape() const { return cursorShape_; }

  // ---- notifications --------------------------------------------------------------------------
  void SendNotify(CControlUI* control, const std::wstring& type, std::intptr_t wParam = 0, std::intptr_t lParam = 0,
                  bool queued = false);
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
  // Destroys `control` later, when the window processes its cleanup message; the host destroys
  // whatever is still queued when it goes away.
  void AddDelayedCleanup(std::unique_ptr<CControlUI> control);
  // Destroys every queued control (the window's cleanup message).
  void ProcessDelayedCleanup();
  std::size_t DelayedCleanupCount() const { return delayedCleanup_.size(); }

  // ---- timers ---------------------------------------------------------------------------------
  // Starts a timer of `control` under its own id. Fails while the same timer runs, and when the
  // window cannot run timers (no window attached).
  bool SetTimer(CControlUI* control, std::uintptr_t id, unsigned milliseconds);
  bool KillTimer(CControlUI* control, std::uintptr_t id);
  void KillTimers(CControlUI* control);
  void RemoveAllTimers();
  // A platform timer message: event 25 to the control of the running timer with that platform id.
  bool DispatchTimer(unsigned platformId);

  // Window messages, capture, hover tracking, tooltips, the caret and the paint pipeline are
  // added by the window layer on top of these members.

 private:
  struct TimerRecord {
    CControlUI* control = nullptr;
    std::uintptr_t localId = 0;
    SkinWindowHandle window = nullptr;
    unsigned platformId = 0;
    bool killed = false;
  };

  const CSkinHost* TopHost() const;
  SkinFontInfo* DefaultFont();
  bool StartPlatformTimer(unsigned platformId, unsigned milliseconds);
  void StopPlatformTimer(unsigned platformId);
  void RegisterNames(CControlUI* control);
  void UnregisterNames(CControlUI* control);
  void DeliverNotify(SkinNotify& msg);
  // An event made by the host: its time and the last mouse point filled in.
  SkinEvent MakeEvent(int type, CControlUI* sender) const;

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
  // controls
  std::unique_ptr<CControlUI> root_;
  CControlUI* focus_ = nullptr;
  CControlUI* hover_ = nullptr;
  CControlUI* click_ = nullptr;
  CControlUI* keyControl_ = nullptr;
  // input
  SkinPoint lastMouse_{-1, -1};
  unsigned timerCounter_ = 4096;
  std::uint16_t cursorShape_ = 0;
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
  std::vector<TimerRecord> timers_;
  // parent host
  CSkinHost* parentHost_ = nullptr;
};

}  // namespace SkinUI
