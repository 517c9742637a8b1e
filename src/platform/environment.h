// The player process's environment variables: programs it starts later inherit them. Names
// compare without case, as Windows compares them.
#pragma once

#include <optional>
#include <string>

namespace wdx::platform {

class Environment {
 public:
  virtual ~Environment() = default;
  // Sets the variable (an empty value keeps it, empty); false when the name is refused
  // (empty, or containing "=").
  virtual bool SetVariable(const std::string& name, const std::string& value) = 0;
  virtual std::optional<std::string> GetVariable(const std::string& name) = 0;
};

}  // namespace wdx::platform
