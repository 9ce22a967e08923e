#pragma once
// The program's process-wide objects (the launch context, say): one instance of T, made on first
// use (thread-safe) and destroyed at process exit.
//
//   LaunchContext& ctx = KwrBase::Singleton<LaunchContext>::Instance();
namespace KwrBase {

template <class T>
class Singleton {
 public:
  Singleton() = delete;

  static T& Instance() {
    static T instance;
    return instance;
  }
};

}  // namespace KwrBase
