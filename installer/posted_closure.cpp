#include "installer/posted_closure.h"

#include <memory>
#include <utility>

#include "common/base/log.h"

namespace {

struct PostedClosure {
  std::function<void()> run;
};

std::unique_ptr<PostedClosure> TakeClosure(std::uintptr_t wParam) {
  return std::unique_ptr<PostedClosure>(reinterpret_cast<PostedClosure*>(wParam));
}

}  // namespace

bool PostClosure(platform::WindowHandle window, std::function<void()> closure) {
  if (!closure) {
    LOG_ERROR << "an empty closure was posted to the UI thread";
    return false;
  }
  platform::IWindowSystem* ws = platform::WindowSystem();
  if (ws == nullptr || window == nullptr) return false;
  auto holder = std::make_unique<PostedClosure>(PostedClosure{std::move(closure)});
  if (!ws->PostMessage(window, kMsgRunClosure, reinterpret_cast<std::uintptr_t>(holder.get()), kClosureOwned))
    return false;  // not queued: still ours to destroy
  holder.release();  // the receiver (or the discard hook) owns it now
  return true;
}

void RunPostedClosure(std::uintptr_t wParam, std::intptr_t lParam) {
  auto* holder = reinterpret_cast<PostedClosure*>(wParam);
  if (holder == nullptr) return;
  if (lParam != kClosureOwned) {
    holder->run();
    return;
  }
  std::unique_ptr<PostedClosure> owned = TakeClosure(wParam);
  owned->run();
}

void InstallPostedClosureDiscardHook(platform::IWindowSystem& ws) {
  ws.SetDiscardedMessageHook([](const platform::Message& msg) {
    if (msg.message == kMsgRunClosure && msg.lParam == kClosureOwned) TakeClosure(msg.wParam);
  });
}
