#pragma once
// Installs a process-wide hook (the scroll-bar factory, the skin-file reader, the image loader,
// ...) for one scope and puts the one given as previous (by default none) back however the scope
// ends, a failed assertion included, so no later test runs with it.
//
//   testsupport::ScopedHook reader(&SkinUI::SetSkinFileReader, &ReadFromMap);
#include <type_traits>

namespace testsupport {

template <class Hook>
class ScopedHook {
 public:
  ScopedHook(void (*set)(Hook), std::type_identity_t<Hook> hook, std::type_identity_t<Hook> previous = nullptr)
      : set_(set), previous_(previous) {
    set_(hook);
  }
  ~ScopedHook() { set_(previous_); }
  ScopedHook(const ScopedHook&) = delete;
  ScopedHook& operator=(const ScopedHook&) = delete;

 private:
  void (*set_)(Hook);
  Hook previous_;
};

}  // namespace testsupport
