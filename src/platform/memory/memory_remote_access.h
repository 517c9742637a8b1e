// The stand-in dial-up networking: phone-book entries and connections that a test sets, and
// dials that follow a script of states on the stand-in clock. Records what was dialled, which
// dial parameters were stored and what was hung up.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/memory/memory_clock.h"
#include "platform/remote_access.h"

namespace wdx::platform {

class MemoryRemoteAccess : public RemoteAccess {
 public:
  explicit MemoryRemoteAccess(MemoryClock& clock) : clock_(clock) {}

  bool Available() override { return available; }
  bool Has(Function function) override { return available && !missing.count(function); }
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

  // --- Test controls
  struct Line {
    RasConnectionHandle handle = kNoRasConnection;
    std::string entry;
    std::string ipAddress;  // empty: no network projection
  };
  // One step of a dial: `afterMs` after the dial started, the state reached or an error.
  struct Step {
    std::uint64_t afterMs = 0;
    std::uint32_t state = 0;
    std::uint32_t error = 0;
  };
  bool available = true;
  std::set<Function> missing;
  std::vector<std::string> entries;
  std::vector<Line> connections;                  // up now, also other programs' connections
  std::map<std::string, std::string> savedPasswords;  // entries whose password is stored
  std::map<std::string, std::vector<Step>> scripts;   // what dialling an entry goes through
  std::uint32_t dialError = 0;                    // a dial that fails at once
  std::map<std::uint32_t, std::string> errorTexts;
  std::map<std::uint32_t, std::string> libraryStrings;
  // The address a connection made by a dial gets.
  std::string dialledAddress = "10.0.0.2";

  // --- Records
  std::vector<RasDialParams> dials;
  std::vector<std::pair<RasDialParams, bool>> storedParams;  // with the remove-password flag
  std::vector<RasConnectionHandle> hangUps;

 private:
  struct Pending {
    RasConnectionHandle handle;
    std::string entry;
    std::uint64_t start;
    std::vector<Step> steps;
    std::size_t next = 0;
  };
  MemoryClock& clock_;
  std::vector<Pending> pending_;
  RasConnectionHandle nextHandle_ = 0x5000;
};

}  // namespace wdx::platform
