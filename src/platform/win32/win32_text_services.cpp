#include "platform/win32/win32_text_services.h"

#include "platform/win32/windows_api.h"

#include <cstring>
#include <vector>

namespace wdx::platform {

// --- Clipboard

Win32Clipboard::~Win32Clipboard() {
  if (owner_ != nullptr) DestroyWindow(static_cast<HWND>(owner_));
}

bool Win32Clipboard::Open() {
  if (owner_ == nullptr) {
    owner_ = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                             nullptr);
  }
  // Another program may hold the clipboard for a moment: a few tries, as the edit controls do.
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (OpenClipboard(static_cast<HWND>(owner_))) return true;
    Sleep(10);
  }
  return false;
}

bool Win32Clipboard::SetText(const std::string& text) {
  const std::size_t length = std::strlen(text.c_str());  // CF_TEXT ends at the first NUL
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, length + 1);
  if (memory == nullptr) return false;
  char* data = static_cast<char*>(GlobalLock(memory));
  if (data == nullptr) {
    GlobalFree(memory);
    return false;
  }
  std::memcpy(data, text.c_str(), length + 1);
  GlobalUnlock(memory);
  if (!Open()) {
    GlobalFree(memory);
    return false;
  }
  EmptyClipboard();
  const bool stored = SetClipboardData(CF_TEXT, memory) != nullptr;
  CloseClipboard();
  if (!stored) GlobalFree(memory);  // the clipboard owns it only once stored
  return stored;
}

std::optional<std::string> Win32Clipboard::GetText() {
  if (!Open()) return std::nullopt;
  std::optional<std::string> result;
  if (HANDLE memory = GetClipboardData(CF_TEXT)) {
    if (const char* data = static_cast<const char*>(GlobalLock(memory))) {
      // Bounded by the block's size: a block without its NUL must not be read past its end.
      const SIZE_T size = GlobalSize(memory);
      result = std::string(data, strnlen(data, size));
      GlobalUnlock(memory);
    }
  }
  CloseClipboard();
  return result;
}

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
