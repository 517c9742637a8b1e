// The real registry, through the advapi32 functions.
#pragma once

#include "platform/registry.h"

namespace wdx::platform {

class Win32Registry : public Registry {
 public:
  bool KeyExists(RegistryRoot root, const std::string& key) override;
  std::optional<std::string> ReadString(RegistryRoot root, const std::string& key, const std::string& name) override;
  bool WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                   const std::string& value) override;
};

}  // namespace wdx::platform
