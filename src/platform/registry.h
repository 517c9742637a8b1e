// The system registry: content types by file extension and similar lookups, and the file
// associations the player registers. Keys and value names compare without case, as Windows does.
#pragma once

#include <optional>
#include <string>

namespace wdx::platform {

enum class RegistryRoot { kClassesRoot, kCurrentUser, kLocalMachine };

class Registry {
 public:
  virtual ~Registry() = default;
  // True when the key exists; it is opened for reading only, never created.
  virtual bool KeyExists(RegistryRoot root, const std::string& key) = 0;
  // The string value `name` of `key` ("" names the key's default value). Empty when the key
  // or the value is missing or the value is not a string.
  virtual std::optional<std::string> ReadString(RegistryRoot root, const std::string& key,
                                                const std::string& name) = 0;
  // Sets the string value `name` ("" the default value) of `key`, creating the key (and the
  // keys above it) when needed; false when the registry refused.
  virtual bool WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                           const std::string& value) = 0;
};

}  // namespace wdx::platform
