#include "app/single_instance.h"

#include <fmt/format.h>

#include <string>

#include "platform/top_level_window.h"

const char* const kInstalledAppWindowClass = "OrbiskMainWndCls";

namespace {
constexpr const char* kEventNamePattern = "Global\\{}";
constexpr const char* kEventKey = "{5DF6EEF4-E0BA-4A49-9DFF-090819B903D6}";
}  // namespace

bool CheckSingleInstance(platform::NamedEvent& event) {
  const std::string name = fmt::format(fmt::runtime(kEventNamePattern), kEventKey);
  switch (event.Create(name)) {
    case platform::NamedEvent::Result::kCreated:
      return true;
    case platform::NamedEvent::Result::kFailed:
      return false;  // refused for another reason: no window search
    case platform::NamedEvent::Result::kAlreadyExists:
      break;
  }
  platform::RaiseWindowOfClass(kInstalledAppWindowClass);
  return false;
}
