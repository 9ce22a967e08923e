#pragma once
// The text-entry control: a container that shows an editable (or read-only) text laid out with
// Pango, takes the keyboard while it has the focus and reports "textchanged" and "return".
// The text, caret and selection live in a CTextEditor; this class binds it to the window:
// keys and characters through the host's message filter list, mouse presses through the
// control's events, the caret through the host's caret operations.
#include <cstdint>
#include <memory>
#include <string>

#include "ui/controls/text_edit_layout.h"
#include "ui/controls/text_editor.h"
#include "ui/core/container_ui.h"
#include "ui/core/skin_host.h"

namespace SkinUI {

class CRichEditUI : public CContainerUI, public IMessageFilterUI, public IWantTabUI {
 public:
  // Edit style bits (the platform's edit-control values).
  enum EditStyle : std::uint32_t {
    kEsCenter = 0x1,
    kEsRight = 0x2,
    kEsMultiLine = 0x4,
    kEsPassword = 0x20,
    kEsAutoVScroll = 0x40,
    kEsAutoHScroll = 0x80,
    kEsReadOnly = 0x800,
    kEsDisableNoScroll = 0x2000,
    kWsHScroll = 0x100000,
    kWsVScroll = 0x200000,
  };

  CRichEditUI();
  ~CRichEditUI() override;

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  // Set-cursor events (2) and a Tab stop (1) while enabled.
  std::uint32_t ControlFlags() const override;
  std::wstring GetText() const override;
  // Replaces the whole text (whatever read-only says) and, once the control is initialised,
  // raises "textchanged".
  void SetText(const std::wstring& text) override;
  // Takes "normal", "hot", "focused" and "disabled".
  void SetStatusImages(const SkinStatusImageMap& images) override;
  void SetPosition(const SkinRect& rc) override;
  void SetEnabled(bool enabled) override;
  void OnInit() override;
  void HandleEvent(SkinEvent& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintStatusImage(IRenderCanvas& canvas) override;
  // The tip while it shows and the field is empty, else the text with its selection.
  void PaintText(IRenderCanvas& canvas) override;

  // The window's messages while the control is visible and enabled: keys and characters while
  // it has the focus.
  std::intptr_t MessageHandler(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                               bool& handled) override;

  // ---- properties ----------------------------------------------------------------------------
  std::uint32_t Style() const { return style_; }
  bool IsReadOnly() const { return editor_.IsReadOnly(); }
  void SetReadOnly(bool on);
  bool IsNumberOnly() const { return editor_.IsNumberOnly(); }
  void SetNumberOnly(bool on) { editor_.SetNumberOnly(on); }
  bool IsPassword() const { return editor_.IsPassword(); }
  void SetPassword(bool on);
  bool IsMultiLine() const { return (style_ & kEsMultiLine) != 0; }
  int MaxChar() const { return maxChar_; }
  void SetMaxChar(int limit);
  // Whether Tab is typed into the field instead of moving the focus.
  bool IsWantTab() const override;
  void SetWantTab(bool on) { wantTab_ = on; }
  bool IsWantReturn() const { return wantReturn_; }
  void SetWantReturn(bool on) { wantReturn_ = on; }
  bool IsWantCtrlReturn() const { return wantCtrlReturn_; }
  void SetWantCtrlReturn(bool on) { wantCtrlReturn_ = on; }
  bool IsRich() const { return rich_; }
  SkinColor TextColor() const { return textColor_; }
  void SetTextColor(SkinColor color);
  int Font() const { return font_; }
  void SetFont(int index);
  const SkinRect& TextPadding() const { return textPadding_; }
  void SetTextPadding(const SkinRect& padding);
  const std::wstring& TipValue() const { return tipValue_; }
  void SetTipValue(const std::wstring& tip);
  SkinColor TipValueColor() const { return tipColor_; }
  void SetTipValueColor(SkinColor color);
  std::uint32_t TipStyle() const { return tipStyle_; }
  bool IsTipVisible() const { return tipVisible_; }
  std::uint32_t State() const { return state_; }

  // Where the text is laid out: the control less the inset, the visible scroll bars and the
  // text padding.
  const SkinRect& TextRect() const { return textRect_; }
  const CTextEditor& Editor() const { return editor_; }
  // Selection and caret by character position, as the user would make them.
  void SetSelection(int anchor, int caret);
  // The caret's rectangle in window coordinates (empty before the first layout).
  SkinRect CaretRect() const;
  // Character position under a window point (nearest).
  int PositionAt(SkinPoint pt);

 private:
  bool OnKeyDown(int key);
  void OnChar(char32_t ch);
  // After an edit: notification, layout, caret and repaint.
  void AfterEdit(CTextEditor::EditResult result);
  void AfterCaretMove();
  void Relayout();
  void ScrollCaretIntoView();
  void UpdateCaret();
  // The layout's origin in window coordinates (the text rectangle moved by the scroll offset
  // and the alignment).
  SkinPoint LayoutOrigin() const;
  int LayoutAlign() const;
  void Copy();
  void Cut();
  void Paste();
  bool KeyHeld(int key) const;

  CTextEditor editor_;
  CTextEditLayout layout_;
  bool layoutDirty_ = true;
  std::uint32_t style_ = kEsMultiLine;
  bool wantTab_ = true;
  bool wantReturn_ = true;
  bool wantCtrlReturn_ = true;
  bool rich_ = true;
  SkinColor textColor_ = 0xFF000000;
  int font_ = -1;
  int maxChar_ = CTextEditor::kDefaultMaxChars;
  SkinRect textPadding_;
  SkinImageSpec normalImage_;
  SkinImageSpec hotImage_;
  SkinImageSpec focusedImage_;
  SkinImageSpec disabledStateImage_;
  std::wstring tipValue_;
  SkinColor tipColor_ = 0xFFBAC0C5;
  std::uint32_t tipStyle_;
  bool tipVisible_ = false;
  std::uint32_t state_ = 0;
  bool initialised_ = false;
  bool filterAdded_ = false;
  bool dragging_ = false;
  bool caretOwned_ = false;
  SkinRect textRect_;
  SkinPoint scroll_;  // how far the text is scrolled left and up
};

}  // namespace SkinUI
