// In-memory registry: a small map of keys and string values that tests fill.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace wdx::platform {

class MemoryRegistry : public Registry {
 public:
  // Creates the key when needed and sets one string value of it.
  void SetString(RegistryRoot root, const std::string& key, const std::string& name, const std::string& value);
  // Creates an empty key (a key that exists without the value looked for).
  void CreateKey(RegistryRoot root, const std::string& key);

  bool KeyExists(RegistryRoot root, const std::string& key) override;
  std::optional<std::string> ReadString(RegistryRoot root, const std::string& key, const std::string& name) override;
  bool WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                   const std::string& value) override;

  // Every WriteString, in order (what a program changed in the registry).
  struct Write {
    RegistryRoot root;
    std::string key, name, value;
  };
  std::vector<Write> writes;

 private:
  using Values = std::map<std::string, std::string>;  // case-folded value name -> value
  std::map<std::pair<RegistryRoot, std::string>, Values> keys_;  // (root, case-folded key)
};

}  // namespace wdx::platform
