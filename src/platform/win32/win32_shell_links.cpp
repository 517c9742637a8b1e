#include "platform/win32/win32_shell_links.h"

#include "platform/win32/late_entry.h"
#include "platform/win32/windows_api.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <vector>

namespace wdx::platform {

namespace {

using CoInitializeFn = HRESULT(WINAPI*)(LPVOID);
using CoUninitializeFn = void(WINAPI*)();
using CoCreateInstanceFn = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
using WinHelpFn = BOOL(WINAPI*)(HWND, LPCSTR, UINT, ULONG_PTR);

// The link object's interfaces, released on every road out.
template <class T>
struct Released {
  T* p = nullptr;
  ~Released() {
    if (p != nullptr) p->Release();
  }
};

}  // namespace

std::optional<std::string> Win32ShellLinks::Target(const std::string& linkPath) {
  // COM is loaded on first use: the player never reads a shortcut.
  const auto init = win32::LateEntry<CoInitializeFn>("ole32.dll", "CoInitialize");
  const auto uninit = win32::LateEntry<CoUninitializeFn>("ole32.dll", "CoUninitialize");
  const auto create = win32::LateEntry<CoCreateInstanceFn>("ole32.dll", "CoCreateInstance");
  if (!init || !uninit || !create) return std::nullopt;
  const HRESULT initialised = init(nullptr);
  std::optional<std::string> target;
  {
    Released<IShellLinkA> link;
    Released<IPersistFile> file;
    if (SUCCEEDED(create(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                         reinterpret_cast<void**>(&link.p))) &&
        SUCCEEDED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p)))) {
      std::vector<wchar_t> wide(linkPath.size() + 1);
      const int n = MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
      char path[MAX_PATH] = {};
      if (n > 0 && SUCCEEDED(file.p->Load(wide.data(), STGM_READ)) &&
          SUCCEEDED(link.p->GetPath(path, MAX_PATH, nullptr, 0))) {
        target = std::string(path);
      }
    }
  }
  if (SUCCEEDED(initialised)) uninit();
  return target;
}

bool Win32HelpFiles::ShowKeyword(WindowHandle owner, const std::string& file, const std::string& keyword) {
  const auto help = win32::LateEntry<WinHelpFn>("user32.dll", "WinHelpA");
  if (!help) return false;
  return help(win32::ToHwnd(owner), file.c_str(), HELP_KEY, reinterpret_cast<ULONG_PTR>(keyword.c_str())) != FALSE;
}

bool Win32HelpFiles::ShowContents(WindowHandle owner, const std::string& file) {
  const auto help = win32::LateEntry<WinHelpFn>("user32.dll", "WinHelpA");
  return help && help(win32::ToHwnd(owner), file.c_str(), HELP_CONTENTS, 0) != FALSE;
}

}  // namespace wdx::platform
