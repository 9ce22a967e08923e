#include "platform/window_system.h"

#include <atomic>

namespace platform {
namespace {
std::atomic<IWindowSystem*> g_windowSystem{nullptr};
}  // namespace

IWindowSystem* WindowSystem() { return g_windowSystem.load(std::memory_order_acquire); }
void SetWindowSystem(IWindowSystem* system) { g_windowSystem.store(system, std::memory_order_release); }

}  // namespace platform
