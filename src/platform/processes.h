// The processes of the desktop and the program's own process: enumeration by executable name
// (bound by name when the program starts, released when it closes), the executable's path and
// the command line as the system hands it over.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wdx::platform {

struct ProcessEntry {
  std::uint32_t id = 0;
  std::string exeName;  // file name without folder, case as the system gives it
  bool operator==(const ProcessEntry&) const = default;
};

class Processes {
 public:
  virtual ~Processes() = default;

  // Binds the enumeration functions (false when the system has none); Release lets them go.
  // Without a binding List is empty and ExeName gives "".
  virtual bool Bind() = 0;
  virtual void Release() = 0;
  // Every running process, in the system's order.
  virtual std::vector<ProcessEntry> List() = 0;
  // Executable file name of one process; "" when it is not found.
  virtual std::string ExeName(std::uint32_t processId) = 0;

  // This program: the full path of its executable, and its whole command line (program path
  // included, as the system gives it).
  virtual std::string OwnExecutablePath() = 0;
  virtual std::string OwnCommandLine() = 0;
};

}  // namespace wdx::platform
