#include "ui/controls/edit_ui.h"

#include <algorithm>

#include "platform/window_messages.h"
#include "ui/controls/control_state.h"
#include "ui/controls/edit_wnd.h"
#include "ui/controls/rich_edit_ui.h"
#include "ui/controls/skin_render.h"
#include "ui/core/skin_host.h"
#include "ui/core/skin_value.h"

namespace SkinUI {
namespace {

// An edit field has no pushed look.
constexpr unsigned kEditStates = kAllStateImages & ~(1u << CStateImagesUI::kPushed);

}  // namespace

CEditUI::CEditUI() {
  mouseEnabled_ = true;
  keyboardEnabled_ = true;
  cursor_ = platform::kCursorIBeam;
  textPadding_ = {4, 3, 4, 3};
}

CEditUI::~CEditUI() { editor_.reset(); }

const wchar_t* CEditUI::ClassName() const { return L"EditUI"; }

void* CEditUI::AsInterface(const std::wstring& name) {
  if (name == L"Edit") return static_cast<CEditUI*>(this);
  return CLabelUI::AsInterface(name);
}

std::uint32_t CEditUI::ControlFlags() const { return IsEnabled() ? 3u : 0u; }

CEditWnd* CEditUI::EditWindow() const { return editor_ != nullptr && editor_->IsOpen() ? editor_.get() : nullptr; }

SkinRect CEditUI::EditorRect() const {
  SkinRect rc = itemRect_.Deflated(textPadding_);
  if (host_ == nullptr) return rc;
  const int line = host_->FontInfo(*host_->Font(font_)).height + 4;
  if (rc.Height() > line) {
    rc.top += (rc.Height() - line) / 2;
    rc.bottom = rc.top + line;
  }
  return rc;
}

void CEditUI::SetText(const std::wstring& text) {
  CLabelUI::SetText(text);
  if (CEditWnd* editor = EditWindow()) editor->SetText(text_);
}

void CEditUI::SetStatusImages(const SkinStatusImageMap& images) {
  images_.Take(images, kEditStates);
  Invalidate();
}

void CEditUI::SetEnabled(bool enabled) {
  CLabelUI::SetEnabled(enabled);
  if (!IsEnabled()) {
    state_ = 0;
    CloseEditor();
  }
}

void CEditUI::SetVisible(bool visible) {
  CLabelUI::SetVisible(visible);
  if (!IsVisible()) CloseEditor();
}

void CEditUI::SetReadOnly(bool on) {
  readOnly_ = on;
  Invalidate();
}

void CEditUI::SetPassword(bool on) {
  password_ = on;
  Invalidate();
}

void CEditUI::SetMaxChar(int limit) {
  maxChar_ = limit;
  // A text set before the limit keeps to it.
  if (maxChar_ > 0 && static_cast<int>(text_.size()) > maxChar_) SetText(text_.substr(0, maxChar_));
}

void CEditUI::OpenEditor(SkinPoint click) {
  if (EditWindow() != nullptr || !IsEnabled() || !IsVisible() || host_ == nullptr) return;
  editor_ = std::make_unique<CEditWnd>(this);
  if (!editor_->Open(click)) editor_.reset();
}

void CEditUI::CloseEditor() {
  if (editor_ != nullptr) editor_->Dismiss();
}

void CEditUI::OnEditorText(const std::wstring& text) {
  if (text == text_) return;
  CLabelUI::SetText(text);
  if (host_ != nullptr) host_->SendNotify(this, L"textchanged");
}

void CEditUI::OnEditorReturn() {
  if (host_ != nullptr) host_->SendNotify(this, L"return");
}

bool CEditUI::FilterChar(char32_t ch) {
  if (ch < 0x20) return true;  // editing keys, not characters
  return !charFilter_ || charFilter_(*this, ch);
}

void CEditUI::HandleEvent(SkinEvent& event) {
  switch (event.type) {
    case kEventSetFocus:
      CLabelUI::HandleEvent(event);
      OpenEditor({-1, -1});
      return;
    case kEventKillFocus:
      CLabelUI::HandleEvent(event);
      CloseEditor();
      return;
    case kEventButtonDown:
    case kEventDblClick:
      if (!IsEnabled()) return;
      // The focus came first and opened the editor: the caret goes where the field was pressed.
      if (CEditWnd* editor = EditWindow(); editor != nullptr && editor->Editor() != nullptr) {
        const SkinRect rc = EditorRect();
        if (rc.Contains(event.ptMouse)) {
          const int at = editor->Editor()->PositionAt({event.ptMouse.x - rc.left, event.ptMouse.y - rc.top});
          editor->Editor()->SetSelection(at, at);
        }
      } else {
        OpenEditor(event.ptMouse);
      }
      return;
    case kEventMouseEnter:
    case kEventMouseLeave:
      FollowHover(event.type, IsEnabled(), state_);
      Invalidate();
      return;
    case kEventButtonUp:
    case kEventMouseMove:
      return;
    default:
      break;
  }
  CLabelUI::HandleEvent(event);
}

void CEditUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const wchar_t* v = value.c_str();
  if (images_.SetAttribute(name, value, kEditStates)) {
    Invalidate();
    return;
  }
  if (name == L"readonly") SetReadOnly(ParseSkinBool(v));
  else if (name == L"numberonly") SetNumberOnly(ParseSkinBool(v));
  else if (name == L"password") SetPassword(ParseSkinBool(v));
  else if (name == L"searchedit") searchEdit_ = ParseSkinBool(v);
  else if (name == L"maxchar") SetMaxChar(ParseSkinInt(v));
  else if (name == L"nativebkcolor") nativeBkColor_ = ParseSkinColor(v);
  else {
    CLabelUI::SetAttribute(name, value);
    return;
  }
  Invalidate();
}

void CEditUI::PaintStatusImage(IRenderCanvas& canvas) {
  CStateImagesUI::State state = CStateImagesUI::kNormal;
  if (!IsEnabled())
    state = CStateImagesUI::kDisabled;
  else if (IsFocused())
    state = CStateImagesUI::kFocused;
  else if ((state_ & kStateHot) != 0)
    state = CStateImagesUI::kHot;
  images_.Paint(state, [&](SkinImageSpec& spec) { return DrawImage(canvas, spec); });
}

void CEditUI::PaintText(IRenderCanvas& canvas) {
  if (text_.empty() || host_ == nullptr) return;
  const std::wstring shown = password_ ? std::wstring(text_.size(), L'*') : text_;
  SkinRect rc = itemRect_.Deflated(textPadding_);
  CSkinRender::RenderPlainText(&canvas, host_, rc, shown, StateTextColor(), font_, textStyle_ | DT_SINGLELINE);
}

}  // namespace SkinUI
