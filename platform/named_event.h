#pragma once
// A machine-wide name that one process at a time may hold (the single-instance guard). The name
// is released when the holder closes it or exits, however it exits.
#include <string>

namespace platform {

class NamedEvent {
 public:
  enum class Result { kCreated, kAlreadyExists, kFailed };

  NamedEvent() = default;
  ~NamedEvent() { Close(); }
  NamedEvent(const NamedEvent&) = delete;
  NamedEvent& operator=(const NamedEvent&) = delete;

  // Tries to take the name. kAlreadyExists: another process holds it. kFailed: the system
  // refused for another reason (error() tells which).
  Result Create(const std::string& name);
  bool IsOpen() const { return fd_ >= 0; }
  int error() const { return error_; }
  void Close();

 private:
  int fd_ = -1;
  int error_ = 0;
};

}  // namespace platform
