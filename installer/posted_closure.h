#pragma once
// Closures handed from worker threads to the UI thread through the window's message queue: one
// message per closure, so they run in posting order, one at a time, on the thread that runs the
// window's loop. A closure whose window is gone (before or after it was queued) is destroyed
// without running.
//
//   PostClosure(window, [this] { ... });                 // any thread
//   [window procedure] case kMsgRunClosure: RunPostedClosure(wParam, lParam);
//   [UI thread, once the window system exists] InstallPostedClosureDiscardHook(*ws);
#include <cstdint>
#include <functional>

#include "platform/window_system.h"

// The message that carries a closure: wParam = the holder, lParam = kClosureOwned.
inline constexpr std::uint32_t kMsgRunClosure = 0x8400;
// lParam of kMsgRunClosure: the receiver destroys the closure after running it.
inline constexpr std::intptr_t kClosureOwned = 1;

// Queues `closure` for `window`. False when it could not be queued (no window system, the window
// is gone, or the closure is empty); the closure is then destroyed here without running.
bool PostClosure(platform::WindowHandle window, std::function<void()> closure);

// Runs the closure of a kMsgRunClosure message on the UI thread and, when lParam is
// kClosureOwned, destroys it.
void RunPostedClosure(std::uintptr_t wParam, std::intptr_t lParam);

// Makes the window system destroy the closures of messages that never reach their window (it was
// destroyed while they waited, or the window system went away first).
void InstallPostedClosureDiscardHook(platform::IWindowSystem& ws);
