#include "platform/win32/win32_remote_access.h"

#include "platform/win32/windows_api.h"

#include <ras.h>

#include <cstring>
#include <mutex>

namespace wdx::platform {
namespace {

using EnumEntriesFn = DWORD(WINAPI*)(LPCSTR, LPCSTR, LPRASENTRYNAMEA, LPDWORD, LPDWORD);
using EnumConnectionsFn = DWORD(WINAPI*)(LPRASCONNA, LPDWORD, LPDWORD);
using ProjectionFn = DWORD(WINAPI*)(HRASCONN, RASPROJECTION, LPVOID, LPDWORD);
using GetParamsFn = DWORD(WINAPI*)(LPCSTR, LPRASDIALPARAMSA, LPBOOL);
using SetParamsFn = DWORD(WINAPI*)(LPCSTR, LPRASDIALPARAMSA, BOOL);
using DialFn = DWORD(WINAPI*)(LPRASDIALEXTENSIONS, LPCSTR, LPRASDIALPARAMSA, DWORD, LPVOID, LPHRASCONN);
using HangUpFn = DWORD(WINAPI*)(HRASCONN);
using ErrorStringFn = DWORD(WINAPI*)(UINT, LPSTR, DWORD);

const char* ProcName(RemoteAccess::Function f) {
  switch (f) {
    case RemoteAccess::Function::kEnumEntries:
      return "RasEnumEntriesA";
    case RemoteAccess::Function::kEnumConnections:
      return "RasEnumConnectionsA";
    case RemoteAccess::Function::kGetProjectionInfo:
      return "RasGetProjectionInfoA";
    case RemoteAccess::Function::kGetEntryDialParams:
      return "RasGetEntryDialParamsA";
    case RemoteAccess::Function::kSetEntryDialParams:
      return "RasSetEntryDialParamsA";
    case RemoteAccess::Function::kDial:
      return "RasDialA";
    case RemoteAccess::Function::kHangUp:
      return "RasHangUpA";
    case RemoteAccess::Function::kGetErrorString:
      return "RasGetErrorStringA";
  }
  return "";
}

// The system calls the dial notifier on a thread of its own; the notifications wait here until
// the dialling code takes them. The notifier has no context, hence one queue for the process.
std::mutex g_eventsMutex;
std::vector<RasDialEvent> g_events;

VOID WINAPI DialNotifier(HRASCONN connection, UINT, RASCONNSTATE state, DWORD error, DWORD) {
  std::lock_guard lock(g_eventsMutex);
  g_events.push_back({static_cast<RasConnectionHandle>(reinterpret_cast<std::intptr_t>(connection)),
                      static_cast<std::uint32_t>(state), static_cast<std::uint32_t>(error)});
}

HRASCONN ToRas(RasConnectionHandle h) { return reinterpret_cast<HRASCONN>(static_cast<std::intptr_t>(h)); }

void CopyText(char* to, std::size_t size, const std::string& from) {
  std::strncpy(to, from.c_str(), size - 1);
  to[size - 1] = '\0';
}

void ToRasParams(const RasDialParams& p, RASDIALPARAMSA& r) {
  std::memset(&r, 0, sizeof r);
  r.dwSize = sizeof r;
  CopyText(r.szEntryName, sizeof r.szEntryName, p.entryName);
  CopyText(r.szUserName, sizeof r.szUserName, p.userName);
  CopyText(r.szPassword, sizeof r.szPassword, p.password);
  CopyText(r.szDomain, sizeof r.szDomain, p.domain);
}

}  // namespace

Win32RemoteAccess::Win32RemoteAccess() = default;

Win32RemoteAccess::~Win32RemoteAccess() {
  if (module_ != nullptr) ::FreeLibrary(static_cast<HMODULE>(module_));
}

void* Win32RemoteAccess::Module() {
  if (!tried_) {
    tried_ = true;
    UINT oldMode = ::SetErrorMode(SEM_NOOPENFILEERRORBOX);
    module_ = ::LoadLibraryA("rasapi32.dll");
    ::SetErrorMode(oldMode);
  }
  return module_;
}

bool Win32RemoteAccess::Available() { return Module() != nullptr; }

void* Win32RemoteAccess::Proc(Function function) {
  if (Module() == nullptr) return nullptr;
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module_), ProcName(function)));
}

bool Win32RemoteAccess::Has(Function function) { return Proc(function) != nullptr; }

std::uint32_t Win32RemoteAccess::EnumEntries(std::size_t limit, std::vector<std::string>& names) {
  names.clear();
  auto fn = reinterpret_cast<EnumEntriesFn>(Proc(Function::kEnumEntries));
  if (fn == nullptr || limit == 0) return ERROR_INVALID_FUNCTION;
  std::vector<RASENTRYNAMEA> buffer(limit);
  std::memset(buffer.data(), 0, buffer.size() * sizeof(RASENTRYNAMEA));
  buffer[0].dwSize = sizeof(RASENTRYNAMEA);
  DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(RASENTRYNAMEA)), count = 0;
  DWORD rc = fn(nullptr, nullptr, buffer.data(), &bytes, &count);
  if (rc != 0) return rc;
  for (DWORD i = 0; i < count && i < limit; ++i) names.emplace_back(buffer[i].szEntryName);
  return 0;
}

std::uint32_t Win32RemoteAccess::EnumConnections(std::size_t limit, std::vector<RasConnection>& list) {
  list.clear();
  auto fn = reinterpret_cast<EnumConnectionsFn>(Proc(Function::kEnumConnections));
  if (fn == nullptr || limit == 0) return ERROR_INVALID_FUNCTION;
  std::vector<RASCONNA> buffer(limit);
  std::memset(buffer.data(), 0, buffer.size() * sizeof(RASCONNA));
  buffer[0].dwSize = sizeof(RASCONNA);
  DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(RASCONNA)), count = 0;
  DWORD rc = fn(buffer.data(), &bytes, &count);
  if (rc != 0) return rc;
  for (DWORD i = 0; i < count && i < limit; ++i)
    list.push_back({static_cast<RasConnectionHandle>(reinterpret_cast<std::intptr_t>(buffer[i].hrasconn)),
                    buffer[i].szEntryName});
  return 0;
}

std::uint32_t Win32RemoteAccess::GetIpAddress(RasConnectionHandle connection, std::string& address) {
  auto fn = reinterpret_cast<ProjectionFn>(Proc(Function::kGetProjectionInfo));
  if (fn == nullptr) return ERROR_INVALID_FUNCTION;
  RASPPPIPA ip;
  std::memset(&ip, 0, sizeof ip);
  ip.dwSize = sizeof ip;
  DWORD size = sizeof ip;
  DWORD rc = fn(ToRas(connection), RASP_PppIp, &ip, &size);
  if (rc != 0) return rc;
  address = ip.szIpAddress;
  return 0;
}

std::uint32_t Win32RemoteAccess::GetEntryDialParams(const std::string& entry, RasDialParams& params,
                                                    bool& passwordSaved) {
  auto fn = reinterpret_cast<GetParamsFn>(Proc(Function::kGetEntryDialParams));
  if (fn == nullptr) return ERROR_INVALID_FUNCTION;
  RASDIALPARAMSA r;
  ToRasParams(RasDialParams{entry, "", "", ""}, r);
  BOOL saved = FALSE;
  DWORD rc = fn(nullptr, &r, &saved);
  if (rc != 0) return rc;
  params = RasDialParams{r.szEntryName, r.szUserName, r.szPassword, r.szDomain};
  passwordSaved = saved != FALSE;
  return 0;
}

std::uint32_t Win32RemoteAccess::SetEntryDialParams(const RasDialParams& params, bool removePassword) {
  auto fn = reinterpret_cast<SetParamsFn>(Proc(Function::kSetEntryDialParams));
  if (fn == nullptr) return ERROR_INVALID_FUNCTION;
  RASDIALPARAMSA r;
  ToRasParams(params, r);
  return fn(nullptr, &r, removePassword ? TRUE : FALSE);
}

std::uint32_t Win32RemoteAccess::Dial(const RasDialParams& params, RasConnectionHandle& connection) {
  auto fn = reinterpret_cast<DialFn>(Proc(Function::kDial));
  if (fn == nullptr) return ERROR_INVALID_FUNCTION;
  RASDIALPARAMSA r;
  ToRasParams(params, r);
  HRASCONN handle = nullptr;
  DWORD rc = fn(nullptr, nullptr, &r, 1, reinterpret_cast<LPVOID>(&DialNotifier), &handle);
  connection = handle == nullptr ? kNoRasConnection
                                 : static_cast<RasConnectionHandle>(reinterpret_cast<std::intptr_t>(handle));
  return rc;
}

std::vector<RasDialEvent> Win32RemoteAccess::TakeDialEvents() {
  std::lock_guard lock(g_eventsMutex);
  std::vector<RasDialEvent> events;
  events.swap(g_events);
  return events;
}

std::uint32_t Win32RemoteAccess::HangUp(RasConnectionHandle connection) {
  auto fn = reinterpret_cast<HangUpFn>(Proc(Function::kHangUp));
  if (fn == nullptr) return ERROR_INVALID_FUNCTION;
  return fn(ToRas(connection));
}

std::optional<std::string> Win32RemoteAccess::ErrorString(std::uint32_t error) {
  auto fn = reinterpret_cast<ErrorStringFn>(Proc(Function::kGetErrorString));
  if (fn == nullptr) return std::nullopt;
  char buffer[256] = {};
  if (fn(error, buffer, sizeof buffer) != 0) return std::nullopt;
  return std::string(buffer);
}

std::optional<std::string> Win32RemoteAccess::LibraryString(std::uint32_t id) {
  if (Module() == nullptr) return std::nullopt;
  char buffer[256] = {};
  if (::LoadStringA(static_cast<HMODULE>(module_), id, buffer, sizeof buffer) <= 0) return std::nullopt;
  return std::string(buffer);
}

}  // namespace wdx::platform
