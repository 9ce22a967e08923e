#include "ui/core/skin_archive_registrar.h"

#include <atomic>

namespace SkinUI {
namespace {
std::atomic<const SkinArchiveRegistrar*> g_registrar{nullptr};
}  // namespace

void SetSkinArchiveRegistrar(const SkinArchiveRegistrar* registrar) { g_registrar.store(registrar); }
const SkinArchiveRegistrar* GetSkinArchiveRegistrar() { return g_registrar.load(); }

}  // namespace SkinUI
