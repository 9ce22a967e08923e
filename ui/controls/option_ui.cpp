#include "ui/controls/option_ui.h"

#include <vector>

#include "ui/core/skin_host.h"
#include "ui/core/skin_value.h"
#include "ui/core/tab_layout_ui.h"

namespace SkinUI {
namespace {

struct StateName {
  const wchar_t* name;  // as attribute infix and status-image suffix
  COptionUI::SelectedState state;
};
constexpr StateName kStateNames[] = {
    {L"", COptionUI::kSelectedPlain},
    {L"hot", COptionUI::kSelectedHot},
    {L"focused", COptionUI::kSelectedFocused},
    {L"pushed", COptionUI::kSelectedPushed},
    {L"disabled", COptionUI::kSelectedDisabled},
};

COptionUI* AsOption(CControlUI* c) { return c != nullptr ? static_cast<COptionUI*>(c->AsInterface(L"Option")) : nullptr; }

}  // namespace

COptionUI::~COptionUI() {
  if (host_ != nullptr && !group_.empty()) host_->RemoveOptionGroup(group_, this);
}

const wchar_t* COptionUI::ClassName() const { return L"OptionUI"; }

void* COptionUI::AsInterface(const std::wstring& name) {
  if (name == L"Option") return static_cast<COptionUI*>(this);
  return CButtonUI::AsInterface(name);
}

bool COptionUI::CanActivate() {
  if (!CControlUI::CanActivate()) return false;
  Select(group_.empty() ? !selected_ : true, true);
  return CButtonUI::CanActivate();
}

void COptionUI::SetHost(CSkinHost* host, CControlUI* parent, bool initialise, ISkinBuilderCallback* callback) {
  // The builder binds a control to its host only while it applies the attributes; the option
  // counts as attached once it is bound for good.
  attached_ = host != nullptr && initialise;
  CButtonUI::SetHost(host, parent, initialise, callback);
  if (attached_ && !group_.empty()) host->AddOptionGroup(group_, this);
}

void COptionUI::SetGroup(const std::wstring& group) {
  if (group == group_) return;
  if (IsAttached() && !group_.empty()) host_->RemoveOptionGroup(group_, this);
  group_ = group;
  if (IsAttached() && !group_.empty()) {
    host_->AddOptionGroup(group_, this);
    Select(selected_, true);
  }
}

void COptionUI::Select(bool selected, bool notify) {
  if (selected_ == selected) return;
  selected_ = selected;
  state_ = selected ? state_ | kStateSelected : state_ & ~kStateSelected;
  if (IsAttached()) {
    if (!group_.empty() && selected_) {
      if (const std::vector<CControlUI*>* members = host_->OptionGroup(group_)) {
        const std::vector<CControlUI*> copy = *members;  // deselecting may notify listeners
        for (CControlUI* member : copy) {
          COptionUI* option = AsOption(member);
          if (option != nullptr && option != this) option->Select(false, notify);
        }
      }
    }
    // A page is shown by the option that becomes selected, not by one that is deselected.
    if (selected_) ShowBoundPage();
    if (notify) host_->SendNotify(this, L"selectchanged");
  }
  Invalidate();
}

void COptionUI::ShowBoundPage() {
  if (bindTab_.empty() || host_ == nullptr || host_->Root() == nullptr) return;
  CControlUI* bound = host_->FindControlByName(bindTab_);
  void* tab = bound != nullptr ? bound->AsInterface(L"TabLayout") : nullptr;
  if (tab == nullptr) return;
  auto* layout = static_cast<CTabLayoutUI*>(static_cast<CControlUI*>(tab));
  if (layout->CurrentSel() != bindTabIndex_) layout->SelectItem(bindTabIndex_);
}

void COptionUI::SetStatusImages(const SkinStatusImageMap& images) {
  CButtonUI::SetStatusImages(images);
  for (const StateName& s : kStateNames) TakeStatusImage(images, std::wstring(L"selected") + s.name, looks_[s.state].image);
}

void COptionUI::SetStatusForeImages(const SkinStatusImageMap& images) {
  CButtonUI::SetStatusForeImages(images);
  for (const StateName& s : kStateNames)
    TakeStatusImage(images, std::wstring(L"selected") + s.name, looks_[s.state].foreImage);
}

void COptionUI::SetEnabled(bool enabled) {
  CControlUI::SetEnabled(enabled);
  if (!IsEnabled()) state_ = kStateDisabled | (selected_ ? std::uint32_t{kStateSelected} : 0u);
}

void COptionUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const wchar_t* v = value.c_str();
  if (name == L"group") {
    SetGroup(value);
    return;
  }
  if (name == L"selected") {
    Select(ParseSkinBool(v), true);
    return;
  }
  if (name == L"bindtab") {
    SetBindTab(value);
    return;
  }
  if (name == L"bindtabindex") {
    SetBindTabIndex(ParseSkinInt(v));
    return;
  }
  // "selected" + state + kind: "selectedhotimage", "selectedbkcolor", "selectedpushedtextcolor"...
  if (name.rfind(L"selected", 0) == 0) {
    const std::wstring rest = name.substr(8);
    for (const StateName& s : kStateNames) {
      const std::wstring prefix = s.name;
      if (rest.rfind(prefix, 0) != 0) continue;
      const std::wstring kind = rest.substr(prefix.size());
      SelectedLook& look = looks_[s.state];
      if (kind == L"image") {
        SetImageSpec(look.image, value);
        return;
      }
      if (kind == L"bkcolor") {
        SetColor(look.bkColor, ParseSkinColor(v));
        return;
      }
      if (kind == L"textcolor") {
        SetColor(look.textColor, ParseSkinColor(v));
        return;
      }
      if (kind == L"bordercolor") {
        SetColor(look.borderColor, ParseSkinColor(v));
        return;
      }
    }
  }
  CButtonUI::SetAttribute(name, value);
}

void COptionUI::Paint(IRenderCanvas& canvas, const SkinRect& dirty) {
  // The bound page follows the selected option even when something else switched it.
  if (selected_) ShowBoundPage();
  CButtonUI::Paint(canvas, dirty);
}

SkinColor COptionUI::SelectedColor(SkinColor SelectedLook::*field) const {
  const std::pair<std::uint32_t, SelectedState> order[] = {
      {kStatePushed, kSelectedPushed},
      {kStateHot, kSelectedHot},
      {kStateDisabled, kSelectedDisabled},
      {kStateFocused, kSelectedFocused},
  };
  for (const auto& [bit, state] : order)
    if ((state_ & bit) != 0 && looks_[state].*field != 0) return looks_[state].*field;
  return looks_[kSelectedPlain].*field;
}

void COptionUI::PaintBackgroundColor(IRenderCanvas& canvas) {
  RefreshStateBits();
  const SkinColor color = selected_ ? SelectedColor(&SelectedLook::bkColor) : 0;
  if (color != 0)
    FillStateColor(canvas, color);
  else
    CButtonUI::PaintBackgroundColor(canvas);
}

void COptionUI::PaintStatusImage(IRenderCanvas& canvas) {
  RefreshStateBits();
  if (!selected_) {
    CButtonUI::PaintStatusImage(canvas);
    return;
  }
  SelectedLook* look = nullptr;
  if ((state_ & kStatePushed) != 0)
    look = &looks_[kSelectedPushed];
  else if ((state_ & kStateHot) != 0)
    look = &looks_[kSelectedHot];
  else if ((state_ & kStateDisabled) != 0)
    look = &looks_[kSelectedDisabled];
  else if ((state_ & kStateFocused) != 0)
    look = &looks_[kSelectedFocused];
  SelectedLook& plain = looks_[kSelectedPlain];
  if (look == nullptr || !DrawImage(canvas, look->image)) DrawImage(canvas, plain.image);
  if (look == nullptr || !DrawImage(canvas, look->foreImage)) DrawImage(canvas, plain.foreImage);
}

void COptionUI::PaintText(IRenderCanvas& canvas) {
  RefreshStateBits();
  const SkinColor color = selected_ ? SelectedColor(&SelectedLook::textColor) : 0;
  if (color != 0)
    DrawLabelText(canvas, color);
  else
    CButtonUI::PaintText(canvas);
}

void COptionUI::PaintBorder(IRenderCanvas& canvas) {
  RefreshStateBits();
  const SkinColor color = selected_ ? SelectedColor(&SelectedLook::borderColor) : 0;
  if (color != 0)
    StrokeBorder(canvas, color);
  else
    CButtonUI::PaintBorder(canvas);
}

}  // namespace SkinUI
