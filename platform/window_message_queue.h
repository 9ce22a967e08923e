#pragma once
// The queue a window system's loop reads: posted messages and messages made from input, in the
// order they arrived, plus the quit request. Posting is thread-safe; reading is the UI thread's.
#include <bitset>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "platform/window_system.h"

namespace platform {

// Keys and buttons that are down (indexed by virtual key) and the pointer's screen position.
struct InputSnapshot {
  std::bitset<256> keys;
  WinPoint cursor;
};

struct QueuedMessage {
  Message msg;
  bool fromInput = false;  // made from input: `input` is the state the message saw
  bool pointer = false;    // a mouse message not under capture: hit-tested when read
  InputSnapshot input;
};

class WindowMessageQueue {
 public:
  void Push(QueuedMessage entry);
  // Pointer moves replace a move of the same window still waiting at the end of the queue, so a
  // busy loop reads where the pointer is, not every place it has been.
  void PushMove(QueuedMessage entry);
  bool Pop(QueuedMessage& entry);
  bool Empty() const;
  // Takes every message of `window` out of the queue (its window is being destroyed).
  std::vector<QueuedMessage> RemoveFor(WindowHandle window);
  std::vector<QueuedMessage> TakeAll();

  void PostQuit(int exitCode);
  // True once per PostQuit, with its code.
  bool TakeQuit(int& exitCode);
  bool QuitPending() const;

 private:
  mutable std::mutex mutex_;
  std::deque<QueuedMessage> entries_;
  bool quit_ = false;
  int quitCode_ = 0;
};

}  // namespace platform
