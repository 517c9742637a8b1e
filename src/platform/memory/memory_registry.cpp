#include "platform/memory/memory_registry.h"

#include <algorithm>

#include "platform/memory/no_case.h"

namespace wdx::platform {
namespace {

// Keys and value names compare without case, as Windows compares them.
std::string Folded(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), FoldCase);
  return s;
}

}  // namespace

void MemoryRegistry::SetString(RegistryRoot root, const std::string& key, const std::string& name,
                               const std::string& value) {
  keys_[{root, Folded(key)}][Folded(name)] = value;
}

void MemoryRegistry::CreateKey(RegistryRoot root, const std::string& key) { keys_[{root, Folded(key)}]; }

bool MemoryRegistry::KeyExists(RegistryRoot root, const std::string& key) {
  return keys_.count({root, Folded(key)}) != 0;
}

std::optional<std::string> MemoryRegistry::ReadString(RegistryRoot root, const std::string& key,
                                                      const std::string& name) {
  auto k = keys_.find({root, Folded(key)});
  if (k == keys_.end()) return std::nullopt;
  auto v = k->second.find(Folded(name));
  if (v == k->second.end()) return std::nullopt;
  return v->second;
}

bool MemoryRegistry::WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                                 const std::string& value) {
  writes.push_back({root, key, name, value});
  SetString(root, key, name, value);
  return true;
}

}  // namespace wdx::platform
