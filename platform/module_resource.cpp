#include "platform/module_resource.h"

namespace platform {

namespace {
// Constant-initialised, so tables registered during static initialisation always find it ready.
constinit ModuleResourceTable* g_tables = nullptr;
}  // namespace

ModuleResourceTable::ModuleResourceTable(std::span<const ModuleResource> entries)
    : entries_(entries), next_(g_tables) {
  g_tables = this;
}

ModuleResourceTable::~ModuleResourceTable() {
  for (ModuleResourceTable** link = &g_tables; *link != nullptr; link = &(*link)->next_) {
    if (*link == this) {
      *link = next_;
      break;
    }
  }
}

std::span<const uint8_t> FindModuleResource(std::string_view type, int id) {
  for (const ModuleResourceTable* t = g_tables; t != nullptr; t = t->next_) {
    for (const ModuleResource& r : t->entries_) {
      if (r.id == id && r.type != nullptr && type == r.type) return {r.data, r.size};
    }
  }
  return {};
}

}  // namespace platform
