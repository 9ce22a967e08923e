#include "ui/controls/combo_wnd.h"

#include <algorithm>

#include "platform/window_messages.h"
#include "ui/controls/combo_ui.h"
#include "ui/core/vertical_layout_ui.h"

namespace SkinUI {
namespace {

constexpr int kDefaultItemHeight = 22;

}  // namespace

CComboWnd::CComboWnd(CComboUI* combo) : CPopupWnd(combo), combo_(combo) {}

CComboWnd::~CComboWnd() {
  // Here, while OnDismissed is still this class's.
  DismissNow();
}

const wchar_t* CComboWnd::WindowClassName() const { return L"ComboWnd"; }

bool CComboWnd::Open() {
  auto made = std::make_unique<CVerticalLayoutUI>();
  CVerticalLayoutUI* layout = made.get();
  layout_ = layout;
  // The items belong to the combo: the drop-down only shows them.
  layout->SetAutoDestroy(false);
  layout->SetBkColor(0xFFFFFFFF);
  layout->SetBorderColor(0xFF8C8C8C);
  layout->SetBorderSize(1);
  layout->SetInset({1, 1, 1, 1});
  layout->EnableScrollBar(true, false);
  if (!combo_->DropBoxAttributes().empty()) layout->ApplyAttributes(combo_->DropBoxAttributes());

  const platform::WinRect anchor = OwnerScreenRect();
  const SkinSize box = combo_->DropBoxSize();
  const int width = box.cx > 0 ? box.cx : anchor.Width();
  const SkinRect inset = layout->Inset();
  long long needed = inset.top + inset.bottom;
  for (int i = 0; i < combo_->Count(); ++i) {
    CControlUI* item = combo_->ItemAt(i);
    layout->Add(item);
    item->SetInternalVisible(true);
    if (!item->IsVisible()) continue;
    const int h = item->MeasureSize({width, 9999}).cy;
    needed += (h > 0 ? h : kDefaultItemHeight) + item->Padding().top + item->Padding().bottom;
  }
  const int height = static_cast<int>(std::min<long long>(needed, box.cy > 0 ? box.cy : needed));

  platform::IWindowSystem* ws = platform::WindowSystem();
  const platform::WinRect work = ws != nullptr && combo_->Host() != nullptr ? ws->WorkArea(combo_->Host()->Window())
                                                                           : platform::WinRect{};
  const platform::WinRect where = Place(anchor, {width, height}, combo_->DropBoxOffset(), work);
  std::unique_ptr<CControlUI> root = std::move(made);
  if (CPopupWnd::Open(root, where)) {
    // The skin's scroll bar look, now that the host can find it; the drop-down's own attributes
    // still have the last word.
    CScrollBarBaseUI* bar = layout_->VerticalScrollBar();
    if (bar != nullptr) {
      if (const std::wstring* defaults = host_.FindClassDefaults(L"VScrollBar")) bar->ApplyAttributes(*defaults);
      if (!combo_->DropBoxAttributes().empty()) layout_->ApplyAttributes(combo_->DropBoxAttributes());
    }
    return true;
  }
  OnDismissed();  // the items go back before the layout goes
  return false;
}

void CComboWnd::EnsureVisible(int index) {
  if (layout_ == nullptr || !IsOpen()) return;
  CControlUI* item = layout_->ItemAt(index);
  CScrollBarBaseUI* bar = layout_->VerticalScrollBar();
  if (item == nullptr || bar == nullptr || !bar->IsVisible()) return;
  const SkinRect area = layout_->Position().Deflated(layout_->Inset());
  const SkinRect& rc = item->Position();
  int dy = 0;
  if (rc.bottom > area.bottom) dy = rc.bottom - area.bottom;
  if (rc.top - dy < area.top) dy = rc.top - area.top;
  if (dy != 0) layout_->SetScrollPos({0, layout_->ScrollPos().cy + dy});
}

void CComboWnd::Notify(SkinNotify& msg) {
  if (msg.type == L"windowinit") {
    EnsureVisible(combo_->CurSel());
  } else if (msg.type == L"itemclick") {
    Dismiss();
  }
}

bool CComboWnd::OnOwnerKey(const platform::Message& msg) {
  if (msg.message == platform::kWmChar) return true;  // a drop-down takes no typing
  if (msg.message != platform::kWmKeyDown) return false;
  switch (msg.wParam) {
    case platform::kVkEscape:
    case platform::kVkReturn:
    case platform::kVkF4:
      Dismiss();
      return true;
    case platform::kVkUp:
    case platform::kVkDown:
    case platform::kVkHome:
    case platform::kVkEnd:
    case platform::kVkPrior:
    case platform::kVkNext: {
      SkinEvent key;
      key.type = kEventKeyDown;
      key.sender = combo_;
      key.chKey = static_cast<std::uint16_t>(msg.wParam);
      combo_->DoEvent(key);
      return true;
    }
    default:
      return false;
  }
}

void CComboWnd::OnDismissed() {
  if (layout_ != nullptr) layout_->RemoveAll();
  layout_ = nullptr;
  combo_->OnDropClosed();
}

}  // namespace SkinUI
