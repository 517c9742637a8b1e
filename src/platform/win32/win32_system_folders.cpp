#include "platform/win32/win32_system_folders.h"

#include <string>
#include <vector>

#include "platform/win32/windows_api.h"

namespace wdx::platform {

namespace {

// Calls a function of the (buffer size, buffer) kind until the buffer holds its whole answer;
// empty when it fails.
template <class Fn>
std::string Ask(Fn fn) {
  std::vector<char> buffer(MAX_PATH + 1);
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD n = fn(static_cast<UINT>(buffer.size()), buffer.data());
    if (n == 0) return {};
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(n + 1);
  }
  return {};
}

}  // namespace

std::string Win32SystemFolders::CurrentFolder() {
  return Ask([](UINT size, char* buffer) { return GetCurrentDirectoryA(size, buffer); });
}

std::string Win32SystemFolders::SystemFolder() {
  return Ask([](UINT size, char* buffer) { return static_cast<DWORD>(GetSystemDirectoryA(buffer, size)); });
}

std::string Win32SystemFolders::TempFolder() {
  return Ask([](UINT size, char* buffer) { return GetTempPathA(size, buffer); });
}

std::string Win32SystemFolders::WindowsFolder() {
  return Ask([](UINT size, char* buffer) { return static_cast<DWORD>(GetWindowsDirectoryA(buffer, size)); });
}

}  // namespace wdx::platform
