// IPv4 stream sockets: the transport of the mail client. Real on both sides: Winsock on
// Windows, loaded by name when asked (a computer without it still runs the program; only
// mail fails), BSD sockets natively.
//
// Errors are Winsock's numbers on both sides (10061 connection refused, 11001 host not
// found, ...), so that messages and tests do not depend on the side. Sockets are created
// non-blocking; the caller waits with Wait and keeps its message queue moving meanwhile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace wdx::platform {

using SocketHandle = std::int64_t;
constexpr SocketHandle kInvalidSocket = -1;

// Winsock error numbers that callers act on.
namespace sockerr {
constexpr int kNone = 0;
constexpr int kInvalidArgument = 10022;
constexpr int kWouldBlock = 10035;
constexpr int kNotSocket = 10038;
constexpr int kConnectionReset = 10054;
constexpr int kNotConnected = 10057;
constexpr int kConnectionRefused = 10061;
constexpr int kNotInitialised = 10093;
constexpr int kHostNotFound = 11001;
constexpr int kNoData = 11004;
}  // namespace sockerr

// What loading the socket library found.
struct SocketLibraryLoad {
  bool loaded = false;
  // Empty when loaded or when the library itself is missing; else a function it lacks.
  std::string missingFunction;
};

// What a wait found; all false when the wait ran out.
struct SocketReady {
  bool readable = false;  // data, or the peer's close, can be read
  bool writable = false;  // room to send; a pending connect has succeeded
  bool failed = false;    // a pending connect has failed (ConnectResult names the error)
};

class Sockets {
 public:
  virtual ~Sockets() = default;

  // Loads the socket library (again). Every other call needs it loaded.
  virtual SocketLibraryLoad Load() = 0;
  virtual void Unload() = 0;
  virtual bool IsLoaded() const = 0;
  // Starts one use of the library (version 1.1); 0 or an error. Each success wants one
  // Cleanup.
  virtual int Startup() = 0;
  virtual void Cleanup() = 0;

  // This computer's host name.
  virtual int LocalHostName(std::string& name) = 0;
  // Look-ups block; they may run on another thread than the rest. Address and port in host
  // byte order (127.0.0.1 is 0x7F000001).
  virtual int ResolveHost(const std::string& host, std::uint32_t& address) = 0;
  virtual int ServicePort(const std::string& service, const std::string& protocol, std::uint16_t& port) = 0;

  // A new non-blocking TCP socket.
  virtual int Create(SocketHandle& socket) = 0;
  // Starts connecting: 0 (connected), sockerr::kWouldBlock (in progress: Wait for
  // writable or failed, then ConnectResult) or an error.
  virtual int Connect(SocketHandle socket, std::uint32_t address, std::uint16_t port) = 0;
  virtual int ConnectResult(SocketHandle socket) = 0;
  // Waits at most timeoutMs for what is asked (a failed connect is always reported).
  virtual int Wait(SocketHandle socket, bool read, bool write, std::uint32_t timeoutMs, SocketReady& ready) = 0;
  // Sends what fits now; sockerr::kWouldBlock when nothing does.
  virtual int Send(SocketHandle socket, const char* data, std::size_t size, std::size_t& sent) = 0;
  // Receives what is there; 0 bytes without an error means the peer has closed.
  // sockerr::kWouldBlock when nothing is there yet.
  virtual int Receive(SocketHandle socket, char* buffer, std::size_t size, std::size_t& received) = 0;
  virtual void Close(SocketHandle socket) = 0;
};

}  // namespace wdx::platform
