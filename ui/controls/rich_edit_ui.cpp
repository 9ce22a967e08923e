#include "ui/controls/rich_edit_ui.h"

#include <algorithm>

#include "platform/text_encoding.h"
#include "platform/window_messages.h"
#include "platform/window_system.h"
#include "ui/controls/control_state.h"
#include "ui/controls/pointer_position.h"
#include "ui/controls/skin_render.h"
#include "ui/controls/text_style.h"
#include "ui/core/skin_value.h"

namespace SkinUI {
namespace {

bool Has(const std::wstring& value, const wchar_t* word) { return value.find(word) != std::wstring::npos; }

void Beep() {
  if (platform::IWindowSystem* ws = platform::WindowSystem()) ws->Beep();
}

}  // namespace

CRichEditUI::CRichEditUI() : tipStyle_(DT_WORDBREAK) {
  // A field the user cannot click into could never take the focus with the mouse.
  mouseEnabled_ = true;
  editor_.SetMultiLine(true);
}

CRichEditUI::~CRichEditUI() {
  if (filterAdded_ && host_ != nullptr) host_->RemoveMessageFilter(this);
}

bool CRichEditUI::IsWantTab() const { return wantTab_; }

const wchar_t* CRichEditUI::ClassName() const { return L"RichEditUI"; }

void* CRichEditUI::AsInterface(const std::wstring& name) {
  if (name == L"RichEdit") return static_cast<CRichEditUI*>(this);
  if (name == L"WantTab") return static_cast<IWantTabUI*>(this);
  return CContainerUI::AsInterface(name);
}

std::uint32_t CRichEditUI::ControlFlags() const { return IsEnabled() ? 3u : 0u; }

std::wstring CRichEditUI::GetText() const { return initialised_ ? editor_.Text() : text_; }

void CRichEditUI::SetText(const std::wstring& text) {
  if (!initialised_) {
    text_ = text;
    return;
  }
  editor_.SetText(text);
  text_ = editor_.Text();
  layoutDirty_ = true;
  AfterCaretMove();
  // Every program change is reported, read-only or not: the window reacts to the new text.
  if (host_ != nullptr) host_->SendNotify(this, L"textchanged");
}

void CRichEditUI::SetStatusImages(const SkinStatusImageMap& images) {
  TakeStatusImage(images, L"normal", normalImage_);
  TakeStatusImage(images, L"hot", hotImage_);
  TakeStatusImage(images, L"focused", focusedImage_);
  TakeStatusImage(images, L"disabled", disabledStateImage_);
  Invalidate();
}

void CRichEditUI::SetReadOnly(bool on) {
  style_ = on ? style_ | kEsReadOnly : style_ & ~kEsReadOnly;
  editor_.SetReadOnly(on);
}

void CRichEditUI::SetPassword(bool on) {
  style_ = on ? style_ | kEsPassword : style_ & ~kEsPassword;
  editor_.SetPassword(on);
  layoutDirty_ = true;
  Invalidate();
}

void CRichEditUI::SetMaxChar(int limit) {
  maxChar_ = limit;
  editor_.SetMaxChars(limit);
}

void CRichEditUI::SetTextColor(SkinColor color) {
  if (textColor_ == color) return;
  textColor_ = color;
  Invalidate();
}

void CRichEditUI::SetFont(int index) {
  if (font_ == index) return;
  font_ = index;
  layoutDirty_ = true;
  Invalidate();
}

void CRichEditUI::SetTextPadding(const SkinRect& padding) {
  textPadding_ = ClampRect(padding);
  SetPosition(itemRect_);
  Invalidate();
}

void CRichEditUI::SetTipValue(const std::wstring& tip) {
  tipValue_ = tip;
  tipVisible_ = !tipValue_.empty() && !IsFocused();
  Invalidate();
}

void CRichEditUI::SetTipValueColor(SkinColor color) {
  tipColor_ = color;
  Invalidate();
}

void CRichEditUI::SetEnabled(bool enabled) {
  CContainerUI::SetEnabled(enabled);
  if (!IsEnabled()) {
    state_ = kStateDisabled;
    dragging_ = false;
    UpdateCaret();
  } else {
    state_ &= ~kStateDisabled;
  }
}

void CRichEditUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const wchar_t* v = value.c_str();
  const bool on = ParseSkinBool(v);
  if (name == L"vscrollbar") {
    if (on) style_ |= kWsVScroll | kEsDisableNoScroll;
  } else if (name == L"autovscroll") {
    if (on) style_ |= kEsAutoVScroll;
  } else if (name == L"hscrollbar") {
    if (on) style_ |= kWsHScroll | kEsDisableNoScroll;
  } else if (name == L"autohscroll") {
    if (on) style_ |= kEsAutoHScroll;
  } else if (name == L"wanttab") {
    SetWantTab(on);
  } else if (name == L"wantreturn") {
    SetWantReturn(on);
  } else if (name == L"wantctrlreturn") {
    SetWantCtrlReturn(on);
  } else if (name == L"rich") {
    rich_ = on;
  } else if (name == L"multiline") {
    if (on) {
      style_ |= kEsMultiLine;
      tipStyle_ = (tipStyle_ | DT_WORDBREAK) & ~DT_SINGLELINE;
    } else {
      style_ &= ~kEsMultiLine;
      tipStyle_ = (tipStyle_ | DT_SINGLELINE) & ~DT_WORDBREAK;
    }
    editor_.SetMultiLine(on);
    layoutDirty_ = true;
  } else if (name == L"readonly") {
    if (on) SetReadOnly(true);
  } else if (name == L"numberonly") {
    SetNumberOnly(on);
  } else if (name == L"password") {
    if (on) SetPassword(true);
  } else if (name == L"align") {
    if (Has(value, L"left")) {
      style_ &= ~(kEsCenter | kEsRight);
      tipStyle_ &= ~(DT_CENTER | DT_RIGHT);
    }
    if (Has(value, L"hcenter")) {
      style_ = (style_ & ~kEsRight) | kEsCenter;
      tipStyle_ = (tipStyle_ & ~DT_RIGHT) | DT_CENTER;
    }
    if (Has(value, L"right")) {
      style_ = (style_ & ~kEsCenter) | kEsRight;
      tipStyle_ = (tipStyle_ & ~DT_CENTER) | DT_RIGHT;
    }
    layoutDirty_ = true;
  } else if (name == L"font") {
    SetFont(ParseSkinInt(v));
  } else if (name == L"textcolor") {
    SetTextColor(ParseSkinColor(v));
  } else if (name == L"maxchar") {
    SetMaxChar(ParseSkinInt(v));
  } else if (name == L"normalimage") {
    SetImageSpec(normalImage_, value);
  } else if (name == L"hotimage") {
    SetImageSpec(hotImage_, value);
  } else if (name == L"focusedimage") {
    SetImageSpec(focusedImage_, value);
  } else if (name == L"disabledimage") {
    SetImageSpec(disabledStateImage_, value);
  } else if (name == L"textpadding") {
    SetTextPadding(ParseSkinRect(v));
  } else if (name == L"tipvalue") {
    SetTipValue(value);
  } else if (name == L"tipvaluecolor") {
    SetTipValueColor(ParseSkinColor(v));
  } else {
    CContainerUI::SetAttribute(name, value);
  }
}

void CRichEditUI::OnInit() {
  if (initialised_) return;
  initialised_ = true;
  editor_.SetMaxChars(maxChar_);
  editor_.SetText(text_);
  text_ = editor_.Text();
  if ((style_ & (kWsVScroll | kWsHScroll)) != 0)
    EnableScrollBar((style_ & kWsVScroll) != 0, (style_ & kWsHScroll) != 0);
  if (host_ != nullptr) filterAdded_ = host_->AddMessageFilter(this) || filterAdded_;
  if (!IsEnabled()) state_ = kStateDisabled;
  layoutDirty_ = true;
}

void CRichEditUI::SetPosition(const SkinRect& rc) {
  CContainerUI::SetPosition(rc);
  textRect_ = ChildrenArea().Deflated(textPadding_);
  if (textRect_.right < textRect_.left) textRect_.right = textRect_.left;
  if (textRect_.bottom < textRect_.top) textRect_.bottom = textRect_.top;
  layoutDirty_ = true;
  Relayout();
  ScrollCaretIntoView();
  UpdateCaret();
}

bool CRichEditUI::KeyHeld(int key) const {
  platform::IWindowSystem* ws = platform::WindowSystem();
  return ws != nullptr && ws->IsKeyDown(key);
}

int CRichEditUI::LayoutAlign() const {
  if ((style_ & kEsCenter) != 0) return 1;
  if ((style_ & kEsRight) != 0) return 2;
  return 0;
}

void CRichEditUI::Relayout() {
  if (!layoutDirty_ || host_ == nullptr) return;
  layoutDirty_ = false;
  const bool wrap = IsMultiLine() && (style_ & (kWsHScroll | kEsAutoHScroll)) == 0;
  const int align = LayoutAlign();
  const auto a = align == 1 ? CTextEditLayout::Align::kCenter
                 : align == 2 ? CTextEditLayout::Align::kRight
                              : CTextEditLayout::Align::kLeft;
  layout_.Update(host_->FontInfo(*host_->Font(font_)), editor_.DisplayText(), wrap ? std::max(1, textRect_.Width()) : 0,
                 a);
}

SkinPoint CRichEditUI::LayoutOrigin() const {
  SkinPoint origin{textRect_.left - scroll_.x, textRect_.top - scroll_.y};
  const bool wrap = IsMultiLine() && (style_ & (kWsHScroll | kEsAutoHScroll)) == 0;
  if (!wrap) {
    // Unwrapped lines are aligned here; wrapped ones by the layout.
    const int free = textRect_.Width() - layout_.Size().cx;
    if (free > 0 && LayoutAlign() == 1) origin.x += free / 2;
    if (free > 0 && LayoutAlign() == 2) origin.x += free;
  }
  return origin;
}

void CRichEditUI::ScrollCaretIntoView() {
  if (!initialised_ || host_ == nullptr) return;
  Relayout();
  const SkinRect caret = layout_.CaretRect(editor_.Caret());
  const SkinSize size = layout_.Size();
  const int width = textRect_.Width();
  const int height = textRect_.Height();
  if (caret.left < scroll_.x) scroll_.x = caret.left;
  if (caret.right > scroll_.x + width) scroll_.x = caret.right - width;
  scroll_.x = std::clamp(scroll_.x, 0, std::max(0, size.cx + 1 - width));
  if (caret.top < scroll_.y) scroll_.y = caret.top;
  if (caret.bottom > scroll_.y + height) scroll_.y = caret.bottom - height;
  scroll_.y = std::clamp(scroll_.y, 0, std::max(0, size.cy - height));
}

SkinRect CRichEditUI::CaretRect() const {
  if (!initialised_) return {};
  SkinRect rc = layout_.CaretRect(editor_.Caret());
  const SkinPoint o = LayoutOrigin();
  rc.Offset(o.x, o.y);
  return rc;
}

int CRichEditUI::PositionAt(SkinPoint pt) {
  Relayout();
  const SkinPoint o = LayoutOrigin();
  return layout_.IndexAt({pt.x - o.x, pt.y - o.y});
}

void CRichEditUI::SetSelection(int anchor, int caret) {
  editor_.SetSelection(anchor, caret);
  AfterCaretMove();
}

void CRichEditUI::AfterCaretMove() {
  ScrollCaretIntoView();
  UpdateCaret();
  Invalidate();
}

void CRichEditUI::AfterEdit(CTextEditor::EditResult result) {
  if (result == CTextEditor::EditResult::kRefused) {
    Beep();
    return;
  }
  if (result == CTextEditor::EditResult::kUnchanged) {
    AfterCaretMove();
    return;
  }
  text_ = editor_.Text();
  layoutDirty_ = true;
  AfterCaretMove();
  if (host_ != nullptr) host_->SendNotify(this, L"textchanged");
}

namespace {
void ToClipboard(const std::wstring& text) {
  platform::IWindowSystem* ws = platform::WindowSystem();
  if (!text.empty() && ws != nullptr) ws->SetClipboardText(platform::WideToUtf8(text));
}
}  // namespace

void CRichEditUI::Copy() { ToClipboard(editor_.CopyText()); }

void CRichEditUI::Cut() {
  std::wstring cut;
  const CTextEditor::EditResult result = editor_.Cut(cut);
  ToClipboard(cut);
  AfterEdit(result);
}

void CRichEditUI::Paste() {
  platform::IWindowSystem* ws = platform::WindowSystem();
  if (ws == nullptr) return;
  const std::wstring text = platform::Utf8ToWide(ws->GetClipboardText());
  if (!text.empty()) AfterEdit(editor_.Insert(text));
}

bool CRichEditUI::OnKeyDown(int key) {
  const bool ctrl = KeyHeld(platform::kVkControl);
  const bool shift = KeyHeld(platform::kVkShift);
  switch (key) {
    case platform::kVkReturn:
      if (wantReturn_ && (!ctrl || wantCtrlReturn_)) {
        if (IsMultiLine()) AfterEdit(editor_.Insert(L"\n"));
      } else if (host_ != nullptr) {
        host_->SendNotify(this, L"return");
      }
      return true;
    case platform::kVkTab:
      if (!wantTab_) return false;
      AfterEdit(editor_.Insert(L"\t"));
      return true;
    case platform::kVkBack:
      AfterEdit(editor_.Backspace(ctrl));
      return true;
    case platform::kVkDelete:
      if (shift) {
        Cut();
      } else {
        AfterEdit(editor_.Delete(ctrl));
      }
      return true;
    case platform::kVkInsert:
      if (ctrl) Copy();
      if (shift) Paste();
      return true;
    case platform::kVkLeft:
    case platform::kVkRight:
    case platform::kVkHome:
    case platform::kVkEnd: {
      // Shift extends the selection; Ctrl moves by words (arrows) or to the text's ends.
      using Move = void (CTextEditor::*)(bool, bool);
      const Move move = key == platform::kVkLeft    ? &CTextEditor::MoveLeft
                        : key == platform::kVkRight ? &CTextEditor::MoveRight
                        : key == platform::kVkHome  ? &CTextEditor::MoveHome
                                                    : &CTextEditor::MoveEnd;
      (editor_.*move)(shift, ctrl);
      AfterCaretMove();
      return true;
    }
    case platform::kVkUp:
    case platform::kVkDown:
    case platform::kVkPrior:
    case platform::kVkNext:
      if (IsMultiLine()) {
        Relayout();
        const int lineHeight = std::max(1, layout_.LineHeight());
        int lines = key == platform::kVkUp || key == platform::kVkDown ? 1 : std::max(1, textRect_.Height() / lineHeight);
        if (key == platform::kVkUp || key == platform::kVkPrior) lines = -lines;
        editor_.MoveTo(layout_.IndexOnLine(editor_.Caret(), lines), shift);
        AfterCaretMove();
      }
      return true;
    default:
      break;
  }
  if (!ctrl) return false;
  switch (key) {
    case 'A':
      editor_.SelectAll();
      AfterCaretMove();
      return true;
    case 'C':
      Copy();
      return true;
    case 'X':
      Cut();
      return true;
    case 'V':
      Paste();
      return true;
    default:
      return false;
  }
}

void CRichEditUI::OnChar(char32_t ch) {
  // Control characters (Backspace, Return, Tab, Ctrl+letters) were handled as keys.
  if (ch < 0x20 || ch == 0x7F) return;
  if (editor_.IsNumberOnly() && !(ch >= U'0' && ch <= U'9')) {
    Beep();
    return;
  }
  AfterEdit(editor_.Insert(std::wstring(1, static_cast<wchar_t>(ch))));
}

std::intptr_t CRichEditUI::MessageHandler(std::uint32_t message, std::uintptr_t wParam, std::intptr_t,
                                          bool& handled) {
  handled = false;
  if (!initialised_ || !IsVisible() || !IsEnabled() || !IsFocused()) return 0;
  if (message == platform::kWmKeyDown) {
    handled = OnKeyDown(static_cast<int>(wParam));
  } else if (message == platform::kWmChar) {
    OnChar(static_cast<char32_t>(wParam));
    handled = true;
  }
  return 0;
}

void CRichEditUI::HandleEvent(SkinEvent& event) {
  const bool inText = textRect_.Contains(event.ptMouse);
  switch (event.type) {
    case kEventKeyDown:
    case kEventKeyUp:
    case kEventChar:
      return;  // the message filter takes the keyboard
    case kEventSetCursor:
      if (host_ != nullptr) {
        const bool overText = textRect_.Contains(PointerPosition(host_, event.ptMouse));
        host_->SetCursorShape(overText ? platform::kCursorIBeam : platform::kCursorArrow);
      }
      return;
    case kEventButtonDown:
      if (IsEnabled() && inText && initialised_) {
        editor_.MoveTo(PositionAt(event.ptMouse), (event.keyState & kKeyStateShift) != 0);
        dragging_ = true;
        AfterCaretMove();
      }
      return;
    case kEventDblClick:
      if (IsEnabled() && inText && initialised_) {
        editor_.SelectWordAt(PositionAt(event.ptMouse));
        AfterCaretMove();
      }
      return;
    case kEventMouseMove:
      if (dragging_) {
        editor_.MoveTo(PositionAt(event.ptMouse), true);
        AfterCaretMove();
      }
      return;
    case kEventButtonUp:
      dragging_ = false;
      return;
    case kEventSetFocus:
      focused_ = true;
      state_ |= kStateFocused;
      tipVisible_ = false;
      UpdateCaret();
      Invalidate();
      return;
    case kEventKillFocus:
      focused_ = false;
      state_ &= ~kStateFocused;
      dragging_ = false;
      if (editor_.Length() == 0 && !tipValue_.empty()) tipVisible_ = true;
      UpdateCaret();
      Invalidate();
      return;
    default:
      if (FollowHover(event.type, IsEnabled(), state_)) {
        Invalidate();
        return;
      }
      break;
  }
  CContainerUI::HandleEvent(event);
}

void CRichEditUI::PaintStatusImage(IRenderCanvas& canvas) {
  SkinImageSpec* image = nullptr;
  if ((state_ & kStateDisabled) != 0)
    image = &disabledStateImage_;
  else if ((state_ & kStateFocused) != 0)
    image = &focusedImage_;
  else if ((state_ & kStateHot) != 0)
    image = &hotImage_;
  if (image == nullptr || !DrawImage(canvas, *image)) DrawImage(canvas, normalImage_);
}

}  // namespace SkinUI

namespace SkinUI {

void CRichEditUI::UpdateCaret() {
  if (host_ == nullptr || !initialised_) return;
  // The caret shows where typing goes: in the focused field, and not over a selection.
  const bool show = IsFocused() && IsEnabled() && IsVisible() && !editor_.HasSelection();
  if (!show) {
    if (caretOwned_) host_->DestroyCaret();
    caretOwned_ = false;
    return;
  }
  const SkinRect rc = CaretRect();
  if (!caretOwned_ || host_->CaretRect().Height() != rc.Height()) {
    host_->CreateCaret(this, 1, rc.Height());
    caretOwned_ = true;
  }
  host_->SetCaretPos({rc.left, rc.top});
  host_->ShowCaret(true);
}

void CRichEditUI::PaintText(IRenderCanvas& canvas) {
  if (host_ == nullptr) return;
  if (tipVisible_ && editor_.Length() == 0) {
    SkinRect rc = itemRect_.Deflated(inset_);
    CSkinRender::RenderPlainText(&canvas, host_, rc, tipValue_, tipColor_, font_, tipStyle_);
    return;
  }
  if (!initialised_ || editor_.Length() == 0) return;
  Relayout();
  const SkinPoint origin = LayoutOrigin();
  CRenderClip clip(canvas, textRect_);
  if (IsFocused() && editor_.HasSelection()) {
    for (SkinRect rc : layout_.RangeRects(editor_.SelectionStart(), editor_.SelectionEnd())) {
      rc.Offset(origin.x, origin.y);
      canvas.FillColor(rc, host_->SelectedTextColor());
    }
  }
  const SkinFontInfo& font = host_->FontInfo(*host_->Font(font_));
  SkinColor color = IsEnabled() ? textColor_ : host_->DisabledTextColor();
  // Only a layered window keeps the colour's alpha; elsewhere text is opaque, as plain text is.
  if (!host_->IsLayered()) color |= 0xFF000000;
  const std::wstring shown = editor_.DisplayText();
  // Line by line, each run on the baseline the layout gave it, so the glyphs sit where the caret
  // and the mouse hits expect them.
  for (const CTextEditLayout::Line& line : layout_.Lines()) {
    if (line.to <= line.from) continue;
    canvas.DrawTextRun(origin.x + line.x, origin.y + line.baseline - font.ascent,
                       shown.substr(line.from, line.to - line.from), font, color);
  }
}

}  // namespace SkinUI
