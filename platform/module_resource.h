#pragma once
// Data linked into the executable and found by resource type and id, as the skin archive
// ("ZIPRES" 131). The build generates a table for the executable (tools/module_resources.cmake);
// a test program may declare a table of its own the same way.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace platform {

struct ModuleResource {
  const char* type;
  int id;
  const uint8_t* data;
  size_t size;
};

// Makes the resources of `entries` findable for as long as the object lives. Meant for objects
// at namespace scope (registered before main runs); the entries must outlive the object.
class ModuleResourceTable {
 public:
  explicit ModuleResourceTable(std::span<const ModuleResource> entries);
  ~ModuleResourceTable();
  ModuleResourceTable(const ModuleResourceTable&) = delete;
  ModuleResourceTable& operator=(const ModuleResourceTable&) = delete;

 private:
  friend std::span<const uint8_t> FindModuleResource(std::string_view type, int id);
  std::span<const ModuleResource> entries_;
  ModuleResourceTable* next_ = nullptr;
};

// The bytes of the resource of that type (compared exactly) and id; empty when there is none.
std::span<const uint8_t> FindModuleResource(std::string_view type, int id);

}  // namespace platform
