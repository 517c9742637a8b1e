#include "platform/memory/memory_registry.h"

#include <algorithm>
#include <cctype>

namespace wdx::platform {
namespace {

std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

}  // namespace

void MemoryRegistry::SetString(RegistryRoot root, const std::string& key, const std::string& name,
                               const std::string& value) {
  keys_[{root, Upper(key)}][Upper(name)] = value;
}

void MemoryRegistry::CreateKey(RegistryRoot root, const std::string& key) { keys_[{root, Upper(key)}]; }

bool MemoryRegistry::KeyExists(RegistryRoot root, const std::string& key) {
  return keys_.count({root, Upper(key)}) != 0;
}

std::optional<std::string> MemoryRegistry::ReadString(RegistryRoot root, const std::string& key,
                                                      const std::string& name) {
  auto k = keys_.find({root, Upper(key)});
  if (k == keys_.end()) return std::nullopt;
  auto v = k->second.find(Upper(name));
  if (v == k->second.end()) return std::nullopt;
  return v->second;
}

}  // namespace wdx::platform
