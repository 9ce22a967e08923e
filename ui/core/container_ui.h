#pragma once
// Controls that hold child controls and give them their positions: the container interface, the
// common container base with insets, child paddings, scroll bars, hit testing and clipped
// painting, and the hook through which containers get their scroll bars.
#include <memory>
#include <vector>

#include "ui/core/control_ui.h"

namespace SkinUI {

class CContainerUI;

// What a container needs of its scroll bars. The scroll bar control derives from this and
// installs its factory with CContainerUI::SetScrollBarFactory.
class CScrollBarBaseUI : public CControlUI {
 public:
  virtual CContainerUI* Owner() const = 0;
  virtual void SetOwner(CContainerUI* owner) = 0;
  virtual bool IsHorizontal() const = 0;
  virtual void SetHorizontal(bool horizontal) = 0;
  virtual int ScrollRange() const = 0;
  virtual void SetScrollRange(int range) = 0;
  virtual int ScrollPos() const = 0;
  // Clamped to 0..range by the bar.
  virtual void SetScrollPos(int pos) = 0;
};

// The child list of a container, obtained with AsInterface("IContainer").
class IContainerUI {
 public:
  virtual ~IContainerUI() = default;
  virtual CControlUI* ItemAt(int index) const = 0;
  virtual int ItemIndex(CControlUI* control) const = 0;
  virtual bool SetItemIndex(CControlUI* control, int index) = 0;
  virtual int Count() const = 0;
  // The container owns an added control (and destroys it when auto destroy is on). False, with
  // the control untouched, for none; a derived container may refuse other controls too.
  virtual bool Add(CControlUI* control) = 0;
  virtual bool AddAt(CControlUI* control, int index) = 0;
  virtual bool Remove(CControlUI* control) = 0;
  virtual bool RemoveAt(int index) = 0;
  virtual void RemoveAll() = 0;
};

class CContainerUI : public CControlUI, public IContainerUI {
 public:
  using ScrollBarFactory = std::unique_ptr<CScrollBarBaseUI> (*)();
  static void SetScrollBarFactory(ScrollBarFactory factory);

  CContainerUI();
  ~CContainerUI() override;

  // ---- overrides of the control base --------------------------------------------------------
  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  void SetHost(CSkinHost* host, CControlUI* parent, bool initialise, ISkinBuilderCallback* callback) override;
  void ApplyLanguage() override;
  void SetPosition(const SkinRect& rc) override;
  void SetVisible(bool visible) override;
  void SetInternalVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  void SetMouseEnabled(bool enabled) override;
  CControlUI* LocateControl(FindControlProc visitor, void* data, std::uint32_t flags) override;
  void HandleEvent(SkinEvent& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void Paint(IRenderCanvas& canvas, const SkinRect& dirty) override;

  // ---- IContainerUI ---------------------------------------------------------------------------
  CControlUI* ItemAt(int index) const override;
  int ItemIndex(CControlUI* control) const override;
  bool SetItemIndex(CControlUI* control, int index) override;
  int Count() const override;
  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool Remove(CControlUI* control) override;
  bool RemoveAt(int index) override;
  void RemoveAll() override;

  // ---- container operations, in slot order ----------------------------------------------------
  virtual SkinRect Inset() const;
  virtual void SetInset(const SkinRect& inset);
  virtual int ChildPadding() const;
  virtual void SetChildPadding(int padding);
  virtual int ChildVPadding() const;
  virtual void SetChildVPadding(int padding);
  virtual bool IsAutoDestroy() const;
  virtual void SetAutoDestroy(bool on);
  virtual bool IsDelayedDestroy() const;
  virtual void SetDelayedDestroy(bool on);
  virtual bool IsMouseChildEnabled() const;
  virtual void SetMouseChildEnabled(bool on);
  virtual void SetFloatScrollBar(bool on);
  virtual bool IsFloatScrollBar() const;
  // Index of the first visible, enabled child from `index` on (backward: at or before it); -1
  // when there is none.
  virtual int FindSelectable(int index, bool forward) const;
  // (horizontal, vertical); 0 for a bar that is absent or hidden.
  virtual SkinSize ScrollPos() const;
  virtual SkinSize ScrollRange() const;
  virtual void SetScrollPos(SkinSize pos);
  virtual void LineUp();
  virtual void LineDown();
  virtual void PageUp();
  virtual void PageDown();
  virtual void HomeUp();
  virtual void EndDown();
  virtual void LineLeft();
  virtual void LineRight();
  virtual void PageLeft();
  virtual void PageRight();
  virtual void HomeLeft();
  virtual void EndRight();
  virtual void EnableScrollBar(bool vertical, bool horizontal);
  virtual CScrollBarBaseUI* VerticalScrollBar() const;
  virtual CScrollBarBaseUI* HorizontalScrollBar() const;
  virtual void SetFloatPos(int index);
  virtual void ProcessScrollBar(const SkinRect& reference, int widthNeeded, int heightNeeded);

 protected:
  // Destroys a removed child: through the host's delayed cleanup, at once, or not at all (then
  // the child only forgets this container).
  void DisposeChild(CControlUI* control);
  // Item rectangle minus inset minus the room of visible, non-floating scroll bars.
  SkinRect ChildrenArea() const;
  bool IsBarVisible(const std::unique_ptr<CScrollBarBaseUI>& bar) const { return bar && bar->IsVisible(); }
  // Scrolling steps: moves the scroll position by (dx, dy); the size of one page each way.
  void ScrollBy(int dx, int dy);
  int PageHeight() const;
  int PageWidth() const;
  // The stacking layouts (vertical, horizontal): `area` is the item rectangle minus the inset
  // and the room of visible scroll bars (unless they float); `reference` always has the bars
  // taken off and is what ProcessScrollBar measures against.
  void LineAreas(SkinRect& area, SkinRect& reference) const;
  // Places the children in two passes along one axis (fixed sizes first, then an equal share of
  // the rest for the stretchable ones; the remainder is not handed out) and returns the extent
  // they need along that axis.
  int PlaceLine(bool vertical, const SkinRect& area);

  std::vector<CControlUI*> items_;
  SkinRect inset_;
  int childPadding_ = 0;
  int childVPadding_ = 0;
  bool autoDestroy_ = true;
  bool delayedDestroy_ = true;
  bool mouseChild_ = true;
  bool floatScrollBar_ = false;
  std::unique_ptr<CScrollBarBaseUI> vScroll_;
  std::unique_ptr<CScrollBarBaseUI> hScroll_;
  bool scrollProcessing_ = false;
};

}  // namespace SkinUI
