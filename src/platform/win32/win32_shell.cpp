#include "platform/win32/win32_shell.h"

#include "platform/win32/late_entry.h"
#include "platform/win32/windows_api.h"

#include <shellapi.h>

namespace wdx::platform {

namespace {

int ShowCommand(ShowMode mode) {
  switch (mode) {
    case ShowMode::kHide:
      return SW_HIDE;
    case ShowMode::kShowNormal:
      return SW_SHOWNORMAL;
    case ShowMode::kShow:
      return SW_SHOW;
    case ShowMode::kMinimize:
      return SW_MINIMIZE;
    case ShowMode::kShowMinimized:
      return SW_SHOWMINIMIZED;
    case ShowMode::kMaximize:
      return SW_MAXIMIZE;
    case ShowMode::kRestore:
      return SW_RESTORE;
    case ShowMode::kShowNoActivate:
      return SW_SHOWNOACTIVATE;
  }
  return SW_SHOWNORMAL;
}

const char* OrNull(const std::string& s) { return s.empty() ? nullptr : s.c_str(); }

using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);

}  // namespace

std::int32_t Win32Shell::Execute(WindowHandle owner, const std::string& verb, const std::string& file,
                                 const std::string& parameters, const std::string& directory, ShowMode show) {
  const auto execute = win32::LateEntry<ShellExecuteFn>("shell32.dll", "ShellExecuteA");
  // 31 is the system's "no application is associated" class of failure: the nearest answer
  // when the shell itself cannot be had.
  if (!execute) return 31;
  HINSTANCE r = execute(win32::ToHwnd(owner), OrNull(verb), file.c_str(), OrNull(parameters), OrNull(directory),
                        ShowCommand(show));
  return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(r));
}

}  // namespace wdx::platform
