#include "platform/memory/memory_network_drives.h"

#include <algorithm>

#include "platform/memory/no_case.h"

namespace wdx::platform {

namespace {
auto ByLocal(const std::string& local) {
  return [local](const NetworkConnection& c) { return EqualsNoCase(c.local, local); };
}
}  // namespace

std::uint32_t MemoryNetworkDrives::Connect(const std::string& local, const std::string& remote, const std::string& user,
                                           const std::string& password, bool persistent) {
  connects.push_back({local, remote, user, password, persistent});
  if (auto it = connectResults.find(local); it != connectResults.end()) return it->second;
  if (std::any_of(connections.begin(), connections.end(), ByLocal(local))) return netresult::kAlreadyAssigned;
  connections.push_back({local, remote});
  return 0;
}

std::uint32_t MemoryNetworkDrives::Disconnect(const std::string& local, bool persistent, bool force) {
  disconnects.push_back({local, persistent, force});
  if (auto it = disconnectResults.find(local); it != disconnectResults.end()) return it->second;
  const auto found = std::find_if(connections.begin(), connections.end(), ByLocal(local));
  if (found == connections.end()) return netresult::kNotConnected;
  connections.erase(found);
  return 0;
}

bool MemoryNetworkDrives::Connected(std::vector<NetworkConnection>& list) {
  if (listFails) return false;
  list = connections;
  return true;
}

}  // namespace wdx::platform
