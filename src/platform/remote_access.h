// Dial-up networking: phone-book entries, the connections that are up, dialling and hanging
// up. The library is the system's (loaded by name when the facility is made); a computer
// without it lists nothing and dials nothing. Errors are the system's numbers (600 and up).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wdx::platform {

using RasConnectionHandle = std::int64_t;
constexpr RasConnectionHandle kNoRasConnection = -1;

// Connection states of a dial's progress (the system's values).
namespace rasstate {
constexpr std::uint32_t kOpenPort = 0;
constexpr std::uint32_t kConnectDevice = 2;
constexpr std::uint32_t kDeviceConnected = 3;
constexpr std::uint32_t kAllDevicesConnected = 4;
constexpr std::uint32_t kAuthenticate = 5;
constexpr std::uint32_t kAuthenticated = 14;
constexpr std::uint32_t kStartAuthentication = 19;
constexpr std::uint32_t kLogonNetwork = 21;
constexpr std::uint32_t kConnected = 0x2000;
constexpr std::uint32_t kDisconnected = 0x2001;
}  // namespace rasstate

// A buffer too small for what the system had to list.
constexpr std::uint32_t kRasBufferTooSmall = 603;

struct RasConnection {
  RasConnectionHandle handle = kNoRasConnection;
  std::string entryName;
};

struct RasDialParams {
  std::string entryName;
  std::string userName;
  std::string password;
  std::string domain;
};

// One progress notification of a dial: the state reached, or the error that ended it.
struct RasDialEvent {
  RasConnectionHandle connection = kNoRasConnection;
  std::uint32_t state = 0;
  std::uint32_t error = 0;
};

class RemoteAccess {
 public:
  enum class Function {
    kEnumEntries,
    kEnumConnections,
    kGetProjectionInfo,
    kGetEntryDialParams,
    kSetEntryDialParams,
    kDial,
    kHangUp,
    kGetErrorString,
  };

  virtual ~RemoteAccess() = default;

  // The library is there; and whether it has a function.
  virtual bool Available() = 0;
  virtual bool Has(Function function) = 0;

  // Entries of the default phone book (at most `limit`; more is kRasBufferTooSmall).
  virtual std::uint32_t EnumEntries(std::size_t limit, std::vector<std::string>& names) = 0;
  virtual std::uint32_t EnumConnections(std::size_t limit, std::vector<RasConnection>& connections) = 0;
  // The IP address of a connection's network projection (empty when it has none).
  virtual std::uint32_t GetIpAddress(RasConnectionHandle connection, std::string& address) = 0;
  virtual std::uint32_t GetEntryDialParams(const std::string& entry, RasDialParams& params, bool& passwordSaved) = 0;
  virtual std::uint32_t SetEntryDialParams(const RasDialParams& params, bool removePassword) = 0;
  // Starts dialling an entry; its progress comes as events (TakeDialEvents).
  virtual std::uint32_t Dial(const RasDialParams& params, RasConnectionHandle& connection) = 0;
  // The progress notifications that arrived since the last call, in order.
  virtual std::vector<RasDialEvent> TakeDialEvents() = 0;
  virtual std::uint32_t HangUp(RasConnectionHandle connection) = 0;
  // The system's text for an error; nothing when it has none.
  virtual std::optional<std::string> ErrorString(std::uint32_t error) = 0;
  // A string resource of the library (its status texts); nothing when it has none.
  virtual std::optional<std::string> LibraryString(std::uint32_t id) = 0;
};

}  // namespace wdx::platform
