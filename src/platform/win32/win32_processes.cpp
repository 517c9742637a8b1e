#include "platform/win32/win32_processes.h"

#include "platform/win32/win32_system_info.h"
#include "platform/win32/windows_api.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstring>

namespace wdx::platform {

namespace {

// The 95 family has no PSAPI; NT 4 and later have both.
bool IsNt() { return Win32SystemInfo().Version().family == OsFamily::kNt; }

std::string BaseName(const char* path) {
  const char* slash = std::strrchr(path, '\\');
  return slash ? std::string(slash + 1) : std::string(path);
}

}  // namespace

struct Win32Processes::Functions {
  using EnumProcessesFn = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
  using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
  using GetModuleBaseNameFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);
  using SnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
  using Process32Fn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
  bool nt = false;
  EnumProcessesFn enumProcesses = nullptr;
  EnumProcessModulesFn enumProcessModules = nullptr;
  GetModuleBaseNameFn getModuleBaseName = nullptr;
  SnapshotFn snapshot = nullptr;
  Process32Fn first = nullptr;
  Process32Fn next = nullptr;
};

Win32Processes::~Win32Processes() { Release(); }

bool Win32Processes::Bind() {
  Release();
  fn_ = new Functions;
  fn_->nt = IsNt();
  // The snapshot functions live in kernel32 on every system since the 95 family and NT 5.
  if (HMODULE kernel = GetModuleHandleA("KERNEL32.DLL")) {
    fn_->snapshot = reinterpret_cast<Functions::SnapshotFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "CreateToolhelp32Snapshot")));
    fn_->first = reinterpret_cast<Functions::Process32Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, "Process32First")));
    fn_->next = reinterpret_cast<Functions::Process32Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, "Process32Next")));
  }
  if (fn_->nt) {
    HMODULE psapi = LoadLibraryA("PSAPI.DLL");
    library_ = psapi;
    if (psapi) {
      fn_->enumProcesses = reinterpret_cast<Functions::EnumProcessesFn>(
          reinterpret_cast<void*>(GetProcAddress(psapi, "EnumProcesses")));
      fn_->enumProcessModules = reinterpret_cast<Functions::EnumProcessModulesFn>(
          reinterpret_cast<void*>(GetProcAddress(psapi, "EnumProcessModules")));
      fn_->getModuleBaseName = reinterpret_cast<Functions::GetModuleBaseNameFn>(
          reinterpret_cast<void*>(GetProcAddress(psapi, "GetModuleBaseNameA")));
    }
  }
  const bool psapiOk = fn_->enumProcesses && fn_->enumProcessModules && fn_->getModuleBaseName;
  const bool snapshotOk = fn_->snapshot && fn_->first && fn_->next;
  return psapiOk || snapshotOk;
}

void Win32Processes::Release() {
  if (library_) FreeLibrary(static_cast<HMODULE>(library_));
  library_ = nullptr;
  delete fn_;
  fn_ = nullptr;
}

std::vector<ProcessEntry> Win32Processes::Snapshot() {
  std::vector<ProcessEntry> list;
  if (!fn_ || !fn_->snapshot || !fn_->first || !fn_->next) return list;
  HANDLE snap = fn_->snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return list;
  PROCESSENTRY32 e;
  std::memset(&e, 0, sizeof e);
  e.dwSize = sizeof e;
  for (BOOL ok = fn_->first(snap, &e); ok; ok = fn_->next(snap, &e)) list.push_back({e.th32ProcessID, BaseName(e.szExeFile)});
  CloseHandle(snap);
  return list;
}

std::string Win32Processes::ModuleName(std::uint32_t processId) {
  if (!fn_ || !fn_->enumProcessModules || !fn_->getModuleBaseName) return std::string();
  HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (!h) return std::string();
  std::string name;
  HMODULE module = nullptr;
  DWORD needed = 0;
  if (fn_->enumProcessModules(h, &module, sizeof module, &needed) && module) {
    char buf[257] = {};
    DWORD n = fn_->getModuleBaseName(h, module, buf, 256);
    name.assign(buf, std::min<DWORD>(n, 256));
  }
  CloseHandle(h);
  return name;
}

std::vector<ProcessEntry> Win32Processes::List() {
  std::vector<ProcessEntry> list;
  if (!fn_) return list;
  std::vector<ProcessEntry> snap = Snapshot();
  if (!fn_->nt || !fn_->enumProcesses) return snap;
  std::vector<DWORD> ids(1024);
  DWORD bytes = 0;
  for (;;) {
    if (!fn_->enumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes)) return snap;
    if (bytes < ids.size() * sizeof(DWORD)) break;
    ids.resize(ids.size() * 2);
  }
  ids.resize(bytes / sizeof(DWORD));
  for (DWORD id : ids) {
    std::string name = ModuleName(id);
    if (name.empty()) {
      auto it = std::find_if(snap.begin(), snap.end(), [id](const ProcessEntry& p) { return p.id == id; });
      if (it != snap.end()) name = it->exeName;
    }
    list.push_back({id, name});
  }
  return list;
}

std::string Win32Processes::ExeName(std::uint32_t processId) {
  if (!fn_ || processId == 0) return std::string();
  if (fn_->nt) {
    std::string name = ModuleName(processId);
    if (!name.empty()) return name;
  }
  for (const ProcessEntry& p : Snapshot())
    if (p.id == processId) return p.exeName;
  return std::string();
}

std::string Win32Processes::OwnExecutablePath() {
  char buf[MAX_PATH + 1] = {};
  DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
  return std::string(buf, std::min<DWORD>(n, MAX_PATH));
}

std::string Win32Processes::OwnCommandLine() {
  const char* line = GetCommandLineA();
  return line ? std::string(line) : std::string();
}

}  // namespace wdx::platform
