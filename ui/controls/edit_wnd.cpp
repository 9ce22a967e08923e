#include "ui/controls/edit_wnd.h"

#include "platform/window_messages.h"
#include "ui/controls/edit_ui.h"
#include "ui/controls/rich_edit_ui.h"

namespace SkinUI {

CEditWnd::CEditWnd(CEditUI* edit) : CPopupWnd(edit), edit_(edit) {}

CEditWnd::~CEditWnd() { DismissNow(); }

const wchar_t* CEditWnd::WindowClassName() const { return L"EditWnd"; }

bool CEditWnd::Open(SkinPoint click) {
  auto made = std::make_unique<CRichEditUI>();
  CRichEditUI* re = made.get();
  re->SetAttribute(L"multiline", L"false");
  re->SetAttribute(L"autohscroll", L"true");
  re->SetWantTab(false);
  re->SetWantReturn(false);
  re->SetWantCtrlReturn(false);
  re->SetAttribute(L"rich", L"false");
  if (edit_->IsReadOnly()) re->SetReadOnly(true);
  if (edit_->IsPassword()) re->SetPassword(true);
  re->SetNumberOnly(edit_->IsNumberOnly());
  re->SetMaxChar(edit_->MaxChar());
  re->SetFont(edit_->Font());
  CSkinHost* ownerHost = edit_->Host();
  SkinColor color = edit_->TextColor();
  if (color == 0 && ownerHost != nullptr) color = ownerHost->DefaultTextColor();
  re->SetTextColor(color);
  re->SetBkColor(edit_->NativeBkColor());
  re->SetText(edit_->GetText());

  platform::IWindowSystem* ws = platform::WindowSystem();
  if (ws == nullptr || ownerHost == nullptr || ownerHost->Window() == nullptr) return false;
  const SkinRect rc = edit_->EditorRect();
  const platform::WinPoint origin = ws->ClientToScreen(ownerHost->Window(), {rc.left, rc.top});
  std::unique_ptr<CControlUI> root = std::move(made);
  if (!CPopupWnd::Open(root, {origin.x, origin.y, origin.x + rc.Width(), origin.y + rc.Height()})) return false;
  richEdit_ = re;
  host_.SetFocus(re);
  // Laid out now, so that the caret can go where the field was clicked.
  host_.LayoutIfNeeded({0, 0, rc.Width(), rc.Height()});
  const int end = static_cast<int>(re->GetText().size());
  const int at = rc.Contains(click) ? re->PositionAt({click.x - rc.left, click.y - rc.top}) : end;
  re->SetSelection(at, at);
  return true;
}

void CEditWnd::SetText(const std::wstring& text) {
  if (richEdit_ == nullptr || richEdit_->GetText() == text) return;
  settingText_ = true;
  richEdit_->SetText(text);
  settingText_ = false;
}

void CEditWnd::Notify(SkinNotify& msg) {
  if (richEdit_ == nullptr || msg.sender != richEdit_) return;
  if (msg.type == L"textchanged" && !settingText_)
    edit_->OnEditorText(richEdit_->GetText());
  else if (msg.type == L"return")
    edit_->OnEditorReturn();
}

bool CEditWnd::OnOwnerKey(const platform::Message& msg) {
  if (richEdit_ == nullptr) return false;
  std::intptr_t result = 0;
  switch (msg.message) {
    case platform::kWmKeyDown:
      switch (msg.wParam) {
        case platform::kVkTab:
          return false;  // the window moves the focus, which closes the editor
        case platform::kVkUp:
        case platform::kVkDown:
          if (CSkinHost* host = edit_->Host())
            host->SendNotify(edit_, msg.wParam == platform::kVkUp ? L"vk_up" : L"vk_down");
          return true;
        case platform::kVkEscape:
          // The field keeps the key from the window (which would close); a search field clears.
          if (edit_->IsSearchEdit()) edit_->SetText(L"");
          return true;
        default:
          break;
      }
      host_.MessageHandler(msg.message, msg.wParam, msg.lParam, result);
      return true;
    case platform::kWmChar:
      if (edit_->FilterChar(static_cast<char32_t>(msg.wParam))) host_.MessageHandler(msg.message, msg.wParam, msg.lParam, result);
      return true;
    case platform::kWmKeyUp:
      host_.MessageHandler(msg.message, msg.wParam, msg.lParam, result);
      return true;
    default:
      return false;
  }
}

void CEditWnd::OnDismissed() { richEdit_ = nullptr; }

}  // namespace SkinUI
