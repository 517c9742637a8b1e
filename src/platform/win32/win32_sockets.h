// Winsock, loaded by name when asked and every function looked up by name, so that the
// programs start on a computer without it.
#pragma once

#include <memory>
#include <string>

#include "platform/sockets.h"

namespace wdx::platform {

class Win32Sockets : public Sockets {
 public:
  Win32Sockets();
  ~Win32Sockets() override;
  Win32Sockets(const Win32Sockets&) = delete;
  Win32Sockets& operator=(const Win32Sockets&) = delete;

  SocketLibraryLoad Load() override;
  void Unload() override;
  bool IsLoaded() const override;
  int Startup() override;
  void Cleanup() override;

  int LocalHostName(std::string& name) override;
  int ResolveHost(const std::string& host, std::uint32_t& address) override;
  int ServicePort(const std::string& service, const std::string& protocol, std::uint16_t& port) override;

  int Create(SocketHandle& socket) override;
  int Connect(SocketHandle socket, std::uint32_t address, std::uint16_t port) override;
  int ConnectResult(SocketHandle socket) override;
  int Wait(SocketHandle socket, bool read, bool write, std::uint32_t timeoutMs, SocketReady& ready) override;
  int Send(SocketHandle socket, const char* data, std::size_t size, std::size_t& sent) override;
  int Receive(SocketHandle socket, char* buffer, std::size_t size, std::size_t& received) override;
  void Close(SocketHandle socket) override;

  struct Api;

 private:
  std::unique_ptr<Api> api_;
};

}  // namespace wdx::platform
