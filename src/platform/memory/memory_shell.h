// The stand-in shell: records every Execute and every automation function; a test may act on
// an Execute (open a window as the started program would) and choose the results.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/shell.h"

namespace wdx::platform {

struct ShellCall {
  WindowHandle owner = kNoWindow;
  std::string verb, file, parameters, directory;
  ShowMode show = ShowMode::kShowNormal;
};

class MemoryShell : public Shell {
 public:
  std::int32_t Execute(WindowHandle owner, const std::string& verb, const std::string& file,
                       const std::string& parameters, const std::string& directory, ShowMode show) override;

  std::vector<ShellCall> calls;
  // Result of every Execute (above 32: success).
  std::int32_t result = 42;
  std::function<void(const ShellCall&)> onExecute;

  ShellCallResult CallShellFunction(ShellFunction function, std::int32_t folder) override {
    functions.push_back({function, folder});
    return functionResult;
  }
  struct FunctionCall {
    ShellFunction function;
    std::int32_t folder;
    bool operator==(const FunctionCall&) const = default;
  };
  std::vector<FunctionCall> functions;
  ShellCallResult functionResult = ShellCallResult::kDone;
};

}  // namespace wdx::platform
