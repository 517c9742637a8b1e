#include "platform/win32/win32_sockets.h"

#include "platform/win32/windows_api.h"
// After <windows.h>: the types and constants only; no function of it is linked.
#include <winsock.h>

#include <cstring>

namespace wdx::platform {
namespace {

constexpr const char* kLibrary = "wsock32.dll";

using StartupFn = int(WINAPI*)(WORD, LPWSADATA);
using CleanupFn = int(WINAPI*)();
using LastErrorFn = int(WINAPI*)();
using HostNameFn = int(WINAPI*)(char*, int);
using HostByNameFn = hostent*(WINAPI*)(const char*);
using ServByNameFn = servent*(WINAPI*)(const char*, const char*);
using SocketFn = SOCKET(WINAPI*)(int, int, int);
using IoctlFn = int(WINAPI*)(SOCKET, long, u_long*);
using ConnectFn = int(WINAPI*)(SOCKET, const sockaddr*, int);
using GetSockOptFn = int(WINAPI*)(SOCKET, int, int, char*, int*);
using SetSockOptFn = int(WINAPI*)(SOCKET, int, int, const char*, int);
using SelectFn = int(WINAPI*)(int, fd_set*, fd_set*, fd_set*, const timeval*);
using SendFn = int(WINAPI*)(SOCKET, const char*, int, int);
using RecvFn = int(WINAPI*)(SOCKET, char*, int, int);
using CloseFn = int(WINAPI*)(SOCKET);

std::uint16_t Swap16(std::uint16_t v) { return static_cast<std::uint16_t>((v << 8) | (v >> 8)); }
std::uint32_t Swap32(std::uint32_t v) {
  return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}

template <typename Fn>
bool Bind(HMODULE module, const char* name, Fn& fn, std::string& missing) {
  fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
  if (fn == nullptr && missing.empty()) missing = name;
  return fn != nullptr;
}

// A look-up runs on a thread of its own and may outlive an unload: it holds the library for
// as long as it needs it.
template <typename Fn, typename Call>
int WithPinnedFunction(const char* name, Call call) {
  HMODULE module = ::LoadLibraryA(kLibrary);
  if (module == nullptr) return sockerr::kNotInitialised;
  Fn fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
  auto lastError = reinterpret_cast<LastErrorFn>(reinterpret_cast<void*>(::GetProcAddress(module, "WSAGetLastError")));
  int result = sockerr::kNotInitialised;
  if (fn != nullptr && lastError != nullptr) result = call(fn, lastError);
  ::FreeLibrary(module);
  return result;
}

}  // namespace

struct Win32Sockets::Api {
  HMODULE module = nullptr;
  StartupFn startup = nullptr;
  CleanupFn cleanup = nullptr;
  LastErrorFn lastError = nullptr;
  HostNameFn hostName = nullptr;
  SocketFn socket = nullptr;
  IoctlFn ioctl = nullptr;
  ConnectFn connect = nullptr;
  GetSockOptFn getSockOpt = nullptr;
  SetSockOptFn setSockOpt = nullptr;
  SelectFn select = nullptr;
  SendFn send = nullptr;
  RecvFn recv = nullptr;
  CloseFn close = nullptr;

  int Error() const { return lastError(); }
};

Win32Sockets::Win32Sockets() : api_(std::make_unique<Api>()) {}

Win32Sockets::~Win32Sockets() { Unload(); }

SocketLibraryLoad Win32Sockets::Load() {
  if (IsLoaded()) return {true, {}};
  UINT oldMode = ::SetErrorMode(SEM_NOOPENFILEERRORBOX);
  HMODULE module = ::LoadLibraryA(kLibrary);
  ::SetErrorMode(oldMode);
  if (module == nullptr) return {};
  Api api;
  api.module = module;
  std::string missing;
  Bind(module, "WSAStartup", api.startup, missing);
  Bind(module, "WSACleanup", api.cleanup, missing);
  Bind(module, "WSAGetLastError", api.lastError, missing);
  Bind(module, "gethostname", api.hostName, missing);
  Bind(module, "socket", api.socket, missing);
  Bind(module, "ioctlsocket", api.ioctl, missing);
  Bind(module, "connect", api.connect, missing);
  Bind(module, "getsockopt", api.getSockOpt, missing);
  Bind(module, "setsockopt", api.setSockOpt, missing);
  Bind(module, "select", api.select, missing);
  Bind(module, "send", api.send, missing);
  Bind(module, "recv", api.recv, missing);
  Bind(module, "closesocket", api.close, missing);
  if (!missing.empty()) {
    ::FreeLibrary(module);
    return {false, missing};
  }
  *api_ = api;
  return {true, {}};
}

void Win32Sockets::Unload() {
  if (api_->module != nullptr) ::FreeLibrary(api_->module);
  *api_ = Api{};
}

bool Win32Sockets::IsLoaded() const { return api_->module != nullptr; }

int Win32Sockets::Startup() {
  if (!IsLoaded()) return sockerr::kNotInitialised;
  WSADATA data{};
  return api_->startup(0x0101, &data);
}

void Win32Sockets::Cleanup() {
  if (IsLoaded()) api_->cleanup();
}

int Win32Sockets::LocalHostName(std::string& name) {
  if (!IsLoaded()) return sockerr::kNotInitialised;
  char buffer[512] = {};
  if (api_->hostName(buffer, sizeof buffer - 1) != 0) return api_->Error();
  name = buffer;
  return 0;
}

int Win32Sockets::ResolveHost(const std::string& host, std::uint32_t& address) {
  return WithPinnedFunction<HostByNameFn>("gethostbyname", [&](HostByNameFn fn, LastErrorFn lastError) {
    hostent* entry = fn(host.c_str());
    if (entry == nullptr) return lastError();
    if (entry->h_addrtype != AF_INET || entry->h_length != 4 || entry->h_addr_list == nullptr ||
        entry->h_addr_list[0] == nullptr)
      return sockerr::kNoData;
    std::uint32_t network = 0;
    std::memcpy(&network, entry->h_addr_list[0], 4);
    address = Swap32(network);
    return 0;
  });
}

int Win32Sockets::ServicePort(const std::string& service, const std::string& protocol, std::uint16_t& port) {
  return WithPinnedFunction<ServByNameFn>("getservbyname", [&](ServByNameFn fn, LastErrorFn lastError) {
    servent* entry = fn(service.c_str(), protocol.c_str());
    if (entry == nullptr) return lastError();
    port = Swap16(static_cast<std::uint16_t>(entry->s_port));
    return 0;
  });
}

int Win32Sockets::Create(SocketHandle& socket) {
  if (!IsLoaded()) return sockerr::kNotInitialised;
  SOCKET s = api_->socket(AF_INET, SOCK_STREAM, 0);
  if (s == INVALID_SOCKET) return api_->Error();
  u_long nonBlocking = 1;
  if (api_->ioctl(s, FIONBIO, &nonBlocking) != 0) {
    int error = api_->Error();
    api_->close(s);
    return error;
  }
  // Commands are small and each waits for its reply; coalescing them only adds delay.
  BOOL on = TRUE;
  api_->setSockOpt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
  socket = static_cast<SocketHandle>(s);
  return 0;
}

int Win32Sockets::Connect(SocketHandle socket, std::uint32_t address, std::uint16_t port) {
  if (!IsLoaded()) return sockerr::kNotInitialised;
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = Swap16(port);
  to.sin_addr.s_addr = Swap32(address);
  if (api_->connect(static_cast<SOCKET>(socket), reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) return 0;
  return api_->Error();
}

int Win32Sockets::ConnectResult(SocketHandle socket) {
  if (!IsLoaded()) return sockerr::kNotInitialised;
  int error = 0;
  int size = sizeof error;
  if (api_->getSockOpt(static_cast<SOCKET>(socket), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) != 0)
    return api_->Error();
  return error;
}

int Win32Sockets::Wait(SocketHandle socket, bool read, bool write, std::uint32_t timeoutMs, SocketReady& ready) {
  ready = {};
  if (!IsLoaded()) return sockerr::kNotInitialised;
  fd_set readSet{}, writeSet{}, failSet{};
  SOCKET s = static_cast<SOCKET>(socket);
  if (read) readSet.fd_count = 1, readSet.fd_array[0] = s;
  // A connect that fails is reported in the exception set only.
  if (write) writeSet.fd_count = 1, writeSet.fd_array[0] = s, failSet.fd_count = 1, failSet.fd_array[0] = s;
  timeval limit{};
  limit.tv_sec = static_cast<long>(timeoutMs / 1000);
  limit.tv_usec = static_cast<long>((timeoutMs % 1000) * 1000);
  int n = api_->select(0, read ? &readSet : nullptr, write ? &writeSet : nullptr, write ? &failSet : nullptr, &limit);
  if (n == SOCKET_ERROR) return api_->Error();
  // select leaves in each set only the sockets that are ready.
  ready.readable = read && readSet.fd_count > 0;
  ready.writable = write && writeSet.fd_count > 0;
  ready.failed = write && failSet.fd_count > 0;
  return 0;
}

int Win32Sockets::Send(SocketHandle socket, const char* data, std::size_t size, std::size_t& sent) {
  sent = 0;
  if (!IsLoaded()) return sockerr::kNotInitialised;
  int chunk = size > 0x40000000u ? 0x40000000 : static_cast<int>(size);
  int n = api_->send(static_cast<SOCKET>(socket), data, chunk, 0);
  if (n == SOCKET_ERROR) return api_->Error();
  sent = static_cast<std::size_t>(n);
  return 0;
}

int Win32Sockets::Receive(SocketHandle socket, char* buffer, std::size_t size, std::size_t& received) {
  received = 0;
  if (!IsLoaded()) return sockerr::kNotInitialised;
  int chunk = size > 0x40000000u ? 0x40000000 : static_cast<int>(size);
  int n = api_->recv(static_cast<SOCKET>(socket), buffer, chunk, 0);
  if (n == SOCKET_ERROR) return api_->Error();
  received = static_cast<std::size_t>(n);
  return 0;
}

void Win32Sockets::Close(SocketHandle socket) {
  if (IsLoaded() && socket != kInvalidSocket) api_->close(static_cast<SOCKET>(socket));
}

}  // namespace wdx::platform
