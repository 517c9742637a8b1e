#include "platform/win32/win32_text_services.h"

#include "platform/win32/windows_api.h"

#include <cstring>
#include <vector>

namespace wdx::platform {

// --- Environment

bool Win32Environment::SetVariable(const std::string& name, const std::string& value) {
  if (name.empty() || name.find('=') != std::string::npos) return false;
  return SetEnvironmentVariableA(name.c_str(), value.c_str()) != 0;
}

std::optional<std::string> Win32Environment::GetVariable(const std::string& name) {
  std::vector<char> buffer(256);
  for (;;) {
    SetLastError(0);
    const DWORD n = GetEnvironmentVariableA(name.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(n);  // n is the size needed, NUL included
  }
}

}  // namespace wdx::platform
