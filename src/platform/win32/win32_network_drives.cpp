#include "platform/win32/win32_network_drives.h"

#include <windows.h>
#include <winnetwk.h>

#include <vector>

#include "platform/win32/late_entry.h"

namespace wdx::platform {

namespace {

constexpr char kLibrary[] = "mpr.dll";
// The listing's one buffer: what does not fit is not looked at.
constexpr DWORD kListBuffer = 16384;

using AddFn = DWORD(WINAPI*)(LPNETRESOURCEA, LPCSTR, LPCSTR, DWORD);
using CancelFn = DWORD(WINAPI*)(LPCSTR, DWORD, BOOL);
using OpenEnumFn = DWORD(WINAPI*)(DWORD, DWORD, DWORD, LPNETRESOURCEA, LPHANDLE);
using EnumFn = DWORD(WINAPI*)(HANDLE, LPDWORD, LPVOID, LPDWORD);
using CloseEnumFn = DWORD(WINAPI*)(HANDLE);

LPCSTR OrNull(const std::string& s) { return s.empty() ? nullptr : s.c_str(); }

}  // namespace

std::uint32_t Win32NetworkDrives::Connect(const std::string& local, const std::string& remote,
                                          const std::string& user, const std::string& password, bool persistent) {
  auto add = win32::LateEntry<AddFn>(kLibrary, "WNetAddConnection2A");
  if (add == nullptr) return ERROR_NO_NETWORK;
  std::string localName = local, remoteName = remote, provider;
  NETRESOURCEA resource{};
  resource.dwType = RESOURCETYPE_DISK;
  resource.lpLocalName = localName.data();
  resource.lpRemoteName = remoteName.data();
  resource.lpProvider = provider.data();
  return add(&resource, OrNull(password), OrNull(user), persistent ? CONNECT_UPDATE_PROFILE : 0);
}

std::uint32_t Win32NetworkDrives::Disconnect(const std::string& local, bool persistent, bool force) {
  auto cancel = win32::LateEntry<CancelFn>(kLibrary, "WNetCancelConnection2A");
  if (cancel == nullptr) return ERROR_NO_NETWORK;
  return cancel(local.c_str(), persistent ? CONNECT_UPDATE_PROFILE : 0, force ? TRUE : FALSE);
}

bool Win32NetworkDrives::Connected(std::vector<NetworkConnection>& list) {
  auto open = win32::LateEntry<OpenEnumFn>(kLibrary, "WNetOpenEnumA");
  auto next = win32::LateEntry<EnumFn>(kLibrary, "WNetEnumResourceA");
  auto close = win32::LateEntry<CloseEnumFn>(kLibrary, "WNetCloseEnum");
  if (open == nullptr || next == nullptr || close == nullptr) return false;
  HANDLE handle = nullptr;
  if (open(RESOURCE_CONNECTED, RESOURCETYPE_DISK, 0, nullptr, &handle) != NO_ERROR) return false;
  std::vector<unsigned char> buffer(kListBuffer);
  DWORD count = static_cast<DWORD>(-1);
  DWORD size = kListBuffer;
  const DWORD rc = next(handle, &count, buffer.data(), &size);
  list.clear();
  if (rc == NO_ERROR) {
    const auto* resources = reinterpret_cast<const NETRESOURCEA*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
      const NETRESOURCEA& r = resources[i];
      if (r.lpLocalName != nullptr && r.lpRemoteName != nullptr) list.push_back({r.lpLocalName, r.lpRemoteName});
    }
  }
  close(handle);
  return rc == NO_ERROR || rc == ERROR_NO_MORE_ITEMS;
}

}  // namespace wdx::platform
