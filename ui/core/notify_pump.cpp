#include "ui/core/notify_pump.h"

#include <algorithm>
#include <cwctype>

#include "ui/core/control_ui.h"

namespace SkinUI {
namespace {
bool EqualsIgnoringCase(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           return std::towlower(static_cast<wint_t>(x)) == std::towlower(static_cast<wint_t>(y));
         });
}
}  // namespace

const NotifyMapEntry* NotifyMap::Find(const std::wstring& type, const std::wstring& sender) const {
  const NotifyMapEntry* fallback = nullptr;
  for (const NotifyMapEntry& e : entries_) {
    if (e.type != type) continue;
    if (e.control.empty())
      fallback = &e;
    else if (e.control == sender)
      return &e;
  }
  return fallback;
}

const NotifyMap* CNotifyPump::GetNotifyMap() const {
  static const NotifyMap empty;
  return &empty;
}

bool CNotifyPump::AddVirtualWnd(const std::wstring& name, CNotifyPump* pump) {
  if (pump == nullptr || VirtualWnd(name) != nullptr) return false;
  virtualWnds_.emplace_back(name, pump);
  return true;
}

bool CNotifyPump::RemoveVirtualWnd(const std::wstring& name) {
  auto it = std::find_if(virtualWnds_.begin(), virtualWnds_.end(), [&](const auto& v) { return v.first == name; });
  if (it == virtualWnds_.end()) return false;
  virtualWnds_.erase(it);
  return true;
}

CNotifyPump* CNotifyPump::VirtualWnd(const std::wstring& name) const {
  for (const auto& [n, pump] : virtualWnds_)
    if (n == name) return pump;
  return nullptr;
}

bool CNotifyPump::NotifyPump(SkinNotify& msg) {
  if (!msg.virtualWnd.empty()) {
    const auto wnds = virtualWnds_;  // a handler may add or remove virtual windows
    for (const auto& [name, pump] : wnds)
      if (EqualsIgnoringCase(name, msg.virtualWnd) && pump->LoopDispatch(msg)) return true;
  }
  return LoopDispatch(msg);
}

bool CNotifyPump::LoopDispatch(SkinNotify& msg) {
  const std::wstring sender = msg.sender != nullptr ? msg.sender->GetName() : std::wstring();
  for (const NotifyMap* table = GetNotifyMap(); table != nullptr; table = table->Base()) {
    if (const NotifyMapEntry* e = table->Find(msg.type, sender)) {
      e->handler(*this, msg);
      return true;
    }
  }
  return false;
}

}  // namespace SkinUI
