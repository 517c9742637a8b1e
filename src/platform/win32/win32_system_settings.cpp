#include "platform/win32/win32_system_settings.h"

#include <cstdio>
#include <cstdlib>

#include "platform/win32/late_entry.h"
#include "platform/win32/windows_api.h"

#include <winspool.h>

namespace wdx::platform {

namespace {

bool ReadMode(std::uint32_t index, DEVMODEA& dm) {
  ZeroMemory(&dm, sizeof dm);
  dm.dmSize = sizeof dm;
  return EnumDisplaySettingsA(nullptr, index, &dm) != FALSE;
}

// The shutdown right of this process on or off; false when it could not be changed.
bool SetShutdownPrivilege(bool enable) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
  TOKEN_PRIVILEGES tp{};
  bool ok = LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &tp.Privileges[0].Luid) != FALSE;
  if (ok) {
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    // Without the right the call succeeds and says so only in the last error.
    ok = AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr) != FALSE &&
         (!enable || GetLastError() != ERROR_NOT_ALL_ASSIGNED);
  }
  CloseHandle(token);
  return ok;
}

using EnumPrintersFn = BOOL(WINAPI*)(DWORD, LPSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD);

}  // namespace

std::optional<DisplayMode> Win32SystemSettings::DisplayModeAt(std::uint32_t index) {
  DEVMODEA dm;
  if (!ReadMode(index, dm)) return std::nullopt;
  return DisplayMode{dm.dmPelsWidth, dm.dmPelsHeight, dm.dmBitsPerPel, dm.dmDisplayFrequency};
}

std::int32_t Win32SystemSettings::ChangeDisplayMode(const DisplayMode& mode, bool test) {
  DEVMODEA dm;
  ZeroMemory(&dm, sizeof dm);
  dm.dmSize = sizeof dm;
  dm.dmPelsWidth = mode.width;
  dm.dmPelsHeight = mode.height;
  dm.dmBitsPerPel = mode.bitsPerPixel;
  dm.dmDisplayFrequency = mode.frequency;
  dm.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL | (mode.frequency != 0 ? DM_DISPLAYFREQUENCY : 0);
  return ChangeDisplaySettingsA(&dm, test ? CDS_TEST : CDS_UPDATEREGISTRY);
}

void Win32SystemSettings::SetParameter(SystemParameter parameter, std::uint32_t value) {
  UINT action = 0;
  switch (parameter) {
    case SystemParameter::kKeyboardDelay: action = SPI_SETKEYBOARDDELAY; break;
    case SystemParameter::kKeyboardSpeed: action = SPI_SETKEYBOARDSPEED; break;
    case SystemParameter::kScreenSaveTimeout: action = SPI_SETSCREENSAVETIMEOUT; break;
    case SystemParameter::kBorder: action = SPI_SETBORDER; break;
    case SystemParameter::kScreenSaveActive: action = SPI_SETSCREENSAVEACTIVE; break;
  }
  SystemParametersInfoA(action, value, nullptr, 0);
}

std::optional<bool> Win32SystemSettings::ScreenSaverActive() {
  BOOL active = FALSE;
  if (!SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0)) return std::nullopt;
  return active != FALSE;
}

void Win32SystemSettings::StartScreenSaver() {
  ::PostMessageA(GetDesktopWindow(), WM_SYSCOMMAND, SC_SCREENSAVE, 0);
}

void Win32SystemSettings::ApplyWallpaper() {
  // No file: the system takes the values of the user's desktop key, written just before.
  SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, nullptr, SPIF_SENDWININICHANGE);
}

std::vector<PrinterEntry> Win32SystemSettings::Printers() {
  std::vector<PrinterEntry> out;
  const auto enumPrinters = win32::LateEntry<EnumPrintersFn>("winspool.drv", "EnumPrintersA");
  if (!enumPrinters) return out;
  const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  DWORD needed = 0;
  DWORD count = 0;
  enumPrinters(flags, nullptr, 2, nullptr, 0, &needed, &count);
  if (needed == 0) return out;
  std::vector<BYTE> buffer(needed);
  if (!enumPrinters(flags, nullptr, 2, buffer.data(), needed, &needed, &count)) return out;
  const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
  auto text = [](const char* s) { return s != nullptr ? std::string(s) : std::string(); };
  for (DWORD i = 0; i < count; ++i) {
    out.push_back({text(info[i].pPrinterName), text(info[i].pDriverName), text(info[i].pPortName)});
  }
  return out;
}

void Win32SystemSettings::BroadcastSettingChange(const std::string& section) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>(section.c_str()), SMTO_NORMAL,
                      1000, &result);
}

void Win32SystemSettings::ArrangeDesktop(DesktopArrangement how) {
  if (how == DesktopArrangement::kCascade) {
    CascadeWindows(nullptr, 0, nullptr, 0, nullptr);
  } else {
    TileWindows(nullptr, how == DesktopArrangement::kTileHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL, nullptr,
                0, nullptr);
  }
}

bool Win32SystemSettings::EndSession(SessionEnd how, bool privilege) {
  static constexpr const char* kNames[] = {"LOGOFF", "REBOOT", "SHUTDOWN", "POWEROFF"};
  static constexpr UINT kFlags[] = {EWX_LOGOFF, EWX_REBOOT, EWX_SHUTDOWN, EWX_POWEROFF};
  const auto index = static_cast<std::size_t>(how);
  if (const char* log = std::getenv("WDX_SESSION_END_LOG"); log != nullptr && *log != '\0') {
    if (FILE* f = std::fopen(log, "a")) {
      std::fprintf(f, "%s%s\n", kNames[index], privilege ? " PRIVILEGE" : "");
      std::fclose(f);
    }
    return true;
  }
  if (privilege && !SetShutdownPrivilege(true)) return false;
  ExitWindowsEx(kFlags[index], 0);
  if (privilege) SetShutdownPrivilege(false);
  return true;
}

}  // namespace wdx::platform
