#include "platform/win32/win32_system_info.h"

#include "platform/win32/late_entry.h"
#include "platform/win32/windows_api.h"

#include <cstdint>
#include <cstring>

namespace wdx::platform {

OsVersion Win32SystemInfo::Version() {
  OSVERSIONINFOA v;
  std::memset(&v, 0, sizeof v);
  v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const BOOL ok = GetVersionExA(&v);
#pragma GCC diagnostic pop
  OsVersion r;
  if (!ok) return r;
  r.family = v.dwPlatformId == VER_PLATFORM_WIN32_NT        ? OsFamily::kNt
             : v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? OsFamily::kWindows95
                                                            : OsFamily::kWin32s;
  r.major = v.dwMajorVersion;
  r.minor = v.dwMinorVersion;
  return r;
}

bool Win32SystemInfo::MouseButtonsSwapped() { return GetSystemMetrics(SM_SWAPBUTTON) != 0; }

std::uint32_t Win32SystemInfo::ForegroundLockTimeout() {
  DWORD ms = 0;
  if (!SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &ms, 0)) return 0;
  return ms;
}

bool Win32SystemInfo::SetForegroundLockTimeout(std::uint32_t ms) {
  // The value travels in the pointer argument.
  return SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                               reinterpret_cast<void*>(static_cast<std::uintptr_t>(ms)), 0) != FALSE;
}

// Set up just before the first shell call (EnsureOle): a player that never uses the shell
// neither loads COM nor waits for it at start.
bool Win32SystemInfo::OleInitialize() {
  win32::WantOle();
  return true;
}

void Win32SystemInfo::OleUninitialize() { win32::EndOle(); }

}  // namespace wdx::platform
