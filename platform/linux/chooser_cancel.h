#pragma once
// How FolderDialog::Dismiss reaches a chooser that runs on the dialog's own thread (internal to
// the Linux platform layer).
#include <functional>
#include <mutex>

namespace platform::linux_impl {

class ChooserCancel {
 public:
  // `closer` ends the running chooser when Cancel() comes; it runs on the cancelling thread.
  // Cancelled already: the closer is not kept and false comes back.
  bool SetCloser(std::function<void()> closer) {
    std::lock_guard lock(mutex_);
    if (cancelled_) return false;
    closer_ = std::move(closer);
    return true;
  }
  // After this no closer runs any more, so what it referred to may go.
  void ClearCloser() {
    std::lock_guard lock(mutex_);
    closer_ = nullptr;
  }
  void Cancel() {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    if (closer_) closer_();
  }
  bool cancelled() const {
    std::lock_guard lock(mutex_);
    return cancelled_;
  }

 private:
  mutable std::mutex mutex_;
  std::function<void()> closer_;
  bool cancelled_ = false;
};

}  // namespace platform::linux_impl
