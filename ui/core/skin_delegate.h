#pragma once
// Subscriber lists of controls (initialised, destroyed, resized, event, notified). A delegate is
// an object and one of its member functions (or a free function); the same pair is never added
// twice, so subscribing in a constructor and again later is harmless.
#include <algorithm>
#include <vector>

namespace SkinUI {

template <class Arg>
class CDelegateUI {
 public:
  using Thunk = bool (*)(void* object, void* fn, Arg& arg);

  // A member function `bool T::M(Arg&)` of `object`.
  template <class T, bool (T::*M)(Arg&)>
  static CDelegateUI Member(T* object) {
    return CDelegateUI(object, nullptr, [](void* o, void*, Arg& a) { return (static_cast<T*>(o)->*M)(a); });
  }
  // A free function.
  static CDelegateUI Function(bool (*fn)(Arg&)) {
    return CDelegateUI(nullptr, reinterpret_cast<void*>(fn),
                       [](void*, void* f, Arg& a) { return reinterpret_cast<bool (*)(Arg&)>(f)(a); });
  }

  bool operator()(Arg& arg) const { return thunk_(object_, fn_, arg); }
  bool operator==(const CDelegateUI& o) const { return object_ == o.object_ && fn_ == o.fn_ && thunk_ == o.thunk_; }
  const void* Object() const { return object_; }

 private:
  CDelegateUI(void* o, void* f, Thunk t) : object_(o), fn_(f), thunk_(t) {}
  void* object_;
  void* fn_;
  Thunk thunk_;
};

template <class Arg>
class CEventSourceUI {
 public:
  void Add(const CDelegateUI<Arg>& d) {
    if (std::find(list_.begin(), list_.end(), d) == list_.end()) list_.push_back(d);
  }
  void Remove(const CDelegateUI<Arg>& d) { list_.erase(std::remove(list_.begin(), list_.end(), d), list_.end()); }
  bool IsEmpty() const { return list_.empty(); }
  void Clear() { list_.clear(); }
  // Calls the delegates in order; the first that returns false stops the rest and makes the
  // result false. A copy is walked so that a delegate may unsubscribe itself.
  bool Raise(Arg& arg) const {
    const std::vector<CDelegateUI<Arg>> copy = list_;
    for (const auto& d : copy)
      if (!d(arg)) return false;
    return true;
  }

 private:
  std::vector<CDelegateUI<Arg>> list_;
};

}  // namespace SkinUI
