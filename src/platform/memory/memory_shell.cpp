#include "platform/memory/memory_shell.h"

namespace wdx::platform {

std::int32_t MemoryShell::Execute(WindowHandle owner, const std::string& verb, const std::string& file,
                                  const std::string& parameters, const std::string& directory, ShowMode show) {
  calls.push_back({owner, verb, file, parameters, directory, show});
  if (onExecute) onExecute(calls.back());
  return result;
}

}  // namespace wdx::platform
