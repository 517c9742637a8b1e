#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace wdx::platform {
namespace {

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegistryRoot::kCurrentUser:
      return HKEY_CURRENT_USER;
    case RegistryRoot::kLocalMachine:
      return HKEY_LOCAL_MACHINE;
  }
  return HKEY_CLASSES_ROOT;
}

// Closes the opened key however the read ends.
class OpenKey {
 public:
  OpenKey(RegistryRoot root, const std::string& key) {
    ok_ = RegOpenKeyExA(RootKey(root), key.c_str(), 0, KEY_READ, &key_) == ERROR_SUCCESS;
  }
  ~OpenKey() {
    if (ok_) RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  bool ok() const { return ok_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
  bool ok_ = false;
};

}  // namespace

bool Win32Registry::KeyExists(RegistryRoot root, const std::string& key) { return OpenKey(root, key).ok(); }

std::optional<std::string> Win32Registry::ReadString(RegistryRoot root, const std::string& key,
                                                     const std::string& name) {
  OpenKey k(root, key);
  if (!k.ok()) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(k.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::vector<char> buf(size + 1, '\0');
  DWORD got = size;
  if (RegQueryValueExA(k.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &got) !=
      ERROR_SUCCESS)
    return std::nullopt;
  // A stored string may or may not carry its terminator; stop at the first NUL either way.
  buf[std::min<std::size_t>(got, size)] = '\0';
  return std::string(buf.data());
}

bool Win32Registry::WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                                const std::string& value) {
  HKEY k = nullptr;
  if (RegCreateKeyExA(RootKey(root), key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &k,
                      nullptr) != ERROR_SUCCESS)
    return false;
  const bool ok = RegSetValueExA(k, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
  RegCloseKey(k);
  return ok;
}

}  // namespace wdx::platform
