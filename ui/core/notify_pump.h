#pragma once
// Routing of notifications by tables: a window (or a part of one, a "virtual window") declares
// which handler gets which notification type from which control, and inherits the tables of its
// base classes. A window class declares its map like this:
//
//   class CMyWnd : public WindowImplBaseNew, public CNotifyPump {
//    public:
//     void Notify(SkinNotify& msg) override { NotifyPump(msg); }
//    protected:
//     const NotifyMap* GetNotifyMap() const override {
//       static const NotifyMap map = NotifyMap::Of<CMyWnd>(CNotifyPump::GetNotifyMap(), {
//           {L"click", L"btn_close", &CMyWnd::OnClickClose},  // void OnClickClose(SkinNotify&)
//           {L"click", L"btn_min", &CMyWnd::OnClickMin},
//           {L"timer", L"", &CMyWnd::OnAnyTimer},  // empty name: any control; void (intptr_t, intptr_t)
//       });
//       return &map;
//     }
//   };
//
// A handler that takes the record is of kind 2, one that takes the two parameters of kind 1.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "ui/core/skin_event.h"

namespace SkinUI {

class CNotifyPump;

struct NotifyMapEntry {
  enum Kind { kParams = 1, kRecord = 2 };
  std::wstring type;     // notification type, compared exactly
  std::wstring control;  // sender name, compared exactly; empty: the table's fallback
  Kind kind = kRecord;
  std::function<void(CNotifyPump& pump, SkinNotify& msg)> handler;
};

// One table of a map chain: its entries and the table of the base class.
class NotifyMap {
 public:
  // An entry naming a member function of T (a class deriving from CNotifyPump).
  template <class T>
  struct Entry {
    Entry(std::wstring type, std::wstring control, void (T::*fn)(SkinNotify&))
        : entry{std::move(type), std::move(control), NotifyMapEntry::kRecord,
                [fn](CNotifyPump& p, SkinNotify& m) { (static_cast<T&>(p).*fn)(m); }} {}
    Entry(std::wstring type, std::wstring control, void (T::*fn)(std::intptr_t, std::intptr_t))
        : entry{std::move(type), std::move(control), NotifyMapEntry::kParams,
                [fn](CNotifyPump& p, SkinNotify& m) { (static_cast<T&>(p).*fn)(m.wParam, m.lParam); }} {}
    NotifyMapEntry entry;
  };

  template <class T>
  static NotifyMap Of(const NotifyMap* base, std::initializer_list<Entry<T>> entries) {
    NotifyMap map(base);
    for (const Entry<T>& e : entries) map.entries_.push_back(e.entry);
    return map;
  }

  explicit NotifyMap(const NotifyMap* base = nullptr) : base_(base) {}
  const NotifyMap* Base() const { return base_; }
  const std::vector<NotifyMapEntry>& Entries() const { return entries_; }
  // The entry of this table for (type, sender name): one naming the sender wins at once, else the
  // last entry of that type with an empty control name; none when the table has neither.
  const NotifyMapEntry* Find(const std::wstring& type, const std::wstring& sender) const;

 private:
  const NotifyMap* base_;
  std::vector<NotifyMapEntry> entries_;
};

class CNotifyPump {
 public:
  virtual ~CNotifyPump() = default;

  // A part of the window whose controls carry "virtualwnd" = name routes through `pump`. False
  // for none or a name already present.
  bool AddVirtualWnd(const std::wstring& name, CNotifyPump* pump);
  bool RemoveVirtualWnd(const std::wstring& name);
  CNotifyPump* VirtualWnd(const std::wstring& name) const;

  // Routes a notification: to the virtual windows of its virtual window name (compared ignoring
  // case) first, the first that handles it ends the routing; then through the own map chain,
  // table by table from the most derived. True when a handler ran.
  bool NotifyPump(SkinNotify& msg);

 protected:
  // The most derived class's table; the base's is empty.
  virtual const NotifyMap* GetNotifyMap() const;
  // The own map chain only.
  bool LoopDispatch(SkinNotify& msg);

 private:
  std::vector<std::pair<std::wstring, CNotifyPump*>> virtualWnds_;
};

}  // namespace SkinUI
