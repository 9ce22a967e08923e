#include "platform/window_message_queue.h"

#include <algorithm>

namespace platform {

void WindowMessageQueue::Push(QueuedMessage entry) {
  std::lock_guard lock(mutex_);
  entries_.push_back(std::move(entry));
}

void WindowMessageQueue::PushMove(QueuedMessage entry) {
  std::lock_guard lock(mutex_);
  if (!entries_.empty() && entries_.back().msg.message == entry.msg.message &&
      entries_.back().msg.window == entry.msg.window) {
    entries_.back() = std::move(entry);
    return;
  }
  entries_.push_back(std::move(entry));
}

bool WindowMessageQueue::Pop(QueuedMessage& entry) {
  std::lock_guard lock(mutex_);
  if (entries_.empty()) return false;
  entry = std::move(entries_.front());
  entries_.pop_front();
  return true;
}

bool WindowMessageQueue::Empty() const {
  std::lock_guard lock(mutex_);
  return entries_.empty();
}

std::vector<QueuedMessage> WindowMessageQueue::RemoveFor(WindowHandle window) {
  std::lock_guard lock(mutex_);
  std::vector<QueuedMessage> removed;
  auto keep = std::stable_partition(entries_.begin(), entries_.end(),
                                    [&](const QueuedMessage& e) { return e.msg.window != window; });
  std::move(keep, entries_.end(), std::back_inserter(removed));
  entries_.erase(keep, entries_.end());
  return removed;
}

std::vector<QueuedMessage> WindowMessageQueue::TakeAll() {
  std::lock_guard lock(mutex_);
  std::vector<QueuedMessage> all(std::make_move_iterator(entries_.begin()), std::make_move_iterator(entries_.end()));
  entries_.clear();
  return all;
}

void WindowMessageQueue::PostQuit(int exitCode) {
  std::lock_guard lock(mutex_);
  quit_ = true;
  quitCode_ = exitCode;
}

bool WindowMessageQueue::TakeQuit(int& exitCode) {
  std::lock_guard lock(mutex_);
  if (!quit_) return false;
  quit_ = false;
  exitCode = quitCode_;
  return true;
}

bool WindowMessageQueue::QuitPending() const {
  std::lock_guard lock(mutex_);
  return quit_;
}

}  // namespace platform
