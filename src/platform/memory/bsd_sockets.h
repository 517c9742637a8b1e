// Real sockets for the native builds (BSD sockets; not in the Windows builds), with the errors in Winsock's numbers.
// Not simulated: tests talk to real servers on the loopback address. A test can make the
// library "missing" to see how callers cope, and can see how many uses are started.
#pragma once

#include <atomic>
#include <string>

#include "platform/sockets.h"

namespace wdx::platform {

class BsdSockets : public Sockets {
 public:
  SocketLibraryLoad Load() override;
  void Unload() override { loaded_ = false; }
  bool IsLoaded() const override { return loaded_; }
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

  // --- Test controls and records
  // Load fails as on a computer without the library (true), or lacks one function.
  void SetLibraryMissing(bool missing) { libraryMissing_ = missing; }
  void SetMissingFunction(std::string name) { missingFunction_ = std::move(name); }
  // Uses started and not yet cleaned up.
  int OpenStartups() const { return startups_; }
  // Sockets created and not yet closed.
  int OpenSockets() const { return sockets_; }

  // The Winsock number of an errno value.
  static int WinsockError(int errnoValue);

 private:
  bool loaded_ = false;
  bool libraryMissing_ = false;
  std::string missingFunction_;
  int startups_ = 0;
  std::atomic<int> sockets_ = 0;
};

}  // namespace wdx::platform
