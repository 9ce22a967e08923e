#pragma once
// The base of every visible element of a skinned window: geometry request, state flags, texts,
// background and border, attribute table, events and painting. Containers (container_ui.h)
// size and draw it; the skin host (skin_host.h) feeds it input and carries its notifications.
#include <cstdint>
#include <string>
#include <unordered_map>

#include "ui/core/render_canvas.h"
#include "ui/core/skin_delegate.h"
#include "ui/core/skin_event.h"
#include "ui/core/skin_image_spec.h"
#include "ui/core/skin_types.h"

namespace SkinUI {

class CSkinHost;
class CControlUI;
class ISkinBuilderCallback;

// Flags of LocateControl.
enum SkinFindFlags : std::uint32_t {
  kFindAll = 0x00000000,
  kFindVisible = 0x00000001,
  kFindEnabled = 0x00000002,
  kFindHitTest = 0x00000004,
  kFindUpdateTest = 0x00000008,
  kFindTopFirst = 0x00000010,
  kFindMeFirst = 0x80000000,
};

// Visitor of LocateControl: returns the control when it is the one searched for, else none.
using FindControlProc = CControlUI* (*)(CControlUI* control, void* data);

struct RelativePosUI {
  bool relative = false;
  SkinSize parentSize;  // container size when the position was last applied
  int moveXPercent = 0;
  int moveYPercent = 0;
  int zoomXPercent = 0;
  int zoomYPercent = 0;
};

// The process-wide text-lookup provider of "lanstr" (none is installed by this program).
class ILanguageProviderUI {
 public:
  virtual ~ILanguageProviderUI() = default;
  // Found: true and the text in `out`.
  virtual bool Lookup(const std::wstring& key, std::wstring& out) = 0;
};

class CControlUI {
 public:
  CControlUI();
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;

  // ---- virtual operations, in slot order --------------------------------------------------
  virtual ~CControlUI();
  virtual std::wstring GetName() const;
  virtual void SetName(const std::wstring& name);
  virtual const wchar_t* ClassName() const;
  // Interface query by name; the answer is cast back by the caller to the type the name stands
  // for ("Control": CControlUI*, "IContainer": IContainerUI*).
  virtual void* AsInterface(const std::wstring& name);
  virtual std::uint32_t ControlFlags() const;
  virtual bool CanActivate();
  virtual CSkinHost* Host() const;
  virtual void SetHost(CSkinHost* host, CControlUI* parent, bool initialise, ISkinBuilderCallback* callback);
  virtual CControlUI* Parent() const;
  virtual std::wstring GetText() const;
  virtual void SetText(const std::wstring& text);
  virtual void SetTextNumber(int n);
  virtual std::wstring LanguageKey() const;
  virtual void SetLanguageKey(const std::wstring& key);
  virtual void ApplyLanguage();
  virtual void SetStatusImages(const SkinStatusImageMap& images);
  virtual const SkinRect& Position() const;
  virtual void SetPosition(const SkinRect& rc);
  virtual void SetPositionXYWH(int x, int y, int width, int height);
  virtual int Width() const;
  virtual int Height() const;
  virtual int X() const;
  virtual int Y() const;
  virtual SkinRect Padding() const;
  virtual void SetPadding(const SkinRect& padding);
  virtual SkinSize FixedXY() const;
  virtual void SetFixedXY(SkinSize xy);
  virtual int FixedWidth() const;
  virtual void SetFixedWidth(int cx);
  virtual int FixedHeight() const;
  virtual void SetFixedHeight(int cy);
  virtual void SetFixedAndMinHeight(int cy);
  virtual int MinWidth() const;
  virtual void SetMinWidth(int cx);
  virtual int MaxWidth() const;
  virtual void SetMaxWidth(int cx);
  virtual int MinHeight() const;
  virtual void SetMinHeight(int cy);
  virtual int MaxHeight() const;
  virtual void SetMaxHeight(int cy);
  virtual void SetRelativePos(int moveX, int moveY, int zoomX, int zoomY);
  virtual void SetRelativeParentSize(SkinSize size);
  virtual RelativePosUI RelativePos() const;
  virtual bool IsRelativePos() const;
  virtual std::wstring ToolTip() const;
  virtual void SetToolTip(const std::wstring& text);
  virtual void SetToolTipWidth(int width);
  virtual int ToolTipWidth() const;
  virtual wchar_t Shortcut() const;
  virtual void SetShortcut(wchar_t ch);
  virtual bool IsContextMenuUsed() const;
  virtual void SetContextMenuUsed(bool used);
  virtual std::wstring UserData() const;
  virtual void SetUserDataNumber(int n);
  virtual void SetUserData(const std::wstring& text);
  virtual std::intptr_t Tag() const;
  virtual void SetTag(std::intptr_t tag);
  virtual std::intptr_t UserValue() const;
  virtual void SetUserValue(std::intptr_t value);
  virtual bool IsVisible() const;
  virtual void SetVisible(bool visible);
  virtual void SetInternalVisible(bool visible);
  virtual bool IsEnabled() const;
  virtual void SetEnabled(bool enabled);
  virtual bool IsMouseEnabled() const;
  virtual void SetMouseEnabled(bool enabled);
  virtual bool IsKeyboardEnabled() const;
  virtual void SetKeyboardEnabled(bool enabled);
  virtual bool IsFocused() const;
  virtual void SetFocus();
  virtual bool IsFloat() const;
  virtual void SetFloat(bool isFloat);
  virtual CControlUI* LocateControl(FindControlProc visitor, void* data, std::uint32_t flags);
  virtual void Init();
  virtual void OnInit();
  virtual void DispatchEvent(SkinEvent& event);
  virtual void HandleEvent(SkinEvent& event);
  virtual void SetAttribute(const std::wstring& name, const std::wstring& value);
  virtual SkinSize MeasureSize(SkinSize available);
  virtual void Paint(IRenderCanvas& canvas, const SkinRect& dirty);
  virtual void PaintAt(IRenderCanvas& canvas, const SkinRect& dirty, const SkinRect& rc);
  virtual void PaintBackgroundColor(IRenderCanvas& canvas);
  virtual void PaintBackgroundImage(IRenderCanvas& canvas);
  virtual void PaintStatusImage(IRenderCanvas& canvas);
  virtual void PaintText(IRenderCanvas& canvas);
  virtual void PaintBorder(IRenderCanvas& canvas);
  virtual void PaintOverlay(IRenderCanvas& canvas);
  virtual void SetCursor(std::uint16_t cursorId);
  virtual std::uint16_t Cursor() const;

  // ---- non-virtual operations ---------------------------------------------------------------
  void Invalidate();
  void RequestLayout();
  void RequestParentLayout();
  void BeginUpdate();
  void EndUpdate();
  bool IsUpdateNeeded() const { return updateNeeded_; }
  // Applies an attribute list (name="value" pairs, as an element's attributes are written).
  void ApplyAttributes(const std::wstring& list);

  // Attributes the table does not know. Empty names or values are refused; a name already
  // present keeps its first value.
  bool AddCustomAttribute(const std::wstring& name, const std::wstring& value);
  // Empty when absent.
  std::wstring CustomAttribute(const std::wstring& name) const;
  bool RemoveCustomAttribute(const std::wstring& name);

  ISkinBuilderCallback* BuilderCallback() const { return callback_; }
  const std::wstring& VirtualWnd() const { return virtualWnd_; }
  void SetVirtualWnd(const std::wstring& name);

  // Colours, images and borders: each setter stores a changed value and repaints.
  SkinColor BkColor() const { return bkColor_; }
  void SetBkColor(SkinColor c);
  SkinColor BkColor2() const { return bkColor2_; }
  void SetBkColor2(SkinColor c);
  SkinColor BkColor3() const { return bkColor3_; }
  void SetBkColor3(SkinColor c);
  SkinColor FocusedBkColor() const { return focusedBkColor_; }
  void SetFocusedBkColor(SkinColor c);
  SkinColor DisabledBkColor() const { return disabledBkColor_; }
  void SetDisabledBkColor(SkinColor c);
  SkinColor BorderColor() const { return borderColor_; }
  void SetBorderColor(SkinColor c);
  SkinColor FocusedBorderColor() const { return focusedBorderColor_; }
  void SetFocusedBorderColor(SkinColor c);
  SkinColor DisabledBorderColor() const { return disabledBorderColor_; }
  void SetDisabledBorderColor(SkinColor c);
  bool IsColorHsl() const { return colorHsl_; }
  void SetColorHsl(bool on);
  int BorderSize() const { return borderSize_; }
  void SetBorderSize(int size);
  const SkinRect& SideBorders() const { return sideBorders_; }
  void SetSideBorders(const SkinRect& widths);
  void SetLeftBorderSize(int w);
  void SetTopBorderSize(int w);
  void SetRightBorderSize(int w);
  void SetBottomBorderSize(int w);
  int BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(int style);
  SkinSize BorderRound() const { return borderRound_; }
  void SetBorderRound(SkinSize round);
  const SkinImageSpec& BkImage() const { return bkImage_; }
  void SetBkImage(const std::wstring& description);
  const SkinImageSpec& DisabledImage() const { return disabledImage_; }
  void SetDisabledImage(const std::wstring& description);
  const SkinRect& PaintRect() const { return paintRect_; }

  // Event lists.
  CEventSourceUI<CControlUI> onInit;
  CEventSourceUI<CControlUI> onDestroy;
  CEventSourceUI<CControlUI> onSize;
  CEventSourceUI<SkinEvent> onEvent;
  CEventSourceUI<SkinNotify> onNotify;

  // Platform cursor id of a cursor name ("hand" 32649, ...); 0 for unknown names.
  static std::uint16_t CursorIdFromName(const std::wstring& name);
  static void SetLanguageProvider(ILanguageProviderUI* provider);
  static ILanguageProviderUI* LanguageProvider();

 protected:
  // The repaint request of the setters: dropped while the update lock is held.
  void RequestRepaint();
  // The colour after the host's hue/saturation/lightness adjustment when "colorhsl" is on.
  SkinColor AdjustedColor(SkinColor c) const;
  // Fires the control's paint steps without the clip and rectangle handling of Paint.
  void PaintSteps(IRenderCanvas& canvas);
  // Draws `spec` over the control (limited to the paint rectangle). An empty spec draws nothing;
  // one that fails to draw is reset to empty so that it is not tried on every paint. True when
  // it was drawn.
  bool DrawImage(IRenderCanvas& canvas, SkinImageSpec& spec);
  // Fills the control with a state colour: only the paint rectangle when the colour is opaque,
  // the whole control otherwise (partial repaints then blend the same way as full ones).
  void FillStateColor(IRenderCanvas& canvas, SkinColor color);
  // Parses `description` into `spec` and repaints; an unchanged description does nothing.
  void SetImageSpec(SkinImageSpec& spec, const std::wstring& description);
  // The border drawing of PaintBorder with `color` (before adjustment; 0 draws nothing).
  void StrokeBorder(IRenderCanvas& canvas, SkinColor color);

  CSkinHost* host_ = nullptr;
  ISkinBuilderCallback* callback_ = nullptr;
  CControlUI* parent_ = nullptr;
  std::wstring virtualWnd_;
  std::wstring name_;
  bool updateNeeded_ = true;
  bool contextMenuUsed_ = false;
  SkinRect itemRect_;
  SkinRect padding_;
  SkinSize fixedXY_;
  int fixedWidth_ = 0;
  int fixedHeight_ = 0;
  int minWidth_ = 0;
  int minHeight_ = 0;
  int maxWidth_ = 9999;
  int maxHeight_ = 9999;
  bool visible_ = true;
  bool internalVisible_ = true;
  bool enabled_ = true;
  bool mouseEnabled_ = false;
  bool keyboardEnabled_ = false;
  bool focused_ = false;
  bool float_ = false;
  RelativePosUI relativePos_;
  std::wstring text_;
  std::wstring languageKey_;
  std::wstring toolTip_;
  wchar_t shortcut_ = 0;
  std::wstring userData_;
  std::intptr_t tag_ = 0;
  std::intptr_t userValue_ = 0;
  SkinColor bkColor_ = 0;
  SkinColor bkColor2_ = 0;
  SkinColor bkColor3_ = 0;
  SkinColor focusedBkColor_ = 0;
  SkinColor disabledBkColor_ = 0;
  SkinImageSpec bkImage_;
  SkinImageSpec disabledImage_;
  SkinColor borderColor_ = 0;
  SkinColor focusedBorderColor_ = 0;
  SkinColor disabledBorderColor_ = 0;
  bool colorHsl_ = false;
  int borderSize_ = 0;
  int borderStyle_ = 512;
  int toolTipWidth_ = 300;
  SkinSize borderRound_;
  SkinRect paintRect_;
  SkinRect sideBorders_;
  int updateLock_ = 0;
  std::uint16_t cursor_ = 0;
  std::unordered_map<std::wstring, std::wstring> customAttributes_{83};

 private:
  bool raisingResized_ = false;
};

}  // namespace SkinUI
