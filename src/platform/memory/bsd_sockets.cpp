// Native builds only: the Windows builds have the real Winsock (win32/win32_sockets.h).
#if !defined(_WIN32)
#include "platform/memory/bsd_sockets.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace wdx::platform {
namespace {

constexpr std::pair<int, int> kErrnoToWinsock[] = {
    {EINTR, 10004},        {EBADF, 10009},           {EACCES, 10013},          {EFAULT, 10014},
    {EINVAL, 10022},       {EMFILE, 10024},          {EWOULDBLOCK, 10035},     {EAGAIN, 10035},
    {EINPROGRESS, 10036},  {EALREADY, 10037},        {ENOTSOCK, 10038},        {EDESTADDRREQ, 10039},
    {EMSGSIZE, 10040},     {EPROTOTYPE, 10041},      {ENOPROTOOPT, 10042},     {EPROTONOSUPPORT, 10043},
    {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045},   {EPFNOSUPPORT, 10046},    {EAFNOSUPPORT, 10047},
    {EADDRINUSE, 10048},   {EADDRNOTAVAIL, 10049},   {ENETDOWN, 10050},        {ENETUNREACH, 10051},
    {ENETRESET, 10052},    {ECONNABORTED, 10053},    {ECONNRESET, 10054},      {EPIPE, 10054},
    {ENOBUFS, 10055},      {EISCONN, 10056},         {ENOTCONN, 10057},        {ESHUTDOWN, 10058},
    {ETOOMANYREFS, 10059}, {ETIMEDOUT, 10060},       {ECONNREFUSED, 10061},    {ELOOP, 10062},
    {ENAMETOOLONG, 10063}, {EHOSTDOWN, 10064},       {EHOSTUNREACH, 10065},    {ENOTEMPTY, 10066},
    {EUSERS, 10068},       {EDQUOT, 10069},          {ESTALE, 10070},          {EREMOTE, 10071},
};

int LastError() { return BsdSockets::WinsockError(errno); }

int Fd(SocketHandle s) { return static_cast<int>(s); }

}  // namespace

int BsdSockets::WinsockError(int errnoValue) {
  for (const auto& [e, w] : kErrnoToWinsock)
    if (e == errnoValue) return w;
  return sockerr::kInvalidArgument;
}

SocketLibraryLoad BsdSockets::Load() {
  if (libraryMissing_) return {};
  if (!missingFunction_.empty()) return {false, missingFunction_};
  loaded_ = true;
  return {true, {}};
}

int BsdSockets::Startup() {
  if (!loaded_) return sockerr::kNotInitialised;
  ++startups_;
  return 0;
}

void BsdSockets::Cleanup() {
  if (startups_ > 0) --startups_;
}

int BsdSockets::LocalHostName(std::string& name) {
  char buffer[512] = {};
  if (::gethostname(buffer, sizeof buffer - 1) != 0) return LastError();
  name = buffer;
  return 0;
}

int BsdSockets::ResolveHost(const std::string& host, std::uint32_t& address) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* result = nullptr;
  int rc = ::getaddrinfo(host.c_str(), nullptr, &hints, &result);
  if (rc != 0) {
    switch (rc) {
      case EAI_AGAIN:
        return 11002;
      case EAI_FAIL:
        return 11003;
#ifdef EAI_NODATA
      case EAI_NODATA:
        return sockerr::kNoData;
#endif
      default:
        return sockerr::kHostNotFound;
    }
  }
  int error = sockerr::kNoData;
  for (addrinfo* a = result; a != nullptr; a = a->ai_next) {
    if (a->ai_family != AF_INET || a->ai_addr == nullptr) continue;
    address = ntohl(reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr.s_addr);
    error = 0;
    break;
  }
  ::freeaddrinfo(result);
  return error;
}

int BsdSockets::ServicePort(const std::string& service, const std::string& protocol, std::uint16_t& port) {
  servent entry{};
  servent* found = nullptr;
  char buffer[1024];
  if (::getservbyname_r(service.c_str(), protocol.c_str(), &entry, buffer, sizeof buffer, &found) != 0 ||
      found == nullptr)
    return sockerr::kNoData;
  port = ntohs(static_cast<std::uint16_t>(found->s_port));
  return 0;
}

int BsdSockets::Create(SocketHandle& socket) {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return LastError();
  // Commands are small and each waits for its reply; coalescing them only adds delay.
  int on = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  ++sockets_;
  socket = fd;
  return 0;
}

int BsdSockets::Connect(SocketHandle socket, std::uint32_t address, std::uint16_t port) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  to.sin_addr.s_addr = htonl(address);
  if (::connect(Fd(socket), reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) return 0;
  // Winsock says "would block" for a connect under way.
  if (errno == EINPROGRESS) return sockerr::kWouldBlock;
  return LastError();
}

int BsdSockets::ConnectResult(SocketHandle socket) {
  int error = 0;
  socklen_t size = sizeof error;
  if (::getsockopt(Fd(socket), SOL_SOCKET, SO_ERROR, &error, &size) != 0) return LastError();
  return error == 0 ? 0 : WinsockError(error);
}

int BsdSockets::Wait(SocketHandle socket, bool read, bool write, std::uint32_t timeoutMs, SocketReady& ready) {
  ready = {};
  pollfd p{};
  p.fd = Fd(socket);
  p.events = static_cast<short>((read ? POLLIN : 0) | (write ? POLLOUT : 0));
  int n = ::poll(&p, 1, static_cast<int>(timeoutMs));
  if (n < 0) return errno == EINTR ? 0 : LastError();
  if (n == 0) return 0;
  if (p.revents & POLLNVAL) return sockerr::kNotSocket;
  // A connect that failed shows as an error or a hang-up before the socket was ever usable.
  bool failed = (p.revents & POLLERR) != 0;
  ready.readable = read && (p.revents & (POLLIN | POLLHUP | POLLERR)) != 0;
  ready.writable = write && !failed && (p.revents & POLLOUT) != 0;
  ready.failed = write && failed;
  return 0;
}

int BsdSockets::Send(SocketHandle socket, const char* data, std::size_t size, std::size_t& sent) {
  sent = 0;
  ssize_t n = ::send(Fd(socket), data, size, MSG_NOSIGNAL);
  if (n < 0) return LastError();
  sent = static_cast<std::size_t>(n);
  return 0;
}

int BsdSockets::Receive(SocketHandle socket, char* buffer, std::size_t size, std::size_t& received) {
  received = 0;
  ssize_t n = ::recv(Fd(socket), buffer, size, 0);
  if (n < 0) return LastError();
  received = static_cast<std::size_t>(n);
  return 0;
}

void BsdSockets::Close(SocketHandle socket) {
  if (socket == kInvalidSocket) return;
  if (::close(Fd(socket)) == 0) --sockets_;
}

}  // namespace wdx::platform

#endif  // !defined(_WIN32)
