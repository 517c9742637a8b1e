// The system's dial-up networking (rasapi32), loaded by name when first asked (programs that
// never dial never load it) and bound function by function: a computer without it, or a
// library without a function, answers as a missing library.
#pragma once

#include "platform/remote_access.h"

namespace wdx::platform {

class Win32RemoteAccess : public RemoteAccess {
 public:
  Win32RemoteAccess();
  ~Win32RemoteAccess() override;
  Win32RemoteAccess(const Win32RemoteAccess&) = delete;
  Win32RemoteAccess& operator=(const Win32RemoteAccess&) = delete;

  bool Available() override;
  bool Has(Function function) override;
  std::uint32_t EnumEntries(std::size_t limit, std::vector<std::string>& names) override;
  std::uint32_t EnumConnections(std::size_t limit, std::vector<RasConnection>& list) override;
  std::uint32_t GetIpAddress(RasConnectionHandle connection, std::string& address) override;
  std::uint32_t GetEntryDialParams(const std::string& entry, RasDialParams& params, bool& passwordSaved) override;
  std::uint32_t SetEntryDialParams(const RasDialParams& params, bool removePassword) override;
  std::uint32_t Dial(const RasDialParams& params, RasConnectionHandle& connection) override;
  std::vector<RasDialEvent> TakeDialEvents() override;
  std::uint32_t HangUp(RasConnectionHandle connection) override;
  std::optional<std::string> ErrorString(std::uint32_t error) override;
  std::optional<std::string> LibraryString(std::uint32_t id) override;

 private:
  void* Module();
  void* Proc(Function function);

  void* module_ = nullptr;
  bool tried_ = false;
};

}  // namespace wdx::platform
