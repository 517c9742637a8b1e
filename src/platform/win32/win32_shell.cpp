#include "platform/win32/win32_shell.h"

#include "platform/win32/late_entry.h"
#include "platform/win32/windows_api.h"

#include <objbase.h>
#include <shellapi.h>
#include <shldisp.h>

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
using CoCreateInstanceFn = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);

// The shell's automation object and its dispatch interface.
constexpr GUID kShellObject = {0x13709620, 0xC279, 0x11CE, {0xA4, 0x9E, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr GUID kShellDispatch = {0xD8F015C0, 0xC278, 0x11CE, {0xA4, 0x9E, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

}  // namespace

std::int32_t Win32Shell::Execute(WindowHandle owner, const std::string& verb, const std::string& file,
                                 const std::string& parameters, const std::string& directory, ShowMode show) {
  const auto execute = win32::LateEntry<ShellExecuteFn>("shell32.dll", "ShellExecuteA");
  // 31 is the system's "no application is associated" class of failure: the nearest answer
  // when the shell itself cannot be had.
  if (!execute) return 31;
  // A shell extension that opens the file may need OLE on this thread.
  win32::EnsureOle();
  HINSTANCE r = execute(win32::ToHwnd(owner), OrNull(verb), file.c_str(), OrNull(parameters), OrNull(directory),
                        ShowCommand(show));
  return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(r));
}

ShellCallResult Win32Shell::CallShellFunction(ShellFunction function, std::int32_t folder) {
  // COM is loaded, and OLE set up on the player's thread, when a macro first asks.
  const auto create = win32::LateEntry<CoCreateInstanceFn>("ole32.dll", "CoCreateInstance");
  win32::EnsureOle();
  IShellDispatch* shell = nullptr;
  if (!create || FAILED(create(kShellObject, nullptr, CLSCTX_SERVER, kShellDispatch, reinterpret_cast<void**>(&shell))) ||
      shell == nullptr) {
    return ShellCallResult::kNoShellObject;
  }
  HRESULT r = E_FAIL;
  switch (function) {
    case ShellFunction::kMinimizeAll: r = shell->MinimizeAll(); break;
    case ShellFunction::kUndoMinimizeAll: r = shell->UndoMinimizeALL(); break;
    case ShellFunction::kSuspend: r = shell->Suspend(); break;
    case ShellFunction::kEjectPc: r = shell->EjectPC(); break;
    case ShellFunction::kSetTime: r = shell->SetTime(); break;
    case ShellFunction::kFindComputer: r = shell->FindComputer(); break;
    case ShellFunction::kFindFiles: r = shell->FindFiles(); break;
    case ShellFunction::kFileRun: r = shell->FileRun(); break;
    case ShellFunction::kExplore: {
      VARIANT v;
      ZeroMemory(&v, sizeof v);
      v.vt = VT_I4;
      v.lVal = folder;
      r = shell->Explore(v);
      break;
    }
  }
  shell->Release();
  return SUCCEEDED(r) ? ShellCallResult::kDone : ShellCallResult::kFailed;
}

}  // namespace wdx::platform
