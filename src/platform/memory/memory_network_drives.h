// The stand-in network drives: the connections a test sets, and answers it scripts; records
// every call.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/network_drives.h"

namespace wdx::platform {

class MemoryNetworkDrives : public NetworkDrives {
 public:
  std::uint32_t Connect(const std::string& local, const std::string& remote, const std::string& user,
                        const std::string& password, bool persistent) override;
  std::uint32_t Disconnect(const std::string& local, bool persistent, bool force) override;
  bool Connected(std::vector<NetworkConnection>& list) override;

  // --- Test controls
  std::vector<NetworkConnection> connections;  // connected now
  // Answers of the next calls by local name (kept until changed); absent: done, or for a
  // local name that is taken (connect) or not connected (disconnect) the system's answer.
  std::map<std::string, std::uint32_t> connectResults, disconnectResults;
  bool listFails = false;

  // --- Records
  struct ConnectCall {
    std::string local, remote, user, password;
    bool persistent = false;
  };
  struct DisconnectCall {
    std::string local;
    bool persistent = false, force = false;
  };
  std::vector<ConnectCall> connects;
  std::vector<DisconnectCall> disconnects;
};

}  // namespace wdx::platform
