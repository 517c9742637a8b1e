// Drive letters mapped to network shares: connecting, disconnecting and listing what is
// connected. Results are the system's error numbers (0: done), which the commands turn into
// their messages.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wdx::platform {

// The numbers the network-drive commands tell apart.
namespace netresult {
constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kBadDeviceType = 66;
constexpr std::uint32_t kBadNetName = 67;
constexpr std::uint32_t kAlreadyAssigned = 85;
constexpr std::uint32_t kInvalidPassword = 86;
constexpr std::uint32_t kBusy = 170;
constexpr std::uint32_t kBadDevice = 1200;
constexpr std::uint32_t kNoNetwork = 1222;
constexpr std::uint32_t kNotConnected = 2250;
constexpr std::uint32_t kOpenFiles = 2401;
constexpr std::uint32_t kDeviceInUse = 2404;
}  // namespace netresult

struct NetworkConnection {
  std::string local;   // "F:"
  std::string remote;  // the share
};

class NetworkDrives {
 public:
  virtual ~NetworkDrives() = default;
  // Maps `local` ("F:") to the share; persistent: restored at the next logon. Empty user or
  // password: the logon's own.
  virtual std::uint32_t Connect(const std::string& local, const std::string& remote, const std::string& user,
                                const std::string& password, bool persistent) = 0;
  // persistent: not restored at the next logon either; force: also with files open.
  virtual std::uint32_t Disconnect(const std::string& local, bool persistent, bool force) = 0;
  // The connected disk resources that have a local name; false when they cannot be listed.
  virtual bool Connected(std::vector<NetworkConnection>& connections) = 0;
};

}  // namespace wdx::platform
