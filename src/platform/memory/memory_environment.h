// The stand-in environment: a table of the variables set through it (the real process
// environment is left alone), names compared without case.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/environment.h"

namespace wdx::platform {

class MemoryEnvironment : public Environment {
 public:
  bool SetVariable(const std::string& name, const std::string& value) override;
  std::optional<std::string> GetVariable(const std::string& name) override;

 private:
  std::vector<std::pair<std::string, std::string>> values_;  // name as first set, value
};

}  // namespace wdx::platform
