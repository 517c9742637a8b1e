#include "platform/memory/memory_processes.h"

#include <algorithm>

namespace wdx::platform {

bool MemoryProcesses::Bind() {
  ++bindCalls;
  bound_ = !refuseBind;
  return bound_;
}

void MemoryProcesses::Release() {
  ++releaseCalls;
  bound_ = false;
}

std::vector<ProcessEntry> MemoryProcesses::List() { return bound_ ? running : std::vector<ProcessEntry>{}; }

std::string MemoryProcesses::ExeName(std::uint32_t processId) {
  if (!bound_) return std::string();
  for (const ProcessEntry& p : running)
    if (p.id == processId) return p.exeName;
  return std::string();
}

void MemoryProcesses::Remove(std::uint32_t id) {
  running.erase(std::remove_if(running.begin(), running.end(), [id](const ProcessEntry& p) { return p.id == id; }),
                running.end());
}

}  // namespace wdx::platform
