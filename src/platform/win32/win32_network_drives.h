// Network drives through the system's network library (mpr), bound when first used.
#pragma once

#include "platform/network_drives.h"

namespace wdx::platform {

class Win32NetworkDrives : public NetworkDrives {
 public:
  std::uint32_t Connect(const std::string& local, const std::string& remote, const std::string& user,
                        const std::string& password, bool persistent) override;
  std::uint32_t Disconnect(const std::string& local, bool persistent, bool force) override;
  bool Connected(std::vector<NetworkConnection>& list) override;
};

}  // namespace wdx::platform
