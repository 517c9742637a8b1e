#include "platform/memory/memory_environment.h"

#include "platform/memory/no_case.h"

namespace wdx::platform {

bool MemoryEnvironment::SetVariable(const std::string& name, const std::string& value) {
  if (name.empty() || name.find('=') != std::string::npos) return false;
  for (auto& [n, v] : values_) {
    if (EqualsNoCase(n, name)) {
      v = value;
      return true;
    }
  }
  values_.emplace_back(name, value);
  return true;
}

std::optional<std::string> MemoryEnvironment::GetVariable(const std::string& name) {
  for (const auto& [n, v] : values_) {
    if (EqualsNoCase(n, name)) return v;
  }
  return std::nullopt;
}

}  // namespace wdx::platform
